// Runs in a console window: the helper in the terminal reports the program's
// end, whatever the terminal does with its own process.
#include "common/tempconfig.h"
#include "common/testutil.h"
#include "platform/process/launcher.h"

#include <sys/stat.h>

using namespace testutil;
using Args = std::vector<std::string>;

void MakeExecutable(const std::string& path, const std::string& text);
unsigned long WaitForEnd(ProcessHandle& p);

// A terminal that hands its command to a server and exits at once, as
// xfce4-terminal and gnome-terminal do: x-terminal-emulator -T TITLE -e CMD...
TEST(LauncherConsole, AHandOffTerminalEndsTheRunOnlyWhenTheProgramOrItsHelperEnds) {
    TempDir bin, rt, dir;
    MakeExecutable(bin / "x-terminal-emulator",
                   "#!/bin/sh\nshift 3\n\"$@\" </dev/null >/dev/null 2>&1 &\n");
    EnvGuard path{"PATH", bin.path() + ":/usr/bin:/bin"}, display{"DISPLAY", ":99"};
    EnvGuard runtime{"XDG_RUNTIME_DIR", rt.path()}, dump("TONSMITH_ARGVDUMP", dir / "argv");
    EnvGuard ss("SSDIR", "/s d"), sf("SFDIR", ""), sa("SADIR", std::nullopt);
    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "3"), sleep("TONSMITH_ARGVDUMP_SLEEP_MS", "400");
    const auto fifosLeft = [&] {
        std::size_t n = 0;
        for (const auto& e : std::filesystem::directory_iterator(rt.path()))
            n += e.path().filename().string().rfind("tonsmith-run.", 0) == 0;
        return n;
    };
    LaunchRequest request{{ARGVDUMP_PATH}, true, "T"};
    request.reportEnd = true;
    for (const auto& n : AwkwardNames())
        request.args.push_back(dir / n);
    LaunchResult r = Launch(request);
    ASSERT_TRUE(r.process) << r.error;
    usleep(200000); // the terminal is long gone, the program is not
    EXPECT_EQ(r.process->ExitCode(), STILL_ACTIVE);
    EXPECT_EQ(WaitForEnd(*r.process), 3u);
    r.process.reset();
    EXPECT_EQ(fifosLeft(), 0u);
    // Names arrive literally through terminal and helper, with the folders.
    Args expected = request.args;
    expected.insert(expected.end(), {"SSDIR=/s d", "SFDIR=", "SADIR unset"});
    EXPECT_EQ(ReadDump(dir / "argv"), expected);

    // A helper that dies ends the run too. Its FIFO goes, and so does one
    // left by a Tonsmith that died (a pid no process has).
    const std::string stale = rt / "tonsmith-run.999999999.0";
    ASSERT_EQ(mkfifo(stale.c_str(), 0600), 0);
    MakeExecutable(bin / "killer", "#!/bin/sh\nkill -9 $PPID\nsleep 0.2\n");
    request.args = {"killer"};
    r = Launch(request);
    ASSERT_TRUE(r.process);
    EXPECT_EQ(WaitForEnd(*r.process), 255u);
    EXPECT_EQ(fifosLeft(), 0u);
}

TEST(LauncherConsole, NoTerminalAtAllWritesTheOutputToALogAndSaysSoOnce) {
    TempDir bin;
    TempConfig config;
    BoxAnswerer boxes;
    MakeExecutable(bin / "talk", "#!/bin/sh\necho \"rendered $1\"\necho oops >&2\n");
    EnvGuard path("PATH", bin.path()), display("DISPLAY", ":99");
    for (const char* name : {"one", "two"}) {
        LaunchResult r = Launch({{"talk", name}, true, "T"});
        ASSERT_TRUE(r.process) << r.error;
        EXPECT_EQ(WaitForEnd(*r.process), 0u);
    }
    const std::string log = ReadFile(config.dir() + "/csound.log");
    EXPECT_NE(log.find("rendered one\noops\n"), std::string::npos) << log;
    EXPECT_NE(log.find("rendered two\n"), std::string::npos) << log;
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "No terminal program was found to show what talk writes, so it "
                                   "runs without a console and its output goes to " +
                                       config.dir() +
                                       "/csound.log.\nInstall the package xterm "
                                       "to see it in a console window.");
}
