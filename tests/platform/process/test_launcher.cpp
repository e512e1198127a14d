// The launcher without a terminal: arguments arrive literally, failures are
// reported, every child is reaped, and names resolve to the program run.
#include "common/testutil.h"
#include "platform/process/launcher.h"

#include <cerrno>
#include <sys/stat.h>

using namespace testutil;
using Args = std::vector<std::string>;

namespace {
void makeExecutable(const std::string& path, const std::string& text = "#!/bin/sh\n") {
    WriteFile(path, text);
    chmod(path.c_str(), 0755);
}

unsigned long waitForEnd(ProcessHandle& p) {
    WaitFor([&] { return p.ExitCode() != STILL_ACTIVE; }, 10);
    return p.ExitCode();
}
} // namespace

TEST(Launcher, AwkwardNamesArriveAsLiteralArgumentsAndWinExecSplitsItsText) {
    NoDisplay nd;
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    Args args = {ARGVDUMP_PATH};
    for (const auto& n : AwkwardNames())
        args.push_back(dir / n);
    args.push_back("");
    LaunchResult r = Launch({args, true, "title"});
    ASSERT_TRUE(r.process) << r.error;
    EXPECT_EQ(waitForEnd(*r.process), 0u);
    Args got = ReadDump(dir / "argv");
    got.resize(args.size());
    EXPECT_EQ(got, args);

    std::filesystem::remove(dir / "argv");
    const std::string line =
        std::string(ARGVDUMP_PATH) + " -U lpanal \"" + dir.path() + "/my voice.wav\" $(id) `id`;x";
    ASSERT_GT(WinExec(line.c_str(), SW_SHOWNORMAL), 31u);
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(dir / "argv"); }, 10));
    got = ReadDump(dir / "argv");
    got.resize(6);
    EXPECT_EQ(got, (Args{ARGVDUMP_PATH, "-U", "lpanal", dir / "my voice.wav", "$(id)", "`id`;x"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "pwned"));
    EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST(Launcher, FailuresAreReported) {
    NoDisplay nd;
    TempDir dir;
    WriteFile(dir / "notexec", "#!/bin/sh\n");
    for (const std::string& bad : {dir / "missing", std::string(), dir / "notexec"})
        EXPECT_EQ(WinExec(bad.c_str(), SW_SHOWNORMAL), 2u) << bad;
    makeExecutable(dir / "badinterp", "#!/nonexistent/interpreter\n");
    for (const std::string& bad : {dir / "badinterp", std::string("no-such-program-anywhere")}) {
        LaunchResult r = Launch({{bad}, false, ""});
        EXPECT_FALSE(r.process);
        EXPECT_EQ(r.error, ENOENT);
    }
    const std::pair<int, const char*> texts[] = {
        {ENOENT, "Cannot find the program cs."},
        {EACCES, "The program cs may not be run (permission denied)."},
        {E2BIG, "Cannot start cs: Argument list too long."}};
    for (const auto& [error, text] : texts)
        EXPECT_EQ(LaunchErrorText("cs", error), text);
}

TEST(Launcher, ExitCodeIsStillActiveUntilTheEndAndEveryChildIsReaped) {
    NoDisplay nd;
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "3");
    EnvGuard sleep("TONSMITH_ARGVDUMP_SLEEP_MS", "300");
    const auto before = Children();
    LaunchResult first = Launch({{ARGVDUMP_PATH}, false, ""});
    ASSERT_TRUE(first.process);
    EXPECT_EQ(first.process->ExitCode(), STILL_ACTIVE);
    EXPECT_EQ(waitForEnd(*first.process), 3u);

    // Handles dropped while their processes run (a second Compile, WinExec)
    // leave them to the background reaper: none stays a zombie.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Launch({{ARGVDUMP_PATH}, false, ""}).process);
    ASSERT_GT(WinExec(ARGVDUMP_PATH, SW_SHOWNORMAL), 31u);
    EXPECT_TRUE(WaitFor([&] { return Children().size() == before.size(); }, 10));
}

TEST(Launcher, ConsoleNeedsADisplayAndScriptsRunInTheBatchInterpreter) {
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
        WriteFile(bin / "TK3.bat", "Exit\r\n");
        const Args argv = ResolveLaunch({{bin / "TK3.bat"}, true, ""}, &err);
        ASSERT_EQ(argv.size(), 2u);
        EXPECT_EQ(std::filesystem::path(argv[0]).filename(), "tonsmith-batch");
        EXPECT_EQ(argv[1], bin / "TK3.bat");
        EXPECT_TRUE(ResolveLaunch({{bin / "missing.BAT"}, true, ""}, &err).empty());
        EXPECT_EQ(err, ENOENT);
    }
    EnvGuard display("DISPLAY", std::nullopt);
    EnvGuard wayland("WAYLAND_DISPLAY", "wayland-0");
    const Args console = ResolveLaunch(request, &err, &inTerminal);
    ASSERT_GT(console.size(), 4u);
    EXPECT_EQ(Args(console.begin(), console.begin() + 4),
              (Args{bin / "xterm", "-T", "Tonsmith running Csound", "-e"}));
    EXPECT_EQ(Args(console.end() - 2, console.end()), (Args{bin / "prog", "a b"}));
    EXPECT_TRUE(inTerminal);
    makeExecutable(bin / "x-terminal-emulator");
    EXPECT_EQ(ResolveLaunch(request, &err, &inTerminal)[0], bin / "x-terminal-emulator");
    // Without a console asked for, no terminal either.
    EXPECT_EQ(ResolveLaunch({{"prog"}, false, ""}, &err, &inTerminal), Args{bin / "prog"});
}

TEST(Launcher, NotepadBecomesTheDesktopTextEditor) {
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
    const Args editor =
        ResolveLaunch({{"NOTEPAD.EXE", "/o/a b.orc"}, false, ""}, &err, &inTerminal);
    ASSERT_GT(editor.size(), 4u);
    EXPECT_EQ(editor[0], bin / "xterm");
    EXPECT_EQ(Args(editor.end() - 2, editor.end()), (Args{bin / "sensible-editor", "/o/a b.orc"}));
    EXPECT_TRUE(inTerminal);
    makeExecutable(bin / "mousepad");
    EXPECT_EQ(ResolveLaunch({{"notepad", "a.orc"}, false, ""}, &err, &inTerminal),
              (Args{bin / "mousepad", "a.orc"}));
    EXPECT_FALSE(inTerminal);
    makeExecutable(bin / "notepad"); // a real notepad on PATH is used as it is
    EXPECT_EQ(ResolveLaunch({{"notepad", "a.orc"}, false, ""}, &err),
              (Args{bin / "notepad", "a.orc"}));
}
