#include "dialogs/textfields.h"

#include <QByteArray>
#include <cstdint>
#include <cstring>
#include <limits>

LONG32 AtoL(const char* sz) {
    if (!sz)
        return 0;
    while (*sz == ' ' || *sz == '\t' || *sz == '\n' || *sz == '\r' || *sz == '\f' || *sz == '\v')
        ++sz;
    bool bNegative = false;
    if (*sz == '+' || *sz == '-')
        bNegative = *sz++ == '-';
    std::int64_t n = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<LONG32>::max()} + 1;
    for (; *sz >= '0' && *sz <= '9'; ++sz) {
        n = n * 10 + (*sz - '0');
        if (n > kLimit)
            n = kLimit;
    }
    if (bNegative)
        n = -n;
    if (n > std::numeric_limits<LONG32>::max())
        n = std::numeric_limits<LONG32>::max();
    return static_cast<LONG32>(n);
}

LONG32 AtoL(const QString& text) {
    return AtoL(text.toUtf8().constData());
}

QString NumberText(long long n) {
    return QString::number(n);
}

std::size_t FieldBytes(const QString& text) {
    return static_cast<std::size_t>(text.toUtf8().size());
}

bool StoreText(char* lpField, std::size_t nCapacity, const QString& text) {
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
