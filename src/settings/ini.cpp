#include "settings/ini.h"

#include "platform/files/configdir.h"
#include "platform/files/fileops.h"
#include "settings/inifile.h"

#include <cstring>

namespace {
char szIniBuffer[256];

// The raw stored value, or nothing when the file, section or key is missing.
std::optional<std::string> readRaw(const char* section, const char* key) {
    const std::string path = IniFilePath();
    if (path.empty() || !section || !key)
        return std::nullopt;
    auto text = ReadWholeFile(path);
    if (!text)
        return std::nullopt;
    return IniIndex(*text).get(section, key);
}
} // namespace

std::string IniFilePath() {
    std::string dir = ConfigDirectory();
    if (dir.empty())
        return {};
    return dir + "/tk3.ini";
}

const char* ReadIni(const char* lpszSection, const char* lpszKey) {
    static const char empty[1] = "";
    if (IniFilePath().empty())
        return empty;
    auto value = readRaw(lpszSection, lpszKey);
    // A value that does not fit the buffer is not cut: it reads as missing.
    if (!value || value->size() >= sizeof szIniBuffer)
        szIniBuffer[0] = '\0';
    else
        std::memcpy(szIniBuffer, value->c_str(), value->size() + 1);
    return szIniBuffer;
}

int ReadIniInt(const char* lpszSection, const char* lpszKey) {
    auto value = readRaw(lpszSection, lpszKey);
    return value ? IniParseInt(*value) : 0;
}

int WriteIni(const char* lpszSection, const char* lpszKey, const char* lpszString) {
    const std::string path = IniFilePath();
    if (path.empty() || !lpszSection || !lpszKey || !lpszString)
        return 0;
    if (!IniNameIsStorable(lpszSection) || !IniNameIsStorable(lpszKey) ||
        !IniValueIsStorable(lpszString))
        return 0;
    if (!EnsureConfigDirectory())
        return 0;
    bool exists = false;
    auto text = ReadWholeFile(path, &exists);
    // A file that is there but cannot be read must not be replaced by a
    // file holding one key.
    if (!text && exists)
        return 0;
    std::string updated =
        IniTextSet(text.value_or(std::string{}), lpszSection, lpszKey, lpszString);
    return ReplaceFileWhole(path, updated, LinkPolicy::FollowLink) == 0 ? 1 : 0;
}

char* SlashPath(char* szPath) {
    // '/' never occurs inside a multi-byte UTF-8 character, so the last byte
    // tells whether the text ends with the separator.
    std::size_t n = std::strlen(szPath);
    if (n == 0 || szPath[n - 1] != '/') {
        szPath[n] = '/';
        szPath[n + 1] = '\0';
    }
    return szPath;
}
