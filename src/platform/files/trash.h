// Deleting a file so that a mistaken delete can be undone: the file goes to
// the desktop's trash (the freedesktop.org trash that file managers show and
// restore from), with its record of where it came from.
#pragma once

#include <string>

// The user's home trash: $XDG_DATA_HOME/Trash, or ~/.local/share/Trash when
// XDG_DATA_HOME is unset. Empty when neither names an absolute folder.
std::string HomeTrashFolder();

// Moves the file to the trash; where no trash can take it (no home, a file
// system whose trash cannot be reached), deletes it instead. 0 on success,
// else the errno value of the delete.
int TrashOrDeleteFile(const std::string& szPath);
