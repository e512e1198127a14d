// A directory listing by wildcard, as a list box fills itself from a folder:
// names matched without regard to case, hidden (dot) files included, a
// matching subdirectory shown as "[name]", a missing folder listing nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// ASCII folding, as names are compared in listings: the locale's tolower
// costs a call per character and, in a single-byte locale, would fold
// letters the lists never fold.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the name matches the pattern: '*' any run of characters (also
// none), '?' exactly one; letters compared without regard to ASCII case.
bool WildcardMatch(std::string_view szPattern, std::string_view szName);

// The entries of the folder szDir (ending in '/', or "" for the current
// folder) that match any of the patterns, each once, in one pass, in the
// file system's order; "." and ".." never. A folder text without its
// slash joins like any text: "dir/pre" with "*.wav" lists "pre*.wav" in
// "dir/".
std::vector<std::string> ScanDirectory(const std::string& szDir,
                                       const std::vector<const char*>& patterns);
