// Status bar texts of a sound file.
#include "mainwindow/statustext.h"

#include <gtest/gtest.h>

using Texts = std::array<std::string, 6>;

TEST(StatusBarTexts, FormatFramesAndSeconds) {
    EXPECT_EQ(StatusBarTexts({44100, 2, 16, 176400, false}),
              (Texts{"44100", "16 bit", "Stereo", "Sample Frames - 44100", "Seconds - 1",
                     "Status - Stopped"}));
    const auto t = StatusBarTexts({11025, 1, 8, 11025, true});
    EXPECT_EQ(t[2], "Mono");
    EXPECT_EQ(t[5], "Status - Playing");
    EXPECT_EQ(StatusBarTexts({44100, 4, 16, 0, false})[2], "4 ch");
    // Whole frames only (24 bits: three bytes a sample); 12 bits take one byte.
    EXPECT_EQ(StatusBarTexts({48000, 2, 24, 6 * 1000 + 5, false})[3], "Sample Frames - 1000");
    EXPECT_EQ(StatusBarTexts({8000, 1, 12, 8000, false})[3], "Sample Frames - 8000");
    // Four significant digits.
    EXPECT_EQ(StatusBarTexts({44100, 1, 16, 66150 * 2, false})[4], "Seconds - 1.5");
    EXPECT_EQ(StatusBarTexts({44100, 1, 8, 100000, false})[4], "Seconds - 2.268");
    EXPECT_EQ(GcvtText(123456.0, 4), "1.235e+05");
}

TEST(StatusBarTexts, NothingDividedByZero) {
    auto t = StatusBarTexts({}); // nothing read yet
    EXPECT_EQ(t[3], "Sample Frames - unknown");
    EXPECT_EQ(t[4], "Seconds - unknown");
    // Fewer than 8 bits a sample: no frame size.
    EXPECT_EQ(StatusBarTexts({8000, 1, 4, 100, false})[3], "Sample Frames - unknown");
    // A known frame size but no rate: frames, no seconds.
    t = StatusBarTexts({0, 2, 16, 400, false});
    EXPECT_EQ(t[3], "Sample Frames - 100");
    EXPECT_EQ(t[4], "Seconds - unknown");
}
