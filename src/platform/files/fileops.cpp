#include "platform/files/fileops.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// Writes all bytes, retrying short writes and interruptions.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// Writes, flushes and closes; the first error wins.
int FinishFile(int fd, std::string_view bytes) {
    int nError = WriteAll(fd, bytes);
    if (nError == 0 && ::fsync(fd) != 0)
        nError = errno;
    if (::close(fd) != 0 && nError == 0)
        nError = errno;
    return nError;
}

// Makes a rename in the folder durable: until the folder itself is flushed,
// a power loss can bring back the old name, or no name at all.
int SyncFolderOf(const std::string& szPath) {
    const std::size_t slash = szPath.rfind('/');
    const std::string szDir = slash == std::string::npos ? "." : szPath.substr(0, slash + 1);
    const int fd = ::open(szDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int nError = 0;
    // Some file systems cannot flush a folder; nothing more can be done there.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP)
        nError = errno;
    ::close(fd);
    return nError;
}

int RenameAt2NoReplace(const char* szOld, const char* szNew) {
#if defined(SYS_renameat2)
    constexpr unsigned nNoReplace = 1; // RENAME_NOREPLACE
    if (::syscall(SYS_renameat2, AT_FDCWD, szOld, AT_FDCWD, szNew, nNoReplace) == 0)
        return 0;
    return errno;
#else
    (void)szOld;
    (void)szNew;
    return ENOSYS;
#endif
}
} // namespace

int CreateNewFile(const std::string& szPath, std::string_view bytes) {
    const int fd = ::open(szPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    const int nError = FinishFile(fd, bytes);
    if (nError != 0)
        ::unlink(szPath.c_str()); // ours alone: created exclusively just now
    return nError;
}

int ReplaceFileWhole(const std::string& szLinkOrPath, std::string_view bytes, LinkPolicy link) {
    std::string szPath = szLinkOrPath;
    std::error_code ec;
    if (link == LinkPolicy::FollowLink && std::filesystem::is_symlink(szPath, ec)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(szPath, ec);
        if (ec)
            return ec.value();
        szPath = resolved.string();
    }
    struct stat st {};
    const bool bHadFile = ::stat(szPath.c_str(), &st) == 0;
    std::string szTemp = szPath + ".XXXXXX";
    const int fd = ::mkostemp(szTemp.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    // The new file keeps the old one's permissions.
    ::fchmod(fd, bHadFile ? st.st_mode & 07777 : 0644);
    int nError = FinishFile(fd, bytes);
    if (nError == 0 && ::rename(szTemp.c_str(), szPath.c_str()) != 0)
        nError = errno;
    if (nError != 0) {
        ::unlink(szTemp.c_str());
        return nError;
    }
    return SyncFolderOf(szPath);
}

int RenameNoReplace(const std::string& szOld, const std::string& szNew) {
    const int nError = RenameAt2NoReplace(szOld.c_str(), szNew.c_str());
    if (nError != ENOSYS && nError != EINVAL)
        return nError;
    // Without renameat2 (or on a file system that lacks it): a hard link
    // fails when the target exists, so nothing is ever replaced.
    if (::link(szOld.c_str(), szNew.c_str()) != 0)
        return errno;
    if (::unlink(szOld.c_str()) != 0) {
        const int nUnlinkError = errno;
        ::unlink(szNew.c_str());
        return nUnlinkError;
    }
    return 0;
}

int DeleteFile(const std::string& szPath) {
    return ::unlink(szPath.c_str()) == 0 ? 0 : errno;
}

bool PathExists(const std::string& szPath) {
    struct stat st {};
    return ::lstat(szPath.c_str(), &st) == 0;
}

std::string FileErrorText(const std::string& szWhat, const std::string& szPath, int nError) {
    return szWhat + " " + szPath + ": " + std::strerror(nError);
}
