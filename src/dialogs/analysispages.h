// The three pages of the analysis dialog: one edit box per parameter of the
// utility, each with its label ten units above it.
#pragma once

#include "dialogs/tabframe.h"
#include "settings/inistruct.h"

#include <cstddef>
#include <span>

// One parameter box: the page, the edit id (its label has the next id), its
// place in dialog units and the text field it edits.
struct AnalysisBox {
    int nPage;
    int nId;
    int x, y, cx;
    const char* szLabel;
    std::size_t nOffset;
    std::size_t nCapacity;
};

// Every box of the three pages, in the order they are read at OK.
std::span<const AnalysisBox> AnalysisBoxes();

// Ids of the phase-vocoder radio pair and the boxes they enable.
enum { IDC_WINDFACT = 410, IDC_PVHOPSIZE = 412 };

// Creates the pages "LPANAL", "HETRO" and "PVANAL" filled from *lpLocal.
void CreateAnalysisPages(TabFrame* frame, const INISTRUCT* lpLocal);
