// The yardstick for start-up: the least a wx program with a window like the
// game's does. A 706 x 317 frame with a menu bar, nothing else.

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
        auto* pMenu = new wxMenu;
        pMenu->Append(wxID_HIGHEST + 1, "&Start");
        auto* pHelp = new wxMenu;
        pHelp->Append(wxID_HIGHEST + 2, "&Help");
        auto* pBar = new wxMenuBar;
        pBar->Append(pMenu, "&Menu");
        pBar->Append(pHelp, "&Help");
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
