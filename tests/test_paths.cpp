#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "records/paths.h"
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
            old = pszOld;
        pszValue ? setenv(pszName, pszValue, 1) : unsetenv(pszName);
    }
    ~ScopedEnv() { old ? setenv(pszName, old->c_str(), 1) : unsetenv(pszName); }
    const char* pszName;
    std::optional<std::string> old;
};

} // namespace

// An unwritable TEMP, and the state directory made on the first save, are in test_faults.cpp:
// they need a user that permissions stop.
TEST(Paths, TempWhenItIsAUsableDirectoryElseTheStateDirectory) {
    TempDir dir;
    ScopedEnv xdg("XDG_STATE_HOME", "/s"); // shorter than TEMP; never made here
    const std::string strSlash = dir.Path() + "/", strLong = "/" + std::string(1000, 'x');
    const size_t nFits = dir.Path().size() + sizeof "/f.dat";
    const std::string strState = "/s/pelmanix/f.dat";
    const struct {
        const char* pszTemp;
        size_t nSize;
        std::string strExpected;
    } aCases[] = {{nullptr, DATA_PATH_SIZE, strState},
                  {"", DATA_PATH_SIZE, strState},
                  {"/nonexistent-dir", DATA_PATH_SIZE, strState},
                  {strLong.c_str(), DATA_PATH_SIZE, strState},
                  {strSlash.c_str(), DATA_PATH_SIZE, dir.Path() + "//f.dat"},
                  {dir.Path().c_str(), nFits, dir.Path() + "/f.dat"}, // just fits
                  {dir.Path().c_str(), nFits - 1, strState},
                  {dir.Path().c_str(), 17, "false:"}};
    for (const auto& c : aCases) {
        ScopedEnv temp("TEMP", c.pszTemp);
        char szPath[DATA_PATH_SIZE] = "junk";
        const bool bOk = GetDataFilePath("f.dat", szPath, c.nSize);
        EXPECT_EQ(bOk ? szPath : "false:" + std::string(szPath), c.strExpected)
            << (c.pszTemp ? c.pszTemp : "unset") << " in " << c.nSize;
    }
    ScopedEnv temp("TEMP", nullptr), relative("XDG_STATE_HOME", "state"),
        home("HOME", dir.Path().c_str());
    char szPath[DATA_PATH_SIZE];
    ASSERT_TRUE(GetDataFilePath("f.dat", szPath, sizeof szPath));
    EXPECT_EQ(szPath, dir.Path() + "/.local/state/pelmanix/f.dat");
}
