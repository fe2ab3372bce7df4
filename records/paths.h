// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <string>

constexpr size_t DATA_PATH_SIZE = 4096;

// Where the ranking and settings files live: TEMP when it names an existing directory
// (one we may only read still gives its files; saves there fail), otherwise the state
// directory ($XDG_STATE_HOME or ~/.local/state) plus "pelmanix". False when no path fits.
bool GetDataFilePath(const char* pszFileName, char* pszPath, size_t nSize);

// Makes a file's new contents from its current ones: pOld is null when there is no file.
// False refuses the save.
using ComposeFile = std::function<bool(const std::string* pOld, std::string* pNew)>;

// Replaces the file that pszPath leads to (through symbolic links) with what compose makes
// of the bytes it holds now, read under an advisory lock on its directory that other
// copies of the game take too (not waited for beyond a second: a stopped copy may hold
// it). The new bytes go to a temporary file beside it, synced, with the old file's
// permission bits (a new one gets 0666 less the umask), renamed over it. A file we may not
// write is not replaced. On failure the old file is untouched, nothing is left behind,
// and errno says why.
bool UpdateFileAtomically(const char* pszPath, const ComposeFile& compose);
bool ReplaceFileAtomically(const char* pszPath, const void* pData, size_t nSize);

// A file opened for reading. Saves replace files by rename, so a reader always sees
// one whole version without locking. Fd() is -1 when the file cannot be opened.
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
};
