#include "dialogs/tab.h"

#include "dialogs/prefpages.h"
#include "dialogs/tabframe.h"
#include "dialogs/textfields.h"
#include "platform/messagebox.h"
#include "settings/ini.h"

#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <cstddef>
#include <cstring>

namespace {
enum { PAGE_PATH, PAGE_FILE, PAGE_ORCSCO, PAGE_MIDI, PAGE_DISP };
enum class Conv { Dir, Text, Long };

struct TextBox {
    int nPage;
    int nId;
    std::size_t nOffset;
    std::size_t nCapacity;
    Conv conv;
    const char* szName;
};

#define FIELD(f) offsetof(INISTRUCT, f), sizeof(INISTRUCT::f)
const TextBox kTextBoxes[] = {
    {PAGE_PATH, 206, FIELD(szOrcDir), Conv::Dir, "Orchestra Directory"},
    {PAGE_PATH, 204, FIELD(szScoreDir), Conv::Dir, "Score Directory"},
    {PAGE_PATH, 202, FIELD(szSFDIR), Conv::Dir, "Sound Output Directory"},
    {PAGE_PATH, 200, FIELD(szSSDIR), Conv::Dir, "Sound Source Directory"},
    {PAGE_PATH, 212, FIELD(szSADIR), Conv::Dir, "Analysis Output Directory"},
    {PAGE_FILE, 313, FIELD(szOutputFilename), Conv::Text, "Output Filename"},
    {PAGE_FILE, 311, FIELD(nHardwareBuffer), Conv::Long, nullptr},
    {PAGE_FILE, 312, FIELD(nSoftwareBuffer), Conv::Long, nullptr},
    {PAGE_ORCSCO, 602, FIELD(nOrcSrate), Conv::Long, nullptr},
    {PAGE_ORCSCO, 604, FIELD(nOrcKrate), Conv::Long, nullptr},
    {PAGE_ORCSCO, 610, FIELD(szScoExtract), Conv::Text, "extract file name"},
    {PAGE_ORCSCO, 609, FIELD(nScoTempo), Conv::Long, nullptr},
    {PAGE_MIDI, 401, FIELD(szMidiInFile), Conv::Text, "MIDI file name"},
    {PAGE_MIDI, 404, FIELD(nMidiSus), Conv::Long, nullptr},
};
#undef FIELD
static_assert(sizeof(INISTRUCT::nMidiSus) == sizeof(LONG32));

struct PrefsModule {
    QPointer<TabFrame> hwndTabDlg;
    INISTRUCT LocalIniStruct{};
    INISTRUCT* lpExtIniStruct = nullptr;
    std::function<void()> refreshLists;
};
PrefsModule& Module() {
    static PrefsModule module;
    return module;
}

// Bytes a box's text needs in its field, with the closing slash a directory gets.
std::size_t NeededBytes(const TextBox& box, const QString& text) {
    std::size_t n = FieldBytes(text);
    if (box.conv == Conv::Dir && !text.endsWith(QLatin1Char('/')))
        ++n;
    return n;
}

// Refuses text that would not fit its field, showing the box and saying why.
bool CheckTextBoxes(TabFrame* frame) {
    for (const TextBox& box : kTextBoxes) {
        if (box.conv == Conv::Long)
            continue;
        const QString text = GetDlgItemText(frame->Page(box.nPage), box.nId);
        if (NeededBytes(box, text) < box.nCapacity && !text.contains(QChar(0)))
            continue;
        frame->Tabs()->Bar()->setCurrentIndex(box.nPage);
        if (QWidget* edit = GetDlgItem(frame->Page(box.nPage), box.nId))
            edit->setFocus();
        const std::string msg =
            "The " + std::string(box.szName) + " is too long: it can hold at most " +
            std::to_string(box.nCapacity - 1) +
            (box.conv == Conv::Dir ? " bytes with its closing slash." : " bytes.") +
            " Nothing was saved.";
        MessageBox(msg, "Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

// Copies the page edit boxes into the working copy; greyed boxes count too.
int ReadTextBoxes(TabFrame* frame, INISTRUCT& local) {
    auto* base = reinterpret_cast<char*>(&local);
    for (const TextBox& box : kTextBoxes) {
        const QString text = GetDlgItemText(frame->Page(box.nPage), box.nId);
        char* lpField = base + box.nOffset;
        if (box.conv == Conv::Long) {
            const LONG32 n = AtoL(text);
            std::memcpy(lpField, &n, sizeof n);
            continue;
        }
        char szBuffer[sizeof(INISTRUCT::szSFDIR) + 1] = {};
        StoreText(szBuffer, box.nCapacity, text);
        if (box.conv == Conv::Dir)
            SlashPath(szBuffer);
        std::memcpy(lpField, szBuffer, box.nCapacity);
    }
    return 0;
}

void OnOk() {
    PrefsModule& m = Module();
    TabFrame* frame = m.hwndTabDlg;
    if (!frame || !CheckTextBoxes(frame))
        return;
    ReadTextBoxes(frame, m.LocalIniStruct);
    CopyPreferenceFields(*m.lpExtIniStruct, m.LocalIniStruct);
    prefs::RefreshIni(&m.LocalIniStruct);
    if (m.refreshLists)
        m.refreshLists();
    m.hwndTabDlg = nullptr;
    frame->hide();
    frame->deleteLater();
}

void OnCancel() {
    PrefsModule& m = Module();
    if (TabFrame* frame = m.hwndTabDlg) {
        m.hwndTabDlg = nullptr;
        frame->hide();
        frame->deleteLater();
    }
}
} // namespace

void CopyPreferenceFields(INISTRUCT& dst, const INISTRUCT& src) {
    auto text = [](auto& d, const auto& s) { std::memcpy(d, s, sizeof d); };
    text(dst.szOrcDir, src.szOrcDir);
    text(dst.szScoreDir, src.szScoreDir);
    text(dst.szSFDIR, src.szSFDIR);
    text(dst.szSSDIR, src.szSSDIR);
    text(dst.szSADIR, src.szSADIR);
    dst.nScoreMode = src.nScoreMode;
    dst.nSFMode = src.nSFMode;
    dst.nPrefScreen = src.nPrefScreen;
    dst.nShowCmdLine = src.nShowCmdLine;
    dst.nShowAnalysis = src.nShowAnalysis;
    dst.nSoundFormat = src.nSoundFormat;
    dst.nSoundType = src.nSoundType;
    text(dst.szOutputFilename, src.szOutputFilename);
    dst.nOutputFilenameCheck = src.nOutputFilenameCheck;
    dst.nHardwareBufferCheck = src.nHardwareBufferCheck;
    dst.nSoftwareBufferCheck = src.nSoftwareBufferCheck;
    dst.nRewriteHeaderCheck = src.nRewriteHeaderCheck;
    dst.nDeferFileLoad = src.nDeferFileLoad;
    dst.nHardwareBuffer = src.nHardwareBuffer;
    dst.nSoftwareBuffer = src.nSoftwareBuffer;
    dst.nITimeOnly = src.nITimeOnly;
    dst.nOrcSRateCheck = src.nOrcSRateCheck;
    dst.nOrcSrate = src.nOrcSrate;
    dst.nOrcKRateCheck = src.nOrcKRateCheck;
    dst.nOrcKrate = src.nOrcKrate;
    dst.nVerboseOrcCheck = src.nVerboseOrcCheck;
    dst.nScoScotCheck = src.nScoScotCheck;
    dst.nScoExtractCheck = src.nScoExtractCheck;
    text(dst.szScoExtract, src.szScoExtract);
    dst.nScoTempCheck = src.nScoTempCheck;
    dst.nScoTempo = src.nScoTempo;
    dst.nMidiInFileCheck = src.nMidiInFileCheck;
    text(dst.szMidiInFile, src.szMidiInFile);
    dst.nMidiSusCheck = src.nMidiSusCheck;
    dst.nMidiSus = src.nMidiSus;
    dst.nMidiTerminate = src.nMidiTerminate;
    dst.nWarningsCheck = src.nWarningsCheck;
    dst.nDisplay = src.nDisplay;
    dst.nHeartbeat = src.nHeartbeat;
}

void OpenPreferences(QWidget* hwndParent, INISTRUCT* lpIniStruct,
                     std::function<void()> refreshLists) {
    PrefsModule& m = Module();
    if (TabFrame* open = m.hwndTabDlg) {
        open->show();
        open->raise();
        open->activateWindow();
        return;
    }
    // The copy is complete before any page exists: each page fills its
    // controls from it when it is created.
    m.lpExtIniStruct = lpIniStruct;
    m.LocalIniStruct = *lpIniStruct;
    m.refreshLists = std::move(refreshLists);

    auto* frame =
        new TabFrame(hwndParent, QStringLiteral("Tonsmith32 Preferences"), "OK", "Cancel");
    m.hwndTabDlg = frame;
    CreatePathPage(frame, &m.LocalIniStruct);
    CreateFilePage(frame, &m.LocalIniStruct);
    CreateOrcScoPage(frame, &m.LocalIniStruct);
    CreateMIDIPage(frame, &m.LocalIniStruct);
    CreateDispPage(frame, &m.LocalIniStruct);
    frame->FinishButtons();
    frame->onOk = OnOk;
    frame->onCancel = OnCancel;
    frame->ShowFirstPage(PAGE_PATH);
    frame->show();
}

QDialog* PreferencesDialog() {
    return Module().hwndTabDlg.data();
}
