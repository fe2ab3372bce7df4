// SPDX-License-Identifier: MIT
// Message boxes, and the modal dialogs open when a signal ends the program.

#include <algorithm>
#include <csignal>
#include <vector>

#include <dlfcn.h>

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/stockitem.h>

#include "ui/wsys.h"

int ShowMessageBox(wxWindow* pOwner, const char* pszText, const char* pszCaption,
                   bool bQuestionIcon) {
    return ShowMessage(pOwner, ToWx(pszText), ToWx(pszCaption),
                       wxOK | wxCANCEL | (bQuestionIcon ? wxICON_QUESTION : wxICON_NONE));
}

namespace {

// GTK's own message box shows no icon and takes its button words from the locale: this
// one shows the icon asked for, Japanese words, and OK as the default.
class CMessageBox : public wxMessageDialogBase {
public:
    CMessageBox(wxWindow* pOwner, const wxString& strText, const wxString& strCaption, long nStyle)
        : wxMessageDialogBase(pOwner, strText, strCaption, nStyle) {
        UseJapaneseStockLabels();
        Create(pOwner, wxID_ANY, strCaption);
        auto* pLine = new wxBoxSizer(wxHORIZONTAL);
        const wxArtID art = nStyle & wxICON_QUESTION ? wxART_QUESTION
                            : nStyle & wxICON_ERROR  ? wxART_ERROR
                                                     : wxArtID();
        if (!art.empty())
            pLine->Add(new wxStaticBitmap(this, wxID_ANY,
                                          wxArtProvider::GetBitmapBundle(art, wxART_MESSAGE_BOX)),
                       0, wxALL, FromDIP(10));
        pLine->Add(new wxStaticText(this, wxID_ANY, strText), 1, wxALL | wxALIGN_CENTRE_VERTICAL,
                   FromDIP(10));
        auto* pButtons = new wxStdDialogButtonSizer;
        auto* pOk = new wxButton(this, wxID_OK, wxGetStockLabel(wxID_OK, wxSTOCK_NOFLAGS));
        pButtons->AddButton(pOk);
        if (nStyle & wxCANCEL)
            pButtons->AddButton(
                new wxButton(this, wxID_CANCEL, wxGetStockLabel(wxID_CANCEL, wxSTOCK_NOFLAGS)));
        pButtons->Realize();
        auto* pAll = new wxBoxSizer(wxVERTICAL);
        pAll->Add(pLine, 1, wxEXPAND);
        pAll->Add(pButtons, 0, wxEXPAND | wxALL, FromDIP(10));
        SetSizerAndFit(pAll);
        pOk->SetDefault();
        pOk->SetFocus();
        CentreOnParent();
    }
};

} // namespace

int ShowMessage(wxWindow* pOwner, const wxString& strText, const wxString& strCaption,
                long nStyle) {
    CMessageBox dlg(pOwner, strText, strCaption, nStyle);
    return dlg.ShowModal() == wxID_OK ? ANSWER_OK : ANSWER_CANCEL;
}

void ShowFileErrorBox(wxWindow* pOwner, const char* pszText, const char* pszPath,
                      const char* pszCaption) {
    ShowMessage(pOwner, ToWx(pszText) + "\n" + wxString(pszPath, *wxConvFileName), ToWx(pszCaption),
                wxOK | wxICON_ERROR);
}

namespace {

// GTK's own message box runs its own dialog loop, which EndModal cannot end; its answer can.
// Looked up at run time: GTK is loaded, but its headers are not needed for one call.
void AnswerNativeDialog(wxDialog* pDialog) {
    using ResponseFn = void (*)(void*, int);
    static const auto s_pfnResponse =
        reinterpret_cast<ResponseFn>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
    constexpr int GTK_RESPONSE_CANCEL = -6;
    if (s_pfnResponse && pDialog->GetHandle())
        s_pfnResponse(pDialog->GetHandle(), GTK_RESPONSE_CANCEL);
}

// The modal dialogs open now, innermost last, and what to do once they are all gone.
class ModalDialogs : public wxModalDialogHook {
public:
    void EndAllThen(std::function<void()> then) {
        m_then = std::move(then);
        EndNext();
    }

protected:
    int Enter(wxDialog* pDialog) override {
        m_open.push_back(pDialog);
        return wxID_NONE;
    }
    // Also called for a dialog that another hook answered before it was shown.
    void Exit(wxDialog* pDialog) override {
        m_open.erase(std::remove(m_open.begin(), m_open.end(), pDialog), m_open.end());
        // Called before ShowModal returns: the next loop out goes on from there.
        if (m_then)
            wxTheApp->CallAfter([this] { EndNext(); });
    }

private:
    // Only the innermost loop is running, so dialogs end from the inside out.
    void EndNext() {
        if (m_open.empty()) {
            std::function<void()> then = std::move(m_then);
            m_then = nullptr;
            if (then)
                then();
        } else if (dynamic_cast<wxMessageDialog*>(m_open.back())) {
            AnswerNativeDialog(m_open.back());
        } else if (m_open.back()->IsModal()) {
            m_open.back()->EndModal(wxID_CANCEL);
        }
    }

    std::vector<wxDialog*> m_open;
    std::function<void()> m_then;
};

ModalDialogs& OpenModalDialogs() {
    static ModalDialogs s_dialogs;
    return s_dialogs;
}

} // namespace

void ListenForEndSignals(void (*pfnOnSignal)(int)) {
    OpenModalDialogs().Register();
    for (int nSignal : {SIGTERM, SIGHUP, SIGINT})
        wxTheApp->SetSignalHandler(nSignal, pfnOnSignal);
}

void EndModalDialogsThen(std::function<void()> then) {
    OpenModalDialogs().EndAllThen(std::move(then));
}
