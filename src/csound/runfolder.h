// Where csound and the analysis utilities run: the folder of the current
// orchestra (or .csd), so that a piece's relative #include and file names
// resolve beside it, whatever folder Tonsmith itself was started from.
// Csound still finds sound files through SSDIR, SFDIR and SADIR, which name
// the same folders wherever it runs once they are absolute.
#pragma once

#include "settings/inistruct.h"

#include <string>

namespace csound {
// The orchestra folder as an absolute path (a relative one is taken from our
// own current folder); "" when it is no folder, and the run stays in ours.
std::string RunFolder(const INISTRUCT& ini);

// Makes every relative folder of a run, the current sound file and a Csound
// path that names a file (not a bare name looked up on PATH) absolute from
// our own current folder, so each still names the place it named when the
// run happens elsewhere; empty fields stay empty. False, with *fault set and
// the record unchanged, when one would no longer fit its field.
bool MakeFoldersAbsolute(INISTRUCT& ini, std::string* fault);
} // namespace csound
