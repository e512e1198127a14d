#include "dialogs/analysispages.h"

#include "dialogs/textfields.h"

#include <vector>

namespace {
#define LPCF(f) offsetof(INISTRUCT, lpcStruct) + offsetof(LPC, f), sizeof(LPC::f)
#define HTRF(f) offsetof(INISTRUCT, htrStruct) + offsetof(HETRO, f), sizeof(HETRO::f)
#define PVCF(f) offsetof(INISTRUCT, pvcStruct) + offsetof(PVOC, f), sizeof(PVOC::f)
const AnalysisBox kBoxes[] = {
    {0, 200, 34, 22, 40, "Sample Rate", LPCF(srate)},
    {0, 202, 34, 50, 40, "Channels", LPCF(channel)},
    {0, 204, 34, 80, 40, "Begin Time", LPCF(begin)},
    {0, 206, 34, 110, 40, "Duration", LPCF(duration)},
    {0, 208, 120, 22, 40, "# Poles", LPCF(npoles)},
    {0, 210, 120, 50, 40, "Hopsize", LPCF(hopsize)},
    {0, 212, 120, 80, 100, "Comments", LPCF(string)},
    {0, 214, 120, 110, 40, "Min. CPS", LPCF(mincps)},
    {0, 216, 120, 140, 40, "Max. CPS", LPCF(maxcps)},
    {0, 218, 34, 140, 40, "Verbosity", LPCF(verbosity)},
    {0, 220, 34, 170, 100, "Output File Name", LPCF(szOutputFile)},
    {1, 300, 54, 22, 40, "Sample Rate", HTRF(srate)},
    {1, 302, 54, 50, 40, "Channels", HTRF(channel)},
    {1, 304, 54, 80, 40, "Begin Time", HTRF(begin)},
    {1, 306, 54, 110, 40, "Duration", HTRF(duration)},
    {1, 308, 54, 140, 40, "Starting Frequency", HTRF(begfreq)},
    {1, 310, 135, 22, 40, "# of Harmonic Partials", HTRF(partials)},
    {1, 312, 135, 50, 40, "Max. Amplitude", HTRF(maxamp)},
    {1, 314, 135, 80, 40, "Min. Amplitude", HTRF(minamp)},
    {1, 316, 135, 110, 40, "Breakpoints", HTRF(brkpts)},
    {1, 318, 135, 140, 40, "Cut-Off Freq.", HTRF(cutfreq)},
    {1, 320, 54, 170, 100, "Output File Name", HTRF(szOutputFile)},
    {2, 400, 50, 22, 40, "Sample Rate", PVCF(srate)},
    {2, 402, 50, 50, 40, "Channels", PVCF(channel)},
    {2, 404, 50, 80, 40, "Begin Time", PVCF(begin)},
    {2, 406, 50, 110, 40, "Duration", PVCF(duration)},
    {2, 408, 130, 22, 40, "STFT Frame Size", PVCF(frmsize)},
    {2, IDC_WINDFACT, 130, 80, 40, "Window Overlap Factor", PVCF(windfact)},
    {2, IDC_PVHOPSIZE, 130, 110, 40, "Hopsize", PVCF(hopsize)},
    {2, 414, 50, 160, 100, "Output File Name", PVCF(szOutputFile)},
};
#undef LPCF
#undef HTRF
#undef PVCF

constexpr int kPvocGroup = 1;
const CtlDef kPvocRadios[] = {
    {IDC_WINDOWOVERLAP, CtlKind::Radio, "Window Overlap", 130, 42, 90, 12, kPvocGroup},
    {IDC_HOPSIZE, CtlKind::Radio, "Hopsize", 130, 52, 90, 12, kPvocGroup, 0, false,
     "Hopsize instead of window overlap"},
};

// Window Overlap passes the overlap factor, Hopsize the hop size; the other
// value's box and label are greyed.
void EnableOverlapOrHop(QWidget* hDlg, bool bOverlap, bool bHop) {
    EnableDlgItem(hDlg, IDC_WINDFACT, bOverlap);
    EnableDlgItem(hDlg, IDC_WINDFACT + 1, bOverlap);
    EnableDlgItem(hDlg, IDC_PVHOPSIZE, bHop);
    EnableDlgItem(hDlg, IDC_PVHOPSIZE + 1, bHop);
}

void PvocCommand(QWidget* hDlg, int nId) {
    if (nId == IDC_WINDOWOVERLAP)
        EnableOverlapOrHop(hDlg, true, false);
    else if (nId == IDC_HOPSIZE)
        EnableOverlapOrHop(hDlg, false, true);
}
} // namespace

std::span<const AnalysisBox> AnalysisBoxes() {
    return kBoxes;
}

void CreateAnalysisPages(TabFrame* frame, const INISTRUCT* lpLocal) {
    const char* const kTabs[] = {"LPANAL", "HETRO", "PVANAL"};
    for (int nPage = 0; nPage < 3; ++nPage) {
        DlgPage* hDlg = frame->AddPage(kTabs[nPage], 8);
        std::vector<CtlDef> defs;
        for (const AnalysisBox& box : kBoxes) {
            if (box.nPage != nPage)
                continue;
            const int nMax = static_cast<int>(box.nCapacity) - 1;
            defs.push_back({box.nId, CtlKind::Edit, "", box.x, box.y, box.cx, 13, 0, nMax, false,
                            box.szLabel});
            defs.push_back({box.nId + 1, CtlKind::Label, box.szLabel, box.x, box.y - 10, 80, 8});
        }
        hDlg->Build(defs);
        const char* base = reinterpret_cast<const char*>(lpLocal);
        for (const AnalysisBox& box : kBoxes)
            if (box.nPage == nPage)
                SetDlgItemText(hDlg, box.nId, FieldText(base + box.nOffset, box.nCapacity));
        if (nPage != 2)
            continue;
        hDlg->Build(kPvocRadios);
        const int iType = lpLocal->pvcStruct.iType;
        if (iType == IDC_WINDOWOVERLAP) {
            CheckDlgButton(hDlg, IDC_WINDOWOVERLAP, 1);
            EnableOverlapOrHop(hDlg, true, false);
        } else if (iType == IDC_HOPSIZE) {
            CheckDlgButton(hDlg, IDC_HOPSIZE, 1);
            EnableOverlapOrHop(hDlg, false, true);
        }
        hDlg->onCommand = [hDlg](int nId) { PvocCommand(hDlg, nId); };
    }
}
