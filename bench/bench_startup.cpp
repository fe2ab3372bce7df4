// SPDX-License-Identifier: MIT
// Start-up, memory and idle cost of the real programs, watched from outside on
// the X server, so that neither program needs to know it is measured:
//   bench_startup startup RUNS BARE_FRAME PELMANIX
//   bench_startup idle SECONDS PELMANIX
// Times run on the monotonic clock from just before fork(). The first visible
// window is the X map of a top-level window; the first paint is the first moment
// the window's pixels are no longer one flat colour (the root is black and a
// fresh window shows it): the menu bar strip for both programs, and for the game
// also a strip of the board.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/bench_table.h"
#include "tests/temp_dir.h"

// Last: Xlib's macros would clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int BOARD_WIDTH = 706;
constexpr int BOARD_HEIGHT = 317;
constexpr double STARTUP_SLACK_MS = 5;
constexpr double MEMORY_SLACK_MB = 5;
constexpr double IDLE_GOAL_PERCENT = 0.1;
constexpr int LEAST_RUNS = 15;
constexpr int MENU_STRIP = 20;
constexpr int BOARD_STRIP = 16;

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0; // a window may go away or not be viewable yet while we look
}

struct Launch {
    pid_t pid = -1;
    Window window = 0;
    int nWidth = 0;
    int nHeight = 0;
    double dMapMs = -1;
    double dPaintMs = -1;
    long nHwmKb = -1;
};

class Watcher {
public:
    Watcher() : m_pDisplay(XOpenDisplay(nullptr)) {
        if (!m_pDisplay)
            return;
        XSetErrorHandler(IgnoreXErrors);
        m_root = DefaultRootWindow(m_pDisplay);
        XSelectInput(m_pDisplay, m_root, SubstructureNotifyMask);
        XSync(m_pDisplay, True);
    }
    ~Watcher() {
        if (m_pDisplay)
            XCloseDisplay(m_pDisplay);
    }
    bool IsOpen() const { return m_pDisplay != nullptr; }

    // Starts pszProgram with TEMP in a fresh directory and waits for its first
    // visible window and first paint. The game is given a settings file that
    // pins the largest background tile, the dearest one to decode.
    bool Start(const char* pszProgram, bool bGame, TempDir& temp, Launch* pLaunch) {
        if (bGame) {
            FILE* pFile = std::fopen(temp.File("kq207825.ini").c_str(), "w");
            if (pFile) {
                std::fputs("[START]\nOPTION1=1\nOPTION2=0\nOPTION3=0\nCARDNO=0\nBACKNO=13\n",
                           pFile);
                std::fclose(pFile);
            }
        }
        XSync(m_pDisplay, True); // forget what earlier programs' windows did
        const BenchClock::time_point start = BenchClock::now();
        pLaunch->pid = fork();
        if (pLaunch->pid == 0) {
            execl(pszProgram, pszProgram, static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pLaunch->pid < 0 || !WaitForMap(pLaunch, 20000))
            return false;
        pLaunch->dMapMs = MsSince(start);
        while (!IsPainted(*pLaunch, bGame)) {
            if (MsSince(start) > 20000)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        pLaunch->dPaintMs = MsSince(start);
        return true;
    }

    // A rectangle of the window, client-area coordinates when bClient.
    std::vector<unsigned long> Grab(const Launch& launch, int x, int y, int w, int h,
                                    bool bClient) {
        std::vector<unsigned long> pixels;
        if (bClient)
            y += launch.nHeight - BOARD_HEIGHT; // below the menu bar
        XImage* pImage = XGetImage(m_pDisplay, launch.window, x, y, w, h, AllPlanes, ZPixmap);
        if (!pImage)
            return pixels;
        for (int row = 0; row < h; ++row)
            for (int column = 0; column < w; ++column)
                pixels.push_back(XGetPixel(pImage, column, row));
        XDestroyImage(pImage);
        return pixels;
    }

private:
    bool WaitForMap(Launch* pLaunch, int nTimeoutMs) {
        const BenchClock::time_point start = BenchClock::now();
        while (MsSince(start) < nTimeoutMs) {
            while (XPending(m_pDisplay)) {
                XEvent event;
                XNextEvent(m_pDisplay, &event);
                if (event.type != MapNotify || event.xmap.event != m_root ||
                    event.xmap.override_redirect)
                    continue;
                XWindowAttributes attributes;
                // GTK also maps tiny helper windows; the frame is the big one.
                if (XGetWindowAttributes(m_pDisplay, event.xmap.window, &attributes) &&
                    attributes.width >= BOARD_WIDTH / 2) {
                    pLaunch->window = event.xmap.window;
                    pLaunch->nWidth = attributes.width;
                    pLaunch->nHeight = attributes.height;
                    return true;
                }
            }
            pollfd fd = {ConnectionNumber(m_pDisplay), POLLIN, 0};
            poll(&fd, 1, 1);
        }
        return false;
    }

    bool IsFlat(const std::vector<unsigned long>& pixels) {
        for (unsigned long pixel : pixels)
            if (pixel != pixels.front())
                return false;
        return true;
    }

    bool IsPainted(const Launch& launch, bool bGame) {
        const std::vector<unsigned long> menu =
            Grab(launch, 0, 0, launch.nWidth, MENU_STRIP, false);
        if (menu.empty() || IsFlat(menu))
            return false;
        if (!bGame)
            return true;
        const std::vector<unsigned long> board =
            Grab(launch, 0, launch.nHeight - BOARD_STRIP, launch.nWidth, BOARD_STRIP, false);
        return !board.empty() && !IsFlat(board);
    }

    Display* m_pDisplay = nullptr;
    Window m_root = 0;
};

void Stop(Launch* pLaunch) {
    if (pLaunch->pid <= 0)
        return;
    kill(pLaunch->pid, SIGTERM);
    int nStatus = 0;
    waitpid(pLaunch->pid, &nStatus, 0);
    pLaunch->pid = -1;
}

bool Measure(Watcher& watcher, const char* pszProgram, bool bGame, Launch* pLaunch) {
    TempDir temp;
    const bool bOk = watcher.Start(pszProgram, bGame, temp, pLaunch);
    if (bOk) {
        // Let the first moments after the paint settle before reading the peak.
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        pLaunch->nHwmKb = ReadStatusKb(pLaunch->pid, "VmHWM");
    }
    Stop(pLaunch);
    return bOk;
}

// The differences game - bare of runs taken in pairs; each pair shares the load
// of its moment, so their median holds up where the two medians apart would not.
std::vector<double> Differences(const std::vector<double>& game, const std::vector<double>& bare) {
    std::vector<double> differences;
    for (size_t i = 0; i < game.size() && i < bare.size(); ++i)
        differences.push_back(game[i] - bare[i]);
    return differences;
}

int RunStartup(int nRuns, const char* pszBare, const char* pszGame) {
    Watcher watcher;
    if (!watcher.IsOpen())
        return 1;
    nRuns = std::max(nRuns, LEAST_RUNS);
    std::vector<double> bareMap, barePaint, bareHwm, gameMap, gamePaint, gameHwm;
    // One run of each first, untimed: it fills the page cache and warms the X
    // server, whose first GTK client pays a one-off probe of its GL visuals. Then
    // the two in turns, each one first every other time.
    for (int nRun = -1; nRun < nRuns; ++nRun) {
        Launch bare, game;
        const bool bBareFirst = nRun % 2 == 0;
        bool bOk = !bBareFirst || Measure(watcher, pszBare, false, &bare);
        bOk = bOk && Measure(watcher, pszGame, true, &game);
        bOk = bOk && (bBareFirst || Measure(watcher, pszBare, false, &bare));
        if (!bOk) {
            std::fprintf(stderr, "bench_startup: a program showed no painted window\n");
            return 1;
        }
        if (nRun < 0)
            continue;
        bareMap.push_back(bare.dMapMs);
        barePaint.push_back(bare.dPaintMs);
        bareHwm.push_back(bare.nHwmKb / 1024.0);
        gameMap.push_back(game.dMapMs);
        gamePaint.push_back(game.dPaintMs);
        gameHwm.push_back(game.nHwmKb / 1024.0);
    }
    struct {
        const char* pszWhat;
        std::vector<double>& game;
        std::vector<double>& bare;
    } const rows[] = {
        {"Start-up to window mapped", gameMap, bareMap},
        {"Start-up to complete window", gamePaint, barePaint},
    };
    for (const auto& row : rows) {
        const Spread game = Summarise(row.game);
        const Spread bare = Summarise(row.bare);
        const Spread difference = Summarise(Differences(row.game, row.bare));
        PrintRow(Format("%s, %d pairs", row.pszWhat, nRuns),
                 Format("%+.1f ms (median of pairwise differences); game %.1f, bare frame %.1f",
                        difference.dMedian, game.dMedian, bare.dMedian),
                 Format("bare frame + %.0f ms", STARTUP_SLACK_MS),
                 difference.dMedian <= STARTUP_SLACK_MS);
    }
    const Spread game = Summarise(gameHwm);
    const Spread bare = Summarise(bareHwm);
    const Spread difference = Summarise(Differences(gameHwm, bareHwm));
    PrintRow("Memory: peak RSS after start-up (VmHWM)",
             Format("%+.1f MB (median of pairwise differences); game %.1f, bare frame %.1f",
                    difference.dMedian, game.dMedian, bare.dMedian),
             Format("bare frame + %.0f MB", MEMORY_SLACK_MB),
             difference.dMedian <= MEMORY_SLACK_MB);
    return 0;
}

bool RunCommand(const std::string& strCommand) {
    return std::system(strCommand.c_str()) == 0;
}

int RunIdle(int nSeconds, const char* pszGame) {
    Watcher watcher;
    if (!watcher.IsOpen())
        return 1;
    TempDir temp;
    Launch game;
    if (!watcher.Start(pszGame, true, temp, &game)) {
        std::fprintf(stderr, "bench_startup: the game showed no painted window\n");
        Stop(&game);
        return 1;
    }
    // Start a game from the menu, as a player would with the keyboard.
    const std::vector<unsigned long> tile = watcher.Grab(game, 4, 4, 50, 68, true);
    const std::string strWindow = Format("%lu", game.window);
    RunCommand("xdotool windowfocus --sync " + strWindow);
    RunCommand("xdotool key alt+m");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    RunCommand("xdotool key Return");
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    const bool bDealt = watcher.Grab(game, 4, 4, 50, 68, true) != tile;
    const std::vector<unsigned long> time0 = watcher.Grab(game, 625, 294, 64, 14, true);

    const double dCpu0 = ReadCpuSeconds(game.pid);
    const BenchClock::time_point start = BenchClock::now();
    std::this_thread::sleep_for(std::chrono::seconds(nSeconds));
    const double dCpu1 = ReadCpuSeconds(game.pid);
    const double dWall = MsSince(start) / 1000;
    const bool bTicked = watcher.Grab(game, 625, 294, 64, 14, true) != time0;
    Stop(&game);

    const double dPercent = 100 * (dCpu1 - dCpu0) / dWall;
    PrintRow(Format("Idle CPU, %d s of a running clock", nSeconds),
             Format("%.3f %% of a core (%.1f ms; dealt %s, clock drawn %s)", dPercent,
                    1000 * (dCpu1 - dCpu0), bDealt ? "yes" : "NO", bTicked ? "yes" : "no"),
             Format("<= %.1f %% of a core", IDLE_GOAL_PERCENT),
             bDealt && bTicked && dCpu0 >= 0 && dPercent <= IDLE_GOAL_PERCENT);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "startup") == 0)
        return RunStartup(std::atoi(argv[2]), argv[3], argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "idle") == 0)
        return RunIdle(std::atoi(argv[2]), argv[3]);
    std::fprintf(stderr,
                 "usage: %s startup RUNS BARE_FRAME PELMANIX\n"
                 "       %s idle SECONDS PELMANIX\n",
                 argv[0], argv[0]);
    return 2;
}
