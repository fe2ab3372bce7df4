// SPDX-License-Identifier: MIT
// The main window on other desktops: a compositor that shows only what a paint hands it,
// a stored position on no monitor.

#include <cstring>
#include <fstream>
#include <set>

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include "records/settings.h"
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

wxImage DecodeRes(const wxString& strName) {
    size_t nSize = 0;
    const unsigned char* pData = FindResFile(strName.utf8_str(), &nSize);
    wxImage image;
    if (pData) {
        wxMemoryInputStream stream(pData, nSize);
        image.LoadFile(stream, wxBITMAP_TYPE_PNG);
    }
    return image;
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
        const wxImage art = DecodeRes(wxString::Format("%d", c.nId) + strSuffix);
        ASSERT_EQ(art.GetWidth(), CARD_WIDTH * k) << c.nId;
        int nDifferent = 0;
        for (int y = 0; y < art.GetHeight(); ++y)
            for (int x = 0; x < art.GetWidth(); ++x)
                nDifferent +=
                    std::memcmp(shown.GetData() + 3 * ((c.pCard->m_nY * k + y) * shown.GetWidth() +
                                                       c.pCard->m_nX * k + x),
                                art.GetData() + 3 * (y * art.GetWidth() + x), 3) != 0;
        EXPECT_EQ(nDifferent, 0) << c.nId << strSuffix;
    }
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
