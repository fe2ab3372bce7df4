// SPDX-License-Identifier: MIT
#pragma once
// The GUI test programs' harness (each includes it once): wx started before the first
// test and stopped after the last, in a TEMP of its own, so no test reaches a player's
// files; the main window as the program starts it.

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/modalhook.h>
#include <wx/stopwatch.h>

#include "records/settings.h"
#include "tests/temp_dir.h"
#include "tests/wx_start.h"
#include "ui/app.h"
#include "ui/frame.h"

class WxEnvironment : public testing::Environment {
    void SetUp() override {
        static char szName[] = "gui_test", *apszArgs[] = {szName, nullptr};
        ASSERT_TRUE(StartWx(1, apszArgs));
    }
    void TearDown() override { StopWx(); }
    TempDir m_temp;
};
inline testing::Environment* const g_pWx = testing::AddGlobalTestEnvironment(new WxEnvironment);

// Runs the event loop for about nMilliseconds, so timers fire and paints happen.
inline void PumpEvents(int nMilliseconds) {
    for (wxStopWatch watch; watch.Time() < nMilliseconds; wxMilliSleep(2))
        wxTheApp->Yield(true);
}

// What the screen shows of a window's client area, one pixel per screen pixel; kept as
// pszSaveAs.png under PELMANIX_SHOT_DIR when that is set.
inline wxImage GrabClient(wxWindow* pWin, const char* pszSaveAs = nullptr) {
    const double dScale = pWin->GetContentScaleFactor();
    const wxPoint at = pWin->ClientToScreen(wxPoint(0, 0)) * dScale;
    const wxSize size = pWin->GetClientSize() * dScale;
    const std::string strFile = std::string(std::getenv("TEMP")) + "/grab.ppm";
    EXPECT_EQ(std::system(wxString::Format("import -window root -crop %dx%d+%d+%d +repage "
                                           "-depth 8 %s",
                                           size.x, size.y, at.x, at.y, strFile)
                              .c_str()),
              0);
    wxImage image(strFile, wxBITMAP_TYPE_PNM);
    if (const char* pszDir = std::getenv("PELMANIX_SHOT_DIR"); pszDir && pszSaveAs)
        image.SaveFile(wxString::Format("%s/%s.png", pszDir, pszSaveAs), wxBITMAP_TYPE_PNG);
    return image;
}

// Answers every modal dialog shown while it lives: answer sees the dialog, ready but
// not shown, and returns what ShowModal gives back.
class DialogScript : public wxModalDialogHook {
public:
    explicit DialogScript(std::function<int(wxDialog*)> answer) : m_answer(std::move(answer)) {
        Register();
    }
    ~DialogScript() override { Unregister(); }
    int m_nShown = 0;

protected:
    int Enter(wxDialog* pDialog) override { return ++m_nShown, m_answer(pDialog); }
    void Exit(wxDialog*) override {}

private:
    std::function<int(wxDialog*)> m_answer;
};

// The main window as the program starts it, in a TEMP of its own holding these settings.
class MainWindowTest : public testing::Test {
protected:
    void Start(const std::string& strSettings = "") {
        std::ofstream(m_temp.File(SETTINGS_FILE_NAME)) << strSettings;
        m_pFrame = CreateMainWindow();
        PumpEvents(100);
    }
    void TearDown() override {
        if (m_pFrame)
            m_pFrame->Destroy();
        m_pFrame = nullptr;
        PumpEvents(20);
    }

    TempDir m_temp;
    CGameFrame* m_pFrame = nullptr;
};
