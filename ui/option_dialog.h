// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include <wx/dialog.h>

class wxBitmap;
class wxDC;
class wxStaticBox;

// Works on copies of the game's choices; only OK hands them back.
class COptionDialog : public wxDialog {
public:
    explicit COptionDialog(wxWindow* pParent);
    ~COptionDialog() override;

    bool InitOptionDialog();
    void OnSelectCardPattern();
    void OnSelectBackground();
    void OnSelectCloseTime();
    void OnClickRightClose();
    void OnClickCenterWindow();
    void OnClickRandomCard();
    void OnClickRandomBack();

    // Where the previews stand, beside their lists inside their groups.
    wxRect CardBackPreviewRect() const;
    wxRect BackgroundPreviewRect() const;

    int m_nCardPattern = 0;
    int m_nBackground = 0;
    wxBitmap* m_pBackgroundPreview = nullptr;
    wxBitmap* m_pCardBackPreview = nullptr;
    int m_nTimeIndex = 0;
    int m_bTimeAuto = 1;
    int16_t m_bCenterWindow = 0;
    int16_t m_bRandomCard = 0;
    int16_t m_bRandomBack = 0;

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnCloseUp(wxCommandEvent& event);
    void OnCheck(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);
    void PaintPreviews(wxPaintEvent& event);
    void DrawPreview(wxDC* pDC, const wxBitmap* pBitmap, const wxRect& target);
    wxRect PreviewBeside(int nListId, int nWidth, int nHeight) const;
    wxStaticBox* GroupOf(const wxWindow* pControl) const;
    int16_t IsChecked(int nId) const;

    wxDECLARE_EVENT_TABLE();
};
