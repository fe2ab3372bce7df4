// SPDX-License-Identifier: MIT
#include "core/card.h"

CCard::CCard(int x, int y) : m_nX(x), m_nY(y) {}

void CCard::AddMiss() {
    ++m_nMissCount;
}

void CCard::SetFaceUp(int bFaceUp) {
    m_bFaceUp = bFaceUp;
}

void CCard::SetDealt(int bDealt) {
    m_bDealt = bDealt;
}

void CCard::SetRemoved(int bRemoved) {
    m_bRemoved = bRemoved;
}

void CCard::SetRank(int nRank) {
    m_nRank = nRank;
}

void CCard::SetSuit(int nSuit) {
    m_nSuit = nSuit;
}

// Only the id is kept here: the window-system layer decodes and caches the image.
void CCard::LoadFace() {
    m_bmpFace.m_nId = m_nSuit * 1000 + m_nRank;
}
