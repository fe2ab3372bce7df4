// SPDX-License-Identifier: MIT
// The yardstick for start-up: the least a wx program with a window like the
// game's does. A 706 x 317 frame with the game's menu bar, nothing else.

#include <cstdlib>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/menu.h>

class CBareApp : public wxApp {
public:
    bool OnInit() override {
        auto* pFrame =
            new wxFrame(nullptr, wxID_ANY, "Bare frame", wxDefaultPosition, wxDefaultSize,
                        wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX);
        // The game's menu: its Japanese labels make GTK load a CJK font, which
        // belongs to the yardstick as much as to the game.
        auto* pMenu = new wxMenu;
        pMenu->Append(wxID_HIGHEST + 1, wxString::FromUTF8(u8"ゲームを開始(&G)"));
        pMenu->AppendSeparator();
        pMenu->Append(wxID_HIGHEST + 2, wxString::FromUTF8(u8"ランキング(&L)"));
        pMenu->Append(wxID_HIGHEST + 3, wxString::FromUTF8(u8"オプション(&O)"));
        pMenu->AppendSeparator();
        pMenu->Append(wxID_HIGHEST + 4, wxString::FromUTF8(u8"終了(&X)"));
        auto* pHelp = new wxMenu;
        pHelp->Append(wxID_HIGHEST + 5, wxString::FromUTF8(u8"ヘルプを見る(&H)"));
        pHelp->AppendSeparator();
        pHelp->Append(wxID_HIGHEST + 6, wxString::FromUTF8(u8"バージョン(&V)"));
        auto* pBar = new wxMenuBar;
        pBar->Append(pMenu, wxString::FromUTF8(u8"メニュー(&M)"));
        pBar->Append(pHelp, wxString::FromUTF8(u8"ヘルプ(&F)"));
        pFrame->SetMenuBar(pBar);
        pFrame->SetClientSize(706, 317);
        pFrame->Centre();
        pFrame->Show();
        return true;
    }
};

wxIMPLEMENT_APP_NO_MAIN(CBareApp);

int main(int argc, char** argv) {
    setenv("GDK_BACKEND", "x11", 0);
    return wxEntry(argc, argv);
}
