// SPDX-License-Identifier: MIT
// What only the real main window shows: the board's pixels, where the window stands and
// what it picked at start-up, the clock's real time.

#include <algorithm>
#include <set>
#include <vector>

#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/mstream.h>

#include "tests/gui_test.h"
#include "ui/wsys.h"

namespace {

wxColour Pixel(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// Pixels of rect unlike image at rect's corner, or (bTiled) tiled from the board's corner;
// with a colour for image, the pixels of rect in that colour.
int Unlike(const wxImage& board, const wxRect& rect, const wxImage& image, bool bTiled = false,
           const wxColour* pColour = nullptr) {
    int n = 0;
    for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y)
        for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x)
            n += Pixel(board, x, y) !=
                 (pColour  ? *pColour
                  : bTiled ? Pixel(image, x % image.GetWidth(), y % image.GetHeight())
                           : Pixel(image, x - rect.x, y - rect.y));
    return n;
}
int CountColour(const wxImage& image, const wxRect& rect, const wxColour& colour = *wxWHITE) {
    return rect.width * rect.height - Unlike(image, rect, image, false, &colour);
}

// The program's own image nId, as drawn for a screen scaled by k.
wxImage Art(int nId, int k = 1) {
    size_t nSize = 0;
    const unsigned char* p =
        FindResFile(wxString::Format(k == 2 ? "%d@2x.png" : "%d.png", nId), &nSize);
    wxMemoryInputStream png(p, p ? nSize : 0);
    return wxImage(png, wxBITMAP_TYPE_PNG);
}

class Window : public MainWindowTest {
protected:
    CGameBoard& Board() { return m_pFrame->m_board; }
    wxImage Compose(int nScale = 1) {
        wxBitmap bitmap;
        bitmap.CreateWithDIPSize(wxSize(BOARD_WIDTH, BOARD_HEIGHT), nScale);
        wxMemoryDC dc(bitmap);
        m_pFrame->ComposeBoard(&dc);
        dc.SelectObject(wxNullBitmap);
        return bitmap.ConvertToImage();
    }
};

// Where the window stands: at LEFT/TOP unless centred, back on the nearest monitor when
// stored where none is any more, and stored again where it stood (where the compositor
// places windows, as it was stored). Stored card back and background, else each drawn at
// random from the second of the start.
TEST_F(Window, StartsWhereStoredOrCentredWithStoredOrRandomPictures) {
    const wxRect screen = wxDisplay(0u).GetGeometry();
    const wxPoint corner = screen.GetBottomRight() - wxPoint(10, 10), far(-5000, -5000);
    const std::pair<wxPoint, int> aRows[] = {
        {{37, 81}, 0}, {{37, 81}, 1}, {corner, 0}, {far, 0}, {{screen.GetRight() + 3000, 40}, 0}};
    for (const auto& [stored, bCentred] : aRows) { // centred with a random back, else background
        for (int nTry = 0;; wxMilliSleep(100)) {
            ASSERT_LT(++nTry, 50); // a second that draws no background among the first four
            const time_t tNow = time(nullptr);
            const int nCard = (DrawRandomRowAt(tNow, CARD_PATTERN_COUNT) + 1) % CARD_PATTERN_COUNT;
            const int nBack = DrawRandomRowAt(tNow, BACKGROUND_COUNT);
            if (nBack < CARD_PATTERN_COUNT)
                continue;
            Start(wxString::Format("[POS]\nLEFT=%d\nTOP=%d\n[START]\nOPTION1=%d\nOPTION2=%d\n"
                                   "OPTION3=%d\nCARDNO=%d\nBACKNO=%d\n",
                                   stored.x, stored.y, bCentred, bCentred, !bCentred, nCard,
                                   nBack - 1)
                      .ToStdString());
            if (time(nullptr) != tNow) { // not the draws' second
                TearDown();
                continue;
            }
            EXPECT_EQ(Board().m_nCardPattern,
                      bCentred ? DrawRandomRowAt(tNow, CARD_PATTERN_COUNT) : nCard);
            EXPECT_EQ(Board().m_nBackground, bCentred ? nBack - 1 : nBack);
            EXPECT_EQ(m_pFrame->GetClientSize(), wxSize(BOARD_WIDTH, BOARD_HEIGHT));
            const wxRect shown = m_pFrame->GetRect();
            m_pFrame->Close();
            m_pFrame = nullptr;
            PumpEvents(20);
            StoredSettings saved;
            ReadSettings(m_temp.File(SETTINGS_FILE_NAME).c_str(), &saved);
            EXPECT_EQ(wxPoint(saved.nLeft, saved.nTop),
                      IsX11Display() ? shown.GetPosition() : stored);
            EXPECT_TRUE(!IsX11Display() ||
                        (bCentred                  ? shown.GetPosition() != stored
                         : screen.Contains(stored) ? shown.GetPosition() == stored
                                                   : screen.Contains(shown)))
                << shown.x << "," << shown.y;
            break;
        }
    }
}

// Tiles from the top-left, cut at the edges; a back, a face, the background where a card
// has gone, each pixel for pixel of the art drawn for the screen's scale; each status
// text only with its switch, in its own strip.
TEST_F(Window, BoardShowsTheArtForTheScreensScaleAndTheStatusByItsSwitches) {
    Start("[START]\nOPTION2=0\nOPTION3=0\nBACKNO=13\n");
    const int k = GetScreenScale() >= 1.5 ? 2 : 1;
    const auto rect = [k](int x, int y, int w, int h) {
        return wxRect(x * k, y * k, w * k, h * k);
    };
    const wxImage tile = Art(BACKGROUND_BASE_ID + 13, k), back = Art(CARD_BACK_BASE_ID, k);
    EXPECT_EQ(Unlike(Compose(k), rect(0, 0, BOARD_WIDTH, BOARD_HEIGHT), tile, true), 0);
    for (CCard* p : Board().m_apCards)
        p->m_bDealt = 1;
    CCard &up = *Board().m_apCards[14], &gone = *Board().m_apCards[51];
    up.m_bFaceUp = gone.m_bFaceUp = gone.m_bRemoved = 1;
    const wxImage face = Art(up.m_nSuit * 1000 + up.m_nRank, k);
    ASSERT_EQ(face.GetWidth(), CARD_WIDTH * k);
    for (int nFlags = 0; nFlags < 4; ++nFlags) {
        Board().m_bShowOpens = nFlags & 1;
        Board().m_bShowTime = nFlags >> 1;
        const wxImage image = Compose(k);
        EXPECT_EQ(Unlike(image, rect(525, 294, 76, 17), tile, true) > 0, (nFlags & 1) != 0);
        EXPECT_EQ(Unlike(image, rect(625, 294, 76, 17), tile, true) > 0, (nFlags & 2) != 0);
        EXPECT_EQ(Unlike(image, rect(520, 288, 186, 6), tile, true), 0);
        for (int i = 0; i < CARD_COUNT; ++i) {
            const wxRect card = rect(4 + 54 * (i % 13), 4 + 72 * (i / 13), CARD_WIDTH, CARD_HEIGHT);
            EXPECT_EQ(Unlike(image, card, i == 51 ? tile : i == 14 ? face : back, i == 51), 0) << i;
        }
    }
}

// The window keeps the board and redraws only the places a change touched; after every
// step the screen must hold exactly the whole board composed afresh, at the screen's scale.
TEST_F(Window, ScreenAfterEachChangeIsTheWholeBoardComposedAfresh) {
    Start("[START]\nOPTION2=0\nOPTION3=0\n");
    const int k = GetScreenScale() >= 1.5 ? 2 : 1;
    CCard** ap = Board().m_apCards;
    const auto click = [&](int i) {
        m_pFrame->OnBoardClick(0, wxPoint(ap[i]->m_nX + 25, ap[i]->m_nY + 34));
    };
    // The first card down that is not i and ranks with a (bSame) or not.
    const auto find = [ap](int i, int a, bool bSame) {
        int n = 0;
        while (n == i || ap[n]->IsRemoved() || ap[n]->IsFaceUp() ||
               (ap[n]->m_nRank == ap[a]->m_nRank) != bSame)
            ++n;
        return n;
    };
    const auto key = [this](BoardKey k) { m_pFrame->m_keys.OnKey(k); };
    const auto tick = [this](int n) { g_nGameSeconds = n, m_pFrame->OnGameTimer(TIMER_CLOCK); };
    int a = 0, b = 0, x = 0;
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"before the deal", [] {}},
        {"dealt",
         [&] {
             m_pFrame->StartGame();
             m_pFrame->StopTimer(TIMER_CLOCK); // the steps tick it
             Board().m_bTimeAuto = 0;
             b = find(a, a, true), x = find(a, a, false);
         }},
        {"one up", [&] { click(a); }},
        {"two up", [&] { click(x); }},
        {"closed", [&] { m_pFrame->OnGameTimer(TIMER_MISS); }},
        {"pair up", [&] { click(a), click(b); }},
        {"pair gone", [&] { m_pFrame->OnGameTimer(TIMER_PAIR); }},
        {"focus shown", [&] { key(BoardKey::Right); }},
        {"focus moved", [&] { key(BoardKey::Down); }},
        {"paused", [&] { key(BoardKey::Pause); }},
        {"resumed", [&] { key(BoardKey::Pause); }},
        {"time wider", [&] { tick(360000); }},
        {"time narrower", [&] { tick(5); }},
        {"count wider", [&] { Board().SetOpenCount(9998), click(x), click(find(x, x, false)); }},
        {"new back",
         [&] {
             LoadResBitmap(CARD_BACK_BASE_ID + 2, g_pCardBackBitmap), m_pFrame->Refresh(false);
         }},
        {"status line off",
         [&] { Board().m_bShowOpens = Board().m_bShowTime = 0, m_pFrame->Refresh(false); }},
    };
    for (const auto& [pszStep, step] : steps) {
        step();
        m_pFrame->Update();
        PumpEvents(50);
        EXPECT_EQ(Unlike(GrabClient(m_pFrame), wxRect(0, 0, BOARD_WIDTH * k, BOARD_HEIGHT * k),
                         Compose(k)),
                  0)
            << pszStep;
    }
    EXPECT_EQ(Board().GetOpenCount(), 9999); // every step did what it says
    EXPECT_TRUE(ap[a]->IsRemoved() && ap[b]->IsRemoved() && ap[x]->IsFaceUp());
}

// A pause of 3 s within 5.5 s of play keeps 3 s off the clock. The keys' frame lies in
// the gap around its place, black, white, black, and leaves the card whole.
TEST_F(Window, PauseKeepsItsTimeOffTheClockAndTheFrameOffTheCard) {
    Start("[START]\nOPTION2=0\nOPTION3=0\nCARDNO=0\nBACKNO=6\n");
    system("xdotool search --sync --onlyvisible --name '^Pelmanix$' windowfocus --sync "
           ">/dev/null 2>&1");
    m_pFrame->StartGame();
    for (int nMs : {1500, 3000, 1000}) {
        PumpEvents(nMs);
        if (nMs > 1000)
            m_pFrame->m_keys.OnKey(BoardKey::Pause);
    }
    EXPECT_EQ(g_nGameSeconds, 2);
    m_pFrame->m_keys.OnKey(BoardKey::Down);
    const wxImage image = Compose();
    EXPECT_EQ(Unlike(image, wxRect(4, 4, 50, 68), Art(CARD_BACK_BASE_ID)), 0);
    // The white line of the three, whole.
    EXPECT_EQ(CountColour(image, wxRect(2, 2, 54, 72)) - CountColour(image, wxRect(3, 3, 52, 70)),
              2 * (54 + 72) - 4);
}

// Where nothing drawn outside a paint shows, each card of the deal comes by a paint of
// its own while the deal runs, not all of them at its end.
TEST_F(Window, DealReachesACompositorCardByCard) {
    if (IsX11Display())
        GTEST_SKIP() << "on X the deal draws straight onto the window";
    Start();
    std::set<int> shown; // cards dealt as each paint saw them
    m_pFrame->Bind(wxEVT_PAINT, [&](wxPaintEvent& event) {
        const auto& cards = Board().m_apCards;
        shown.insert(
            std::count_if(cards, cards + CARD_COUNT, [](CCard* p) { return p->m_bDealt; }));
        event.Skip();
    });
    m_pFrame->StartGame();
    PumpEvents(100);
    EXPECT_GE(shown.size(), 40u);
    EXPECT_TRUE(shown.count(CARD_COUNT));
}

} // namespace
