// SPDX-License-Identifier: MIT
// The game as it starts, playing PLAYER_GAMES perfect games through its rules at once.
// Prints "box" for each message box (answered OK) and "up" for the last game's summary,
// which PLAYER_STAY leaves open; otherwise the window is then closed as the close box does.

#include <cstdio>
#include <cstdlib>

#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include "tests/play_pairs.h"
#include "ui/app.h"
#include "ui/frame.h"

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

int g_nGamesLeft = atoi(getenv("PLAYER_GAMES") ? getenv("PLAYER_GAMES") : "1");

class PlayerApp : public CGameApp, wxModalDialogHook {
    bool OnInit() override {
        if (!CGameApp::OnInit())
            return false;
        Register();
        CallAfter([this] {
            auto* pFrame = static_cast<CGameFrame*>(GetTopWindow());
            while (g_nGamesLeft-- > 0) {
                pFrame->m_rules.StartGame();
                PlayPairs(pFrame->m_board, [pFrame](int a, int b) {
                    for (int k : {a, b})
                        pFrame->m_rules.OnBoardClick(CELL_GAP + CELL_WIDTH * (k % BOARD_COLUMNS),
                                                     CELL_GAP + CELL_HEIGHT * (k / BOARD_COLUMNS));
                    pFrame->m_rules.OnGameTimer(TIMER_PAIR);
                });
            }
            if (!getenv("PLAYER_STAY")) // else a signal or the display's end ends it
                pFrame->Close();
        });
        return true;
    }
    int Enter(wxDialog* pDialog) override {
        const bool bBox = dynamic_cast<wxMessageDialogBase*>(pDialog);
        const bool bLast = !bBox && g_nGamesLeft == 0;
        std::printf(bBox ? "box\n" : bLast ? "up\n" : "");
        std::fflush(stdout);
        return bLast && getenv("PLAYER_STAY") ? wxID_NONE : wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

} // namespace

wxIMPLEMENT_APP(PlayerApp);
