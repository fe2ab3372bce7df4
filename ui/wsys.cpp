// SPDX-License-Identifier: MIT
#include "ui/wsys.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include <wx/app.h>
#include <wx/dc.h>
#include <wx/fontenum.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/mstream.h>

#include <wx/display.h>

#include <dlfcn.h>

#include "core/contrast.h"
#include "ui/resdata.h"
#include "ui/wsys_module.h"

namespace {

const wxCSConv& Sjis() {
    static const wxCSConv conv("CP932");
    return conv;
}

// The faces the program asks for, and the Japanese faces that may stand in for them,
// best first (under a Japanese locale the IPA faces go by their Japanese names); the
// last is fontconfig's own choice.
struct FontMapping {
    const char* pszRequested;
    const char* apszLocal[4];
};
const FontMapping g_aFontMap[] = {
    {"ＭＳ ゴシック", {"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP", "Monospace"}},
    {"ＭＳ Ｐゴシック", {"IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP", "Sans"}},
};

} // namespace

wxString LocalFace(const wxString& strRequested) {
    static std::map<wxString, wxString> s_found; // the enumeration is slow
    const auto it = s_found.find(strRequested);
    if (it != s_found.end())
        return it->second;
    wxString strLocal = strRequested;
    for (const FontMapping& m : g_aFontMap) {
        if (strRequested != ToWx(m.pszRequested))
            continue;
        for (const char* pszFace : m.apszLocal) {
            strLocal = ToWx(pszFace);
            if (wxFontEnumerator::IsValidFacename(strLocal))
                break;
        }
    }
    return s_found[strRequested] = strLocal;
}

namespace {

void EnsureImageHandlers() {
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
}

bool DecodePng(const char* pszName, wxImage* pImage) {
    size_t nSize = 0;
    const unsigned char* pData = FindResFile(pszName, &nSize);
    if (!pData)
        return false;
    EnsureImageHandlers();
    wxMemoryInputStream stream(pData, nSize);
    return pImage->LoadFile(stream, wxBITMAP_TYPE_PNG);
}

wxString ResName(int nId) {
    return wxString::Format("%d.png", nId);
}

} // namespace

wxString ToWx(const char* pszSjis) {
    return pszSjis ? wxString(pszSjis, Sjis()) : wxString();
}

std::string FromWx(const wxString& str) {
    const wxCharBuffer buf = str.mb_str(Sjis());
    return buf.data() ? std::string(buf.data()) : std::string();
}

wxFont MapFont(const char* pszFace, int nHeightPx) {
    return wxFont(wxFontInfo(wxSize(0, nHeightPx)).FaceName(LocalFace(ToWx(pszFace))));
}

double GetTextScale() {
    static double s_dScale = 0;
    if (s_dScale == 0) {
        // GTK's resolution for text (Xft.dpi, GDK_DPI_SCALE); wx has no call for it, and
        // GTK is in the process already as wx's own toolkit.
        using GetScreen = void* (*)();
        using GetResolution = double (*)(void*);
        const auto pScreen =
            reinterpret_cast<GetScreen>(dlsym(RTLD_DEFAULT, "gdk_screen_get_default"));
        const auto pResolution =
            reinterpret_cast<GetResolution>(dlsym(RTLD_DEFAULT, "gdk_screen_get_resolution"));
        const double dDpi = pScreen && pResolution && pScreen() ? pResolution(pScreen()) : 96;
        s_dScale = dDpi > 0 ? dDpi / 96 : 1;
    }
    return s_dScale;
}

int ScaleText(int nPixels) {
    return static_cast<int>(std::lround(nPixels * GetTextScale()));
}

wxFont GetGothicFont14() {
    // Its em is 14 pixels where text is not scaled, and grows as the desktop's text does;
    // a 14-pixel line would shrink a face with tall line spacing such as Noto CJK.
    static const wxFont font(wxFontInfo(14 * 72.0 / 96).FaceName(LocalFace(ToWx("ＭＳ ゴシック"))));
    return font;
}

wxFont GetSurfaceFont() {
    // The board is a picture of fixed pixels: its status text keeps its pixel size.
    if (GetTextScale() == 1)
        return *wxNORMAL_FONT;
    wxFont font = *wxNORMAL_FONT;
    font.SetFractionalPointSize(font.GetFractionalPointSize() / GetTextScale());
    return font;
}

wxColour ReadableTextColour(const wxColour& colour, const wxWindow* pOn) {
    const wxColour face = pOn->GetBackgroundColour();
    const Rgb tint = ReadableOn({colour.Red(), colour.Green(), colour.Blue()},
                                {face.Red(), face.Green(), face.Blue()});
    return wxColour(tint.r, tint.g, tint.b);
}

void DrawPaintedTexts(wxDC* pDC, const wxWindow* pOn, const std::vector<PaintedText>& texts) {
    pDC->SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    pDC->SetFont(GetGothicFont14());
    for (const PaintedText& text : texts) {
        pDC->SetTextForeground(ReadableTextColour(text.colour, pOn));
        pDC->DrawText(ToWx(text.strText.c_str()), ScaleText(text.x), ScaleText(text.y));
    }
}

std::vector<wxRect> PaintedRects(const wxWindow* pOn, const std::vector<PaintedText>& texts) {
    std::vector<wxRect> rects;
    const wxFont font = GetGothicFont14();
    for (const PaintedText& text : texts) {
        int nWidth = 0, nHeight = 0;
        pOn->GetTextExtent(ToWx(text.strText.c_str()), &nWidth, &nHeight, nullptr, nullptr, &font);
        rects.emplace_back(ScaleText(text.x), ScaleText(text.y), nWidth, nHeight);
    }
    return rects;
}

void UseJapaneseStockLabels() {
    if (wxTranslations::Get())
        return;
    // The whole game speaks Japanese, so wx's own words do too, whatever the locale.
    // Only windows with wx's words need them: start-up reads no catalogue.
    auto* pTranslations = new wxTranslations;
    pTranslations->SetLanguage(wxLANGUAGE_JAPANESE);
    pTranslations->AddStdCatalog();
    wxTranslations::Set(pTranslations);
}

const unsigned char* FindResFile(const char* pszName, size_t* pnSize) {
    for (int i = 0; i < g_nResFiles; ++i) {
        if (std::strcmp(g_aResFiles[i].pszName, pszName) == 0) {
            if (pnSize)
                *pnSize = static_cast<size_t>(g_aResFiles[i].pEnd - g_aResFiles[i].pBegin);
            return g_aResFiles[i].pBegin;
        }
    }
    return nullptr;
}

bool LoadResBitmap(int nId, wxBitmap* pBitmap) {
    wxImage image;
    if (!DecodePng(ResName(nId).utf8_str(), &image)) {
        *pBitmap = wxNullBitmap;
        return false;
    }
    *pBitmap = wxBitmap(image);
    return pBitmap->IsOk();
}

namespace {

// Width and height from a PNG's header, without decoding it.
wxSize PngSize(const wxString& strName) {
    size_t nSize = 0;
    const unsigned char* p = FindResFile(strName.utf8_str(), &nSize);
    if (!p || nSize < 24)
        return wxSize(0, 0);
    const auto be32 = [](const unsigned char* q) {
        return q[0] << 24 | q[1] << 16 | q[2] << 8 | q[3];
    };
    return wxSize(be32(p + 16), be32(p + 20));
}

class CResBundle : public wxBitmapBundleImpl {
public:
    explicit CResBundle(int nId)
        : m_strName(ResName(nId)), m_strDouble(wxString::Format("%d@2x.png", nId)),
          m_size(PngSize(m_strName)), m_bDouble(PngSize(m_strDouble) == m_size * 2) {}
    wxSize GetDefaultSize() const override { return m_size; }
    wxSize GetPreferredBitmapSizeAtScale(double fScale) const override {
        return fScale >= 1.5 && m_bDouble ? m_size * 2 : m_size;
    }
    // Decoded afresh at every call, as LoadResBitmap does; callers keep what they reuse.
    wxBitmap GetBitmap(const wxSize& size) override {
        const bool bDouble = m_bDouble && size == m_size * 2;
        wxImage image;
        if (!DecodePng(bDouble ? m_strDouble.utf8_str() : m_strName.utf8_str(), &image))
            return wxBitmap();
        if (image.GetSize() != size) // no copy of that size: the nearest pixels
            image.Rescale(size.x, size.y, wxIMAGE_QUALITY_NEAREST);
        wxBitmap bitmap(image);
        bitmap.SetScaleFactor(static_cast<double>(size.x) / m_size.x);
        return bitmap;
    }

private:
    wxString m_strName, m_strDouble;
    wxSize m_size;
    bool m_bDouble;
};

} // namespace

wxBitmapBundle GetResBundle(int nId) {
    static std::map<int, wxBitmapBundle> s_bundles;
    auto it = s_bundles.find(nId);
    if (it == s_bundles.end()) {
        if (!FindResFile(ResName(nId).utf8_str(), nullptr))
            return wxBitmapBundle();
        it = s_bundles.emplace(nId, wxBitmapBundle::FromImpl(new CResBundle(nId))).first;
    }
    return it->second;
}

double GetScreenScale() {
    // Every monitor of one GDK display shares its scale (GDK_SCALE).
    return wxDisplay::GetCount() ? wxDisplay(0u).GetScaleFactor() : 1.0;
}

bool LoadScreenBitmap(int nId, wxBitmap* pBitmap) {
    const wxBitmapBundle bundle = GetResBundle(nId);
    *pBitmap = bundle.IsOk()
                   ? bundle.GetBitmap(bundle.GetPreferredBitmapSizeAtScale(GetScreenScale()))
                   : wxNullBitmap;
    return pBitmap->IsOk();
}

const wxBitmap& GetCachedResBitmap(int nId) {
    static std::map<int, wxBitmap> s_cache;
    auto it = s_cache.find(nId);
    if (it == s_cache.end()) {
        wxBitmap bmp;
        LoadScreenBitmap(nId, &bmp);
        it = s_cache.emplace(nId, bmp).first;
    }
    return it->second;
}

wxIconBundle LoadResIcons(int nId) {
    wxIconBundle icons;
    const wxBitmapBundle bundle = GetResBundle(nId);
    // The larger copy is decoded only where the screen shows it.
    for (double fScale : {1.0, GetScreenScale()}) {
        if (!icons.IsEmpty() && fScale < 1.5)
            break;
        wxIcon icon;
        icon.CopyFromBitmap(bundle.GetBitmap(bundle.GetPreferredBitmapSizeAtScale(fScale)));
        if (icon.IsOk())
            icons.AddIcon(icon);
    }
    return icons;
}

wxIcon LoadResIcon(int nId) {
    wxBitmap bmp;
    wxIcon icon;
    if (LoadResBitmap(nId, &bmp))
        icon.CopyFromBitmap(bmp);
    return icon;
}

// Menu 101, built without the template file so that start-up parses no XML and
// loads no Shift_JIS table: labels are UTF-8 literals, whatever the narrow charset.
// A command of 0 is a separator; a label without a command opens a pop-up.
namespace {
struct MenuEntry {
    int nCommand;
    const char* pszLabel;
};
const MenuEntry g_aMainMenu[] = {
    {-1, u8"メニュー(&M)"},
    {40002, u8"ゲームを開始(&G)"},
    {0, nullptr},
    {40003, u8"ランキング(&L)"},
    {40004, u8"オプション(&O)"},
    {0, nullptr},
    {40001, u8"終了(&X)"},
    {-1, u8"ヘルプ(&F)"},
    {40005, u8"ヘルプを見る(&H)"},
    {0, nullptr},
    {40006, u8"バージョン(&V)"},
};
} // namespace

wxMenuBar* LoadResMenuBar(int nId) {
    if (nId != 101)
        return nullptr;
    auto* pBar = new wxMenuBar;
    wxMenu* pMenu = nullptr;
    for (const MenuEntry& entry : g_aMainMenu) {
        if (entry.nCommand < 0) {
            pMenu = new wxMenu;
            pBar->Append(pMenu, wxString::FromUTF8(entry.pszLabel));
        } else if (entry.nCommand == 0) {
            pMenu->AppendSeparator();
        } else {
            pMenu->Append(MenuCommandId(entry.nCommand), wxString::FromUTF8(entry.pszLabel));
        }
    }
    return pBar;
}

int MenuCommandId(int nCommand) {
    return wxID_HIGHEST + 1 + nCommand - 40001;
}
