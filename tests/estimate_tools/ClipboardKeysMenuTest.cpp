// Ctrl+C and 編集 > ｺﾋﾟｰ in the estimate window, pressed and chosen as a user does: over
// every kind of selection they copy what is selected, also after a Shift extension whose
// Shift went up in the subject tree or in a menu; while a text box has the keyboard both copy
// its text; and after the in-place editor went out of sight under a scroll, the keys are the
// grid's again.
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "estimate/EstimateRegistration.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/ui/core/CCmdUI.h"
#include "resources/EstimateEditIds.h"
#include "resources/ResourceIds.h"
#include "tests/support/GridShiftKeys.h"
#include "tests/support/RealInput.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QWheelEvent>

#include <initializer_list>
#include <memory>
#include <utility>

namespace {

// What a copy left: the rows of the row buffer (their names), the cell buffer (each entry's
// point and text) and the desktop clipboard's text.
struct CCopied {
    std::vector<std::string> rows;
    std::vector<std::pair<CPoint, std::string>> cells;
    std::string text;
    bool operator==(const CCopied&) const = default;
};

void PrintTo(const CCopied& c, std::ostream* os)
{
    *os << c.rows.size() << " rows, " << c.cells.size() << " cell entries";
    if (c.cells.size() >= 2)
        *os << " (" << c.cells[0].first.x << "," << c.cells[0].first.y << ")-(" << c.cells[1].first.x << ","
            << c.cells[1].first.y << ")";
    *os << ", text \"" << c.text << "\"";
}

class ClipboardKeysMenu : public SubjectTreeWindowTest {
protected:
    // The program with the estimate tools and its real grid.
    bool RecordsTreeCommands() const override { return false; }
    void WriteSettings(CProfileFile& profile) override
    {
        profile.WriteProfileString("Settings", "AdjustPage", "0");
    }
    void SetUp() override
    {
        SubjectTreeWindowTest::SetUp();
        ASSERT_NE(OpenSampleWindow(), nullptr);
        m_pView->SetFocus();
        Pump();
    }

    // ---- what the user does, through the window system --------------------------------
    void Keys(Qt::KeyboardModifiers mods, int nKey)
    {
        RealInput::PressKeys(RealInput::KeyboardWidget(), mods, nKey);
        Pump();
    }
    // Shift held down over several keys.
    void ShiftKeys(std::initializer_list<int> keys)
    {
        GridShiftKeys::ShiftKeys(RealInput::KeyboardWidget(), keys);
        Pump();
    }
    void ClickAt(CPoint pt)
    {
        RealInput::Drag(m_pView->GetClientWidget(), QPoint(pt.x, pt.y), QPoint(pt.x, pt.y));
        Pump();
    }
    void ClickRowNumber(int nRow)
    {
        ClickAt(CPoint(m_pView->GetMetrics().nRowHeaderWidth / 2, CellPoint(0, nRow).y));
    }
    void ClickColumnTitle(int nCol)
    {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, 0, nCol, 0, &rc);
        ClickAt(CPoint(rc.CenterPoint().x, m_pView->GetMetrics().nHeaderHeight / 2));
    }
    // Where the Shift of an extension in the grid goes up: in the grid, in the subject tree
    // after the keyboard went there, or in the grid's context menu that Shift+F10 opened.
    enum ShiftUp { shiftUpInGrid, shiftUpInTree, shiftUpInContextMenu };
    void ExtendAndReleaseShift(ShiftUp where)
    {
        QWidget* pGrid = m_pView->GetClientWidget();
        GridShiftKeys::HoldShiftOver(pGrid, {Qt::Key_Down});
        if (where == shiftUpInTree) {
            Tree()->SetFocus();
            Pump();
            ASSERT_EQ(CWnd::GetFocus(), Tree());
            pGrid = RealInput::KeyboardWidget();
        } else if (where == shiftUpInContextMenu) {
            ASSERT_EQ(GridShiftKeys::ReleaseShiftInContextMenu(pGrid, m_pApp->m_pMainWnd->m_hWnd), 1);
            return;
        }
        GridShiftKeys::SendKey(pGrid, QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
    }

    // ---- the two ways to copy ---------------------------------------------------------
    CCopied CopyWithKeys()
    {
        Forget();
        Keys(Qt::ControlModifier, Qt::Key_C);
        return Copied();
    }
    CCopied CopyWithMenu()
    {
        Forget();
        auto* pWindow = qobject_cast<QMainWindow*>(m_pApp->m_pMainWnd->GetWidget());
        EXPECT_TRUE(RealInput::ChooseMenuItem(pWindow, ID_EDIT_COPY));
        Pump();
        return Copied();
    }
    void Forget()
    {
        m_pApp->EstimateCopyBuffers().Rows().clear();
        m_pApp->EstimateCopyBuffers().Cells().clear();
        QGuiApplication::clipboard()->clear();
    }
    CCopied Copied() const
    {
        CCopied c;
        for (const std::unique_ptr<CGridRow>& pRow : m_pApp->EstimateCopyBuffers().Rows())
            c.rows.push_back(pRow->m_strCell[scName].ToUtf8());
        for (const CBufferCell& cell : m_pApp->EstimateCopyBuffers().Cells())
            c.cells.emplace_back(cell.pt, cell.strText.ToUtf8());
        c.text = QGuiApplication::clipboard()->text().toStdString();
        return c;
    }
    // Whether the paste item is offered, as its menu shows it.
    bool PasteOffered()
    {
        struct CEnabled : CCmdUI {
            void Enable(BOOL bOn) override
            {
                bEnabled = bOn != FALSE;
                m_bEnableChanged = TRUE;
            }
            bool bEnabled = false;
        } cmdUI;
        cmdUI.m_nID = ID_EDIT_PASTE;
        cmdUI.DoUpdate(m_pView, TRUE);
        return cmdUI.bEnabled;
    }
    // What copying the cells from (nCol1, nRow1) to (nCol2, nRow2) leaves in the cell buffer.
    std::vector<std::pair<CPoint, std::string>> Cells(int nCol1, int nRow1, int nCol2, int nRow2) const
    {
        std::vector<std::pair<CPoint, std::string>> cells{{CPoint(nCol1, nRow1), ""},
                                                          {CPoint(nCol2, nRow2), ""}};
        for (int r = nRow1; r <= std::min(nRow2, m_pView->GetUsedRows() - 1); ++r)
            for (int c = nCol1; c <= nCol2; ++c)
                cells.emplace_back(CPoint(c - nCol1, r - nRow1), Utf8Cell(r, c));
        return cells;
    }
};

} // namespace

TEST_F(ClipboardKeysMenu, CtrlCAndTheMenuCopyEverySelectionWhereverShiftWentUpBefore)
{
    const int nLastCol = m_pView->GetColumnCount() - 1;
    for (const ShiftUp where : {shiftUpInGrid, shiftUpInTree, shiftUpInContextMenu}) {
        SCOPED_TRACE(where == shiftUpInGrid   ? "Shift up in the grid"
                     : where == shiftUpInTree ? "Shift up in the subject tree"
                                              : "Shift up in the context menu");
        // Each selection is made after a Shift extension, from the top left of the grid.
        const auto prepare = [&] {
            ExtendAndReleaseShift(where);
            m_pView->SendMessage(WM_HSCROLL, SB_THUMBTRACK, 0);
            m_pView->SendMessage(WM_VSCROLL, SB_THUMBTRACK, 0);
        };

        // The current cell.
        prepare();
        ClickAt(CellPoint(scSpec, 6));
        CCopied expected;
        expected.cells = Cells(scSpec, 6, scSpec, 6);
        EXPECT_EQ(CopyWithKeys(), expected);
        EXPECT_EQ(CopyWithMenu(), expected);

        // A block of cells made with Shift and the arrows.
        prepare();
        ClickAt(CellPoint(scName, 4));
        ShiftKeys({Qt::Key_Right, Qt::Key_Down});
        expected.cells = Cells(scName, 4, scSpec, 5);
        EXPECT_EQ(CopyWithKeys(), expected);
        EXPECT_EQ(CopyWithMenu(), expected);

        // Whole rows: a click on a row number, then Shift+Page Down.
        prepare();
        ClickRowNumber(srFirstDetail);
        Keys(Qt::ShiftModifier, Qt::Key_PageDown);
        const int nLast = m_pView->GetCurrentRow();
        ASSERT_GT(nLast, srFirstDetail + 10);
        expected.cells = Cells(0, srFirstDetail, nLastCol, nLast);
        expected.rows = Names(srFirstDetail, nLast - srFirstDetail + 1);
        EXPECT_EQ(CopyWithKeys(), expected);
        EXPECT_EQ(CopyWithMenu(), expected);
        expected.rows.clear();

        // A whole column: a click on its title.
        prepare();
        ClickColumnTitle(scQty);
        expected.cells = Cells(scQty, 0, scQty, m_pView->GetRowLimit() - 1);
        EXPECT_EQ(CopyWithKeys(), expected);
        EXPECT_EQ(CopyWithMenu(), expected);
    }
}

TEST_F(ClipboardKeysMenu, WhileATextBoxHasTheKeyboardCtrlCAndTheMenuCopyItsSelectedText)
{
    // The in-place editor, opened on a cell, its whole text selected.
    DoubleClick(scName, srFirstDetail);
    Pump();
    ASSERT_TRUE(EditorVisible());
    Keys(Qt::ShiftModifier, Qt::Key_Home);
    CCopied expected;
    expected.text = Utf8Cell(srFirstDetail, scName);
    EXPECT_EQ(CopyWithKeys(), expected);
    EXPECT_EQ(CopyWithMenu(), expected);
    Keys(Qt::NoModifier, Qt::Key_Escape);

    // The search box of the find dialog, which starts with the current cell's text.
    Click(scSpec, srFirstDetail + 3);
    Command(ID_EDIT_COPY);
    ASSERT_GT(m_pApp->EstimateCopyBuffers().Cells().size(), 2u);
    Command(ID_EDIT_FIND_DLG);
    CWnd* pFind = m_pView->GetFindDialog();
    ASSERT_NE(pFind, nullptr);
    CWnd* pBox = pFind->GetDlgItem(IDC_FIND_TEXT);
    pFind->GetWidget()->activateWindow();
    pBox->SetFocus();
    pBox->SendMessage(EM_SETSEL, 0, -1);
    Pump();
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(PasteOffered()) << "the grid's buffer is not the box's";
    expected.text = Utf8Cell(srFirstDetail + 3, scSpec);
    ASSERT_FALSE(expected.text.empty());
    EXPECT_EQ(CopyWithKeys(), expected);
    EXPECT_EQ(CopyWithMenu(), expected);
    // Paste is the box's too: offered as the desktop clipboard holds text.
    EXPECT_TRUE(PasteOffered());
}

TEST_F(ClipboardKeysMenu, AfterTheWheelScrolledTheOpenEditorAwayTheKeysSelectAndCopyInTheGrid)
{
    GoTo(scNote, srFirstDetail);
    Type("abc");
    ASSERT_TRUE(EditorVisible());
    QWheelEvent wheel(QPointF(200, 200), QPointF(m_pView->GetClientWidget()->mapToGlobal(QPoint(200, 200))),
                      QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_pView->GetClientWidget(), &wheel);
    Pump();
    ASSERT_FALSE(EditorVisible());

    Keys(Qt::ShiftModifier, Qt::Key_Down);
    EXPECT_EQ(Utf8Cell(srFirstDetail, scNote), "abc") << "the key stored the typed text";
    CCopied expected;
    expected.cells = Cells(scNote, srFirstDetail, scNote, srFirstDetail + 1);
    EXPECT_EQ(CopyWithKeys(), expected);
    EXPECT_EQ(CopyWithMenu(), expected);
}

// A copy only reads the estimate: closing it afterwards asks nothing, and the sums kept
// for the next edit stay (no full recalculation follows).
TEST_F(ClipboardKeysMenu, CopyingRowsOrCellsLeavesTheEstimateUnmodifiedWithItsSumsKept)
{
    ASSERT_FALSE(m_pDoc->IsModified());
    ASSERT_TRUE(m_pView->GetModel().Engine().AreTotalsKept());
    const std::string total = Utf8Cell(srMiddleTotal, scAmount);
    ClickRowNumber(srFirstDetail);
    EXPECT_EQ(CopyWithKeys().rows.size(), 1u);
    EXPECT_FALSE(m_pDoc->IsModified()) << "rows";
    EXPECT_TRUE(m_pView->GetModel().Engine().AreTotalsKept()) << "rows";
    ClickAt(CellPoint(scQty, srFirstDetail));
    EXPECT_EQ(CopyWithKeys().cells.size(), 3u);
    EXPECT_FALSE(m_pDoc->IsModified()) << "cells";
    EXPECT_TRUE(m_pView->GetModel().Engine().AreTotalsKept()) << "cells";
    EXPECT_EQ(Utf8Cell(srMiddleTotal, scAmount), total);
}
