// SPDX-License-Identifier: MIT
#pragma once

// A face is named by its resource id; the decoded pixels live in the
// window-system layer's cache, so 52 cards never decode 52 images each deal.
struct CFaceImage {
    int m_nId = 0;
};

class CCard {
public:
    CCard(int x, int y);
    ~CCard() = default;
    CCard(const CCard&) = delete;
    CCard& operator=(const CCard&) = delete;

    void AddMiss();
    void SetFaceUp(int bFaceUp);
    void SetRemoved(int bRemoved);
    void SetRank(int nRank);
    void SetSuit(int nSuit);
    void LoadFace();
    int IsFaceUp() const { return m_bFaceUp; }
    int IsRemoved() const { return m_bRemoved; }
    int GetRank() const { return m_nRank; }

    // Drawn from then on; the window draws it.
    void SetDealt(int bDealt);

    int m_nMissCount = 0;
    int m_nRank = 0;
    int m_nSuit = 0;
    int m_nX;
    int m_nY;
    int m_bFaceUp = 0;
    int m_bRemoved = 0;
    int m_bDealt = 0;
    CFaceImage m_bmpFace;
};
