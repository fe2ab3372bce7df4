// SPDX-License-Identifier: MIT
// The game as it starts, playing PLAYER_GAMES perfect games through its turn rules at
// once. Says on standard output "box" for each message box (answered OK) and "up" for
// the last game's summary, which PLAYER_STAY leaves open; PLAYER_CLOSE then closes the
// window as the close box does.

#include <cstdio>
#include <cstdlib>

#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include "ui/app.h"
#include "ui/frame.h"

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

int g_nGamesLeft = 0;

class Player : public wxModalDialogHook {
protected:
    int Enter(wxDialog* pDialog) override {
        const bool bBox = dynamic_cast<wxMessageDialog*>(pDialog);
        const bool bLast = !bBox && g_nGamesLeft == 0;
        std::printf(bBox ? "box\n" : bLast ? "up\n" : "");
        std::fflush(stdout);
        return bLast && getenv("PLAYER_STAY") ? wxID_NONE : wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

void PlayPerfectGame(CGameFrame* pFrame) {
    CGameBoard& board = pFrame->m_board;
    pFrame->m_rules.StartGame();
    const auto click = [&](int i) {
        pFrame->m_rules.OnBoardClick(CELL_GAP + CELL_WIDTH * (i % BOARD_COLUMNS) + 1,
                                     CELL_GAP + CELL_HEIGHT * (i / BOARD_COLUMNS) + 1);
    };
    for (int i = 0; i < CARD_COUNT; ++i)
        for (int j = i + 1; j < CARD_COUNT && !board.m_apCards[i]->IsRemoved(); ++j)
            if (!board.m_apCards[j]->IsRemoved() && board.IsSameRank(i, j)) {
                click(i), click(j);
                pFrame->m_rules.OnGameTimer(TIMER_PAIR);
            }
}

class PlayerApp : public CGameApp {
    bool OnInit() override {
        if (!CGameApp::OnInit())
            return false;
        g_nGamesLeft = atoi(getenv("PLAYER_GAMES") ? getenv("PLAYER_GAMES") : "1");
        CallAfter([this] {
            auto* pFrame = static_cast<CGameFrame*>(GetTopWindow());
            while (g_nGamesLeft > 0) {
                --g_nGamesLeft;
                PlayPerfectGame(pFrame);
            }
            if (getenv("PLAYER_CLOSE"))
                pFrame->Close();
        });
        m_player.Register();
        return true;
    }
    Player m_player;
};

} // namespace

wxIMPLEMENT_APP(PlayerApp);
