// Deleting a file so that a mistaken delete can be undone: the file goes to
// the desktop's trash (the freedesktop.org trash that file managers show and
// restore from), with its record of where it came from. Names are handled as
// the bytes the file system holds, whatever their encoding.
#pragma once

#include <string>
#include <string_view>

// The user's home trash: $XDG_DATA_HOME/Trash, or ~/.local/share/Trash when
// XDG_DATA_HOME is unset. Empty when neither names an absolute folder.
std::string HomeTrashFolder();

// The name a trashed file gets in the trash for the nth try (1, 2, ...):
// the file's own name, then with ".n" before its extension, cut to at most
// nMaxBytes bytes so that its record "NAME.trashinfo" still fits the file
// system's name limit. Cuts never split a UTF-8 character of a UTF-8 name.
std::string TrashRecordName(std::string_view szName, int nTry, std::size_t nMaxBytes);

// Moves the file to the trash: the home trash when it lies on the same file
// system, else that file system's own trash. Where no trash can take it (no
// home, no trash the user may write), deletes it instead. Never waits and
// never retries without end. 0 on success, else the errno value of the delete.
int TrashOrDeleteFile(const std::string& szPath);
