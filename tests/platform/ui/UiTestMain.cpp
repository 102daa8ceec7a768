// The test program of the window layer: a Qt application on the offscreen platform (no
// display needed) for the whole run, then the tests.
#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The offscreen platform unless the caller chose another one (to watch the tests).
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MORVEL_NO_SOUND", "1", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
