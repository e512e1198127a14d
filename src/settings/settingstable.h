// Every key of tk3.ini, listed once: its section and name, the field of the
// settings record that holds it, how it reads (text, directory or number),
// its default, and which dialog writes it back. The load at start, the
// writes of Preferences OK and Analysis OK and the copies between the live
// record and a dialog's working copy all walk this one table.
#pragma once

#include "settings/inistruct.h"

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>

enum class IniKind : unsigned char {
    Text,      // text taken whole or not at all
    Directory, // text that, when empty, becomes the start-up directory
    Number,    // a 32-bit number stored as decimal text
};

// Who writes the key back. Other keys are written where they change (the
// Csound program, its build, the editors) and only loaded here.
enum class IniWriter : unsigned char { Other, Preferences, Analysis };

struct IniKey {
    const char* section;
    const char* key;
    std::size_t offset; // of the field in INISTRUCT
    std::size_t size;   // of the field in bytes
    IniKind kind;
    IniWriter writer;
    const char* textDefault = nullptr; // Text: taken when the loaded text is empty
    int numberDefault = 0;             // Number: taken when the loaded value is 0
};

// In load order. The rows of each writer are in the order it writes them: a
// key new to the file is added at the end of its section, so this order
// decides the bytes of a fresh file.
std::span<const IniKey> IniKeys();

// Writes the keys the writer owns from the record, in table order, with one
// replacement of the file. Returns 1.
int WriteIniKeys(const INISTRUCT& ini, IniWriter writer);

// A whole settings file that holds only the keys of the fields at these
// offsets, in table order, byte for byte as writing them one by one into a
// new file would give.
std::string IniTextOfFields(const INISTRUCT& ini, std::initializer_list<std::size_t> offsets);

// Copies the fields of the keys the writer owns from src to dst, whole.
void CopyIniFields(INISTRUCT& dst, const INISTRUCT& src, IniWriter writer);
