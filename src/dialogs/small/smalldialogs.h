// The small modal dialogs of the main window: About, Wave Devices, New
// Orchestra and New Score, Select CSound Executable and Rename. Each is a
// class built in the state its dialog procedure gives it on opening; the
// Run... functions show one modally over the main window.
#pragma once

#include "dialogs/small/smalldlg.h"
#include "settings/inistruct.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QLabel;

// Control ids of the templates.
enum : int {
    IDC_ORCNAME = 201,
    IDC_SCONAME = 202,
    IDC_OLDNAME = 203,
    IDC_NEWNAME = 204,
    IDC_DOSVERSION = 205,
    IDC_WINVERSION = 206,
    IDC_CSOUNDPATH = 207,
    IDC_BROWSECSOUND = 208,
    IDC_PREVIOUS = 209,
    IDC_NEXT = 210,
};

inline constexpr char szAboutTitle[] = "Tonsmith32 V3.3 - Csound front end";

// The About box: the skin's About picture under an OK button.
class AboutDlg : public smalldlg::SmallDialog {
public:
    // skin may be null: then the picture is left out.
    AboutDlg(QWidget* hWndOwner, const QImage* skin);
    void OnCommand(int nId) override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_skin;
};

// Names of the wave-output devices, numbered from 0: the wave-device layer's,
// unless a test installs a source of its own.
using WaveOutDeviceSource = std::function<std::vector<std::string>()>;
WaveOutDeviceSource SetWaveOutDeviceSource(WaveOutDeviceSource source);
std::vector<std::string> WaveOutDeviceNames();

// Wave Devices: steps through the output devices; OK keeps the one shown.
class WaveDevDlg : public smalldlg::SmallDialog {
public:
    // OK stores the device in *pwWaveDeviceId (the playback record's device).
    WaveDevDlg(QWidget* hWndOwner, std::uint16_t* pwWaveDeviceId);
    void OnCommand(int nId) override;

    int deviceId = 0;
    int numDevices = 0;
    // The name shown for deviceId.
    QString ShownName() const;

private:
    void ShowName();
    std::uint16_t* m_pwWaveDeviceId;
    std::vector<std::string> m_names; // at most 16
    QLabel* m_name = nullptr;
};

// New Orchestra (bScore false) and New Score: OK puts the typed name into
// szNewFile (256 bytes); Cancel empties it.
class NewFileDlg : public smalldlg::SmallDialog {
public:
    NewFileDlg(QWidget* hWndOwner, bool bScore, char* szNewFile);
    void OnCommand(int nId) override;

private:
    int m_nEditId;
    char* m_szNewFile;
};

// Select CSound Executable: the build radio buttons and Browse take effect
// at once, in the settings record and the settings file.
class SelectCsndDlg : public smalldlg::SmallDialog {
public:
    SelectCsndDlg(QWidget* hWndOwner, INISTRUCT& ini);
    void OnCommand(int nId) override;

private:
    INISTRUCT& m_ini;
};

// Rename: shows the selected entry of list nrenameswitch and renames it in
// that list's folder to the typed name, never replacing another file.
class RenameDlg : public smalldlg::SmallDialog {
public:
    RenameDlg(QWidget* hWndOwner, INISTRUCT& ini, int nrenameswitch, const std::string& szOldName,
              std::function<void()> refreshLists);
    void OnCommand(int nId) override;

private:
    INISTRUCT& m_ini;
    int m_nSwitch;
    std::string m_szOldName;
    std::function<void()> m_refresh;
};

// Modal runs, as the commands open them; all return 1.
template <class Dialog, class... Args> int RunModal(Args&&... args) {
    Dialog dlg(std::forward<Args>(args)...);
    dlg.exec();
    return 1;
}
inline int RunAboutDialog(QWidget* hWndOwner, const QImage* skin) {
    return RunModal<AboutDlg>(hWndOwner, skin);
}
inline int RunWaveDevDialog(QWidget* hWndOwner, std::uint16_t* pwWaveDeviceId) {
    return RunModal<WaveDevDlg>(hWndOwner, pwWaveDeviceId);
}
inline int RunNewFileDialog(QWidget* hWndOwner, bool bScore, char* szNewFile) {
    return RunModal<NewFileDlg>(hWndOwner, bScore, szNewFile);
}
inline int RunSelectCsndDialog(QWidget* hWndOwner, INISTRUCT& ini) {
    return RunModal<SelectCsndDlg>(hWndOwner, ini);
}
inline int RunRenameDialog(QWidget* hWndOwner, INISTRUCT& ini, int nrenameswitch,
                           const std::string& szOldName, std::function<void()> refreshLists) {
    return RunModal<RenameDlg>(hWndOwner, ini, nrenameswitch, szOldName, std::move(refreshLists));
}
