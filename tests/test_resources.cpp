// What the executable carries: every image by id at its size and colour depth,
// the menu, the dialog templates, text conversion and the main window's size.

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/menu.h>

#include "records/settings.h"
#include "tests/gui_test.h"
#include "ui/app.h"
#include "ui/frame.h"
#include "ui/wsys.h"

namespace {

size_t CountColours(const wxImage& image) {
    std::set<unsigned long> colours;
    const unsigned char* p = image.GetData();
    for (int i = 0; i < image.GetWidth() * image.GetHeight(); ++i, p += 3)
        colours.insert((unsigned long)p[0] << 16 | p[1] << 8 | p[2]);
    return colours.size();
}

} // namespace

TEST(Resources, EveryImageHasItsSizeAndColourDepth) {
    struct Image {
        int nId, nWidth, nHeight;
        size_t nMaxColours;
    };
    std::vector<Image> images = {
        {5201, 256, 256, 256}, {5202, 128, 128, 256}, {5203, 16, 16, 16},    {5204, 30, 32, 16},
        {5205, 30, 32, 16},    {5206, 128, 128, 256}, {5207, 31, 30, 2},     {5208, 32, 32, 2},
        {5209, 16, 16, 16},    {5210, 32, 32, 2},     {5211, 32, 32, 16},    {5212, 128, 128, 256},
        {5213, 32, 32, 16},    {5214, 320, 240, 256}, {5215, 160, 160, 256}, {5216, 48, 48, 16},
        {5217, 27, 25, 16},    {5218, 256, 256, 256}, {5219, 50, 50, 16},    {5220, 160, 160, 256},
        {5221, 96, 96, 256},   {5222, 256, 256, 256}, {5223, 128, 128, 256}, {5224, 64, 64, 16}};
    ASSERT_EQ(images.size(), (size_t)BACKGROUND_COUNT);
    for (int nSuit = 1; nSuit <= 4; ++nSuit) // card faces, then the card backs
        for (int nRank = 1; nRank <= 13; ++nRank)
            images.push_back({nSuit * 1000 + nRank, 50, 68, 16});
    for (int i = 0; i < CARD_PATTERN_COUNT; ++i)
        images.push_back({CARD_BACK_BASE_ID + i, 50, 68, 16});
    for (const Image& image : images) {
        wxBitmap bitmap;
        ASSERT_TRUE(LoadResBitmap(image.nId, &bitmap)) << image.nId;
        EXPECT_EQ(bitmap.GetSize(), wxSize(image.nWidth, image.nHeight)) << image.nId;
        EXPECT_LE(CountColours(bitmap.ConvertToImage()), image.nMaxColours) << image.nId;
    }
    EXPECT_TRUE(LoadResIcon(ICON_MAIN).IsOk());
    wxBitmap missing;
    EXPECT_FALSE(LoadResBitmap(9999, &missing));
    EXPECT_FALSE(missing.IsOk());
}

TEST(Resources, MenuHasItsCommandsInOrder) {
    std::unique_ptr<wxMenuBar> pBar(LoadResMenuBar(MENU_MAIN));
    ASSERT_TRUE(pBar);
    std::vector<std::string> shown;
    for (size_t m = 0; m < pBar->GetMenuCount(); ++m) {
        shown.push_back(FromWx(pBar->GetMenuLabel(m)));
        for (const wxMenuItem* pItem : pBar->GetMenu(m)->GetMenuItems())
            shown.push_back(pItem->IsSeparator() ? "-"
                                                 : FromWx(pItem->GetItemLabel()) + " " +
                                                       std::to_string(pItem->GetId()));
    }
    auto item = [](const char* pszLabel, int nCommand) {
        return std::string(pszLabel) + " " + std::to_string(MenuCommandId(nCommand));
    };
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "メニュー(&M)", item("ゲームを開始(&G)", 40002), "-",
                         item("ランキング(&L)", 40003), item("オプション(&O)", 40004), "-",
                         item("終了(&X)", 40001), "ヘルプ(&F)", item("ヘルプを見る(&H)", 40005),
                         "-", item("バージョン(&V)", 40006)}));
}

// Title, then every control in order: "id=label" for the numbered ones, the label of
// the others (group boxes, texts, the icon).
TEST(Resources, DialogTemplatesHaveTheirControls) {
    const std::pair<int, const char*> templates[] = {
        {DLG_RANKING, "ランキング|2=OK|1=クリア"},
        {DLG_CLEAR, "ゲームクリア|1=OK"},
        {DLG_VERSION, "バージョン||Pelmanix Ver 1.00|1=OK"},
        {DLG_OPTIONS, "オプション|1=OK|2=ｷｬﾝｾﾙ|1001=|1005=|1002=|1003=右クリックで閉じる|"
                      "1006=ウィンドウを中央に表示|1007=カードの模様をランダム|1008=背景をランダム|"
                      "カード模様の変更|カードを閉じるまでの時間|背景の変更|起動時の設定"}};
    for (const auto& t : templates) {
        wxDialog dlg;
        ASSERT_TRUE(LoadResDialog(&dlg, nullptr, t.first)) << t.first;
        std::string strShown = FromWx(dlg.GetTitle());
        for (const wxWindow* pChild : dlg.GetChildren()) {
            const int nId = pChild->GetId();
            strShown += "|" + (nId > 0 && nId < 2000 ? std::to_string(nId) + "=" : "") +
                        FromWx(pChild->GetLabel());
        }
        EXPECT_EQ(strShown, t.second);
    }
}

TEST(Resources, DialogSizesFollowTheDialogFont) {
    wxDialog dlg;
    ASSERT_TRUE(LoadResDialog(&dlg, nullptr, DLG_RANKING));
    EXPECT_EQ(dlg.GetClientSize(), dlg.ConvertDialogToPixels(wxSize(239, 143)));
    EXPECT_EQ(dlg.FindWindow(2)->GetPosition(), dlg.ConvertDialogToPixels(wxPoint(182, 122)));
    EXPECT_EQ(dlg.GetFont().GetFaceName(), "IPAPGothic");
}

TEST(Resources, ShiftJisTextsComeOutAsUnicode) {
    // 表 and ソ end in the byte 0x5C, the backslash of ASCII.
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"表示", L"\u8868\u793A"},
        {"ソフト", L"\u30BD\u30D5\u30C8"},
        {"　Ｓ", L"\u3000\uFF33"},
        {"ｹﾞｰﾑ時間", L"\uFF79\uFF9E\uFF70\uFF91\u6642\u9593"},
        {"", L""}};
    for (const auto& c : cases) {
        EXPECT_EQ(ToWx(c.first), wxString(c.second));
        EXPECT_EQ(FromWx(ToWx(c.first)), c.first);
    }
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
