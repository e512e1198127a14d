#include "settings/firststart.h"

#include "platform/files/configdir.h"
#include "platform/files/fileops.h"
#include "platform/process/spawn.h"
#include "settings/ini.h"
#include "settings/inifile.h"
#include "settings/settingstable.h"

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr const char* kFolders[] = {"orchestras", "scores", "sounds", "output", "analysis"};

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::string Absolute(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

// Copies every file of the demo that the workspace lacks; "" or what failed.
std::string CopyMissingFiles(const std::string& from, const std::string& to) {
    std::error_code ec;
    for (const char* sub : kFolders)
        if (fs::create_directories(to + "/" + sub, ec); ec)
            return "cannot create " + to + "/" + sub + ": " + ec.message();
    for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::string rel = fs::relative(it->path(), from, ec).string();
        const std::string dest = to + "/" + rel;
        if (PathExists(dest))
            continue; // the user's own copy stays as it is
        fs::create_directories(fs::path(dest).parent_path(), ec);
        const auto bytes = ReadWholeFile(it->path().string());
        if (!bytes)
            return "cannot read " + it->path().string();
        if (const int err = CreateNewFile(dest, *bytes); err != 0 && err != EEXIST)
            return FileErrorText("cannot create", dest, err);
    }
    return ec ? "cannot read " + from + ": " + ec.message() : std::string();
}

// Copies text into a settings field when it fits.
bool Fill(char* field, std::size_t size, const std::string& text) {
    if (text.size() >= size)
        return false;
    std::memcpy(field, text.c_str(), text.size() + 1);
    return true;
}
} // namespace

std::string DemoSourceFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::string installed = (exe.parent_path().parent_path() / "share/tonsmith/demo");
        if (IsFolder(installed))
            return installed;
    }
    return IsFolder(TONSMITH_DEMO_SOURCE_PATH) ? std::string(TONSMITH_DEMO_SOURCE_PATH)
                                               : std::string();
}

std::string DemoWorkspaceFolder() {
    std::string data = Absolute("XDG_DATA_HOME");
    if (data.empty()) {
        const std::string home = Absolute("HOME");
        if (home.empty())
            return {};
        data = home + "/.local/share";
    }
    return data + "/tonsmith/demo";
}

std::string MakeFirstStartWorkspace() {
    const std::string iniPath = IniFilePath();
    if (iniPath.empty() || PathExists(iniPath))
        return {};
    const std::string from = DemoSourceFolder();
    const std::string demo = DemoWorkspaceFolder();
    if (from.empty())
        return "the demo files are not installed.";
    if (demo.empty())
        return "neither XDG_DATA_HOME nor HOME is an absolute path.";
    if (std::string why = CopyMissingFiles(from, demo); !why.empty())
        return why + ".";

    INISTRUCT ini{};
    char* const dirs[] = {ini.szOrcDir, ini.szScoreDir, ini.szSSDIR, ini.szSFDIR, ini.szSADIR};
    const char* const subs[] = {"orchestras", "scores", "sounds", "output", "analysis"};
    for (std::size_t i = 0; i < 5; ++i)
        if (!Fill(dirs[i], i == 3 ? sizeof ini.szSFDIR : sizeof ini.szOrcDir,
                  demo + "/" + subs[i] + "/"))
            return "the folder " + demo + " is too long for a folder setting.";
    ini.nCSoundVer = 2; // csound itself, started directly
    // Without a csound on PATH none is chosen, and Compile says so.
    Fill(ini.szCsoundPath, sizeof ini.szCsoundPath, FindProgram("csound"));
    const std::string text =
        IniTextOfFields(ini, {offsetof(INISTRUCT, szOrcDir), offsetof(INISTRUCT, szScoreDir),
                              offsetof(INISTRUCT, szSFDIR), offsetof(INISTRUCT, szSSDIR),
                              offsetof(INISTRUCT, szSADIR), offsetof(INISTRUCT, nCSoundVer),
                              offsetof(INISTRUCT, szCsoundPath)});
    if (!EnsureConfigDirectory())
        return "cannot create the settings folder " + ConfigDirectory() + ".";
    // Made only when still missing: a tk3.ini that appeared meanwhile wins.
    if (const int err = CreateNewFile(iniPath, text); err != 0 && err != EEXIST)
        return FileErrorText("cannot write", iniPath, err) + ".";
    return {};
}
