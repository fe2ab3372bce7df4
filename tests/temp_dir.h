// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

// A fresh directory that TEMP points at for as long as the object lives, so a test
// never touches a player's real files. Removed with its contents afterwards.
class TempDir {
public:
    TempDir() {
        char szTemplate[] = "/tmp/pelmanix-test-XXXXXX";
        if (!mkdtemp(szTemplate))
            abort(); // never fall back to a shared directory we would then empty
        m_strPath = szTemplate;
        if (const char* pszOld = getenv("TEMP"))
            m_old = pszOld;
        setenv("TEMP", m_strPath.c_str(), 1);
    }
    ~TempDir() {
        m_old ? setenv("TEMP", m_old->c_str(), 1) : unsetenv("TEMP");
        std::error_code error; // symbolic links inside are removed, never followed
        std::filesystem::remove_all(m_strPath, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string File(const char* pszName) const { return m_strPath + "/" + pszName; }
    long Entries() const {
        return std::distance(std::filesystem::directory_iterator(m_strPath), {});
    }

private:
    std::string m_strPath;
    std::optional<std::string> m_old;
};

// The bytes of a file; empty when it cannot be read.
inline std::string ReadBytes(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
