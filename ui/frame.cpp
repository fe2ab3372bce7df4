// SPDX-License-Identifier: MIT
#include "ui/frame.h"

#include <cstring>
#include <utility>

#include <unistd.h>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/menu.h>

#include "records/settings.h"
#include "ui/clear_dialog.h"
#include "ui/shown_board.h"
#include "ui/wsys.h"

wxBitmap* g_pBackgroundBitmap = nullptr;
wxBitmap* g_pCardBackBitmap = nullptr;

// clang-format off
wxBEGIN_EVENT_TABLE(CGameFrame, wxFrame)
    EVT_PAINT(CGameFrame::OnPaint)
    EVT_TIMER(wxID_ANY, CGameFrame::OnTimer)
    EVT_LEFT_DOWN(CGameFrame::OnLeftDown)
    // GTK reports a quick second press as a double click; it is a press all the same.
    EVT_LEFT_DCLICK(CGameFrame::OnLeftDown)
    EVT_LEFT_UP(CGameFrame::OnLeftUp)
    EVT_RIGHT_DOWN(CGameFrame::OnRightDown)
    EVT_RIGHT_DCLICK(CGameFrame::OnRightDown)
    EVT_CHAR_HOOK(CGameFrame::OnCharHook)
    EVT_CLOSE(CGameFrame::OnDestroyWindow)
    EVT_MENU(MenuCommandId(ID_MENU_START), CGameFrame::OnCommand)
    EVT_MENU(MenuCommandId(ID_MENU_EXIT), CGameFrame::OnCommand)
    EVT_MENU(MenuCommandId(ID_MENU_RANKING), CGameFrame::OnCommand)
    EVT_MENU(MenuCommandId(ID_MENU_OPTIONS), CGameFrame::OnCommand)
    EVT_MENU(MenuCommandId(ID_MENU_HELP), CGameFrame::OnCommand)
    EVT_MENU(MenuCommandId(ID_MENU_VERSION), CGameFrame::OnCommand)
wxEND_EVENT_TABLE()

CGameFrame::CGameFrame()
    : wxFrame(nullptr, wxID_ANY, "Pelmanix", wxDefaultPosition, wxDefaultSize,
              wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX) {
    for (int nId = 0; nId < TIMER_SLOTS; ++nId)
        m_aTimers[nId].SetOwner(this, nId);
    // Every paint covers the whole board: nothing is erased first.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // Keys reach a frame without children only while it holds the focus itself.
    SetCanFocus(true);
    SetFocus();
    // A drawing surface takes the window's font and colours; left unset, GTK's theme
    // is asked for them anew at every paint, which costs more than the paint.
    SetOwnFont(GetSurfaceFont());
    SetOwnForegroundColour(*wxWHITE);
    SetOwnBackgroundColour(*wxBLACK);
    SetMenuBar(LoadResMenuBar(MENU_MAIN));
    SetClientSize(BOARD_WIDTH, BOARD_HEIGHT);

    LoadSettings();
    LoadScreenBitmap(BACKGROUND_BASE_ID + m_board.m_nBackground, g_pBackgroundBitmap);
    LoadScreenBitmap(CARD_BACK_BASE_ID + m_board.m_nCardPattern, g_pCardBackBitmap);
    m_board.NewDeal();
    LoadRanking();
}
// clang-format on

CGameFrame::~CGameFrame() = default;

void CGameFrame::StartTimer(int nId, int nElapse) {
    m_rules.StartTimer(nId, nElapse);
}

void CGameFrame::StopTimer(int nId) {
    m_rules.StopTimer(nId);
}

void CGameFrame::StartGame() {
    m_keys.StartGame();
}

void CGameFrame::OnBoardClick(int /*nFlags*/, const wxPoint& point) {
    m_keys.OnLeftClick(point.x, point.y);
}

void CGameFrame::OnBoardRelease(int /*nFlags*/, const wxPoint& /*point*/) {}

void CGameFrame::OnBoardRightClick(int /*nFlags*/, const wxPoint& /*point*/) {
    m_keys.OnRightClick();
}

void CGameFrame::OnGameTimer(int nId) {
    m_keys.OnGameTimer(nId);
}

void CGameFrame::StartWindowTimer(int nId, int nElapseMs) {
    m_aTimers[nId].Start(nElapseMs);
}

void CGameFrame::StopWindowTimer(int nId) {
    m_aTimers[nId].Stop();
}

void CGameFrame::RequestRepaint(const BoardRect& rect) {
    RepaintArea(wxRect(rect.x, rect.y, rect.width, rect.height));
    ShowChanges();
}

void CGameFrame::BeginDeal() {
    if (!IsX11Display())
        return;
    m_pDealDC = std::make_unique<wxClientDC>(this);
    DrawBackground(m_pDealDC.get());
}

void CGameFrame::DrawDealStep(int nIndex, int nWaitMs) {
    AlertableSleep(nWaitMs);
    const CCard& card = *m_board.m_apCards[nIndex];
    if (m_pDealDC)
        DrawCard(m_pDealDC.get(), card);
    else // where drawing outside a paint shows nothing, the card comes by a paint
        RequestRepaint({card.m_nX, card.m_nY, CARD_WIDTH, CARD_HEIGHT});
}

void CGameFrame::EndDeal() {
    m_pDealDC.reset();
}

bool CGameFrame::IsProgramActive() {
    return IsProgramWindowActive();
}

time_t CGameFrame::TimeNow() {
    return time(nullptr);
}

void CGameFrame::ShowGameTime() {
    if (m_board.m_bShowTime) {
        ShowChanges(); // only the time's digits
        return;
    }
    // Off the status line the time is drawn all the same, until the next paint there.
    // Only the clock draws here: the win sequence runs a modal loop, during which no
    // surface of ours should be held open.
    wxClientDC dc(this);
    DrawGameTime(&dc);
}

void CGameFrame::OnTimer(wxTimerEvent& event) {
    OnGameTimer(event.GetId());
}

void CGameFrame::OnLeftDown(wxMouseEvent& event) {
    OnBoardClick(0, event.GetPosition());
    event.Skip();
}

void CGameFrame::OnLeftUp(wxMouseEvent& event) {
    OnBoardRelease(0, event.GetPosition());
    event.Skip();
}

void CGameFrame::OnRightDown(wxMouseEvent& event) {
    OnBoardRightClick(0, event.GetPosition());
    event.Skip();
}

// Keys with Alt or Ctrl go on to the menu bar, and so do keys the board does not use.
void CGameFrame::OnCharHook(wxKeyEvent& event) {
    static const std::pair<int, BoardKey> s_aKeys[] = {
        {WXK_LEFT, BoardKey::Left},     {WXK_NUMPAD_LEFT, BoardKey::Left},
        {WXK_RIGHT, BoardKey::Right},   {WXK_NUMPAD_RIGHT, BoardKey::Right},
        {WXK_UP, BoardKey::Up},         {WXK_NUMPAD_UP, BoardKey::Up},
        {WXK_DOWN, BoardKey::Down},     {WXK_NUMPAD_DOWN, BoardKey::Down},
        {WXK_HOME, BoardKey::Home},     {WXK_NUMPAD_HOME, BoardKey::Home},
        {WXK_END, BoardKey::End},       {WXK_NUMPAD_END, BoardKey::End},
        {WXK_SPACE, BoardKey::Act},     {WXK_NUMPAD_SPACE, BoardKey::Act},
        {WXK_RETURN, BoardKey::Act},    {WXK_NUMPAD_ENTER, BoardKey::Act},
        {WXK_ESCAPE, BoardKey::Cancel}, {'P', BoardKey::Pause},
        {WXK_PAUSE, BoardKey::Pause},
    };
    if (!event.HasAnyModifiers() || event.GetModifiers() == wxMOD_SHIFT)
        for (const auto& [nCode, key] : s_aKeys)
            if (event.GetKeyCode() == nCode) {
                m_keys.OnKey(key);
                return;
            }
    event.Skip();
}

void CGameFrame::OnCommand(wxCommandEvent& event) {
    int nCommand = 0;
    for (int n = ID_MENU_EXIT; n <= ID_MENU_VERSION; ++n)
        if (MenuCommandId(n) == event.GetId())
            nCommand = n;
    switch (nCommand) {
    case ID_MENU_START:
        StartGame();
        break;
    case ID_MENU_EXIT:
        OnExit();
        break;
    case ID_MENU_RANKING:
        OnRanking();
        break;
    case ID_MENU_OPTIONS:
        OnOptions();
        break;
    case ID_MENU_HELP:
        OnHelp();
        break;
    case ID_MENU_VERSION:
        OnVersion();
        break;
    default:
        break;
    }
}

void CGameFrame::SaveBothOnce() {
    if (m_bSaved)
        return;
    m_bSaved = true;
    for (wxTimer& timer : m_aTimers)
        timer.Stop();
    SaveSettings();
    SaveRanking();
}

// Closing the window by any means saves both files once, then destroys it.
void CGameFrame::OnDestroyWindow(wxCloseEvent& /*event*/) {
    SaveBothOnce();
    CloseHelp();
    Destroy();
}

void CGameFrame::EndOnSignal() {
    // A second signal while a dialog would not close: the files are saved already.
    if (m_bEnding)
        _exit(0);
    m_bEnding = true;
    SaveBothOnce();
    EndModalDialogsThen([this] {
        Close(true);
        wxWakeUpIdle(); // called from a signal's wake-up, the loop would sleep on
    });
}

void CGameFrame::OnExit() {
    if (ShowMessageBox(this, "終了しますか？", "Pelmanix", true) == ANSWER_OK)
        Close(true);
}

void CGameFrame::OnHelp() {
    OpenHelpContents(this);
}

void CGameFrame::SuspendClock() {
    if (m_board.IsTimerActive(TIMER_CLOCK))
        m_aTimers[TIMER_CLOCK].Stop();
}

void CGameFrame::ResumeClock() {
    if (m_board.IsTimerActive(TIMER_CLOCK))
        m_aTimers[TIMER_CLOCK].Start(m_board.m_anTimerElapse[TIMER_CLOCK]);
}

void CGameFrame::OnVersion() {
    SuspendClock();
    {
        wxDialog dlg;
        if (LoadResDialog(&dlg, this, DLG_VERSION)) {
            dlg.SetAffirmativeId(1);
            dlg.ShowModal();
        }
    }
    ResumeClock();
}

void CGameFrame::ShowClearDialog(const int* panHistogram, int nScore) {
    CClearDialog dlg(this);
    std::memcpy(dlg.m_anHistogram, panHistogram, sizeof dlg.m_anHistogram);
    dlg.m_nOpens = m_board.m_nOpenCount;
    dlg.m_nSeconds = g_nGameSeconds;
    dlg.m_nScore = nScore;
    m_board.m_bShowOpens = 0;
    m_board.m_bShowTime = 0;
    Refresh(false);
    // Without its dialog (the player was told why) the result is entered all the same.
    if (dlg.GetHandle())
        dlg.ShowModal();
}
