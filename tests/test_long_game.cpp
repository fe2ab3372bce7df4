// Games longer than anyone plays, and one whole game from start to close: counters stop
// at their caps and every text still shows whole. The whole game is also what
// tools/valgrind_game.sh runs under memcheck.

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <wx/defs.h>

#include <wx/dcsvg.h> // which needs wx/defs.h before it

#include "core/dialog_text.h"
#include "records/paths.h"
#include "records/ranking.h"
#include "records/settings.h"
#include "tests/gui_test.h"
#include "tests/temp_dir.h"
#include "ui/app.h"
#include "ui/clear_dialog.h"
#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

wxPoint CardPoint(int i) {
    return wxPoint(4 + 54 * (i % 13) + 25, 4 + 72 * (i / 13) + 34);
}

// Turns up two cards as a player would and lets the turn's timer expire.
void PlayTurn(CGameFrame* pFrame, int a, int b) {
    pFrame->OnBoardClick(0, CardPoint(a));
    pFrame->OnBoardClick(0, CardPoint(b));
    pFrame->OnGameTimer(pFrame->m_board.IsSameRank(a, b) ? TIMER_PAIR : TIMER_MISS);
}

void PlayAllPairs(CGameFrame* pFrame) {
    const CGameBoard& board = pFrame->m_board;
    for (int a = 0; a < CARD_COUNT; ++a)
        for (int b = a + 1; b < CARD_COUNT && !board.m_apCards[a]->IsRemoved(); ++b)
            if (!board.m_apCards[b]->IsRemoved() && board.IsSameRank(a, b))
                PlayTurn(pFrame, a, b);
}

// The texts pDraw puts on a surface, as an SVG file records them (UTF-8).
std::string DrawnTexts(const std::function<void(wxDC*)>& draw) {
    const std::string strPath = std::string(getenv("TEMP")) + "/drawn.svg";
    {
        wxSVGFileDC svg(strPath, BOARD_WIDTH, BOARD_HEIGHT);
        draw(&svg);
    }
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Shows(const std::string& strSvg, const char* pszSjis) {
    return strSvg.find(ToWx(pszSjis).utf8_str().data()) != std::string::npos;
}

class LongGame : public testing::Test {
protected:
    void SetUp() override {
        m_pFrame = CreateMainWindow();
        PumpEvents(50);
        m_pFrame->StartGame();
    }
    void TearDown() override {
        if (m_pFrame)
            m_pFrame->Destroy();
        PumpEvents(20);
    }

    TempDir m_temp; // no files from an earlier test
    CGameFrame* m_pFrame = nullptr;
    ClearLines m_lines = {};
    // Answers the game-clear dialog, keeping the lines it draws.
    DialogScript m_script{[this](wxDialog* pDialog) {
        if (auto* pClear = dynamic_cast<CClearDialog*>(pDialog))
            BuildClearLines(pClear->m_anHistogram, pClear->m_nOpens, pClear->m_nSeconds,
                            pClear->m_nScore, &m_lines);
        return wxID_OK;
    }};
};

TEST_F(LongGame, TenThousandTurnsAndAHundredHoursShowWhole) {
    CGameBoard& board = m_pFrame->m_board;
    int b = 1;
    while (board.IsSameRank(0, b))
        ++b;
    for (int nTurn = 0; nTurn < 10000; ++nTurn)
        PlayTurn(m_pFrame, 0, b);
    EXPECT_EQ(board.GetOpenCount(), 9999);
    EXPECT_EQ(board.m_apCards[0]->m_nMissCount, 10000); // misses have no cap

    g_nGameSeconds = 100 * 3600 + 59;
    const std::string strSvg = DrawnTexts([this](wxDC* pDC) {
        m_pFrame->DrawOpenCount(pDC);
        m_pFrame->DrawGameTime(pDC);
    });
    EXPECT_TRUE(Shows(strSvg, "開数：9999")) << strSvg;
    EXPECT_TRUE(Shows(strSvg, "100:00:59")) << strSvg;

    PlayAllPairs(m_pFrame);
    ASSERT_EQ(m_script.m_nShown, 1);
    EXPECT_STREQ(m_lines.aszLine[0], "開数：9999　時間：100:00:59");
    EXPECT_STREQ(m_lines.aszLine[3], "得点：0　ＬＶ：Ｅ");
    RankingRow aRows[RANK_ROWS];
    BuildRankingRows(*board.m_pRanking, aRows);
    EXPECT_STREQ(aRows[0].szOpens, "9999");
    EXPECT_STREQ(aRows[0].szTime, "100:00:59");
}

TEST_F(LongGame, WholeGameToTheEndIsSavedWhenClosed) {
    PlayAllPairs(m_pFrame);
    EXPECT_EQ(m_script.m_nShown, 1);
    EXPECT_STREQ(m_lines.aszLine[3], "得点：500　ＬＶ：SS");
    const int nCardPattern = m_pFrame->m_board.m_nCardPattern;
    m_pFrame->Close(true);
    m_pFrame = nullptr;
    PumpEvents(50);

    char szPath[DATA_PATH_SIZE];
    ASSERT_TRUE(GetRankingPath(szPath, sizeof szPath));
    RankingTable table;
    ASSERT_TRUE(LoadRanking(table, szPath));
    EXPECT_EQ(table.nCount, 1);
    EXPECT_EQ(table.anScore[0], 500);
    EXPECT_EQ(table.anOpens[0], 26);
    ASSERT_TRUE(GetSettingsPath(szPath, sizeof szPath));
    StoredSettings settings;
    ReadSettings(szPath, &settings);
    EXPECT_EQ(settings.nCardPattern, nCardPattern);
}

} // namespace
