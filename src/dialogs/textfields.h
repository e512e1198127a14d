// Moving edit box text in and out of the settings record's fixed fields.
#pragma once

#include "settings/inistruct.h"

#include <QString>
#include <cstddef>

// The run-time library's decimal reading: leading white space, an optional
// sign, then the digits up to the first other character; no digits gives 0.
// Values beyond the 32-bit range saturate.
LONG32 AtoL(const QString& text);

// Decimal text of a number, as shown in a number box.
QString NumberText(long long n);

// Bytes the text takes in a field (its UTF-8 form, without the terminator).
std::size_t FieldBytes(const QString& text);

// Copies the text into a field of nCapacity bytes (terminator included);
// text equal to what the field shows leaves the field's bytes as they are.
// Returns false and leaves the field alone when it does not fit: a cut name
// could name another file.
bool StoreText(char* lpField, std::size_t nCapacity, const QString& text);

// The text of a field, read up to its terminator or its end.
QString FieldText(const char* lpField, std::size_t nCapacity);

template <std::size_t N> bool StoreText(char (&field)[N], const QString& text) {
    return StoreText(field, N, text);
}
template <std::size_t N> QString FieldText(const char (&field)[N]) {
    return FieldText(field, N);
}
