// Loading the settings file into the settings record, with the defaults.
#include "settings/ini.h"
#include "settings/inifile.h"
#include "settings/settingstable.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace {
std::vector<IgnoredKey> ignoredKeys;
std::string unusableStartup;
char szAppPath[4096];

// Copies the stored text into the field when it fits. Text that does not fit
// is refused, never cut, and remembered so the user can be told.
void LoadText(const IniKey& k, const std::optional<std::string>& v, char* field) {
    field[0] = '\0';
    if (!v)
        return;
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

void InitApp(void* /*hWnd*/) {
    InitAppInto(IniStruct);
}

void InitAppInto(INISTRUCT& ini) {
    ignoredKeys.clear();
    unusableStartup.clear();
    if (!::getcwd(szAppPath, sizeof szAppPath))
        szAppPath[0] = '\0';

    // The file is read once; every key is looked up in the same text.
    std::optional<IniIndex> index;
    const std::string path = IniFilePath();
    if (!path.empty()) {
        if (auto text = ReadWholeFile(path))
            index.emplace(*text);
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
