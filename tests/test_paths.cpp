#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "records/paths.h"
#include "records/ranking.h"
#include "tests/temp_dir.h"

// Shared by the records tests.
std::string ReadAll(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& strPath, const std::string& strBytes) {
    std::ofstream(strPath, std::ios::binary) << strBytes;
}

namespace {

// Sets or (with nullptr) removes a variable for the life of the object.
struct ScopedEnv {
    ScopedEnv(const char* pszName, const char* pszValue) : pszName(pszName) {
        if (const char* pszOld = getenv(pszName))
            strOld = pszOld, bHadOld = true;
        pszValue ? setenv(pszName, pszValue, 1) : unsetenv(pszName);
    }
    ~ScopedEnv() { bHadOld ? setenv(pszName, strOld.c_str(), 1) : unsetenv(pszName); }
    const char* pszName;
    std::string strOld;
    bool bHadOld = false;
};

std::string PathFor(size_t nSize = DATA_PATH_SIZE) {
    char szPath[DATA_PATH_SIZE] = "junk";
    bool bOk = GetDataFilePath("f.dat", szPath, nSize);
    return bOk ? szPath : "false:" + std::string(szPath);
}

} // namespace

TEST(Paths, TempWhenItIsAUsableDirectoryElseTheStateDirectory) {
    TempDir dir;
    ScopedEnv xdg("XDG_STATE_HOME", (dir.Path() + "/state").c_str());
    const std::string strFallback = dir.Path() + "/state/pelmanix/f.dat";
    std::string strDeep = dir.Path();
    for (int i = 0; i < 3; ++i) {
        strDeep += "/" + std::string(100, 'd');
        ASSERT_EQ(mkdir(strDeep.c_str(), 0700), 0);
    }
    const std::string strSlash = dir.Path() + "/", strLong = "/" + std::string(1000, 'x');
    const struct {
        const char* pszTemp;
        size_t nSize;
        std::string strExpected;
    } aCases[] = {
        {nullptr, DATA_PATH_SIZE, strFallback},
        {"", DATA_PATH_SIZE, strFallback},
        {"/nonexistent-dir", DATA_PATH_SIZE, strFallback},
        {strSlash.c_str(), DATA_PATH_SIZE, dir.Path() + "//f.dat"},
        {strLong.c_str(), DATA_PATH_SIZE, strFallback},
        {strDeep.c_str(), strDeep.size() + 7, strDeep + "/f.dat"}, // just fits
        {strDeep.c_str(), strDeep.size() + 6, strFallback},
        {strDeep.c_str(), 10, "false:"},
    };
    for (const auto& c : aCases) {
        ScopedEnv temp("TEMP", c.pszTemp);
        EXPECT_EQ(PathFor(c.nSize), c.strExpected) << (c.pszTemp ? c.pszTemp : "unset");
    }
    ScopedEnv temp("TEMP", nullptr), relative("XDG_STATE_HOME", "state"),
        home("HOME", dir.Path().c_str());
    EXPECT_EQ(PathFor(), dir.Path() + "/.local/state/pelmanix/f.dat");
}

TEST(Paths, FirstSaveCreatesThePrivateStateDirectory) {
    TempDir dir;
    ScopedEnv temp("TEMP", nullptr), xdg("XDG_STATE_HOME", (dir.Path() + "/a/b").c_str());
    char szPath[DATA_PATH_SIZE];
    ASSERT_TRUE(GetRankingPath(szPath, sizeof szPath));
    RankingTable table, back;
    InsertResult(table, 123, 45, 67);
    ASSERT_TRUE(SaveRanking(table, szPath));
    struct stat st;
    ASSERT_EQ(stat((dir.Path() + "/a/b/pelmanix").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_TRUE(LoadRanking(back, szPath));
    EXPECT_EQ(back.anScore[0], 123);
    EXPECT_FALSE(EnsureParentDirectory((std::string(szPath) + "/x").c_str())); // under a file
}
