// What a player's disk, environment or patience can do to the two files: every failed,
// killed or doubled save leaves each file whole, as it was or as it was meant to be.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>

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

// Runs body in a child process; Reap gives its exit code, or 128 + the signal that ended it.
pid_t Spawn(const std::function<int()>& body) {
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        abort(); // never hand -1 to kill()
    if (pid == 0)
        _exit(body());
    return pid;
}

int Reap(pid_t pid) {
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
}

double Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
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

// Larger n, longer numbers: a longer file.
StoredSettings SettingsOf(int n) {
    StoredSettings s;
    s.nLeft = n * 1001 - 7, s.nTop = -n, s.nTimeIndex = n % CLOSE_TIME_COUNT;
    return s;
}

// The bytes of the ranking and of the settings file.
using Image = std::pair<std::string, std::string>;

// The two files of one player.
struct Files {
    explicit Files(const std::string& strDir)
        : strDir(strDir), strRanking(strDir + "/" + RANKING_FILE_NAME),
          strSettings(strDir + "/" + SETTINGS_FILE_NAME) {}

    bool Save(const RankingTable& table, const StoredSettings& settings) const {
        const bool bRanking = SaveRanking(table, strRanking.c_str());
        return WriteSettings(strSettings.c_str(), settings) && bRanking;
    }
    // What a save of these values writes into a directory of its own.
    static Image ImageOf(const RankingTable& table, const StoredSettings& settings) {
        TempDir side;
        Files files(side.Path());
        files.Save(table, settings);
        return files.Now();
    }
    Image Now() const { return {ReadBytes(strRanking), ReadBytes(strSettings)}; }
    // Entries besides ".", "..", the two files and their two lock files.
    int Strays() const {
        int nStrays = -6;
        DIR* pDir = opendir(strDir.c_str());
        while (pDir && readdir(pDir))
            ++nStrays;
        if (pDir)
            closedir(pDir);
        return nStrays;
    }

    std::string strDir, strRanking, strSettings;
};

// Each file as one of two saves left it (the two files are saved one after the other).
bool IsWhole(const Image& now, const Image& a, const Image& b) {
    return (now.first == a.first || now.first == b.first) &&
           (now.second == a.second || now.second == b.second);
}

const RankingTable g_tableOld = TableOf({500, 420, 300});
const RankingTable g_tableNew = TableOf({500, 480, 420, 300});

// The save at exit, in a child process set up as each case says, over a save of old values.
TEST(FailedSave, EachFileStaysOldOrBecomesNewButNeverPart) {
    TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0711), 0); // so that nobody reaches data/
    const Files files(dir.Path() + "/data");
    const Image old = Files::ImageOf(g_tableOld, SettingsOf(1));
    const Image fresh = Files::ImageOf(g_tableNew, SettingsOf(123456));
    ASSERT_TRUE(old.second.size() + 1 < fresh.second.size() &&
                fresh.second.size() < RANK_FILE_SIZE);
    // A file-size limit fills the disk partway through a save.
    const struct {
        const char* pszWhat;
        mode_t nDirMode; // 0: no directory
        bool bNobody;
        rlim_t nDisk;
        bool bNewRanking, bNewSettings;
    } aCases[] = {
        {"read-only directory", 0555, true, RLIM_INFINITY, false, false},
        {"missing directory", 0, false, RLIM_INFINITY, true, true},
        {"disk full halfway through the settings", 0755, false,
         (old.second.size() + fresh.second.size()) / 2, false, false},
        {"disk full at the ranking's last byte", 0755, false, RANK_FILE_SIZE - 1, false, true},
        {"disk with just room", 0755, false, RANK_FILE_SIZE, true, true},
    };
    for (const auto& c : aCases) {
        ASSERT_EQ(system(("rm -rf '" + files.strDir + "'").c_str()), 0);
        if (c.nDirMode) {
            ASSERT_TRUE(mkdir(files.strDir.c_str(), 0755) == 0 &&
                        files.Save(g_tableOld, SettingsOf(1)));
            // The lock files open for anyone, so the save gets as far as its temporary file.
            for (const std::string& strFile : {files.strRanking, files.strSettings})
                ASSERT_EQ(chmod((strFile + ".lock").c_str(), 0666), 0);
            ASSERT_EQ(chmod(files.strDir.c_str(), c.nDirMode), 0);
        }
        const int nResult = Reap(Spawn([&] {
            const rlimit disk = {c.nDisk, c.nDisk};
            signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
            if ((c.bNobody && !BecomeNobody()) || setrlimit(RLIMIT_FSIZE, &disk) != 0)
                return 2;
            return files.Save(g_tableNew, SettingsOf(123456)) ? 1 : 0;
        }));
        chmod(files.strDir.c_str(), 0755);
        EXPECT_EQ(files.Now().first, c.bNewRanking ? fresh.first : old.first) << c.pszWhat;
        EXPECT_EQ(files.Now().second, c.bNewSettings ? fresh.second : old.second) << c.pszWhat;
        EXPECT_EQ(nResult, c.bNewRanking && c.bNewSettings) << c.pszWhat; // and says which
        EXPECT_EQ(files.Strays(), 0) << c.pszWhat;
    }
}

TEST(InterruptedSave, KillAtAnyMomentLeavesTheOldOrTheNewFiles) {
    TempDir dir;
    const Files files(dir.Path());
    const RankingTable aTables[2] = {g_tableOld, g_tableNew};
    const StoredSettings aSettings[2] = {SettingsOf(1), SettingsOf(98765)};
    const Image image0 = Files::ImageOf(aTables[0], aSettings[0]);
    const Image image1 = Files::ImageOf(aTables[1], aSettings[1]);
    // Kills fall anywhere in a cycle of two saves, however long the disk takes.
    const double dStart = Seconds();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(files.Save(aTables[i % 2], aSettings[i % 2]));
    const unsigned nCycleUs = static_cast<unsigned>((Seconds() - dStart) / 2 * 1e6);

    const char* pszKills = getenv("PELMANIX_KILLS");
    const int nKills = pszKills ? atoi(pszKills) : 100;
    std::mt19937 rng(12345);
    int nMidSave = 0;
    for (int nKill = 0; nKill < nKills; ++nKill) {
        const pid_t pid = Spawn([&] {
            for (int i = 0;; ++i)
                if (!files.Save(aTables[i % 2], aSettings[i % 2]) || (i == 0 && raise(SIGSTOP)))
                    return 1;
        });
        int nStatus = 0; // stopped after one whole save, then let go
        ASSERT_TRUE(waitpid(pid, &nStatus, WUNTRACED) == pid && WIFSTOPPED(nStatus));
        kill(pid, SIGCONT);
        usleep(rng() % (2 * nCycleUs + 1));
        kill(pid, SIGKILL);
        ASSERT_EQ(Reap(pid), 128 + SIGKILL);
        ASSERT_TRUE(IsWhole(files.Now(), image0, image1)) << "after kill " << nKill;
        const int nStrays = files.Strays();
        ASSERT_LE(nStrays, 2) << "after kill " << nKill; // a temporary file of each at most
        nMidSave += nStrays > 0;
    }
    std::printf("%d kills, %d of them between a temporary file's creation and its rename\n", nKills,
                nMidSave);
    // The next save clears what the killed ones left.
    ASSERT_TRUE(files.Save(aTables[0], aSettings[0]));
    EXPECT_EQ(files.Strays(), 0);
    EXPECT_EQ(files.Now(), image0);
}

TEST(TwoCopies, BothFinishAndTheLastClosedWins) {
    TempDir dir;
    const Files files(dir.Path());
    ASSERT_TRUE(files.Save(g_tableOld, SettingsOf(1)));
    // Both start and finish a game; the one closed last writes over the other's save.
    RankingTable aCopies[2];
    for (int n : {0, 1}) {
        ASSERT_TRUE(LoadRanking(aCopies[n], files.strRanking.c_str()));
        InsertResult(aCopies[n], 450 + n, 30, 100);
    }
    ASSERT_TRUE(files.Save(aCopies[1], SettingsOf(11)) && files.Save(aCopies[0], SettingsOf(10)));
    EXPECT_EQ(files.Now(), Files::ImageOf(aCopies[0], SettingsOf(10)));

    // Saving at the same moment, again and again: both succeed, each file is one's last save.
    pid_t aPids[2];
    for (int n : {0, 1})
        aPids[n] = Spawn([&] {
            bool bOk = true;
            for (int i = 0; i < 100; ++i)
                bOk = files.Save(TableOf({100 + 100 * n}), SettingsOf(20 + n)) && bOk;
            return bOk ? 0 : 1;
        });
    EXPECT_TRUE(Reap(aPids[0]) == 0 && Reap(aPids[1]) == 0);
    EXPECT_TRUE(IsWhole(files.Now(), Files::ImageOf(TableOf({100}), SettingsOf(20)),
                        Files::ImageOf(TableOf({200}), SettingsOf(21))));
    EXPECT_EQ(files.Strays(), 0);
}

// A copy of the game stopped (^Z, a debugger) while it holds the lock of both files.
TEST(TwoCopies, AStoppedCopyHoldingTheLocksDoesNotHangTheOther) {
    TempDir dir;
    const Files files(dir.Path());
    ASSERT_TRUE(files.Save(g_tableOld, SettingsOf(1)));
    const pid_t pidStopped = Spawn([&] {
        for (const std::string& strFile : {files.strRanking, files.strSettings}) {
            const int nFd = open((strFile + ".lock").c_str(), O_RDWR);
            if (nFd < 0 || flock(nFd, LOCK_EX) != 0)
                return 1;
        }
        return raise(SIGSTOP);
    });
    int nStatus = 0;
    ASSERT_TRUE(waitpid(pidStopped, &nStatus, WUNTRACED) == pidStopped && WIFSTOPPED(nStatus));
    const int nResult = Reap(Spawn([&] {
        alarm(10); // a copy that waits this long hangs: SIGALRM ends it, and the test fails
        RankingTable table; // the start reads, the exit saves
        if (!LoadRanking(table, files.strRanking.c_str()) || table.nCount != 3)
            return 1;
        return files.Save(g_tableNew, SettingsOf(2)) ? 0 : 2;
    }));
    kill(pidStopped, SIGKILL);
    Reap(pidStopped);
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(files.Now(), Files::ImageOf(g_tableNew, SettingsOf(2)));
}

// A TEMP the player may not write to gives way to the state directory, made private on the
// first save.
TEST(Environment, UnwritableTempGivesWayToThePrivateStateDirectory) {
    TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0711), 0);
    const std::string strState = dir.Path() + "/state", strLocked = dir.Path() + "/locked";
    ASSERT_TRUE(mkdir(strState.c_str(), 0777) == 0 && chmod(strState.c_str(), 0777) == 0);
    ASSERT_EQ(mkdir(strLocked.c_str(), 0555), 0);
    const Files files(strState + "/pelmanix");
    const int nResult = Reap(Spawn([&] {
        setenv("TEMP", strLocked.c_str(), 1);
        setenv("XDG_STATE_HOME", strState.c_str(), 1);
        char szRanking[DATA_PATH_SIZE], szSettings[DATA_PATH_SIZE];
        const bool bSaved = BecomeNobody() && GetRankingPath(szRanking, sizeof szRanking) &&
                            GetSettingsPath(szSettings, sizeof szSettings) &&
                            SaveRanking(g_tableNew, szRanking) &&
                            WriteSettings(szSettings, SettingsOf(7));
        return bSaved ? 0 : 1;
    }));
    EXPECT_EQ(nResult, 0);
    EXPECT_EQ(files.Now(), Files::ImageOf(g_tableNew, SettingsOf(7)));
    struct stat st;
    ASSERT_EQ(stat(files.strDir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
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
    ResidentKb(); // the first read of /proc brings in pages of its own (64 KiB)
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
