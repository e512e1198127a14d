// tonsmith-console REPORT DIR [NAME=VALUE ...] -- PROGRAM [ARGS...]
// tonsmith-console --hex THE-SAME-IN-HEX...  (from a terminal that rewrites $NAME)
//
// Runs in the console window that Tonsmith opens for Csound and the analysis
// utilities. It starts PROGRAM itself (no shell) in DIR with the NAME=VALUE
// variables set, and tells Tonsmith through the FIFO REPORT ("-" for none)
// when it started and how it ended, so the end of the run is the program's
// end whatever the terminal does with its own process. When the program
// fails, the console stays open until a key is pressed, so its output can
// still be read.
#include "platform/process/spawn.h"
#include "platform/process/terminals.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
void Report(int fd, const std::string& line) {
    if (fd < 0)
        return;
    // One short line: a FIFO takes it whole or not at all.
    const std::string text = line + "\n";
    while (write(fd, text.data(), text.size()) < 0 && errno == EINTR) {
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> given(argv, argv + argc);
    if (const auto decoded = DecodeForConsole({given.begin() + 1, given.end()})) {
        given.resize(1);
        given.insert(given.end(), decoded->begin(), decoded->end());
    }
    std::vector<char*> words;
    for (std::string& word : given)
        words.push_back(word.data());
    argc = static_cast<int>(words.size());
    words.push_back(nullptr);
    argv = words.data();
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("Usage: tonsmith-console REPORT DIR [NAME=VALUE ...] -- PROGRAM [ARGS...]\n"
                    "Runs one program for Tonsmith in a console window and reports its end.\n"
                    "See tonsmith-console(1).\n");
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tonsmith-console %s\n", TONSMITH_VERSION);
        return 0;
    }
    int sep = 3;
    while (sep < argc && std::strcmp(argv[sep], "--") != 0)
        ++sep;
    if (argc < 4 || sep + 1 >= argc) {
        std::fprintf(stderr, "usage: tonsmith-console REPORT DIR [NAME=VALUE ...] -- PROGRAM "
                             "[ARGS...]\n");
        return 2;
    }
    // Tonsmith may be gone: a report nobody reads must not end us.
    std::signal(SIGPIPE, SIG_IGN);
    int fd = -1;
    if (std::strcmp(argv[1], "-") != 0) {
        fd = open(argv[1], O_WRONLY | O_NONBLOCK | O_CLOEXEC); // fails when nobody reads
        if (fd < 0) {
            // Tonsmith gave up waiting for this console (or has ended) and runs
            // the program elsewhere: running it here too would render twice.
            std::fprintf(stderr, "tonsmith-console: Tonsmith no longer waits for this console; "
                                 "nothing was run here.\n");
            return 1;
        }
    }
    Report(fd, "start");

    if (chdir(argv[2]) != 0)
        std::fprintf(stderr, "tonsmith-console: cannot enter %s: %s\n", argv[2],
                     std::strerror(errno));
    for (int i = 3; i < sep; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        if (eq && eq != argv[i])
            setenv(std::string(argv[i], static_cast<std::size_t>(eq - argv[i])).c_str(), eq + 1, 1);
    }
    const std::vector<std::string> args(argv + sep + 1, argv + argc);
    int status = 0;
    if (const int err = RunAndWait(args, &status)) {
        std::fprintf(stderr, "Cannot start %s: %s.\n", args[0].c_str(), std::strerror(err));
        status = 127 << 8;
    }
    const int code = ExitCodeOf(status);
    Report(fd, "exit " + std::to_string(code));
    if (fd >= 0)
        close(fd);
    if (code != 0) {
        std::printf("\n%s\nPress any key to close\n", EndSentence(args[0], code).c_str());
        std::fflush(stdout);
        WaitForKey();
    }
    return code;
}
