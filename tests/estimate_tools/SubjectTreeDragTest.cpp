// Subjects dragged in the subject tree: a move takes the subject's rows to their new place
// and removes them from the old one, Shift copies, a drop into another estimate window
// always copies; drops that cannot be carried out change nothing, with the message the
// user needs. The rows keep their cells, indents and fields on the way.
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "engine/estimate/CGridRow.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/ole/DragDropTestHook.h"

#include <string>
#include <vector>

namespace {

class SubjectTreeDragTest : public SubjectTreeWindowTest {
protected:
    void SetUp() override
    {
        SubjectTreeWindowTest::SetUp();
        ASSERT_NE(OpenSampleWindow(), nullptr);
        ASSERT_NE(Tree(), nullptr);
        WidenTree(m_pView);
        m_pDoc->SetModifiedFlag(FALSE);
        m_nUsed = m_pView->GetUsedRows();
        m_allNames = Names(0, m_nUsed);
        m_allKinds = Kinds(0, m_nUsed);
    }

    void Drag(int nFromRow, int nToRow, DWORD dwKeys = 0)
    {
        DragItem(Tree(), ItemOfRow(Tree(), nFromRow), Tree(), ItemOfRow(Tree(), nToRow), dwKeys);
        Pump();
    }

    // The estimate is as it was opened.
    void ExpectUnchanged() const
    {
        EXPECT_EQ(m_nUsed, m_pView->GetUsedRows());
        EXPECT_EQ(m_allNames, Names(0, m_nUsed));
        EXPECT_EQ(m_allKinds, Kinds(0, m_nUsed));
        EXPECT_FALSE(IsModified());
    }

    std::vector<std::string> Slice(const std::vector<std::string>& v, int nFirst, int nCount) const
    {
        return std::vector<std::string>(v.begin() + nFirst, v.begin() + nFirst + nCount);
    }
    std::vector<int> SliceKinds(int nFirst, int nCount) const
    {
        return std::vector<int>(m_allKinds.begin() + nFirst, m_allKinds.begin() + nFirst + nCount);
    }

    int m_nUsed = 0;
    std::vector<std::string> m_allNames;
    std::vector<int> m_allKinds;
};

} // namespace

TEST_F(SubjectTreeDragTest, DroppingASmallSubjectOnTheRootMovesItsRowsToTheTopOfThePage)
{
    const int nFirstSmall = FindRow(kindSmall);
    const int nSmall = FindRow(kindSmall, nFirstSmall + 1);
    const int nCount = m_pView->GetSubjectRowCount(nSmall);
    ASSERT_GT(nCount, 1);
    const int nMiddleTotal = FindRow(12, nSmall);
    const double middleTotal = Value(nMiddleTotal, scAmount);
    const double smallTotal = Value(nSmall + nCount - 1, scAmount);

    Drag(nSmall, -1);

    EXPECT_EQ(m_nUsed, m_pView->GetUsedRows());
    EXPECT_EQ(Slice(m_allNames, nSmall, nCount), Names(0, nCount));
    EXPECT_EQ(SliceKinds(nSmall, nCount), Kinds(0, nCount));
    // Everything that stood before the subject now stands below the moved rows; after the
    // subject's old place nothing moved.
    EXPECT_EQ(Slice(m_allNames, 0, nSmall), Names(nCount, nSmall));
    EXPECT_EQ(Slice(m_allNames, nSmall + nCount, m_nUsed - nSmall - nCount),
              Names(nSmall + nCount, m_nUsed - nSmall - nCount));
    // The middle subject it left lost its amount; the tree shows the new order.
    EXPECT_DOUBLE_EQ(middleTotal - smallTotal, Value(nMiddleTotal, scAmount));
    EXPECT_TRUE(IsModified());
    EXPECT_EQ(0, Tree()->GetEntry(1).nRow);
    EXPECT_EQ(kindSmall, Tree()->GetEntry(1).nKind);
    EXPECT_EQ(-1, Tree()->GetInsertRow());
}

TEST_F(SubjectTreeDragTest, DroppingALargeSubjectOnAnotherPutsItAfterTheTargetsTotalAndRemovesTheSource)
{
    const int nKind = FindRow(kindKind);
    const int nSecondKind = FindRow(kindKind, nKind + 1);
    // The large subject below the first kind's first one, and the second kind's last large
    // subject.
    const int nSource = FindRow(kindLarge, FindRow(kindLarge) + 1);
    const int nThirdKind = FindRow(kindKind, nSecondKind + 1);
    const int nSecondKindEnd = nThirdKind >= 0 ? nThirdKind : m_nUsed;
    int nTarget = -1;
    for (int r = nSecondKind; r >= 0 && r < nSecondKindEnd; r = FindRow(kindLarge, r + 1))
        nTarget = r;
    ASSERT_LT(nSource, nSecondKind);
    ASSERT_GT(nTarget, nSecondKind);
    const int nCount = m_pView->GetSubjectRowCount(nSource);
    const int nTargetEnd = nTarget + m_pView->GetSubjectRowCount(nTarget) - 1;

    Drag(nSource, nTarget);

    EXPECT_EQ(m_nUsed, m_pView->GetUsedRows());
    // The source went up; the target's block moved up by as many rows and the copy follows it.
    const int nCopy = nTargetEnd + 1 - nCount;
    EXPECT_EQ(Slice(m_allNames, nSource, nCount), Names(nCopy, nCount));
    EXPECT_EQ(Slice(m_allNames, nTarget, nTargetEnd - nTarget + 1),
              Names(nTarget - nCount, nTargetEnd - nTarget + 1));
    EXPECT_EQ(m_allNames[static_cast<size_t>(nSource + nCount)], Utf8Cell(nSource, scName));
    // The large subject now belongs to the second kind heading in the tree.
    const int nSecondKindNow = FindRow(kindKind, FindRow(kindKind) + 1);
    HTREEITEM hMoved = ItemOfRow(Tree(), nCopy);
    ASSERT_NE(nullptr, hMoved);
    EXPECT_EQ(ItemOfRow(Tree(), nSecondKindNow), Tree()->GetTreeCtrl().GetParentItem(hMoved));
}

TEST_F(SubjectTreeDragTest, WithShiftHeldTheSourceRowsStayAndACopyIsInserted)
{
    const int nSmall = FindRow(kindSmall);
    const int nCount = m_pView->GetSubjectRowCount(nSmall);
    const double grandBefore = Value(FindRow(kindGrandTotal), scAmount);
    const double smallTotal = Value(nSmall + nCount - 1, scAmount);

    Drag(nSmall, nSmall + nCount, MK_SHIFT); // onto the next small subject

    EXPECT_EQ(m_nUsed + nCount, m_pView->GetUsedRows());
    EXPECT_EQ(Slice(m_allNames, nSmall, nCount), Names(nSmall, nCount));
    const int nNext = nSmall + nCount;
    const int nNextEnd = nNext + m_pView->GetSubjectRowCount(nNext) - 1;
    EXPECT_EQ(Slice(m_allNames, nSmall, nCount), Names(nNextEnd + 1, nCount));
    EXPECT_DOUBLE_EQ(grandBefore + smallTotal, Value(FindRow(kindGrandTotal), scAmount));
    EXPECT_TRUE(IsModified());
}

TEST_F(SubjectTreeDragTest, CellsIndentsAndFieldsTravelWithTheRowsAndNegativeIndentsStayNegative)
{
    const int nSmall = FindRow(kindSmall);
    m_pView->SetCellIndent(-2, nSmall + 1, scName);
    m_pView->SetRowParam3(-5, nSmall);
    m_pView->SetRowParamText1("P1", nSmall);
    m_pView->SetRowParam1(7, nSmall);
    const std::string note = Utf8Cell(nSmall + 1, scUnit);

    Drag(nSmall, -1, MK_SHIFT);

    EXPECT_EQ(-2, m_pView->GetCellIndent(1, scName));
    EXPECT_EQ(-5, m_pView->GetRowParam3(0));
    EXPECT_EQ("P1", m_pView->GetRowParamText1(0).str());
    EXPECT_EQ(7, m_pView->GetRowParam1(0));
    EXPECT_EQ(note, Utf8Cell(1, scUnit));
    EXPECT_EQ(m_pView->GetCellIndent(nSmall + 1 + m_pView->GetSubjectRowCount(0), scName), -2);
}

TEST_F(SubjectTreeDragTest, ASubjectDroppedOnItselfChangesNothing)
{
    const int nMiddle = FindRow(kindMiddle);
    Drag(nMiddle, nMiddle);
    ExpectUnchanged();
    EXPECT_TRUE(Tree()->IsDropRefused());
}

TEST_F(SubjectTreeDragTest, ASubjectCannotGoUnderAHeadingOfALowerLevel)
{
    const int nLarge = FindRow(kindLarge);
    const int nMiddle = FindRow(kindMiddle, nLarge);
    MessageBoxRecorder boxes;
    Drag(nLarge, nMiddle);
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ("下位科目へのｺﾋﾟｰ､移動はできません。", boxes.entries[0].text.ToUtf8());
    ExpectUnchanged();

    // A kind heading only goes beside kind headings or under the root.
    boxes.entries.clear();
    Drag(FindRow(kindKind), nLarge);
    ASSERT_EQ(1u, boxes.entries.size());
    ExpectUnchanged();
}

TEST_F(SubjectTreeDragTest, SubjectsAreDroppedOnlyWhereTheEditPageIsShown)
{
    CMorvelEMDoc* pSecondDoc = nullptr;
    CMorvelEMView* pSecond = OpenSecondSample(&pSecondDoc);
    ASSERT_NE(nullptr, pSecond);
    WidenTree(pSecond);
    pSecondDoc->SetModifiedFlag(FALSE);
    const int nSecondUsed = pSecond->GetUsedRows();
    pSecond->SetSummaryPageShown(true);
    MessageBoxRecorder boxes;

    DragItem(Tree(), ItemOfRow(Tree(), FindRow(kindSmall)), TreeOf(pSecond), ItemOfRow(TreeOf(pSecond), -1));
    Pump();

    pSecond->SetSummaryPageShown(false);
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ("科目移動などの操作は「見積編集」ページでのみ可能です", boxes.entries[0].text.ToUtf8());
    EXPECT_EQ(nSecondUsed, pSecond->GetUsedRows());
    EXPECT_FALSE(pSecondDoc->IsModified());
    ExpectUnchanged();
}

TEST_F(SubjectTreeDragTest, ASubjectThatDoesNotFitIntoTheRowsLeftIsNotDropped)
{
    const int nLarge = FindRow(kindLarge);
    m_pView->SetRowLimit(m_nUsed + 3); // room for three more rows only
    Drag(nLarge, -1, MK_SHIFT);
    ExpectUnchanged();
    Drag(nLarge, -1);
    ExpectUnchanged();
}

TEST_F(SubjectTreeDragTest, ADropIntoAnotherEstimateWindowCopiesAndLeavesTheSource)
{
    CMorvelEMDoc* pSecondDoc = nullptr;
    CMorvelEMView* pSecond = OpenSecondSample(&pSecondDoc);
    ASSERT_NE(nullptr, pSecond);
    ASSERT_NE(m_pView, pSecond);
    WidenTree(pSecond);
    pSecondDoc->SetModifiedFlag(FALSE);
    const int nSmall = FindRow(kindSmall);
    const int nCount = m_pView->GetSubjectRowCount(nSmall);

    DragItem(Tree(), ItemOfRow(Tree(), nSmall), TreeOf(pSecond), ItemOfRow(TreeOf(pSecond), -1));
    Pump();

    ExpectUnchanged();
    EXPECT_EQ(m_nUsed + nCount, pSecond->GetUsedRows());
    for (int k = 0; k < nCount; ++k)
        EXPECT_EQ(m_allNames[static_cast<size_t>(nSmall + k)], pSecond->GetCellText(k, scName).ToUtf8()) << k;
    EXPECT_TRUE(pSecondDoc->IsModified());
}

TEST_F(SubjectTreeDragTest, AnEstimateOfAnotherFormTakesNoSubject)
{
    CMorvelEMDoc* pSecondDoc = nullptr;
    CMorvelEMView* pSecond = OpenSecondSample(&pSecondDoc);
    ASSERT_NE(nullptr, pSecond);
    WidenTree(pSecond);
    pSecondDoc->SetModifiedFlag(FALSE);
    // The same columns under another name are another form.
    pSecondDoc->m_EstimationForm.SetItem(scNote, 0, CString::FromUtf8("摘要"));
    const int nSecondUsed = pSecond->GetUsedRows();
    MessageBoxRecorder boxes;

    DragItem(Tree(), ItemOfRow(Tree(), FindRow(kindSmall)), TreeOf(pSecond), ItemOfRow(TreeOf(pSecond), -1));
    Pump();

    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ("形式が異なります。", boxes.entries[0].text.ToUtf8());
    EXPECT_EQ(nSecondUsed, pSecond->GetUsedRows());
    EXPECT_FALSE(pSecondDoc->IsModified());
    ExpectUnchanged();
}

TEST_F(SubjectTreeDragTest, DraggingNearTheBottomEdgeScrollsTheTreeALineDown)
{
    // A low window: the tree holds more items than it shows.
    AfxGetMainWnd()->MoveWindow(0, 0, 900, 330);
    Pump();
    CMorvelEMTreeView* pTree = Tree();
    CTreeCtrl& tree = pTree->GetTreeCtrl();
    tree.SelectSetFirstVisible(tree.GetRootItem());
    ASSERT_LT(tree.GetVisibleCount(), tree.GetCount());
    const HTREEITEM hFirstBefore = tree.GetFirstVisibleItem();

    CRect rcClient;
    pTree->GetClientRect(&rcClient);
    const CPoint ptFrom = ItemPoint(pTree, tree.GetRootItem());
    const CPoint ptEdge(ptFrom.x, rcClient.bottom - 2);
    ASSERT_NE(nullptr, tree.HitTest(ptEdge));
    AfxSetDragScript({CDragScriptStep{pTree, ptFrom, MK_LBUTTON}, CDragScriptStep{pTree, ptEdge, MK_LBUTTON}},
                     FALSE);
    const LPARAM lPress = MAKELPARAM(static_cast<WORD>(ptFrom.x), static_cast<WORD>(ptFrom.y));
    const LPARAM lMove = MAKELPARAM(static_cast<WORD>(ptFrom.x + 20), static_cast<WORD>(ptFrom.y + 20));
    pTree->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lPress);
    pTree->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, lMove);
    pTree->SendMessage(WM_LBUTTONUP, 0, lMove);
    AfxClearDragScript();
    Pump();

    EXPECT_EQ(tree.GetNextVisibleItem(hFirstBefore), tree.GetFirstVisibleItem());
    // The drag was cancelled: nothing moved.
    ExpectUnchanged();
}
