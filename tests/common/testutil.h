// Helpers shared by the tests: temporary folders, environment guards, whole
// files, started programs, our children in /proc and recorded message boxes.
#pragma once

#include "platform/messagebox.h"

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace testutil {
// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() : m_path((std::filesystem::temp_directory_path() / "tonsmith-XXXXXX").string()) {
        if (!mkdtemp(m_path.data()))
            std::abort();
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
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~EnvGuard() { m_old ? setenv(m_name.c_str(), m_old->c_str(), 1) : unsetenv(m_name.c_str()); }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// The whole file, or what could be read of it (a /proc file may vanish).
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Fills a fixed text field; the test fails when the text would not fit.
template <std::size_t N> void Set(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N);
    std::memcpy(field, text.c_str(), text.size() + 1);
}

// Polls the condition every 10 ms until it holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The NUL-terminated entries the argvdump program wrote.
inline std::vector<std::string> ReadDump(const std::string& path) {
    std::vector<std::string> entries;
    std::istringstream in(ReadFile(path));
    for (std::string e; std::getline(in, e, '\0');)
        entries.push_back(e);
    return entries;
}

// Names that a shell would take apart or run; they must arrive as text.
inline const std::vector<std::string>& AwkwardNames() {
    static const std::vector<std::string> names = {
        "two words",      "semi;colon",    "$(touch pwned)", "`touch pwned`", "quote\"inside",
        "Grüße Ørkester", "back\\slash\\", "'single'",       "a&b|c>d",       "tab\there"};
    return names;
}

// Our child processes right now; only those in that state when one is given.
inline std::vector<int> Children(char state = 0) {
    std::vector<int> pids;
    for (const auto& e : std::filesystem::directory_iterator("/proc")) {
        if (!std::isdigit(static_cast<unsigned char>(e.path().filename().string()[0])))
            continue;
        const std::string stat = ReadFile(e.path().string() + "/stat");
        const std::size_t paren = stat.rfind(')');
        int ppid = 0;
        char s = 0;
        if (paren != std::string::npos &&
            std::sscanf(stat.c_str() + paren + 2, "%c %d", &s, &ppid) == 2 && ppid == getpid() &&
            (state == 0 || s == state))
            pids.push_back(std::stoi(e.path().filename()));
    }
    return pids;
}

// The child that was not there before (0 when none is).
inline int NewChild(const std::vector<int>& before) {
    for (int pid : Children())
        if (std::find(before.begin(), before.end(), pid) == before.end())
            return pid;
    return 0;
}

struct Outcome {
    int status = -1;
    std::string output; // standard output and error together
};

// Runs a program (no shell) with no input and waits for it.
inline Outcome RunProgram(const std::vector<std::string>& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setStandardInputFile(QProcess::nullDevice());
    QStringList rest;
    for (std::size_t i = 1; i < args.size(); ++i)
        rest << QString::fromStdString(args[i]);
    p.start(QString::fromStdString(args[0]), rest);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return {-1, p.readAll().toStdString()};
    return {p.exitCode(), p.readAll().toStdString()};
}

struct ShownBox {
    std::string text, caption;
    unsigned type;
};

// Records message boxes, whole and as "caption: text", and answers them from
// a queue; with the queue empty, with the given answer, or by default No to
// a yes/no question and OK to anything else.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::optional<int> answer = std::nullopt) {
        m_old = SetMessageBoxHandler(
            [this, answer](const std::string& t, const std::string& c, unsigned type) -> int {
                shown.push_back({t, c, type});
                boxes.push_back(c + ": " + t);
                types.push_back(type);
                if (answers.empty())
                    return answer ? *answer : (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
                const int a = answers.front();
                answers.pop_front();
                return a;
            });
    }
    ~BoxAnswerer() { SetMessageBoxHandler(std::move(m_old)); }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    bool has(const std::string& part, std::size_t i) const {
        return i < boxes.size() && boxes[i].find(part) != std::string::npos;
    }
    std::vector<ShownBox> shown;
    std::vector<std::string> boxes;
    std::vector<unsigned> types;
    std::deque<int> answers;

private:
    MessageBoxHandler m_old;
};

inline void EnsureApp() {
    static int argc = 1;
    static char arg0[] = "test";
    static char* argv[] = {arg0, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv);
}
} // namespace testutil

// Skips a test when a service is missing, or fails it under the test command.
#define REQUIRE_SERVICE(available, what)                                                           \
    do {                                                                                           \
        if (!(available)) {                                                                        \
            if (const char* s = std::getenv("TONSMITH_SERVICES"); s && std::string(s) == "1")      \
                FAIL() << "TONSMITH_SERVICES=1 but " << what << " is missing";                     \
            GTEST_SKIP() << what << " is missing; run under scripts/with-services.sh";             \
        }                                                                                          \
    } while (0)
