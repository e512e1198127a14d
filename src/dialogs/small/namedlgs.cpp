// New Orchestra, New Score and Rename: the dialogs that ask for a name.
#include "commands/filecmds.h"
#include "dialogs/small/smalldialogs.h"
#include "platform/messagebox.h"

#include <QLineEdit>
#include <cstring>

namespace {
// The edit's text in the program's byte encoding.
std::string EditText(const smalldlg::SmallDialog* dlg, int nId) {
    return GetDlgItemText(dlg, nId).toLocal8Bit().toStdString();
}
} // namespace

NewFileDlg::NewFileDlg(QWidget* hWndOwner, bool bScore, char* szNewFile)
    : SmallDialog(hWndOwner, bScore ? "New Score" : "New Orchestra", 6, 15, 204, 45, true),
      m_nEditId(bScore ? IDC_SCONAME : IDC_ORCNAME), m_szNewFile(szNewFile) {
    if (bScore)
        AddLabel("Score Name", 20, 9, 42, 11);
    else
        AddLabel("Orchestra Name", 6, 10, 56, 11);
    AddEdit(m_nEditId, 66, 7, 52, 13, false, bScore ? "Score Name" : "Orchestra Name")->setFocus();
    AddLabel(bScore ? ".sco" : ".orc", 125, 7, 19, 12);
    AddButton(smalldlg::IDOK, "OK", 148, 6, 50, 14, true);
    AddButton(smalldlg::IDCANCEL, "Cancel", 148, 24, 50, 14, false);
}

void NewFileDlg::OnCommand(int nId) {
    if (nId == smalldlg::IDOK) {
        const std::string szName = EditText(this, m_nEditId);
        if (szName.size() >= nNewPathSize) {
            // Refused whole, never cut: the dialog stays open.
            MessageBox("The name is too long: at most " + std::to_string(nNewPathSize - 1) +
                           " characters fit.",
                       "Error", MB_ICONEXCLAMATION);
            return;
        }
        std::memcpy(m_szNewFile, szName.c_str(), szName.size() + 1);
        EndDialog();
    } else if (nId == smalldlg::IDCANCEL) {
        m_szNewFile[0] = '\0';
        EndDialog();
    }
}

RenameDlg::RenameDlg(QWidget* hWndOwner, INISTRUCT& ini, int nrenameswitch,
                     const std::string& szOldName, std::function<void()> refreshLists)
    : SmallDialog(hWndOwner, "Rename ", 6, 15, 211, 44, true), m_ini(ini), m_nSwitch(nrenameswitch),
      m_szOldName(szOldName), m_refresh(std::move(refreshLists)) {
    AddLabel("Old Name:", 18, 8, 35, 11);
    AddEdit(IDC_OLDNAME, 60, 6, 66, 13, true, "Old Name:")
        ->setText(QString::fromLocal8Bit(szOldName.c_str()));
    AddLabel("New Name:", 15, 27, 41, 11);
    AddEdit(IDC_NEWNAME, 60, 25, 66, 13, false, "New Name:")->setFocus();
    AddButton(smalldlg::IDOK, "OK", 146, 6, 50, 14, true);
    AddButton(smalldlg::IDCANCEL, "Cancel", 146, 24, 50, 14, false);
}

void RenameDlg::OnCommand(int nId) {
    if (nId == smalldlg::IDOK) {
        const std::string szRename = EditText(this, IDC_NEWNAME);
        if (szRename.size() >= nRenameSize) {
            MessageBox("The new name is too long: at most " + std::to_string(nRenameSize - 1) +
                           " characters fit.",
                       "Error", MB_ICONEXCLAMATION);
            return;
        }
        RenameListFile(m_ini, m_nSwitch, m_szOldName, szRename);
        // The lists are read again whatever happened on disk.
        if (m_refresh)
            m_refresh();
        EndDialog();
    } else if (nId == smalldlg::IDCANCEL) {
        EndDialog();
    }
}
