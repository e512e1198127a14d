// File operations that never destroy a file the user did not ask to lose:
// creating never truncates, renaming never replaces.
#pragma once

#include <string>
#include <string_view>

// Creates the file and writes the bytes, only when no file of that name
// exists. 0 on success, else an errno value (EEXIST when the name is taken);
// on a failed write the half-written new file is removed again.
int CreateNewFile(const std::string& szPath, std::string_view bytes);

// Replaces the file's whole content with the bytes: writes and flushes a
// temporary file in the same folder, renames it over the old one and flushes
// the folder, so neither a crash nor a power loss leaves the old file partly
// overwritten or the new name lost. A new file gets mode 0644, an existing
// one keeps its permissions. With FollowLink a symbolic link stays and its
// target is replaced (the settings file may be a link into a dotfiles
// folder); otherwise the link itself is replaced. 0 on success, else an
// errno value.
enum class LinkPolicy { ReplaceLink, FollowLink };
int ReplaceFileWhole(const std::string& szPath, std::string_view bytes,
                     LinkPolicy link = LinkPolicy::ReplaceLink);

// Renames a file; never replaces an existing target (EEXIST then, both files
// untouched). 0 on success, else an errno value.
int RenameNoReplace(const std::string& szOld, const std::string& szNew);

// Deletes the file. 0 on success, else an errno value.
int DeleteFile(const std::string& szPath);

// True when something (a file, folder or link) has this name.
bool PathExists(const std::string& szPath);

// A sentence for a message box, naming the file and the reason.
std::string FileErrorText(const std::string& szWhat, const std::string& szPath, int nError);
