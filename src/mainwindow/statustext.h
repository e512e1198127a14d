// The texts of the main window's six-part status bar: the format, length and
// playing state of the sound file selected last.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr int nStatusParts = 6;
// Right edges of the six parts, in client pixels.
inline constexpr std::array<int, nStatusParts> aWidths{48, 95, 145, 340, 440, 640};

struct StatusFacts {
    std::uint32_t dwSampleRate = 0;
    std::uint16_t wNchnls = 0;
    std::uint16_t wBits = 0;
    std::uint32_t dwDataSize = 0; // bytes of audio data
    bool bPlaying = false;
    std::uint64_t qwFrames = 0; // the frames when the data size cannot tell; 0: from it
};

// The number with at most nDigits significant digits, fixed notation where
// they allow it, exponent notation otherwise, trailing zeros dropped.
std::string GcvtText(double dValue, int nDigits);

// All six parts. A zero frame size or rate is never divided by: the frames
// or seconds then read "unknown".
std::array<std::string, nStatusParts> StatusBarTexts(const StatusFacts& facts);

// Parts 0 to 4 when the selected sound file is no readable WAV file; part 5
// keeps its text.
inline constexpr std::array<const char*, 5> aInvalidWaveTexts{"None.", "None.", "None.",
                                                              "Invalid Wave!", "Invalid Wave!"};
