// A small INI store with the semantics of the platform's profile functions:
// section and key names compared without regard to ASCII case, the first
// matching key wins, blanks around names and values trimmed, one pair of
// matching quotes around a value removed. Writing keeps every other line
// (comments, unknown keys, order, line ends) byte for byte; a key that
// already holds the value keeps its line as it is. CR LF, LF and a lone CR
// all end lines. A UTF-8
// byte-order mark at the start, as Windows editors write it, is skipped on
// reading and kept on writing.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// All keys of an INI text, looked up by name; get gives nothing when the
// section or key is missing.
class IniIndex {
public:
    explicit IniIndex(std::string_view text);
    std::optional<std::string> get(std::string_view section, std::string_view key) const;

private:
    std::unordered_map<std::string, std::string> values_;
    std::unordered_set<std::string> sections_;
};

// The INI text with the key set to value: the key's line replaced in place, or
// the key added at the end of its section, or the section added at the end.
// New lines take the text's line-end style (LF for a new file).
std::string IniTextSet(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value);

// Several keys at once, in one pass over the text; the result is the same as
// setting them one after the other in this order.
struct IniUpdate {
    std::string_view section, key, value;
};
std::string IniTextSetAll(std::string_view text, std::span<const IniUpdate> updates);

// True when the text cannot be an INI file in an ASCII-compatible encoding
// (UTF-16 or UTF-32, with or without a byte-order mark): such a file is
// neither read nor replaced.
bool IniTextIsWide(std::string_view text);

// Reads a number: leading characters of `blanks` skipped, an optional sign,
// then decimal digits up to the first other character. No digits read as 0;
// values beyond the 32-bit range saturate.
int ParseLeadingInt(std::string_view text, std::string_view blanks);

// As the profile reader does: only spaces and tabs are blanks.
inline int IniParseInt(std::string_view text) {
    return ParseLeadingInt(text, " \t");
}

// Decimal text of a number, as the settings file stores it.
std::string DecimalText(long long value);

// True when the text can be stored as a name (section or key) or a value
// without breaking the file's line structure.
bool IniNameIsStorable(std::string_view name);
bool IniValueIsStorable(std::string_view value);

// Reads a whole file. Nothing when it does not exist or cannot be read; sets
// *exists (when given) to whether the path exists at all.
std::optional<std::string> ReadWholeFile(const std::string& path, bool* exists = nullptr);
