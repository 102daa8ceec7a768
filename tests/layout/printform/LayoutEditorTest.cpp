// The layout editor as a user drives it: mouse messages sent to the real view of a layout
// opened in its window create rectangles, lines, texts and tables, move and resize them on
// the grid, select by rubber band, split and join table cells, and every step undoes and
// redoes to identical objects. Two windows on one layout keep their own undo without ever
// touching an object the other one freed.
#include "app/CChildFormFrame.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CShadingDialog.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CEditorDialogs.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "layout/printform/CZoomDialog.h"
#include "platform/ui/controls/CToolTipCtrl.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/Menu_p.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CToolBar.h"
#include "resources/ChildFrameIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/LayoutCommandIds.h"
#include "resources/LayoutDialogIds.h"
#include "resources/PrintToolsIds.h"
#include "resources/ResourceIds.h"
#include "tests/layout/printform/LayoutTestSupport.h"
#include "tests/support/EventWait.h"
#include "tests/support/RealInput.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Every object of the document as text, in a stable order (undo puts objects back on top,
// so the stacking order may change while the objects stay the same).
std::vector<std::string> Dump(CPrintDoc* pDoc)
{
    std::vector<std::string> out;
    CDrawObjList* pList = pDoc->GetObjectList();
    for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;) {
        CDrawObj* p = pList->GetNext(pos);
        std::ostringstream s;
        const CRect& r = p->m_position;
        s << p->GetRuntimeClass()->m_lpszClassName << " " << r.left << "," << r.top << "," << r.right << ","
          << r.bottom << " style " << p->m_nLineStyle << " fill " << p->m_bFill << "/" << p->m_nFillPattern;
        if (auto* pRect = dynamic_cast<CDrawRect*>(p))
            s << " shape " << pRect->m_nShape;
        if (auto* pText = dynamic_cast<CDrawText*>(p))
            s << " text " << pText->m_strText.str() << " h " << pText->m_logFont.lfHeight;
        if (auto* pTable = dynamic_cast<CDrawTable*>(p)) {
            std::vector<std::string> cells;
            for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i) {
                const CDrawCell* c = pTable->GetCell(i);
                std::ostringstream cs;
                cs << "[" << c->m_rect.left << "," << c->m_rect.top << "," << c->m_rect.right << ","
                   << c->m_rect.bottom << " e";
                for (int e = 0; e < 4; ++e)
                    cs << " " << c->m_nEdgeStyle[e] << "/" << c->m_clrEdge[e];
                cs << " t " << c->m_strText.str() << "]";
                cells.push_back(cs.str());
            }
            for (const std::string& c : cells)
                s << c;
        }
        out.push_back(s.str());
    }
    std::sort(out.begin(), out.end());
    return out;
}

class LayoutEditorTest : public LayoutAppTest {
protected:
    void SetUp() override
    {
        LayoutAppTest::SetUp();
        CDrawTool::s_nCurrentShape = ShapeSelect;
        CDrawingShared::s_nLastTipCell = -1;
        CDrawingShared::s_nTextTipShown = -1;
        const fs::path target = fs::path(m_pFolder->Native("WORK")) / "edit.MMP";
        fs::copy_file(fs::path(MORVEL_SOURCE_DIR) / "samples" / "FORM" / CString("見積書.MMP"_sj).ToUtf8(),
                      target);
        m_pDoc = Open(m_pFolder->System("WORK/edit.MMP"));
        ASSERT_NE(m_pDoc, nullptr);
        // An empty page to draw on.
        CDrawObjList* pList = m_pDoc->GetObjectList();
        while (!pList->IsEmpty())
            pList->RemoveHead()->Remove();
        m_pView = ViewOf(m_pDoc, 0);
        ASSERT_NE(m_pView, nullptr);
        Activate(m_pView);
        m_pView->OnUpdate(nullptr, CPrintDoc::hintAll, nullptr);
        Pump();
    }

    static CPrintFormView* ViewOf(CPrintDoc* pDoc, int nIndex)
    {
        int n = 0;
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;) {
            auto* pView = dynamic_cast<CPrintFormView*>(pDoc->GetNextView(pos));
            if (pView && n++ == nIndex)
                return pView;
        }
        return nullptr;
    }

    void Activate(CPrintFormView* pView)
    {
        if (auto* pFrame = dynamic_cast<CMDIChildWnd*>(pView->GetParentFrame()))
            pFrame->MDIActivate();
        Pump();
        ASSERT_TRUE(pView->IsActive());
    }

    // The client point of a point in object units.
    CPoint At(CPrintFormView* pView, int x, int y)
    {
        CPoint p = pView->ZoomPoint(CPoint(x, y));
        pView->DocToClient(p);
        return p;
    }
    CPoint At(int x, int y) { return At(m_pView, x, y); }

    static void Send(CPrintFormView* pView, UINT nMsg, UINT nFlags, CPoint p)
    {
        pView->SendMessage(nMsg, nFlags, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    }

    // Hover, press, drag in steps, release: a user's drag.
    void Drag(CPrintFormView* pView, CPoint from, CPoint to, UINT nExtra = 0, int nSteps = 4)
    {
        Send(pView, WM_MOUSEMOVE, nExtra, from);
        Send(pView, WM_LBUTTONDOWN, MK_LBUTTON | nExtra, from);
        for (int i = 1; i <= nSteps; ++i) {
            const CPoint p(from.x + (to.x - from.x) * i / nSteps, from.y + (to.y - from.y) * i / nSteps);
            Send(pView, WM_MOUSEMOVE, MK_LBUTTON | nExtra, p);
        }
        Send(pView, WM_LBUTTONUP, nExtra, to);
    }
    void Drag(CPoint from, CPoint to, UINT nExtra = 0) { Drag(m_pView, from, to, nExtra); }
    void Click(CPoint p, UINT nExtra = 0)
    {
        Send(m_pView, WM_MOUSEMOVE, nExtra, p);
        Send(m_pView, WM_LBUTTONDOWN, MK_LBUTTON | nExtra, p);
        Send(m_pView, WM_LBUTTONUP, nExtra, p);
    }
    void Command(CPrintFormView* pView, UINT nID) { pView->SendMessage(WM_COMMAND, nID, 0); }
    void Command(UINT nID) { Command(m_pView, nID); }

    CDrawObj* Last()
    {
        return m_pDoc->GetObjectList()->IsEmpty() ? nullptr : m_pDoc->GetObjectList()->GetTail();
    }
    INT_PTR Count() { return m_pDoc->GetObjectList()->GetCount(); }

    // Undo and redo the last step three times over: the objects go back to `before` and
    // forward to `after` each time.
    void ExpectUndoRedo(const std::vector<std::string>& before, const std::vector<std::string>& after)
    {
        for (int round = 0; round < 3; ++round) {
            ASSERT_TRUE(m_pView->CanUndo());
            Command(ID_EDIT_UNDO);
            EXPECT_EQ(Dump(m_pDoc), before) << "undo, round " << round;
            ASSERT_TRUE(m_pView->CanRedo());
            ASSERT_FALSE(m_pView->CanUndo());
            Command(ID_EDIT_REDO);
            EXPECT_EQ(Dump(m_pDoc), after) << "redo, round " << round;
        }
    }

    // A table built cell by cell (the table convention: left the larger x, bottom the
    // larger y), added and selected.
    CDrawTable* AddTable(const std::vector<CRect>& cells, const CRect& outline)
    {
        auto* pTable = new CDrawTable(outline);
        const int styles[4] = {1, 1, 1, 1};
        const COLORREF colors[4] = {0, 0, 0, 0};
        for (const CRect& c : cells)
            pTable->AddCellWithEdges(c, styles, colors);
        m_pDoc->Add(pTable);
        m_pView->Select(pTable);
        return pTable;
    }

    CPrintDoc* m_pDoc = nullptr;
    CPrintFormView* m_pView = nullptr;
};

} // namespace

TEST_F(LayoutEditorTest, RectangleLineTextAndTableAreMadeWithTheMouseAndUndone)
{
    // Rectangle: a drag from (-200, 300) to (-100, 200) in object units.
    Command(ID_DRAW_RECT);
    auto empty = Dump(m_pDoc);
    Drag(At(-200, 300), At(-100, 200));
    ASSERT_EQ(Count(), 1);
    auto* pRect = dynamic_cast<CDrawRect*>(Last());
    ASSERT_NE(pRect, nullptr);
    EXPECT_EQ(pRect->m_nShape, CDrawRect::rectangle);
    // The drag moves handle 1 (left, top) away from the press point.
    EXPECT_NEAR(pRect->m_position.right, -200, 2);
    EXPECT_NEAR(pRect->m_position.bottom, 300, 2);
    EXPECT_NEAR(pRect->m_position.left, -100, 2);
    EXPECT_NEAR(pRect->m_position.top, 200, 2);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoNewShape);
    EXPECT_EQ(CDrawTool::s_nCurrentShape, ShapeRect) << "after a drag the creating tool stays";
    auto withRect = Dump(m_pDoc);
    ExpectUndoRedo(empty, withRect);

    // A click without moving makes nothing and returns to selection.
    Click(At(0, 0));
    EXPECT_EQ(Dump(m_pDoc), withRect);
    EXPECT_EQ(CDrawTool::s_nCurrentShape, ShapeSelect);

    // Line.
    Command(ID_DRAW_LINE);
    Drag(At(-200, 100), At(100, 100));
    ASSERT_EQ(Count(), 2);
    auto* pLine = dynamic_cast<CDrawRect*>(Last());
    ASSERT_NE(pLine, nullptr);
    EXPECT_EQ(pLine->m_nShape, CDrawRect::line);
    EXPECT_EQ(pLine->GetHandleCount(), 2);
    auto withLine = Dump(m_pDoc);
    ExpectUndoRedo(withRect, withLine);

    // Text: the pending text of the text command goes into the object, fitted to it.
    m_pView->GetPendingText().m_strText = "御 見 積 書"_sj;
    CDrawTool::s_nCurrentShape = ShapeText;
    Click(At(-300, -100));
    ASSERT_EQ(Count(), 3);
    auto* pText = dynamic_cast<CDrawText*>(Last());
    ASSERT_NE(pText, nullptr);
    EXPECT_EQ(pText->m_strText, CString("御 見 積 書"_sj));
    EXPECT_GT(pText->m_position.left, pText->m_position.right) << "fitted: left holds the larger x";
    EXPECT_NEAR(std::min(pText->m_position.left, pText->m_position.right), -300, 2);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoNewText);
    auto withText = Dump(m_pDoc);
    ExpectUndoRedo(withLine, withText);

    // An empty pending text makes nothing and keeps the record.
    m_pView->GetPendingText().m_strText.Empty();
    CDrawTool::s_nCurrentShape = ShapeText;
    Click(At(-300, -200));
    EXPECT_EQ(Count(), 3);
    EXPECT_TRUE(m_pView->CanUndo());
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoNewText);

    // Table of 2 rows and 3 columns over 300 x 100 units.
    m_pView->SetTableSize(2, 3);
    CDrawTool::s_nCurrentShape = ShapeTable;
    Drag(At(-300, -250), At(0, -350));
    ASSERT_EQ(Count(), 4);
    auto* pTable = dynamic_cast<CDrawTable*>(Last());
    ASSERT_NE(pTable, nullptr);
    ASSERT_EQ(pTable->GetCellCount(), 6);
    const CRect t = pTable->m_position;
    EXPECT_GT(t.left, t.right);
    EXPECT_GT(t.bottom, t.top);
    // The cells tile the table exactly: their areas add up to the table's.
    long long area = 0;
    for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i) {
        const CRect c = NormalizedRect(pTable->GetCell(i)->m_rect);
        area += static_cast<long long>(c.Width()) * c.Height();
        EXPECT_GE(c.Width(), CDrawTable::MIN_CELL_SIZE);
    }
    const CRect nt = NormalizedRect(t);
    EXPECT_EQ(area, static_cast<long long>(nt.Width()) * nt.Height());
    auto withTable = Dump(m_pDoc);
    ExpectUndoRedo(withText, withTable);
}

TEST_F(LayoutEditorTest, TableRangeTooSmallForItsColumnsAsksAndShrinks)
{
    // 10 columns over 100 units: 10 units a column is too narrow; Yes makes 6 columns.
    m_pView->SetTableSize(1, 10);
    CDialogAnswerer answerer;
    answerer.AnswerMessageBox("範囲が指定した列数に足りません。処理を続けますか。"_sj, IDYES);
    CDrawTool::s_nCurrentShape = ShapeTable;
    Drag(At(-100, 100), At(0, 50));
    ASSERT_EQ(Count(), 1);
    auto* pTable = dynamic_cast<CDrawTable*>(Last());
    ASSERT_NE(pTable, nullptr);
    const int w = NormalizedRect(pTable->m_position).Width();
    EXPECT_EQ(pTable->GetCellCount(), w / 16);

    // Under 16 units: the stop message and no table.
    answerer.AnswerMessageBox("指定範囲が小さすぎるため作表できません。"_sj, IDOK);
    CDrawTool::s_nCurrentShape = ShapeTable;
    Drag(At(100, 100), At(110, 95));
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 2u);
}

TEST_F(LayoutEditorTest, InsertTableDialogSetsRowsAndColumnsAndRefusesZero)
{
    CDialogAnswerer answerer;
    answerer.AnswerDialog(CInsertTableDialog::IDD, [](CDialog& dlg) {
        TypeDlgItemText(dlg, 1031, "3");
        TypeDlgItemText(dlg, 1101, "4");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_DRAW_TABLE);
    EXPECT_EQ(CDrawTool::s_nCurrentShape, ShapeTable);
    EXPECT_EQ(m_pView->GetTableRows(), 3);
    EXPECT_EQ(m_pView->GetTableCols(), 4);

    answerer.AnswerDialog(CInsertTableDialog::IDD, [](CDialog& dlg) {
        TypeDlgItemText(dlg, 1031, "0");
        ClickDlgButton(dlg, IDOK); // refused: the dialog stays open and ends cancelled
    });
    Command(ID_DRAW_TABLE);
    EXPECT_EQ(m_pView->GetTableRows(), 3);
}

TEST_F(LayoutEditorTest, MovesAndResizesSnapToTheGridInsideThePrintableArea)
{
    auto* pRect = new CDrawRect(CRect(-200, 300, -100, 200));
    m_pDoc->Add(pRect);
    Command(ID_VIEW_GRID);
    ASSERT_TRUE(m_pView->IsGridShown());
    const CRect printable = m_pView->GetPrintableRect(); // first y the lower one
    const int left = printable.left, top = printable.bottom;

    // A move of 13 units to the right: the corner snaps to a grid line counted from the
    // printable area's left edge.
    Drag(At(-150, 250), At(-137, 250));
    EXPECT_EQ((pRect->m_position.left - left) % 10, 0) << pRect->m_position.left;
    EXPECT_EQ(pRect->m_position.top, 300) << "no vertical step: the corner stays on its line";
    EXPECT_EQ(pRect->m_position.Width(), 100);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoSelectTool);
    const auto moved = Dump(m_pDoc);

    // A move shorter than the way to the next line leaves it where it is.
    const CRect before = pRect->m_position;
    Drag(At(-120, 250), At(-117, 250));
    EXPECT_EQ(pRect->m_position, before);

    // Far beyond the page: the corner stops on the last grid line that keeps the whole
    // rectangle inside.
    Drag(At((before.left + before.right) / 2, 250), At(5000, -5000));
    const CRect n = NormalizedRect(pRect->m_position);
    EXPECT_LE(n.right, printable.right);
    EXPECT_GE(n.top, printable.top);
    EXPECT_EQ((n.left - left) % 10, 0);

    // Resize by the lower right handle: the corner lands on the grid.
    Command(ID_EDIT_UNDO);
    pRect = dynamic_cast<CDrawRect*>(Last());
    ASSERT_NE(pRect, nullptr);
    EXPECT_EQ(Dump(m_pDoc), moved);
    m_pView->Select(pRect);
    const CRect r = pRect->m_position;
    Drag(At(r.right, r.bottom), At(r.right + 33, r.bottom - 27));
    EXPECT_EQ((pRect->m_position.right - left) % 10, 0) << pRect->m_position.right;
    EXPECT_EQ((top - pRect->m_position.bottom) % 10, 0) << pRect->m_position.bottom;
    EXPECT_EQ(pRect->m_position.left, r.left);
    EXPECT_EQ(pRect->m_position.top, r.top);
    ExpectUndoRedo(moved, Dump(m_pDoc));
}

TEST_F(LayoutEditorTest, GridStepsFollowTheZoom)
{
    auto* pRect = new CDrawRect(CRect(-203, 300, -103, 200));
    m_pDoc->Add(pRect);
    Command(ID_VIEW_GRID);
    // At 200 % the pitch of 10 zoomed units is 5 object units.
    Command(ID_ZOOM_200);
    ASSERT_EQ(m_pView->GetZoom(), 200);
    Drag(At(-150, 250), At(-143, 250));
    EXPECT_EQ((m_pView->ZoomLength(pRect->m_position.left) - m_pView->GetZoomedPrintableArea().left) % 10, 0);
    EXPECT_EQ((pRect->m_position.left - m_pView->GetPrintableRect().left) % 5, 0);
    EXPECT_NE(pRect->m_position.left, -203);
    // At 50 % it is 20 object units.
    Command(ID_ZOOM_50);
    const CRect r = pRect->m_position;
    Drag(At(r.left + 50, 250), At(r.left + 50 + 45, 250));
    EXPECT_EQ((m_pView->ZoomLength(pRect->m_position.left) - m_pView->GetZoomedPrintableArea().left) % 10, 0)
        << pRect->m_position.left;
    EXPECT_GE(pRect->m_position.left - r.left, 20);
}

TEST_F(LayoutEditorTest, GridLimitBeyondTheLastLineUsesTheLastLine)
{
    auto* pRect = new CDrawRect(CRect(0, 0, 10, -10));
    m_pDoc->Add(pRect);
    m_pView->Select(pRect);
    const CRect area = m_pView->GetZoomedPrintableArea();
    // A corner already beyond the last grid line that keeps the selection inside.
    const CPoint corner(area.right + 50, area.top - 50);
    const CPoint result = m_pView->LimitMoveToPage(CPoint(0, 0), CPoint(30, 0), corner);
    EXPECT_LE(result.x + 10, area.right);
    EXPECT_EQ((result.x - area.left) % 10, 0);
}

TEST_F(LayoutEditorTest, RubberBandTakesOnlyObjectsWhollyInside)
{
    auto* pInside = new CDrawRect(CRect(-200, 300, -150, 250));
    auto* pAcross = new CDrawRect(CRect(-120, 300, 100, 250));
    m_pDoc->Add(pInside);
    m_pDoc->Add(pAcross);
    Drag(At(-250, 350), At(-100, 200));
    ASSERT_EQ(m_pView->GetSelection().GetCount(), 1);
    EXPECT_EQ(m_pView->GetSelection().GetHead(), pInside);
    // With Shift the band adds to the selection.
    Drag(At(-250, 350), At(150, 200), MK_SHIFT);
    EXPECT_EQ(m_pView->GetSelection().GetCount(), 2);
}

TEST_F(LayoutEditorTest, SplittingATenUnitCellWidensBothPiecesAndGrowsTheTable)
{
    // Cells (xmin..xmax): A 0..10, B 10..50; rows 0..40. Left field = xmax.
    CDrawTable* pTable = AddTable({CRect(10, 0, 0, 40), CRect(50, 0, 10, 40)}, CRect(50, 0, 0, 40));
    pTable->m_ptLineStart = CPoint(5, 0);
    pTable->m_ptLineEnd = CPoint(5, 40);
    pTable->SplitCells(m_pView, 1);
    ASSERT_EQ(pTable->GetCellCount(), 3);
    // a = b = 11: the left piece 0..16, the right piece 16..32, B moved by 22.
    EXPECT_EQ(pTable->GetCell(0)->m_rect, CRect(16, 0, 0, 40));
    EXPECT_EQ(pTable->GetCell(1)->m_rect, CRect(72, 0, 32, 40));
    EXPECT_EQ(pTable->GetCell(2)->m_rect, CRect(32, 0, 16, 40));
    EXPECT_EQ(pTable->m_position, CRect(72, 0, 0, 40));
    EXPECT_TRUE(pTable->GetCell(2)->m_strText.IsEmpty());

    // A line on a cell's own edge crosses nothing: no piece of zero width.
    pTable->m_ptLineStart = CPoint(16, 0);
    pTable->m_ptLineEnd = CPoint(16, 40);
    pTable->SplitCells(m_pView, 1);
    EXPECT_EQ(pTable->GetCellCount(), 3);
    EXPECT_EQ(pTable->m_position, CRect(72, 0, 0, 40));

    // A split whose pieces are all wide enough changes nothing else.
    pTable->m_ptLineStart = CPoint(50, 0);
    pTable->m_ptLineEnd = CPoint(50, 40);
    pTable->SplitCells(m_pView, 1);
    ASSERT_EQ(pTable->GetCellCount(), 4);
    EXPECT_EQ(pTable->m_position, CRect(72, 0, 0, 40));
    EXPECT_EQ(pTable->GetCell(1)->m_rect, CRect(50, 0, 32, 40));
    EXPECT_EQ(pTable->GetCell(3)->m_rect, CRect(72, 0, 50, 40));
}

TEST_F(LayoutEditorTest, RuledLineToolsSplitAndJoinThroughTheMouseWithUndo)
{
    m_pView->SendMessage(WM_COMMAND, ID_ZOOM_200, 0);
    CDrawTable* pTable = AddTable({CRect(100, 0, 0, 100), CRect(200, 0, 100, 100)}, CRect(200, 0, 0, 100));
    const auto start = Dump(m_pDoc);

    // Add a horizontal line across both cells at y = 50.
    Command(ID_TABLE_LINE_ADD);
    ASSERT_EQ(CDrawTool::s_nCurrentShape, ShapeRuleAdd);
    Drag(At(20, 50), At(180, 50));
    ASSERT_EQ(pTable->GetCellCount(), 4);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoAddLine);
    EXPECT_FALSE(pTable->m_bShowNewLine);
    for (INT_PTR i = 0; i < 4; ++i)
        EXPECT_NEAR(NormalizedRect(pTable->GetCell(i)->m_rect).Height(), 50, 1);
    const auto split = Dump(m_pDoc);
    ExpectUndoRedo(start, split);

    // Delete it again: hover on the line inside the left cell, drag along it.
    pTable = dynamic_cast<CDrawTable*>(Last());
    ASSERT_NE(pTable, nullptr);
    m_pView->Select(pTable);
    Command(ID_TABLE_LINE_DELETE);
    Send(m_pView, WM_MOUSEMOVE, 0, At(40, 51));
    Drag(At(40, 51), At(160, 51));
    EXPECT_EQ(pTable->GetCellCount(), 2);
    EXPECT_EQ(m_pView->GetUndoKind(), CPrintFormView::undoDeleteLine);
    EXPECT_EQ(Dump(m_pDoc).size(), 1u);
    EXPECT_EQ(NormalizedRect(pTable->GetCell(0)->m_rect).Height(), 100);
    ExpectUndoRedo(split, Dump(m_pDoc));
}

TEST_F(LayoutEditorTest, JoinNeedsEqualExtentsAndIgnoresAPointLine)
{
    // A tall cell beside two short ones: deleting the line between them joins nothing.
    CDrawTable* pTable = AddTable({CRect(50, 0, 0, 100), CRect(100, 0, 50, 50), CRect(100, 50, 50, 100)},
                                  CRect(100, 0, 0, 100));
    pTable->m_ptFixed = CPoint(50, 0);
    pTable->m_ptLineStart = CPoint(50, 0);
    pTable->m_ptLineEnd = CPoint(50, 100);
    pTable->JoinCells(m_pView);
    EXPECT_EQ(pTable->GetCellCount(), 3);
    EXPECT_TRUE(m_pDoc->IsModified());

    // A picked line of no length joins nothing (and writes nothing out of bounds).
    pTable->m_ptFixed = CPoint(50, 50);
    pTable->m_ptLineStart = pTable->m_ptLineEnd = CPoint(50, 50);
    pTable->JoinCells(m_pView);
    EXPECT_EQ(pTable->GetCellCount(), 3);

    // The two short cells join upward: the upper one survives over both.
    pTable->GetCell(1)->m_strText = "lower";
    pTable->GetCell(2)->m_strText = "upper";
    pTable->m_ptFixed = CPoint(0, 50);
    pTable->m_ptLineStart = CPoint(50, 50);
    pTable->m_ptLineEnd = CPoint(100, 50);
    pTable->JoinCells(m_pView);
    ASSERT_EQ(pTable->GetCellCount(), 2);
    EXPECT_EQ(pTable->GetCell(1)->m_rect, CRect(100, 0, 50, 100));
    EXPECT_EQ(pTable->GetCell(1)->m_strText, CString("upper"));
}

TEST_F(LayoutEditorTest, CellsAreSelectedByClickCtrlShiftRowAndColumn)
{
    // 3 columns x 2 rows of 100 x 50.
    std::vector<CRect> cells;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j)
            cells.push_back(CRect(100 * (i + 1), 50 * j, 100 * i, 50 * (j + 1)));
    CDrawTable* pTable = AddTable(cells, CRect(300, 0, 0, 100));
    auto selected = [&] {
        std::vector<int> v;
        for (INT_PTR i = 0; i < pTable->GetCellCount(); ++i)
            if (pTable->GetCell(i)->m_bSelected)
                v.push_back(static_cast<int>(i));
        return v;
    };
    Click(At(50, 75)); // column 0, upper row (index 1)
    EXPECT_EQ(selected(), std::vector<int>({1}));
    Click(At(250, 25), MK_CONTROL);
    EXPECT_EQ(selected(), std::vector<int>({1, 4}));
    Click(At(250, 25), MK_CONTROL);
    EXPECT_EQ(selected(), std::vector<int>({1, 4})) << "Ctrl+click keeps a selected cell";
    Click(At(150, 25), MK_SHIFT);
    EXPECT_EQ(selected(), std::vector<int>({1, 4})) << "two cells selected: Shift changes nothing";
    Click(At(50, 75));
    Click(At(150, 25), MK_SHIFT);
    EXPECT_EQ(selected(), std::vector<int>({0, 1, 2, 3}));
    // The row strip beside the left-hand side and the column strip above the table.
    Click(At(-10, 25));
    EXPECT_EQ(selected(), std::vector<int>({0, 2, 4}));
    Click(At(250, 110));
    EXPECT_EQ(selected(), std::vector<int>({4, 5}));
    // Dragging over cells selects what the band meets.
    Drag(At(20, 20), At(120, 30));
    EXPECT_EQ(selected(), std::vector<int>({0, 2}));
}

TEST_F(LayoutEditorTest, TooltipShowsTheTextOfTheCellUnderThePointer)
{
    CDrawTable* pTable = AddTable({CRect(100, 0, 0, 50), CRect(200, 0, 100, 50)}, CRect(200, 0, 0, 50));
    pTable->GetCell(1)->m_strText = "$見積(1,名称^2,3)$"_sj;
    CToolTipCtrl& tip = m_pView->GetToolTip();
    ASSERT_TRUE(tip.IsCreated());
    Send(m_pView, WM_MOUSEMOVE, 0, At(150, 25));
    EXPECT_EQ(tip.GetToolText(m_pView), CString("$見積(1,名称,3)$"_sj)) << "the editor's display form";
    EXPECT_TRUE(tip.IsActive());
    EXPECT_EQ(CDrawingShared::s_nLastTipCell, 1);
    Send(m_pView, WM_MOUSEMOVE, 0, At(400, 25));
    EXPECT_TRUE(tip.GetToolText(m_pView).IsEmpty());
    EXPECT_FALSE(tip.IsActive());
    EXPECT_EQ(CDrawingShared::s_nLastTipCell, -1);
}

TEST_F(LayoutEditorTest, ZoomCommandsSetTheScrollAreaAndTheStoredZoom)
{
    EXPECT_EQ(m_pView->ZoomRect(CRect(1, 2, 3, 4)), CRect(1, 2, 3, 4));
    Command(ID_ZOOM_150);
    EXPECT_EQ(m_pView->GetZoom(), 150);
    EXPECT_EQ(m_pDoc->m_nZoom, 150);
    const CSize ext = *m_pDoc->GetDocExtent();
    // 10000 / 150 truncated is 66.
    EXPECT_EQ(m_pView->GetTotalSize().cx, (ext.cx * 96 + 33) / 66);
    EXPECT_EQ(m_pView->ZoomLength(-24), -36);
    EXPECT_EQ(m_pView->UnzoomPoint(CPoint(-36, 7)), CPoint(-24, 4));
    CDialogAnswerer answerer;
    answerer.AnswerDialog(IDD_ZOOM, [](CDialog& dlg) {
        TypeDlgItemText(dlg, 1031, "401");
        ClickDlgButton(dlg, IDOK); // refused, the dialog stays and ends cancelled
    });
    Command(ID_ZOOM_USER);
    EXPECT_EQ(m_pView->GetZoom(), 150);
    answerer.AnswerDialog(IDD_ZOOM, [](CDialog& dlg) {
        TypeDlgItemText(dlg, 1031, "400");
        ClickDlgButton(dlg, IDOK);
    });
    Command(ID_ZOOM_USER);
    EXPECT_EQ(m_pView->GetZoom(), 400);
    EXPECT_EQ(m_pDoc->m_nZoom, 400);
}

TEST_F(LayoutEditorTest, InactiveViewIgnoresTheMouse)
{
    m_pView->OnActivateView(FALSE, nullptr, m_pView);
    Command(ID_DRAW_RECT);
    Drag(At(-200, 300), At(-100, 200));
    EXPECT_EQ(Count(), 0);
}

TEST_F(LayoutEditorTest, TwoWindowsKeepTheirUndoWithoutTouchingFreedObjects)
{
    CFrameWnd* pFrame2 = m_pDoc->GetDocTemplate()->CreateNewFrame(m_pDoc, m_pView->GetParentFrame());
    ASSERT_NE(pFrame2, nullptr);
    m_pDoc->GetDocTemplate()->InitialUpdateFrame(pFrame2, m_pDoc);
    Pump();
    CPrintFormView* pView2 = ViewOf(m_pDoc, 1);
    ASSERT_NE(pView2, nullptr);

    // Window 1 makes a rectangle; window 2 moves it.
    Activate(m_pView);
    Command(ID_DRAW_RECT);
    Drag(At(-200, 300), At(-100, 200));
    ASSERT_EQ(Count(), 1);
    Activate(pView2);
    Command(pView2, ID_DRAW_SELECT);
    Drag(pView2, At(pView2, -150, 250), At(pView2, -100, 250));
    ASSERT_TRUE(pView2->CanUndo());
    // Window 2 undoes its move: the moved rectangle gives way to its copy. Window 1's
    // record named the rectangle that is gone, so it is dropped.
    Command(pView2, ID_EDIT_UNDO);
    EXPECT_EQ(Count(), 1);
    EXPECT_FALSE(m_pView->CanUndo());
    Activate(m_pView);
    Command(ID_EDIT_UNDO); // nothing to undo, nothing touched
    EXPECT_EQ(Count(), 1);

    // Window 1 moves the rectangle, window 2 makes a second one and undoes it.
    Command(ID_DRAW_SELECT);
    Drag(At(-150, 250), At(-120, 240));
    ASSERT_TRUE(m_pView->CanUndo());
    Activate(pView2);
    Command(pView2, ID_DRAW_RECT);
    Drag(pView2, At(pView2, 0, 0), At(pView2, 50, -50));
    ASSERT_EQ(Count(), 2);
    Command(pView2, ID_EDIT_UNDO);
    EXPECT_EQ(Count(), 1);
    // Window 1's move is still its own and still undoes.
    Activate(m_pView);
    EXPECT_TRUE(m_pView->CanUndo());
    const CRect moved = Last()->m_position;
    Command(ID_EDIT_UNDO);
    EXPECT_NE(Last()->m_position, moved);
    // Window 2 redoes its rectangle; window 1 undoes and redoes its move back and forth.
    Activate(pView2);
    Command(pView2, ID_EDIT_REDO);
    EXPECT_EQ(Count(), 2);
    Activate(m_pView);
    for (int i = 0; i < 3; ++i) {
        Command(ID_EDIT_REDO);
        Command(ID_EDIT_UNDO);
    }
    EXPECT_EQ(Count(), 2);
}

// What changes nothing is no step: after a shading, a click on a table, a cancelled
// 要素幅調整, a double click whose properties are cancelled and 最背面へ移動 on the object
// already at the back, Ctrl+Z still takes the shading back (and Ctrl+Y brings it again).
TEST_F(LayoutEditorTest, AClickOrACommandThatChangesNothingKeepsTheUndoOfTheStepBefore)
{
    auto* pText = new CDrawText(CRect(-300, 300, -100, 250));
    pText->m_strText = "見積"_sj;
    m_pDoc->Add(pText);
    m_pDoc->Add(new CDrawRect(CRect(-300, 200, -50, 150)));
    AddTable({CRect(200, -100, 0, 0)}, CRect(200, -100, 0, 0));
    m_pView->Select(nullptr);
    Click(At(-200, 275));
    const std::vector<std::string> plain = Dump(m_pDoc);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(238, [](CDialog& dlg) {
        auto& d = dynamic_cast<CShadingDialog&>(dlg);
        d.m_nPattern = 10; // 50 %
        d.m_bFill = TRUE;
        d.EndDialog(IDOK);
    });
    Command(ID_DRAW_FILL);
    const std::vector<std::string> shaded = Dump(m_pDoc);
    ASSERT_NE(shaded, plain);

    Click(At(100, -50)); // the table, which does not move
    Click(At(-200, 275));
    Click(At(-150, 175), MK_SHIFT); // the text and the rectangle
    answerer.EndDialogWith(IDD_ELEMENT_WIDTH, IDCANCEL);
    Command(ID_TABLE_ITEM_WIDTH);
    Click(At(300, 300)); // nothing there: the selection is emptied
    Click(At(-200, 275));
    answerer.EndDialogWith(IDD_TEXT_PROP_EM, IDCANCEL);
    Send(m_pView, WM_LBUTTONDBLCLK, MK_LBUTTON, At(-200, 275));
    Send(m_pView, WM_LBUTTONUP, 0, At(-200, 275));
    Command(ID_OBJECT_TO_BACK); // the text was added first: it is at the back already
    EXPECT_EQ(answerer.DialogIds().size(), 3u);
    EXPECT_EQ(Dump(m_pDoc), shaded);

    RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(Dump(m_pDoc), plain);
    RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, Qt::Key_Y);
    EXPECT_EQ(Dump(m_pDoc), shaded);

    // Properties changed through a double click are a step of their own.
    answerer.AnswerDialog(IDD_TEXT_PROP_EM, [](CDialog& dlg) {
        dlg.SetDlgItemText(IDC_TP_FIXED_TEXT, "新"_sj);
        ClickDlgButton(dlg, IDC_TP_UPDATE);
        ClickDlgButton(dlg, IDOK);
    });
    Click(At(300, 300));
    Click(At(-200, 275));
    Send(m_pView, WM_LBUTTONDBLCLK, MK_LBUTTON, At(-200, 275));
    Send(m_pView, WM_LBUTTONUP, 0, At(-200, 275));
    ASSERT_NE(Dump(m_pDoc), shaded);
    RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, Qt::Key_Z);
    EXPECT_EQ(Dump(m_pDoc), shaded);
}

// A rectangle drawn on a first start (no colours in the settings) offers its shading black
// on white: the thirty patterns of the dialog show.
TEST_F(LayoutEditorTest, ANewObjectsShadingIsBlackOnWhite)
{
    Command(ID_DRAW_RECT);
    Drag(At(-200, 300), At(-100, 200));
    Command(ID_DRAW_SELECT);
    COLORREF fore = RGB(1, 2, 3);
    COLORREF back = fore;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(238, [&](CDialog& dlg) {
        auto& d = dynamic_cast<CShadingDialog&>(dlg);
        fore = d.m_foreColor;
        back = d.m_backColor;
        d.EndDialog(IDCANCEL);
    });
    Command(ID_DRAW_FILL);
    EXPECT_EQ(fore, RGB(0, 0, 0));
    EXPECT_EQ(back, RGB(255, 255, 255));
}

TEST_F(LayoutEditorTest, UndoClonesNoListHoldsAreFreed)
{
    auto* pRect = new CDrawRect(CRect(-200, 300, -100, 200));
    m_pDoc->Add(pRect);
    for (int i = 0; i < 20; ++i)
        Drag(At(-150 + i, 250), At(-140 + i, 240));
    // One record: the clones of its before-list only.
    EXPECT_LE(m_pView->GetOwnedCloneCount(), 1);
    Command(ID_EDIT_UNDO);
    EXPECT_LE(m_pView->GetOwnedCloneCount(), 1);
    Command(ID_EDIT_REDO);
    EXPECT_LE(m_pView->GetOwnedCloneCount(), 1);
}

TEST(ToolTipCtrlTest, ToolsTextsActivationAndDelays)
{
    CToolTipCtrl tip;
    EXPECT_FALSE(tip.IsCreated());
    EXPECT_FALSE(tip.AddTool(nullptr, "x"));
    tip.SetDelayTime(500);
    EXPECT_EQ(tip.GetDelayTime(CToolTipCtrl::TTDT_INITIAL), 500);
    EXPECT_EQ(tip.GetDelayTime(CToolTipCtrl::TTDT_AUTOPOP), 5000);
    EXPECT_EQ(tip.GetDelayTime(CToolTipCtrl::TTDT_RESHOW), 100);
    tip.SetDelayTime(CToolTipCtrl::TTDT_INITIAL, 200);
    EXPECT_EQ(tip.GetDelayTime(CToolTipCtrl::TTDT_INITIAL), 200);
    tip.Activate(FALSE);
    EXPECT_FALSE(tip.IsActive());
    EXPECT_FALSE(tip.IsTipShown());
}

namespace {

bool IsItemEnabled(CMenu* pMenu, int nIndex)
{
    return (pMenu->GetMenuState(static_cast<UINT>(nIndex), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

bool Handles(CCmdTarget* pRoute, UINT nID)
{
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    return pRoute->OnCmdMsg(nID, CN_COMMAND, nullptr, &info) != FALSE;
}

// Every item of a pop-up, after the update its owner gives it when it opens, is either
// handled along the route or disabled.
int CheckPopup(CMenu* pPopup, CWnd* pOwner, const std::string& where)
{
    int nChecked = 0;
    pOwner->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pPopup->m_hMenu), 0);
    for (int i = 0; i < pPopup->GetMenuItemCount(); ++i) {
        const UINT nID = pPopup->GetMenuItemID(i);
        if (nID == 0 || nID >= 0xF000)
            continue;
        if (nID == static_cast<UINT>(-1)) {
            nChecked += CheckPopup(pPopup->GetSubMenu(i), pOwner, where + "/" + std::to_string(i));
            continue;
        }
        ++nChecked;
        if (IsItemEnabled(pPopup, i)) {
            EXPECT_TRUE(Handles(pOwner, nID)) << where << ": command " << nID << " enabled without a handler";
        }
    }
    return nChecked;
}

int CheckToolBar(CToolBar& bar, CFrameWnd* pTarget, const std::string& where)
{
    int nChecked = 0;
    bar.OnUpdateCmdUI(pTarget, TRUE);
    for (int i = 0; i < bar.GetCount(); ++i) {
        const UINT nID = bar.GetItemID(i);
        if (nID == 0 || (bar.GetButtonStyle(i) & TBBS_SEPARATOR) != 0)
            continue;
        ++nChecked;
        if ((bar.GetButtonStyle(i) & TBBS_DISABLED) == 0) {
            EXPECT_TRUE(Handles(pTarget, nID)) << where << ": button " << nID << " enabled without a handler";
        }
    }
    return nChecked;
}

} // namespace

TEST_F(LayoutEditorTest, NoLayoutMenuItemOrButtonIsEnabledWithoutAHandler)
{
    CWnd* pMain = AfxGetMainWnd();
    auto* pFrame = dynamic_cast<CChildFormFrame*>(m_pView->GetParentFrame());
    ASSERT_NE(pFrame, nullptr);
    int nChecked = 0;
    for (int nPass = 0; nPass < 2; ++nPass) {
        const std::string state = nPass == 0 ? "nothing selected " : "a table selected ";
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(125));
        for (int i = 0; i < menu.GetMenuItemCount(); ++i)
            if (CMenu* pSub = menu.GetSubMenu(i))
                nChecked += CheckPopup(pSub, pMain, state + "menu 125/" + std::to_string(i));
        // The context menu as the right button opens it.
        bool bShown = false;
        PopupMenuChooser previous = AfxSetPopupMenuChooser([&](CMenu* pPopup) {
            bShown = true;
            nChecked += CheckPopup(pPopup, pMain, state + "context menu");
            return 0u;
        });
        CPoint point = At(30, 30);
        m_pView->ClientToScreen(&point);
        m_pView->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_pView->m_hWnd),
                             MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        AfxSetPopupMenuChooser(previous);
        EXPECT_TRUE(bShown) << state;
        nChecked += CheckToolBar(pFrame->m_wndPrintToolBar, pFrame, state + "print tool bar");
        nChecked += CheckToolBar(pFrame->m_wndPrintEditBar, pFrame, state + "print edit bar");
        AddTable({CRect(100, 0, 0, 100)}, CRect(100, 0, 0, 100));
    }
    EXPECT_GT(nChecked, 80);
    // The tools' buttons carry tips.
    EXPECT_EQ(AfxLoadString(ID_DRAW_RECT), CString("矩形を描きます\n矩形"_sj));
}

TEST_F(LayoutEditorTest, DraggingBelowTheWindowScrollsUntilTheButtonIsReleased)
{
    Command(ID_ZOOM_200); // the page is larger than the window
    // A rectangle near the page's top-left corner, inside the window.
    auto* pRect = new CDrawRect(CRect(-360, 530, -310, 480));
    m_pDoc->Add(pRect);
    CRect client;
    m_pView->GetClientRect(&client);
    const CPoint start = m_pView->GetScrollPosition();
    const CPoint press = At(-335, 505);
    ASSERT_TRUE(client.PtInRect(press));
    Send(m_pView, WM_MOUSEMOVE, 0, press);
    Send(m_pView, WM_LBUTTONDOWN, MK_LBUTTON, press);
    Send(m_pView, WM_MOUSEMOVE, MK_LBUTTON, CPoint(press.x, client.bottom + 20));
    EXPECT_TRUE(
        WaitUntil([&] { return m_pView->GetScrollPosition().y > start.y; }, "the drag to scroll down"));
    EXPECT_EQ(m_pView->GetScrollPosition().x, start.x);
    Send(m_pView, WM_LBUTTONUP, 0, CPoint(press.x, client.bottom + 20));
    DrainEvents();
    const CPoint after = m_pView->GetScrollPosition();
    // Long enough for the scroll timer (a window timer of the shortest period) to tick.
    LetTimersRun(std::chrono::milliseconds(10));
    EXPECT_EQ(m_pView->GetScrollPosition(), after) << "the release stops the scrolling";
    // Home and End scroll nothing.
    m_pView->SendMessage(WM_KEYDOWN, VK_HOME, 0);
    m_pView->SendMessage(WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(m_pView->GetScrollPosition(), after);
    m_pView->SendMessage(WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_LT(m_pView->GetScrollPosition().y, after.y);
}

TEST_F(LayoutEditorTest, FontSizeBoxShowsTheSelectionsCommonHeight)
{
    auto* pFrame = dynamic_cast<CChildFormFrame*>(m_pView->GetParentFrame());
    ASSERT_NE(pFrame, nullptr);
    auto* pText = new CDrawText(CRect(-200, 300, -100, 270));
    pText->m_strText = "A";
    pText->m_logFont.lfHeight = -16;
    m_pDoc->Add(pText);
    m_pView->Select(pText);
    m_pView->UpdateFontSizeCombo();
    EXPECT_EQ(pFrame->m_wndFontSize.GetCurSel(), 4) << "-16 is 12 points";
    pText->m_logFont.lfHeight = -14;
    m_pView->UpdateFontSizeCombo();
    EXPECT_EQ(pFrame->m_wndFontSize.GetCurSel(), -1) << "a height the box does not list";
    // Two texts of different heights are mixed.
    pText->m_logFont.lfHeight = -16;
    auto* pOther = new CDrawText(CRect(-200, 200, -100, 170));
    pOther->m_logFont.lfHeight = -21;
    m_pDoc->Add(pOther);
    m_pView->Select(pOther, TRUE);
    m_pView->UpdateFontSizeCombo();
    EXPECT_EQ(pFrame->m_wndFontSize.GetCurSel(), -1);
    // Painting keeps the box in step.
    m_pView->Select(pOther);
    m_pView->Invalidate(FALSE);
    m_pView->UpdateWindow();
    EXPECT_EQ(pFrame->m_wndFontSize.GetCurSel(), 6) << "-21 is 16 points";
    EXPECT_EQ(CPrintFormView::FontHeightOfSizeIndex(15), -96);
}

TEST_F(LayoutEditorTest, ToolTipControlShowsAfterTheDelayAndFollowsItsText)
{
    CToolTipCtrl& tip = m_pView->GetToolTip();
    tip.SetDelayTime(50);
    tip.UpdateTipText("セル"_sj, m_pView);
    tip.Activate(TRUE);
    MSG msg{m_pView->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(40, 40), 0, POINT{0, 0}};
    tip.RelayEvent(&msg);
    EXPECT_FALSE(tip.IsTipShown()) << "not before the delay";
    EXPECT_TRUE(WaitUntil([&] { return tip.IsTipShown(); }, "the tip to show after its delay"));
    tip.UpdateTipText("", m_pView);
    EXPECT_FALSE(tip.IsTipShown()) << "an empty text hides the tip";
    tip.UpdateTipText("セル"_sj, m_pView);
    tip.RelayEvent(&msg);
    EXPECT_TRUE(WaitUntil([&] { return tip.IsTipShown(); }, "the tip to show again after its delay"));
    MSG press{m_pView->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40), 0, POINT{0, 0}};
    tip.RelayEvent(&press);
    EXPECT_FALSE(tip.IsTipShown()) << "a press hides it";
    tip.RelayEvent(&msg);
    tip.Activate(FALSE);
    LetTimersRun(std::chrono::milliseconds(50)); // the delay, three times over
    EXPECT_FALSE(tip.IsTipShown()) << "a deactivated control shows nothing";
}

TEST_F(LayoutEditorTest, TextCommandAsksForTheTextAndCancelReturnsToSelection)
{
    CDialogAnswerer answerer;
    answerer.EndDialogWith(IDD_TEXT_PROP_EM, IDCANCEL);
    Command(ID_DRAW_TEXT);
    EXPECT_EQ(CDrawTool::s_nCurrentShape, ShapeSelect);
    EXPECT_TRUE(m_pView->GetPendingText().m_strText.IsEmpty());
    answerer.EndDialogWith(IDD_TEXT_PROP_EM, IDOK);
    Command(ID_DRAW_TEXT);
    EXPECT_EQ(CDrawTool::s_nCurrentShape, ShapeText);
}
