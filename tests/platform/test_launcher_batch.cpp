// The batch interpreter, run as the program it is, on scripts in temporary
// folders.
#include "platform/launcher.h"
#include "platform/launcher_testutil.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using testutil::EnvGuard;
using testutil::TempDir;
using Args = std::vector<std::string>;

extern char** environ;

namespace {
struct Outcome {
    int status = -1;
    std::string output; // standard output and error together
};

// Runs tonsmith-batch on the script text with /dev/null as input.
Outcome runScript(const TempDir& dir, const std::string& text) {
    const std::string script = dir / "TK3.bat";
    const std::string out = dir / "out.txt";
    testutil::WriteFile(script, text);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    std::string batch = BATCH_PATH;
    char* argv[] = {batch.data(), const_cast<char*>(script.c_str()), nullptr};
    pid_t pid = 0;
    Outcome o;
    if (posix_spawn(&pid, argv[0], &fa, nullptr, argv, environ) == 0) {
        int st = 0;
        waitpid(pid, &st, 0);
        o.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    posix_spawn_file_actions_destroy(&fa);
    o.output = testutil::ReadFile(out);
    return o;
}
} // namespace

TEST(LauncherBatch, SetLinesReachTheCommandAndQuotedArgumentsStayWhole) {
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    EnvGuard sfdir("SFDIR", "inherited");
    for (const char* eol : {"\r\n", "\n"}) {
        std::filesystem::remove(dir / "argv");
        const std::string e = eol;
        const std::string text = "SET SSDIR=/snd/with blank" + e + "set SFDIR=" + e +
                                 "  Set SADIR=/ana;$(x)" + e + ARGVDUMP_PATH +
                                 " -W \"a b\" c\\\"d `e` 'f'" + e + "Pause" + e + "Exit";
        const Outcome o = runScript(dir, text);
        EXPECT_EQ(o.status, 0) << o.output;
        EXPECT_EQ(testutil::ReadDump(dir / "argv"),
                  (Args{ARGVDUMP_PATH, "-W", "a b", "c\"d", "`e`", "'f'", "SSDIR=/snd/with blank",
                        "SFDIR unset", "SADIR=/ana;$(x)"}))
            << "line end " << (e.size() == 2 ? "CR LF" : "LF");
        // Without a terminal Pause says its sentence and does not wait.
        EXPECT_NE(o.output.find("Press any key to continue . . ."), std::string::npos);
    }
}

TEST(LauncherBatch, ExitEndsTheScriptAndMissingProgramsAreReported) {
    TempDir dir;
    EnvGuard dump("TONSMITH_ARGVDUMP", dir / "argv");
    Outcome o = runScript(dir, "no-such-program-xyz arg\r\nEXIT\r\n" + std::string(ARGVDUMP_PATH));
    EXPECT_NE(o.output.find("no-such-program-xyz"), std::string::npos);
    EXPECT_EQ(o.status, 9009 % 256); // 9009 as the platform says, cut to 8 bits by exit()
    EXPECT_FALSE(std::filesystem::exists(dir / "argv"));

    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "4");
    o = runScript(dir, "\r\n   \r\n" + std::string(ARGVDUMP_PATH));
    EXPECT_EQ(o.status, 4);
    EXPECT_TRUE(std::filesystem::exists(dir / "argv"));
    o = runScript(dir, "Exit 7\r\n");
    EXPECT_EQ(o.status, 7);
}

TEST(LauncherBatch, PauseWaitsForOneKeyOnATerminal) {
    TempDir dir;
    testutil::WriteFile(dir / "TK3.bat", "Pause\r\nExit 5");
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        execl(BATCH_PATH, BATCH_PATH, (dir / "TK3.bat").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string seen;
    auto readSome = [&](int ms) {
        pollfd p{master, POLLIN, 0};
        while (poll(&p, 1, ms) > 0) {
            char buf[256];
            const ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            seen.append(buf, static_cast<std::size_t>(n));
            if (seen.find(". . .") != std::string::npos)
                break;
        }
    };
    readSome(5000);
    EXPECT_NE(seen.find("Press any key to continue . . ."), std::string::npos);
    // Still waiting for the key.
    usleep(200 * 1000);
    int st = 0;
    EXPECT_EQ(waitpid(pid, &st, WNOHANG), 0);
    ASSERT_EQ(write(master, "x", 1), 1);
    ASSERT_TRUE(testutil::WaitFor([&] { return waitpid(pid, &st, WNOHANG) == pid; }, 5));
    EXPECT_TRUE(WIFEXITED(st));
    EXPECT_EQ(WEXITSTATUS(st), 5);
    close(master);
}
