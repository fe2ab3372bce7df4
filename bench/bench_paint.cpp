// What one paint of the board costs: the whole 706 x 317 board composed in an
// off-screen image and copied to the window, as the paint handler does, on the
// largest and the smallest background tile. The X server is synced after each
// copy so that the time includes the server's share of the work.

#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <vector>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/utils.h>

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
constexpr double PAINT_GOAL_MS = 1.0;

CGameFrame* g_pFrame = nullptr;
std::map<int, std::vector<double>> g_paintMs; // every timed paint, by tile

// A game in progress: every card dealt, every third one face up, status line on.
void DealWholeBoard() {
    CGameBoard& board = g_pFrame->m_board;
    board.NewDeal();
    for (int i = 0; i < CARD_COUNT; ++i) {
        board.m_apCards[i]->m_bDealt = 1;
        board.m_apCards[i]->m_bFaceUp = i % 3 == 0;
    }
    board.SetPlaying(1);
    board.m_bShowOpens = 1;
    board.m_bShowTime = 1;
}

void PaintOnce() {
    wxClientDC dc(g_pFrame);
    wxBitmap image(BOARD_WIDTH, BOARD_HEIGHT);
    wxMemoryDC mem(image);
    g_pFrame->ComposeBoard(&mem);
    dc.Blit(0, 0, BOARD_WIDTH, BOARD_HEIGHT, &mem, 0, 0, wxCOPY);
}

void BM_Paint(benchmark::State& state) {
    const int nTile = static_cast<int>(state.range(0));
    LoadResBitmap(nTile, g_pBackgroundBitmap);
    PaintOnce(); // the face-up cards' images are decoded on their first draw
    XSync(wxGetX11Display(), False);
    std::vector<double>& samples = g_paintMs[nTile];
    for (auto _ : state) {
        const BenchClock::time_point start = BenchClock::now();
        PaintOnce();
        XSync(wxGetX11Display(), False);
        samples.push_back(MsSince(start));
    }
}
BENCHMARK(BM_Paint)
    ->Arg(LARGEST_TILE)
    ->Arg(SMALLEST_TILE)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// The composing alone, without the copy to the window.
void BM_Compose(benchmark::State& state) {
    LoadResBitmap(static_cast<int>(state.range(0)), g_pBackgroundBitmap);
    for (auto _ : state) {
        wxBitmap image(BOARD_WIDTH, BOARD_HEIGHT);
        wxMemoryDC mem(image);
        g_pFrame->ComposeBoard(&mem);
    }
}
BENCHMARK(BM_Compose)->Arg(LARGEST_TILE)->Arg(SMALLEST_TILE)->Unit(benchmark::kMicrosecond);

// What decoding one image costs, for weighing it against start-up.
void BM_Decode(benchmark::State& state) {
    wxBitmap bitmap;
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadResBitmap(static_cast<int>(state.range(0)), &bitmap));
}
BENCHMARK(BM_Decode)
    ->Arg(LARGEST_TILE)
    ->Arg(SMALLEST_TILE)
    ->Arg(CARD_BACK_BASE_ID)
    ->Arg(1001)
    ->Unit(benchmark::kMicrosecond);

void ReportPaints() {
    for (const auto& [nTile, samples] : g_paintMs) {
        wxBitmap tile;
        LoadResBitmap(nTile, &tile);
        const Spread spread = Summarise(samples);
        std::vector<double> sorted = samples;
        std::sort(sorted.begin(), sorted.end());
        const double dP99 = sorted.empty() ? 0 : sorted[sorted.size() * 99 / 100];
        PrintRow(Format("Paint, tile %d (%dx%d)", nTile, tile.GetWidth(), tile.GetHeight()),
                 Format("median %.2f ms, p99 %.2f, worst %.2f (n=%zu)", spread.dMedian, dP99,
                        spread.dWorst, samples.size()),
                 Format("median < %.0f ms", PAINT_GOAL_MS), spread.dMedian < PAINT_GOAL_MS);
    }
}

} // namespace

int main(int argc, char** argv) {
    TempDir temp; // the window reads settings from here, never a player's
    benchmark::Initialize(&argc, argv);
    if (!StartWx(argc, argv))
        return 1;
    g_pFrame = CreateMainWindow();
    PumpFor(300);
    DealWholeBoard();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ReportPaints();
    g_pFrame->Destroy();
    PumpFor(50);
    StopWx();
    return 0;
}
