#include <cstring>
#include <random>
#include <string>

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "records/ranking.h"
#include "tests/temp_dir.h"

std::string ReadAll(const std::string& strPath); // in test_paths.cpp
void WriteAll(const std::string& strPath, const std::string& strBytes);

namespace {

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

void ExpectSound(const RankingTable& table) {
    ASSERT_TRUE(table.nCount >= 0 && table.nCount <= RANK_ROWS);
    for (int i = 0; i < RANK_ROWS; ++i) {
        const char* pszDate = table.aszDate[i];
        EXPECT_EQ(strspn(pszDate, "0123456789/: "), strlen(pszDate));
        if (i >= table.nCount)
            EXPECT_TRUE(table.anScore[i] == -1 && table.anOpens[i] == -1 &&
                        table.anSeconds[i] == -1 && !*pszDate);
        else
            EXPECT_TRUE(table.anScore[i] >= 0 && table.anScore[i] <= 500 && table.anOpens[i] >= 0 &&
                        table.anOpens[i] <= 9999 && table.anSeconds[i] >= 0);
    }
}

} // namespace

TEST(Ranking, InsertKeepsOrderAndEarlierEqualScoresHigher) {
    TempDir dir;
    EXPECT_EQ(TableOf({0}).nCount, 1);
    EXPECT_EQ(TableOf({0}).anScore[0], 0);
    RankingTable table = TableOf({480, 500, 480, 480}); // the last 480 has turn count 4
    EXPECT_EQ(table.nCount, 4);
    EXPECT_EQ(table.anOpens[3], 4);

    table = TableOf({500, 400, 350, 320, 300});
    RankingTable before = table;
    InsertResult(table, 300, 99, 0);
    EXPECT_TRUE(Same(table, before));
    InsertResult(table, 310, 77, 0);
    EXPECT_EQ(table.nCount, 5);
    EXPECT_EQ(table.anScore[3], 320);
    EXPECT_EQ(table.anOpens[4], 77);
    EXPECT_STREQ(table.aszDate[3], before.aszDate[3]);
}

TEST(Ranking, DateStampsDropLeadingZerosButNotInMinutesAndSeconds) {
    TempDir dir;
    setenv("TZ", "UTC", 1);
    tzset();
    char szDate[RANK_DATE_SIZE];
    MakeDateStampAt(952239849, szDate);
    EXPECT_STREQ(szDate, "2000/3/5 7:04:09");
    MakeDateStampAt(978307507, szDate);
    EXPECT_STREQ(szDate, "2001/1/1 0:05:07");
    MakeDateStampAt(978307199, szDate);
    EXPECT_STREQ(szDate, "2000/12/31 23:59:59");
    unsetenv("TZ");
    tzset();
}

TEST(Ranking, SavedFileHasTheFixedLayoutAndReadsBack) {
    TempDir dir;
    RankingTable table;
    table.nCount = 2;
    table.anScore[0] = 480, table.anOpens[0] = 123, table.anSeconds[0] = 456;
    strcpy(table.aszDate[0], "2000/12/31 23:59:59");
    table.anScore[1] = 300, table.anOpens[1] = 70, table.anSeconds[1] = 65536 + 65;
    strcpy(table.aszDate[1], "2000/3/5 7:04:09");
    table.aszDate[1][18] = 'x'; // leftovers past the terminator must not reach the file
#define UNUSED_ROW(label)                                                                          \
    label, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0,  \
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
    // clang-format off
    const unsigned char abExpected[RANK_FILE_SIZE] = {
        2, 0, 0, 0,
        '1', 0, 0xE0, 0x01, 0, 0, 123, 0, 0, 0, 0xC8, 0x01, 0, 0,
        '2', '0', '0', '0', '/', '1', '2', '/', '3', '1', ' ', '2', '3', ':', '5', '9', ':', '5', '9',
        '2', 0, 0x2C, 0x01, 0, 0, 70, 0, 0, 0, 65, 0, 1, 0,
        '2', '0', '0', '0', '/', '3', '/', '5', ' ', '7', ':', '0', '4', ':', '0', '9', 0, 0, 0,
        UNUSED_ROW('3'), UNUSED_ROW('4'), UNUSED_ROW('5')};
    // clang-format on
    std::string strPath = dir.File(RANKING_FILE_NAME);
    ASSERT_TRUE(SaveRanking(table, strPath.c_str()));
    EXPECT_EQ(ReadAll(strPath), std::string(abExpected, abExpected + RANK_FILE_SIZE));

    RankingTable back;
    ASSERT_TRUE(LoadRanking(back, strPath.c_str()));
    table.aszDate[1][18] = '\0';
    EXPECT_TRUE(Same(back, table));
}

TEST(Ranking, DamagedFilesGiveASoundTable) {
    TempDir dir;
    std::string strPath = dir.File(RANKING_FILE_NAME);
    const RankingTable full = TableOf({500, 400, 300, 200, 100});
    ASSERT_TRUE(SaveRanking(full, strPath.c_str()));
    const std::string strGood = ReadAll(strPath);
    auto load = [&](const std::string& strBytes, RankingTable table) {
        WriteAll(strPath, strBytes);
        EXPECT_TRUE(LoadRanking(table, strPath.c_str()));
        ExpectSound(table);
        return table;
    };

    RankingTable table = full;
    EXPECT_FALSE(LoadRanking(table, (strPath + ".missing").c_str()));
    EXPECT_TRUE(Same(table, full));
    EXPECT_EQ(load("", {}).nCount, 0);
    std::string strBytes = strGood + std::string(31, 'q');
    strBytes[4] = 'Z'; // labels are not checked, bytes past 169 are ignored
    EXPECT_TRUE(Same(load(strBytes, {}), full));
    table = load(strGood.substr(0, 74), TableOf({450, 440, 430, 420, 410}));
    EXPECT_EQ(table.anScore[1], 400);
    EXPECT_EQ(table.anScore[2], 430); // only half of it in the file
    table = load(strGood.substr(0, 100), {});
    EXPECT_EQ(table.anSeconds[2], 30);
    EXPECT_EQ(strncmp(table.aszDate[2], full.aszDate[2], 16), 0);

    strBytes = strGood;
    strBytes.replace(0, 4, "\xF9\xFF\xFF\xFF"); // -7
    EXPECT_EQ(load(strBytes, {}).nCount, 0);
    strBytes[0] = 99, strBytes[1] = strBytes[2] = strBytes[3] = 0;
    EXPECT_EQ(load(strBytes, {}).nCount, 5);
    strBytes.replace(6, 12, 12, '\x7F'); // row 0: huge score, turns and seconds
    strBytes[18 + 6] = 'A';              // row 0's date cut after six characters
    strBytes[50] = '\xFE';               // row 1's seconds negative
    table = load(strBytes, {});
    EXPECT_EQ(table.anScore[0], 500);
    EXPECT_EQ(table.anOpens[0], 9999);
    EXPECT_EQ(table.anSeconds[0], 0x7F7F7F7F);
    EXPECT_EQ(strlen(table.aszDate[0]), 6u);
    EXPECT_EQ(table.anSeconds[1], 0);

    std::mt19937 rng(7);
    for (int i = 0; i < 50; ++i) {
        strBytes.assign(rng() % 220, '\0');
        for (char& c : strBytes)
            c = static_cast<char>(rng());
        load(strBytes, {});
    }
}

TEST(Ranking, FailedSaveLeavesTheOldFileWhole) {
    TempDir dir;
    std::string strPath = dir.File(RANKING_FILE_NAME);
    ASSERT_TRUE(SaveRanking(TableOf({100}), strPath.c_str()));
    const std::string strOld = ReadAll(strPath);
    // Root ignores permissions; a directory in the lock file's place stops root too.
    if (geteuid() == 0)
        ASSERT_TRUE(unlink((strPath + ".lock").c_str()) == 0 &&
                    mkdir((strPath + ".lock").c_str(), 0700) == 0);
    else
        ASSERT_EQ(chmod(dir.Path().c_str(), 0500), 0);
    EXPECT_FALSE(SaveRanking(TableOf({200}), strPath.c_str()));
    chmod(dir.Path().c_str(), 0700);
    EXPECT_FALSE(SaveRanking(TableOf({200}), (strPath + "/under-a-file").c_str()));
    EXPECT_EQ(ReadAll(strPath), strOld);

    // A rename over a directory fails after the temporary file exists; it must go.
    std::string strBlocked = dir.File("blocked");
    ASSERT_EQ(mkdir(strBlocked.c_str(), 0700), 0);
    WriteAll(strBlocked + "/keep", "x");
    EXPECT_FALSE(SaveRanking(TableOf({200}), strBlocked.c_str()));
    int nEntries = 0;
    DIR* pDir = opendir(dir.Path().c_str());
    while (readdir(pDir))
        ++nEntries;
    closedir(pDir);
    EXPECT_EQ(nEntries, 6); // ".", "..", the ranking, "blocked" and their lock files
}
