// Command lines of Csound's analysis utilities (lpanal, hetro, pvanal) and
// the write-back of their settings (the keys are in the settings table).
#include "csound/analysiscmd.h"

#include "platform/process/argsplit.h"
#include "settings/inifile.h"
#include "settings/settingstable.h"

#include <cstring>
#include <string>

namespace analysis {

INISTRUCT LocalIniStruct{};

namespace {
constexpr std::size_t kMaxLine = 199;

// The options of a utility, each behind a blank.
struct Options {
    std::string s;
    Options& add(const char* flag, const char* value) {
        s += flag;
        s += value;
        return *this;
    }
};
} // namespace

CommandLine MakeCommandLine(const INISTRUCT& ini, int iType) {
    Options o;
    const char* output = nullptr;
    switch (iType) {
    case PAGE_LPC: {
        const LPC& p = ini.lpcStruct;
        o.add(" -U lpanal", "");
        o.add(" -s", p.srate).add(" -c", p.channel).add(" -b", p.begin).add(" -d", p.duration);
        o.add(" -p", p.npoles).add(" -h", p.hopsize);
        if (p.string[0] != '\0')
            o.add(" -C", p.string);
        o.add(" -P", p.mincps).add(" -Q", p.maxcps).add(" -v", p.verbosity);
        output = p.szOutputFile;
        break;
    }
    case PAGE_HETRO: {
        const HETRO& p = ini.htrStruct;
        o.add(" -U hetro", "");
        o.add(" -s", p.srate).add(" -c", p.channel).add(" -b", p.begin).add(" -d", p.duration);
        o.add(" -f", p.begfreq).add(" -h", p.partials).add(" -M", p.maxamp);
        o.add(" -m", p.minamp).add(" -n", p.brkpts).add(" -l", p.cutfreq);
        output = p.szOutputFile;
        break;
    }
    case PAGE_PVOC: {
        const PVOC& p = ini.pvcStruct;
        o.add(" -U pvanal", "");
        o.add(" -s", p.srate).add(" -c", p.channel).add(" -b", p.begin).add(" -d", p.duration);
        o.add(" -n", p.frmsize);
        if (p.iType == IDC_WINDOWOVERLAP)
            o.add(" -w", p.windfact);
        else
            o.add(" -h", p.hopsize);
        output = p.szOutputFile;
        break;
    }
    default:
        return {{}, szLineTooLong, "There is no analysis of that kind."};
    }
    const std::string analysisFile = std::string(ini.szSADIR) + output;
    std::string text = ini.szCsoundPath + o.s + " " + ini.szCurSoundFile + " " + analysisFile;
    // A cut line would name another sound or analysis file: refuse it whole.
    if (text.size() > kMaxLine)
        return {{},
                szLineTooLong,
                "The analysis command line would be " + DecimalText(long(text.size())) +
                    " characters long; at most 199 fit. Use shorter folder or file names."};
    // The values of the options are the user's words, separated as the
    // platform separates a command line (a comment of two words gives two
    // arguments); the Csound path and the two files stay whole.
    std::vector<std::string> args(1, ini.szCsoundPath);
    for (auto& a : SplitCommandLine(o.s))
        args.push_back(std::move(a));
    args.push_back(ini.szCurSoundFile);
    args.push_back(analysisFile);
    return {std::move(args), std::move(text), {}};
}

int RefreshIni() {
    return WriteIniKeys(LocalIniStruct, IniWriter::Analysis);
}

} // namespace analysis
