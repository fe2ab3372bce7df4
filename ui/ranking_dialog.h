// SPDX-License-Identifier: MIT
#pragma once

#include <wx/dialog.h>

#include <vector>

#include "core/dialog_text.h"
#include "ui/wsys.h"

// The five best results; the list itself is drawn by the paint handler.
class CRankingDialog : public wxDialog {
public:
    explicit CRankingDialog(wxWindow* pOwner);

    RankingRow m_aRows[RANK_ROWS];
    int m_bCleared = 0;

    void OnClear();
    // Every text the paint handler draws, where and in which colour.
    std::vector<PaintedText> GetPaintedTexts() const;

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnClearButton(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
