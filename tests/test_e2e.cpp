// SPDX-License-Identifier: MIT
// The real program on the X display, played through real X input from the menu to the
// ranking file, once by mouse and once by keys only (with a pause): a game with perfect
// memory must score 500.

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/temp_dir.h"

namespace {

constexpr int BOARD_W = 706, BOARD_H = 317, CARDS = 52;

std::string Shell(const std::string& strCommand) {
    std::string strOut;
    FILE* pPipe = popen(("timeout 20 " + strCommand).c_str(), "r");
    for (int c; pPipe && (c = fgetc(pPipe)) != EOF;)
        strOut += static_cast<char>(c);
    if (pPipe)
        pclose(pPipe);
    return strOut;
}

// Polls done, which may have side effects, until it holds; false on timeout.
bool WaitFor(const std::function<bool()>& done, int nTimeoutMs = 5000) {
    for (int nWaited = 0; nWaited <= nTimeoutMs; nWaited += 50, usleep(50 * 1000))
        if (done())
            return true;
    return false;
}

struct Image {
    int w = 0, h = 0;
    std::string rgb;
    const char* At(int x, int y) const { return &rgb[3 * (y * w + x)]; }
};

// A binary PPM as ImageMagick writes it.
Image ReadPpm(const std::string& strCommand) {
    const std::string s = Shell(strCommand + " -depth 8 ppm:-");
    Image image;
    int nMax = 0, nUsed = 0;
    if (std::sscanf(s.c_str(), "P6 %d %d %d%n", &image.w, &image.h, &nMax, &nUsed) != 3 ||
        nMax != 255 || s.size() < nUsed + 1 + 3u * image.w * image.h)
        return Image();
    image.rgb = s.substr(nUsed + 1, 3 * image.w * image.h);
    return image;
}

Image ReadPng(int nId) {
    return ReadPpm("convert " PELMANIX_SOURCE_DIR "/res/img/" + std::to_string(nId) + ".png");
}

Image g_tile, g_back;
std::vector<Image> g_faces; // of rank k % 13 + 1
int g_nBoardY = 0;          // the window is at (0, 0), the board under its menu bar

Image Grab(int h = BOARD_H, int y = g_nBoardY) {
    return ReadPpm("import -window root -crop 706x" + std::to_string(h) + "+0+" +
                   std::to_string(y) + " +repage");
}

// Whether image shows the art at (x0, y0), or its 16 x 16 tile from the board's top, nTop, on.
bool Shows(const Image& image, int x0, int y0, int w, int h, const Image& art, int nTop = 0) {
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (image.h < y0 + h ||
                std::memcmp(image.At(x, y),
                            art.w == 16 ? art.At(x % 16, (y - nTop) % 16) : art.At(x - x0, y - y0),
                            3))
                return false;
    return true;
}

bool CardShows(const Image& board, int i, const Image& art) {
    return Shows(board, 4 + 54 * (i % 13), 4 + 72 * (i / 13), 50, 68, art);
}

bool WaitBoth(int a, int b, const Image& art) {
    return WaitFor([&] {
        const Image board = Grab();
        return CardShows(board, a, art) && CardShows(board, b, art);
    });
}

bool g_bKeys = false; // play by keys only, not by the mouse
int g_nFrame = -1;    // the place the keys' frame stands on; -1: not shown yet

// The keys that take the frame to place i and act there: the first key only shows it.
std::string KeysTo(int i) {
    std::string strKeys = g_nFrame < 0 ? " Down" : "";
    for (g_nFrame = std::max(g_nFrame, 0); g_nFrame / 13 != i / 13;
         g_nFrame += g_nFrame < i ? 13 : -13)
        strKeys += g_nFrame < i ? " Down" : " Up";
    for (; g_nFrame != i; g_nFrame += g_nFrame < i ? 1 : -1)
        strKeys += g_nFrame < i ? " Right" : " Left";
    return strKeys + (i % 2 ? " space" : " Return");
}

// Turns card i up and reads its rank from the face that comes up; 0: none did.
int Reveal(int i) {
    Shell(g_bKeys ? "xdotool key --delay 30" + KeysTo(i)
                  : "xdotool mousemove --sync " + std::to_string(4 + 54 * (i % 13) + 25) + " " +
                        std::to_string(g_nBoardY + 4 + 72 * (i / 13) + 34) + " click 1");
    int nRank = 0;
    WaitFor([&] {
        const Image board = Grab();
        for (size_t k = 0; k < g_faces.size() && !nRank; ++k)
            nRank = CardShows(board, i, g_faces[k]) ? k % 13 + 1 : 0;
        return nRank != 0;
    });
    return nRank;
}

// P hides every card, with the frame, and Pause brings all back as it was.
void PauseAndResume() {
    const Image before = Grab(BOARD_H - 30); // all but the ticking status line
    Shell("xdotool key p");
    EXPECT_TRUE(WaitFor([] { // no face is up between turns; the middle places lie under the sign
        const Image board = Grab();
        int nTiles = 0, nBacks = 0;
        for (int i = 0; i < CARDS; ++i)
            nTiles += CardShows(board, i, g_tile), nBacks += CardShows(board, i, g_back);
        return nBacks == 0 && nTiles >= 40;
    })) << "cards on view while paused";
    sleep(1);
    Shell("xdotool key Pause");
    EXPECT_TRUE(WaitFor([&] { return Grab(BOARD_H - 30).rgb == before.rgb; }))
        << "the board did not come back as it was";
}

// What a player with perfect memory does: a known pair as soon as there is one, else an
// unknown card and its known partner or the next unknown card, so no card is turned back
// twice. Returns the turns played.
int PlayPerfectGame() {
    int anRank[CARDS] = {}; // 0: not seen yet, -1: gone
    int nTurns = 0, nGone = 0;
    const auto find = [&](const std::function<bool(int)>& match) {
        for (int i = 0; i < CARDS; ++i)
            if (anRank[i] >= 0 && match(i))
                return i;
        return -1;
    };
    const auto partner = [&](int a) {
        return find([&](int b) { return b != a && anRank[a] > 0 && anRank[b] == anRank[a]; });
    };
    const auto turn = [&](int i) {
        i = i >= 0 ? i : find([&](int k) { return anRank[k] == 0; });
        const int nRank = Reveal(i);
        EXPECT_TRUE(nRank && (!anRank[i] || anRank[i] == nRank)) << i;
        return anRank[i] = nRank, i;
    };
    while (nGone < CARDS && !testing::Test::HasFailure() && nTurns < 60) {
        const int a = turn(find([&](int i) { return partner(i) >= 0; }));
        const int b = turn(partner(a));
        const bool bPair = anRank[a] == anRank[b];
        if (bPair)
            anRank[a] = anRank[b] = -1, nGone += 2;
        // The last pair goes under the summary dialog, which the caller looks for.
        EXPECT_TRUE(nGone == CARDS || WaitBoth(a, b, bPair ? g_tile : g_back)) << a << "," << b;
        if (++nTurns == 5 && g_bKeys)
            PauseAndResume();
    }
    EXPECT_EQ(nGone, CARDS);
    return nTurns;
}

// Visible windows of the program with that exact title. Matched here, not by xdotool
// --name, which cannot see titles outside Latin-1.
std::vector<std::string> VisibleWindows(const std::string& strTitle) {
    std::vector<std::string> ids;
    std::istringstream in(Shell("xdotool search --onlyvisible --class Pelmanix"));
    for (std::string id; std::getline(in, id);)
        if (Shell("xdotool getwindowname " + id) == strTitle + "\n")
            ids.push_back(id);
    return ids;
}

// Presses Return in the window titled so once it shows; true when that closed it.
bool Confirm(const std::string& strTitle) {
    std::vector<std::string> ids;
    return WaitFor([&] { return !(ids = VisibleWindows(strTitle)).empty(); }) &&
           !Shell("xdotool windowfocus --sync " + ids[0] + " key Return; echo").empty();
}

class EndToEnd : public testing::TestWithParam<bool> {};

// By keys, not one click: the menu, every turn, a pause and the summary.
TEST_P(EndToEnd, PerfectGameFromTheMenuToTheRankingFile) {
    g_bKeys = GetParam(), g_nFrame = -1;
    alarm(240); // never leaves CI hanging, whatever the program or the X tools do
    TempDir temp;
    std::ofstream(temp.File("kq207825.ini"))
        << "[POS]\nLEFT=0\nTOP=0\n[START]\nOPTION1=0\nOPTION2=0\nOPTION3=0\n"
           "CARDNO=0\nBACKNO=2\nTIMEINDEX=3\nTIMEAUTO=1\n";
    g_tile = ReadPng(5203), g_back = ReadPng(5101), g_faces.clear();
    for (int k = 0; k < CARDS; ++k) // suit k / 13 + 1, rank k % 13 + 1
        g_faces.push_back(ReadPng((k / 13 + 1) * 1000 + k % 13 + 1));
    ASSERT_TRUE(g_tile.w == 16 && g_back.w == 50 && g_faces[51].w == 50) << "no res/img read";

    const pid_t nChild = fork();
    if (nChild == 0) {
        dup2(open("/dev/null", O_WRONLY), 1);
        alarm(240);
        execl(PELMANIX_EXE, PELMANIX_EXE, static_cast<char*>(nullptr));
        _exit(127);
    }
    const std::shared_ptr<void> stop(nullptr, [&](void*) { kill(nChild, SIGKILL), wait(nullptr); });
    std::vector<std::string> frames;
    ASSERT_TRUE(WaitFor([&] { return (frames = VisibleWindows("Pelmanix")).size() == 1; }, 10000));
    // LEFT=0 TOP=0, and no window manager to move the window: the tile all over the board.
    ASSERT_TRUE(WaitFor(
        [] {
            const Image window = Grab(BOARD_H + 100, 0);
            for (g_nBoardY = 0; g_nBoardY < 100; ++g_nBoardY)
                if (Shows(window, 0, g_nBoardY, BOARD_W, BOARD_H, g_tile, g_nBoardY))
                    return true;
            return false;
        },
        10000))
        << "no board at (0, 0)";
    // "ゲームを開始(&G)" is the first item of "メニュー(&M)"
    Shell("xdotool windowfocus --sync " + frames[0] + " key alt+m sleep 0.3 key Return");
    ASSERT_TRUE(WaitBoth(0, CARDS - 1, g_back)) << "no deal"; // the first card and the last

    const int nTurns = PlayPerfectGame();
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(Confirm(u8"ゲームクリア"));
    EXPECT_TRUE(WaitFor([&] { return VisibleWindows(u8"ゲームクリア").empty(); }));
    // Saved when entered, not at exit (which exit_with_help.sh drives by keys).
    const std::string strFile = ReadBytes(temp.File("kq320217.dat"));
    ASSERT_EQ(strFile.size(), 169u);
    int anField[3]; // little-endian: the row count, then score and turns of row 1
    for (int k = 0; k < 3; ++k)
        std::memcpy(&anField[k], strFile.data() + (k ? 2 + 4 * k : 0), 4);
    EXPECT_TRUE(anField[0] == 1 && anField[1] == 500 && anField[2] == nTurns && nTurns >= 26)
        << anField[0] << " " << anField[1] << " " << anField[2] << " " << nTurns;
}

INSTANTIATE_TEST_SUITE_P(ByMouseAndByKeys, EndToEnd, testing::Bool());

} // namespace
