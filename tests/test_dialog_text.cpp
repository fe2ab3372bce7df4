// The four lines of the game-clear summary, byte for byte.

#include <gtest/gtest.h>

#include "core/dialog_text.h"

namespace {

// Counts of cards turned back 1, 2, 3, 4 and 5 or more times.
struct Counts {
    int an[5];
};

ClearLines Build(const Counts& counts, int nOpens, int nSeconds, int nScore) {
    int anHistogram[CLEAR_HISTOGRAM_SIZE] = {};
    for (int k = 1; k <= 5; ++k)
        anHistogram[k] = counts.an[k - 1];
    ClearLines lines;
    BuildClearLines(anHistogram, nOpens, nSeconds, nScore, &lines);
    return lines;
}

TEST(ClearLines, TurnsAndTime) {
    const struct {
        int nOpens, nSeconds;
        const char* pszLine;
    } aCases[] = {{57, 185, "開数：57　時間：00:03:05"},
                  {9, 0, "開数：9　時間：00:00:00"},
                  {9999, 360000, "開数：9999　時間：100:00:00"}};
    for (const auto& c : aCases)
        EXPECT_STREQ(Build({}, c.nOpens, c.nSeconds, 500).aszLine[0], c.pszLine) << c.nOpens;
}

TEST(ClearLines, FixedHeading) {
    EXPECT_STREQ(Build({}, 26, 60, 500).aszLine[1], "同じカードを開いた回数（取れなかった場合）");
}

TEST(ClearLines, MissCounts) {
    const struct {
        Counts counts;
        const char* pszLine;
    } aCases[] = {
        {{3, 0, 12, 1, 0}, "　1 回： 3　2 回： 0　3 回：12　4 回： 1　5 回以上： 0"},
        {{0, 0, 0, 0, 0}, "　1 回： 0　2 回： 0　3 回： 0　4 回： 0　5 回以上： 0"},
        {{10, 9, 99, 100, 5000}, "　1 回：10　2 回： 9　3 回：99　4 回：99　5 回以上：99"},
    };
    for (const auto& c : aCases)
        EXPECT_STREQ(Build(c.counts, 30, 60, 400).aszLine[2], c.pszLine);
}

TEST(ClearLines, HistogramEntriesOutsideOneToFiveAreNotShown) {
    int anHistogram[CLEAR_HISTOGRAM_SIZE] = {52, 0, 0, 0, 0, 0, 7, 7, 7, 7};
    ClearLines lines;
    BuildClearLines(anHistogram, 26, 60, 500, &lines);
    EXPECT_STREQ(lines.aszLine[2], "　1 回： 0　2 回： 0　3 回： 0　4 回： 0　5 回以上： 0");
}

TEST(ClearLines, ScoreAndGrade) {
    const struct {
        int nScore;
        const char* pszLine;
    } aCases[] = {{500, "得点：500　ＬＶ：SS"},
                  {487, "得点：487　ＬＶ：Ｓ"},
                  {450, "得点：450　ＬＶ：Ａ"},
                  {300, "得点：300　ＬＶ：Ｄ"},
                  {0, "得点：0　ＬＶ：Ｅ"}};
    for (const auto& c : aCases)
        EXPECT_STREQ(Build({}, 26, 60, c.nScore).aszLine[3], c.pszLine) << c.nScore;
}

} // namespace
