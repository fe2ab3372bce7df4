// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>

// Ids of the window timers the turn rules run.
constexpr int TIMER_PAIR = 1;
constexpr int TIMER_MISS = 2;
constexpr int TIMER_CLOCK = 3;

// A rectangle of the board, in board pixels.
struct BoardRect {
    int x;
    int y;
    int width;
    int height;
};

// What the turn rules ask of the window that shows the board.
class ITurnWindow {
public:
    // An interval of 0 expires at the next chance; starting a running id restarts it.
    virtual void StartWindowTimer(int nId, int nElapseMs) = 0;
    virtual void StopWindowTimer(int nId) = 0;
    // Asks for a paint of the rectangle without erasing it first; the window adds
    // whatever else the change shows on (the turn count).
    virtual void RequestRepaint(const BoardRect& rect) = 0;
    // The deal holds the thread and draws straight onto the window: the background
    // first, then per step a wait and card nIndex face down.
    virtual void BeginDeal() = 0;
    virtual void DrawDealStep(int nIndex, int nWaitMs) = 0;
    virtual void EndDeal() = 0;
    // Whether a window of this program is the active one.
    virtual bool IsProgramActive() = 0;
    // The current calendar time in seconds.
    virtual time_t TimeNow() = 0;
    // Draws the game time at once, outside a paint.
    virtual void ShowGameTime() = 0;
    virtual void InsertResult(int nScore, int nOpens, int nSeconds) = 0;
    // Runs the game-clear summary modally.
    virtual void ShowClearDialog(const int* panHistogram, int nScore) = 0;

protected:
    ~ITurnWindow() = default;
};
