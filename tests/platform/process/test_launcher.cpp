// The launcher: arguments arrive literally, failures are reported, every
// child is reaped, and names resolve to the program that runs.
#include "common/testutil.h"
#include "platform/process/launcher.h"
#include "platform/process/spawn.h"

#include <cerrno>
#include <csignal>
#include <sys/stat.h>

using namespace testutil;
using Args = std::vector<std::string>;

// Shared with the console tests of this program.
void MakeExecutable(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    chmod(path.c_str(), 0755);
}

unsigned long WaitForEnd(ProcessHandle& p) {
    WaitFor([&] { return p.ExitCode() != STILL_ACTIVE; }, 20);
    return p.ExitCode();
}

TEST(Launcher, ArgumentsArriveLiterallyFailuresAreReportedAndEveryChildIsReaped) {
    NoDisplay nd;
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    Args args = {ARGVDUMP_PATH, ""};
    for (const auto& n : AwkwardNames())
        args.push_back(dir / n);
    LaunchResult r = Launch({args, true, "title"});
    ASSERT_TRUE(r.process) << r.error;
    EXPECT_EQ(WaitForEnd(*r.process), 0u);
    Args got = ReadDump(dir / "argv");
    got.resize(args.size());
    EXPECT_EQ(got, args);
    // WinExec splits its text by the platform's rules.
    const std::string line =
        std::string(ARGVDUMP_PATH) + " -U \"" + dir.path() + "/a b\" $(id) `id`;x";
    ASSERT_GT(WinExec(line.c_str(), SW_SHOWNORMAL), 31u);
    ASSERT_TRUE(WaitFor([&] { return (got = ReadDump(dir / "argv")).size() == 8; }, 10));
    got.resize(5);
    EXPECT_EQ(got, (Args{ARGVDUMP_PATH, "-U", dir / "a b", "$(id)", "`id`;x"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "pwned") || std::filesystem::exists("pwned"));

    WriteFile(dir / "notexec", "#!/bin/sh\n");
    MakeExecutable(dir / "badinterp", "#!/nonexistent/interpreter\n");
    for (const std::string& bad : {dir / "missing", std::string(), dir / "notexec"})
        EXPECT_EQ(WinExec(bad.c_str(), SW_SHOWNORMAL), 2u) << bad;
    for (const std::string& bad : {dir / "badinterp", std::string("no-such-program-anywhere")})
        EXPECT_EQ(Launch({{bad}, false, ""}).error, ENOENT) << bad;
    EXPECT_EQ(LaunchErrorText("cs", EACCES), "The program cs may not be run (permission denied).");
    EXPECT_EQ(LaunchErrorText("cs", E2BIG), "Cannot start cs: Argument list too long.");
    // STILL_ACTIVE until the end; handles dropped while their processes run
    // (a second Compile, WinExec) leave them to the background reaper.
    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "3"), sleep("TONSMITH_ARGVDUMP_SLEEP_MS", "300");
    const auto before = Children();
    r = Launch({{ARGVDUMP_PATH}, false, ""});
    EXPECT_EQ(r.process->ExitCode(), STILL_ACTIVE);
    EXPECT_EQ(WaitForEnd(*r.process), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Launch({{ARGVDUMP_PATH}, false, ""}).process);
    ASSERT_GT(WinExec(ARGVDUMP_PATH, SW_SHOWNORMAL), 31u);
    EXPECT_TRUE(WaitFor([&] { return Children().size() == before.size(); }, 10));
}

TEST(Launcher, ResolvesScriptsTerminalsAndTheTextEditor) {
    TempDir bin;
    for (const char* name : {"prog", "xterm", "sensible-editor"})
        MakeExecutable(bin / name, "#!/bin/sh\n");
    WriteFile(bin / "TK3.bat", "Exit\r\n");
    EnvGuard path("PATH", bin.path());
    EnvGuard ss("SSDIR", "/s d/"), sf("SFDIR", std::nullopt), sa("SADIR", "/a");
    int err = 0;
    bool term = true; // whether a terminal was chosen
    const auto resolve = [&](const Args& args, bool console) {
        return ResolveLaunch({args, console, "T"}, &err, &term, "/r/f");
    };
    {
        NoDisplay nd; // no console, and no desktop editor to show
        EXPECT_EQ(resolve({"prog", "a b"}, true), (Args{bin / "prog", "a b"}));
        EXPECT_FALSE(term);
        const Args script = resolve({bin / "TK3.bat"}, true);
        EXPECT_EQ(script, (Args{script.at(0), bin / "TK3.bat"}));
        EXPECT_EQ(std::filesystem::path(script[0]).filename(), "tonsmith-batch");
        for (const Args& missing : {Args{bin / "missing.BAT"}, Args{"notepad", "a.orc"}})
            EXPECT_TRUE(resolve(missing, true).empty() && err == ENOENT);
    }
    EnvGuard display("DISPLAY", std::nullopt), wayland("WAYLAND_DISPLAY", "wayland-0");
    const Args console = resolve({"prog", "a b"}, true);
    ASSERT_EQ(console.size(), 12u);
    EXPECT_EQ(std::filesystem::path(console[4]).filename(), "tonsmith-console");
    EXPECT_EQ(console, (Args{bin / "xterm", "-T", "T", "-e", console[4], "/r/f",
                             std::filesystem::current_path(), "SSDIR=/s d/", "SADIR=/a", "--",
                             bin / "prog", "a b"}));
    EXPECT_TRUE(term);
    EXPECT_EQ(resolve({"prog"}, false), Args{bin / "prog"}); // no console asked for
    const Args editor = resolve({"NOTEPAD.EXE", "/o/a b.orc"}, false);
    EXPECT_EQ(Args(editor.end() - 2, editor.end()), (Args{bin / "sensible-editor", "/o/a b.orc"}));
    EXPECT_EQ(editor.at(0), bin / "xterm");
    for (const char* name : {"x-terminal-emulator", "mousepad"})
        MakeExecutable(bin / name, "#!/bin/sh\n");
    EXPECT_EQ(resolve({"prog"}, true).at(0), bin / "x-terminal-emulator");
    EXPECT_EQ(resolve({"notepad", "a.orc"}, false), (Args{bin / "mousepad", "a.orc"}));
    EXPECT_FALSE(term);
    MakeExecutable(bin / "notepad", "#!/bin/sh\n"); // a real notepad on PATH is used as it is
    EXPECT_EQ(resolve({"notepad", "a.orc"}, false), (Args{bin / "notepad", "a.orc"}));
}

TEST(Spawn, RunAndWaitTellsHowTheProgramEnded) {
    int status = 0;
    pid_t pid = 0;
    EXPECT_EQ(SpawnProgram({}, {}, &pid), ENOENT);
    for (const char* missing : {"", "no-such-program-anywhere", "/no/such/program"})
        EXPECT_EQ(RunAndWait({missing}, &status), ENOENT) << missing;
    ASSERT_EQ(RunAndWait({"sh", "-c", "kill -9 $$"}, &status), 0);
    EXPECT_EQ(ExitCodeOf(status), 128 + 9);
    // An end that cannot be learnt (an ignored SIGCHLD reaps the child at
    // once) counts as exit status 1.
    std::signal(SIGCHLD, SIG_IGN);
    ASSERT_EQ(RunAndWait({"true"}, &status), 0);
    std::signal(SIGCHLD, SIG_DFL);
    EXPECT_EQ(ExitCodeOf(status), 1);
}
