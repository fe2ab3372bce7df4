// SPDX-License-Identifier: MIT
#include "ui/option_dialog.h"

#include <algorithm>

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/statbox.h>

#include "core/board.h"
#include "records/settings.h"
#include "ui/dialog_fit.h"
#include "ui/res_ids.h"
#include "ui/wsys.h"

namespace {

const int ID_LIST_CARD = 1001;
const int ID_LIST_CLOSE_TIME = 1002;
const int ID_CHECK_RIGHT_CLOSE = 1003;
const int ID_LIST_BACKGROUND = 1005;
const int ID_CHECK_CENTER = 1006;
const int ID_CHECK_RANDOM_CARD = 1007;
const int ID_CHECK_RANDOM_BACK = 1008;
const int PREVIEW_SQUARE = 50;

void FillList(wxComboBox* pList, const OptionEntry* pRows, int nRows, int nSelected) {
    if (!pList)
        return;
    pList->Clear(); // wx initialises a dialog each time it is shown
    for (int i = 0; i < nRows; ++i)
        pList->Append(ToWx(pRows[i].szName));
    pList->SetSelection(nSelected >= 0 && nSelected < nRows ? nSelected : wxNOT_FOUND);
}

void LoadPreview(wxBitmap* pPreview, int nId) {
    if (pPreview)
        LoadResBitmap(nId, pPreview);
}

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(COptionDialog, wxDialog)
    EVT_INIT_DIALOG(COptionDialog::OnInitDialog)
    EVT_COMBOBOX_CLOSEUP(ID_LIST_CARD, COptionDialog::OnCloseUp)
    EVT_COMBOBOX_CLOSEUP(ID_LIST_BACKGROUND, COptionDialog::OnCloseUp)
    EVT_COMBOBOX_CLOSEUP(ID_LIST_CLOSE_TIME, COptionDialog::OnCloseUp)
    EVT_CHECKBOX(ID_CHECK_RIGHT_CLOSE, COptionDialog::OnCheck)
    EVT_CHECKBOX(ID_CHECK_CENTER, COptionDialog::OnCheck)
    EVT_CHECKBOX(ID_CHECK_RANDOM_CARD, COptionDialog::OnCheck)
    EVT_CHECKBOX(ID_CHECK_RANDOM_BACK, COptionDialog::OnCheck)
    EVT_BUTTON(1, COptionDialog::OnButton)
    EVT_BUTTON(2, COptionDialog::OnButton)
    EVT_PAINT(COptionDialog::PaintPreviews)
wxEND_EVENT_TABLE()

COptionDialog::COptionDialog(wxWindow* pParent) {
    LoadResDialog(this, pParent, DLG_OPTIONS);
    SetAffirmativeId(1);
    SetEscapeId(2);
}
// clang-format on

COptionDialog::~COptionDialog() {
    delete m_pBackgroundPreview;
    delete m_pCardBackPreview;
}

void COptionDialog::OnInitDialog(wxInitDialogEvent& /*event*/) {
    InitOptionDialog();
}

bool COptionDialog::InitOptionDialog() {
    FillList(dynamic_cast<wxComboBox*>(FindWindow(ID_LIST_CARD)), g_aCardPatterns,
             CARD_PATTERN_COUNT, m_nCardPattern);
    FillList(dynamic_cast<wxComboBox*>(FindWindow(ID_LIST_BACKGROUND)), g_aBackgrounds,
             BACKGROUND_COUNT, m_nBackground);
    FillList(dynamic_cast<wxComboBox*>(FindWindow(ID_LIST_CLOSE_TIME)), g_aCloseTimes,
             CLOSE_TIME_COUNT, m_nTimeIndex);
    const struct {
        int nId;
        bool bChecked;
    } aChecks[] = {{ID_CHECK_RIGHT_CLOSE, m_bTimeAuto == 0},
                   {ID_CHECK_CENTER, m_bCenterWindow != 0},
                   {ID_CHECK_RANDOM_CARD, m_bRandomCard != 0},
                   {ID_CHECK_RANDOM_BACK, m_bRandomBack != 0}};
    for (const auto& check : aChecks)
        if (auto* pBox = dynamic_cast<wxCheckBox*>(FindWindow(check.nId)))
            pBox->SetValue(check.bChecked);
    if (!m_pBackgroundPreview)
        m_pBackgroundPreview = new wxBitmap;
    if (!m_pCardBackPreview)
        m_pCardBackPreview = new wxBitmap;
    OnSelectCardPattern();
    OnSelectBackground();
    // The lists know their longest names only now.
    FitDialogToContents(this, {CardBackPreviewRect(), BackgroundPreviewRect()});
    CentreOnParent();
    return true;
}

// GTK closes the list before it changes the selection, so the list is read a moment later.
void COptionDialog::OnCloseUp(wxCommandEvent& event) {
    switch (event.GetId()) {
    case ID_LIST_CARD:
        CallAfter(&COptionDialog::OnSelectCardPattern);
        break;
    case ID_LIST_BACKGROUND:
        CallAfter(&COptionDialog::OnSelectBackground);
        break;
    case ID_LIST_CLOSE_TIME:
        CallAfter(&COptionDialog::OnSelectCloseTime);
        break;
    default:
        break;
    }
}

void COptionDialog::OnCheck(wxCommandEvent& event) {
    switch (event.GetId()) {
    case ID_CHECK_RIGHT_CLOSE:
        OnClickRightClose();
        break;
    case ID_CHECK_CENTER:
        OnClickCenterWindow();
        break;
    case ID_CHECK_RANDOM_CARD:
        OnClickRandomCard();
        break;
    case ID_CHECK_RANDOM_BACK:
        OnClickRandomBack();
        break;
    default:
        break;
    }
}

void COptionDialog::OnButton(wxCommandEvent& event) {
    EndModal(event.GetId() == 1 ? 1 : 2);
}

namespace {

// A list with no selection keeps the working value the dialog came with.
int SelectedRow(wxWindow* pWindow, int nCurrent) {
    auto* pList = dynamic_cast<wxComboBox*>(pWindow);
    const int nSelected = pList ? pList->GetSelection() : wxNOT_FOUND;
    return nSelected == wxNOT_FOUND ? nCurrent : nSelected;
}

} // namespace

void COptionDialog::OnSelectCardPattern() {
    m_nCardPattern = SelectedRow(FindWindow(ID_LIST_CARD), m_nCardPattern);
    LoadPreview(m_pCardBackPreview, CARD_BACK_BASE_ID + m_nCardPattern);
    Refresh(false);
}

void COptionDialog::OnSelectBackground() {
    m_nBackground = SelectedRow(FindWindow(ID_LIST_BACKGROUND), m_nBackground);
    LoadPreview(m_pBackgroundPreview, BACKGROUND_BASE_ID + m_nBackground);
    Refresh(false);
}

void COptionDialog::OnSelectCloseTime() {
    m_nTimeIndex = SelectedRow(FindWindow(ID_LIST_CLOSE_TIME), m_nTimeIndex);
}

int16_t COptionDialog::IsChecked(int nId) const {
    auto* pBox = dynamic_cast<wxCheckBox*>(FindWindow(nId));
    return pBox && pBox->GetValue() ? 1 : 0;
}

void COptionDialog::OnClickRightClose() {
    m_bTimeAuto = IsChecked(ID_CHECK_RIGHT_CLOSE) ? 0 : 1;
}
void COptionDialog::OnClickCenterWindow() {
    m_bCenterWindow = IsChecked(ID_CHECK_CENTER);
}
void COptionDialog::OnClickRandomCard() {
    m_bRandomCard = IsChecked(ID_CHECK_RANDOM_CARD);
}
void COptionDialog::OnClickRandomBack() {
    m_bRandomBack = IsChecked(ID_CHECK_RANDOM_BACK);
}

// The group box a control of the template lies in; null for the buttons.
wxStaticBox* COptionDialog::GroupOf(const wxWindow* pControl) const {
    for (wxWindow* pChild : GetChildren()) {
        auto* pBox = dynamic_cast<wxStaticBox*>(pChild);
        if (pBox && pControl && pBox->GetRect().Contains(pControl->GetPosition()))
            return pBox;
    }
    return nullptr;
}

// The preview stands at the list's top, centred in the room between the list and the
// right edge of the list's group box.
wxRect COptionDialog::PreviewBeside(int nListId, int nWidth, int nHeight) const {
    const wxWindow* pList = FindWindow(nListId);
    if (!pList)
        return wxRect(0, 0, nWidth, nHeight);
    const wxRect list = pList->GetRect();
    const wxStaticBox* pBox = GroupOf(pList);
    const int nRight = pBox ? pBox->GetRect().GetRight() : list.GetRight() + nWidth + 8;
    const int nRoom = nRight - list.GetRight();
    return wxRect(list.GetRight() + std::max(1, (nRoom - nWidth) / 2), list.GetTop(), nWidth,
                  nHeight);
}

wxRect COptionDialog::CardBackPreviewRect() const {
    return PreviewBeside(ID_LIST_CARD, CARD_WIDTH, CARD_HEIGHT);
}

wxRect COptionDialog::BackgroundPreviewRect() const {
    return PreviewBeside(ID_LIST_BACKGROUND, PREVIEW_SQUARE, PREVIEW_SQUARE);
}

void COptionDialog::PaintPreviews(wxPaintEvent& /*event*/) {
    wxPaintDC dc(this);
    DrawPreview(&dc, m_pCardBackPreview, CardBackPreviewRect());
    DrawPreview(&dc, m_pBackgroundPreview, BackgroundPreviewRect());
}

void COptionDialog::DrawPreview(wxDC* pDC, const wxBitmap* pBitmap, const wxRect& target) {
    if (!pBitmap || !pBitmap->IsOk())
        return;
    wxMemoryDC mem;
    mem.SelectObjectAsSource(*pBitmap);
    pDC->StretchBlit(target.x, target.y, target.width, target.height, &mem, 0, 0,
                     pBitmap->GetWidth(), pBitmap->GetHeight(), wxCOPY);
}
