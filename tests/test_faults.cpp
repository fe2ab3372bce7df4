// What a player's disk, environment or patience can do to the two files: every failed,
// killed or doubled save leaves each file whole, as it was or as it was meant to be.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef __SANITIZE_ADDRESS__
// The sanitizer's own count; gcc ships no header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include "core/board.h"
#include "records/paths.h"
#include "records/ranking.h"
#include "records/settings.h"
#include "tests/temp_dir.h"

namespace {

std::string ReadBytes(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs pBody in a child process: its exit code, or 128 + the signal that ended it.
int InChild(const std::function<int()>& body) {
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
}

// Root may write anywhere; a player may not.
bool BecomeNobody() {
    return geteuid() != 0 ||
           (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0);
}

RankingTable TableOf(std::initializer_list<int> scores) {
    RankingTable table;
    for (int nScore : scores)
        InsertResult(table, nScore, 26 + nScore % 100, 60 + nScore);
    for (int i = 0; i < table.nCount; ++i) // dates of a fixed moment: fixed bytes
        MakeDateStampAt(1000000000 + 86400 * i, table.aszDate[i]);
    return table;
}

StoredSettings SettingsOf(int n) {
    StoredSettings s;
    s.nLeft = n * 1001 - 7;
    s.nTop = -n;
    s.bCenterWindow = static_cast<int16_t>(n % 2);
    s.nCardPattern = n % CARD_PATTERN_COUNT;
    s.nBackground = n % BACKGROUND_COUNT;
    s.nTimeIndex = n % CLOSE_TIME_COUNT;
    s.bTimeAuto = n % 3 == 0;
    return s;
}

// The two files of one player, and what each looks like whole.
struct Files {
    explicit Files(const std::string& strDir)
        : strDir(strDir), strRanking(strDir + "/" + RANKING_FILE_NAME),
          strSettings(strDir + "/" + SETTINGS_FILE_NAME) {}

    bool Save(const RankingTable& table, const StoredSettings& settings) const {
        const bool bRanking = SaveRanking(table, strRanking.c_str());
        return WriteSettings(strSettings.c_str(), settings) && bRanking;
    }
    // What a save of these values writes into a directory of its own.
    static std::pair<std::string, std::string> Image(const RankingTable& table,
                                                     const StoredSettings& settings) {
        TempDir side;
        Files files(side.Path());
        files.Save(table, settings);
        return {ReadBytes(files.strRanking), ReadBytes(files.strSettings)};
    }
    std::pair<std::string, std::string> Now() const {
        return {ReadBytes(strRanking), ReadBytes(strSettings)};
    }
    // Whatever a save leaves in the directory besides the two files and their locks.
    int Strays() const {
        int nStrays = 0;
        if (DIR* pDir = opendir(strDir.c_str())) {
            while (const dirent* pEntry = readdir(pDir)) {
                const std::string strName = pEntry->d_name;
                nStrays += strName != "." && strName != ".." && strName != RANKING_FILE_NAME &&
                           strName != SETTINGS_FILE_NAME &&
                           strName != std::string(RANKING_FILE_NAME) + ".lock" &&
                           strName != std::string(SETTINGS_FILE_NAME) + ".lock";
            }
            closedir(pDir);
        }
        return nStrays;
    }

    std::string strDir, strRanking, strSettings;
};

// Each file as one of the saves left it (the two files are saved one after the other).
::testing::AssertionResult IsWhole(const std::pair<std::string, std::string>& now,
                                   const std::vector<std::pair<std::string, std::string>>& images) {
    bool bRanking = false, bSettings = false;
    for (const auto& image : images) {
        bRanking = bRanking || now.first == image.first;
        bSettings = bSettings || now.second == image.second;
    }
    if (bRanking && bSettings)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "ranking of " << now.first.size() << " bytes" << (bRanking ? "" : " unlike any save")
           << ", settings" << (bSettings ? "" : " unlike any save") << ":\n"
           << now.second;
}

const RankingTable g_tableOld = TableOf({500, 420, 300});
const RankingTable g_tableNew = TableOf({500, 480, 420, 300});

class FailedSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(chmod(m_dir.Path().c_str(), 0711), 0); // so that nobody reaches data/
        ASSERT_EQ(mkdir(m_files.strDir.c_str(), 0755), 0);
        ASSERT_TRUE(m_files.Save(g_tableOld, SettingsOf(1)));
        m_old = m_files.Now();
        m_new = Files::Image(g_tableNew, SettingsOf(123456));
        ASSERT_NE(m_old, m_new);
    }
    // The game at exit, in a child: loads, finishes a game, saves.
    int PlayAndSave(const std::function<bool()>& setUp) const {
        return InChild([&] {
            RankingTable table;
            LoadRanking(table, m_files.strRanking.c_str());
            if (!setUp())
                return 2;
            return m_files.Save(g_tableNew, SettingsOf(123456)) ? 1 : 0;
        });
    }

    TempDir m_dir;
    Files m_files{m_dir.Path() + "/data"};
    std::pair<std::string, std::string> m_old, m_new;
};

TEST_F(FailedSave, ReadOnlyDirectoryKeepsBothFiles) {
    // The lock files open, so the save gets as far as its temporary file.
    for (const std::string& strLock : {m_files.strRanking + ".lock", m_files.strSettings + ".lock"})
        ASSERT_EQ(chmod(strLock.c_str(), 0666), 0);
    ASSERT_EQ(chmod(m_files.strDir.c_str(), 0555), 0);
    EXPECT_EQ(PlayAndSave(BecomeNobody), 0);
    ASSERT_EQ(chmod(m_files.strDir.c_str(), 0755), 0);
    EXPECT_EQ(m_files.Now(), m_old);
    EXPECT_EQ(m_files.Strays(), 0);
}

TEST_F(FailedSave, FullDiskKeepsOldOrWritesNewButNeverPart) {
    // Between the two sizes of the settings file the disk fills up halfway through a save.
    const rlim_t nBetween = (m_old.second.size() + m_new.second.size()) / 2;
    ASSERT_LT(m_old.second.size(), nBetween);
    for (rlim_t nLimit :
         {rlim_t(0), rlim_t(1), rlim_t(60), nBetween, rlim_t(168), rlim_t(169), rlim_t(4096)}) {
        ASSERT_TRUE(m_files.Save(g_tableOld, SettingsOf(1)));
        const int nResult = PlayAndSave([nLimit] {
            signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
            const rlimit limit = {nLimit, nLimit};
            return setrlimit(RLIMIT_FSIZE, &limit) == 0;
        });
        const auto now = m_files.Now();
        EXPECT_EQ(now.first, nLimit < RANK_FILE_SIZE ? m_old.first : m_new.first) << nLimit;
        EXPECT_TRUE(now.second == m_old.second || now.second == m_new.second) << nLimit;
        EXPECT_EQ(nResult, now == m_new ? 1 : 0) << nLimit; // and says which it was
        EXPECT_EQ(m_files.Strays(), 0) << nLimit;
    }
}

TEST_F(FailedSave, MissingDirectoryIsMadeAgain) {
    ASSERT_EQ(system(("rm -rf '" + m_files.strDir + "'").c_str()), 0);
    EXPECT_EQ(PlayAndSave([] { return true; }), 1);
    EXPECT_EQ(m_files.Now(), m_new);
}

TEST(InterruptedSave, KillAtAnyMomentLeavesTheOldOrTheNewFiles) {
    TempDir dir;
    const Files files(dir.Path());
    const RankingTable aTables[2] = {g_tableOld, g_tableNew};
    const StoredSettings aSettings[2] = {SettingsOf(1), SettingsOf(98765)};
    const std::vector<std::pair<std::string, std::string>> images = {
        Files::Image(aTables[0], aSettings[0]), Files::Image(aTables[1], aSettings[1])};
    // Kills fall anywhere in a cycle of two saves, however long the disk takes.
    const auto tStart = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(files.Save(aTables[i % 2], aSettings[i % 2]));
    const auto nCycleUs = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - tStart)
                              .count() /
                          2;

    const char* pszKills = getenv("PELMANIX_KILLS");
    const int nKills = pszKills ? atoi(pszKills) : 100;
    std::mt19937 rng(12345);
    int nMidSave = 0;
    for (int nKill = 0; nKill < nKills; ++nKill) {
        int anPipe[2];
        ASSERT_EQ(pipe(anPipe), 0);
        fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            close(anPipe[0]);
            for (int i = 0;; ++i) {
                files.Save(aTables[i % 2], aSettings[i % 2]);
                if (i == 0 && write(anPipe[1], "s", 1) != 1)
                    _exit(1);
            }
        }
        close(anPipe[1]);
        char c;
        ASSERT_EQ(read(anPipe[0], &c, 1), 1); // one whole save first
        close(anPipe[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % (2 * nCycleUs + 1)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        ASSERT_TRUE(IsWhole(files.Now(), images)) << "after kill " << nKill;
        const int nStrays = files.Strays();
        ASSERT_LE(nStrays, 2) << "after kill " << nKill;
        nMidSave += nStrays > 0;
    }
    std::printf("%d kills, %d of them between a temporary file's creation and its rename\n", nKills,
                nMidSave);
    // The next save clears what the killed ones left.
    ASSERT_TRUE(files.Save(aTables[0], aSettings[0]));
    EXPECT_EQ(files.Strays(), 0);
    RankingTable back;
    ASSERT_TRUE(LoadRanking(back, files.strRanking.c_str()));
    EXPECT_EQ(back.nCount, 3);
}

// Two copies of the game against the same files, as forked children.
TEST(TwoCopies, BothFinishAndTheLastClosedWins) {
    TempDir dir;
    const Files files(dir.Path());
    ASSERT_TRUE(files.Save(g_tableOld, SettingsOf(1)));
    // Both start, both finish a game; the second to close writes over the first.
    int anGo[2][2];
    pid_t aPid[2];
    for (int n = 0; n < 2; ++n) {
        ASSERT_EQ(pipe(anGo[n]), 0);
        fflush(nullptr);
        aPid[n] = fork();
        if (aPid[n] == 0) {
            RankingTable table;
            LoadRanking(table, files.strRanking.c_str());
            InsertResult(table, 450 + n, 30, 100);
            char c;
            if (read(anGo[n][0], &c, 1) != 1)
                _exit(3);
            _exit(files.Save(table, SettingsOf(10 + n)) ? 0 : 1);
        }
    }
    for (int n : {1, 0}) {
        ASSERT_EQ(write(anGo[n][1], "g", 1), 1);
        int nStatus = -1;
        waitpid(aPid[n], &nStatus, 0);
        EXPECT_EQ(nStatus, 0);
    }
    RankingTable back;
    ASSERT_TRUE(LoadRanking(back, files.strRanking.c_str()));
    EXPECT_EQ(back.nCount, 4);
    EXPECT_EQ(back.anScore[1], 450); // the copy closed last; the other's game is not kept
    EXPECT_EQ(back.anScore[2], 420);
    EXPECT_EQ(ReadBytes(files.strSettings), Files::Image(g_tableOld, SettingsOf(10)).second);

    // Saving at the same moment, again and again: each file is one copy's last save.
    const std::vector<std::pair<std::string, std::string>> images = {
        Files::Image(TableOf({100}), SettingsOf(20)), Files::Image(TableOf({200}), SettingsOf(21))};
    for (int n = 0; n < 2; ++n) {
        fflush(nullptr);
        aPid[n] = fork();
        if (aPid[n] == 0) {
            bool bOk = true;
            for (int i = 0; i < 100; ++i)
                bOk = files.Save(TableOf({100 + 100 * n}), SettingsOf(20 + n)) && bOk;
            _exit(bOk ? 0 : 1);
        }
    }
    for (pid_t pid : aPid) {
        int nStatus = -1;
        waitpid(pid, &nStatus, 0);
        EXPECT_EQ(nStatus, 0);
    }
    EXPECT_TRUE(IsWhole(files.Now(), images));
    EXPECT_EQ(files.Strays(), 0);
}

// A copy of the game stopped (^Z, a debugger) while it holds the lock of both files.
TEST(TwoCopies, AStoppedCopyHoldingTheLocksDoesNotHangTheOther) {
    TempDir dir;
    const Files files(dir.Path());
    ASSERT_TRUE(files.Save(g_tableOld, SettingsOf(1)));
    int anPipe[2];
    ASSERT_EQ(pipe(anPipe), 0);
    fflush(nullptr);
    const pid_t pidStopped = fork();
    if (pidStopped == 0) {
        for (const std::string& strFile : {files.strRanking, files.strSettings}) {
            const int nFd = open((strFile + ".lock").c_str(), O_RDWR);
            if (nFd < 0 || flock(nFd, LOCK_EX) != 0)
                _exit(1);
        }
        if (write(anPipe[1], "l", 1) != 1)
            _exit(1);
        raise(SIGSTOP);
        _exit(0);
    }
    char c;
    ASSERT_EQ(read(anPipe[0], &c, 1), 1);
    const auto tStart = std::chrono::steady_clock::now();
    const int nResult = InChild([&] {
        alarm(60); // a hang ends as a failure, not as a stuck test run
        RankingTable table;
        StoredSettings settings;
        ReadSettings(files.strSettings.c_str(), &settings);
        if (!LoadRanking(table, files.strRanking.c_str()) || table.nCount != 3 ||
            settings.nLeft != SettingsOf(1).nLeft)
            return 1;
        return files.Save(g_tableNew, SettingsOf(2)) ? 0 : 2;
    });
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - tStart).count();
    kill(pidStopped, SIGKILL);
    waitpid(pidStopped, nullptr, 0);
    std::printf("start and save beside a stopped copy: %.2f s\n", dSeconds);
    EXPECT_EQ(nResult, 0);
    EXPECT_LT(dSeconds, 10);
    EXPECT_EQ(files.Now(), Files::Image(g_tableNew, SettingsOf(2)));
}

// Every TEMP a player may have gives both files one place where a save reads back.
TEST(Environment, EveryTempGivesAPlaceThatSaves) {
    TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0711), 0);
    const std::string strState = dir.Path() + "/state", strUsable = dir.Path() + "/usable";
    const std::string strLocked = dir.Path() + "/locked";
    for (const std::string& strDir : {strState, strUsable})
        ASSERT_EQ(mkdir(strDir.c_str(), 0777) == 0 && chmod(strDir.c_str(), 0777) == 0, true);
    ASSERT_EQ(mkdir(strLocked.c_str(), 0555), 0);
    const std::string strFallback = strState + "/pelmanix";
    const std::string strLong = "/" + std::string(999, 'x'), strSlash = strUsable + "/";
    const struct {
        const char* pszTemp;
        std::string strDir;
    } aCases[] = {
        {nullptr, strFallback},         {"", strFallback},
        {"/no/such/dir", strFallback},  {strLocked.c_str(), strFallback},
        {strSlash.c_str(), strSlash},   {strLong.c_str(), strFallback},
        {strUsable.c_str(), strUsable},
    };
    for (const auto& c : aCases) {
        const std::string strTemp = c.pszTemp ? c.pszTemp : "(unset)";
        const int nResult = InChild([&] {
            if (!BecomeNobody())
                return 10;
            c.pszTemp ? setenv("TEMP", c.pszTemp, 1) : unsetenv("TEMP");
            setenv("XDG_STATE_HOME", strState.c_str(), 1);
            char szRanking[DATA_PATH_SIZE], szSettings[DATA_PATH_SIZE];
            if (!GetRankingPath(szRanking, sizeof szRanking) ||
                !GetSettingsPath(szSettings, sizeof szSettings))
                return 11;
            if (c.strDir + "/" + RANKING_FILE_NAME != szRanking ||
                c.strDir + "/" + SETTINGS_FILE_NAME != szSettings)
                return 12;
            const Files files(c.strDir);
            if (!files.Save(g_tableNew, SettingsOf(7)))
                return 13;
            RankingTable back;
            StoredSettings settings;
            ReadSettings(szSettings, &settings);
            if (!LoadRanking(back, szRanking) || back.anScore[1] != 480 || settings.nLeft != 7000)
                return 14;
            return 0;
        });
        EXPECT_EQ(nResult, 0) << "TEMP " << strTemp;
    }
}

// Resident memory of this process in KiB, and the bytes the allocator has handed out.
long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long nPages = 0, nResident = 0;
    statm >> nPages >> nResident;
    return nResident * sysconf(_SC_PAGESIZE) / 1024;
}

size_t AllocatedBytes() {
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

TEST(LongPlay, ThousandDealsInARowDoNotGrowMemory) {
    CGameBoard board;
    for (int i = 0; i < 10; ++i)
        board.NewDeal();
    const long nResidentBefore = ResidentKb();
    const size_t nAllocatedBefore = AllocatedBytes();
    for (int i = 0; i < 1000; ++i)
        board.NewDeal();
    const long nGrowthKb = ResidentKb() - nResidentBefore;
    std::printf("1000 deals: resident %ld KiB -> %+ld KiB, allocated %zu -> %zu bytes\n",
                nResidentBefore, nGrowthKb, nAllocatedBefore, AllocatedBytes());
    EXPECT_EQ(AllocatedBytes(), nAllocatedBefore);
#ifndef __SANITIZE_ADDRESS__ // the sanitizer holds freed blocks back on purpose
    EXPECT_LE(nGrowthKb, 64);
#endif
}

} // namespace
