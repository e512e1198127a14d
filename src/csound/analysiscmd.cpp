// Command lines of Csound's analysis utilities (lpanal, hetro, pvanal) and
// the write-back of their settings.
#include "csound/analysiscmd.h"

#include "platform/process/argsplit.h"

#include "settings/ini.h"
#include "settings/inifile.h"

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

int RefreshIniFrom(const INISTRUCT* lp) {
    const LPC& a = lp->lpcStruct;
    WriteIni("LPC", "srate", a.srate);
    WriteIni("LPC", "channel", a.channel);
    WriteIni("LPC", "begin", a.begin);
    WriteIni("LPC", "duration", a.duration);
    WriteIni("LPC", "npoles", a.npoles);
    WriteIni("LPC", "hopsize", a.hopsize);
    WriteIni("LPC", "string", a.string);
    WriteIni("LPC", "mincps", a.mincps);
    WriteIni("LPC", "maxcps", a.maxcps);
    WriteIni("LPC", "verbosity", a.verbosity);
    WriteIni("LPC", "outputfile", a.szOutputFile);

    const HETRO& h = lp->htrStruct;
    WriteIni("HTR", "srate", h.srate);
    WriteIni("HTR", "channel", h.channel);
    WriteIni("HTR", "begin", h.begin);
    WriteIni("HTR", "duration", h.duration);
    WriteIni("HTR", "begfreq", h.begfreq);
    WriteIni("HTR", "partials", h.partials);
    WriteIni("HTR", "maxamp", h.maxamp);
    WriteIni("HTR", "minamp", h.minamp);
    WriteIni("HTR", "brkpts", h.brkpts);
    WriteIni("HTR", "cutfreq", h.cutfreq);
    WriteIni("HTR", "outputfile", h.szOutputFile);

    const PVOC& p = lp->pvcStruct;
    WriteIni("PVC", "srate", p.srate);
    WriteIni("PVC", "channel", p.channel);
    WriteIni("PVC", "begin", p.begin);
    WriteIni("PVC", "duration", p.duration);
    WriteIni("PVC", "frmsize", p.frmsize);
    WriteIni("PVC", "windfact", p.windfact);
    WriteIni("PVC", "hopsize", p.hopsize);
    WriteIni("PVC", "type", DecimalText(p.iType).c_str());
    WriteIni("PVC", "outputfile", p.szOutputFile);
    return 1;
}

int RefreshIni() {
    return RefreshIniFrom(&LocalIniStruct);
}

} // namespace analysis
