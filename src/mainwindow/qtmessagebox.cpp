#include "mainwindow/qtmessagebox.h"

#include "platform/messagebox.h"

#include <QLabel>
#include <QPointer>

MessageBoxLook MessageBoxLookFor(unsigned type) {
    MessageBoxLook look{QMessageBox::Ok, QMessageBox::NoIcon, QMessageBox::NoButton};
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
    if ((type & MB_DEFMASK) == MB_DEFBUTTON2) {
        if ((type & MB_TYPEMASK) == MB_OKCANCEL)
            look.defaultButton = QMessageBox::Cancel;
        else if ((type & MB_TYPEMASK) != MB_OK)
            look.defaultButton = QMessageBox::No;
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

void PrepareMessageBox(QMessageBox& box, const std::string& text, const std::string& caption,
                       unsigned type) {
    const MessageBoxLook look = MessageBoxLookFor(type);
    const QString szCaption = QString::fromStdString(caption);
    box.setIcon(look.icon);
    box.setStandardButtons(look.buttons);
    if (look.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(look.defaultButton);
    box.setWindowTitle(szCaption);
    box.setAccessibleName(szCaption);
    box.setTextFormat(Qt::PlainText);
    box.setText(szCaption);
    box.setInformativeText(QString::fromStdString(text));
    if (auto* heading = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        QFont font = heading->font();
        font.setBold(true);
        heading->setFont(font);
    }
    if (auto* body = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        body->setTextFormat(Qt::PlainText);
}

void InstallQtMessageBox(QWidget* hWndOwner) {
    QPointer<QWidget> owner(hWndOwner);
    SetMessageBoxHandler(
        [owner](const std::string& text, const std::string& caption, unsigned type) {
            QMessageBox box(owner.data());
            PrepareMessageBox(box, text, caption, type);
            const int result = box.exec();
            const int answer = MessageBoxResult(static_cast<QMessageBox::StandardButton>(result));
            if (answer == IDCANCEL && (type & MB_TYPEMASK) == MB_YESNO)
                return static_cast<int>(IDNO);
            return answer;
        });
}
