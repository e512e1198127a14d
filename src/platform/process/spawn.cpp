#include "platform/process/spawn.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

extern char** environ;

namespace {
bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}
} // namespace

std::string FindProgram(const std::string& name) {
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return isExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    const std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        if (end > start) {
            std::string candidate = dirs.substr(start, end - start) + "/" + name;
            if (isExecutableFile(candidate))
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

int SpawnProgram(const std::vector<std::string>& argv, const SpawnOptions& options, pid_t* pid) {
    if (argv.empty() || argv[0].empty())
        return ENOENT;
    std::vector<char*> cargv;
    cargv.reserve(argv.size() + 1);
    for (const auto& a : argv)
        cargv.push_back(const_cast<char*>(a.c_str()));
    cargv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    if (options.stdinFromNull)
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.outputFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, options.outputFd, 1);
        posix_spawn_file_actions_adddup2(&actions, options.outputFd, 2);
    }
    if (options.errorFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, options.errorFd, 2);
    if (!options.workDir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.workDir.c_str());
    // Nothing of ours leaks into the child but the three standard streams.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);

    // A clean signal state: what we block or ignore is not the child's. Exec
    // resets caught signals itself; only ignored ones need resetting, and
    // finding them here keeps the child's work before exec small.
    sigset_t none;
    sigemptyset(&none);
    sigset_t ignored;
    sigemptyset(&ignored);
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction sa {};
        if (sig != SIGKILL && sig != SIGSTOP && sigaction(sig, nullptr, &sa) == 0 &&
            sa.sa_handler == SIG_IGN)
            sigaddset(&ignored, sig);
    }
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &ignored);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (options.newSession)
        flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attr, flags);

    pid_t child = 0;
    const int rc = posix_spawn(&child, cargv[0], &actions, &attr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0)
        return rc;
    *pid = child;
    return 0;
}

int RunAndWait(std::vector<std::string> args, int* status) {
    args[0] = FindProgram(args[0]);
    pid_t pid = 0;
    const int err = args[0].empty() ? ENOENT : SpawnProgram(args, SpawnOptions{}, &pid);
    if (err != 0)
        return err;
    while (waitpid(pid, status, 0) < 0) {
        if (errno != EINTR) {
            *status = 1 << 8;
            break;
        }
    }
    return 0;
}

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string EndSentence(const std::string& program, int exitCode) {
    const std::size_t slash = program.rfind('/');
    const std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
    const int signal = exitCode - 128;
    if (signal > 0 && signal < NSIG)
        return name + " was ended by signal " + std::to_string(signal) + " (" + strsignal(signal) +
               ").";
    return name + " ended with exit code " + std::to_string(exitCode) + ".";
}

void WaitForKey() {
    if (!isatty(STDIN_FILENO))
        return;
    termios saved{};
    const bool raw = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (raw) {
        termios t = saved;
        t.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &t);
    }
    char c = 0;
    while (read(STDIN_FILENO, &c, 1) < 0 && errno == EINTR) {
    }
    if (raw)
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}
