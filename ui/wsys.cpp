#include "ui/wsys.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/fs_arc.h>
#include <wx/fs_mem.h>
#include <wx/html/helpctrl.h>
#include <wx/html/helpfrm.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/mstream.h>
#include <wx/settings.h>
#include <wx/stdpaths.h>
#include <wx/sysopt.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/time.h>

#include <X11/Xlib.h>

#include "ui/resdata.h"

namespace {

const wxCSConv& Sjis() {
    static const wxCSConv conv("CP932");
    return conv;
}

// The faces the program asks for, and the Japanese faces this system has for them.
struct FontMapping {
    const char* pszRequested;
    const char* pszLocal;
};
const FontMapping g_aFontMap[] = {
    {"ＭＳ ゴシック", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
};

wxString LocalFace(const wxString& strRequested) {
    for (const FontMapping& m : g_aFontMap)
        if (strRequested == ToWx(m.pszRequested))
            return m.pszLocal;
    return strRequested;
}

void RewriteFaces(wxXmlNode* pNode) {
    for (wxXmlNode* p = pNode; p; p = p->GetNext()) {
        if (p->GetType() == wxXML_ELEMENT_NODE && p->GetName() == "face") {
            wxXmlNode* pText = p->GetChildren();
            if (pText)
                pText->SetContent(LocalFace(pText->GetContent()));
        }
        RewriteFaces(p->GetChildren());
    }
}

// Template sizes in dialog units. wx sizes a dialog before its own font is set, so
// the size is applied again once the dialog has its font.
std::map<wxString, wxSize>& DialogSizes() {
    static std::map<wxString, wxSize> s_sizes;
    return s_sizes;
}

void RecordDialogSizes(wxXmlNode* pRoot) {
    for (wxXmlNode* p = pRoot ? pRoot->GetChildren() : nullptr; p; p = p->GetNext()) {
        if (p->GetName() != "object" || p->GetAttribute("class") != "wxDialog")
            continue;
        for (wxXmlNode* pChild = p->GetChildren(); pChild; pChild = pChild->GetNext()) {
            long nWidth = 0, nHeight = 0;
            const wxString strSize = pChild->GetNodeContent();
            if (pChild->GetName() == "size" && strSize.EndsWith("d") &&
                strSize.BeforeFirst(',').ToLong(&nWidth) &&
                strSize.AfterFirst(',').BeforeLast('d').ToLong(&nHeight))
                DialogSizes()[p->GetAttribute("name")] = wxSize(nWidth, nHeight);
        }
    }
}

void EnsureImageHandlers() {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
}

bool DecodePng(const char* pszName, wxImage* pImage) {
    size_t nSize = 0;
    const unsigned char* pData = FindResFile(pszName, &nSize);
    if (!pData)
        return false;
    EnsureImageHandlers();
    wxMemoryInputStream stream(pData, nSize);
    return pImage->LoadFile(stream, wxBITMAP_TYPE_PNG);
}

wxString ResName(int nId) {
    return wxString::Format("%d.png", nId);
}

// Menu and dialog templates, loaded the first time one is asked for.
bool EnsureTemplates() {
    static bool s_bLoaded = false;
    if (s_bLoaded)
        return true;
    EnsureImageHandlers();
    if (!wxFileSystem::HasHandlerForPath("memory:x"))
        wxFileSystem::AddHandler(new wxMemoryFSHandler);
    size_t nIcon = 0;
    if (const unsigned char* pIcon = FindResFile("216.png", &nIcon))
        wxMemoryFSHandler::AddFileWithMimeType("216.png", pIcon, nIcon, "image/png");
    size_t nSize = 0;
    const unsigned char* pData = FindResFile("pelmanix.xrc", &nSize);
    if (!pData)
        return false;
    wxMemoryInputStream stream(pData, nSize);
    auto pDoc = std::make_unique<wxXmlDocument>();
    if (!pDoc->Load(stream, "UTF-8"))
        return false;
    RewriteFaces(pDoc->GetRoot());
    RecordDialogSizes(pDoc->GetRoot());
    wxXmlResource::Get()->InitAllHandlers();
    s_bLoaded = wxXmlResource::Get()->LoadDocument(pDoc.release(), "pelmanix.xrc");
    return s_bLoaded;
}

} // namespace

wxString ToWx(const char* pszSjis) {
    return pszSjis ? wxString(pszSjis, Sjis()) : wxString();
}

std::string FromWx(const wxString& str) {
    const wxCharBuffer buf = str.mb_str(Sjis());
    return buf.data() ? std::string(buf.data()) : std::string();
}

wxFont MapFont(const char* pszFace, int nHeightPx) {
    return wxFont(wxFontInfo(wxSize(0, nHeightPx)).FaceName(LocalFace(ToWx(pszFace))));
}

wxFont GetGothicFont14() {
    static const wxFont font = MapFont("ＭＳ ゴシック", 14);
    return font;
}

wxFont GetSurfaceFont() {
    return *wxNORMAL_FONT;
}

const unsigned char* FindResFile(const char* pszName, size_t* pnSize) {
    for (int i = 0; i < g_nResFiles; ++i) {
        if (std::strcmp(g_aResFiles[i].pszName, pszName) == 0) {
            if (pnSize)
                *pnSize = static_cast<size_t>(g_aResFiles[i].pEnd - g_aResFiles[i].pBegin);
            return g_aResFiles[i].pBegin;
        }
    }
    return nullptr;
}

bool LoadResBitmap(int nId, wxBitmap* pBitmap) {
    wxImage image;
    if (!DecodePng(ResName(nId).utf8_str(), &image)) {
        *pBitmap = wxNullBitmap;
        return false;
    }
    *pBitmap = wxBitmap(image);
    return pBitmap->IsOk();
}

const wxBitmap& GetCachedResBitmap(int nId) {
    static std::map<int, wxBitmap> s_cache;
    auto it = s_cache.find(nId);
    if (it == s_cache.end()) {
        wxBitmap bmp;
        LoadResBitmap(nId, &bmp);
        it = s_cache.emplace(nId, bmp).first;
    }
    return it->second;
}

wxIcon LoadResIcon(int nId) {
    wxBitmap bmp;
    wxIcon icon;
    if (LoadResBitmap(nId, &bmp))
        icon.CopyFromBitmap(bmp);
    return icon;
}

// Menu 101, built without the template file so that start-up parses no XML and
// loads no Shift_JIS table: labels are UTF-8 literals, whatever the narrow charset.
// A command of 0 is a separator; a label without a command opens a pop-up.
namespace {
struct MenuEntry {
    int nCommand;
    const char* pszLabel;
};
const MenuEntry g_aMainMenu[] = {
    {-1, u8"メニュー(&M)"},
    {40002, u8"ゲームを開始(&G)"},
    {0, nullptr},
    {40003, u8"ランキング(&L)"},
    {40004, u8"オプション(&O)"},
    {0, nullptr},
    {40001, u8"終了(&X)"},
    {-1, u8"ヘルプ(&F)"},
    {40005, u8"ヘルプを見る(&H)"},
    {0, nullptr},
    {40006, u8"バージョン(&V)"},
};
} // namespace

wxMenuBar* LoadResMenuBar(int nId) {
    if (nId != 101)
        return nullptr;
    auto* pBar = new wxMenuBar;
    wxMenu* pMenu = nullptr;
    for (const MenuEntry& entry : g_aMainMenu) {
        if (entry.nCommand < 0) {
            pMenu = new wxMenu;
            pBar->Append(pMenu, wxString::FromUTF8(entry.pszLabel));
        } else if (entry.nCommand == 0) {
            pMenu->AppendSeparator();
        } else {
            pMenu->Append(MenuCommandId(entry.nCommand), wxString::FromUTF8(entry.pszLabel));
        }
    }
    return pBar;
}

int MenuCommandId(int nCommand) {
    return wxXmlResource::GetXRCID(wxString::Format("cmd_%d", nCommand));
}

bool LoadResDialog(wxDialog* pDlg, wxWindow* pParent, int nId) {
    if (!EnsureTemplates())
        return false;
    const wxString strName = wxString::Format("%d", nId);
    if (!wxXmlResource::Get()->LoadDialog(pDlg, pParent, strName))
        return false;
    const auto it = DialogSizes().find(strName);
    if (it != DialogSizes().end())
        pDlg->SetClientSize(pDlg->ConvertDialogToPixels(it->second));
    // Templates give no position: centred over the owner, kept on the desktop.
    pDlg->CentreOnParent();
    return true;
}

int ShowMessageBox(wxWindow* pOwner, const char* pszText, const char* pszCaption,
                   bool bQuestionIcon) {
    wxMessageDialog dlg(pOwner, ToWx(pszText), ToWx(pszCaption),
                        wxOK | wxCANCEL | (bQuestionIcon ? wxICON_QUESTION : wxICON_NONE));
    return dlg.ShowModal() == wxID_OK ? ANSWER_OK : ANSWER_CANCEL;
}

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
wxHtmlHelpController* s_pHelp = nullptr;
}

void CloseHelp() {
    // The viewer is a child of the main window. Left open, it is taken down from inside
    // the main window's destructor, which then still counts it among the windows
    // that keep the program running: gone first, nothing is left to it but exiting.
    delete s_pHelp;
    s_pHelp = nullptr;
}

bool OpenHelpContents(wxWindow* pParent) {
    if (!s_pHelp) {
        // Debian's MIME data would otherwise show the pages as source text.
        wxSystemOptions::SetOption("filesys.no-mimetypesmanager", 1);
        // The book is a zip archive.
        wxFileSystem::AddHandler(new wxArchiveFSHandler);
        auto* pHelp = new wxHtmlHelpController(wxHF_DEFAULT_STYLE, pParent);
        // Japanese lines only break at spaces or breaks: give the pages room.
        pHelp->SetFrameParameters("%s", wxSize(900, 640));
        if (!pHelp->AddBook(wxFileName(GetHelpBookPath()))) {
            delete pHelp;
            return false;
        }
        s_pHelp = pHelp;
    }
    return s_pHelp->DisplayContents();
}
