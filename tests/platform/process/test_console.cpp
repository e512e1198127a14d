// Runs in a console window: the helper in the terminal reports the program's
// end, whatever the terminal does with its own process.
#include "common/tempconfig.h"
#include "common/testutil.h"
#include "platform/process/launcher.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace testutil;
using Args = std::vector<std::string>;

namespace {
void makeExecutable(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    chmod(path.c_str(), 0755);
}

// A terminal that hands its command to a server and exits at once, as
// xfce4-terminal and gnome-terminal do: x-terminal-emulator -T TITLE -e CMD...
constexpr char kHandOffTerminal[] = "#!/bin/sh\nshift 3\n\"$@\" </dev/null >/dev/null 2>&1 &\n";

std::size_t FifosLeft(const std::string& dir) {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        n += e.path().filename().string().rfind("tonsmith-run.", 0) == 0;
    return n;
}

unsigned long waitForEnd(ProcessHandle& p) {
    WaitFor([&] { return p.ExitCode() != STILL_ACTIVE; }, 20);
    return p.ExitCode();
}

struct Console {
    Console() { makeExecutable(bin / "x-terminal-emulator", kHandOffTerminal); }
    TempDir bin, rt;
    EnvGuard path{"PATH", bin.path() + ":/usr/bin:/bin"};
    EnvGuard display{"DISPLAY", ":99"};
    EnvGuard runtime{"XDG_RUNTIME_DIR", rt.path()};
};
} // namespace

TEST(LauncherConsole, TheHelperRunsTheProgramInOurFolderWithTheCsoundFolders) {
    Console c;
    makeExecutable(c.bin / "prog", "#!/bin/sh\n");
    EnvGuard ss("SSDIR", "/s d/"), sf("SFDIR", std::nullopt), sa("SADIR", "/a");
    int err = 0;
    bool inTerminal = false;
    const Args argv = ResolveLaunch({{"prog", "a b"}, true, "T"}, &err, &inTerminal, "/r/f");
    ASSERT_EQ(argv.size(), 12u);
    EXPECT_EQ(std::filesystem::path(argv[4]).filename(), "tonsmith-console");
    EXPECT_EQ(argv, (Args{c.bin / "x-terminal-emulator", "-T", "T", "-e", argv[4], "/r/f",
                          std::filesystem::current_path(), "SSDIR=/s d/", "SADIR=/a", "--",
                          c.bin / "prog", "a b"}));
    EXPECT_TRUE(inTerminal);
}

TEST(LauncherConsole, AHandOffTerminalEndsTheRunOnlyWhenTheProgramEnds) {
    Console c;
    TempDir dir;
    makeExecutable(c.bin / "slow", "#!/bin/sh\nsleep 0.4\nexit 3\n");
    LaunchRequest request{{"slow"}, true, "T"};
    request.reportEnd = true;
    LaunchResult r = Launch(request);
    ASSERT_TRUE(r.process) << r.error;
    usleep(200000); // the terminal is long gone, the program is not
    EXPECT_EQ(r.process->ExitCode(), STILL_ACTIVE);
    EXPECT_EQ(waitForEnd(*r.process), 3u);
    r.process.reset();
    EXPECT_EQ(FifosLeft(c.rt.path()), 0u);

    // Awkward names still arrive literally through terminal and helper.
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    Args args = {ARGVDUMP_PATH};
    for (const auto& n : AwkwardNames())
        args.push_back(dir / n);
    request.args = args;
    r = Launch(request);
    ASSERT_TRUE(r.process);
    EXPECT_EQ(waitForEnd(*r.process), 0u);
    Args got = ReadDump(dir / "argv");
    got.resize(args.size());
    EXPECT_EQ(got, args);
}

TEST(LauncherConsole, AHelperThatDiesEndsTheRunAndLeavesNoFifo) {
    Console c;
    makeExecutable(c.bin / "killer", "#!/bin/sh\nkill -9 $PPID\nsleep 0.2\n");
    LaunchRequest request{{"killer"}, true, "T"};
    request.reportEnd = true;
    LaunchResult r = Launch(request);
    ASSERT_TRUE(r.process);
    EXPECT_EQ(waitForEnd(*r.process), 255u);
    EXPECT_EQ(FifosLeft(c.rt.path()), 0u);
    // A FIFO left by a Tonsmith that died (a pid no process has) is removed
    // by the next run.
    const std::string stale = c.rt / "tonsmith-run.999999999.0";
    ASSERT_EQ(mkfifo(stale.c_str(), 0600), 0);
    r = Launch(request);
    ASSERT_TRUE(r.process);
    waitForEnd(*r.process);
    EXPECT_FALSE(std::filesystem::exists(stale));
}

TEST(LauncherConsole, NoTerminalAtAllWritesTheOutputToALogAndSaysSoOnce) {
    TempDir bin;
    TempConfig config;
    BoxAnswerer boxes;
    makeExecutable(bin / "talk", "#!/bin/sh\necho \"rendered $1\"\necho oops >&2\n");
    EnvGuard path("PATH", bin.path());
    EnvGuard display("DISPLAY", ":99");
    for (const char* name : {"one", "two"}) {
        LaunchResult r = Launch({{"talk", name}, true, "T"});
        ASSERT_TRUE(r.process) << r.error;
        EXPECT_EQ(waitForEnd(*r.process), 0u);
    }
    const std::string log = ReadFile(config.dir() + "/csound.log");
    EXPECT_NE(log.find("rendered one\noops\n"), std::string::npos) << log;
    EXPECT_NE(log.find("rendered two\n"), std::string::npos) << log;
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find(config.dir() + "/csound.log"), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find("xterm"), std::string::npos);
}
