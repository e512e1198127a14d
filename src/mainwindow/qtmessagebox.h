// Shows the core's messages as real dialogs.
#pragma once

#include <QMessageBox>

class QWidget;

struct MessageBoxLook {
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
};

// The buttons and icon for a combination of MB_* flags.
MessageBoxLook MessageBoxLookFor(unsigned type);
// The platform's answer (IDOK, IDCANCEL, IDYES, IDNO) for a pressed button.
int MessageBoxResult(QMessageBox::StandardButton button);

// Installs the dialog as the core's message-box handler, owned by hWndOwner
// (may be null). Returns nothing; a later SetMessageBoxHandler replaces it.
void InstallQtMessageBox(QWidget* hWndOwner);
