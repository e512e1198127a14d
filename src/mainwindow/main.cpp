// Tonsmith: a front end for Csound. Answers --help and --version; takes no
// other arguments.
#include "mainwindow/cdacsound.h"
#include "mainwindow/infoargs.h"
#include "mainwindow/oneinstance.h"
#include "mainwindow/qtmessagebox.h"
#include "mainwindow/runwatch.h"
#include "mainwindow/tonsm32.h"
#include "mainwindow/windowcommands.h"
#include "platform/messagebox.h"
#include "settings/firststart.h"
#include "settings/ini.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

namespace {
// Settings that did not fit their fields were left at their defaults; the
// user hears about it once the window is up.
void ReportIgnoredSettings() {
    if (!IniFileProblem().empty())
        MessageBox(IniFileProblem(), "Tonsmith 3.3", MB_ICONEXCLAMATION);
    std::string szText;
    for (const IgnoredKey& k : IgnoredIniKeys())
        szText += "[" + k.section + "] " + k.key + ": " +
                  (k.holdsNul ? std::string("holds a NUL byte, which would cut it.\n")
                              : std::to_string(k.length) + " characters, at most " +
                                    std::to_string(k.capacity) + " fit.\n");
    if (!UnusableStartupDirectory().empty())
        szText +=
            "The start-up folder is too long for a folder setting: " + UnusableStartupDirectory() +
            "\n";
    if (!szText.empty())
        MessageBox("These settings in tk3.ini cannot be used and keep their defaults:\n" + szText,
                   "Tonsmith 3.3", MB_ICONEXCLAMATION);
}
} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> answered = AnswerInfoArguments(argc, argv, stdout))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName("tonsmith");
    QGuiApplication::setDesktopFileName("tonsmith");
    InstallQtMessageBox(nullptr);
    OneInstance instance;
    if (instance.HandOver())
        return 0; // the running window came to the front instead
    // Before the window loads the settings: a first start gets a workspace.
    const std::string szFirstStart = MakeFirstStartWorkspace();

    CdacSound sound;
    MainWindow window(&sound);
    sound.SetWindow(&window);
    RunWatch runWatch(window);
    WindowCommands commands(window, &sound);
    InstallQtMessageBox(&window);
    window.CenterOn(window.screen()->geometry());
    window.show();
    instance.Listen(&window);
    QTimer::singleShot(0, &window, ReportIgnoredSettings);
    if (!szFirstStart.empty())
        QTimer::singleShot(0, &window, [szFirstStart] {
            MessageBox("The demo workspace for a first start could not be made: " + szFirstStart +
                           "\nThe folders are the one Tonsmith was started in.",
                       "Tonsmith 3.3", MB_ICONEXCLAMATION);
        });
    const int nResult = QApplication::exec();
    // Completions that might still arrive go nowhere once the window is gone.
    sound.SetWindow(nullptr);
    return nResult;
}
