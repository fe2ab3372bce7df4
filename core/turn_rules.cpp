// SPDX-License-Identifier: MIT
#include "core/turn_rules.h"

#include "core/score.h"
#include "records/settings.h"

int g_nGameSeconds = 0;

void CTurnRules::StartTimer(int nId, int nElapse) {
    m_board.SetTimerState(nId, nElapse, 1);
    m_window.StartWindowTimer(nId, nElapse);
}

void CTurnRules::StopTimer(int nId) {
    m_board.SetTimerState(nId, 0, 0);
    m_window.StopWindowTimer(nId);
}

void CTurnRules::RepaintBoard() {
    m_window.RequestRepaint({0, 0, BOARD_WIDTH, BOARD_HEIGHT});
}

void CTurnRules::RepaintPlace(const CCard& card) {
    m_window.RequestRepaint({card.m_nX, card.m_nY, CARD_WIDTH, CARD_HEIGHT});
}

void CTurnRules::StartGame() {
    StopTimer(TIMER_CLOCK);
    // A pair or mismatch still pending from the old deal must not close cards of the new one.
    StopTimer(TIMER_PAIR);
    StopTimer(TIMER_MISS);
    m_board.NewDeal(m_window.TimeNow());
    RepaintBoard();

    m_board.m_nDealIndex = 0;
    m_window.BeginDeal();
    for (int i = 0; i < CARD_COUNT; ++i) {
        m_board.m_apCards[m_board.m_nDealIndex]->SetDealt(1);
        m_window.DrawDealStep(m_board.m_nDealIndex, DEAL_STEP_MS);
        ++m_board.m_nDealIndex;
    }
    m_window.EndDeal();

    m_board.SetPlaying(1);
    m_board.m_bShowOpens = 1;
    m_board.m_bShowTime = 1;
    g_nGameSeconds = 0;
    RepaintBoard();
    StartTimer(TIMER_CLOCK, CLOCK_INTERVAL_MS);
}

void CTurnRules::OnBoardClick(int x, int y) {
    const int i = m_board.HitTest(x, y);
    if (i == -1 || !m_board.IsPlaying())
        return;
    if (m_board.GetOpenCard(0) != -1 && m_board.GetOpenCard(1) != -1)
        return;
    CCard* pCard = m_board.m_apCards[i];
    if (pCard->IsFaceUp() || pCard->IsRemoved()) {
        RepaintPlace(*pCard);
        return;
    }
    pCard->SetFaceUp(1);
    if (m_board.GetOpenCard(0) == -1) {
        m_board.SetOpenCard(i, 0);
        RepaintPlace(*pCard);
        return;
    }
    m_board.SetOpenCard(i, 1);
    m_board.AddOpenCount();
    RepaintPlace(*pCard); // the window finds the turn count's change itself
    if (m_board.IsSameRank(m_board.GetOpenCard(0), i))
        StartTimer(TIMER_PAIR, PAIR_DELAY_MS);
    else if (m_board.m_bTimeAuto)
        StartTimer(TIMER_MISS, CloseDelayMs(m_board.m_nTimeIndex));
}

void CTurnRules::OnBoardRightClick() {
    if (m_board.m_bTimeAuto)
        return;
    const int nFirst = m_board.GetOpenCard(0);
    const int nSecond = m_board.GetOpenCard(1);
    if (nFirst == -1 || nSecond == -1)
        return;
    StartTimer(m_board.IsSameRank(nFirst, nSecond) ? TIMER_PAIR : TIMER_MISS, 0);
}

// Ends the turn's timer and hands over its two cards, emptying the open slots;
// false when no two cards are up.
bool CTurnRules::TakeOpenPair(int nId, CCard* apPair[2]) {
    StopTimer(nId);
    const int nFirst = m_board.GetOpenCard(0);
    const int nSecond = m_board.GetOpenCard(1);
    if (nFirst == -1 || nSecond == -1)
        return false;
    apPair[0] = m_board.m_apCards[nFirst];
    apPair[1] = m_board.m_apCards[nSecond];
    m_board.SetOpenCard(-1, 0);
    m_board.SetOpenCard(-1, 1);
    return true;
}

void CTurnRules::OnGameTimer(int nId) {
    CCard* apPair[2];
    switch (nId) {
    case TIMER_PAIR:
        if (!TakeOpenPair(TIMER_PAIR, apPair))
            return;
        for (CCard* pCard : apPair)
            pCard->SetRemoved(1);
        for (const CCard* pCard : apPair)
            RepaintPlace(*pCard);
        if (m_board.IsAllRemoved()) {
            StopTimer(TIMER_CLOCK);
            int anHistogram[HISTOGRAM_SIZE] = {};
            const int nScore = m_board.CalcScore(anHistogram);
            m_window.InsertResult(nScore, m_board.GetOpenCount(), g_nGameSeconds);
            m_window.ShowClearDialog(anHistogram, nScore);
        }
        break;
    case TIMER_MISS:
        if (!TakeOpenPair(TIMER_MISS, apPair))
            return;
        for (CCard* pCard : apPair)
            pCard->SetFaceUp(0);
        for (CCard* pCard : apPair)
            pCard->AddMiss();
        for (const CCard* pCard : apPair)
            RepaintPlace(*pCard);
        break;
    case TIMER_CLOCK:
        if (m_window.IsProgramActive())
            ++g_nGameSeconds;
        m_window.ShowGameTime();
        break;
    default:
        break;
    }
}
