#include "platform/files/configdir.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {
bool absolute(const char* p) {
    return p && p[0] == '/';
}
} // namespace

std::string ConfigDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (absolute(xdg))
        return std::string(xdg) + "/tonsmith";
    const char* home = std::getenv("HOME");
    if (absolute(home))
        return std::string(home) + "/.config/tonsmith";
    return {};
}

bool EnsureConfigDirectory() {
    const std::string dir = ConfigDirectory();
    if (dir.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return std::filesystem::is_directory(dir, ec);
}
