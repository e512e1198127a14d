#include "platform/files/dirscan.h"

#include <dirent.h>
#include <sys/stat.h>

namespace {
bool SameLetter(char a, char b) {
    return a == b || AsciiLower(a) == AsciiLower(b);
}

bool IsDirectory(const std::string& szPath) {
    struct stat st {};
    return ::stat(szPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
} // namespace

bool WildcardMatch(std::string_view szPattern, std::string_view szName) {
    // Greedy matching with one backtrack point: the last '*' seen.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < szName.size()) {
        if (p < szPattern.size() && szPattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < szPattern.size() &&
                   (szPattern[p] == '?' || SameLetter(szPattern[p], szName[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < szPattern.size() && szPattern[p] == '*')
        ++p;
    return p == szPattern.size();
}

std::vector<std::string> ScanDirectory(const std::string& szDir,
                                       const std::vector<const char*>& patterns) {
    std::vector<std::string> entries;
    if (!szDir.empty() && szDir.back() != '/') {
        // "dir/pre" + "*.wav" means the pattern "pre*.wav" in "dir/".
        const auto slash = szDir.rfind('/');
        const std::string szPrefix = szDir.substr(slash == std::string::npos ? 0 : slash + 1);
        std::vector<std::string> joined;
        for (const char* szPattern : patterns)
            joined.push_back(szPrefix + szPattern);
        std::vector<const char*> prefixed;
        for (const auto& p : joined)
            prefixed.push_back(p.c_str());
        return ScanDirectory(slash == std::string::npos ? "" : szDir.substr(0, slash + 1),
                             prefixed);
    }
    DIR* dir = ::opendir(szDir.empty() ? "." : szDir.c_str());
    if (!dir)
        return entries;
    entries.reserve(64);
    while (const dirent* ent = ::readdir(dir)) {
        const std::string_view szName = ent->d_name;
        if (szName == "." || szName == "..")
            continue;
        bool bMatch = false;
        for (const char* szPattern : patterns)
            bMatch = bMatch || WildcardMatch(szPattern, szName);
        if (!bMatch)
            continue;
        // The entry type saves a stat; links and unknown types are followed.
        const bool bDir =
            ent->d_type == DT_DIR || ((ent->d_type == DT_LNK || ent->d_type == DT_UNKNOWN) &&
                                      IsDirectory(szDir + std::string(szName)));
        entries.push_back(bDir ? "[" + std::string(szName) + "]" : std::string(szName));
    }
    ::closedir(dir);
    return entries;
}
