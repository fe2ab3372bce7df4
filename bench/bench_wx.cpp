#include "bench/bench_wx.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include "bench/bench_table.h"

namespace {

class CBenchApp : public wxApp {
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
    wxApp::SetInstance(new CBenchApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "cannot start wx: is there an X display?\n");
        return false;
    }
    delete wxLog::SetActiveTarget(new wxLogStderr);
    return true;
}

void StopWx() {
    wxTheApp->OnExit();
    wxEntryCleanup();
}

bool PumpUntil(const std::function<bool()>& bDone, int nTimeoutMs) {
    const BenchClock::time_point start = BenchClock::now();
    for (;;) {
        wxTheApp->Yield(true);
        if (bDone())
            return true;
        if (MsSince(start) >= nTimeoutMs)
            return false;
        // Short enough not to blur the timer figures, long enough not to spin hard.
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

void PumpFor(int nMilliseconds) {
    PumpUntil([] { return false; }, nMilliseconds);
}
