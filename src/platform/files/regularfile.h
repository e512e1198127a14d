// Reading only regular files, never waiting on one that is not: a named pipe
// opened for reading waits until someone writes to it, and a device or a
// socket is no sound file either. Every reader of a file the user picked from
// a list goes through here, so the window never stops answering.
#pragma once

#include <string>

// "" when the path names a regular file (a symbolic link is followed), else
// why not in a few words: "it is a named pipe", "it is a folder", or the
// system's reason ("No such file or directory").
std::string NotRegularFileReason(const std::string& szPath);

// Opens a regular file for reading. The kind is checked before the open, the
// open itself never waits, and the opened file is checked again (it may have
// been replaced in between). Returns a blocking, close-on-exec descriptor, or
// -1 with errno set (EINVAL for a file that is not regular).
int OpenRegularFile(const std::string& szPath);
