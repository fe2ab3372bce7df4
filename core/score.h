// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

#include "core/limits.h"

// Buffer sizes that hold every result, whatever int comes in.
constexpr size_t GRADE_TEXT_SIZE = 5; // ideographic space + grade + NUL
constexpr size_t TIME_TEXT_SIZE = 16; // "596523:14:07" is the longest
constexpr size_t NUMBER_TEXT_SIZE = 16;

// Shift_JIS texts written into the caller's buffer of nSize bytes, always terminated.
void ScoreToGrade(int nScore, char* pszOut, size_t nSize);
void FormatGameTime(int nSeconds, char* pszOut, size_t nSize);
void PadNumber(char* pszOut, size_t nSize, int nValue, int nWidth);
