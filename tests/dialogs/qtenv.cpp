// One QApplication for all widget tests of this executable.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        char tmpl[] = "/tmp/tonsmith-runtime.XXXXXX";
        if (!std::getenv("XDG_RUNTIME_DIR") && ::mkdtemp(tmpl))
            ::setenv("XDG_RUNTIME_DIR", tmpl, 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        m_app = new QApplication(m_argc, m_argv);
    }
    void TearDown() override { delete m_app; }

private:
    int m_argc = 1;
    char m_name[16] = "test_dialogs";
    char* m_argv[2] = {m_name, nullptr};
    QApplication* m_app = nullptr;
};

[[maybe_unused]] auto* const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
} // namespace
