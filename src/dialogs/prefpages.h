// The five pages of the Preferences dialog. Each page fills its controls from
// the working copy when it is created and writes every check box and radio
// click into the working copy at once; edit boxes are read only at OK.
#pragma once

#include "dialogs/tabframe.h"
#include "settings/inistruct.h"

#include <cstddef>
#include <span>

enum { PAGE_PATH, PAGE_FILE, PAGE_ORCSCO, PAGE_MIDI, PAGE_DISP };

// Capacity of a number box: a sign and the ten digits of a 32-bit value.
inline constexpr int kNumberBoxChars = 11;

DlgPage* CreatePathPage(TabFrame* frame, INISTRUCT* lpLocal);   // "Directories"
DlgPage* CreateFilePage(TabFrame* frame, INISTRUCT* lpLocal);   // "Sound"
DlgPage* CreateOrcScoPage(TabFrame* frame, INISTRUCT* lpLocal); // "Orc/Sco"
DlgPage* CreateMIDIPage(TabFrame* frame, INISTRUCT* lpLocal);   // "MIDI"
DlgPage* CreateDispPage(TabFrame* frame, INISTRUCT* lpLocal);   // "Display"

// A check box kept in an int field of the working copy, with the box it
// ungreys while on (0 for none).
struct PageFlag {
    int nId;
    std::size_t nOffset;
    int nBoxId;
};
#define PAGE_FLAG(id, field, box)                                                                  \
    { id, offsetof(INISTRUCT, field), box }

// Checks the page's flags (greying their boxes) and fills its edit boxes.
void FillPage(DlgPage* hDlg, int nPage, const INISTRUCT* lpLocal, std::span<const PageFlag> flags);
// Keeps the state of flag nId and greys its box; false when nId is no flag.
bool ClickFlag(DlgPage* hDlg, INISTRUCT* lpLocal, std::span<const PageFlag> flags, int nId);

// At OK: refuses text too long for its field (showing the box and saying
// why), then copies every edit box, greyed ones too, into the working copy.
bool CheckPrefBoxes(TabFrame* frame);
void ReadPrefBoxes(TabFrame* frame, INISTRUCT& local);
