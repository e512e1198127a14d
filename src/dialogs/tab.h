// The Preferences dialog: a modeless tabbed dialog with the pages
// Directories, Sound, Orc/Sco, MIDI and Display, editing a private copy of
// the settings record.
#pragma once

#include "settings/inistruct.h"

#include <functional>

class QWidget;

// Opens the dialog, owned by hwndParent (the main window), on a copy of
// *lpIniStruct (normally &IniStruct) and returns at once; the dialog stays open
// while the owner keeps working. When it is already open it is brought to
// the front and nothing else changes.
//
// OK takes over the edit boxes, copies the preferences of the copy into
// *lpIniStruct, writes the 39 Preferences keys to the settings file, calls
// refreshLists (which refills the main window's lists) and closes the dialog.
// Settings the dialog does not show (selected files, Csound program and build,
// editors, analysis settings) keep their current values in *lpIniStruct.
// A text too long for its setting is refused with a message; the dialog stays
// open and nothing is saved. Cancel, Escape and the close box drop the copy.
// Enter presses OK.
void OpenPreferences(QWidget* hwndParent, INISTRUCT* lpIniStruct,
                     std::function<void()> refreshLists);
