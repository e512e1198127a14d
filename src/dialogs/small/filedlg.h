// The program's open and save dialogs: one shared record, prepared once, and
// a hook so tests can answer a dialog in advance.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

class QWidget;

// The shared dialog record, in the terms of the platform's OPENFILENAME.
struct PopFileRecord {
    QWidget* hwndOwner = nullptr;
    // Filter texts and patterns, in pairs: "Executable Files (*.EXE)", "*.exe",
    // "All Files (*.*)", "*.*".
    const char* const* lpstrFilter = nullptr;
    int nFilterIndex = 0; // the entry the next dialog opens with (0: the first)
    std::size_t nMaxFile = 260;
    std::size_t nMaxFileTitle = 512;
    unsigned Flags = 0;
    const char* lpstrDefExt = nullptr;
};

enum : unsigned { OFN_OVERWRITEPROMPT = 0x0002, OFN_CREATEPROMPT = 0x2000 };

extern PopFileRecord ofn;
extern const char* const szFilter[5];
extern int nReturn;

// What a dialog is asked: shown to the real dialog or to a test's answerer.
struct FileDialogRequest {
    bool bSave = false;        // the save dialog, else the open dialog
    std::string szInitialFile; // the caller's current text
    int nFilterIndex = 0;      // the filter entry it opens with
    unsigned Flags = 0;
};
// The answer: the full path chosen (before the default extension is added),
// with the filter entry in use; nullopt when cancelled.
struct FileDialogAnswer {
    std::string szPath;
    int nFilterIndex = 0;
};
using FileDialogHandler =
    std::function<std::optional<FileDialogAnswer>(const FileDialogRequest& request)>;

// Installs an answerer (empty restores the real dialog); returns the old one.
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

// Prepares the record for hwnd (once, when the main window is created).
void PopFileInitialize(QWidget* hwnd);

// Open and save dialogs. lpstrFileName is the starting name and receives the
// chosen full path; lpstrTitleName receives the name without its folder.
// nFileSize and nTitleSize are the two buffers' sizes, terminator included.
// Non-zero when a file was chosen. A choice that does not fit a buffer is
// refused with a message and both buffers stay as they were (0 returned);
// a cancelled dialog leaves them as they were too.
int PopFileOpenDlg(QWidget* hwnd, char* lpstrFileName, std::size_t nFileSize, char* lpstrTitleName,
                   std::size_t nTitleSize);
int PopFileSaveDlg(QWidget* hwnd, char* lpstrFileName, std::size_t nFileSize, char* lpstrTitleName,
                   std::size_t nTitleSize);

// Asks "Save Current File?"; returns IDYES, IDNO or IDCANCEL.
int FileSaveMessage(QWidget* hWnd);

// The path a dialog answer stands for: the default extension "EXE" is added
// to a typed name that has none, unless a file of the typed name exists
// (programs here have no extension, and picking one must keep its name).
std::string WithDefaultExtension(const std::string& szPath, const char* lpstrDefExt);
