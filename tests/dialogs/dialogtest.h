// Helpers shared by the dialog tests: one QApplication, controls by id, and
// the ways out of a dialog.
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
#include <gtest/gtest.h>
#include <ostream>
#include <sstream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Never destroyed: dialogs the tests leave open would outlive it.
inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "test_dialogs";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// The shown dialog of that caption, or null.
inline QDialog* ShownDialog(const QString& caption) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && d->windowTitle() == caption)
            return d;
    return nullptr;
}

inline QTabBar* TabBarOf(QWidget* dlg) {
    return dlg->findChild<QTabBar*>();
}
inline void SelectTab(QWidget* dlg, int nIndex) {
    TabBarOf(dlg)->setCurrentIndex(nIndex);
}
inline QLineEdit* Edit(const QWidget* dlg, int nId) {
    auto* e = qobject_cast<QLineEdit*>(GetDlgItem(dlg, nId));
    EXPECT_NE(e, nullptr) << "no edit box " << nId;
    return e;
}
inline void Click(const QWidget* dlg, int nId) {
    auto* b = qobject_cast<QAbstractButton*>(GetDlgItem(dlg, nId));
    ASSERT_NE(b, nullptr) << "no button " << nId;
    b->click();
}
inline bool Enabled(const QWidget* dlg, int nId) {
    QWidget* w = GetDlgItem(dlg, nId);
    return w && w->isEnabled();
}

// Checks keys of the settings file, given as "SECTION/key=value ...".
inline void ExpectIni(const std::string& spec) {
    std::istringstream in(spec);
    for (std::string s; in >> s;) {
        const auto slash = s.find('/'), eq = s.find('=');
        const std::string section = s.substr(0, slash), key = s.substr(slash + 1, eq - slash - 1);
        EXPECT_EQ(ReadIni(section.c_str(), key.c_str()), s.substr(eq + 1)) << s;
    }
}

// Runs the deletions the dialogs leave for the event loop.
inline void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Leaves a tabbed dialog one of three ways: 0 Cancel (or Exit), 1 Escape, 2 the close box.
inline void Dismiss(QWidget* dlg, int nWay) {
    if (nWay == 0)
        Click(dlg, 101);
    else if (nWay == 1)
        QTest::keyClick(dlg, Qt::Key_Escape);
    else
        dlg->close();
    FlushDeletes();
}

// A fresh settings record in a private configuration folder, message boxes recorded.
class DialogTest : public ::testing::Test {
protected:
    DialogTest() {
        TestApp();
        InitAppInto(ini);
    }
    TempConfig cfg;
    testutil::BoxRecorder boxes;
    INISTRUCT ini{};
    int nRefresh = 0;
};
