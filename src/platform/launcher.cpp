#include "platform/launcher.h"

#include "platform/argsplit.h"
#include "platform/spawn.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool endsWith(const std::string& s, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool isScript(const std::string& program) {
    const std::string l = lower(program);
    return endsWith(l, ".bat") || endsWith(l, ".cmd");
}

bool isNotepad(const std::string& program) {
    const std::string l = lower(program);
    return l == "notepad" || l == "notepad.exe";
}

bool isReadableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), R_OK) == 0;
}

std::string directoryOfRunningProgram() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    std::string path(buf, static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void reapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}
} // namespace

ProcessHandle::~ProcessHandle() {
    if (!m_reaped && collect(WNOHANG) == STILL_ACTIVE)
        reapInBackground(m_pid);
}

unsigned long ProcessHandle::collect(int options) {
    if (m_reaped)
        return m_exitCode;
    int status = 0;
    pid_t r;
    do {
        r = waitpid(m_pid, &status, options);
    } while (r < 0 && errno == EINTR);
    if (r == 0)
        return STILL_ACTIVE;
    m_reaped = true;
    if (r < 0)
        m_exitCode = 255; // not our child any more: take it as ended
    else if (WIFEXITED(status))
        m_exitCode = static_cast<unsigned long>(WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
        m_exitCode = 128 + static_cast<unsigned long>(WTERMSIG(status));
    return m_exitCode;
}

unsigned long ProcessHandle::ExitCode() {
    return collect(WNOHANG);
}
unsigned long ProcessHandle::WaitForExit() {
    return collect(0);
}

bool HaveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(name);
        if (v && *v)
            return true;
    }
    return false;
}

std::string BatchInterpreterPath() {
    const std::string besideUs = directoryOfRunningProgram() + "/tonsmith-batch";
    if (FindProgram(besideUs) == besideUs)
        return besideUs;
#ifdef TONSMITH_BATCH_BUILD_PATH
    if (!FindProgram(TONSMITH_BATCH_BUILD_PATH).empty())
        return TONSMITH_BATCH_BUILD_PATH;
#endif
    return FindProgram("tonsmith-batch");
}

std::vector<std::string> DefaultTextEditor(bool* needsTerminal) {
    *needsTerminal = false;
    if (!HaveDisplay())
        return {};
    for (const char* gui : {"gnome-text-editor", "gedit", "kate", "mousepad", "pluma", "xed",
                            "featherpad", "leafpad"}) {
        std::string path = FindProgram(gui);
        if (!path.empty())
            return {path};
    }
    std::string sensible = FindProgram("sensible-editor");
    if (sensible.empty())
        return {};
    *needsTerminal = true;
    return {sensible};
}

std::vector<std::string> ResolveLaunch(const LaunchRequest& request, int* error, bool* inTerminal) {
    *error = 0;
    if (inTerminal)
        *inTerminal = false;
    if (request.args.empty() || request.args[0].empty()) {
        *error = ENOENT;
        return {};
    }
    const std::string& program = request.args[0];
    std::vector<std::string> argv;
    bool console = request.newConsole;
    if (isScript(program)) {
        const std::string interpreter = BatchInterpreterPath();
        if (interpreter.empty() || !isReadableFile(program)) {
            *error = ENOENT;
            return {};
        }
        argv.push_back(interpreter);
        argv.insert(argv.end(), request.args.begin(), request.args.end());
    } else {
        std::string path = FindProgram(program);
        if (path.empty() && isNotepad(program)) {
            bool needsTerminal = false;
            argv = DefaultTextEditor(&needsTerminal);
            console = needsTerminal;
        } else if (!path.empty()) {
            argv.push_back(path);
        }
        if (argv.empty()) {
            *error = ENOENT;
            return {};
        }
        argv.insert(argv.end(), request.args.begin() + 1, request.args.end());
    }
    if (console && HaveDisplay()) {
        std::string terminal = FindProgram("x-terminal-emulator");
        if (terminal.empty())
            terminal = FindProgram("xterm");
        if (!terminal.empty()) {
            const std::string title = request.title.empty() ? program : request.title;
            std::vector<std::string> wrapped = {terminal, "-T", title, "-e"};
            wrapped.insert(wrapped.end(), argv.begin(), argv.end());
            argv = std::move(wrapped);
            if (inTerminal)
                *inTerminal = true;
        }
    }
    return argv;
}

LaunchResult Launch(const LaunchRequest& request) {
    LaunchResult result;
    bool inTerminal = false;
    result.argv = ResolveLaunch(request, &result.error, &inTerminal);
    if (result.argv.empty())
        return result;
    SpawnOptions options;
    options.newSession = true;
    // A program in a terminal reads the terminal; one without must not take
    // the input of whatever terminal we were started from.
    options.stdinFromNull = !inTerminal;
    pid_t pid = 0;
    result.error = SpawnProgram(result.argv, options, &pid);
    if (result.error == 0)
        result.process = std::make_unique<ProcessHandle>(pid);
    return result;
}

std::string LaunchErrorText(const std::string& program, int error) {
    if (error == ENOENT)
        return "Cannot find the program " + program + ".";
    if (error == EACCES)
        return "The program " + program + " may not be run (permission denied).";
    return "Cannot start " + program + ": " + std::strerror(error) + ".";
}

unsigned WinExec(const char* lpCmdLine, int /*uCmdShow*/) {
    LaunchRequest request;
    request.args = SplitCommandLine(lpCmdLine ? lpCmdLine : "");
    LaunchResult result = Launch(request);
    if (result.process)
        return 33; // the process is dropped here and reaped in the background
    if (result.error == ENOENT)
        return 2;
    if (result.error == EACCES)
        return 5;
    return 0;
}
