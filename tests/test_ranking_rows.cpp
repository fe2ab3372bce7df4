// The ranking dialog's lines: places shared by equal scores, the texts of a line,
// and tables that a damaged file may leave behind.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/dialog_text.h"

namespace {

RankingTable MakeTable(std::vector<int> scores) {
    RankingTable table;
    table.nCount = static_cast<int>(scores.size());
    for (int i = 0; i < table.nCount && i < RANK_ROWS; ++i) {
        table.anScore[i] = scores[i];
        table.anOpens[i] = 26 + i;
        table.anSeconds[i] = 192;
        std::snprintf(table.aszDate[i], RANK_DATE_SIZE, "2024/05/0%d 12:34:56", i + 1);
    }
    return table;
}

// All six texts of a line, one after the other.
std::string Line(const RankingRow& row) {
    return std::string(row.szRank) + row.szScore + row.szOpens + row.szTime + row.szGrade +
           row.szDate;
}

} // namespace

TEST(RankingRows, PlacesLineTextsEmptyLinesAndTimesOfAHundredHours) {
    RankingTable table = MakeTable({500, 500, 480});
    table.anSeconds[1] = 360000;
    table.anSeconds[2] = 2147483647;
    RankingRow rows[RANK_ROWS];
    std::memset(rows, 'x', sizeof rows); // what an earlier showing left must not survive
    BuildRankingRows(table, rows);
    EXPECT_EQ(Line(rows[0]), "   1 500  2600:03:12　SS2024/05/01 12:34:56");
    EXPECT_EQ(std::string(rows[1].szRank) + rows[2].szRank, "   1   2"); // 500, 500, 480
    EXPECT_STREQ(rows[1].szTime, "100:00:00");
    EXPECT_STREQ(rows[2].szTime, "596523:14:07");
    EXPECT_EQ(Line(rows[3]) + Line(rows[4]), "");
}

TEST(RankingRows, DamagedCountNeverReachesPastFiveRows) {
    for (int nCount : {6, -3}) {
        RankingTable table = MakeTable({500, 400, 300, 200, 100});
        table.nCount = nCount;
        table.anScore[4] = 123456;
        std::memset(table.aszDate[4], 'A', RANK_DATE_SIZE); // no terminator
        RankingRow rows[RANK_ROWS + 1];
        std::memset(&rows[RANK_ROWS], 'z', sizeof rows[RANK_ROWS]);
        short anPlaces[RANK_ROWS + 1] = {0, 0, 0, 0, 0, -7};
        NumberPlaces(table, anPlaces);
        BuildRankingRows(table, rows);
        EXPECT_EQ(anPlaces[RANK_ROWS], -7) << nCount;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&rows[RANK_ROWS]), sizeof(RankingRow)),
                  std::string(sizeof(RankingRow), 'z'))
            << nCount;
        EXPECT_EQ(Line(rows[0]).empty(), nCount < 0) << nCount;
        EXPECT_EQ(std::string(rows[4].szRank) + rows[4].szScore + rows[4].szDate,
                  nCount < 0 ? "" : "   51234" + std::string(RANK_DATE_SIZE - 1, 'A'));
    }
}
