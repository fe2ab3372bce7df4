// The ranking and options dialogs over a real main window: what they show, what
// they hand back, and the game clock standing still while either is open.

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/msgdlg.h>
#include <wx/xrc/xmlres.h>

#include "records/ini.h"
#include "records/settings.h"
#include "tests/gui_test.h"
#include "tests/temp_dir.h"
#include "ui/app.h"
#include "ui/frame.h"
#include "ui/option_dialog.h"
#include "ui/ranking_dialog.h"
#include "ui/wsys.h"

namespace {

// A main window over a TEMP of its own; closing it saves both files there.
class Dialogs : public testing::Test {
protected:
    void SetUp() override {
        m_pFrame = CreateMainWindow();
        PumpEvents(50);
    }
    void TearDown() override {
        if (m_pFrame)
            CloseFrame();
    }
    void CloseFrame() {
        m_pFrame->Close(true);
        m_pFrame = nullptr;
        PumpEvents(50);
    }
    CGameBoard& Board() { return m_pFrame->m_board; }
    wxTimer* Clock() { return m_pFrame->GetWindowTimer(TIMER_CLOCK); }
    // Turns up card 0 and the first card that does (or does not) share its rank.
    int OpenTurn(bool bSameRank) {
        int nSecond = 1;
        while ((Board().IsSameRank(0, nSecond) != 0) != bSameRank)
            ++nSecond;
        for (int i : {0, nSecond}) {
            const CCard* pCard = Board().m_apCards[i];
            m_pFrame->OnBoardClick(0, wxPoint(pCard->m_nX + 10, pCard->m_nY + 10));
        }
        return nSecond;
    }
    TempDir m_temp;
    CGameFrame* m_pFrame = nullptr;
};

// Counts the paints a window receives; the window's own painting still runs.
struct PaintCounter {
    explicit PaintCounter(wxWindow* pWindow) : m_pWindow(pWindow) {
        pWindow->Bind(wxEVT_PAINT, &PaintCounter::OnPaint, this);
    }
    ~PaintCounter() { m_pWindow->Unbind(wxEVT_PAINT, &PaintCounter::OnPaint, this); }
    void OnPaint(wxPaintEvent& event) {
        ++m_nPaints;
        event.Skip();
    }
    wxWindow* m_pWindow;
    int m_nPaints = 0;
};

template <class T> T* Control(wxWindow* pDlg, int nId) {
    return dynamic_cast<T*>(pDlg->FindWindow(nId));
}

bool IsChecked(wxWindow* pDlg, int nId) {
    return Control<wxCheckBox>(pDlg, nId)->GetValue();
}

// A list as the player leaves it: the selection moved (as arrow keys on the closed
// list move it), and then maybe the close-up of the dropped-down list.
void SelectInList(wxWindow* pDlg, int nId, int nRow, bool bCloseUp) {
    auto* pList = Control<wxComboBox>(pDlg, nId);
    pList->SetSelection(nRow);
    for (wxEventType type : {wxEVT_COMBOBOX, wxEVT_COMBOBOX_CLOSEUP}) {
        if (type == wxEVT_COMBOBOX_CLOSEUP && !bCloseUp)
            break;
        wxCommandEvent event(type, nId);
        event.SetEventObject(pList);
        event.SetInt(nRow);
        pList->GetEventHandler()->ProcessEvent(event);
    }
    PumpEvents(20);
}

void ClickCheck(wxWindow* pDlg, int nId) {
    auto* pBox = Control<wxCheckBox>(pDlg, nId);
    pBox->SetValue(!pBox->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, nId);
    event.SetEventObject(pBox);
    event.SetInt(pBox->GetValue());
    pBox->GetEventHandler()->ProcessEvent(event);
}

bool SameImage(const wxBitmap& a, const wxBitmap& b) {
    const wxImage imageA = a.ConvertToImage(), imageB = b.ConvertToImage();
    return imageA.GetSize() == imageB.GetSize() &&
           std::memcmp(imageA.GetData(), imageB.GetData(),
                       imageA.GetWidth() * imageA.GetHeight() * 3) == 0;
}

// The options dialog as a player meets it: wx initialises a dialog only when it
// shows it, which is after the modal hook has answered.
DialogScript OptionsScript(std::function<int(COptionDialog&)> answer) {
    return DialogScript([answer](wxDialog* pDlg) {
        auto* pOptions = dynamic_cast<COptionDialog*>(pDlg);
        if (!pOptions)
            return 0;
        pOptions->InitDialog();
        return answer(*pOptions);
    });
}

} // namespace

TEST_F(Dialogs, RankingShowsTheTableAndAppliesAConfirmedClearOnceClosed) {
    const struct {
        int nResults;
        int nAnswer;
    } cases[] = {{2, wxID_OK}, {2, wxID_CANCEL}, {0, wxID_OK}};
    RankingTable& table = *Board().m_pRanking;
    for (const auto& c : cases) {
        table.ClearRanking();
        for (int i = 0; i < c.nResults; ++i)
            m_pFrame->InsertResult(500 - 20 * i, 26 + i, 192);
        std::string strScore, strMessage, strCaption;
        long nStyle = 0;
        int bCleared = -1;
        DialogScript script([&](wxDialog* pDlg) {
            if (auto* pBox = dynamic_cast<wxMessageDialog*>(pDlg)) {
                strMessage = FromWx(pBox->GetMessage());
                strCaption = FromWx(pBox->GetCaption());
                nStyle = pBox->GetMessageDialogStyle();
                return c.nAnswer;
            }
            auto* pRanking = dynamic_cast<CRankingDialog*>(pDlg);
            strScore = pRanking->m_aRows[c.nResults ? 1 : 0].szScore;
            pRanking->OnClear();
            EXPECT_EQ(table.nCount, c.nResults); // only once the dialog has closed
            EXPECT_EQ(*pRanking->m_aRows[0].szRank == 0, c.nAnswer == wxID_OK || !c.nResults);
            bCleared = pRanking->m_bCleared;
            // Escape and the close box press button 2, the OK button.
            EXPECT_EQ(pRanking->GetEscapeId(), 2);
            return 1;
        });
        m_pFrame->OnRanking();
        const bool bOk = c.nAnswer == wxID_OK;
        EXPECT_EQ(strScore, c.nResults ? " 480" : "");
        EXPECT_EQ(strMessage, "クリアします。宜しいですか？");
        EXPECT_EQ(strCaption, "ランキングのクリア");
        EXPECT_EQ(nStyle & (wxICON_MASK & ~wxICON_NONE), 0);
        EXPECT_EQ(bCleared, bOk ? 1 : 0);
        EXPECT_EQ(table.nCount, bOk ? 0 : c.nResults);
        m_pFrame->InsertResult(300, 40, 100);
        EXPECT_EQ(table.nCount, bOk ? 1 : c.nResults + 1);
        EXPECT_EQ(table.anScore[0], bOk ? 300 : 500);
    }
}

TEST_F(Dialogs, ClockStandsStillWhileADialogIsOpenButTurnsStillClose) {
    Board().m_nTimeIndex = 0; // 100 ms
    Board().m_bTimeAuto = 1;
    for (bool bPlaying : {false, true}) {
        for (bool bOptions : {false, true}) {
            int nSecond = 0;
            if (bPlaying) {
                m_pFrame->StartGame();
                g_nGameSeconds = 42;
                nSecond = OpenTurn(!bOptions); // a pair under the ranking, a mismatch under options
            }
            bool bRunning = true, bTurnClosed = false;
            int bActive = -1;
            DialogScript script([&](wxDialog*) {
                bRunning = Clock()->IsRunning();
                bActive = Board().IsTimerActive(TIMER_CLOCK);
                PumpEvents(700);
                const CCard* pSecond = Board().m_apCards[nSecond];
                bTurnClosed = bPlaying && Board().GetOpenCard(0) == -1 &&
                              (bOptions ? !pSecond->IsFaceUp() : pSecond->IsRemoved());
                return bOptions ? 2 : 1;
            });
            bOptions ? m_pFrame->OnOptions() : m_pFrame->OnRanking();
            EXPECT_FALSE(bRunning);
            EXPECT_EQ(bActive, bPlaying ? 1 : 0);
            EXPECT_EQ(bTurnClosed, bPlaying) << bOptions;
            EXPECT_EQ(Clock()->IsRunning(), bPlaying);
            if (bPlaying) {
                EXPECT_EQ(Clock()->GetInterval(), CLOCK_INTERVAL_MS);
                EXPECT_EQ(g_nGameSeconds, 42);
            }
        }
    }
}

TEST_F(Dialogs, AGameWonWhileTheRankingIsOpenLeavesTheClockStopped) {
    m_pFrame->InsertResult(100, 99, 999);
    m_pFrame->StartGame();
    const int nSecond = OpenTurn(true);
    for (int i = 1; i < CARD_COUNT; ++i)
        if (i != nSecond)
            Board().m_apCards[i]->SetRemoved(1);
    int nClearDialogs = 0;
    std::string strShown;
    DialogScript script([&](wxDialog* pDlg) {
        auto* pRanking = dynamic_cast<CRankingDialog*>(pDlg);
        if (!pRanking)
            return ++nClearDialogs;
        m_pFrame->OnGameTimer(TIMER_PAIR);
        strShown = pRanking->m_aRows[0].szScore;
        return 1;
    });
    m_pFrame->OnRanking();
    EXPECT_EQ(nClearDialogs, 1);
    EXPECT_EQ(strShown, " 100");
    EXPECT_EQ(Board().m_pRanking->nCount, 2);
    EXPECT_FALSE(Clock()->IsRunning());
    EXPECT_EQ(Board().IsTimerActive(TIMER_CLOCK), 0);
}

TEST_F(Dialogs, OptionsCancelDropsEveryChangeAndOkAppliesAndReloads) {
    const struct {
        int nAnswer;
        bool bChange;
    } cases[] = {{2, true}, {1, false}, {1, true}};
    for (const auto& c : cases) {
        CGameBoard& board = Board();
        board.m_nCardPattern = 0;
        board.m_nBackground = 2; // 16 x 16
        board.m_nTimeIndex = 3;
        board.m_bTimeAuto = 1;
        g_bCenterWindow = 1;
        g_bRandomCard = 0;
        g_bRandomBack = 1;
        LoadResBitmap(BACKGROUND_BASE_ID + 2, g_pBackgroundBitmap);
        const wxObjectRefData* pBackground = g_pBackgroundBitmap->GetRefData();
        const wxObjectRefData* pCardBack = g_pCardBackBitmap->GetRefData();
        DialogScript script = OptionsScript([&](COptionDialog& dlg) {
            if (c.bChange) {
                SelectInList(&dlg, 1001, 3, true);
                SelectInList(&dlg, 1005, 13, true); // 320 x 240
                SelectInList(&dlg, 1002, 7, true);
                for (int nId : {1003, 1006, 1007, 1008})
                    ClickCheck(&dlg, nId);
                EXPECT_EQ(dlg.m_nBackground, 13);
                EXPECT_EQ(dlg.m_bTimeAuto, 0);
            }
            return c.nAnswer;
        });
        PumpEvents(100);
        PaintCounter paints(m_pFrame);
        m_pFrame->OnOptions();
        PumpEvents(100);
        const bool bApplied = c.nAnswer == 1 && c.bChange;
        EXPECT_EQ(board.m_nCardPattern, bApplied ? 3 : 0);
        EXPECT_EQ(board.m_nBackground, bApplied ? 13 : 2);
        EXPECT_EQ(board.m_nTimeIndex, bApplied ? 7 : 3);
        EXPECT_EQ(board.m_bTimeAuto, bApplied ? 0 : 1);
        EXPECT_EQ(g_bCenterWindow, bApplied ? 0 : 1);
        EXPECT_EQ(g_bRandomCard, bApplied ? 1 : 0);
        EXPECT_EQ(g_bRandomBack, bApplied ? 0 : 1);
        EXPECT_EQ(g_pBackgroundBitmap->GetWidth(), bApplied ? 320 : 16);
        const bool bReloaded = c.nAnswer == 1;
        EXPECT_EQ(g_pBackgroundBitmap->GetRefData() != pBackground, bReloaded);
        EXPECT_EQ(g_pCardBackBitmap->GetRefData() != pCardBack, bReloaded);
        EXPECT_EQ(paints.m_nPaints > 0, bReloaded) << c.nAnswer;
    }
}

TEST_F(Dialogs, OptionListsAreTakenOverOnCloseUpOnly) {
    Board().m_nCardPattern = Board().m_nBackground = Board().m_nTimeIndex = 0;
    DialogScript script = OptionsScript([](COptionDialog& dlg) {
        const struct {
            int nId;
            int* pnValue;
            const wxBitmap* pPreview;
            int nFirstBitmap;
        } lists[] = {{1001, &dlg.m_nCardPattern, dlg.m_pCardBackPreview, CARD_BACK_BASE_ID},
                     {1005, &dlg.m_nBackground, dlg.m_pBackgroundPreview, BACKGROUND_BASE_ID},
                     {1002, &dlg.m_nTimeIndex, nullptr, 0}};
        for (const auto& list : lists) {
            const wxObjectRefData* pShown = list.pPreview ? list.pPreview->GetRefData() : nullptr;
            SelectInList(&dlg, list.nId, 2, false);
            EXPECT_EQ(*list.pnValue, 0) << list.nId;
            EXPECT_TRUE(!list.pPreview || list.pPreview->GetRefData() == pShown);
            SelectInList(&dlg, list.nId, 2, true);
            EXPECT_EQ(*list.pnValue, 2) << list.nId;
            wxBitmap expected;
            if (list.pPreview && LoadResBitmap(list.nFirstBitmap + 2, &expected)) {
                EXPECT_TRUE(SameImage(*list.pPreview, expected)) << list.nId;
            }
        }
        return 2;
    });
    m_pFrame->OnOptions();
    EXPECT_EQ(script.m_nShown, 1);
}

TEST_F(Dialogs, OptionControlsShowTheWorkingCopies) {
    for (int bTimeAuto : {0, 1}) {
        Board().m_nCardPattern = 1;
        Board().m_nBackground = 23;
        Board().m_nTimeIndex = 5;
        Board().m_bTimeAuto = bTimeAuto;
        g_bCenterWindow = bTimeAuto;
        g_bRandomCard = !bTimeAuto;
        g_bRandomBack = 1;
        DialogScript script = OptionsScript([&](COptionDialog& dlg) {
            const struct {
                int nId;
                const OptionEntry* pRows;
                unsigned nRows;
                int nSelected;
            } lists[] = {{1001, g_aCardPatterns, CARD_PATTERN_COUNT, 1},
                         {1005, g_aBackgrounds, BACKGROUND_COUNT, 23},
                         {1002, g_aCloseTimes, CLOSE_TIME_COUNT, 5}};
            for (const auto& list : lists) {
                auto* pList = Control<wxComboBox>(&dlg, list.nId);
                EXPECT_EQ(pList->GetCount(), list.nRows);
                EXPECT_EQ(pList->GetSelection(), list.nSelected);
                EXPECT_EQ(FromWx(pList->GetValue()), list.pRows[list.nSelected].szName);
            }
            EXPECT_EQ(IsChecked(&dlg, 1003), bTimeAuto == 0);
            EXPECT_EQ(IsChecked(&dlg, 1006), bTimeAuto != 0);
            EXPECT_EQ(IsChecked(&dlg, 1007), bTimeAuto == 0);
            EXPECT_TRUE(IsChecked(&dlg, 1008));
            ClickCheck(&dlg, 1003);
            return 1;
        });
        m_pFrame->OnOptions();
        EXPECT_EQ(Board().m_bTimeAuto, bTimeAuto ? 0 : 1);
    }
}

TEST_F(Dialogs, StartUpSwitchesReachTheSettingsFileAndActAtTheNextStart) {
    DialogScript script = OptionsScript([](COptionDialog& dlg) {
        for (int nId : {1006, 1007, 1008})
            if (IsChecked(&dlg, nId))
                ClickCheck(&dlg, nId);
        SelectInList(&dlg, 1001, 2, true);
        SelectInList(&dlg, 1005, 5, true);
        return 1;
    });
    m_pFrame->OnOptions();
    CloseFrame();
    const std::string strPath = m_temp.File(SETTINGS_FILE_NAME);
    const char* aKeys[][2] = {
        {"OPTION1", "0"}, {"OPTION2", "0"}, {"OPTION3", "0"}, {"CARDNO", "2"}, {"BACKNO", "5"}};
    for (const auto& key : aKeys) {
        char szValue[PROFILE_VALUE_SIZE];
        GetProfileString("START", key[0], "", szValue, sizeof szValue, strPath.c_str());
        EXPECT_STREQ(szValue, key[1]) << key[0];
    }
    m_pFrame = CreateMainWindow();
    EXPECT_EQ(Board().m_nCardPattern, 2);
    EXPECT_EQ(Board().m_nBackground, 5);
}

TEST_F(Dialogs, OptionControlsAndPreviewsLieInsideTheirGroups) {
    DialogScript script = OptionsScript([](COptionDialog& dlg) {
        auto group = [&](const char* pszName) {
            return dlg.FindWindow(wxXmlResource::GetXRCID(pszName))->GetRect();
        };
        const struct {
            int nId;
            wxRect rect;
            wxRect group;
        } items[] = {
            {-1, dlg.CardBackPreviewRect(), group("group_card")},
            {-2, dlg.BackgroundPreviewRect(), group("group_back")},
            {1001, dlg.FindWindow(1001)->GetRect(), group("group_card")},
            {1005, dlg.FindWindow(1005)->GetRect(), group("group_back")},
            {1002, dlg.FindWindow(1002)->GetRect(), group("group_close")},
            {1003, dlg.FindWindow(1003)->GetRect(), group("group_close")},
            {1006, dlg.FindWindow(1006)->GetRect(), group("group_start")},
            {1007, dlg.FindWindow(1007)->GetRect(), group("group_start")},
            {1008, dlg.FindWindow(1008)->GetRect(), group("group_start")},
        };
        EXPECT_EQ(items[0].rect.GetSize(), wxSize(CARD_WIDTH, CARD_HEIGHT));
        EXPECT_EQ(items[1].rect.GetSize(), wxSize(50, 50));
        for (const auto& item : items) {
            EXPECT_TRUE(item.group.Contains(item.rect)) << item.nId;
            for (const auto& other : items)
                EXPECT_TRUE(&item == &other || !item.rect.Intersects(other.rect))
                    << item.nId << " overlaps " << other.nId;
        }
        // The delay and the label beside it are shown whole.
        for (int nId : {1002, 1003})
            EXPECT_GE(dlg.FindWindow(nId)->GetSize().x, dlg.FindWindow(nId)->GetBestSize().x);
        return 2;
    });
    m_pFrame->OnOptions();
}

// Pictures of both dialogs for the README: run with --gtest_also_run_disabled_tests
// and PELMANIX_SHOT_DIR naming the directory the PNG files go to.
TEST_F(Dialogs, DISABLED_Screenshots) {
    const char* pszDir = std::getenv("PELMANIX_SHOT_DIR");
    ASSERT_NE(pszDir, nullptr);
    const int aResults[][3] = {{500, 26, 192}, {480, 31, 254}, {480, 33, 301}, {430, 40, 415}};
    for (const auto& r : aResults)
        m_pFrame->InsertResult(r[0], r[1], r[2]);
    auto shoot = [&](wxDialog* pDlg, const char* pszName) {
        pDlg->Show();
        PumpEvents(500);
        const wxRect rect(pDlg->GetScreenPosition(), pDlg->GetSize());
        const wxString strCommand =
            wxString::Format("import -window root -crop %dx%d+%d+%d +repage %s/%s", rect.width,
                             rect.height, rect.x, rect.y, pszDir, pszName);
        EXPECT_EQ(std::system(strCommand.utf8_str()), 0) << strCommand.utf8_str().data();
        pDlg->Hide();
    };
    CRankingDialog ranking(m_pFrame);
    BuildRankingRows(*Board().m_pRanking, ranking.m_aRows);
    shoot(&ranking, "ranking-dialog.png");
    COptionDialog options(m_pFrame);
    options.m_nCardPattern = 1;
    options.m_nBackground = 5;
    options.m_nTimeIndex = 3;
    options.m_bCenterWindow = 1;
    shoot(&options, "options-dialog.png");
}
