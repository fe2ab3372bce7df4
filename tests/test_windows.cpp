// SPDX-License-Identifier: MIT
// Every window of the game on the desktop this runs on (the test command runs it once
// per kind of desktop): nothing cut off, the keys the templates imply, readable text.

#include <algorithm>
#include <map>

#include <wx/checkbox.h>
#include <wx/display.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/html/htmlwin.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/statbmp.h>
#include <wx/stdpaths.h>
#include <wx/uiaction.h>

#include "core/contrast.h"
#include "tests/gui_test.h"
#include "ui/clear_dialog.h"
#include "ui/option_dialog.h"
#include "ui/ranking_dialog.h"
#include "ui/wsys.h"

namespace {

Rgb RgbAt(const wxImage& image, int x, int y) {
    return {image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
}

// Every control has the room its text asks for, inside the client area and on the screen;
// painted texts lie inside the client area, clear of every control, readable.
// Gives the control with the focus.
wxWindow* Walk(wxDialog* pDlg, const char* pszName, const std::vector<PaintedText>& texts = {}) {
    pDlg->Show();
    PumpEvents(300);
    // Without a window manager the keyboard goes where the pointer is.
    const double dScale = pDlg->GetContentScaleFactor();
    wxUIActionSimulator().MouseMove(pDlg->GetScreenRect().GetTopLeft() * dScale + wxPoint(5, 5));
    PumpEvents(200);
    wxWindow* pFocus = wxWindow::FindFocus();
    const wxRect client(pDlg->GetClientSize());
    EXPECT_TRUE(wxDisplay(pDlg).GetGeometry().Contains(pDlg->GetScreenRect())) << pszName;
    for (wxWindow* pChild : pDlg->GetChildren()) {
        const std::string strWhat = std::string(pszName) + " " + FromWx(pChild->GetLabel());
        EXPECT_TRUE(client.Contains(pChild->GetRect())) << strWhat;
        pChild->InvalidateBestSize();
        const wxSize best = pChild->GetBestSize(), size = pChild->GetSize();
        EXPECT_TRUE(best.x <= size.x && best.y <= size.y)
            << strWhat << " needs " << best.x << "x" << best.y;
    }
    const wxImage image = GrabClient(pDlg, pszName);
    const Rgb face = RgbAt(image, image.GetWidth() - 1, 0);
    const std::vector<wxRect> rects = PaintedRects(pDlg, texts);
    std::map<std::string, std::pair<double, Rgb>> strongest; // per colour asked for
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_TRUE(client.Contains(rects[i])) << pszName << " text " << i;
        for (wxWindow* pChild : pDlg->GetChildren())
            EXPECT_FALSE(pChild->GetRect().Intersects(rects[i])) << pszName << " text " << i;
        auto& best = strongest[texts[i].colour.GetAsString(wxC2S_HTML_SYNTAX).ToStdString()];
        for (int y = rects[i].y * dScale; y < rects[i].GetBottom() * dScale; ++y)
            for (int x = rects[i].x * dScale; x < rects[i].GetRight() * dScale; ++x)
                if (ContrastRatio(RgbAt(image, x, y), face) > best.first)
                    best = {ContrastRatio(RgbAt(image, x, y), face), RgbAt(image, x, y)};
    }
    // On a light face the very colours asked for; on a dark one, readable tints.
    const bool bLight = ContrastRatio(face, {255, 255, 255}) < ContrastRatio(face, {0, 0, 0});
    for (const auto& [strAsked, best] : strongest) {
        const wxColour asked(strAsked);
        // (up to the smoothing of a font's edges)
        const int nOff = std::max({std::abs(best.second.r - asked.Red()),
                                   std::abs(best.second.g - asked.Green()),
                                   std::abs(best.second.b - asked.Blue())});
        EXPECT_TRUE(bLight ? nOff <= 24 : best.first >= 4.5) << pszName << " " << strAsked;
    }
    // Text cut at the right edge leaves its pixels in the last column.
    for (const wxRect& r : rects)
        for (int y = r.y * dScale; y < r.GetBottom() * dScale && y < image.GetHeight(); ++y)
            EXPECT_TRUE(RgbAt(image, image.GetWidth() - 1, y) == face) << pszName << " row " << y;
    pDlg->Hide();
    return pFocus;
}

class Windows : public MainWindowTest {
    void SetUp() override { Start(); }
};

} // namespace

// Opens every dialog through the game's own commands, walks it and answers it; the
// ranking and the options first by Cancel, then by OK. Each stops the clock while it is up;
// the ranking empties, on disk at once, only when its clearing is confirmed; options come
// back only on OK.
TEST_F(Windows, EveryWindowShowsItsTextWholeWithFocusWhereTheTemplateSaysAndHandsBackOnOK) {
    const int aResults[][3] = {
        {500, 26, 192}, {480, 9999, 359999}, {480, 33, 301}, {430, 40, 415}, {0, 1, 5}};
    for (const auto& r : aResults)
        m_pFrame->InsertResult(r[0], r[1], r[2]);
    CGameBoard& b = m_pFrame->m_board;
    b.SetPlaying(1);
    m_pFrame->StartTimer(TIMER_CLOCK, CLOCK_INTERVAL_MS);
    const wxTimer& clock = *m_pFrame->GetWindowTimer(TIMER_CLOCK);
    const auto options = [&b] {
        return wxString::Format("%d %d %d %d", b.m_nCardPattern, b.m_nBackground, b.m_nTimeIndex,
                                b.m_bTimeAuto);
    };
    const wxString strBefore = options();
    bool bOK = false; // the answer: Cancel, then OK
    std::vector<bool> focus;
    // Focus on OK: id 2 in the ranking, 1 in the templates, wxID_OK in message boxes.
    DialogScript script([&](wxDialog* pDlg) -> int {
        if (auto* pRanking = dynamic_cast<CRankingDialog*>(pDlg)) {
            EXPECT_FALSE(clock.IsRunning());
            if (!bOK)
                focus.push_back(Walk(pDlg, "ranking", pRanking->GetPaintedTexts())->GetId() == 2);
            pRanking->OnClear(); // its confirmation, answered below
        } else if (auto* pClear = dynamic_cast<CClearDialog*>(pDlg)) {
            focus.push_back(Walk(pDlg, "clear", pClear->GetPaintedTexts())->GetId() == 1);
        } else if (auto* pBox = dynamic_cast<wxMessageDialogBase*>(pDlg)) {
            if (bOK)
                return wxID_OK;
            const bool bExit = FromWx(pBox->GetCaption()) == "Pelmanix";
            focus.push_back(Walk(pDlg, bExit ? "exit" : "confirm")->GetId() == wxID_OK);
            // Japanese words whatever the locale; the question mark on the exit box only
            EXPECT_EQ(FromWx(pDlg->FindWindow(wxID_CANCEL)->GetLabel()), "キャンセル");
            const auto& kids = pDlg->GetChildren();
            EXPECT_EQ(std::count_if(kids.begin(), kids.end(),
                                    [](wxWindow* p) { return dynamic_cast<wxStaticBitmap*>(p); }),
                      bExit);
            return wxID_CANCEL;
        } else if (auto* p = dynamic_cast<COptionDialog*>(pDlg)) {
            EXPECT_FALSE(clock.IsRunning());
            if (!bOK)
                focus.push_back(Walk(pDlg, "options")->GetId() == 1);
            p->InitDialog();
            dynamic_cast<wxCheckBox*>(p->FindWindow(1003))->SetValue(true); // close by right click
            wxCommandEvent click(wxEVT_CHECKBOX, 1003);
            p->ProcessWindowEvent(click);
            p->m_nCardPattern = 3, p->m_nBackground = 9, p->m_nTimeIndex = 6;
            return bOK ? 1 : 2;
        } else {
            focus.push_back(Walk(pDlg, "version")->GetId() == 1);
        }
        return 2;
    });
    for (const bool bAnswer : {false, true}) {
        bOK = bAnswer;
        m_pFrame->OnRanking();
        m_pFrame->OnOptions();
        EXPECT_TRUE(clock.IsRunning());
        EXPECT_EQ(b.m_pRanking->nCount, bOK ? 0 : RANK_ROWS);
        EXPECT_EQ(ReadBytes(m_temp.File(RANKING_FILE_NAME))[0], bOK ? 0 : RANK_ROWS);
        EXPECT_EQ(options(), bOK ? wxString("3 9 6 0") : strBefore);
        EXPECT_EQ(ReadBytes(m_temp.File(SETTINGS_FILE_NAME)).find("CARDNO=3") != std::string::npos,
                  bOK);
    }
    bOK = false;
    m_pFrame->OnVersion();
    m_pFrame->OnExit();
    int anHistogram[11] = {0, 99, 100, 12, 1, 7};
    g_nGameSeconds = 359999;
    m_pFrame->ShowClearDialog(anHistogram, 500);
    // ranking, its confirmation, options, version, exit, summary
    EXPECT_EQ(focus, std::vector<bool>(6, true));
}

// Without its book the viewer says where the book was looked for; with it, it opens in
// Japanese at a size that shows the first page whole.
TEST_F(Windows, HelpShowsItsFirstPageWholeOrSaysWhereItsBookWasLookedFor) {
    std::string strMessage;
    DialogScript script([&](wxDialog* pDlg) {
        strMessage = FromWx(dynamic_cast<wxMessageDialogBase*>(pDlg)->GetMessage());
        return wxID_OK;
    });
    EXPECT_FALSE(OpenHelpContents(m_pFrame));
    EXPECT_EQ(script.m_nShown, 1);
    EXPECT_NE(strMessage.find(FromWx(GetHelpBookPath())), std::string::npos) << strMessage;
    // the book where the program looks first: beside it, under its name
    const wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    const wxString strBeside = exe.GetPathWithSep() + exe.GetName() + ".htb";
    ASSERT_TRUE(wxCopyFile(exe.GetPathWithSep() + "../pelmanix.htb", strBeside));
    EXPECT_TRUE(OpenHelpContents(m_pFrame));
    PumpEvents(500);
    wxRemoveFile(strBeside);
    wxHtmlHelpFrame* pFrame = nullptr;
    for (wxWindow* pWindow : wxTopLevelWindows)
        pFrame = pFrame ? pFrame : dynamic_cast<wxHtmlHelpFrame*>(pWindow);
    ASSERT_TRUE(pFrame);
    wxHtmlWindow* pPage = pFrame->GetHelpWindow()->GetHtmlWindow();
    const wxSize page = pPage->GetVirtualSize(), room = pPage->GetClientSize();
    EXPECT_TRUE(page.x <= room.x && page.y <= room.y) << page.x << "x" << page.y;
    auto* pTabs = dynamic_cast<wxNotebook*>(pFrame->GetHelpWindow()->FindWindow(wxID_ANY));
    EXPECT_TRUE(pTabs == nullptr || FromWx(pTabs->GetPageText(0)) == "目次");
    CloseHelp();
}
