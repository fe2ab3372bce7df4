// SPDX-License-Identifier: MIT
// What only the real main window shows: the board's pixels, where the window stands and
// what it picked at start-up, what the dialogs hand back, the ranking dialog's pixels.

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/mstream.h>

#include "records/settings.h"
#include "tests/gui_test.h"
#include "ui/app.h"
#include "ui/frame.h"
#include "ui/option_dialog.h"
#include "ui/ranking_dialog.h"
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

wxImage Resource(int nId) {
    wxBitmap bitmap;
    EXPECT_TRUE(LoadResBitmap(nId, &bitmap)) << nId;
    return bitmap.ConvertToImage();
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

// LEFT/TOP unless centred; stored back and background unless drawn at random.
TEST_F(Window, StartsWhereTheSettingsSayWithTheirOrRandomPictures) {
    for (int bCentred : {0, 1}) { // and a random card back; else a random background
        int nTry = 0;
        for (; nTry < 50; ++nTry) { // in a second that draws no background among the first four
            const time_t tNow = time(nullptr);
            const int nCard = (DrawRandomRowAt(tNow, CARD_PATTERN_COUNT) + 1) % CARD_PATTERN_COUNT;
            const int nBack = DrawRandomRowAt(tNow, BACKGROUND_COUNT);
            if (nBack < CARD_PATTERN_COUNT) {
                wxMilliSleep(100);
                continue;
            }
            const std::string b = std::to_string(bCentred);
            Start("[POS]\nLEFT=37\nTOP=81\n[START]\nOPTION1=" + b + "\nOPTION2=" + b +
                  "\nOPTION3=" + std::to_string(!bCentred) + "\nCARDNO=" + std::to_string(nCard) +
                  "\nBACKNO=" + std::to_string(nBack - 1) + "\n");
            EXPECT_EQ(m_pFrame->GetPosition() == wxPoint(37, 81), !bCentred);
            EXPECT_EQ(m_pFrame->GetClientSize(), wxSize(BOARD_WIDTH, BOARD_HEIGHT));
            const bool bSameSecond = time(nullptr) == tNow; // the draws' second
            if (bSameSecond) {
                EXPECT_EQ(Board().m_nCardPattern,
                          bCentred ? DrawRandomRowAt(tNow, CARD_PATTERN_COUNT) : nCard);
                EXPECT_EQ(Board().m_nBackground, bCentred ? nBack - 1 : nBack);
            }
            TearDown();
            if (bSameSecond)
                break;
        }
        EXPECT_LT(nTry, 50);
    }
}

// Tiles from the top-left, cut at the edges; a back, a face, the background where a card
// has gone; each status text only with its switch, in its own strip.
TEST_F(Window, BoardIsPaintedFromItsState) {
    Start("[START]\nOPTION2=0\nOPTION3=0\nBACKNO=13\n");
    const wxImage tile = Resource(BACKGROUND_BASE_ID + 13), back = Resource(CARD_BACK_BASE_ID);
    EXPECT_EQ(Unlike(Compose(), wxRect(0, 0, BOARD_WIDTH, BOARD_HEIGHT), tile, true), 0);
    for (CCard* p : Board().m_apCards)
        p->m_bDealt = 1;
    CCard &up = *Board().m_apCards[14], &gone = *Board().m_apCards[51];
    up.m_bFaceUp = gone.m_bFaceUp = gone.m_bRemoved = 1;
    const wxImage face = Resource(up.m_nSuit * 1000 + up.m_nRank);
    for (int nFlags = 0; nFlags < 4; ++nFlags) {
        Board().m_bShowOpens = nFlags & 1;
        Board().m_bShowTime = nFlags >> 1;
        const wxImage image = Compose();
        EXPECT_EQ(CountColour(image, wxRect(525, 294, 76, 17)) > 0, (nFlags & 1) != 0);
        EXPECT_EQ(CountColour(image, wxRect(625, 294, 76, 17)) > 0, (nFlags & 2) != 0);
        EXPECT_EQ(Unlike(image, wxRect(520, 288, 186, 6), tile, true), 0);
        for (int i = 0; i < CARD_COUNT; ++i) {
            const wxRect rect(4 + 54 * (i % 13), 4 + 72 * (i / 13), CARD_WIDTH, CARD_HEIGHT);
            EXPECT_EQ(Unlike(image, rect, i == 51 ? tile : i == 14 ? face : back, i == 51), 0);
        }
    }
}

// The window keeps the board and redraws only the places a change touched; after every
// step the screen must hold exactly the whole board composed afresh.
TEST_F(Window, ScreenAfterEachChangeIsTheWholeBoardComposedAfresh) {
    Start("[START]\nOPTION2=0\nOPTION3=0\n");
    CCard** ap = Board().m_apCards;
    const auto click = [this, ap](int i) {
        m_pFrame->OnBoardClick(0, wxPoint(ap[i]->m_nX + 25, ap[i]->m_nY + 34));
    };
    const auto first = [ap](const std::function<bool(int)>& match) {
        int i = 0;
        while (ap[i]->IsRemoved() || ap[i]->IsFaceUp() || !match(i))
            ++i;
        return i;
    };
    const auto tick = [this](int n) {
        return [this, n] { g_nGameSeconds = n, m_pFrame->OnGameTimer(TIMER_CLOCK); };
    };
    const auto key = [this](BoardKey k) { return [this, k] { m_pFrame->m_keys.OnKey(k); }; };
    const auto refresh = [this](const std::function<void()>& change) {
        return [this, change] { change(), m_pFrame->Refresh(false); };
    };
    int a = 0, b = 0, x = 0;
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"before the deal", [] {}},
        {"dealt",
         [&] {
             m_pFrame->StartGame();
             m_pFrame->StopTimer(TIMER_CLOCK); // the steps tick it
             Board().m_bTimeAuto = 0;
             b = first([&](int i) { return i != a && ap[i]->m_nRank == ap[a]->m_nRank; });
             x = first([&](int i) { return ap[i]->m_nRank != ap[a]->m_nRank; });
         }},
        {"one up", [&] { click(a); }},
        {"two up", [&] { click(x); }},
        {"closed", [this] { m_pFrame->OnGameTimer(TIMER_MISS); }},
        {"pair up", [&] { click(a), click(b); }},
        {"pair gone", [this] { m_pFrame->OnGameTimer(TIMER_PAIR); }},
        {"focus shown", key(BoardKey::Right)},
        {"focus moved", key(BoardKey::Down)},
        {"paused", key(BoardKey::Pause)},
        {"resumed", key(BoardKey::Pause)},
        {"time wider", tick(360000)},
        {"time narrower", tick(5)},
        {"count wider",
         [&] {
             Board().SetOpenCount(9998);
             click(x);
             click(first([&](int i) { return i != x; }));
         }},
        {"new back", refresh([] { LoadResBitmap(CARD_BACK_BASE_ID + 2, g_pCardBackBitmap); })},
        {"status line off", refresh([this] { Board().m_bShowOpens = Board().m_bShowTime = 0; })},
    };
    for (const auto& [pszStep, step] : steps) {
        step();
        m_pFrame->Update();
        PumpEvents(50);
        EXPECT_EQ(Unlike(GrabClient(m_pFrame), wxRect(0, 0, BOARD_WIDTH, BOARD_HEIGHT), Compose()),
                  0)
            << pszStep;
    }
    EXPECT_EQ(Board().GetOpenCount(), 9999); // every step did what it says
    EXPECT_TRUE(ap[a]->IsRemoved() && ap[b]->IsRemoved() && ap[x]->IsFaceUp());
}

// A dialog stops the clock; the ranking empties only when confirmed; options come back
// only on OK.
TEST_F(Window, DialogsStopTheClockAndHandBackOnlyWhatWasConfirmed) {
    Start();
    Board().SetPlaying(1);
    m_pFrame->StartTimer(TIMER_CLOCK, CLOCK_INTERVAL_MS);
    m_pFrame->InsertResult(480, 30, 100);
    for (int bConfirm : {0, 1}) {
        DialogScript script([&](wxDialog* pDlg) {
            EXPECT_FALSE(m_pFrame->GetWindowTimer(TIMER_CLOCK)->IsRunning());
            dynamic_cast<CRankingDialog*>(pDlg)->m_bCleared = bConfirm;
            return 1;
        });
        m_pFrame->OnRanking();
        EXPECT_TRUE(m_pFrame->GetWindowTimer(TIMER_CLOCK)->IsRunning());
        EXPECT_EQ(Board().m_pRanking->nCount, 1 - bConfirm);
        // Entered and cleared on disk at once, not at exit.
        EXPECT_EQ(ReadBytes(m_temp.File(RANKING_FILE_NAME))[0], 1 - bConfirm);
    }
    auto options = [&] {
        const CGameBoard& b = Board();
        return wxString::Format("%d %d %d %d", b.m_nCardPattern, b.m_nBackground, b.m_nTimeIndex,
                                b.m_bTimeAuto);
    };
    const wxString strBefore = options();
    for (int nAnswer : {2, 1}) { // Cancel, OK
        DialogScript script([&](wxDialog* pDlg) {
            auto* p = dynamic_cast<COptionDialog*>(pDlg);
            p->InitDialog();
            dynamic_cast<wxCheckBox*>(p->FindWindow(1003))->SetValue(true); // close by right click
            wxCommandEvent click(wxEVT_CHECKBOX, 1003);
            p->ProcessWindowEvent(click);
            p->m_nCardPattern = 3, p->m_nBackground = 9, p->m_nTimeIndex = 6;
            return nAnswer;
        });
        m_pFrame->OnOptions();
        EXPECT_EQ(options(), nAnswer == 1 ? wxString("3 9 6 0") : strBefore);
        EXPECT_EQ(ReadBytes(m_temp.File(SETTINGS_FILE_NAME)).find("CARDNO=3") != std::string::npos,
                  nAnswer == 1);
    }
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
    EXPECT_EQ(Unlike(image, wxRect(4, 4, 50, 68), Resource(CARD_BACK_BASE_ID)), 0);
    // The white line of the three, whole.
    EXPECT_EQ(CountColour(image, wxRect(2, 2, 54, 72)) - CountColour(image, wxRect(3, 3, 52, 70)),
              2 * (54 + 72) - 4);
}

// On a desktop scaled by 2 the board is composed of the copies drawn at twice the size,
// pixel for pixel, each at its place; at scale 1 of the program's own images.
TEST_F(Window, BoardShowsTheArtDrawnForTheScreensScale) {
    Start();
    const int k = GetScreenScale() >= 1.5 ? 2 : 1;
    for (CCard* p : Board().m_apCards)
        p->m_bDealt = 1;
    Board().m_apCards[0]->m_bFaceUp = 1;
    const wxImage shown = Compose(k);
    ASSERT_EQ(shown.GetWidth(), BOARD_WIDTH * k);
    const std::pair<const CCard*, int> aCases[] = {
        {Board().m_apCards[0], Board().m_apCards[0]->m_bmpFace.m_nId},
        {Board().m_apCards[CARD_COUNT - 1], CARD_BACK_BASE_ID + Board().m_nCardPattern}};
    for (const auto& [pCard, nId] : aCases) {
        size_t nSize = 0;
        const unsigned char* p =
            FindResFile(wxString::Format(k == 2 ? "%d@2x.png" : "%d.png", nId), &nSize);
        wxMemoryInputStream png(p, p ? nSize : 0);
        const wxImage art(png, wxBITMAP_TYPE_PNG);
        ASSERT_EQ(art.GetWidth(), CARD_WIDTH * k) << nId;
        EXPECT_EQ(Unlike(shown, wxRect(wxPoint(pCard->m_nX, pCard->m_nY) * k, art.GetSize()), art),
                  0)
            << nId;
    }
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

// A window stored on a monitor stays where it was; one stored where no monitor is any
// more comes back onto the nearest. Where the compositor places windows, what was stored
// is kept for a desktop that lets the program place them.
TEST_F(Window, StoredPositionOnNoMonitorComesBackOntoTheNearest) {
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
