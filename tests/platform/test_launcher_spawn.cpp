#include "platform/launcher.h"
#include "platform/launcher_testutil.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testutil::EnvGuard;
using testutil::TempDir;
using Args = std::vector<std::string>;

namespace {
struct NoDisplay {
    EnvGuard display{"DISPLAY", std::nullopt};
    EnvGuard wayland{"WAYLAND_DISPLAY", std::nullopt};
};

void makeExecutable(const std::string& path, const std::string& text = "#!/bin/sh\n") {
    testutil::WriteFile(path, text);
    chmod(path.c_str(), 0755);
}

// The launcher's children that are zombies right now.
int zombieChildren() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string stat = testutil::ReadFile(entry.path().string() + "/stat");
        const std::size_t paren = stat.rfind(')');
        if (paren == std::string::npos)
            continue;
        int ppid = 0;
        char state = 0;
        if (std::sscanf(stat.c_str() + paren + 2, "%c %d", &state, &ppid) == 2 &&
            ppid == getpid() && state == 'Z')
            ++count;
    }
    return count;
}
} // namespace

TEST(LauncherSpawn, AwkwardNamesArriveAsLiteralArguments) {
    NoDisplay nd;
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    Args args = {ARGVDUMP_PATH};
    for (const auto& n : testutil::AwkwardNames())
        args.push_back(dir / n);
    args.push_back("");
    LaunchResult r = Launch({args, true, "title"});
    ASSERT_TRUE(r.process) << r.error;
    EXPECT_EQ(r.process->WaitForExit(), 0u);
    auto got = testutil::ReadDump(dir / "argv");
    got.resize(args.size());
    EXPECT_EQ(got, args);
    EXPECT_FALSE(std::filesystem::exists(dir / "pwned"));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST(LauncherSpawn, WinExecSplitsTheTextAndReportsFailures) {
    NoDisplay nd;
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    const std::string line =
        std::string(ARGVDUMP_PATH) + " -U lpanal \"" + dir.path() + "/my voice.wav\" $(id) `id`;x";
    ASSERT_GT(WinExec(line.c_str(), SW_SHOWNORMAL), 31u);
    ASSERT_TRUE(testutil::WaitFor([&] { return std::filesystem::exists(dir / "argv"); }, 10));
    auto got = testutil::ReadDump(dir / "argv");
    got.resize(6);
    EXPECT_EQ(got, (Args{ARGVDUMP_PATH, "-U", "lpanal", dir / "my voice.wav", "$(id)", "`id`;x"}));

    EXPECT_EQ(WinExec((dir / "missing").c_str(), SW_SHOWNORMAL), 2u);
    EXPECT_EQ(WinExec("", SW_SHOWNORMAL), 2u);
    testutil::WriteFile(dir / "notexec", "#!/bin/sh\n");
    EXPECT_EQ(WinExec((dir / "notexec").c_str(), SW_SHOWNORMAL), 2u);
}

TEST(LauncherSpawn, StartFailureIsReported) {
    NoDisplay nd;
    TempDir dir;
    makeExecutable(dir / "badinterp", "#!/nonexistent/interpreter\n");
    LaunchResult r = Launch({{dir / "badinterp"}, false, ""});
    EXPECT_FALSE(r.process);
    EXPECT_EQ(r.error, ENOENT);
    r = Launch({{"no-such-program-anywhere"}, false, ""});
    EXPECT_FALSE(r.process);
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_NE(LaunchErrorText("csound", ENOENT).find("csound"), std::string::npos);
}

TEST(LauncherSpawn, ExitCodeIsStillActiveUntilTheEndAndEveryChildIsReaped) {
    NoDisplay nd;
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "3");
    {
        EnvGuard sleep("TONSMITH_ARGVDUMP_SLEEP_MS", "300");
        LaunchResult r = Launch({{ARGVDUMP_PATH}, false, ""});
        ASSERT_TRUE(r.process);
        EXPECT_EQ(r.process->ExitCode(), STILL_ACTIVE);
        ASSERT_TRUE(testutil::WaitFor([&] { return r.process->ExitCode() != STILL_ACTIVE; }, 10));
        EXPECT_EQ(r.process->ExitCode(), 3u);
    }
    // Handles dropped while their processes run (a second Compile, WinExec)
    // leave them to the background reaper: none stays a zombie.
    std::vector<pid_t> pids;
    {
        EnvGuard sleep("TONSMITH_ARGVDUMP_SLEEP_MS", "200");
        for (int i = 0; i < 3; ++i) {
            LaunchResult r = Launch({{ARGVDUMP_PATH}, false, ""});
            ASSERT_TRUE(r.process);
            pids.push_back(r.process->Pid());
        }
        ASSERT_GT(WinExec(ARGVDUMP_PATH, SW_SHOWNORMAL), 31u);
    }
    EXPECT_TRUE(testutil::WaitFor(
        [&] {
            for (pid_t p : pids)
                if (testutil::ProcessState(p) != 0)
                    return false;
            return zombieChildren() == 0;
        },
        10));
}

TEST(LauncherResolve, ConsoleNeedsADisplayAndFallsBackToXterm) {
    TempDir bin;
    makeExecutable(bin / "prog");
    makeExecutable(bin / "xterm");
    EnvGuard path("PATH", bin.path());
    const LaunchRequest request{{"prog", "a b"}, true, "Tonsmith running Csound"};
    int err = 0;
    bool inTerminal = true;
    {
        NoDisplay nd;
        EXPECT_EQ(ResolveLaunch(request, &err, &inTerminal), (Args{bin / "prog", "a b"}));
        EXPECT_FALSE(inTerminal);
    }
    {
        EnvGuard display("DISPLAY", std::nullopt);
        EnvGuard wayland("WAYLAND_DISPLAY", "wayland-0");
        EXPECT_EQ(
            ResolveLaunch(request, &err, &inTerminal),
            (Args{bin / "xterm", "-T", "Tonsmith running Csound", "-e", bin / "prog", "a b"}));
        EXPECT_TRUE(inTerminal);
        makeExecutable(bin / "x-terminal-emulator");
        EXPECT_EQ(ResolveLaunch(request, &err, &inTerminal)[0], bin / "x-terminal-emulator");
        // Without a console asked for, no terminal either.
        EXPECT_EQ(ResolveLaunch({{"prog"}, false, ""}, &err, &inTerminal), Args{bin / "prog"});
    }
}

TEST(LauncherResolve, ScriptsRunInTheBatchInterpreter) {
    NoDisplay nd;
    TempDir dir;
    testutil::WriteFile(dir / "TK3.bat", "Exit\r\n");
    int err = 0;
    const Args argv = ResolveLaunch({{dir / "TK3.bat"}, true, ""}, &err);
    ASSERT_EQ(argv.size(), 2u);
    EXPECT_EQ(std::filesystem::path(argv[0]).filename(), "tonsmith-batch");
    EXPECT_EQ(argv[1], dir / "TK3.bat");
    EXPECT_TRUE(ResolveLaunch({{dir / "missing.BAT"}, true, ""}, &err).empty());
    EXPECT_EQ(err, ENOENT);
}

TEST(LauncherResolve, NotepadBecomesTheDesktopTextEditor) {
    TempDir bin;
    makeExecutable(bin / "sensible-editor");
    makeExecutable(bin / "xterm");
    EnvGuard path("PATH", bin.path());
    int err = 0;
    bool inTerminal = false;
    {
        NoDisplay nd; // no desktop: no editor to show
        EXPECT_TRUE(ResolveLaunch({{"notepad", "a.orc"}, false, ""}, &err).empty());
        EXPECT_EQ(err, ENOENT);
    }
    EnvGuard display("DISPLAY", ":99");
    EXPECT_EQ(
        ResolveLaunch({{"NOTEPAD.EXE", "/o/a b.orc"}, false, ""}, &err, &inTerminal),
        (Args{bin / "xterm", "-T", "NOTEPAD.EXE", "-e", bin / "sensible-editor", "/o/a b.orc"}));
    EXPECT_TRUE(inTerminal);
    makeExecutable(bin / "mousepad");
    EXPECT_EQ(ResolveLaunch({{"notepad", "a.orc"}, false, ""}, &err, &inTerminal),
              (Args{bin / "mousepad", "a.orc"}));
    EXPECT_FALSE(inTerminal);
    // A real notepad on PATH is used as it is.
    makeExecutable(bin / "notepad");
    EXPECT_EQ(ResolveLaunch({{"notepad", "a.orc"}, false, ""}, &err),
              (Args{bin / "notepad", "a.orc"}));
}
