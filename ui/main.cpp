#include <cstdlib>

#include <wx/app.h>

#include "ui/app.h"

wxIMPLEMENT_APP_NO_MAIN(CGameApp);

int main(int argc, char** argv) {
    // Placement and drawing straight onto the window need X11; on a Wayland
    // desktop GTK then runs the game through XWayland.
    setenv("GDK_BACKEND", "x11", 0);
    return wxEntry(argc, argv);
}
