#include "mainwindow/filelists.h"

#include "commands/filecmds.h"
#include "platform/files/dirscan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits.h>

namespace {
struct ListKind {
    const char* szTitle;
    std::vector<const char*> patterns;
};

// A .csd holds orchestra, score and options in one file: it is an orchestra
// that needs no score.
const std::array<ListKind, nLists> aKinds{{
    {"Orchestras", {"*.orc", "*.o", "*.csd"}},
    {"Scores", {"*.sco", "*.s"}},
    {"Source", {"*.wav", "test", "soundin.*"}},
    {"Output", {"*.wav", "test", "soundin.*"}},
    {"Analysis Files", {"*.lpc", "*.htr", "*.pvc"}},
}};
} // namespace

const char* ListTitle(int nList) {
    return aKinds.at(static_cast<std::size_t>(nList)).szTitle;
}

const std::vector<const char*>& ListPatterns(int nList) {
    return aKinds.at(static_cast<std::size_t>(nList)).patterns;
}

bool ListNameLess(const std::string& a, const std::string& b) {
    // One pass: the first difference without regard to case decides; when
    // there is none, the shorter name, then the first exact difference.
    int nExact = 0;
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        const int lx = static_cast<unsigned char>(AsciiLower(static_cast<char>(x)));
        const int ly = static_cast<unsigned char>(AsciiLower(static_cast<char>(y)));
        if (lx != ly)
            return lx < ly;
        if (nExact == 0 && x != y)
            nExact = x < y ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return nExact < 0;
}

void SortListNames(std::vector<std::string>& names) {
    // Each name's first eight letters, folded, as one number: most
    // comparisons end there, and only ties read the names themselves. A
    // name shorter than eight is padded with 0, which no name contains, so
    // it sorts before the longer names it begins, as ListNameLess has it.
    struct Key {
        std::uint64_t nPrefix;
        std::uint32_t nIndex;
    };
    std::vector<Key> keys(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::uint64_t nPrefix = 0;
        const std::string& s = names[i];
        for (std::size_t c = 0; c < 8; ++c)
            nPrefix =
                (nPrefix << 8) | (c < s.size() ? static_cast<unsigned char>(AsciiLower(s[c])) : 0U);
        keys[i] = {nPrefix, static_cast<std::uint32_t>(i)};
    }
    std::sort(keys.begin(), keys.end(), [&names](const Key& a, const Key& b) {
        if (a.nPrefix != b.nPrefix)
            return a.nPrefix < b.nPrefix;
        return ListNameLess(names[a.nIndex], names[b.nIndex]);
    });
    // Puts each name in its place by following the permutation's cycles,
    // so the names are neither copied nor held twice.
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].nIndex == i)
            continue;
        std::string held = std::move(names[i]);
        std::size_t j = i;
        while (keys[j].nIndex != i) {
            const std::size_t from = keys[j].nIndex;
            names[j] = std::move(names[from]);
            keys[j].nIndex = static_cast<std::uint32_t>(j);
            j = from;
        }
        names[j] = std::move(held);
        keys[j].nIndex = static_cast<std::uint32_t>(j);
    }
}

std::vector<std::string> ListEntries(const INISTRUCT& ini, int nList) {
    // An empty folder setting means the current folder, as a bare pattern
    // would.
    std::vector<std::string> entries = ScanDirectory(ListFolder(ini, nList), ListPatterns(nList));
    // A name matched by two patterns ("soundin.wav") is one file, listed once.
    SortListNames(entries);
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
