// SPDX-License-Identifier: MIT
#pragma once

// The one place where the program meets the window system for anything that is
// not simply a wx class: text conversion, fonts, resources by id, message boxes,
// the active-window query, the deal's sleep and help.

#include <functional>
#include <string>
#include <vector>

#include <wx/bitmap.h>
#include <wx/bmpbndl.h>
#include <wx/colour.h>
#include <wx/font.h>
#include <wx/icon.h>
#include <wx/iconbndl.h>
#include <wx/string.h>

class wxDC;
class wxDialog;
class wxMenuBar;
class wxWindow;

// The program's Shift_JIS texts to and from wx.
wxString ToWx(const char* pszSjis);
std::string FromWx(const wxString& str);

// Fonts named as the program names them, mapped to what this system has.
wxFont MapFont(const char* pszFace, int nHeightPx);
// "ＭＳ ゴシック" with a 14-pixel cell: the dialogs' ranking and summary text.
wxFont GetGothicFont14();
// The font a fresh drawing surface draws with.
wxFont GetSurfaceFont();
// How much larger than at 96 dots per inch this desktop draws text (1 where unscaled),
// and a length of painted text scaled so.
double GetTextScale();
int ScaleText(int nPixels);
// The colour on a light face; on a dark one a lighter tint readable against pOn's face.
wxColour ReadableTextColour(const wxColour& colour, const wxWindow* pOn);
// wx's own words (buttons, the help viewer) in Japanese, whatever the locale.
void UseJapaneseStockLabels();

// A text a dialog paints: Shift_JIS, its top-left in unscaled client pixels, its colour
// as asked for on a light face.
struct PaintedText {
    std::string strText;
    int x, y;
    wxColour colour;
};
// Draws them with the gothic font, positions and font scaled with the desktop's text,
// each colour readable on pOn's face.
void DrawPaintedTexts(wxDC* pDC, const wxWindow* pOn, const std::vector<PaintedText>& texts);
// Where each of them lands in pOn's client area.
std::vector<wxRect> PaintedRects(const wxWindow* pOn, const std::vector<PaintedText>& texts);

// Raw bytes of a file linked into the executable; null when absent.
const unsigned char* FindResFile(const char* pszName, size_t* pnSize);
// Decodes bitmap nId afresh into *pBitmap; false (and *pBitmap emptied) when absent.
bool LoadResBitmap(int nId, wxBitmap* pBitmap);
// Bitmap nId and its copy drawn at twice the size (name@2x.png); neither is decoded
// before a size asks for it.
wxBitmapBundle GetResBundle(int nId);
// Pixels of the screen per pixel of the board: 2 on a desktop scaled by 2.
double GetScreenScale();
// Bitmap nId for the board on this screen: at a scale of 2 the copy drawn at twice
// the size, with its scale factor set, so it still covers as many board pixels.
bool LoadScreenBitmap(int nId, wxBitmap* pBitmap);
// The same, decoded once and kept for the program's life (card faces).
const wxBitmap& GetCachedResBitmap(int nId);
wxIcon LoadResIcon(int nId);
// The window icon, and on a desktop scaled by 2 also its double-size copy.
wxIconBundle LoadResIcons(int nId);
wxMenuBar* LoadResMenuBar(int nId);
// The wx id of menu command nCommand (40001...): wx keeps menu ids below 0x7fff.
int MenuCommandId(int nCommand);
// Builds pDlg from template nId; the control ids are the template's numbers. False,
// and pDlg not created, where the dialog module cannot be loaded (the player is told).
bool LoadResDialog(wxDialog* pDlg, wxWindow* pParent, int nId);

// OK/Cancel message box: 1 for OK, 2 for Cancel.
constexpr int ANSWER_OK = 1;
constexpr int ANSWER_CANCEL = 2;
int ShowMessageBox(wxWindow* pOwner, const char* pszText, const char* pszCaption,
                   bool bQuestionIcon);
// The same with wx text and any wxOK/wxCANCEL/wxICON_* style.
int ShowMessage(wxWindow* pOwner, const wxString& strText, const wxString& strCaption, long nStyle);

// OK-only error box: pszText (the program's text), then the file's path on a line of its own.
void ShowFileErrorBox(wxWindow* pOwner, const char* pszText, const char* pszPath,
                      const char* pszCaption);

// Calls pfnOnSignal from the main loop, never inside the signal handler, when SIGTERM,
// SIGHUP or SIGINT arrives: how a session, a terminal or a user at one ends a program.
void ListenForEndSignals(void (*pfnOnSignal)(int));
// Ends the modal dialogs open now as Cancel would, and calls then from the main loop once
// none is open any more.
void EndModalDialogsThen(std::function<void()> then);

// Whether any top-level window of this program is the active one.
bool IsProgramWindowActive();
// Holds the thread; no events are handled meanwhile. Where nothing drawn outside a
// paint reaches the screen (see IsX11Display), paints alone are let through.
void AlertableSleep(int nMilliseconds);

// Whether the program runs on an X server: only there can it place its windows and
// draw on them outside a paint. On a Wayland compositor it can do neither.
bool IsX11Display();
// Where a window of that rectangle goes so that it shows on a monitor: where it is when
// it touches one, else the nearest monitor's work area.
wxPoint KeepOnAMonitor(const wxRect& rect);

// Opens the help book on its contents, index and search window.
bool OpenHelpContents(wxWindow* pParent);
// Closes the help viewer, if open, before its owner goes.
void CloseHelp();
// The help book's path: beside the executable, else in the installed data directory.
wxString GetHelpBookPath();
