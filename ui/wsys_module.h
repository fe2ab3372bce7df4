// SPDX-License-Identifier: MIT
#pragma once

// What needs wx's XRC, XML and HTML libraries - the dialog templates and the help
// viewer - lives in a module of its own, loaded on first use, so that starting the
// program maps none of them. The module calls back into the program for everything
// else: one copy of every global.

#include <wx/string.h>

class wxDialog;
class wxWindow;

struct DialogModule {
    // Builds pDlg from template nId (see LoadResDialog).
    bool (*pfnLoadDialog)(wxDialog* pDlg, wxWindow* pParent, int nId);
    // The help viewer (see OpenHelpContents, CloseHelp).
    bool (*pfnOpenHelp)(wxWindow* pParent);
    void (*pfnCloseHelp)();
};

// The module's one entry point.
#define PELMANIX_DIALOG_MODULE_ENTRY "pelmanix_dialog_module"
extern "C" const DialogModule* pelmanix_dialog_module();

// The face this system draws for a face the program names.
wxString LocalFace(const wxString& strRequested);
// Where the module is: beside the executable, else where it was installed.
wxString GetDialogModulePath();
