#include "platform/files/regularfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char* KindOf(mode_t mode) {
    if (S_ISFIFO(mode))
        return "it is a named pipe";
    if (S_ISSOCK(mode))
        return "it is a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device";
    if (S_ISDIR(mode))
        return "it is a folder";
    return S_ISREG(mode) ? "" : "it is not a regular file";
}
} // namespace

std::string NotRegularFileReason(const std::string& szPath) {
    struct stat st {};
    if (::stat(szPath.c_str(), &st) != 0)
        return std::strerror(errno);
    return KindOf(st.st_mode);
}

int OpenRegularFile(const std::string& szPath) {
    struct stat st {};
    if (::stat(szPath.c_str(), &st) != 0)
        return -1;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return -1;
    }
    const int fd = ::open(szPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    // Reads of a regular file never wait anyway; a plain descriptor is what
    // the callers expect.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}
