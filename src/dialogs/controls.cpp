#include "dialogs/controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

namespace {
const char kIdProperty[] = "ctlId";

QString Plain(const char* text) {
    QString s = QString::fromUtf8(text);
    s.remove(QLatin1Char('&'));
    return s.trimmed();
}
} // namespace

void MakeGray(QWidget* w) {
    QPalette pal = w->palette();
    const QColor gray(192, 192, 192);
    pal.setColor(QPalette::Window, gray);
    pal.setColor(QPalette::Button, gray);
    // Greyed text stays readable on the gray background.
    const QColor dark(128, 128, 128);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, dark);
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, dark);
    pal.setColor(QPalette::Disabled, QPalette::Text, dark);
    pal.setColor(QPalette::Disabled, QPalette::Base, gray);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

DlgPage::DlgPage(QWidget* parent, int nPointSize, const QString& name) : QWidget(parent) {
    setFont(DialogFont(nPointSize));
    units_ = BaseUnitsOf(font());
    MakeGray(this);
    setAccessibleName(name);
    setObjectName(name);
}

QButtonGroup* DlgPage::GroupOf(int nGroup) {
    auto& g = groups_[nGroup];
    if (!g) {
        g = new QButtonGroup(this);
        g->setExclusive(true);
    }
    return g;
}

void DlgPage::Build(std::span<const CtlDef> defs) {
    for (const CtlDef& def : defs) {
        QButtonGroup* group = def.nGroup ? GroupOf(def.nGroup) : nullptr;
        CreateControl(this, def, units_, group, [this](int nId) {
            if (onCommand)
                onCommand(nId);
        });
    }
}

QWidget* CreateControl(QWidget* parent, const CtlDef& def, DialogBaseUnits units,
                       QButtonGroup* group, const std::function<void(int)>& onClick) {
    const QString text = QString::fromUtf8(def.text ? def.text : "");
    QWidget* w = nullptr;
    switch (def.kind) {
    case CtlKind::Label:
    case CtlKind::CenterStatic: {
        auto* label = new QLabel(text, parent);
        label->setAlignment((def.kind == CtlKind::Label ? Qt::AlignLeft : Qt::AlignHCenter) |
                            Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        w = label;
        break;
    }
    case CtlKind::Edit: {
        auto* edit = new QLineEdit(text, parent);
        if (def.nMaxLen > 0)
            edit->setMaxLength(def.nMaxLen);
        w = edit;
        break;
    }
    case CtlKind::Check:
        w = new QCheckBox(text, parent);
        break;
    case CtlKind::Radio:
    case CtlKind::RadioLeft: {
        auto* radio = new QRadioButton(text, parent);
        if (def.kind == CtlKind::RadioLeft)
            radio->setLayoutDirection(Qt::RightToLeft);
        if (group)
            group->addButton(radio, def.id);
        else
            radio->setAutoExclusive(false);
        w = radio;
        break;
    }
    case CtlKind::Push: {
        auto* push = new QPushButton(text, parent);
        push->setAutoDefault(false);
        w = push;
        break;
    }
    case CtlKind::Line: {
        auto* line = new QFrame(parent);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        w = line;
        break;
    }
    case CtlKind::Group:
        w = new QGroupBox(text, parent);
        break;
    }
    w->setGeometry(MapDialogRect(def.x, def.y, def.cx, def.cy, units));
    SetControlId(w, def.id);
    if (def.id >= 0)
        w->setObjectName(QStringLiteral("id%1").arg(def.id));
    if (def.szName)
        w->setAccessibleName(QString::fromUtf8(def.szName));
    else if (def.kind == CtlKind::Line)
        w->setAccessibleName(QStringLiteral("Separator line"));
    else
        w->setAccessibleName(Plain(def.text ? def.text : ""));
    if (def.kind == CtlKind::Line || def.kind == CtlKind::Group) {
        // Frames are drawn behind the controls they surround and never take a click.
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->setFocusPolicy(Qt::NoFocus);
        w->lower();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        const int nId = def.id;
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [onClick, nId](bool) { onClick(nId); });
    }
    if (def.bHidden)
        w->setVisible(false);
    else
        w->show();
    return w;
}

void SetControlId(QWidget* w, int nId) {
    w->setProperty(kIdProperty, nId);
}

QWidget* GetDlgItem(const QWidget* hDlg, int nId) {
    if (!hDlg || nId < 0)
        return nullptr;
    // A window's own controls come before those of its pages.
    const auto children = hDlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : children)
        if (const QVariant v = w->property(kIdProperty); v.isValid() && v.toInt() == nId)
            return w;
    for (QWidget* w : children)
        if (QWidget* found = GetDlgItem(w, nId))
            return found;
    return nullptr;
}

int IsDlgButtonChecked(const QWidget* hDlg, int nId) {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(hDlg, nId));
    return button && button->isChecked() ? 1 : 0;
}

void CheckDlgButton(QWidget* hDlg, int nId, int nCheck) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(hDlg, nId)))
        button->setChecked(nCheck != 0);
}

void EnableDlgItem(QWidget* hDlg, int nId, bool bEnable) {
    if (QWidget* w = GetDlgItem(hDlg, nId))
        w->setEnabled(bEnable);
}

void SetDlgItemText(QWidget* hDlg, int nId, const QString& text) {
    QWidget* w = GetDlgItem(hDlg, nId);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
}

QString GetDlgItemText(const QWidget* hDlg, int nId) {
    QWidget* w = GetDlgItem(hDlg, nId);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    return {};
}
