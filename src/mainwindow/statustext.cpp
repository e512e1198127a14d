#include "mainwindow/statustext.h"

#include <cstdio>

std::string GcvtText(double dValue, int nDigits) {
    char szBuffer[64];
    std::snprintf(szBuffer, sizeof szBuffer, "%.*g", nDigits, dValue);
    return szBuffer;
}

std::array<std::string, nStatusParts> StatusBarTexts(const StatusFacts& facts) {
    std::array<std::string, nStatusParts> texts;
    texts[0] = std::to_string(facts.dwSampleRate);
    // 8 and 16 bits are the common widths; any other is named by its number
    // rather than passed off as 8 bits.
    texts[1] = facts.wBits == 16  ? "16 bit"
               : facts.wBits == 8 ? "8 bit"
                                  : std::to_string(facts.wBits) + " bit";
    texts[2] = facts.wNchnls == 2   ? "Stereo"
               : facts.wNchnls == 1 ? "Mono"
                                    : std::to_string(facts.wNchnls) + " ch";

    const std::uint32_t dwFrameSize =
        static_cast<std::uint32_t>(facts.wNchnls) * (facts.wBits / 8u);
    if (dwFrameSize == 0 && facts.qwFrames == 0) {
        texts[3] = "Sample Frames - unknown";
        texts[4] = "Seconds - unknown";
    } else {
        const std::uint64_t dwFrames =
            facts.qwFrames != 0 ? facts.qwFrames : facts.dwDataSize / dwFrameSize;
        texts[3] = "Sample Frames - " + std::to_string(dwFrames);
        texts[4] = facts.dwSampleRate == 0
                       ? "Seconds - unknown"
                       : "Seconds - " + GcvtText(static_cast<double>(dwFrames) /
                                                     static_cast<double>(facts.dwSampleRate),
                                                 4);
    }
    texts[5] = facts.bPlaying ? "Status - Playing" : "Status - Stopped";
    return texts;
}
