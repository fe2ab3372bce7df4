#include <cstdlib>

#include <wx/app.h>

#include "ui/app.h"

wxIMPLEMENT_APP_NO_MAIN(CGameApp);

// fontconfig keeps its caches for the life of the process; a sanitizer build's leak
// checker would count them at exit.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    // Placement and drawing straight onto the window need X11; on a Wayland
    // desktop GTK then runs the game through XWayland.
    setenv("GDK_BACKEND", "x11", 0);
    return wxEntry(argc, argv);
}
