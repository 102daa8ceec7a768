#include "platform/base/Cp932Text.h"

#include <gtest/gtest.h>

TEST(ShiftJisTextTest, TrimBlanksRemovesOnlyHalfWidthBlanksAtTheEnds)
{
    EXPECT_EQ(CString("a b"), TrimBlanks("  a b  "));
    const CString leadingFullWidth = "\x81\x40"
                                     "x ";
    EXPECT_EQ(CString("\x81\x40x"), TrimBlanks(leadingFullWidth));
    EXPECT_EQ(CString(), TrimBlanks("    "));
    EXPECT_EQ(CString(), TrimBlanks(""));
    EXPECT_EQ("単位"_sj, TrimBlanks(" 単位 "_sj));
}
