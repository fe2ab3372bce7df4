// SPDX-License-Identifier: MIT
// What a player's patience, permissions and second copy of the game can do to the two
// files: a killed save leaves each whole, as it was or as it was meant to be.

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "records/paths.h"
#include "records/ranking.h"
#include "records/settings.h"
#include "tests/temp_dir.h"

namespace {

// Exit code of body run in a child process, or 128 + the signal that ended it.
template <class Body> int InChild(Body body, int nKillAfterUs = -1) {
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    if (nKillAfterUs >= 0)
        usleep(nKillAfterUs), kill(pid, SIGKILL);
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
}

// Both files in dir, longer the larger n; their bytes afterwards.
std::pair<std::string, std::string> Save(const TempDir& dir, int n) {
    RankingTable table;
    const char szDate[RANK_DATE_SIZE] = "2001/9/9 1:46:40"; // not the clock's: saves must match
    for (int i = 0; i < n % 5 + 1; ++i)
        InsertResultDated(table, 100 * i, 26, 60, szDate);
    StoredSettings s;
    s.nLeft = n * 1001, s.nTop = -n;
    SaveRanking(table, dir.File(RANKING_FILE_NAME).c_str());
    WriteSettings(dir.File(SETTINGS_FILE_NAME).c_str(), s);
    return {ReadBytes(dir.File(RANKING_FILE_NAME)), ReadBytes(dir.File(SETTINGS_FILE_NAME))};
}

TEST(Saves, KilledSavesLeaveTheOldOrTheNewFiles) {
    TempDir dir, side;
    const auto fresh = Save(side, 123456), old = Save(dir, 1);
    std::mt19937 rng(12345);
    for (int nKill = 0; nKill < 60; ++nKill) {
        InChild(
            [&]() -> int {
                for (int i = 0;; ++i)
                    Save(dir, i % 2 ? 123456 : 1);
            },
            rng() % 3000);
        const std::string strRanking = ReadBytes(dir.File(RANKING_FILE_NAME));
        const std::string strSettings = ReadBytes(dir.File(SETTINGS_FILE_NAME));
        ASSERT_TRUE(strRanking == old.first || strRanking == fresh.first) << nKill;
        ASSERT_TRUE(strSettings == old.second || strSettings == fresh.second) << nKill;
    }
}

TEST(Saves, KeepTheModeWriteThroughLinksAndLeaveNothingElse) {
    const struct {
        mode_t nOldMode; // 0: no file yet; written under umask 022
        bool bLinked;
    } aCases[] = {{0644, false}, {0600, false}, {0444, false}, {0, false}, {0640, true}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(testing::Message() << std::oct << c.nOldMode << " linked " << c.bLinked);
        TempDir dir, elsewhere;
        const std::string strPath = dir.File(SETTINGS_FILE_NAME);
        const std::string strFile = c.bLinked ? elsewhere.File("real.ini") : strPath;
        if (c.nOldMode)
            std::ofstream(strFile) << "old";
        chmod(strFile.c_str(), c.nOldMode);
        const std::string strLink = "../" + elsewhere.Path().substr(5) + "/real.ini";
        ASSERT_TRUE(!c.bLinked || symlink(strLink.c_str(), strPath.c_str()) == 0);
        const bool bSaved = c.nOldMode != 0444; // a read-only file is the player's to keep
        EXPECT_EQ(InChild([&] { return umask(022), WriteSettings(strPath.c_str(), {}); }), bSaved);
        EXPECT_EQ(mode_t(std::filesystem::status(strFile).permissions()), c.nOldMode ?: 0644);
        EXPECT_EQ(ReadBytes(strFile) == "old", !bSaved);
        // No lock or temporary file beside it.
        EXPECT_EQ(dir.Entries(), 1);
    }
}

// A directory the player may read but not write still holds the ranking.
TEST(Saves, AReadOnlyTempIsWhereTheRankingIsRead) {
    TempDir dir;
    RankingTable table, read;
    InsertResult(table, 450, 30, 100);
    char szPath[DATA_PATH_SIZE];
    ASSERT_TRUE(SaveRanking(table, dir.File(RANKING_FILE_NAME).c_str()) &&
                chmod(dir.Path().c_str(), 0555) == 0);
    EXPECT_EQ(InChild([&] {
                  return setuid(65534), GetRankingPath(szPath, sizeof szPath) &&
                                            LoadRanking(read, szPath) && read.nCount == 1;
              }),
              1);
}

// Each save applies what its copy did since its last one to what the file holds then.
TEST(Saves, TwoCopiesEachAddTheirResultsAndClearOnlyWhatTheySaw) {
    TempDir dir;
    const std::string strFile = dir.File(RANKING_FILE_NAME);
    RankingTable a, b;
    RankingChanges changesA, changesB;
    const auto saveBoth = [&] {
        EXPECT_TRUE(changesA.Save(a, strFile.c_str()) && changesB.Save(b, strFile.c_str()));
        return std::vector<int>(b.anScore, b.anScore + b.nCount);
    };
    InsertResult(a, 450, 30, 100);
    ASSERT_TRUE(SaveRanking(a, strFile.c_str()) && LoadRanking(b, strFile.c_str()));
    changesA.Enter(a, 480, 26, 50);
    changesB.Enter(b, 480, 26, 50); // most likely in the same second: a row equal to A's
    EXPECT_EQ(saveBoth(), std::vector<int>({480, 480, 450}));
    changesA.Clear(a); // A has not seen B's 480 yet
    changesB.Enter(b, 100, 60, 50);
    EXPECT_EQ(saveBoth(), std::vector<int>({480, 100}));
}

} // namespace
