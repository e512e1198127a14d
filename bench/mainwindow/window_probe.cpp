// Starts one window, waits for its first paint, prints the resident memory
// in kB and exits: "bare" is a plain 550 x 400 QWidget, "tonsmith" the main
// window. The benchmark times the whole process from outside.
#include "mainwindow/tonsm32.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && !m_seen && watched->isWidgetType()) {
            m_seen = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_seen = false;
};

long ResidentKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
} // namespace

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication app(argc, argv);
    FirstPaint probe;
    app.installEventFilter(&probe);
    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(550, 400);
    } else {
        window = std::make_unique<MainWindow>(nullptr);
    }
    window->show();
    QApplication::exec();
    std::printf("%ld\n", ResidentKb());
    return 0;
}
