// The main of the test programs whose tests make real windows: a Qt application on the
// offscreen platform (no display needed) for the whole run, then the tests. Another platform
// can be chosen through QT_QPA_PLATFORM to watch the tests; sound is off. The machine's
// printers are hidden whatever the environment says: a test that wants printers sets up
// its own (tests/support/TestPrinterSystem.h), so that no test depends on the printers a
// machine has or on a scheduler that comes and goes during the run.
#include "tests/support/TestSupport.h"

#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

// The sanitizers' leak check finds the thread-local blocks of libraries loaded at run time
// (Qt's plugins) by a guess at the C library's layout, which a block that happens to start
// 16 bytes into a page defeats (a known fault of the sanitizer runtime): it then reads far
// outside the block and dies after every test has passed. Those blocks are left out of its
// search; leaks are still found everywhere else.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MORVEL_NO_SOUND", "1", 0);
    setenv("MORVEL_PRINTER", "pdf", 1);
    ::testing::InitGoogleTest(&argc, argv);
    KeepTheWorkingFolderOfEveryTest();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
