// Points the configuration folder and the data folder (with the trash) at a
// fresh temporary folder for one test, so no test ever touches the user's
// real settings or trash.
#pragma once

#include "common/testutil.h"

class TempConfig {
public:
    std::string root() const { return root_.path(); }
    std::string dir() const { return root_ / "tonsmith"; }
    std::string ini() const { return dir() + "/tk3.ini"; }

    void writeIni(const std::string& text) const {
        std::filesystem::create_directories(dir());
        testutil::WriteFile(ini(), text);
    }
    std::string readIni() const { return testutil::ReadFile(ini()); }

private:
    testutil::TempDir root_;
    testutil::EnvGuard env_{"XDG_CONFIG_HOME", root_.path()};
    testutil::EnvGuard data_{"XDG_DATA_HOME", root_ / "data"};
};
