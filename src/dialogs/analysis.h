// The analysis dialog: a modeless tabbed dialog with one page per Csound
// analysis utility (LPANAL, HETRO, PVANAL) for the sound file selected in the
// main window.
#pragma once

#include "settings/inistruct.h"

#include <functional>

class QWidget;

// Opens the dialog, owned by parent (the main window), on a copy of
// *lpIniStruct (normally &IniStruct), showing its szCurSoundFile as the input
// file, and returns at once. The caller opens it only while a sound file is
// selected. When it is already open it is brought to the front and nothing
// else changes (the input file stays the one shown).
//
// OK reads the three pages, copies the analysis settings into *lpIniStruct,
// writes the 31 analysis keys, starts the utility of the visible page on the
// file shown (through the launcher below) and calls refreshLists; the dialog
// stays open for further runs. Settings the dialog does not show are taken
// from *lpIniStruct as they are at that moment (Csound program, analysis
// directory) and are never written back. Exit, Escape and the close box call
// refreshLists and close the dialog; edits since the last OK are dropped.
// Enter presses OK.
void OpenAnalysis(QWidget* parent, INISTRUCT* lpIniStruct, std::function<void()> refreshLists);

// Starts the utility of page iPage (0 LPC, 1 hetro, 2 pvanal) as the working
// copy analysis::LocalIniStruct describes it, and does not wait for it. OK
// calls it after the keys are saved, with the working copy complete.
using AnalysisLauncher = std::function<void(int iPage)>;

// Installs the launcher OK uses and returns the previous one. Without one, OK
// starts the utility with csound::LaunchAnalysis: names stay whole arguments,
// no shell is involved, and a line too long to form or a program that cannot
// start is reported in a message box.
AnalysisLauncher SetAnalysisLauncher(AnalysisLauncher launcher);
