// A stand-in for the launcher tests: writes its arguments and the Csound folder
// variables to $TONSMITH_ARGVDUMP, NUL-terminated (whole, by a rename), sleeps
// TONSMITH_ARGVDUMP_SLEEP_MS and exits with TONSMITH_ARGVDUMP_EXIT.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    const auto env = [](const char* name) { return std::getenv(name); };
    const char* out = env("TONSMITH_ARGVDUMP");
    if (!out)
        return 99;
    std::string data;
    for (int i = 0; i < argc; ++i)
        data += std::string(argv[i]) + '\0';
    for (const char* name : {"SSDIR", "SFDIR", "SADIR"})
        data += std::string(name) + (env(name) ? std::string("=") + env(name) : " unset") + '\0';
    std::ofstream(std::string(out) + ".part", std::ios::binary) << data;
    std::rename((std::string(out) + ".part").c_str(), out);
    const char *ms = env("TONSMITH_ARGVDUMP_SLEEP_MS"), *code = env("TONSMITH_ARGVDUMP_EXIT");
    std::this_thread::sleep_for(std::chrono::milliseconds(ms ? std::atoi(ms) : 0));
    return code ? std::atoi(code) : 0;
}
