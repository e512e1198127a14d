// The main window's five file lists: refilling, selection handling, the
// remembered Orchestras and Scores positions, and the status bar texts of
// the selected sound file.
#include "commands/filecmds.h"
#include "mainwindow/filelistbox.h"
#include "mainwindow/filelists.h"
#include "mainwindow/statusbar.h"
#include "mainwindow/tonsm32.h"
#include "platform/messagebox.h"

#include <climits>
#include <cstring>

namespace {
void TooLong(const char* szWhat, const char* szName, std::size_t nCapacity) {
    MessageBox(std::string("The ") + szWhat + " \"" + szName + "\" is too long: at most " +
                   std::to_string(nCapacity - 1) + " characters fit.",
               "Error", MB_ICONEXCLAMATION);
}
} // namespace

void MainWindow::RefreshLists() {
    for (int nList : aRefillOrder) {
        hWndListBox[static_cast<std::size_t>(nList)]->SetEntries(ListEntries(IniStruct, nList));
    }
    const bool bShowAnalysis = IniStruct.nShowAnalysis == 2;
    hWndListBox[LIST_ORC]->Place(QRect(20, 70, 115, bShowAnalysis ? 125 : 250));
    hWndListBox[LIST_ANALYSIS]->setVisible(bShowAnalysis);
    hClient->update();
}

const char* MainWindow::GetListFileName(std::uintptr_t wParam) {
    // Room for any file name with the brackets of a folder entry. Without a
    // selection the name read last stays.
    static char szFileName[NAME_MAX + 3];
    const std::size_t nList = wParam & 0xFFFF;
    if (nList < hWndListBox.size()) {
        const FileListBox* lb = hWndListBox[nList];
        const int nRow = lb->CurSel();
        if (nRow >= 0) {
            const std::string& name = lb->Name(nRow);
            if (name.size() < sizeof szFileName)
                std::memcpy(szFileName, name.c_str(), name.size() + 1);
        }
    }
    return szFileName;
}

void MainWindow::OnListSelChange(int nList) {
    switch (nList) {
    case LIST_ORC:
    case LIST_SCORE: {
        const bool bOrc = nList == LIST_ORC;
        char* szField = bOrc ? IniStruct.szOrc : IniStruct.szScore;
        const char* szName = GetListFileName(static_cast<std::uintptr_t>(nList));
        if (!CopyIntoField(szField, sizeof IniStruct.szOrc, szName))
            TooLong(bOrc ? "orchestra name" : "score name", szName, sizeof IniStruct.szOrc);
        wLBindex[bOrc ? 0 : 1] =
            static_cast<std::uint16_t>(hWndListBox[static_cast<std::size_t>(nList)]->CurSel());
        break;
    }
    case LIST_SOURCE:
    case LIST_OUTPUT: {
        const std::string szPath = MakeFullFilename(
            ListFolder(IniStruct, nList), GetListFileName(static_cast<std::uintptr_t>(nList)));
        WaveFacts facts;
        if (!CopyIntoField(IniStruct.szCurSoundFile, sizeof IniStruct.szCurSoundFile,
                           szPath.c_str())) {
            TooLong("sound file path", szPath.c_str(), sizeof IniStruct.szCurSoundFile);
            ShowInvalidWave();
        } else if (m_sound->LoadSampleInfo(szPath.c_str(), facts)) {
            dacinit.dwSampleRate = facts.dwSampleRate;
            dacinit.wNchnls = facts.wNchnls;
            dacinit.wBits = facts.wBits;
            dwDataSize = facts.dwDataSize;
            m_sound->Stop();
            StatusBarRefresh();
        } else {
            ShowInvalidWave();
        }
        hWndListBox[nList == LIST_SOURCE ? LIST_OUTPUT : LIST_SOURCE]->SetCurSel(-1);
        break;
    }
    default:
        break;
    }
}

void MainWindow::ReapplySelections() {
    for (int i = 0; i < 2; ++i) {
        char* szField = i == 0 ? IniStruct.szOrc : IniStruct.szScore;
        FileListBox* lb = hWndListBox[static_cast<std::size_t>(i)];
        szField[0] = '\0';
        lb->SetCurSel(wLBindex[static_cast<std::size_t>(i)]);
        const int nRow = lb->CurSel();
        // A name too long for the field leaves it empty (told on selection).
        if (nRow >= 0)
            CopyIntoField(szField, sizeof IniStruct.szOrc, lb->Name(nRow).c_str());
    }
}

int MainWindow::StatusBarRefresh() {
    const auto texts = StatusBarTexts(
        {dacinit.dwSampleRate, dacinit.wNchnls, dacinit.wBits, dwDataSize, m_sound->IsActive()});
    for (int i = 0; i < nStatusParts; ++i)
        hWndStatus->SetText(i, QString::fromStdString(texts[static_cast<std::size_t>(i)]));
    return 0;
}

void MainWindow::ShowInvalidWave() {
    for (int i = 0; i < 5; ++i)
        hWndStatus->SetText(i, aInvalidWaveTexts[static_cast<std::size_t>(i)]);
}
