#include "dialogs/analysis.h"

#include "csound/analysiscmd.h"
#include "csound/analysisrun.h"
#include "dialogs/analysispages.h"
#include "dialogs/tabframe.h"
#include "dialogs/textfields.h"
#include "settings/settingstable.h"

#include <QPointer>
#include <cstring>
#include <string>

namespace {
enum { IDC_INPUTFILE = 102, IDC_INPUTLABEL = 103 };
constexpr int kFirstEdit[] = {200, 300, 400};

struct AnalysisModule {
    QPointer<TabFrame> hwndTabDlg;
    INISTRUCT* lpExtIniStruct = nullptr;
    std::function<void()> refreshLists;
    AnalysisLauncher launcher;
};
AnalysisModule& Module() {
    static AnalysisModule module;
    return module;
}

bool CheckTextBoxes(TabFrame* frame) {
    for (const AnalysisBox& box : AnalysisBoxes())
        if (!frame->CheckFieldBox(box.nPage, box.nId, box.nCapacity, false, box.szLabel))
            return false;
    return true;
}

int ReadTextBoxes(TabFrame* frame, INISTRUCT& local) {
    auto* base = reinterpret_cast<char*>(&local);
    for (const AnalysisBox& box : AnalysisBoxes())
        StoreText(base + box.nOffset, box.nCapacity,
                  GetDlgItemText(frame->Page(box.nPage), box.nId));
    local.pvcStruct.iType =
        IsDlgButtonChecked(frame->Page(2), IDC_WINDOWOVERLAP) ? IDC_WINDOWOVERLAP : IDC_HOPSIZE;
    return 0;
}

void OnOk() {
    AnalysisModule& m = Module();
    TabFrame* frame = m.hwndTabDlg;
    if (!frame || !CheckTextBoxes(frame))
        return;
    INISTRUCT& local = analysis::LocalIniStruct;
    ReadTextBoxes(frame, local);

    // Only the analysis settings go back; everything else is taken from the
    // live record, which may have changed since the dialog opened (another
    // Csound program, other directories). The input file stays the one shown.
    INISTRUCT& live = *m.lpExtIniStruct;
    CopyIniFields(live, local, IniWriter::Analysis);
    char szShown[sizeof local.szCurSoundFile];
    std::memcpy(szShown, local.szCurSoundFile, sizeof szShown);
    local = live;
    std::memcpy(local.szCurSoundFile, szShown, sizeof szShown);

    analysis::RefreshIni();
    if (m.launcher)
        m.launcher(frame->iTabOld);
    else
        csound::LaunchAnalysis(frame->iTabOld);
    if (m.refreshLists)
        m.refreshLists();
}

void OnExit() {
    AnalysisModule& m = Module();
    TabFrame* frame = m.hwndTabDlg;
    if (!frame)
        return;
    m.hwndTabDlg = nullptr;
    if (m.refreshLists)
        m.refreshLists();
    frame->Discard();
}
} // namespace

void OpenAnalysis(QWidget* parent, INISTRUCT* lpIniStruct, std::function<void()> refreshLists) {
    AnalysisModule& m = Module();
    if (TabFrame* open = m.hwndTabDlg) {
        open->BringToFront();
        return;
    }
    m.lpExtIniStruct = lpIniStruct;
    analysis::LocalIniStruct = *lpIniStruct;
    m.refreshLists = std::move(refreshLists);

    auto* frame = new TabFrame(parent, QStringLiteral("Tonsmith32 Analysis"), "&OK", "E&xit");
    m.hwndTabDlg = frame;
    CreateAnalysisPages(frame, &analysis::LocalIniStruct);
    frame->FinishButtons();
    CreateControl(frame, {IDC_INPUTLABEL, CtlKind::CenterStatic, "Input File", 10, 230, 120, 14},
                  frame->Units(), nullptr, [](int) {});
    const QString file = FieldText(analysis::LocalIniStruct.szCurSoundFile);
    QWidget* input =
        CreateControl(frame, {IDC_INPUTFILE, CtlKind::CenterStatic, "", 10, 240, 120, 14},
                      frame->Units(), nullptr, [](int) {});
    // A long path keeps its ends in sight; the whole path is in the tool tip.
    SetDlgItemText(frame, IDC_INPUTFILE,
                   input->fontMetrics().elidedText(file, Qt::ElideMiddle, input->width()));
    input->setAccessibleName(file.isEmpty() ? QStringLiteral("No input file") : file);
    input->setToolTip(file);
    frame->onOk = OnOk;
    frame->onCancel = OnExit;
    frame->onPageShown = [frame](int nTab) {
        if (QWidget* edit = GetDlgItem(frame->Page(nTab), kFirstEdit[nTab]))
            edit->setFocus();
    };
    frame->ShowFirstPage(0);
    frame->show();
    // A hidden window takes no focus, so the first box gets it once shown.
    frame->onPageShown(0);
}

AnalysisLauncher SetAnalysisLauncher(AnalysisLauncher launcher) {
    AnalysisLauncher old = std::move(Module().launcher);
    Module().launcher = std::move(launcher);
    return old;
}
