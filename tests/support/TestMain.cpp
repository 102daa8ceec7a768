#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    KeepTheWorkingFolderOfEveryTest();
    return RUN_ALL_TESTS();
}
