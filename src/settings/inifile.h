// A small INI store with the semantics of the platform's profile functions:
// section and key names compared without regard to ASCII case, the first
// matching key wins, blanks around names and values trimmed, one pair of
// matching quotes around a value removed. Writing keeps every other line
// (comments, unknown keys, order, line ends) byte for byte. A UTF-8
// byte-order mark at the start, as Windows editors write it, is skipped on
// reading and kept on writing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// The value of a key in INI text, or nothing when the section or key is missing.
std::optional<std::string> IniTextGet(std::string_view text, std::string_view section,
                                      std::string_view key);

// All keys of an INI text, looked up by name: for reading many keys of one
// file. Same rules as IniTextGet.
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

// Reads a number as the profile reader does: optional blanks, an optional
// sign, then decimal digits up to the first other character. No digits read
// as 0; values beyond the int range saturate.
int IniParseInt(std::string_view text);

// Decimal text of a number, as the settings file stores it.
std::string DecimalText(long long value);

// True when the text can be stored as a name (section or key) or a value
// without breaking the file's line structure.
bool IniNameIsStorable(std::string_view name);
bool IniValueIsStorable(std::string_view value);

// Reads a whole file. Nothing when it does not exist or cannot be read; sets
// *exists (when given) to whether the path exists at all.
std::optional<std::string> ReadWholeFile(const std::string& path, bool* exists = nullptr);

// Replaces the file atomically: a temporary file in the same folder is
// written, flushed and renamed over the target, so a crash leaves the old or
// the new content, never a mix, and the folder is flushed after the rename so
// a power loss cannot lose the new name. A symbolic link is followed and its target
// replaced; an existing file keeps its permissions.
bool ReplaceFileAtomically(const std::string& path, std::string_view content);
