#include "common/tempconfig.h"
#include "platform/fileops.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
std::string Slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
void Spit(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}
} // namespace

TEST(FileOps, CreateNeverTouchesAnExistingFile) {
    TempConfig t;
    const std::string p = t.root() + "/a.orc";
    EXPECT_EQ(CreateNewFile(p, "new"), 0);
    EXPECT_EQ(Slurp(p), "new");
    EXPECT_EQ(CreateNewFile(p, "other"), EEXIST);
    EXPECT_EQ(Slurp(p), "new");
    EXPECT_EQ(CreateNewFile(t.root() + "/missing/b.orc", "x"), ENOENT);
}

TEST(FileOps, ReplaceWholeKeepsPermissionsAndLeavesNoTemporary) {
    TempConfig t;
    const std::string p = t.root() + "/a.sco";
    Spit(p, "a much longer old text than the new one");
    ::chmod(p.c_str(), 0640);
    EXPECT_EQ(ReplaceFileWhole(p, "short"), 0);
    EXPECT_EQ(Slurp(p), "short");
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(t.root()))
        ++n;
    EXPECT_EQ(n, 1);
}

TEST(FileOps, RenameNeverReplacesTheTarget) {
    TempConfig t;
    const std::string a = t.root() + "/a.wav", b = t.root() + "/b.wav", c = t.root() + "/c.wav";
    Spit(a, "AAA");
    Spit(b, "BBB");
    EXPECT_EQ(RenameNoReplace(a, b), EEXIST);
    EXPECT_EQ(Slurp(a), "AAA");
    EXPECT_EQ(Slurp(b), "BBB");
    EXPECT_EQ(RenameNoReplace(a, c), 0);
    EXPECT_FALSE(PathExists(a));
    EXPECT_EQ(Slurp(c), "AAA");
    EXPECT_EQ(RenameNoReplace(a, t.root() + "/d.wav"), ENOENT);
}
