// The Orc/Sco, MIDI and Display pages.
#include "dialogs/prefpages.h"
#include "dialogs/textfields.h"

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

// A check box that switches an option with a value greys the value's box
// while off; returns the state for the flag.
int FlagWithBox(DlgPage* hDlg, int nCheckId, int nBoxId) {
    const int nState = IsDlgButtonChecked(hDlg, nCheckId);
    EnableDlgItem(hDlg, nBoxId, nState != 0);
    return nState;
}

void OrcScoCommand(DlgPage* hDlg, INISTRUCT* lpLocal, int nId) {
    const int nState = IsDlgButtonChecked(hDlg, nId);
    switch (nId) {
    case 600:
        lpLocal->nITimeOnly = nState;
        break;
    case 601:
        lpLocal->nOrcSRateCheck = FlagWithBox(hDlg, 601, 602);
        break;
    case 603:
        lpLocal->nOrcKRateCheck = FlagWithBox(hDlg, 603, 604);
        break;
    case 605:
        lpLocal->nVerboseOrcCheck = nState;
        break;
    case 606:
        lpLocal->nScoScotCheck = nState;
        break;
    case 607:
        lpLocal->nScoExtractCheck = FlagWithBox(hDlg, 607, 610);
        break;
    case 608:
        lpLocal->nScoTempCheck = FlagWithBox(hDlg, 608, 609);
        break;
    default:
        break;
    }
}

void MIDICommand(DlgPage* hDlg, INISTRUCT* lpLocal, int nId) {
    switch (nId) {
    case 400:
        lpLocal->nMidiInFileCheck = FlagWithBox(hDlg, 400, 401);
        break;
    case 403:
        lpLocal->nMidiSusCheck = FlagWithBox(hDlg, 403, 404);
        break;
    case 405:
        lpLocal->nMidiTerminate = IsDlgButtonChecked(hDlg, 405);
        break;
    default:
        break;
    }
}

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
} // namespace

DlgPage* CreateOrcScoPage(TabFrame* frame, INISTRUCT* lpLocal) {
    DlgPage* hDlg = frame->AddPage("Orc/Sco", 8);
    hDlg->Build(kOrcScoTab);
    CheckDlgButton(hDlg, 600, lpLocal->nITimeOnly);
    CheckDlgButton(hDlg, 601, lpLocal->nOrcSRateCheck);
    CheckDlgButton(hDlg, 603, lpLocal->nOrcKRateCheck);
    CheckDlgButton(hDlg, 605, lpLocal->nVerboseOrcCheck);
    CheckDlgButton(hDlg, 606, lpLocal->nScoScotCheck);
    CheckDlgButton(hDlg, 607, lpLocal->nScoExtractCheck);
    CheckDlgButton(hDlg, 608, lpLocal->nScoTempCheck);
    EnableDlgItem(hDlg, 602, lpLocal->nOrcSRateCheck != 0);
    EnableDlgItem(hDlg, 604, lpLocal->nOrcKRateCheck != 0);
    EnableDlgItem(hDlg, 610, lpLocal->nScoExtractCheck != 0);
    EnableDlgItem(hDlg, 609, lpLocal->nScoTempCheck != 0);
    SetDlgItemText(hDlg, 602, NumberText(lpLocal->nOrcSrate));
    SetDlgItemText(hDlg, 604, NumberText(lpLocal->nOrcKrate));
    SetDlgItemText(hDlg, 610, FieldText(lpLocal->szScoExtract));
    SetDlgItemText(hDlg, 609, NumberText(lpLocal->nScoTempo));
    hDlg->onCommand = [hDlg, lpLocal](int nId) { OrcScoCommand(hDlg, lpLocal, nId); };
    return hDlg;
}

DlgPage* CreateMIDIPage(TabFrame* frame, INISTRUCT* lpLocal) {
    DlgPage* hDlg = frame->AddPage("MIDI", 8);
    hDlg->Build(kMidiTab);
    CheckDlgButton(hDlg, 400, lpLocal->nMidiInFileCheck);
    CheckDlgButton(hDlg, 403, lpLocal->nMidiSusCheck);
    CheckDlgButton(hDlg, 405, lpLocal->nMidiTerminate);
    EnableDlgItem(hDlg, 401, lpLocal->nMidiInFileCheck != 0);
    EnableDlgItem(hDlg, 404, lpLocal->nMidiSusCheck != 0);
    SetDlgItemText(hDlg, 401, FieldText(lpLocal->szMidiInFile));
    SetDlgItemText(hDlg, 404, NumberText(lpLocal->nMidiSus));
    hDlg->onCommand = [hDlg, lpLocal](int nId) { MIDICommand(hDlg, lpLocal, nId); };
    return hDlg;
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
