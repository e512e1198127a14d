// The file work behind the main window's commands: the two templates of New,
// creating a new orchestra or score, renaming a listed file, and the text
// editor's command lines. No widgets here.
#pragma once

#include "settings/inistruct.h"

#include <cstddef>
#include <string>
#include <string_view>

// What New Orchestra and New Score write.
inline constexpr std::string_view szOrcTemplate =
    "sr=\r\nkr=\r\nksmps=\r\nnchnls=\r\n\r\ninstr 1\r\n\r\nendin\r\n";
inline constexpr std::string_view szScoTemplate = "f1 0 8192 10 1";
static_assert(szOrcTemplate.size() == 47 && szScoTemplate.size() == 14);

// Room for a new file's path, terminator included.
inline constexpr std::size_t nNewPathSize = 256;
// Room for the new name typed in Rename, terminator included.
inline constexpr std::size_t nRenameSize = 128;

// The folder of list nList (0 orchestras, 1 scores, 2 source, 3 output,
// 4 analysis files) in the settings record.
const char* ListFolder(const INISTRUCT& ini, int nList);

// Creates szName + ".orc" (bScore: ".sco") in the orchestra (score) folder
// with its template; the folder setting gains its trailing '/' first. A name
// that would leave the folder (a '/' in it, "." or "..") is refused. An
// existing file is never touched unless the user agrees to replace it whole.
// Problems are told in message boxes. Returns the created path, or "" when
// nothing was written.
std::string CreateFromTemplate(INISTRUCT& ini, bool bScore, const std::string& szName);

// Renames szOldName to szNewName within the folder of list nrenameswitch
// (0 to 3). Never replaces a file: a taken name leaves both files as they
// are. Every refusal and failure is told in a message box. True when renamed.
bool RenameListFile(const INISTRUCT& ini, int nrenameswitch, const std::string& szOldName,
                    const std::string& szNewName);

// The text editor alone: "notepad" when none is chosen.
std::string TextEditorCommand(const INISTRUCT& ini);
// The text editor on a file: the editor, one blank, the path (quoted when it
// holds a blank, so the launcher's splitting gives it back whole).
std::string TextEditorCommand(const INISTRUCT& ini, const std::string& szPath);
// The wave editor on a file.
std::string WaveEditorCommand(const INISTRUCT& ini, const std::string& szPath);
