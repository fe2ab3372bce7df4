#include <cstring>
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
    std::string strPath = dir.File("a.ini");
    EXPECT_EQ(Get("POS", "LEFT", strPath), "dflt");
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
    std::string strPath = dir.File("a.ini");
    WriteAll(strPath, "; head\n[pos]\nleft = 1  \nTOP=2\n\n[START]\nA=  \n; tail");
    EXPECT_TRUE(WriteProfileString("POS", "LEFT", "-99", strPath.c_str()));
    EXPECT_TRUE(WriteProfileString("POS", "WIDTH", "7", strPath.c_str()));
    EXPECT_TRUE(WriteProfileString("start", "a", "x y", strPath.c_str()));
    EXPECT_TRUE(WriteProfileString("NEW", "K", "v", strPath.c_str()));
    EXPECT_TRUE(WriteProfileString("START", "B", "2", strPath.c_str()));
    EXPECT_EQ(ReadAll(strPath), "; head\n[pos]\nleft = -99\nTOP=2\nWIDTH=7\n\n[START]\nA=x y\n"
                                "; tail\nB=2\n[NEW]\nK=v\n");

    WriteAll(strPath, "[S]\r\nK=1\r\n");
    EXPECT_TRUE(WriteProfileString("T", "K", "2", strPath.c_str()));
    EXPECT_TRUE(WriteProfileString("S", "K", "5", strPath.c_str()));
    EXPECT_FALSE(WriteProfileString("S", "K", "1\n[X]", strPath.c_str()));
    EXPECT_EQ(ReadAll(strPath), "[S]\r\nK=5\r\n[T]\r\nK=2\r\n");

    std::string strHuge = "[S]\nK=1\n" + std::string(3 << 20, 'x');
    WriteAll(strPath, strHuge);
    EXPECT_EQ(Get("S", "K", strPath), "1");
    EXPECT_FALSE(WriteProfileString("S", "K", "2", strPath.c_str())); // not rewritten in part
    EXPECT_EQ(ReadAll(strPath).size(), strHuge.size());
}
