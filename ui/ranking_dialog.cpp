// SPDX-License-Identifier: MIT
#include "ui/ranking_dialog.h"

#include "ui/res_ids.h"
#include "ui/wsys.h"

namespace {

const int RANKING_HEADER_Y = 10;
const int RANKING_FIRST_Y = 40;
const int RANKING_LINE_STEP = 25;

struct Column {
    int x;
    const char* pszHeader;
    const char* (*pField)(const RankingRow&);
};

const Column g_aColumns[] = {
    {10, "順位", [](const RankingRow& r) -> const char* { return r.szRank; }},
    {60, "得点", [](const RankingRow& r) -> const char* { return r.szScore; }},
    {110, "開数", [](const RankingRow& r) -> const char* { return r.szOpens; }},
    {160, "ｹﾞｰﾑ時間", [](const RankingRow& r) -> const char* { return r.szTime; }},
    {230, "ＬＶ", [](const RankingRow& r) -> const char* { return r.szGrade; }},
    {280, "記録時間", [](const RankingRow& r) -> const char* { return r.szDate; }},
};

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CRankingDialog, CPaintedDialog)
    EVT_BUTTON(1, CRankingDialog::OnClearButton)
    EVT_BUTTON(2, CRankingDialog::OnOK)
wxEND_EVENT_TABLE()

CRankingDialog::CRankingDialog(wxWindow* pOwner) {
    ClearRankingRows(m_aRows);
    LoadResDialog(this, pOwner, DLG_RANKING);
    // Escape and the close box end it through the OK button, id 2.
    SetAffirmativeId(2);
    SetEscapeId(2);
}
// clang-format on

void CRankingDialog::OnOK(wxCommandEvent& /*event*/) {
    EndModal(1);
}

void CRankingDialog::OnClearButton(wxCommandEvent& /*event*/) {
    OnClear();
}

void CRankingDialog::OnClear() {
    if (ShowMessageBox(this, "クリアします。宜しいですか？", "ランキングのクリア", false) !=
        ANSWER_OK)
        return;
    ClearRankingRows(m_aRows);
    Refresh(true);
    m_bCleared = 1;
}

std::vector<PaintedText> CRankingDialog::GetPaintedTexts() const {
    std::vector<PaintedText> texts;
    for (const Column& column : g_aColumns)
        texts.push_back({column.pszHeader, column.x, RANKING_HEADER_Y, *wxBLUE});
    for (int r = 0; r < RANK_ROWS; ++r)
        for (const Column& column : g_aColumns)
            if (const char* pszText = column.pField(m_aRows[r]); *pszText)
                texts.push_back(
                    {pszText, column.x, RANKING_FIRST_Y + RANKING_LINE_STEP * r, *wxRED});
    return texts;
}
