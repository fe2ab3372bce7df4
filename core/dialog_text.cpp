// SPDX-License-Identifier: MIT
#include "core/dialog_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Appends to a fixed line, never past its end.
void Append(char* pszLine, const char* pszText) {
    const size_t nUsed = std::strlen(pszLine);
    std::snprintf(pszLine + nUsed, CLEAR_LINE_SIZE - nUsed, "%s", pszText);
}

void AppendNumber(char* pszLine, int nValue) {
    char szNumber[NUMBER_TEXT_SIZE];
    std::snprintf(szNumber, sizeof szNumber, "%d", nValue);
    Append(pszLine, szNumber);
}

int RowCount(const RankingTable& table) {
    return std::clamp(table.nCount, 0, RANK_ROWS);
}

} // namespace

void BuildClearLines(const int* panHistogram, int nOpens, int nSeconds, int nScore,
                     ClearLines* pLines) {
    char szText[TIME_TEXT_SIZE];
    std::memset(pLines, 0, sizeof *pLines);

    char* pszLine = pLines->aszLine[0];
    Append(pszLine, "開数：");
    AppendNumber(pszLine, nOpens);
    Append(pszLine, "　時間：");
    FormatGameTime(nSeconds, szText, sizeof szText);
    Append(pszLine, szText);

    Append(pLines->aszLine[1], "同じカードを開いた回数（取れなかった場合）");

    pszLine = pLines->aszLine[2];
    for (int k = 1; k <= MISS_TOP_BUCKET; ++k) {
        Append(pszLine, "　");
        AppendNumber(pszLine, k);
        Append(pszLine, k < MISS_TOP_BUCKET ? " 回：" : " 回以上：");
        if (panHistogram[k] > MAX_SHOWN_MISS_CARDS)
            std::snprintf(szText, sizeof szText, "%d", MAX_SHOWN_MISS_CARDS);
        else
            PadNumber(szText, sizeof szText, panHistogram[k], 2);
        Append(pszLine, szText);
    }

    pszLine = pLines->aszLine[3];
    Append(pszLine, "得点：");
    AppendNumber(pszLine, nScore);
    Append(pszLine, "　ＬＶ：");
    char szGrade[GRADE_TEXT_SIZE];
    ScoreToGrade(nScore, szGrade, sizeof szGrade);
    Append(pszLine, szGrade + 2); // the grade without its leading ideographic space
}

void NumberPlaces(const RankingTable& table, short* pnPlaces) {
    short nPlace = 0;
    int nPrevious = -1;
    for (int i = 0; i < RowCount(table); ++i) {
        if (table.anScore[i] != nPrevious) {
            ++nPlace;
            nPrevious = table.anScore[i];
        }
        pnPlaces[i] = nPlace;
    }
}

void ClearRankingRows(RankingRow* pRows) {
    std::memset(pRows, 0, sizeof(RankingRow) * RANK_ROWS);
}

void BuildRankingRows(const RankingTable& table, RankingRow* pRows) {
    short anPlaces[RANK_ROWS] = {};
    NumberPlaces(table, anPlaces);
    ClearRankingRows(pRows);
    for (int i = 0; i < RowCount(table); ++i) {
        RankingRow& row = pRows[i];
        PadNumber(row.szRank, sizeof row.szRank, anPlaces[i], 4);
        PadNumber(row.szScore, sizeof row.szScore, table.anScore[i], 4);
        PadNumber(row.szOpens, sizeof row.szOpens, table.anOpens[i], 4);
        std::snprintf(row.szDate, sizeof row.szDate, "%.*s", RANK_DATE_SIZE - 1, table.aszDate[i]);
        FormatGameTime(table.anSeconds[i], row.szTime, sizeof row.szTime);
        ScoreToGrade(table.anScore[i], row.szGrade, sizeof row.szGrade);
    }
}
