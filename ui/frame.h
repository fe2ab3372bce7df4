#pragma once

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include "core/board.h"

class wxDC;

constexpr int TIMER_PAIR = 1;
constexpr int TIMER_MISS = 2;
constexpr int TIMER_CLOCK = 3;
constexpr int PAIR_DELAY_MS = 500;
constexpr int CLOCK_INTERVAL_MS = 1000;
constexpr int DEAL_STEP_MS = 25;

constexpr int ID_MENU_EXIT = 40001;
constexpr int ID_MENU_START = 40002;
constexpr int ID_MENU_RANKING = 40003;
constexpr int ID_MENU_OPTIONS = 40004;
constexpr int ID_MENU_HELP = 40005;
constexpr int ID_MENU_VERSION = 40006;

constexpr int MENU_MAIN = 101;
constexpr int ICON_MAIN = 216;
constexpr int DLG_RANKING = 161;
constexpr int DLG_OPTIONS = 165;
constexpr int DLG_CLEAR = 214;
constexpr int DLG_VERSION = 215;

extern int g_nGameSeconds;
extern wxBitmap* g_pBackgroundBitmap;
extern wxBitmap* g_pCardBackBitmap;

class CGameFrame : public wxFrame {
public:
    CGameFrame();

    // Turn rules and timers.
    void StartTimer(int nId, int nElapse);
    void StopTimer(int nId);
    void StartGame();
    void OnBoardClick(int nFlags, const wxPoint& point);
    void OnBoardRelease(int nFlags, const wxPoint& point);
    void OnBoardRightClick(int nFlags, const wxPoint& point);
    void OnGameTimer(int nId);

    // Painting.
    void ComposeBoard(wxDC* pDC);
    void DrawBackground(wxDC* pDC);
    void DrawOpenCount(wxDC* pDC);
    void DrawGameTime(wxDC* pDC);

    // Records and settings.
    void LoadSettings();
    void SaveSettings();
    void LoadRanking();
    void SaveRanking();
    void InsertResult(int nScore, int nOpens, int nSeconds);

    // Commands and dialogs.
    void ShowClearDialog(const int* panHistogram, int nScore);
    void OnRanking();
    void OnOptions();
    void OnVersion();
    void OnExit();
    void OnHelp();

    // The clock stands still while a dialog of ours is open.
    void SuspendClock();
    void ResumeClock();

    wxTimer* GetWindowTimer(int nId) { return &m_aTimers[nId]; }

    CGameBoard m_board;

private:
    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnDestroyWindow(wxCloseEvent& event);
    void OnCommand(wxCommandEvent& event);
    bool TakeOpenPair(int nId, CCard* apPair[2]);

    wxTimer m_aTimers[TIMER_SLOTS];
    bool m_bSaved = false;

    wxDECLARE_EVENT_TABLE();
};
