// SPDX-License-Identifier: MIT
// What only the real main window shows: the board's pixels, where the window stands and
// what it picked at start-up, what the dialogs hand back, the ranking dialog's pixels.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>

#include "records/settings.h"
#include "tests/gui_test.h"
#include "tests/temp_dir.h"
#include "ui/app.h"
#include "ui/frame.h"
#include "ui/option_dialog.h"
#include "ui/ranking_dialog.h"
#include "ui/wsys.h"

namespace {

wxColour Pixel(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// Pixels of rect unlike image at rect's corner, or (bTiled) tiled from the board's corner.
int Unlike(const wxImage& board, const wxRect& rect, const wxImage& image, bool bTiled) {
    int n = 0;
    for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y)
        for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x)
            n += Pixel(board, x, y) !=
                 (bTiled ? Pixel(image, x % image.GetWidth(), y % image.GetHeight())
                         : Pixel(image, x - rect.x, y - rect.y));
    return n;
}

int CountColour(const wxImage& image, const wxRect& rect, const wxColour& colour) {
    int n = 0;
    for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y)
        for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x)
            n += Pixel(image, x, y) == colour;
    return n;
}

wxImage Resource(int nId) {
    wxBitmap bitmap;
    EXPECT_TRUE(LoadResBitmap(nId, &bitmap)) << nId;
    return bitmap.ConvertToImage();
}

// A window's client area as the X server shows it.
wxImage Screenshot(wxWindow* pWindow) {
    const wxPoint at = pWindow->ClientToScreen(wxPoint(0, 0));
    const wxSize size = pWindow->GetClientSize();
    const std::string strFile = std::string(getenv("TEMP")) + "/screen.png";
    const std::string strCommand = "import -window root -crop " + std::to_string(size.x) + "x" +
                                   std::to_string(size.y) + "+" + std::to_string(at.x) + "+" +
                                   std::to_string(at.y) + " +repage png:" + strFile;
    wxImage image(size);
    EXPECT_TRUE(system(strCommand.c_str()) == 0 && image.LoadFile(strFile, wxBITMAP_TYPE_PNG));
    return image;
}

class Window : public testing::Test {
protected:
    void Start(const char* pszSettings = "") {
        FILE* pFile = fopen(m_temp.File(SETTINGS_FILE_NAME).c_str(), "w");
        fputs(pszSettings, pFile);
        fclose(pFile);
        m_pFrame = CreateMainWindow();
        m_pBoard = &m_pFrame->m_board;
        PumpEvents(100);
    }
    void TearDown() override {
        if (m_pFrame)
            m_pFrame->Destroy();
        PumpEvents(20);
    }
    wxImage Compose() {
        wxBitmap bitmap(BOARD_WIDTH, BOARD_HEIGHT);
        wxMemoryDC dc(bitmap);
        m_pFrame->ComposeBoard(&dc);
        dc.SelectObject(wxNullBitmap);
        return bitmap.ConvertToImage();
    }
    TempDir m_temp;
    CGameFrame* m_pFrame = nullptr;
    CGameBoard* m_pBoard = nullptr;
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
            Start(("[POS]\nLEFT=37\nTOP=81\n[START]\nOPTION1=" + std::to_string(bCentred) +
                   "\nOPTION2=" + std::to_string(bCentred) +
                   "\nOPTION3=" + std::to_string(!bCentred) + "\nCARDNO=" + std::to_string(nCard) +
                   "\nBACKNO=" + std::to_string(nBack - 1) + "\n")
                      .c_str());
            EXPECT_EQ(m_pFrame->GetPosition() == wxPoint(37, 81), !bCentred);
            EXPECT_EQ(m_pFrame->GetClientSize(), wxSize(BOARD_WIDTH, BOARD_HEIGHT));
            const bool bSameSecond = time(nullptr) == tNow; // the draws' second
            if (bSameSecond) {
                EXPECT_EQ(m_pBoard->m_nCardPattern,
                          bCentred ? DrawRandomRowAt(tNow, CARD_PATTERN_COUNT) : nCard);
                EXPECT_EQ(m_pBoard->m_nBackground, bCentred ? nBack - 1 : nBack);
            }
            m_pFrame->Destroy();
            m_pFrame = nullptr;
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
    const wxImage tile = Resource(BACKGROUND_BASE_ID + 13);
    const wxImage back = Resource(CARD_BACK_BASE_ID);
    EXPECT_EQ(Unlike(Compose(), wxRect(0, 0, BOARD_WIDTH, BOARD_HEIGHT), tile, true), 0);
    for (CCard* p : m_pBoard->m_apCards)
        p->m_bDealt = 1;
    CCard& up = *m_pBoard->m_apCards[14];
    CCard& gone = *m_pBoard->m_apCards[51];
    up.m_bFaceUp = gone.m_bFaceUp = gone.m_bRemoved = 1;
    const wxImage face = Resource(up.m_nSuit * 1000 + up.m_nRank);
    const wxRect open(525, 294, 76, 17), time(625, 294, 76, 17), above(520, 288, 186, 6);
    for (int nFlags = 0; nFlags < 4; ++nFlags) {
        m_pBoard->m_bShowOpens = nFlags & 1;
        m_pBoard->m_bShowTime = nFlags >> 1;
        const wxImage image = Compose();
        EXPECT_EQ(CountColour(image, open, *wxWHITE) > 0, (nFlags & 1) != 0);
        EXPECT_EQ(CountColour(image, time, *wxWHITE) > 0, (nFlags & 2) != 0);
        EXPECT_EQ(Unlike(image, above, tile, true), 0);
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
    CCard** ap = m_pBoard->m_apCards;
    const auto click = [this, ap](int i) {
        m_pFrame->OnBoardClick(0, wxPoint(ap[i]->m_nX + 25, ap[i]->m_nY + 34));
    };
    const auto first = [ap](const std::function<bool(int)>& match) {
        int i = 0;
        while (ap[i]->IsRemoved() || ap[i]->IsFaceUp() || !match(i))
            ++i;
        return i;
    };
    const auto tick = [this](int nSeconds) {
        g_nGameSeconds = nSeconds;
        m_pFrame->OnGameTimer(TIMER_CLOCK);
    };
    const auto key = [this](BoardKey k) { return [this, k] { m_pFrame->m_keys.OnKey(k); }; };
    int a = 0, b = 0, x = 0;
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"before the deal", [] {}},
        {"dealt",
         [&] {
             m_pFrame->StartGame();
             m_pFrame->StopTimer(TIMER_CLOCK); // the steps tick it
             m_pBoard->m_bTimeAuto = 0;
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
        {"time wider", [&] { tick(360000); }},
        {"time narrower", [&] { tick(5); }},
        {"count wider",
         [&] {
             m_pBoard->SetOpenCount(9998);
             click(x);
             click(first([&](int i) { return i != x; }));
         }},
        {"new background",
         [this] { LoadResBitmap(5214, g_pBackgroundBitmap), m_pFrame->Refresh(false); }},
        {"new back",
         [this] {
             LoadResBitmap(CARD_BACK_BASE_ID + 2, g_pCardBackBitmap), m_pFrame->Refresh(false);
         }},
        {"status line off",
         [this] { m_pBoard->m_bShowOpens = m_pBoard->m_bShowTime = 0, m_pFrame->Refresh(false); }},
    };
    for (const auto& [pszStep, step] : steps) {
        step();
        m_pFrame->Update();
        PumpEvents(50);
        EXPECT_EQ(
            Unlike(Screenshot(m_pFrame), wxRect(0, 0, BOARD_WIDTH, BOARD_HEIGHT), Compose(), false),
            0)
            << pszStep;
    }
    EXPECT_EQ(m_pBoard->GetOpenCount(), 9999); // every step did what it says
    EXPECT_TRUE(ap[a]->IsRemoved() && ap[b]->IsRemoved() && ap[x]->IsFaceUp());
}

// A dialog stops the clock; the ranking empties only when confirmed; options come back
// only on OK.
TEST_F(Window, DialogsStopTheClockAndHandBackOnlyWhatWasConfirmed) {
    Start();
    m_pBoard->SetPlaying(1);
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
        EXPECT_EQ(m_pBoard->m_pRanking->nCount, 1 - bConfirm);
        // Entered and cleared on disk at once, not at exit.
        EXPECT_EQ(ReadBytes(m_temp.File(RANKING_FILE_NAME))[0], 1 - bConfirm);
    }
    auto options = [&] {
        return std::to_string(m_pBoard->m_nCardPattern) + " " +
               std::to_string(m_pBoard->m_nBackground) + " " +
               std::to_string(m_pBoard->m_nTimeIndex) + " " + std::to_string(m_pBoard->m_bTimeAuto);
    };
    const std::string strBefore = options();
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
        EXPECT_EQ(options(), nAnswer == 1 ? "3 9 6 0" : strBefore);
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
    PumpEvents(1500);
    m_pFrame->m_keys.OnKey(BoardKey::Pause);
    PumpEvents(3000);
    m_pFrame->m_keys.OnKey(BoardKey::Pause);
    PumpEvents(1000);
    EXPECT_EQ(g_nGameSeconds, 2);

    m_pFrame->m_keys.OnKey(BoardKey::Down);
    const wxImage image = Compose();
    EXPECT_EQ(Unlike(image, wxRect(4, 4, 50, 68), Resource(CARD_BACK_BASE_ID), false), 0);
    // The white line of the three, whole.
    EXPECT_EQ(CountColour(image, wxRect(2, 2, 54, 72), *wxWHITE) -
                  CountColour(image, wxRect(3, 3, 52, 70), *wxWHITE),
              2 * (54 + 72) - 4);
}

// The ranking's rows 25 pixels apart.
TEST_F(Window, DialogTextStandsInItsPlaces) {
    Start();
    CRankingDialog ranking(m_pFrame);
    for (int i = 0; i < RANK_ROWS; ++i)
        InsertResult(*m_pBoard->m_pRanking, 500 - i, 26, 60);
    BuildRankingRows(*m_pBoard->m_pRanking, ranking.m_aRows);
    ranking.Show();
    PumpEvents(300);
    const wxImage screen = Screenshot(&ranking);
    for (int r = 0; r < RANK_ROWS; ++r) {
        EXPECT_GT(CountColour(screen, wxRect(10, 40 + 25 * r, 300, 14), *wxRED), 10) << r;
        EXPECT_EQ(CountColour(screen, wxRect(10, 40 + 25 * r - 5, 300, 5), *wxRED), 0) << r;
    }
    ranking.Hide();
}

} // namespace
