// The estimate window's paths into the grid's cut, with the real grid: "見積書ｸﾘｱ" of the
// window and the Delete key on a heading of the subject tree take the rows out of the
// estimate and leave them in the application's row buffer.
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "estimate/EstimateRegistration.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

namespace {

class RealGridCutTest : public SubjectTreeWindowTest {
protected:
    // The program as it starts, with the estimate tools and the grid it really has.
    bool RecordsTreeCommands() const override { return false; }
    void SetUp() override
    {
        SubjectTreeWindowTest::SetUp();
        ASSERT_NE(OpenSampleWindow(), nullptr);
        ASSERT_EQ(Grid(), nullptr); // not the recording grid
        ASSERT_NE(Frame(), nullptr);
        m_nUsed = m_pView->GetUsedRows();
        ASSERT_GT(m_nUsed, 20);
    }
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "0");
    }
    int m_nUsed = 0;
};

} // namespace

TEST_F(RealGridCutTest, ClearingTheEstimateCutsEveryRowIntoTheRowBuffer)
{
    const std::string firstName = m_pView->GetCellText(srLarge, scName).ToUtf8();
    const CString info = m_pView->GetModel().GetInformation(0);
    MessageBoxRecorder boxes(IDOK);
    Frame()->SendMessage(WM_COMMAND, ID_ESTIMATE_CLEAR);
    Pump();
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ(m_pView->GetUsedRows(), 0);
    EXPECT_EQ(m_pView->GetCellText(srLarge, scName), "");
    EXPECT_EQ(m_pView->GetRowKind(0), kindEmpty);
    ASSERT_EQ(m_pApp->EstimateCopyBuffers().Rows().size(), static_cast<size_t>(m_nUsed));
    EXPECT_EQ(m_pApp->EstimateCopyBuffers().Rows()[srLarge]->m_strCell[scName].ToUtf8(), firstName);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 21);
    EXPECT_EQ(m_pView->GetModel().GetInformation(0), info); // the information values stay
    EXPECT_TRUE(m_pView->GetDocument()->IsModified());
}

TEST_F(RealGridCutTest, CancellingTheClearLeavesTheRows)
{
    MessageBoxRecorder boxes(IDCANCEL);
    Frame()->SendMessage(WM_COMMAND, ID_ESTIMATE_CLEAR);
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed);
    EXPECT_EQ(m_pApp->EstimateCopyBuffers().Rows().size(), 0u);
}

TEST_F(RealGridCutTest, DeleteOnAMiddleHeadingCutsItsSubjectAndTheRowsBelowMoveUp)
{
    const int nMiddle = FindRow(kindMiddle);
    ASSERT_GE(nMiddle, 0);
    const int nCount = m_pView->GetSubjectRowCount(nMiddle);
    ASSERT_GT(nCount, 1);
    const std::vector<std::string> after = Names(nMiddle + nCount, 3);
    const std::vector<std::string> cut = Names(nMiddle, nCount);
    Tree()->SetFocus();
    Tree()->GetTreeCtrl().SelectItem(ItemOfRow(Tree(), nMiddle));
    Tree()->SendMessage(WM_KEYDOWN, VK_DELETE, 1);
    Pump();
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed - nCount);
    EXPECT_EQ(Names(nMiddle, 3), after);
    ASSERT_EQ(m_pApp->EstimateCopyBuffers().Rows().size(), static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        EXPECT_EQ(m_pApp->EstimateCopyBuffers().Rows()[static_cast<size_t>(i)]->m_strCell[scName].ToUtf8(),
                  cut[i]);
    // The tree is rebuilt without the heading, and keeps the keyboard.
    EXPECT_EQ(Tree(), CWnd::GetFocus());
    for (int r = 0; r < m_pView->GetUsedRows(); ++r) {
        if (m_pView->GetRowKind(r) == kindMiddle) {
            EXPECT_NE(ItemOfRow(Tree(), r), nullptr) << r;
        }
    }
}
