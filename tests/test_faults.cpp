// SPDX-License-Identifier: MIT
// What a player's patience, permissions and second copy of the game can do to the two
// files: a killed save leaves each whole, as it was or as it was meant to be.

#include <csignal>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>

#include <filesystem>

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

struct Files {
    std::string strRanking, strSettings;
    bool Save(int n) const { // larger n, longer files
        RankingTable table;
        for (int i = 0; i < n % 5 + 1; ++i)
            InsertResult(table, 100 * i, 26, 60);
        for (int i = 0; i < table.nCount; ++i) // a fixed moment: fixed bytes
            MakeDateStampAt(1000000000, table.aszDate[i]);
        StoredSettings s;
        s.nLeft = n * 1001, s.nTop = -n;
        const bool bRanking = SaveRanking(table, strRanking.c_str());
        return WriteSettings(strSettings.c_str(), s) && bRanking;
    }
    std::pair<std::string, std::string> Now() const {
        return {ReadBytes(strRanking), ReadBytes(strSettings)};
    }
};

TEST(Saves, KilledSavesLeaveTheOldOrTheNewFiles) {
    TempDir dir, side;
    const Files files{dir.File(RANKING_FILE_NAME), dir.File(SETTINGS_FILE_NAME)};
    const Files other{side.File(RANKING_FILE_NAME), side.File(SETTINGS_FILE_NAME)};
    ASSERT_TRUE(other.Save(123456) && files.Save(1));
    const auto fresh = other.Now(), old = files.Now();
    std::mt19937 rng(12345);
    for (int nKill = 0; nKill < 60; ++nKill) {
        InChild(
            [&]() -> int {
                for (int i = 0;; ++i)
                    files.Save(i % 2 ? 123456 : 1);
            },
            rng() % 3000);
        const auto now = files.Now();
        ASSERT_TRUE(now.first == old.first || now.first == fresh.first) << nKill;
        ASSERT_TRUE(now.second == old.second || now.second == fresh.second) << nKill;
    }
}

std::vector<int> ScoresIn(const std::string& strPath) {
    RankingTable table;
    LoadRanking(table, strPath.c_str());
    return std::vector<int>(table.anScore, table.anScore + table.nCount);
}

TEST(Saves, KeepTheModeWriteThroughLinksAndLeaveNothingElse) {
    const struct {
        const char* pszWhat;
        mode_t nOldMode; // 0: no file yet
        bool bLinked, bSaved;
        mode_t nModeAfter;
    } aCases[] = {{"0644", 0644, false, true, 0644},
                  {"0600", 0600, false, true, 0600},
                  {"read-only", 0444, false, false, 0444},
                  {"new under umask 022", 0, false, true, 0644},
                  {"linked", 0640, true, true, 0640}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszWhat);
        TempDir dir, elsewhere;
        const std::string strPath = dir.File(SETTINGS_FILE_NAME);
        const std::string strFile = c.bLinked ? elsewhere.File("real.ini") : strPath;
        if (c.nOldMode)
            std::ofstream(strFile) << "old";
        chmod(strFile.c_str(), c.nOldMode);
        const std::string strLink = "../" + elsewhere.Path().substr(5) + "/real.ini";
        ASSERT_TRUE(!c.bLinked || symlink(strLink.c_str(), strPath.c_str()) == 0);
        EXPECT_EQ(InChild([&] { return umask(022), WriteSettings(strPath.c_str(), {}); }),
                  c.bSaved);
        EXPECT_EQ(mode_t(std::filesystem::status(strFile).permissions()), c.nModeAfter);
        EXPECT_EQ(ReadBytes(strFile) == "old", !c.bSaved);
        // No lock or temporary file beside it.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
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
    InsertResult(a, 450, 30, 100);
    ASSERT_TRUE(SaveRanking(a, strFile.c_str()) && LoadRanking(b, strFile.c_str()));
    changesA.Enter(a, 480, 26, 50);
    changesB.Enter(b, 470, 26, 50);
    ASSERT_TRUE(changesA.Save(a, strFile.c_str()) && changesB.Save(b, strFile.c_str()));
    EXPECT_EQ(ScoresIn(strFile), std::vector<int>({480, 470, 450}));
    changesA.Clear(a); // A has not seen B's 470 yet
    changesB.Enter(b, 100, 60, 50);
    ASSERT_TRUE(changesA.Save(a, strFile.c_str()) && changesB.Save(b, strFile.c_str()));
    EXPECT_EQ(ScoresIn(strFile), std::vector<int>({470, 100}));
}

} // namespace
