// Loading and saving the settings file, each against the plain file work it
// cannot avoid: reading the file's bytes, and replacing a file atomically.
#include "platform/files/fileops.h"
#include "settings/ini.h"
#include "settings/inifile.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

struct Workspace {
    std::string root;
    Workspace() {
        char tmpl[] = "/tmp/tonsmith-bench.XXXXXX";
        root = ::mkdtemp(tmpl);
        ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
    }
    ~Workspace() { std::filesystem::remove_all(root); }
};

// A settings file as a long-time user has it: every key of the program.
INISTRUCT fullSettings() {
    INISTRUCT ini{};
    InitAppInto(ini);
    std::strcpy(ini.szOrcDir, "/home/composer/csound/orchestras/");
    std::strcpy(ini.szScoreDir, "/home/composer/csound/scores/");
    std::strcpy(ini.szSFDIR, "/home/composer/csound/rendered/");
    std::strcpy(ini.szSSDIR, "/home/composer/csound/samples/");
    std::strcpy(ini.szSADIR, "/home/composer/csound/analysis/");
    ini.nHardwareBuffer = 1024;
    ini.nSoftwareBuffer = 256;
    return ini;
}

void writeFullFile() {
    INISTRUCT ini = fullSettings();
    prefs::RefreshIni(&ini);
    WriteIni("CSOUND", "csound path", "/usr/bin/csound");
    WriteIni("DIRECTORIES", "editor", "/usr/bin/audacity");
    WriteIni("DIRECTORIES", "texteditor", "/usr/bin/gedit");
    WriteIni("PREFERENCES", "csoundver", "2");
    WriteIni("WAVE", "WaveOutDev", "0");
}

void BM_InitApp(benchmark::State& state) {
    Workspace ws;
    writeFullFile();
    INISTRUCT ini{};
    for (auto _ : state) {
        InitAppInto(ini);
        benchmark::DoNotOptimize(ini);
    }
}
BENCHMARK(BM_InitApp);

void BM_ReadFileBytes_Baseline(benchmark::State& state) {
    Workspace ws;
    writeFullFile();
    const std::string path = IniFilePath();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadWholeFile(path));
}
BENCHMARK(BM_ReadFileBytes_Baseline);

void BM_RefreshIni39Keys(benchmark::State& state) {
    Workspace ws;
    writeFullFile();
    INISTRUCT ini = fullSettings();
    for (auto _ : state)
        prefs::RefreshIni(&ini);
}
BENCHMARK(BM_RefreshIni39Keys)->Unit(benchmark::kMillisecond);

void BM_39AtomicReplacements_Baseline(benchmark::State& state) {
    Workspace ws;
    writeFullFile();
    const std::string path = IniFilePath();
    const std::string content = *ReadWholeFile(path);
    for (auto _ : state)
        for (int i = 0; i < 39; ++i)
            ReplaceFileWhole(path, content, LinkPolicy::FollowLink);
}
BENCHMARK(BM_39AtomicReplacements_Baseline)->Unit(benchmark::kMillisecond);

} // namespace
