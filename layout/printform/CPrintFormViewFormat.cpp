// The layout view's shape formatting: ruled lines, shading, equal widths and heights, line
// spacing, the grid width and a repaint; the shape census that enables them; and the
// enabling of the pattern and line-style boxes and of printing, which this view leaves to
// the estimate and parts windows.
//
// Each command acts either on the selected texts, rectangles and lines, or on the selected
// cells of one selected table, never on both: a selection mixing tables and other objects
// disables it.
#include "app/CAutoScrollWnd.h"
#include "app/CMainFrame.h"
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/CElementWidthDialog.h"
#include "layout/drawing/CRowHeightDialog.h"
#include "layout/drawing/CShadingDialog.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CEditorDialogs.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "layout/printform/CRuledLineDialog.h"
#include "layout/printform/CTableRuledLineDialog.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

std::vector<CDrawObj*> Objects(const CDrawObjList& list)
{
    std::vector<CDrawObj*> out;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        out.push_back(list.GetNext(pos));
    return out;
}

bool IsShape(CDrawObj* pObj)
{
    return dynamic_cast<CDrawText*>(pObj) != nullptr || dynamic_cast<CDrawRect*>(pObj) != nullptr;
}

// The shape census: counts the selected texts and rectangles and the selected tables, and
// says whether the shape commands may act.
bool ShapeCensus(CDrawObjList& sel, CPrintFormEditState& e)
{
    e.nShapeTexts = 0;
    e.nShapeTables = 0;
    if (sel.IsEmpty())
        return false;
    if (sel.GetCount() == 1) {
        CDrawObj* pObj = sel.GetHead();
        if (dynamic_cast<CDrawOleObj*>(pObj))
            return false;
        if (auto* pTable = dynamic_cast<CDrawTable*>(pObj)) {
            e.nShapeTables = 1;
            return pTable->GetSelectedCellCount() > 0;
        }
        if (IsShape(pObj))
            e.nShapeTexts = 1;
        return e.nShapeTexts == 1;
    }
    for (CDrawObj* pObj : Objects(sel)) {
        if (dynamic_cast<CDrawTable*>(pObj))
            ++e.nShapeTables;
        else if (IsShape(pObj))
            ++e.nShapeTexts;
    }
    return e.nShapeTables == 0 && e.nShapeTexts > 0;
}

bool IsObjectTarget(const CPrintFormEditState& e)
{
    return e.nShapeTables == 0 && e.nShapeTexts > 0;
}

// The one selected table with selected cells, when the census makes it the target.
CDrawTable* CellTarget(CDrawObjList& sel, const CPrintFormEditState& e)
{
    if (e.nShapeTexts != 0 || e.nShapeTables != 1 || sel.GetCount() != 1)
        return nullptr;
    auto* pTable = dynamic_cast<CDrawTable*>(sel.GetHead());
    return pTable != nullptr && pTable->GetSelectedCellCount() > 0 ? pTable : nullptr;
}

} // namespace

BOOL CPrintFormView::TakeShapeCensus()
{
    return ShapeCensus(m_selection, m_edit) ? TRUE : FALSE;
}

void CPrintFormView::UpdateShapeCensusItem(CCmdUI* pCmdUI)
{
    const bool bEligible = ShapeCensus(m_selection, m_edit);
    pCmdUI->Enable(bEligible && CDrawTool::s_nCurrentShape == ShapeSelect);
}

void CPrintFormView::OnUpdateRuledLine(CCmdUI* pCmdUI)
{
    UpdateShapeCensusItem(pCmdUI);
}
void CPrintFormView::OnUpdateShading(CCmdUI* pCmdUI)
{
    UpdateShapeCensusItem(pCmdUI);
}
void CPrintFormView::OnUpdateElementWidth(CCmdUI* pCmdUI)
{
    UpdateShapeCensusItem(pCmdUI);
}
void CPrintFormView::OnUpdateRowHeight(CCmdUI* pCmdUI)
{
    UpdateShapeCensusItem(pCmdUI);
}
void CPrintFormView::OnUpdateLineSpacing(CCmdUI* pCmdUI)
{
    UpdateShapeCensusItem(pCmdUI);
}
void CPrintFormView::OnUpdatePatternCombo(CCmdUI* pCmdUI)
{
    UpdateShapeCensusItem(pCmdUI);
}

void CPrintFormView::OnUpdateLineStyleCombo(CCmdUI* pCmdUI)
{
    const bool bAddLine = CDrawTool::s_nCurrentShape == ShapeRuleAdd;
    pCmdUI->Enable(bAddLine && m_selection.GetCount() == 1 &&
                   dynamic_cast<CDrawTable*>(m_selection.GetHead()) != nullptr);
    pCmdUI->SetRadio(bAddLine);
}

void CPrintFormView::OnUpdateGridWidth(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bGrid);
}

void CPrintFormView::OnUpdatePrintDisabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

// ---- 罫線 ---------------------------------------------------------------------------------

void CPrintFormView::OnRuledLine()
{
    ShapeCensus(m_selection, m_edit);
    if (IsObjectTarget(m_edit)) {
        CRuledLineDialog dialog(this);
        dialog.m_clrLine = 0;
        dialog.m_nLineStyle = 1;
        if (m_edit.nShapeTexts == 1) {
            for (CDrawObj* pObj : Objects(m_selection))
                if (IsShape(pObj)) {
                    dialog.m_clrLine = pObj->m_lineColor;
                    dialog.m_nLineStyle = pObj->m_nLineStyle;
                    break;
                }
        }
        if (dialog.DoModal() != IDOK)
            return;
        CloneSelectionForUndo();
        for (CDrawObj* pObj : Objects(m_selection)) {
            if (dynamic_cast<CDrawText*>(pObj))
                pObj->SetFrameLine(dialog.m_clrLine, dialog.m_nLineStyle);
            else if (dynamic_cast<CDrawRect*>(pObj))
                pObj->SetLine(dialog.m_clrLine, dialog.m_nLineStyle);
        }
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
        return;
    }
    if (CDrawTable* pTable = CellTarget(m_selection, m_edit)) {
        CTableRuledLineDialog dialog(this);
        if (dialog.DoModal() != IDOK)
            return;
        CloneSelectionForUndo();
        pTable->SetBorders(dialog.m_clrInnerV, dialog.m_clrInnerH, dialog.m_nInnerV, dialog.m_nInnerH,
                           dialog.m_clrLeft, dialog.m_clrRight, dialog.m_clrTop, dialog.m_clrBottom,
                           dialog.m_nLeft, dialog.m_nRight, dialog.m_nTop, dialog.m_nBottom,
                           dialog.m_nPattern);
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
    }
}

// ---- 網かけ -------------------------------------------------------------------------------

void CPrintFormView::OnShading()
{
    ShapeCensus(m_selection, m_edit);
    if (IsObjectTarget(m_edit)) {
        CShadingDialog dialog(this);
        if (m_edit.nShapeTexts == 1) {
            for (CDrawObj* pObj : Objects(m_selection))
                if (IsShape(pObj)) {
                    dialog.m_nPattern = pObj->m_nFillPattern;
                    dialog.m_foreColor = pObj->m_foreColor;
                    dialog.m_backColor = pObj->m_backColor;
                    dialog.m_bFill = pObj->m_bFill;
                    break;
                }
        }
        if (dialog.DoModal() != IDOK)
            return;
        CloneSelectionForUndo();
        for (CDrawObj* pObj : Objects(m_selection))
            if (IsShape(pObj))
                pObj->SetShading(dialog.m_bFill, dialog.m_nPattern, dialog.m_foreColor, dialog.m_backColor);
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
        return;
    }
    if (CDrawTable* pTable = CellTarget(m_selection, m_edit)) {
        CShadingDialog dialog(this);
        pTable->GetSelectedCellShading(&dialog.m_nPattern, &dialog.m_foreColor, &dialog.m_backColor,
                                       &dialog.m_bFill);
        if (dialog.DoModal() != IDOK)
            return;
        CloneSelectionForUndo();
        pTable->SetShading(dialog.m_bFill, dialog.m_nPattern, dialog.m_foreColor, dialog.m_backColor);
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
    }
}

// ---- 要素幅調整, 行高さ調整 ---------------------------------------------------------------

void CPrintFormView::OnElementWidth()
{
    ShapeCensus(m_selection, m_edit);
    if (IsObjectTarget(m_edit)) {
        if (m_edit.nShapeTexts < 2)
            return;
        CloneSelectionForUndo();
        CElementWidthDialog dialog(this);
        if (dialog.DoModal() == IDOK) {
            std::vector<int> widths;
            for (CDrawObj* pObj : Objects(m_selection))
                widths.push_back(std::abs(pObj->m_position.right - pObj->m_position.left));
            const int nWidth = ElementWidthFor(dialog.m_nChoice, widths);
            for (CDrawObj* pObj : Objects(m_selection))
                pObj->SetWidth(this, nWidth);
        }
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
        return;
    }
    if (CDrawTable* pTable = CellTarget(m_selection, m_edit)) {
        CloneSelectionForUndo();
        pTable->SetWidth(this, 0);
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
    }
}

void CPrintFormView::OnRowHeight()
{
    ShapeCensus(m_selection, m_edit);
    if (IsObjectTarget(m_edit)) {
        if (m_edit.nShapeTexts < 2)
            return;
        CloneSelectionForUndo();
        CRowHeightDialog dialog(this);
        if (dialog.DoModal() == IDOK) {
            std::vector<int> heights;
            for (CDrawObj* pObj : Objects(m_selection))
                heights.push_back(std::abs(pObj->m_position.top - pObj->m_position.bottom));
            const int nHeight = ElementWidthFor(dialog.m_nChoice, heights);
            for (CDrawObj* pObj : Objects(m_selection))
                pObj->SetHeight(this, nHeight);
        }
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
        return;
    }
    if (CDrawTable* pTable = CellTarget(m_selection, m_edit)) {
        CloneSelectionForUndo();
        pTable->SetHeight(this, 0); // asks for the choice itself
        RememberSelectionForUndo();
        RecordUndo(undoInPlace);
    }
}

// ---- 行間指定 -----------------------------------------------------------------------------
// Stacks the selected objects downwards from the highest one, a fixed gap apart.

void CPrintFormView::OnLineSpacing()
{
    ShapeCensus(m_selection, m_edit);
    if (!IsObjectTarget(m_edit) || m_edit.nShapeTexts < 2)
        return;
    CloneSelectionForUndo();
    CLineSpacingDialog dialog(this);
    dialog.m_nSpacing = 10;
    if (dialog.DoModal() == IDOK) {
        struct Record {
            CDrawObj* pObj;
            int nLeft, nRight, nLower, nUpper;
        };
        std::vector<Record> records;
        for (CDrawObj* pObj : Objects(m_selection)) {
            const CRect& r = pObj->m_position;
            records.push_back({pObj, r.left, r.right, std::min(r.top, r.bottom), std::max(r.top, r.bottom)});
        }
        // Highest first; objects of equal height keep their selection order.
        std::stable_sort(records.begin(), records.end(),
                         [](const Record& a, const Record& b) { return a.nUpper > b.nUpper; });
        const int nGap = static_cast<int>(dialog.m_nSpacing);
        int nCursor = records.front().nLower;
        for (size_t i = 1; i < records.size(); ++i) {
            const Record& rec = records[i];
            const int nHeight = rec.nUpper - rec.nLower;
            const int nUpper = nCursor - nGap;
            const int nLower = nUpper - nHeight;
            rec.pObj->MoveTo(CRect(rec.nLeft, nLower, rec.nRight, nUpper), this);
            nCursor = nLower;
        }
    }
    RememberSelectionForUndo();
    RecordUndo(undoInPlace);
}

// ---- Grid width, refresh, focus -----------------------------------------------------------

void CPrintFormView::OnGridWidth()
{
    CGridWidthDialog dialog(this);
    dialog.m_nWidth = static_cast<UINT>(m_nGridPitch);
    if (dialog.DoModal() != IDOK)
        return;
    m_nGridPitch = std::clamp(static_cast<int>(dialog.m_nWidth), 5, 50);
    Invalidate(FALSE);
}

void CPrintFormView::OnRefresh()
{
    Invalidate(FALSE);
}

// The zoom box shows this view's user zoom in its last entry only while the view has the
// keyboard; afterwards the entry reads as the command again.
void CPrintFormView::OnKillFocus(CWnd* pNewWnd)
{
    CScrollView::OnKillFocus(pNewWnd);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->OfferUserZoom();
}

// The middle button alone (no Ctrl, no Shift, no other button) starts the auto-scroll
// window for this view.
void CPrintFormView::OnMButtonDown(UINT nFlags, CPoint point)
{
    if ((nFlags & MK_CONTROL) == 0 && nFlags == MK_MBUTTON) {
        (new CAutoScrollWnd)->StartAutoScroll(this);
        return;
    }
    CScrollView::OnMButtonDown(nFlags, point);
}
