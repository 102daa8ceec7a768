// Ctrl+C and 編集 > ｺﾋﾟｰ in the parts window, pressed and chosen as a user does: over every
// kind of selection both put what is selected on the clipboard, also after a Shift extension
// whose Shift went up while the zoom box or the grid's context menu had the keyboard.
#include "tests/parts/PartsWindowFixture.h"

#include "app/CMainFrame.h"
#include "engine/parts/CPMObj.h"
#include "platform/ui/ole/COleDataObject.h"
#include "tests/support/GridShiftKeys.h"
#include "tests/support/RealInput.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

enum { colSpec = 1 }; // the sample parts list's second column

class PartsClipboardKeysMenuTest : public PartsWindowTest {
protected:
    void SetUp() override
    {
        PartsWindowTest::SetUp();
        ASSERT_NE(nullptr, OpenSample());
        m_pView->SetFocus();
        Pump();
    }

    void Keys(Qt::KeyboardModifiers mods, int nKey)
    {
        RealInput::PressKeys(RealInput::KeyboardWidget(), mods, nKey);
        Pump();
    }
    void ShiftKeys(std::initializer_list<int> keys)
    {
        GridShiftKeys::ShiftKeys(RealInput::KeyboardWidget(), keys);
        Pump();
    }
    void ClickAt(int x, int y)
    {
        RealInput::Drag(m_pView->GetClientWidget(), QPoint(x, y), QPoint(x, y));
        Pump();
    }
    CPoint Middle(int nCol, int nRow) const
    {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return rc.CenterPoint();
    }

    // Where the Shift of an extension in the grid goes up: in the grid, in the zoom box of
    // the main tool bar after the keyboard went there, or in the grid's context menu that
    // Shift+F10 opened.
    enum ShiftUp { shiftUpInGrid, shiftUpInZoomBox, shiftUpInContextMenu };
    void ExtendAndReleaseShift(ShiftUp where)
    {
        QWidget* pGrid = m_pView->GetClientWidget();
        GridShiftKeys::HoldShiftOver(pGrid, {Qt::Key_Down});
        if (where == shiftUpInZoomBox) {
            auto* pMain = dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd);
            pMain->GetZoomBox().SetFocus();
            Pump();
            pGrid = RealInput::KeyboardWidget();
        } else if (where == shiftUpInContextMenu) {
            ASSERT_EQ(GridShiftKeys::ReleaseShiftInContextMenu(pGrid, m_pApp->m_pMainWnd->m_hWnd), 1);
            return;
        }
        GridShiftKeys::SendKey(pGrid, QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
    }

    // The clipboard's records, one line each: the row, the block's columns and last row,
    // then the texts of the block's columns.
    static std::vector<std::string> ClipboardRecords()
    {
        COleDataObject data;
        std::vector<BYTE> bytes;
        if (data.AttachClipboard())
            data.GetBytes(static_cast<CLIPFORMAT>(CMorvelPMView::GetDataFormat()), bytes);
        CPMObjList list;
        std::vector<std::string> lines;
        if (!list.LoadExchangeBytes(bytes.data(), bytes.size()))
            return lines;
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
            const CPMObj* pObj = list.GetNext(pos);
            std::string line = std::to_string(pObj->m_nRow) + ": " + std::to_string(pObj->m_nFirstCol) + "-" +
                               std::to_string(pObj->m_nLastCol) + " to " + std::to_string(pObj->m_nLastRow);
            for (int c = pObj->m_nFirstCol; c <= pObj->m_nLastCol; ++c)
                line += "|" + pObj->m_strCell[c].ToUtf8();
            lines.push_back(line);
        }
        return lines;
    }
    // The same lines for the cells from (nCol1, nRow1) to (nCol2, nRow2) of the grid, cut
    // at the last row in use as a copy cuts them.
    std::vector<std::string> Records(int nCol1, int nRow1, int nCol2, int nRow2) const
    {
        const int nLast = std::min(nRow2, m_pDoc->GetRowsInUse() - 1);
        std::vector<std::string> lines;
        for (int r = nRow1; r <= nLast; ++r) {
            std::string line = std::to_string(r) + ": " + std::to_string(nCol1) + "-" +
                               std::to_string(nCol2) + " to " + std::to_string(nLast);
            for (int c = nCol1; c <= nCol2; ++c)
                line += "|" + Cell(r, c);
            lines.push_back(line);
        }
        return lines;
    }
    std::vector<std::string> CopyWithKeys()
    {
        QGuiApplication::clipboard()->clear();
        Keys(Qt::ControlModifier, Qt::Key_C);
        return ClipboardRecords();
    }
    std::vector<std::string> CopyWithMenu()
    {
        QGuiApplication::clipboard()->clear();
        auto* pWindow = qobject_cast<QMainWindow*>(m_pApp->m_pMainWnd->GetWidget());
        EXPECT_TRUE(RealInput::ChooseMenuItem(pWindow, ID_EDIT_COPY));
        Pump();
        return ClipboardRecords();
    }
};

} // namespace

TEST_F(PartsClipboardKeysMenuTest, CtrlCAndTheMenuCopyEverySelectionWhereverShiftWentUpBefore)
{
    const int nLastCol = m_pView->GetColumnCount() - 1;
    for (const ShiftUp where : {shiftUpInGrid, shiftUpInZoomBox, shiftUpInContextMenu}) {
        SCOPED_TRACE(where == shiftUpInGrid      ? "Shift up in the grid"
                     : where == shiftUpInZoomBox ? "Shift up in the zoom box"
                                                 : "Shift up in the context menu");
        // The current cell.
        ExtendAndReleaseShift(where);
        ClickAt(Middle(colSpec, 2).x, Middle(colSpec, 2).y);
        std::vector<std::string> expected = Records(colSpec, 2, colSpec, 2);
        EXPECT_EQ(CopyWithKeys(), expected);
        EXPECT_EQ(CopyWithMenu(), expected);

        // A block of cells made with Shift and the arrows.
        ExtendAndReleaseShift(where);
        ClickAt(Middle(0, 1).x, Middle(0, 1).y);
        ShiftKeys({Qt::Key_Right, Qt::Key_Down});
        expected = Records(0, 1, 1, 2);
        EXPECT_EQ(CopyWithKeys(), expected);
        EXPECT_EQ(CopyWithMenu(), expected);

        // Whole rows: a click on a row number, then Shift+Page Down.
        ExtendAndReleaseShift(where);
        m_pView->SendMessage(WM_VSCROLL, SB_THUMBTRACK, 0);
        ClickAt(m_pView->GetMetrics().nRowHeaderWidth / 2, Middle(0, 1).y);
        ShiftKeys({Qt::Key_PageDown});
        ASSERT_GT(m_pView->GetCurrentRow(), m_pDoc->GetRowsInUse());
        expected = Records(0, 1, nLastCol, m_pView->GetCurrentRow());
        EXPECT_EQ(CopyWithKeys(), expected);
        EXPECT_EQ(CopyWithMenu(), expected);

        // A whole column: a click on its title.
        ExtendAndReleaseShift(where);
        m_pView->SendMessage(WM_VSCROLL, SB_THUMBTRACK, 0);
        ClickAt(Middle(colSpec, 0).x, m_pView->GetMetrics().nHeaderHeight / 2);
        expected = Records(colSpec, 0, colSpec, m_pView->GetRowLimit() - 1);
        EXPECT_EQ(CopyWithKeys(), expected);
        EXPECT_EQ(CopyWithMenu(), expected);
    }
}
