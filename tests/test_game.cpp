// A whole game in the main window: the turn rules state by state, their timers,
// the board as painted, the end of a game and leaving the program.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/msgdlg.h>
#include <wx/stopwatch.h>

#include "records/settings.h"
#include "tests/gui_test.h"
#include "tests/temp_dir.h"
#include "ui/app.h"
#include "ui/clear_dialog.h"
#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

wxRect CardRect(int i) {
    return wxRect(4 + 54 * (i % 13), 4 + 72 * (i / 13), 50, 68);
}

// The first two cards still on the board of equal, or of different, rank.
void FindCards(const CGameBoard& board, bool bSameRank, int* pnA, int* pnB) {
    for (int a = 0; a < CARD_COUNT; ++a)
        for (int b = a + 1; b < CARD_COUNT; ++b)
            if ((board.m_apCards[a]->GetRank() == board.m_apCards[b]->GetRank()) == bSameRank &&
                !board.m_apCards[a]->IsRemoved() && !board.m_apCards[b]->IsRemoved()) {
                *pnA = a;
                *pnB = b;
                return;
            }
    FAIL() << "no such cards";
}

// Everything a click or a timer may change.
std::string Snapshot(const CGameBoard& board) {
    std::ostringstream s;
    for (const CCard* p : board.m_apCards)
        s << p->m_bFaceUp << p->m_bRemoved << p->m_nMissCount << ",";
    s << board.GetOpenCard(0) << "," << board.GetOpenCard(1) << "," << board.GetOpenCount() << ","
      << board.m_abTimerActive[TIMER_PAIR] << board.m_abTimerActive[TIMER_MISS];
    return s.str();
}

std::string ReadFile(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : std::string("<none>");
}

wxColour Pixel(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// Pixels in rect unlike the image drawn with its top-left at (x0, y0), repeated
// every image-size when bTiled.
int CountDifferent(const wxImage& board, const wxRect& rect, const wxImage& image, int x0 = 0,
                   int y0 = 0, bool bTiled = false) {
    int n = 0;
    for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y)
        for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x)
            n += Pixel(board, x, y) !=
                 (bTiled ? Pixel(image, x % image.GetWidth(), y % image.GetHeight())
                         : Pixel(image, x - x0, y - y0));
    return n;
}

int CountColour(const wxImage& image, const wxRect& rect, const wxColour& colour) {
    int n = 0;
    for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y)
        for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x)
            n += Pixel(image, x, y) == colour;
    return n;
}

const wxRect BOARD_RECT(0, 0, BOARD_WIDTH, BOARD_HEIGHT);
const wxRect OPEN_COUNT_RECT(525, 294, 76, 17);
const wxRect GAME_TIME_RECT(625, 294, 76, 17);

bool HasStatusText(const wxImage& image, const wxRect& rect) {
    return CountColour(image, rect, *wxWHITE) > 0 && CountColour(image, rect, *wxBLACK) > 0;
}

// A window's client area as the X server shows it.
wxImage Screenshot(wxWindow* pWindow) {
    const wxPoint at = pWindow->ClientToScreen(wxPoint(0, 0));
    const wxSize size = pWindow->GetClientSize();
    const std::string strFile = std::string(getenv("TEMP")) + "/screen.png";
    const std::string strCommand = "import -window root -crop " + std::to_string(size.x) + "x" +
                                   std::to_string(size.y) + "+" + std::to_string(at.x) + "+" +
                                   std::to_string(at.y) + " +repage png:" + strFile;
    wxImage image;
    if (system(strCommand.c_str()) == 0)
        image.LoadFile(strFile, wxBITMAP_TYPE_PNG);
    return image;
}

class Game : public testing::Test {
protected:
    void SetUp() override {
        g_nGameSeconds = 0;
        m_pFrame = CreateMainWindow();
        m_pBoard = &m_pFrame->m_board;
        m_pFrame->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
            ++m_nPaints;
            event.Skip();
        });
        PumpEvents(100);
    }
    void TearDown() override {
        m_pFrame->Destroy();
        PumpEvents(20);
    }

    // Ready, as a finished deal leaves the board, without the deal's 1.3 s.
    void Deal() {
        m_pBoard->NewDeal();
        for (CCard* p : m_pBoard->m_apCards)
            p->m_bDealt = 1;
        m_pBoard->SetPlaying(1);
        m_pBoard->m_bShowOpens = m_pBoard->m_bShowTime = 1;
        m_pFrame->StartTimer(TIMER_CLOCK, CLOCK_INTERVAL_MS);
    }
    void Click(int i) { m_pFrame->OnBoardClick(0, CardRect(i).GetPosition() + wxPoint(25, 34)); }
    void RightClick() { m_pFrame->OnBoardRightClick(0, wxPoint(690, 300)); }
    void OpenTwo(bool bSameRank, int* pnA, int* pnB) {
        FindCards(*m_pBoard, bSameRank, pnA, pnB);
        Click(*pnA);
        Click(*pnB);
    }
    // Paints handled after the action: a repaint was asked for.
    int PaintsAfter(const std::function<void()>& action) {
        PumpEvents(30);
        m_nPaints = 0;
        action();
        PumpEvents(60);
        return m_nPaints;
    }
    void ExpectTimer(int nId, bool bActive, int nElapse) {
        EXPECT_EQ(m_pBoard->m_abTimerActive[nId], bActive ? 1 : 0) << nId;
        EXPECT_EQ(m_pBoard->m_anTimerElapse[nId], nElapse) << nId;
        EXPECT_EQ(m_pFrame->GetWindowTimer(nId)->IsRunning(), bActive) << nId;
        if (bActive) {
            EXPECT_EQ(m_pFrame->GetWindowTimer(nId)->GetInterval(), nElapse) << nId;
        }
    }
    wxImage Compose() {
        wxBitmap bmp(BOARD_WIDTH, BOARD_HEIGHT);
        {
            wxMemoryDC dc(bmp);
            m_pFrame->ComposeBoard(&dc);
        }
        return bmp.ConvertToImage();
    }
    static wxImage Resource(int nId) {
        wxBitmap bitmap;
        EXPECT_TRUE(LoadResBitmap(nId, &bitmap)) << nId;
        return bitmap.ConvertToImage();
    }

    TempDir m_temp; // no settings or ranking file to begin with
    CGameFrame* m_pFrame = nullptr;
    CGameBoard* m_pBoard = nullptr;
    int m_nPaints = 0;
};

TEST_F(Game, NoGameIgnoresClicks) {
    const std::string before = Snapshot(*m_pBoard);
    m_pBoard->m_bTimeAuto = 0;
    EXPECT_EQ(PaintsAfter([&] {
                  Click(0);
                  Click(20);
                  RightClick();
              }),
              0);
    EXPECT_EQ(Snapshot(*m_pBoard), before);
    for (int nId : {TIMER_PAIR, TIMER_MISS, TIMER_CLOCK})
        EXPECT_FALSE(m_pFrame->GetWindowTimer(nId)->IsRunning());
}

TEST_F(Game, StartGameDealsThenStartsTheClock) {
    CGameBoard& board = *m_pBoard;
    g_nGameSeconds = 77;
    wxStopWatch watch;
    m_pFrame->StartGame();
    EXPECT_GE(watch.Time(), 52 * 25);
    EXPECT_EQ(board.m_nDealIndex, 52);
    for (const CCard* p : board.m_apCards)
        EXPECT_TRUE(p->m_bDealt && !p->m_bFaceUp && !p->m_bRemoved);
    EXPECT_TRUE(board.IsPlaying() && board.m_bShowOpens && board.m_bShowTime);
    EXPECT_EQ(g_nGameSeconds, 0);
    ExpectTimer(TIMER_CLOCK, true, 1000);
    const wxImage image = Compose();
    const wxImage back = g_pCardBackBitmap->ConvertToImage();
    for (int i : {0, 51})
        EXPECT_EQ(CountDifferent(image, CardRect(i), back, CardRect(i).x, CardRect(i).y), 0);

    Click(5); // Ready: the first card goes up and nothing starts
    EXPECT_EQ(board.GetOpenCard(0), 5);
    EXPECT_EQ(board.GetOpenCard(1), -1);
    EXPECT_TRUE(board.m_apCards[5]->IsFaceUp());
    EXPECT_EQ(board.GetOpenCount(), 0);
    ExpectTimer(TIMER_PAIR, false, 0);
    ExpectTimer(TIMER_MISS, false, 0);
}

TEST_F(Game, FaceUpOrRemovedCardsOnlyRepaint) {
    CGameBoard& board = *m_pBoard;
    Deal();
    int a, b;
    FindCards(board, false, &a, &b);
    board.m_apCards[b]->SetFaceUp(1);
    board.m_apCards[b]->SetRemoved(1);
    std::string before = Snapshot(board);
    EXPECT_GT(PaintsAfter([&] { Click(b); }), 0); // Ready
    EXPECT_EQ(Snapshot(board), before);
    EXPECT_EQ(PaintsAfter([&] { m_pFrame->OnBoardClick(0, wxPoint(56, 30)); }), 0); // a gap
    Click(a);
    before = Snapshot(board);
    EXPECT_GT(PaintsAfter([&] { Click(a); }), 0); // One up: the same card again
    EXPECT_GT(PaintsAfter([&] { Click(b); }), 0);
    EXPECT_EQ(Snapshot(board), before);
}

TEST_F(Game, SecondCardCountsTheTurnAndStartsItsTimer) {
    const struct {
        bool bSameRank;
        int bTimeAuto, nTimeIndex, nPair, nMiss; // -1: timer not running
    } aCases[] = {{true, 1, 7, 500, -1},   {true, 0, 0, 500, -1},   {false, 0, 3, -1, -1},
                  {false, 1, 0, -1, 100},  {false, 1, 1, -1, 300},  {false, 1, 2, -1, 500},
                  {false, 1, 3, -1, 700},  {false, 1, 4, -1, 1000}, {false, 1, 5, -1, 1500},
                  {false, 1, 6, -1, 2000}, {false, 1, 7, -1, 2500}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(testing::Message() << c.bSameRank << c.bTimeAuto << c.nTimeIndex);
        Deal();
        m_pBoard->m_bTimeAuto = c.bTimeAuto;
        m_pBoard->m_nTimeIndex = c.nTimeIndex;
        int a, b;
        OpenTwo(c.bSameRank, &a, &b);
        EXPECT_EQ(m_pBoard->GetOpenCard(1), b);
        EXPECT_EQ(m_pBoard->GetOpenCount(), 1);
        ExpectTimer(TIMER_PAIR, c.nPair >= 0, std::max(c.nPair, 0));
        ExpectTimer(TIMER_MISS, c.nMiss >= 0, std::max(c.nMiss, 0));
        m_pFrame->StopTimer(TIMER_PAIR);
        m_pFrame->StopTimer(TIMER_MISS);
    }
}

TEST_F(Game, TwoCardsUpIgnoreAThirdClick) {
    for (int nCase = 0; nCase < 3; ++nCase) { // pair showing, mismatch closing, mismatch waiting
        Deal();
        m_pBoard->m_bTimeAuto = nCase == 2 ? 0 : 1;
        int a, b;
        OpenTwo(nCase == 0, &a, &b);
        const std::string before = Snapshot(*m_pBoard);
        EXPECT_EQ(PaintsAfter([&] { Click(a == 0 ? (b == 1 ? 2 : 1) : 0); }), 0) << nCase;
        EXPECT_EQ(Snapshot(*m_pBoard), before) << nCase;
        m_pFrame->StopTimer(TIMER_PAIR);
        m_pFrame->StopTimer(TIMER_MISS);
    }
}

TEST_F(Game, ExpiriesRemoveAPairOrTurnAMismatchBack) {
    CGameBoard& board = *m_pBoard;
    Deal();
    int a, b;
    OpenTwo(true, &a, &b);
    EXPECT_GT(PaintsAfter([&] { m_pFrame->OnGameTimer(TIMER_PAIR); }), 0);
    EXPECT_TRUE(board.m_apCards[a]->IsRemoved() && board.m_apCards[b]->IsRemoved());
    EXPECT_TRUE(board.m_apCards[a]->IsFaceUp() && board.m_apCards[b]->IsFaceUp());
    EXPECT_EQ(board.m_apCards[a]->m_nMissCount, 0);
    EXPECT_EQ(board.GetOpenCard(0), -1);
    EXPECT_EQ(board.GetOpenCard(1), -1);
    ExpectTimer(TIMER_PAIR, false, 0);

    FindCards(board, false, &a, &b);
    board.m_apCards[a]->m_nMissCount = 2;
    Click(a);
    Click(b);
    EXPECT_GT(PaintsAfter([&] { m_pFrame->OnGameTimer(TIMER_MISS); }), 0);
    EXPECT_FALSE(board.m_apCards[a]->IsFaceUp() || board.m_apCards[b]->IsFaceUp());
    EXPECT_EQ(board.m_apCards[a]->m_nMissCount, 3);
    EXPECT_EQ(board.m_apCards[b]->m_nMissCount, 1);
    EXPECT_EQ(board.GetOpenCard(0), -1);
    EXPECT_EQ(board.GetOpenCard(1), -1);
    EXPECT_EQ(board.GetOpenCount(), 2);
    ExpectTimer(TIMER_MISS, false, 0);
    ExpectTimer(TIMER_CLOCK, true, 1000);
}

TEST_F(Game, RightClickClosesTwoCardsAtOnceOnlyWhenClosingByHand) {
    CGameBoard& board = *m_pBoard;
    Deal();
    int a, b;
    OpenTwo(false, &a, &b); // closing by itself: right clicks change nothing
    RightClick();
    ExpectTimer(TIMER_MISS, true, 700);
    m_pFrame->OnGameTimer(TIMER_MISS);

    board.m_bTimeAuto = 0;
    FindCards(board, false, &a, &b);
    Click(a);
    RightClick(); // one card up
    ExpectTimer(TIMER_MISS, false, 0);
    Click(b);
    PumpEvents(300);
    EXPECT_TRUE(board.m_apCards[a]->IsFaceUp() && board.m_apCards[b]->IsFaceUp());
    RightClick();
    ExpectTimer(TIMER_MISS, true, 0);
    PumpEvents(100);
    EXPECT_FALSE(board.m_apCards[a]->IsFaceUp() || board.m_apCards[b]->IsFaceUp());
    EXPECT_EQ(board.m_apCards[a]->m_nMissCount, 2);
    ExpectTimer(TIMER_MISS, false, 0);

    OpenTwo(true, &a, &b); // a pair leaves at once instead of after 500 ms
    RightClick();
    ExpectTimer(TIMER_PAIR, true, 0);
    PumpEvents(100);
    EXPECT_TRUE(board.m_apCards[a]->IsRemoved() && board.m_apCards[b]->IsRemoved());
    ExpectTimer(TIMER_PAIR, false, 0);
}

TEST_F(Game, TurnCountStopsAt9999) {
    Deal();
    m_pBoard->SetOpenCount(9998);
    for (int nTurn = 0; nTurn < 2; ++nTurn) {
        int a, b;
        OpenTwo(false, &a, &b);
        m_pFrame->OnGameTimer(TIMER_MISS);
    }
    EXPECT_EQ(m_pBoard->GetOpenCount(), 9999);
}

// 50 cards gone, three of them turned back 2, 3 and 7 times; the last pair is up.
TEST_F(Game, LastPairStopsTheClockRanksTheGameThenShowsTheSummary) {
    CGameBoard& board = *m_pBoard;
    Deal();
    int a, b;
    FindCards(board, true, &a, &b);
    const int anMisses[] = {2, 3, 7}; // penalties 1 + 3 + 21
    for (int i = 0, nMissed = 0; i < CARD_COUNT; ++i)
        if (i != a && i != b) {
            board.m_apCards[i]->SetFaceUp(1);
            board.m_apCards[i]->SetRemoved(1);
            if (nMissed < 3)
                board.m_apCards[i]->m_nMissCount = anMisses[nMissed++];
        }
    board.SetOpenCount(56);
    g_nGameSeconds = 185;
    Click(a);
    Click(b);

    DialogScript script([&](wxDialog* pDialog) {
        auto* pClear = dynamic_cast<CClearDialog*>(pDialog);
        EXPECT_NE(pClear, nullptr);
        if (!pClear)
            return wxID_OK;
        EXPECT_EQ(pClear->m_nOpens, 57);
        EXPECT_EQ(pClear->m_nSeconds, 185);
        EXPECT_EQ(pClear->m_nScore, 475);
        const int anExpected[CLEAR_HISTOGRAM_SIZE] = {49, 0, 1, 1, 0, 1};
        for (int k = 0; k < CLEAR_HISTOGRAM_SIZE; ++k)
            EXPECT_EQ(pClear->m_anHistogram[k], anExpected[k]) << k;
        const RankingTable& ranking = *board.m_pRanking; // entered before the dialog
        EXPECT_EQ(ranking.nCount, 1);
        EXPECT_EQ(ranking.anScore[0], 475);
        EXPECT_EQ(ranking.anOpens[0], 57);
        EXPECT_EQ(ranking.anSeconds[0], 185);
        ExpectTimer(TIMER_CLOCK, false, 0);
        EXPECT_FALSE(board.m_bShowOpens || board.m_bShowTime);
        return wxID_OK;
    });
    m_pFrame->OnGameTimer(TIMER_PAIR);
    EXPECT_EQ(script.m_nShown, 1);
    EXPECT_TRUE(board.IsAllRemoved() && board.IsPlaying());

    board.m_bTimeAuto = 0; // Won: a click only repaints, a right click does nothing
    const std::string before = Snapshot(board);
    EXPECT_GT(PaintsAfter([&] {
                  Click(a);
                  RightClick();
              }),
              0);
    EXPECT_EQ(Snapshot(board), before);
    EXPECT_EQ(board.m_pRanking->nCount, 1);
}

TEST_F(Game, NewDealIsNotTouchedByTheOldDealsTimers) {
    CGameBoard& board = *m_pBoard;
    for (bool bPair : {true, false}) {
        Deal();
        board.m_bTimeAuto = 1;
        board.m_nTimeIndex = 0;
        int a, b;
        OpenTwo(bPair, &a, &b);
        m_pFrame->StartGame(); // outlasts either delay: an old timer would now be due
        board.m_bTimeAuto = 0;
        OpenTwo(!bPair, &a, &b); // what the old timer would remove or turn back
        PumpEvents(bPair ? 200 : 300);
        EXPECT_TRUE(board.m_apCards[a]->IsFaceUp() && board.m_apCards[b]->IsFaceUp()) << bPair;
        EXPECT_FALSE(board.m_apCards[a]->IsRemoved() || board.m_apCards[b]->IsRemoved()) << bPair;
        EXPECT_EQ(board.m_apCards[a]->m_nMissCount + board.m_apCards[b]->m_nMissCount, 0) << bPair;
        m_pFrame->StopTimer(TIMER_PAIR);
    }
}

TEST_F(Game, RealTimersEndTheTurnAfterTheirDelay) {
    CGameBoard& board = *m_pBoard;
    for (int nIndex : {-1, 0, 5}) { // -1: a pair
        Deal();
        board.m_nTimeIndex = nIndex < 0 ? 7 : nIndex;
        int a, b;
        FindCards(board, nIndex < 0, &a, &b);
        Click(a);
        wxStopWatch watch;
        Click(b);
        while (board.GetOpenCard(1) != -1 && watch.Time() < 5000)
            PumpEvents(1);
        const long nExpected = nIndex < 0 ? 500 : CloseDelayMs(nIndex);
        EXPECT_GE(watch.Time(), nExpected - 20) << nIndex;
        EXPECT_LE(watch.Time(), nExpected + 400) << nIndex;
        EXPECT_EQ(board.m_apCards[a]->IsRemoved(), nIndex < 0 ? 1 : 0);
        EXPECT_EQ(board.m_apCards[a]->IsFaceUp(), nIndex < 0 ? 1 : 0);
    }
}

TEST_F(Game, BoardBeforeTheDealIsTheTiledBackground) {
    const wxImage own = Resource(BACKGROUND_BASE_ID + m_pBoard->m_nBackground);
    EXPECT_EQ(CountDifferent(Compose(), BOARD_RECT, own, 0, 0, true), 0);
    for (int nId : {5214, 5203, 5217}) { // 320 x 240, 16 x 16, 27 x 25
        ASSERT_TRUE(LoadResBitmap(nId, g_pBackgroundBitmap));
        const wxImage tile = g_pBackgroundBitmap->ConvertToImage();
        EXPECT_EQ(CountDifferent(Compose(), BOARD_RECT, tile, 0, 0, true), 0) << nId;
    }
    // The last column of 320 x 240 tiles is 66 pixels wide, the last row 77 high,
    // both cut from the tile's own top-left.
    const wxImage big = Resource(5214);
    ASSERT_TRUE(LoadResBitmap(5214, g_pBackgroundBitmap));
    const wxImage image = Compose();
    EXPECT_EQ(CountDifferent(image, wxRect(640, 0, 66, 240), big, 640, 0), 0);
    EXPECT_EQ(CountDifferent(image, wxRect(0, 240, 320, 77), big, 0, 240), 0);
    EXPECT_EQ(CountDifferent(image, wxRect(640, 240, 66, 77), big, 640, 240), 0);
}

TEST_F(Game, CardsShowTheirBackTheirFaceOrNothing) {
    CGameBoard& board = *m_pBoard;
    Deal();
    int a, b, c, d;
    OpenTwo(true, &c, &d);
    m_pFrame->OnGameTimer(TIMER_PAIR);
    FindCards(board, false, &a, &b);
    Click(a);
    const wxImage back = Resource(CARD_BACK_BASE_ID + board.m_nCardPattern);
    const wxImage tile = Resource(BACKGROUND_BASE_ID + board.m_nBackground);
    const wxImage face =
        GetCachedResBitmap(board.m_apCards[a]->m_nSuit * 1000 + board.m_apCards[a]->m_nRank)
            .ConvertToImage();
    const wxImage image = Compose();
    for (int i = 0; i < CARD_COUNT; ++i) {
        const wxRect r = CardRect(i);
        const int n = i == c || i == d ? CountDifferent(image, r, tile, 0, 0, true)
                      : i == a         ? CountDifferent(image, r, face, r.x, r.y)
                                       : CountDifferent(image, r, back, r.x, r.y);
        EXPECT_EQ(n, 0) << i;
    }
}

TEST_F(Game, StatusLineShowsOnlyWhileItsFlagsAreOn) {
    ASSERT_TRUE(LoadResBitmap(5214, g_pBackgroundBitmap));
    const wxImage tile = g_pBackgroundBitmap->ConvertToImage();
    Deal();
    for (int nFlags = 0; nFlags < 4; ++nFlags) {
        m_pBoard->m_bShowOpens = nFlags & 1;
        m_pBoard->m_bShowTime = nFlags >> 1;
        const wxImage image = Compose();
        for (const auto& item : {std::make_pair(OPEN_COUNT_RECT, m_pBoard->m_bShowOpens),
                                 std::make_pair(GAME_TIME_RECT, m_pBoard->m_bShowTime)}) {
            EXPECT_EQ(HasStatusText(image, item.first), item.second != 0) << nFlags;
            EXPECT_EQ(CountDifferent(image, item.first, tile, 0, 0, true) == 0, item.second == 0)
                << nFlags;
        }
    }
}

TEST_F(Game, ClockCountsOnlyWhileTheProgramIsActiveButAlwaysDrawsTheTime) {
    Deal();
    m_pBoard->m_bShowOpens = m_pBoard->m_bShowTime = 0;
    m_pFrame->Refresh(false);
    // No window manager: the focus follows the pointer until it is set explicitly.
    system("xdotool mousemove --sync 0 0 >/dev/null 2>&1");
    PumpEvents(200);
    ASSERT_FALSE(IsProgramWindowActive());
    const wxImage before = Screenshot(m_pFrame);
    ASSERT_TRUE(before.IsOk());
    EXPECT_FALSE(HasStatusText(before, GAME_TIME_RECT));
    g_nGameSeconds = 3599;
    m_pFrame->OnGameTimer(TIMER_CLOCK);
    EXPECT_EQ(g_nGameSeconds, 3599);
    PumpEvents(50);
    EXPECT_TRUE(HasStatusText(Screenshot(m_pFrame), GAME_TIME_RECT));

    system("xdotool search --sync --onlyvisible --name '^Pelmanix$' windowfocus --sync "
           ">/dev/null 2>&1");
    PumpEvents(200);
    ASSERT_TRUE(IsProgramWindowActive());
    m_pFrame->OnGameTimer(TIMER_CLOCK);
    m_pFrame->OnGameTimer(TIMER_CLOCK);
    EXPECT_EQ(g_nGameSeconds, 3601);
    ExpectTimer(TIMER_CLOCK, true, 1000);
}

// The OK button where the template puts it, and the four lines around it, blue then red.
TEST_F(Game, SummaryDialogShowsItsLinesAndOneSmallButton) {
    CClearDialog dlg(m_pFrame);
    dlg.m_nOpens = 26;
    dlg.m_nScore = 500;
    dlg.Show();
    PumpEvents(300);
    wxWindow* pOk = dlg.FindWindow(1);
    ASSERT_NE(pOk, nullptr);
    EXPECT_EQ(pOk->GetPosition(), dlg.ConvertDialogToPixels(wxPoint(170, 94)));
    EXPECT_EQ(pOk->GetSize(), dlg.ConvertDialogToPixels(wxSize(50, 14)));
    const wxImage screen = Screenshot(&dlg);
    ASSERT_TRUE(screen.IsOk());
    const std::pair<int, wxColour> aLines[] = {
        {20, *wxBLUE}, {50, *wxRED}, {70, *wxRED}, {110, *wxRED}};
    for (const auto& line : aLines)
        EXPECT_GT(CountColour(screen, wxRect(10, line.first, 290, 14), line.second), 20)
            << line.first;
    dlg.Hide();
}

TEST_F(Game, ExitAnsweredCancelLeavesEverythingAsItWas) {
    Deal();
    DialogScript script([](wxDialog* pDialog) {
        auto* pBox = dynamic_cast<wxMessageDialog*>(pDialog);
        EXPECT_NE(pBox, nullptr);
        if (pBox) {
            EXPECT_EQ(FromWx(pBox->GetMessage()), "終了しますか？");
            EXPECT_EQ(FromWx(pBox->GetCaption()), "Pelmanix");
            EXPECT_TRUE(pBox->GetMessageDialogStyle() & wxCANCEL);
        }
        return wxID_CANCEL;
    });
    const std::string before = Snapshot(*m_pBoard);
    m_pFrame->OnExit();
    PumpEvents(50);
    EXPECT_EQ(script.m_nShown, 1);
    EXPECT_FALSE(wxPendingDelete.Member(m_pFrame));
    EXPECT_EQ(Snapshot(*m_pBoard), before);
    ExpectTimer(TIMER_CLOCK, true, 1000);
    EXPECT_EQ(ReadFile(m_temp.File("kq207825.ini")), "<none>");
    EXPECT_EQ(ReadFile(m_temp.File("kq320217.dat")), "<none>");
}

TEST_F(Game, ExitAnsweredOkAndTheCloseBoxBothSaveAndDestroy) {
    for (bool bMenu : {true, false}) {
        TempDir temp;
        CGameFrame* pFrame = CreateMainWindow();
        pFrame->m_board.m_nTimeIndex = 5;
        PumpEvents(50);
        DialogScript script([](wxDialog*) { return wxID_OK; });
        if (bMenu)
            pFrame->OnExit();
        else
            pFrame->Close();
        EXPECT_EQ(script.m_nShown, bMenu ? 1 : 0);
        EXPECT_TRUE(wxPendingDelete.Member(pFrame)) << bMenu;
        PumpEvents(50);
        EXPECT_EQ(wxTopLevelWindows.Find(pFrame), nullptr) << bMenu;
        EXPECT_EQ(ReadFile(temp.File("kq320217.dat")).size(), 169u) << bMenu;
        EXPECT_NE(ReadFile(temp.File("kq207825.ini")).find("TIMEINDEX=5"), std::string::npos);
    }
}

} // namespace
