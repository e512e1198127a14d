// Figures for the WAV reader and the playback engine, each as a ratio against
// a baseline measured in the same run.
#include "audio/sampmmio.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void Put(std::FILE* f, const char* id, std::uint32_t size) {
    unsigned char h[8];
    std::copy(id, id + 4, h);
    WriteLE(h + 4, size, 4);
    std::fwrite(h, 1, 8, f);
}

// The 44-byte header of a stereo 44.1 kHz 16-bit file of `data` bytes; with
// `smpl` the RIFF size also counts a 36-byte sampler chunk after the data.
void PutHeader(std::FILE* f, std::uint32_t data, bool smpl) {
    Put(f, "RIFF", 4 + 24 + 8 + data + (smpl ? 8 + 36 : 0));
    std::fwrite("WAVE", 1, 4, f);
    Put(f, "fmt ", 16);
    unsigned char fmt[16];
    WriteLE(fmt, 1, 2);
    WriteLE(fmt + 2, 2, 2);
    WriteLE(fmt + 4, 44100, 4);
    WriteLE(fmt + 8, 176400, 4);
    WriteLE(fmt + 12, 4, 2);
    WriteLE(fmt + 14, 16, 2);
    std::fwrite(fmt, 1, 16, f);
    Put(f, "data", data);
}

// A file of `data` bytes followed by a "smpl" chunk, sparse: the data itself
// is never written.
std::string MakeSparseWav(const std::string& name, std::uint32_t data) {
    const std::string path = (fs::temp_directory_path() / name).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    PutHeader(f, data, true);
    fseeko(f, static_cast<off_t>(data), SEEK_CUR);
    Put(f, "smpl", 36);
    const unsigned char zeros[36] = {};
    std::fwrite(zeros, 1, 36, f);
    std::fclose(f);
    return path;
}

double Seconds(const std::chrono::steady_clock::duration& d) {
    return std::chrono::duration<double>(d).count();
}

// LoadSampleInfo on a 1 KB file and on a 1 GB file: the reader walks chunk
// headers and never the data, so the two should cost about the same.
void BM_LoadSampleInfo_1GB_vs_1KB(benchmark::State& state) {
    const std::string small = MakeSparseWav("tonsmith-bench-1k.wav", 1024 - 44 - 44);
    const std::string large = MakeSparseWav("tonsmith-bench-1g.wav", 1u << 30);
    SampMmio mmio;
    WAVEINFO wi;
    double tSmall = 0, tLarge = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(mmio.LoadSampleInfo(&wi, small.c_str()));
        auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(mmio.LoadSampleInfo(&wi, large.c_str()));
        auto t2 = std::chrono::steady_clock::now();
        tSmall += Seconds(t1 - t0);
        tLarge += Seconds(t2 - t1);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["us_1KB"] = tSmall / n * 1e6;
    state.counters["us_1GB"] = tLarge / n * 1e6;
    state.counters["ratio_1GB_to_1KB"] = tLarge / tSmall;
    fs::remove(small);
    fs::remove(large);
}
BENCHMARK(BM_LoadSampleInfo_1GB_vs_1KB);

struct Usage {
    double cpu = 0; // seconds, user + system
    long maxrssKb = 0;
    std::string out;
    bool ok = false;
};

// Runs a program directly (no shell) and returns its own resource usage.
Usage RunMeasured(const std::vector<std::string>& args) {
    Usage u;
    int pipefd[2];
    if (pipe(pipefd) != 0)
        return u;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipefd[1], 1);
        close(pipefd[0]);
        close(pipefd[1]);
        std::vector<char*> argv;
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipefd[1]);
    char buf[256];
    ssize_t n;
    while ((n = read(pipefd[0], buf, sizeof buf)) > 0)
        u.out.append(buf, static_cast<std::size_t>(n));
    close(pipefd[0]);
    int status = 0;
    struct rusage ru {};
    if (pid < 0 || wait4(pid, &status, 0, &ru) != pid)
        return u;
    u.cpu = static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
            static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
    u.maxrssKb = ru.ru_maxrss;
    u.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return u;
}

long Field(const std::string& out, const std::string& key) {
    const auto at = out.find(key + "=");
    return at == std::string::npos ? -1 : std::atol(out.c_str() + at + key.size() + 1);
}

// Ten seconds of stereo 44.1 kHz 16-bit sound played through the engine and
// through paplay to the same sink: CPU time and peak memory of each. Needs a
// sound server (scripts/with-services.sh).
void BM_PlayTenSeconds_Engine_vs_paplay(benchmark::State& state) {
    if (RunMeasured({"pactl", "info"}).ok == false) {
        state.SkipWithError("no PulseAudio server; run under scripts/with-services.sh");
        return;
    }
    const std::string path = (fs::temp_directory_path() / "tonsmith-bench-10s.wav").string();
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        PutHeader(f, 1764000, false);
        std::uint32_t seed = 1;
        for (std::uint32_t i = 0; i < 1764000; ++i) {
            seed = seed * 1664525u + 1013904223u;
            std::fputc(static_cast<int>(seed >> 28), f); // quiet noise
        }
        std::fclose(f);
    }
    Usage engine, paplay, idle;
    for (auto _ : state) {
        paplay = RunMeasured({"paplay", "-d", "test", path});
        engine = RunMeasured({PLAY_HELPER, path});
        idle = RunMeasured({PLAY_HELPER, "--idle", path});
    }
    if (!engine.ok || !paplay.ok || !idle.ok) {
        state.SkipWithError("a player failed");
        return;
    }
    state.counters["engine_cpu_ms"] = engine.cpu * 1e3;
    state.counters["paplay_cpu_ms"] = paplay.cpu * 1e3;
    state.counters["cpu_ratio"] = engine.cpu / paplay.cpu;
    state.counters["engine_rss_kB"] = static_cast<double>(engine.maxrssKb);
    state.counters["paplay_rss_kB"] = static_cast<double>(paplay.maxrssKb);
    state.counters["rss_ratio"] =
        static_cast<double>(engine.maxrssKb) / static_cast<double>(paplay.maxrssKb);
    state.counters["idle_cpu_ms"] = idle.cpu * 1e3;
    state.counters["idle_rss_kB"] = static_cast<double>(idle.maxrssKb);
    state.counters["ring_kB"] = 8 * 176400 / 1024.0;
    state.counters["cycles"] = static_cast<double>(Field(engine.out, "cycles"));
    state.counters["allocs_in_cycles"] = static_cast<double>(Field(engine.out, "allocs"));
    fs::remove(path);
}
BENCHMARK(BM_PlayTenSeconds_Engine_vs_paplay)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
