// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "core/dialog_text.h"
#include "ui/painted_dialog.h"

// The summary of a cleared game; all its text is drawn by its paint handler.
class CClearDialog : public CPaintedDialog {
public:
    explicit CClearDialog(wxWindow* pOwner);

    int m_anHistogram[CLEAR_HISTOGRAM_SIZE] = {};
    int m_nOpens = 0;
    int m_nSeconds = 0;
    int m_nScore = 0;

    // The template places the lone OK button; wx would stretch it over the whole
    // dialog, hiding the text drawn beneath.
    bool Layout() override { return false; }

    std::vector<PaintedText> GetPaintedTexts() const override;

private:
    void OnOK(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
