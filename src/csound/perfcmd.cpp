#include "csound/perfcmd.h"

#include "settings/inifile.h"

namespace perf {
namespace {

constexpr std::size_t kPieceChars = 9; // a flag letter and at most 8 characters of number
constexpr std::size_t kMaxArguments = 255;

struct Builder {
    std::string group = "-";
    std::string fault;

    void flag(bool on, const char* letter) {
        if (on)
            group += letter;
    }
    // A flag with its number. A number too long for its piece is refused:
    // cutting digits would ask Csound for a different value.
    void flag(bool on, const char* letter, long long value, const char* what) {
        if (!on || !fault.empty())
            return;
        std::string piece = std::string(letter) + DecimalText(value);
        if (piece.size() > kPieceChars) {
            fault = std::string("The ") + what + " " + DecimalText(value) +
                    " is too long for the Csound command line (at most 8 characters).";
            return;
        }
        group += piece;
    }
};

// The Csound letter of a radio button of the Sound page; none for other ids.
std::string letter(int id) {
    if (id < IDC_NOSOUND || id > IDC_FLOAT)
        return {};
    return std::string(1, "nAWhcauslf"[id - IDC_NOSOUND]);
}

// The format letter, then the sample type's. Csound writes a header unless
// it is given "h", so No Header asks for exactly that. Its 8-bit WAV samples
// are unsigned, as the WAV format has them: it refuses signed 8-bit ("c")
// with Wave and leaves an empty file, so 8 bit with Wave asks for "8".
std::string soundFormat(const INISTRUCT& ini) {
    std::string s = letter(ini.nSoundFormat);
    if (ini.nSoundFormat == IDC_WAVE && ini.nSoundType == IDC_8BIT)
        s += "8";
    else if (ini.nSoundFormat != IDC_NOSOUND)
        s += letter(ini.nSoundType);
    return s;
}

// The arguments joined with single blanks, nothing quoted.
std::string joined(const std::vector<std::string>& args) {
    std::string text = args.front();
    for (std::size_t i = 1; i < args.size(); ++i)
        text += " " + args[i];
    return text;
}

CommandLine refused(std::string fault) {
    return {{}, szLineTooLong, std::move(fault)};
}

} // namespace

bool IsUnifiedPiece(std::string_view szOrc) {
    constexpr std::string_view ext = ".csd";
    if (szOrc.size() < ext.size())
        return false;
    const std::string_view tail = szOrc.substr(szOrc.size() - ext.size());
    for (std::size_t i = 0; i < ext.size(); ++i) {
        const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? char(tail[i] - 'A' + 'a') : tail[i];
        if (c != ext[i])
            return false;
    }
    return true;
}

CommandLine MakeCommandLine(const INISTRUCT& ini) {
    const bool bUnified = IsUnifiedPiece(ini.szOrc);
    if (ini.szOrc[0] == '\0' || (!bUnified && ini.szScore[0] == '\0'))
        return {{}, szCmdLineError, {}};

    Builder b;
    b.flag(ini.nWarningsCheck != 0, "m", ini.nWarningsCheck, "message level");
    b.group += soundFormat(ini);
    b.flag(ini.nRewriteHeaderCheck, "R");
    b.flag(ini.nDeferFileLoad, "D");
    b.flag(ini.nITimeOnly, "I");
    b.flag(ini.nOrcSRateCheck, "r", ini.nOrcSrate, "sample rate");
    b.flag(ini.nOrcKRateCheck, "k", ini.nOrcKrate, "control rate");
    b.flag(ini.nVerboseOrcCheck, "v");
    b.flag(ini.nScoScotCheck, "S");
    b.flag(ini.nScoTempCheck, "t", ini.nScoTempo, "tempo");
    b.flag(ini.nMidiSusCheck, "P", ini.nMidiSus, "sustain pedal threshold");
    b.flag(ini.nHardwareBufferCheck, "B", ini.nHardwareBuffer, "hardware buffer size");
    b.flag(ini.nSoftwareBufferCheck, "b", ini.nSoftwareBuffer, "software buffer size");
    b.flag(ini.nMidiTerminate, "T");
    b.flag(ini.nDisplay == IDC_ASCII, "g");
    b.flag(ini.nDisplay == IDC_NODISPLAY, "d");
    b.flag(ini.nHeartbeat, "H");
    if (!b.fault.empty())
        return refused(b.fault);

    std::vector<std::string> args;
    const auto add = [&args](std::initializer_list<const char*> words) {
        args.insert(args.end(), words.begin(), words.end());
    };
    add({ini.szCsoundPath, b.group.c_str(), "-o",
         ini.nOutputFilenameCheck ? ini.szOutputFilename : "test"});
    if (ini.nMidiInFileCheck)
        add({"-F", ini.szMidiInFile});
    if (ini.nScoExtractCheck)
        add({"-x", ini.szScoExtract});
    args.push_back(std::string(ini.szOrcDir) + ini.szOrc);
    if (!bUnified)
        args.push_back(std::string(ini.nScoreMode ? ini.szOrcDir : ini.szScoreDir) + ini.szScore);

    std::string text = joined(args);
    // A cut line would name another orchestra or score: refuse it whole.
    const std::size_t argumentChars = text.size() - args[0].size() - 1;
    if (argumentChars > kMaxArguments)
        return refused("The Csound command line would be " + DecimalText(long(argumentChars)) +
                       " characters long; at most 255 fit. Use shorter folder or file names.");
    return {std::move(args), std::move(text), {}};
}

} // namespace perf
