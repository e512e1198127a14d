#include "settings/ini.h"

#include "platform/files/configdir.h"
#include "platform/files/fileops.h"
#include "platform/messagebox.h"
#include "settings/inifile.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
char szIniBuffer[256];

// The raw stored value, or nothing when the file, section or key is missing.
std::optional<std::string> readRaw(const char* section, const char* key) {
    const std::string path = IniFilePath();
    if (path.empty() || !section || !key)
        return std::nullopt;
    auto text = ReadWholeFile(path);
    if (!text || IniTextIsWide(*text))
        return std::nullopt;
    return IniIndex(*text).get(section, key);
}

// Why the settings file cannot take new text; "" when it can. The file is
// then left exactly as it is.
std::string WriteRefusal(const std::string& path, const std::optional<std::string>& text,
                         bool exists) {
    struct stat st {};
    const bool bStat = ::stat(path.c_str(), &st) == 0;
    if (bStat && !S_ISREG(st.st_mode))
        return "it is not a file";
    if (exists && !text)
        return "it cannot be read";
    // A file its owner may not write was made read-only on purpose; the
    // replacement would succeed anyway (it renames over the file), so ask.
    if (bStat && (::access(path.c_str(), W_OK) != 0 || !(st.st_mode & S_IWUSR)))
        return "it is read-only";
    if (text && IniTextIsWide(*text))
        return "it is not in an encoding Tonsmith reads (UTF-16 or UTF-32)";
    return {};
}

void TellNotSaved(const std::string& path, const std::string& reason) {
    MessageBox("The settings could not be saved in " + path + ": " + reason +
                   ".\nThe file was left as it is; the changes last until Tonsmith ends.",
               "Error", MB_ICONEXCLAMATION);
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
    if (!lpszSection || !lpszKey || !lpszString)
        return 0;
    const IniUpdate update{lpszSection, lpszKey, lpszString};
    return WriteIniValues(std::span(&update, 1));
}

int WriteIniValues(std::span<const IniUpdate> updates) {
    const std::string path = IniFilePath();
    if (path.empty())
        return 0; // no configuration folder: writes do nothing
    std::vector<IniUpdate> storable;
    for (const IniUpdate& u : updates)
        if (IniNameIsStorable(u.section) && IniNameIsStorable(u.key) && IniValueIsStorable(u.value))
            storable.push_back(u);
    if (storable.empty())
        return 0;
    if (!EnsureConfigDirectory()) {
        TellNotSaved(path, "its folder cannot be made");
        return 0;
    }
    bool exists = false;
    const std::optional<std::string> text = ReadWholeFile(path, &exists);
    const bool bReadable = !text || !IniTextIsWide(*text);
    const std::string old = text.value_or(std::string{});
    const std::string updated = bReadable ? IniTextSetAll(old, storable) : old;
    if (text && bReadable && updated == old)
        return 1; // every value is stored already: the file stays untouched
    if (const std::string reason = WriteRefusal(path, text, exists); !reason.empty()) {
        TellNotSaved(path, reason);
        return 0;
    }
    if (const int nError = ReplaceFileWhole(path, updated, LinkPolicy::FollowLink)) {
        TellNotSaved(path, std::strerror(nError));
        return 0;
    }
    return storable.size() == updates.size() ? 1 : 0;
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
