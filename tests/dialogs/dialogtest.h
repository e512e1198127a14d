// Helpers shared by the dialog tests.
#pragma once

#include "dialogs/controls.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

inline QTabBar* TabBarOf(QWidget* dlg) {
    return dlg->findChild<QTabBar*>();
}

inline void SelectTab(QWidget* dlg, int nIndex) {
    TabBarOf(dlg)->setCurrentIndex(nIndex);
}

inline QLineEdit* Edit(QWidget* dlg, int nId) {
    auto* e = qobject_cast<QLineEdit*>(GetDlgItem(dlg, nId));
    EXPECT_NE(e, nullptr) << "no edit box " << nId;
    return e;
}

inline void Click(QWidget* dlg, int nId) {
    auto* b = qobject_cast<QAbstractButton*>(GetDlgItem(dlg, nId));
    ASSERT_NE(b, nullptr) << "no button " << nId;
    b->click();
}

// Leaves the dialog one of three ways: 0 Cancel (or Exit), 1 Escape, 2 the close box.
inline void Dismiss(QWidget* dlg, int nWay) {
    if (nWay == 0)
        Click(dlg, 101);
    else if (nWay == 1)
        QTest::keyClick(dlg, Qt::Key_Escape);
    else
        dlg->close();
}

inline bool Enabled(QWidget* dlg, int nId) {
    QWidget* w = GetDlgItem(dlg, nId);
    return w && w->isEnabled();
}

// Runs the deletions the dialogs leave for the event loop.
inline void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
