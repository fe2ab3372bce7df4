// SPDX-License-Identifier: MIT
// The turn rules and the keys' play against a fake window: each row a state, an event, and
// what the window is asked to do and the board looks like afterwards.

#include <algorithm>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "core/key_play.h"
#include "core/turn_rules.h"

namespace {

struct FakeWindow : ITurnWindow {
    std::ostringstream calls;
    int nSteps = 0; // deal steps in order, each after its wait
    bool bActive = true;
    time_t tNow = 1000000000;
    template <class... T> void Add(const T&... values) {
        calls << (calls.tellp() > 0 ? " " : "");
        ((calls << values), ...);
    }
    void StartWindowTimer(int nId, int nMs) override { Add("start", nId, ":", nMs); }
    void StopWindowTimer(int nId) override { Add("stop", nId); }
    void RequestRepaint(const BoardRect& r) override {
        Add(r.width == BOARD_WIDTH && r.height == BOARD_HEIGHT ? "paint" : "part");
    }
    void BeginDeal() override { Add("deal"); }
    void DrawDealStep(int i, int nWaitMs) override { nSteps += i == nSteps && nWaitMs == 25; }
    void EndDeal() override { Add("dealt"); }
    bool IsProgramActive() override { return bActive; }
    time_t TimeNow() override { return tNow; }
    void ShowGameTime() override { Add("time"); }
    void InsertResult(int n, int o, int s) override { Add("result ", n, " ", o, " ", s); }
    void ShowClearDialog(const int* p, int nScore) override {
        Add("clear ", nScore, " ", p[0], ",", p[1], p[2], p[3], p[4], p[5], p[6], p[10]);
    }
};

class Rules : public testing::Test {
protected:
    // Places of one pair gone, of cards a and b of one rank and of x of another.
    static constexpr int GONE = 0, A = 2, B = 3, X = 4;
    CCard& Card(int i) { return *m_board.m_apCards[i]; }
    // A game at 5 seconds with those ranks given, then the events of pszBefore, unrecorded.
    void Enter(int bTimeAuto, int nTimeIndex, const char* pszBefore) {
        m_board.NewDeal(m_window.tNow);
        m_board.m_bTimeAuto = bTimeAuto, m_board.m_nTimeIndex = nTimeIndex;
        m_board.SetPlaying(1), g_nGameSeconds = 5;
        m_keys.emplace(m_board, m_rules, m_window);
        for (int i = GONE; i <= X; ++i)
            Card(i).m_nRank = 1 + i / 2, Card(i).m_bFaceUp = Card(i).m_bRemoved = i < A;
        Play(pszBefore);
        m_window.calls.str("");
    }
    // Clicks on a, b, x, the g(one) card (each letter at its place in "gGabx"), _ a gap, R(ight
    // click); timers P(air), M(iss), C(lock), c(lock while another program is active); keys
    // < > ^ v H(ome) E(nd) !(act) Z(escape) p(ause); N(ew game); 0: no game in play; w: every
    // card but a and b gone, the gone one, x and a turned back 2, 4 and 7 times, the turns at
    // their most.
    void Play(const std::string& strEvents) {
        for (char c : strEvents) {
            const size_t nKey = std::string("<>^vHE!Zp").find(c),
                         nTimer = std::string("PMCc").find(c), nCard = std::string("gGabx").find(c);
            if (nKey != std::string::npos)
                m_keys->OnKey(static_cast<BoardKey>(nKey));
            else if (nTimer != std::string::npos)
                m_window.bActive = c != 'c',
                m_keys->OnGameTimer(TIMER_PAIR + std::min<int>(nTimer, 2));
            else if (c == 'R')
                m_keys->OnRightClick();
            else if (c == '_')
                m_keys->OnLeftClick(CARD_WIDTH + 5, 30);
            else if (c == 'N')
                m_keys->StartGame();
            else if (c == '0')
                m_board.SetPlaying(0);
            else if (c == 'w') {
                for (int i = 0; i < CARD_COUNT; ++i)
                    Card(i).m_bFaceUp = Card(i).m_bRemoved = i != A && i != B;
                Card(GONE).m_nMissCount = 2, Card(X).m_nMissCount = 4, Card(A).m_nMissCount = 7;
                m_board.SetOpenCount(MAX_OPEN_COUNT);
            } else
                m_keys->OnLeftClick(Card(nCard).m_nX + 25, Card(nCard).m_nY + 34);
        }
    }
    // a, b and x: d(own), u(p) or r(emoved); the open slots; turns; misses of a and x; time;
    // the frame where shown; the pause.
    std::string Describe() {
        std::string str;
        for (int i : {A, B, X})
            str += Card(i).IsRemoved() ? 'r' : Card(i).IsFaceUp() ? 'u' : 'd';
        str += " open=";
        for (int i : {m_board.GetOpenCard(0), m_board.GetOpenCard(1)})
            str += i == -1 ? '-' : i <= X ? "gGabx"[i] : '?';
        str += " turns=" + std::to_string(m_board.GetOpenCount()) +
               " misses=" + std::to_string(Card(A).m_nMissCount) +
               std::to_string(Card(X).m_nMissCount) + " secs=" + std::to_string(g_nGameSeconds);
        if (m_keys->GetFocusPlace() >= 0)
            str += " frame=" + std::to_string(m_keys->GetFocusPlace());
        return str + (m_keys->IsPaused() ? " paused" : "");
    }

    CGameBoard m_board;
    FakeWindow m_window;
    CTurnRules m_rules{m_board, m_window};
    std::optional<CKeyPlay> m_keys;
};

TEST_F(Rules, EachEventInEachState) {
    const char* pszUp = "udd open=a- turns=0 misses=00 secs=5";
    const char* pszMiss = "udu open=ax turns=1 misses=00 secs=5";
    const struct {
        int bTimeAuto, nTimeIndex;
        const char *pszBefore, *pszEvents, *pszCalls, *pszAfter; // null: as before
    } aRows[] = {
        // The mouse: a turn of two cards, a pair or a mismatch closing on its timer or by a
        // right click, the clock.
        {1, 3, "0", "a", "", nullptr},
        {1, 3, "", "_", "", nullptr},
        {1, 3, "", "g", "part", nullptr},
        {1, 3, "a", "a", "part", nullptr},
        {1, 7, "a", "b", "part start1:500", "uud open=ab turns=1 misses=00 secs=5"},
        {1, 0, "a", "x", "part start2:100", pszMiss},
        {1, 7, "a", "x", "part start2:2500", pszMiss},
        {0, 3, "a", "x", "part", pszMiss},
        {1, 3, "ab", "x", "", nullptr},
        {0, 3, "ax", "b", "", nullptr},
        {0, 3, "a", "R", "", nullptr},
        {0, 3, "ab", "R", "start1:0", nullptr},
        {0, 3, "ax", "R", "start2:0", nullptr},
        {1, 3, "ax", "R", "", nullptr},
        {1, 3, "ab", "P", "stop1 part part", "rrd open=-- turns=1 misses=00 secs=5"},
        {1, 3, "ax", "M", "stop2 part part", "ddd open=-- turns=1 misses=11 secs=5"},
        {1, 3, "", "M", "stop2", nullptr},
        {1, 3, "a", "P", "stop1", nullptr},
        {1, 3, "a", "C", "time", "udd open=a- turns=0 misses=00 secs=6"},
        {1, 3, "a", "c", "time", nullptr},
        // The last pair: 50 cards gone, three of them turned back 2, 4 and 7 times, at the most
        // turns counted.
        {1, 3, "w", "abP",
         "part part start1:500 stop1 part part stop3 result 472 9999 5 clear 472 49,0101100",
         "rrr open=-- turns=9999 misses=74 secs=5"},
        // The first key only shows the frame, where it stood. One place per arrow, never past
        // an edge; Home and End within the row.
        {1, 3, "", "v", "part", "ddd open=-- turns=0 misses=00 secs=5 frame=0"},
        {1, 3, "", "!", "part", "ddd open=-- turns=0 misses=00 secs=5 frame=0"},
        {1, 3, "H", "<", "", nullptr},
        {1, 3, "H", "^", "", nullptr},
        {1, 3, "HE", ">", "", nullptr},
        {1, 3, "HvvvE", "v", "", nullptr},
        {1, 3, "Hv>>", "<", "part part", "ddd open=-- turns=0 misses=00 secs=5 frame=14"},
        {1, 3, "Hv>>", "H", "part part", "ddd open=-- turns=0 misses=00 secs=5 frame=13"},
        {1, 3, "Hv>>", "E", "part part", "ddd open=-- turns=0 misses=00 secs=5 frame=25"},
        // Space or Enter: a left click on the framed place; Escape: a right click.
        {1, 3, "H>>", "!", "part", "udd open=a- turns=0 misses=00 secs=5 frame=2"},
        {1, 3, "axHv", "!", "", nullptr},
        {0, 3, "axHv", "Z", "start2:0", nullptr},
        // A click hides the frame and plays.
        {1, 3, "Hv", "a", "part part", pszUp},
        {0, 3, "axHv", "R", "part start2:0", pszMiss},
        // Only a deal in play pauses; paused, nothing plays and the clock counts nothing.
        {1, 3, "0", "p", "", nullptr},
        {1, 3, "wabP", "p", "", nullptr}, // a won game
        {1, 3, "Hv", "p", "paint", "ddd open=-- turns=0 misses=00 secs=5 paused"},
        {1, 3, "Hvp", "<", "", nullptr},
        {1, 3, "Hvp", "C", "time", nullptr},
        {1, 3, "axp", "M", "stop2 part part", "ddd open=-- turns=1 misses=11 secs=5 paused"},
        // P, Pause, Space, Enter or a click ends the pause and does nothing else; a new deal
        // ends it too and hides the frame, so a key only shows it, on the first place.
        {1, 3, "Hvp", "p", "paint", "ddd open=-- turns=0 misses=00 secs=5 frame=13"},
        {1, 3, "H>>p", "!", "paint", "ddd open=-- turns=0 misses=00 secs=5 frame=2"},
        {1, 3, "p", "a", "paint", "ddd open=-- turns=0 misses=00 secs=5"},
        {0, 3, "axp", "R", "paint", pszMiss},
        {1, 3, "axMaxHvp", "Nv", "part stop3 stop1 stop2 paint deal dealt paint start3:1000 part",
         "ddd open=-- turns=0 misses=00 secs=0 frame=0"},
    };
    for (const auto& r : aRows) {
        SCOPED_TRACE(testing::Message() << "row " << &r - aRows);
        Enter(r.bTimeAuto, r.nTimeIndex, r.pszBefore);
        const std::string before = Describe();
        Play(r.pszEvents);
        EXPECT_EQ(m_window.calls.str(), r.pszCalls);
        EXPECT_EQ(Describe(), r.pszAfter ? r.pszAfter : before);
    }
}

// A mismatch and a pair pending from the old game, then a deal: every card in its place, face
// down, dealt one step at a time, the clock from nought. A known second gives a known layout of
// a whole pack, each card with a face of its own; the board's own deal is the current second's.
TEST_F(Rules, StartGameDealsTheLayoutOfTheSecond) {
    Enter(1, 3, "ax"), m_rules.StartTimer(TIMER_PAIR, 100), m_rules.StartGame();
    EXPECT_TRUE(m_window.nSteps == CARD_COUNT && m_board.IsPlaying() && m_board.m_bShowOpens &&
                m_board.m_bShowTime);
    for (int nId : {TIMER_PAIR, TIMER_MISS, TIMER_CLOCK})
        EXPECT_EQ(m_board.IsTimerActive(nId) * 10000 + m_board.m_anTimerElapse[nId],
                  nId == TIMER_CLOCK ? 11000 : 0);
    EXPECT_TRUE(std::all_of(m_board.m_apCards, m_board.m_apCards + CARD_COUNT,
                            [](const CCard* p) { return p->m_bDealt; }));
    // The cards' faces, each in its own place and face down.
    const auto layout = [&] {
        std::string str;
        std::set<int> cards, faces;
        for (int i = 0; i < CARD_COUNT; ++i) {
            const CCard& c = Card(i);
            str += std::to_string(c.m_nRank) + "." + std::to_string(c.m_nSuit) + " ";
            if (c.m_nRank >= 1 && c.m_nRank <= RANK_COUNT && c.m_nSuit >= 1 &&
                c.m_nSuit <= SUIT_COUNT && !c.IsFaceUp() && !c.IsRemoved() &&
                m_board.HitTest(c.m_nX, c.m_nY) == i &&
                m_board.HitTest(c.m_nX + CARD_WIDTH - 1, c.m_nY + CARD_HEIGHT - 1) == i)
                cards.insert(c.m_nRank * 10 + c.m_nSuit), faces.insert(c.m_bmpFace.m_nId);
        }
        EXPECT_TRUE(cards.size() == CARD_COUNT && faces.size() == CARD_COUNT);
        return str;
    };
    const std::string strFirst = layout();
    // Worked out by hand from the C library's draws for this second, redraws included.
    EXPECT_EQ(
        strFirst.rfind("9.4 2.3 9.2 6.1 10.2 3.3 13.3 6.2 7.4 3.4 1.3 13.1 5.3 2.4 1.2 7.2 ", 0),
        0u);
    for (int nTry = 0; nTry < 3; ++nTry) {
        const time_t tNow = time(nullptr);
        m_board.NewDeal();
        const std::string strNow = layout();
        m_window.tNow = tNow, m_rules.StartGame();
        EXPECT_TRUE(time(nullptr) != tNow || layout() == strNow);
        EXPECT_NE(strNow, strFirst);
    }
}

} // namespace
