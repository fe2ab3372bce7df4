// SPDX-License-Identifier: MIT
// The main window on other desktops: a compositor that shows only what a paint hands it,
// a stored position on no monitor.

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/mstream.h>

#include "records/settings.h"
#include "tests/gui_test.h"
#include "ui/app.h"
#include "ui/clear_dialog.h"
#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

class Desktop : public MainWindowTest {
    void SetUp() override { Start(); }
};

// Where nothing drawn outside a paint shows, each card of the deal comes by a paint of
// its own while the deal runs, not all of them at its end.
TEST_F(Desktop, DealReachesACompositorCardByCard) {
    if (IsX11Display())
        GTEST_SKIP() << "on X the deal draws straight onto the window";
    std::set<int> shown; // cards dealt as each paint saw them
    m_pFrame->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
        const auto& cards = m_pFrame->m_board.m_apCards;
        shown.insert(
            std::count_if(cards, cards + CARD_COUNT, [](CCard* p) { return p->m_bDealt; }));
        event.Skip();
    });
    m_pFrame->StartGame();
    PumpEvents(100);
    EXPECT_GE(shown.size(), 40u);
    EXPECT_TRUE(shown.count(CARD_COUNT));
}

// On a desktop scaled by 2 the board is composed of the copies drawn at twice the size,
// pixel for pixel, each at its place; at scale 1 of the program's own images.
TEST_F(Desktop, BoardShowsTheArtDrawnForTheScreensScale) {
    const int k = GetScreenScale() >= 1.5 ? 2 : 1;
    CGameBoard& board = m_pFrame->m_board;
    for (CCard* p : board.m_apCards)
        p->m_bDealt = 1;
    board.m_apCards[0]->m_bFaceUp = 1;
    wxBitmap image;
    image.CreateWithDIPSize(wxSize(BOARD_WIDTH, BOARD_HEIGHT), k);
    {
        wxMemoryDC mem(image);
        m_pFrame->ComposeBoard(&mem);
    }
    const wxImage shown = image.ConvertToImage();
    ASSERT_EQ(shown.GetWidth(), BOARD_WIDTH * k);
    const wxString strSuffix = k == 2 ? "@2x.png" : ".png";
    const std::pair<const CCard*, int> aCases[] = {
        {board.m_apCards[0], board.m_apCards[0]->m_bmpFace.m_nId},
        {board.m_apCards[CARD_COUNT - 1], CARD_BACK_BASE_ID + board.m_nCardPattern}};
    for (const auto& [pCard, nId] : aCases) {
        size_t nSize = 0;
        const unsigned char* p = FindResFile(wxString::Format("%d", nId) + strSuffix, &nSize);
        wxMemoryInputStream png(p, p ? nSize : 0);
        const wxImage art(png, wxBITMAP_TYPE_PNG);
        ASSERT_EQ(art.GetWidth(), CARD_WIDTH * k) << nId;
        const wxImage part =
            shown.GetSubImage(wxRect(wxPoint(pCard->m_nX, pCard->m_nY) * k, art.GetSize()));
        EXPECT_EQ(std::memcmp(part.GetData(), art.GetData(), 3 * CARD_WIDTH * CARD_HEIGHT * k * k),
                  0)
            << nId << strSuffix;
    }
}

// A window stored on a monitor stays where it was; one stored where no monitor is any
// more comes back onto the nearest. Where the compositor places windows, what was stored
// is kept for a desktop that lets the program place them.
using Placement = MainWindowTest;
TEST_F(Placement, StoredPositionOnNoMonitorComesBackOntoTheNearest) {
    const wxRect screen = wxDisplay(0u).GetGeometry();
    for (const wxPoint stored : {screen.GetBottomRight() - wxPoint(10, 10), wxPoint(-5000, -5000),
                                 wxPoint(screen.GetRight() + 3000, 40)}) {
        Start("[POS]\nLEFT=" + std::to_string(stored.x) + "\nTOP=" + std::to_string(stored.y) +
              "\n[START]\nOPTION1=0\n");
        const wxRect shown = m_pFrame->GetRect();
        m_pFrame->Close();
        m_pFrame = nullptr;
        PumpEvents(20);
        StoredSettings saved;
        ReadSettings(m_temp.File(SETTINGS_FILE_NAME).c_str(), &saved);
        if (!IsX11Display()) { // placement is the compositor's
            EXPECT_EQ(wxPoint(saved.nLeft, saved.nTop), stored);
            continue;
        }
        EXPECT_EQ(wxPoint(saved.nLeft, saved.nTop), shown.GetPosition());
        EXPECT_TRUE(screen.Contains(stored) ? shown.GetPosition() == stored
                                            : screen.Contains(shown))
            << shown.x << "," << shown.y;
    }
}

} // namespace
