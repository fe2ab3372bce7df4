// SPDX-License-Identifier: MIT
#include "core/board.h"

#include <cstdint>
#include <cstdlib>

#include "core/score.h"

CGameBoard::CGameBoard() : m_pRanking(new RankingTable) {}

CGameBoard::~CGameBoard() {
    DeleteCards();
    delete m_pRanking;
}

void CGameBoard::NewDeal() {
    NewDeal(time(NULL));
}

void CGameBoard::NewDeal(time_t tSecond) {
    SetPlaying(0);
    DeleteCards();
    for (int nRow = 0; nRow < BOARD_ROWS; ++nRow)
        for (int nCol = 0; nCol < BOARD_COLUMNS; ++nCol)
            m_apCards[nRow * BOARD_COLUMNS + nCol] =
                new CCard(CELL_GAP + CELL_WIDTH * nCol, CELL_GAP + CELL_HEIGHT * nRow);
    m_bShowTime = 0;
    m_bShowOpens = 0;
    m_anOpenCard[0] = -1;
    m_anOpenCard[1] = -1;
    SetOpenCount(0);
    ShuffleFromSecond(tSecond);
}

// Seeded from the second on purpose: two deals in the same second lie alike.
void CGameBoard::Shuffle() {
    ShuffleFromSecond(time(NULL));
}

void CGameBoard::ShuffleFromSecond(time_t tSecond) {
    srand((unsigned)tSecond);
    // Rejection draw, restarting the comparison on every repeat, so that a given
    // second always yields the same layout with the C runtime's generator.
    int anValue[CARD_COUNT];
    for (int i = 0; i < CARD_COUNT; ++i) {
        int nValue = rand() % CARD_COUNT + 1;
        for (int j = 0; j < i; ++j) {
            if (anValue[j] == nValue) {
                nValue = rand() % CARD_COUNT + 1;
                j = -1;
            }
        }
        anValue[i] = nValue;
    }
    for (int i = 0; i < CARD_COUNT; ++i) {
        const int nSuit = (anValue[i] - 1) / RANK_COUNT + 1;
        CCard* pCard = m_apCards[i];
        pCard->SetRank(anValue[i] - (nSuit - 1) * RANK_COUNT);
        pCard->SetSuit(nSuit);
        pCard->LoadFace();
    }
}

int CGameBoard::HitTest(int x, int y) const {
    // Without the bounds a point right of the board would wrap into the next row.
    if (x < 0 || y < 0 || x >= BOARD_WIDTH || y >= BOARD_HEIGHT)
        return -1;
    if (x % CELL_WIDTH < CELL_GAP || y % CELL_HEIGHT < CELL_GAP)
        return -1;
    const int nIndex = x / CELL_WIDTH + BOARD_COLUMNS * (y / CELL_HEIGHT);
    return nIndex < CARD_COUNT ? nIndex : -1;
}

int CGameBoard::IsSameRank(int nIndex1, int nIndex2) const {
    return m_apCards[nIndex1]->m_nRank == m_apCards[nIndex2]->m_nRank ? 1 : 0;
}

void CGameBoard::SetOpenCard(int nIndex, int nSlot) {
    if (nSlot == 0 || nSlot == 1)
        m_anOpenCard[nSlot] = nIndex;
}

int CGameBoard::GetOpenCard(int nSlot) const {
    return nSlot == 0 || nSlot == 1 ? m_anOpenCard[nSlot] : -1;
}

void CGameBoard::AddOpenCount() {
    if (m_nOpenCount < MAX_OPEN_COUNT)
        ++m_nOpenCount;
    else
        m_nOpenCount = MAX_OPEN_COUNT;
}

void CGameBoard::SetOpenCount(int nCount) {
    m_nOpenCount = nCount;
}

void CGameBoard::SetPlaying(int bPlaying) {
    m_bPlaying = bPlaying;
}

int CGameBoard::IsAllRemoved() const {
    for (const CCard* pCard : m_apCards)
        if (!pCard->IsRemoved())
            return 0;
    return 1;
}

void CGameBoard::DeleteCards() {
    for (CCard*& pCard : m_apCards) {
        delete pCard;
        pCard = nullptr;
    }
}

void CGameBoard::SetTimerState(int nId, int nElapse, int bActive) {
    if (nId < 0 || nId >= TIMER_SLOTS)
        return;
    m_abTimerActive[nId] = bActive;
    m_anTimerElapse[nId] = nElapse;
}

int CGameBoard::IsTimerActive(int nId) const {
    return nId >= 0 && nId < TIMER_SLOTS ? m_abTimerActive[nId] : 0;
}

int CGameBoard::CalcScore(int* panHistogram) const {
    // 64 bits and a stop once the score is gone: one card's m(m-1)/2 fits, 52 of them may not.
    int64_t nPenalty = 0;
    for (const CCard* pCard : m_apCards) {
        const int64_t nMiss = pCard->m_nMissCount > 0 ? pCard->m_nMissCount : 0;
        ++panHistogram[nMiss < MISS_TOP_BUCKET ? nMiss : MISS_TOP_BUCKET];
        if (nPenalty <= MAX_SCORE)
            nPenalty += nMiss * (nMiss - 1) / 2;
    }
    return nPenalty >= MAX_SCORE ? 0 : MAX_SCORE - static_cast<int>(nPenalty);
}
