// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

struct OptionEntry {
    int nNumber;
    char szName[40];
};

constexpr int CARD_PATTERN_COUNT = 4;
constexpr int BACKGROUND_COUNT = 24;
constexpr int CLOSE_TIME_COUNT = 8;
constexpr int CARD_BACK_BASE_ID = 5101;
constexpr int BACKGROUND_BASE_ID = 5201;
constexpr const char* SETTINGS_FILE_NAME = "kq207825.ini";

extern const OptionEntry g_aCardPatterns[CARD_PATTERN_COUNT];
extern const OptionEntry g_aBackgrounds[BACKGROUND_COUNT];
extern const OptionEntry g_aCloseTimes[CLOSE_TIME_COUNT];

extern int16_t g_bCenterWindow;
extern int16_t g_bRandomCard;
extern int16_t g_bRandomBack;

// Milliseconds of the close-time row's name read as seconds.
int CloseDelayMs(int nTimeIndex);

// The nine stored values as the file gives them, after defaults and range rules.
struct StoredSettings {
    int nLeft = 0;
    int nTop = 0;
    int16_t bCenterWindow = 1;
    int16_t bRandomCard = 1;
    int16_t bRandomBack = 1;
    int nCardPattern = 0;
    int nBackground = 0;
    int nTimeIndex = 3;
    int bTimeAuto = 1;
};

bool GetSettingsPath(char* pszPath, size_t nSize);
void ReadSettings(const char* pszPath, StoredSettings* pSettings);
bool WriteSettings(const char* pszPath, const StoredSettings& settings);
// Seeds the C library's generator from the current second and draws a row.
int DrawRandomRow(int nRows);
int DrawRandomRowAt(time_t tSecond, int nRows);
