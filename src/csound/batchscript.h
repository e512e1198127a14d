// TK3.bat: the batch script of a run with the console build of Csound. It
// sets the three Csound folders, runs the command line and pauses so the
// console stays readable:
//   SET SSDIR=<sound source folder>        CR LF
//   SET SFDIR=<sound output folder>        CR LF
//   SET SADIR=<analysis folder>            CR LF
//   <command line>                         CR LF
//   Pause                                  CR LF
//   Exit                                   (no line end)
#pragma once

#include <string>

namespace csound {
inline constexpr char szScriptName[] = "TK3.bat";

// The value Csound gets for a folder: the folder without its closing '/'
// ("/home/me/wav/" gives "/home/me/wav", "/" and "" give ""). A text that
// does not end in '/' is kept whole rather than losing a character of its
// last name.
std::string TrimmedDirectory(const char* szDir);

// The script's bytes.
std::string MakeBatchScript(const std::string& szSSDIR, const std::string& szSFDIR,
                            const std::string& szSADIR, const std::string& szCommandLine);

// Replaces the file at szPath with the bytes: written to a temporary file in
// the same folder, flushed to disk and renamed over the old one, so the old
// script stays whole until the new one is complete; the folder is flushed
// too, so the new name survives a power loss. 0, or the errno value.
int WriteBatchScript(const std::string& szPath, const std::string& bytes);
} // namespace csound
