#include "common/testutil.h"
#include "platform/files/trash.h"

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
    EXPECT_NE(info.find("\nPath=" + dir + "caf%E9.orc\n"), std::string::npos) << info;
    EXPECT_EQ(std::distance(fs::directory_iterator(trash + "/info"), {}), 4);
}
