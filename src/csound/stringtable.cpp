#include "csound/stringtable.h"

#include <cstring>

namespace {
struct Entry {
    unsigned id;
    const char* text;
};
constexpr Entry kStrings[] = {
    {300, "n"}, {301, "A"}, {302, "W"}, {303, "h"}, {304, "c"},
    {305, "a"}, {306, "u"}, {307, "s"}, {308, "l"}, {309, "f"},
};
} // namespace

int LoadString(unsigned uID, char* lpBuffer, int cchBufferMax) {
    if (!lpBuffer || cchBufferMax <= 0)
        return 0;
    lpBuffer[0] = '\0';
    for (const Entry& e : kStrings) {
        if (e.id != uID)
            continue;
        std::size_t n = std::strlen(e.text);
        if (n >= std::size_t(cchBufferMax))
            n = std::size_t(cchBufferMax) - 1;
        std::memcpy(lpBuffer, e.text, n);
        lpBuffer[n] = '\0';
        return int(n);
    }
    return 0;
}
