// SPDX-License-Identifier: MIT
#pragma once

#include "core/board.h"
#include "core/turn_window.h"

// The game time in seconds: zeroed when a deal is complete, raised by the clock.
extern int g_nGameSeconds;

// The rules of play: dealing, the two clicks of a turn, closing by right click and
// the three timers, applied to a board and shown through a window.
class CTurnRules {
public:
    CTurnRules(CGameBoard& board, ITurnWindow& window) : m_board(board), m_window(window) {}

    // Every start and stop goes through these, so the board's timer table stays true.
    void StartTimer(int nId, int nElapse);
    void StopTimer(int nId);
    void StartGame();
    void OnBoardClick(int x, int y);
    void OnBoardRightClick();
    void OnGameTimer(int nId);

private:
    bool TakeOpenPair(int nId, CCard* apPair[2]);
    void RepaintBoard();
    void RepaintPlace(const CCard& card);

    CGameBoard& m_board;
    ITurnWindow& m_window;
};
