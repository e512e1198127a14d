// The Preferences dialog: its pages, the click rules, OK and Cancel; the
// number boxes' reading and the text fields.
#include "dialogs/dlgunits.h"
#include "dialogs/tab.h"
#include "dialogs/textfields.h"
#include "dialogtest.h"

#include <QAccessible>

namespace {
enum { PATH, SOUND, ORCSCO, MIDI, DISP };

struct PrefsTest : DialogTest {
    PrefsTest() : DialogTest("Tonsmith32 Preferences", OpenPreferences) {}
};

std::vector<int> Ids(const char* list) {
    std::istringstream in(list);
    return {std::istream_iterator<int>(in), {}};
}

// A number box reads like the run-time library, past every kind of white
// space. A field takes text whole or not at all: a cut name could name
// another file.
TEST(TextFields, NumbersSkipAllWhiteSpaceAndTextIsNeverCut) {
    EXPECT_EQ(AtoL(" \n\r\f\v-22050 Hz"), -22050);
    char field[4] = "old";
    for (const QString& text : {QStringLiteral("abcd"), QString::fromUtf8("ab\xc3\xa9"), // 4 bytes
                                QString(QChar(0)) + "a"})
        EXPECT_FALSE(StoreText(field, text));
    EXPECT_STREQ(field, "old");
    EXPECT_TRUE(StoreText(field, QStringLiteral("abc")));
    EXPECT_STREQ(field, "abc");
    EXPECT_EQ(MulDiv(-3, 6, 4), -5); // dialog units: halves round away from zero
}

// With no file stored the boxes are empty, not the template's text, while
// labels and buttons keep theirs; one page shows at a time.
TEST_F(PrefsTest, FreshBoxesAndOnePageAtATime) {
    QDialog* dlg = Open();
    ASSERT_EQ(Tabs(dlg)->count(), 5);
    EXPECT_EQ(Text(dlg, 206) + "|" + Text(dlg, 207) + "|" + Text(dlg, 502) + "|" + Text(dlg, 610) +
                  "|" + Text(dlg, 401) + "|" + Text(dlg, 311),
              ini.szOrcDir + std::string("|Orchestra Directory|Note Amplitude |||0"));
    EXPECT_TRUE(GetDlgItem(dlg, 206)->isVisible());
    Tabs(dlg)->setCurrentIndex(MIDI);
    EXPECT_FALSE(GetDlgItem(dlg, 206)->isVisible() || GetDlgItem(dlg, 402)->isVisible());
    EXPECT_TRUE(GetDlgItem(dlg, 400)->isVisible());
    // A screen reader finds nothing to do on a greyed button (a live one: end to end).
    QAccessibleActionInterface* floatOutput =
        QAccessible::queryAccessibleInterface(GetDlgItem(dlg, 309))->actionInterface();
    floatOutput->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(floatOutput->actionNames().contains(QAccessibleActionInterface::toggleAction()) ||
                 IsDlgButtonChecked(dlg, 309));
}

// Each row: the settings file before, the clicks, the boxes then enabled
// (positive id) or greyed (negative), the buttons then checked or clear, and
// the keys OK writes.
TEST_F(PrefsTest, ClicksFollowThePageRules) {
    const char* cases[][5] = {
        // Fresh: Wave greys the sample types it cannot hold; every value box is greyed.
        {"", "", "-305 -309 -313 -311 -602 -610 -609 -401 -404 308 204", "211 214 302 307 504 -208",
         "DISPLAY/display=504"},
        {"", "300 309 301", "-309 -305", "307 -309", "SOUND/format=301 SOUND/type=307"},
        {"", "303 306 310 315 315", "305 309 313 -311", "",
         "SOUND/format=303 SOUND/type=306 SOUND/outfilecheck=1 SOUND/hbuffercheck=0"},
        // The two hidden check boxes still follow their rules when pressed.
        {"", "211 214 214 208 209 209", "-204 -205 200 201", "-211 214",
         "PREFERENCES/showcmdline=1 PREFERENCES/showanalysis=2 DIRECTORIES/scoremode=1 "
         "DIRECTORIES/sfmode=0"},
        // The boxes show what the record holds, and OK keeps it.
        {"[DIRECTORIES]\nscoremode=1\nsfmode=1\n[SOUND]\nhardbuffer=512\nsoftbuffer=-3\n"
         "[CSOUND]\nsrate=44100\nkrate=-1\ntempo=96\nextract=x.ext\n[MIDI]\nmidisus=7\n",
         "", "-204 -200", "208 209",
         "SOUND/hardbuffer=512 SOUND/softbuffer=-3 CSOUND/srate=44100 CSOUND/krate=-1 "
         "CSOUND/tempo=96 CSOUND/extract=x.ext MIDI/midisus=7"},
        {"[CSOUND]\nextractck=1\n[SOUND]\noutfilecheck=1\nhbuffercheck=1\nformat=300\n",
         "601 607 400 405", "602 -610 401 313 311 309", "300 310 315",
         "CSOUND/srateck=1 CSOUND/extractck=0 MIDI/midifileck=1 MIDI/terminate=1"},
        // The warning mask is added to and subtracted from at each click.
        {"[DISPLAY]\nwarnings=5\n", "501 503 506", "", "502 -500 -501 503 -504",
         "DISPLAY/warnings=1 DISPLAY/display=503 DISPLAY/heartbeat=1"},
        {"[DISPLAY]\nwarnings=9\n", "500", "", "-502 500 -501", "DISPLAY/warnings=11"},
        {"[DISPLAY]\nwarnings=-1\n", "", "", "-502 -500 -501", "DISPLAY/warnings=-1"},
        // Values outside a radio group check nothing, grey nothing and survive OK.
        {"[SOUND]\nformat=299\ntype=303\n[DISPLAY]\ndisplay=506\n", "", "305",
         "-300 -302 -303 -304 -307 -503 -504 -505 -506",
         "SOUND/format=299 SOUND/type=303 DISPLAY/display=506"},
        {"[SOUND]\nformat=304\ntype=310\n[DISPLAY]\ndisplay=502\n", "", "", "-304 -309 -502",
         "SOUND/format=304 SOUND/type=310 DISPLAY/display=502"}};
    for (const auto& [before, clicks, enabled, checked, after] : cases) {
        cfg.writeIni(before);
        InitAppInto(ini);
        QDialog* dlg = Open();
        for (int nId : Ids(clicks))
            Click(dlg, nId);
        for (int nId : Ids(enabled))
            EXPECT_EQ(Enabled(dlg, std::abs(nId)), nId > 0) << before << nId;
        for (int nId : Ids(checked))
            EXPECT_EQ(IsDlgButtonChecked(dlg, std::abs(nId)), int(nId > 0)) << before << nId;
        Press(dlg, 100);
        ExpectIni(after);
        INISTRUCT back{}; // the record holds what the file says
        InitAppInto(back);
        EXPECT_EQ(std::memcmp(&back, &ini, sizeof ini), 0) << after;
    }
}

TEST_F(PrefsTest, OkReadsTheBoxesWritesAll39KeysAndKeepsWhatChangedMeanwhile) {
    std::strcpy(ini.szMidiInFile, "song.mid");
    QDialog* dlg = Open();
    Click(dlg, 300);
    // Greyed boxes are read too.
    const QStringList typed =
        QString("/music/orc||/music/out/|  512 frames|abc|-22050|take.ext|voice.wav").split('|');
    for (int i = 0; int nId : {206, 204, 202, 311, 312, 602, 610, 313})
        Edit(dlg, nId)->setText(typed[i++]);
    // While the dialog is open the user picks another Csound and a sound file.
    std::strcpy(ini.szCsoundPath, "/opt/csound7/bin/csound");
    ini.nCSoundVer = 2;
    std::strcpy(ini.szCurSoundFile, "/music/out/take2.wav");
    std::strcpy(ini.lpcStruct.npoles, "50");
    // A second command or another page keeps what was typed; Enter is OK.
    Tabs(dlg)->setCurrentIndex(DISP);
    EXPECT_EQ(Open(), dlg);
    Tabs(dlg)->setCurrentIndex(SOUND);
    QTest::keyClick(Edit(dlg, 313), Qt::Key_Return);
    FlushDeletes();
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_EQ(nRefresh, 1);
    ExpectIni("DIRECTORIES/orcdir=/music/orc/ DIRECTORIES/scoredir=/ DIRECTORIES/sfdir=/music/out/ "
              "CSOUND/extract=take.ext MIDI/midifile=song.mid SOUND/outputfile=voice.wav "
              "SOUND/hardbuffer=512 SOUND/softbuffer=0 CSOUND/srate=-22050");
    const std::string file = cfg.readIni();
    EXPECT_EQ(std::count(file.begin(), file.end(), '='), 39) << file;
    // The record keeps what changed elsewhere.
    EXPECT_EQ(std::string(ini.szCsoundPath) + ini.szCurSoundFile + ini.lpcStruct.npoles +
                  std::to_string(ini.nCSoundVer),
              "/opt/csound7/bin/csound/music/out/take2.wav502");
}

// Cancel, Escape and the close box drop the copy; text too long for its field
// is refused and nothing saved; OK needs no list refresh.
TEST_F(PrefsTest, LeavingAndTooLongTextSaveNothing) {
    const INISTRUCT before = ini;
    LeaveEachWay(300);
    EXPECT_TRUE(Unchanged(before));
    QDialog* dlg = Open();
    // 126 characters fit, but not with the slash the directory needs.
    Edit(dlg, 212)->setText(QString(126, 'd'));
    Tabs(dlg)->setCurrentIndex(ORCSCO);
    Press(dlg, 100);
    EXPECT_TRUE(Shown() == dlg && Tabs(dlg)->currentIndex() == PATH && Unchanged(before));
    // Eleven characters but more bytes than the output name holds.
    Edit(dlg, 212)->setText(QString(124, 'd') + "/");
    Edit(dlg, 313)->setText(QString::fromUtf8("\xc3\xa9t\xc3\xa9.wav\xc3\xa9\xc3\xa9"));
    Press(dlg, 100);
    EXPECT_EQ(boxes.boxes,
              (std::vector<std::string>{
                  "Error: The Analysis Output Directory is too long: it can hold at most 126 "
                  "bytes with its closing slash. Nothing was saved.",
                  "Error: The Output Filename is too long: it can hold at most 11 bytes. Nothing "
                  "was saved."}));
    EXPECT_TRUE(Tabs(dlg)->currentIndex() == SOUND && nRefresh == 0);

    Edit(dlg, 313)->setText(QString::fromUtf8("\xc3\xa9t\xc3\xa9.wav"));
    Edit(dlg, 212)->setText(QString(125, 'd'));
    Press(dlg, 100);
    EXPECT_EQ(Shown(), nullptr);
    EXPECT_EQ(ini.szSADIR + ("|" + std::string(ini.szOutputFilename)),
              std::string(125, 'd') + "/|\xc3\xa9t\xc3\xa9.wav");
    OpenPreferences(nullptr, &ini, {}); // no lists to refresh
    Press(Shown(), 100);
    EXPECT_EQ(Shown(), nullptr);
}

} // namespace
