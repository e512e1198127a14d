// Whole replacements, and deletes that go to the trash, or delete without one.
#include "common/testutil.h"
#include "platform/files/fileops.h"
#include "platform/files/trash.h"

#include <sys/stat.h>

using namespace testutil;
namespace fs = std::filesystem;

TEST(Trash, RecordNamesFitTheNameLimitAndKeepTheExtension) {
    const std::string longStem(250, 'a');
    const std::tuple<std::string, int, std::size_t, std::string> cases[] = {
        {"a.orc", 3, 245, "a.3.orc"},
        {longStem + ".orc", 1, 245, std::string(241, 'a') + ".orc"},
        {longStem + ".orc", 12, 245, std::string(238, 'a') + ".12.orc"},
        {"x\xc3\xa9\xc3\xa9.orc", 1, 8, "x\xc3\xa9.orc"}, // never half a character
    };
    for (const auto& [name, nTry, nMax, expected] : cases)
        EXPECT_EQ(TrashRecordName(name, nTry, nMax), expected) << name.size() << " " << nTry;
}

TEST(Trash, TheSelectedFileGoesToTheTrashByteForByteWhateverItsName) {
    TempDir t;
    EnvGuard data("XDG_DATA_HOME", t / "data");
    const std::string dir = t / "w/", trash = t / "data/Trash";
    fs::create_directories(dir);
    const std::string latin1 = "caf\xe9.orc", replacement = "caf\xef\xbf\xbd.orc";
    const std::string names[] = {latin1, std::string(246, 'n') + ".orc", std::string(255, 'n'),
                                 latin1};
    WriteFile(dir + replacement, "neighbour");
    for (const std::string& name : names) {
        WriteFile(dir + name, "selected");
        ASSERT_EQ(TrashOrDeleteFile(dir + name), 0) << name.size();
        EXPECT_FALSE(fs::exists(dir + name));
    }
    EXPECT_EQ(ReadFile(dir + replacement), "neighbour");
    // The same name twice gets a second record; each record names its file.
    EXPECT_EQ(ReadFile(trash + "/files/caf\xe9.2.orc"), "selected");
    EXPECT_EQ(ReadFile(trash + "/files/" + std::string(245, 'n')), "selected");
    const std::string info = ReadFile(trash + "/info/caf\xe9.orc.trashinfo");
    EXPECT_EQ(info.substr(0, info.find("DeletionDate=") + 13),
              "[Trash Info]\nPath=" + dir + "caf%E9.orc\nDeletionDate=");
    EXPECT_EQ(std::distance(fs::directory_iterator(trash + "/info"), {}), 4);
}

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
