// SPDX-License-Identifier: MIT
// The window system's side of the desktop: the active-window query, the deal's sleep,
// the kind of display, monitors, and the help viewer.

#include "ui/wsys.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/dc.h>
#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/fontenum.h>
#include <wx/frame.h>
#include <wx/fs_arc.h>
#include <wx/fs_mem.h>
#include <wx/html/helpctrl.h>
#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/mstream.h>
#include <wx/notebook.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>
#include <wx/stockitem.h>
#include <wx/sysopt.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/time.h>

#include <X11/Xlib.h>
#include <dlfcn.h>

bool IsProgramWindowActive() {
    for (wxWindow* pWindow : wxTopLevelWindows) {
        auto* pTop = dynamic_cast<wxTopLevelWindow*>(pWindow);
        // The help viewer was always an application of its own: reading help is not play.
        if (dynamic_cast<wxHtmlHelpFrame*>(pWindow))
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

wxString GetHelpBookPath() {
    const wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    const wxString strBeside = exe.GetPathWithSep() + exe.GetName() + ".htb";
    if (wxFileName::FileExists(strBeside))
        return strBeside;
#ifdef PELMANIX_HELP_FROM_BIN
    // Installed: found from the program itself, so a staged or moved tree works too.
    wxFileName installed(exe.GetPathWithSep() + PELMANIX_HELP_FROM_BIN, "pelmanix.htb");
    installed.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
    if (installed.FileExists())
        return installed.GetFullPath();
#endif
#ifdef PELMANIX_HELP_DIR
    return wxString(PELMANIX_HELP_DIR) + "/pelmanix.htb";
#else
    return strBeside;
#endif
}

namespace {

// The viewer's frame exists only once the book is shown, and a size set on the
// controller before is not used: it is sized here, before it is first shown. Its tabs'
// pages are laid out here too; first shown at their creation size, GTK finds their
// lists' scroll bars given less than no room.
class CHelpController : public wxHtmlHelpController {
public:
    explicit CHelpController(wxWindow* pParent)
        : wxHtmlHelpController(wxHF_DEFAULT_STYLE, pParent) {}

protected:
    wxHtmlHelpFrame* CreateHelpFrame(wxHtmlHelpData* pData) override {
        wxHtmlHelpFrame* pFrame = wxHtmlHelpController::CreateHelpFrame(pData);
        // Japanese lines break only at spaces or breaks: the first page needs this
        // much room to be seen whole.
        const wxRect screen = wxGetClientDisplayRect();
        pFrame->SetSize(std::min(ScaleText(900), screen.width),
                        std::min(ScaleText(640), screen.height));
        pFrame->Layout();
        pFrame->GetHelpWindow()->Layout();
        LayOutTabs(pFrame->GetHelpWindow());
        pFrame->CentreOnScreen();
        return pFrame;
    }

private:
    static void LayOutTabs(wxWindow* pWindow) {
        for (wxWindow* pChild : pWindow->GetChildren()) {
            if (auto* pTabs = dynamic_cast<wxNotebook*>(pChild)) {
                const wxSize page = pTabs->GetClientSize() - wxSize(0, pTabs->GetCharHeight() * 2);
                for (size_t n = 0; n < pTabs->GetPageCount(); ++n) {
                    pTabs->GetPage(n)->SetSize(page);
                    pTabs->GetPage(n)->Layout();
                }
            }
            LayOutTabs(pChild);
        }
    }
};

wxHtmlHelpController* s_pHelp = nullptr;

} // namespace

void CloseHelp() {
    // The viewer is a child of the main window. Left open, it is taken down from inside
    // the main window's destructor, which then still counts it among the windows
    // that keep the program running: gone first, nothing is left to it but exiting.
    delete s_pHelp;
    s_pHelp = nullptr;
}

bool OpenHelpContents(wxWindow* pParent) {
    UseJapaneseStockLabels();
    if (!s_pHelp) {
        // Debian's MIME data would otherwise show the pages as source text.
        wxSystemOptions::SetOption("filesys.no-mimetypesmanager", 1);
        // The book is a zip archive.
        wxFileSystem::AddHandler(new wxArchiveFSHandler);
        auto* pHelp = new CHelpController(pParent);
        pHelp->SetTitleFormat("%s");
        const wxString strBook = GetHelpBookPath();
        bool bAdded = false;
        {
            wxLogNull quiet; // the message below says it in Japanese
            bAdded = wxFileName::FileExists(strBook) && pHelp->AddBook(wxFileName(strBook));
        }
        if (!bAdded) {
            delete pHelp;
            ShowMessage(pParent,
                        ToWx("ヘルプファイルが見つかりません。\n探した場所：") + "\n" + strBook,
                        "Pelmanix", wxOK | wxICON_ERROR);
            return false;
        }
        s_pHelp = pHelp;
    }
    return s_pHelp->DisplayContents();
}
