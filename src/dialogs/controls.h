// The pieces a dialog page is built from: gray pages, static labels, bevel
// lines and group frames, check boxes, radio buttons, edit boxes and push
// buttons, each placed in dialog units and found again by its control id.
#pragma once

#include "dialogs/dlgunits.h"

#include <QPalette>
#include <QWidget>
#include <functional>
#include <map>
#include <span>

class QButtonGroup;

enum class CtlKind {
    Label,        // left-aligned static text
    CenterStatic, // centred static text
    Edit,         // single-line edit box with a border
    Check,        // automatic check box
    Radio,        // automatic radio button
    RadioLeft,    // automatic radio button with its text left of the button
    Push,         // push button
    Line,         // horizontal bevel line (decoration)
    Group,        // captioned group frame (decoration)
};

// One control of a page template. Positions are in dialog units.
struct CtlDef {
    int id; // -1 for decoration
    CtlKind kind;
    const char* text;
    int x, y, cx, cy;
    int nGroup = 0;               // radio group number within the page, 0 for none
    int nMaxLen = 0;              // edit boxes: characters the field can take
    bool bHidden = false;         // never shown
    const char* szName = nullptr; // accessible name when the text does not say it
};

// The program's own colours: black text on the light gray of the skin and
// the dialogs, white edit boxes, navy selections. Set on every window of the
// program, so a dark desktop scheme never puts its light text on our gray.
QPalette FixedPalette();
// Gives a window and its children the fixed colours.
void UseFixedPalette(QWidget* w);
// Gives a dialog or page the gray dialog look.
void MakeGray(QWidget* w);

// A page of a tabbed dialog, or any window holding template controls. Clicks
// on its buttons come to onCommand with the control id.
class DlgPage : public QWidget {
public:
    DlgPage(QWidget* parent, int nPointSize, const QString& name);

    DialogBaseUnits Units() const { return units_; }
    QRect Map(int x, int y, int cx, int cy) const { return MapDialogRect(x, y, cx, cy, units_); }

    // Creates the controls in template order.
    void Build(std::span<const CtlDef> defs);

    std::function<void(int nId)> onCommand;

private:
    QButtonGroup* GroupOf(int nGroup);

    DialogBaseUnits units_;
    std::map<int, QButtonGroup*> groups_;
};

// Creates one control on any parent, placed with the given base units; buttons
// report clicks to onClick.
QWidget* CreateControl(QWidget* parent, const CtlDef& def, DialogBaseUnits units,
                       QButtonGroup* group, const std::function<void(int)>& onClick);

// Gives a control the id GetDlgItem finds it by (-1 for none).
void SetControlId(QWidget* w, int nId);
// The control with this id among the children of hDlg, searched in depth,
// or null.
QWidget* GetDlgItem(const QWidget* hDlg, int nId);
int IsDlgButtonChecked(const QWidget* hDlg, int nId);
// Checks (1) or clears (0) a check box or radio button; a radio button of a
// group clears the others of its group when checked.
void CheckDlgButton(QWidget* hDlg, int nId, int nCheck);
void EnableDlgItem(QWidget* hDlg, int nId, bool bEnable);
void SetDlgItemText(QWidget* hDlg, int nId, const QString& text);
QString GetDlgItemText(const QWidget* hDlg, int nId);
