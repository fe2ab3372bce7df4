// The ranking and options dialogs over a real main window: what they show, what
// they hand back, and the game clock standing still while either is open.

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

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

// A main window over a TEMP of its own.
class Dialogs : public MainWindowTest {
protected:
    // Opens the options over a settled window; wx initialises a dialog only when it
    // shows it, which is after the hook has answered. Gives the number of dialogs shown.
    int RunOptions(std::function<int(COptionDialog&)> answer) {
        DialogScript script([answer](wxDialog* pDlg) {
            auto* pOptions = dynamic_cast<COptionDialog*>(pDlg);
            if (pOptions)
                pOptions->InitDialog();
            return pOptions ? answer(*pOptions) : 0;
        });
        PumpEvents(100);
        m_nPaints = 0;
        m_pFrame->OnOptions();
        PumpEvents(100);
        return script.m_nShown;
    }
    CGameBoard& Board() { return m_pFrame->m_board; }
    wxTimer* Clock() { return m_pFrame->GetWindowTimer(TIMER_CLOCK); }
    TempDir m_temp;
};

void Send(wxControl* pControl, wxEventType type, int nValue) {
    wxCommandEvent event(type, pControl->GetId());
    event.SetEventObject(pControl);
    event.SetInt(nValue);
    pControl->GetEventHandler()->ProcessEvent(event);
}

// A list as the player leaves it: the selection moved (as arrow keys on the closed
// list move it), and then maybe the close-up of the dropped-down list.
void SelectInList(wxWindow* pDlg, int nId, int nRow, bool bCloseUp) {
    auto* pList = dynamic_cast<wxComboBox*>(pDlg->FindWindow(nId));
    pList->SetSelection(nRow);
    Send(pList, wxEVT_COMBOBOX, nRow);
    if (bCloseUp)
        Send(pList, wxEVT_COMBOBOX_CLOSEUP, nRow);
    PumpEvents(20);
}

wxCheckBox* Check(wxWindow* pDlg, int nId) {
    return dynamic_cast<wxCheckBox*>(pDlg->FindWindow(nId));
}

void ClickCheck(wxWindow* pDlg, int nId) {
    wxCheckBox* pBox = Check(pDlg, nId);
    pBox->SetValue(!pBox->GetValue());
    Send(pBox, wxEVT_CHECKBOX, pBox->GetValue());
}

bool SameImage(const wxBitmap& a, const wxBitmap& b) {
    const wxImage imageA = a.ConvertToImage(), imageB = b.ConvertToImage();
    return imageA.GetSize() == imageB.GetSize() &&
           !std::memcmp(imageA.GetData(), imageB.GetData(),
                        imageA.GetWidth() * imageA.GetHeight() * 3);
}

// The three lists, the value each feeds and its preview; the options test starts them
// at nStart (background 2 is 16 x 16) and moves them to nNew (background 13 is 320 x 240).
const struct OptionList {
    int nId, nRows, nStart, nNew, nFirstBitmap;
    const OptionEntry* pRows;
    int CGameBoard::*pBoard;
    int COptionDialog::*pDialog;
    wxBitmap* COptionDialog::*pPreview;
} g_aLists[] = {{1001, CARD_PATTERN_COUNT, 0, 3, CARD_BACK_BASE_ID, g_aCardPatterns,
                 &CGameBoard::m_nCardPattern, &COptionDialog::m_nCardPattern,
                 &COptionDialog::m_pCardBackPreview},
                {1005, BACKGROUND_COUNT, 2, 13, BACKGROUND_BASE_ID, g_aBackgrounds,
                 &CGameBoard::m_nBackground, &COptionDialog::m_nBackground,
                 &COptionDialog::m_pBackgroundPreview},
                {1002, CLOSE_TIME_COUNT, 3, 7, 0, g_aCloseTimes, &CGameBoard::m_nTimeIndex,
                 &COptionDialog::m_nTimeIndex, nullptr}};

} // namespace

TEST_F(Dialogs, RankingClearIsAskedAndAppliedOnceTheDialogCloses) {
    RankingTable& table = *Board().m_pRanking;
    const struct {
        int nResults, nAnswer;
    } cases[] = {{2, wxID_OK}, {2, wxID_CANCEL}, {0, wxID_OK}};
    for (const auto& c : cases) {
        table.ClearRanking();
        for (int i = 0; i < c.nResults; ++i)
            m_pFrame->InsertResult(500 - 20 * i, 26 + i, 192);
        const bool bOk = c.nAnswer == wxID_OK;
        std::string strAsked, strScore;
        DialogScript script([&](wxDialog* pDlg) {
            if (auto* pBox = dynamic_cast<wxMessageDialog*>(pDlg)) {
                strAsked = FromWx(pBox->GetCaption() + "|" + pBox->GetMessage());
                EXPECT_EQ(pBox->GetMessageDialogStyle() & (wxICON_MASK & ~wxICON_NONE), 0);
                return c.nAnswer;
            }
            auto* pRanking = dynamic_cast<CRankingDialog*>(pDlg);
            EXPECT_EQ(pRanking->GetEscapeId(), 2); // Escape and the close box press OK
            strScore = pRanking->m_aRows[c.nResults ? 1 : 0].szScore;
            pRanking->OnClear();
            EXPECT_EQ(table.nCount, c.nResults); // the table waits for the dialog to close
            EXPECT_EQ(*pRanking->m_aRows[0].szRank == 0, bOk || !c.nResults);
            return 1;
        });
        m_pFrame->OnRanking();
        EXPECT_EQ(script.m_nShown, 2);
        EXPECT_EQ(strAsked, "ランキングのクリア|クリアします。宜しいですか？");
        EXPECT_EQ(strScore, c.nResults ? " 480" : "");
        EXPECT_EQ(table.nCount, bOk ? 0 : c.nResults);
        m_pFrame->InsertResult(300, 40, 100);
        EXPECT_EQ(table.nCount, bOk ? 1 : c.nResults + 1);
        EXPECT_EQ(table.anScore[0], bOk ? 300 : 500);
    }
}

// With no game, closing a dialog leaves the clock stopped. In a game it stands still while
// a dialog is open, turns still close, and it goes on afterwards unless the game was won.
TEST_F(Dialogs, ClockStandsStillWhileADialogIsOpen) {
    Board().m_nTimeIndex = 0; // 100 ms
    Board().m_bTimeAuto = 1;
    const struct {
        int bPlaying, bOptions, bLastPair;
    } cases[] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {1, 0, 1}};
    for (const auto& c : cases) {
        int nSecond = 1;
        if (c.bPlaying) {
            m_pFrame->StartGame();
            // a pair under the ranking, a mismatch under options
            while ((Board().IsSameRank(0, nSecond) != 0) == c.bOptions)
                ++nSecond;
            for (int i = 1; c.bLastPair && i < CARD_COUNT; ++i)
                Board().m_apCards[i]->SetRemoved(i != nSecond);
            for (int i : {0, nSecond})
                m_pFrame->OnBoardClick(
                    0, wxPoint(Board().m_apCards[i]->m_nX + 10, Board().m_apCards[i]->m_nY + 10));
        }
        g_nGameSeconds = 42;
        bool bRunning = true, bTurnClosed = false;
        int bActive = -1;
        DialogScript script([&](wxDialog*) {
            if (script.m_nShown > 1) // the summary of the game won meanwhile
                return 1;
            bRunning = Clock()->IsRunning();
            bActive = Board().IsTimerActive(TIMER_CLOCK);
            PumpEvents(700);
            const CCard* pSecond = Board().m_apCards[nSecond];
            bTurnClosed = c.bPlaying && Board().GetOpenCard(0) == -1 &&
                          (c.bOptions ? !pSecond->IsFaceUp() : pSecond->IsRemoved());
            return c.bOptions ? 2 : 1;
        });
        c.bOptions ? m_pFrame->OnOptions() : m_pFrame->OnRanking();
        const bool bGoesOn = c.bPlaying && !c.bLastPair;
        EXPECT_FALSE(bRunning);
        EXPECT_EQ(bActive, c.bPlaying ? 1 : 0);
        EXPECT_EQ(bTurnClosed, c.bPlaying != 0) << c.bOptions;
        EXPECT_EQ(script.m_nShown, c.bLastPair ? 2 : 1);
        EXPECT_EQ(Board().m_pRanking->nCount, c.bLastPair ? 1 : 0);
        EXPECT_EQ(Clock()->IsRunning(), bGoesOn);
        EXPECT_EQ(Board().IsTimerActive(TIMER_CLOCK), bGoesOn ? 1 : 0);
        EXPECT_EQ(g_nGameSeconds, 42);
        EXPECT_TRUE(!bGoesOn || Clock()->GetInterval() == CLOCK_INTERVAL_MS);
    }
}

// The dialog shows the game's choices; a list takes a row only on its close-up; Cancel
// drops every change, OK hands them back and reloads the pictures even when unchanged.
TEST_F(Dialogs, OptionsWorkOnCopiesThatOnlyOkHandsBack) {
    const struct {
        int nAnswer;
        bool bChange;
        int nFlag; // m_bTimeAuto, centre and random back; random card the opposite
    } cases[] = {{2, true, 1}, {1, false, 1}, {1, true, 0}};
    for (const auto& c : cases) {
        for (const OptionList& list : g_aLists)
            Board().*list.pBoard = list.nStart;
        Board().m_bTimeAuto = g_bCenterWindow = g_bRandomBack = c.nFlag;
        g_bRandomCard = !c.nFlag;
        LoadResBitmap(BACKGROUND_BASE_ID + 2, g_pBackgroundBitmap);
        const wxObjectRefData* pBackground = g_pBackgroundBitmap->GetRefData();
        const wxObjectRefData* pCardBack = g_pCardBackBitmap->GetRefData();
        RunOptions([&](COptionDialog& dlg) {
            for (const OptionList& list : g_aLists) {
                auto* pList = dynamic_cast<wxComboBox*>(dlg.FindWindow(list.nId));
                EXPECT_EQ((int)pList->GetCount(), list.nRows);
                EXPECT_EQ(FromWx(pList->GetValue()), list.pRows[list.nStart].szName);
                if (!c.bChange)
                    continue;
                SelectInList(&dlg, list.nId, list.nNew, false);
                EXPECT_EQ(dlg.*list.pDialog, list.nStart) << list.nId;
                SelectInList(&dlg, list.nId, list.nNew, true);
                EXPECT_EQ(dlg.*list.pDialog, list.nNew) << list.nId;
                wxBitmap expected;
                EXPECT_TRUE(!list.pPreview ||
                            (LoadResBitmap(list.nFirstBitmap + list.nNew, &expected) &&
                             SameImage(*(dlg.*list.pPreview), expected)));
            }
            const int aChecked[][2] = {
                {1003, !c.nFlag}, {1006, c.nFlag}, {1007, !c.nFlag}, {1008, c.nFlag}};
            for (const auto& check : aChecked) {
                EXPECT_EQ(Check(&dlg, check[0])->GetValue(), check[1] != 0) << check[0];
                if (c.bChange)
                    ClickCheck(&dlg, check[0]);
            }
            EXPECT_EQ(dlg.m_bTimeAuto, c.bChange ? !c.nFlag : c.nFlag);
            return c.nAnswer;
        });
        const bool bApplied = c.nAnswer == 1 && c.bChange, bReloaded = c.nAnswer == 1;
        for (const OptionList& list : g_aLists)
            EXPECT_EQ(Board().*list.pBoard, bApplied ? list.nNew : list.nStart) << list.nId;
        const int nFlag = bApplied ? !c.nFlag : c.nFlag;
        EXPECT_EQ(Board().m_bTimeAuto, nFlag);
        EXPECT_EQ(g_bCenterWindow, nFlag);
        EXPECT_EQ(g_bRandomBack, nFlag);
        EXPECT_EQ(g_bRandomCard, !nFlag);
        EXPECT_EQ(g_pBackgroundBitmap->GetWidth(), bApplied ? 320 : 16);
        EXPECT_EQ(g_pBackgroundBitmap->GetRefData() != pBackground, bReloaded);
        EXPECT_EQ(g_pCardBackBitmap->GetRefData() != pCardBack, bReloaded);
        EXPECT_EQ(m_nPaints > 0, bReloaded) << c.nAnswer;
    }
}

TEST_F(Dialogs, StartUpSwitchesReachTheSettingsFileAndActAtTheNextStart) {
    g_bCenterWindow = g_bRandomCard = g_bRandomBack = 1;
    RunOptions([](COptionDialog& dlg) {
        for (int nId : {1006, 1007, 1008})
            ClickCheck(&dlg, nId);
        SelectInList(&dlg, 1001, 2, true);
        SelectInList(&dlg, 1005, 5, true);
        return 1;
    });
    m_pFrame->Close(true); // saves, as the close box does
    m_pFrame = nullptr;
    PumpEvents(50);
    const char* aKeys[][2] = {
        {"OPTION1", "0"}, {"OPTION2", "0"}, {"OPTION3", "0"}, {"CARDNO", "2"}, {"BACKNO", "5"}};
    for (const auto& key : aKeys) {
        char szValue[PROFILE_VALUE_SIZE];
        GetProfileString("START", key[0], "", szValue, sizeof szValue,
                         m_temp.File(SETTINGS_FILE_NAME).c_str());
        EXPECT_STREQ(szValue, key[1]) << key[0];
    }
    m_pFrame = CreateMainWindow();
    EXPECT_EQ(Board().m_nCardPattern, 2);
    EXPECT_EQ(Board().m_nBackground, 5);
}

// Previews and controls inside their groups, none over another; the delay list and the
// check box beside it shown whole.
TEST_F(Dialogs, OptionControlsAndPreviewsLieInsideTheirGroups) {
    const int nShown = RunOptions([](COptionDialog& dlg) {
        auto group = [&](const char* pszName) {
            return dlg.FindWindow(wxXmlResource::GetXRCID(pszName))->GetRect();
        };
        EXPECT_EQ(dlg.CardBackPreviewRect().GetSize(), wxSize(CARD_WIDTH, CARD_HEIGHT));
        EXPECT_EQ(dlg.BackgroundPreviewRect().GetSize(), wxSize(50, 50));
        std::vector<std::pair<wxRect, wxRect>> items = {
            {dlg.CardBackPreviewRect(), group("group_card")},
            {dlg.BackgroundPreviewRect(), group("group_back")}};
        const std::pair<int, const char*> controls[] = {
            {1001, "group_card"},  {1005, "group_back"},  {1002, "group_close"},
            {1003, "group_close"}, {1006, "group_start"}, {1007, "group_start"},
            {1008, "group_start"}};
        for (const auto& control : controls)
            items.push_back({dlg.FindWindow(control.first)->GetRect(), group(control.second)});
        for (size_t i = 0; i < items.size(); ++i) { // 0 and 1 are the previews
            EXPECT_TRUE(items[i].second.Contains(items[i].first)) << i;
            for (size_t j = 0; j < i; ++j)
                EXPECT_FALSE(items[i].first.Intersects(items[j].first)) << i << " overlaps " << j;
        }
        for (int nId : {1002, 1003})
            EXPECT_GE(dlg.FindWindow(nId)->GetSize().x, dlg.FindWindow(nId)->GetBestSize().x);
        return 2;
    });
    EXPECT_EQ(nShown, 1);
}

// Pictures of both dialogs for the README: run with --gtest_also_run_disabled_tests
// and PELMANIX_SHOT_DIR naming the directory the PNG files go to.
TEST_F(Dialogs, DISABLED_Screenshots) {
    const int aResults[][3] = {{500, 26, 192}, {480, 31, 254}, {480, 33, 301}, {430, 40, 415}};
    for (const auto& r : aResults)
        m_pFrame->InsertResult(r[0], r[1], r[2]);
    CRankingDialog ranking(m_pFrame);
    BuildRankingRows(*Board().m_pRanking, ranking.m_aRows);
    COptionDialog options(m_pFrame);
    options.m_nCardPattern = 1;
    options.m_nBackground = 5;
    options.m_nTimeIndex = 3;
    options.m_bCenterWindow = 1;
    for (auto [pDlg, pszName] : {std::pair<wxDialog*, const char*>{&ranking, "ranking-dialog"},
                                 {&options, "options-dialog"}}) {
        pDlg->Show();
        PumpEvents(500);
        const wxRect r(pDlg->GetScreenPosition(), pDlg->GetSize());
        EXPECT_EQ(std::system(wxString::Format(
                      "import -window root -crop %dx%d+%d+%d +repage %s/%s.png", r.width, r.height,
                      r.x, r.y, std::getenv("PELMANIX_SHOT_DIR"), pszName)),
                  0);
        pDlg->Hide();
    }
}
