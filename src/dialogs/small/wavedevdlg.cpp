#include "dialogs/small/smalldialogs.h"

#include "platform/sound/wavedev.h"
#include "settings/ini.h"

#include <QFrame>
#include <QLabel>
#include <algorithm>
#include <utility>

namespace {
// The device table holds 16 entries; names are at most 31 characters.
constexpr int nMaxDevices = 16;
constexpr std::size_t nMaxName = 31;

WaveOutDeviceSource& SourceSlot() {
    static WaveOutDeviceSource source;
    return source;
}

// A bevel line of the sunken name box.
void AddShade(smalldlg::SmallDialog* dlg, int x, int y, int cx, int cy, bool bVertical) {
    auto* line = new QFrame(dlg);
    line->setFrameShape(bVertical ? QFrame::VLine : QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(dlg->Map(x, y, cx, cy));
    line->setAccessibleName(QStringLiteral("Device name frame"));
}
} // namespace

WaveOutDeviceSource SetWaveOutDeviceSource(WaveOutDeviceSource source) {
    return std::exchange(SourceSlot(), std::move(source));
}

std::vector<std::string> WaveOutDeviceNames() {
    if (SourceSlot())
        return SourceSlot()();
    std::vector<std::string> names;
    const unsigned n = waveOutGetNumDevs();
    for (unsigned d = 0; d < n; ++d)
        names.push_back(WaveOutDeviceName(d));
    return names;
}

WaveDevDlg::WaveDevDlg(QWidget* hWndOwner, std::uint16_t* pwWaveDeviceId)
    : SmallDialog(hWndOwner, "Wave Devices", 4, 17, 292, 46, false),
      m_pwWaveDeviceId(pwWaveDeviceId) {
    AddButton(smalldlg::IDOK, "OK", 236, 7, 50, 14, true);
    AddButton(smalldlg::IDCANCEL, "Cancel", 236, 25, 50, 14, false);
    AddButton(IDC_NEXT, "Next", 5, 9, 33, 12, false);
    AddButton(IDC_PREVIOUS, "Previous", 5, 26, 33, 12, false);
    AddShade(this, 54, 16, 168, 2, false);
    AddShade(this, 54, 28, 169, 1, false);
    AddShade(this, 222, 16, 2, 13, true);
    AddShade(this, 54, 17, 2, 12, true);

    deviceId = ReadIniInt("WAVE", "WaveOutDev");
    m_names = WaveOutDeviceNames();
    numDevices = static_cast<int>(m_names.size());
    if (m_names.size() > nMaxDevices)
        m_names.resize(nMaxDevices);
    for (std::string& s : m_names)
        if (s.size() > nMaxName)
            s.resize(nMaxName);

    m_name = new QLabel(this);
    m_name->setObjectName("devicename");
    m_name->setAccessibleName("Wave output device");
    m_name->setAutoFillBackground(true);
    const int nRight = Map(222, 16, 0, 0).left();
    m_name->setGeometry(125, 29, std::max(10, nRight - 125), m_name->fontMetrics().height());
    ShowName();
}

QString WaveDevDlg::ShownName() const {
    if (deviceId >= 0 && deviceId < static_cast<int>(m_names.size()))
        return QString::fromUtf8(m_names[static_cast<std::size_t>(deviceId)].c_str());
    // No device, or a stored number no device has.
    return QStringLiteral("None.");
}

void WaveDevDlg::ShowName() {
    m_name->setText(ShownName());
    m_name->setAccessibleDescription(m_name->text());
}

void WaveDevDlg::OnCommand(int nId) {
    switch (nId) {
    case IDC_PREVIOUS:
        if (deviceId > 0)
            --deviceId;
        ShowName();
        break;
    case IDC_NEXT:
        if (deviceId < numDevices - 1 && deviceId < nMaxDevices - 1)
            ++deviceId;
        ShowName();
        break;
    case smalldlg::IDOK:
        if (m_pwWaveDeviceId)
            *m_pwWaveDeviceId = static_cast<std::uint16_t>(deviceId);
        WriteIni("WAVE", "WaveOutDev", std::to_string(deviceId).c_str());
        EndDialog();
        break;
    case smalldlg::IDCANCEL:
        EndDialog();
        break;
    default:
        break;
    }
}
