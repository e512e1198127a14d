#include "platform/process/launcher.h"

#include "platform/files/configdir.h"
#include "platform/messagebox.h"
#include "platform/process/argsplit.h"
#include "platform/process/endreport.h"
#include "platform/process/spawn.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Where the build tree holds our helper programs, when the build says so.
#ifndef TONSMITH_BATCH_BUILD_PATH
#define TONSMITH_BATCH_BUILD_PATH nullptr
#endif
#ifndef TONSMITH_CONSOLE_BUILD_PATH
#define TONSMITH_CONSOLE_BUILD_PATH nullptr
#endif

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

// The program beside the running one, else in the build tree, else on PATH.
std::string ourProgram(const char* name, const char* buildPath) {
    const std::string besideUs = directoryOfRunningProgram() + "/" + name;
    if (FindProgram(besideUs) == besideUs)
        return besideUs;
    if (buildPath && !FindProgram(buildPath).empty())
        return buildPath;
    return FindProgram(name);
}

std::string currentFolder() {
    char buf[4096];
    return getcwd(buf, sizeof buf) ? std::string(buf) : std::string("/");
}

// Where a program's output goes when no terminal can show it: appended to
// csound.log in the configuration folder, each run under a heading line.
int openLog(const std::vector<std::string>& argv, std::string* path) {
    if (!EnsureConfigDirectory())
        return -1;
    *path = ConfigDirectory() + "/csound.log";
    const int fd = open(path->c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    const std::time_t now = std::time(nullptr);
    char when[64] = "";
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    const std::string heading = std::string("---- ") + when + "  " + QuoteCommandLine(argv) + "\n";
    if (write(fd, heading.data(), heading.size()) < 0) {
        // the run goes on; only its heading is missing
    }
    return fd;
}

// True when DISPLAY or WAYLAND_DISPLAY is set and not empty.
bool HaveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* v = std::getenv(name);
        if (v && *v)
            return true;
    }
    return false;
}

std::string ConsoleHelperPath() {
    return ourProgram("tonsmith-console", TONSMITH_CONSOLE_BUILD_PATH);
}

// The text editor a bare "notepad" stands for: with a display, the first of
// a few desktop editors found on PATH, else Debian's sensible-editor (which
// honours $VISUAL and $EDITOR) in a terminal window; without a display there
// is none. The argument prefix to run, empty when there is no editor.
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

void reapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}
} // namespace

ProcessHandle::ProcessHandle(pid_t pid) : m_pid(pid) {}
ProcessHandle::ProcessHandle(pid_t pid, std::unique_ptr<EndReport> report)
    : m_pid(pid), m_report(std::move(report)) {}

ProcessHandle::~ProcessHandle() {
    // The terminal may stay open after the program (a failed run waits for a
    // key): it is reaped in the background, and the report's FIFO goes now.
    m_report.reset();
    if (!m_reaped && waitTerminal(WNOHANG) == STILL_ACTIVE)
        reapInBackground(m_pid);
}

unsigned long ProcessHandle::waitTerminal(int options) {
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
    // A pid that is not our child any more is taken as ended.
    m_exitCode = r < 0 ? 255 : static_cast<unsigned long>(ExitCodeOf(status));
    return m_exitCode;
}

unsigned long ProcessHandle::ExitCode() {
    if (!m_report)
        return waitTerminal(WNOHANG);
    if (m_programExit == STILL_ACTIVE)
        m_programExit = m_report->Poll(waitTerminal(WNOHANG) != STILL_ACTIVE);
    return m_programExit;
}

std::string BatchInterpreterPath() {
    return ourProgram("tonsmith-batch", TONSMITH_BATCH_BUILD_PATH);
}

std::vector<std::string> ResolveLaunch(const LaunchRequest& request, int* error, bool* inTerminal,
                                       const std::string& report, bool* noTerminal) {
    *error = 0;
    if (inTerminal)
        *inTerminal = false;
    if (noTerminal)
        *noTerminal = false;
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
    if (!request.workDir.empty() && argv[0][0] != '/')
        argv[0] = currentFolder() + "/" + argv[0];
    if (console && HaveDisplay()) {
        std::string terminal = FindProgram("x-terminal-emulator");
        if (terminal.empty())
            terminal = FindProgram("xterm");
        if (!terminal.empty()) {
            const std::string title = request.title.empty() ? program : request.title;
            std::vector<std::string> wrapped = {terminal, "-T", title, "-e"};
            const std::string helper = ConsoleHelperPath();
            if (!helper.empty()) {
                wrapped.insert(
                    wrapped.end(),
                    {helper, report, request.workDir.empty() ? currentFolder() : request.workDir});
                for (const char* name : {"SSDIR", "SFDIR", "SADIR"})
                    if (const char* value = std::getenv(name))
                        wrapped.push_back(std::string(name) + "=" + value);
                wrapped.push_back("--");
            }
            wrapped.insert(wrapped.end(), argv.begin(), argv.end());
            argv = std::move(wrapped);
            if (inTerminal)
                *inTerminal = true;
        } else if (noTerminal) {
            *noTerminal = true;
        }
    }
    return argv;
}

LaunchResult Launch(const LaunchRequest& request) {
    LaunchResult result;
    bool inTerminal = false, noTerminal = false;
    std::unique_ptr<EndReport> report;
    if (request.reportEnd && request.newConsole && HaveDisplay() && !ConsoleHelperPath().empty())
        report = EndReport::Create(&result.error); // without one the terminal is watched
    const std::vector<std::string> argv =
        ResolveLaunch(request, &result.error, &inTerminal,
                      report ? report->Path() : std::string("-"), &noTerminal);
    if (argv.empty())
        return result;
    if (!inTerminal)
        report.reset();
    SpawnOptions options;
    options.newSession = true;
    options.workDir = request.workDir;
    // A program in a terminal reads the terminal; one without must not take
    // the input of whatever terminal we were started from.
    options.stdinFromNull = !inTerminal;
    int log = -1;
    std::string logFile;
    if (noTerminal)
        options.outputFd = log = openLog(argv, &logFile);
    pid_t pid = 0;
    result.error = SpawnProgram(argv, options, &pid);
    if (log >= 0)
        close(log);
    if (result.error != 0)
        return result;
    result.process = report ? std::make_unique<ProcessHandle>(pid, std::move(report))
                            : std::make_unique<ProcessHandle>(pid);
    static bool told = false;
    if (noTerminal && !told) {
        told = true;
        MessageBox(
            "No terminal program was found to show what " + request.args[0] +
                " writes, so it runs without a console" +
                (logFile.empty() ? std::string(".") : " and its output goes to " + logFile + ".") +
                "\nInstall the package xterm to see it in a console window.",
            "Tonsmith 3.3", MB_OK | MB_ICONINFORMATION);
    }
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
