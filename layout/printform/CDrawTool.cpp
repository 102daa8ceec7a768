#include "layout/printform/CDrawTool.h"

#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinApi.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

int CDrawTool::s_nCurrentShape = ShapeSelect;
CPoint CDrawTool::s_ptDown;
CPoint CDrawTool::s_ptLast;
UINT CDrawTool::s_nDownFlags = 0;
CPoint CDrawTool::s_ptPrev;
int CDrawTool::s_nSelectMode = selectNone;
int CDrawTool::s_nDragHandle = 0;

namespace {

// Cursor resources of the tools.
constexpr UINT kCursorAddLine = 192;
constexpr UINT kCursorDeleteLine = 193;
constexpr UINT kCursorMove = 273;

std::vector<CDrawTool*>& Tools()
{
    static std::vector<CDrawTool*> tools;
    return tools;
}

void SetAppCursor(UINT nID, LPCTSTR lpszFallback)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    HCURSOR hCursor = nID ? pApp->LoadCursor(nID) : nullptr;
    if (hCursor == nullptr)
        hCursor = pApp->LoadStandardCursor(lpszFallback);
    if (hCursor)
        ::SetCursor(hCursor);
}

void SetStandardCursor(LPCTSTR lpszCursor)
{
    SetAppCursor(0, lpszCursor);
}

CDrawObj* SingleSelection(CPrintFormView* pView)
{
    CDrawObjList& sel = pView->GetSelection();
    return sel.GetCount() == 1 ? sel.GetHead() : nullptr;
}

CDrawTable* SingleSelectedTable(CPrintFormView* pView)
{
    return dynamic_cast<CDrawTable*>(SingleSelection(pView));
}

CRect NormalisedPrintable(CPrintFormView* pView)
{
    return NormalizedRect(pView->GetPrintableRect());
}

bool InPrintable(CPrintFormView* pView, CPoint u)
{
    const CRect p = NormalisedPrintable(pView);
    return u.x >= p.left && u.x <= p.right && u.y >= p.top && u.y <= p.bottom;
}

CPoint Minus(CPoint a, CPoint b)
{
    return CPoint(a.x - b.x, a.y - b.y);
}

CPoint ClampInto(const CRect& n, CPoint u)
{
    return CPoint(std::clamp(u.x, n.left, n.right), std::clamp(u.y, n.top, n.bottom));
}

// The seven tools, made before start-up in this order.
CSelectTool s_selectTool;
CRectTool s_rectTool(ShapeRect);
CRectTool s_lineTool(ShapeLine);
CRectTool s_textTool(ShapeText);
CTableTool s_tableTool;
CRuleAddTool s_ruleAddTool;
CRuleDeleteTool s_ruleDeleteTool;

} // namespace

// ---- The base tool ------------------------------------------------------------------------

CDrawTool::CDrawTool(int nShape) : m_nShape(nShape)
{
    Tools().push_back(this);
}

CDrawTool* CDrawTool::FindTool(int nShape)
{
    for (CDrawTool* pTool : Tools())
        if (pTool->m_nShape == nShape)
            return pTool;
    return nullptr;
}

void CDrawTool::OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    // A click in the layout ends the run of an item active in place in it.
    pView->CloseActiveItem();
    pView->SetCapture();
    s_nDownFlags = nFlags;
    s_ptDown = point;
    pView->ClientToDoc(s_ptDown);
    s_ptLast = point;
}

void CDrawTool::OnLButtonDblClk(CPrintFormView*, UINT, const CPoint&) {}

void CDrawTool::OnLButtonUp(CPrintFormView* pView, UINT, const CPoint& point)
{
    ::ReleaseCapture();
    // A gesture that began an edit and recorded none (a click, a line not drawn) leaves
    // the undo as it was before it.
    pView->EndUndoStep();
    CPoint down = s_ptDown;
    pView->DocToClient(down);
    if (point == down)
        s_nCurrentShape = ShapeSelect;
}

void CDrawTool::OnMouseMove(CPrintFormView*, UINT, const CPoint& point)
{
    s_ptLast = point;
    SetStandardCursor(IDC_ARROW);
}

void CDrawTool::OnEditProperties(CPrintFormView*) {}

void CDrawTool::OnCancel()
{
    s_nCurrentShape = ShapeSelect;
}

// ---- Selecting, moving, resizing ----------------------------------------------------------

CSelectTool::CSelectTool() : CDrawTool(ShapeSelect) {}

void CSelectTool::ComputeMoveLimits(CPrintFormView* pView)
{
    CDrawObjList& sel = pView->GetSelection();
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool bFirst = true;
    for (POSITION pos = sel.GetHeadPosition(); pos != nullptr;) {
        const CRect r = NormalizedRect(sel.GetNext(pos)->m_position);
        if (bFirst) {
            minX = r.left;
            maxX = r.right;
            minY = r.top;
            maxY = r.bottom;
            bFirst = false;
        } else {
            minX = std::min(minX, r.left);
            maxX = std::max(maxX, r.right);
            minY = std::min(minY, r.top);
            maxY = std::max(maxY, r.bottom);
        }
    }
    const CRect p = NormalisedPrintable(pView);
    m_limit = pView->ZoomRect(CRect(p.left - minX, p.top - minY, p.right - maxX, p.bottom - maxY));
}

CPoint CSelectTool::ClampToLimits(CPoint point) const
{
    const int x0 = s_ptDown.x + std::min(m_limit.left, m_limit.right);
    const int x1 = s_ptDown.x + std::max(m_limit.left, m_limit.right);
    const int y0 = s_ptDown.y + std::min(m_limit.top, m_limit.bottom);
    const int y1 = s_ptDown.y + std::max(m_limit.top, m_limit.bottom);
    return CPoint(std::clamp(point.x, x0, x1), std::clamp(point.y, y0, y1));
}

void CSelectTool::OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CPoint d = point;
    pView->ClientToDoc(d);
    const CPoint u = pView->UnzoomPoint(d);
    s_nSelectMode = selectNone;
    CDrawObj* pOne = SingleSelection(pView);
    if (pOne != nullptr) {
        s_nDragHandle = pOne->HitTest(d, pView, TRUE);
        auto* pRect = dynamic_cast<CDrawRect*>(pOne);
        if (pRect && pRect->m_nShape == CDrawRect::line && s_nDragHandle == 2)
            s_nDragHandle = 5;
        if (s_nDragHandle != 0)
            s_nSelectMode = selectSize;
        if (auto* pTable = dynamic_cast<CDrawTable*>(pOne)) {
            pTable->BeginResize(s_nDragHandle);
            if (s_nDragHandle == 0) {
                const CRect cell = pTable->CellFromPoint(u);
                if (cell.Width() != 0 && cell.Height() != 0) {
                    if (nFlags & MK_SHIFT) {
                        if (pTable->GetSelectedCellCount() == 1) {
                            const CRect a = pTable->GetFirstSelectedCellRect();
                            pTable->SelectCellsInRect(u.x, u.y, (a.left + a.right) / 2,
                                                      (a.top + a.bottom) / 2, pView);
                            s_ptPrev = d;
                            CDrawTool::OnLButtonDown(pView, nFlags, point);
                            return;
                        }
                    } else if (nFlags & MK_CONTROL) {
                        pTable->AddCellToSelection(cell, pView);
                    } else {
                        pTable->SelectCellByRect(cell, pView);
                    }
                }
            } else if (s_nDragHandle == CDrawTable::handleRowStrip) {
                pTable->SelectRow(u.y, u.y, pView);
            } else if (s_nDragHandle == CDrawTable::handleColumnStrip) {
                pTable->SelectColumn(u.x, u.x, pView);
            }
        }
    }
    if (s_nSelectMode == selectNone) {
        if (CDrawObj* pObj = pView->GetDocument()->ObjectAt(u)) {
            s_nSelectMode = selectMove;
            if (!pView->IsSelected(pObj))
                pView->Select(pObj, (nFlags & MK_SHIFT) != 0);
            if ((nFlags & MK_CONTROL) && dynamic_cast<CDrawTable*>(pObj) == nullptr)
                pView->CloneSelection();
        }
    }
    if (s_nSelectMode == selectNone) {
        if (!(nFlags & MK_SHIFT))
            pView->Select(nullptr);
        s_nSelectMode = selectNetSelect;
        pView->m_bDragRect = TRUE;
        pView->m_rectDrag = CRect(d, d);
        pView->InvalidateDragRect();
    }
    if (s_nSelectMode == selectMove || s_nSelectMode == selectSize) {
        ComputeMoveLimits(pView);
        m_ptDrag = d;
        if (s_nSelectMode == selectMove)
            m_ptSelStart = pView->GetSelectionTopLeft();
        else if (CDrawObj* pObj = SingleSelection(pView))
            m_rectStart = pObj->m_position;
        pView->CloneSelectionForUndo();
        pView->SetUndoKind(CPrintFormView::undoSelectTool);
        pView->SetUndoFlags(FALSE, FALSE);
    }
    s_ptPrev = d;
    CDrawTool::OnLButtonDown(pView, nFlags, point);
}

void CSelectTool::OnLButtonDblClk(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    if (nFlags & MK_SHIFT) {
        CPoint d = point;
        pView->ClientToDoc(d);
        if (CDrawObj* pObj = pView->GetDocument()->ObjectAt(pView->UnzoomPoint(d)))
            pView->Deselect(pObj);
        return;
    }
    // The properties a double click opens are an edit as the properties command's are.
    if (CDrawObj* pObj = SingleSelection(pView)) {
        pView->CloneSelectionForUndo();
        pObj->OnOpen(pView);
        pView->RememberSelectionForUndo();
        pView->RecordUndo(CPrintFormView::undoInPlace);
    }
}

void CSelectTool::OnEditProperties(CPrintFormView* pView)
{
    if (CDrawObj* pObj = SingleSelection(pView))
        pObj->OnEditProperties();
}

void CSelectTool::OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CPoint d = point;
    pView->ClientToDoc(d);
    const CPoint u = pView->UnzoomPoint(d);
    if (CWnd::GetCapture() != pView) {
        // Hovering.
        if (s_nCurrentShape == ShapeSelect) {
            CDrawObjList& sel = pView->GetSelection();
            if (CDrawObj* pOne = SingleSelection(pView)) {
                auto* pTable = dynamic_cast<CDrawTable*>(pOne);
                if (pTable)
                    pTable->UpdateCellToolTip(u.x, u.y, pView);
                else if (auto* pText = dynamic_cast<CDrawText*>(pOne))
                    pText->UpdateToolTip(u.x, u.y, pView);
                const int nHandle = pOne->HitTest(d, pView, TRUE);
                if (nHandle != 0) {
                    ::SetCursor(pOne->GetHandleCursor(nHandle));
                    return;
                }
                if (!pTable && NormalizedRect(pOne->m_position).PtInRect(u)) {
                    SetAppCursor(kCursorMove, IDC_SIZEALL);
                    return;
                }
            } else if (sel.GetCount() > 1) {
                for (POSITION pos = sel.GetHeadPosition(); pos != nullptr;)
                    if (NormalizedRect(sel.GetNext(pos)->m_position).PtInRect(u)) {
                        SetAppCursor(kCursorMove, IDC_SIZEALL);
                        return;
                    }
            }
        }
        CDrawTool::OnMouseMove(pView, nFlags, point);
        return;
    }

    if (s_nSelectMode == selectNetSelect) {
        s_ptLast = point;
        pView->InvalidateDragRect();
        pView->m_rectDrag = CRect(s_ptDown, d);
        pView->InvalidateDragRect();
    } else if (s_nSelectMode == selectMove) {
        if (CDrawTable* pTable = SingleSelectedTable(pView)) {
            const CPoint down = pView->UnzoomPoint(s_ptDown);
            if (nFlags & MK_CONTROL)
                pTable->AddCellsInRect(down.x, down.y, u.x, u.y, pView);
            else
                pTable->SelectCellsInRect(down.x, down.y, u.x, u.y, pView);
        } else {
            CPoint step;
            if (pView->IsGridShown() && pView->GetZoom() >= 50 && s_nCurrentShape == ShapeSelect) {
                const CPoint target = pView->LimitMoveToPage(s_ptDown, d, m_ptSelStart);
                step = Minus(target, pView->GetSelectionTopLeft());
            } else {
                step = Minus(pView->UnzoomPoint(ClampToLimits(d)), pView->UnzoomPoint(m_ptDrag));
            }
            m_ptDrag = ClampToLimits(d);
            CDrawObjList& sel = pView->GetSelection();
            const bool bSeveral = sel.GetCount() > 1;
            if (step != CPoint(0, 0))
                for (POSITION pos = sel.GetHeadPosition(); pos != nullptr;) {
                    CDrawObj* pObj = sel.GetNext(pos);
                    CRect r = pObj->m_position;
                    r.OffsetRect(step);
                    auto* pTable = dynamic_cast<CDrawTable*>(pObj);
                    if (pTable && bSeveral)
                        pTable->MoveTableTo(r, pView);
                    else
                        pObj->MoveTo(r, pView);
                }
        }
    } else if (s_nSelectMode == selectSize) {
        if (CDrawObj* pObj = SingleSelection(pView)) {
            CPoint target = u;
            const bool bTable = dynamic_cast<CDrawTable*>(pObj) != nullptr;
            if (bTable && s_nDragHandle >= CDrawTable::handleMoveLeft &&
                s_nDragHandle <= CDrawTable::handleMoveBottom) {
                // The move strips move the table by the step since the last move, kept
                // inside the page.
                target =
                    Minus(pView->UnzoomPoint(ClampToLimits(d)), pView->UnzoomPoint(ClampToLimits(s_ptPrev)));
            } else if (bTable && s_nDragHandle >= CDrawTable::handleFirstCellEdge) {
                target = Minus(u, pView->UnzoomPoint(s_ptPrev));
            } else if (pView->IsGridShown() && pView->GetZoom() >= 50) {
                const CPoint p = pView->LimitResizeToPage(m_rectStart, s_ptDown, d, s_nDragHandle);
                target = CPoint(s_nDragHandle == 2 || s_nDragHandle == 6 ? u.x : p.x,
                                s_nDragHandle == 4 || s_nDragHandle == 8 ? u.y : p.y);
            } else {
                target = ClampInto(NormalisedPrintable(pView), u);
            }
            pObj->MoveHandleTo(s_nDragHandle, target, pView);
        }
    }
    s_ptPrev = d;
    s_ptLast = point;
    if (s_nCurrentShape == ShapeSelect) {
        if (s_nSelectMode == selectSize && !m_bFromCreateTool) {
            if (CDrawObj* pObj = SingleSelection(pView))
                ::SetCursor(pObj->GetHandleCursor(s_nDragHandle));
        } else if (s_nSelectMode == selectMove) {
            SetAppCursor(kCursorMove, IDC_SIZEALL);
        } else {
            SetStandardCursor(IDC_ARROW);
        }
    }
}

void CSelectTool::OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    if (CWnd::GetCapture() != pView)
        return;
    if (s_nSelectMode == selectNetSelect) {
        CPoint down = s_ptDown;
        pView->DocToClient(down);
        pView->SelectWithinRect(CRect(down, s_ptLast), TRUE);
        pView->m_bDragRect = FALSE;
        pView->InvalidateDragRect();
    } else if (s_nSelectMode == selectMove || s_nSelectMode == selectSize) {
        pView->GetDocument()->UpdateAllViews(nullptr);
        pView->RememberSelectionForUndo();
        // The kind the gesture began with (a new text's gesture keeps the text's).
        pView->RecordUndo(pView->GetUndoKind());
    }
    CDrawTool::OnLButtonUp(pView, nFlags, point);
}

// ---- Rectangles, lines and texts ----------------------------------------------------------

CRectTool::CRectTool(int nShape) : CDrawTool(nShape) {}

void CRectTool::OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    if (nFlags != MK_LBUTTON) {
        CPoint d = point;
        pView->ClientToDoc(d);
        m_bInPage = InPrintable(pView, pView->UnzoomPoint(d));
        SetStandardCursor(m_bInPage ? IDC_CROSS : IDC_ARROW);
        return;
    }
    if (!m_bInPage)
        return;
    SetStandardCursor(IDC_CROSS);
    if (m_nShape == ShapeRect || m_nShape == ShapeLine) {
        s_selectTool.m_bFromCreateTool = TRUE;
        s_selectTool.OnMouseMove(pView, nFlags, point);
        s_selectTool.m_bFromCreateTool = FALSE;
    }
}

void CRectTool::OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CDrawTool::OnLButtonDown(pView, nFlags, point);
    if (!m_bInPage)
        return;
    CPoint d = point;
    pView->ClientToDoc(d);
    const CRect r = pView->UnzoomRect(CRect(d, d));
    CPrintDoc* pDoc = pView->GetDocument();
    if (m_nShape == ShapeRect || m_nShape == ShapeLine) {
        auto* pObj = new CDrawRect(r);
        pObj->m_nShape = m_nShape == ShapeLine ? CDrawRect::line : CDrawRect::rectangle;
        pDoc->Add(pObj);
        pView->Select(pObj);
        s_selectTool.OnLButtonDown(pView, nFlags, point);
        return;
    }
    // A text takes the pending settings of the view's text command.
    auto* pText = new CDrawText(r);
    const CPendingTextSettings& pending = pView->GetPendingText();
    pText->m_strText = pending.m_strText;
    pText->m_nTimeFormat = pending.m_nTimePicture;
    pText->m_nDateFormat = pending.m_nDatePicture;
    pText->m_nNumberingFormat = pending.m_nNumberingPicture;
    pText->m_nPageFormat = pending.m_nPagePicture;
    pText->m_nPageTotalFormat = pending.m_nPageTotalPicture;
    pText->m_nEstimatePicture = pending.m_nEstimatePicture;
    pText->m_nInformationPicture = pending.m_nInformationPicture;
    pText->m_nPartsPicture = pending.m_nPartsPicture;
    if (!pending.m_bRuledLine)
        pText->m_nLineStyle = 0;
    if (!pending.m_bShading)
        pText->m_nFillPattern = 0;
    pDoc->Add(pText);
    pView->Select(pText);
    if (pText->m_strText.IsEmpty()) {
        // An empty text goes at once and leaves the undo record as it was.
        pView->DestroyObject(pText);
        s_nSelectMode = selectNone;
        CDrawTool::OnLButtonUp(pView, nFlags, point);
        return;
    }
    pText->FitToText(pView);
    pView->RememberSelectionForUndo();
    pView->RecordUndo(CPrintFormView::undoNewText);
    s_nSelectMode = selectSize;
    s_nDragHandle = 1;
    OnMouseMove(pView, nFlags, point);
    OnLButtonUp(pView, nFlags, point);
}

void CRectTool::OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    if (!m_bInPage) {
        CDrawTool::OnLButtonUp(pView, nFlags, point);
        return;
    }
    CPoint down = s_ptDown;
    pView->DocToClient(down);
    if (point == down) {
        if (m_nShape == ShapeRect || m_nShape == ShapeLine) {
            // A click makes nothing: the new object goes again.
            CDrawObjList& sel = pView->GetSelection();
            if (!sel.IsEmpty())
                pView->DestroyObject(sel.GetTail());
            s_selectTool.OnLButtonDown(pView, nFlags, point);
        }
        s_selectTool.OnLButtonUp(pView, nFlags, point);
        return;
    }
    s_selectTool.OnLButtonUp(pView, nFlags, point);
    if (m_nShape == ShapeRect || m_nShape == ShapeLine) {
        pView->RememberSelectionForUndo();
        pView->RecordUndo(CPrintFormView::undoNewShape);
    }
}

// ---- Tables -------------------------------------------------------------------------------

CTableTool::CTableTool() : CDrawTool(ShapeTable) {}

BOOL FitTableCells(int nWidth, int nHeight, int& nCols, int& nRows, BOOL& bColsShort, BOOL& bRowsShort)
{
    int c = std::max(1, nCols);
    int r = std::max(1, nRows);
    bColsShort = FALSE;
    bRowsShort = FALSE;
    if (nWidth / c < CDrawTable::MIN_CELL_SIZE) {
        c = nWidth / CDrawTable::MIN_CELL_SIZE;
        bColsShort = TRUE;
    }
    if (nHeight / r < CDrawTable::MIN_CELL_SIZE) {
        r = nHeight / CDrawTable::MIN_CELL_SIZE;
        bRowsShort = TRUE;
    }
    if (c == 0 || r == 0)
        return FALSE;
    nCols = c;
    nRows = r;
    return TRUE;
}

void CTableTool::OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CPoint d = point;
    pView->ClientToDoc(d);
    const CPoint u = pView->UnzoomPoint(d);
    if (nFlags != MK_LBUTTON) {
        m_bInPage = InPrintable(pView, u);
        SetStandardCursor(m_bInPage ? IDC_CROSS : IDC_ARROW);
        return;
    }
    if (!m_bInPage)
        return;
    SetStandardCursor(IDC_CROSS);
    const CPoint z = pView->ZoomPoint(ClampInto(NormalisedPrintable(pView), u));
    pView->InvalidateDragRect();
    pView->m_rectDrag = CRect(s_ptDown, z);
    pView->InvalidateDragRect();
    s_ptLast = point;
}

void CTableTool::OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    if (!m_bInPage)
        return;
    CPoint d = point;
    pView->ClientToDoc(d);
    pView->m_bDragRect = TRUE;
    pView->m_rectDrag = CRect(d, d);
    pView->InvalidateDragRect();
    s_ptPrev = d;
    CDrawTool::OnLButtonDown(pView, nFlags, point);
}

void CTableTool::OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CPoint down = s_ptDown;
    pView->DocToClient(down);
    if (point != down && m_bInPage && pView->m_bDragRect) {
        const CRect t = NormalizedRect(pView->UnzoomRect(pView->m_rectDrag));
        const int w = t.Width();
        const int h = t.Height();
        int nCols = pView->GetTableCols();
        int nRows = pView->GetTableRows();
        BOOL bColsShort = FALSE, bRowsShort = FALSE;
        bool bMake = true;
        if (!FitTableCells(w, h, nCols, nRows, bColsShort, bRowsShort)) {
            AfxMessageBox("指定範囲が小さすぎるため作表できません。"_sj, MB_OK | MB_ICONSTOP);
            bMake = false;
        }
        if (bMake && bColsShort &&
            AfxMessageBox("範囲が指定した列数に足りません。処理を続けますか。"_sj,
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            bMake = false;
        if (bMake && bRowsShort &&
            AfxMessageBox("範囲が指定した行数に足りません。処理を続けますか。"_sj,
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            bMake = false;
        if (bMake) {
            // Stored with left the larger x and bottom the larger y, as every table is.
            auto* pTable = new CDrawTable(CRect(t.right, t.top, t.left, t.bottom));
            const int cw = w / nCols;
            const int ch = h / nRows;
            for (int i = 0; i < nCols; ++i) {
                const int x0 = t.left + cw * i;
                const int x1 = i == nCols - 1 ? t.right : t.left + cw * (i + 1);
                for (int j = 0; j < nRows; ++j) {
                    const int y0 = t.bottom - ch * j;
                    const int y1 = j == nRows - 1 ? t.top : t.bottom - ch * (j + 1);
                    pTable->AddCell(CRect(x1, y1, x0, y0));
                }
            }
            pTable->BeginResize(0);
            pView->GetDocument()->Add(pTable);
            pView->Select(pTable);
            // Creating a table is one step of the undo, as creating a rectangle is.
            pView->RememberSelectionForUndo();
            pView->RecordUndo(CPrintFormView::undoNewShape);
        }
    }
    m_bInPage = FALSE;
    pView->m_bDragRect = FALSE;
    pView->InvalidateDragRect();
    CDrawTool::OnLButtonUp(pView, nFlags, point);
}

// ---- Ruled lines --------------------------------------------------------------------------

CRuleAddTool::CRuleAddTool() : CDrawTool(ShapeRuleAdd) {}

void CRuleAddTool::OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CDrawTool::OnLButtonDown(pView, nFlags, point);
    const CPoint u = pView->UnzoomPoint(s_ptDown);
    CDrawTable* pTable = SingleSelectedTable(pView);
    if (pTable && pTable->ContainsPoint(u.x, u.y)) {
        m_bDown = TRUE;
        pView->CloneSelectionForUndo();
        pView->SetUndoKind(CPrintFormView::undoAddLine);
        pView->SetUndoFlags(FALSE, FALSE);
    }
}

void CRuleAddTool::OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    s_ptLast = point;
    SetAppCursor(kCursorAddLine, IDC_CROSS);
    CDrawTable* pTable = SingleSelectedTable(pView);
    if (nFlags != MK_LBUTTON || !m_bDown || pTable == nullptr)
        return;
    CPoint down = s_ptDown;
    pView->DocToClient(down);
    const BOOL bHorizontal = std::abs(point.x - down.x) >= std::abs(point.y - down.y);
    CPoint d = point;
    pView->ClientToDoc(d);
    const CPoint u = pView->UnzoomPoint(d);
    const CPoint u0 = pView->UnzoomPoint(s_ptDown);
    pTable->TrackNewLine(u0.x, u0.y, u.x, u.y, bHorizontal, pView);
}

void CRuleAddTool::OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CPoint down = s_ptDown;
    pView->DocToClient(down);
    if (m_bDown && point != down) {
        if (CDrawTable* pTable = SingleSelectedTable(pView)) {
            pTable->SplitCells(pView);
            pView->RememberSelectionForUndo();
            pView->RecordUndo(CPrintFormView::undoAddLine);
        }
    }
    m_bDown = FALSE;
    CDrawTool::OnLButtonUp(pView, nFlags, point);
}

CRuleDeleteTool::CRuleDeleteTool() : CDrawTool(ShapeRuleDelete) {}

void CRuleDeleteTool::OnMouseMove(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    s_ptLast = point;
    CPoint d = point;
    pView->ClientToDoc(d);
    CDrawTable* pTable = SingleSelectedTable(pView);
    if (nFlags != MK_LBUTTON) {
        const int nHandle = pTable ? pTable->HitTest(d, pView, TRUE) : 0;
        if (nHandle >= CDrawTable::handleFirstCellEdge) {
            m_bOverEdge = TRUE;
            const int m = nHandle % 4;
            m_nDirection = m == 0 || m == 2 ? 1 : 0;
            SetAppCursor(kCursorDeleteLine, IDC_CROSS);
        } else {
            m_bOverEdge = FALSE;
            m_nDirection = -1;
            SetStandardCursor(IDC_ARROW);
        }
        return;
    }
    if (m_bDown && m_bOverEdge && pTable) {
        SetAppCursor(kCursorDeleteLine, IDC_CROSS);
        const CPoint u = pView->UnzoomPoint(d);
        const CPoint u0 = pView->UnzoomPoint(s_ptDown);
        pTable->TrackPickedLine(u0.x, u0.y, u.x, u.y, m_nDirection == 1, pView);
    }
}

void CRuleDeleteTool::OnLButtonDown(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CDrawTool::OnLButtonDown(pView, nFlags, point);
    const CPoint u = pView->UnzoomPoint(s_ptDown);
    CDrawTable* pTable = SingleSelectedTable(pView);
    if (pTable && pTable->ContainsPoint(u.x, u.y) && m_bOverEdge) {
        m_bDown = TRUE;
        pView->CloneSelectionForUndo();
        pView->SetUndoKind(CPrintFormView::undoDeleteLine);
        pView->SetUndoFlags(FALSE, FALSE);
    }
}

void CRuleDeleteTool::OnLButtonUp(CPrintFormView* pView, UINT nFlags, const CPoint& point)
{
    CPoint down = s_ptDown;
    pView->DocToClient(down);
    if (m_bDown && point != down) {
        if (CDrawTable* pTable = SingleSelectedTable(pView)) {
            pTable->JoinCells(pView);
            pView->RememberSelectionForUndo();
            pView->RecordUndo(CPrintFormView::undoDeleteLine);
        }
    }
    m_bDown = FALSE;
    m_bOverEdge = FALSE;
    m_nDirection = -1;
    CDrawTool::OnLButtonUp(pView, nFlags, point);
}
