#include "ui/app.h"

#include <wx/image.h>

#include "ui/frame.h"
#include "ui/wsys.h"

CGameFrame* CreateMainWindow() {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    const wxIcon icon = LoadResIcon(ICON_MAIN);
    if (!g_pBackgroundBitmap)
        g_pBackgroundBitmap = new wxBitmap;
    if (!g_pCardBackBitmap)
        g_pCardBackBitmap = new wxBitmap;
    auto* pFrame = new CGameFrame;
    pFrame->SetIcon(icon);
    pFrame->Show();
    pFrame->Update();
    return pFrame;
}

bool CGameApp::OnInit() {
    SetTopWindow(CreateMainWindow());
    return true;
}
