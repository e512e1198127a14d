#include "common/testutil.h"
#include "platform/sound/nullwave.h"
#include "platform/sound/wavedev.h"

namespace {

class WaveDevice : public ::testing::Test {
protected:
    void SetUp() override {
        testutil::EnsureApp();
        InstallWaveBackend(nullwave::Backend());
        nullwave::Clear();
        owner.Receive = [this](unsigned uMsg, WAVEHDR* h) { got.push_back({uMsg, h}); };
        for (auto& h : hdr)
            h.lpData = data, h.dwBufferLength = 4;
    }
    void TearDown() override { InstallWaveBackend(nullptr); }

    struct Msg {
        unsigned uMsg;
        WAVEHDR* h;
        bool operator==(const Msg&) const = default;
    };
    WaveOwner owner;
    std::vector<Msg> got;
    WAVEFORMATEX wf{WAVE_FORMAT_PCM, 1, 8000, 8000, 1, 8, 0};
    char data[4] = {1, 2, 3, 4};
    WAVEHDR hdr[3];
};

TEST_F(WaveDevice, CompletionsArriveInQueueOrderOnlyThroughTheEventLoop) {
    HWAVEOUT hwo = nullptr;
    ASSERT_EQ(waveOutOpen(&hwo, 0, &wf, &owner), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutWrite(hwo, &hdr[0]), WAVERR_UNPREPARED);
    for (auto& h : hdr) {
        waveOutPrepareHeader(hwo, &h);
        ASSERT_EQ(waveOutWrite(hwo, &h), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(waveOutWrite(hwo, &hdr[0]), MMSYSERR_INVALPARAM); // already queued
    EXPECT_EQ(waveOutUnprepareHeader(hwo, &hdr[0]), WAVERR_STILLPLAYING);
    EXPECT_EQ(nullwave::StepOut(1), 1u);
    EXPECT_TRUE(got.empty()); // posted, not called
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(got, (std::vector<Msg>{{MM_WOM_DONE, &hdr[0]}}));
    EXPECT_TRUE(hdr[0].dwFlags & WHDR_DONE);

    // A reset returns the rest at once, in order; before it, close refuses.
    EXPECT_EQ(waveOutClose(hwo), WAVERR_STILLPLAYING);
    got.clear();
    waveOutReset(hwo);
    EXPECT_EQ(nullwave::QueuedOut(), 0u);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(got, (std::vector<Msg>{{MM_WOM_DONE, &hdr[1]}, {MM_WOM_DONE, &hdr[2]}}));
    for (auto& h : hdr)
        EXPECT_EQ(waveOutUnprepareHeader(hwo, &h), MMSYSERR_NOERROR);
    EXPECT_EQ(waveOutClose(hwo), MMSYSERR_NOERROR);
}

TEST(DeviceName, IsCutToThirtyOneBytesOnACharacterBoundary) {
    EXPECT_EQ(ShortDeviceName("Built-in Audio Analog Stereo"), "Built-in Audio Analog Stereo");
    EXPECT_EQ(ShortDeviceName(std::string(40, 'x')), std::string(31, 'x'));
    // "é" is two bytes; the 31st byte would split one.
    const std::string name = std::string(30, 'a') + "\xC3\xA9" + "zz";
    EXPECT_EQ(ShortDeviceName(name), std::string(30, 'a'));
}

} // namespace
