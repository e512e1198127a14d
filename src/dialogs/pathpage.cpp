// The Directories page.
#include "dialogs/prefpages.h"

namespace {
constexpr int kDir = sizeof(INISTRUCT::szOrcDir) - 1;
constexpr int kSFDir = sizeof(INISTRUCT::szSFDIR) - 1;

const CtlDef kPathTab[] = {
    {206, CtlKind::Edit, "", 14, 22, 140, 13, 0, kDir, false, "Orchestra Directory"},
    {207, CtlKind::Label, "Orchestra Directory", 9, 12, 66, 8},
    {205, CtlKind::Label, "Score Directory", 9, 40, 66, 8},
    {204, CtlKind::Edit, "", 14, 50, 140, 13, 0, kDir, false, "Score Directory"},
    {210, CtlKind::Push, "Browse", 172, 57, 50, 14, 0, 0, true},
    {208, CtlKind::Check, "Use Orchestra Directory for Scores", 45, 155, 135, 10, 0, 0, true},
    {209, CtlKind::Check, "Use Output Directory for Sound Source", 45, 173, 145, 11, 0, 0, true},
    {201, CtlKind::Label, "Sound Source Directory", 9, 69, 110, 8},
    {200, CtlKind::Edit, "", 14, 80, 140, 13, 0, kDir, false, "Sound Source Directory"},
    {203, CtlKind::Label, "Sound Output Directory", 9, 98, 110, 8},
    {202, CtlKind::Edit, "", 14, 108, 140, 13, 0, kSFDir, false, "Sound Output Directory"},
    {213, CtlKind::Label, "Analysis Output Directory", 10, 128, 110, 8},
    {212, CtlKind::Edit, "", 14, 138, 140, 13, 0, kDir, false, "Analysis Output Directory"},
    {211, CtlKind::Check, "Show Command Line on Compile", 45, 160, 138, 10},
    {214, CtlKind::Check, "Show Analysis File Directories", 45, 175, 138, 10},
};

void PathCommand(DlgPage* hDlg, INISTRUCT* lpLocal, int nId) {
    const int nState = IsDlgButtonChecked(hDlg, nId);
    switch (nId) {
    case 208:
        lpLocal->nScoreMode = nState;
        EnableDlgItem(hDlg, 204, !nState);
        EnableDlgItem(hDlg, 205, !nState);
        break;
    case 209:
        lpLocal->nSFMode = nState;
        EnableDlgItem(hDlg, 200, !nState);
        EnableDlgItem(hDlg, 201, !nState);
        break;
    case 211:
        lpLocal->nShowCmdLine = nState ? 2 : 1;
        break;
    case 214:
        lpLocal->nShowAnalysis = nState ? 2 : 1;
        break;
    default:
        break;
    }
}
} // namespace

DlgPage* CreatePathPage(TabFrame* frame, INISTRUCT* lpLocal) {
    DlgPage* hDlg = frame->AddPage("Directories", 8);
    hDlg->Build(kPathTab);
    CheckDlgButton(hDlg, 209, lpLocal->nSFMode);
    CheckDlgButton(hDlg, 208, lpLocal->nScoreMode);
    if (lpLocal->nScoreMode)
        EnableDlgItem(hDlg, 204, false);
    if (lpLocal->nSFMode)
        EnableDlgItem(hDlg, 200, false);
    CheckDlgButton(hDlg, 211, lpLocal->nShowCmdLine == 2);
    CheckDlgButton(hDlg, 214, lpLocal->nShowAnalysis == 2);
    FillPage(hDlg, PAGE_PATH, lpLocal, {});
    hDlg->onCommand = [hDlg, lpLocal](int nId) { PathCommand(hDlg, lpLocal, nId); };
    return hDlg;
}
