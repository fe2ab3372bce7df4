#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <ftw.h>
#include <unistd.h>

namespace fuzz {

// What the current input was turned into, printed with a failed check.
inline std::string& Context() {
    static std::string str;
    return str;
}

inline std::string Quoted(const std::string& str) {
    std::string strOut = "\"";
    for (unsigned char c : str) {
        char sz[8];
        std::snprintf(sz, sizeof sz, c >= 0x20 && c < 0x7F && c != '\\' ? "%c" : "\\x%02X", c);
        strOut += sz;
    }
    return strOut + "\"";
}

} // namespace fuzz

// A broken promise is a crash, so libFuzzer keeps the input that showed it.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n%s\n", __FILE__, __LINE__, #cond,       \
                         fuzz::Context().c_str());                                                 \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

inline int RemoveEntry(const char* pszPath, const struct stat*, int, struct FTW*) {
    return remove(pszPath);
}

inline std::string& ScratchPath() {
    static std::string strPath;
    return strPath;
}

inline void RemoveScratch() {
    if (!ScratchPath().empty())
        nftw(ScratchPath().c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// Every save syncs: in memory (/dev/shm) that costs nothing, on a disk it would be
// most of the run.
inline const std::string& ScratchDir() {
    std::string& strPath = ScratchPath();
    if (strPath.empty()) {
        const char* apszBases[] = {"/dev/shm", getenv("TMPDIR"), "/tmp"};
        for (const char* pszBase : apszBases) {
            if (!pszBase || access(pszBase, W_OK | X_OK) != 0)
                continue;
            std::string strTemplate = std::string(pszBase) + "/pelmanix-fuzz-XXXXXX";
            if (mkdtemp(&strTemplate[0])) {
                strPath = strTemplate;
                break;
            }
        }
        FUZZ_CHECK(!strPath.empty());
        std::atexit(RemoveScratch);
    }
    return strPath;
}

inline std::string ScratchFile(const char* pszName) {
    return ScratchDir() + "/" + pszName;
}

inline void WriteFile(const std::string& strPath, const void* pData, size_t nSize) {
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    FUZZ_CHECK(pFile);
    FUZZ_CHECK(nSize == 0 || std::fwrite(pData, 1, nSize, pFile) == nSize);
    FUZZ_CHECK(std::fclose(pFile) == 0);
}

inline std::string ReadFile(const std::string& strPath) {
    std::string strBytes;
    if (FILE* pFile = std::fopen(strPath.c_str(), "rb")) {
        char ab[4096];
        size_t n;
        while ((n = std::fread(ab, 1, sizeof ab, pFile)) > 0)
            strBytes.append(ab, n);
        std::fclose(pFile);
    }
    return strBytes;
}

// True when a zero byte ends the text inside its field.
inline bool Terminated(const char* psz, size_t nField) {
    return std::memchr(psz, '\0', nField) != nullptr;
}

} // namespace fuzz
