#include "mainwindow/infoargs.h"

#include "csound/batchscript.h"
#include "platform/files/configdir.h"
#include "platform/process/launcher.h"
#include "settings/firststart.h"
#include "settings/ini.h"

#include <cstring>
#include <string>

namespace {
void PrintHelp(std::FILE* out) {
    const std::string dir = ConfigDirectory();
    const std::string batch = BatchInterpreterPath();
    std::fprintf(out,
                 "Usage: tonsmith [--help | --version]\n"
                 "\n"
                 "A desktop front end for Csound. It lists the orchestras, scores, sound files\n"
                 "and analysis files of five working folders, renders an orchestra and a score\n"
                 "with csound in a terminal, plays WAV files and runs csound's analysis\n"
                 "utilities. Any other argument is ignored.\n"
                 "\n"
                 "  -h, --help     show this help and exit\n"
                 "      --version  show the version and exit\n"
                 "\n"
                 "Files:\n");
    if (dir.empty()) {
        std::fprintf(out, "  no settings folder: neither XDG_CONFIG_HOME nor HOME is an absolute "
                          "path\n");
    } else {
        std::fprintf(out, "  %s  the settings\n", IniFilePath().c_str());
        std::fprintf(out, "  %s/%s  the batch script of the last render\n", dir.c_str(),
                     csound::szScriptName);
    }
    std::fprintf(out, "  %s  runs the batch script\n",
                 batch.empty() ? "tonsmith-batch (not found)" : batch.c_str());
    const std::string demo = DemoSourceFolder();
    std::fprintf(out, "  %s  copied to %s when there are no settings yet\n",
                 demo.empty() ? "the demo workspace (not found)" : demo.c_str(),
                 DemoWorkspaceFolder().c_str());
    std::fprintf(out, "\nSee tonsmith(1) for the environment variables it honours.\n");
}
} // namespace

std::optional<int> AnswerInfoArguments(int argc, const char* const* argv, std::FILE* out) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintHelp(out);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fprintf(out, "tonsmith %s\n", TONSMITH_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}
