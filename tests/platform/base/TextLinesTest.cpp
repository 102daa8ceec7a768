#include "platform/base/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> Lines(std::string_view data, size_t nMaxLine = std::string_view::npos)
{
    std::vector<std::string> lines;
    for (std::string_view line : SplitLines(data, nMaxLine))
        lines.emplace_back(line);
    return lines;
}

using Texts = std::vector<std::string>;

} // namespace

TEST(TextLinesTest, CrLfAndLfEndLinesAndALoneCrStaysInItsLine)
{
    EXPECT_EQ(Lines("a\r\nb\nc"), (Texts{"a", "b", "c"}));
    EXPECT_EQ(Lines("a\rb\r\n"), (Texts{"a\rb"}));
    EXPECT_EQ(Lines("\n\r\n"), (Texts{"", ""}));
    EXPECT_EQ(Lines(""), Texts{});
}

TEST(TextLinesTest, ALongLineComesInPiecesThatNeverSplitADoubleByteCharacter)
{
    // "ab" then a two-byte character over the limit of three: it moves whole to the next piece.
    EXPECT_EQ(Lines("ab\x82\xa0xy\r\nz", 3), (Texts{"ab", "\x82\xa0x", "y", "z"}));
    EXPECT_EQ(CutAtCharacter("ab\x82\xa0", 3), 2u);
    EXPECT_EQ(CutAtCharacter("ab\x82\xa0", 4), 4u);
    // A piece is never empty, even where one character is longer than the limit.
    EXPECT_EQ(Lines("\x82\xa0", 1), (Texts{"\x82", "\xa0"}));
}
