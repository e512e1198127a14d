#include "mainwindow/filelists.h"

#include "platform/dirscan.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits.h>

namespace {
struct ListKind {
    const char* szTitle;
    std::vector<const char*> patterns;
};

const std::array<ListKind, nLists>& Kinds() {
    static const std::array<ListKind, nLists> kinds{{
        {"Orchestras", {"*.orc", "*.o"}},
        {"Scores", {"*.sco", "*.s"}},
        {"Source", {"*.wav", "test", "soundin.*"}},
        {"Output", {"*.wav", "test", "soundin.*"}},
        {"Analysis Files", {"*.lpc", "*.htr", "*.pvc"}},
    }};
    return kinds;
}
} // namespace

const char* ListTitle(int nList) {
    return Kinds().at(static_cast<std::size_t>(nList)).szTitle;
}

const std::vector<const char*>& ListPatterns(int nList) {
    return Kinds().at(static_cast<std::size_t>(nList)).patterns;
}

const char* ListDirectory(const INISTRUCT& ini, int nList) {
    switch (nList) {
    case LIST_ORC:
        return ini.szOrcDir;
    case LIST_SCORE:
        return ini.szScoreDir;
    case LIST_SOURCE:
        return ini.szSSDIR;
    case LIST_OUTPUT:
        return ini.szSFDIR;
    default:
        return ini.szSADIR;
    }
}

bool ListNameLess(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                     [&](char x, char y) { return lower(x) < lower(y); });
    if (less)
        return true;
    const bool greater =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                     [&](char x, char y) { return lower(x) < lower(y); });
    return !greater && a < b;
}

std::vector<std::string> ListEntries(const INISTRUCT& ini, int nList) {
    std::vector<std::string> entries;
    const char* szDir = ListDirectory(ini, nList);
    for (const char* szPattern : ListPatterns(nList)) {
        // An empty folder setting means the current folder, as the bare
        // pattern would.
        const std::string szSpec = std::string(szDir) + szPattern;
        for (auto& szName : ScanDirectory(szSpec))
            entries.push_back(std::move(szName));
    }
    // A name matched by two patterns ("soundin.wav") is one file: list it once.
    std::sort(entries.begin(), entries.end(), ListNameLess);
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    return entries;
}

const char* MakeFullFilename(const char* szPath, const char* szFileName) {
    static char szBuffer[PATH_MAX + NAME_MAX + 2];
    const std::size_t nPath = std::strlen(szPath), nName = std::strlen(szFileName);
    if (nPath + nName >= sizeof szBuffer) {
        szBuffer[0] = '\0';
        return szBuffer;
    }
    std::memcpy(szBuffer, szPath, nPath);
    std::memcpy(szBuffer + nPath, szFileName, nName + 1);
    return szBuffer;
}

bool CopyIntoField(char* szField, std::size_t nCapacity, const char* szText) {
    const std::size_t n = std::strlen(szText);
    if (n >= nCapacity) {
        szField[0] = '\0';
        return false;
    }
    std::memcpy(szField, szText, n + 1);
    return true;
}
