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
// Lengths in bytes: a UTF-8 name of 37 Cyrillic letters takes 74 of them.
void TooLong(const char* szWhat, const std::string& szName, std::size_t nCapacity) {
    MessageBox(std::string("The ") + szWhat + " \"" + szName + "\" is too long: it takes " +
                   std::to_string(szName.size()) + " bytes and at most " +
                   std::to_string(nCapacity - 1) + " fit.",
               "Error", MB_ICONEXCLAMATION);
}

const char* FieldName(int nList) {
    return nList == LIST_ORC ? "orchestra name" : "score name";
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
        const std::size_t i = nList == LIST_ORC ? 0 : 1;
        FileListBox* lb = hWndListBox[i];
        wLBindex[i] = static_cast<std::uint16_t>(lb->CurSel());
        GetListFileName(static_cast<std::uintptr_t>(nList)); // the name read last
        // A name that does not fit is not cut: the field stays empty, and the
        // list shows no selection, as the field says.
        if (!selectFitting(i)) {
            TooLong(FieldName(nList), m_unfitName[i], sizeof IniStruct.szOrc);
            lb->SetCurSel(-1);
        }
        break;
    }
    case LIST_SOURCE:
    case LIST_OUTPUT: {
        const std::string szPath = MakeFullFilename(
            ListFolder(IniStruct, nList), GetListFileName(static_cast<std::uintptr_t>(nList)));
        WaveFacts facts;
        if (!CopyIntoField(IniStruct.szCurSoundFile, sizeof IniStruct.szCurSoundFile,
                           szPath.c_str())) {
            TooLong("sound file path", szPath, sizeof IniStruct.szCurSoundFile);
            ShowInvalidWave();
        } else if (m_sound->LoadSampleInfo(szPath.c_str(), facts)) {
            dacinit.dwSampleRate = facts.dwSampleRate;
            dacinit.wNchnls = facts.wNchnls;
            dacinit.wBits = facts.wBits;
            dwDataSize = facts.dwDataSize;
            qwFrames = facts.qwFrames;
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

bool MainWindow::selectFitting(std::size_t i) {
    char* szField = i == 0 ? IniStruct.szOrc : IniStruct.szScore;
    const FileListBox* lb = hWndListBox[i];
    const int nRow = lb->CurSel();
    szField[0] = '\0';
    m_unfitName[i].clear();
    if (nRow < 0 || CopyIntoField(szField, sizeof IniStruct.szOrc, lb->Name(nRow).c_str()))
        return true;
    m_unfitName[i] = lb->Name(nRow);
    return false;
}

void MainWindow::ReapplySelections() {
    for (std::size_t i = 0; i < 2; ++i) {
        FileListBox* lb = hWndListBox[i];
        lb->SetCurSel(wLBindex[i]);
        // A name too long for the field: nothing shown selected (told on
        // selection and by Compile).
        if (!selectFitting(i))
            lb->SetCurSel(-1);
    }
}

bool MainWindow::TellUnfitSelection() {
    for (std::size_t i = 0; i < 2; ++i) {
        const char* szField = i == 0 ? IniStruct.szOrc : IniStruct.szScore;
        if (szField[0] == '\0' && !m_unfitName[i].empty()) {
            TooLong(FieldName(static_cast<int>(i)), m_unfitName[i], sizeof IniStruct.szOrc);
            return true;
        }
    }
    return false;
}

int MainWindow::StatusBarRefresh() {
    const auto texts = StatusBarTexts({dacinit.dwSampleRate, dacinit.wNchnls, dacinit.wBits,
                                       dwDataSize, m_sound->IsActive(), qwFrames});
    for (int i = 0; i < nStatusParts; ++i)
        hWndStatus->SetText(i, QString::fromStdString(texts[static_cast<std::size_t>(i)]));
    return 0;
}

void MainWindow::ShowInvalidWave() {
    for (int i = 0; i < 5; ++i)
        hWndStatus->SetText(i, aInvalidWaveTexts[static_cast<std::size_t>(i)]);
}
