// Command lines of Csound's analysis utilities (lpanal, hetro, pvanal) and
// the write-back of their settings (the keys are in the settings table).
#include "csound/analysiscmd.h"

#include "settings/inifile.h"
#include "settings/settingstable.h"

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

int RefreshIni() {
    return WriteIniKeys(LocalIniStruct, IniWriter::Analysis);
}

} // namespace analysis
