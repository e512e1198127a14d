// The frame every small modal dialog is built on: a fixed-size dialog laid
// out in dialog units of its 8 point font, whose controls are found again by
// their control ids (GetDlgItem and its kin in dialogs/controls.h), and whose
// buttons, Esc and close box all arrive as one command number, as a dialog
// procedure receives them.
#pragma once

#include "dialogs/controls.h"
#include "dialogs/dlgunits.h"

#include <QDialog>
#include <QRect>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QLabel;

namespace smalldlg {

enum : int { IDOK = 1, IDCANCEL = 2 };

class SmallDialog : public QDialog {
    Q_OBJECT
public:
    // A dialog of cx x cy dialog units whose top-left corner is (x, y) units
    // from the owner's top-left corner. bGray gives the gray dialog look.
    SmallDialog(QWidget* hWndOwner, const char* szCaption, int x, int y, int cx, int cy,
                bool bGray);

    // Buttons, Esc (2) and the close box (2) arrive here.
    virtual void OnCommand(int nId) = 0;

    // Ends the dialog; every dialog ends with 1 whatever the user did.
    void EndDialog() { done(1); }
    // Esc and the close box.
    void reject() override { OnCommand(IDCANCEL); }

    const DialogBaseUnits& Units() const { return m_units; }
    QRect Map(int x, int y, int cx, int cy) const { return MapDialogRect(x, y, cx, cy, m_units); }

protected:
    QPushButton* AddButton(int nId, const char* szText, int x, int y, int cx, int cy,
                           bool bDefault);
    QLabel* AddLabel(const char* szText, int x, int y, int cx, int cy);
    // szName is the accessible name (the label that goes with the field).
    QLineEdit* AddEdit(int nId, int x, int y, int cx, int cy, bool bReadOnly, const char* szName);
    QRadioButton* AddRadio(int nId, const char* szText, int x, int y, int cx, int cy);

private:
    void Register(QWidget* w, int nId);
    DialogBaseUnits m_units;
};

} // namespace smalldlg
