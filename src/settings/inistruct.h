// The settings record: every preference and the user's current choices.
// Plain data, byte-packed, copied only whole.
#pragma once

#include <cstddef>
#include <cstdint>

// The record's "long" is 32 bits on disk and in the settings file, whatever
// the host's long is.
using LONG32 = std::int32_t;

#pragma pack(push, 1)

struct LPC {
    char srate[10];
    char channel[2];
    char begin[10];
    char duration[10];
    char npoles[10];
    char hopsize[10];
    char string[127];
    char mincps[10];
    char maxcps[10];
    char verbosity[2];
    char szOutputFile[127];
};
using iniLPC = LPC;

struct PVOC {
    char srate[10];
    char channel[2];
    char begin[10];
    char duration[10];
    char frmsize[10];
    char windfact[10];
    int iType;
    char hopsize[10];
    char szOutputFile[127];
};
using iniPVOC = PVOC;

struct HETRO {
    char srate[10];
    char channel[2];
    char begin[10];
    char duration[10];
    char begfreq[10];
    char partials[10];
    char maxamp[10];
    char minamp[10];
    char brkpts[10];
    char cutfreq[10];
    char szOutputFile[127];
};
using iniHETRO = HETRO;

struct inistruct_tag {
    iniLPC lpcStruct;
    iniPVOC pvcStruct;
    iniHETRO htrStruct;
    char szOrcDir[127];
    char szScoreDir[127];
    char szSFDIR[256];
    char szSSDIR[127];
    char szSADIR[127];
    int nScoreMode;
    int nSFMode;
    int nPrefScreen;
    int nSoundFormat;
    int nSoundType;
    char szOutputFilename[12];
    int nOutputFilenameCheck;
    int nHardwareBufferCheck;
    int nSoftwareBufferCheck;
    int nRewriteHeaderCheck;
    int nDeferFileLoad;
    LONG32 nHardwareBuffer;
    LONG32 nSoftwareBuffer;
    int nITimeOnly;
    int nOrcSRateCheck;
    LONG32 nOrcSrate;
    int nOrcKRateCheck;
    LONG32 nOrcKrate;
    int nVerboseOrcCheck;
    int nScoScotCheck;
    int nScoExtractCheck;
    char szScoExtract[127];
    int nScoTempCheck;
    LONG32 nScoTempo;
    int nMidiInFileCheck;
    char szMidiInFile[127];
    int nMidiSusCheck;
    int nMidiSus;
    int nMidiTerminate;
    int nWarningsCheck;
    int nDisplay;
    int nHeartbeat;
    char szOrc[64];
    char szScore[64];
    char szOptions[2][128];
    char szCsoundPath[127];
    int nShowCmdLine;
    int nShowAnalysis;
    int nCSoundVer;
    char szEditorPath[127];
    char szTextEditorPath[127];
    char szCurSoundFile[127];
};

#pragma pack(pop)

using INISTRUCT = inistruct_tag;
using LPINISTRUCT = INISTRUCT*;

static_assert(sizeof(int) == 4);
static_assert(sizeof(LPC) == 328);
static_assert(sizeof(PVOC) == 193);
static_assert(sizeof(HETRO) == 219);
static_assert(offsetof(PVOC, iType) == 52);
static_assert(offsetof(INISTRUCT, pvcStruct) == 328);
static_assert(offsetof(INISTRUCT, htrStruct) == 521);
static_assert(offsetof(INISTRUCT, szOrcDir) == 740);
static_assert(offsetof(INISTRUCT, szSFDIR) == 994);
static_assert(offsetof(INISTRUCT, nScoreMode) == 1504);
static_assert(offsetof(INISTRUCT, szOutputFilename) == 1524);
static_assert(offsetof(INISTRUCT, nHardwareBuffer) == 1556);
static_assert(offsetof(INISTRUCT, szScoExtract) == 1596);
static_assert(offsetof(INISTRUCT, szOrc) == 1886);
static_assert(offsetof(INISTRUCT, szOptions) == 2014);
static_assert(offsetof(INISTRUCT, szCsoundPath) == 2270);
static_assert(offsetof(INISTRUCT, nCSoundVer) == 2405);
static_assert(offsetof(INISTRUCT, szCurSoundFile) == 2663);
static_assert(sizeof(INISTRUCT) == 2790);

// Field capacities (terminator included), for refusing text that would not fit.
template <std::size_t N> constexpr std::size_t capacity(const char (&)[N]) {
    return N;
}

// Radio ids stored by the Sound and Display pages.
enum : int {
    IDC_NOSOUND = 300,
    IDC_AIFF = 301,
    IDC_WAVE = 302,
    IDC_NOHEADER = 303,
    IDC_8BIT = 304,
    IDC_ALAW = 305,
    IDC_ULAW = 306,
    IDC_SHORTINT = 307,
    IDC_LONGINT = 308,
    IDC_FLOAT = 309,
    IDC_GRAPHIC = 503,
    IDC_ASCII = 504,
    IDC_NODISPLAY = 505,
    IDC_HOPSIZE = 416,
    IDC_WINDOWOVERLAP = 417,
};

// The live settings, owned by the main window for the whole process.
extern INISTRUCT IniStruct;
