#pragma once

#include <cstddef>

constexpr size_t DATA_PATH_SIZE = 4096;

// Where the ranking and settings files live: TEMP when it names an existing
// directory we may write to, otherwise the state directory ($XDG_STATE_HOME or ~/.local/state)
// plus "pelmanix". False when no path fits the buffer.
bool GetDataFilePath(const char* pszFileName, char* pszPath, size_t nSize);
// Replaces pszPath with the bytes given: temporary file beside it, synced, renamed over
// it, under an advisory lock (not waited for beyond a second: a stopped copy of the game
// may hold it). The old file is untouched when any step fails, and the temporary files of
// saves killed before their rename are removed.
bool ReplaceFileAtomically(const char* pszPath, const void* pData, size_t nSize);

// A file opened for reading, under a shared advisory lock on the lock file that
// ReplaceFileAtomically takes when no save holds it. Fd() is -1 when the file cannot be
// opened.
class SharedReadFile {
public:
    explicit SharedReadFile(const char* pszPath);
    ~SharedReadFile();
    SharedReadFile(const SharedReadFile&) = delete;
    SharedReadFile& operator=(const SharedReadFile&) = delete;

    int Fd() const { return m_nFd; }
    // Reads up to nSize bytes, fewer only at the end of the file or on an error.
    size_t Read(void* pData, size_t nSize);

private:
    int m_nFd = -1;
    int m_nLockFd = -1;
};
