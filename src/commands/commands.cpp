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

bool Commands::OnCommand(int nId) {
    switch (nId) {
    case CM_FILENEW:
        Launch(TextEditorCommand(m_ini));
        break;
    case CM_NEWORC:
    case CM_NEWSCO:
        NewFile(nId == CM_NEWSCO);
        break;
    case CM_RENAMEORC:
        Rename(0);
        break;
    case CM_RENAMESCO:
        Rename(1);
        break;
    case CM_RENAMESOUND:
        Rename(2);
        break;
    case CM_DELETEORC:
        Delete(0, "ORCHESTRA");
        break;
    case CM_DELETESCO:
        Delete(1, "SCORE");
        break;
    case CM_DELETESOUND:
        Delete(2, "SOUNDFILE");
        break;
    case CM_DELETEANALYSIS:
        Delete(4, "Analysis File");
        break;
    case CM_ANALYSIS:
        Analysis();
        break;
    case CM_EXIT:
        m_window.Exit();
        break;
    case CM_PREFERENCES:
        m_window.OpenPreferences();
        break;
    case CM_WAVEDEVICES:
        m_window.WaveDevicesDialog();
        break;
    case CM_SELECTCSOUND:
        m_window.SelectCsoundDialog();
        break;
    case CM_SELECTWAVEEDITOR:
    case CM_SELECTTEXTEDITOR:
        SelectEditor(nId == CM_SELECTTEXTEDITOR);
        break;
    case CM_CALLEDITOR:
        CallEditor();
        break;
    case CM_ABOUT:
        m_window.AboutDialog();
        break;
    default:
        return false;
    }
    return true;
}

void Commands::Launch(const std::string& szCmdLine) {
    if (m_window.StartProgram(szCmdLine) <= 31)
        MessageBox("Could not start: " + szCmdLine, "Error", MB_ICONEXCLAMATION);
}

int Commands::Selection(int nList, std::string* szName) {
    if (m_window.ListSelection(nList, szName))
        return nList;
    if (nList == 2 && m_window.ListSelection(3, szName))
        return 3;
    constexpr const char* aMissing[][2] = {
        {"No Orchestra Selected", "Error"},     {"No Score Selected", "Error"},
        {szNoSound, szNoSoundCaption},          {szNoSound, szNoSoundCaption},
        {"No Analysis File Selected", "Error"},
    };
    Exclaim(aMissing[nList][0], aMissing[nList][1]);
    return -1;
}

void Commands::NewFile(bool bScore) {
    char szNewFile[256] = {};
    m_window.NewFileDialog(bScore, szNewFile);
    if (!szNewFile[0])
        return;
    const std::string szPath = CreateFromTemplate(m_ini, bScore, szNewFile);
    if (szPath.empty())
        return;
    Launch(TextEditorCommand(m_ini, szPath));
    m_window.RefreshLists();
}

void Commands::Rename(int nList) {
    std::string szName;
    nList = Selection(nList, &szName);
    if (nList >= 0)
        m_window.RenameDialog(nList, szName);
}

void Commands::Delete(int nList, const char* szWhat) {
    std::string szName;
    nList = Selection(nList, &szName);
    if (nList < 0)
        return;
    const std::string szPath = ListFolder(m_ini, nList) + szName;
    if (MessageBox(szPath, std::string("Are you sure you want to DELETE this ") + szWhat + "?",
                   MB_YESNO | MB_DEFBUTTON2) != IDYES)
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
    const int nList = Selection(2, &szName);
    if (nList >= 0)
        Launch(WaveEditorCommand(m_ini, ListFolder(m_ini, nList) + szName));
}

void Commands::Analysis() {
    std::string szName;
    if (Selection(2, &szName) >= 0)
        m_window.OpenAnalysis();
}

void Commands::OnListDoubleClick(int nList) {
    std::string szName;
    switch (nList) {
    case 0:
    case 1:
        if (m_window.ListSelection(nList, &szName))
            Launch(TextEditorCommand(m_ini, ListFolder(m_ini, nList) + szName));
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
