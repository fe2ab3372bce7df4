// SPDX-License-Identifier: MIT
#include "records/ranking.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "records/paths.h"

namespace {

void ResetRow(RankingTable& table, int nRow) {
    table.anScore[nRow] = -1;
    table.anOpens[nRow] = -1;
    table.anSeconds[nRow] = -1;
    memset(table.aszDate[nRow], 0, RANK_DATE_SIZE);
}

void PutInt32(unsigned char* p, int nValue) {
    uint32_t u = static_cast<uint32_t>(nValue);
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(u >> (8 * i));
}

int GetInt32(const unsigned char* p) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<uint32_t>(p[i]) << (8 * i);
    // Two's complement by arithmetic, not by an out-of-range conversion.
    return u < 0x80000000u ? static_cast<int>(u) : -static_cast<int>(~u) - 1;
}

// A field that the file holds only in part keeps its former value, like one beyond
// the end: half an integer means nothing.
void ReadInt32(const unsigned char* pFile, size_t nRead, size_t nOffset, int* pnValue) {
    if (nOffset + 4 <= nRead)
        *pnValue = GetInt32(pFile + nOffset);
}

int Clamp(int nValue, int nLow, int nHigh) {
    return nValue < nLow ? nLow : nValue > nHigh ? nHigh : nValue;
}

bool IsStampChar(char c) {
    return (c >= '0' && c <= '9') || c == '/' || c == ':' || c == ' ';
}

// A damaged file must not reach the display with counts or texts that overrun its rows.
void MakeSound(RankingTable& table) {
    table.nCount = Clamp(table.nCount, 0, RANK_ROWS);
    for (int nRow = 0; nRow < RANK_ROWS; ++nRow) {
        if (nRow >= table.nCount) {
            ResetRow(table, nRow);
            continue;
        }
        table.anScore[nRow] = Clamp(table.anScore[nRow], 0, RANK_MAX_SCORE);
        table.anOpens[nRow] = Clamp(table.anOpens[nRow], 0, RANK_MAX_OPENS);
        if (table.anSeconds[nRow] < 0)
            table.anSeconds[nRow] = 0;
        char* pszDate = table.aszDate[nRow];
        int nLen = 0;
        while (nLen < RANK_STAMP_BYTES && IsStampChar(pszDate[nLen]))
            ++nLen;
        memset(pszDate + nLen, 0, RANK_DATE_SIZE - nLen);
    }
}

} // namespace

void RankingTable::ClearRanking() {
    nCount = 0;
    for (int nRow = 0; nRow < RANK_ROWS; ++nRow)
        ResetRow(*this, nRow);
}

bool GetRankingPath(char* pszPath, size_t nSize) {
    return GetDataFilePath(RANKING_FILE_NAME, pszPath, nSize);
}

void MakeDateStampAt(time_t tWhen, char* pszDate) {
    struct tm tmLocal;
    if (!localtime_r(&tWhen, &tmLocal)) {
        pszDate[0] = '\0';
        return;
    }
    // Years past 9999 would not fit; cutting the text keeps the field terminated.
    char szStamp[96] = {};
    snprintf(szStamp, sizeof szStamp, "%d/%d/%d %d:%02d:%02d", tmLocal.tm_year + 1900,
             tmLocal.tm_mon + 1, tmLocal.tm_mday, tmLocal.tm_hour, tmLocal.tm_min, tmLocal.tm_sec);
    memcpy(pszDate, szStamp, RANK_STAMP_BYTES);
    pszDate[RANK_STAMP_BYTES] = '\0';
}

void MakeDateStamp(char* pszDate) {
    MakeDateStampAt(time(nullptr), pszDate);
}

void InsertResultDated(RankingTable& table, int nScore, int nOpens, int nSeconds,
                       const char* pszDate) {
    if (table.nCount < RANK_ROWS)
        ++table.nCount;
    int nRow = 0;
    while (nRow < RANK_ROWS && table.anScore[nRow] >= nScore)
        ++nRow;
    if (nRow == RANK_ROWS)
        return;
    for (int i = RANK_ROWS - 1; i > nRow; --i) {
        table.anScore[i] = table.anScore[i - 1];
        table.anOpens[i] = table.anOpens[i - 1];
        table.anSeconds[i] = table.anSeconds[i - 1];
        memcpy(table.aszDate[i], table.aszDate[i - 1], RANK_DATE_SIZE);
    }
    table.anScore[nRow] = nScore;
    table.anOpens[nRow] = nOpens;
    table.anSeconds[nRow] = nSeconds;
    memcpy(table.aszDate[nRow], pszDate, RANK_DATE_SIZE);
}

void InsertResult(RankingTable& table, int nScore, int nOpens, int nSeconds) {
    char szDate[RANK_DATE_SIZE];
    MakeDateStamp(szDate);
    InsertResultDated(table, nScore, nOpens, nSeconds, szDate);
}

namespace {

void RankingToBytes(const RankingTable& table, unsigned char* abFile) {
    memset(abFile, 0, RANK_FILE_SIZE);
    PutInt32(abFile, table.nCount);
    for (int nRow = 0; nRow < RANK_ROWS; ++nRow) {
        unsigned char* pRow = abFile + 4 + nRow * RANK_ROW_BYTES;
        pRow[0] = static_cast<unsigned char>('1' + nRow);
        PutInt32(pRow + 2, table.anScore[nRow]);
        PutInt32(pRow + 6, table.anOpens[nRow]);
        PutInt32(pRow + 10, table.anSeconds[nRow]);
        // Whatever follows a short stamp's terminator stays zero: the file says no more
        // than the table means.
        const char* pszDate = table.aszDate[nRow];
        for (int i = 0; i < RANK_STAMP_BYTES && pszDate[i]; ++i)
            pRow[14 + i] = static_cast<unsigned char>(pszDate[i]);
    }
}

// Fields beyond nRead keep what they held.
void RankingFromBytes(RankingTable& table, const unsigned char* abFile, size_t nRead) {
    ReadInt32(abFile, nRead, 0, &table.nCount);
    for (int nRow = 0; nRow < RANK_ROWS; ++nRow) {
        size_t nBase = 4 + static_cast<size_t>(nRow) * RANK_ROW_BYTES;
        ReadInt32(abFile, nRead, nBase + 2, &table.anScore[nRow]);
        ReadInt32(abFile, nRead, nBase + 6, &table.anOpens[nRow]);
        ReadInt32(abFile, nRead, nBase + 10, &table.anSeconds[nRow]);
        // The stamp is bytes, not a number: what the file holds of it is taken.
        size_t nDateAt = nBase + 14;
        if (nDateAt < nRead) {
            size_t nBytes = nRead - nDateAt;
            if (nBytes > RANK_STAMP_BYTES)
                nBytes = RANK_STAMP_BYTES;
            memcpy(table.aszDate[nRow], abFile + nDateAt, nBytes);
        }
        table.aszDate[nRow][RANK_STAMP_BYTES] = '\0';
    }
    MakeSound(table);
}

bool SameRow(const RankingTable& a, int i, const RankingTable& b, int j) {
    return a.anScore[i] == b.anScore[j] && a.anOpens[i] == b.anOpens[j] &&
           a.anSeconds[i] == b.anSeconds[j] &&
           strncmp(a.aszDate[i], b.aszDate[j], RANK_DATE_SIZE) == 0;
}

// Drops from table each row that seen holds, once per row seen; the rest keep their order.
void DropRows(RankingTable& table, const RankingTable& seen) {
    bool abUsed[RANK_ROWS] = {};
    RankingTable kept;
    kept.nCount = 0;
    for (int i = 0; i < table.nCount; ++i) {
        int j = 0;
        while (j < seen.nCount && (abUsed[j] || !SameRow(table, i, seen, j)))
            ++j;
        if (j < seen.nCount) {
            abUsed[j] = true;
            continue;
        }
        const int k = kept.nCount++;
        kept.anScore[k] = table.anScore[i];
        kept.anOpens[k] = table.anOpens[i];
        kept.anSeconds[k] = table.anSeconds[i];
        memcpy(kept.aszDate[k], table.aszDate[i], RANK_DATE_SIZE);
    }
    table = kept;
}

} // namespace

bool SaveRanking(const RankingTable& table, const char* pszPath) {
    unsigned char abFile[RANK_FILE_SIZE];
    RankingToBytes(table, abFile);
    return ReplaceFileAtomically(pszPath, abFile, sizeof abFile);
}

bool LoadRanking(RankingTable& table, const char* pszPath) {
    SharedReadFile file(pszPath);
    if (file.Fd() < 0)
        return false;
    unsigned char abFile[RANK_FILE_SIZE];
    RankingFromBytes(table, abFile, file.Read(abFile, sizeof abFile));
    return true;
}

void RankingChanges::Enter(RankingTable& table, int nScore, int nOpens, int nSeconds) {
    Change change = {false, RankingTable()};
    MakeDateStamp(change.entry.aszDate[0]);
    change.entry.nCount = 1;
    change.entry.anScore[0] = nScore;
    change.entry.anOpens[0] = nOpens;
    change.entry.anSeconds[0] = nSeconds;
    InsertResultDated(table, nScore, nOpens, nSeconds, change.entry.aszDate[0]);
    m_changes.push_back(change);
}

void RankingChanges::Clear(RankingTable& table) {
    m_changes.push_back({true, table});
    table.ClearRanking();
}

bool RankingChanges::Save(RankingTable& table, const char* pszPath) {
    RankingTable merged;
    const bool bOk = UpdateFileAtomically(pszPath, [&](const std::string* pOld, std::string* pNew) {
        merged = RankingTable();
        if (pOld)
            RankingFromBytes(merged, reinterpret_cast<const unsigned char*>(pOld->data()),
                             std::min(pOld->size(), static_cast<size_t>(RANK_FILE_SIZE)));
        for (const Change& change : m_changes) {
            if (change.bClear)
                DropRows(merged, change.entry);
            else
                InsertResultDated(merged, change.entry.anScore[0], change.entry.anOpens[0],
                                  change.entry.anSeconds[0], change.entry.aszDate[0]);
        }
        unsigned char abFile[RANK_FILE_SIZE];
        RankingToBytes(merged, abFile);
        pNew->assign(reinterpret_cast<const char*>(abFile), sizeof abFile);
        return true;
    });
    if (bOk) {
        table = merged;
        m_changes.clear();
    }
    return bOk;
}
