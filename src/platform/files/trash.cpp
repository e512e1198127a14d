#include "platform/files/trash.h"

#include "platform/files/fileops.h"

#include <QFile>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

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
// Qt trashes into the home trash only when that folder already exists or its
// parent does; otherwise it falls back to "files" and "info" folders in the
// current directory. So the home trash is made here first, and without one
// Qt is not asked at all.
bool EnsureHomeTrash() {
    const std::string trash = HomeTrashFolder();
    if (trash.empty())
        return false;
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(trash, ec)) {
        fs::create_directories(trash, ec);
        fs::permissions(trash, fs::perms::owner_all, ec); // the trash is private
    }
    return fs::is_directory(trash, ec);
}
} // namespace

int TrashOrDeleteFile(const std::string& szPath) {
    // Qt trashes a file from another file system into that file system's own
    // trash, or fails when it has none the user may write: then it is deleted.
    if (EnsureHomeTrash() && QFile::moveToTrash(QFile::decodeName(szPath.c_str())))
        return 0;
    return DeleteFile(szPath);
}
