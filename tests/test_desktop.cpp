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

using Desktop = MainWindowTest;

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

// Start, the deal, a whole game to its clear dialog, and exit: on X and without it.
TEST_F(Desktop, WholeGameFromTheDealToTheClearDialogAndExit) {
    int nClear = 0, nBoxes = 0;
    DialogScript script([&](wxDialog* pDialog) {
        ++(dynamic_cast<CClearDialog*>(pDialog) ? nClear : nBoxes);
        return wxID_OK;
    });
    m_pFrame->StartGame();
    const CGameBoard& board = m_pFrame->m_board;
    for (int a = 0; a < CARD_COUNT; ++a)
        for (int b = a + 1; b < CARD_COUNT && !board.m_apCards[a]->IsRemoved(); ++b)
            if (!board.m_apCards[b]->IsRemoved() && board.IsSameRank(a, b)) {
                for (const CCard* p : {board.m_apCards[a], board.m_apCards[b]})
                    m_pFrame->OnBoardClick(0, wxPoint(p->m_nX + 25, p->m_nY + 34));
                m_pFrame->OnGameTimer(TIMER_PAIR);
            }
    EXPECT_EQ(nClear, 1);
    m_pFrame->OnExit();
    EXPECT_TRUE(nBoxes == 1 && wxPendingDelete.Member(m_pFrame));
    PumpEvents(50);
    m_pFrame = nullptr;
    std::ifstream ranking(std::string(getenv("TEMP")) + "/kq320217.dat", std::ios::binary);
    int nRows = 0;
    EXPECT_TRUE(ranking.read(reinterpret_cast<char*>(&nRows), sizeof nRows) && nRows == 1);
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
    const struct {
        const CCard* pCard;
        int nId;
    } aCases[] = {{board.m_apCards[0], board.m_apCards[0]->m_bmpFace.m_nId},
                  {board.m_apCards[CARD_COUNT - 1], CARD_BACK_BASE_ID + board.m_nCardPattern}};
    for (const auto& c : aCases) {
        size_t nSize = 0;
        const unsigned char* p = FindResFile(wxString::Format("%d", c.nId) + strSuffix, &nSize);
        wxMemoryInputStream png(p, p ? nSize : 0);
        const wxImage art(png, wxBITMAP_TYPE_PNG);
        ASSERT_EQ(art.GetWidth(), CARD_WIDTH * k) << c.nId;
        const wxImage part =
            shown.GetSubImage(wxRect(wxPoint(c.pCard->m_nX, c.pCard->m_nY) * k, art.GetSize()));
        EXPECT_EQ(std::memcmp(part.GetData(), art.GetData(), 3 * CARD_WIDTH * CARD_HEIGHT * k * k),
                  0)
            << c.nId << strSuffix;
    }
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
    } aCases[] = {{{screen.GetRight() - 10, screen.GetBottom() - 10}, true},
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
        std::ifstream ini(strIni);
        std::string strLeft, strTop, strSection;
        ini >> strSection >> strLeft >> strTop;
        const wxPoint saved(std::stoi(strLeft.substr(5)), std::stoi(strTop.substr(4)));
        if (!IsX11Display()) { // placement is the compositor's
            EXPECT_EQ(saved, c.stored);
            continue;
        }
        EXPECT_EQ(saved, shown.GetPosition());
        EXPECT_TRUE(c.bKept ? shown.GetPosition() == c.stored : screen.Contains(shown))
            << shown.x << "," << shown.y;
    }
}

} // namespace
