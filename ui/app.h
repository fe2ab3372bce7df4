// SPDX-License-Identifier: MIT
#pragma once

#include <wx/app.h>

class CGameApp : public wxApp {
public:
    bool Initialize(int& argc, wxChar** argv) override;
    bool OnInit() override;

    // Set when there was no display to show the window on.
    static bool s_bNoDisplay;
};

// Creates the two global bitmaps and the main window, shows it and paints it.
class CGameFrame;
CGameFrame* CreateMainWindow();
