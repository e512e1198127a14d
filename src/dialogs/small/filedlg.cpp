#include "dialogs/small/filedlg.h"

#include "platform/files/fileops.h"
#include "platform/messagebox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <cstring>
#include <utility>

PopFileRecord ofn;
const char* const szFilter[5] = {"Executable Files (*.EXE)", "*.exe", "All Files (*.*)", "*.*", ""};
int nReturn = 0;

namespace {

FileDialogHandler& HandlerSlot() {
    static FileDialogHandler handler;
    return handler;
}

// Folders always show; files by the filter in use. The executables entry
// shows the files the user may run (programs here carry no ".EXE"), the other
// every file.
class ProgramFilter : public QSortFilterProxyModel {
public:
    void SetProgramsOnly(bool bOnly) {
        m_bProgramsOnly = bOnly;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int nRow, const QModelIndex& parent) const override {
        const auto* fs = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!m_bProgramsOnly || !fs)
            return true;
        const QFileInfo fi = fs->fileInfo(fs->index(nRow, 0, parent));
        return fi.isDir() || fi.isExecutable();
    }

private:
    bool m_bProgramsOnly = true;
};

// Where the dialog opens: the folder of the last pick, or the folder that
// holds the system's programs.
QString StartFolder(const std::string& szLastPick) {
    if (!szLastPick.empty()) {
        const QFileInfo last(QString::fromLocal8Bit(szLastPick.c_str()));
        if (last.isAbsolute() && last.dir().exists())
            return last.dir().path();
    }
    return QStringLiteral("/usr/bin");
}

// The real dialog, with the record's two filters shown as they are written.
std::optional<FileDialogAnswer> RunQtDialog(const FileDialogRequest& req) {
    QFileDialog dlg(ofn.hwndOwner);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(req.bSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::AnyFile);
    if (!(req.Flags & OFN_OVERWRITEPROMPT))
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
    auto* filter = new ProgramFilter;
    dlg.setProxyModel(filter); // the dialog owns it from here
    const QStringList filters{QString::fromLatin1(szFilter[0]), QString::fromLatin1(szFilter[2])};
    dlg.setNameFilters(filters);
    // The dialog would match the filters' patterns against names; here the
    // filter model decides, so every name passes the patterns.
    const auto useFilter = [&dlg, filter, filters](const QString& f) {
        if (auto* fs = qobject_cast<QFileSystemModel*>(filter->sourceModel()))
            fs->setNameFilters({});
        filter->SetProgramsOnly(f == filters[0]);
    };
    const int nIndex = req.nFilterIndex == 1 ? 1 : 0;
    dlg.selectNameFilter(filters[nIndex]);
    useFilter(filters[nIndex]);
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, useFilter);
    const QFileInfo last(QString::fromLocal8Bit(req.szInitialFile.c_str()));
    const QString szFolder = StartFolder(req.szInitialFile);
    dlg.setDirectory(szFolder);
    if (!req.szInitialFile.empty() && szFolder == last.dir().path())
        dlg.selectFile(last.fileName());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogAnswer{dlg.selectedFiles().first().toLocal8Bit().toStdString(),
                            static_cast<int>(filters.indexOf(dlg.selectedNameFilter()))};
}

int RunDialog(QWidget* hwnd, char* lpstrFileName, std::size_t nFileSize, char* lpstrTitleName,
              std::size_t nTitleSize, bool bSave) {
    ofn.hwndOwner = hwnd;
    ofn.Flags = bSave ? OFN_OVERWRITEPROMPT : OFN_CREATEPROMPT;
    // The record's limits never exceed what the caller's buffers hold.
    ofn.nMaxFile = std::min<std::size_t>(260, nFileSize);
    ofn.nMaxFileTitle = std::min<std::size_t>(512, nTitleSize);

    FileDialogRequest req;
    req.bSave = bSave;
    req.szInitialFile.assign(lpstrFileName, strnlen(lpstrFileName, nFileSize));
    req.nFilterIndex = ofn.nFilterIndex;
    req.Flags = ofn.Flags;
    const FileDialogHandler& h = HandlerSlot();
    const std::optional<FileDialogAnswer> answer = h ? h(req) : RunQtDialog(req);
    if (!answer || answer->szPath.empty())
        return 0;
    if (answer->nFilterIndex >= 0)
        ofn.nFilterIndex = answer->nFilterIndex;

    const std::string szPath = WithDefaultExtension(answer->szPath, ofn.lpstrDefExt);
    // The open dialog accepts a name that does not exist only when the user
    // agrees to it (no file is created).
    if ((ofn.Flags & OFN_CREATEPROMPT) && !PathExists(szPath) &&
        MessageBox(szPath + "\nThis file does not exist.\nCreate the file?", "Open",
                   MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return 0;
    const std::size_t nSlash = szPath.find_last_of('/');
    const std::string szTitle = nSlash == std::string::npos ? szPath : szPath.substr(nSlash + 1);
    if (szPath.size() >= ofn.nMaxFile || szTitle.size() >= ofn.nMaxFileTitle) {
        MessageBox("The name " + szPath + " is too long: at most " +
                       std::to_string(ofn.nMaxFile - 1) + " characters fit (" +
                       std::to_string(ofn.nMaxFileTitle - 1) +
                       " for the name without its folder). Nothing was changed.",
                   "Error", MB_ICONEXCLAMATION);
        return 0;
    }
    std::memcpy(lpstrFileName, szPath.c_str(), szPath.size() + 1);
    std::memcpy(lpstrTitleName, szTitle.c_str(), szTitle.size() + 1);
    return 1;
}
} // namespace

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler) {
    return std::exchange(HandlerSlot(), std::move(handler));
}

void PopFileInitialize(QWidget* hwnd) {
    ofn = PopFileRecord{};
    ofn.hwndOwner = hwnd;
    ofn.lpstrFilter = szFilter;
    ofn.nFilterIndex = 0;
    ofn.nMaxFile = 260;
    ofn.nMaxFileTitle = 512;
    ofn.Flags = 0;
    ofn.lpstrDefExt = "EXE";
}

int PopFileOpenDlg(QWidget* hwnd, char* lpstrFileName, std::size_t nFileSize, char* lpstrTitleName,
                   std::size_t nTitleSize) {
    return RunDialog(hwnd, lpstrFileName, nFileSize, lpstrTitleName, nTitleSize, false);
}

int PopFileSaveDlg(QWidget* hwnd, char* lpstrFileName, std::size_t nFileSize, char* lpstrTitleName,
                   std::size_t nTitleSize) {
    return RunDialog(hwnd, lpstrFileName, nFileSize, lpstrTitleName, nTitleSize, true);
}

int FileSaveMessage(QWidget*) {
    nReturn =
        MessageBox("Save Current File?", "Quorvel Multimedia", MB_YESNOCANCEL | MB_ICONQUESTION);
    return nReturn;
}

std::string WithDefaultExtension(const std::string& szPath, const char* lpstrDefExt) {
    if (!lpstrDefExt || !*lpstrDefExt || PathExists(szPath))
        return szPath;
    const std::size_t nSlash = szPath.find_last_of('/');
    const std::size_t nDot = szPath.find_last_of('.');
    if (nDot != std::string::npos && (nSlash == std::string::npos || nDot > nSlash))
        return szPath;
    return szPath + "." + lpstrDefExt;
}
