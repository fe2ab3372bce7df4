// SPDX-License-Identifier: MIT
#include "ui/painted_dialog.h"

#include <wx/dcclient.h>

#include "ui/dialog_fit.h"

// clang-format off
wxBEGIN_EVENT_TABLE(CPaintedDialog, wxDialog)
    EVT_INIT_DIALOG(CPaintedDialog::OnInitDialog)
    EVT_PAINT(CPaintedDialog::OnPaint)
wxEND_EVENT_TABLE()

void CPaintedDialog::OnInitDialog(wxInitDialogEvent& event) {
    FitDialogToContents(this, PaintedRects(this, GetPaintedTexts()));
    CentreOnParent();
    event.Skip();
}
// clang-format on

void CPaintedDialog::OnPaint(wxPaintEvent& /*event*/) {
    wxPaintDC dc(this);
    DrawPaintedTexts(&dc, this, GetPaintedTexts());
}
