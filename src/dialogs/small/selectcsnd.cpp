#include "dialogs/small/filedlg.h"
#include "dialogs/small/smalldialogs.h"
#include "settings/ini.h"

#include <QLineEdit>
#include <QRadioButton>
#include <cstring>

namespace {
// The last browsed path and its title, kept between openings.
char szCsound[127];
char szTitle[32];
} // namespace

SelectCsndDlg::SelectCsndDlg(QWidget* hWndOwner, INISTRUCT& ini)
    : SmallDialog(hWndOwner, "Select CSound Executable", 6, 15, 169, 53, true), m_ini(ini) {
    QRadioButton* dos = AddRadio(IDC_DOSVERSION, "DOS Version", 14, 6, 60, 10);
    QRadioButton* win = AddRadio(IDC_WINVERSION, "Windows Version", 14, 17, 65, 12);
    AddButton(IDC_BROWSECSOUND, "Browse CSound", 90, 8, 65, 14, true);
    QLineEdit* path = AddEdit(IDC_CSOUNDPATH, 4, 33, 160, 14, true, "CSound executable");
    path->setFocusPolicy(Qt::NoFocus);
    (m_ini.nCSoundVer == 2 ? win : dos)->setChecked(true);
    path->setText(QString::fromLocal8Bit(m_ini.szCsoundPath));
}

void SelectCsndDlg::OnCommand(int nId) {
    switch (nId) {
    case IDC_DOSVERSION:
        m_ini.nCSoundVer = 1;
        WriteIni("PREFERENCES", "csoundver", "1");
        break;
    case IDC_WINVERSION:
        m_ini.nCSoundVer = 2;
        WriteIni("PREFERENCES", "csoundver", "2");
        break;
    case IDC_BROWSECSOUND:
        if (PopFileOpenDlg(this, szCsound, sizeof szCsound, szTitle, sizeof szTitle)) {
            static_assert(sizeof szCsound <= sizeof m_ini.szCsoundPath);
            std::memcpy(m_ini.szCsoundPath, szCsound, std::strlen(szCsound) + 1);
            WriteIni("CSOUND", "csound path", szCsound);
            SetDlgItemText(this, IDC_CSOUNDPATH, QString::fromLocal8Bit(szCsound));
        }
        break;
    case smalldlg::IDCANCEL:
        EndDialog();
        break;
    default:
        break;
    }
}
