#include <climits>
#include <cstring>
#include <utility>

#include <gtest/gtest.h>

#include "core/board.h"
#include "core/score.h"

namespace {

TEST(Board, HitTestMapsPointsToCards) {
    const int aCases[][3] = {{4, 4, 0},    {53, 71, 0},    {3, 10, -1},   {54, 10, -1},
                             {58, 76, 14}, {701, 287, 51}, {702, 10, -1}, {10, 292, -1},
                             {0, 0, -1},   {-50, 10, -1},  {710, 10, -1}, {10, 320, -1}};
    CGameBoard board;
    for (const auto& c : aCases)
        EXPECT_EQ(board.HitTest(c[0], c[1]), c[2]) << c[0] << "," << c[1];
}

TEST(Board, DealsAreFixedPerSecondAndHoldEachCardOnce) {
    // Checked by hand against the raw rand() draws for this second, including the
    // redraws at places 12 and 14, which hit values already dealt.
    const int anGolden[][2] = {{9, 4}, {2, 3}, {9, 2}, {6, 1},  {10, 2}, {3, 3}, {13, 3}, {6, 2},
                               {7, 4}, {3, 4}, {1, 3}, {13, 1}, {5, 3},  {2, 4}, {1, 2},  {7, 2}};
    CGameBoard board;
    board.NewDeal();
    board.ShuffleFromSecond(1000000000);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(std::make_pair(board.m_apCards[i]->m_nRank, board.m_apCards[i]->m_nSuit),
                  std::make_pair(anGolden[i][0], anGolden[i][1]))
            << i;
    EXPECT_EQ(board.IsSameRank(0, 2), 1);
    EXPECT_EQ(board.IsSameRank(0, 1), 0);
    for (time_t tSecond : {0, 1, 1000000000, 1733500000}) {
        board.ShuffleFromSecond(tSecond);
        bool abSeen[5000] = {};
        for (const CCard* pCard : board.m_apCards) {
            const int nId = pCard->m_nSuit * 1000 + pCard->m_nRank;
            ASSERT_TRUE(pCard->m_nSuit >= 1 && pCard->m_nSuit <= 4 && pCard->m_nRank >= 1 &&
                        pCard->m_nRank <= 13 && !abSeen[nId])
                << tSecond << " " << nId;
            abSeen[nId] = true;
            EXPECT_EQ(pCard->m_bmpFace.m_nId, nId);
        }
    }
}

TEST(Board, NewDealStartsAFreshUndealtGameAndEndsWhenAllAreRemoved) {
    CGameBoard board;
    board.NewDeal();
    board.m_apCards[5]->SetFaceUp(1), board.m_apCards[5]->SetRemoved(1);
    board.m_apCards[5]->AddMiss();
    board.SetOpenCard(3, 0), board.SetOpenCard(7, 1), board.SetOpenCount(12), board.SetPlaying(1);
    board.m_bShowOpens = board.m_bShowTime = 1;
    board.NewDeal();
    for (int i = 0; i < CARD_COUNT; ++i) {
        const CCard& card = *board.m_apCards[i];
        EXPECT_TRUE(card.m_nX == 4 + 54 * (i % 13) && card.m_nY == 4 + 72 * (i / 13)) << i;
        EXPECT_FALSE(card.IsFaceUp() || card.IsRemoved() || card.m_bDealt || card.m_nMissCount);
    }
    EXPECT_TRUE(board.GetOpenCard(0) == -1 && board.GetOpenCard(1) == -1);
    EXPECT_FALSE(board.GetOpenCount() || board.IsPlaying() || board.m_bShowOpens ||
                 board.m_bShowTime);
    for (CCard* pCard : board.m_apCards) {
        EXPECT_EQ(board.IsAllRemoved(), 0);
        pCard->SetRemoved(1);
    }
    EXPECT_EQ(board.IsAllRemoved(), 1);
}

TEST(Board, TurnCountAndTimerTableStayInRange) {
    CGameBoard board;
    board.SetOpenCount(9999);
    board.AddOpenCount();
    EXPECT_EQ(board.GetOpenCount(), 9999);
    board.SetTimerState(4, 250, 1), board.SetTimerState(5, 999, 1);
    board.SetTimerState(-1, 999, 1);
    EXPECT_TRUE(board.IsTimerActive(4) && board.m_anTimerElapse[4] == 250);
    EXPECT_FALSE(board.IsTimerActive(5) || board.IsTimerActive(0) || board.m_anTimerElapse[0]);
}

TEST(Board, ScoreChargesRepeatedMisses) {
    // {misses of every card, misses of card 17, score, histogram 0..5}
    const int aCases[][9] = {
        {0, 0, 500, 52, 0, 0, 0, 0, 0},          {1, 1, 500, 0, 52, 0, 0, 0, 0},
        {0, 7, 479, 51, 0, 0, 0, 0, 1},          {0, 32, 4, 51, 0, 0, 0, 0, 1},
        {0, 33, 0, 51, 0, 0, 0, 0, 1},           {2, 2, 448, 0, 0, 52, 0, 0, 0},
        {INT_MAX, INT_MAX, 0, 0, 0, 0, 0, 0, 52}};
    for (const auto& c : aCases) {
        CGameBoard board;
        board.NewDeal();
        for (CCard* pCard : board.m_apCards)
            pCard->m_nMissCount = c[0];
        board.m_apCards[17]->m_nMissCount = c[1];
        int anHistogram[HISTOGRAM_SIZE] = {};
        EXPECT_EQ(board.CalcScore(anHistogram), c[2]) << c[1];
        EXPECT_EQ(0, memcmp(anHistogram, c + 3, 6 * sizeof(int))) << c[1];
        for (int i = 6; i < HISTOGRAM_SIZE; ++i)
            EXPECT_EQ(anHistogram[i], 0);
    }
}

} // namespace
