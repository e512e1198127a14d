// Message boxes for the core: the core never shows a window itself. It asks
// through this hook; the window installs a real dialog, tests install an
// answerer that records the question and replies in advance.
#pragma once

#include <functional>
#include <string>

enum : unsigned {
    MB_OK = 0x0000,
    MB_OKCANCEL = 0x0001,
    MB_YESNOCANCEL = 0x0003,
    MB_YESNO = 0x0004,
    MB_ICONHAND = 0x0010,
    MB_ICONQUESTION = 0x0020,
    MB_ICONEXCLAMATION = 0x0030,
    MB_ICONASTERISK = 0x0040,
    MB_ICONSTOP = MB_ICONHAND,
    MB_ICONERROR = MB_ICONHAND,
    MB_ICONWARNING = MB_ICONEXCLAMATION,
    MB_ICONINFORMATION = MB_ICONASTERISK,
    // The second button is the default one (Enter presses it): the safe
    // answer of a question that could destroy a file.
    MB_DEFBUTTON2 = 0x0100,
    MB_TYPEMASK = 0x000F,
    MB_ICONMASK = 0x00F0,
    MB_DEFMASK = 0x0F00,
};

enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, unsigned type)>;

// Shows a message and returns the button pressed (IDOK, IDCANCEL, IDYES, IDNO).
// Without a handler the message goes to standard error and the answer is the
// default button's: the affirmative one (IDOK or IDYES), or the second button
// (IDNO, IDCANCEL) under MB_DEFBUTTON2.
int MessageBox(const std::string& text, const std::string& caption, unsigned type);

// Installs a handler and returns the one it replaces (empty for the default).
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
