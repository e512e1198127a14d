#include "dialogs/small/smalldlg.h"

#include "dialogs/clickaccess.h"
#include "dialogs/controls.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace smalldlg {

SmallDialog::SmallDialog(QWidget* hWndOwner, const char* szCaption, int x, int y, int cx, int cy,
                         bool bGray)
    : QDialog(hWndOwner), m_units(BaseUnitsOf(DialogFont(8))) {
    setFont(DialogFont(8));
    InstallClickingButtons();
    setWindowTitle(QString::fromUtf8(szCaption));
    setAccessibleName(QString::fromUtf8(szCaption));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The size comes from the width and height alone, the place from (x, y).
    setFixedSize(Map(0, 0, cx, cy).size());
    const QPoint at = Map(x, y, 0, 0).topLeft();
    move(hWndOwner ? hWndOwner->mapToGlobal(at) : at);
    if (bGray)
        MakeGray(this);
    else
        UseFixedPalette(this);
}

void SmallDialog::Register(QWidget* w, int nId) {
    SetControlId(w, nId);
    if (nId >= 0)
        w->setObjectName(QStringLiteral("ctl%1").arg(nId));
}

QPushButton* SmallDialog::AddButton(int nId, const char* szText, int x, int y, int cx, int cy,
                                    bool bDefault) {
    auto* b = new QPushButton(QString::fromUtf8(szText), this);
    b->setGeometry(Map(x, y, cx, cy));
    b->setAccessibleName(QString(szText).remove('&'));
    b->setDefault(bDefault);
    b->setAutoDefault(bDefault);
    Register(b, nId);
    connect(b, &QPushButton::clicked, this, [this, nId] { OnCommand(nId); });
    return b;
}

QLabel* SmallDialog::AddLabel(const char* szText, int x, int y, int cx, int cy) {
    auto* l = new QLabel(QString::fromUtf8(szText), this);
    l->setGeometry(Map(x, y, cx, cy));
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setAccessibleName(QString::fromUtf8(szText));
    Register(l, -1);
    return l;
}

QLineEdit* SmallDialog::AddEdit(int nId, int x, int y, int cx, int cy, bool bReadOnly,
                                const char* szName) {
    auto* e = new QLineEdit(this);
    e->setGeometry(Map(x, y, cx, cy));
    e->setReadOnly(bReadOnly);
    e->setAccessibleName(QString::fromUtf8(szName));
    Register(e, nId);
    return e;
}

QRadioButton* SmallDialog::AddRadio(int nId, const char* szText, int x, int y, int cx, int cy) {
    auto* r = new QRadioButton(QString::fromUtf8(szText), this);
    r->setGeometry(Map(x, y, cx, cy));
    r->setAccessibleName(QString::fromUtf8(szText));
    Register(r, nId);
    connect(r, &QRadioButton::clicked, this, [this, nId] { OnCommand(nId); });
    return r;
}

} // namespace smalldlg
