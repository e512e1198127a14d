// Saving the preferences: every key the Preferences dialog owns, in order.
#include "settings/ini.h"
#include "settings/inifile.h"

namespace prefs {

int RefreshIni(const INISTRUCT* lp) {
    auto num = [](const char* section, const char* key, long long value) {
        WriteIni(section, key, DecimalText(value).c_str());
    };
    WriteIni("DIRECTORIES", "orcdir", lp->szOrcDir);
    WriteIni("DIRECTORIES", "scoredir", lp->szScoreDir);
    WriteIni("DIRECTORIES", "sfdir", lp->szSFDIR);
    WriteIni("DIRECTORIES", "ssdir", lp->szSSDIR);
    WriteIni("DIRECTORIES", "sadir", lp->szSADIR);
    num("DIRECTORIES", "scoremode", lp->nScoreMode);
    num("DIRECTORIES", "sfmode", lp->nSFMode);

    num("PREFERENCES", "prefscreen", lp->nPrefScreen);
    num("PREFERENCES", "showcmdline", lp->nShowCmdLine);
    num("PREFERENCES", "showanalysis", lp->nShowAnalysis);

    num("SOUND", "format", lp->nSoundFormat);
    num("SOUND", "type", lp->nSoundType);
    WriteIni("SOUND", "outputfile", lp->szOutputFilename);
    num("SOUND", "outfilecheck", lp->nOutputFilenameCheck);
    num("SOUND", "hbuffercheck", lp->nHardwareBufferCheck);
    num("SOUND", "sbuffercheck", lp->nSoftwareBufferCheck);
    num("SOUND", "rewriteheader", lp->nRewriteHeaderCheck);
    num("SOUND", "deferload", lp->nDeferFileLoad);
    num("SOUND", "hardbuffer", lp->nHardwareBuffer);
    num("SOUND", "softbuffer", lp->nSoftwareBuffer);

    num("CSOUND", "itime", lp->nITimeOnly);
    num("CSOUND", "srateck", lp->nOrcSRateCheck);
    num("CSOUND", "srate", lp->nOrcSrate);
    num("CSOUND", "krateck", lp->nOrcKRateCheck);
    num("CSOUND", "krate", lp->nOrcKrate);
    num("CSOUND", "verbose", lp->nVerboseOrcCheck);
    num("CSOUND", "scot", lp->nScoScotCheck);
    num("CSOUND", "extractck", lp->nScoExtractCheck);
    WriteIni("CSOUND", "extract", lp->szScoExtract);
    num("CSOUND", "tempock", lp->nScoTempCheck);
    num("CSOUND", "tempo", lp->nScoTempo);

    num("MIDI", "midifileck", lp->nMidiInFileCheck);
    WriteIni("MIDI", "midifile", lp->szMidiInFile);
    num("MIDI", "midisusck", lp->nMidiSusCheck);
    num("MIDI", "midisus", lp->nMidiSus);
    num("MIDI", "terminate", lp->nMidiTerminate);

    num("DISPLAY", "warnings", lp->nWarningsCheck);
    num("DISPLAY", "display", lp->nDisplay);
    num("DISPLAY", "heartbeat", lp->nHeartbeat);
    return 1;
}

} // namespace prefs
