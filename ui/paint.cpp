// Drawing the board: background tiles, the status line and the cards, composed
// off-screen and copied to the window in one transfer.

#include <cstdio>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>

#include "core/score.h"
#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

const wxPoint OPEN_COUNT_POS(525, 294);
const wxPoint GAME_TIME_POS(625, 294);

void BlitCardImage(wxDC* pDC, int x, int y, const wxBitmap& bitmap) {
    if (!bitmap.IsOk())
        return;
    wxMemoryDC mem;
    mem.SelectObjectAsSource(bitmap);
    pDC->Blit(x, y, CARD_WIDTH, CARD_HEIGHT, &mem, 0, 0, wxCOPY);
}

void BlitCardBack(wxDC* pDC, int x, int y) {
    BlitCardImage(pDC, x, y, *g_pCardBackBitmap);
}

// White on a black box, as status text always was.
void DrawStatusText(wxDC* pDC, const wxPoint& point, const char* pszText) {
    const wxColour oldText = pDC->GetTextForeground();
    const wxColour oldBack = pDC->GetTextBackground();
    const int nOldMode = pDC->GetBackgroundMode();
    pDC->SetFont(GetSurfaceFont());
    pDC->SetTextForeground(*wxWHITE);
    pDC->SetTextBackground(*wxBLACK);
    pDC->SetBackgroundMode(wxBRUSHSTYLE_SOLID);
    pDC->DrawText(ToWx(pszText), point);
    pDC->SetBackgroundMode(nOldMode);
    pDC->SetTextForeground(oldText);
    pDC->SetTextBackground(oldBack);
}

} // namespace

void CGameFrame::DrawCard(wxDC* pDC, const CCard& card) {
    if (!card.m_bDealt || card.m_bRemoved)
        return;
    if (card.m_bFaceUp)
        BlitCardImage(pDC, card.m_nX, card.m_nY, GetCachedResBitmap(card.m_bmpFace.m_nId));
    else
        BlitCardBack(pDC, card.m_nX, card.m_nY);
}

void CGameFrame::DrawBackground(wxDC* pDC) {
    const wxBitmap& tile = *g_pBackgroundBitmap;
    // A tile without pixels has nothing to repeat.
    if (!tile.IsOk() || tile.GetWidth() <= 0 || tile.GetHeight() <= 0)
        return;
    // A brush of the tile repeats it from the board's top-left corner and cuts it at
    // the right and bottom edges, in one fill instead of hundreds of small copies.
    const wxBrush oldBrush = pDC->GetBrush();
    const wxPen oldPen = pDC->GetPen();
    pDC->SetBrush(wxBrush(tile));
    pDC->SetPen(*wxTRANSPARENT_PEN);
    pDC->DrawRectangle(0, 0, BOARD_WIDTH, BOARD_HEIGHT);
    pDC->SetPen(oldPen);
    pDC->SetBrush(oldBrush);
}

void CGameFrame::DrawOpenCount(wxDC* pDC) {
    char szText[32];
    std::snprintf(szText, sizeof szText, "開数：%d", m_board.m_nOpenCount);
    DrawStatusText(pDC, OPEN_COUNT_POS, szText);
}

void CGameFrame::DrawGameTime(wxDC* pDC) {
    char szText[TIME_TEXT_SIZE];
    FormatGameTime(g_nGameSeconds, szText, sizeof szText);
    DrawStatusText(pDC, GAME_TIME_POS, szText);
}

void CGameFrame::ComposeBoard(wxDC* pDC) {
    DrawBackground(pDC);
    if (m_board.m_bShowOpens)
        DrawOpenCount(pDC);
    if (m_board.m_bShowTime)
        DrawGameTime(pDC);
    for (const CCard* pCard : m_board.m_apCards)
        if (pCard)
            DrawCard(pDC, *pCard);
}

void CGameFrame::OnPaint(wxPaintEvent& /*event*/) {
    wxPaintDC dc(this);
    wxBitmap image(BOARD_WIDTH, BOARD_HEIGHT);
    wxMemoryDC mem(image);
    ComposeBoard(&mem);
    dc.Blit(0, 0, BOARD_WIDTH, BOARD_HEIGHT, &mem, 0, 0, wxCOPY);
}
