// Shared entry of the GUI test programs: wx on the X display, failed assertions
// and logged errors on stderr instead of modal boxes that would hang the run.

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/stopwatch.h>

#include "tests/gui_test.h"
#include "tests/temp_dir.h"

// fontconfig keeps its caches for the life of the process, and the sanitizer build's
// leak checker counts them at exit; nothing of ours is hidden by this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

class CTestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

void AbortOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                   const wxString& msg) {
    std::fprintf(stderr, "wx assertion failed: %s:%d %s: %s %s\n", file.utf8_str().data(), line,
                 func.utf8_str().data(), cond.utf8_str().data(), msg.utf8_str().data());
    std::abort();
}

} // namespace

void PumpEvents(int nMilliseconds) {
    wxStopWatch watch;
    do {
        wxTheApp->Yield(true);
        wxMilliSleep(2);
    } while (watch.Time() < nMilliseconds);
}

wxColour PixelAt(const wxBitmap& bitmap, int x, int y) {
    const wxImage image = bitmap.ConvertToImage();
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

int main(int argc, char** argv) {
    setenv("GDK_BACKEND", "x11", 0);
    setenv("NO_AT_BRIDGE", "1", 1);
    testing::InitGoogleTest(&argc, argv);
    TempDir temp; // no test ever reaches a player's files
    wxSetAssertHandler(AbortOnAssert);
    wxApp::SetInstance(new CTestApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "cannot start wx: is there an X display?\n");
        return 1;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxInitAllImageHandlers();
    const int nResult = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return nResult;
}
