#include "common/testutil.h"
#include "platform/files/fileops.h"
#include "platform/files/trash.h"

#include <cerrno>
#include <sys/stat.h>

using namespace testutil;

std::size_t Entries(const std::string& dir) {
    const std::filesystem::directory_iterator all(dir);
    return std::size_t(std::distance(begin(all), end(all)));
}

TEST(FileOps, CreateNeverTouchesAnExistingFileAndRenameNeverReplaces) {
    TempDir t;
    const std::string a = t / "a.orc", b = t / "b.orc", c = t / "c.orc";
    EXPECT_EQ(CreateNewFile(a, "new"), 0);
    EXPECT_EQ(CreateNewFile(a, "other"), EEXIST);
    EXPECT_EQ(CreateNewFile(t / "missing/b.orc", "x"), ENOENT);
    WriteFile(b, "BBB");
    EXPECT_EQ(RenameNoReplace(a, b), EEXIST);
    EXPECT_EQ(ReadFile(a) + ReadFile(b), "newBBB");
    EXPECT_EQ(RenameNoReplace(a, c), 0);
    EXPECT_FALSE(PathExists(a));
    EXPECT_EQ(ReadFile(c), "new");
    EXPECT_EQ(RenameNoReplace(a, t / "d.orc"), ENOENT);
}

TEST(FileOps, ReplaceWholeKeepsPermissionsAndLeavesNoTemporary) {
    TempDir t;
    WriteFile(t / "a.sco", "a much longer old text than the new one");
    ::chmod((t / "a.sco").c_str(), 0640);
    EXPECT_EQ(ReplaceFileWhole(t / "a.sco", "short"), 0);
    EXPECT_EQ(ReadFile(t / "a.sco"), "short");
    struct stat st {};
    ASSERT_EQ(::stat((t / "a.sco").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(t.path()), 1u);
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
        EXPECT_EQ(Entries(t.path()), 0u); // nothing stands in for the trash here
    }
    std::filesystem::current_path(here);
}
