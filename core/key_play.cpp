// SPDX-License-Identifier: MIT
#include "core/key_play.h"

#include <algorithm>

BoardRect FocusFrameRect(int nPlace) {
    return {CELL_GAP + CELL_WIDTH * (nPlace % BOARD_COLUMNS) - FOCUS_FRAME_WIDTH,
            CELL_GAP + CELL_HEIGHT * (nPlace / BOARD_COLUMNS) - FOCUS_FRAME_WIDTH,
            CARD_WIDTH + 2 * FOCUS_FRAME_WIDTH, CARD_HEIGHT + 2 * FOCUS_FRAME_WIDTH};
}

bool CKeyPlay::InPlay() const {
    return m_board.IsPlaying() && !m_board.IsAllRemoved();
}

bool CKeyPlay::IsPaused() const {
    return m_bPaused && InPlay();
}

void CKeyPlay::SetPaused(bool bPaused) {
    m_bPaused = bPaused;
    m_window.RequestRepaint({0, 0, BOARD_WIDTH, BOARD_HEIGHT});
}

void CKeyPlay::ShowFocus(bool bShown) {
    if (bShown == m_bFocusShown)
        return;
    m_bFocusShown = bShown;
    m_window.RequestRepaint(FocusFrameRect(m_nFocus));
}

void CKeyPlay::MoveFocus(int nPlace) {
    if (nPlace == m_nFocus)
        return;
    m_window.RequestRepaint(FocusFrameRect(m_nFocus));
    m_nFocus = nPlace;
    m_window.RequestRepaint(FocusFrameRect(m_nFocus));
}

void CKeyPlay::StartGame() {
    // The frame starts each deal from the top-left place, hidden until a key asks.
    ShowFocus(false);
    m_nFocus = 0;
    m_bPaused = false;
    m_rules.StartGame();
}

void CKeyPlay::OnKey(BoardKey key) {
    if (IsPaused()) {
        if (key == BoardKey::Pause || key == BoardKey::Act)
            SetPaused(false);
        return;
    }
    if (key == BoardKey::Pause) {
        if (InPlay())
            SetPaused(true);
        return;
    }
    if (key == BoardKey::Cancel) {
        m_rules.OnBoardRightClick();
        return;
    }
    // The first key only shows where the frame stands.
    if (!m_bFocusShown) {
        ShowFocus(true);
        return;
    }
    const int nRow = m_nFocus / BOARD_COLUMNS;
    const int nColumn = m_nFocus % BOARD_COLUMNS;
    switch (key) {
    case BoardKey::Left:
        MoveFocus(m_nFocus - (nColumn > 0));
        break;
    case BoardKey::Right:
        MoveFocus(m_nFocus + (nColumn < BOARD_COLUMNS - 1));
        break;
    case BoardKey::Up:
        MoveFocus(m_nFocus - BOARD_COLUMNS * (nRow > 0));
        break;
    case BoardKey::Down:
        MoveFocus(m_nFocus + BOARD_COLUMNS * (nRow < BOARD_ROWS - 1));
        break;
    case BoardKey::Home:
        MoveFocus(nRow * BOARD_COLUMNS);
        break;
    case BoardKey::End:
        MoveFocus(nRow * BOARD_COLUMNS + BOARD_COLUMNS - 1);
        break;
    case BoardKey::Act: {
        const BoardRect place = FocusFrameRect(m_nFocus);
        m_rules.OnBoardClick(place.x + place.width / 2, place.y + place.height / 2);
        break;
    }
    default:
        break;
    }
}

void CKeyPlay::OnLeftClick(int x, int y) {
    if (IsPaused()) {
        SetPaused(false);
        return;
    }
    ShowFocus(false);
    m_rules.OnBoardClick(x, y);
}

void CKeyPlay::OnRightClick() {
    if (IsPaused()) {
        SetPaused(false);
        return;
    }
    ShowFocus(false);
    m_rules.OnBoardRightClick();
}

void CKeyPlay::OnGameTimer(int nId) {
    if (nId == TIMER_CLOCK && IsPaused())
        m_window.ShowGameTime();
    else
        m_rules.OnGameTimer(nId);
}
