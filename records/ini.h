// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

constexpr size_t PROFILE_VALUE_SIZE = 256;

// Profile-file reads and writes: sections and keys match without regard to case,
// a missing file, section or key or an empty value gives the default, and the
// value is cut to fit the buffer. Returns the number of characters placed.
int GetProfileString(const char* pszSection, const char* pszKey, const char* pszDefault,
                     char* pszValue, size_t nSize, const char* pszPath);
// Creates the file, section and key as needed and replaces the value in place.
// The old file stays whole when the write fails.
bool WriteProfileString(const char* pszSection, const char* pszKey, const char* pszValue,
                        const char* pszPath);

struct ProfileEntry {
    const char* pszSection;
    const char* pszKey;
    const char* pszValue;
};
// The writes above, in order, as one replacement of the file: a save cut short by a full
// disk or a killed process leaves all of them or none.
bool WriteProfileStrings(const ProfileEntry* pEntries, size_t nCount, const char* pszPath);
