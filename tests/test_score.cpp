#include <climits>
#include <cstring>

#include <gtest/gtest.h>

#include "core/score.h"

namespace {

TEST(Score, GradeBands) {
    const char* apszGrade[] = {"　SS", "　Ｓ", "　Ａ", "　Ｂ", "　Ｃ", "　Ｄ", "　Ｅ"};
    // Each band's top and bottom score.
    const int aCases[][2] = {{500, 0}, {499, 1}, {451, 1}, {450, 2}, {401, 2}, {400, 3}, {351, 3},
                             {350, 4}, {301, 4}, {300, 5}, {201, 5}, {200, 6}, {0, 6}};
    for (const auto& c : aCases) {
        char szGrade[GRADE_TEXT_SIZE];
        ScoreToGrade(c[0], szGrade, sizeof szGrade);
        EXPECT_STREQ(szGrade, apszGrade[c[1]]) << c[0];
    }
}

TEST(Score, TimeAndNumberTexts) {
    const struct {
        int nValue;
        const char* pszText;
    } aTimes[] = {{59, "00:00:59"},      {3599, "00:59:59"}, {86400, "24:00:00"},
                  {360000, "100:00:00"}, {-1, "00:00:00"},   {INT_MAX, "596523:14:07"}};
    const struct {
        int nValue, nWidth;
        const char* pszText;
    } aNumbers[] = {{5, 2, " 5"}, {12, 2, "12"}, {123, 2, "123"}, {7, 4, "   7"}};
    char szText[TIME_TEXT_SIZE];
    for (const auto& c : aTimes) {
        FormatGameTime(c.nValue, szText, sizeof szText);
        EXPECT_STREQ(szText, c.pszText) << c.nValue;
    }
    for (const auto& c : aNumbers) {
        PadNumber(szText, sizeof szText, c.nValue, c.nWidth);
        EXPECT_STREQ(szText, c.pszText) << c.nValue;
    }
    memset(szText, 'x', sizeof szText);
    PadNumber(szText, 3, 12345, 2); // cut to the buffer, nothing written past it
    EXPECT_TRUE(strcmp(szText, "12") == 0 && szText[3] == 'x');
}

} // namespace
