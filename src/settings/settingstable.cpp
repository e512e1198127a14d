#include "settings/settingstable.h"

#include "settings/ini.h"
#include "settings/inifile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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
    {"DIRECTORIES", "orcdir", F(szOrcDir), Directory, P},
    {"DIRECTORIES", "scoredir", F(szScoreDir), Directory, P},
    {"DIRECTORIES", "sfdir", F(szSFDIR), Directory, P},
    {"DIRECTORIES", "ssdir", F(szSSDIR), Directory, P},
    {"DIRECTORIES", "sadir", F(szSADIR), Directory, P},
    {"DIRECTORIES", "editor", F(szEditorPath), Text, Other},
    {"DIRECTORIES", "texteditor", F(szTextEditorPath), Text, Other},
    {"DIRECTORIES", "scoremode", F(nScoreMode), Number, P},
    {"DIRECTORIES", "sfmode", F(nSFMode), Number, P},

    {"PREFERENCES", "prefscreen", F(nPrefScreen), Number, P},
    {"PREFERENCES", "showcmdline", F(nShowCmdLine), Number, P, nullptr, 2},
    {"PREFERENCES", "csoundver", F(nCSoundVer), Number, Other, nullptr, 1},
    {"PREFERENCES", "showanalysis", F(nShowAnalysis), Number, P, nullptr, 2},

    {"SOUND", "format", F(nSoundFormat), Number, P, nullptr, IDC_WAVE},
    {"SOUND", "type", F(nSoundType), Number, P, nullptr, IDC_SHORTINT},
    {"SOUND", "outputfile", F(szOutputFilename), Text, P},
    {"SOUND", "outfilecheck", F(nOutputFilenameCheck), Number, P},
    {"SOUND", "hbuffercheck", F(nHardwareBufferCheck), Number, P},
    {"SOUND", "sbuffercheck", F(nSoftwareBufferCheck), Number, P},
    {"SOUND", "rewriteheader", F(nRewriteHeaderCheck), Number, P},
    {"SOUND", "deferload", F(nDeferFileLoad), Number, P},
    {"SOUND", "hardbuffer", F(nHardwareBuffer), Number, P},
    {"SOUND", "softbuffer", F(nSoftwareBuffer), Number, P},

    {"CSOUND", "itime", F(nITimeOnly), Number, P},
    {"CSOUND", "srateck", F(nOrcSRateCheck), Number, P},
    {"CSOUND", "srate", F(nOrcSrate), Number, P},
    {"CSOUND", "krateck", F(nOrcKRateCheck), Number, P},
    {"CSOUND", "krate", F(nOrcKrate), Number, P},
    {"CSOUND", "verbose", F(nVerboseOrcCheck), Number, P},
    {"CSOUND", "scot", F(nScoScotCheck), Number, P},
    {"CSOUND", "extractck", F(nScoExtractCheck), Number, P},
    {"CSOUND", "extract", F(szScoExtract), Text, P},
    {"CSOUND", "tempock", F(nScoTempCheck), Number, P},
    {"CSOUND", "tempo", F(nScoTempo), Number, P},
    {"CSOUND", "csound path", F(szCsoundPath), Text, Other},

    {"MIDI", "midifileck", F(nMidiInFileCheck), Number, P},
    {"MIDI", "midifile", F(szMidiInFile), Text, P},
    {"MIDI", "midisusck", F(nMidiSusCheck), Number, P},
    {"MIDI", "midisus", F(nMidiSus), Number, P},
    {"MIDI", "terminate", F(nMidiTerminate), Number, P},

    {"DISPLAY", "warnings", F(nWarningsCheck), Number, P},
    {"DISPLAY", "display", F(nDisplay), Number, P, nullptr, IDC_ASCII},
    {"DISPLAY", "heartbeat", F(nHeartbeat), Number, P},

    {"LPC", "srate", LPCF(srate), Text, A, "10000"},
    {"LPC", "channel", LPCF(channel), Text, A, "1"},
    {"LPC", "begin", LPCF(begin), Text, A, "0.0"},
    {"LPC", "duration", LPCF(duration), Text, A, "0.0"},
    {"LPC", "npoles", LPCF(npoles), Text, A, "34"},
    {"LPC", "hopsize", LPCF(hopsize), Text, A, "200"},
    {"LPC", "string", LPCF(string), Text, A},
    {"LPC", "mincps", LPCF(mincps), Text, A, "70"},
    {"LPC", "maxcps", LPCF(maxcps), Text, A, "200"},
    {"LPC", "verbosity", LPCF(verbosity), Text, A, "0"},
    {"LPC", "outputfile", LPCF(szOutputFile), Text, A, "test.lpc"},

    {"HTR", "srate", HTRF(srate), Text, A, "10000"},
    {"HTR", "channel", HTRF(channel), Text, A, "1"},
    {"HTR", "begin", HTRF(begin), Text, A, "0.0"},
    {"HTR", "duration", HTRF(duration), Text, A, "0.0"},
    {"HTR", "begfreq", HTRF(begfreq), Text, A, "100"},
    {"HTR", "partials", HTRF(partials), Text, A, "10"},
    {"HTR", "maxamp", HTRF(maxamp), Text, A, "32767"},
    {"HTR", "minamp", HTRF(minamp), Text, A, "64"},
    {"HTR", "brkpts", HTRF(brkpts), Text, A, "256"},
    {"HTR", "cutfreq", HTRF(cutfreq), Text, A, "0"},
    {"HTR", "outputfile", HTRF(szOutputFile), Text, A, "test.htr"},

    {"PVC", "srate", PVCF(srate), Text, A, "10000"},
    {"PVC", "channel", PVCF(channel), Text, A, "1"},
    {"PVC", "begin", PVCF(begin), Text, A, "0.0"},
    {"PVC", "duration", PVCF(duration), Text, A, "0.0"},
    {"PVC", "frmsize", PVCF(frmsize), Text, A, "16"},
    {"PVC", "windfact", PVCF(windfact), Text, A, "4"},
    {"PVC", "hopsize", PVCF(hopsize), Text, A, "0"},
    {"PVC", "type", PVCF(iType), Number, A, nullptr, IDC_WINDOWOVERLAP},
    {"PVC", "outputfile", PVCF(szOutputFile), Text, A, "test.pvc"},
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

namespace {
// The key's value as the file stores it: the text, or a number in decimal.
std::string StoredValue(const INISTRUCT& ini, const IniKey& k) {
    const auto* base = reinterpret_cast<const char*>(&ini);
    if (k.kind != Number)
        return std::string(base + k.offset, strnlen(base + k.offset, k.size));
    int value = 0;
    std::memcpy(&value, base + k.offset, sizeof value);
    return DecimalText(value);
}
} // namespace

int WriteIniKeys(const INISTRUCT& ini, IniWriter writer) {
    // One replacement of the file with every key: a crash leaves the old
    // file or the new one, and a large file is written once, not per key.
    std::vector<std::string> values;
    std::vector<const IniKey*> keys;
    for (const IniKey& k : kKeys)
        if (k.writer == writer) {
            values.push_back(StoredValue(ini, k));
            keys.push_back(&k);
        }
    std::vector<IniUpdate> updates;
    for (std::size_t i = 0; i < keys.size(); ++i)
        updates.push_back({keys[i]->section, keys[i]->key, values[i]});
    WriteIniValues(updates);
    return 1;
}

std::string IniTextOfFields(const INISTRUCT& ini, std::initializer_list<std::size_t> offsets) {
    std::string text;
    for (const IniKey& k : kKeys)
        if (std::find(offsets.begin(), offsets.end(), k.offset) != offsets.end())
            text = IniTextSet(text, k.section, k.key, StoredValue(ini, k));
    return text;
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
