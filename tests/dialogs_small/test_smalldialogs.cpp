#include "common/tempconfig.h"
#include "common/testutil.h"
#include "dialogs/small/filedlg.h"
#include "dialogs/small/smalldialogs.h"
#include "platform/files/fileops.h"
#include "qtapp.h"
#include "settings/ini.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>
#include <gtest/gtest.h>

namespace {
class SmallDialogs : public ::testing::Test {
protected:
    SmallDialogs() { TestApp(); }
    TempConfig t;
    testutil::BoxAnswerer boxes;
};

QLineEdit* Edit(const smalldlg::SmallDialog& d, int nId) {
    return qobject_cast<QLineEdit*>(d.GetDlgItem(nId));
}

class Devices {
public:
    explicit Devices(std::vector<std::string> names) {
        m_old = SetWaveOutDeviceSource([names] { return names; });
    }
    ~Devices() { SetWaveOutDeviceSource(m_old); }

private:
    WaveOutDeviceSource m_old;
};
} // namespace

TEST_F(SmallDialogs, NewFileOkTakesTheNameCancelAndEscapeEmptyIt) {
    char szNewFile[256] = "stale";
    NewFileDlg orc(nullptr, false, szNewFile);
    EXPECT_EQ(orc.windowTitle(), "New Orchestra");
    EXPECT_EQ(Edit(orc, IDC_ORCNAME)->accessibleName(), "Orchestra Name");
    auto* ok = qobject_cast<QPushButton*>(orc.GetDlgItem(smalldlg::IDOK));
    EXPECT_TRUE(ok->isDefault());
    Edit(orc, IDC_ORCNAME)->setText("mytune");
    ok->click();
    EXPECT_STREQ(szNewFile, "mytune");
    EXPECT_EQ(orc.result(), 1);

    NewFileDlg again(nullptr, false, szNewFile);
    again.reject(); // Esc or the close box
    EXPECT_STREQ(szNewFile, "");

    std::strcpy(szNewFile, "stale");
    NewFileDlg sco(nullptr, true, szNewFile);
    EXPECT_EQ(sco.windowTitle(), "New Score");
    EXPECT_EQ(Edit(sco, IDC_ORCNAME), nullptr);
    sco.OnCommand(smalldlg::IDOK); // an empty name
    EXPECT_STREQ(szNewFile, "");
}

TEST_F(SmallDialogs, NewFileRefusesANameThatDoesNotFitAndStaysOpen) {
    char szNewFile[256] = "stale";
    NewFileDlg dlg(nullptr, false, szNewFile);
    dlg.show();
    Edit(dlg, IDC_ORCNAME)->setText(QString(256, 'a'));
    dlg.OnCommand(smalldlg::IDOK);
    EXPECT_STREQ(szNewFile, "stale");
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(boxes.shown.size(), 1u);
    Edit(dlg, IDC_ORCNAME)->setText(QString(255, 'a'));
    dlg.OnCommand(smalldlg::IDOK);
    EXPECT_EQ(std::strlen(szNewFile), 255u);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SmallDialogs, WaveDevicesStepsWithinTheDevicesAndOkStoresTheChoice) {
    Devices devices({"Null Output", "Built-in Audio", "USB Headset"});
    std::uint16_t wDevice = 0;
    WaveDevDlg dlg(nullptr, &wDevice);
    EXPECT_EQ(dlg.ShownName(), "Null Output");
    dlg.OnCommand(IDC_PREVIOUS);
    EXPECT_EQ(dlg.deviceId, 0);
    qobject_cast<QPushButton*>(dlg.GetDlgItem(IDC_NEXT))->click();
    dlg.OnCommand(IDC_NEXT);
    EXPECT_EQ(dlg.findChild<QLabel*>("devicename")->text(), "USB Headset");
    dlg.OnCommand(IDC_NEXT);
    EXPECT_EQ(dlg.deviceId, 2);
    dlg.OnCommand(smalldlg::IDOK);
    EXPECT_EQ(wDevice, 2);
    EXPECT_EQ(ReadIniInt("WAVE", "WaveOutDev"), 2);

    WaveDevDlg cancelled(nullptr, &wDevice);
    EXPECT_EQ(cancelled.deviceId, 2); // read again from the settings file
    cancelled.OnCommand(IDC_PREVIOUS);
    cancelled.OnCommand(smalldlg::IDCANCEL);
    EXPECT_EQ(wDevice, 2);
    EXPECT_EQ(ReadIniInt("WAVE", "WaveOutDev"), 2);
}

TEST_F(SmallDialogs, WaveDevicesWithoutDevicesOrWithAStrayNumberShowsNone) {
    std::uint16_t wDevice = 9;
    {
        Devices none({});
        WaveDevDlg dlg(nullptr, &wDevice);
        EXPECT_EQ(dlg.ShownName(), "None.");
        dlg.OnCommand(IDC_NEXT);
        dlg.OnCommand(smalldlg::IDOK);
        EXPECT_EQ(wDevice, 0);
        EXPECT_STREQ(ReadIni("WAVE", "WaveOutDev"), "0");
    }
    WriteIni("WAVE", "WaveOutDev", "7");
    Devices two({"A", "B"});
    WaveDevDlg dlg(nullptr, &wDevice);
    EXPECT_EQ(dlg.ShownName(), "None.");
    dlg.OnCommand(IDC_NEXT);
    EXPECT_EQ(dlg.deviceId, 7);
    dlg.OnCommand(IDC_PREVIOUS);
    EXPECT_EQ(dlg.deviceId, 6);
}

TEST_F(SmallDialogs, SelectCsoundWritesEachChoiceAtOnce) {
    INISTRUCT ini{};
    ini.nCSoundVer = 2;
    std::strcpy(ini.szCsoundPath, "/usr/bin/csound");
    SelectCsndDlg dlg(nullptr, ini);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(dlg.GetDlgItem(IDC_WINVERSION))->isChecked());
    EXPECT_TRUE(Edit(dlg, IDC_CSOUNDPATH)->isReadOnly());
    qobject_cast<QRadioButton*>(dlg.GetDlgItem(IDC_DOSVERSION))->click();
    EXPECT_EQ(int{ini.nCSoundVer}, 1);
    EXPECT_STREQ(ReadIni("PREFERENCES", "csoundver"), "1");

    const std::string szProgram = t.root() + "/csound6";
    testutil::WriteFile(szProgram, "");
    std::optional<FileDialogAnswer> answer;
    const FileDialogHandler old =
        SetFileDialogHandler([&](const FileDialogRequest&) { return answer; });
    dlg.OnCommand(IDC_BROWSECSOUND); // cancelled
    EXPECT_STREQ(ini.szCsoundPath, "/usr/bin/csound");
    answer = FileDialogAnswer{szProgram, 0};
    dlg.OnCommand(IDC_BROWSECSOUND);
    SetFileDialogHandler(old);
    EXPECT_EQ(std::string(ini.szCsoundPath), szProgram);
    EXPECT_EQ(std::string(ReadIni("CSOUND", "csound path")), szProgram);
    EXPECT_EQ(Edit(dlg, IDC_CSOUNDPATH)->text().toStdString(), szProgram);
    dlg.reject();
    EXPECT_EQ(dlg.result(), 1);
}

TEST_F(SmallDialogs, RenameNeverReplacesAndRefreshesEitherWay) {
    INISTRUCT ini{};
    std::strcpy(ini.szSFDIR, (t.root() + "/").c_str());
    const std::string mix = t.root() + "/mix.wav", take = t.root() + "/take.wav";
    testutil::WriteFile(mix, "MIX");
    testutil::WriteFile(take, "TAKE");
    int nRefreshes = 0;
    RenameDlg dlg(nullptr, ini, 3, "mix.wav", [&] { ++nRefreshes; });
    EXPECT_EQ(Edit(dlg, IDC_OLDNAME)->text(), "mix.wav");
    Edit(dlg, IDC_NEWNAME)->setText("take.wav");
    dlg.OnCommand(smalldlg::IDOK);
    EXPECT_EQ(nRefreshes, 1);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(testutil::ReadFile(mix), "MIX");
    EXPECT_EQ(testutil::ReadFile(take), "TAKE");

    RenameDlg ok(nullptr, ini, 3, "mix.wav", [&] { ++nRefreshes; });
    Edit(ok, IDC_NEWNAME)->setText("final.wav");
    ok.OnCommand(smalldlg::IDOK);
    EXPECT_TRUE(PathExists(t.root() + "/final.wav"));
    EXPECT_FALSE(PathExists(mix));

    RenameDlg cancelled(nullptr, ini, 3, "final.wav", [&] { ++nRefreshes; });
    Edit(cancelled, IDC_NEWNAME)->setText("other.wav");
    cancelled.reject();
    EXPECT_EQ(nRefreshes, 2);
    EXPECT_TRUE(PathExists(t.root() + "/final.wav"));
}

TEST_F(SmallDialogs, AboutShowsTheSkinsAboutPicture) {
    QImage skin(306, 281, QImage::Format_RGB32);
    skin.fill(Qt::blue);
    skin.setPixel(3, 105 + 4, qRgb(255, 0, 0));
    AboutDlg dlg(nullptr, &skin);
    EXPECT_TRUE(dlg.windowTitle().startsWith("Tonsmith32 V3.3"));
    const QImage shot = dlg.grab().toImage();
    EXPECT_EQ(shot.pixel(3, 4), qRgb(255, 0, 0));
    EXPECT_EQ(shot.pixel(10, 10), qRgb(0, 0, 255));
}
