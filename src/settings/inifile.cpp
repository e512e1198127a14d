#include "settings/inifile.h"

#include "platform/files/regularfile.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

struct Line {
    std::string_view body; // without its line end
    std::string_view end;  // "\r\n", "\n" or "" for a last line without one
};

// The line end that starts at pos: CR LF, LF or a lone CR (old Mac files).
std::size_t lineEndLength(std::string_view text, std::size_t pos) {
    return text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
}

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({text.substr(pos), {}});
            break;
        }
        const std::size_t n = lineEndLength(text, end);
        lines.push_back({text.substr(pos, end - pos), text.substr(end, n)});
        pos = end + n;
    }
    return lines;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

// The name of a section header line, or nothing when the line is not one.
std::optional<std::string_view> sectionName(std::string_view body) {
    std::string_view t = trim(body);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

bool isComment(std::string_view t) {
    return !t.empty() && (t.front() == ';' || t.front() == '#');
}

// Splits "name = value"; nothing for lines that hold no key.
std::optional<std::pair<std::string_view, std::string_view>> keyLine(std::string_view body) {
    std::string_view t = trim(body);
    if (t.empty() || isComment(t) || t.front() == '[')
        return std::nullopt;
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return std::pair{trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

std::string unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

std::string_view lineEndStyle(const std::vector<Line>& lines) {
    for (const Line& l : lines)
        if (!l.end.empty())
            return l.end;
    return "\n";
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = lower(c);
    return out;
}

// Windows editors start a UTF-8 file with a byte-order mark; it belongs to
// the file, not to its first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view byteOrderMark(std::string_view text) {
    return text.substr(0, text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0);
}

template <typename F> void forEachLine(std::string_view text, F&& f) {
    text.remove_prefix(byteOrderMark(text).size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find_first_of("\r\n", pos);
        const std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (!f(text.substr(pos, end - pos)))
            return;
        pos = end == text.size() ? end : end + lineEndLength(text, end);
    }
}

} // namespace

IniIndex::IniIndex(std::string_view text) {
    std::string current;
    bool skipping = false;
    forEachLine(text, [&](std::string_view body) {
        if (auto name = sectionName(body)) {
            current = lowered(*name);
            // Only the first section of a name counts.
            skipping = !sections_.insert(current).second;
            return true;
        }
        if (!skipping)
            if (auto kv = keyLine(body))
                values_.try_emplace(current + '\n' + lowered(kv->first), unquote(kv->second));
        return true;
    });
}

std::optional<std::string> IniIndex::get(std::string_view section, std::string_view key) const {
    auto it = values_.find(lowered(section) + '\n' + lowered(key));
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::string IniTextSet(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value) {
    const IniUpdate update{section, key, value};
    return IniTextSetAll(text, std::span(&update, 1));
}

namespace {
// The updates of one section, and where they go in the text.
struct SectionUpdates {
    std::string_view name;
    std::vector<IniUpdate> updates;         // one per key, the last value wins
    std::size_t header = SIZE_MAX;          // line of its first header, if any
    std::size_t last = SIZE_MAX;            // its last non-blank line
    std::vector<const IniUpdate*> appended; // keys it does not hold yet
};

std::vector<SectionUpdates> groupUpdates(std::span<const IniUpdate> updates) {
    std::vector<SectionUpdates> groups;
    for (const IniUpdate& u : updates) {
        auto g = std::find_if(groups.begin(), groups.end(), [&](const SectionUpdates& x) {
            return equalNoCase(x.name, u.section);
        });
        if (g == groups.end()) {
            g = groups.insert(groups.end(), SectionUpdates{});
            g->name = u.section;
        }
        auto same = std::find_if(g->updates.begin(), g->updates.end(),
                                 [&](const IniUpdate& x) { return equalNoCase(x.key, u.key); });
        if (same == g->updates.end())
            g->updates.push_back(u);
        else
            same->value = u.value;
    }
    return groups;
}
} // namespace

std::string IniTextSetAll(std::string_view text, std::span<const IniUpdate> updates) {
    const std::string_view bom = byteOrderMark(text);
    text.remove_prefix(bom.size());
    const std::vector<Line> lines = splitLines(text);
    const std::string eol(lineEndStyle(lines));
    std::vector<SectionUpdates> groups = groupUpdates(updates);

    // Where each key goes: its line in the first section of its name (the
    // one a reader takes), else after the last non-blank line there.
    std::vector<const IniUpdate*> replaced(lines.size(), nullptr);
    for (SectionUpdates& g : groups) {
        std::vector<bool> found(g.updates.size(), false);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto name = sectionName(lines[i].body);
            if (name && g.header != SIZE_MAX)
                break;
            if (name) {
                if (equalNoCase(*name, g.name))
                    g.header = g.last = i;
                continue;
            }
            if (g.header == SIZE_MAX)
                continue;
            if (!trim(lines[i].body).empty())
                g.last = i;
            const auto kv = keyLine(lines[i].body);
            for (std::size_t u = 0; kv && u < g.updates.size(); ++u) {
                if (found[u] || !equalNoCase(kv->first, g.updates[u].key))
                    continue;
                found[u] = true;
                // A value already stored keeps its line byte for byte.
                if (unquote(kv->second) != g.updates[u].value)
                    replaced[i] = &g.updates[u];
                break;
            }
        }
        for (std::size_t u = 0; u < g.updates.size(); ++u)
            if (!found[u])
                g.appended.push_back(&g.updates[u]);
    }

    std::string out(bom);
    out.reserve(bom.size() + text.size() + 64 * updates.size());
    const auto keyText = [](const IniUpdate& u) {
        return std::string(u.key) + "=" + std::string(u.value);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += replaced[i] ? keyText(*replaced[i]) : std::string(lines[i].body);
        out.append(lines[i].end);
        for (const SectionUpdates& g : groups) {
            if (g.header == SIZE_MAX || g.last != i || g.appended.empty())
                continue;
            if (lines[i].end.empty())
                out += eol;
            for (const IniUpdate* u : g.appended)
                out += keyText(*u) + eol;
        }
    }
    for (const SectionUpdates& g : groups) {
        if (g.header != SIZE_MAX)
            continue;
        if (!lines.empty() && lines.back().end.empty() && !out.ends_with(eol))
            out += eol;
        out += "[" + std::string(g.name) + "]" + eol;
        for (const IniUpdate* u : g.appended)
            out += keyText(*u) + eol;
    }
    return out;
}

bool IniTextIsWide(std::string_view text) {
    // A byte-order mark of UTF-16 or UTF-32 (FF FE, FE FF, 00 00 FE FF), or
    // a NUL among the first two bytes, where ASCII text never has one.
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
        return true;
    return text.substr(0, 2).find('\0') != std::string_view::npos;
}

int ParseLeadingInt(std::string_view text, std::string_view blanks) {
    std::size_t i = 0;
    while (i < text.size() && blanks.find(text[i]) != std::string_view::npos)
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            v = static_cast<long long>(INT_MAX) + 1; // saturate, keep scanning
    }
    if (negative)
        return static_cast<int>(-v);
    return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

std::string DecimalText(long long value) {
    return std::to_string(value);
}

bool IniNameIsStorable(std::string_view name) {
    std::string_view t = trim(name);
    return !t.empty() && t.size() == name.size() &&
           name.find_first_of("\r\n=[]") == std::string_view::npos && !isComment(name);
}

bool IniValueIsStorable(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos &&
           value.find('\0') == std::string_view::npos;
}

std::optional<std::string> ReadWholeFile(const std::string& path, bool* exists) {
    std::error_code ec;
    if (exists)
        *exists = std::filesystem::exists(path, ec);
    // A named pipe in its place must not hold the program at start.
    const int fd = OpenRegularFile(path);
    std::FILE* f = fd >= 0 ? fdopen(fd, "rb") : nullptr;
    if (!f) {
        if (fd >= 0)
            close(fd);
        return std::nullopt;
    }
    std::string data;
    char buf[16384];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return data;
}
