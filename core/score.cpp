// SPDX-License-Identifier: MIT
#include "core/score.h"

#include <cstdio>

void ScoreToGrade(int nScore, char* pszOut, size_t nSize) {
    const char* pszGrade;
    if (nScore == MAX_SCORE)
        pszGrade = "　SS";
    else if (nScore > 450)
        pszGrade = "　Ｓ";
    else if (nScore > 400)
        pszGrade = "　Ａ";
    else if (nScore > 350)
        pszGrade = "　Ｂ";
    else if (nScore > 300)
        pszGrade = "　Ｃ";
    else if (nScore > 200)
        pszGrade = "　Ｄ";
    else
        pszGrade = "　Ｅ";
    snprintf(pszOut, nSize, "%s", pszGrade);
}

void FormatGameTime(int nSeconds, char* pszOut, size_t nSize) {
    // A negative time only comes from a damaged ranking file; show it as nothing elapsed.
    if (nSeconds < 0)
        nSeconds = 0;
    snprintf(pszOut, nSize, "%02d:%02d:%02d", nSeconds / 3600, nSeconds / 60 % 60, nSeconds % 60);
}

void PadNumber(char* pszOut, size_t nSize, int nValue, int nWidth) {
    snprintf(pszOut, nSize, "%*d", nWidth, nValue);
}
