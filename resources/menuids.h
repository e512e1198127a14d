// Command ids of the main window's menu and of the controls that stand for
// menu commands, and which command each skin button stands for.
#pragma once

enum : int {
    CM_FILENEW = 24331,
    CM_NEWORC = 24332,
    CM_NEWSCO = 24333,
    CM_RENAMESCO = 24334,
    CM_RENAMEORC = 24335,
    CM_RENAMESOUND = 24336,
    CM_DELETEORC = 24337,
    CM_DELETESCO = 24338,
    CM_DELETESOUND = 24339,
    CM_PREFERENCES = 24340,
    CM_WAVEDEVICES = 24341,
    CM_SELECTCSOUND = 24342,
    CM_EXIT = 24343,
    CM_ABOUT = 24344,
    CM_SELECTWAVEEDITOR = 24345,
    CM_CALLEDITOR = 24346,
    CM_SELECTTEXTEDITOR = 24347,
    CM_ANALYSIS = 24348,
    CM_COMPILE = 24349,
    CM_DELETEANALYSIS = 24350,
};

// Child controls of the main window: the lists are 0 to 4.
enum : int {
    IDC_STATUSBAR = 3,
    IDB_COMPILE = 6001,
    IDB_CALLEDITOR = 6003,
    IDB_NEWORC = 6004,
    IDB_NEWSCO = 6005,
    IDB_RENAMEORC = 6006,
    IDB_RENAMESCO = 6007,
    IDB_DELETEORC = 6008,
    IDB_DELETESCO = 6009,
    IDB_RENAMESOUND = 6010,
    IDB_DELETESOUND = 6011,
    IDB_ANALYSIS = 6012,
};

// The skin buttons and the menu commands they stand for.
inline constexpr struct {
    int nControl, nCommand;
} aButtonCommands[] = {
    {IDB_COMPILE, CM_COMPILE},         {IDB_CALLEDITOR, CM_CALLEDITOR},
    {IDB_NEWORC, CM_NEWORC},           {IDB_NEWSCO, CM_NEWSCO},
    {IDB_RENAMEORC, CM_RENAMEORC},     {IDB_RENAMESCO, CM_RENAMESCO},
    {IDB_DELETEORC, CM_DELETEORC},     {IDB_DELETESCO, CM_DELETESCO},
    {IDB_RENAMESOUND, CM_RENAMESOUND}, {IDB_DELETESOUND, CM_DELETESOUND},
    {IDB_ANALYSIS, CM_ANALYSIS},
};

// The menu command a control stands for; any other id is returned as it is.
constexpr int CommandOfControl(int nId) {
    for (const auto& b : aButtonCommands)
        if (b.nControl == nId)
            return b.nCommand;
    return nId;
}
