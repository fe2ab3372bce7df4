// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>

#include "core/card.h"
#include "core/limits.h"
#include "records/ranking.h"

constexpr int BOARD_COLUMNS = 13;
constexpr int BOARD_ROWS = 4;
constexpr int BOARD_WIDTH = 706;
constexpr int BOARD_HEIGHT = 317;
constexpr int CARD_WIDTH = 50;
constexpr int CARD_HEIGHT = 68;
constexpr int CELL_WIDTH = 54;
constexpr int CELL_HEIGHT = 72;
constexpr int CELL_GAP = 4;
constexpr int TIMER_SLOTS = 5;

class CGameBoard {
public:
    CGameBoard();
    ~CGameBoard();
    CGameBoard(const CGameBoard&) = delete;
    CGameBoard& operator=(const CGameBoard&) = delete;

    void NewDeal();
    // A fresh pack shuffled as in the given second.
    void NewDeal(time_t tSecond);
    void Shuffle();
    // The layout is a function of the second it was dealt in.
    void ShuffleFromSecond(time_t tSecond);
    int HitTest(int x, int y) const;
    int IsSameRank(int nIndex1, int nIndex2) const;
    void SetOpenCard(int nIndex, int nSlot);
    int GetOpenCard(int nSlot) const;
    int GetOpenCount() const { return m_nOpenCount; }
    void AddOpenCount();
    void SetOpenCount(int nCount);
    void SetPlaying(int bPlaying);
    int IsPlaying() const { return m_bPlaying; }
    int IsAllRemoved() const;
    void DeleteCards();
    void SetTimerState(int nId, int nElapse, int bActive);
    int IsTimerActive(int nId) const;
    int CalcScore(int* panHistogram) const;

    CCard* m_apCards[CARD_COUNT] = {};
    int m_nDealIndex = 0;
    int m_bShowOpens = 0;
    int m_bShowTime = 0;
    int m_nCardPattern = 0;
    int m_nBackground = 0;
    int m_nTimeIndex = 3;
    int m_bTimeAuto = 1;
    int m_abTimerActive[TIMER_SLOTS] = {};
    int m_anTimerElapse[TIMER_SLOTS] = {};
    RankingTable* m_pRanking = nullptr;
    int m_anOpenCard[2] = {-1, -1};
    int m_nOpenCount = 0;
    int m_bPlaying = 0;
};
