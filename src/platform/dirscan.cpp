#include "platform/dirscan.h"

#include <cctype>
#include <dirent.h>
#include <sys/stat.h>

namespace {
bool SameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
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

std::vector<std::string> ScanDirectory(const std::string& szSpec) {
    std::vector<std::string> entries;
    const auto slash = szSpec.rfind('/');
    const std::string szDir = slash == std::string::npos ? "." : szSpec.substr(0, slash + 1);
    const std::string szPattern = slash == std::string::npos ? szSpec : szSpec.substr(slash + 1);
    DIR* dir = ::opendir(szDir.c_str());
    if (!dir)
        return entries;
    while (const dirent* ent = ::readdir(dir)) {
        const std::string szName = ent->d_name;
        if (szName == "." || szName == ".." || !WildcardMatch(szPattern, szName))
            continue;
        const std::string szPath = szDir.back() == '/' ? szDir + szName : szDir + "/" + szName;
        entries.push_back(IsDirectory(szPath) ? "[" + szName + "]" : szName);
    }
    ::closedir(dir);
    return entries;
}
