// SPDX-License-Identifier: MIT
#include "tests/wx_start.h"

#include <cstdio>
#include <cstdlib>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

// fontconfig keeps its caches for the life of the process, and the sanitizer build's
// leak checker counts them at exit; nothing of ours is hidden by this.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

class CDriverApp : public wxApp {
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

bool StartWx(int argc, char** argv) {
    setenv("GDK_BACKEND", "x11", 0);
    setenv("NO_AT_BRIDGE", "1", 1);
    wxSetAssertHandler(AbortOnAssert);
    wxApp::SetInstance(new CDriverApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "cannot start wx: is there an X display?\n");
        return false;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxInitAllImageHandlers();
    return true;
}

void StopWx() {
    wxTheApp->OnExit();
    wxEntryCleanup();
}
