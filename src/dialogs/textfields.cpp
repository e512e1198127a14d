#include "dialogs/textfields.h"

#include "settings/inifile.h"

#include <QByteArray>
#include <cstring>

LONG32 AtoL(const QString& text) {
    // The run-time library skips every C white-space character, the settings
    // file's reader only blanks and tabs.
    const QByteArray bytes = text.toUtf8();
    return ParseLeadingInt(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), " \t\n\r\f\v");
}

QString NumberText(long long n) {
    return QString::number(n);
}

std::size_t FieldBytes(const QString& text) {
    return static_cast<std::size_t>(text.toUtf8().size());
}

bool StoreText(char* lpField, std::size_t nCapacity, const QString& text) {
    // Text the user left as it was shown keeps the field's own bytes, also
    // those that are not UTF-8 (a folder named in Latin-1 stays that folder).
    if (nCapacity > 0 && strnlen(lpField, nCapacity) < nCapacity &&
        FieldText(lpField, nCapacity) == text)
        return true;
    const QByteArray bytes = text.toUtf8();
    const auto n = static_cast<std::size_t>(bytes.size());
    if (nCapacity == 0 || n >= nCapacity || bytes.contains('\0'))
        return false;
    std::memcpy(lpField, bytes.constData(), n);
    lpField[n] = '\0';
    return true;
}

QString FieldText(const char* lpField, std::size_t nCapacity) {
    const std::size_t n = strnlen(lpField, nCapacity);
    return QString::fromUtf8(lpField, static_cast<qsizetype>(n));
}
