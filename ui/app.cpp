// SPDX-License-Identifier: MIT
#include "ui/app.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <wx/image.h>
#include <wx/log.h>

#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

// One line, Japanese and English, naming what is missing. UTF-8 whatever the locale.
std::string DescribeMissingDisplay(const char* pszX11, const char* pszWayland) {
    std::string strTried;
    if (pszX11 && *pszX11)
        strTried += std::string("DISPLAY=") + pszX11;
    if (pszWayland && *pszWayland)
        strTried += std::string(strTried.empty() ? "" : ", ") + "WAYLAND_DISPLAY=" + pszWayland;
    if (strTried.empty())
        return u8"pelmanix: 表示先の画面がありません（DISPLAY も WAYLAND_DISPLAY も未設定）"
               u8" / no display to show the game on: neither DISPLAY nor WAYLAND_DISPLAY is set\n";
    return u8"pelmanix: 画面に接続できません（" + strTried + u8"）/ cannot open the display (" +
           strTried + ")\n";
}

} // namespace

CGameFrame* CreateMainWindow() {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    const wxIconBundle icons = LoadResIcons(ICON_MAIN);
    if (!g_pBackgroundBitmap)
        g_pBackgroundBitmap = new wxBitmap;
    if (!g_pCardBackBitmap)
        g_pCardBackBitmap = new wxBitmap;
    auto* pFrame = new CGameFrame;
    pFrame->SetIcons(icons);
    pFrame->Show();
    pFrame->Update();
    return pFrame;
}

bool CGameApp::s_bNoDisplay = false;

bool CGameApp::Initialize(int& argc, wxChar** argv) {
    bool bOk;
    {
        // GTK's own complaint names DISPLAY alone: ours replaces it.
        wxLogNull quiet;
        bOk = wxApp::Initialize(argc, argv);
    }
    if (!bOk) {
        s_bNoDisplay = true;
        std::fputs(
            DescribeMissingDisplay(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")).c_str(),
            stderr);
    }
    return bOk;
}

namespace {

void OnEndSignal(int /*nSignal*/) {
    auto* pFrame = dynamic_cast<CGameFrame*>(wxTheApp->GetTopWindow());
    if (pFrame && !pFrame->IsBeingDeleted())
        pFrame->EndOnSignal();
}

} // namespace

bool CGameApp::OnInit() {
    // A write past the file-size limit then fails like any other, and the save says so.
    signal(SIGXFSZ, SIG_IGN);
    SetTopWindow(CreateMainWindow());
    ListenForEndSignals(OnEndSignal);
    return true;
}
