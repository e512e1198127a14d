#include "common/testutil.h"
#include "platform/files/fileops.h"
#include "platform/files/trash.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testutil::ReadFile;
using testutil::WriteFile;

TEST(FileOps, CreateNeverTouchesAnExistingFile) {
    testutil::TempDir t;
    const std::string p = t.path() + "/a.orc";
    EXPECT_EQ(CreateNewFile(p, "new"), 0);
    EXPECT_EQ(ReadFile(p), "new");
    EXPECT_EQ(CreateNewFile(p, "other"), EEXIST);
    EXPECT_EQ(ReadFile(p), "new");
    EXPECT_EQ(CreateNewFile(t.path() + "/missing/b.orc", "x"), ENOENT);
}

TEST(FileOps, ReplaceWholeKeepsPermissionsAndLeavesNoTemporary) {
    testutil::TempDir t;
    const std::string p = t.path() + "/a.sco";
    WriteFile(p, "a much longer old text than the new one");
    ::chmod(p.c_str(), 0640);
    EXPECT_EQ(ReplaceFileWhole(p, "short"), 0);
    EXPECT_EQ(ReadFile(p), "short");
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    const std::filesystem::directory_iterator all(t.path());
    EXPECT_EQ(std::distance(begin(all), end(all)), 1);
}

TEST(FileOps, RenameNeverReplacesTheTarget) {
    testutil::TempDir t;
    const std::string a = t.path() + "/a.wav", b = t.path() + "/b.wav", c = t.path() + "/c.wav";
    WriteFile(a, "AAA");
    WriteFile(b, "BBB");
    EXPECT_EQ(RenameNoReplace(a, b), EEXIST);
    EXPECT_EQ(ReadFile(a), "AAA");
    EXPECT_EQ(ReadFile(b), "BBB");
    EXPECT_EQ(RenameNoReplace(a, c), 0);
    EXPECT_FALSE(PathExists(a));
    EXPECT_EQ(ReadFile(c), "AAA");
    EXPECT_EQ(RenameNoReplace(a, t.path() + "/d.wav"), ENOENT);
}

TEST(FileOps, WithoutAHomeTrashADeleteDeletes) {
    testutil::TempDir t;
    const std::string p = t.path() + "/a.orc";
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(t.path());
    for (std::optional<std::string> data : {std::optional<std::string>{}, {"relative/data"}}) {
        testutil::EnvGuard noData("XDG_DATA_HOME", data), noHome("HOME", std::nullopt);
        EXPECT_EQ(HomeTrashFolder(), "");
        WriteFile(p, "x");
        EXPECT_EQ(TrashOrDeleteFile(p), 0);
        EXPECT_FALSE(PathExists(p));
        // Nothing stands in for the trash in the current folder.
        const std::filesystem::directory_iterator all(t.path());
        EXPECT_EQ(std::distance(begin(all), end(all)), 0);
    }
    std::filesystem::current_path(here);
}
