// A second window on an open estimate (Window > New Window): both windows show the one
// estimate, so a number typed into one is the other's too, and the other repaints it.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "platform/ui/core/WinDefs.h"
#include "resources/ResourceIds.h"

namespace {

class SecondWindowTest : public EstimateWindowTest {
protected:
    // The estimate grid of the document other than pView, or null.
    CMorvelEMView* OtherGrid(const CMorvelEMView* pView) const
    {
        POSITION pos = m_pDoc->GetFirstViewPosition();
        while (pos != nullptr) {
            auto* pGrid = dynamic_cast<CMorvelEMView*>(m_pDoc->GetNextView(pos));
            if (pGrid != nullptr && pGrid != pView)
                return pGrid;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(SecondWindowTest, ANumberTypedInOneWindowIsShownAndRepaintedInTheOther)
{
    ASSERT_NE(OpenSample(), nullptr);
    CMorvelEMView* pFirst = m_pView;
    const int nUsedRows = pFirst->GetUsedRows();
    Command(ID_WINDOW_NEW);
    CMorvelEMView* pSecond = OtherGrid(pFirst);
    ASSERT_NE(pSecond, nullptr);
    // The new window shows the estimate as it stands, not as the file was read.
    EXPECT_EQ(nUsedRows, pSecond->GetUsedRows());
    EXPECT_EQ(pFirst->GetCellText(srFirstDetail, scAmount), pSecond->GetCellText(srFirstDetail, scAmount));

    // Typed into the second window, below the estimate's last row too.
    pFirst->ValidateRect(nullptr);
    m_pView = pSecond;
    GoTo(scQty, srFirstDetail);
    TypeUtf8("2");
    Key(VK_RETURN);
    GoTo(scName, nUsedRows + 2);
    TypeUtf8("X");
    Key(VK_RETURN);
    EXPECT_EQ("700.000000", Cell(srFirstDetail, scAmount)); // 2 x 350

    for (int r = 0; r < pSecond->GetUsedRows(); ++r) {
        for (int c = scName; c <= scNote; ++c)
            ASSERT_EQ(pSecond->GetCellText(r, c), pFirst->GetCellText(r, c)) << r << " " << c;
    }
    EXPECT_EQ(nUsedRows + 3, pFirst->GetUsedRows());
    // The first window has the edited row to paint again (its first cell is in view).
    CRect rcUpdate;
    EXPECT_TRUE(pFirst->GetUpdateRect(&rcUpdate));
    CRect rcRow;
    pFirst->GetCellRangeRect(scName, srFirstDetail, scName, srFirstDetail, &rcRow);
    EXPECT_TRUE(rcUpdate.PtInRect(rcRow.CenterPoint()));
}

TEST_F(SecondWindowTest, AnEditInTheSecondWindowIsUndoneAndRedoneThere)
{
    ASSERT_NE(OpenSample(), nullptr);
    CMorvelEMView* pFirst = m_pView;
    const std::string before = Cell(srFirstDetail, scAmount);
    Command(ID_WINDOW_NEW);
    CMorvelEMView* pSecond = OtherGrid(pFirst);
    ASSERT_NE(pSecond, nullptr);
    m_pView = pSecond;
    GoTo(scQty, srFirstDetail);
    TypeUtf8("2");
    Key(VK_RETURN);
    ASSERT_EQ("700.000000", Cell(srFirstDetail, scAmount));
    // The windows share the estimate's one undo: the change the first window hears of
    // leaves it.
    ASSERT_TRUE(pSecond->GetModel().Undo().CanUndo());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(before, Cell(srFirstDetail, scAmount));
    ASSERT_TRUE(pSecond->GetModel().Undo().CanRedo());
    Command(ID_EDIT_REDO);
    EXPECT_EQ("700.000000", Cell(srFirstDetail, scAmount));
}

namespace {

// Whether pView has the header of row nRow waiting to be painted.
bool IsRowHeadToRepaint(CMorvelEMView* pView, int nRow)
{
    CRect rcUpdate;
    if (!pView->GetUpdateRect(&rcUpdate))
        return false;
    CRect rcRow;
    pView->GetCellRangeRect(scName, nRow, scName, nRow, &rcRow);
    return rcUpdate.PtInRect(CPoint(2, rcRow.CenterPoint().y));
}

} // namespace

// The remembered row is the estimate's: its mark set, undone or released in one window is
// repainted in the other.
TEST_F(SecondWindowTest, TheRememberedRowSetInOneWindowIsRepaintedInTheOther)
{
    ASSERT_NE(OpenSample(), nullptr);
    CMorvelEMView* pFirst = m_pView;
    Command(ID_WINDOW_NEW);
    CMorvelEMView* pSecond = OtherGrid(pFirst);
    ASSERT_NE(pSecond, nullptr);
    m_pView = pFirst;
    // Sent straight to the first window: no event is handled before the second window's
    // waiting repaint is looked at.
    const auto run = [pFirst](UINT nID) { pFirst->SendMessage(WM_COMMAND, nID, 0); };
    const int nBelow = srFirstDetail + 2;

    GoTo(scName, nBelow);
    pSecond->ValidateRect(nullptr);
    run(ID_ROW_REMEMBER);
    ASSERT_EQ(nBelow, pSecond->GetMarkRow());
    EXPECT_TRUE(IsRowHeadToRepaint(pSecond, nBelow)) << "the mark set";
    pSecond->ValidateRect(nullptr);
    run(ID_EDIT_UNDO);
    EXPECT_TRUE(IsRowHeadToRepaint(pSecond, nBelow)) << "the mark undone";
    run(ID_EDIT_REDO);
    pSecond->ValidateRect(nullptr);
    run(ID_ROW_RELEASE);
    EXPECT_TRUE(IsRowHeadToRepaint(pSecond, nBelow)) << "the mark released";
}
