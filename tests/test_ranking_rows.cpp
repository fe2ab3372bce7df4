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

bool IsEmpty(const RankingRow& row) {
    return !*row.szRank && !*row.szScore && !*row.szOpens && !*row.szDate && !*row.szTime &&
           !*row.szGrade;
}

} // namespace

TEST(RankingRows, EqualScoresSharePlacesAndTheNextScoreTakesTheNextNumber) {
    const struct {
        std::vector<int> scores;
        std::vector<const char*> places;
    } cases[] = {
        {{500, 500, 480}, {"   1", "   1", "   2"}},
        {{500, 480, 480, 300, 300}, {"   1", "   2", "   2", "   3", "   3"}},
        {{490, 480, 470, 460, 450}, {"   1", "   2", "   3", "   4", "   5"}},
    };
    for (const auto& c : cases) {
        RankingRow rows[RANK_ROWS];
        BuildRankingRows(MakeTable(c.scores), rows);
        for (size_t i = 0; i < c.places.size(); ++i)
            EXPECT_STREQ(rows[i].szRank, c.places[i]) << "row " << i << " of " << c.scores.size();
    }
}

TEST(RankingRows, LineTextsEmptyLinesAndTimesOfAHundredHours) {
    RankingTable table = MakeTable({500, 480, 300});
    table.anSeconds[1] = 360000;
    table.anSeconds[2] = 2147483647;
    RankingRow rows[RANK_ROWS];
    std::memset(rows, 'x', sizeof rows); // what an earlier showing left must not survive
    BuildRankingRows(table, rows);
    EXPECT_STREQ(rows[0].szRank, "   1");
    EXPECT_STREQ(rows[0].szScore, " 500");
    EXPECT_STREQ(rows[0].szOpens, "  26");
    EXPECT_STREQ(rows[0].szTime, "00:03:12");
    EXPECT_STREQ(rows[0].szGrade, "　SS");
    EXPECT_STREQ(rows[0].szDate, "2024/05/01 12:34:56");
    EXPECT_STREQ(rows[1].szTime, "100:00:00");
    EXPECT_STREQ(rows[2].szTime, "596523:14:07");
    for (int r = 3; r < RANK_ROWS; ++r)
        EXPECT_TRUE(IsEmpty(rows[r])) << r;
    ClearRankingRows(rows);
    for (const RankingRow& row : rows)
        EXPECT_TRUE(IsEmpty(row));
}

TEST(RankingRows, DamagedTableNeverReachesPastFiveRows) {
    for (int nCount : {9, 6, -3}) {
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
        for (int r = 0; nCount < 0 && r < RANK_ROWS; ++r)
            EXPECT_TRUE(IsEmpty(rows[r])) << r;
        if (nCount > 0) {
            EXPECT_STREQ(rows[4].szRank, "   5");
            EXPECT_EQ(std::strlen(rows[4].szScore), 4u);
            EXPECT_EQ(std::string(rows[4].szDate), std::string(RANK_DATE_SIZE - 1, 'A'));
        }
    }
}
