#include "dialogs/tab.h"

#include "dialogs/prefpages.h"
#include "dialogs/tabframe.h"
#include "settings/ini.h"
#include "settings/settingstable.h"

#include <QPointer>

namespace {
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

void OnOk() {
    PrefsModule& m = Module();
    TabFrame* frame = m.hwndTabDlg;
    if (!frame || !CheckPrefBoxes(frame))
        return;
    ReadPrefBoxes(frame, m.LocalIniStruct);
    CopyIniFields(*m.lpExtIniStruct, m.LocalIniStruct, IniWriter::Preferences);
    prefs::RefreshIni(&m.LocalIniStruct);
    if (m.refreshLists)
        m.refreshLists();
    m.hwndTabDlg = nullptr;
    frame->Discard();
}

void OnCancel() {
    PrefsModule& m = Module();
    if (TabFrame* frame = m.hwndTabDlg) {
        m.hwndTabDlg = nullptr;
        frame->Discard();
    }
}
} // namespace

void OpenPreferences(QWidget* hwndParent, INISTRUCT* lpIniStruct,
                     std::function<void()> refreshLists) {
    PrefsModule& m = Module();
    if (TabFrame* open = m.hwndTabDlg) {
        open->BringToFront();
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
