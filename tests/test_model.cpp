// SPDX-License-Identifier: MIT
// The board, the score and the texts the status line and the dialogs show.

#include <climits>
#include <cstring>
#include <set>
#include <string>

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

TEST(Board, NewDealIsAFreshPackOfEachCardOnceOfThatSecond) {
    CGameBoard board;
    board.NewDeal();
    CCard& played = *board.m_apCards[5];
    played.m_bFaceUp = played.m_bRemoved = played.m_bDealt = played.m_nMissCount = 1;
    board.SetOpenCard(3, 0), board.SetOpenCard(7, 1), board.SetOpenCount(12), board.SetPlaying(1);
    board.m_bShowOpens = board.m_bShowTime = 1;
    const auto faces = [&] { // of real cards that show their own face, where they lie
        std::set<int> ids;
        std::string strLayout;
        for (int i = 0; i < CARD_COUNT; ++i) {
            const CCard& c = *board.m_apCards[i];
            EXPECT_TRUE(board.HitTest(c.m_nX, c.m_nY) == i &&
                        board.HitTest(c.m_nX + CARD_WIDTH - 1, c.m_nY + CARD_HEIGHT - 1) == i);
            EXPECT_FALSE(c.IsFaceUp() || c.IsRemoved() || c.m_bDealt || c.m_nMissCount);
            if (c.m_nSuit >= 1 && c.m_nSuit <= 4 && c.m_nRank >= 1 && c.m_nRank <= 13 &&
                c.m_bmpFace.m_nId == c.m_nSuit * 1000 + c.m_nRank)
                ids.insert(c.m_bmpFace.m_nId), strLayout += std::to_string(c.m_bmpFace.m_nId);
        }
        EXPECT_EQ(ids.size(), 52u);
        return strLayout;
    };
    for (time_t tSecond : {0, 1, 1733500000})
        board.NewDeal(tSecond), faces();
    EXPECT_TRUE(board.GetOpenCard(0) == -1 && board.GetOpenCard(1) == -1 && !board.GetOpenCount() &&
                !board.IsPlaying() && !board.m_bShowOpens && !board.m_bShowTime);
    for (int nTry = 0; nTry < 3; ++nTry) { // a deal now is the deal of this second
        const time_t tNow = time(nullptr);
        board.NewDeal();
        const auto first = faces();
        board.NewDeal(tNow);
        EXPECT_TRUE(time(nullptr) != tNow || first == faces());
    }
    board.SetOpenCount(9998);
    board.AddOpenCount(), board.AddOpenCount();
    EXPECT_EQ(board.GetOpenCount(), 9999);
}

TEST(Board, ScoreChargesRepeatedMisses) {
    // {misses of every card, misses of card 17, score, histogram 0..5}
    const int aCases[][9] = {
        {0, 0, 500, 52, 0, 0, 0, 0, 0},          {1, 1, 500, 0, 52, 0, 0, 0, 0},
        {0, 2, 499, 51, 0, 1, 0, 0, 0},          {0, 6, 485, 51, 0, 0, 0, 0, 1},
        {0, 7, 479, 51, 0, 0, 0, 0, 1},          {0, 32, 4, 51, 0, 0, 0, 0, 1},
        {0, 33, 0, 51, 0, 0, 0, 0, 1},           {2, 2, 448, 0, 0, 52, 0, 0, 0},
        {INT_MAX, INT_MAX, 0, 0, 0, 0, 0, 0, 52}};
    CGameBoard board;
    board.NewDeal();
    for (const auto& c : aCases) {
        for (CCard* pCard : board.m_apCards)
            pCard->m_nMissCount = c[0];
        board.m_apCards[17]->m_nMissCount = c[1];
        int anHistogram[HISTOGRAM_SIZE] = {}, anExpected[HISTOGRAM_SIZE] = {};
        memcpy(anExpected, c + 3, 6 * sizeof(int));
        EXPECT_EQ(board.CalcScore(anHistogram), c[2]) << c[1];
        EXPECT_EQ(0, memcmp(anHistogram, anExpected, sizeof anHistogram)) << c[1];
    }
}

TEST(Texts, GradesTimesAndNumbers) {
    const char* apszGrade[] = {"　SS", "　Ｓ", "　Ａ", "　Ｂ", "　Ｃ", "　Ｄ", "　Ｅ"};
    const int aGrades[][2] = {{500, 0}, {499, 1}, {451, 1}, {450, 2}, {401, 2}, {400, 3}, {351, 3},
                              {350, 4}, {301, 4}, {300, 5}, {201, 5}, {200, 6}, {0, 6}};
    char sz[TIME_TEXT_SIZE];
    for (const auto& c : aGrades) {
        ScoreToGrade(c[0], sz, GRADE_TEXT_SIZE);
        EXPECT_STREQ(sz, apszGrade[c[1]]) << c[0];
    }
    const std::pair<int, const char*> aTimes[] = {{59, "00:00:59"},    {3599, "00:59:59"},
                                                  {86400, "24:00:00"}, {360000, "100:00:00"},
                                                  {-1, "00:00:00"},    {INT_MAX, "596523:14:07"}};
    for (const auto& [nSeconds, pszText] : aTimes) {
        FormatGameTime(nSeconds, sz, sizeof sz);
        EXPECT_STREQ(sz, pszText);
    }
}

TEST(Texts, SummaryLines) {
    const struct {
        int anHistogram[CLEAR_HISTOGRAM_SIZE], nOpens, nSeconds, nScore;
    } aCases[] = {{{52, 3, 0, 12, 1, 0, 7, 7, 7, 7}, 57, 185, 487},
                  {{0, 10, 9, 99, 100, 5000}, 9999, 360000, 500}};
    const char* apszLines[] = {
        "開数：57　時間：00:03:05|　1 回： 3　2 回： 0　3 回：12　4 回： 1　5 回以上： 0|"
        "得点：487　ＬＶ：Ｓ|",
        "開数：9999　時間：100:00:00|　1 回：10　2 回： 9　3 回：99　4 回：99　5 回以上：99|"
        "得点：500　ＬＶ：SS|"};
    for (int n : {0, 1}) {
        ClearLines lines;
        const auto& c = aCases[n];
        BuildClearLines(c.anHistogram, c.nOpens, c.nSeconds, c.nScore, &lines);
        std::string str; // the heading line is a fixed text
        for (int i : {0, 2, 3})
            str += std::string(lines.aszLine[i]) + "|";
        EXPECT_EQ(str, apszLines[n]);
    }
}

// Places shared by equal scores; a damaged count never reaches past five rows.
TEST(Texts, RankingRows) {
    RankingTable table;
    const int anScores[] = {500, 500, 480, 200, 123456};
    for (int i = 0; i < RANK_ROWS; ++i) {
        table.anScore[i] = anScores[i], table.anOpens[i] = 26 + i, table.anSeconds[i] = 192;
        std::snprintf(table.aszDate[i], RANK_DATE_SIZE, "2024/05/0%d 12:34:56", i + 1);
    }
    table.anSeconds[1] = 360000;
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
        const std::string strThree = "   1 500  2600:03:12　SS2024/05/01 12:34:56|"
                                     "   1 500  27100:00:00　SS2024/05/02 12:34:56|"
                                     "   2 480  2800:03:12　Ｓ2024/05/03 12:34:56|";
        const std::string strAll = strThree +
                                   "   3 200  2900:03:12　Ｅ2024/05/04 12:34:56|   41234  30"
                                   "00:03:12　Ｓ" +
                                   std::string(RANK_DATE_SIZE - 1, 'A') + "|";
        EXPECT_EQ(str, nCount == 3 ? strThree + "||" : nCount < 0 ? "|||||" : strAll);
    }
}

} // namespace
