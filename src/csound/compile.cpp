#include "csound/compile.h"

#include "csound/batchscript.h"
#include "csound/perfcmd.h"
#include "csound/runfolder.h"
#include "platform/files/configdir.h"
#include "platform/messagebox.h"
#include "platform/process/argsplit.h"
#include "platform/process/spawn.h"

#include <cstdlib>
#include <cstring>

namespace csound {
namespace {
class LaunchedProcess : public WatchedProcess {
public:
    explicit LaunchedProcess(std::unique_ptr<ProcessHandle> handle) : m_handle(std::move(handle)) {}
    unsigned long ExitCode() override { return m_handle->ExitCode(); }
    std::string OutputLog() const override { return m_handle->OutputLog(); }
    std::string TakeNotice() override { return m_handle->TakeNotice(); }

private:
    // Dropping the handle while the process runs leaves it to the background
    // reaper, so an earlier run that is no longer watched is still reaped.
    std::unique_ptr<ProcessHandle> m_handle;
};

constexpr std::size_t kMaxLine = 255;
constexpr std::size_t kMaxTrimmedDirectory = 126;
constexpr std::size_t kMaxDirectoryLines = 255;

struct Folder {
    const char* szName;
    const char* szWhat;
    const char* szDir;
};

// An empty folder removes its variable, as "NAME=" does for the platform's
// _putenv, so Csound never takes an empty text for a folder.
void putFolder(const char* szName, const char* szDir) {
    const std::string dir = TrimmedDirectory(szDir);
    if (dir.empty())
        unsetenv(szName);
    else
        setenv(szName, dir.c_str(), 1);
}

void tell(const std::string& text) {
    MessageBox(text, szCaption, MB_OK | MB_ICONEXCLAMATION);
}
} // namespace

int StartWithLauncher(const LaunchRequest& request, std::unique_ptr<WatchedProcess>* process) {
    LaunchResult result = Launch(request);
    if (!result.process)
        return result.error;
    *process = std::make_unique<LaunchedProcess>(std::move(result.process));
    return 0;
}

std::string FailedRunText(const std::string& program, unsigned long exitCode,
                          const std::string& outputLog) {
    std::string text = EndSentence(program, static_cast<int>(exitCode));
    if (!outputLog.empty())
        text += "\nIts output is in " + outputLog + ".";
    return text;
}

CompileRun::CompileRun(CompileWindow& window, ProcessStarter starter)
    : m_window(window), m_starter(std::move(starter)) {}

std::string CompileRun::ScriptPath() {
    const std::string dir = ConfigDirectory();
    return dir.empty() ? std::string() : dir + "/" + szScriptName;
}

bool CompileRun::checkDirectories(const INISTRUCT& ini) {
    const Folder folders[] = {{"SSDIR", "sound source folder", ini.szSSDIR},
                              {"SFDIR", "sound output folder", ini.szSFDIR},
                              {"SADIR", "analysis folder", ini.szSADIR}};
    for (const Folder& f : folders) {
        const std::size_t n = TrimmedDirectory(f.szDir).size();
        if (n > kMaxTrimmedDirectory) {
            tell(std::string("The ") + f.szWhat + " is " + std::to_string(n) +
                 " characters long; Csound gets at most " + std::to_string(kMaxTrimmedDirectory) +
                 " in " + f.szName + ". Choose a shorter folder in the Preferences.");
            return false;
        }
    }
    return true;
}

bool CompileRun::writeScript(const INISTRUCT& ini, const std::vector<std::string>& args) {
    const std::string ssdir = TrimmedDirectory(ini.szSSDIR);
    const std::string sfdir = TrimmedDirectory(ini.szSFDIR);
    const std::string sadir = TrimmedDirectory(ini.szSADIR);
    const std::string setLines = MakeBatchScript(ssdir, sfdir, sadir, "");
    // Three "SET NAME=value" lines with their line ends, without the rest.
    const std::size_t setLength = setLines.size() - std::strlen("\r\nPause\r\nExit");
    if (setLength > kMaxDirectoryLines) {
        tell("The three Csound folders together are too long for the batch script (" +
             std::to_string(setLength) + " characters; at most " +
             std::to_string(kMaxDirectoryLines) + " fit). Choose shorter folders.");
        return false;
    }
    // Names are quoted in the script only where a blank or a quote needs it,
    // so the line equals the final command line whenever it can.
    const std::string line = QuoteCommandLine(args);
    const std::string all = ssdir + sfdir + sadir + line;
    if (all.find_first_of("\r\n") != std::string::npos) {
        tell("A folder or file name holds a line break, which cannot be written into the "
             "batch script. Rename it, or use the Windows build setting.");
        return false;
    }
    const std::string path = ScriptPath();
    if (path.empty() || !EnsureConfigDirectory()) {
        tell("Cannot write the batch script " + std::string(szScriptName) +
             ": the configuration folder cannot be created (is HOME set?).");
        return false;
    }
    if (int err = WriteBatchScript(path, MakeBatchScript(ssdir, sfdir, sadir, line))) {
        tell("Cannot write the batch script " + path + ": " + std::strerror(err) + ".");
        return false;
    }
    return true;
}

void CompileRun::setEnvironment(const INISTRUCT& ini) {
    putFolder("SADIR", ini.szSADIR);
    putFolder("SSDIR", ini.szSSDIR);
    putFolder("SFDIR", ini.szSFDIR);
}

void CompileRun::Compile(const INISTRUCT& settings) {
    // Csound runs in the piece's folder: relative folders must keep naming
    // what they named from ours.
    INISTRUCT ini = settings;
    std::string notAbsolute;
    const bool bAbsolute = MakeFoldersAbsolute(ini, &notAbsolute);
    const CommandLine line = perf::MakeCommandLine(ini);
    if (line.text == szCmdLineError) {
        MessageBox("All Required Options Are Not Selected!", szCaption, MB_OK);
        return;
    }
    if (!bAbsolute) {
        tell(notAbsolute);
        return;
    }
    if (line.args.empty()) {
        tell(line.fault);
        return;
    }
    if (ini.szCsoundPath[0] == '\0') {
        MessageBox("Csound Executable Is Not Selected!", szCaption, MB_OK);
        return;
    }
    if (line.text.size() > kMaxLine) {
        tell("The Csound command line would be " + std::to_string(line.text.size()) +
             " characters long; at most 255 fit. Use a shorter Csound path or shorter folder "
             "or file names.");
        return;
    }
    if (!checkDirectories(ini))
        return;

    if (ini.nShowCmdLine == 2 && MessageBox(line.text, "CMDLINE", MB_OKCANCEL) == IDCANCEL)
        return;

    const std::vector<std::string>& args = line.args;
    LaunchRequest request;
    request.newConsole = true;
    request.title = szConsoleTitle;
    request.reportEnd = true; // the run ends when Csound (or the script) ends
    request.workDir = RunFolder(ini);
    if (ini.nCSoundVer == 1) {
        if (!writeScript(ini, args))
            return;
        request.args = {ScriptPath()};
    } else {
        setEnvironment(ini);
        request.args = args;
    }

    std::unique_ptr<WatchedProcess> process;
    if (m_starter(request, &process) != 0 || !process) {
        MessageBox("NO PROCESS", "VARO", MB_OK);
        return;
    }
    m_process = std::move(process);
    // The console runs the batch interpreter on the script, else Csound.
    m_program = ini.nCSoundVer == 1 ? BatchInterpreterPath() : args[0];
    m_window.SetRunWatchTimer();
}

// A console given up and where the run went instead, told on the tick after
// the poll that learnt it. The box runs its own event loop, in which further
// ticks go on watching the run, so nothing of it is used afterwards.
bool CompileRun::showNotice() {
    const std::string notice = m_process->TakeNotice();
    if (!notice.empty())
        MessageBox(notice, szCaption, MB_OK | MB_ICONWARNING);
    return !notice.empty();
}

void CompileRun::OnTimer(int idTimer) {
    if (idTimer != IDT_RUNWATCH)
        return;
    if (!m_process) {
        m_window.KillRunWatchTimer();
        return;
    }
    if (showNotice())
        return;
    const unsigned long code = m_process->ExitCode();
    if (code == STILL_ACTIVE)
        return;
    const std::string log = m_process->OutputLog();
    m_window.KillRunWatchTimer();
    m_process.reset();
    m_window.RefreshLists();
    if (code != 0)
        tell(FailedRunText(m_program, code, log));
}
} // namespace csound
