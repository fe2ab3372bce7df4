// SPDX-License-Identifier: MIT
// The main window on other desktops: a compositor that shows only what a paint hands it,
// a stored position on no monitor.

#include <fstream>
#include <set>

#include <gtest/gtest.h>
#include <wx/display.h>

#include "tests/gui_test.h"
#include "ui/app.h"
#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

using Desktop = MainWindowTest;

int DealtCards(const CGameBoard& board) {
    int n = 0;
    for (const CCard* p : board.m_apCards)
        n += p->m_bDealt;
    return n;
}

// Where nothing drawn outside a paint shows, each card of the deal comes by a paint of
// its own while the deal runs, not all of them at its end.
TEST_F(Desktop, DealReachesACompositorCardByCard) {
    if (IsX11Display())
        GTEST_SKIP() << "on X the deal draws straight onto the window";
    std::set<int> shown; // cards dealt as each paint saw them
    m_pFrame->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
        shown.insert(DealtCards(m_pFrame->m_board));
        event.Skip();
    });
    m_pFrame->StartGame();
    PumpEvents(100);
    EXPECT_GE(shown.size(), 40u);
    EXPECT_TRUE(shown.count(CARD_COUNT));
}

std::string ReadFile(const std::string& strPath) {
    std::ifstream file(strPath);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A window stored on a monitor stays where it was; one stored where no monitor is any
// more comes back onto the nearest. Where the compositor places windows, what was stored
// is kept for a desktop that lets the program place them.
TEST(DesktopPlacement, StoredPositionOnNoMonitorComesBackOntoTheNearest) {
    const std::string strIni = std::string(getenv("TEMP")) + "/kq207825.ini";
    const wxRect screen = wxDisplay(0u).GetGeometry();
    const struct {
        wxPoint stored;
        bool bKept;
    } aCases[] = {{{100, 50}, true},
                  {{screen.GetRight() - 10, screen.GetBottom() - 10}, true},
                  {{-5000, -5000}, false},
                  {{screen.GetRight() + 3000, 40}, false}};
    for (const auto& c : aCases) {
        std::ofstream(strIni) << "[POS]\nLEFT=" << c.stored.x << "\nTOP=" << c.stored.y
                              << "\n[START]\nOPTION1=0\n";
        CGameFrame* pFrame = CreateMainWindow();
        PumpEvents(50);
        const wxRect shown = pFrame->GetRect();
        pFrame->Close();
        PumpEvents(20);
        const std::string strSaved = ReadFile(strIni);
        wxPoint saved;
        sscanf(strSaved.c_str(), "[POS]\nLEFT=%d\nTOP=%d", &saved.x, &saved.y);
        if (!IsX11Display()) {
            EXPECT_EQ(saved, c.stored) << strSaved;
            continue;
        }
        EXPECT_EQ(saved, shown.GetPosition());
        if (c.bKept)
            EXPECT_EQ(shown.GetPosition(), c.stored);
        else
            EXPECT_TRUE(screen.Contains(shown)) << shown.x << "," << shown.y;
    }
}

} // namespace
