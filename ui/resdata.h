// SPDX-License-Identifier: MIT
#pragma once

// One file linked into the executable at build time.
struct ResFile {
    const char* pszName;
    const unsigned char* pBegin;
    const unsigned char* pEnd;
};

extern const ResFile g_aResFiles[];
extern const int g_nResFiles;
