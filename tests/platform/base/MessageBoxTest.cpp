#include "platform/base/MessageBox.h"
#include "platform/base/CException.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Puts the built-in handler in place for one test and the previous handler back after.
class DefaultMessageBox : public ::testing::Test {
protected:
    void SetUp() override { m_previous = SetMessageBoxHandler(nullptr); }
    void TearDown() override { SetMessageBoxHandler(m_previous); }

private:
    MessageBoxHandler m_previous;
};

} // namespace

TEST_F(DefaultMessageBox, WritesTheTextAsUtf8AndTakesTheFirstButton)
{
    testing::internal::CaptureStderr();
    const int answer = AfxMessageBox("単位ﾌｧｲﾙがないか、壊れています。"_sj, MB_ICONEXCLAMATION);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDOK);
    EXPECT_NE(written.find("単位ﾌｧｲﾙがないか、壊れています。"), std::string::npos);

    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox("?", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("?", MB_YESNOCANCEL), IDYES);
    EXPECT_EQ(AfxMessageBox("?", MB_OKCANCEL), IDOK);
    EXPECT_EQ(AfxMessageBox(nullptr), IDOK);
    testing::internal::GetCapturedStderr();
}

TEST_F(DefaultMessageBox, AnInstalledHandlerAnswersUntilReplaced)
{
    CString seenText;
    UINT seenType = 0;
    MessageBoxHandler before = SetMessageBoxHandler([&](const CString& text, UINT type, UINT) {
        seenText = text;
        seenType = type;
        return IDNO;
    });
    EXPECT_EQ(AfxMessageBox("計"_sj, MB_YESNO), IDNO);
    EXPECT_EQ(seenText, "計"_sj);
    EXPECT_EQ(seenType, MB_YESNO);
    MessageBoxHandler mine = SetMessageBoxHandler(before);
    ASSERT_TRUE(static_cast<bool>(mine));
    testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox("x", MB_YESNO), IDYES);
    testing::internal::GetCapturedStderr();
}

TEST(ExceptionText, FileExceptionNamesTheFile)
{
    const CFileException e(CFileException::fileNotFound, 2, "C:\\MORVEL\\TANNI.MTD");
    const CString text = e.GetErrorText();
    EXPECT_EQ(text.Find("C:\\MORVEL\\TANNI.MTD"), 0);
    EXPECT_NE(text.Find("見つかりません"_sj), -1);
    EXPECT_NE(CArchiveException(CArchiveException::endOfFile).GetErrorText().GetLength(), 0);
    EXPECT_NE(CMemoryException().GetErrorText().GetLength(), 0);
}

TEST(ExceptionText, GetErrorMessageCutsWithoutSplittingACharacter)
{
    const CMemoryException e; // a text of double-byte characters only
    const CString full = e.GetErrorText();
    char big[256];
    ASSERT_TRUE(e.GetErrorMessage(big, sizeof big));
    EXPECT_EQ(full, big);
    char small[6]; // room for five bytes: two characters and a half
    ASSERT_TRUE(e.GetErrorMessage(small, sizeof small));
    EXPECT_EQ(std::strlen(small), 4u);
    EXPECT_EQ(std::string(small), full.Left(4).str());
    EXPECT_FALSE(e.GetErrorMessage(small, 0));
    EXPECT_FALSE(e.GetErrorMessage(nullptr, 10));
}
