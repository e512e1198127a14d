// Access to the settings file tk3.ini in the configuration folder.
#pragma once

#include "settings/inifile.h"
#include "settings/inistruct.h"

#include <string>
#include <vector>

// Full path of tk3.ini, formed afresh on every call; empty when the
// configuration folder cannot be obtained.
std::string IniFilePath();

// The stored value, or "" when the file, section or key is missing. The text
// lies in one static 256-byte buffer that every call overwrites: copy it at
// once. A stored value longer than 255 characters reads as "".
const char* ReadIni(const char* lpszSection, const char* lpszKey);

// The stored value as a number, or 0 when missing. Reads like the platform's
// profile reader: optional blanks, an optional sign, then decimal digits up
// to the first non-digit; no digits reads as 0; out of range saturates.
int ReadIniInt(const char* lpszSection, const char* lpszKey);

// Stores the text under the key, creating file, section and key as needed.
// The file is replaced atomically, through a symbolic link to its target.
// 1 on success, 0 on failure.
int WriteIni(const char* lpszSection, const char* lpszKey, const char* lpszString);

// Stores several keys with one atomic replacement of the file. A file that
// holds every value already is not rewritten. A file that must not be
// replaced (read-only, not a file, unreadable, UTF-16 or UTF-32) is left as
// it is, and a write that cannot happen is told in one message box. Values
// holding a line end or NUL cannot be stored and are skipped. 1 when every
// key is stored, else 0.
int WriteIniValues(std::span<const IniUpdate> updates);

// Loads the whole settings file into IniStruct and applies the defaults.
void InitApp(void* hWnd);

// Same as InitApp, into any record (for tests and benchmarks).
void InitAppInto(INISTRUCT& ini);

// Makes the directory text end with '/', appending one in place; returns szPath.
// The caller's buffer must have room for one more character.
char* SlashPath(char* szPath);

// Keys whose stored text did not fit its field at the last load. Such a value
// is never cut (a cut path names another place): the field keeps its default.
struct IgnoredKey {
    std::string section;
    std::string key;
    std::size_t length;    // characters stored
    std::size_t capacity;  // characters the field holds
    bool holdsNul = false; // refused for a NUL byte rather than its length
};
const std::vector<IgnoredKey>& IgnoredIniKeys();

// Why the whole file was not read at the last load ("" when it was read or
// is missing): every setting then has its default and the file is never
// replaced.
const std::string& IniFileProblem();

// The start-up directory, when it was too long for a directory field and the
// fields stayed empty instead ("" when it fitted).
const std::string& UnusableStartupDirectory();

namespace prefs {
// Writes the 39 Preferences keys from the dialog's working copy; returns 1.
int RefreshIni(const INISTRUCT* lpLocalIniStruct);
} // namespace prefs
