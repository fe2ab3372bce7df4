// SPDX-License-Identifier: MIT
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <wx/app.h>

#include "ui/app.h"

wxIMPLEMENT_APP_NO_MAIN(CGameApp);

// fontconfig keeps its caches for the life of the process; a sanitizer build's leak
// checker would count them at exit.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

// u8 keeps these UTF-8 whatever the execution character set of the game's texts.
const char* const kUsage = u8"使い方: pelmanix [オプション]\n"
                           u8"Usage: pelmanix [OPTION]\n"
                           u8"トランプの神経衰弱を始めます。\n"
                           u8"Starts the Concentration card game.\n"
                           u8"\n"
                           u8"  --help     この説明を表示して終了 / show this help and exit\n"
                           u8"  --version  バージョンを表示して終了 / show the version and exit\n";

// How many arguments a GTK option takes up (GTK reads them itself when it starts);
// 0 when the argument is none of GTK's.
int ToolkitOptionLength(const char* pszArg, bool bHasNext) {
    if (std::strcmp(pszArg, "--g-fatal-warnings") == 0)
        return 1;
    static const char* const aValued[] = {"--display",    "--class",       "--name",
                                          "--gtk-module", "--gtk-debug",   "--gtk-no-debug",
                                          "--gdk-debug",  "--gdk-no-debug"};
    for (const char* pszName : aValued) {
        const size_t n = std::strlen(pszName);
        if (std::strncmp(pszArg, pszName, n) != 0)
            continue;
        if (pszArg[n] == '=')
            return 1;
        if (pszArg[n] == '\0' && bHasNext)
            return 2;
    }
    return 0;
}

// Answers --help and --version and refuses anything else before any window system
// starts; returns the exit status, or -1 to go on and play.
int ReadCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc;) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return EXIT_SUCCESS;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("Pelmanix " PELMANIX_VERSION);
            return EXIT_SUCCESS;
        }
        const int nTaken = ToolkitOptionLength(argv[i], i + 1 < argc);
        if (nTaken == 0) {
            std::fprintf(stderr, u8"pelmanix: 不明な引数です / unknown argument: %s\n\n%s", argv[i],
                         kUsage);
            return 2;
        }
        i += nTaken;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (const int nStatus = ReadCommandLine(argc, argv); nStatus >= 0)
        return nStatus;
    // Placement and drawing straight onto the window need X11; on a Wayland
    // desktop GTK then runs the game through XWayland. Without X11 it runs on
    // Wayland all the same.
    setenv("GDK_BACKEND", "x11,wayland", 0);
    const int nResult = wxEntry(argc, argv);
    return CGameApp::s_bNoDisplay ? 1 : nResult;
}
