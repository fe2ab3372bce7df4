#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "records/ranking.h"
#include "tests/temp_dir.h"

std::string ReadAll(const std::string& strPath); // in test_paths.cpp
void WriteAll(const std::string& strPath, const std::string& strBytes);

namespace {

// Row i (from 0) has i + 1 turns and 10 (i + 1) seconds.
RankingTable TableOf(std::initializer_list<int> anScores) {
    RankingTable table;
    int nOpens = 1;
    for (int nScore : anScores)
        InsertResult(table, nScore, nOpens, nOpens * 10), ++nOpens;
    return table;
}

bool Same(const RankingTable& a, const RankingTable& b) {
    return memcmp(&a, &b, sizeof a) == 0;
}

// What the ranking dialog may show: rows in range, stamps of stamp characters, unused rows empty.
void ExpectSound(const RankingTable& t) {
    ASSERT_TRUE(t.nCount >= 0 && t.nCount <= RANK_ROWS);
    for (int i = 0; i < RANK_ROWS; ++i) {
        EXPECT_EQ(strspn(t.aszDate[i], "0123456789/: "), strlen(t.aszDate[i]));
        if (i < t.nCount)
            EXPECT_TRUE(t.anScore[i] >= 0 && t.anScore[i] <= 500 && t.anOpens[i] >= 0 &&
                        t.anOpens[i] <= 9999 && t.anSeconds[i] >= 0);
        else
            EXPECT_TRUE(t.anScore[i] == -1 && t.anOpens[i] == -1 && t.anSeconds[i] == -1 &&
                        !t.aszDate[i][0]);
    }
}

} // namespace

TEST(Ranking, InsertKeepsOrderAndEarlierEqualScoresHigher) {
    EXPECT_EQ(TableOf({0}).anScore[0], 0);
    RankingTable table = TableOf({480, 500, 480, 480});
    EXPECT_EQ(table.nCount, 4);
    EXPECT_EQ(table.anOpens[3], 4); // the last 480 below the two before it

    table = TableOf({500, 400, 350, 320, 300});
    const RankingTable full = table;
    InsertResult(table, 300, 99, 0); // no better than the last row: not kept
    EXPECT_TRUE(Same(table, full));
    InsertResult(table, 310, 77, 0);
    EXPECT_EQ(table.nCount, 5);
    EXPECT_TRUE(table.anScore[3] == 320 && table.anScore[4] == 310 && table.anOpens[4] == 77);
    EXPECT_STREQ(table.aszDate[3], full.aszDate[3]);
}

TEST(Ranking, DateStampsDropLeadingZerosButNotInMinutesAndSeconds) {
    setenv("TZ", "UTC", 1);
    tzset();
    const std::pair<time_t, const char*> aCases[] = {{952239849, "2000/3/5 7:04:09"},
                                                     {978307199, "2000/12/31 23:59:59"}};
    for (const auto& c : aCases) {
        char szDate[RANK_DATE_SIZE];
        MakeDateStampAt(c.first, szDate);
        EXPECT_STREQ(szDate, c.second);
    }
    unsetenv("TZ");
    tzset();
}

TEST(Ranking, SavedFileHasTheFixedLayoutAndReadsBack) {
    TempDir dir;
    RankingTable table;
    InsertResult(table, 480, 123, 456);
    InsertResult(table, 300, 70, 65536 + 65);
    strcpy(table.aszDate[0], "2000/12/31 23:59:59");
    strcpy(table.aszDate[1], "2000/3/5 7:04:09");
    table.aszDate[1][18] = 'x'; // leftovers past the terminator must not reach the file
    // Count, then per row: label, 0, score, turns, seconds (little-endian), 19 stamp bytes.
    // clang-format off
    const char abUsed[] = "\2\0\0\0"
        "1\0\xE0\1\0\0\x7B\0\0\0\xC8\1\0\0" "2000/12/31 23:59:59"
        "2\0\x2C\1\0\0\x46\0\0\0\x41\0\1\0" "2000/3/5 7:04:09\0\0\0";
    // clang-format on
    std::string strExpected(abUsed, sizeof abUsed - 1);
    for (char c : {'3', '4', '5'}) // unused rows
        strExpected += std::string(1, c) + '\0' + std::string(12, '\xFF') + std::string(19, '\0');
    ASSERT_EQ(strExpected.size(), 169u);
    const std::string strPath = dir.File(RANKING_FILE_NAME);
    ASSERT_TRUE(SaveRanking(table, strPath.c_str()));
    EXPECT_EQ(ReadAll(strPath), strExpected);

    RankingTable back;
    ASSERT_TRUE(LoadRanking(back, strPath.c_str()));
    memset(table.aszDate[1] + 17, 0, 2);
    EXPECT_TRUE(Same(back, table));
}

TEST(Ranking, DamagedFilesGiveASoundTable) {
    TempDir dir;
    const std::string strPath = dir.File(RANKING_FILE_NAME);
    const RankingTable full = TableOf({500, 400, 300, 200, 100});
    ASSERT_TRUE(SaveRanking(full, strPath.c_str()));
    const std::string strGood = ReadAll(strPath);
    auto load = [&](const std::string& strBytes, RankingTable table = {}) {
        WriteAll(strPath, strBytes);
        EXPECT_TRUE(LoadRanking(table, strPath.c_str()));
        ExpectSound(table);
        return table;
    };

    RankingTable table = full;
    EXPECT_FALSE(LoadRanking(table, (strPath + ".missing").c_str()));
    EXPECT_TRUE(Same(table, full));
    EXPECT_EQ(load("").nCount, 0);
    std::string strBytes = strGood + std::string(31, 'q');
    strBytes[4] = 'Z'; // labels are not checked, bytes past 169 are ignored
    EXPECT_TRUE(Same(load(strBytes), full));
    // Cut in row 2's score: what the file holds is read, half a number is not.
    table = load(strGood.substr(0, 74), TableOf({450, 440, 430, 420, 410}));
    EXPECT_TRUE(table.anScore[1] == 400 && table.anScore[2] == 430);

    strBytes = strGood;
    strBytes.replace(0, 4, "\xF9\xFF\xFF\xFF"); // -7
    EXPECT_EQ(load(strBytes).nCount, 0);
    strBytes.replace(0, 4, "\x63\0\0\0", 4); // 99
    strBytes.replace(6, 12, 12, '\x7F');     // row 0: huge score, turns and seconds
    strBytes[18 + 6] = 'A';                  // row 0's date cut after six characters
    strBytes[50] = '\xFE';                   // row 1's seconds negative
    table = load(strBytes);
    EXPECT_EQ(table.nCount, 5);
    EXPECT_TRUE(table.anScore[0] == 500 && table.anOpens[0] == 9999 &&
                table.anSeconds[0] == 0x7F7F7F7F && table.anSeconds[1] == 0);
    EXPECT_EQ(strlen(table.aszDate[0]), 6u);

    std::mt19937 rng(7);
    for (int i = 0; i < 50; ++i) {
        strBytes.assign(rng() % 220, '\0');
        for (char& c : strBytes)
            c = static_cast<char>(rng());
        load(strBytes);
    }
}
