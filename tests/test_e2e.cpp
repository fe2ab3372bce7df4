// SPDX-License-Identifier: MIT
// The whole program. The real one on the X display, played through real X input from the
// menu to the ranking file, turn by turn by mouse and by keys, with a pause: a player who
// knows the deal must score 500. The game's player (session_player), its games played at
// once, ended every way a session ends: by the close box, by a signal from the desktop or
// a terminal, by losing its display, on a full disk, beside a second copy of itself.

#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/play_pairs.h"
#include "tests/temp_dir.h"

namespace {

constexpr const char* RANKING = "kq320217.dat";
constexpr const char* SETTINGS = "kq207825.ini";

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

// The w x h pixels an ImageMagick command writes; none when it writes another size.
Image ReadRgb(const std::string& strCommand, int w, int h) {
    Image image{w, h, Shell(strCommand + " -depth 8 rgb:-")};
    return image.rgb.size() == 3u * w * h ? image : Image();
}

Image ReadPng(int nId, int w = CARD_WIDTH, int h = CARD_HEIGHT) {
    return ReadRgb("convert " PELMANIX_SOURCE_DIR "/res/img/" + std::to_string(nId) + ".png", w, h);
}

Image g_tile, g_back;
int g_nBoardY = 0; // the window is at (0, 0), the board under its menu bar

Image Grab(int h = BOARD_HEIGHT, int y = g_nBoardY) {
    return ReadRgb("import -window root -crop 706x" + std::to_string(h) + "+0+" +
                       std::to_string(y) + " +repage",
                   BOARD_WIDTH, h);
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
    return Shows(board, 4 + 54 * (i % 13), 4 + 72 * (i / 13), CARD_WIDTH, CARD_HEIGHT, art);
}

bool WaitBoth(int a, int b, const Image& art) {
    return WaitFor([&] {
        const Image board = Grab();
        return CardShows(board, a, art) && CardShows(board, b, art);
    });
}

int g_nFrame = 0;           // the place the keys' frame stands on
bool g_bFrameShown = false; // a click hides it, and the next key only shows it again
bool g_bKeys = false;       // whether this turn is played by keys

// Turns card i up, by keys (the frame taken to its place) or by a click on it.
void TurnUp(int i) {
    std::string strCommand = "xdotool mousemove --sync " + std::to_string(4 + 54 * (i % 13) + 25) +
                             " " + std::to_string(g_nBoardY + 4 + 72 * (i / 13) + 34) + " click 1";
    if (g_bKeys) {
        strCommand = g_bFrameShown ? "xdotool key --delay 30" : "xdotool key --delay 30 Down";
        for (; g_nFrame / 13 != i / 13; g_nFrame += g_nFrame < i ? 13 : -13)
            strCommand += g_nFrame < i ? " Down" : " Up";
        for (; g_nFrame != i; g_nFrame += g_nFrame < i ? 1 : -1)
            strCommand += g_nFrame < i ? " Right" : " Left";
        strCommand += i % 2 ? " space" : " Return";
    }
    g_bFrameShown = g_bKeys;
    Shell(strCommand);
}

// P hides every card, with the frame, and Pause brings all back as it was.
void PauseAndResume() {
    const Image before = Grab(BOARD_HEIGHT - 30); // all but the ticking status line
    Shell("xdotool key p");
    EXPECT_TRUE(WaitFor([] { // no back is shown; the middle places lie under the sign
        const Image board = Grab();
        int nTiles = 0, nBacks = 0;
        for (int i = 0; i < CARD_COUNT; ++i)
            nTiles += CardShows(board, i, g_tile), nBacks += CardShows(board, i, g_back);
        return nBacks == 0 && nTiles >= 40;
    })) << "cards on view while paused";
    sleep(1);
    Shell("xdotool key Pause");
    EXPECT_TRUE(WaitFor([&] { return Grab(BOARD_HEIGHT - 30).rgb == before.rgb; }))
        << "the board did not come back as it was";
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

TEST(EndToEnd, GameByMouseAndKeysFromTheMenuToTheRankingFile) {
    alarm(240); // never leaves CI hanging, whatever the program or the X tools do
    TempDir temp;
    std::ofstream(temp.File(SETTINGS))
        << "[POS]\nLEFT=0\nTOP=0\n[START]\nOPTION1=0\nOPTION2=0\nOPTION3=0\n"
           "CARDNO=0\nBACKNO=2\nTIMEINDEX=3\nTIMEAUTO=1\n";
    g_tile = ReadPng(5203, 16, 16), g_back = ReadPng(5101);
    ASSERT_TRUE(g_tile.w && g_back.w) << "no res/img read";
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
            const Image window = Grab(BOARD_HEIGHT + 100, 0);
            for (g_nBoardY = 0; g_nBoardY < 100; ++g_nBoardY)
                if (Shows(window, 0, g_nBoardY, BOARD_WIDTH, BOARD_HEIGHT, g_tile, g_nBoardY))
                    return true;
            return false;
        },
        10000))
        << "no board at (0, 0)";
    // "ゲームを開始(&G)" is the first item of "メニュー(&M)"
    const time_t tFirst = time(nullptr);
    Shell("xdotool windowfocus --sync " + frames[0] + " key alt+m sleep 0.3 key Return");
    ASSERT_TRUE(WaitBoth(0, CARD_COUNT - 1, g_back)) << "no deal"; // the first card and the last

    // The deal is the one of the second it was dealt in: the first two faces tell which.
    const time_t tDealt = time(nullptr);
    CGameBoard deal;
    std::vector<std::array<Image, 2>> firstTwo; // of each second since the menu
    for (time_t t = tFirst; t <= tDealt; ++t) {
        deal.NewDeal(t);
        firstTwo.emplace_back();
        for (int i : {0, 1})
            firstTwo.back()[i] =
                ReadPng(deal.m_apCards[i]->m_nSuit * 1000 + deal.m_apCards[i]->m_nRank);
    }
    TurnUp(0), TurnUp(1); // a pair is shown for half a second only
    ASSERT_TRUE(WaitFor([&] {
        const Image board = Grab();
        for (size_t n = 0; n < firstTwo.size(); ++n)
            if (CardShows(board, 0, firstTwo[n][0]) && CardShows(board, 1, firstTwo[n][1]))
                return deal.NewDeal(tFirst + n), true;
        return false;
    })) << "not the deal of any second since the menu";
    const bool bFirstPair = deal.m_apCards[0]->m_nRank == deal.m_apCards[1]->m_nRank;
    ASSERT_TRUE(WaitBoth(0, 1, bFirstPair ? g_tile : g_back));
    int nTurns = 1, nGone = bFirstPair ? 2 : 0;
    PlayPairs(deal, [&](int a, int b) {
        if (HasFailure() || (bFirstPair && a == 0))
            return;
        g_bKeys = nTurns % 2;
        TurnUp(a), TurnUp(b);
        // The last pair goes under the summary dialog, which is looked for next.
        EXPECT_TRUE((nGone += 2) == CARD_COUNT || WaitBoth(a, b, g_tile)) << a << "," << b;
        if (++nTurns == 5)
            PauseAndResume();
    });
    ASSERT_FALSE(HasFailure());
    std::vector<std::string> ids;
    ASSERT_TRUE(WaitFor([&] { return !(ids = VisibleWindows(u8"ゲームクリア")).empty(); }));
    Shell("xdotool windowfocus --sync " + ids[0] + " key Return");
    EXPECT_TRUE(WaitFor([&] { return VisibleWindows(u8"ゲームクリア").empty(); }));
    // Saved when entered, not at exit (which exit_with_help.sh drives by keys).
    const std::string strFile = ReadBytes(temp.File(RANKING));
    ASSERT_EQ(strFile.size(), 169u);
    int anField[3]; // little-endian: the row count, then score and turns of row 1
    for (int k = 0; k < 3; ++k)
        std::memcpy(&anField[k], strFile.data() + (k ? 2 + 4 * k : 0), 4);
    EXPECT_TRUE(anField[0] == 1 && anField[1] == 500 && anField[2] == nTurns)
        << anField[0] << " " << anField[1] << " " << anField[2] << " " << nTurns;
}

// Runs the game's player with the environment given ("NAME=value" each) and then(pid,
// line) on each line it prints. Returns what it printed and how it ended.
std::pair<std::string, int> Spawn(
    std::vector<std::string> env, const char* pszLimit = nullptr,
    const std::function<void(pid_t, const char*)>& then = [](pid_t, const char*) {}) {
    int anPipe[2];
    EXPECT_EQ(pipe(anPipe), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(anPipe[1], 1);
        for (const std::string& str : env)
            putenv(strdup(str.c_str()));
        alarm(120); // a program that hangs ends and fails the test
        pszLimit ? execlp("prlimit", "prlimit", pszLimit, PLAYER_EXE, nullptr)
                 : execl(PLAYER_EXE, PLAYER_EXE, nullptr);
        _exit(127);
    }
    close(anPipe[1]);
    std::pair<std::string, int> result;
    FILE* pOut = fdopen(anPipe[0], "r");
    for (char szLine[64]; fgets(szLine, sizeof szLine, pOut);)
        result.first += szLine, then(pid, szLine);
    fclose(pOut);
    waitpid(pid, &result.second, 0);
    return result;
}

// Placed and drawn the same at every start, so that two sessions write the same settings;
// nothing else but the two files in dir afterwards.
void FixSettings(const TempDir& dir) {
    std::ofstream(dir.File(SETTINGS)) << "[START]\nOPTION1=0\nOPTION2=0\nOPTION3=0\n";
}
// The ranking without its date stamps, which differ from run to run.
std::string WithoutDates(std::string strRanking) {
    for (size_t nRow = 0; nRow < 5 && strRanking.size() == 169; ++nRow)
        strRanking.replace(4 + 33 * nRow + 14, 19, 19, '-');
    return strRanking;
}

TEST(Session, EveryEndingKeepsTheGamesAndSignalsWriteWhatTheCloseBoxWrites) {
    TempDir dir;
    std::string strClosed[2];
    // 0: the close box; SIGKILL: sent to the X server, with a display of its own.
    for (int nSignal : {0, SIGTERM, SIGHUP, SIGINT, SIGKILL}) {
        std::filesystem::remove(dir.File(RANKING));
        FixSettings(dir);
        pid_t nServer = -1;
        std::string strDisplay = std::string("DISPLAY=") + (getenv("DISPLAY") ?: "");
        if (nSignal == SIGKILL) {
            int anFd[2];
            ASSERT_EQ(pipe(anFd), 0);
            if ((nServer = fork()) == 0)
                execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(anFd[1]).c_str(), "-nolisten",
                       "tcp", static_cast<char*>(nullptr)),
                    _exit(127);
            char szNumber[16] = "";
            ASSERT_GT(read(anFd[0], szNumber, sizeof szNumber - 1), 0);
            strDisplay = "DISPLAY=:" + std::to_string(atoi(szNumber));
        }
        const auto run = Spawn({"PLAYER_GAMES=2", nSignal ? "PLAYER_STAY=1" : "", strDisplay},
                               nullptr, [&](pid_t pid, const char* pszLine) {
                                   if (nSignal && strcmp(pszLine, "up\n") == 0)
                                       kill(nServer > 0 ? nServer : pid, nSignal);
                               });
        if (nServer > 0)
            waitpid(nServer, nullptr, 0);
        const std::string strRanking = ReadBytes(dir.File(RANKING));
        EXPECT_EQ(strRanking[0], 2) << nSignal; // both games, in the count's low byte
        EXPECT_EQ(dir.Entries(), 2) << nSignal;
        if (nSignal == SIGKILL)
            continue; // an abrupt end: what was saved in play is all there is
        EXPECT_EQ(run.second, 0) << nSignal; // exited, with status 0
        if (!nSignal)
            strClosed[0] = WithoutDates(strRanking), strClosed[1] = ReadBytes(dir.File(SETTINGS));
        EXPECT_EQ(WithoutDates(strRanking), strClosed[0]) << nSignal;
        EXPECT_EQ(ReadBytes(dir.File(SETTINGS)), strClosed[1]) << nSignal;
    }
}

// A file-size limit smaller than either file: the disk is full whenever the game saves.
// Beside it, two copies on one directory each keep their games.
TEST(Session, AFullDiskIsToldOnceAndLeavesTheOldFilesWholeAndTwoCopiesKeepTheirGames) {
    TempDir dir;
    FixSettings(dir);
    const std::string strOld(169, '\0'), strOldSettings = ReadBytes(dir.File(SETTINGS));
    std::ofstream(dir.File(RANKING)) << strOld;
    const auto run = Spawn(
        {"PLAYER_GAMES=2", "PLAYER_STAY=1"}, "--fsize=90",
        [](pid_t pid, const char* pszLine) { strcmp(pszLine, "up\n") || kill(pid, SIGTERM); });
    EXPECT_EQ(run.first, "box\nup\n");
    EXPECT_EQ(run.second, 0);
    EXPECT_EQ(ReadBytes(dir.File(RANKING)), strOld);
    EXPECT_EQ(ReadBytes(dir.File(SETTINGS)), strOldSettings);
    EXPECT_EQ(dir.Entries(), 2);
    std::thread copy([] { Spawn({"PLAYER_GAMES=2"}); });
    Spawn({"PLAYER_GAMES=2"});
    copy.join();
    EXPECT_EQ(ReadBytes(dir.File(RANKING))[0], 4);
}

} // namespace
