// SPDX-License-Identifier: MIT
// The game as sessions end it: by the close box, by a signal from the desktop or a
// terminal, by losing its display, on a full disk, beside a second copy of itself.

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/temp_dir.h"

namespace {

std::string ReadBytes(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Listing(const TempDir& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.insert(entry.path().filename().string());
    return names;
}

int Int32At(const std::string& str, size_t nOffset) {
    int32_t n = 0;
    std::memcpy(&n, str.data() + nOffset, 4);
    return n;
}

struct Outcome {
    std::string strOut;
    int nStatus = -1;
};

// Runs the player with the environment given ("NAME=value" each) until it says strUntil,
// then calls then with its pid, and waits for its end.
Outcome Play(std::initializer_list<const char*> env, const char* pszUntil = "",
             const std::function<void(pid_t)>& then = nullptr, rlim_t nFileLimit = RLIM_INFINITY) {
    int anPipe[2];
    if (pipe(anPipe) != 0)
        return Outcome();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(anPipe[1], 1);
        for (const char* psz : env)
            putenv(const_cast<char*>(psz));
        const rlimit limit = {nFileLimit, nFileLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
        alarm(120); // a player that hangs ends and fails the test
        execl(PLAYER_EXE, PLAYER_EXE, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(anPipe[1]);
    Outcome run;
    FILE* pOut = fdopen(anPipe[0], "r");
    for (char szLine[64]; fgets(szLine, sizeof szLine, pOut);) {
        run.strOut += szLine;
        if (then && strcmp(szLine, (std::string(pszUntil) + "\n").c_str()) == 0)
            then(pid);
    }
    fclose(pOut);
    waitpid(pid, &run.nStatus, 0);
    return run;
}

constexpr const char* RANKING = "kq320217.dat";
constexpr const char* SETTINGS = "kq207825.ini";

// Placed and drawn the same at every start, so that two sessions write the same settings.
void FixSettings(const TempDir& dir) {
    std::ofstream(dir.File(SETTINGS)) << "[POS]\nLEFT=0\nTOP=0\n[START]\nOPTION1=0\n"
                                         "OPTION2=0\nOPTION3=0\nCARDNO=1\nBACKNO=2\n";
}

// The ranking without its date stamps, which differ from run to run.
std::string WithoutDates(std::string strRanking) {
    for (size_t nRow = 0; nRow < 5 && strRanking.size() == 169; ++nRow)
        strRanking.replace(4 + 33 * nRow + 14, 19, 19, '-');
    return strRanking;
}

TEST(Session, EveryEndingKeepsTheGamesAndSignalsWriteWhatTheCloseBoxWrites) {
    TempDir dir;
    std::string strClosedRanking, strClosedSettings;
    const struct {
        const char* pszHow;
        int nSignal; // 0: the close box; SIGKILL: to the X server
    } aEndings[] = {{"close box", 0},
                    {"SIGTERM", SIGTERM},
                    {"SIGHUP", SIGHUP},
                    {"SIGINT", SIGINT},
                    {"X server killed", SIGKILL}};
    for (const auto& e : aEndings) {
        std::filesystem::remove(dir.File(RANKING));
        FixSettings(dir);
        pid_t nServer = -1;
        std::string strDisplay = std::string("DISPLAY=") + (getenv("DISPLAY") ?: "");
        if (e.nSignal == SIGKILL) { // a display of its own, told by its number
            int anFd[2];
            ASSERT_EQ(pipe(anFd), 0);
            if ((nServer = fork()) == 0) {
                execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(anFd[1]).c_str(), "-nolisten",
                       "tcp", static_cast<char*>(nullptr));
                _exit(127);
            }
            close(anFd[1]);
            char szNumber[16] = "";
            ASSERT_GT(read(anFd[0], szNumber, sizeof szNumber - 1), 0);
            close(anFd[0]);
            strDisplay = "DISPLAY=:" + std::to_string(atoi(szNumber));
        }
        const Outcome run = Play(
            {"PLAYER_GAMES=2", e.nSignal ? "PLAYER_STAY=1" : "PLAYER_CLOSE=1", strDisplay.c_str()},
            "up", [&](pid_t pid) { kill(nServer > 0 ? nServer : pid, e.nSignal); });
        if (nServer > 0)
            waitpid(nServer, nullptr, 0);
        const std::string strRanking = ReadBytes(dir.File(RANKING));
        ASSERT_EQ(strRanking.size(), 169u) << e.pszHow;
        EXPECT_EQ(Int32At(strRanking, 0), 2) << e.pszHow;
        EXPECT_EQ(Int32At(strRanking, 4 + 33 + 2), 500) << e.pszHow;
        EXPECT_EQ(Listing(dir), std::set<std::string>({RANKING, SETTINGS})) << e.pszHow;
        if (e.nSignal == SIGKILL)
            continue; // an abrupt end: what was saved in play is all there is
        EXPECT_TRUE(WIFEXITED(run.nStatus) && WEXITSTATUS(run.nStatus) == 0) << e.pszHow;
        if (!e.nSignal) {
            strClosedRanking = WithoutDates(strRanking);
            strClosedSettings = ReadBytes(dir.File(SETTINGS));
        }
        EXPECT_EQ(WithoutDates(strRanking), strClosedRanking) << e.pszHow;
        EXPECT_EQ(ReadBytes(dir.File(SETTINGS)), strClosedSettings) << e.pszHow;
    }
}

TEST(Session, AFullDiskIsToldOnceAndLeavesTheOldRankingWhole) {
    TempDir dir;
    FixSettings(dir);
    const std::string strOld(169, '\0');
    std::ofstream(dir.File(RANKING)) << strOld;
    const Outcome run = Play(
        {"PLAYER_GAMES=2", "PLAYER_STAY=1"}, "up", [](pid_t pid) { kill(pid, SIGTERM); }, 150);
    EXPECT_EQ(run.strOut, "box\nup\n");
    EXPECT_TRUE(WIFEXITED(run.nStatus) && WEXITSTATUS(run.nStatus) == 0);
    EXPECT_EQ(ReadBytes(dir.File(RANKING)), strOld);
    EXPECT_EQ(Listing(dir), std::set<std::string>({RANKING, SETTINGS}));
}

TEST(Session, TwoCopiesOnOneDirectoryEachKeepTheirGames) {
    TempDir dir;
    Outcome aRuns[2];
    std::thread copy([&] { aRuns[1] = Play({"PLAYER_GAMES=2", "PLAYER_CLOSE=1"}); });
    aRuns[0] = Play({"PLAYER_GAMES=2", "PLAYER_CLOSE=1"});
    copy.join();
    EXPECT_EQ(Int32At(ReadBytes(dir.File(RANKING)), 0), 4);
}

} // namespace
