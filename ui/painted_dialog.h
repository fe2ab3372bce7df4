// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include <wx/dialog.h>

#include "ui/wsys.h"

// A dialog from a template whose text is drawn by its paint handler: it grows to fit
// that text when first shown and draws it on every paint.
class CPaintedDialog : public wxDialog {
public:
    // Every text the paint handler draws, where and in which colour.
    virtual std::vector<PaintedText> GetPaintedTexts() const = 0;

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnPaint(wxPaintEvent& event);

    wxDECLARE_EVENT_TABLE();
};
