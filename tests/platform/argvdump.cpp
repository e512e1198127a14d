// A stand-in program for the launcher tests: writes its arguments and the
// three Csound folder variables to the file named by TONSMITH_ARGVDUMP, one
// NUL-terminated entry each, then sleeps TONSMITH_ARGVDUMP_SLEEP_MS if set.
// Exits with TONSMITH_ARGVDUMP_EXIT (default 0).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    const char* out = std::getenv("TONSMITH_ARGVDUMP");
    if (!out)
        return 99;
    std::string data;
    for (int i = 0; i < argc; ++i) {
        data += argv[i];
        data += '\0';
    }
    for (const char* name : {"SSDIR", "SFDIR", "SADIR"}) {
        const char* v = std::getenv(name);
        data += std::string(name) + (v ? std::string("=") + v : std::string(" unset"));
        data += '\0';
    }
    // Written under another name and renamed, so a reader never sees half.
    const std::string tmp = std::string(out) + ".part";
    if (FILE* f = std::fopen(tmp.c_str(), "wb")) {
        std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
        std::rename(tmp.c_str(), out);
    }
    if (const char* ms = std::getenv("TONSMITH_ARGVDUMP_SLEEP_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(ms)));
    const char* code = std::getenv("TONSMITH_ARGVDUMP_EXIT");
    return code ? std::atoi(code) : 0;
}
