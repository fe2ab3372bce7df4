// SPDX-License-Identifier: MIT
// The game as sessions end it: by the close box, by a signal from the desktop or a
// terminal, by losing its display, on a full disk, beside a second copy of itself.

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/temp_dir.h"

namespace {

constexpr const char* RANKING = "kq320217.dat";
constexpr const char* SETTINGS = "kq207825.ini";

// Runs the game's player with the environment given ("NAME=value" each) and then(pid,
// line) on each line it prints. Returns what it printed and how it ended.
std::pair<std::string, int> Spawn(
    std::vector<std::string> env, const char* pszLimit = nullptr,
    const std::function<void(pid_t, const char*)>& then = [](pid_t, const char*) {}) {
    int anPipe[2];
    EXPECT_EQ(pipe(anPipe), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(anPipe[1], 1);
        for (const std::string& str : env)
            putenv(strdup(str.c_str()));
        alarm(120); // a program that hangs ends and fails the test
        pszLimit ? execlp("prlimit", "prlimit", pszLimit, PLAYER_EXE, nullptr)
                 : execl(PLAYER_EXE, PLAYER_EXE, nullptr);
        _exit(127);
    }
    close(anPipe[1]);
    std::pair<std::string, int> result;
    FILE* pOut = fdopen(anPipe[0], "r");
    for (char szLine[64]; fgets(szLine, sizeof szLine, pOut);)
        result.first += szLine, then(pid, szLine);
    fclose(pOut);
    waitpid(pid, &result.second, 0);
    return result;
}

// Placed and drawn the same at every start, so that two sessions write the same settings;
// nothing else but the two files in dir afterwards.
void FixSettings(const TempDir& dir) {
    std::ofstream(dir.File(SETTINGS)) << "[START]\nOPTION1=0\nOPTION2=0\nOPTION3=0\n";
}
// The ranking without its date stamps, which differ from run to run.
std::string WithoutDates(std::string strRanking) {
    for (size_t nRow = 0; nRow < 5 && strRanking.size() == 169; ++nRow)
        strRanking.replace(4 + 33 * nRow + 14, 19, 19, '-');
    return strRanking;
}

TEST(Session, EveryEndingKeepsTheGamesAndSignalsWriteWhatTheCloseBoxWrites) {
    TempDir dir;
    std::string strClosed[2];
    // 0: the close box; SIGKILL: sent to the X server, with a display of its own.
    for (int nSignal : {0, SIGTERM, SIGHUP, SIGINT, SIGKILL}) {
        std::filesystem::remove(dir.File(RANKING));
        FixSettings(dir);
        pid_t nServer = -1;
        std::string strDisplay = std::string("DISPLAY=") + (getenv("DISPLAY") ?: "");
        if (nSignal == SIGKILL) {
            int anFd[2];
            ASSERT_EQ(pipe(anFd), 0);
            if ((nServer = fork()) == 0)
                execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(anFd[1]).c_str(), "-nolisten",
                       "tcp", static_cast<char*>(nullptr)),
                    _exit(127);
            char szNumber[16] = "";
            ASSERT_GT(read(anFd[0], szNumber, sizeof szNumber - 1), 0);
            strDisplay = "DISPLAY=:" + std::to_string(atoi(szNumber));
        }
        const auto run = Spawn({"PLAYER_GAMES=2", nSignal ? "PLAYER_STAY=1" : "", strDisplay},
                               nullptr, [&](pid_t pid, const char* pszLine) {
                                   if (nSignal && strcmp(pszLine, "up\n") == 0)
                                       kill(nServer > 0 ? nServer : pid, nSignal);
                               });
        if (nServer > 0)
            waitpid(nServer, nullptr, 0);
        const std::string strRanking = ReadBytes(dir.File(RANKING));
        EXPECT_EQ(strRanking[0], 2) << nSignal; // both games, in the count's low byte
        EXPECT_EQ(dir.Entries(), 2) << nSignal;
        if (nSignal == SIGKILL)
            continue; // an abrupt end: what was saved in play is all there is
        EXPECT_EQ(run.second, 0) << nSignal; // exited, with status 0
        if (!nSignal)
            strClosed[0] = WithoutDates(strRanking), strClosed[1] = ReadBytes(dir.File(SETTINGS));
        EXPECT_EQ(WithoutDates(strRanking), strClosed[0]) << nSignal;
        EXPECT_EQ(ReadBytes(dir.File(SETTINGS)), strClosed[1]) << nSignal;
    }
}

// A file-size limit smaller than either file: the disk is full whenever the game saves.
TEST(Session, AFullDiskIsToldOnceAndLeavesTheOldFilesWhole) {
    TempDir dir;
    FixSettings(dir);
    const std::string strOld(169, '\0'), strOldSettings = ReadBytes(dir.File(SETTINGS));
    std::ofstream(dir.File(RANKING)) << strOld;
    const auto run = Spawn(
        {"PLAYER_GAMES=2", "PLAYER_STAY=1"}, "--fsize=90",
        [](pid_t pid, const char* pszLine) { strcmp(pszLine, "up\n") || kill(pid, SIGTERM); });
    EXPECT_EQ(run.first, "box\nup\n");
    EXPECT_EQ(run.second, 0);
    EXPECT_EQ(ReadBytes(dir.File(RANKING)), strOld);
    EXPECT_EQ(ReadBytes(dir.File(SETTINGS)), strOldSettings);
    EXPECT_EQ(dir.Entries(), 2);
}

TEST(Session, TwoCopiesOnOneDirectoryEachKeepTheirGames) {
    TempDir dir;
    std::thread copy([] { Spawn({"PLAYER_GAMES=2"}); });
    Spawn({"PLAYER_GAMES=2"});
    copy.join();
    EXPECT_EQ(ReadBytes(dir.File(RANKING))[0], 4);
}

} // namespace
