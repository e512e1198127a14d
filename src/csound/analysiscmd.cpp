// Command lines of Csound's analysis utilities (lpanal, hetro, pvanal) and
// the write-back of their settings.
#include "csound/analysiscmd.h"

#include "settings/ini.h"
#include "settings/inifile.h"

#include <cstring>
#include <string>

namespace analysis {

INISTRUCT LocalIniStruct{};

namespace {
char szAnalysisLine[200];
std::string lastFault;

struct Line {
    std::string s;
    Line& add(const char* flag, const char* value) {
        s += flag;
        s += value;
        return *this;
    }
};
} // namespace

const char* CommandLineFault() {
    return lastFault.c_str();
}

const char* MakeCommandLineFrom(const INISTRUCT* lp, int iType) {
    Line l;
    l.s = lp->szCsoundPath;
    switch (iType) {
    case PAGE_LPC: {
        const LPC& p = lp->lpcStruct;
        l.add(" -U lpanal", "");
        l.add(" -s", p.srate).add(" -c", p.channel).add(" -b", p.begin).add(" -d", p.duration);
        l.add(" -p", p.npoles).add(" -h", p.hopsize);
        if (p.string[0] != '\0')
            l.add(" -C", p.string);
        l.add(" -P", p.mincps).add(" -Q", p.maxcps).add(" -v", p.verbosity);
        l.add(" ", lp->szCurSoundFile).add(" ", lp->szSADIR).add("", p.szOutputFile);
        break;
    }
    case PAGE_HETRO: {
        const HETRO& p = lp->htrStruct;
        l.add(" -U hetro", "");
        l.add(" -s", p.srate).add(" -c", p.channel).add(" -b", p.begin).add(" -d", p.duration);
        l.add(" -f", p.begfreq).add(" -h", p.partials).add(" -M", p.maxamp);
        l.add(" -m", p.minamp).add(" -n", p.brkpts).add(" -l", p.cutfreq);
        l.add(" ", lp->szCurSoundFile).add(" ", lp->szSADIR).add("", p.szOutputFile);
        break;
    }
    case PAGE_PVOC: {
        const PVOC& p = lp->pvcStruct;
        l.add(" -U pvanal", "");
        l.add(" -s", p.srate).add(" -c", p.channel).add(" -b", p.begin).add(" -d", p.duration);
        l.add(" -n", p.frmsize);
        if (p.iType == IDC_WINDOWOVERLAP)
            l.add(" -w", p.windfact);
        else
            l.add(" -h", p.hopsize);
        l.add(" ", lp->szCurSoundFile).add(" ", lp->szSADIR).add("", p.szOutputFile);
        break;
    }
    default:
        lastFault = "There is no analysis of that kind.";
        return szAnalysisTooLong;
    }
    // A cut line would name another sound or analysis file: refuse it whole.
    if (l.s.size() >= sizeof szAnalysisLine) {
        lastFault = "The analysis command line would be " + DecimalText(long(l.s.size())) +
                    " characters long; at most 199 fit. Use shorter folder or file names.";
        return szAnalysisTooLong;
    }
    lastFault.clear();
    std::memcpy(szAnalysisLine, l.s.c_str(), l.s.size() + 1);
    return szAnalysisLine;
}

const char* MakeCommandLine(int iType) {
    return MakeCommandLineFrom(&LocalIniStruct, iType);
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
