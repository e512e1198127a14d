// What the five file lists of the main window hold: their folders, patterns
// and order, and the joining of a folder and a listed name.
#pragma once

#include "settings/inistruct.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// List numbers, which are also the lists' control ids.
enum : int { LIST_ORC = 0, LIST_SCORE = 1, LIST_SOURCE = 2, LIST_OUTPUT = 3, LIST_ANALYSIS = 4 };
inline constexpr int nLists = 5;

// The lists are refilled in this order.
inline constexpr std::array<int, nLists> aRefillOrder{LIST_ORC, LIST_ANALYSIS, LIST_SCORE,
                                                      LIST_SOURCE, LIST_OUTPUT};

// Title drawn above the list (also its accessible name).
const char* ListTitle(int nList);
// The list's patterns, in fill order.
const std::vector<const char*>& ListPatterns(int nList);

// Orders names as the lists show them: without regard to ASCII case, ties
// broken by the exact text so the order never depends on the fill order.
bool ListNameLess(const std::string& a, const std::string& b);
// Sorts names into that order.
void SortListNames(std::vector<std::string>& names);

// The list's entries: every pattern's matches in its folder, each name once,
// sorted for display.
std::vector<std::string> ListEntries(const INISTRUCT& ini, int nList);

// Joins a folder and a name (or pattern) in a static buffer that the next
// call overwrites. Any directory field and any file name fit; a longer join
// gives "" rather than a cut path.
const char* MakeFullFilename(const char* szPath, const char* szFileName);

// Copies szText into a settings field of nCapacity bytes. Text that does not
// fit is not cut (a cut name names another file): the field becomes "" and
// the result is false.
bool CopyIntoField(char* szField, std::size_t nCapacity, const char* szText);
