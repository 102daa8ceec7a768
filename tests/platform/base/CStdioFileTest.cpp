#include "platform/base/CStdioFile.h"

#include "platform/base/Cp932.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> ReadLines(const TempDir& dir, const std::string& content, UINT extraFlags = 0)
{
    WriteNativeFile(dir.NativeFile("T.TXT"), std::vector<uint8_t>(content.begin(), content.end()));
    CStdioFile file(dir.Folder() + "T.TXT", CFile::modeRead | CFile::shareDenyNone | extraFlags);
    std::vector<std::string> lines;
    CString line;
    while (file.ReadString(line))
        lines.push_back(line.str());
    // The end stays the end.
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
    return lines;
}

std::string FileText(const TempDir& dir, const std::string& name)
{
    const std::vector<uint8_t> bytes = ReadNativeFile(dir.NativeFile(name));
    return std::string(bytes.begin(), bytes.end());
}

using Lines = std::vector<std::string>;

} // namespace

TEST(StdioFileRead, LinesEndAtCrLfOrLf)
{
    TempDir dir;
    EXPECT_EQ(ReadLines(dir, "one\r\ntwo\nthree"), (Lines{"one", "two", "three"}));
    EXPECT_EQ(ReadLines(dir, "a\r\n\r\n\nb\r\n"), (Lines{"a", "", "", "b"}));
    EXPECT_EQ(ReadLines(dir, ""), Lines{});
    EXPECT_EQ(ReadLines(dir, "\n"), (Lines{""}));
    // A CR not followed by LF is text, as in the Windows text mode.
    EXPECT_EQ(ReadLines(dir, "a\rb\r\nc\r"), (Lines{"a\rb", "c\r"}));
}

TEST(StdioFileRead, DoubleByteCharactersWithSeparatorLikeTrailBytesStayWhole)
{
    TempDir dir;
    // "表,ソ" + CRLF + "計": trail bytes 0x5C and 0x76 are no line ends or separators.
    const std::string text = "\x95\x5C,\x83\x5C\r\n\x8C\x76";
    EXPECT_EQ(ReadLines(dir, text), (Lines{"\x95\x5C,\x83\x5C", "\x8C\x76"}));
    // A damaged lead byte right before the line end does not swallow it.
    EXPECT_EQ(ReadLines(dir, "x\x95\nnext"), (Lines{"x\x95", "next"}));
}

TEST(StdioFileRead, CtrlZEndsATextFileButNotABinaryOne)
{
    TempDir dir;
    EXPECT_EQ(ReadLines(dir, "data\r\n\x1A"
                             "garbage\r\n"),
              (Lines{"data"}));
    EXPECT_EQ(ReadLines(dir, "ab\x1A"
                             "cd\n"),
              (Lines{"ab"}));
    EXPECT_EQ(ReadLines(dir,
                        "ab\x1A"
                        "cd\n",
                        CFile::typeBinary),
              (Lines{"ab\x1A"
                     "cd"}));
}

TEST(StdioFileRead, LongLinesComeInPiecesOfAtMost65534Bytes)
{
    TempDir dir;
    const std::string exact(65534, 'e');
    // Exactly the limit: one line, no empty piece after it.
    EXPECT_EQ(ReadLines(dir, exact + "\r\nnext\r\n"), (Lines{exact, "next"}));
    EXPECT_EQ(ReadLines(dir, exact + "\nnext"), (Lines{exact, "next"}));
    // One byte more, and a line of 70000 bytes.
    EXPECT_EQ(ReadLines(dir, exact + "f\r\n"), (Lines{exact, "f"}));
    const std::string big(70000, 'b');
    const Lines pieces = ReadLines(dir, big + "\r\nz");
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].size(), 65534u);
    EXPECT_EQ(pieces[1].size(), 70000u - 65534u);
    EXPECT_EQ(pieces[2], "z");
    // A lone CR right at the limit opens the next piece.
    EXPECT_EQ(ReadLines(dir, exact + "\rX\n"), (Lines{exact, "\rX"}));
}

TEST(StdioFileRead, APieceNeverEndsInsideADoubleByteCharacter)
{
    TempDir dir;
    // 65533 single bytes, then "計": the character would straddle the limit.
    const std::string head(65533, 'a');
    const Lines pieces = ReadLines(dir, head + "\x8C\x76" + "tail\r\n");
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], head);
    EXPECT_EQ(pieces[1], "\x8C\x76tail");
    // 65532 single bytes and "計" fit exactly.
    const std::string shorter(65532, 'a');
    EXPECT_EQ(ReadLines(dir, shorter + "\x8C\x76\r\n"), (Lines{shorter + "\x8C\x76"}));
}

TEST(StdioFileWrite, TextModeWritesCrLfAndBinaryModeDoesNot)
{
    TempDir dir;
    {
        CStdioFile file(dir.Folder() + "OUT.CSV", CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        EXPECT_TRUE(file.IsTextMode());
        file.WriteString("a,b\n");
        file.WriteString(CString::FromUtf8("表,ソ\n\n"));
        file.WriteString("no end");
        file.Close();
    }
    EXPECT_EQ(FileText(dir, "OUT.CSV"), "a,b\r\n\x95\x5C,\x83\x5C\r\n\r\nno end");
    {
        CStdioFile file(dir.Folder() + "RAW.TXT", CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString("a\nb\n");
        file.Close();
    }
    EXPECT_EQ(FileText(dir, "RAW.TXT"), "a\nb\n");
}

TEST(StdioFileWrite, LinesWrittenReadBackTheSame)
{
    TempDir dir;
    const Lines lines = {"", CString::FromUtf8("直接仮設工事,式,1").str(), std::string(70000, 'w')};
    {
        CStdioFile file(dir.Folder() + "R.TXT", CFile::modeCreate | CFile::modeWrite);
        for (const std::string& l : lines)
            file.WriteString((l + "\n").c_str());
        file.Close();
    }
    CStdioFile file(dir.Folder() + "R.TXT", CFile::modeRead);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.str(), lines[1]);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.GetLength(), 65534);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.GetLength(), 70000 - 65534);
    EXPECT_FALSE(file.ReadString(line));
    // Going back to the start reads again.
    file.SeekToBegin();
    EXPECT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "");
}

TEST(StdioFileOpen, AMissingFileFailsWithFileNotFound)
{
    TempDir dir;
    CStdioFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(dir.Folder() + "NONE.CSV", CFile::modeRead | CFile::typeText, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    CString line;
    EXPECT_THROW(file.ReadString(line), CFileException);
}
