// The Sound page: output format, sample type, output file and buffers.
#include "dialogs/prefpages.h"

namespace {
constexpr int kName = sizeof(INISTRUCT::szOutputFilename) - 1;
constexpr int kFormatGroup = 1;
constexpr int kTypeGroup = 2;

const CtlDef kFileTab[] = {
    {-1, CtlKind::Line, "", 0, 100, 234, 2},
    {IDC_NOSOUND, CtlKind::RadioLeft, "No Sound", 61, 10, 44, 12, kFormatGroup},
    {IDC_AIFF, CtlKind::RadioLeft, "AIFF Output", 54, 25, 51, 12, kFormatGroup},
    {IDC_WAVE, CtlKind::RadioLeft, "Wave Output", 50, 40, 55, 12, kFormatGroup},
    {IDC_NOHEADER, CtlKind::RadioLeft, "No Header Output", 35, 55, 70, 12, kFormatGroup},
    {IDC_8BIT, CtlKind::Radio, "8-bit Signed Output", 126, 10, 74, 12, kTypeGroup},
    {IDC_ALAW, CtlKind::Radio, " ALAW Output", 126, 25, 58, 12, kTypeGroup},
    {IDC_ULAW, CtlKind::Radio, " ULAW Output", 126, 40, 60, 12, kTypeGroup},
    {IDC_SHORTINT, CtlKind::Radio, " Short Int Output", 126, 55, 65, 12, kTypeGroup},
    {IDC_LONGINT, CtlKind::Radio, " Long Int Output", 126, 70, 71, 12, kTypeGroup},
    {IDC_FLOAT, CtlKind::Radio, " Float Output", 126, 85, 60, 12, kTypeGroup},
    {310, CtlKind::Check, "Output Filename", 40, 115, 65, 12},
    {313, CtlKind::Edit, "", 109, 115, 73, 12, 0, kName, false, "Output file name"},
    {314, CtlKind::Check, "Rewrite Header Contiually (WAV/AIFF)", 40, 161, 150, 12},
    {315, CtlKind::Check, "Hardware Sample Frames", 40, 130, 94, 12},
    {316, CtlKind::Check, "Software Sample Frames", 40, 145, 91, 12},
    {317, CtlKind::Check, "Defer Soundfiles Loads Until Performance", 40, 177, 147, 12},
    {311, CtlKind::Edit, "", 135, 130, 47, 12, 0, kNumberBoxChars, false, "Hardware buffer frames"},
    {312, CtlKind::Edit, "", 135, 145, 47, 12, 0, kNumberBoxChars, false, "Software buffer frames"},
};

const PageFlag kFileFlags[] = {
    PAGE_FLAG(310, nOutputFilenameCheck, 313), PAGE_FLAG(314, nRewriteHeaderCheck, 0),
    PAGE_FLAG(315, nHardwareBufferCheck, 311), PAGE_FLAG(316, nSoftwareBufferCheck, 312),
    PAGE_FLAG(317, nDeferFileLoad, 0),
};

// AIFF and Wave files take only 8-bit signed, short and long integer samples.
void GreyHeaderlessTypes(DlgPage* hDlg, bool bGrey) {
    EnableDlgItem(hDlg, IDC_ALAW, !bGrey);
    EnableDlgItem(hDlg, IDC_ULAW, !bGrey);
    EnableDlgItem(hDlg, IDC_FLOAT, !bGrey);
}

void FileCommand(DlgPage* hDlg, INISTRUCT* lpLocal, int nId) {
    switch (nId) {
    case IDC_NOSOUND:
    case IDC_NOHEADER:
        GreyHeaderlessTypes(hDlg, false);
        lpLocal->nSoundFormat = nId;
        break;
    case IDC_AIFF:
    case IDC_WAVE:
        CheckDlgButton(hDlg, IDC_SHORTINT, 1);
        lpLocal->nSoundType = IDC_SHORTINT;
        GreyHeaderlessTypes(hDlg, true);
        lpLocal->nSoundFormat = nId;
        break;
    case IDC_8BIT:
    case IDC_ALAW:
    case IDC_ULAW:
    case IDC_SHORTINT:
    case IDC_LONGINT:
    case IDC_FLOAT:
        lpLocal->nSoundType = nId;
        break;
    default:
        ClickFlag(hDlg, lpLocal, kFileFlags, nId);
        break;
    }
}
} // namespace

DlgPage* CreateFilePage(TabFrame* frame, INISTRUCT* lpLocal) {
    DlgPage* hDlg = frame->AddPage("Sound", 8);
    hDlg->Build(kFileTab);
    // A value outside a group's ids (a hand-edited file) checks nothing.
    if (lpLocal->nSoundFormat >= IDC_NOSOUND && lpLocal->nSoundFormat <= IDC_NOHEADER)
        CheckDlgButton(hDlg, lpLocal->nSoundFormat, 1);
    if (lpLocal->nSoundType >= IDC_8BIT && lpLocal->nSoundType <= IDC_FLOAT)
        CheckDlgButton(hDlg, lpLocal->nSoundType, 1);
    if (lpLocal->nSoundFormat == IDC_AIFF || lpLocal->nSoundFormat == IDC_WAVE)
        GreyHeaderlessTypes(hDlg, true);
    FillPage(hDlg, PAGE_FILE, lpLocal, kFileFlags);
    hDlg->onCommand = [hDlg, lpLocal](int nId) { FileCommand(hDlg, lpLocal, nId); };
    return hDlg;
}
