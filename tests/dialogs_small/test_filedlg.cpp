#include "common/tempconfig.h"
#include "common/testutil.h"
#include "dialogs/small/filedlg.h"
#include "platform/files/fileops.h"
#include "qtapp.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {
class FileDlgTest : public ::testing::Test {
protected:
    FileDlgTest() {
        TestApp();
        PopFileInitialize(nullptr);
        m_old = SetFileDialogHandler([this](const FileDialogRequest& r) {
            requests.push_back(r);
            return answer;
        });
    }
    ~FileDlgTest() override { SetFileDialogHandler(m_old); }
    int Open() { return PopFileOpenDlg(nullptr, szFile, sizeof szFile, szTitle, sizeof szTitle); }
    std::string File(const std::string& name) {
        testutil::WriteFile(t.root() + "/" + name, "");
        return t.root() + "/" + name;
    }

    TempConfig t;
    testutil::BoxAnswerer boxes;
    std::optional<FileDialogAnswer> answer;
    std::vector<FileDialogRequest> requests;
    char szFile[127] = "/old/choice";
    char szTitle[32] = "choice";

private:
    FileDialogHandler m_old;
};
} // namespace

TEST_F(FileDlgTest, CancelKeepsTheBuffersAndAPickKeepsItsNameAndFilter) {
    EXPECT_EQ(Open(), 0);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].szInitialFile, "/old/choice");
    EXPECT_EQ(requests[0].Flags, unsigned(OFN_CREATEPROMPT));
    EXPECT_STREQ(szFile, "/old/choice");
    EXPECT_STREQ(szTitle, "choice");

    const std::string p = File("csound");
    answer = FileDialogAnswer{p, 1};
    EXPECT_EQ(Open(), 1);
    EXPECT_EQ(std::string(szFile), p);
    EXPECT_STREQ(szTitle, "csound");
    EXPECT_TRUE(boxes.shown.empty());
    PopFileSaveDlg(nullptr, szFile, sizeof szFile, szTitle, sizeof szTitle);
    EXPECT_EQ(requests.back().nFilterIndex, 1);
    EXPECT_TRUE(requests.back().bSave);
    EXPECT_EQ(requests.back().Flags, unsigned(OFN_OVERWRITEPROMPT));
}

TEST_F(FileDlgTest, ANameThatDoesNotExistIsAcceptedOnlyOnYesAndGetsTheExtension) {
    answer = FileDialogAnswer{t.root() + "/newprog", 0};
    boxes.answers = {IDNO};
    EXPECT_EQ(Open(), 0);
    EXPECT_STREQ(szFile, "/old/choice");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("Create the file?"), std::string::npos);

    boxes.answers = {IDYES};
    EXPECT_EQ(Open(), 1);
    EXPECT_EQ(std::string(szFile), t.root() + "/newprog.EXE");
    EXPECT_FALSE(PathExists(szFile)); // nothing is created

    // The save dialog does not ask.
    answer = FileDialogAnswer{t.root() + "/out.wav", 0};
    EXPECT_EQ(PopFileSaveDlg(nullptr, szFile, sizeof szFile, szTitle, sizeof szTitle), 1);
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(FileDlgTest, AChoiceTooLongForTheCallersBuffersIsRefusedWhole) {
    const std::string szDir = std::string(120, 'd');
    std::filesystem::create_directories(t.root() + "/" + szDir);
    answer = FileDialogAnswer{File(szDir + "/ed"), 0};
    EXPECT_EQ(Open(), 0);
    EXPECT_STREQ(szFile, "/old/choice");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Error");

    answer = FileDialogAnswer{File(std::string(32, 't')), 0}; // title needs 33 bytes
    EXPECT_EQ(Open(), 0);
    EXPECT_STREQ(szTitle, "choice");
    answer = FileDialogAnswer{File(std::string(31, 't')), 0};
    EXPECT_EQ(Open(), 1);
    EXPECT_EQ(std::strlen(szTitle), 31u);
}

TEST_F(FileDlgTest, FileSaveMessageAsksYesNoCancel) {
    boxes.answers = {IDCANCEL};
    EXPECT_EQ(FileSaveMessage(nullptr), IDCANCEL);
    EXPECT_EQ(nReturn, IDCANCEL);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Save Current File?");
    EXPECT_EQ(boxes.shown[0].type, 0x0003u | MB_ICONQUESTION);
}
