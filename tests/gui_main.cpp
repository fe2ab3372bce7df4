// SPDX-License-Identifier: MIT
// Shared entry of the GUI test programs, each with a TEMP of its own.

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/stopwatch.h>

#include "records/settings.h"
#include "tests/gui_test.h"
#include "tests/temp_dir.h"
#include "tests/wx_start.h"
#include "ui/app.h"
#include "ui/frame.h"

void PumpEvents(int nMilliseconds) {
    wxStopWatch watch;
    do {
        wxTheApp->Yield(true);
        wxMilliSleep(2);
    } while (watch.Time() < nMilliseconds);
}

wxImage GrabClient(wxWindow* pWin, const char* pszSaveAs) {
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

void MainWindowTest::Start(const std::string& strSettings) {
    std::ofstream(m_temp.File(SETTINGS_FILE_NAME)) << strSettings;
    m_pFrame = CreateMainWindow();
    PumpEvents(100);
}

void MainWindowTest::TearDown() {
    if (m_pFrame)
        m_pFrame->Destroy();
    m_pFrame = nullptr;
    PumpEvents(20);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TempDir temp; // no test ever reaches a player's files
    if (!StartWx(argc, argv))
        return 1;
    const int nResult = RUN_ALL_TESTS();
    StopWx();
    return nResult;
}
