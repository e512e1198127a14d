#include "csound/batchscript.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    std::string tmp = szPath + ".XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0)
        return errno;
    int err = 0;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == 0 && fchmod(fd, 0644) != 0)
        err = errno;
    if (err == 0 && fsync(fd) != 0)
        err = errno;
    if (close(fd) != 0 && err == 0)
        err = errno;
    // The script is our own file, so replacing the old one is intended.
    if (err == 0 && std::rename(tmp.c_str(), szPath.c_str()) != 0)
        err = errno;
    if (err != 0)
        unlink(tmp.c_str());
    return err;
}
} // namespace csound
