// SPDX-License-Identifier: MIT
// The ranking table and its file, the INI reader and writer, the settings.

#include <climits>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "records/ini.h"
#include "records/ranking.h"
#include "records/settings.h"
#include "tests/temp_dir.h"

namespace {

// Row i (from 0) has i + 1 turns and 10 (i + 1) seconds.
RankingTable TableOf(std::initializer_list<int> anScores) {
    RankingTable table;
    int nOpens = 1;
    for (int nScore : anScores)
        InsertResult(table, nScore, nOpens, nOpens * 10), ++nOpens;
    return table;
}

TEST(Ranking, InsertKeepsOrderAndEarlierEqualScoresHigher) {
    RankingTable table = TableOf({480, 500, 480, 480});
    EXPECT_TRUE(table.nCount == 4 && table.anOpens[3] == 4); // the last 480 below the others
    table = TableOf({500, 400, 350, 320, 300});
    const RankingTable full = table;
    InsertResult(table, 300, 99, 0); // no better than the last row: not kept
    EXPECT_EQ(memcmp(&table, &full, sizeof table), 0);
    InsertResult(table, 310, 77, 0);
    EXPECT_TRUE(table.nCount == 5 && table.anScore[3] == 320 && table.anScore[4] == 310 &&
                table.anOpens[4] == 77 && !strcmp(table.aszDate[3], full.aszDate[3]));
}

TEST(Ranking, FileHasTheFixedLayoutAndDamagedFilesGiveASoundTable) {
    TempDir dir;
    RankingTable table;
    InsertResult(table, 480, 123, 456), InsertResult(table, 300, 70, 65536 + 65);
    setenv("TZ", "UTC", 1), tzset();
    MakeDateStampAt(978307199, table.aszDate[0]), MakeDateStampAt(952239849, table.aszDate[1]);
    table.aszDate[1][18] = 'x'; // leftovers past the terminator must not reach the file
    // Count, then per row: label, 0, score, turns, seconds (little-endian), 19 stamp bytes.
    // clang-format off
    const char abUsed[] = "\2\0\0\0"
        "1\0\xE0\1\0\0\x7B\0\0\0\xC8\1\0\0" "2000/12/31 23:59:59"
        "2\0\x2C\1\0\0\x46\0\0\0\x41\0\1\0" "2000/3/5 7:04:09\0\0\0";
    // clang-format on
    std::string strGood(abUsed, sizeof abUsed - 1);
    for (char c : {'3', '4', '5'}) // unused rows
        strGood += std::string(1, c) + '\0' + std::string(12, '\xFF') + std::string(19, '\0');
    const std::string strPath = dir.File(RANKING_FILE_NAME);
    ASSERT_TRUE(SaveRanking(table, strPath.c_str()));
    EXPECT_EQ(ReadBytes(strPath), strGood);
    RankingTable back;
    ASSERT_TRUE(LoadRanking(back, strPath.c_str()));
    memset(table.aszDate[1] + 17, 0, 2);
    EXPECT_FALSE(LoadRanking(back, (strPath + ".missing").c_str())); // and leaves it as read
    EXPECT_EQ(memcmp(&back, &table, sizeof table), 0);

    auto load = [&](const std::string& strBytes) {
        RankingTable t = TableOf({450, 440, 430, 420, 410});
        std::ofstream(strPath, std::ios::binary) << strBytes;
        EXPECT_TRUE(LoadRanking(t, strPath.c_str()));
        return t;
    };
    EXPECT_EQ(load("").anScore[4], 410); // nothing read, nothing changed
    // Cut in row 1's score: what the file holds is read, half a number is not; rows past
    // the count are empty.
    back = load(strGood.substr(0, 42));
    EXPECT_TRUE(back.anScore[0] == 480 && back.anScore[1] == 440 && back.anScore[2] == -1 &&
                back.anOpens[2] == -1 && back.anSeconds[2] == -1 && !back.aszDate[2][0]);
    std::string strBytes = strGood;
    strBytes.replace(0, 4, "\x63\0\0\0", 4); // 99
    strBytes.replace(6, 12, 12, '\x7F');     // row 0: huge score, turns and seconds
    strBytes[18 + 6] = 'A';                  // row 0's date cut after six characters
    strBytes[50] = '\xFE';                   // row 1's seconds negative
    back = load(strBytes);
    EXPECT_TRUE(back.nCount == 5 && back.anScore[0] == 500 && back.anOpens[0] == 9999 &&
                back.anSeconds[0] == 0x7F7F7F7F && back.anSeconds[1] == 0);
    EXPECT_EQ(strlen(back.aszDate[0]), 6u);
}

std::string Get(const char* pszSection, const char* pszKey, const std::string& strPath,
                size_t nSize = PROFILE_VALUE_SIZE) {
    char szValue[PROFILE_VALUE_SIZE];
    int nLen = GetProfileString(pszSection, pszKey, "dflt", szValue, nSize, strPath.c_str());
    return szValue + (nLen == int(strlen(szValue)) ? "" : "#" + std::to_string(nLen));
}

TEST(Ini, ReadsTheFirstMatchWithoutRegardToCaseAndWritesInPlace) {
    TempDir dir;
    const std::string strPath = dir.File("a.ini");
    static const char szText[] = "; LEFT=1\r\n[pos]\r\n Left =  12  \r\nLEFT=13\r\n; TOP=5\r\n"
                                 "no equals sign\r\n[ Start ]\nCardNo=\nCARDNO=2\nA=1\0 2\nB\0=3\n"
                                 "#K=2\n[START]\nTIMEAUTO=1\n";
    std::ofstream(strPath, std::ios::binary) << std::string(szText, sizeof szText - 1);
    const char* apszCases[][3] = {{"POS", "LEFT", "12"},       {"POS", "TOP", "dflt"},
                                  {"START", "CARDNO", "dflt"}, {"START", "A", "1"},
                                  {"START", "B", "dflt"},      {"START", "TIMEAUTO", "dflt"},
                                  {"START", "#K", "2"}};
    for (const auto& c : apszCases)
        EXPECT_EQ(Get(c[0], c[1], strPath), c[2]) << c[1];
    std::ofstream(strPath) << "[S]\nK=" + std::string(256, '7') + "\n";
    EXPECT_EQ(Get("S", "K", strPath), std::string(255, '7'));
    EXPECT_EQ(Get("S", "K", strPath, 4), "777");

    std::ofstream(strPath)
        << "; head\r\n[pos]\r\nleft = 1  \r\nTOP=2\r\n\r\n[START]\r\nA=  \r\n; tail";
    EXPECT_FALSE(WriteProfileString("POS", "LEFT", "1\n[X]", strPath.c_str()));
    const ProfileEntry aEntries[] = {{"POS", "LEFT", "-99"},
                                     {"POS", "W", "7"},
                                     {"start", "a", "x y"},
                                     {"NEW", "K", "v"},
                                     {"START", "B", "2"}};
    EXPECT_TRUE(WriteProfileStrings(aEntries, 5, strPath.c_str()));
    // Lines added end as the file's own do.
    EXPECT_EQ(ReadBytes(strPath), "; head\r\n[pos]\r\nleft = -99\r\nTOP=2\r\nW=7\r\n\r\n[START]\r\n"
                                  "A=x y\r\n; tail\r\nB=2\r\n[NEW]\r\nK=v\r\n");
}

using Fields = std::tuple<int, int, int, int, int, int, int, int, int>;

Fields Read(const std::string& strPath) {
    StoredSettings s;
    s.nLeft = s.nCardPattern = 9, s.bTimeAuto = 0;
    ReadSettings(strPath.c_str(), &s);
    return Fields(s.nLeft, s.nTop, s.bCenterWindow, s.bRandomCard, s.bRandomBack, s.nCardPattern,
                  s.nBackground, s.nTimeIndex, s.bTimeAuto);
}

TEST(Settings, FirstRunHandEditedAndWrittenValues) {
    TempDir dir;
    std::string strPath = dir.File(SETTINGS_FILE_NAME);
    EXPECT_EQ(Read(strPath), Fields(0, 0, 1, 1, 1, 0, 0, 3, 1));
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
    };
    for (const auto& c : aCases) {
        std::ofstream(strPath) << c.first;
        EXPECT_EQ(Read(strPath), c.second) << c.first;
    }
    StoredSettings s;
    s.nLeft = -20, s.nTop = 50, s.bRandomCard = -1, s.nBackground = 23, s.bTimeAuto = 5;
    std::ofstream(strPath) << "";
    EXPECT_TRUE(WriteSettings(strPath.c_str(), s));
    EXPECT_EQ(ReadBytes(strPath), "[POS]\nLEFT=-20\nTOP=50\n[START]\nCARDNO=0\nBACKNO=23\n"
                                  "OPTION1=1\nOPTION2=-1\nOPTION3=1\nTIMEINDEX=3\nTIMEAUTO=1\n");
}

// A random start-up choice is the second's: every row in time, each second always the same.
TEST(Settings, RandomRowsComeFromTheSecond) {
    for (int nRows : {CARD_PATTERN_COUNT, BACKGROUND_COUNT}) {
        std::set<int> rows;
        for (time_t t = 0; t < 500; ++t)
            rows.insert(DrawRandomRowAt(t, nRows));
        EXPECT_TRUE(rows.size() == size_t(nRows) && *rows.begin() == 0 &&
                    *rows.rbegin() == nRows - 1);
    }
    const time_t tNow = time(nullptr);
    const int nRow = DrawRandomRow(1 << 30);
    EXPECT_TRUE(time(nullptr) != tNow || nRow == DrawRandomRowAt(tNow, 1 << 30));
}

} // namespace
