// What the executable carries: every image by id at its size and colour depth,
// the menu, the dialog templates, text conversion and the main window's size.

#include <set>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "records/settings.h"
#include "tests/gui_test.h"
#include "ui/app.h"
#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

struct ImageSpec {
    int nId;
    int nWidth;
    int nHeight;
    size_t nMaxColours;
};

std::vector<ImageSpec> AllImages() {
    std::vector<ImageSpec> images;
    for (int nSuit = 1; nSuit <= 4; ++nSuit)
        for (int nRank = 1; nRank <= 13; ++nRank)
            images.push_back({nSuit * 1000 + nRank, 50, 68, 16});
    for (int i = 0; i < CARD_PATTERN_COUNT; ++i)
        images.push_back({CARD_BACK_BASE_ID + i, 50, 68, 16});
    const ImageSpec aTiles[BACKGROUND_COUNT] = {
        {5201, 256, 256, 256}, {5202, 128, 128, 256}, {5203, 16, 16, 16},    {5204, 30, 32, 16},
        {5205, 30, 32, 16},    {5206, 128, 128, 256}, {5207, 31, 30, 2},     {5208, 32, 32, 2},
        {5209, 16, 16, 16},    {5210, 32, 32, 2},     {5211, 32, 32, 16},    {5212, 128, 128, 256},
        {5213, 32, 32, 16},    {5214, 320, 240, 256}, {5215, 160, 160, 256}, {5216, 48, 48, 16},
        {5217, 27, 25, 16},    {5218, 256, 256, 256}, {5219, 50, 50, 16},    {5220, 160, 160, 256},
        {5221, 96, 96, 256},   {5222, 256, 256, 256}, {5223, 128, 128, 256}, {5224, 64, 64, 16}};
    images.insert(images.end(), std::begin(aTiles), std::end(aTiles));
    return images;
}

size_t CountColours(const wxImage& image) {
    std::set<unsigned long> colours;
    const unsigned char* p = image.GetData();
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i, p += 3)
        colours.insert((unsigned long)p[0] << 16 | p[1] << 8 | p[2]);
    return colours.size();
}

struct ControlSpec {
    int nId;
    const char* pszText; // null: no label to compare
};

void ExpectControls(int nTemplate, const char* pszTitle, std::vector<ControlSpec> controls) {
    wxDialog dlg;
    ASSERT_TRUE(LoadResDialog(&dlg, nullptr, nTemplate)) << nTemplate;
    EXPECT_EQ(FromWx(dlg.GetTitle()), pszTitle);
    for (const ControlSpec& control : controls) {
        wxWindow* pWindow = dlg.FindWindow(control.nId);
        ASSERT_NE(pWindow, nullptr) << nTemplate << " lacks control " << control.nId;
        if (control.pszText) {
            EXPECT_EQ(FromWx(pWindow->GetLabel()), control.pszText) << control.nId;
        }
    }
}

} // namespace

TEST(Resources, EveryImageHasItsSizeAndColourDepth) {
    for (const ImageSpec& spec : AllImages()) {
        wxBitmap bitmap;
        ASSERT_TRUE(LoadResBitmap(spec.nId, &bitmap)) << spec.nId;
        EXPECT_EQ(bitmap.GetWidth(), spec.nWidth) << spec.nId;
        EXPECT_EQ(bitmap.GetHeight(), spec.nHeight) << spec.nId;
        EXPECT_LE(CountColours(bitmap.ConvertToImage()), spec.nMaxColours) << spec.nId;
    }
    EXPECT_TRUE(LoadResIcon(ICON_MAIN).IsOk());
    wxBitmap missing;
    EXPECT_FALSE(LoadResBitmap(9999, &missing));
    EXPECT_FALSE(missing.IsOk());
}

TEST(Resources, MenuHasItsCommandsInOrder) {
    std::unique_ptr<wxMenuBar> pBar(LoadResMenuBar(MENU_MAIN));
    ASSERT_TRUE(pBar);
    ASSERT_EQ(pBar->GetMenuCount(), 2u);
    EXPECT_EQ(FromWx(pBar->GetMenuLabel(0)), "メニュー(&M)");
    EXPECT_EQ(FromWx(pBar->GetMenuLabel(1)), "ヘルプ(&F)");
    const struct {
        int nMenu;
        std::vector<std::pair<int, const char*>> items; // id 0: separator
    } aMenus[] = {
        {0,
         {{40002, "ゲームを開始(&G)"},
          {0, nullptr},
          {40003, "ランキング(&L)"},
          {40004, "オプション(&O)"},
          {0, nullptr},
          {40001, "終了(&X)"}}},
        {1, {{40005, "ヘルプを見る(&H)"}, {0, nullptr}, {40006, "バージョン(&V)"}}},
    };
    for (const auto& menu : aMenus) {
        const wxMenuItemList& items = pBar->GetMenu(menu.nMenu)->GetMenuItems();
        ASSERT_EQ(items.size(), menu.items.size());
        size_t i = 0;
        for (const wxMenuItem* pItem : items) {
            const auto& expected = menu.items[i++];
            if (expected.first == 0) {
                EXPECT_TRUE(pItem->IsSeparator());
                continue;
            }
            EXPECT_EQ(pItem->GetId(), MenuCommandId(expected.first));
            EXPECT_EQ(FromWx(pItem->GetItemLabel()), expected.second);
        }
    }
}

TEST(Resources, DialogTemplatesHaveTheirControls) {
    ExpectControls(DLG_RANKING, "ランキング", {{2, "OK"}, {1, "クリア"}});
    ExpectControls(DLG_CLEAR, "ゲームクリア", {{1, "OK"}});
    ExpectControls(DLG_VERSION, "バージョン", {{1, "OK"}});
    ExpectControls(DLG_OPTIONS, "オプション",
                   {{1, "OK"},
                    {2, "ｷｬﾝｾﾙ"},
                    {1001, nullptr},
                    {1005, nullptr},
                    {1002, nullptr},
                    {1003, "右クリックで閉じる"},
                    {1006, "ウィンドウを中央に表示"},
                    {1007, "カードの模様をランダム"},
                    {1008, "背景をランダム"}});
    wxDialog dlg;
    ASSERT_TRUE(LoadResDialog(&dlg, nullptr, DLG_OPTIONS));
    std::set<std::string> groups;
    for (const wxWindow* pChild : dlg.GetChildren())
        if (dynamic_cast<const wxStaticBox*>(pChild))
            groups.insert(FromWx(pChild->GetLabel()));
    EXPECT_EQ(groups, (std::set<std::string>{"カード模様の変更", "カードを閉じるまでの時間",
                                             "背景の変更", "起動時の設定"}));
    wxDialog version;
    ASSERT_TRUE(LoadResDialog(&version, nullptr, DLG_VERSION));
    bool bFound = false;
    for (const wxWindow* pChild : version.GetChildren())
        bFound |= dynamic_cast<const wxStaticText*>(pChild) &&
                  FromWx(pChild->GetLabel()) == "Pelmanix Ver 1.00";
    EXPECT_TRUE(bFound);
}

TEST(Resources, DialogSizesFollowTheDialogFont) {
    wxDialog dlg;
    ASSERT_TRUE(LoadResDialog(&dlg, nullptr, DLG_RANKING));
    const wxSize expected = dlg.ConvertDialogToPixels(wxSize(239, 143));
    EXPECT_EQ(dlg.GetClientSize(), expected);
    EXPECT_EQ(dlg.FindWindow(2)->GetPosition(), dlg.ConvertDialogToPixels(wxPoint(182, 122)));
    EXPECT_EQ(dlg.GetFont().GetFaceName(), "IPAPGothic");
}

TEST(Resources, ShiftJisTextsComeOutAsUnicode) {
    // 表 and ソ end in the byte 0x5C, the backslash of ASCII.
    const struct {
        const char* pszSjis;
        const wchar_t* pszUnicode;
    } aCases[] = {
        {"表示", L"\u8868\u793A"},
        {"ソフト", L"\u30BD\u30D5\u30C8"},
        {"　Ｓ", L"\u3000\uFF33"},
        {"ｹﾞｰﾑ時間", L"\uFF79\uFF9E\uFF70\uFF91\u6642\u9593"},
        {"ブラック フロア", L"\u30D6\u30E9\u30C3\u30AF \u30D5\u30ED\u30A2"},
        {"", L""},
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(ToWx(c.pszSjis), wxString(c.pszUnicode));
        EXPECT_EQ(FromWx(ToWx(c.pszSjis)), c.pszSjis);
    }
    EXPECT_EQ(std::string("　Ｓ").size(), 4u);
}

TEST(MainWindow, ClientAreaIsTheBoard) {
    CGameFrame* pFrame = CreateMainWindow();
    PumpEvents(200);
    EXPECT_EQ(pFrame->GetClientSize(), wxSize(706, 317));
    EXPECT_EQ(pFrame->GetTitle(), "Pelmanix");
    EXPECT_TRUE(pFrame->GetIcon().IsOk());
    EXPECT_EQ(pFrame->GetMenuBar()->GetMenuCount(), 2u);
    pFrame->Close(true);
    PumpEvents(50);
}
