// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/graphics.h>
#include <wx/timer.h>

#include "core/board.h"
#include "core/key_play.h"
#include "core/turn_rules.h"
#include "records/ranking.h"
#include "ui/res_ids.h"

class wxClientDC;
class wxDC;
struct CShownBoard;

constexpr int ID_MENU_EXIT = 40001;
constexpr int ID_MENU_START = 40002;
constexpr int ID_MENU_RANKING = 40003;
constexpr int ID_MENU_OPTIONS = 40004;
constexpr int ID_MENU_HELP = 40005;
constexpr int ID_MENU_VERSION = 40006;

extern wxBitmap* g_pBackgroundBitmap;
extern wxBitmap* g_pCardBackBitmap;

// Keyboard play: the frame around a card place and the sign of a paused game.
void DrawFocusFrame(wxDC* pDC, int nPlace);
void DrawPauseSign(wxDC* pDC);

// The main window: shows the board, owns the timers and forwards every event to
// the turn rules, which ask it for what they need.
class CGameFrame : public wxFrame, public ITurnWindow {
public:
    CGameFrame();
    ~CGameFrame() override;

    // The turn rules' handlers, each handing its event on.
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
    void DrawCard(wxDC* pDC, const CCard& card);

    // Records and settings.
    void LoadSettings();
    void SaveSettings();
    void LoadRanking();
    void SaveRanking();

    // What the turn rules ask of the window.
    void StartWindowTimer(int nId, int nElapseMs) override;
    void StopWindowTimer(int nId) override;
    void RequestRepaint(const BoardRect& rect) override;
    void BeginDeal() override;
    void DrawDealStep(int nIndex, int nWaitMs) override;
    void EndDeal() override;
    bool IsProgramActive() override;
    time_t TimeNow() override;
    void ShowGameTime() override;
    void InsertResult(int nScore, int nOpens, int nSeconds) override;
    void ShowClearDialog(const int* panHistogram, int nScore) override;
    void ClearRanking();
    // Saves both files and closes as the close box does, once open dialogs are cancelled.
    void EndOnSignal();

    // Commands and dialogs.
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
    CTurnRules m_rules{m_board, *this};
    // Board input passes through the keys' play, which hands it on to the rules.
    CKeyPlay m_keys{m_board, m_rules, *this};

private:
    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnDestroyWindow(wxCloseEvent& event);
    void OnCommand(wxCommandEvent& event);
    // Brings the kept board up to date with the game; returns the areas redrawn.
    std::vector<wxRect> UpdateShownBoard();
    void RedrawArea(const wxRect& area);
    void CopyShownBoard(const wxRegion& region);
    void DrawStatusLineText(wxDC* pDC, int n, const std::string& strText);
    // Updates the kept board and asks for a paint of what changed.
    void ShowChanges();
    void RepaintArea(const wxRect& area);

    void SaveBothOnce();
    // Saves this run's ranking changes; false (and errno) on failure.
    bool SaveRankingChanges(char* pszPath, size_t nSize);
    void SaveRankingInPlay();

    wxTimer m_aTimers[TIMER_SLOTS];
    // The surface the deal draws on while it holds the thread.
    std::unique_ptr<wxClientDC> m_pDealDC;
    std::unique_ptr<CShownBoard> m_pShown;
    // The background tile as a brush, and the tile it was made from: a bitmap brush
    // set on a DC converts every pixel of its tile anew.
    wxGraphicsBrush m_tileBrush;
    wxBitmap m_tileOfBrush;
    bool m_bSaved = false;
    wxPoint m_storedPosition; // LEFT and TOP as read
    bool m_bEnding = false;
    bool m_bToldSaveFailure = false;
    RankingChanges m_rankingChanges;

    wxDECLARE_EVENT_TABLE();
};
