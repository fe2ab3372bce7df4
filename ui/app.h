#pragma once

#include <wx/app.h>

class CGameApp : public wxApp {
public:
    bool OnInit() override;
};

// Creates the two global bitmaps and the main window, shows it and paints it.
class CGameFrame;
CGameFrame* CreateMainWindow();
