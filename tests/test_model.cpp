// SPDX-License-Identifier: MIT
// The board's places and score, and the texts the status line and the dialogs show.

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/board.h"
#include "core/dialog_text.h"

namespace {

TEST(Board, HitTestMapsPointsToCards) {
    // Card corners, the gaps between cards, the margins and points off the board.
    const int aCases[][3] = {{4, 4, 0},    {53, 71, 0},    {3, 10, -1},   {54, 10, -1},
                             {58, 76, 14}, {701, 287, 51}, {702, 10, -1}, {10, 292, -1},
                             {0, 0, -1},   {-50, 10, -1},  {710, 10, -1}, {10, 320, -1}};
    CGameBoard board;
    for (const auto& c : aCases)
        EXPECT_EQ(board.HitTest(c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST(Board, ScoreChargesRepeatedMisses) {
    // {misses of every card, misses of card 17, score, histogram 0..5}
    const int aCases[][9] = {
        {1, 1, 500, 0, 52, 0, 0, 0, 0}, {0, 2, 499, 51, 0, 1, 0, 0, 0},
        {0, 4, 494, 51, 0, 0, 0, 1, 0}, {0, 6, 485, 51, 0, 0, 0, 0, 1},
        {0, 32, 4, 51, 0, 0, 0, 0, 1},  {0, 33, 0, 51, 0, 0, 0, 0, 1},
        {2, 2, 448, 0, 0, 52, 0, 0, 0}, {INT_MAX, INT_MAX, 0, 0, 0, 0, 0, 0, 52}};
    CGameBoard board;
    board.NewDeal();
    for (const auto& c : aCases) {
        for (CCard* pCard : board.m_apCards)
            pCard->m_nMissCount = c[0];
        board.m_apCards[17]->m_nMissCount = c[1];
        int anHistogram[HISTOGRAM_SIZE] = {};
        std::vector<int> expected(c + 3, c + 9);
        expected.resize(HISTOGRAM_SIZE);
        EXPECT_EQ(board.CalcScore(anHistogram), c[2]) << c[1];
        EXPECT_EQ(std::vector<int>(anHistogram, anHistogram + HISTOGRAM_SIZE), expected) << c[1];
    }
}

TEST(Texts, GradesTimesAndSummary) {
    const char* apszGrade[] = {"　SS", "　Ｓ", "　Ａ", "　Ｂ", "　Ｃ", "　Ｄ", "　Ｅ"};
    const int aGrades[][2] = {{500, 0}, {499, 1}, {451, 1}, {450, 2}, {401, 2}, {400, 3}, {351, 3},
                              {350, 4}, {301, 4}, {300, 5}, {201, 5}, {200, 6}, {0, 6}};
    char sz[TIME_TEXT_SIZE];
    for (const auto& c : aGrades) {
        ScoreToGrade(c[0], sz, GRADE_TEXT_SIZE);
        EXPECT_STREQ(sz, apszGrade[c[1]]) << c[0];
    }
    // Hours past two digits; nothing elapsed for a damaged negative time.
    const std::pair<int, const char*> aTimes[] = {{INT_MAX, "596523:14:07"}, {-1, "00:00:00"}};
    for (const auto& [nSeconds, pszText] : aTimes) {
        FormatGameTime(nSeconds, sz, sizeof sz);
        EXPECT_STREQ(sz, pszText);
    }
    // Counts past two digits show as 99; the heading line is a fixed text.
    const int anHistogram[CLEAR_HISTOGRAM_SIZE] = {52, 3, 0, 99, 100, 5000, 7};
    ClearLines lines;
    BuildClearLines(anHistogram, 57, 185, 487, &lines);
    EXPECT_EQ(std::string(lines.aszLine[0]) + "|" + lines.aszLine[2] + "|" + lines.aszLine[3],
              "開数：57　時間：00:03:05|　1 回： 3　2 回： 0　3 回：99　4 回：99　5 回以上：99|"
              "得点：487　ＬＶ：Ｓ");
}

// Places shared by equal scores; a damaged count never reaches past five rows.
TEST(Texts, RankingRows) {
    RankingTable table;
    const int anScores[] = {500, 500, 480, 200, 123456};
    for (int i = 0; i < RANK_ROWS; ++i)
        table.anScore[i] = anScores[i], table.anOpens[i] = 26 + i, table.anSeconds[i] = 192;
    table.anSeconds[1] = 360000;
    std::strcpy(table.aszDate[1], "2024/05/02 12:34:56");
    std::memset(table.aszDate[4], 'A', RANK_DATE_SIZE); // no terminator
    for (int nCount : {3, 6, -3}) {
        table.nCount = nCount;
        RankingRow aRows[RANK_ROWS + 1];
        std::memset(aRows, 'z', sizeof aRows); // what an earlier showing left must not survive
        BuildRankingRows(table, aRows);
        std::string str;
        for (int i = 0; i < RANK_ROWS; ++i)
            str += std::string(aRows[i].szRank) + aRows[i].szScore + aRows[i].szOpens +
                   aRows[i].szTime + aRows[i].szGrade + aRows[i].szDate + "|";
        EXPECT_EQ(aRows[RANK_ROWS].szRank[0], 'z');
        const std::string strThree = "   1 500  2600:03:12　SS|   1 500  27100:00:00　SS2024/05/02 "
                                     "12:34:56|   2 480  2800:03:12　Ｓ|";
        const std::string strAll = strThree + "   3 200  2900:03:12　Ｅ|   41234  3000:03:12　Ｓ" +
                                   std::string(RANK_DATE_SIZE - 1, 'A') + "|";
        EXPECT_EQ(str, nCount == 3 ? strThree + "||" : nCount < 0 ? "|||||" : strAll);
    }
}

} // namespace
