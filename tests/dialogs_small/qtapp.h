// One QApplication for the widget tests of this folder (offscreen).
#pragma once

#include <QApplication>

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "test_smalldialogs";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
