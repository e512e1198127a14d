// Helpers shared by the dialog tests: one QApplication, controls by id, the
// settings file's keys and the ways out of a dialog.
#pragma once

#include "common/tempconfig.h"
#include "common/testutil.h"
#include "dialogs/controls.h"
#include "settings/ini.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <sstream>

// Never destroyed: dialogs the tests leave open would outlive it.
inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "test_dialogs", *argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}
inline QTabBar* Tabs(QWidget* dlg) {
    return dlg->findChild<QTabBar*>();
}
inline QLineEdit* Edit(const QWidget* dlg, int nId) {
    return qobject_cast<QLineEdit*>(GetDlgItem(dlg, nId));
}
inline void Click(const QWidget* dlg, int nId) {
    qobject_cast<QAbstractButton*>(GetDlgItem(dlg, nId))->click();
}
inline bool Enabled(const QWidget* dlg, int nId) {
    return GetDlgItem(dlg, nId)->isEnabled();
}
inline std::string Text(const QWidget* dlg, int nId) {
    return GetDlgItemText(dlg, nId).toStdString();
}

// Checks keys of the settings file, given as "SECTION/key=value ...".
inline void ExpectIni(const std::string& keys) {
    std::istringstream in(keys);
    for (std::string s; in >> s;) {
        const auto slash = s.find('/'), eq = s.find('=');
        EXPECT_EQ(ReadIni(s.substr(0, slash).c_str(), s.substr(slash + 1, eq - slash - 1).c_str()),
                  s.substr(eq + 1))
            << s;
    }
}
inline void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// A fresh settings record in a private configuration folder, message boxes
// recorded; the tabbed dialog of that caption is closed at the end.
class DialogTest : public ::testing::Test {
protected:
    explicit DialogTest(const char* caption) : m_caption(caption) {
        TestApp();
        InitAppInto(ini);
    }
    ~DialogTest() override {
        if (QDialog* d = Shown())
            d->reject();
        FlushDeletes();
    }
    QDialog* Shown() const {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w);
                d && d->isVisible() && d->windowTitle() == m_caption)
                return d;
        return nullptr;
    }
    // Leaves the dialog one of three ways: 0 Cancel (or Exit), 1 Escape, 2 the close box.
    void Dismiss(QWidget* dlg, int nWay) {
        if (nWay == 0)
            Click(dlg, 101);
        else if (nWay == 1)
            QTest::keyClick(dlg, Qt::Key_Escape);
        else
            dlg->close();
        FlushDeletes();
    }
    bool Unchanged(const INISTRUCT& before) const {
        return std::memcmp(&before, &ini, sizeof ini) == 0 && !std::filesystem::exists(cfg.ini());
    }
    TempConfig cfg;
    testutil::BoxRecorder boxes;
    INISTRUCT ini{};
    int nRefresh = 0;

private:
    QString m_caption;
};
