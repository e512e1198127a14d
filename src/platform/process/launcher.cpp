#include "platform/process/launcher.h"

#include "platform/files/configdir.h"
#include "platform/messagebox.h"
#include "platform/process/argsplit.h"
#include "platform/process/consolewatch.h"
#include "platform/process/endreport.h"
#include "platform/process/spawn.h"
#include "platform/process/terminals.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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
    *path = LogPath();
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

// A terminal that failed to start the console in this session: not tried again.
std::string g_failedTerminal;
} // namespace

void GiveUpTerminal(const std::string& path) {
    g_failedTerminal = path;
}

std::string LogPath() {
    return ConfigDirectory() + "/csound.log";
}

std::string WhereItRuns(const std::string& program, bool inXterm) {
    return inXterm ? program + " runs in xterm instead."
                   : program + " runs without a console and its output goes to " + LogPath() + ".";
}

namespace {

// The terminal of a console run, or none: the desktop's x-terminal-emulator
// when it can open a window here, else xterm. *skipped names a desktop
// terminal that cannot open a window in this session.
Terminal ChooseTerminal(int choice, std::string* skipped) {
    if (choice == kDesktop) {
        const std::string desktop = FindProgram("x-terminal-emulator");
        if (!desktop.empty()) {
            const Terminal t = ResolveTerminal(desktop);
            if (t.path != g_failedTerminal && TerminalCanOpen(*t.form))
                return t;
            if (t.path != g_failedTerminal)
                *skipped = BaseName(t.path);
        }
    }
    const std::string xterm = FindProgram("xterm");
    if (choice != kNoTerminal && !xterm.empty()) {
        const Terminal t = ResolveTerminal(xterm);
        if (t.path != g_failedTerminal && TerminalCanOpen(*t.form))
            return t;
    }
    return {};
}

// A private instance name for a terminal that needs one.
std::string InstanceName() {
    static std::atomic<unsigned> counter{0};
    return "org.tonsmith.Console.R" + std::to_string(getpid()) + "_" + std::to_string(counter++);
}

// An unlinked file for the error output of a terminal, -1 when none can be made.
int ErrorCapture() {
    const char* tmp = std::getenv("TMPDIR");
    return open(tmp && tmp[0] == '/' ? tmp : "/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
}

} // namespace

std::string BatchInterpreterPath() {
    return ourProgram("tonsmith-batch", TONSMITH_BATCH_BUILD_PATH);
}

namespace {
// The argument list of a run, as ResolveLaunch says, with the terminal to use
// chosen by choice; *terminal tells the one chosen (an empty path: none).
std::vector<std::string> Resolve(const LaunchRequest& request, int* error,
                                 const std::string& report, int choice, Terminal* terminal,
                                 bool* noTerminal, std::string* skipped,
                                 const std::string& instance = "") {
    *error = 0;
    *terminal = {};
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
        *terminal = ChooseTerminal(choice, skipped);
        if (!terminal->path.empty()) {
            const std::string title = request.title.empty() ? program : request.title;
            std::vector<std::string> command;
            const std::string helper = ConsoleHelperPath();
            if (!helper.empty()) {
                command = {helper, report,
                           request.workDir.empty() ? currentFolder() : request.workDir};
                for (const char* name : {"SSDIR", "SFDIR", "SADIR"})
                    if (const char* value = std::getenv(name))
                        command.push_back(std::string(name) + "=" + value);
                command.push_back("--");
            }
            command.insert(command.end(), argv.begin(), argv.end());
            if (!helper.empty() && terminal->form->command == TerminalCommand::Encoded) {
                const std::vector<std::string> encoded =
                    EncodeForConsole({command.begin() + 1, command.end()});
                command.resize(1);
                command.insert(command.end(), encoded.begin(), encoded.end());
            }
            argv = TerminalArguments(*terminal, title, command, instance);
        } else {
            *noTerminal = true;
        }
    }
    return argv;
}
} // namespace

std::vector<std::string> ResolveLaunch(const LaunchRequest& request, int* error, bool* inTerminal,
                                       const std::string& report, bool* noTerminal) {
    Terminal terminal;
    bool none = false;
    std::string skipped;
    std::vector<std::string> argv =
        Resolve(request, error, report, kDesktop, &terminal, &none, &skipped);
    if (inTerminal)
        *inTerminal = !terminal.path.empty();
    if (noTerminal)
        *noTerminal = none;
    return argv;
}

LaunchResult LaunchWith(const LaunchRequest& request, int choice) {
    LaunchResult result;
    Terminal terminal;
    bool noTerminal = false;
    std::string skipped;
    std::unique_ptr<EndReport> report;
    if (request.reportEnd && request.newConsole && HaveDisplay() && !ConsoleHelperPath().empty())
        report = EndReport::Create(&result.error); // without one the terminal is watched
    const std::vector<std::string> argv =
        Resolve(request, &result.error, report ? report->Path() : std::string("-"), choice,
                &terminal, &noTerminal, &skipped, report ? InstanceName() : std::string());
    if (argv.empty())
        return result;
    const bool inTerminal = !terminal.path.empty();
    if (!inTerminal)
        report.reset();
    SpawnOptions options;
    options.newSession = true;
    options.workDir = request.workDir;
    // A terminal that rewrites $NAME may fail to start in a folder whose name holds one; our
    // helper enters the run's folder itself.
    if (inTerminal && terminal.form->command == TerminalCommand::Encoded &&
        !ConsoleHelperPath().empty())
        options.workDir = "/";
    // A program in a terminal reads the terminal; one without must not take
    // the input of whatever terminal we were started from.
    options.stdinFromNull = !inTerminal;
    int log = -1;
    std::string logFile;
    if (noTerminal)
        options.outputFd = log = openLog(argv, &logFile);
    auto watch = report ? std::make_unique<ConsoleWatch>() : nullptr;
    if (watch) {
        watch->request = request;
        watch->terminal = terminal;
        watch->choice = choice;
        options.errorFd = watch->errors = ErrorCapture();
    }
    pid_t pid = 0;
    result.error = SpawnProgram(argv, options, &pid);
    if (log >= 0)
        close(log);
    if (result.error != 0)
        return result;
    result.process = report ? std::make_unique<ProcessHandle>(pid, std::move(report))
                            : std::make_unique<ProcessHandle>(pid);
    if (noTerminal)
        result.process->SetOutputLog(logFile);
    result.process->m_console = std::move(watch);
    static bool told = false, toldSkipped = false;
    if (choice == kDesktop && !skipped.empty() && !toldSkipped) {
        toldSkipped = true;
        MessageBox("The terminal " + skipped + " cannot open a window in this session, so " +
                       WhereItRuns(BaseName(request.args[0]), inTerminal),
                   "Tonsmith 3.3", MB_OK | MB_ICONINFORMATION);
    } else if (choice == kDesktop && noTerminal && !told) {
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

LaunchResult Launch(const LaunchRequest& request) {
    return LaunchWith(request, kDesktop);
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
