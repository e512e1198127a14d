// The main window's menu: three popups whose items carry their command ids.
#include "mainwindow/tonsm32.h"

#include "dialogs/controls.h"

#include "mainwindow/winmsg.h"
#include "menuids.h"

#include <QMenuBar>

namespace {
struct MenuItem {
    const char* szText; // nullptr: a separator
    int nId;
};
struct Popup {
    const char* szTitle;
    std::vector<MenuItem> items;
};

const std::vector<Popup>& MenuResource() {
    static const std::vector<Popup> menu{
        {"&File",
         {{"&New", CM_FILENEW},
          {"New &Orc", CM_NEWORC},
          {"New &Sco", CM_NEWSCO},
          {nullptr, 0},
          {"Rename O&rc", CM_RENAMEORC},
          {"Rename S&co", CM_RENAMESCO},
          {"&Rename SoundFile", CM_RENAMESOUND},
          {nullptr, 0},
          {"D&elete Orc", CM_DELETEORC},
          {"De&lete Sco", CM_DELETESCO},
          {"&Delete SoundFile", CM_DELETESOUND},
          {nullptr, 0},
          {"&Analysis", CM_ANALYSIS},
          {"Delete A&nalysis", CM_DELETEANALYSIS},
          {"Co&mpile", CM_COMPILE},
          {nullptr, 0},
          {"E&xit", CM_EXIT}}},
        {"&Configure",
         {{"&Preferences", CM_PREFERENCES},
          {"&Wave Devices", CM_WAVEDEVICES},
          {"&Select Csound", CM_SELECTCSOUND},
          {nullptr, 0},
          {"Select Wave &Editor", CM_SELECTWAVEEDITOR},
          {"&Call Editor", CM_CALLEDITOR},
          {"Select &Text Editor", CM_SELECTTEXTEDITOR}}},
        {"&Help", {{"&About", CM_ABOUT}}},
    };
    return menu;
}

QString WithoutMnemonic(const char* szText) {
    return QString(szText).remove('&');
}
} // namespace

void MainWindow::CreateMenu() {
    hMenu = new QMenuBar(this);
    hMenu->setAccessibleName("Menu");
    for (const Popup& popup : MenuResource()) {
        QMenu* menu = hMenu->addMenu(popup.szTitle);
        menu->setAccessibleName(WithoutMnemonic(popup.szTitle));
        menu->setPalette(FixedPalette()); // a pop-up is a window of its own
        for (const MenuItem& item : popup.items) {
            if (!item.szText) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(item.szText);
            action->setData(item.nId);
            action->setObjectName(QStringLiteral("command%1").arg(item.nId));
            connect(action, &QAction::triggered, this,
                    [this, id = item.nId] { SendMessage(this, WM_COMMAND, unsigned(id), 0); });
        }
    }
    hMenu->setGeometry(0, 0, nWindowWidth, hMenu->sizeHint().height());
}
