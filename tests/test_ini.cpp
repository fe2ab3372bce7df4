#include <string>

#include <gtest/gtest.h>

#include "records/ini.h"
#include "tests/temp_dir.h"

std::string ReadAll(const std::string& strPath); // in test_paths.cpp
void WriteAll(const std::string& strPath, const std::string& strBytes);

namespace {

// The value read, with the count the read returned when it differs from the length.
std::string Get(const char* pszSection, const char* pszKey, const std::string& strPath,
                size_t nSize = PROFILE_VALUE_SIZE) {
    char szValue[PROFILE_VALUE_SIZE];
    int nLen = GetProfileString(pszSection, pszKey, "dflt", szValue, nSize, strPath.c_str());
    std::string strValue = szValue;
    return nLen == static_cast<int>(strValue.size()) ? strValue
                                                     : strValue + "#" + std::to_string(nLen);
}

} // namespace

TEST(Ini, ReadsTheFirstMatchWithoutRegardToCase) {
    TempDir dir;
    const std::string strPath = dir.File("a.ini");
    EXPECT_EQ(Get("POS", "LEFT", strPath), "dflt"); // no file
    // Only the first section of a name counts, and in it the first line of a key; an
    // empty value, or one that starts with a zero byte, is no value.
    static const char szText[] = "; LEFT=1\r\n[pos]\r\n Left =  12  \r\nLEFT=13\r\n; TOP=5\r\n"
                                 "no equals sign\r\n[ Start ]\nCardNo=\nCARDNO=2\nA=1\0 2\nB\0=3\n"
                                 "[START]\nTIMEAUTO=1\n";
    WriteAll(strPath, std::string(szText, sizeof szText - 1));
    const char* apszCases[][3] = {{"POS", "LEFT", "12"},       {"POS", "TOP", "dflt"},
                                  {"START", "CARDNO", "dflt"}, {"START", "A", "1"},
                                  {"START", "B", "dflt"},      {"START", "TIMEAUTO", "dflt"},
                                  {"NONE", "LEFT", "dflt"}};
    for (const auto& c : apszCases)
        EXPECT_EQ(Get(c[0], c[1], strPath), c[2]) << c[1];

    WriteAll(strPath, "[S]\nK=" + std::string(256, '7') + "\n");
    EXPECT_EQ(Get("S", "K", strPath), std::string(255, '7'));
    EXPECT_EQ(Get("S", "K", strPath, 4), "777");
}

TEST(Ini, WritesInPlaceAndKeepsEverythingElse) {
    TempDir dir;
    const std::string strPath = dir.File("a.ini");
    WriteAll(strPath, "; head\n[pos]\nleft = 1  \nTOP=2\n\n[START]\nA=  \n; tail");
    // A value that would read back as more lines is refused.
    EXPECT_FALSE(WriteProfileString("POS", "LEFT", "1\n[X]", strPath.c_str()));
    const ProfileEntry aEntries[] = {{"POS", "LEFT", "-99"},
                                     {"POS", "WIDTH", "7"},
                                     {"start", "a", "x y"},
                                     {"NEW", "K", "v"},
                                     {"START", "B", "2"}};
    EXPECT_TRUE(WriteProfileStrings(aEntries, 5, strPath.c_str()));
    EXPECT_EQ(ReadAll(strPath), "; head\n[pos]\nleft = -99\nTOP=2\nWIDTH=7\n\n[START]\nA=x y\n"
                                "; tail\nB=2\n[NEW]\nK=v\n");

    const std::string strHuge = "[S]\nK=1\n" + std::string(3 << 20, 'x');
    WriteAll(strPath, strHuge);
    EXPECT_EQ(Get("S", "K", strPath), "1");
    EXPECT_FALSE(WriteProfileString("S", "K", "2", strPath.c_str())); // not rewritten in part
    EXPECT_EQ(ReadAll(strPath).size(), strHuge.size());
}
