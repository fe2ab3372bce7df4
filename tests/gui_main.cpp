// Shared entry of the GUI test programs, each with a TEMP of its own.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/stopwatch.h>

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

void MainWindowTest::SetUp() {
    m_pFrame = CreateMainWindow();
    m_pFrame->Bind(wxEVT_PAINT, [this](wxPaintEvent& event) {
        ++m_nPaints;
        event.Skip();
    });
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
