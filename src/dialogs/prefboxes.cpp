// The Preferences dialog's edit boxes and flag check boxes, each tied to its
// field of the working copy: filled when a page is made, flags kept at each
// click, boxes checked and read at OK.
#include "dialogs/prefpages.h"
#include "dialogs/textfields.h"
#include "settings/ini.h"

#include <cstring>

namespace {
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

int GetFlag(const INISTRUCT* lpLocal, const PageFlag& flag) {
    int nValue = 0;
    std::memcpy(&nValue, reinterpret_cast<const char*>(lpLocal) + flag.nOffset, sizeof nValue);
    return nValue;
}
} // namespace

void FillPage(DlgPage* hDlg, int nPage, const INISTRUCT* lpLocal, std::span<const PageFlag> flags) {
    for (const PageFlag& flag : flags) {
        const int nValue = GetFlag(lpLocal, flag);
        CheckDlgButton(hDlg, flag.nId, nValue);
        if (flag.nBoxId)
            EnableDlgItem(hDlg, flag.nBoxId, nValue != 0);
    }
    const char* base = reinterpret_cast<const char*>(lpLocal);
    for (const TextBox& box : kTextBoxes) {
        if (box.nPage != nPage)
            continue;
        if (box.conv == Conv::Long) {
            LONG32 n = 0;
            std::memcpy(&n, base + box.nOffset, sizeof n);
            SetDlgItemText(hDlg, box.nId, NumberText(n));
        } else {
            SetDlgItemText(hDlg, box.nId, FieldText(base + box.nOffset, box.nCapacity));
        }
    }
}

bool ClickFlag(DlgPage* hDlg, INISTRUCT* lpLocal, std::span<const PageFlag> flags, int nId) {
    for (const PageFlag& flag : flags) {
        if (flag.nId != nId)
            continue;
        const int nState = IsDlgButtonChecked(hDlg, nId);
        std::memcpy(reinterpret_cast<char*>(lpLocal) + flag.nOffset, &nState, sizeof nState);
        if (flag.nBoxId)
            EnableDlgItem(hDlg, flag.nBoxId, nState != 0);
        return true;
    }
    return false;
}

bool CheckPrefBoxes(TabFrame* frame) {
    for (const TextBox& box : kTextBoxes)
        if (box.conv != Conv::Long && !frame->CheckFieldBox(box.nPage, box.nId, box.nCapacity,
                                                            box.conv == Conv::Dir, box.szName))
            return false;
    return true;
}

void ReadPrefBoxes(TabFrame* frame, INISTRUCT& local) {
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
        std::memcpy(szBuffer, lpField, box.nCapacity); // untouched text keeps its bytes
        if (!StoreText(szBuffer, box.nCapacity, text))
            szBuffer[0] = '\0';
        const std::size_t nUsed = strnlen(szBuffer, box.nCapacity);
        std::memset(szBuffer + nUsed, 0, sizeof szBuffer - nUsed);
        if (box.conv == Conv::Dir)
            SlashPath(szBuffer);
        std::memcpy(lpField, szBuffer, box.nCapacity);
    }
}
