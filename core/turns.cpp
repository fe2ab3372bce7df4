// The rules of play: dealing, the two clicks of a turn, closing by right click,
// and the three timers. They act on the board the main window embeds.

#include <wx/dcclient.h>

#include "core/score.h"
#include "records/settings.h"
#include "ui/frame.h"
#include "ui/wsys.h"

int g_nGameSeconds = 0;

void CGameFrame::StartTimer(int nId, int nElapse) {
    m_board.SetTimerState(nId, nElapse, 1);
    m_aTimers[nId].Start(nElapse);
}

void CGameFrame::StopTimer(int nId) {
    m_board.SetTimerState(nId, 0, 0);
    m_aTimers[nId].Stop();
}

void CGameFrame::StartGame() {
    StopTimer(TIMER_CLOCK);
    // A pair or mismatch still pending from the old deal must not close cards of the new one.
    StopTimer(TIMER_PAIR);
    StopTimer(TIMER_MISS);
    m_board.NewDeal();
    Refresh(false);

    m_board.m_nDealIndex = 0;
    wxClientDC dc(this);
    DrawBackground(&dc);
    for (int i = 0; i < CARD_COUNT; ++i) {
        AlertableSleep(DEAL_STEP_MS);
        m_board.m_apCards[m_board.m_nDealIndex]->SetDealt(&dc, 1);
        ++m_board.m_nDealIndex;
    }

    m_board.SetPlaying(1);
    m_board.m_bShowOpens = 1;
    m_board.m_bShowTime = 1;
    g_nGameSeconds = 0;
    Refresh(false);
    StartTimer(TIMER_CLOCK, CLOCK_INTERVAL_MS);
}

void CGameFrame::OnBoardClick(int /*nFlags*/, const wxPoint& point) {
    const int i = m_board.HitTest(point.x, point.y);
    if (i == -1 || !m_board.IsPlaying())
        return;
    if (m_board.GetOpenCard(0) != -1 && m_board.GetOpenCard(1) != -1)
        return;
    CCard* pCard = m_board.m_apCards[i];
    if (pCard->IsFaceUp() || pCard->IsRemoved()) {
        Refresh(false);
        return;
    }
    pCard->SetFaceUp(1);
    if (m_board.GetOpenCard(0) == -1) {
        m_board.SetOpenCard(i, 0);
        Refresh(false);
        return;
    }
    m_board.SetOpenCard(i, 1);
    m_board.AddOpenCount();
    Refresh(false);
    if (m_board.IsSameRank(m_board.GetOpenCard(0), i))
        StartTimer(TIMER_PAIR, PAIR_DELAY_MS);
    else if (m_board.m_bTimeAuto)
        StartTimer(TIMER_MISS, CloseDelayMs(m_board.m_nTimeIndex));
}

void CGameFrame::OnBoardRelease(int /*nFlags*/, const wxPoint& /*point*/) {}

void CGameFrame::OnBoardRightClick(int /*nFlags*/, const wxPoint& /*point*/) {
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
bool CGameFrame::TakeOpenPair(int nId, CCard* apPair[2]) {
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

void CGameFrame::OnGameTimer(int nId) {
    switch (nId) {
    case TIMER_PAIR: {
        CCard* apPair[2];
        if (!TakeOpenPair(TIMER_PAIR, apPair))
            return;
        for (CCard* pCard : apPair)
            pCard->SetRemoved(1);
        Refresh(false);
        if (m_board.IsAllRemoved()) {
            StopTimer(TIMER_CLOCK);
            int anHistogram[HISTOGRAM_SIZE] = {};
            const int nScore = m_board.CalcScore(anHistogram);
            InsertResult(nScore, m_board.GetOpenCount(), g_nGameSeconds);
            ShowClearDialog(anHistogram, nScore);
        }
        break;
    }
    case TIMER_MISS: {
        CCard* apPair[2];
        if (!TakeOpenPair(TIMER_MISS, apPair))
            return;
        for (CCard* pCard : apPair)
            pCard->SetFaceUp(0);
        for (CCard* pCard : apPair)
            pCard->AddMiss();
        Refresh(false);
        break;
    }
    case TIMER_CLOCK: {
        if (IsProgramWindowActive())
            ++g_nGameSeconds;
        // Only the clock draws here: the win sequence above runs a modal loop,
        // during which no surface of ours should be held open.
        wxClientDC dc(this);
        DrawGameTime(&dc);
        break;
    }
    default:
        break;
    }
}
