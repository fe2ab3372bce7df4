// SPDX-License-Identifier: MIT
// Loads the dialog module on first use and hands its work on to it.

#include <cstdio>

#include <dlfcn.h>

#include <wx/dialog.h>
#include <wx/module.h>

#include "ui/wsys.h"
#include "ui/wsys_module.h"

// Present where the module's code is linked into the program itself (the tests).
extern "C" __attribute__((weak)) const DialogModule* pelmanix_dialog_module();

namespace {

// wx starts the wxModules of its libraries with the program; those of the libraries
// loaded with the module are started here, and ended with the rest at exit.
class CLateModules : public wxModule {
public:
    static bool StartClassesBefore(const wxClassInfo* pOldFirst) {
        const wxModuleList started = ms_modules;
        ms_modules.clear();
        for (const wxClassInfo* p = wxClassInfo::GetFirst(); p && p != pOldFirst; p = p->GetNext())
            if (p->IsKindOf(wxCLASSINFO(wxModule)))
                if (auto* pModule = dynamic_cast<wxModule*>(p->CreateObject()))
                    RegisterModule(pModule);
        const bool bOk = InitializeModules();
        wxModuleList all = started;
        for (wxModule* pModule : ms_modules)
            all.push_back(pModule);
        ms_modules = all;
        return bOk;
    }
};

const DialogModule* s_pLoaded = nullptr;

// Tried again at each use until it loads; each failure is told.
const DialogModule* LoadModule(wxWindow* pOwner) {
    if (s_pLoaded || (s_pLoaded = pelmanix_dialog_module ? pelmanix_dialog_module() : nullptr))
        return s_pLoaded;
    const wxString strPath = GetDialogModulePath();
    const wxClassInfo* pOldFirst = wxClassInfo::GetFirst();
    void* pHandle = dlopen(strPath.fn_str(), RTLD_NOW | RTLD_LOCAL);
    using Entry = const DialogModule* (*)();
    const auto pfnEntry =
        pHandle ? reinterpret_cast<Entry>(dlsym(pHandle, PELMANIX_DIALOG_MODULE_ENTRY)) : nullptr;
    const char* pszError = pfnEntry ? nullptr : dlerror();
    if (pfnEntry && CLateModules::StartClassesBefore(pOldFirst))
        return s_pLoaded = pfnEntry();
    const wxString strReason =
        pszError ? wxString(pszError, wxConvLibc) : wxString("wxModule: OnInit");
    std::fprintf(stderr, "pelmanix: %s\n", static_cast<const char*>(strReason.utf8_str()));
    ShowMessage(pOwner,
                ToWx("ダイアログとヘルプのファイルを読み込めませんでした。") + "\n" + strPath +
                    "\n" + strReason,
                "Pelmanix", wxOK | wxICON_ERROR);
    return nullptr;
}

} // namespace

bool LoadResDialog(wxDialog* pDlg, wxWindow* pParent, int nId) {
    UseJapaneseStockLabels();
    const DialogModule* pModule = LoadModule(pParent);
    return pModule && pModule->pfnLoadDialog(pDlg, pParent, nId);
}

bool OpenHelpContents(wxWindow* pParent) {
    UseJapaneseStockLabels();
    const DialogModule* pModule = LoadModule(pParent);
    return pModule && pModule->pfnOpenHelp(pParent);
}

void CloseHelp() {
    if (s_pLoaded)
        s_pLoaded->pfnCloseHelp();
}
