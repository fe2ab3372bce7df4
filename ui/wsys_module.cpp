// SPDX-License-Identifier: MIT
// The module's side: dialog templates from the XRC document linked into the program,
// and the help viewer.

#include "ui/wsys_module.h"

#include <algorithm>
#include <map>
#include <memory>

#include <wx/dialog.h>
#include <wx/filename.h>
#include <wx/fs_arc.h>
#include <wx/fs_mem.h>
#include <wx/html/helpctrl.h>
#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/notebook.h>
#include <wx/sysopt.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include "ui/dialog_fit.h"
#include "ui/wsys.h"

namespace {

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

// Dialog templates, loaded the first time one is asked for.
bool EnsureTemplates() {
    static bool s_bLoaded = false;
    if (s_bLoaded)
        return true;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    if (!wxFileSystem::HasHandlerForPath("memory:x"))
        wxFileSystem::AddHandler(new wxMemoryFSHandler);
    // The icon, and its copy for a desktop scaled by 2.
    for (const char* pszIcon : {"216.png", "216@2x.png"}) {
        size_t nIcon = 0;
        if (const unsigned char* pIcon = FindResFile(pszIcon, &nIcon))
            wxMemoryFSHandler::AddFileWithMimeType(pszIcon, pIcon, nIcon, "image/png");
    }
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

bool LoadDialog(wxDialog* pDlg, wxWindow* pParent, int nId) {
    if (!EnsureTemplates())
        return false;
    const wxString strName = wxString::Format("%d", nId);
    if (!wxXmlResource::Get()->LoadDialog(pDlg, pParent, strName))
        return false;
    const auto it = DialogSizes().find(strName);
    if (it != DialogSizes().end())
        pDlg->SetClientSize(pDlg->ConvertDialogToPixels(it->second));
    FitDialogToContents(pDlg);
    // The dialog opens with the focus on the template's first control, as GTK would
    // otherwise pick by position.
    pDlg->Bind(wxEVT_INIT_DIALOG, [pDlg](wxInitDialogEvent& event) {
        event.Skip();
        for (wxWindow* pChild : pDlg->GetChildren())
            if (pChild->AcceptsFocus()) {
                pChild->SetFocus();
                break;
            }
    });
    // Templates give no position: centred over the owner, kept on the desktop.
    pDlg->CentreOnParent();
    return true;
}

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

void CloseHelpViewer() {
    // The viewer is a child of the main window. Left open, it is taken down from inside
    // the main window's destructor, which then still counts it among the windows
    // that keep the program running: gone first, nothing is left to it but exiting.
    // Closed before its controller goes, the frame no longer reports back to it when
    // it is destroyed later.
    if (s_pHelp && s_pHelp->GetFrame())
        s_pHelp->GetFrame()->Close(true);
    delete s_pHelp;
    s_pHelp = nullptr;
}

bool OpenHelp(wxWindow* pParent) {
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

} // namespace

extern "C" __attribute__((visibility("default"))) const DialogModule* pelmanix_dialog_module() {
    static const DialogModule s_module = {LoadDialog, OpenHelp, CloseHelpViewer};
    return &s_module;
}
