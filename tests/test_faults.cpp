// SPDX-License-Identifier: MIT
// What a player's disk or patience can do to the two files: a failed or killed save
// leaves each file whole, as it was or as it was meant to be.

#include <csignal>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

} // namespace
