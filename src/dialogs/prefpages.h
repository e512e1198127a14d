// The five pages of the Preferences dialog. Each page fills its controls from
// the working copy when it is created and writes every check box and radio
// click into the working copy at once; edit boxes are read only at OK.
#pragma once

#include "dialogs/tabframe.h"
#include "settings/inistruct.h"

// Capacity of a number box: a sign and the ten digits of a 32-bit value.
inline constexpr int kNumberBoxChars = 11;

DlgPage* CreatePathPage(TabFrame* frame, INISTRUCT* lpLocal);   // "Directories"
DlgPage* CreateFilePage(TabFrame* frame, INISTRUCT* lpLocal);   // "Sound"
DlgPage* CreateOrcScoPage(TabFrame* frame, INISTRUCT* lpLocal); // "Orc/Sco"
DlgPage* CreateMIDIPage(TabFrame* frame, INISTRUCT* lpLocal);   // "MIDI"
DlgPage* CreateDispPage(TabFrame* frame, INISTRUCT* lpLocal);   // "Display"
