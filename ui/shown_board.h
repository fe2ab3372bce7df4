// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/gdicmn.h>
#include <wx/graphics.h>

#include "core/board.h"

// The board as the window last showed it, kept for the window's life: each change
// is drawn into it place by place, and a paint only copies it out.
struct CShownBoard {
    // As many pixels as the screen gives the board: twice as many on a desktop scaled by 2.
    CShownBoard(double fScale, const wxFont& statusFont) {
        m_image.CreateWithDIPSize(wxSize(BOARD_WIDTH, BOARD_HEIGHT), fScale);
        m_dc.SelectObject(m_image);
        m_pGC = m_dc.GetGraphicsContext();
        m_statusFont = m_pGC->CreateFont(statusFont, *wxWHITE);
    }

    wxBitmap m_image;
    wxMemoryDC m_dc;
    wxGraphicsContext* m_pGC; // m_dc's, which every DC on GTK 3 draws through
    bool m_bComposed = false;
    // What it was composed with: a different tile or back redraws everything.
    wxBitmap m_tile;
    wxBitmap m_back;
    // Per place: 0 nothing, -1 the back, else the face's image id.
    int m_anLook[CARD_COUNT] = {};
    // The open count and the game time as shown ("" when off), and where.
    std::string m_astrText[2];
    wxRect m_aTextRect[2];
    // Their font, made once for this board's graphics context and scale.
    wxGraphicsFont m_statusFont;
    // The place framed for the keys (-1: none), and the pause sign.
    int m_nFocus = -1;
    bool m_bPaused = false;
};
