#include <climits>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "records/settings.h"
#include "tests/temp_dir.h"

std::string ReadAll(const std::string& strPath); // in test_paths.cpp
void WriteAll(const std::string& strPath, const std::string& strBytes);

namespace {

using Fields = std::tuple<int, int, int, int, int, int, int, int, int>;

Fields Read(const std::string& strPath) {
    StoredSettings s;
    s.nLeft = s.nCardPattern = 9, s.bTimeAuto = 0;
    ReadSettings(strPath.c_str(), &s);
    return Fields(s.nLeft, s.nTop, s.bCenterWindow, s.bRandomCard, s.bRandomBack, s.nCardPattern,
                  s.nBackground, s.nTimeIndex, s.bTimeAuto);
}

} // namespace

TEST(Settings, FirstRunGivesDefaultsAndAFreshFileInWriteOrder) {
    TempDir dir;
    std::string strPath = dir.File(SETTINGS_FILE_NAME);
    EXPECT_EQ(Read(strPath), Fields(0, 0, 1, 1, 1, 0, 0, 3, 1));
    StoredSettings s;
    // TIMEAUTO as a hand-edited file may give it (read back as is below): written as 1.
    s.nLeft = -20, s.nTop = 50, s.bRandomCard = -1, s.nBackground = 23, s.bTimeAuto = 5;
    EXPECT_TRUE(WriteSettings(strPath.c_str(), s));
    EXPECT_EQ(ReadAll(strPath), "[POS]\nLEFT=-20\nTOP=50\n[START]\nCARDNO=0\nBACKNO=23\n"
                                "OPTION1=1\nOPTION2=-1\nOPTION3=1\nTIMEINDEX=3\nTIMEAUTO=1\n");
}

TEST(Settings, HandEditedValuesFollowTheReadingRules) {
    TempDir dir;
    std::string strPath = dir.File(SETTINGS_FILE_NAME);
    // Numbers saturate; flags keep their low 16 bits; empty counts as absent; rows out of
    // range fall back to the first-run row.
    const std::pair<const char*, Fields> aCases[] = {
        {"[POS]\nLEFT=18446744073709551617\nTOP= -42px\n[START]\nOPTION1=\nOPTION2=0\n"
         "OPTION3=65536\nCARDNO=4\nBACKNO=23\nTIMEINDEX=\nTIMEAUTO=5\n",
         {INT_MAX, -42, 1, 0, 0, 0, 23, 3, 5}},
        {"[POS]\nLEFT=-18446744073709551617\n[START]\nOPTION2=65535\nOPTION3=65537\nCARDNO=-1\n"
         "BACKNO=24\nTIMEINDEX=abc\nTIMEAUTO=\n",
         {INT_MIN, 0, 1, -1, 1, 0, 0, 0, 1}},
        {"[START]\nOPTION1=0\nCARDNO=3\nTIMEINDEX=8\nTIMEAUTO=0\n", {0, 0, 0, 1, 1, 3, 0, 3, 0}},
        {"[START]\nTIMEINDEX=7\n", {0, 0, 1, 1, 1, 0, 0, 7, 1}},
    };
    for (const auto& c : aCases) {
        WriteAll(strPath, c.first);
        EXPECT_EQ(Read(strPath), c.second) << c.first;
    }
}

TEST(Settings, CloseDelaysComeFromTheRowNames) {
    // Row -1 and 8 are out of range: the first-run row, 0.7 s.
    const int anMs[] = {700, 100, 300, 500, 700, 1000, 1500, 2000, 2500, 700};
    for (int i = -1; i <= CLOSE_TIME_COUNT; ++i)
        EXPECT_EQ(CloseDelayMs(i), anMs[i + 1]) << i;
}
