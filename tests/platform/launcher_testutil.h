// Helpers shared by the launcher, batch and compile tests.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testutil {
// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tonsmith-XXXXXX").string();
        if (!mkdtemp(tmpl.data()))
            std::abort();
        m_path = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Sets (or with nullopt removes) an environment variable for one scope.
class EnvGuard {
public:
    EnvGuard(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~EnvGuard() {
        if (m_old)
            setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// The whole file, or what could be read of it (a /proc file may vanish).
inline std::string ReadFile(const std::string& path) {
    std::string data;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            data.append(buf, n);
        std::fclose(f);
    }
    return data;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Polls the condition every 10 ms until it holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// The NUL-separated entries the argvdump program wrote.
inline std::vector<std::string> ReadDump(const std::string& path) {
    const std::string data = ReadFile(path);
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (data[i] == '\0') {
            entries.push_back(data.substr(start, i - start));
            start = i + 1;
        }
    }
    return entries;
}

// Names that a shell would take apart or run; they must arrive as text.
inline const std::vector<std::string>& AwkwardNames() {
    static const std::vector<std::string> names = {
        "two words",      "semi;colon",    "$(touch pwned)", "`touch pwned`", "quote\"inside",
        "Grüße Ørkester", "back\\slash\\", "'single'",       "a&b|c>d",       "tab\there"};
    return names;
}

// The state letter of /proc/PID/stat ('Z' for a zombie), or 0 when gone.
inline char ProcessState(int pid) {
    const std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t paren = stat.rfind(')');
    if (paren == std::string::npos || paren + 2 >= stat.size())
        return 0;
    return stat[paren + 2];
}
} // namespace testutil
