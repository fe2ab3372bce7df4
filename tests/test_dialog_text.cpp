// The four lines of the game-clear summary, byte for byte.

#include <gtest/gtest.h>

#include "core/dialog_text.h"

TEST(ClearLines, TurnsTimeMissCountsScoreAndGrade) {
    const char* pszHeading = "同じカードを開いた回数（取れなかった場合）";
    // Cards turned back k times at index k; 5 stands for five or more, the rest is not shown.
    const struct {
        int anHistogram[CLEAR_HISTOGRAM_SIZE];
        int nOpens, nSeconds, nScore;
        const char* apszLines[CLEAR_LINE_COUNT];
    } cases[] = {
        {{52, 3, 0, 12, 1, 0, 7, 7, 7, 7},
         57,
         185,
         487,
         {"開数：57　時間：00:03:05", pszHeading,
          "　1 回： 3　2 回： 0　3 回：12　4 回： 1　5 回以上： 0", "得点：487　ＬＶ：Ｓ"}},
        {{0, 10, 9, 99, 100, 5000},
         9999,
         360000,
         500,
         {"開数：9999　時間：100:00:00", pszHeading,
          "　1 回：10　2 回： 9　3 回：99　4 回：99　5 回以上：99", "得点：500　ＬＶ：SS"}},
    };
    for (const auto& c : cases) {
        ClearLines lines;
        BuildClearLines(c.anHistogram, c.nOpens, c.nSeconds, c.nScore, &lines);
        for (int i = 0; i < CLEAR_LINE_COUNT; ++i)
            EXPECT_STREQ(lines.aszLine[i], c.apszLines[i]) << c.nOpens << " line " << i;
    }
}
