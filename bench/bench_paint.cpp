// SPDX-License-Identifier: MIT
// What a repaint of the board costs on the real window, the way the game asks
// for one: a repaint request, then Update(), which runs GTK's draw cycle with its
// double buffer and our paint handler, then an X sync so that the server's share
// of the work is counted too. Rows: the whole board (Refresh) on the largest and
// smallest tile, one card's place, and a move (turn up, turn up, close) through
// the game's own handlers. A row whose paints did not all happen is void, not fast.
//   bench_paint [SAMPLES]

#include <cstdlib>
#include <functional>
#include <vector>

#include <wx/dcmemory.h>

#include "bench/bench_table.h"
#include "bench/bench_wx.h"
#include "records/settings.h"
#include "tests/temp_dir.h"
#include "ui/app.h"
#include "ui/frame.h"
#include "ui/wsys.h"

// Last: Xlib's macros would clash with names in the headers above.
#include <X11/Xlib.h>

namespace {

constexpr int LARGEST_TILE = 5214;  // 320 x 240
constexpr int SMALLEST_TILE = 5203; // 16 x 16
constexpr double FULL_GOAL_MS = 1.0;
constexpr double MOVE_GOAL_MS = 0.3;

CGameFrame* g_pFrame = nullptr;
int g_nPaints = 0;

wxRect CardPlace(int nIndex) {
    const CCard* pCard = g_pFrame->m_board.m_apCards[nIndex];
    return wxRect(pCard->m_nX, pCard->m_nY, CARD_WIDTH, CARD_HEIGHT);
}

// A game in progress: every card dealt, every third one face up, status line on;
// no close timer of its own, so that the bench closes a mismatch when it likes.
void DealWholeBoard() {
    g_pFrame->StartGame();
    CGameBoard& board = g_pFrame->m_board;
    for (int i = 0; i < CARD_COUNT; i += 3)
        board.m_apCards[i]->m_bFaceUp = 1;
    board.m_bTimeAuto = 0;
    g_pFrame->Refresh(false);
    g_pFrame->Update();
}

// Milliseconds from before the request to the paint having reached the server;
// -1 when no paint ran (unless the drawing may happen outside a paint).
double TimeRepaint(const std::function<void()>& request, bool bPaintNeeded = true) {
    const int nPaints = g_nPaints;
    const BenchClock::time_point start = BenchClock::now();
    request();
    g_pFrame->Update();
    XSync(wxGetX11Display(), False);
    const double dMs = MsSince(start);
    return g_nPaints > nPaints || !bPaintNeeded ? dMs : -1;
}

void Report(const char* pszWhat, const std::vector<double>& samples, double dGoalMs) {
    std::vector<double> painted;
    for (double d : samples)
        if (d >= 0)
            painted.push_back(d);
    const Spread spread = Summarise(painted);
    const bool bAllPainted = painted.size() == samples.size() && !samples.empty();
    PrintRow(pszWhat,
             Format("median %.3f ms, worst %.2f (n=%zu%s)", spread.dMedian, spread.dWorst,
                    samples.size(), bAllPainted ? "" : ", NOT ALL PAINTED"),
             Format("median <= %.1f ms", dGoalMs), bAllPainted && spread.dMedian <= dGoalMs);
}

void FullBoard(int nTile, int nSamples) {
    LoadResBitmap(nTile, g_pBackgroundBitmap);
    const auto request = [] { g_pFrame->Refresh(false); };
    TimeRepaint(request); // a new tile may be composed once
    std::vector<double> samples;
    for (int i = 0; i < nSamples; ++i)
        samples.push_back(TimeRepaint(request));
    Report(Format("Full repaint, tile %d (%dx%d)", nTile, g_pBackgroundBitmap->GetWidth(),
                  g_pBackgroundBitmap->GetHeight())
               .c_str(),
           samples, FULL_GOAL_MS);
}

// The request the turn rules make for a card's place.
void OneCard(int nSamples) {
    const wxRect place = CardPlace(1);
    const BoardRect rect = {place.x, place.y, place.width, place.height};
    std::vector<double> samples;
    for (int i = 0; i < nSamples; ++i)
        samples.push_back(TimeRepaint([&rect] { g_pFrame->RequestRepaint(rect); }));
    Report("Repaint of one card's place (RequestRepaint)", samples, MOVE_GOAL_MS);
}

// Two face-down cards of different rank, turned up by clicks and closed by the
// mismatch timer's handler: three repaints, each asked for by the game itself.
void Moves(int nSamples) {
    CGameBoard& board = g_pFrame->m_board;
    int a = -1, b = -1;
    for (int i = 0; i < CARD_COUNT && b < 0; ++i)
        for (int j = i + 1; j < CARD_COUNT && b < 0; ++j)
            if (!board.m_apCards[i]->IsFaceUp() && !board.m_apCards[j]->IsFaceUp() &&
                !board.IsSameRank(i, j))
                a = i, b = j;
    const auto click = [](int n) {
        const wxPoint centre = CardPlace(n).GetPosition() + wxPoint(CARD_WIDTH, CARD_HEIGHT) / 2;
        return [centre] { g_pFrame->OnBoardClick(0, centre); };
    };
    std::vector<double> samples;
    for (int i = 0; i < nSamples; ++i) {
        samples.push_back(TimeRepaint(click(a)));
        samples.push_back(TimeRepaint(click(b)));
        samples.push_back(TimeRepaint([] { g_pFrame->OnGameTimer(TIMER_MISS); }));
    }
    Report("Repaint of a move (turn up, turn up, close)", samples, MOVE_GOAL_MS);
}

void ClockTicks(int nSamples) {
    std::vector<double> samples;
    for (int i = 0; i < nSamples; ++i)
        samples.push_back(TimeRepaint([] { g_pFrame->OnGameTimer(TIMER_CLOCK); }, false));
    const Spread spread = Summarise(samples);
    PrintInfo("Clock tick, drawn and synced",
              Format("median %.3f ms, worst %.2f (n=%zu)", spread.dMedian, spread.dWorst,
                     samples.size()));
}

void Compose(int nSamples) {
    std::vector<double> samples;
    wxBitmap image(BOARD_WIDTH, BOARD_HEIGHT);
    wxMemoryDC mem(image);
    for (int i = 0; i < nSamples; ++i) {
        const BenchClock::time_point start = BenchClock::now();
        g_pFrame->ComposeBoard(&mem);
        samples.push_back(MsSince(start));
    }
    PrintInfo("Composing the whole board off-screen",
              Format("median %.3f ms (n=%zu)", Summarise(samples).dMedian, samples.size()));
}

} // namespace

int main(int argc, char** argv) {
    const int nSamples = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    TempDir temp; // the window reads settings from here, never a player's
    if (!StartWx(argc, argv))
        return 1;
    g_pFrame = CreateMainWindow();
    g_pFrame->Bind(wxEVT_PAINT, [](wxPaintEvent& event) {
        ++g_nPaints;
        event.Skip();
    });
    PumpFor(300);
    DealWholeBoard();
    PumpFor(100);
    FullBoard(LARGEST_TILE, nSamples);
    FullBoard(SMALLEST_TILE, nSamples);
    OneCard(nSamples);
    Moves(nSamples / 3);
    ClockTicks(nSamples / 10);
    Compose(nSamples / 10);
    g_pFrame->Destroy();
    PumpFor(50);
    StopWx();
    return 0;
}
