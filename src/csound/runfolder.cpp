#include "csound/runfolder.h"

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace csound {
namespace {
std::string currentFolder() {
    char buf[4096];
    return getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

// The text as an absolute path: relative text gets our folder in front.
std::string absolute(const char* szPath, const std::string& here) {
    if (szPath[0] == '\0' || szPath[0] == '/' || here.empty())
        return szPath;
    return (here == "/" ? here : here + "/") + szPath;
}
} // namespace

std::string RunFolder(const INISTRUCT& ini) {
    const std::string dir = absolute(ini.szOrcDir, currentFolder());
    struct stat st {};
    if (dir.empty() || ::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    return dir;
}

bool MakeFoldersAbsolute(INISTRUCT& ini, std::string* fault) {
    struct Field {
        char* szText;
        std::size_t nSize; // 0: left as it is
        const char* szWhat;
    };
    const Field fields[] = {
        {ini.szOrcDir, sizeof ini.szOrcDir, "orchestra folder"},
        {ini.szScoreDir, sizeof ini.szScoreDir, "score folder"},
        {ini.szSSDIR, sizeof ini.szSSDIR, "sound source folder"},
        {ini.szSFDIR, sizeof ini.szSFDIR, "sound output folder"},
        {ini.szSADIR, sizeof ini.szSADIR, "analysis folder"},
        {ini.szCurSoundFile, sizeof ini.szCurSoundFile, "sound file"},
        // A bare program name is looked up on PATH, not in a folder.
        {ini.szCsoundPath, std::strchr(ini.szCsoundPath, '/') ? sizeof ini.szCsoundPath : 0,
         "Csound program"},
    };
    const std::string here = currentFolder();
    for (const Field& f : fields) {
        const std::string path = absolute(f.szText, here);
        if (f.nSize != 0 && path.size() >= f.nSize) {
            *fault = std::string("The ") + f.szWhat + " " + f.szText + " is relative to " + here +
                     "; taken from there it is " + std::to_string(path.size()) +
                     " characters long, and at most " + std::to_string(f.nSize - 1) +
                     " fit. Give it by its full path.";
            return false;
        }
    }
    for (const Field& f : fields) {
        const std::string path = absolute(f.szText, here);
        if (f.nSize != 0)
            std::memcpy(f.szText, path.c_str(), path.size() + 1);
    }
    return true;
}
} // namespace csound
