#include "common/testutil.h"
#include "platform/files/fileops.h"
#include "platform/files/trash.h"

#include <cerrno>
#include <sys/stat.h>

using namespace testutil;

TEST(FileOps, CreateNeverTouchesAnExistingFileRenameNeverReplacesReplaceIsWhole) {
    TempDir t;
    const std::string a = t / "a.orc", b = t / "b.orc", c = t / "c.orc";
    EXPECT_EQ(CreateNewFile(a, "new"), 0);
    EXPECT_EQ(CreateNewFile(a, "other"), EEXIST);
    EXPECT_EQ(CreateNewFile(t / "missing/b.orc", "x"), ENOENT);
    WriteFile(b, "BBB");
    EXPECT_EQ(RenameNoReplace(a, b), EEXIST);
    EXPECT_EQ(ReadFile(a) + ReadFile(b), "newBBB");
    EXPECT_EQ(RenameNoReplace(a, c), 0);
    EXPECT_EQ(std::to_string(PathExists(a)) + ReadFile(c), "0new");
    EXPECT_EQ(RenameNoReplace(a, t / "d.orc"), ENOENT);
    // A whole replacement keeps the permissions and leaves no temporary.
    std::filesystem::remove(b), std::filesystem::remove(c);
    WriteFile(t / "a.sco", "a much longer old text than the new one");
    ::chmod((t / "a.sco").c_str(), 0640);
    EXPECT_EQ(ReplaceFileWhole(t / "a.sco", "short"), 0);
    EXPECT_EQ(ReadFile(t / "a.sco"), "short");
    EXPECT_EQ(std::filesystem::status(t / "a.sco").permissions(), std::filesystem::perms(0640));
    std::filesystem::remove(t / "a.sco");
    EXPECT_TRUE(std::filesystem::is_empty(t.path()));
}

TEST(FileOps, WithoutAHomeTrashADeleteDeletes) {
    TempDir t;
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(t.path());
    for (std::optional<std::string> data : {std::optional<std::string>{}, {"relative/data"}}) {
        EnvGuard noData("XDG_DATA_HOME", data), noHome("HOME", std::nullopt);
        EXPECT_EQ(HomeTrashFolder(), "");
        WriteFile(t / "a.orc", "x");
        EXPECT_EQ(TrashOrDeleteFile(t / "a.orc"), 0);
        EXPECT_TRUE(std::filesystem::is_empty(t.path())); // nothing stands in for the trash here
    }
    std::filesystem::current_path(here);
}
