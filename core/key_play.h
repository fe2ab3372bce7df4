// SPDX-License-Identifier: MIT
#pragma once

#include "core/board.h"
#include "core/turn_rules.h"
#include "core/turn_window.h"

// Keys of the board, whatever the window system calls them.
enum class BoardKey { Left, Right, Up, Down, Home, End, Act, Cancel, Pause };

// The frame drawn around a place is this many pixels wide, in the gap around it.
constexpr int FOCUS_FRAME_WIDTH = 3;
BoardRect FocusFrameRect(int nPlace);

// Playing from the keyboard, and the pause: a frame that marks one card place,
// keys that act as the mouse would there, and a pause that hides the board.
// Mouse input passes through here too, since a click hides the frame and ends a pause.
class CKeyPlay {
public:
    CKeyPlay(CGameBoard& board, CTurnRules& rules, ITurnWindow& window)
        : m_board(board), m_rules(rules), m_window(window) {}

    void StartGame();
    void OnKey(BoardKey key);
    void OnLeftClick(int x, int y);
    void OnRightClick();
    // A paused game's clock counts no time, as for an inactive window.
    void OnGameTimer(int nId);

    // What the board shows: the frame on a place, if any, and whether it is paused.
    int GetFocusPlace() const { return m_bFocusShown && !IsPaused() ? m_nFocus : -1; }
    // Only a deal in play can be paused; a won game ends the pause.
    bool IsPaused() const;

private:
    bool InPlay() const;
    void SetPaused(bool bPaused);
    void MoveFocus(int nPlace);
    void ShowFocus(bool bShown);

    CGameBoard& m_board;
    CTurnRules& m_rules;
    ITurnWindow& m_window;
    int m_nFocus = 0;
    bool m_bFocusShown = false;
    bool m_bPaused = false;
};
