// Loading the settings file into the settings record, with the defaults.
#include "settings/ini.h"
#include "settings/inifile.h"

#include <cstring>
#include <unistd.h>

namespace {
std::vector<IgnoredKey> ignoredKeys;
std::string unusableStartup;
char szAppPath[4096];

struct Loader {
    std::optional<IniIndex> index;

    std::optional<std::string> raw(const char* section, const char* key) const {
        if (!index)
            return std::nullopt;
        return index->get(section, key);
    }

    // Copies the stored text into the field when it fits. Text that does not
    // fit is refused, never cut, and remembered so the user can be told.
    template <std::size_t N> void str(const char* section, const char* key, char (&field)[N]) {
        auto v = raw(section, key);
        field[0] = '\0';
        if (!v)
            return;
        if (v->size() >= N || v->size() > 255) {
            ignoredKeys.push_back({section, key, v->size(), std::min<std::size_t>(N - 1, 255)});
            return;
        }
        std::memcpy(field, v->c_str(), v->size() + 1);
    }

    int num(const char* section, const char* key) const {
        auto v = raw(section, key);
        return v ? IniParseInt(*v) : 0;
    }
};

template <std::size_t N, std::size_t M> void orDefault(char (&field)[N], const char (&def)[M]) {
    static_assert(M <= N, "default wider than its field");
    if (field[0] == '\0')
        std::memcpy(field, def, M);
}

// Empty directory fields take the start-up directory with its slash, when it
// fits; otherwise they stay empty and the start-up directory is reported.
template <std::size_t N> void startupDefault(char (&field)[N]) {
    if (field[0] != '\0')
        return;
    char dir[sizeof szAppPath + 1];
    std::strcpy(dir, szAppPath);
    SlashPath(dir);
    if (std::strlen(dir) >= N) {
        unusableStartup = dir;
        return;
    }
    std::strcpy(field, dir);
}
} // namespace

const std::vector<IgnoredKey>& IgnoredIniKeys() {
    return ignoredKeys;
}
const std::string& UnusableStartupDirectory() {
    return unusableStartup;
}

void InitApp(void* /*hWnd*/) {
    InitAppInto(IniStruct);
}

void InitAppInto(INISTRUCT& ini) {
    ignoredKeys.clear();
    unusableStartup.clear();
    if (!::getcwd(szAppPath, sizeof szAppPath))
        szAppPath[0] = '\0';

    // The file is read once; every key is looked up in the same text.
    Loader l;
    const std::string path = IniFilePath();
    if (!path.empty()) {
        if (auto text = ReadWholeFile(path))
            l.index.emplace(*text);
    }

    l.str("DIRECTORIES", "orcdir", ini.szOrcDir);
    l.str("DIRECTORIES", "scoredir", ini.szScoreDir);
    l.str("DIRECTORIES", "sfdir", ini.szSFDIR);
    l.str("DIRECTORIES", "ssdir", ini.szSSDIR);
    l.str("DIRECTORIES", "sadir", ini.szSADIR);
    startupDefault(ini.szOrcDir);
    startupDefault(ini.szScoreDir);
    startupDefault(ini.szSFDIR);
    startupDefault(ini.szSSDIR);
    startupDefault(ini.szSADIR);

    l.str("DIRECTORIES", "editor", ini.szEditorPath);
    l.str("DIRECTORIES", "texteditor", ini.szTextEditorPath);
    ini.nScoreMode = l.num("DIRECTORIES", "scoremode");
    ini.nSFMode = l.num("DIRECTORIES", "sfmode");

    ini.nPrefScreen = l.num("PREFERENCES", "prefscreen");
    ini.nShowCmdLine = l.num("PREFERENCES", "showcmdline");
    if (ini.nShowCmdLine == 0)
        ini.nShowCmdLine = 2;
    ini.nCSoundVer = l.num("PREFERENCES", "csoundver");
    if (ini.nCSoundVer == 0)
        ini.nCSoundVer = 1;
    ini.nShowAnalysis = l.num("PREFERENCES", "showanalysis");
    if (ini.nShowAnalysis == 0)
        ini.nShowAnalysis = 2;

    ini.nSoundFormat = l.num("SOUND", "format");
    ini.nSoundType = l.num("SOUND", "type");
    if (ini.nSoundFormat == 0)
        ini.nSoundFormat = IDC_WAVE;
    if (ini.nSoundType == 0)
        ini.nSoundType = IDC_SHORTINT;
    l.str("SOUND", "outputfile", ini.szOutputFilename);
    ini.nOutputFilenameCheck = l.num("SOUND", "outfilecheck");
    ini.nHardwareBufferCheck = l.num("SOUND", "hbuffercheck");
    ini.nSoftwareBufferCheck = l.num("SOUND", "sbuffercheck");
    ini.nRewriteHeaderCheck = l.num("SOUND", "rewriteheader");
    ini.nDeferFileLoad = l.num("SOUND", "deferload");
    ini.nHardwareBuffer = l.num("SOUND", "hardbuffer");
    ini.nSoftwareBuffer = l.num("SOUND", "softbuffer");

    ini.nITimeOnly = l.num("CSOUND", "itime");
    ini.nOrcSRateCheck = l.num("CSOUND", "srateck");
    ini.nOrcSrate = l.num("CSOUND", "srate");
    ini.nOrcKRateCheck = l.num("CSOUND", "krateck");
    ini.nOrcKrate = l.num("CSOUND", "krate");
    ini.nVerboseOrcCheck = l.num("CSOUND", "verbose");
    ini.nScoScotCheck = l.num("CSOUND", "scot");
    ini.nScoExtractCheck = l.num("CSOUND", "extractck");
    l.str("CSOUND", "extract", ini.szScoExtract);
    ini.nScoTempCheck = l.num("CSOUND", "tempock");
    ini.nScoTempo = l.num("CSOUND", "tempo");
    l.str("CSOUND", "csound path", ini.szCsoundPath);

    ini.nMidiInFileCheck = l.num("MIDI", "midifileck");
    l.str("MIDI", "midifile", ini.szMidiInFile);
    ini.nMidiSusCheck = l.num("MIDI", "midisusck");
    ini.nMidiSus = l.num("MIDI", "midisus");
    ini.nMidiTerminate = l.num("MIDI", "terminate");

    ini.nHeartbeat = l.num("DISPLAY", "heartbeat");
    ini.nWarningsCheck = l.num("DISPLAY", "warnings");
    ini.nDisplay = l.num("DISPLAY", "display");
    if (ini.nDisplay == 0)
        ini.nDisplay = IDC_ASCII;

    LPC& lpc = ini.lpcStruct;
    l.str("LPC", "srate", lpc.srate);
    orDefault(lpc.srate, "10000");
    l.str("LPC", "channel", lpc.channel);
    orDefault(lpc.channel, "1");
    l.str("LPC", "begin", lpc.begin);
    orDefault(lpc.begin, "0.0");
    l.str("LPC", "duration", lpc.duration);
    orDefault(lpc.duration, "0.0");
    l.str("LPC", "npoles", lpc.npoles);
    orDefault(lpc.npoles, "34");
    l.str("LPC", "hopsize", lpc.hopsize);
    orDefault(lpc.hopsize, "200");
    l.str("LPC", "string", lpc.string);
    l.str("LPC", "mincps", lpc.mincps);
    orDefault(lpc.mincps, "70");
    l.str("LPC", "maxcps", lpc.maxcps);
    orDefault(lpc.maxcps, "200");
    l.str("LPC", "verbosity", lpc.verbosity);
    orDefault(lpc.verbosity, "0");
    l.str("LPC", "outputfile", lpc.szOutputFile);
    orDefault(lpc.szOutputFile, "test.lpc");

    HETRO& htr = ini.htrStruct;
    l.str("HTR", "srate", htr.srate);
    orDefault(htr.srate, "10000");
    l.str("HTR", "channel", htr.channel);
    orDefault(htr.channel, "1");
    l.str("HTR", "begin", htr.begin);
    orDefault(htr.begin, "0.0");
    l.str("HTR", "duration", htr.duration);
    orDefault(htr.duration, "0.0");
    l.str("HTR", "begfreq", htr.begfreq);
    orDefault(htr.begfreq, "100");
    l.str("HTR", "partials", htr.partials);
    orDefault(htr.partials, "10");
    l.str("HTR", "maxamp", htr.maxamp);
    orDefault(htr.maxamp, "32767");
    l.str("HTR", "minamp", htr.minamp);
    orDefault(htr.minamp, "64");
    l.str("HTR", "brkpts", htr.brkpts);
    orDefault(htr.brkpts, "256");
    l.str("HTR", "cutfreq", htr.cutfreq);
    orDefault(htr.cutfreq, "0");
    l.str("HTR", "outputfile", htr.szOutputFile);
    orDefault(htr.szOutputFile, "test.htr");

    PVOC& pvc = ini.pvcStruct;
    l.str("PVC", "srate", pvc.srate);
    orDefault(pvc.srate, "10000");
    l.str("PVC", "channel", pvc.channel);
    orDefault(pvc.channel, "1");
    l.str("PVC", "begin", pvc.begin);
    orDefault(pvc.begin, "0.0");
    l.str("PVC", "duration", pvc.duration);
    orDefault(pvc.duration, "0.0");
    l.str("PVC", "frmsize", pvc.frmsize);
    orDefault(pvc.frmsize, "16");
    l.str("PVC", "windfact", pvc.windfact);
    orDefault(pvc.windfact, "4");
    l.str("PVC", "hopsize", pvc.hopsize);
    orDefault(pvc.hopsize, "0");
    pvc.iType = l.num("PVC", "type");
    if (pvc.iType == 0)
        pvc.iType = IDC_WINDOWOVERLAP;
    l.str("PVC", "outputfile", pvc.szOutputFile);
    orDefault(pvc.szOutputFile, "test.pvc");
}
