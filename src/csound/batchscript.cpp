#include "csound/batchscript.h"

#include "platform/files/fileops.h"

namespace csound {
std::string TrimmedDirectory(const char* szDir) {
    std::string dir = szDir ? szDir : "";
    if (!dir.empty() && dir.back() == '/')
        dir.pop_back();
    return dir;
}

std::string MakeBatchScript(const std::string& szSSDIR, const std::string& szSFDIR,
                            const std::string& szSADIR, const std::string& szCommandLine) {
    const char* crlf = "\r\n";
    std::string s;
    s += "SET SSDIR=" + szSSDIR + crlf;
    s += "SET SFDIR=" + szSFDIR + crlf;
    s += "SET SADIR=" + szSADIR + crlf;
    s += szCommandLine + crlf;
    s += std::string("Pause") + crlf + "Exit";
    return s;
}

int WriteBatchScript(const std::string& szPath, const std::string& bytes) {
    // The script is our own file, so replacing the old one is intended.
    return ReplaceFileWhole(szPath, bytes);
}
} // namespace csound
