// The row commands of the estimate grid as the menus send them: insert, delete and clear of
// the current row and of whole rows selected in the row headers; the totals, the undo
// record, the remembered row and the enabling of the commands.
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/estimate/UndoTestSupport.h"

#include "engine/estimate/CGridRow.h"
#include "grid/CTabWnd.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"

namespace {

class RowCommands : public EstimateWindowTest {
protected:
    // Page alignment off: the rows move by exactly what the commands insert or delete.
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "0");
    }
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
        m_nUsed = m_pView->GetUsedRows();
        ASSERT_GT(m_nUsed, 20);
    }

    // Selects whole rows by dragging down the row headers, as the mouse does.
    void SelectRows(int nFirst, int nLast)
    {
        const int x = m_pView->GetMetrics().nRowHeaderWidth / 2;
        const int yFirst = CellPoint(0, nFirst).y;
        const int yLast = CellPoint(0, nLast).y;
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, yFirst));
        m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, yLast));
        m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, yLast));
    }

    BOOL IsEnabled(UINT nID)
    {
        CEnableRecorder cmdUI;
        cmdUI.m_nID = nID;
        cmdUI.DoUpdate(m_pView, TRUE);
        return cmdUI.m_nEnabled;
    }

    class CEnableRecorder : public CCmdUI {
    public:
        void Enable(BOOL bOn) override
        {
            m_nEnabled = bOn ? 1 : 0;
            m_bEnableChanged = TRUE;
        }
        int m_nEnabled = -1;
    };

    int m_nUsed = 0;
};

} // namespace

TEST_F(RowCommands, InsertPutsAnEmptyRowAtTheCursorAndTheRowsBelowMoveDown)
{
    const std::string nameAt4 = Utf8Cell(4, scName);
    const double middleTotal = Value(srMiddleTotal, scAmount);
    GoTo(scQty, 4);
    Command(ID_ROW_INSERT);

    EXPECT_EQ(m_pView->GetRowKind(4), kindEmpty);
    EXPECT_EQ(Cell(4, scName), "");
    EXPECT_EQ(Utf8Cell(5, scName), nameAt4);
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed + 1);
    EXPECT_EQ(CPoint(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()), CPoint(scQty, 4));
    EXPECT_EQ(m_pView->GetRowKind(srMiddleTotal + 1), kindMiddle + kindTotalOffset);
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal + 1, scAmount), middleTotal);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 11);
    ASSERT_NE(UndoCommandAs<CRowInsertCommand>(*m_pView), nullptr);
    EXPECT_EQ(UndoCommandAs<CRowInsertCommand>(*m_pView)->GetCol(), scQty);
    EXPECT_EQ(UndoCommandAs<CRowInsertCommand>(*m_pView)->FirstRow(), 4);
    EXPECT_TRUE(IsModified());
}

TEST_F(RowCommands, DeleteRemovesTheCurrentRowKeepsACopyAndTheTotalsFollow)
{
    const std::string nameAt4 = Utf8Cell(4, scName);
    const std::string nameAt5 = Utf8Cell(5, scName);
    m_pView->GetModel().SetMarkRow(10);
    GoTo(scName, 4);
    Command(ID_ROW_DELETE);

    EXPECT_EQ(Utf8Cell(4, scName), nameAt5);
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed - 1);
    const int nTotal = srMiddleTotal - 1;
    ASSERT_EQ(m_pView->GetRowKind(nTotal), kindMiddle + kindTotalOffset);
    EXPECT_DOUBLE_EQ(Value(nTotal, scAmount), SumDetailAmounts(*m_pView, srFirstDetail, nTotal - 1));
    EXPECT_EQ(m_pView->GetMarkRow(), 9) << "the remembered row moves up with its row";
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 12);
    const CRowDeleteCommand* pDelete = UndoCommandAs<CRowDeleteCommand>(*m_pView);
    ASSERT_NE(pDelete, nullptr);
    EXPECT_EQ(CPoint(pDelete->GetCol(), pDelete->FirstRow()), CPoint(scName, 4));
    ASSERT_EQ(pDelete->Steps().GetKeptCount(), 1u);
    EXPECT_EQ(pDelete->Steps().GetKept(0)->m_strCell[scName].ToUtf8(), nameAt4);
    EXPECT_TRUE(IsModified());

    // Deleting the remembered row forgets it.
    GoTo(scName, 9);
    Command(ID_ROW_DELETE);
    EXPECT_EQ(m_pView->GetMarkRow(), -1);
}

TEST_F(RowCommands, ClearEmptiesTheRowInPlaceAndAnEmptyRowIsLeftAlone)
{
    const std::string nameAt5 = Utf8Cell(5, scName);
    const double amountAt4 = Value(4, scAmount);
    const double middleTotal = Value(srMiddleTotal, scAmount);
    GoTo(scName, 4);
    Command(ID_ROW_CLEAR);

    EXPECT_EQ(m_pView->GetRowKind(4), kindEmpty);
    EXPECT_EQ(Cell(4, scName), "");
    EXPECT_EQ(Cell(4, scAmount), "");
    EXPECT_EQ(Utf8Cell(5, scName), nameAt5) << "no row moves";
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed);
    EXPECT_DOUBLE_EQ(Value(srMiddleTotal, scAmount), middleTotal - amountAt4);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 13);
    ASSERT_NE(UndoCommandAs<CRowsClearCommand>(*m_pView), nullptr);
    ASSERT_EQ(UndoCommandAs<CRowsClearCommand>(*m_pView)->GetKeptCount(), 1u);
    EXPECT_EQ(UndoCommandAs<CRowsClearCommand>(*m_pView)->GetKept(0).GetKind(), kindDetail);

    // The row is empty now: clearing it again records nothing.
    m_pView->GetModel().Undo().Withdraw();
    m_pView->GetDocument()->SetModifiedFlag(FALSE);
    Command(ID_ROW_CLEAR);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), -1);
    EXPECT_FALSE(IsModified());
}

TEST_F(RowCommands, WholeRowsSelectedInTheHeadersAreInsertedAsManyAndClearedTogether)
{
    const std::string nameAt4 = Utf8Cell(4, scName);
    SelectRows(4, 6);
    ASSERT_EQ(m_pView->GetSelectMode(), 1);
    Command(ID_ROW_INSERT);
    for (int r = 4; r <= 6; ++r)
        EXPECT_EQ(m_pView->GetRowKind(r), kindEmpty) << r;
    EXPECT_EQ(Utf8Cell(7, scName), nameAt4);
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed + 3);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 36);
    ASSERT_NE(UndoCommandAs<CRowsInsertCommand>(*m_pView), nullptr);
    EXPECT_EQ(UndoCommandAs<CRowsInsertCommand>(*m_pView)->GetRowCount(), 3);
    EXPECT_EQ(UndoCommandAs<CRowsInsertCommand>(*m_pView)->FirstRow(), 4);

    // Clearing rows 7 to 9 (three details) takes their amounts out of the subtotal.
    const int nTotal = srMiddleTotal + 3;
    ASSERT_EQ(m_pView->GetRowKind(nTotal), kindMiddle + kindTotalOffset);
    SelectRows(7, 9);
    Command(ID_ROW_CLEAR);
    for (int r = 7; r <= 9; ++r)
        EXPECT_EQ(m_pView->GetRowKind(r), kindEmpty) << r;
    EXPECT_DOUBLE_EQ(Value(nTotal, scAmount), Value(srFirstDetail, scAmount));
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 35);
    ASSERT_NE(UndoCommandAs<CRowsClearCommand>(*m_pView), nullptr);
    EXPECT_EQ(UndoCommandAs<CRowsClearCommand>(*m_pView)->GetKeptCount(), 3u);
}

// With page alignment on (the default), a heading that starts a page stays at a page start.
class RowCommandsAligned : public RowCommands {
protected:
    void WriteSettings(CProfileFile& /*profile*/) override {}

    int FindName(const char* utf8) const
    {
        for (int r = 0; r < m_pView->GetUsedRows(); ++r) {
            if (Utf8Cell(r, scName) == utf8)
                return r;
        }
        return -1;
    }
};

TEST_F(RowCommandsAligned, AHeadingAtAPageStartStaysAtAPageStartWhenRowsComeAndGo)
{
    const int nRowsPerPage = m_pView->GetPageRows();
    const int nHeading = FindName("内装工事");
    ASSERT_GT(nHeading, 0);
    ASSERT_EQ(nHeading % nRowsPerPage, 0);
    const int nLast = m_nUsed - 1;
    const std::string lastName = Utf8Cell(nLast, scName);
    const double lastAmount = Value(nLast, scAmount);

    GoTo(scName, 4);
    Command(ID_ROW_INSERT);
    const int nAfterInsert = FindName("内装工事");
    EXPECT_GT(nAfterInsert, nHeading);
    EXPECT_EQ(nAfterInsert % nRowsPerPage, 0);
    EXPECT_EQ(Utf8Cell(m_pView->GetUsedRows() - 1, scName), lastName);

    GoTo(scName, 4);
    Command(ID_ROW_DELETE);
    const int nAfterDelete = FindName("内装工事");
    EXPECT_EQ(nAfterDelete % nRowsPerPage, 0);
    EXPECT_EQ(Utf8Cell(m_pView->GetUsedRows() - 1, scName), lastName);
    EXPECT_DOUBLE_EQ(Value(m_pView->GetUsedRows() - 1, scAmount), lastAmount);
}

TEST_F(RowCommandsAligned, RowsInsertedForTheWholeGridNeverPushUsedRowsPastTheLimit)
{
    const std::string lastName = Utf8Cell(m_nUsed - 1, scName);
    ASSERT_FALSE(lastName.empty());
    // The corner box selects every row of the grid.
    const LPARAM lCorner =
        MAKELPARAM(m_pView->GetMetrics().nRowHeaderWidth / 2, m_pView->GetMetrics().nHeaderHeight / 2);
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lCorner);
    m_pView->SendMessage(WM_LBUTTONUP, 0, lCorner);
    ASSERT_EQ(m_pView->GetSelectMode(), 1);
    Command(ID_ROW_INSERT);

    const int nLimit = m_pView->GetRowLimit();
    EXPECT_GT(m_pView->GetUsedRows(), m_nUsed);
    EXPECT_LE(m_pView->GetUsedRows(), nLimit - 1);
    EXPECT_EQ(Utf8Cell(m_pView->GetUsedRows() - 1, scName), lastName)
        << "the last row is still in the estimate";
    EXPECT_LE(m_pView->GetEditRows().GetSize(), nLimit);
}

TEST_F(RowCommands, TheRowCommandsAreEnabledOnTheEditPageForRowsAndSingleCellsOnly)
{
    GoTo(scName, 4);
    EXPECT_TRUE(IsEnabled(ID_ROW_INSERT));
    SelectRows(4, 5);
    EXPECT_TRUE(IsEnabled(ID_ROW_DELETE));

    // A whole column selected in the column header.
    const CPoint pt = CellPoint(scQty, 0);
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                         MAKELPARAM(pt.x, m_pView->GetMetrics().nHeaderHeight / 2));
    m_pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, m_pView->GetMetrics().nHeaderHeight / 2));
    ASSERT_EQ(m_pView->GetSelectMode(), 10);
    EXPECT_FALSE(IsEnabled(ID_ROW_INSERT));
    EXPECT_FALSE(IsEnabled(ID_ROW_CLEAR));

    GoTo(scName, 4);
    m_pView->SendMessage(WM_COMMAND, CTabWnd::ID_SUMMARY_PAGE_TAB, 0);
    EXPECT_FALSE(IsEnabled(ID_ROW_INSERT));
    EXPECT_FALSE(IsEnabled(ID_ROW_DELETE));
    EXPECT_FALSE(IsEnabled(ID_ROW_CLEAR));
}
