// A stand-in program for the launcher tests: writes its arguments and the
// three Csound folder variables to the file named by TONSMITH_ARGVDUMP, one
// NUL-terminated entry each (under another name first, so a reader never sees
// half), sleeps TONSMITH_ARGVDUMP_SLEEP_MS and exits with TONSMITH_ARGVDUMP_EXIT.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    const char* out = std::getenv("TONSMITH_ARGVDUMP");
    if (!out)
        return 99;
    std::string data;
    for (int i = 0; i < argc; ++i)
        data += std::string(argv[i]) + '\0';
    for (const char* name : {"SSDIR", "SFDIR", "SADIR"}) {
        const char* v = std::getenv(name);
        data += std::string(name) + (v ? std::string("=") + v : " unset") + '\0';
    }
    std::ofstream(std::string(out) + ".part", std::ios::binary) << data;
    std::rename((std::string(out) + ".part").c_str(), out);
    const char* ms = std::getenv("TONSMITH_ARGVDUMP_SLEEP_MS");
    std::this_thread::sleep_for(std::chrono::milliseconds(ms ? std::atoi(ms) : 0));
    const char* code = std::getenv("TONSMITH_ARGVDUMP_EXIT");
    return code ? std::atoi(code) : 0;
}
