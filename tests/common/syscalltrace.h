// Runs a piece of code in a child process that the test follows system call
// by system call (ptrace): to kill a writer at an exact moment, or to see in
// which order it touches the disk.
#pragma once

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testutil {

// One system call as the child is about to make it.
struct Syscall {
    long nr;
    unsigned long long args[6];
};

// Runs body in a child. Before each of its system calls, onCall(pid, call,
// index from 0) decides: true lets the call run, false kills the child with
// SIGKILL there, before the call happens. Returns how many calls were seen,
// or -1 when the child cannot be traced.
inline long TraceChild(const std::function<void()>& body,
                       const std::function<bool(pid_t, const Syscall&, long)>& onCall) {
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            ::_exit(99);
        ::raise(SIGSTOP);
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFSTOPPED(status)) // could not be traced
        return -1;
    ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    long seen = 0;
    int signal = 0;
    for (;;) {
        if (::ptrace(PTRACE_SYSCALL, pid, nullptr, signal) != 0)
            break;
        signal = 0;
        if (::waitpid(pid, &status, 0) < 0 || WIFEXITED(status) || WIFSIGNALED(status))
            return seen;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(status); // the child's own signal, passed on
            continue;
        }
        __ptrace_syscall_info info{};
        ::ptrace(PTRACE_GET_SYSCALL_INFO, pid, sizeof info, &info);
        if (info.op != PTRACE_SYSCALL_INFO_ENTRY)
            continue;
        Syscall call{static_cast<long>(info.entry.nr), {}};
        for (int i = 0; i < 6; ++i)
            call.args[i] = info.entry.args[i];
        if (!onCall(pid, call, seen++)) {
            ::kill(pid, SIGKILL);
            break;
        }
    }
    ::waitpid(pid, &status, 0);
    return seen;
}

// What the child's file descriptor fd names, as /proc shows it.
inline std::string TracedFdPath(pid_t pid, unsigned long long fd) {
    std::error_code ec;
    return std::filesystem::read_symlink(
        "/proc/" + std::to_string(pid) + "/fd/" + std::to_string(fd), ec);
}
} // namespace testutil
