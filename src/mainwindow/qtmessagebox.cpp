#include "mainwindow/qtmessagebox.h"

#include "platform/messagebox.h"

#include <QPointer>

MessageBoxLook MessageBoxLookFor(unsigned type) {
    MessageBoxLook look{QMessageBox::Ok, QMessageBox::NoIcon};
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        look.buttons = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MB_YESNO:
        look.buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case MB_YESNOCANCEL:
        look.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    default:
        break;
    }
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        look.icon = QMessageBox::Critical;
        break;
    case MB_ICONQUESTION:
        look.icon = QMessageBox::Question;
        break;
    case MB_ICONEXCLAMATION:
        look.icon = QMessageBox::Warning;
        break;
    case MB_ICONASTERISK:
        look.icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    return look;
}

int MessageBoxResult(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Ok:
        return IDOK;
    default:
        // Closing the box counts as its way out: Cancel, or No for a question.
        return IDCANCEL;
    }
}

void InstallQtMessageBox(QWidget* hWndOwner) {
    QPointer<QWidget> owner(hWndOwner);
    SetMessageBoxHandler(
        [owner](const std::string& text, const std::string& caption, unsigned type) {
            const MessageBoxLook look = MessageBoxLookFor(type);
            QMessageBox box(look.icon, QString::fromStdString(caption),
                            QString::fromStdString(text), look.buttons, owner.data());
            box.setAccessibleName(QString::fromStdString(caption));
            const int result = box.exec();
            const int answer = MessageBoxResult(static_cast<QMessageBox::StandardButton>(result));
            if (answer == IDCANCEL && (type & MB_TYPEMASK) == MB_YESNO)
                return static_cast<int>(IDNO);
            return answer;
        });
}
