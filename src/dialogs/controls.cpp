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

QPalette FixedPalette() {
    const QColor gray(192, 192, 192), dark(128, 128, 128), black(0, 0, 0), white(255, 255, 255);
    QPalette pal(QBrush(black), QBrush(gray), QBrush(white), QBrush(dark),
                 QBrush(QColor(160, 160, 160)), QBrush(black), QBrush(white), QBrush(white),
                 QBrush(gray));
    pal.setColor(QPalette::ButtonText, black);
    pal.setColor(QPalette::Midlight, QColor(223, 223, 223));
    pal.setColor(QPalette::Shadow, black);
    pal.setColor(QPalette::AlternateBase, QColor(240, 240, 240));
    pal.setColor(QPalette::Highlight, QColor(0, 0, 128));
    pal.setColor(QPalette::HighlightedText, white);
    pal.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    pal.setColor(QPalette::ToolTipText, black);
    pal.setColor(QPalette::PlaceholderText, QColor(96, 96, 96));
    pal.setColor(QPalette::Link, QColor(0, 0, 192));
    pal.setColor(QPalette::LinkVisited, QColor(128, 0, 128));
    // Greyed text stays apart from the gray background.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        pal.setColor(QPalette::Disabled, role, dark);
    pal.setColor(QPalette::Disabled, QPalette::Base, gray);
    pal.setColor(QPalette::Disabled, QPalette::Highlight, dark);
    return pal;
}

void UseFixedPalette(QWidget* w) {
    w->setPalette(FixedPalette());
}

void MakeGray(QWidget* w) {
    UseFixedPalette(w);
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
