// Feeds arbitrary bytes, as a hand-edited tk3.ini, to the settings loader and
// to the key writer: nothing may crash, every loaded text must end inside its
// field, and a written key must read back.
#include "settings/ini.h"
#include "settings/inifile.h"
#include "settings/settingstable.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Every loaded text must end inside its field, or a reader would run past it.
void checkRecord(const INISTRUCT& r) {
    const auto* base = reinterpret_cast<const char*>(&r);
    for (const IniKey& k : IniKeys())
        if (k.kind != IniKind::Number && std::memchr(base + k.offset, '\0', k.size) == nullptr)
            __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string root = [] {
        std::string dir = "/tmp/fuzz_settings." + std::to_string(getpid());
        ::mkdir(dir.c_str(), 0700);
        ::mkdir((dir + "/tonsmith").c_str(), 0700);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        return dir;
    }();
    static const std::string path = root + "/tonsmith/tk3.ini";

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    // No terminator in a loaded field unless the loader writes one; the
    // current choices are the program's own, not the file's.
    INISTRUCT ini;
    std::memset(&ini, 0x55, sizeof ini);
    ini.szOrc[0] = ini.szScore[0] = ini.szCurSoundFile[0] = '\0';
    InitAppInto(ini);
    checkRecord(ini);
    (void)ReadIniInt("WAVE", "WaveOutDev");
    unlink(path.c_str()); // rewriting a file in place makes the file system flush it

    // The writer, on the text itself (no flushing to disk on every run): the
    // key reads back and the rest of the file stays readable.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string updated = IniTextSet(text, "DIRECTORIES", "orcdir", "/home/ann/orc/");
    if (IniIndex(updated).get("directories", "ORCDIR") != "/home/ann/orc/")
        __builtin_trap();
    return 0;
}
