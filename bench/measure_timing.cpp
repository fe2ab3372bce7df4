// How long the game's own waits really take on the event loop: start-up to the
// first paint, the deal, a pair's removal and a mismatch closing at two delays.
// Built only when asked: cmake --build <dir> --target measure_timing, then run
// it on an X display (xvfb-run -a -s "-screen 0 1280x1024x24" <dir>/bench/measure_timing).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

#include <unistd.h>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/init.h>

#include "records/settings.h"
#include "tests/temp_dir.h"
#include "ui/app.h"
#include "ui/frame.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Milliseconds this process lived before main(), from its start time in /proc
// (clock ticks since boot, so 10 ms steps).
double MsBeforeMain() {
    FILE* pFile = std::fopen("/proc/self/stat", "r");
    if (!pFile)
        return 0;
    char szStat[2048] = {};
    const size_t n = std::fread(szStat, 1, sizeof szStat - 1, pFile);
    std::fclose(pFile);
    szStat[n] = '\0';
    const char* p = std::strrchr(szStat, ')');
    unsigned long long nStartTicks = 0;
    // Field 22 is the start time; fields 3 to 21 follow the command's closing parenthesis.
    if (!p || std::sscanf(p + 2,
                          "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d "
                          "%*d %*d %*d %*d %llu",
                          &nStartTicks) != 1)
        return 0;
    timespec now;
    clock_gettime(CLOCK_BOOTTIME, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6 -
           nStartTicks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class CFirstPaint : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override {
        if (event.GetEventType() == wxEVT_PAINT && !m_bSeen) {
            m_bSeen = true;
            m_when = Clock::now();
        }
        return Event_Skip;
    }
    bool m_bSeen = false;
    Clock::time_point m_when;
};

class CMeasureApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

bool PumpUntil(const std::function<bool()>& bDone, int nTimeoutMs) {
    const Clock::time_point start = Clock::now();
    while (!bDone()) {
        if (MsBetween(start, Clock::now()) > nTimeoutMs)
            return false;
        wxTheApp->Yield(true);
        wxMilliSleep(1);
    }
    return true;
}

void Print(const char* pszWhat, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("%-36s n=%-2zu min %7.1f  median %7.1f  max %7.1f ms\n", pszWhat, values.size(),
                values.front(), values[values.size() / 2], values.back());
}

void FindCards(const CGameBoard& board, bool bSameRank, int* pnA, int* pnB) {
    for (int a = 0; a < CARD_COUNT; ++a)
        for (int b = a + 1; b < CARD_COUNT; ++b)
            if ((board.m_apCards[a]->GetRank() == board.m_apCards[b]->GetRank()) == bSameRank) {
                *pnA = a;
                *pnB = b;
                return;
            }
}

wxPoint CardPoint(int i) {
    return wxPoint(4 + 54 * (i % 13) + 25, 4 + 72 * (i / 13) + 34);
}

// From the second card's click to the turn's end, as a player sees it.
double TimeTurn(CGameFrame* pFrame, bool bPair) {
    pFrame->StartGame();
    int a = 0, b = 0;
    FindCards(pFrame->m_board, bPair, &a, &b);
    pFrame->OnBoardClick(0, CardPoint(a));
    const Clock::time_point start = Clock::now();
    pFrame->OnBoardClick(0, CardPoint(b));
    PumpUntil([&] { return pFrame->m_board.GetOpenCard(1) == -1; }, 10000);
    return MsBetween(start, Clock::now());
}

} // namespace

int main(int argc, char** argv) {
    const Clock::time_point mainStart = Clock::now();
    const double dBeforeMain = MsBeforeMain();
    setenv("GDK_BACKEND", "x11", 0);
    setenv("NO_AT_BRIDGE", "1", 1);
    TempDir temp;
    wxApp::SetInstance(new CMeasureApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    CFirstPaint firstPaint;
    wxEvtHandler::AddFilter(&firstPaint);
    CGameFrame* pFrame = CreateMainWindow();
    PumpUntil([&] { return firstPaint.m_bSeen; }, 10000);
    wxEvtHandler::RemoveFilter(&firstPaint);
    std::printf("%-36s %.1f ms (%.0f ms of it before main, in 10 ms steps)\n",
                "process start to first paint",
                dBeforeMain + MsBetween(mainStart, firstPaint.m_when), dBeforeMain);

    const int nRepeat = 5;
    std::vector<double> deals, pairs, quick, slow;
    for (int i = 0; i < nRepeat; ++i) {
        const Clock::time_point start = Clock::now();
        pFrame->StartGame();
        deals.push_back(MsBetween(start, Clock::now()));
    }
    Print("deal of 52 cards", deals);
    for (int i = 0; i < nRepeat; ++i)
        pairs.push_back(TimeTurn(pFrame, true));
    Print("second card to pair removed", pairs);
    pFrame->m_board.m_bTimeAuto = 1;
    for (const auto& row : {std::make_pair(0, &quick), std::make_pair(7, &slow)}) {
        pFrame->m_board.m_nTimeIndex = row.first;
        for (int i = 0; i < nRepeat; ++i)
            row.second->push_back(TimeTurn(pFrame, false));
    }
    Print("second card to mismatch closed 0.1s", quick);
    Print("second card to mismatch closed 2.5s", slow);

    pFrame->Destroy();
    PumpUntil([] { return false; }, 50);
    wxEntryCleanup();
    return 0;
}
