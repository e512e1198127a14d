// tonsmith-batch SCRIPT: runs a batch script written by Tonsmith.
#include "platform/process/batch/interpreter.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("Usage: tonsmith-batch SCRIPT\n"
                    "Runs a batch script written by Tonsmith: SET NAME=VALUE lines, command\n"
                    "lines started without a shell, Pause and Exit. See tonsmith-batch(1).\n");
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tonsmith-batch %s\n", TONSMITH_VERSION);
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: tonsmith-batch SCRIPT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tonsmith-batch: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return RunBatchScript(text);
}
