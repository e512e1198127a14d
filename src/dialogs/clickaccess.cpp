#include "dialogs/clickaccess.h"

#include <QAbstractButton>
#include <QAccessibleWidget>

namespace {
class ClickingButton : public QAccessibleWidget {
public:
    ClickingButton(QAbstractButton* button, QAccessible::Role role)
        : QAccessibleWidget(button, role) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return button()->text().remove(QLatin1Char('&'));
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction() << pressAction();
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == toggleAction() || name == pressAction()) {
            if (widget()->isEnabled())
                button()->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* ClickingButtons(const QString& className, QObject* object) {
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (!button)
        return nullptr;
    if (className == QLatin1String("QRadioButton"))
        return new ClickingButton(button, QAccessible::RadioButton);
    if (className == QLatin1String("QCheckBox"))
        return new ClickingButton(button, QAccessible::CheckBox);
    return nullptr;
}
} // namespace

void InstallClickingButtons() {
    static const bool bInstalled = [] {
        QAccessible::installFactory(ClickingButtons);
        return true;
    }();
    (void)bInstalled;
}
