// The Orc/Sco, MIDI and Display pages.
#include "dialogs/prefpages.h"

namespace {
constexpr int kPath = sizeof(INISTRUCT::szScoExtract) - 1;
constexpr int kNum = kNumberBoxChars;

const CtlDef kOrcScoTab[] = {
    {-1, CtlKind::Line, "", 0, 100, 234, 2},
    {600, CtlKind::Check, "I Time Only", 40, 25, 49, 12},
    {601, CtlKind::Check, "Orchestra Sample Rate Override", 40, 39, 114, 12},
    {602, CtlKind::Edit, "", 158, 39, 39, 12, 0, kNum, false, "Orchestra sample rate"},
    {603, CtlKind::Check, "Orchestra Control Rate Override", 40, 53, 114, 12},
    {604, CtlKind::Edit, "", 158, 54, 39, 12, 0, kNum, false, "Orchestra control rate"},
    {605, CtlKind::Check, "Verbose Orchestra Translation", 40, 67, 115, 12},
    {-1, CtlKind::Group, "Orchestra Compile Options", 25, 10, 184, 75},
    {606, CtlKind::Check, "Score is in Scot format", 20, 129, 94, 12},
    {607, CtlKind::Check, "Extract from score.srt using extract file", 20, 143, 136, 12},
    {608, CtlKind::Check, "Score Tempo Overide", 20, 171, 84, 12},
    {609, CtlKind::Edit, "", 105, 172, 30, 11, 0, kNum, false, "Score tempo"},
    {610, CtlKind::Edit, "*No Extract File Selected*", 20, 156, 160, 12, 0, kPath, false,
     "Extract file name"},
    {-1, CtlKind::Group, "Score Options", 10, 110, 215, 83},
    {611, CtlKind::Push, "Browse", 185, 155, 31, 14, 0, 0, true},
};

const CtlDef kMidiTab[] = {
    {400, CtlKind::Check, "Use MIDI File for Input", 20, 32, 86, 12},
    {401, CtlKind::Edit, "*No Midi File Selected*", 20, 49, 128, 13, 0, kPath, false,
     "MIDI file name"},
    {402, CtlKind::Push, "Browse", 162, 39, 50, 14, 0, 0, true},
    {403, CtlKind::Check, "MIDI Sustain Pedal Threshold", 20, 128, 107, 12},
    {404, CtlKind::Edit, "", 134, 127, 25, 14, 0, kNum, false, "MIDI sustain pedal threshold"},
    {405, CtlKind::Check, "Terminate Performance at the end of the MIDI file", 20, 152, 176, 12},
    {-1, CtlKind::Line, "", 0, 100, 234, 2},
};

constexpr int kDisplayGroup = 1;
const CtlDef kDispTab[] = {
    {502, CtlKind::Check, "Note Amplitude ", 73, 31, 62, 12},
    {-1, CtlKind::Group, "Error Messages", 58, 14, 121, 70},
    {500, CtlKind::Check, "Out of Range", 73, 47, 60, 12},
    {501, CtlKind::Check, "Warnings", 73, 63, 60, 12},
    {IDC_NODISPLAY, CtlKind::Radio, "Suppress All Displays", 73, 156, 86, 12, kDisplayGroup},
    {IDC_ASCII, CtlKind::Radio, "Use Ascii Display", 73, 143, 69, 12, kDisplayGroup},
    {506, CtlKind::Check, "Print Heartbeat Character", 73, 171, 97, 12},
    {-1, CtlKind::Group, "Display Options", 57, 111, 124, 79},
    {-1, CtlKind::Line, "", 0, 100, 234, 2},
    {IDC_GRAPHIC, CtlKind::Radio, "Graphic Display", 73, 129, 68, 12, kDisplayGroup},
};

const PageFlag kOrcScoFlags[] = {
    PAGE_FLAG(600, nITimeOnly, 0),       PAGE_FLAG(601, nOrcSRateCheck, 602),
    PAGE_FLAG(603, nOrcKRateCheck, 604), PAGE_FLAG(605, nVerboseOrcCheck, 0),
    PAGE_FLAG(606, nScoScotCheck, 0),    PAGE_FLAG(607, nScoExtractCheck, 610),
    PAGE_FLAG(608, nScoTempCheck, 609),
};
const PageFlag kMidiFlags[] = {
    PAGE_FLAG(400, nMidiInFileCheck, 401),
    PAGE_FLAG(403, nMidiSusCheck, 404),
    PAGE_FLAG(405, nMidiTerminate, 0),
};

void DispCommand(DlgPage* hDlg, INISTRUCT* lpLocal, int nId) {
    const int nState = IsDlgButtonChecked(hDlg, nId);
    // The mask is kept by adding and subtracting at each click.
    const int nBit = nId == 502 ? 1 : nId == 500 ? 2 : nId == 501 ? 4 : 0;
    if (nBit) {
        lpLocal->nWarningsCheck += nState ? nBit : -nBit;
        return;
    }
    switch (nId) {
    case IDC_GRAPHIC:
    case IDC_ASCII:
    case IDC_NODISPLAY:
        lpLocal->nDisplay = nId;
        break;
    case 506:
        lpLocal->nHeartbeat = nState;
        break;
    default:
        break;
    }
}

// A page whose check boxes are all flags, each kept at its click.
DlgPage* CreateFlagPage(TabFrame* frame, const char* szTab, int nPage, std::span<const CtlDef> defs,
                        std::span<const PageFlag> flags, INISTRUCT* lpLocal) {
    DlgPage* hDlg = frame->AddPage(szTab, 8);
    hDlg->Build(defs);
    FillPage(hDlg, nPage, lpLocal, flags);
    hDlg->onCommand = [hDlg, lpLocal, flags](int nId) { ClickFlag(hDlg, lpLocal, flags, nId); };
    return hDlg;
}
} // namespace

DlgPage* CreateOrcScoPage(TabFrame* frame, INISTRUCT* lpLocal) {
    return CreateFlagPage(frame, "Orc/Sco", PAGE_ORCSCO, kOrcScoTab, kOrcScoFlags, lpLocal);
}

DlgPage* CreateMIDIPage(TabFrame* frame, INISTRUCT* lpLocal) {
    return CreateFlagPage(frame, "MIDI", PAGE_MIDI, kMidiTab, kMidiFlags, lpLocal);
}

DlgPage* CreateDispPage(TabFrame* frame, INISTRUCT* lpLocal) {
    DlgPage* hDlg = frame->AddPage("Display", 4);
    hDlg->Build(kDispTab);
    if (lpLocal->nDisplay >= IDC_GRAPHIC && lpLocal->nDisplay <= IDC_NODISPLAY)
        CheckDlgButton(hDlg, lpLocal->nDisplay, 1);
    CheckDlgButton(hDlg, 506, lpLocal->nHeartbeat);
    const int nMask = lpLocal->nWarningsCheck;
    if (nMask >= 0 && nMask <= 7) {
        CheckDlgButton(hDlg, 502, nMask & 1);
        CheckDlgButton(hDlg, 500, nMask & 2);
        CheckDlgButton(hDlg, 501, nMask & 4);
    }
    hDlg->onCommand = [hDlg, lpLocal](int nId) { DispCommand(hDlg, lpLocal, nId); };
    return hDlg;
}
