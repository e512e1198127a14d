// Loading the settings file into the settings record, with the defaults.
#include "settings/ini.h"
#include "settings/inifile.h"
#include "settings/settingstable.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {
std::vector<IgnoredKey> ignoredKeys;
std::string unusableStartup;
std::string fileProblem;
char szAppPath[4096];

// Copies the stored text into the field when it fits. Text that does not fit
// is refused, never cut, and remembered so the user can be told.
void LoadText(const IniKey& k, const std::optional<std::string>& v, char* field) {
    field[0] = '\0';
    if (!v)
        return;
    // A NUL would end the text early: the field would hold a cut value.
    if (v->find('\0') != std::string::npos) {
        ignoredKeys.push_back({k.section, k.key, v->size(), k.size - 1, true});
        return;
    }
    if (v->size() >= k.size || v->size() > 255) {
        ignoredKeys.push_back(
            {k.section, k.key, v->size(), std::min<std::size_t>(k.size - 1, 255)});
        return;
    }
    std::memcpy(field, v->c_str(), v->size() + 1);
}

// Empty directory fields take the start-up directory with its slash, when it
// fits; otherwise they stay empty and the start-up directory is reported.
void StartupDefault(char* field, std::size_t size) {
    char dir[sizeof szAppPath + 1];
    std::strcpy(dir, szAppPath);
    SlashPath(dir);
    if (std::strlen(dir) >= size) {
        unusableStartup = dir;
        return;
    }
    std::strcpy(field, dir);
}
} // namespace

const std::vector<IgnoredKey>& IgnoredIniKeys() {
    return ignoredKeys;
}
const std::string& UnusableStartupDirectory() {
    return unusableStartup;
}
const std::string& IniFileProblem() {
    return fileProblem;
}

void InitApp(void* /*hWnd*/) {
    InitAppInto(IniStruct);
}

void InitAppInto(INISTRUCT& ini) {
    ignoredKeys.clear();
    unusableStartup.clear();
    fileProblem.clear();
    if (!::getcwd(szAppPath, sizeof szAppPath))
        szAppPath[0] = '\0';

    // The file is read once; every key is looked up in the same text.
    std::optional<IniIndex> index;
    const std::string path = IniFilePath();
    if (!path.empty()) {
        bool exists = false;
        auto text = ReadWholeFile(path, &exists);
        if (text && IniTextIsWide(*text))
            fileProblem = path + " is in UTF-16 or UTF-32, which Tonsmith does not read. "
                                 "Every setting has its default, and the file is left as it is.";
        else if (text)
            index.emplace(*text);
        else if (exists)
            fileProblem =
                path +
                (std::filesystem::is_directory(path) ? " is not a file" : " cannot be read") +
                ". Every setting has its default.";
    }

    auto* base = reinterpret_cast<char*>(&ini);
    for (const IniKey& k : IniKeys()) {
        char* field = base + k.offset;
        const std::optional<std::string> v =
            index ? index->get(k.section, k.key) : std::optional<std::string>{};
        if (k.kind == IniKind::Number) {
            // A stored 0 cannot be told from a missing key.
            int n = v ? IniParseInt(*v) : 0;
            if (n == 0)
                n = k.numberDefault;
            std::memcpy(field, &n, sizeof n);
            continue;
        }
        LoadText(k, v, field);
        if (field[0] != '\0')
            continue;
        if (k.kind == IniKind::Directory)
            StartupDefault(field, k.size);
        else if (k.textDefault)
            std::memcpy(field, k.textDefault, std::strlen(k.textDefault) + 1);
    }
}
