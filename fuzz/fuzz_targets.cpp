// SPDX-License-Identifier: MIT
// Two libFuzzer targets from one file, one per FUZZ_* definition: any bytes as the
// ranking file or as the settings file.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <tuple>

#include <unistd.h>

#include "core/dialog_text.h"
#include "records/settings.h"

// A broken promise is a crash, so libFuzzer keeps the input that showed it.
#define FUZZ_CHECK(cond)                                                                           \
    ((cond) ? (void)0 : (std::fprintf(stderr, "failed: %s\n", #cond), std::abort()))

namespace {

// A file of these bytes in a scratch directory, in memory where there is one.
[[maybe_unused]] std::string Scratch(const char* pszName, const uint8_t* pData, size_t nSize) {
    static const std::string strDir = [] {
        char szShm[] = "/dev/shm/pelmanix-fuzz-XXXXXX", szTmp[] = "/tmp/pelmanix-fuzz-XXXXXX";
        return std::string(mkdtemp(szShm) ? szShm : mkdtemp(szTmp) ? szTmp : "");
    }();
    const std::string strPath = strDir + "/" + pszName;
    std::ofstream file(strPath, std::ios::binary);
    FUZZ_CHECK(!strDir.empty() && file.write(reinterpret_cast<const char*>(pData), nSize).flush());
    return strPath;
}

[[maybe_unused]] std::tuple<int, int, int, int, int, int, int, int, int>
Fields(const StoredSettings& s) {
    return {s.nLeft,        s.nTop,        s.bCenterWindow, s.bRandomCard, s.bRandomBack,
            s.nCardPattern, s.nBackground, s.nTimeIndex,    s.bTimeAuto};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
#if defined(FUZZ_RANKING)
    // Whatever was loaded, the dialog's rows fit their fields, and a save reads back.
    RankingTable table, back;
    const std::string strPath = Scratch(RANKING_FILE_NAME, pData, nSize);
    FUZZ_CHECK(LoadRanking(table, strPath.c_str()));
    InsertResult(table, nSize % 501, 9999, 360000);
    RankingRow aRows[RANK_ROWS];
    BuildRankingRows(table, aRows);
    for (const RankingRow& r : aRows)
        FUZZ_CHECK(memchr(r.szDate, 0, sizeof r.szDate) && strlen(r.szScore) <= 4 &&
                   strlen(r.szOpens) <= 4 && memchr(r.szTime, 0, sizeof r.szTime));
    FUZZ_CHECK(SaveRanking(table, strPath.c_str()) && LoadRanking(back, strPath.c_str()));
    FUZZ_CHECK(std::memcmp(&back, &table, sizeof table) == 0);
#elif defined(FUZZ_SETTINGS)
    // Rows inside their tables; a write reads back the values written.
    const std::string strPath = Scratch(SETTINGS_FILE_NAME, pData, nSize);
    StoredSettings s, back;
    ReadSettings(strPath.c_str(), &s);
    FUZZ_CHECK(s.nCardPattern >= 0 && s.nCardPattern < CARD_PATTERN_COUNT && s.nBackground >= 0 &&
               s.nBackground < BACKGROUND_COUNT && s.nTimeIndex >= 0 &&
               s.nTimeIndex < CLOSE_TIME_COUNT);
    s.bTimeAuto = s.bTimeAuto ? 1 : 0;
    FUZZ_CHECK(WriteSettings(strPath.c_str(), s));
    ReadSettings(strPath.c_str(), &back);
    FUZZ_CHECK(Fields(back) == Fields(s));
#endif
    return 0;
}
