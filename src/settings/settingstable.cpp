#include "settings/settingstable.h"

#include "settings/ini.h"
#include "settings/inifile.h"

#include <cstring>

namespace {
using enum IniKind;
using enum IniWriter;
constexpr IniWriter P = Preferences;
constexpr IniWriter A = Analysis;

#define F(f) offsetof(INISTRUCT, f), sizeof(INISTRUCT::f)
#define LPCF(f) offsetof(INISTRUCT, lpcStruct) + offsetof(LPC, f), sizeof(LPC::f)
#define HTRF(f) offsetof(INISTRUCT, htrStruct) + offsetof(HETRO, f), sizeof(HETRO::f)
#define PVCF(f) offsetof(INISTRUCT, pvcStruct) + offsetof(PVOC, f), sizeof(PVOC::f)
const IniKey kKeys[] = {
    {"DIRECTORIES", "orcdir", F(szOrcDir), Directory, P, nullptr, 0},
    {"DIRECTORIES", "scoredir", F(szScoreDir), Directory, P, nullptr, 0},
    {"DIRECTORIES", "sfdir", F(szSFDIR), Directory, P, nullptr, 0},
    {"DIRECTORIES", "ssdir", F(szSSDIR), Directory, P, nullptr, 0},
    {"DIRECTORIES", "sadir", F(szSADIR), Directory, P, nullptr, 0},
    {"DIRECTORIES", "editor", F(szEditorPath), Text, Other, nullptr, 0},
    {"DIRECTORIES", "texteditor", F(szTextEditorPath), Text, Other, nullptr, 0},
    {"DIRECTORIES", "scoremode", F(nScoreMode), Number, P, nullptr, 0},
    {"DIRECTORIES", "sfmode", F(nSFMode), Number, P, nullptr, 0},

    {"PREFERENCES", "prefscreen", F(nPrefScreen), Number, P, nullptr, 0},
    {"PREFERENCES", "showcmdline", F(nShowCmdLine), Number, P, nullptr, 2},
    {"PREFERENCES", "csoundver", F(nCSoundVer), Number, Other, nullptr, 1},
    {"PREFERENCES", "showanalysis", F(nShowAnalysis), Number, P, nullptr, 2},

    {"SOUND", "format", F(nSoundFormat), Number, P, nullptr, IDC_WAVE},
    {"SOUND", "type", F(nSoundType), Number, P, nullptr, IDC_SHORTINT},
    {"SOUND", "outputfile", F(szOutputFilename), Text, P, nullptr, 0},
    {"SOUND", "outfilecheck", F(nOutputFilenameCheck), Number, P, nullptr, 0},
    {"SOUND", "hbuffercheck", F(nHardwareBufferCheck), Number, P, nullptr, 0},
    {"SOUND", "sbuffercheck", F(nSoftwareBufferCheck), Number, P, nullptr, 0},
    {"SOUND", "rewriteheader", F(nRewriteHeaderCheck), Number, P, nullptr, 0},
    {"SOUND", "deferload", F(nDeferFileLoad), Number, P, nullptr, 0},
    {"SOUND", "hardbuffer", F(nHardwareBuffer), Number, P, nullptr, 0},
    {"SOUND", "softbuffer", F(nSoftwareBuffer), Number, P, nullptr, 0},

    {"CSOUND", "itime", F(nITimeOnly), Number, P, nullptr, 0},
    {"CSOUND", "srateck", F(nOrcSRateCheck), Number, P, nullptr, 0},
    {"CSOUND", "srate", F(nOrcSrate), Number, P, nullptr, 0},
    {"CSOUND", "krateck", F(nOrcKRateCheck), Number, P, nullptr, 0},
    {"CSOUND", "krate", F(nOrcKrate), Number, P, nullptr, 0},
    {"CSOUND", "verbose", F(nVerboseOrcCheck), Number, P, nullptr, 0},
    {"CSOUND", "scot", F(nScoScotCheck), Number, P, nullptr, 0},
    {"CSOUND", "extractck", F(nScoExtractCheck), Number, P, nullptr, 0},
    {"CSOUND", "extract", F(szScoExtract), Text, P, nullptr, 0},
    {"CSOUND", "tempock", F(nScoTempCheck), Number, P, nullptr, 0},
    {"CSOUND", "tempo", F(nScoTempo), Number, P, nullptr, 0},
    {"CSOUND", "csound path", F(szCsoundPath), Text, Other, nullptr, 0},

    {"MIDI", "midifileck", F(nMidiInFileCheck), Number, P, nullptr, 0},
    {"MIDI", "midifile", F(szMidiInFile), Text, P, nullptr, 0},
    {"MIDI", "midisusck", F(nMidiSusCheck), Number, P, nullptr, 0},
    {"MIDI", "midisus", F(nMidiSus), Number, P, nullptr, 0},
    {"MIDI", "terminate", F(nMidiTerminate), Number, P, nullptr, 0},

    {"DISPLAY", "warnings", F(nWarningsCheck), Number, P, nullptr, 0},
    {"DISPLAY", "display", F(nDisplay), Number, P, nullptr, IDC_ASCII},
    {"DISPLAY", "heartbeat", F(nHeartbeat), Number, P, nullptr, 0},

    {"LPC", "srate", LPCF(srate), Text, A, "10000", 0},
    {"LPC", "channel", LPCF(channel), Text, A, "1", 0},
    {"LPC", "begin", LPCF(begin), Text, A, "0.0", 0},
    {"LPC", "duration", LPCF(duration), Text, A, "0.0", 0},
    {"LPC", "npoles", LPCF(npoles), Text, A, "34", 0},
    {"LPC", "hopsize", LPCF(hopsize), Text, A, "200", 0},
    {"LPC", "string", LPCF(string), Text, A, nullptr, 0},
    {"LPC", "mincps", LPCF(mincps), Text, A, "70", 0},
    {"LPC", "maxcps", LPCF(maxcps), Text, A, "200", 0},
    {"LPC", "verbosity", LPCF(verbosity), Text, A, "0", 0},
    {"LPC", "outputfile", LPCF(szOutputFile), Text, A, "test.lpc", 0},

    {"HTR", "srate", HTRF(srate), Text, A, "10000", 0},
    {"HTR", "channel", HTRF(channel), Text, A, "1", 0},
    {"HTR", "begin", HTRF(begin), Text, A, "0.0", 0},
    {"HTR", "duration", HTRF(duration), Text, A, "0.0", 0},
    {"HTR", "begfreq", HTRF(begfreq), Text, A, "100", 0},
    {"HTR", "partials", HTRF(partials), Text, A, "10", 0},
    {"HTR", "maxamp", HTRF(maxamp), Text, A, "32767", 0},
    {"HTR", "minamp", HTRF(minamp), Text, A, "64", 0},
    {"HTR", "brkpts", HTRF(brkpts), Text, A, "256", 0},
    {"HTR", "cutfreq", HTRF(cutfreq), Text, A, "0", 0},
    {"HTR", "outputfile", HTRF(szOutputFile), Text, A, "test.htr", 0},

    {"PVC", "srate", PVCF(srate), Text, A, "10000", 0},
    {"PVC", "channel", PVCF(channel), Text, A, "1", 0},
    {"PVC", "begin", PVCF(begin), Text, A, "0.0", 0},
    {"PVC", "duration", PVCF(duration), Text, A, "0.0", 0},
    {"PVC", "frmsize", PVCF(frmsize), Text, A, "16", 0},
    {"PVC", "windfact", PVCF(windfact), Text, A, "4", 0},
    {"PVC", "hopsize", PVCF(hopsize), Text, A, "0", 0},
    {"PVC", "type", PVCF(iType), Number, A, nullptr, IDC_WINDOWOVERLAP},
    {"PVC", "outputfile", PVCF(szOutputFile), Text, A, "test.pvc", 0},
};
#undef F
#undef LPCF
#undef HTRF
#undef PVCF

// Every number field is 32 bits, whether the record calls it int or LONG32.
static_assert(sizeof(int) == sizeof(LONG32));
} // namespace

std::span<const IniKey> IniKeys() {
    return kKeys;
}

int WriteIniKeys(const INISTRUCT& ini, IniWriter writer) {
    const auto* base = reinterpret_cast<const char*>(&ini);
    for (const IniKey& k : kKeys) {
        if (k.writer != writer)
            continue;
        if (k.kind == Number) {
            int value = 0;
            std::memcpy(&value, base + k.offset, sizeof value);
            WriteIni(k.section, k.key, DecimalText(value).c_str());
        } else {
            WriteIni(k.section, k.key, base + k.offset);
        }
    }
    return 1;
}

void CopyIniFields(INISTRUCT& dst, const INISTRUCT& src, IniWriter writer) {
    for (const IniKey& k : kKeys)
        if (k.writer == writer)
            std::memcpy(reinterpret_cast<char*>(&dst) + k.offset,
                        reinterpret_cast<const char*>(&src) + k.offset, k.size);
}

namespace prefs {
int RefreshIni(const INISTRUCT* lp) {
    return WriteIniKeys(*lp, IniWriter::Preferences);
}
} // namespace prefs
