// Shows the core's messages as real dialogs.
#pragma once

#include <QMessageBox>

class QWidget;

struct MessageBoxLook {
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton defaultButton; // NoButton: the box's own choice
};

// The buttons, icon and default button for a combination of MB_* flags.
MessageBoxLook MessageBoxLookFor(unsigned type);
// The platform's answer (IDOK, IDCANCEL, IDYES, IDNO) for a pressed button.
int MessageBoxResult(QMessageBox::StandardButton button);

// The box for a message: the caption is its title and also its heading, so
// a desktop that shows the box without a title still shows what is asked;
// the text goes below it. Both are shown as plain text (a path may hold '<').
void PrepareMessageBox(QMessageBox& box, const std::string& text, const std::string& caption,
                       unsigned type);

// Installs the dialog as the core's message-box handler, owned by hWndOwner
// (may be null). Returns nothing; a later SetMessageBoxHandler replaces it.
void InstallQtMessageBox(QWidget* hWndOwner);
