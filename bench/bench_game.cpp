// SPDX-License-Identifier: MIT
// The game driven in-process through its own handlers, as a player's clicks
// would: how long the deal, a pair's removal, a mismatch closing and a clock
// second take on the real event loop; how memory behaves over many deals; and
// which images are decoded when.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/timer.h>

#include "bench/bench_table.h"
#include "bench/bench_wx.h"
#include "records/settings.h"
#include "tests/temp_dir.h"
#include "ui/app.h"
#include "ui/frame.h"

namespace {

constexpr int TIMER_SLACK_MS = 20; // about one frame of a 60 Hz screen
constexpr int DEAL_LEAST_MS = 1300;
constexpr int DEAL_MOST_MS = 1450;
constexpr long GROWTH_GOAL_KB = 256;

int g_nDecodes = 0;
double g_dDecodeMs = 0;

// The PNG handler the program finds first: counts and times every decode.
class CCountingPngHandler : public wxPNGHandler {
public:
    bool LoadFile(wxImage* pImage, wxInputStream& stream, bool bVerbose, int nIndex) override {
        const BenchClock::time_point start = BenchClock::now();
        const bool bOk = wxPNGHandler::LoadFile(pImage, stream, bVerbose, nIndex);
        ++g_nDecodes;
        g_dDecodeMs += MsSince(start);
        return bOk;
    }
};

struct Options {
    int nDeals = 100;
    int nRepeat = 10;
    int nTicks = 10;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const int nValue = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--deals") == 0)
            options.nDeals = nValue;
        else if (std::strcmp(argv[i], "--repeat") == 0)
            options.nRepeat = nValue;
        else if (std::strcmp(argv[i], "--ticks") == 0)
            options.nTicks = nValue;
    }
    if (options.nDeals < 11) // memory is compared between deal 10 and the last
        options.nDeals = 11;
    if (options.nDeals < options.nRepeat * CLOSE_TIME_COUNT)
        options.nDeals = options.nRepeat * CLOSE_TIME_COUNT;
    return options;
}

wxPoint CardCentre(const CGameBoard& board, int nIndex) {
    const CCard* pCard = board.m_apCards[nIndex];
    return wxPoint(pCard->m_nX + CARD_WIDTH / 2, pCard->m_nY + CARD_HEIGHT / 2);
}

// Two face-down cards still on the board, of equal rank or not.
bool FindTwoCards(const CGameBoard& board, bool bSameRank, int* pnFirst, int* pnSecond) {
    for (int i = 0; i < CARD_COUNT; ++i)
        for (int j = i + 1; j < CARD_COUNT; ++j) {
            const CCard* a = board.m_apCards[i];
            const CCard* b = board.m_apCards[j];
            if (a->IsFaceUp() || a->IsRemoved() || b->IsFaceUp() || b->IsRemoved())
                continue;
            if ((board.IsSameRank(i, j) != 0) == bSameRank) {
                *pnFirst = i;
                *pnSecond = j;
                return true;
            }
        }
    return false;
}

// Clicks two cards up; the turn's timer starts with the second click.
BenchClock::time_point TurnUp(CGameFrame* pFrame, int nFirst, int nSecond) {
    pFrame->OnBoardClick(0, CardCentre(pFrame->m_board, nFirst));
    const BenchClock::time_point start = BenchClock::now();
    pFrame->OnBoardClick(0, CardCentre(pFrame->m_board, nSecond));
    return start;
}

void ShowEveryFace(CGameFrame* pFrame) {
    for (CCard* pCard : pFrame->m_board.m_apCards)
        pCard->SetFaceUp(1);
    pFrame->Refresh(false);
    pFrame->Update();
    PumpFor(20);
}

bool TimerRow(const char* pszWhat, const std::vector<double>& samples, int nNominalMs) {
    const Spread spread = Summarise(samples);
    const bool bMet = !samples.empty() && spread.dLeast >= nNominalMs - 1 &&
                      spread.dWorst <= nNominalMs + TIMER_SLACK_MS;
    PrintRow(pszWhat,
             Format("median %.1f ms, worst %.1f (least %.1f, n=%zu)", spread.dMedian, spread.dWorst,
                    spread.dLeast, samples.size()),
             Format("%d to %d ms", nNominalMs, nNominalMs + TIMER_SLACK_MS), bMet);
    return bMet;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    TempDir temp; // settings and ranking of this run stay out of the player's files
    if (!StartWx(argc, argv))
        return 1;
    // The start-up of wx installed a PNG handler already, and a second one of the
    // same type would be dropped as a duplicate: the counting one takes its place.
    if (wxImageHandler* pInstalled = wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::RemoveHandler(pInstalled->GetName());
    wxImage::InsertHandler(new CCountingPngHandler);
    if (!dynamic_cast<CCountingPngHandler*>(wxImage::FindHandler(wxBITMAP_TYPE_PNG))) {
        std::fprintf(stderr, "bench_game: the counting PNG handler is not the one in use\n");
        return 1;
    }

    BenchClock::time_point start = BenchClock::now();
    CGameFrame* pFrame = CreateMainWindow();
    const double dCreateMs = MsSince(start);
    const double dCreateDecodeMs = g_dDecodeMs;
    PumpFor(300);
    const int nStartDecodes = g_nDecodes;
    const long nStartHwm = ReadStatusKb(0, "VmHWM");
    CGameBoard& board = pFrame->m_board;

    std::vector<double> deals, pairs, misses[CLOSE_TIME_COUNT];
    int nFaceDownDecodes = -1, nFirstDealDecodes = -1, nLaterDecodes = 0;
    long nHwm10 = -1, nRss10 = -1;
    bool bStuck = false;
    for (int nDeal = 0; nDeal < options.nDeals && !bStuck; ++nDeal) {
        const int nDealDecodes = g_nDecodes;
        start = BenchClock::now();
        pFrame->StartGame();
        deals.push_back(MsSince(start));
        PumpFor(5);
        if (nDeal == 0)
            nFaceDownDecodes = g_nDecodes - nDealDecodes;

        int a = -1, b = -1;
        if (nDeal < options.nRepeat && FindTwoCards(board, true, &a, &b)) {
            start = TurnUp(pFrame, a, b);
            bStuck |= !PumpUntil([&] { return board.m_apCards[a]->IsRemoved() != 0; }, 3000);
            pairs.push_back(MsSince(start));
        }
        const int nIndex = nDeal % CLOSE_TIME_COUNT;
        if (nDeal < options.nRepeat * CLOSE_TIME_COUNT && FindTwoCards(board, false, &a, &b)) {
            board.m_bTimeAuto = 1;
            board.m_nTimeIndex = nIndex;
            start = TurnUp(pFrame, a, b);
            bStuck |= !PumpUntil([&] { return board.m_apCards[a]->IsFaceUp() == 0; }, 5000);
            misses[nIndex].push_back(MsSince(start));
        }

        ShowEveryFace(pFrame);
        if (nDeal == 0)
            nFirstDealDecodes = g_nDecodes - nDealDecodes;
        else
            nLaterDecodes += g_nDecodes - nDealDecodes;
        if (nDeal == 9) {
            nHwm10 = ReadStatusKb(0, "VmHWM");
            nRss10 = ReadStatusKb(0, "VmRSS");
        }
    }
    const long nHwmEnd = ReadStatusKb(0, "VmHWM");
    const long nRssEnd = ReadStatusKb(0, "VmRSS");

    // Clock seconds: when each expiry reaches the window, before its handler runs.
    std::vector<BenchClock::time_point> ticks;
    pFrame->Bind(
        wxEVT_TIMER,
        [&ticks](wxTimerEvent& event) {
            ticks.push_back(BenchClock::now());
            event.Skip();
        },
        TIMER_CLOCK);
    pFrame->StartGame();
    const BenchClock::time_point clockStart = BenchClock::now();
    bStuck |= !PumpUntil([&] { return static_cast<int>(ticks.size()) >= options.nTicks; },
                         options.nTicks * 1000 + 3000);
    std::vector<double> seconds;
    for (size_t i = 0; i < ticks.size(); ++i)
        seconds.push_back(
            std::chrono::duration<double, std::milli>(ticks[i] - (i ? ticks[i - 1] : clockStart))
                .count());

    PrintRow("Start-up in-process (CreateMainWindow)",
             Format("%.1f ms, of which PNG decoding %.1f", dCreateMs, dCreateDecodeMs),
             "decoding < 1/4 of it", dCreateDecodeMs < dCreateMs / 4);
    PrintRow("Images decoded by start-up", Format("%d", nStartDecodes),
             "the icon + 2 global bitmaps", nStartDecodes == 3);
    PrintRow("Faces decoded: dealt / all shown / later deals",
             Format("%d / %d / %d", nFaceDownDecodes, nFirstDealDecodes, nLaterDecodes),
             "0 / 52 / 0",
             nFaceDownDecodes == 0 && nFirstDealDecodes == CARD_COUNT && nLaterDecodes == 0);
    const Spread dealSpread = Summarise(deals);
    PrintRow("Deal, 52 x 25 ms",
             Format("median %.1f ms, worst %.1f (least %.1f, n=%zu)", dealSpread.dMedian,
                    dealSpread.dWorst, dealSpread.dLeast, deals.size()),
             Format("%d to %d ms", DEAL_LEAST_MS, DEAL_MOST_MS),
             dealSpread.dLeast >= DEAL_LEAST_MS && dealSpread.dWorst <= DEAL_MOST_MS);
    TimerRow("Pair removed (TIMER_PAIR)", pairs, PAIR_DELAY_MS);
    for (int i = 0; i < CLOSE_TIME_COUNT; ++i)
        TimerRow(Format("Mismatch closed, delay %s s", g_aCloseTimes[i].szName).c_str(), misses[i],
                 CloseDelayMs(i));
    TimerRow("Clock second (TIMER_CLOCK)", seconds, CLOCK_INTERVAL_MS);
    PrintInfo(Format("Memory in-process: peak at start / after %d deals", options.nDeals),
              Format("%.1f MB / %.1f MB", nStartHwm / 1024.0, nHwmEnd / 1024.0));
    const long nGrowth = std::max(nHwmEnd - nHwm10, nRssEnd - nRss10);
    PrintRow(Format("Memory growth, deal 10 to deal %d", options.nDeals),
             Format("peak %+ld kB, resident %+ld kB", nHwmEnd - nHwm10, nRssEnd - nRss10),
             Format("none (<= %ld kB)", GROWTH_GOAL_KB), nGrowth <= GROWTH_GOAL_KB);
    if (bStuck)
        PrintRow("Every timed change happened", "no: a wait timed out", "yes", false);

    pFrame->Destroy();
    PumpFor(50);
    StopWx();
    return bStuck ? 1 : 0;
}
