// SPDX-License-Identifier: MIT
#include "ui/clear_dialog.h"

#include "ui/res_ids.h"
#include "ui/wsys.h"

namespace {
const int CLEAR_LINE_X = 10;
const int CLEAR_LINE_Y[CLEAR_LINE_COUNT] = {20, 50, 70, 110};
} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CClearDialog, CPaintedDialog)
    EVT_BUTTON(1, CClearDialog::OnOK)
wxEND_EVENT_TABLE()

CClearDialog::CClearDialog(wxWindow* pOwner) {
    LoadResDialog(this, pOwner, DLG_CLEAR);
    SetAffirmativeId(1);
    SetEscapeId(wxID_ANY);
}
// clang-format on

void CClearDialog::OnOK(wxCommandEvent& /*event*/) {
    EndModal(1);
}

std::vector<PaintedText> CClearDialog::GetPaintedTexts() const {
    ClearLines lines;
    BuildClearLines(m_anHistogram, m_nOpens, m_nSeconds, m_nScore, &lines);
    std::vector<PaintedText> texts;
    for (int i = 0; i < CLEAR_LINE_COUNT; ++i)
        texts.push_back(
            {lines.aszLine[i], CLEAR_LINE_X, CLEAR_LINE_Y[i], i == 0 ? *wxBLUE : *wxRED});
    return texts;
}
