// The analysis dialog with the real Csound utilities: each page's OK starts
// its utility, which writes its analysis file into the analysis directory.
#include "common/tempconfig.h"
#include "dialogs/analysis.h"
#include "dialogtest.h"
#include "settings/ini.h"

#include <QElapsedTimer>
#include <QThread>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
namespace fs = std::filesystem;

void PutLE(std::ofstream& out, std::uint32_t v, int nBytes) {
    for (int i = 0; i < nBytes; ++i)
        out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Half a second of a 440 Hz tone, 16-bit mono at 44100 Hz.
void WriteTone(const fs::path& path) {
    const std::uint32_t nFrames = 22050;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    PutLE(out, 36 + nFrames * 2, 4);
    out.write("WAVEfmt ", 8);
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);
    PutLE(out, 1, 2);
    PutLE(out, 44100, 4);
    PutLE(out, 88200, 4);
    PutLE(out, 2, 2);
    PutLE(out, 16, 2);
    out.write("data", 4);
    PutLE(out, nFrames * 2, 4);
    for (std::uint32_t i = 0; i < nFrames; ++i) {
        const double v = 12000.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / 44100.0);
        PutLE(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)), 2);
    }
}

bool WaitForFile(const fs::path& path, int nMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < nMs) {
        std::error_code ec;
        if (fs::exists(path, ec) && fs::file_size(path, ec) > 0) {
            QThread::msleep(300); // let the utility finish writing
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}
} // namespace

TEST(AnalysisEndToEnd, EachPageRunsItsUtilityOnTheShownFile) {
    const char* szCsound = "/usr/bin/csound";
    if (!fs::exists(szCsound)) {
        if (std::getenv("TONSMITH_SERVICES"))
            FAIL() << "csound is not installed";
        GTEST_SKIP() << "csound is not installed";
    }
    TempConfig cfg;
    const fs::path root = cfg.root();
    fs::create_directories(root / "ana");
    WriteTone(root / "tone.wav");

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
        EXPECT_TRUE(WaitForFile(root / "ana" / kOutputs[nPage], 30000)) << kOutputs[nPage];
    }
    EXPECT_EQ(nRefresh, 3);
    EXPECT_STREQ(ReadIni("PVC", "outputfile"), "voice.pvc");
    Click(dlg, 101);
    FlushDeletes();
}
