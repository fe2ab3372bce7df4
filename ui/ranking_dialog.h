// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "core/dialog_text.h"
#include "ui/painted_dialog.h"

// The five best results; the list itself is drawn by the paint handler.
class CRankingDialog : public CPaintedDialog {
public:
    explicit CRankingDialog(wxWindow* pOwner);

    RankingRow m_aRows[RANK_ROWS];
    int m_bCleared = 0;

    void OnClear();
    std::vector<PaintedText> GetPaintedTexts() const override;

private:
    void OnClearButton(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    wxDECLARE_EVENT_TABLE();
};
