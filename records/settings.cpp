// SPDX-License-Identifier: MIT
#include "records/settings.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "records/ini.h"
#include "records/paths.h"

const OptionEntry g_aCardPatterns[CARD_PATTERN_COUNT] = {
    {1, "模様１"},
    {2, "模様２"},
    {3, "模様３"},
    {4, "模様４"},
};

const OptionEntry g_aBackgrounds[BACKGROUND_COUNT] = {
    {1, "シャボン"},        {2, "珈琲カップ"},
    {3, "トライアングル"},  {4, "バンブー"},
    {5, "ピンストライプ"},  {6, "フィッシング"},
    {7, "ブラック フロア"}, {8, "ブルー ウェーブ"},
    {9, "ブルー リベット"}, {10, "ブルー リング"},
    {11, "レッド タイル"},  {12, "羽毛"},
    {13, "エジプト"},       {14, "花見"},
    {15, "隅田川"},         {16, "青いレース編み"},
    {17, "千鳥格子"},       {18, "大草原の風"},
    {19, "1STBOOT"},        {20, "グリーン ストーン"},
    {21, "サポテック織り"}, {22, "サンタフェ"},
    {23, "しゃくなげ"},     {24, "しゃぼん玉"},
};

const OptionEntry g_aCloseTimes[CLOSE_TIME_COUNT] = {
    {1, "0.1"}, {1, "0.3"}, {1, "0.5"}, {1, "0.7"}, {1, "1.0"}, {1, "1.5"}, {1, "2.0"}, {1, "2.5"},
};

int16_t g_bCenterWindow = 1;
int16_t g_bRandomCard = 1;
int16_t g_bRandomBack = 1;

namespace {

constexpr const char* SECTION_POS = "POS";
constexpr const char* SECTION_START = "START";
constexpr int FIRST_RUN_TIME_INDEX = 3;

// atoi's reading of the text, but a number too large for an int saturates instead of
// being undefined.
int TextToInt(const char* psz) {
    while (*psz == ' ' || (*psz >= '\t' && *psz <= '\r'))
        ++psz;
    bool bNegative = *psz == '-';
    if (*psz == '-' || *psz == '+')
        ++psz;
    long long nValue = 0;
    for (; *psz >= '0' && *psz <= '9'; ++psz) {
        if (nValue <= static_cast<long long>(INT_MAX) + 1)
            nValue = nValue * 10 + (*psz - '0');
    }
    if (bNegative)
        nValue = -nValue;
    if (nValue > INT_MAX)
        return INT_MAX;
    if (nValue < INT_MIN)
        return INT_MIN;
    return static_cast<int>(nValue);
}

int16_t LowSixteenBits(int nValue) {
    unsigned nLow = static_cast<unsigned>(nValue) & 0xFFFFu;
    return static_cast<int16_t>(nLow < 0x8000u ? static_cast<int>(nLow)
                                               : static_cast<int>(nLow) - 0x10000);
}

// The number of characters read tells an absent or empty value from a present one.
int ReadKey(const char* pszPath, const char* pszSection, const char* pszKey, char* pszValue) {
    return GetProfileString(pszSection, pszKey, "", pszValue, PROFILE_VALUE_SIZE, pszPath);
}

int16_t ReadFlag(const char* pszPath, const char* pszKey, char* pszValue) {
    if (ReadKey(pszPath, SECTION_START, pszKey, pszValue) == 0)
        return 1;
    return LowSixteenBits(TextToInt(pszValue));
}

// A hand-edited row number outside its table falls back to the first-run value, so no
// table is indexed past its end.
int InRangeOr(int nValue, int nRows, int nFallback) {
    return nValue >= 0 && nValue < nRows ? nValue : nFallback;
}

} // namespace

int CloseDelayMs(int nTimeIndex) {
    int nRow = InRangeOr(nTimeIndex, CLOSE_TIME_COUNT, FIRST_RUN_TIME_INDEX);
    return static_cast<int>(atof(g_aCloseTimes[nRow].szName) * 1000.0);
}

bool GetSettingsPath(char* pszPath, size_t nSize) {
    return GetDataFilePath(SETTINGS_FILE_NAME, pszPath, nSize);
}

void ReadSettings(const char* pszPath, StoredSettings* pSettings) {
    char szValue[PROFILE_VALUE_SIZE];
    StoredSettings& s = *pSettings;
    ReadKey(pszPath, SECTION_POS, "LEFT", szValue);
    s.nLeft = TextToInt(szValue);
    ReadKey(pszPath, SECTION_POS, "TOP", szValue);
    s.nTop = TextToInt(szValue);
    s.bCenterWindow = ReadFlag(pszPath, "OPTION1", szValue);
    s.bRandomCard = ReadFlag(pszPath, "OPTION2", szValue);
    s.bRandomBack = ReadFlag(pszPath, "OPTION3", szValue);
    ReadKey(pszPath, SECTION_START, "CARDNO", szValue);
    s.nCardPattern = InRangeOr(TextToInt(szValue), CARD_PATTERN_COUNT, 0);
    ReadKey(pszPath, SECTION_START, "BACKNO", szValue);
    s.nBackground = InRangeOr(TextToInt(szValue), BACKGROUND_COUNT, 0);
    if (ReadKey(pszPath, SECTION_START, "TIMEINDEX", szValue) > 0)
        s.nTimeIndex = InRangeOr(TextToInt(szValue), CLOSE_TIME_COUNT, FIRST_RUN_TIME_INDEX);
    else
        s.nTimeIndex = FIRST_RUN_TIME_INDEX;
    s.bTimeAuto = ReadKey(pszPath, SECTION_START, "TIMEAUTO", szValue) > 0 ? TextToInt(szValue) : 1;
}

bool WriteSettings(const char* pszPath, const StoredSettings& s) {
    const int anValues[] = {s.nLeft,       s.nTop,          s.nCardPattern,
                            s.nBackground, s.bCenterWindow, s.bRandomCard,
                            s.bRandomBack, s.nTimeIndex,    s.bTimeAuto ? 1 : 0};
    const char* const apszKeys[] = {"LEFT",    "TOP",     "CARDNO",    "BACKNO",  "OPTION1",
                                    "OPTION2", "OPTION3", "TIMEINDEX", "TIMEAUTO"};
    char aszValues[9][16];
    ProfileEntry aEntries[9];
    for (int i = 0; i < 9; ++i) {
        snprintf(aszValues[i], sizeof aszValues[i], "%d", anValues[i]);
        aEntries[i] = {i < 2 ? SECTION_POS : SECTION_START, apszKeys[i], aszValues[i]};
    }
    // One replacement for all nine: the file never holds half of one save and half of another.
    return WriteProfileStrings(aEntries, 9, pszPath);
}

int DrawRandomRow(int nRows) {
    return DrawRandomRowAt(time(nullptr), nRows);
}

int DrawRandomRowAt(time_t tSecond, int nRows) {
    srand(static_cast<unsigned>(tSecond));
    int nDraw = rand();
    return nRows > 0 ? nDraw % nRows : 0;
}
