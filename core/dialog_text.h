// SPDX-License-Identifier: MIT
#pragma once

#include "core/score.h"
#include "records/ranking.h"

// Texts of the summary shown when a game is cleared, one per drawn line.
constexpr int CLEAR_LINE_COUNT = 4;
constexpr int CLEAR_LINE_SIZE = 128;
constexpr int CLEAR_HISTOGRAM_SIZE = 10;

struct ClearLines {
    char aszLine[CLEAR_LINE_COUNT][CLEAR_LINE_SIZE];
};

void BuildClearLines(const int* panHistogram, int nOpens, int nSeconds, int nScore,
                     ClearLines* pLines);

// One line of the ranking list. The time holds any hour count, not only two digits.
struct RankingRow {
    char szRank[5];
    char szScore[5];
    char szOpens[5];
    char szDate[RANK_DATE_SIZE];
    char szTime[TIME_TEXT_SIZE];
    char szGrade[11];
};

// Places shared by equal scores: 500, 500, 480 give 1, 1, 2.
void NumberPlaces(const RankingTable& table, short* pnPlaces);
// Fills rows 0..nCount-1 of the table's lines; the rest stay empty.
void BuildRankingRows(const RankingTable& table, RankingRow* pRows);
void ClearRankingRows(RankingRow* pRows);
