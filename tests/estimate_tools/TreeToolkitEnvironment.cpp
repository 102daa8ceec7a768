// The subject tree and the document windows are real windows, so the test program needs the
// toolkit's application object: made once before the first test, on the offscreen platform
// unless the caller chose another one, and without sound.
#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class CToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("MORVEL_NO_SOUND", "1", 0);
        static int s_argc = 1;
        static char s_name[] = "test_estimate_tools";
        static char* s_argv[] = {s_name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            m_pApp = new QApplication(s_argc, s_argv);
    }
    void TearDown() override
    {
        delete m_pApp;
        m_pApp = nullptr;
    }

private:
    QApplication* m_pApp = nullptr;
};

[[maybe_unused]] ::testing::Environment* const s_pToolkit =
    ::testing::AddGlobalTestEnvironment(new CToolkitEnvironment);

} // namespace
