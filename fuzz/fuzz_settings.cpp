// Any settings file, read and written the way the game does: reads give trimmed values that
// fit the buffer, the settings rules give rows inside their tables, and a write reads back
// while every other key keeps its value.

#include <cstdint>
#include <cstring>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_common.h"
#include "records/ini.h"
#include "records/settings.h"

namespace {

constexpr size_t CHOICE_BYTES = 96;

struct Name {
    const char* pszSection;
    const char* pszKey;
};

// The nine keys the game keeps.
const Name g_aStored[] = {{"POS", "LEFT"},      {"POS", "TOP"},         {"START", "OPTION1"},
                          {"START", "OPTION2"}, {"START", "OPTION3"},   {"START", "CARDNO"},
                          {"START", "BACKNO"},  {"START", "TIMEINDEX"}, {"START", "TIMEAUTO"}};

// Spellings the reader must take as the same names, and some it must not.
const char* const g_apszSections[] = {"POS", "START", "start", " Pos ", "", "START]", "[START"};
const char* const g_apszKeys[] = {"LEFT",     "top", "TimeAuto", " CARDNO ", "BACKNO", "OPTION",
                                  "OPTION1 ", "=",   "",         "  ",       ";LEFT",  "[TOP"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trim(std::string str) {
    size_t nBegin = 0, nEnd = str.size();
    while (nBegin < nEnd && IsBlank(str[nBegin]))
        ++nBegin;
    while (nEnd > nBegin && IsBlank(str[nEnd - 1]))
        --nEnd;
    return str.substr(nBegin, nEnd - nBegin);
}

std::string Folded(const char* psz) {
    std::string str = Trim(psz);
    for (char& c : str)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return str;
}

bool SameName(const char* pszSection1, const char* pszKey1, const char* pszSection2,
              const char* pszKey2) {
    return Folded(pszSection1) == Folded(pszSection2) && Folded(pszKey1) == Folded(pszKey2);
}

std::string Read(const std::string& strPath, const char* pszSection, const char* pszKey,
                 size_t nBuffer = PROFILE_VALUE_SIZE, const char* pszDefault = "") {
    char szValue[512];
    std::memset(szValue, 0x5A, sizeof szValue);
    const int n =
        GetProfileString(pszSection, pszKey, pszDefault, szValue, nBuffer, strPath.c_str());
    FUZZ_CHECK(n >= 0 && static_cast<size_t>(n) < nBuffer);
    FUZZ_CHECK(fuzz::Terminated(szValue, nBuffer) && std::strlen(szValue) == size_t(n));
    return szValue;
}

void CheckRead(const std::string& strPath, const char* pszSection, const char* pszKey,
               size_t nBuffer) {
    // A smaller buffer gets the same value, cut to fit.
    const std::string strValue = Read(strPath, pszSection, pszKey, nBuffer);
    const std::string strLong = Read(strPath, pszSection, pszKey, 512);
    FUZZ_CHECK(strValue == strLong.substr(0, nBuffer - 1));
    FUZZ_CHECK(strLong.empty() || !IsBlank(strLong[0])); // the end may be cut at a zero byte
    // The default stands in exactly when there is no value.
    const std::string strFull = Read(strPath, pszSection, pszKey);
    const std::string strDefaulted = Read(strPath, pszSection, pszKey, PROFILE_VALUE_SIZE, "dflt");
    FUZZ_CHECK(strDefaulted == (strFull.empty() ? "dflt" : strFull));
}

void CheckSettings(const StoredSettings& s) {
    FUZZ_CHECK(s.nCardPattern >= 0 && s.nCardPattern < CARD_PATTERN_COUNT);
    FUZZ_CHECK(s.nBackground >= 0 && s.nBackground < BACKGROUND_COUNT);
    FUZZ_CHECK(s.nTimeIndex >= 0 && s.nTimeIndex < CLOSE_TIME_COUNT);
    static const int anDelays[CLOSE_TIME_COUNT] = {100, 300, 500, 700, 1000, 1500, 2000, 2500};
    FUZZ_CHECK(CloseDelayMs(s.nTimeIndex) == anDelays[s.nTimeIndex]);
}

bool Same(const StoredSettings& a, const StoredSettings& b) {
    return a.nLeft == b.nLeft && a.nTop == b.nTop && a.bCenterWindow == b.bCenterWindow &&
           a.bRandomCard == b.bRandomCard && a.bRandomBack == b.bRandomBack &&
           a.nCardPattern == b.nCardPattern && a.nBackground == b.nBackground &&
           a.nTimeIndex == b.nTimeIndex && a.bTimeAuto == b.bTimeAuto;
}

template <size_t N>
std::string PickName(FuzzedDataProvider& fdp, const char* const (&apszNames)[N]) {
    const size_t nPick = fdp.ConsumeIntegralInRange<size_t>(0, N);
    return nPick < N ? apszNames[nPick] : fdp.ConsumeRandomLengthString(16);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static const std::string strPath = fuzz::ScratchFile(SETTINGS_FILE_NAME);
    // The input is a settings file followed by a tail that picks what is done with it.
    const size_t nTail = nSize < CHOICE_BYTES ? nSize : CHOICE_BYTES;
    const std::string strFile(reinterpret_cast<const char*>(pData), nSize - nTail);
    FuzzedDataProvider fdp(pData + strFile.size(), nTail);
    const size_t nBuffer = fdp.ConsumeIntegralInRange<size_t>(1, 300);
    StoredSettings wanted;
    wanted.nLeft = fdp.ConsumeIntegral<int>();
    wanted.nTop = fdp.ConsumeIntegral<int>();
    wanted.bCenterWindow = fdp.ConsumeIntegral<int16_t>();
    wanted.bRandomCard = fdp.ConsumeIntegral<int16_t>();
    wanted.bRandomBack = fdp.ConsumeIntegral<int16_t>();
    wanted.nCardPattern = fdp.ConsumeIntegralInRange(-1, CARD_PATTERN_COUNT);
    wanted.nBackground = fdp.ConsumeIntegralInRange(-1, BACKGROUND_COUNT);
    wanted.nTimeIndex = fdp.ConsumeIntegralInRange(-1, CLOSE_TIME_COUNT);
    wanted.bTimeAuto = fdp.ConsumeIntegral<int>();
    const std::string strSection = PickName(fdp, g_apszSections);
    const std::string strKey = PickName(fdp, g_apszKeys);
    const std::string strValue = fdp.ConsumeRemainingBytesAsString();
    fuzz::WriteFile(strPath, strFile.data(), strFile.size());

    fuzz::Context() = "section " + fuzz::Quoted(strSection) + " key " + fuzz::Quoted(strKey) +
                      " value " + fuzz::Quoted(strValue) + "\nfile " + fuzz::Quoted(strFile);
    const char* pszSection = strSection.c_str();
    const char* pszKey = strKey.c_str();
    std::string astrBefore[9];
    for (size_t i = 0; i < 9; ++i) {
        CheckRead(strPath, g_aStored[i].pszSection, g_aStored[i].pszKey, nBuffer);
        astrBefore[i] = Read(strPath, g_aStored[i].pszSection, g_aStored[i].pszKey);
    }
    CheckRead(strPath, pszSection, pszKey, nBuffer);
    StoredSettings s;
    ReadSettings(strPath.c_str(), &s);
    CheckSettings(s);

    if (!WriteProfileString(pszSection, pszKey, strValue.c_str(), strPath.c_str())) {
        FUZZ_CHECK(fuzz::ReadFile(strPath) == strFile);
    } else {
        FUZZ_CHECK(Read(strPath, pszSection, pszKey) ==
                   Trim(strValue.c_str()).substr(0, PROFILE_VALUE_SIZE - 1));
        for (size_t i = 0; i < 9; ++i) {
            if (!SameName(pszSection, pszKey, g_aStored[i].pszSection, g_aStored[i].pszKey))
                FUZZ_CHECK(Read(strPath, g_aStored[i].pszSection, g_aStored[i].pszKey) ==
                           astrBefore[i]);
        }
    }

    // What the game saves at exit is what it finds at the next start, whatever was there.
    FUZZ_CHECK(WriteSettings(strPath.c_str(), wanted));
    StoredSettings back;
    ReadSettings(strPath.c_str(), &back);
    CheckSettings(back);
    StoredSettings expected = wanted;
    if (expected.nCardPattern < 0 || expected.nCardPattern >= CARD_PATTERN_COUNT)
        expected.nCardPattern = 0;
    if (expected.nBackground < 0 || expected.nBackground >= BACKGROUND_COUNT)
        expected.nBackground = 0;
    if (expected.nTimeIndex < 0 || expected.nTimeIndex >= CLOSE_TIME_COUNT)
        expected.nTimeIndex = 3;
    expected.bTimeAuto = expected.bTimeAuto ? 1 : 0;
    FUZZ_CHECK(Same(back, expected));
    return 0;
}
