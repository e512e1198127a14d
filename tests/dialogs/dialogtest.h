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
// Controls by id.
struct Ui {
    static QTabBar* Tabs(QWidget* dlg) { return dlg->findChild<QTabBar*>(); }
    static QLineEdit* Edit(const QWidget* d, int n) {
        return qobject_cast<QLineEdit*>(GetDlgItem(d, n));
    }
    static void Click(const QWidget* d, int n) {
        qobject_cast<QAbstractButton*>(GetDlgItem(d, n))->click();
    }
    static bool Enabled(const QWidget* d, int n) { return GetDlgItem(d, n)->isEnabled(); }
    static std::string Text(const QWidget* d, int n) { return GetDlgItemText(d, n).toStdString(); }
};

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

// A tabbed dialog on a fresh settings record in a private configuration
// folder, message boxes recorded; the dialog is closed at the end.
class DialogTest : public ::testing::Test, protected Ui {
protected:
    using Opener = void (*)(QWidget*, INISTRUCT*, std::function<void()>);
    DialogTest(const char* caption, Opener open) : m_caption(caption), m_open(open) {
        TestApp();
        InitAppInto(ini);
    }
    ~DialogTest() override {
        if (QDialog* d = Shown())
            d->reject();
        FlushDeletes();
    }
    QDialog* Open() {
        m_open(nullptr, &ini, [this] { ++nRefresh; });
        return Shown();
    }
    QDialog* Shown() const {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w);
                d && d->isVisible() && d->windowTitle() == m_caption)
                return d;
        return nullptr;
    }
    // Clicks a button of the dialog (100 is OK, 101 Cancel or Exit).
    void Press(QDialog* dlg, int nId) {
        Click(dlg, nId);
        FlushDeletes();
    }
    // Opens the dialog, clicks nId and leaves by Cancel (or Exit), Escape and
    // the close box in turn: each closes it.
    void LeaveEachWay(int nId) {
        for (int nWay = 0; nWay < 3; ++nWay) {
            QDialog* dlg = Open();
            Click(dlg, nId);
            if (nWay == 0)
                Click(dlg, 101);
            else if (nWay == 1)
                QTest::keyClick(dlg, Qt::Key_Escape);
            else
                dlg->close();
            FlushDeletes();
            EXPECT_EQ(Shown(), nullptr) << nWay;
        }
    }
    bool Unchanged(const INISTRUCT& before) const {
        return std::memcmp(&before, &ini, sizeof ini) == 0 && !std::filesystem::exists(cfg.ini());
    }
    TempConfig cfg;
    testutil::BoxAnswerer boxes{IDOK};
    INISTRUCT ini{};
    int nRefresh = 0;

private:
    QString m_caption;
    Opener m_open;
};
