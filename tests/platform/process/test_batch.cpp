// The batch interpreter, run as the program it is, on scripts in temporary
// folders. Its pause on a real terminal is met in the compile's end-to-end
// test, which ends it with a key in the console.
#include "common/testutil.h"

using namespace testutil;
using Args = std::vector<std::string>;

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
        EXPECT_EQ(o.status, 0) << o.output;
        EXPECT_EQ(ReadDump(dir / "argv"),
                  (Args{ARGVDUMP_PATH, "-W", "a b", "c\"d", "`e`", "'f'", "SSDIR=/snd/with blank",
                        "SFDIR unset", "SADIR=/ana;$(x)"}))
            << "line end " << (e.size() == 2 ? "CR LF" : "LF");
        // Without a terminal Pause says its sentence and does not wait.
        EXPECT_EQ(o.output, "Press any key to continue . . . \n");
        std::filesystem::remove(dir / "argv");
    }
    const Outcome o = run("no-such-program-xyz arg\r\nEXIT\r\n" + std::string(ARGVDUMP_PATH));
    EXPECT_EQ(o.output, "'no-such-program-xyz' cannot be run: no such program\n");
    EXPECT_EQ(o.status, 9009 % 256); // 9009 as the platform says, cut to 8 bits by exit()
    EXPECT_FALSE(std::filesystem::exists(dir / "argv"));
    EnvGuard code("TONSMITH_ARGVDUMP_EXIT", "4");
    EXPECT_EQ(run("\r\n   \r\n" + std::string(ARGVDUMP_PATH)).status, 4);
    EXPECT_TRUE(std::filesystem::exists(dir / "argv"));
    EXPECT_EQ(run("Exit 7\r\n").status, 7);
}
