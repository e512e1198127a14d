#include "settings/inifile.h"

#include "platform/files/regularfile.h"

#include <climits>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

struct Line {
    std::string_view body; // without its line end
    std::string_view end;  // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) {
            lines.push_back({text.substr(pos), {}});
            break;
        }
        std::size_t bodyEnd = (nl > pos && text[nl - 1] == '\r') ? nl - 1 : nl;
        lines.push_back({text.substr(pos, bodyEnd - pos), text.substr(bodyEnd, nl + 1 - bodyEnd)});
        pos = nl + 1;
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
        std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (!f(text.substr(pos, end - pos)))
            return;
        pos = end + 1;
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
    const std::string_view bom = byteOrderMark(text);
    text.remove_prefix(bom.size());
    const std::vector<Line> lines = splitLines(text);
    const std::string eol(lineEndStyle(lines));
    const std::string newLine = std::string(key) + "=" + std::string(value);

    std::size_t sectionAt = lines.size();
    std::size_t replaceAt = lines.size();
    std::size_t lastInSection = lines.size(); // last non-blank line of the section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = sectionName(lines[i].body)) {
            if (sectionAt != lines.size())
                break;
            if (equalNoCase(*name, section)) {
                sectionAt = i;
                lastInSection = i;
            }
            continue;
        }
        if (sectionAt == lines.size())
            continue;
        if (!trim(lines[i].body).empty())
            lastInSection = i;
        if (auto kv = keyLine(lines[i].body); kv && equalNoCase(kv->first, key)) {
            replaceAt = i;
            break;
        }
    }

    std::string out(bom);
    out.reserve(bom.size() + text.size() + newLine.size() + section.size() + 8);
    auto emit = [&](const Line& l) {
        out.append(l.body);
        out.append(l.end);
    };
    if (sectionAt == lines.size()) {
        for (const Line& l : lines)
            emit(l);
        if (out.size() > bom.size() && out.back() != '\n')
            out += eol;
        out += "[" + std::string(section) + "]" + eol + newLine + eol;
        return out;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == replaceAt) {
            out += newLine;
            out.append(lines[i].end.empty() ? std::string_view{} : lines[i].end);
            continue;
        }
        emit(lines[i]);
        if (replaceAt == lines.size() && i == lastInSection) {
            if (lines[i].end.empty())
                out += eol;
            out += newLine + eol;
        }
    }
    return out;
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
