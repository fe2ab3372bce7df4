#pragma once

#include <cstdlib>
#include <string>

#include <ftw.h>
#include <unistd.h>

// A fresh directory that TEMP points at for as long as the object lives, so a test
// never touches a player's real files. Removed with its contents afterwards.
class TempDir {
public:
    TempDir() {
        char szTemplate[] = "/tmp/pelmanix-test-XXXXXX";
        const char* pszDir = mkdtemp(szTemplate);
        if (!pszDir)
            abort(); // never fall back to a shared directory we would then empty
        m_strPath = pszDir;
        const char* pszOld = getenv("TEMP");
        m_bHadOld = pszOld != nullptr;
        if (m_bHadOld)
            m_strOld = pszOld;
        setenv("TEMP", m_strPath.c_str(), 1);
    }
    ~TempDir() {
        if (m_bHadOld)
            setenv("TEMP", m_strOld.c_str(), 1);
        else
            unsetenv("TEMP");
        nftw(m_strPath.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string File(const char* pszName) const { return m_strPath + "/" + pszName; }

private:
    static int RemoveEntry(const char* pszPath, const struct stat*, int, struct FTW*) {
        return remove(pszPath);
    }
    std::string m_strPath;
    std::string m_strOld;
    bool m_bHadOld = false;
};
