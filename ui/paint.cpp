// Drawing the board: background tiles, the status line and the cards, composed
// off-screen and copied to the window in one transfer.

#include <cstdio>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>

#include "core/key_play.h"
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
    if (m_keys.IsPaused()) {
        DrawPauseSign(pDC);
        return;
    }
    for (const CCard* pCard : m_board.m_apCards)
        if (pCard)
            DrawCard(pDC, *pCard);
    if (m_keys.GetFocusPlace() >= 0)
        DrawFocusFrame(pDC, m_keys.GetFocusPlace());
}

void CGameFrame::OnPaint(wxPaintEvent& /*event*/) {
    wxPaintDC dc(this);
    wxBitmap image(BOARD_WIDTH, BOARD_HEIGHT);
    wxMemoryDC mem(image);
    ComposeBoard(&mem);
    dc.Blit(0, 0, BOARD_WIDTH, BOARD_HEIGHT, &mem, 0, 0, wxCOPY);
}

namespace {

const char PAUSE_TEXT[] = "一時停止中";
constexpr int PAUSE_TEXT_HEIGHT = 32;
constexpr int PAUSE_PAD_X = 24;
constexpr int PAUSE_PAD_Y = 12;

// Fills the one-pixel outline of rect in colour.
void FillOutline(wxDC* pDC, const wxRect& rect, const wxColour& colour) {
    pDC->SetBrush(wxBrush(colour));
    pDC->DrawRectangle(rect.x, rect.y, rect.width, 1);
    pDC->DrawRectangle(rect.x, rect.GetBottom(), rect.width, 1);
    pDC->DrawRectangle(rect.x, rect.y, 1, rect.height);
    pDC->DrawRectangle(rect.GetRight(), rect.y, 1, rect.height);
}

wxFont GetPauseFont() {
    static const wxFont font = MapFont("ＭＳ ゴシック", PAUSE_TEXT_HEIGHT);
    return font;
}

} // namespace

// Black, white, black, in the gap around the place: whatever lies under and
// beside it, one of the two colours stands out, and the card stays whole.
void DrawFocusFrame(wxDC* pDC, int nPlace) {
    const wxBrush oldBrush = pDC->GetBrush();
    const wxPen oldPen = pDC->GetPen();
    pDC->SetPen(*wxTRANSPARENT_PEN);
    const BoardRect frame = FocusFrameRect(nPlace);
    for (int n = 0; n < FOCUS_FRAME_WIDTH; ++n)
        FillOutline(pDC, wxRect(frame.x, frame.y, frame.width, frame.height).Deflate(n),
                    n == 1 ? *wxWHITE : *wxBLACK);
    pDC->SetPen(oldPen);
    pDC->SetBrush(oldBrush);
}

// White text on a black box with a white rim, in the middle of the board.
void DrawPauseSign(wxDC* pDC) {
    const wxBrush oldBrush = pDC->GetBrush();
    const wxPen oldPen = pDC->GetPen();
    const wxColour oldText = pDC->GetTextForeground();
    const int nOldMode = pDC->GetBackgroundMode();
    pDC->SetFont(GetPauseFont());
    const wxSize text = pDC->GetTextExtent(ToWx(PAUSE_TEXT));
    const wxSize size(text.x + 2 * PAUSE_PAD_X, text.y + 2 * PAUSE_PAD_Y);
    const wxRect box(wxPoint((BOARD_WIDTH - size.x) / 2, (BOARD_HEIGHT - size.y) / 2), size);
    pDC->SetPen(*wxTRANSPARENT_PEN);
    pDC->SetBrush(*wxBLACK_BRUSH);
    pDC->DrawRectangle(box);
    FillOutline(pDC, wxRect(box).Deflate(2), *wxWHITE);
    pDC->SetTextForeground(*wxWHITE);
    pDC->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    pDC->DrawText(ToWx(PAUSE_TEXT), box.x + PAUSE_PAD_X, box.y + PAUSE_PAD_Y);
    pDC->SetBackgroundMode(nOldMode);
    pDC->SetTextForeground(oldText);
    pDC->SetPen(oldPen);
    pDC->SetBrush(oldBrush);
}
