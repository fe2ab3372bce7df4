// The text helpers over every int: whole texts that fit their buffers, never cut, never
// run past them; the score over any miss counts.

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/board.h"
#include "core/dialog_text.h"
#include "fuzz/fuzz_common.h"

namespace {

std::string TwoDigits(long long n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

void CheckTime(int nSeconds) {
    char sz[TIME_TEXT_SIZE + 8];
    std::memset(sz, 0x5A, sizeof sz);
    FormatGameTime(nSeconds, sz, TIME_TEXT_SIZE);
    const long long n = nSeconds < 0 ? 0 : nSeconds;
    const std::string strExpected =
        TwoDigits(n / 3600) + ":" + TwoDigits(n / 60 % 60) + ":" + TwoDigits(n % 60);
    FUZZ_CHECK(strExpected.size() < TIME_TEXT_SIZE && strExpected == sz);
}

void CheckPad(int nValue, int nWidth) {
    char sz[NUMBER_TEXT_SIZE + 8];
    std::memset(sz, 0x5A, sizeof sz);
    PadNumber(sz, NUMBER_TEXT_SIZE, nValue, nWidth);
    std::string strExpected = std::to_string(nValue);
    if (strExpected.size() < size_t(nWidth))
        strExpected.insert(0, nWidth - strExpected.size(), ' ');
    FUZZ_CHECK(strExpected == sz);
}

const char* GradeOf(int nScore) {
    if (nScore == 500)
        return "\x81\x40SS";
    const struct {
        int nAbove;
        const char* pszGrade;
    } aBands[] = {{450, "\x81\x40\x82\x72"},
                  {400, "\x81\x40\x82\x60"},
                  {350, "\x81\x40\x82\x61"},
                  {300, "\x81\x40\x82\x62"},
                  {200, "\x81\x40\x82\x63"}};
    for (const auto& band : aBands)
        if (nScore > band.nAbove)
            return band.pszGrade;
    return "\x81\x40\x82\x64";
}

void CheckGrade(int nScore) {
    char sz[GRADE_TEXT_SIZE + 8];
    std::memset(sz, 0x5A, sizeof sz);
    ScoreToGrade(nScore, sz, GRADE_TEXT_SIZE);
    FUZZ_CHECK(std::strcmp(sz, GradeOf(nScore)) == 0);
}

std::string TimeText(int nSeconds) {
    char sz[TIME_TEXT_SIZE];
    FormatGameTime(nSeconds, sz, sizeof sz);
    return sz;
}

void CheckClearLines(const int* panHistogram, int nOpens, int nSeconds, int nScore) {
    ClearLines lines;
    std::memset(&lines, 0x5A, sizeof lines);
    BuildClearLines(panHistogram, nOpens, nSeconds, nScore, &lines);
    for (const char* pszLine : lines.aszLine)
        FUZZ_CHECK(fuzz::Terminated(pszLine, CLEAR_LINE_SIZE));
    std::string strCounts;
    for (int k = 1; k <= 5; ++k) {
        char sz[NUMBER_TEXT_SIZE];
        PadNumber(sz, sizeof sz, panHistogram[k], 2);
        strCounts += "　" + std::to_string(k) + (k < 5 ? " 回：" : " 回以上：") +
                     (panHistogram[k] > 99 ? "99" : sz);
    }
    const std::string astrExpected[CLEAR_LINE_COUNT] = {
        "開数：" + std::to_string(nOpens) + "　時間：" + TimeText(nSeconds),
        "同じカードを開いた回数（取れなかった場合）", strCounts,
        "得点：" + std::to_string(nScore) + "　ＬＶ：" + (GradeOf(nScore) + 2)};
    for (int i = 0; i < CLEAR_LINE_COUNT; ++i)
        FUZZ_CHECK(astrExpected[i] == lines.aszLine[i]);
}

void CheckScore(CGameBoard& board, FuzzedDataProvider& fdp) {
    for (CCard* pCard : board.m_apCards)
        pCard->m_nMissCount = fdp.ConsumeBool() ? fdp.ConsumeIntegralInRange(0, 40)
                                                : fdp.ConsumeIntegralInRange(0, INT_MAX);
    int anHistogram[HISTOGRAM_SIZE] = {};
    const int nScore = board.CalcScore(anHistogram);
    long long nPenalty = 0;
    int nSum = 0;
    for (const CCard* pCard : board.m_apCards) {
        const long long m = pCard->m_nMissCount;
        if (nPenalty < MAX_SCORE) // one card's share fits; 52 of them may not
            nPenalty += m * (m - 1) / 2;
    }
    for (int i = 0; i < HISTOGRAM_SIZE; ++i)
        nSum += anHistogram[i];
    FUZZ_CHECK(nSum == CARD_COUNT && anHistogram[6] == 0 && anHistogram[10] == 0);
    FUZZ_CHECK(nScore == (nPenalty >= MAX_SCORE ? 0 : MAX_SCORE - nPenalty));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The model was compiled from a converted copy: its texts must be the Shift_JIS bytes.
    char sz[GRADE_TEXT_SIZE];
    ScoreToGrade(451, sz, sizeof sz);
    FUZZ_CHECK(std::strcmp(sz, "\x81\x40\x82\x72") == 0);
    FUZZ_CHECK(std::strcmp("開数：", "\x8a\x4a\x90\x94\x81\x46") == 0);
    // The edges of the int range, whatever the fuzzer reaches.
    const int anEdges[] = {INT_MIN,   INT_MIN + 1, -1000000000, -1,     0,      1,
                           9,         10,          59,          60,     99,     100,
                           3599,      3600,        35999,       36000,  359999, 360000,
                           999999999, 1000000000,  INT_MAX - 1, INT_MAX};
    int anHistogram[HISTOGRAM_SIZE] = {};
    for (int n : anEdges) {
        CheckTime(n);
        CheckGrade(n);
        for (int nWidth = 1; nWidth <= 9; ++nWidth)
            CheckPad(n, nWidth);
        for (int& nCount : anHistogram)
            nCount = n;
        CheckClearLines(anHistogram, n, n, n);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static CGameBoard* pBoard = [] {
        auto* p = new CGameBoard;
        p->NewDeal();
        return p;
    }();
    FuzzedDataProvider fdp(pData, nSize);
    const int nSeconds = fdp.ConsumeIntegral<int>();
    const int nValue = fdp.ConsumeIntegral<int>();
    const int nScore = fdp.ConsumeIntegral<int>();
    const int nOpens = fdp.ConsumeIntegral<int>();
    int anHistogram[HISTOGRAM_SIZE] = {};
    for (int& nCount : anHistogram)
        nCount = fdp.ConsumeIntegral<int>();
    CheckTime(nSeconds);
    for (int nWidth = 1; nWidth <= 9; ++nWidth)
        CheckPad(nValue, nWidth);
    CheckGrade(nScore);
    CheckClearLines(anHistogram, nOpens, nSeconds, nScore);
    CheckScore(*pBoard, fdp);
    return 0;
}
