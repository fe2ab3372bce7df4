// SPDX-License-Identifier: MIT
#include "records/ini.h"

#include <cstring>
#include <string>

#include <sys/stat.h>

#include "records/paths.h"

namespace {

// Far beyond any settings file; a larger one is read only this far (and saves refuse it).
constexpr size_t INI_MAX_BYTES = 1 << 20;

enum class LineKind { Other, Section, Key };

struct IniLine {
    LineKind kind = LineKind::Other;
    size_t nEnd = 0;        // after the line's newline
    size_t nContentEnd = 0; // before "\r\n" or "\n"
    size_t nNameBegin = 0, nNameEnd = 0;
    size_t nValueBegin = 0, nValueEnd = 0;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

void Trim(const std::string& strText, size_t* pnBegin, size_t* pnEnd) {
    while (*pnBegin < *pnEnd && IsSpace(strText[*pnBegin]))
        ++*pnBegin;
    while (*pnEnd > *pnBegin && IsSpace(strText[*pnEnd - 1]))
        --*pnEnd;
}

// Searches one line only, so that a file of many lines stays linear to read.
size_t FindIn(const std::string& strText, char c, size_t nBegin, size_t nEnd) {
    const void* p = memchr(strText.data() + nBegin, c, nEnd - nBegin);
    return p ? static_cast<size_t>(static_cast<const char*>(p) - strText.data()) : nEnd;
}

IniLine ParseLine(const std::string& strText, size_t nPos) {
    IniLine line;
    size_t nNewline = strText.find('\n', nPos);
    line.nEnd = nNewline == std::string::npos ? strText.size() : nNewline + 1;
    size_t nEnd = nNewline == std::string::npos ? strText.size() : nNewline;
    if (nEnd > nPos && strText[nEnd - 1] == '\r')
        --nEnd;
    line.nContentEnd = nEnd;
    size_t nBegin = nPos;
    Trim(strText, &nBegin, &nEnd);
    if (nBegin == nEnd || strText[nBegin] == ';')
        return line;
    if (strText[nBegin] == '[') {
        // A header without its "]" still opens the section, as it plainly means to.
        line.kind = LineKind::Section;
        line.nNameBegin = nBegin + 1;
        line.nNameEnd = FindIn(strText, ']', nBegin, nEnd);
        Trim(strText, &line.nNameBegin, &line.nNameEnd);
        return line;
    }
    size_t nEquals = FindIn(strText, '=', nBegin, nEnd);
    if (nEquals == nEnd)
        return line;
    line.kind = LineKind::Key;
    line.nNameBegin = nBegin;
    line.nNameEnd = nEquals;
    Trim(strText, &line.nNameBegin, &line.nNameEnd);
    line.nValueBegin = nEquals + 1;
    line.nValueEnd = nEnd;
    Trim(strText, &line.nValueBegin, &line.nValueEnd);
    return line;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool NameIs(const std::string& strText, size_t nBegin, size_t nEnd, const char* pszName) {
    size_t nLen = strlen(pszName);
    while (nLen > 0 && IsSpace(*pszName)) {
        ++pszName;
        --nLen;
    }
    while (nLen > 0 && IsSpace(pszName[nLen - 1]))
        --nLen;
    if (nEnd - nBegin != nLen)
        return false;
    for (size_t i = 0; i < nLen; ++i) {
        if (AsciiLower(strText[nBegin + i]) != AsciiLower(pszName[i]))
            return false;
    }
    return true;
}

struct KeyPlace {
    bool bSection = false;
    size_t nSectionEnd = 0; // after the section's last non-blank line
    bool bKey = false;
    IniLine key;
};

// Only the first section of the name counts, and in it only the first line of the key.
KeyPlace FindKey(const std::string& strText, const char* pszSection, const char* pszKey) {
    KeyPlace place;
    bool bInSection = false;
    for (size_t nPos = 0; nPos < strText.size();) {
        IniLine line = ParseLine(strText, nPos);
        if (line.kind == LineKind::Section) {
            if (bInSection)
                break;
            if (NameIs(strText, line.nNameBegin, line.nNameEnd, pszSection)) {
                bInSection = place.bSection = true;
                place.nSectionEnd = line.nEnd;
            }
        } else if (bInSection) {
            size_t nBegin = nPos, nEnd = line.nContentEnd;
            Trim(strText, &nBegin, &nEnd);
            if (nBegin < nEnd)
                place.nSectionEnd = line.nEnd;
            if (line.kind == LineKind::Key &&
                NameIs(strText, line.nNameBegin, line.nNameEnd, pszKey)) {
                place.bKey = true;
                place.key = line;
                break;
            }
        }
        nPos = line.nEnd;
    }
    return place;
}

// What the file holds, up to INI_MAX_BYTES; false when there is nothing to read.
bool ReadIniFile(const char* pszPath, std::string* pstrText) {
    pstrText->clear();
    SharedReadFile file(pszPath);
    struct stat st;
    if (file.Fd() < 0 || fstat(file.Fd(), &st) != 0)
        return false;
    size_t nSize = static_cast<size_t>(st.st_size);
    if (nSize > INI_MAX_BYTES)
        nSize = INI_MAX_BYTES;
    pstrText->resize(nSize);
    pstrText->resize(file.Read(&(*pstrText)[0], nSize));
    return true;
}

size_t CopyValue(const char* pData, size_t nLen, char* pszValue, size_t nSize) {
    const void* pNul = memchr(pData, '\0', nLen);
    if (pNul)
        nLen = static_cast<size_t>(static_cast<const char*>(pNul) - pData);
    if (nLen > nSize - 1)
        nLen = nSize - 1;
    memcpy(pszValue, pData, nLen);
    pszValue[nLen] = '\0';
    return nLen;
}

// New lines follow the file's own line ends.
const char* NewlineOf(const std::string& strText) {
    size_t nNewline = strText.find('\n');
    return nNewline != std::string::npos && nNewline > 0 && strText[nNewline - 1] == '\r' ? "\r\n"
                                                                                          : "\n";
}

bool HasAny(const char* psz, const char* pszChars) {
    return strpbrk(psz, pszChars) != nullptr;
}

// A key written at the start of a line as a comment or a section header would read back as one.
bool StartsOtherLine(const char* pszKey) {
    while (IsSpace(*pszKey))
        ++pszKey;
    return *pszKey == ';' || *pszKey == '[';
}

} // namespace

int GetProfileString(const char* pszSection, const char* pszKey, const char* pszDefault,
                     char* pszValue, size_t nSize, const char* pszPath) {
    if (!pszValue || nSize == 0)
        return 0;
    if (!pszDefault)
        pszDefault = "";
    std::string strText;
    if (pszSection && pszKey && pszPath && ReadIniFile(pszPath, &strText)) {
        KeyPlace place = FindKey(strText, pszSection, pszKey);
        // A value that starts with a zero byte is as empty as no value at all.
        if (place.bKey && place.key.nValueBegin < place.key.nValueEnd &&
            strText[place.key.nValueBegin] != '\0') {
            size_t nLen = place.key.nValueEnd - place.key.nValueBegin;
            return static_cast<int>(
                CopyValue(strText.data() + place.key.nValueBegin, nLen, pszValue, nSize));
        }
    }
    return static_cast<int>(CopyValue(pszDefault, strlen(pszDefault), pszValue, nSize));
}

bool WriteProfileString(const char* pszSection, const char* pszKey, const char* pszValue,
                        const char* pszPath) {
    const ProfileEntry entry = {pszSection, pszKey, pszValue};
    return WriteProfileStrings(&entry, 1, pszPath);
}

bool WriteProfileStrings(const ProfileEntry* pEntries, size_t nCount, const char* pszPath) {
    if (!pEntries || !pszPath)
        return false;
    // Names or values that would read back as other lines or other names are refused.
    for (size_t i = 0; i < nCount; ++i) {
        const ProfileEntry& e = pEntries[i];
        if (!e.pszSection || !e.pszKey || !e.pszValue || HasAny(e.pszSection, "\r\n]") ||
            HasAny(e.pszKey, "\r\n=") || HasAny(e.pszValue, "\r\n") || !*e.pszKey ||
            StartsOtherLine(e.pszKey))
            return false;
    }
    // Read under the save's lock: keys another copy added since our start are kept.
    return UpdateFileAtomically(pszPath, [&](const std::string* pOld, std::string* pNew) {
        std::string& strText = *pNew;
        strText = pOld ? *pOld : std::string();
        const char* pszNewline = NewlineOf(strText);

        for (size_t i = 0; i < nCount; ++i) {
            const ProfileEntry& e = pEntries[i];
            KeyPlace place = FindKey(strText, e.pszSection, e.pszKey);
            if (place.bKey) {
                const IniLine& key = place.key;
                // Only the value and its trailing blanks change; the rest of the line stays.
                strText.replace(key.nValueBegin, key.nContentEnd - key.nValueBegin, e.pszValue);
            } else {
                std::string strAdd;
                size_t nAt = place.bSection ? place.nSectionEnd : strText.size();
                if (nAt > 0 && strText[nAt - 1] != '\n')
                    strAdd = pszNewline;
                if (!place.bSection)
                    strAdd += std::string("[") + e.pszSection + "]" + pszNewline;
                strAdd += std::string(e.pszKey) + "=" + e.pszValue + pszNewline;
                strText.insert(nAt, strAdd);
            }
        }
        return true;
    });
}
