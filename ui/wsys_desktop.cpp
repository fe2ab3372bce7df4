// SPDX-License-Identifier: MIT
// The window system's side of the desktop: the active-window query, the deal's sleep,
// the kind of display, monitors, and where the help book and the dialog module are.

#include "ui/wsys.h"
#include "ui/wsys_module.h"

#include <algorithm>

#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/time.h>

#include <X11/Xlib.h>

bool IsProgramWindowActive() {
    for (wxWindow* pWindow : wxTopLevelWindows) {
        auto* pTop = dynamic_cast<wxTopLevelWindow*>(pWindow);
        // The help viewer was always an application of its own: reading help is not play.
        if (pWindow->IsKindOf(wxClassInfo::FindClass("wxHtmlHelpFrame")))
            continue;
        if (pTop && pTop->IsShown() && pTop->IsActive())
            return true;
    }
    return false;
}

void AlertableSleep(int nMilliseconds) {
    if (IsX11Display()) {
        // What was drawn straight onto a window reaches the screen before the thread
        // sleeps, or the deal would show up all at once when the sleeping is over.
        XFlush(static_cast<Display*>(wxGetDisplayInfo().dpy));
        wxMilliSleep(nMilliseconds);
        return;
    }
    // A compositor shows only what a paint hands it: let paints through, and only
    // them, until the time is up. Input and timers wait as they would in a sleep.
    const wxLongLong end = wxGetLocalTimeMillis() + nMilliseconds;
    wxGUIEventLoop spare; // for a caller outside any running loop
    wxEventLoopBase* pLoop = wxEventLoopBase::GetActive();
    do {
        (pLoop ? pLoop : &spare)->YieldFor(wxEVT_CATEGORY_UI);
        wxMilliSleep(1);
    } while (wxGetLocalTimeMillis() < end);
}

bool IsX11Display() {
    // wxGetX11Display() hands back a Wayland display too: ask which kind it is.
    return wxGetDisplayInfo().type == wxDisplayX11;
}

wxPoint KeepOnAMonitor(const wxRect& rect) {
    const unsigned nCount = wxDisplay::GetCount();
    int nBest = -1;
    long long nBestDistance = 0;
    for (unsigned n = 0; n < nCount; ++n) {
        const wxRect screen = wxDisplay(n).GetGeometry();
        if (screen.Intersects(rect))
            return rect.GetPosition();
        // Squared distance between the two rectangles.
        const long long dx = std::max({0, screen.x - rect.GetRight(), rect.x - screen.GetRight()});
        const long long dy =
            std::max({0, screen.y - rect.GetBottom(), rect.y - screen.GetBottom()});
        if (nBest < 0 || dx * dx + dy * dy < nBestDistance) {
            nBest = static_cast<int>(n);
            nBestDistance = dx * dx + dy * dy;
        }
    }
    if (nBest < 0)
        return rect.GetPosition();
    const wxRect area = wxDisplay(static_cast<unsigned>(nBest)).GetClientArea();
    // Pulled in just far enough to lie inside; its top-left corner shows first.
    return wxPoint(std::max(area.x, std::min(rect.x, area.GetRight() + 1 - rect.width)),
                   std::max(area.y, std::min(rect.y, area.GetBottom() + 1 - rect.height)));
}

namespace {

// File strName beside the executable, else where it was installed: found from the
// program itself (so a staged or moved tree works too), else at its absolute path.
wxString FindBesideOrInstalled(const wxString& strName, const char* pszFromBin,
                               const char* pszInstalled) {
    const wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    const wxString strBeside = exe.GetPathWithSep() + strName;
    if (wxFileName::FileExists(strBeside) || !pszInstalled)
        return strBeside;
    wxFileName installed(exe.GetPathWithSep() + pszFromBin, strName);
    installed.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    if (installed.FileExists())
        return installed.GetFullPath();
    return wxString(pszInstalled) + "/" + strName;
}

} // namespace

wxString GetHelpBookPath() {
    const wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
#ifdef PELMANIX_HELP_DIR
    return FindBesideOrInstalled(exe.GetName() + ".htb", PELMANIX_HELP_FROM_BIN, PELMANIX_HELP_DIR);
#else
    return FindBesideOrInstalled(exe.GetName() + ".htb", nullptr, nullptr);
#endif
}

wxString GetDialogModulePath() {
#ifdef PELMANIX_MODULE_DIR
    return FindBesideOrInstalled("pelmanix-dialogs.so", PELMANIX_MODULE_FROM_BIN,
                                 PELMANIX_MODULE_DIR);
#else
    return FindBesideOrInstalled("pelmanix-dialogs.so", nullptr, nullptr);
#endif
}
