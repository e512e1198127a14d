// The handle of a started process: its end learnt without blocking, and a
// console that never started given up for the next terminal.
#include "platform/process/consolewatch.h"
#include "platform/process/endreport.h"
#include "platform/process/spawn.h"

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <utility>

namespace {
// The first line with text in what fd holds, at most 300 bytes of it.
std::string FirstLine(int fd) {
    char buf[4096];
    const ssize_t n = fd < 0 ? -1 : pread(fd, buf, sizeof buf, 0);
    std::string text(buf, static_cast<std::size_t>(n > 0 ? n : 0));
    std::size_t at = text.find_first_not_of(" \t\r\n");
    if (at == std::string::npos)
        return {};
    std::string line = text.substr(at, text.find_first_of("\r\n", at) - at);
    if (line.size() > 300)
        line = line.substr(0, 300) + "...";
    return line;
}
} // namespace

void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

ProcessHandle::ProcessHandle(pid_t pid) : m_pid(pid) {}
ProcessHandle::ProcessHandle(pid_t pid, std::unique_ptr<EndReport> report)
    : m_pid(pid), m_report(std::move(report)) {}

ProcessHandle::~ProcessHandle() {
    // The terminal may stay open after the program (a failed run waits for a
    // key): it is reaped in the background, and the report's FIFO goes now.
    m_report.reset();
    if (!m_reaped && waitTerminal(WNOHANG) == STILL_ACTIVE)
        ReapInBackground(m_pid);
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
    if (m_programExit != STILL_ACTIVE)
        return m_programExit;
    const unsigned long terminal = waitTerminal(WNOHANG);
    m_programExit = m_report->Poll();
    if (m_programExit == STILL_ACTIVE && m_console && !m_report->Started() &&
        consoleFailed(terminal)) {
        fallBack();
        return ExitCode();
    }
    // A terminal that keeps its window after the command runs as an instance
    // of its own; after a run that succeeded we close it, as others close.
    if (m_programExit == 0 && m_console && m_console->terminal.form->ownInstance && !m_reaped)
        kill(-m_pid, SIGTERM);
    return m_programExit;
}

std::string ProcessHandle::TakeNotice() {
    return std::exchange(m_notice, std::string());
}

bool ProcessHandle::consoleFailed(unsigned long terminal) const {
    if (std::chrono::steady_clock::now() - m_console->started >= kConsoleStartTimeout)
        return true;
    // A terminal that hands off ends at once, successfully, before its server
    // starts the helper; any other ending before the start is a failure.
    return terminal != STILL_ACTIVE && (terminal != 0 || !m_console->terminal.form->handsOff);
}

void ProcessHandle::fallBack() {
    const std::unique_ptr<ConsoleWatch> watch = std::move(m_console);
    const std::string name = BaseName(watch->terminal.path);
    const std::string error = FirstLine(watch->errors);
    const std::string program = BaseName(watch->request.args.at(0));
    std::string why = m_reaped ? name + " ended with exit code " + std::to_string(m_exitCode) +
                                     " before the console started"
                               : name + " did not start the console within " +
                                     std::to_string(kConsoleStartTimeout.count()) + " seconds";
    if (!m_reaped) {
        // It ignored the command or waits on a question of its own.
        kill(-m_pid, SIGTERM);
        ReapInBackground(m_pid);
        m_reaped = true;
    }
    m_report.reset(); // the FIFO goes: a late helper finds no one and runs nothing
    GiveUpTerminal(watch->terminal.path);
    LaunchResult again =
        LaunchWith(watch->request, watch->choice == kDesktop ? kXterm : kNoTerminal);
    std::string where;
    if (again.process) {
        ProcessHandle& next = *again.process;
        m_pid = next.m_pid;
        m_reaped = next.m_reaped;
        m_exitCode = next.m_exitCode;
        m_report = std::move(next.m_report);
        m_programExit = next.m_programExit;
        m_console = std::move(next.m_console);
        m_outputLog = next.m_outputLog;
        next.m_reaped = true; // ours now
        where = WhereItRuns(program, m_console != nullptr);
    } else {
        m_programExit = 255;
        where = LaunchErrorText(program, again.error);
    }
    m_notice =
        "The terminal " + why + (error.empty() ? "." : ": \"" + error + "\".") + "\n" + where;
}
