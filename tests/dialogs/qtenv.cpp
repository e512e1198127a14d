// One QApplication for all widget tests of this executable.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!std::getenv("XDG_RUNTIME_DIR")) {
            char tmpl[] = "/tmp/tonsmith-runtime.XXXXXX";
            if (const char* dir = ::mkdtemp(tmpl))
                ::setenv("XDG_RUNTIME_DIR", dir, 1);
        }
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app_ = new QApplication(argc_, argv_);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    int argc_ = 1;
    char name_[16] = "test_dialogs";
    char* argv_[2] = {name_, nullptr};
    QApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
} // namespace
