// The grid's row and cell clipboard through the application's copy buffers: whole rows cut
// by "行削除", copied in one estimate window and pasted into another, blocks of cells
// repeated over a larger block; and page moves with the in-place editor open.
#include "tests/estimate/EstimateWindowTestSupport.h"
#include "tests/estimate/UndoTestSupport.h"

#include "engine/estimate/CEstimateCopyBuffers.h"
#include "engine/estimate/CGridRow.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/ResourceIds.h"
#include "tests/support/RealInput.h"

#include <filesystem>

namespace {

class EditClipboard : public EstimateWindowTest {
protected:
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
    void SelectRows(CMorvelEMView* pView, int nFirst, int nLast)
    {
        CMorvelEMView* pSaved = m_pView;
        m_pView = pView;
        const int x = pView->GetMetrics().nRowHeaderWidth / 2;
        const int yFirst = CellPoint(0, nFirst).y;
        const int yLast = CellPoint(0, nLast).y;
        pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, yFirst));
        pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, yLast));
        pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, yLast));
        m_pView = pSaved;
    }
    void SelectBlock(CMorvelEMView* pView, int nFirstCol, int nFirstRow, int nLastCol, int nLastRow)
    {
        CMorvelEMView* pSaved = m_pView;
        m_pView = pView;
        const CPoint a = CellPoint(nFirstCol, nFirstRow), b = CellPoint(nLastCol, nLastRow);
        pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
        pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
        pView->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
        m_pView = pSaved;
    }
    BOOL IsEnabled(CMorvelEMView* pView, UINT nID)
    {
        CEnableRecorder cmdUI;
        cmdUI.m_nID = nID;
        cmdUI.DoUpdate(pView, TRUE);
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
    std::vector<std::string> RowNames(const CMorvelEMView& view, int nFirst, int nCount) const
    {
        std::vector<std::string> names;
        for (int r = nFirst; r < nFirst + nCount; ++r)
            names.push_back(view.GetCellText(r, scName).ToUtf8());
        return names;
    }
    // A user's drag over the grid and keys with their modifiers, through the window system.
    void Drag(CPoint from, CPoint to)
    {
        RealInput::Drag(m_pView->GetClientWidget(), QPoint(from.x, from.y), QPoint(to.x, to.y));
    }
    void DragRowHeads(int nFirst, int nLast)
    {
        const int x = m_pView->GetMetrics().nRowHeaderWidth / 2;
        Drag(CPoint(x, CellPoint(0, nFirst).y), CPoint(x, CellPoint(0, nLast).y));
    }
    void DragColumnHeads(int nFirst, int nLast)
    {
        // Through the middle of the headers: near their edges a press resizes a column.
        const auto middle = [this](int nCol) {
            CRect rc;
            m_pView->GetCellRangeRect(nCol, 0, nCol, 0, &rc);
            return static_cast<int>(rc.CenterPoint().x);
        };
        const int y = m_pView->GetMetrics().nHeaderHeight / 2;
        Drag(CPoint(middle(nFirst), y), CPoint(middle(nLast), y));
    }
    void Keys(Qt::KeyboardModifiers mods, int nKey)
    {
        RealInput::PressKeys(m_pView->GetClientWidget(), mods, nKey);
        Pump();
    }
    // The selection as the clipboard commands read it.
    std::pair<int, CRect> Selection() const { return {m_pView->GetSelectMode(), m_pView->GetSelection()}; }
    int m_nUsed = 0;
};

} // namespace

TEST_F(EditClipboard, ModifierKeysLeaveTheSelectionToTheClipboardKeys)
{
    const int nLastCol = m_pView->GetColumnCount() - 1;
    // Four whole rows: Ctrl+C copies all four, Ctrl+V puts them above the row clicked.
    const std::vector<std::string> four = RowNames(*m_pView, srFirstDetail, 4);
    DragRowHeads(srFirstDetail, srFirstDetail + 3);
    const auto rows = std::make_pair(1, CRect(0, srFirstDetail, nLastCol, srFirstDetail + 3));
    ASSERT_EQ(Selection(), rows);
    Keys(Qt::ControlModifier, Qt::Key_C);
    EXPECT_EQ(Selection(), rows);
    EXPECT_EQ(m_pApp->EstimateCopyBuffers().Rows().size(), 4u);
    DragRowHeads(12, 12);
    Keys(Qt::ControlModifier, Qt::Key_V);
    EXPECT_EQ(RowNames(*m_pView, 12, 4), four);
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed + 4);

    // Two whole rows: Ctrl+X cuts both.
    const std::string nameAfter = Utf8Cell(srFirstDetail + 2, scName);
    DragRowHeads(srFirstDetail, srFirstDetail + 1);
    Keys(Qt::ControlModifier, Qt::Key_X);
    EXPECT_EQ(m_pApp->EstimateCopyBuffers().Rows().size(), 2u);
    EXPECT_EQ(Utf8Cell(srFirstDetail, scName), nameAfter);
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed + 2);

    // A block of 3 x 2 cells: Ctrl+C takes six cells, Ctrl+V tiles them over an empty
    // block of the same size, Shift+Del empties the whole block again.
    const int nTarget = m_pView->GetUsedRows() + 1;
    Drag(CellPoint(scName, srFirstDetail), CellPoint(scQty, srFirstDetail + 1));
    const auto block = std::make_pair(20, CRect(scName, srFirstDetail, scQty, srFirstDetail + 1));
    ASSERT_EQ(Selection(), block);
    Keys(Qt::ControlModifier, Qt::Key_C);
    EXPECT_EQ(Selection(), block);
    EXPECT_EQ(m_pApp->EstimateCopyBuffers().Cells().size(), 2u + 6);
    Drag(CellPoint(scName, nTarget), CellPoint(scQty, nTarget + 1));
    Keys(Qt::ControlModifier, Qt::Key_V);
    for (int r = 0; r < 2; ++r)
        for (int c = scName; c <= scQty; ++c)
            EXPECT_EQ(Cell(nTarget + r, c), Cell(srFirstDetail + r, c)) << r << "," << c;
    Keys(Qt::ShiftModifier, Qt::Key_Delete);
    for (int r = 0; r < 2; ++r)
        for (int c = scName; c <= scQty; ++c)
            EXPECT_EQ(Cell(nTarget + r, c), "") << r << "," << c;

    // Two whole columns: Ctrl+Ins copies every used row of both, Shift+Ins pastes them
    // down another column (its first source column, repeated).
    DragColumnHeads(scName, scSpec);
    const auto columns = std::make_pair(10, CRect(scName, 0, scSpec, m_pView->GetRowLimit() - 1));
    ASSERT_EQ(Selection(), columns);
    Keys(Qt::ControlModifier, Qt::Key_Insert);
    EXPECT_EQ(Selection(), columns);
    const int nCopied = m_pView->GetUsedRows();
    EXPECT_EQ(m_pApp->EstimateCopyBuffers().Cells().size(), 2u + 2 * nCopied);
    DragColumnHeads(scUnit, scUnit);
    Keys(Qt::ShiftModifier, Qt::Key_Insert);
    for (int r = 0; r < nCopied; ++r)
        EXPECT_EQ(Cell(r, scUnit), Cell(r, scName)) << r;
}

TEST_F(EditClipboard, DeletingWholeRowsCutsThemIntoTheRowBufferAndTheTotalsFollow)
{
    // Rows 4 and 5 are two details of the first middle heading.
    ASSERT_EQ(m_pView->GetRowKind(4), kindDetail);
    ASSERT_EQ(m_pView->GetRowKind(5), kindDetail);
    const std::vector<std::string> cut = RowNames(*m_pView, 4, 2);
    const std::string nameAt6 = Utf8Cell(6, scName);
    const double total = Value(srMiddleTotal, scAmount);
    const double removed = Value(4, scAmount) + Value(5, scAmount);
    ASSERT_GT(removed, 0.0);

    SelectRows(m_pView, 4, 5);
    ASSERT_EQ(m_pView->GetSelectMode(), 1);
    EXPECT_TRUE(IsEnabled(m_pView, ID_ROW_DELETE));
    Command(ID_ROW_DELETE);

    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed - 2);
    EXPECT_EQ(Utf8Cell(4, scName), nameAt6);
    EXPECT_EQ(m_pView->GetRowKind(srMiddleTotal - 2), kindMiddle + kindTotalOffset);
    EXPECT_NEAR(Value(srMiddleTotal - 2, scAmount), total - removed, 0.001);
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 21);
    ASSERT_NE(UndoCommandAs<CRowsCutCommand>(*m_pView), nullptr);
    EXPECT_EQ(UndoCommandAs<CRowsCutCommand>(*m_pView)->FirstRow(), 4);
    EXPECT_EQ(m_pView->GetSelectMode(), 0);
    EXPECT_TRUE(IsModified());

    const CEstimateCopyBuffers::CRows& rows = m_pApp->EstimateCopyBuffers().Rows();
    ASSERT_EQ(rows.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_NE(rows[i], nullptr);
        EXPECT_EQ(rows[i]->m_strCell[scName].ToUtf8(), cut[i]);
        EXPECT_EQ(rows[i]->GetKind(), kindDetail);
    }
    // The rows' cells went to the cell buffer too: two corners and two rows of cells.
    EXPECT_EQ(m_pApp->EstimateCopyBuffers().Cells().size(), 2u + 2 * m_pView->GetColumnCount());
}

TEST_F(EditClipboard, RowsCopiedInOneEstimatePasteIntoAnotherInBufferOrder)
{
    CMorvelEMView* pFirst = m_pView;
    const std::vector<std::string> copied = RowNames(*pFirst, 4, 2);
    SelectRows(pFirst, 4, 5);
    Command(ID_EDIT_COPY);
    EXPECT_EQ(pFirst->GetUsedRows(), m_nUsed); // copying leaves the rows

    // A second window of the same process on the same sample.
    std::filesystem::copy_file(m_pFolder->Native("WORK/サンプル見積.MMD"),
                               m_pFolder->Native("WORK/second.MMD"));
    CMorvelEMView* pSecond = OpenEstimate(m_pFolder->System("WORK") + "\\second.MMD");
    ASSERT_NE(pSecond, nullptr);
    ASSERT_NE(pSecond, pFirst);
    m_pView = pSecond;
    const int nUsed = pSecond->GetUsedRows();
    const double total = Value(srMiddleTotal, scAmount);
    const double added = Value(4, scAmount) + Value(5, scAmount); // the same sample rows
    const std::string nameAt3 = Utf8Cell(srFirstDetail, scName);

    // One row selected: the two rows go above it in the order they were copied.
    SelectRows(pSecond, srFirstDetail, srFirstDetail);
    EXPECT_TRUE(IsEnabled(pSecond, ID_EDIT_PASTE));
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(RowNames(*pSecond, srFirstDetail, 2), copied);
    EXPECT_EQ(Utf8Cell(srFirstDetail + 2, scName), nameAt3);
    EXPECT_EQ(pSecond->GetUsedRows(), nUsed + 2);
    EXPECT_NEAR(Value(srMiddleTotal + 2, scAmount), total + added, 0.001);
    EXPECT_EQ(pSecond->GetModel().Undo().GetUndoAction(), 22);

    // Two rows selected: as many rows as selected, the last inserted standing first.
    SelectRows(pSecond, srFirstDetail, srFirstDetail + 1);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(RowNames(*pSecond, srFirstDetail, 2), (std::vector<std::string>{copied[1], copied[0]}));
    EXPECT_EQ(pSecond->GetModel().Undo().GetUndoAction(), 23);
    ASSERT_NE(UndoCommandAs<CRowsPasteCommand>(*pSecond), nullptr);
    EXPECT_EQ(UndoCommandAs<CRowsPasteCommand>(*pSecond)->GetRowCount(), 2);
    // The first window is untouched.
    EXPECT_EQ(pFirst->GetUsedRows(), m_nUsed);
}

TEST_F(EditClipboard, ThreeCellsPastedOverATwoBySixBlockRepeatInBothDirections)
{
    const int nRow = m_nUsed + 2; // empty rows past the estimate
    m_pView->SetCellText("a", nRow, scName, true);
    m_pView->SetCellText("b", nRow, scSpec, true);
    m_pView->SetCellText("3", nRow, scQty, true);
    m_pView->GetModel().RestoreUsedRows(nRow + 1);
    SelectBlock(m_pView, scName, nRow, scQty, nRow);
    Command(ID_EDIT_COPY);
    ASSERT_EQ(m_pApp->EstimateCopyBuffers().Cells().size(), 2u + 3);

    const int nTarget = nRow + 2;
    ASSERT_EQ(m_pView->GetRowKind(nTarget), kindEmpty);
    SelectBlock(m_pView, scName, nTarget, scName + 5, nTarget + 1);
    Command(ID_EDIT_PASTE);
    const char* expected[] = {"a", "b", "3", "a", "b", "3"};
    for (int r = nTarget; r <= nTarget + 1; ++r) {
        EXPECT_EQ(m_pView->GetRowKind(r), kindDetail) << r; // an empty row becomes a detail
        for (int c = 0; c < 6; ++c) {
            if (c == scQty) {
                EXPECT_DOUBLE_EQ(Value(r, c), 3.0);
            } else if (c != scAmount && c != scPrice) {
                EXPECT_EQ(Cell(r, scName + c), expected[c]) << r << "," << c;
            }
        }
    }
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 41);
    // What was there before is kept for undo: empty texts over the 2 x 6 block.
    const CEstimateCopyBuffers::CCells& undo = m_pApp->EstimateCopyBuffers().UndoCells();
    ASSERT_EQ(undo.size(), 2u + 12);
    EXPECT_EQ(undo[0].pt, CPoint(scName, nTarget));

    // Cutting the cells empties them and leaves them in the buffer.
    SelectBlock(m_pView, scName, nTarget, scSpec, nTarget);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(Cell(nTarget, scName), "");
    EXPECT_EQ(Cell(nTarget, scSpec), "");
    EXPECT_EQ(m_pView->GetModel().Undo().GetUndoAction(), 40);
    const CEstimateCopyBuffers::CCells& cells = m_pApp->EstimateCopyBuffers().Cells();
    ASSERT_EQ(cells.size(), 2u + 2);
    EXPECT_EQ(cells[2].strText.str(), "a");
}

TEST_F(EditClipboard, PasteIsDisabledUntilSomethingWasCopiedAndRowsAreNotCopiedPastTheUsedRows)
{
    // The buffers are the application's: a fresh application starts with them empty.
    EXPECT_FALSE(IsEnabled(m_pView, ID_EDIT_PASTE));
    EXPECT_TRUE(IsEnabled(m_pView, ID_EDIT_CUT));
    EXPECT_TRUE(IsEnabled(m_pView, ID_EDIT_COPY));
    const int nUsed = m_pView->GetUsedRows();
    SelectRows(m_pView, nUsed - 1, nUsed + 3);
    Command(ID_EDIT_COPY);
    EXPECT_EQ(m_pApp->EstimateCopyBuffers().Rows().size(), 1u);
    EXPECT_TRUE(IsEnabled(m_pView, ID_EDIT_PASTE));
}

TEST_F(EditClipboard, APageMoveStoresTheTypedTextInItsOwnCellAndKeepsTheScrollBarInStep)
{
    GoTo(scName, 4);
    const std::string topLeftNext = Utf8Cell(m_pView->GetPageRows(), scName);
    Type("abc");
    ASSERT_TRUE(EditorVisible());
    Command(ID_PAGE_NEXT);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(Cell(4, scName), "abc");
    EXPECT_EQ(Utf8Cell(m_pView->GetPageRows(), scName), topLeftNext);
    EXPECT_EQ(m_pView->GetFirstVisibleCell().y, m_pView->GetPageRows());
    EXPECT_EQ(m_pView->GetCurrentRow(), m_pView->GetPageRows());
    EXPECT_EQ(m_pView->GetScrollBarCtrl(SB_VERT)->GetScrollPos(), m_pView->GetPageRows());

    // Back a page: the bar follows again, and typing goes on in the new current cell.
    Type("x");
    Command(ID_PAGE_PREV);
    EXPECT_EQ(m_pView->GetFirstVisibleCell().y, 0);
    EXPECT_EQ(m_pView->GetScrollBarCtrl(SB_VERT)->GetScrollPos(), 0);
    EXPECT_EQ(Cell(m_pView->GetPageRows(), scName), "x");
    EXPECT_EQ(m_pView->GetCurrentRow(), 0);
}

TEST_F(EditClipboard, AWholeColumnPastedOverItselfKeepsTheUsedRows)
{
    std::vector<std::string> before;
    for (int r = 0; r < m_nUsed; ++r)
        before.push_back(Cell(r, scName));
    DragColumnHeads(scName, scName);
    ASSERT_EQ(Selection().first, static_cast<int>(CMorvelView::selectColumn));
    Keys(Qt::ControlModifier, Qt::Key_C);
    Keys(Qt::ControlModifier, Qt::Key_V);
    EXPECT_EQ(m_pView->GetUsedRows(), m_nUsed);
    std::vector<std::string> after;
    for (int r = 0; r < m_nUsed; ++r)
        after.push_back(Cell(r, scName));
    EXPECT_EQ(after, before);
}
