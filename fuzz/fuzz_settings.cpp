// Feeds arbitrary bytes, as a hand-edited tk3.ini, to the settings loader and
// to the key writer: nothing may crash, every loaded text must end inside its
// field, and a written key must read back.
#include "settings/ini.h"
#include "settings/inifile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
template <std::size_t N> void checkField(const char (&field)[N]) {
    if (std::memchr(field, '\0', N) == nullptr)
        __builtin_trap(); // a reader would run past the field
}

void checkRecord(const INISTRUCT& r) {
    for (const auto* f : {&r.szOrcDir, &r.szScoreDir, &r.szSSDIR, &r.szSADIR, &r.szScoExtract,
                          &r.szMidiInFile, &r.szCsoundPath, &r.szEditorPath, &r.szTextEditorPath})
        checkField(*f);
    checkField(r.szSFDIR);
    checkField(r.szOutputFilename);
    const auto& l = r.lpcStruct;
    for (const auto* f :
         {&l.srate, &l.begin, &l.duration, &l.npoles, &l.hopsize, &l.mincps, &l.maxcps})
        checkField(*f);
    checkField(l.channel);
    checkField(l.verbosity);
    checkField(l.string);
    checkField(l.szOutputFile);
    const auto& h = r.htrStruct;
    for (const auto* f : {&h.srate, &h.begin, &h.duration, &h.begfreq, &h.partials, &h.maxamp,
                          &h.minamp, &h.brkpts, &h.cutfreq})
        checkField(*f);
    checkField(h.channel);
    checkField(h.szOutputFile);
    const auto& p = r.pvcStruct;
    for (const auto* f : {&p.srate, &p.begin, &p.duration, &p.frmsize, &p.windfact, &p.hopsize})
        checkField(*f);
    checkField(p.channel);
    checkField(p.szOutputFile);
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
    if (IniTextGet(updated, "DIRECTORIES", "orcdir") != "/home/ann/orc/")
        __builtin_trap();
    if (IniIndex(updated).get("directories", "ORCDIR") != "/home/ann/orc/")
        __builtin_trap();
    return 0;
}
