#include "platform/files/trash.h"

#include "platform/files/fileops.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string HomeTrashFolder() {
    // A relative XDG_DATA_HOME is invalid and would put the trash wherever
    // the program happens to run: no trash then.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0])
        return data[0] == '/' ? std::string(data) + "/Trash" : std::string{};
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/Trash";
    return {};
}

namespace {
constexpr std::string_view kInfoSuffix = ".trashinfo";
// Tries per trash: enough for any real clash of names, and a bound.
constexpr int nMaxTries = 1000;

bool IsDirectory(const std::string& szPath, struct stat* st = nullptr) {
    struct stat s {};
    if (::lstat(szPath.c_str(), &s) != 0 || !S_ISDIR(s.st_mode))
        return false;
    if (st)
        *st = s;
    return true;
}

// Makes the folder (and, with bParents, the folders above it) private to
// the user when it is missing.
bool MakeFolder(const std::string& szPath, bool bParents) {
    if (IsDirectory(szPath))
        return true;
    if (bParents) {
        const std::size_t slash = szPath.rfind('/');
        if (slash != std::string::npos && slash > 0 && !MakeFolder(szPath.substr(0, slash), true))
            return false;
    }
    return ::mkdir(szPath.c_str(), 0700) == 0 || (errno == EEXIST && IsDirectory(szPath));
}

bool MakeTrash(const std::string& szTrash, bool bParents) {
    return MakeFolder(szTrash, bParents) && MakeFolder(szTrash + "/files", false) &&
           MakeFolder(szTrash + "/info", false);
}

// The bytes of a path as a trash record stores them: every byte but the
// unreserved ones and '/' as %XX.
std::string PercentEncoded(std::string_view szPath) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : szPath) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
            std::string_view("-_.~/").find(c) != std::string_view::npos) {
            out += c;
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

std::string DeletionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// One try: the record first (its exclusive creation claims the name), then
// the file under the same name. EEXIST when the name is taken.
int TrashAs(const std::string& szPath, const std::string& szTrash, const std::string& szName,
            const std::string& szRecordPath) {
    const std::string szInfo = szTrash + "/info/" + szName + std::string(kInfoSuffix);
    const std::string text = "[Trash Info]\nPath=" + PercentEncoded(szRecordPath) +
                             "\nDeletionDate=" + DeletionDate() + "\n";
    if (const int nError = CreateNewFile(szInfo, text))
        return nError;
    const int nError = RenameNoReplace(szPath, szTrash + "/files/" + szName);
    if (nError != 0)
        ::unlink(szInfo.c_str());
    return nError;
}

// Moves the file into this trash under a free name. szRecordPath is what the
// record says it was: absolute for the home trash, relative to the top of
// its file system for that file system's trash.
bool TrashInto(const std::string& szPath, const std::string& szTrash,
               const std::string& szRecordPath) {
    const std::size_t slash = szPath.rfind('/');
    const std::string_view szName =
        std::string_view(szPath).substr(slash == std::string::npos ? 0 : slash + 1);
    std::size_t nMax = NAME_MAX - kInfoSuffix.size();
    for (int nTry = 1; nTry <= nMaxTries; ++nTry) {
        const int nError =
            TrashAs(szPath, szTrash, TrashRecordName(szName, nTry, nMax), szRecordPath);
        if (nError == 0)
            return true;
        if (nError == ENAMETOOLONG && nMax > 32)
            nMax /= 2; // a file system with a shorter limit
        else if (nError != EEXIST)
            return false;
    }
    return false;
}

// The folder the file lies in, absolute and with links resolved, ending
// in '/'.
std::string RealFolderOf(const std::string& szPath) {
    const std::size_t slash = szPath.rfind('/');
    const std::string szDir = slash == std::string::npos ? "." : szPath.substr(0, slash + 1);
    char resolved[PATH_MAX];
    if (!::realpath(szDir.c_str(), resolved))
        return {};
    std::string out = resolved;
    return out.back() == '/' ? out : out + "/";
}

// The top folder of the file system that holds szDir (absolute, ending in
// '/'): the highest folder above it on the same device.
std::string TopFolderOf(const std::string& szDir, dev_t device) {
    std::string top = szDir;
    while (top.size() > 1) {
        const std::size_t slash = top.rfind('/', top.size() - 2);
        const std::string parent = top.substr(0, slash + 1);
        struct stat st {};
        if (::stat(parent.c_str(), &st) != 0 || st.st_dev != device)
            break;
        top = parent;
    }
    return top;
}

// The trash of another file system: $top/.Trash/$uid when an administrator
// made a shared, sticky .Trash there, else $top/.Trash-$uid.
bool TrashOnItsFileSystem(const std::string& szPath, const std::string& szDir, dev_t device) {
    const std::string top = TopFolderOf(szDir, device);
    const std::string uid = std::to_string(::getuid());
    const std::string szRecordPath =
        szDir.substr(top.size()) + szPath.substr(szPath.rfind('/') + 1);
    struct stat shared {};
    if (IsDirectory(top + ".Trash", &shared) && (shared.st_mode & S_ISVTX) &&
        MakeTrash(top + ".Trash/" + uid, false) &&
        TrashInto(szPath, top + ".Trash/" + uid, szRecordPath))
        return true;
    const std::string own = top + ".Trash-" + uid;
    return MakeTrash(own, false) && TrashInto(szPath, own, szRecordPath);
}

bool MoveToTrash(const std::string& szPath) {
    struct stat file {};
    const std::string trash = HomeTrashFolder();
    const std::string szDir = RealFolderOf(szPath);
    if (trash.empty() || szDir.empty() || ::lstat(szPath.c_str(), &file) != 0 ||
        S_ISDIR(file.st_mode) || !MakeTrash(trash, true))
        return false;
    const std::string szAbsolute = szDir + szPath.substr(szPath.rfind('/') + 1);
    struct stat home {};
    if (::stat(trash.c_str(), &home) == 0 && home.st_dev == file.st_dev)
        return TrashInto(szPath, trash, szAbsolute);
    return TrashOnItsFileSystem(szAbsolute, szDir, file.st_dev);
}
} // namespace

std::string TrashRecordName(std::string_view szName, int nTry, std::size_t nMaxBytes) {
    // The extension stays, so the trashed file still shows as what it is.
    const std::size_t dot = szName.rfind('.');
    const bool bExtension = dot != std::string_view::npos && dot > 0 && szName.size() - dot <= 16;
    const std::string_view ext = bExtension ? szName.substr(dot) : std::string_view{};
    std::string_view stem = szName.substr(0, szName.size() - ext.size());
    const std::string counter = nTry > 1 ? "." + std::to_string(nTry) : std::string{};
    const std::size_t nTail = counter.size() + ext.size();
    if (stem.size() + nTail > nMaxBytes) {
        std::size_t nKeep = nMaxBytes > nTail ? nMaxBytes - nTail : 1;
        // Back to the start of a character: never half of a UTF-8 sequence.
        while (nKeep > 1 && (static_cast<unsigned char>(stem[nKeep]) & 0xC0) == 0x80)
            --nKeep;
        stem = stem.substr(0, nKeep);
    }
    std::string out = std::string(stem) + counter + std::string(ext);
    return out.size() > nMaxBytes ? out.substr(0, nMaxBytes) : out;
}

int TrashOrDeleteFile(const std::string& szPath) {
    if (MoveToTrash(szPath))
        return 0;
    return DeleteFile(szPath);
}
