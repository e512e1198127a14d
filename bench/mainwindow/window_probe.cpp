// Starts one window, waits for its first paint, prints the resident memory
// in kB and exits: "bare" is a plain 550 x 400 QWidget, "tonsmith" the main
// window with all that the program starts beside it (the sound engine, the
// run watch, the commands). The benchmark times the whole process from
// outside.
#include "mainwindow/cdacsound.h"
#include "mainwindow/runwatch.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/windowcommands.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
    if (bare) {
        QWidget window;
        window.setFixedSize(550, 400);
        window.show();
        QApplication::exec();
    } else {
        CdacSound sound;
        MainWindow window(&sound);
        sound.SetWindow(&window);
        RunWatch runWatch(window);
        WindowCommands commands(window, &sound);
        window.show();
        QApplication::exec();
        sound.SetWindow(nullptr);
    }
    std::printf("%ld\n", ResidentKb());
    // For a profile of where the memory went: the mappings and their
    // resident sizes, to standard error.
    if (std::getenv("TONSMITH_PROBE_SMAPS"))
        if (FILE* f = std::fopen("/proc/self/smaps", "r")) {
            char line[512];
            while (std::fgets(line, sizeof line, f))
                std::fputs(line, stderr);
            std::fclose(f);
        }
    return 0;
}
