// The Csound performance command line: one group of single-letter flags
// behind a dash, the output file, the optional MIDI and extract files, then
// the orchestra and score paths.
#include "csound/cmdline.h"

#include "csound/stringtable.h"
#include "settings/inifile.h"

#include <cstring>
#include <string>

namespace perf {
namespace {

char szCommandLine[256];
std::string lastFault;

constexpr std::size_t kPieceChars = 9; // a flag letter and at most 8 characters of number

struct Builder {
    std::string group = "-";
    bool ok = true;

    void flag(bool on, const char* letter) {
        if (on)
            group += letter;
    }
    // A flag with its number. A number too long for its piece is refused:
    // cutting digits would ask Csound for a different value.
    void flag(bool on, const char* letter, long long value, const char* what) {
        if (!on || !ok)
            return;
        std::string piece = std::string(letter) + DecimalText(value);
        if (piece.size() > kPieceChars) {
            lastFault = std::string("The ") + what + " " + DecimalText(value) +
                        " is too long for the Csound command line (at most 8 characters).";
            ok = false;
            return;
        }
        group += piece;
    }
};

std::string letter(int id) {
    char buf[128];
    if (id < 0 || LoadString(unsigned(id), buf, sizeof buf) == 0)
        return {};
    return buf;
}

std::string soundFormat(const INISTRUCT& ini) {
    std::string s = ini.nSoundFormat == IDC_NOHEADER ? std::string() : letter(ini.nSoundFormat);
    if (ini.nSoundFormat != IDC_NOSOUND)
        s += letter(ini.nSoundType);
    return s;
}

} // namespace

const char* CommandLineFault() {
    return lastFault.c_str();
}

const char* MakeCommandLine(const INISTRUCT* lp) {
    if (lp->szOrc[0] == '\0' || lp->szScore[0] == '\0')
        return szCmdLineError;
    lastFault.clear();

    Builder b;
    b.flag(lp->nWarningsCheck != 0, "m", lp->nWarningsCheck, "message level");
    b.group += soundFormat(*lp);
    b.flag(lp->nRewriteHeaderCheck, "R");
    b.flag(lp->nDeferFileLoad, "D");
    b.flag(lp->nITimeOnly, "I");
    b.flag(lp->nOrcSRateCheck, "r", lp->nOrcSrate, "sample rate");
    b.flag(lp->nOrcKRateCheck, "k", lp->nOrcKrate, "control rate");
    b.flag(lp->nVerboseOrcCheck, "v");
    b.flag(lp->nScoScotCheck, "S");
    b.flag(lp->nScoTempCheck, "t", lp->nScoTempo, "tempo");
    b.flag(lp->nMidiSusCheck, "P", lp->nMidiSus, "sustain pedal threshold");
    b.flag(lp->nHardwareBufferCheck, "B", lp->nHardwareBuffer, "hardware buffer size");
    b.flag(lp->nSoftwareBufferCheck, "b", lp->nSoftwareBuffer, "software buffer size");
    b.flag(lp->nMidiTerminate, "T");
    b.flag(lp->nDisplay == IDC_ASCII, "g");
    b.flag(lp->nDisplay == IDC_NODISPLAY, "d");
    b.flag(lp->nHeartbeat, "H");
    if (!b.ok)
        return szCmdLineTooLong;

    std::string line = b.group;
    line += " -o ";
    line += lp->nOutputFilenameCheck ? lp->szOutputFilename : "test";
    if (lp->nMidiInFileCheck) {
        line += " -F ";
        line += lp->szMidiInFile;
    }
    if (lp->nScoExtractCheck) {
        line += " -x ";
        line += lp->szScoExtract;
    }
    line += " ";
    line += lp->szOrcDir;
    line += lp->szOrc;
    line += " ";
    line += lp->nScoreMode ? lp->szOrcDir : lp->szScoreDir;
    line += lp->szScore;

    // A cut line would name another orchestra or score: refuse it whole.
    if (line.size() >= sizeof szCommandLine) {
        lastFault = "The Csound command line would be " + DecimalText(long(line.size())) +
                    " characters long; at most 255 fit. Use shorter folder or file names.";
        return szCmdLineTooLong;
    }
    std::memcpy(szCommandLine, line.c_str(), line.size() + 1);
    return szCommandLine;
}

} // namespace perf
