// The real program on the X display, played through real X input from the menu
// to the ranking file: a game with perfect memory must score 500.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/temp_dir.h"

namespace {

constexpr int BOARD_W = 706, BOARD_H = 317, CARDS = 52;
pid_t g_nChild = -1;

// Never leaves CI hanging, whatever the program or the X tools do.
void OnWatchdog(int) {
    if (g_nChild > 0)
        kill(g_nChild, SIGKILL);
    const char szMessage[] = "test_e2e: global timeout\n";
    (void)!write(2, szMessage, sizeof szMessage - 1);
    _exit(3);
}

std::string Shell(const std::string& strCommand) {
    std::string strOut;
    if (FILE* pPipe = popen(("timeout 20 " + strCommand).c_str(), "r")) {
        char szBuf[4096];
        size_t n;
        while ((n = fread(szBuf, 1, sizeof szBuf, pPipe)) > 0)
            strOut.append(szBuf, n);
        pclose(pPipe);
    }
    return strOut;
}

struct Image {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[3 * (y * w + x)]; }
};

// A binary PPM as ImageMagick writes it.
Image ReadPpm(const std::string& strCommand) {
    const std::string s = Shell(strCommand);
    Image image;
    int nMax = 0, nUsed = 0;
    if (std::sscanf(s.c_str(), "P6 %d %d %d%n", &image.w, &image.h, &nMax, &nUsed) != 3 ||
        nMax != 255)
        return Image();
    const size_t nBytes = static_cast<size_t>(3) * image.w * image.h;
    if (s.size() < nUsed + 1 + nBytes)
        return Image();
    image.rgb.assign(s.begin() + nUsed + 1, s.begin() + nUsed + 1 + nBytes);
    return image;
}

Image ReadPng(int nId) {
    return ReadPpm("convert " PELMANIX_SOURCE_DIR "/res/img/" + std::to_string(nId) +
                   ".png -depth 8 ppm:-");
}

Image Grab(int x, int y, int w, int h) {
    return ReadPpm("import -window root -crop " + std::to_string(w) + "x" + std::to_string(h) +
                   "+" + std::to_string(x) + "+" + std::to_string(y) + " +repage -depth 8 ppm:-");
}

// Pixels of the screen image in rect (x0, y0, w, h) unlike pixel(x, y) of the source.
int Differences(const Image& screen, int x0, int y0, int w, int h,
                const std::function<const unsigned char*(int, int)>& pixel) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            n += std::memcmp(screen.At(x, y), pixel(x, y), 3) != 0;
    return n;
}

std::vector<std::string> Lines(const std::string& s) {
    std::vector<std::string> lines;
    size_t nStart = 0, nEnd;
    while ((nEnd = s.find('\n', nStart)) != std::string::npos) {
        if (nEnd > nStart)
            lines.push_back(s.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return lines;
}

bool WaitFor(const std::function<bool()>& bDone, int nTimeoutMs) {
    for (int nWaited = 0; nWaited < nTimeoutMs; nWaited += 50) {
        if (bDone())
            return true;
        usleep(50 * 1000);
    }
    return bDone();
}

int ReadInt32(const unsigned char* p) {
    return static_cast<int>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<unsigned>(p[3]) << 24);
}

class Player {
public:
    Player() : m_tile(ReadPng(5203)), m_back(ReadPng(5101)) {
        for (int nSuit = 1; nSuit <= 4; ++nSuit)
            for (int nRank = 1; nRank <= 13; ++nRank)
                m_faces.push_back({nSuit * 1000 + nRank, ReadPng(nSuit * 1000 + nRank)});
    }

    bool ArtworkLoaded() const {
        bool bOk = m_tile.w == 16 && m_back.w == 50;
        for (const auto& face : m_faces)
            bOk &= face.second.w == 50 && face.second.h == 68;
        return bOk;
    }

    // The board is where the window shows the 16 x 16 tile from its top-left pixel on.
    bool FindBoard(int nWindowX, int nWindowY) {
        const Image window = Grab(nWindowX, nWindowY, BOARD_W, BOARD_H + 100);
        if (window.w != BOARD_W)
            return false;
        for (int dy = 0; dy < 100; ++dy)
            if (Differences(window, 0, dy, BOARD_W, BOARD_H,
                            [&](int x, int y) { return m_tile.At(x % 16, (y - dy) % 16); }) == 0) {
                m_nX = nWindowX;
                m_nY = nWindowY + dy;
                return true;
            }
        return false;
    }

    Image Board() const { return Grab(m_nX, m_nY, BOARD_W, BOARD_H); }
    static int Left(int i) { return 4 + 54 * (i % 13); }
    static int Top(int i) { return 4 + 72 * (i / 13); }

    bool IsBack(const Image& board, int i) const {
        return Differences(board, Left(i), Top(i), 50, 68,
                           [&](int x, int y) { return m_back.At(x - Left(i), y - Top(i)); }) == 0;
    }
    bool IsGone(const Image& board, int i) const {
        return Differences(board, Left(i), Top(i), 50, 68,
                           [&](int x, int y) { return m_tile.At(x % 16, y % 16); }) == 0;
    }
    bool TileAt(const Image& board, int x0, int y0, int w, int h) const {
        return Differences(board, x0, y0, w, h,
                           [&](int x, int y) { return m_tile.At(x % 16, y % 16); }) == 0;
    }
    // The rank of the face shown at place i, 0 while no face is shown there.
    int RankShown(const Image& board, int i) const {
        for (const auto& face : m_faces)
            if (Differences(board, Left(i), Top(i), 50, 68, [&](int x, int y) {
                    return face.second.At(x - Left(i), y - Top(i));
                }) == 0)
                return face.first % 1000;
        return 0;
    }

    void Click(int i) const {
        Shell("xdotool mousemove --sync " + std::to_string(m_nX + Left(i) + 25) + " " +
              std::to_string(m_nY + Top(i) + 34) + " click 1");
    }

    // Turns card i up and reads its rank.
    int Reveal(int i) const {
        Click(i);
        int nRank = 0;
        WaitFor([&] { return (nRank = RankShown(Board(), i)) != 0; }, 5000);
        return nRank;
    }

    bool WaitAll(int a, int b, bool (Player::*pTest)(const Image&, int) const) const {
        return WaitFor(
            [&] {
                const Image board = Board();
                return (this->*pTest)(board, a) && (this->*pTest)(board, b);
            },
            5000);
    }

    int m_nX = 0, m_nY = 0;

private:
    Image m_tile, m_back;
    std::vector<std::pair<int, Image>> m_faces;
};

// What a player with perfect memory does: two unknown cards at a time, a known
// pair as soon as there is one, so no card is ever turned back twice.
int PlayPerfectGame(const Player& player) {
    int anRank[CARDS] = {}; // 0: not seen yet
    bool abGone[CARDS] = {};
    int nTurns = 0, nGone = 0;
    auto take = [&](int a, int b) {
        abGone[a] = abGone[b] = true;
        nGone += 2;
        // The last pair goes under the summary dialog, which the caller looks for.
        if (nGone < CARDS) {
            EXPECT_TRUE(player.WaitAll(a, b, &Player::IsGone)) << a << "," << b;
        }
    };
    auto knownPair = [&](int* pA, int* pB) {
        for (int a = 0; a < CARDS; ++a)
            for (int b = a + 1; b < CARDS; ++b)
                if (!abGone[a] && !abGone[b] && anRank[a] && anRank[a] == anRank[b]) {
                    *pA = a;
                    *pB = b;
                    return true;
                }
        return false;
    };
    auto nextUnknown = [&](int nAfter) {
        for (int i = nAfter + 1; i < CARDS; ++i)
            if (!anRank[i])
                return i;
        return -1;
    };
    while (nGone < CARDS && !testing::Test::HasFailure() && nTurns < 60) {
        int a, b;
        if (knownPair(&a, &b)) {
            EXPECT_EQ(player.Reveal(a), anRank[a]);
            EXPECT_EQ(player.Reveal(b), anRank[b]);
            ++nTurns;
            take(a, b);
            continue;
        }
        a = nextUnknown(-1);
        if (a < 0)
            break;
        anRank[a] = player.Reveal(a);
        EXPECT_NE(anRank[a], 0) << "no face recognised at " << a;
        for (b = 0; b < CARDS; ++b)
            if (b != a && !abGone[b] && anRank[b] == anRank[a])
                break;
        if (b == CARDS) {
            b = nextUnknown(a);
            if (b < 0)
                break;
            anRank[b] = player.Reveal(b);
        } else {
            player.Reveal(b);
        }
        ++nTurns;
        if (anRank[a] == anRank[b])
            take(a, b);
        else
            EXPECT_TRUE(player.WaitAll(a, b, &Player::IsBack)) << a << "," << b;
    }
    EXPECT_EQ(nGone, CARDS);
    return nTurns;
}

// Visible windows of the program with that exact title. Matched here, not by
// xdotool --name, which cannot see titles outside Latin-1.
std::vector<std::string> VisibleWindows(const std::string& strTitle) {
    std::vector<std::string> ids;
    for (const std::string& id : Lines(Shell("xdotool search --onlyvisible --class Pelmanix")))
        if (Shell("xdotool getwindowname " + id) == strTitle + "\n")
            ids.push_back(id);
    return ids;
}

TEST(EndToEnd, PerfectGameFromTheMenuToTheRankingFile) {
    signal(SIGALRM, OnWatchdog);
    alarm(240);
    TempDir temp;
    {
        FILE* pIni = std::fopen(temp.File("kq207825.ini").c_str(), "w");
        ASSERT_NE(pIni, nullptr);
        std::fputs("[POS]\nLEFT=0\nTOP=0\n[START]\nOPTION1=0\nOPTION2=0\nOPTION3=0\n"
                   "CARDNO=0\nBACKNO=2\nTIMEINDEX=3\nTIMEAUTO=1\n",
                   pIni);
        std::fclose(pIni);
    }
    Player player;
    ASSERT_TRUE(player.ArtworkLoaded()) << "convert could not read res/img";

    g_nChild = fork();
    ASSERT_GE(g_nChild, 0);
    if (g_nChild == 0) {
        const int nNull = open("/dev/null", O_WRONLY);
        dup2(nNull, 1);
        setenv("NO_AT_BRIDGE", "1", 1);
        execl(PELMANIX_EXE, PELMANIX_EXE, static_cast<char*>(nullptr));
        _exit(127);
    }
    struct Reaper {
        ~Reaper() {
            if (g_nChild > 0 && waitpid(g_nChild, nullptr, WNOHANG) == 0) {
                kill(g_nChild, SIGKILL);
                waitpid(g_nChild, nullptr, 0);
            }
            alarm(0);
        }
    } reaper;

    const std::vector<std::string> frames =
        Lines(Shell("xdotool search --sync --onlyvisible --name '^Pelmanix$'"));
    ASSERT_EQ(frames.size(), 1u);
    const std::string strFrame = frames[0];
    int nWindowX = -1, nWindowY = -1;
    for (const std::string& line : Lines(Shell("xdotool getwindowgeometry --shell " + strFrame)))
        std::sscanf(line.c_str(), line[0] == 'X' ? "X=%d" : "Y=%d",
                    line[0] == 'X' ? &nWindowX : &nWindowY);
    ASSERT_EQ(nWindowX, 0); // LEFT=0 TOP=0, and no window manager to move it
    ASSERT_EQ(nWindowY, 0);
    ASSERT_TRUE(WaitFor([&] { return player.FindBoard(nWindowX, nWindowY); }, 10000))
        << "the board's background never showed";

    // "ゲームを開始(&G)" is the first item of "メニュー(&M)".
    Shell("xdotool windowfocus --sync " + strFrame + " key alt+m");
    usleep(300 * 1000);
    Shell("xdotool key Return");
    ASSERT_TRUE(WaitFor(
        [&] {
            const Image board = player.Board();
            for (int i = 0; i < CARDS; ++i)
                if (!player.IsBack(board, i))
                    return false;
            return true;
        },
        10000))
        << "no deal";

    const int nTurns = PlayPerfectGame(player);
    ASSERT_FALSE(HasFailure());

    std::vector<std::string> dialogs;
    ASSERT_TRUE(
        WaitFor([&] { return !(dialogs = VisibleWindows(u8"ゲームクリア")).empty(); }, 5000));
    // Behind the summary the board has no status line left.
    const Image board = player.Board();
    EXPECT_TRUE(player.TileAt(board, 560, 290, 146, 27));
    Shell("xdotool windowfocus --sync " + dialogs[0] + " key Return");
    EXPECT_TRUE(WaitFor([&] { return VisibleWindows(u8"ゲームクリア").empty(); }, 5000));

    // "終了(&X)", then OK in "終了しますか？".
    Shell("xdotool windowfocus --sync " + strFrame + " key alt+m");
    usleep(300 * 1000);
    Shell("xdotool key x");
    std::vector<std::string> boxes;
    ASSERT_TRUE(WaitFor(
        [&] {
            boxes.clear();
            for (const std::string& id : VisibleWindows("Pelmanix"))
                if (id != strFrame)
                    boxes.push_back(id);
            return !boxes.empty();
        },
        5000));
    Shell("xdotool windowfocus --sync " + boxes[0] + " key Return");
    int nStatus = -1;
    ASSERT_TRUE(WaitFor([&] { return waitpid(g_nChild, &nStatus, WNOHANG) == g_nChild; }, 10000))
        << "the program did not end";
    g_nChild = -1;
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << nStatus;

    FILE* pFile = std::fopen(temp.File("kq320217.dat").c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    unsigned char abFile[200];
    const size_t nSize = std::fread(abFile, 1, sizeof abFile, pFile);
    std::fclose(pFile);
    ASSERT_EQ(nSize, 169u);
    EXPECT_EQ(ReadInt32(abFile), 1);
    EXPECT_EQ(ReadInt32(abFile + 4 + 2), 500);
    EXPECT_EQ(ReadInt32(abFile + 4 + 6), nTurns);
    EXPECT_GE(nTurns, 26);
}

} // namespace
