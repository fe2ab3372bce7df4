// SPDX-License-Identifier: MIT
// What a player's disk or patience can do to the two files: a failed or killed save
// leaves each file whole, as it was or as it was meant to be.

#include <csignal>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>

#include <filesystem>
#include <set>

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "records/paths.h"
#include "records/ranking.h"
#include "records/settings.h"
#include "tests/temp_dir.h"

namespace {

std::string ReadBytes(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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

TEST(Saves, FailedOrKilledSavesLeaveTheOldOrTheNewFiles) {
    TempDir dir, side;
    const Files files{dir.File(RANKING_FILE_NAME), dir.File(SETTINGS_FILE_NAME)};
    const Files other{side.File(RANKING_FILE_NAME), side.File(SETTINGS_FILE_NAME)};
    ASSERT_TRUE(other.Save(123456) && files.Save(1));
    const auto fresh = other.Now(), old = files.Now();
    // A disk that fills up before the ranking's last byte, and once more before the settings'.
    for (rlim_t nDisk : {rlim_t(RANK_FILE_SIZE - 1), rlim_t(90)}) {
        const int nResult = InChild([&] {
            const rlimit disk = {nDisk, nDisk};
            signal(SIGXFSZ, SIG_IGN);
            return setrlimit(RLIMIT_FSIZE, &disk) == 0 && files.Save(123456) ? 1 : 0;
        });
        EXPECT_EQ(nResult, 0) << nDisk; // and says so
        EXPECT_EQ(files.Now().first, old.first) << nDisk;
        EXPECT_EQ(files.Now().second, nDisk == 90 ? old.second : fresh.second) << nDisk;
        files.Save(1);
    }
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

std::set<std::string> Listing(const std::string& strDir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(strDir))
        names.insert(entry.path().filename().string());
    return names;
}

std::vector<int> ScoresIn(const std::string& strPath) {
    RankingTable table;
    LoadRanking(table, strPath.c_str());
    return std::vector<int>(table.anScore, table.anScore + table.nCount);
}

TEST(Saves, KeepTheModeWriteThroughLinksAndLeaveNothingElse) {
    const struct {
        const char* pszWhat;
        mode_t nOldMode, nUmask; // 0: no file yet
        bool bLinked, bSaved;
        mode_t nModeAfter;
    } aCases[] = {{"0644", 0644, 022, false, true, 0644},
                  {"0600", 0600, 022, false, true, 0600},
                  {"read-only", 0444, 022, false, false, 0444},
                  {"new", 0, 022, false, true, 0644},
                  {"new under umask 077", 0, 077, false, true, 0600},
                  {"linked", 0640, 022, true, true, 0640}};
    for (const auto& c : aCases) {
        TempDir dir, elsewhere;
        const std::string strPath = dir.File(SETTINGS_FILE_NAME);
        const std::string strFile = c.bLinked ? elsewhere.File("real.ini") : strPath;
        if (c.nOldMode)
            std::ofstream(strFile) << "old";
        chmod(strFile.c_str(), c.nOldMode);
        const std::string strLink = "../" + elsewhere.Path().substr(5) + "/real.ini";
        ASSERT_TRUE(!c.bLinked || symlink(strLink.c_str(), strPath.c_str()) == 0);
        EXPECT_EQ(InChild([&] { return umask(c.nUmask), WriteSettings(strPath.c_str(), {}); }),
                  c.bSaved)
            << c.pszWhat;
        struct stat st = {};
        EXPECT_EQ(lstat(strFile.c_str(), &st) == 0 ? st.st_mode & 07777 : 0, c.nModeAfter)
            << c.pszWhat;
        EXPECT_EQ(ReadBytes(strFile) == "old", !c.bSaved) << c.pszWhat;
        EXPECT_TRUE(lstat(strPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode) == c.bLinked);
        EXPECT_EQ(Listing(dir.Path()), std::set<std::string>({SETTINGS_FILE_NAME})) << c.pszWhat;
    }
}

// A directory the player may read but not write: its ranking is read, saves fail.
TEST(Saves, AReadOnlyTempIsReadAndLeftAlone) {
    TempDir dir;
    const std::string strFile = dir.File(RANKING_FILE_NAME);
    RankingTable table;
    InsertResult(table, 450, 30, 100);
    ASSERT_TRUE(SaveRanking(table, strFile.c_str()) && chmod(dir.Path().c_str(), 0555) == 0);
    const std::string strOld = ReadBytes(strFile);
    EXPECT_EQ(InChild([&] {
                  char szPath[DATA_PATH_SIZE];
                  RankingTable seen;
                  RankingChanges changes;
                  if ((geteuid() == 0 && (setgroups(0, nullptr) || setuid(65534))) ||
                      !GetRankingPath(szPath, sizeof szPath) || !LoadRanking(seen, szPath))
                      return 1;
                  changes.Enter(seen, 300, 30, 100);
                  return strFile == szPath && seen.nCount == 2 && !changes.Save(seen, szPath) ? 0
                                                                                              : 2;
              }),
              0);
    EXPECT_EQ(ReadBytes(strFile), strOld);
    EXPECT_EQ(Listing(dir.Path()), std::set<std::string>({RANKING_FILE_NAME}));
}

// Each save applies what its copy did since its last one to what the file holds then.
TEST(Saves, TwoCopiesEachAddTheirResultsAndClearOnlyWhatTheySaw) {
    TempDir dir;
    const std::string strFile = dir.File(RANKING_FILE_NAME);
    RankingTable a, b;
    RankingChanges changesA, changesB;
    InsertResult(a, 450, 30, 100);
    InsertResult(a, 300, 40, 100);
    ASSERT_TRUE(SaveRanking(a, strFile.c_str()) && LoadRanking(b, strFile.c_str()));
    changesA.Enter(a, 480, 26, 50);
    changesB.Enter(b, 470, 26, 50);
    ASSERT_TRUE(changesA.Save(a, strFile.c_str()) && changesB.Save(b, strFile.c_str()));
    EXPECT_EQ(ScoresIn(strFile), std::vector<int>({480, 470, 450, 300}));
    changesA.Clear(a); // A has not seen B's 470 yet
    changesB.Enter(b, 100, 60, 50);
    ASSERT_TRUE(changesA.Save(a, strFile.c_str()) && changesB.Save(b, strFile.c_str()));
    EXPECT_EQ(ScoresIn(strFile), std::vector<int>({470, 100}));
    EXPECT_EQ(std::vector<int>(b.anScore, b.anScore + b.nCount), ScoresIn(strFile));
}

} // namespace
