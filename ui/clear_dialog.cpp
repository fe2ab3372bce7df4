#include "ui/clear_dialog.h"

#include <wx/dcclient.h>

#include "ui/res_ids.h"
#include "ui/wsys.h"

namespace {
const int CLEAR_LINE_X = 10;
const int CLEAR_LINE_Y[CLEAR_LINE_COUNT] = {20, 50, 70, 110};
} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CClearDialog, wxDialog)
    EVT_PAINT(CClearDialog::OnPaint)
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

void CClearDialog::OnPaint(wxPaintEvent& /*event*/) {
    wxPaintDC dc(this);
    ClearLines lines;
    BuildClearLines(m_anHistogram, m_nOpens, m_nSeconds, m_nScore, &lines);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetFont(GetGothicFont14());
    for (int i = 0; i < CLEAR_LINE_COUNT; ++i) {
        dc.SetTextForeground(i == 0 ? *wxBLUE : *wxRED);
        dc.DrawText(ToWx(lines.aszLine[i]), CLEAR_LINE_X, CLEAR_LINE_Y[i]);
    }
}
