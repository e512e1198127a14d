#include "commands/filecmds.h"

#include "platform/files/fileops.h"
#include "platform/messagebox.h"
#include "platform/process/argsplit.h"
#include "settings/ini.h"

#include <cerrno>
#include <cstring>

namespace {
void TooLong(const std::string& szWhat, const std::string& szText, std::size_t nSize) {
    MessageBox("The " + szWhat + " " + szText + " is too long: at most " +
                   std::to_string(nSize - 1) + " characters fit. Nothing was changed.",
               "Error", MB_ICONEXCLAMATION);
}

// The editor part of a command: the chosen program as one argument when it
// names a file (a path may hold blanks), else the text as it was chosen.
std::string EditorPart(const char* szEditor) {
    return PathExists(szEditor) ? QuoteArgument(szEditor) : std::string(szEditor);
}
// A name that stays in its folder: not empty, no '/', not "." or "..".
bool IsPlainName(const std::string& szName) {
    return !szName.empty() && szName.find('/') == std::string::npos && szName != "." &&
           szName != "..";
}
} // namespace

const char* ListFolder(const INISTRUCT& ini, int nList) {
    switch (nList) {
    case 0:
        return ini.szOrcDir;
    case 1:
        return ini.szScoreDir;
    case 2:
        return ini.szSSDIR;
    case 3:
        return ini.szSFDIR;
    case 4:
        return ini.szSADIR;
    default:
        return "";
    }
}

std::string CreateFromTemplate(INISTRUCT& ini, bool bScore, const std::string& szName) {
    if (!IsPlainName(szName)) {
        MessageBox("\"" + szName + "\" is not a file name. Nothing was created.",
                   bScore ? "New Score" : "New Orchestra", MB_ICONEXCLAMATION);
        return {};
    }
    char* szDir = bScore ? ini.szScoreDir : ini.szOrcDir;
    const std::size_t nDirSize = bScore ? capacity(ini.szScoreDir) : capacity(ini.szOrcDir);
    const std::size_t nDirLen = strnlen(szDir, nDirSize);
    if (nDirLen == 0 || szDir[nDirLen - 1] != '/') {
        if (nDirLen + 2 > nDirSize) {
            TooLong("folder", szDir, nDirSize - 1);
            return {};
        }
        SlashPath(szDir);
    }
    const std::string szPath = std::string(szDir) + szName + (bScore ? ".sco" : ".orc");
    if (szPath.size() >= nNewPathSize) {
        TooLong("path", szPath, nNewPathSize);
        return {};
    }
    const std::string_view bytes = bScore ? szScoTemplate : szOrcTemplate;
    int nError = CreateNewFile(szPath, bytes);
    if (nError == EEXIST) {
        // The old file is replaced whole or not at all, and only on Yes.
        const std::string szQuestion = szPath + " already exists.\nReplace it with a new " +
                                       (bScore ? "score" : "orchestra") + "?";
        if (MessageBox(szQuestion, bScore ? "New Score" : "New Orchestra",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return {};
        nError = ReplaceFileWhole(szPath, bytes);
    }
    if (nError != 0) {
        MessageBox(FileErrorText("Cannot create", szPath, nError), "Error", MB_ICONEXCLAMATION);
        return {};
    }
    return szPath;
}

bool RenameListFile(const INISTRUCT& ini, int nrenameswitch, const std::string& szOldName,
                    const std::string& szNewName) {
    if (nrenameswitch < 0 || nrenameswitch > 3)
        return false;
    if (szNewName.size() >= nRenameSize) {
        TooLong("new name", szNewName, nRenameSize);
        return false;
    }
    if (!IsPlainName(szNewName)) {
        MessageBox("\"" + szNewName + "\" is not a file name. Nothing was renamed.", "Rename ",
                   MB_ICONEXCLAMATION);
        return false;
    }
    const std::string szDir = ListFolder(ini, nrenameswitch);
    const std::string szOld = szDir + szOldName;
    const std::string szNew = szDir + szNewName;
    const int nError = RenameNoReplace(szOld, szNew);
    if (nError == EEXIST) {
        MessageBox("A file named " + szNewName + " already exists in " + szDir +
                       ".\nBoth files were left as they are.",
                   "Rename ", MB_ICONEXCLAMATION);
        return false;
    }
    if (nError != 0) {
        MessageBox(FileErrorText("Cannot rename", szOld, nError), "Rename ", MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

std::string TextEditorCommand(const INISTRUCT& ini) {
    return ini.szTextEditorPath[0] ? EditorPart(ini.szTextEditorPath) : std::string("notepad");
}

std::string TextEditorCommand(const INISTRUCT& ini, const std::string& szPath) {
    return TextEditorCommand(ini) + " " + QuoteArgument(szPath);
}

std::string WaveEditorCommand(const INISTRUCT& ini, const std::string& szPath) {
    return EditorPart(ini.szEditorPath) + " " + QuoteArgument(szPath);
}
