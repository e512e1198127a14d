#include "common/testutil.h"
#include "platform/files/fileops.h"
#include "platform/files/trash.h"

#include <sys/stat.h>

using namespace testutil;
namespace fs = std::filesystem;

TEST(FileOps, AWholeReplacementKeepsThePermissionsAndLeavesNoTemporary) {
    TempDir t;
    const std::string a = t / "a.orc";
    WriteFile(a, "a much longer old text than the new one");
    ::chmod(a.c_str(), 0640);
    EXPECT_EQ(ReplaceFileWhole(a, "short"), 0);
    EXPECT_EQ(ReadFile(a), "short");
    EXPECT_EQ(fs::status(a).permissions(), fs::perms(0640));
    fs::remove(a);
    EXPECT_TRUE(fs::is_empty(t.path()));
}

TEST(FileOps, WithoutAHomeTrashADeleteDeletes) {
    TempDir t;
    const auto here = fs::current_path();
    fs::current_path(t.path());
    for (std::optional<std::string> data : {std::optional<std::string>{}, {"relative/data"}}) {
        EnvGuard noData("XDG_DATA_HOME", data), noHome("HOME", std::nullopt);
        EXPECT_EQ(HomeTrashFolder(), "");
        WriteFile(t / "a.orc", "x");
        EXPECT_EQ(TrashOrDeleteFile(t / "a.orc"), 0);
        EXPECT_TRUE(fs::is_empty(t.path())); // nothing stands in for the trash here
    }
    fs::current_path(here);
}
