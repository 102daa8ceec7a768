// The main of the test programs whose tests make real windows: a Qt application on the
// offscreen platform (no display needed) for the whole run, then the tests. Another platform
// can be chosen through QT_QPA_PLATFORM to watch the tests; sound is off.
#include <QApplication>

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("MORVEL_NO_SOUND", "1", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
