#include "commands/commands.h"

#include "commands/filecmds.h"
#include "platform/files/fileops.h"
#include "platform/files/trash.h"
#include "platform/messagebox.h"
#include "settings/ini.h"

#include <cstring>

namespace {
constexpr char szNoSound[] = "You must first select a Sound File";
constexpr char szNoSoundCaption[] = "No Sound File Selected!";
// Room for the path of a sound file to play, terminator included: that of
// the current sound file, so that a path the selection refuses (keeping the
// format of the file before) is never played with that format.
constexpr std::size_t nPlayPathSize = sizeof INISTRUCT::szCurSoundFile;

void Exclaim(const char* szText, const char* szCaption) {
    MessageBox(szText, szCaption, MB_ICONEXCLAMATION);
}
} // namespace

int CommandOfButton(int nId) {
    switch (nId) {
    case 6001:
        return IDM_COMPILE;
    case 6003:
        return IDM_CALLEDITOR;
    case 6004:
        return IDM_NEWORC;
    case 6005:
        return IDM_NEWSCO;
    case 6006:
        return IDM_RENAMEORC;
    case 6007:
        return IDM_RENAMESCO;
    case 6008:
        return IDM_DELETEORC;
    case 6009:
        return IDM_DELETESCO;
    case 6010:
        return IDM_RENAMESOUND;
    case 6011:
        return IDM_DELETESOUND;
    case 6012:
        return IDM_ANALYSIS;
    default:
        return nId;
    }
}

bool Commands::OnCommand(int nId) {
    switch (CommandOfButton(nId)) {
    case IDM_FILENEW:
        Start(TextEditorCommand(m_ini));
        break;
    case IDM_NEWORC:
        NewFile(false);
        break;
    case IDM_NEWSCO:
        NewFile(true);
        break;
    case IDM_RENAMEORC:
        RenameOrcOrScore(0);
        break;
    case IDM_RENAMESCO:
        RenameOrcOrScore(1);
        break;
    case IDM_RENAMESOUND:
        RenameSound();
        break;
    case IDM_DELETEORC:
    case IDM_DELETESCO:
    case IDM_DELETESOUND:
    case IDM_DELETEANALYSIS:
        Delete(CommandOfButton(nId));
        break;
    case IDM_ANALYSIS:
        Analysis();
        break;
    case IDM_COMPILE:
        m_window.Compile();
        break;
    case IDM_EXIT:
        m_window.Exit();
        break;
    case IDM_PREFERENCES:
        m_window.OpenPreferences();
        break;
    case IDM_WAVEDEVICES:
        m_window.WaveDevicesDialog();
        break;
    case IDM_SELECTCSOUND:
        m_window.SelectCsoundDialog();
        break;
    case IDM_SELECTWAVEEDITOR:
        SelectEditor(false);
        break;
    case IDM_SELECTTEXTEDITOR:
        SelectEditor(true);
        break;
    case IDM_CALLEDITOR:
        CallEditor();
        break;
    case IDM_ABOUT:
        m_window.AboutDialog();
        break;
    default:
        return false;
    }
    return true;
}

void Commands::Start(const std::string& szCmdLine) {
    if (m_window.StartProgram(szCmdLine) <= 31)
        MessageBox("Could not start: " + szCmdLine, "Error", MB_ICONEXCLAMATION);
}

void Commands::NewFile(bool bScore) {
    szNewFile[0] = '\0';
    m_window.NewFileDialog(bScore, szNewFile);
    if (!szNewFile[0])
        return;
    const std::string szPath = CreateFromTemplate(m_ini, bScore, szNewFile);
    if (szPath.empty())
        return;
    Start(TextEditorCommand(m_ini, szPath));
    m_window.RefreshLists();
}

void Commands::RenameOrcOrScore(int nList) {
    std::string szName;
    if (!m_window.ListSelection(nList, &szName)) {
        Exclaim(nList == 0 ? "No Orchestra Selected" : "No Score Selected", "Error");
        return;
    }
    nrenameswitch = nList;
    m_window.RenameDialog(nrenameswitch, szName);
}

int Commands::SoundSelection(std::string* szName) {
    if (m_window.ListSelection(2, szName))
        return 2;
    if (m_window.ListSelection(3, szName))
        return 3;
    return -1;
}

void Commands::RenameSound() {
    std::string szName;
    const int nList = SoundSelection(&szName);
    if (nList < 0) {
        Exclaim(szNoSound, szNoSoundCaption);
        return;
    }
    nrenameswitch = nList;
    m_window.RenameDialog(nrenameswitch, szName);
}

void Commands::Delete(int nId) {
    std::string szName;
    int nList = -1;
    const char* szQuestion = "";
    switch (nId) {
    case IDM_DELETEORC:
        szQuestion = "Are you sure you want to DELETE this ORCHESTRA?";
        if (m_window.ListSelection(0, &szName))
            nList = 0;
        else
            Exclaim("No Orchestra Selected", "Error");
        break;
    case IDM_DELETESCO:
        szQuestion = "Are you sure you want to DELETE this SCORE?";
        if (m_window.ListSelection(1, &szName))
            nList = 1;
        else
            Exclaim("No Score Selected", "Error");
        break;
    case IDM_DELETESOUND:
        szQuestion = "Are you sure you want to DELETE this SOUNDFILE?";
        nList = SoundSelection(&szName);
        if (nList < 0)
            Exclaim(szNoSound, szNoSoundCaption);
        break;
    default:
        szQuestion = "Are you sure you want to DELETE this Analysis File?";
        if (m_window.ListSelection(4, &szName))
            nList = 4;
        else
            Exclaim("No Analysis File Selected", "Error");
        break;
    }
    if (nList < 0)
        return;
    const std::string szPath = std::string(ListFolder(m_ini, nList)) + szName;
    if (MessageBox(szPath, szQuestion, MB_YESNO | MB_DEFBUTTON2) != IDYES)
        return;
    // Into the trash where there is one, so a mistaken Yes can be undone.
    if (const int nError = TrashOrDeleteFile(szPath))
        MessageBox(FileErrorText("Cannot delete", szPath, nError), "Error", MB_ICONEXCLAMATION);
    m_window.RefreshLists();
}

void Commands::SelectEditor(bool bText) {
    if (!m_window.FileOpenDialog(szChosenFile, sizeof szChosenFile, szTitle, sizeof szTitle))
        return;
    char* szField = bText ? m_ini.szTextEditorPath : m_ini.szEditorPath;
    static_assert(sizeof szChosenFile <= capacity(INISTRUCT{}.szEditorPath));
    static_assert(sizeof szChosenFile <= capacity(INISTRUCT{}.szTextEditorPath));
    std::memcpy(szField, szChosenFile, std::strlen(szChosenFile) + 1);
    WriteIni("DIRECTORIES", bText ? "texteditor" : "editor", szField);
}

void Commands::CallEditor() {
    if (!m_ini.szEditorPath[0]) {
        Exclaim("You must first select your favorite editor", "No Editor Selected!");
        return;
    }
    // Only a selected entry names the file: a name left over from another
    // list would open the wrong file.
    std::string szName;
    const int nList = SoundSelection(&szName);
    if (nList < 0) {
        Exclaim(szNoSound, szNoSoundCaption);
        return;
    }
    Start(WaveEditorCommand(m_ini, ListFolder(m_ini, nList) + szName));
}

void Commands::Analysis() {
    std::string szName;
    if (SoundSelection(&szName) < 0) {
        Exclaim(szNoSound, szNoSoundCaption);
        return;
    }
    m_window.OpenAnalysis();
}

int Commands::ShellEditor(const std::string& szFileName, unsigned wParam) {
    const int nList = (wParam & 0xFFFF) == 1 ? 1 : 0;
    Start(TextEditorCommand(m_ini, ListFolder(m_ini, nList) + szFileName));
    return 1;
}

void Commands::OnListDoubleClick(int nList) {
    std::string szName;
    switch (nList) {
    case 0:
    case 1:
        if (m_window.ListSelection(nList, &szName))
            ShellEditor(szName, static_cast<unsigned>(nList));
        break;
    case 2:
    case 3:
        Play(nList);
        break;
    default:
        break;
    }
}

void Commands::Play(int nList) {
    if (m_window.PlaybackBusy())
        return;
    std::string szName;
    if (!m_window.ListSelection(nList, &szName))
        return;
    const std::string szPath = ListFolder(m_ini, nList) + szName;
    if (szPath.size() >= nPlayPathSize) {
        MessageBox("The path " + szPath + " is too long to play: at most " +
                       std::to_string(nPlayPathSize - 1) + " characters fit.",
                   "Error", MB_ICONEXCLAMATION);
        return;
    }
    if (m_window.WaveOutDeviceCount() == 0) {
        MessageBox(szPath + " cannot be played: no sound output device was found.", "Cannot Play",
                   MB_ICONEXCLAMATION);
        return;
    }
    if (const std::string szWhy = m_window.UnplayableReason(szPath); !szWhy.empty()) {
        MessageBox(szPath + " cannot be played: " + szWhy, "Cannot Play", MB_ICONEXCLAMATION);
        return;
    }
    m_window.StartPlayback(szPath);
    m_window.StatusBarRefresh();
}
