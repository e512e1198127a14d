#include "platform/process/endreport.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr unsigned long kStillActive = 259;
constexpr char kPrefix[] = "tonsmith-run.";

std::string RuntimeFolder() {
    const char* rt = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (rt && rt[0] == '/' && stat(rt, &st) == 0 && S_ISDIR(st.st_mode))
        return rt;
    const char* tmp = std::getenv("TMPDIR");
    return tmp && tmp[0] == '/' ? tmp : "/tmp";
}

// FIFOs left by a Tonsmith that died before its helper started: their names
// carry the pid of a process that is gone.
void RemoveStale(const std::string& dir) {
    DIR* d = opendir(dir.c_str());
    if (!d)
        return;
    const std::string prefix = kPrefix;
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        const std::string path = dir + "/" + name;
        struct stat st {};
        if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH &&
            lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode) && st.st_uid == getuid())
            unlink(path.c_str());
    }
    closedir(d);
}
} // namespace

std::unique_ptr<EndReport> EndReport::Create(int* error) {
    static std::atomic<unsigned> counter{0};
    const std::string dir = RuntimeFolder();
    RemoveStale(dir);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path =
            dir + "/" + kPrefix + std::to_string(getpid()) + "." + std::to_string(counter++);
        if (mkfifo(path.c_str(), 0600) != 0) {
            if (errno == EEXIST)
                continue;
            *error = errno;
            return nullptr;
        }
        // The reading end opens at once without a writer; we never block on it.
        const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            *error = errno;
            unlink(path.c_str());
            return nullptr;
        }
        *error = 0;
        return std::unique_ptr<EndReport>(new EndReport(path, fd));
    }
    *error = EEXIST;
    return nullptr;
}

EndReport::~EndReport() {
    Forget();
    close(m_fd);
}

void EndReport::Forget() {
    if (m_named)
        unlink(m_path.c_str());
    m_named = false;
}

unsigned long EndReport::Poll() {
    if (m_exit != kStillActive)
        return m_exit;
    char buf[256];
    for (;;) {
        const ssize_t n = read(m_fd, buf, sizeof buf);
        if (n > 0) {
            m_pending.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // n == 0: no writer. Before the helper started that means "not yet";
        // after it, the helper is gone.
        const bool noWriter = n == 0;
        for (std::size_t eol; (eol = m_pending.find('\n')) != std::string::npos;) {
            const std::string line = m_pending.substr(0, eol);
            m_pending.erase(0, eol + 1);
            if (line == "start") {
                m_started = true;
                Forget();
            } else if (line.compare(0, 5, "exit ") == 0) {
                m_exit = std::strtoul(line.c_str() + 5, nullptr, 10);
            }
        }
        if (m_exit != kStillActive)
            return m_exit;
        if (noWriter && m_started)
            return m_exit = 255; // the helper ended without saying how
        return kStillActive;
    }
}
