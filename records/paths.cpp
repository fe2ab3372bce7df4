#include "records/paths.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsDirectory(const char* pszPath) {
    struct stat st;
    return stat(pszPath, &st) == 0 && S_ISDIR(st.st_mode);
}

bool CopyIfFits(const std::string& strPath, char* pszPath, size_t nSize) {
    if (strPath.size() >= nSize)
        return false;
    memcpy(pszPath, strPath.c_str(), strPath.size() + 1);
    return true;
}

std::string HomeDirectory() {
    const char* pszHome = getenv("HOME");
    if (pszHome && *pszHome)
        return pszHome;
    long nBuf = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(nBuf > 0 ? static_cast<size_t>(nBuf) : 16384);
    struct passwd pw;
    struct passwd* pResult = nullptr;
    if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &pResult) != 0 || !pResult ||
        !pResult->pw_dir || !*pResult->pw_dir)
        return std::string();
    return pResult->pw_dir;
}

// XDG only allows an absolute XDG_STATE_HOME; a relative one is ignored.
std::string StateDirectory() {
    const char* pszState = getenv("XDG_STATE_HOME");
    if (pszState && pszState[0] == '/')
        return std::string(pszState) + "/pelmanix";
    std::string strHome = HomeDirectory();
    if (strHome.empty())
        return strHome;
    return strHome + "/.local/state/pelmanix";
}

std::string DirectoryOf(const char* pszPath) {
    std::string strDir(pszPath);
    size_t nSlash = strDir.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    strDir.resize(nSlash);
    return strDir.empty() ? "/" : strDir;
}

// How long a save waits for another copy of the game to be done with a file. A save takes
// milliseconds; a copy holding the lock for longer is stopped or hung, and waiting for it
// would hang this one as well.
constexpr int LOCK_WAIT_MS = 1000;
constexpr int LOCK_BUSY = -2;

// The lock lives in a file of its own: the data file is replaced by rename, so a lock
// on it would be on an inode that is about to vanish. Returns the lock's descriptor,
// LOCK_BUSY when another holder kept it for nWaitMs, or -1 when there is no lock to take.
int TakeLock(const char* pszPath, int nOperation, int nWaitMs) {
    std::string strLock = std::string(pszPath) + ".lock";
    int nFd = open(strLock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (nFd < 0 && nOperation == LOCK_SH)
        nFd = open(strLock.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (nFd < 0)
        return -1;
    const auto tGiveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(nWaitMs);
    while (flock(nFd, nOperation | LOCK_NB) != 0) {
        const int nError = errno;
        if (nError == EINTR)
            continue;
        if (nError != EWOULDBLOCK || std::chrono::steady_clock::now() >= tGiveUp) {
            close(nFd);
            return nError == EWOULDBLOCK ? LOCK_BUSY : -1;
        }
        usleep(5000);
    }
    return nFd;
}

// A temporary file's name: the data file's, this, and mkostemp's six characters.
constexpr const char* TEMP_INFIX = ".tmp-";
constexpr size_t TEMP_RANDOM_CHARS = 6;

// Called under the exclusive lock, when no save of ours is under way: a temporary file
// still there was left by a save killed before its rename.
void RemoveLeftovers(const char* pszPath) {
    const char* pszSlash = strrchr(pszPath, '/');
    const std::string strPrefix = std::string(pszSlash ? pszSlash + 1 : pszPath) + TEMP_INFIX;
    DIR* pDir = opendir(DirectoryOf(pszPath).c_str());
    if (!pDir)
        return;
    while (const dirent* pEntry = readdir(pDir)) {
        if (strncmp(pEntry->d_name, strPrefix.c_str(), strPrefix.size()) == 0 &&
            strlen(pEntry->d_name) == strPrefix.size() + TEMP_RANDOM_CHARS)
            unlinkat(dirfd(pDir), pEntry->d_name, 0);
    }
    closedir(pDir);
}

bool WriteAll(int nFd, const unsigned char* pData, size_t nSize) {
    while (nSize > 0) {
        ssize_t nDone = write(nFd, pData, nSize);
        if (nDone < 0 && errno == EINTR)
            continue;
        if (nDone <= 0)
            return false;
        pData += nDone;
        nSize -= static_cast<size_t>(nDone);
    }
    return true;
}

bool WriteSyncClose(int nFd, const void* pData, size_t nSize) {
    bool bOk = WriteAll(nFd, static_cast<const unsigned char*>(pData), nSize);
    bOk = bOk && fsync(nFd) == 0;
    // Linux closes the descriptor even when close reports an error: never retry it.
    return close(nFd) == 0 && bOk;
}

} // namespace

bool GetDataFilePath(const char* pszFileName, char* pszPath, size_t nSize) {
    if (!pszPath || nSize == 0)
        return false;
    pszPath[0] = '\0';
    if (!pszFileName)
        return false;
    const char* pszTemp = getenv("TEMP");
    // A TEMP we may not write to would lose every result at exit: the state directory
    // keeps them instead.
    if (pszTemp && *pszTemp && IsDirectory(pszTemp) && access(pszTemp, W_OK | X_OK) == 0 &&
        CopyIfFits(std::string(pszTemp) + "/" + pszFileName, pszPath, nSize))
        return true;
    std::string strState = StateDirectory();
    return !strState.empty() && CopyIfFits(strState + "/" + pszFileName, pszPath, nSize);
}

// Creates the directory of pszPath and its parents (mode 0700); true when it exists.
static bool EnsureParentDirectory(const char* pszPath) {
    if (!pszPath || !*pszPath)
        return false;
    std::string strDir = DirectoryOf(pszPath);
    for (size_t i = 1; i <= strDir.size(); ++i) {
        if (i < strDir.size() && strDir[i] != '/')
            continue;
        std::string strPart = strDir.substr(0, i);
        // An existing directory may still refuse mkdir (read-only mounts): only the end
        // result counts.
        if (mkdir(strPart.c_str(), 0700) != 0 && errno != EEXIST && !IsDirectory(strPart.c_str()))
            return false;
    }
    return IsDirectory(strDir.c_str());
}

bool ReplaceFileAtomically(const char* pszPath, const void* pData, size_t nSize) {
    if (!pszPath || !*pszPath || (!pData && nSize > 0))
        return false;
    if (!EnsureParentDirectory(pszPath))
        return false;
    const int nLockFd = TakeLock(pszPath, LOCK_EX, LOCK_WAIT_MS);
    if (nLockFd == -1)
        return false;
    // Without the lock the save still replaces the file whole, by rename; only the
    // leftovers stay, as one of them may be the holder's own file in the making.
    if (nLockFd >= 0)
        RemoveLeftovers(pszPath);
    std::string strTemp = std::string(pszPath) + TEMP_INFIX + "XXXXXX";
    int nFd = mkostemp(&strTemp[0], O_CLOEXEC);
    bool bOk =
        nFd >= 0 && WriteSyncClose(nFd, pData, nSize) && rename(strTemp.c_str(), pszPath) == 0;
    if (nFd >= 0 && !bOk)
        unlink(strTemp.c_str());
    if (bOk) {
        // The rename is done; a directory that cannot be synced still holds the new file.
        int nDirFd = open(DirectoryOf(pszPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (nDirFd >= 0) {
            fsync(nDirFd);
            close(nDirFd);
        }
    }
    if (nLockFd >= 0)
        close(nLockFd);
    return bOk;
}

SharedReadFile::SharedReadFile(const char* pszPath) {
    // No lock file is left behind for a file that is not there.
    if (!pszPath || !*pszPath || access(pszPath, F_OK) != 0)
        return;
    // Reading without the lock beats not reading: a directory we may not write to
    // cannot hold a lock file, but then no save of ours can run there either. Nor does a
    // reader wait for a save: saves replace the file by rename, so it still reads a whole one.
    m_nLockFd = TakeLock(pszPath, LOCK_SH, 0);
    // O_NONBLOCK so that a FIFO in the file's place cannot hang the start-up.
    m_nFd = open(pszPath, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat st;
    if (m_nFd >= 0 && (fstat(m_nFd, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(m_nFd);
        m_nFd = -1;
    }
}

SharedReadFile::~SharedReadFile() {
    if (m_nFd >= 0)
        close(m_nFd);
    if (m_nLockFd >= 0)
        close(m_nLockFd);
}

size_t SharedReadFile::Read(void* pData, size_t nSize) {
    size_t nDone = 0;
    while (m_nFd >= 0 && nDone < nSize) {
        ssize_t nRead = read(m_nFd, static_cast<char*>(pData) + nDone, nSize - nDone);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead <= 0)
            break;
        nDone += static_cast<size_t>(nRead);
    }
    return nDone;
}
