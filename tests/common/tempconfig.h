// Points the configuration folder at a fresh temporary folder for one test,
// so no test ever touches the user's real settings.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

class TempConfig {
public:
    TempConfig() {
        char tmpl[] = "/tmp/tonsmith-test.XXXXXX";
        root_ = ::mkdtemp(tmpl);
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            saved_ = old, hadSaved_ = true;
        ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    }
    ~TempConfig() {
        if (hadSaved_)
            ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempConfig(const TempConfig&) = delete;
    TempConfig& operator=(const TempConfig&) = delete;

    std::string root() const { return root_; }
    std::string dir() const { return root_ + "/tonsmith"; }
    std::string ini() const { return dir() + "/tk3.ini"; }

    void writeIni(const std::string& text) const {
        std::filesystem::create_directories(dir());
        std::ofstream(ini(), std::ios::binary) << text;
    }
    std::string readIni() const {
        std::ifstream in(ini(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::string root_;
    std::string saved_;
    bool hadSaved_ = false;
};
