#pragma once

#include <cstddef>

constexpr size_t DATA_PATH_SIZE = 4096;

// Where the ranking and settings files live: TEMP when it names an existing
// directory, otherwise the state directory ($XDG_STATE_HOME or ~/.local/state)
// plus "pelmanix". False when no path fits the buffer.
bool GetDataFilePath(const char* pszFileName, char* pszPath, size_t nSize);
// Creates the directory of pszPath and its parents (mode 0700); true when it exists.
bool EnsureParentDirectory(const char* pszPath);
// Replaces pszPath with the bytes given: temporary file beside it, synced, renamed over
// it, under an advisory lock. The old file is untouched when any step fails.
bool ReplaceFileAtomically(const char* pszPath, const void* pData, size_t nSize);
