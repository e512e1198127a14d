// Starting programs: command lines split as the platform does, arguments arriving literally, every
// child reaped, console runs ending with their program, and the batch interpreter.
#include "common/tempconfig.h"
#include "common/testutil.h"
#include "platform/process/argsplit.h"
#include "platform/process/launcher.h"
#include "platform/process/spawn.h"
#include "platform/process/terminals.h"

#include <cerrno>
#include <csignal>
#include <numeric>
#include <sys/stat.h>

using namespace testutil;
using Args = std::vector<std::string>;

namespace {
void MakeExecutable(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    chmod(path.c_str(), 0755);
}
unsigned long WaitForEnd(ProcessHandle& p) {
    WaitFor([&] { return p.ExitCode() != STILL_ACTIVE; }, 20);
    return p.ExitCode();
}
} // namespace

TEST(ArgSplit, BlanksSeparateQuotesGroupAndBackslashesMatterOnlyBeforeAQuote) {
    const std::pair<const char*, Args> cases[] = {
        {"  csound   -Wsg\t-o test  ", {"csound", "-Wsg", "-o", "test"}},
        {"\"/opt/my csound/csound\" -W \"a b\"c d", {"/opt/my csound/csound", "-W", "a bc", "d"}},
        {" \t ", {}},
        {R"(C:\CS\CSOUND.EXE a\\b)", {R"(C:\CS\CSOUND.EXE)", R"(a\\b)"}},
        {R"(a\"b)", {R"(a"b)"}},
        {R"(a\\"b c")", {R"(a\b c)"}},
        {R"(a\\\"b)", {R"(a\"b)"}},
        {R"("a""b" c)", {R"(a"b)", "c"}},
        {"a \"b c", {"a", "b c"}}, // an unclosed quote runs to the end
    };
    for (const auto& [line, args] : cases)
        EXPECT_EQ(SplitCommandLine(line), args) << line;
    // Quoting round-trips every awkward name and leaves plain ones alone.
    Args awkward = AwkwardNames();
    awkward.insert(awkward.end(), {"/usr/bin/csound", "", "\\", "\"", "end\\\\", "\\\"both\\\\\""});
    EXPECT_EQ(SplitCommandLine(QuoteCommandLine(awkward)), awkward);
    EXPECT_EQ(QuoteCommandLine({"/usr/bin/csound", "-Wsg", "semi;colon", "two words"}),
              "/usr/bin/csound -Wsg semi;colon \"two words\""); // no shell ever sees it
}

TEST(Launcher, ArgumentsArriveLiterallyFailuresAreReportedAndEveryChildIsReaped) {
    EnvGuard noX("DISPLAY", std::nullopt), noWayland("WAYLAND_DISPLAY", std::nullopt);
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    // WinExec splits its text by the platform's rules; no shell sees it.
    const std::string line =
        std::string(ARGVDUMP_PATH) + " -U \"" + dir.path() + "/a b\" \"\" $(id) `id`;x";
    ASSERT_GT(WinExec(line.c_str(), SW_SHOWNORMAL), 31u);
    Args got;
    ASSERT_TRUE(WaitFor([&] { return (got = ReadDump(dir / "argv")).size() == 9; }, 10));
    got.resize(6);
    EXPECT_EQ(got, (Args{ARGVDUMP_PATH, "-U", dir / "a b", "", "$(id)", "`id`;x"}));
    WriteFile(dir / "notexec", "#!/bin/sh\n");
    MakeExecutable(dir / "badinterp", "#!/nonexistent/interpreter\n");
    for (const std::string& bad : {dir / "missing", std::string(), dir / "notexec"})
        EXPECT_EQ(WinExec(bad.c_str(), SW_SHOWNORMAL), 2u) << bad;
    for (const std::string& bad : {dir / "badinterp", std::string("no-such-program-anywhere")})
        EXPECT_EQ(Launch({{bad}, false, ""}).error, ENOENT) << bad;
    EXPECT_EQ(LaunchErrorText("cs", EACCES), "The program cs may not be run (permission denied).");
    EXPECT_EQ(LaunchErrorText("cs", E2BIG), "Cannot start cs: Argument list too long.");
    // Handles dropped while their processes run are left to the background reaper.
    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "3"), sleep("TONSMITH_ARGVDUMP_SLEEP_MS", "300");
    const auto before = Children();
    LaunchResult r = Launch({{ARGVDUMP_PATH}, false, ""});
    EXPECT_EQ(r.process->ExitCode(), STILL_ACTIVE);
    EXPECT_EQ(WaitForEnd(*r.process), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Launch({{ARGVDUMP_PATH}, false, ""}).process);
    ASSERT_GT(WinExec(ARGVDUMP_PATH, SW_SHOWNORMAL), 31u);
    // Only the children started here must go: one from above may still be ending.
    EXPECT_TRUE(WaitFor([&] { return NewChild(before) == 0; }, 10));
    // RunAndWait tells how a program ended; an end that cannot be learnt (an
    // ignored SIGCHLD reaps at once) counts as status 1.
    int status = 0;
    pid_t pid = 0;
    EXPECT_EQ(SpawnProgram({}, {}, &pid), ENOENT);
    for (const char* missing : {"", "no-such-program-anywhere", "/no/such/program"})
        EXPECT_EQ(RunAndWait({missing}, &status), ENOENT) << missing;
    ASSERT_EQ(RunAndWait({"sh", "-c", "kill -9 $$"}, &status), 0);
    EXPECT_EQ(ExitCodeOf(status), 128 + 9);
    std::signal(SIGCHLD, SIG_IGN);
    ASSERT_EQ(RunAndWait({"true"}, &status), 0);
    std::signal(SIGCHLD, SIG_DFL);
    EXPECT_EQ(ExitCodeOf(status), 1);
}

TEST(Launcher, ResolvesScriptsTerminalsAndTheTextEditor) {
    TempDir bin;
    for (const char* name : {"prog", "xterm", "sensible-editor"})
        MakeExecutable(bin / name, "#!/bin/sh\n");
    EnvGuard path("PATH", bin.path());
    EnvGuard ss("SSDIR", "/s d/"), sf("SFDIR", std::nullopt), sa("SADIR", "/a");
    int err = 0;
    bool term = true; // whether a terminal was chosen
    const auto resolve = [&](const Args& args, bool console) {
        return ResolveLaunch({args, console, "T"}, &err, &term, "/r/f");
    };
    { // no display: no console, and no desktop editor to show
        EnvGuard noX("DISPLAY", std::nullopt), noWl("WAYLAND_DISPLAY", std::nullopt);
        EXPECT_EQ(resolve({"prog", "a b"}, true), (Args{bin / "prog", "a b"}));
        EXPECT_FALSE(term);
        for (const Args& missing : {Args{bin / "missing.BAT"}, Args{"notepad", "a.orc"}})
            EXPECT_TRUE(resolve(missing, true).empty() && err == ENOENT);
    }
    EnvGuard display("DISPLAY", ":99"), wayland("WAYLAND_DISPLAY", std::nullopt);
    const Args console = resolve({"prog", "a b"}, true);
    EXPECT_EQ(console, (Args{bin / "xterm", "-T", "T", "-e", console.at(4), "/r/f",
                             std::filesystem::current_path(), "SSDIR=/s d/", "SADIR=/a", "--",
                             bin / "prog", "a b"}));
    EXPECT_TRUE(term);
    EXPECT_EQ(resolve({"prog"}, false), Args{bin / "prog"}); // no console asked for
    const Args editor = resolve({"NOTEPAD.EXE", "/o/a b.orc"}, false);
    EXPECT_EQ(Args(editor.end() - 2, editor.end()), (Args{bin / "sensible-editor", "/o/a b.orc"}));
    EXPECT_EQ(editor.at(0), bin / "xterm");
    MakeExecutable(bin / "mousepad", "#!/bin/sh\n");
    EXPECT_EQ(resolve({"notepad", "a.orc"}, false), (Args{bin / "mousepad", "a.orc"}));
    EXPECT_FALSE(term);
    MakeExecutable(bin / "notepad", "#!/bin/sh\n"); // a real notepad on PATH is used as it is
    EXPECT_EQ(resolve({"notepad", "a.orc"}, false), (Args{bin / "notepad", "a.orc"}));
}

// Every terminal gets its own options, whatever name it is reached through (the
// terminals CI installs are run for real by the end-to-end scripts).
TEST(Terminals, EachGetsItsOwnTitleAndCommandFormAndOnlyASessionItCanOpen) {
    TempDir bin;
    const Args cmd = {"/p", "a b", "it's"};
    const std::pair<std::string, Args> cases[] = {
        {"kgx", {"--gapplication-app-id=I", "--title", "T", "--", "/p", "a b", "it's"}},
        {"zutty", {"-title", "T", "-e", "/p", "a b", "it's"}},
        {"unheard-of-term", {"-T", "T", "-e", "/p", "a b", "it's"}},
    };
    for (auto [name, want] : cases) {
        MakeExecutable(bin / name, "#!/bin/sh\n");
        std::filesystem::remove(bin / "x-terminal-emulator");
        std::filesystem::create_symlink(bin / name, bin / "x-terminal-emulator");
        want.insert(want.begin(), bin / name);
        EXPECT_EQ(TerminalArguments(ResolveTerminal(bin / "x-terminal-emulator"), "T", cmd, "I"),
                  want);
    }
    // What the terminal splits is what was meant, and nothing is run.
    Args awkward = AwkwardNames();
    awkward.insert(awkward.end(), {"", "'", "\\'\""});
    const Outcome split = RunProgram({"sh", "-c", "printf '%s|' " + QuoteForSplitting(awkward)});
    EXPECT_EQ(split.output, std::accumulate(awkward.begin(), awkward.end(), std::string(),
                                            [](auto all, auto& a) { return all + a + "|"; }));
    // A terminal that rewrites $NAME gets the helper's words in hex, given back whole.
    const Args encoded = EncodeForConsole(awkward);
    EXPECT_TRUE(std::ranges::all_of(encoded, [](auto& w) { return w.find('$') == w.npos; }));
    EXPECT_EQ(DecodeForConsole(encoded), awkward);
    EXPECT_EQ(DecodeForConsole({"--hex", "4"}), std::nullopt);
    // Only WAYLAND_DISPLAY: no X-only terminal; only DISPLAY: no Wayland-only one.
    EnvGuard display("DISPLAY", std::nullopt), wayland("WAYLAND_DISPLAY", "wayland-0");
    const auto opens = [](const char* name) { return TerminalCanOpen(TerminalFormFor(name)); };
    EXPECT_TRUE(!opens("xterm") && !opens("zutty") && opens("foot") && opens("kgx"));
    EnvGuard x("DISPLAY", ":9"), noWayland("WAYLAND_DISPLAY", std::nullopt);
    EXPECT_TRUE(!opens("footclient") && opens("st"));
}

// A terminal that hands its command to a server and exits at once, as
// xfce4-terminal and gnome-terminal do: x-terminal-emulator -T TITLE -e CMD...
TEST(LauncherConsole, AHandOffTerminalEndsTheRunOnlyWhenTheProgramOrItsHelperEnds) {
    TempDir bin, rt, dir;
    MakeExecutable(bin / "x-terminal-emulator",
                   "#!/bin/sh\nshift 3\n\"$@\" </dev/null >/dev/null 2>&1 &\n");
    EnvGuard path{"PATH", bin.path() + ":/usr/bin:/bin"}, display{"DISPLAY", ":99"};
    EnvGuard runtime{"XDG_RUNTIME_DIR", rt.path()}, dump("TONSMITH_ARGVDUMP", dir / "argv");
    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "3"), sleep("TONSMITH_ARGVDUMP_SLEEP_MS", "400");
    const auto fifosLeft = [&] {
        return std::ranges::count_if(std::filesystem::directory_iterator(rt.path()), [](auto& e) {
            return e.path().filename().string().starts_with("tonsmith-run.");
        });
    };
    LaunchRequest request{{ARGVDUMP_PATH}, true, "T"};
    request.reportEnd = true;
    LaunchResult r = Launch(request);
    ASSERT_TRUE(r.process) << r.error;
    usleep(200000); // the terminal is long gone, the program is not
    EXPECT_EQ(r.process->ExitCode(), STILL_ACTIVE);
    EXPECT_EQ(WaitForEnd(*r.process), 3u);
    r.process.reset();
    EXPECT_EQ(fifosLeft(), 0);
    EXPECT_EQ(ReadDump(dir / "argv").at(0), ARGVDUMP_PATH); // awkward names: the real compile
    // A helper that dies ends the run too; its FIFO goes, and so does a dead Tonsmith's.
    const std::string stale = rt / "tonsmith-run.999999999.0";
    ASSERT_EQ(mkfifo(stale.c_str(), 0600), 0);
    MakeExecutable(bin / "killer", "#!/bin/sh\nkill -9 $PPID\nsleep 0.2\n");
    request.args = {"killer"};
    r = Launch(request);
    ASSERT_TRUE(r.process);
    EXPECT_EQ(WaitForEnd(*r.process), 255u);
    EXPECT_EQ(fifosLeft(), 0);
}

// A console that fails, or never starts the helper, is given up: the run
// goes to xterm, else to the log, and the notice says which and why.
TEST(LauncherConsole, AFailingOrSilentTerminalIsGivenUpAndTheRunGoesOn) {
    TempDir bin, rt;
    TempConfig config;
    MakeExecutable(bin / "bad-term", "#!/bin/sh\necho 'usage: bad-term -x' >&2\nexit 2\n");
    MakeExecutable(bin / "xterm", "#!/bin/sh\nshift 3\nexec \"$@\"\n");
    MakeExecutable(bin / "deaf-term", "#!/bin/sh\nexec sleep 60\n");
    MakeExecutable(bin / "talk", "#!/bin/sh\necho \"rendered $1\"\nexit 3\n");
    EnvGuard path{"PATH", bin.path() + ":/usr/bin:/bin"}, runtime{"XDG_RUNTIME_DIR", rt.path()};
    EnvGuard display{"DISPLAY", ":99"}, wayland{"WAYLAND_DISPLAY", std::nullopt};
    std::filesystem::create_symlink(bin / "bad-term", bin / "x-terminal-emulator");
    LaunchRequest request{{"talk", "one"}, true, "T"};
    request.reportEnd = true;
    LaunchResult r = Launch(request);
    ASSERT_TRUE(r.process) << r.error;
    EXPECT_EQ(WaitForEnd(*r.process), 3u);
    EXPECT_EQ(r.process->TakeNotice(), "The terminal bad-term ended with exit code 2 before the "
                                       "console started: \"usage: bad-term -x\".\ntalk runs in "
                                       "xterm instead.");
    // One that ignores its command is ended; without X, nothing but the log is left.
    std::filesystem::remove(bin / "x-terminal-emulator");
    std::filesystem::create_symlink(bin / "deaf-term", bin / "x-terminal-emulator");
    EnvGuard noX{"DISPLAY", std::nullopt}, onlyWayland{"WAYLAND_DISPLAY", "wayland-0"};
    const auto before = Children();
    r = Launch(request);
    ASSERT_TRUE(r.process);
    EXPECT_EQ(WaitForEnd(*r.process), 3u);
    EXPECT_EQ(r.process->TakeNotice(),
              "The terminal deaf-term did not start the console within 6 seconds.\ntalk runs "
              "without a console and its output goes to " +
                  config.dir() + "/csound.log.");
    EXPECT_NE(ReadFile(config.dir() + "/csound.log").find("rendered one\n"), std::string::npos);
    r.process.reset();
    EXPECT_TRUE(WaitFor([&] { return NewChild(before) == 0; }, 5)); // ended, reaped
    EXPECT_TRUE(std::filesystem::is_empty(rt.path()));              // no FIFO left
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
    const std::string logPath = config.dir() + "/csound.log", log = ReadFile(logPath);
    EXPECT_NE(log.find("rendered one\noops\n"), std::string::npos) << log;
    EXPECT_NE(log.find("rendered two\n"), std::string::npos) << log;
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "No terminal program was found to show what talk writes, so it "
              "runs without a console and its output goes to " +
                  logPath + ".\nInstall the package xterm to see it in a console window.");
}

TEST(Batch, SetLinesQuotedArgumentsExitAndMissingPrograms) {
    TempDir dir;
    const auto run = [&](const std::string& text) {
        WriteFile(dir / "TK3.bat", text);
        return RunProgram({BATCH_PATH, dir / "TK3.bat"});
    };
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv"), sfdir("SFDIR", "inherited");
    for (const std::string e : {"\r\n", "\n"}) {
        const Outcome o =
            run("SET SSDIR=/snd/with blank" + e + "set SFDIR=" + e + "  Set SADIR=/ana;$(x)" + e +
                ARGVDUMP_PATH + " -W \"a b\" c\\\"d `e` 'f'" + e + "Pause" + e + "Exit");
        EXPECT_EQ(ReadDump(dir / "argv"),
                  (Args{ARGVDUMP_PATH, "-W", "a b", "c\"d", "`e`", "'f'", "SSDIR=/snd/with blank",
                        "SFDIR unset", "SADIR=/ana;$(x)"}))
            << e.size();
        // Without a terminal Pause says its sentence and does not wait.
        EXPECT_EQ(o.output + std::to_string(o.status), "Press any key to continue . . . \n0");
        std::filesystem::remove(dir / "argv");
    }
    const Outcome o = run("no-such-program-xyz arg\r\nEXIT\r\n" + std::string(ARGVDUMP_PATH));
    EXPECT_EQ(o.output + std::to_string(o.status), // 9009 as the platform says, cut to 8 bits
              "'no-such-program-xyz' cannot be run: no such program\n49");
    EXPECT_FALSE(std::filesystem::exists(dir / "argv"));
    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "4");
    EXPECT_EQ(run("\r\n   \r\n" + std::string(ARGVDUMP_PATH)).status, 4);
    EXPECT_EQ(run("Exit 7\r\n").status, 7);
}
