// The analysis dialog with the real Csound utilities: each page's OK starts
// its utility, which writes its analysis file into the analysis directory.
#include "../audio/wavfixture.h"
#include "common/tempconfig.h"
#include "dialogs/analysis.h"
#include "dialogtest.h"
#include "settings/ini.h"

#include <cmath>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

TEST(AnalysisEndToEnd, EachPageRunsItsUtilityOnTheShownFile) {
    const char* szCsound = "/usr/bin/csound";
    REQUIRE_SERVICE(fs::exists(szCsound), "csound");
    TempConfig cfg;
    const fs::path root = cfg.root();
    fs::create_directories(root / "ana");
    fixture::Bytes pcm; // half a second of a 440 Hz tone, 16-bit mono
    for (int i = 0; i < 22050; ++i)
        fixture::Put16(pcm, static_cast<std::uint16_t>(static_cast<std::int16_t>(
                                12000.0 * std::sin(2.0 * M_PI * 440.0 * i / 44100.0))));
    fixture::WriteBytes(root / "tone.wav", fixture::Wav(1, 1, 44100, 16, pcm));

    INISTRUCT ini{};
    InitAppInto(ini);
    std::strcpy(ini.szCsoundPath, szCsound);
    std::strcpy(ini.szCurSoundFile, (root / "tone.wav").c_str());
    std::strcpy(ini.szSADIR, ((root / "ana").string() + "/").c_str());
    int nRefresh = 0;
    SetAnalysisLauncher({}); // the real launcher
    OpenAnalysis(nullptr, &ini, [&] { ++nRefresh; });
    QDialog* dlg = AnalysisDialog();
    ASSERT_NE(dlg, nullptr);

    const char* const kOutputs[] = {"voice.lpc", "voice.htr", "voice.pvc"};
    const int kNameIds[] = {220, 320, 414};
    for (int nPage = 0; nPage < 3; ++nPage) {
        SelectTab(dlg, nPage);
        Edit(dlg, kNameIds[nPage])->setText(kOutputs[nPage]);
        Click(dlg, 100);
        const fs::path out = root / "ana" / kOutputs[nPage];
        EXPECT_TRUE(testutil::WaitFor(
            [&] {
                std::error_code ec;
                const auto nBytes = fs::file_size(out, ec);
                return !ec && nBytes > 0;
            },
            30))
            << kOutputs[nPage];
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // let it finish writing
    }
    EXPECT_EQ(nRefresh, 3);
    EXPECT_STREQ(ReadIni("PVC", "outputfile"), "voice.pvc");
    Click(dlg, 101);
    FlushDeletes();
}
