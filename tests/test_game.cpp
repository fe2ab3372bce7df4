// A game in the main window: the turn rules as a transition table, their timers, the
// board as painted, the end of a game, games longer than anyone plays, and leaving the
// program. LongestGameShowsWholeTextsAndIsSavedWhenClosed, a whole game from the deal to
// the close box, is what tools/valgrind_game.sh runs under memcheck.

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <wx/defs.h>

#include <wx/dcmemory.h>
#include <wx/dcsvg.h> // which needs wx/defs.h before it
#include <wx/msgdlg.h>
#include <wx/stopwatch.h>

#include "core/dialog_text.h"
#include "records/ranking.h"
#include "records/settings.h"
#include "tests/gui_test.h"
#include "tests/temp_dir.h"
#include "ui/app.h"
#include "ui/clear_dialog.h"
#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

const wxRect BOARD_RECT(0, 0, BOARD_WIDTH, BOARD_HEIGHT);
const wxRect OPEN_COUNT_RECT(525, 294, 76, 17);
const wxRect GAME_TIME_RECT(625, 294, 76, 17);

wxRect CardRect(int i) {
    return wxRect(4 + 54 * (i % 13), 4 + 72 * (i / 13), 50, 68);
}

std::string ReadFile(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : std::string("<none>");
}

wxColour Pixel(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// Pixels in rect unlike the image put at rect's top-left, or (bTiled) unlike the image
// repeated from the board's top-left on.
int CountDifferent(const wxImage& board, const wxRect& rect, const wxImage& image, bool bTiled) {
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

bool HasStatusText(const wxImage& image, const wxRect& rect) {
    return CountColour(image, rect, *wxWHITE) > 0 && CountColour(image, rect, *wxBLACK) > 0;
}

// A window's client area as the X server shows it.
wxImage Screenshot(wxWindow* pWindow) {
    const wxPoint at = pWindow->ClientToScreen(wxPoint(0, 0));
    const wxSize size = pWindow->GetClientSize();
    const std::string strFile = std::string(getenv("TEMP")) + "/screen.png";
    char szCommand[512];
    snprintf(szCommand, sizeof szCommand, "import -window root -crop %dx%d+%d+%d +repage png:%s",
             size.x, size.y, at.x, at.y, strFile.c_str());
    wxImage image(size); // black when none could be taken
    EXPECT_TRUE(system(szCommand) == 0 && image.LoadFile(strFile, wxBITMAP_TYPE_PNG));
    return image;
}

// ONE_UP: card a is up; PAIR_UP: a and b, of one rank; MISS_UP: a and x, of two. A deal
// (but NO_DEAL) has one more pair removed, m_nGone one of them; WON: every card removed.
enum State { NO_DEAL, READY, ONE_UP, PAIR_UP, MISS_UP, WON };
// A click on card a, b, x or a removed one, between two cards, or a right click.
enum Input { A, B, X, GONE, GAP, RIGHT };

class Game : public MainWindowTest {
protected:
    void SetUp() override {
        g_nGameSeconds = 0;
        MainWindowTest::SetUp();
        m_pBoard = &m_pFrame->m_board;
    }

    CCard& Card(int i) { return *m_pBoard->m_apCards[i]; }
    int FirstCard(const std::function<bool(int)>& match) {
        int i = 0;
        while (i < CARD_COUNT - 1 && (Card(i).IsRemoved() || !match(i)))
            ++i;
        return i;
    }
    void Pick() {
        m_a = FirstCard([](int) { return true; });
        const auto other = [&](int i) { return !m_pBoard->IsSameRank(m_a, i); };
        m_b = FirstCard([&](int i) { return i != m_a && !other(i); });
        m_x = FirstCard(other);
    }
    // The state as a player reaches it, without the deal's 1.3 s.
    void Enter(State state) {
        for (int nId : {TIMER_PAIR, TIMER_MISS, TIMER_CLOCK})
            m_pFrame->StopTimer(nId);
        m_pBoard->NewDeal();
        Pick();
        if (state == NO_DEAL)
            return;
        m_pBoard->SetPlaying(1);
        m_pBoard->m_bShowOpens = m_pBoard->m_bShowTime = 1;
        m_pFrame->StartTimer(TIMER_CLOCK, CLOCK_INTERVAL_MS);
        m_nGone = m_a;
        for (int i = 0; i < CARD_COUNT; ++i) {
            Card(i).m_bDealt = 1;
            if (state == WON || i == m_a || i == m_b)
                Card(i).m_bFaceUp = Card(i).m_bRemoved = 1;
        }
        Pick();
        if (state == ONE_UP || state == PAIR_UP || state == MISS_UP)
            Click(m_a);
        if (state == PAIR_UP || state == MISS_UP)
            Click(state == PAIR_UP ? m_b : m_x);
    }
    void Click(int i) { m_pFrame->OnBoardClick(0, CardRect(i).GetPosition() + wxPoint(25, 34)); }
    int CardOf(Input input) const { return std::vector<int>{m_a, m_b, m_x, m_nGone}[input]; }
    void Apply(Input input) {
        if (input == RIGHT)
            m_pFrame->OnBoardRightClick(0, wxPoint(690, 300));
        else if (input == GAP)
            m_pFrame->OnBoardClick(0, wxPoint(56, 30));
        else
            Click(CardOf(input));
    }
    // Everything a click or a timer may change.
    std::string Snapshot() {
        std::ostringstream s;
        for (const CCard* p : m_pBoard->m_apCards)
            s << p->m_bFaceUp << p->m_bRemoved << p->m_nMissCount << ",";
        s << m_pBoard->GetOpenCard(0) << "," << m_pBoard->GetOpenCard(1) << ","
          << m_pBoard->GetOpenCount();
        for (int nId : {TIMER_PAIR, TIMER_MISS, TIMER_CLOCK})
            s << "," << m_pBoard->m_abTimerActive[nId]
              << m_pFrame->GetWindowTimer(nId)->IsRunning();
        return s.str();
    }
    // Paints handled after the action: a repaint was asked for.
    int PaintsAfter(const std::function<void()>& action) {
        PumpEvents(30);
        m_nPaints = 0;
        action();
        PumpEvents(60);
        return m_nPaints;
    }
    // The board's record of the timer and the real one; nElapse < 0: not running.
    void ExpectTimer(int nId, int nElapse) {
        wxTimer* p = m_pFrame->GetWindowTimer(nId);
        EXPECT_EQ(std::make_tuple(m_pBoard->m_abTimerActive[nId], m_pBoard->m_anTimerElapse[nId],
                                  p->IsRunning() ? p->GetInterval() : -1),
                  std::make_tuple(nElapse >= 0 ? 1 : 0, std::max(nElapse, 0), nElapse))
            << nId;
    }
    // Turns up two cards as a player would and lets the turn's timer expire.
    void PlayTurn(int a, int b) {
        Click(a);
        Click(b);
        m_pFrame->OnGameTimer(m_pBoard->IsSameRank(a, b) ? TIMER_PAIR : TIMER_MISS);
    }
    wxImage Compose() {
        wxBitmap bmp(BOARD_WIDTH, BOARD_HEIGHT);
        wxMemoryDC dc(bmp);
        m_pFrame->ComposeBoard(&dc);
        dc.SelectObject(wxNullBitmap);
        return bmp.ConvertToImage();
    }
    static wxImage Resource(int nId) {
        wxBitmap bitmap;
        EXPECT_TRUE(LoadResBitmap(nId, &bitmap)) << nId;
        return bitmap.ConvertToImage();
    }

    TempDir m_temp; // no settings or ranking file to begin with
    CGameBoard* m_pBoard = nullptr;
    int m_a = 0, m_b = 0, m_x = 0, m_nGone = 0;
};

TEST_F(Game, IgnoredInputChangesNothingAndRepaintsOnlyForACardUpOrGone) {
    const std::tuple<State, Input, int, bool> aRows[] = {
        // state, input, closing by itself, repainted
        {NO_DEAL, A, 0, false},     {NO_DEAL, RIGHT, 0, false}, {READY, GONE, 0, true},
        {READY, GAP, 0, false},     {READY, RIGHT, 0, false},   {ONE_UP, A, 0, true},
        {ONE_UP, GONE, 0, true},    {ONE_UP, RIGHT, 0, false},  {PAIR_UP, X, 1, false},
        {MISS_UP, B, 1, false},     {MISS_UP, B, 0, false},     {PAIR_UP, RIGHT, 1, false},
        {MISS_UP, RIGHT, 1, false}, {WON, GONE, 0, true},       {WON, RIGHT, 0, false}};
    for (const auto& [state, input, bTimeAuto, bRepaint] : aRows) {
        SCOPED_TRACE(testing::Message() << state << "," << input << "," << bTimeAuto);
        m_pBoard->m_bTimeAuto = bTimeAuto;
        m_pBoard->m_nTimeIndex = 7;
        Enter(state);
        const std::string before = Snapshot();
        EXPECT_EQ(PaintsAfter([&, in = input] { Apply(in); }) > 0, bRepaint);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(Game, InputThatPlaysTurnsTheCardUpAndStartsItsTimer) {
    const std::tuple<State, Input, int, int, int, int> aRows[] = {
        // state, input, closing by itself, delay index, pair and mismatch timer (-1: none)
        {READY, A, 1, 3, -1, -1},      {ONE_UP, B, 1, 7, 500, -1},   {ONE_UP, B, 0, 0, 500, -1},
        {ONE_UP, X, 0, 3, -1, -1},     {ONE_UP, X, 1, 0, -1, 100},   {ONE_UP, X, 1, 1, -1, 300},
        {ONE_UP, X, 1, 2, -1, 500},    {ONE_UP, X, 1, 3, -1, 700},   {ONE_UP, X, 1, 4, -1, 1000},
        {ONE_UP, X, 1, 5, -1, 1500},   {ONE_UP, X, 1, 6, -1, 2000},  {ONE_UP, X, 1, 7, -1, 2500},
        {PAIR_UP, RIGHT, 0, 3, 0, -1}, {MISS_UP, RIGHT, 0, 3, -1, 0}};
    for (const auto& [state, input, bTimeAuto, nTimeIndex, nPairMs, nMissMs] : aRows) {
        SCOPED_TRACE(testing::Message()
                     << state << "," << input << "," << bTimeAuto << "," << nTimeIndex);
        m_pBoard->m_bTimeAuto = bTimeAuto;
        m_pBoard->m_nTimeIndex = nTimeIndex;
        Enter(state);
        Apply(input);
        if (input != RIGHT) { // into the first place, or the second, which counts the turn
            EXPECT_TRUE(Card(CardOf(input)).IsFaceUp());
            EXPECT_EQ(m_pBoard->GetOpenCard(state == READY ? 0 : 1), CardOf(input));
        }
        EXPECT_EQ(m_pBoard->GetOpenCount(), state == READY ? 0 : 1);
        ExpectTimer(TIMER_PAIR, nPairMs);
        ExpectTimer(TIMER_MISS, nMissMs);
    }
}

// Through the real timers, which a right click starts at 0 ms.
TEST_F(Game, ExpiriesRemoveAPairOrTurnAMismatchBackCountingAMissOnBoth) {
    m_pBoard->m_bTimeAuto = 0;
    Enter(PAIR_UP);
    EXPECT_GT(PaintsAfter([&] { Apply(RIGHT); }), 0);
    EXPECT_TRUE(Card(m_a).IsRemoved() && Card(m_b).IsRemoved());
    EXPECT_EQ(Card(m_a).m_nMissCount + Card(m_b).m_nMissCount, 0);
    EXPECT_TRUE(m_pBoard->GetOpenCard(0) == -1 && m_pBoard->GetOpenCard(1) == -1);
    ExpectTimer(TIMER_PAIR, -1);

    Enter(MISS_UP);
    Card(m_a).m_nMissCount = 2;
    EXPECT_GT(PaintsAfter([&] { Apply(RIGHT); }), 0);
    EXPECT_FALSE(Card(m_a).IsFaceUp() || Card(m_x).IsFaceUp());
    EXPECT_EQ(Card(m_a).m_nMissCount, 3);
    EXPECT_EQ(Card(m_x).m_nMissCount, 1);
    EXPECT_TRUE(m_pBoard->GetOpenCard(0) == -1 && m_pBoard->GetOpenCard(1) == -1);
    EXPECT_EQ(m_pBoard->GetOpenCount(), 1);
    ExpectTimer(TIMER_MISS, -1);
    ExpectTimer(TIMER_CLOCK, 1000);
}

// 50 cards gone, three of them turned back 2, 3 and 7 times; the last pair is up.
TEST_F(Game, LastPairRanksTheGameThenShowsTheSummaryWithClockAndStatusLineOff) {
    Enter(READY);
    const int anMisses[] = {2, 3, 7}; // penalties 1 + 3 + 21
    for (int i = 0, nMissed = 0; i < CARD_COUNT; ++i)
        if (i != m_a && i != m_b) {
            Card(i).m_bFaceUp = Card(i).m_bRemoved = 1;
            Card(i).m_nMissCount = nMissed < 3 ? anMisses[nMissed++] : 0;
        }
    m_pBoard->SetOpenCount(56);
    g_nGameSeconds = 185;
    Click(m_a);
    Click(m_b);
    std::ostringstream seen; // as the dialog opens: its fields | the ranking | clock, status line
    DialogScript script([&](wxDialog* pDialog) {
        if (auto* p = dynamic_cast<CClearDialog*>(pDialog)) {
            seen << p->m_nOpens << " " << p->m_nSeconds << " " << p->m_nScore << " |";
            for (int n : p->m_anHistogram)
                seen << " " << n;
        }
        const RankingTable& r = *m_pBoard->m_pRanking;
        seen << " | " << r.nCount << " " << r.anScore[0] << " " << r.anOpens[0] << " "
             << r.anSeconds[0] << " | " << m_pFrame->GetWindowTimer(TIMER_CLOCK)->IsRunning()
             << m_pBoard->m_bShowOpens << m_pBoard->m_bShowTime;
        return wxID_OK;
    });
    m_pFrame->OnGameTimer(TIMER_PAIR);
    EXPECT_EQ(seen.str(), "57 185 475 | 49 0 1 1 0 1 0 0 0 0 | 1 475 57 185 | 000");
    EXPECT_TRUE(m_pBoard->IsAllRemoved() && m_pBoard->IsPlaying());
}

TEST_F(Game, StartGameDealsAfreshAndTheOldDealsTimersDoNothing) {
    m_pBoard->m_nTimeIndex = 0;
    Enter(PAIR_UP);
    m_pFrame->StartTimer(TIMER_MISS, 100); // as a mismatch closing by itself leaves it
    g_nGameSeconds = 77;
    wxStopWatch watch;
    m_pFrame->StartGame(); // outlasts both delays: an old timer would now be due
    EXPECT_GE(watch.Time(), 52 * 25);
    for (int i = 0; i < CARD_COUNT; ++i)
        EXPECT_TRUE(Card(i).m_bDealt && !Card(i).IsFaceUp() && !Card(i).IsRemoved()) << i;
    EXPECT_TRUE(m_pBoard->IsPlaying() && m_pBoard->m_bShowOpens && m_pBoard->m_bShowTime);
    EXPECT_EQ(g_nGameSeconds, 0);
    ExpectTimer(TIMER_CLOCK, 1000);
    const wxImage back = Resource(CARD_BACK_BASE_ID + m_pBoard->m_nCardPattern);
    EXPECT_EQ(CountDifferent(Compose(), CardRect(0), back, false), 0); // a back at (4, 4)

    m_pBoard->m_bTimeAuto = 0; // what the old timers would remove or turn back
    Pick();
    Click(m_a);
    Click(m_x);
    PumpEvents(300);
    EXPECT_TRUE(Card(m_a).IsFaceUp() && Card(m_x).IsFaceUp());
    EXPECT_FALSE(Card(m_a).IsRemoved() || Card(m_x).IsRemoved());
    EXPECT_EQ(Card(m_a).m_nMissCount + Card(m_x).m_nMissCount, 0);
}

// Before the deal only the background, tiled from the top-left; 706 x 317 is no multiple
// of 320 x 240 or of 27 x 25, so the last column and row of tiles are cut.
TEST_F(Game, BoardIsPaintedFromItsState) {
    const wxImage own = Resource(BACKGROUND_BASE_ID + m_pBoard->m_nBackground);
    EXPECT_EQ(CountDifferent(Compose(), BOARD_RECT, own, true), 0);
    for (int nId : {5217, 5214}) {
        ASSERT_TRUE(LoadResBitmap(nId, g_pBackgroundBitmap));
        EXPECT_EQ(CountDifferent(Compose(), BOARD_RECT, Resource(nId), true), 0) << nId;
    }
    const wxImage tile = Resource(5214);
    Enter(ONE_UP); // a back where no card is up or gone, a face at m_a, the background where gone
    const wxImage back = Resource(CARD_BACK_BASE_ID + m_pBoard->m_nCardPattern);
    const wxImage face = Resource(Card(m_a).m_nSuit * 1000 + Card(m_a).m_nRank);
    for (int nFlags = 0; nFlags < 4; ++nFlags) {
        m_pBoard->m_bShowOpens = nFlags & 1;
        m_pBoard->m_bShowTime = nFlags >> 1;
        const wxImage image = Compose();
        for (const auto& [rect, bShown] : {std::make_pair(OPEN_COUNT_RECT, nFlags & 1),
                                           std::make_pair(GAME_TIME_RECT, nFlags >> 1)}) {
            EXPECT_EQ(HasStatusText(image, rect), bShown != 0) << nFlags;
            EXPECT_EQ(CountDifferent(image, rect, tile, true) == 0, bShown == 0) << nFlags;
        }
        for (int i = 0; i < CARD_COUNT; ++i) {
            const bool bGone = Card(i).IsRemoved();
            const wxImage& expected = bGone ? tile : i == m_a ? face : back;
            EXPECT_EQ(CountDifferent(image, CardRect(i), expected, bGone), 0) << i;
        }
    }
}

TEST_F(Game, ClockCountsOnlyWhileAProgramWindowIsActiveButAlwaysDrawsTheTime) {
    Enter(READY);
    m_pFrame->StopTimer(TIMER_CLOCK); // the test ticks it
    m_pBoard->m_bShowOpens = m_pBoard->m_bShowTime = 0;
    m_pFrame->Refresh(false);
    // No window manager: the focus follows the pointer until it is set explicitly.
    system("xdotool mousemove --sync 0 0 >/dev/null 2>&1");
    PumpEvents(200);
    ASSERT_FALSE(IsProgramWindowActive());
    EXPECT_FALSE(HasStatusText(Screenshot(m_pFrame), GAME_TIME_RECT));
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
    EXPECT_EQ(g_nGameSeconds, 3600);
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
    for (const auto& [y, colour] : {std::make_pair(20, *wxBLUE), std::make_pair(50, *wxRED),
                                    std::make_pair(70, *wxRED), std::make_pair(110, *wxRED)})
        EXPECT_GT(CountColour(screen, wxRect(10, y, 290, 14), colour), 20) << y;
    dlg.Hide();
}

TEST_F(Game, ExitAnsweredCancelChangesNothingAndOkSavesBothFiles) {
    Enter(READY);
    m_pBoard->m_nTimeIndex = 5;
    for (int nAnswer : {wxID_CANCEL, wxID_OK}) {
        DialogScript script([&](wxDialog* pDialog) {
            auto* pBox = dynamic_cast<wxMessageDialog*>(pDialog);
            EXPECT_TRUE(pBox && FromWx(pBox->GetMessage()) == "終了しますか？" &&
                        (pBox->GetMessageDialogStyle() & wxCANCEL));
            return nAnswer;
        });
        const std::string before = Snapshot();
        m_pFrame->OnExit();
        EXPECT_EQ(script.m_nShown, 1);
        EXPECT_EQ(wxPendingDelete.Member(m_pFrame), nAnswer == wxID_OK);
        if (nAnswer == wxID_CANCEL) {
            EXPECT_EQ(Snapshot(), before);
            EXPECT_EQ(ReadFile(m_temp.File("kq207825.ini")) + ReadFile(m_temp.File("kq320217.dat")),
                      "<none><none>");
        }
    }
    PumpEvents(50);
    m_pFrame = nullptr;
    EXPECT_EQ(ReadFile(m_temp.File("kq320217.dat")).size(), 169u);
    EXPECT_NE(ReadFile(m_temp.File("kq207825.ini")).find("TIMEINDEX=5"), std::string::npos);
}

// From the deal through 10,000 turns and 100 hours to the close box, which asks nothing:
// every text shows whole, and the game is saved.
TEST_F(Game, LongestGameShowsWholeTextsAndIsSavedWhenClosed) {
    ClearLines lines = {};
    DialogScript script([&](wxDialog* pDialog) {
        if (auto* p = dynamic_cast<CClearDialog*>(pDialog))
            BuildClearLines(p->m_anHistogram, p->m_nOpens, p->m_nSeconds, p->m_nScore, &lines);
        return wxID_OK;
    });
    m_pFrame->StartGame();
    Pick();
    for (int nTurn = 0; nTurn < 10000; ++nTurn)
        PlayTurn(m_a, m_x);
    EXPECT_EQ(m_pBoard->GetOpenCount(), 9999);
    EXPECT_EQ(Card(m_a).m_nMissCount, 10000); // misses have no cap
    g_nGameSeconds = 100 * 3600 + 59;
    const std::string strSvg = std::string(getenv("TEMP")) + "/drawn.svg";
    {
        wxSVGFileDC svg(strSvg, BOARD_WIDTH, BOARD_HEIGHT); // records the texts drawn, as UTF-8
        m_pFrame->DrawOpenCount(&svg);
        m_pFrame->DrawGameTime(&svg);
    }
    for (const char* pszText : {"開数：9999", "100:00:59"})
        EXPECT_NE(ReadFile(strSvg).find(ToWx(pszText).utf8_str().data()), std::string::npos);

    for (int a = 0; a < CARD_COUNT; ++a)
        for (int b = a + 1; b < CARD_COUNT && !Card(a).IsRemoved(); ++b)
            if (!Card(b).IsRemoved() && m_pBoard->IsSameRank(a, b))
                PlayTurn(a, b);
    EXPECT_STREQ(lines.aszLine[0], "開数：9999　時間：100:00:59");
    EXPECT_STREQ(lines.aszLine[3], "得点：0　ＬＶ：Ｅ");
    RankingRow aRows[RANK_ROWS];
    BuildRankingRows(*m_pBoard->m_pRanking, aRows);
    EXPECT_STREQ(aRows[0].szOpens, "9999");
    EXPECT_STREQ(aRows[0].szTime, "100:00:59");

    m_pBoard->m_nTimeIndex = 6;
    m_pFrame->Close();
    EXPECT_EQ(script.m_nShown, 1);
    EXPECT_TRUE(wxPendingDelete.Member(m_pFrame));
    PumpEvents(50);
    m_pFrame = nullptr;
    RankingTable table;
    ASSERT_TRUE(LoadRanking(table, m_temp.File("kq320217.dat").c_str()));
    EXPECT_TRUE(table.nCount == 1 && table.anOpens[0] == 9999 && table.anSeconds[0] == 360059);
    EXPECT_NE(ReadFile(m_temp.File("kq207825.ini")).find("TIMEINDEX=6"), std::string::npos);
}

} // namespace
