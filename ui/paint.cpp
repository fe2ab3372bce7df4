// SPDX-License-Identifier: MIT
// Drawing the board: background tiles, the status line and the cards, composed
// off-screen and copied to the window in one transfer. The off-screen board lives
// as long as the window; a change redraws only the places it touches.

#include <cmath>
#include <cstdio>
#include <string>

#include <cairo.h>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/region.h>

#include "core/key_play.h"
#include "core/score.h"
#include "ui/frame.h"
#include "ui/shown_board.h"
#include "ui/wsys.h"

namespace {

const wxPoint OPEN_COUNT_POS(525, 294);
const wxPoint GAME_TIME_POS(625, 294);
const wxPoint STATUS_POS[2] = {OPEN_COUNT_POS, GAME_TIME_POS};

// Cards are opaque: drawn straight from the bitmap, without a DC around it to copy from.
void BlitCardImage(wxDC* pDC, int x, int y, const wxBitmap& bitmap) {
    if (bitmap.IsOk())
        pDC->DrawBitmap(bitmap, x, y);
}

void BlitCardBack(wxDC* pDC, int x, int y) {
    BlitCardImage(pDC, x, y, *g_pCardBackBitmap);
}

// The status text's size as its graphics context lays it out, its font set.
wxSize StatusTextSize(wxGraphicsContext* pGC, const wxString& str) {
    double w = 0, h = 0;
    pGC->GetTextExtent(str, &w, &h);
    return wxSize(std::lround(w), std::lround(h));
}

// White on a black box, as status text always was. Through the DC's graphics context
// the text is laid out once: the DC's own call lays it out three times, for the box,
// for the letters and for its bounding box. The kept board hands in its font, made
// once, and the size it measured; elsewhere both are made here (a size of -1).
void DrawStatusText(wxDC* pDC, const wxPoint& point, const char* pszText,
                    const wxGraphicsFont& font, wxSize size) {
    if (wxGraphicsContext* pGC = pDC->GetGraphicsContext()) {
        const wxString str = ToWx(pszText);
        if (font.IsNull())
            pGC->SetFont(GetSurfaceFont(), *wxWHITE);
        else
            pGC->SetFont(font);
        if (size.x < 0)
            size = StatusTextSize(pGC, str);
        pGC->SetBrush(*wxBLACK_BRUSH);
        pGC->SetPen(wxNullGraphicsPen);
        pGC->DrawRectangle(point.x, point.y, size.x, size.y);
        pGC->DrawText(str, point.x, point.y);
        // The font stays: whatever draws text through the DC sets its own first.
        pGC->SetBrush(pDC->GetBrush());
        pGC->SetPen(pDC->GetPen());
        return;
    }
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

std::string OpenCountText(const CGameBoard& board) {
    char szText[32];
    std::snprintf(szText, sizeof szText, "開数：%d", board.m_nOpenCount);
    return szText;
}

std::string GameTimeText() {
    char szText[TIME_TEXT_SIZE];
    FormatGameTime(g_nGameSeconds, szText, sizeof szText);
    return szText;
}

wxRect CardPlace(const CCard& card) {
    return wxRect(card.m_nX, card.m_nY, CARD_WIDTH, CARD_HEIGHT);
}

wxRect FocusArea(int nPlace) {
    if (nPlace < 0)
        return wxRect();
    const BoardRect frame = FocusFrameRect(nPlace);
    return wxRect(frame.x, frame.y, frame.width, frame.height);
}

int CardLook(const CCard* pCard) {
    if (!pCard || !pCard->m_bDealt || pCard->m_bRemoved)
        return 0;
    return pCard->m_bFaceUp ? pCard->m_bmpFace.m_nId : -1;
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
    // A brush would draw each pixel of a tile made for a finer screen at the board's
    // scale, twice too large: such a tile is copied over the area to redraw instead.
    if (tile.GetScaleFactor() != 1) {
        wxRect area(0, 0, BOARD_WIDTH, BOARD_HEIGHT);
        pDC->GetClippingBox(area);
        const wxSize size = tile.GetLogicalSize();
        for (int y = area.y - area.y % size.y; y <= area.GetBottom(); y += size.y)
            for (int x = area.x - area.x % size.x; x <= area.GetRight(); x += size.x)
                pDC->DrawBitmap(tile, x, y);
        return;
    }
    // A brush of the tile repeats it from the board's top-left corner and cuts it at
    // the right and bottom edges, in one fill instead of hundreds of small copies.
    if (wxGraphicsContext* pGC = pDC->GetGraphicsContext()) {
        if (m_tileBrush.IsNull() || !m_tileOfBrush.IsSameAs(tile)) {
            m_tileBrush = pGC->CreateBrush(wxBrush(tile));
            m_tileOfBrush = tile;
        }
        // Only the area to redraw: the brush's pattern keeps the board's corner.
        wxRect area(0, 0, BOARD_WIDTH, BOARD_HEIGHT);
        pDC->GetClippingBox(area);
        pGC->SetBrush(m_tileBrush);
        pGC->SetPen(wxNullGraphicsPen);
        pGC->DrawRectangle(area.x, area.y, area.width, area.height);
        pGC->SetBrush(pDC->GetBrush());
        pGC->SetPen(pDC->GetPen());
        return;
    }
    const wxBrush oldBrush = pDC->GetBrush();
    const wxPen oldPen = pDC->GetPen();
    pDC->SetBrush(wxBrush(tile));
    pDC->SetPen(*wxTRANSPARENT_PEN);
    pDC->DrawRectangle(0, 0, BOARD_WIDTH, BOARD_HEIGHT);
    pDC->SetPen(oldPen);
    pDC->SetBrush(oldBrush);
}

// The kept board measured its texts when they changed and keeps their font: drawn
// there, a text is not measured again, nor its font made anew.
void CGameFrame::DrawStatusLineText(wxDC* pDC, int n, const std::string& strText) {
    const bool bKept = m_pShown && pDC == &m_pShown->m_dc;
    const bool bMeasured = bKept && m_pShown->m_astrText[n] == strText;
    DrawStatusText(pDC, STATUS_POS[n], strText.c_str(),
                   bKept ? m_pShown->m_statusFont : wxNullGraphicsFont,
                   bMeasured ? m_pShown->m_aTextRect[n].GetSize() : wxSize(-1, -1));
}

void CGameFrame::DrawOpenCount(wxDC* pDC) {
    DrawStatusLineText(pDC, 0, OpenCountText(m_board));
}

void CGameFrame::DrawGameTime(wxDC* pDC) {
    DrawStatusLineText(pDC, 1, GameTimeText());
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

// ComposeBoard cut to one area: the same drawing in the same order, of only what
// reaches into it.
void CGameFrame::RedrawArea(const wxRect& area) {
    wxDC* pDC = &m_pShown->m_dc;
    pDC->SetClippingRegion(area);
    DrawBackground(pDC);
    if (m_board.m_bShowOpens && m_pShown->m_aTextRect[0].Intersects(area))
        DrawOpenCount(pDC);
    if (m_board.m_bShowTime && m_pShown->m_aTextRect[1].Intersects(area))
        DrawGameTime(pDC);
    if (m_keys.IsPaused()) {
        DrawPauseSign(pDC);
    } else {
        for (const CCard* pCard : m_board.m_apCards)
            if (pCard && CardPlace(*pCard).Intersects(area))
                DrawCard(pDC, *pCard);
        if (FocusArea(m_keys.GetFocusPlace()).Intersects(area))
            DrawFocusFrame(pDC, m_keys.GetFocusPlace());
    }
    pDC->DestroyClippingRegion();
}

std::vector<wxRect> CGameFrame::UpdateShownBoard() {
    if (!m_pShown)
        m_pShown = std::make_unique<CShownBoard>(GetDPIScaleFactor(), GetSurfaceFont());
    CShownBoard& shown = *m_pShown;
    std::vector<wxRect> changed;
    for (int i = 0; i < CARD_COUNT; ++i) {
        const int nLook = CardLook(m_board.m_apCards[i]);
        if (nLook != shown.m_anLook[i] && m_board.m_apCards[i])
            changed.push_back(CardPlace(*m_board.m_apCards[i]));
        shown.m_anLook[i] = nLook;
    }
    const std::string astrText[2] = {m_board.m_bShowOpens ? OpenCountText(m_board) : "",
                                     m_board.m_bShowTime ? GameTimeText() : ""};
    for (int n = 0; n < 2; ++n) {
        if (astrText[n] == shown.m_astrText[n])
            continue;
        // The old text's box may be wider than the new one's: both are redrawn.
        wxRect area = shown.m_aTextRect[n];
        shown.m_aTextRect[n] = wxRect();
        if (!astrText[n].empty()) {
            shown.m_pGC->SetFont(shown.m_statusFont);
            shown.m_aTextRect[n] =
                wxRect(STATUS_POS[n], StatusTextSize(shown.m_pGC, ToWx(astrText[n].c_str())));
        }
        changed.push_back(area.Union(shown.m_aTextRect[n]));
        shown.m_astrText[n] = astrText[n];
    }
    const int nFocus = m_keys.GetFocusPlace();
    if (nFocus != shown.m_nFocus) {
        for (int nPlace : {shown.m_nFocus, nFocus})
            if (nPlace >= 0)
                changed.push_back(FocusArea(nPlace));
        shown.m_nFocus = nFocus;
    }
    const bool bWhole = !shown.m_bComposed || !shown.m_tile.IsSameAs(*g_pBackgroundBitmap) ||
                        !shown.m_back.IsSameAs(*g_pCardBackBitmap) ||
                        shown.m_bPaused != m_keys.IsPaused() ||
                        changed.size() > CARD_COUNT / 4; // a deal: one pass is cheaper
    if (bWhole) {
        ComposeBoard(&shown.m_dc);
        shown.m_bComposed = true;
        shown.m_tile = *g_pBackgroundBitmap;
        shown.m_back = *g_pCardBackBitmap;
        shown.m_bPaused = m_keys.IsPaused();
        return {wxRect(0, 0, BOARD_WIDTH, BOARD_HEIGHT)};
    }
    for (const wxRect& area : changed)
        RedrawArea(area);
    return changed;
}

void CGameFrame::RepaintArea(const wxRect& area) {
    // A frame's own RefreshRect repaints the whole window, menu bar included; the
    // window class's one asks for the client area's rectangle alone.
    wxWindow::Refresh(false, &area);
}

void CGameFrame::ShowChanges() {
    for (const wxRect& area : UpdateShownBoard())
        RepaintArea(area);
}

// The kept board's pixels go to the window as they are: GTK's paint context takes
// them straight, without a DC built (and its font and colours set up) at every paint.
void CGameFrame::CopyShownBoard(const wxRegion& region) {
    cairo_t* pWindow = GTKPaintContext();
    wxCHECK_RET(pWindow, "a paint without GTK's paint context");
    cairo_surface_t* pSurface =
        cairo_get_target(static_cast<cairo_t*>(m_pShown->m_pGC->GetNativeContext()));
    cairo_surface_flush(pSurface);
    cairo_save(pWindow);
    for (wxRegionIterator it(region); it; ++it) {
        const wxRect area = it.GetRect();
        cairo_rectangle(pWindow, area.x, area.y, area.width, area.height);
    }
    cairo_clip(pWindow);
    // On a desktop scaled by 2 the kept board holds twice the pixels; unless its surface
    // says so itself, one of its pixels is one of the screen's.
    double fSurfaceScale = 1, fUnused = 1;
    cairo_surface_get_device_scale(pSurface, &fSurfaceScale, &fUnused);
    const double fScale = m_pShown->m_image.GetScaleFactor() / fSurfaceScale;
    if (fScale != 1)
        cairo_scale(pWindow, 1 / fScale, 1 / fScale);
    cairo_set_source_surface(pWindow, pSurface, 0, 0);
    cairo_set_operator(pWindow, CAIRO_OPERATOR_SOURCE);
    cairo_paint(pWindow);
    cairo_restore(pWindow);
}

void CGameFrame::OnPaint(wxPaintEvent& /*event*/) {
    // Until something first changes, paints draw the board straight onto the window:
    // the kept board is made on that change, once start-up has shown the window.
    if (!m_pShown) {
        wxPaintDC dc(this);
        ComposeBoard(&dc);
        return;
    }
    const std::vector<wxRect> changed = UpdateShownBoard();
    const wxRegion& region = GetUpdateRegion();
    CopyShownBoard(region);
    // A change nobody asked a repaint for still reaches the window.
    for (const wxRect& area : changed)
        if (region.Contains(area) != wxInRegion)
            RepaintArea(area);
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
