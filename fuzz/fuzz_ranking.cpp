// Any bytes in the ranking file's place: the loaded table must be one the ranking
// dialog can show, and it must survive a save and a load unchanged.

#include <cstdint>
#include <cstring>

#include "core/dialog_text.h"
#include "fuzz/fuzz_common.h"
#include "records/ranking.h"

namespace {

bool IsStampChar(char c) {
    return (c >= '0' && c <= '9') || c == '/' || c == ':' || c == ' ';
}

void CheckSound(const RankingTable& table) {
    FUZZ_CHECK(table.nCount >= 0 && table.nCount <= RANK_ROWS);
    for (int i = 0; i < RANK_ROWS; ++i) {
        const char* pszDate = table.aszDate[i];
        FUZZ_CHECK(fuzz::Terminated(pszDate, RANK_DATE_SIZE));
        if (i >= table.nCount) {
            FUZZ_CHECK(table.anScore[i] == -1 && table.anOpens[i] == -1);
            FUZZ_CHECK(table.anSeconds[i] == -1 && pszDate[0] == '\0');
            continue;
        }
        FUZZ_CHECK(table.anScore[i] >= 0 && table.anScore[i] <= MAX_SCORE);
        FUZZ_CHECK(table.anOpens[i] >= 0 && table.anOpens[i] <= 9999);
        FUZZ_CHECK(table.anSeconds[i] >= 0);
        for (const char* p = pszDate; *p; ++p)
            FUZZ_CHECK(IsStampChar(*p));
    }
}

// "h:mm:ss" with at least two digits of hours, read back as seconds.
long long SecondsOf(const char* psz) {
    int nDigits = 0;
    long long nHours = 0;
    for (; *psz >= '0' && *psz <= '9'; ++psz, ++nDigits)
        nHours = nHours * 10 + (*psz - '0');
    FUZZ_CHECK(nDigits >= 2 && psz[0] == ':' && psz[3] == ':' && psz[6] == '\0');
    for (int i : {1, 2, 4, 5})
        FUZZ_CHECK(psz[i] >= '0' && psz[i] <= '9');
    const int nMinutes = (psz[1] - '0') * 10 + (psz[2] - '0');
    const int nSeconds = (psz[4] - '0') * 10 + (psz[5] - '0');
    FUZZ_CHECK(nMinutes < 60 && nSeconds < 60);
    return nHours * 3600 + nMinutes * 60 + nSeconds;
}

void CheckRows(const RankingTable& table) {
    RankingRow aRows[RANK_ROWS];
    std::memset(aRows, 0x5A, sizeof aRows);
    BuildRankingRows(table, aRows);
    for (int i = 0; i < RANK_ROWS; ++i) {
        const RankingRow& row = aRows[i];
        FUZZ_CHECK(fuzz::Terminated(row.szRank, sizeof row.szRank));
        FUZZ_CHECK(fuzz::Terminated(row.szScore, sizeof row.szScore));
        FUZZ_CHECK(fuzz::Terminated(row.szOpens, sizeof row.szOpens));
        FUZZ_CHECK(fuzz::Terminated(row.szDate, sizeof row.szDate));
        FUZZ_CHECK(fuzz::Terminated(row.szTime, sizeof row.szTime));
        FUZZ_CHECK(fuzz::Terminated(row.szGrade, sizeof row.szGrade));
        if (i >= table.nCount) {
            FUZZ_CHECK(!row.szRank[0] && !row.szScore[0] && !row.szOpens[0] && !row.szDate[0] &&
                       !row.szTime[0] && !row.szGrade[0]);
            continue;
        }
        // Width 4 holds every value the table may hold: nothing was cut.
        FUZZ_CHECK(std::strlen(row.szRank) == 4 && std::strlen(row.szScore) == 4);
        FUZZ_CHECK(std::strlen(row.szOpens) == 4);
        FUZZ_CHECK(std::atoi(row.szScore) == table.anScore[i]);
        FUZZ_CHECK(std::atoi(row.szOpens) == table.anOpens[i]);
        FUZZ_CHECK(std::strcmp(row.szDate, table.aszDate[i]) == 0);
        FUZZ_CHECK(SecondsOf(row.szTime) == table.anSeconds[i]);
        FUZZ_CHECK(std::strlen(row.szGrade) == 4 && std::memcmp(row.szGrade, "\x81\x40", 2) == 0);
    }
}

bool Same(const RankingTable& a, const RankingTable& b) {
    if (a.nCount != b.nCount)
        return false;
    for (int i = 0; i < RANK_ROWS; ++i) {
        if (a.anScore[i] != b.anScore[i] || a.anOpens[i] != b.anOpens[i] ||
            a.anSeconds[i] != b.anSeconds[i] || std::strcmp(a.aszDate[i], b.aszDate[i]) != 0)
            return false;
    }
    return true;
}

RankingTable FullTable() {
    RankingTable table;
    for (int i = 0; i < RANK_ROWS; ++i) {
        InsertResult(table, 500 - 100 * i, 26 + i, 3600 * i);
        std::strcpy(table.aszDate[i], "2000/12/31 23:59:59");
    }
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static const std::string strPath = fuzz::ScratchFile(RANKING_FILE_NAME);
    static const std::string strCopy = fuzz::ScratchFile("copy.dat");
    fuzz::WriteFile(strPath, pData, nSize);

    // At start-up the table is empty; a load over a full one must be as sound.
    RankingTable table;
    RankingTable full = FullTable();
    FUZZ_CHECK(LoadRanking(table, strPath.c_str()));
    FUZZ_CHECK(LoadRanking(full, strPath.c_str()));
    for (const RankingTable* pTable : {&table, &full}) {
        CheckSound(*pTable);
        CheckRows(*pTable);
    }

    FUZZ_CHECK(SaveRanking(table, strCopy.c_str()));
    FUZZ_CHECK(fuzz::ReadFile(strCopy).size() == RANK_FILE_SIZE);
    RankingTable back = FullTable();
    FUZZ_CHECK(LoadRanking(back, strCopy.c_str()));
    FUZZ_CHECK(Same(back, table));

    // A game finished on top of whatever was loaded still leaves a table to show.
    const int nScore = nSize > 0 ? pData[0] * MAX_SCORE / 255 : 0;
    InsertResult(table, nScore, 9999, 360000);
    CheckSound(table);
    CheckRows(table);
    return 0;
}
