// SPDX-License-Identifier: MIT
#include "records/paths.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
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

// The lock is on the directory: the data file is replaced by rename, so a lock on it would
// be on an inode about to vanish, and a lock file of its own would be left behind. Returns
// the directory's descriptor, or -1 when it cannot be opened or the holder kept it too long;
// the save then goes on without it.
int LockDirectory(const std::string& strDir) {
    const int nFd = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFd < 0)
        return -1;
    const auto tGiveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(LOCK_WAIT_MS);
    while (flock(nFd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= tGiveUp) {
            close(nFd);
            return -1;
        }
        usleep(5000);
    }
    return nFd;
}

// A temporary file's name: the data file's, this, and six random characters.
constexpr const char* TEMP_INFIX = ".tmp-";
constexpr size_t TEMP_RANDOM_CHARS = 6;

// Called under the lock, when no save of ours is under way: a temporary file still there
// was left by a save killed before its rename.
void RemoveLeftovers(const std::string& strPath) {
    const size_t nSlash = strPath.rfind('/');
    const std::string strPrefix =
        (nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1)) + TEMP_INFIX;
    DIR* pDir = opendir(DirectoryOf(strPath.c_str()).c_str());
    if (!pDir)
        return;
    while (const dirent* pEntry = readdir(pDir)) {
        if (strncmp(pEntry->d_name, strPrefix.c_str(), strPrefix.size()) == 0 &&
            strlen(pEntry->d_name) == strPrefix.size() + TEMP_RANDOM_CHARS)
            unlinkat(dirfd(pDir), pEntry->d_name, 0);
    }
    closedir(pDir);
}

// Created with mode 0666 so that the umask (and a default ACL) apply as to any new file.
int CreateTempFile(const std::string& strPath, std::string* pstrTemp) {
    static const char s_szChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 s_rng(std::random_device{}() ^ static_cast<unsigned>(getpid()));
    for (int nTry = 0; nTry < 100; ++nTry) {
        *pstrTemp = strPath + TEMP_INFIX;
        for (size_t i = 0; i < TEMP_RANDOM_CHARS; ++i)
            *pstrTemp += s_szChars[s_rng() % (sizeof s_szChars - 1)];
        const int nFd = open(pstrTemp->c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0666);
        if (nFd >= 0 || errno != EEXIST)
            return nFd;
    }
    return -1;
}

// Where a save writes: the end of the chain of symbolic links, which need not exist yet.
bool FollowLinks(const std::string& strPath, std::string* pstrTarget) {
    std::string strNow = strPath;
    for (int nHops = 0; nHops < 40; ++nHops) {
        char szLink[DATA_PATH_SIZE];
        const ssize_t nLen = readlink(strNow.c_str(), szLink, sizeof szLink);
        if (nLen < 0 && (errno == EINVAL || errno == ENOENT)) {
            *pstrTarget = strNow;
            return true;
        }
        if (nLen < 0)
            return false;
        if (static_cast<size_t>(nLen) >= sizeof szLink) {
            errno = ENAMETOOLONG;
            return false;
        }
        const std::string strLink(szLink, static_cast<size_t>(nLen));
        strNow = strLink[0] == '/' ? strLink : DirectoryOf(strNow.c_str()) + "/" + strLink;
    }
    errno = ELOOP;
    return false;
}

bool IsWritable(const std::string& strPath, mode_t nMode) {
    if ((nMode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    return access(strPath.c_str(), W_OK) == 0;
}

// Far beyond either data file; a larger file is not ours to rewrite.
constexpr size_t DATA_MAX_BYTES = 1 << 20;

// The file's bytes and its mode; false when it is there but cannot be read whole.
bool ReadCurrent(const std::string& strPath, bool* pbExists, std::string* pstrOld, mode_t* pnMode) {
    *pbExists = false;
    const int nFd = open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (nFd < 0)
        return errno == ENOENT;
    *pbExists = true;
    struct stat st;
    bool bOk = fstat(nFd, &st) == 0;
    if (bOk && !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        bOk = false;
    }
    if (bOk) {
        *pnMode = st.st_mode & 07777;
        pstrOld->resize(DATA_MAX_BYTES + 1);
        size_t nDone = 0;
        for (ssize_t nRead = 1; nRead != 0 && nDone < pstrOld->size();) {
            nRead = read(nFd, &(*pstrOld)[nDone], pstrOld->size() - nDone);
            if (nRead < 0 && errno == EINTR)
                continue;
            if (nRead < 0) {
                bOk = false;
                break;
            }
            nDone += static_cast<size_t>(nRead);
        }
        pstrOld->resize(nDone);
        if (bOk && nDone > DATA_MAX_BYTES) {
            errno = EFBIG;
            bOk = false;
        }
    }
    const int nError = errno;
    close(nFd);
    errno = nError;
    return bOk;
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

// Creates the directory of pszPath and its parents (mode 0700); true when it exists.
bool EnsureParentDirectory(const char* pszPath) {
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

} // namespace

bool GetDataFilePath(const char* pszFileName, char* pszPath, size_t nSize) {
    if (!pszPath || nSize == 0)
        return false;
    pszPath[0] = '\0';
    if (!pszFileName)
        return false;
    const char* pszTemp = getenv("TEMP");
    // A TEMP we may only read still holds the player's files: they are read, and saves fail
    // and say so, rather than starting an empty ranking elsewhere.
    if (pszTemp && *pszTemp && IsDirectory(pszTemp) &&
        CopyIfFits(std::string(pszTemp) + "/" + pszFileName, pszPath, nSize))
        return true;
    std::string strState = StateDirectory();
    return !strState.empty() && CopyIfFits(strState + "/" + pszFileName, pszPath, nSize);
}

bool UpdateFileAtomically(const char* pszPath, const ComposeFile& compose) {
    std::string strTarget;
    if (!pszPath || !*pszPath || !EnsureParentDirectory(pszPath) ||
        !FollowLinks(pszPath, &strTarget))
        return false;
    const std::string strDir = DirectoryOf(strTarget.c_str());
    const int nLockFd = LockDirectory(strDir);
    // Without the lock the save still replaces the file whole, by rename; only the
    // leftovers stay, as one of them may be the holder's own file in the making.
    if (nLockFd >= 0)
        RemoveLeftovers(strTarget);
    bool bExists = false;
    std::string strOld, strNew, strTemp;
    mode_t nMode = 0;
    int nFd = -1;
    // A file the player made read-only stays as it is, as an open for writing would refuse;
    // even for root, who would be let through, as its bits say what the player wants.
    bool bOk = ReadCurrent(strTarget, &bExists, &strOld, &nMode) &&
               (!bExists || IsWritable(strTarget, nMode)) &&
               compose(bExists ? &strOld : nullptr, &strNew) &&
               (nFd = CreateTempFile(strTarget, &strTemp)) >= 0 &&
               (!bExists || fchmod(nFd, nMode) == 0);
    if (nFd >= 0) {
        if (bOk)
            bOk = WriteSyncClose(nFd, strNew.data(), strNew.size()) &&
                  rename(strTemp.c_str(), strTarget.c_str()) == 0;
        else
            close(nFd);
        const int nError = errno;
        if (!bOk)
            unlink(strTemp.c_str());
        errno = nError;
    }
    const int nError = errno;
    if (bOk) {
        // The rename is done; a directory that cannot be synced still holds the new file.
        const int nDirFd = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (nDirFd >= 0) {
            fsync(nDirFd);
            close(nDirFd);
        }
    }
    if (nLockFd >= 0)
        close(nLockFd);
    errno = nError;
    return bOk;
}

bool ReplaceFileAtomically(const char* pszPath, const void* pData, size_t nSize) {
    if (!pData && nSize > 0)
        return false;
    return UpdateFileAtomically(pszPath, [&](const std::string*, std::string* pNew) {
        pNew->assign(static_cast<const char*>(pData), nSize);
        return true;
    });
}

SharedReadFile::SharedReadFile(const char* pszPath) {
    if (!pszPath || !*pszPath)
        return;
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
