// The commands of the layout editor's view: zoom, grid and print-limit display, the drawing
// tools, cancel, and the zoom box of the main frame.
#include "app/CMainFrame.h"
#include "app/CMorvelApp.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CEditorDialogs.h"
#include "layout/printform/CPrintDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "layout/printform/CZoomDialog.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "resources/ChildFrameIds.h"
#include "resources/EstimateEditIds.h"
#include "resources/PrintFormEditorResources.h"
#include "resources/ResourceIds.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CPrintFormView, CScrollView)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_KEYDOWN()
ON_WM_SETFOCUS()
ON_WM_SIZE()
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
ON_COMMAND(ID_ZOOM_25, OnZoom25)
ON_COMMAND(ID_ZOOM_50, OnZoom50)
ON_COMMAND(ID_ZOOM_75, OnZoom75)
ON_COMMAND(ID_ZOOM_100, OnZoom100)
ON_COMMAND(ID_ZOOM_150, OnZoom150)
ON_COMMAND(ID_ZOOM_200, OnZoom200)
ON_COMMAND(ID_ZOOM_USER, OnZoomUser)
ON_UPDATE_COMMAND_UI(ID_ZOOM_25, OnUpdateZoom25)
ON_UPDATE_COMMAND_UI(ID_ZOOM_50, OnUpdateZoom50)
ON_UPDATE_COMMAND_UI(ID_ZOOM_75, OnUpdateZoom75)
ON_UPDATE_COMMAND_UI(ID_ZOOM_100, OnUpdateZoom100)
ON_UPDATE_COMMAND_UI(ID_ZOOM_150, OnUpdateZoom150)
ON_UPDATE_COMMAND_UI(ID_ZOOM_200, OnUpdateZoom200)
ON_UPDATE_COMMAND_UI(ID_ZOOM_USER, OnUpdateZoomUser)
ON_CBN_SELCHANGE(IDC_ZOOM_BOX, OnZoomBoxChange)
ON_COMMAND(ID_VIEW_GRID, OnViewGrid)
ON_UPDATE_COMMAND_UI(ID_VIEW_GRID, OnUpdateViewGrid)
ON_COMMAND(ID_VIEW_PRINT_LIMIT, OnViewPrintLimit)
ON_UPDATE_COMMAND_UI(ID_VIEW_PRINT_LIMIT, OnUpdateViewPrintLimit)
ON_COMMAND(ID_DRAW_SELECT, OnDrawSelect)
ON_COMMAND(ID_DRAW_RECT, OnDrawRect)
ON_COMMAND(ID_DRAW_LINE, OnLineTool)
ON_COMMAND(ID_DRAW_TABLE, OnDrawTable)
ON_COMMAND(ID_TABLE_LINE_ADD, OnLineAdd)
ON_COMMAND(ID_TABLE_LINE_DELETE, OnLineDelete)
ON_UPDATE_COMMAND_UI(ID_DRAW_SELECT, OnUpdateDrawSelect)
ON_UPDATE_COMMAND_UI(ID_DRAW_RECT, OnUpdateDrawRect)
ON_UPDATE_COMMAND_UI(ID_DRAW_LINE, OnUpdateLineTool)
ON_UPDATE_COMMAND_UI(ID_DRAW_TABLE, OnUpdateDrawTable)
ON_UPDATE_COMMAND_UI(ID_TABLE_LINE_ADD, OnUpdateLineAdd)
ON_UPDATE_COMMAND_UI(ID_TABLE_LINE_DELETE, OnUpdateLineDelete)
ON_COMMAND(ID_EDITOR_CANCEL, OnCancel)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
END_MESSAGE_MAP()

void CPrintFormView::ApplyZoom(int nZoom)
{
    nZoom = std::clamp(nZoom, static_cast<int>(MIN_ZOOM), static_cast<int>(MAX_ZOOM));
    if (nZoom == m_nZoom)
        return;
    m_nZoom = nZoom;
    CPrintDoc* pDoc = GetDocument();
    SetPageSize(*pDoc->GetDocExtent());
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintAll);
    pDoc->m_nZoom = nZoom;
}

void CPrintFormView::SetFixedZoom(int nZoom)
{
    if (nZoom == m_nZoom)
        return;
    ApplyZoom(nZoom);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->SelectZoomEntry(nZoom);
}

void CPrintFormView::OnZoom25()
{
    SetFixedZoom(25);
}
void CPrintFormView::OnZoom50()
{
    SetFixedZoom(50);
}
void CPrintFormView::OnZoom75()
{
    SetFixedZoom(75);
}
void CPrintFormView::OnZoom100()
{
    SetFixedZoom(100);
}
void CPrintFormView::OnZoom150()
{
    SetFixedZoom(150);
}
void CPrintFormView::OnZoom200()
{
    SetFixedZoom(200);
}

void CPrintFormView::OnZoomUser()
{
    CZoomDialog dialog(m_nZoom, this);
    if (dialog.DoModal() != IDOK || dialog.m_nZoom == m_nZoom)
        return;
    ApplyZoom(dialog.m_nZoom);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->ShowUserZoom(m_nZoom);
}

void CPrintFormView::OnUpdateZoom25(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nZoom == 25);
}
void CPrintFormView::OnUpdateZoom50(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nZoom == 50);
}
void CPrintFormView::OnUpdateZoom75(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nZoom == 75);
}
void CPrintFormView::OnUpdateZoom100(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nZoom == 100);
}
void CPrintFormView::OnUpdateZoom150(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nZoom == 150);
}
void CPrintFormView::OnUpdateZoom200(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_nZoom == 200);
}
void CPrintFormView::OnUpdateZoomUser(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(!CMainFrame::IsZoomStep(m_nZoom));
}

void CPrintFormView::OnZoomBoxChange()
{
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->SendZoomCommand(this);
}

void CPrintFormView::OnViewGrid()
{
    m_bGrid = !m_bGrid;
    GetDocument()->UpdateAllViews(nullptr, CPrintDoc::hintAll);
}

void CPrintFormView::OnUpdateViewGrid(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bGrid);
}

void CPrintFormView::OnViewPrintLimit()
{
    m_bPrintLimit = !m_bPrintLimit;
    GetDocument()->UpdateAllViews(nullptr, CPrintDoc::hintAll);
}

void CPrintFormView::OnUpdateViewPrintLimit(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_bPrintLimit);
}

// ---- Tools --------------------------------------------------------------------------------

void CPrintFormView::SetCurrentShape(int nShape)
{
    CDrawTool::s_nCurrentShape = nShape;
}

void CPrintFormView::UpdateShapeCheck(CCmdUI* pCmdUI, int nShape)
{
    pCmdUI->SetCheck(CDrawTool::s_nCurrentShape == nShape);
}

void CPrintFormView::SetTableSize(int nRows, int nCols)
{
    m_nTableRows = std::clamp(nRows, 1, 100);
    m_nTableCols = std::clamp(nCols, 1, 100);
}

BOOL CPrintFormView::IsOneTableSelected()
{
    return m_selection.GetCount() == 1 && dynamic_cast<CDrawTable*>(m_selection.GetHead()) != nullptr;
}

void CPrintFormView::OnDrawSelect()
{
    SetCurrentShape(ShapeSelect);
}
void CPrintFormView::OnDrawRect()
{
    SetCurrentShape(ShapeRect);
}
void CPrintFormView::OnLineTool()
{
    SetCurrentShape(ShapeLine);
}

void CPrintFormView::OnDrawTable()
{
    SetCurrentShape(ShapeTable);
    CInsertTableDialog dialog(this);
    dialog.m_nRows = static_cast<UINT>(m_nTableRows);
    dialog.m_nCols = static_cast<UINT>(m_nTableCols);
    if (dialog.DoModal() == IDOK)
        SetTableSize(static_cast<int>(dialog.m_nRows), static_cast<int>(dialog.m_nCols));
}

void CPrintFormView::OnLineAdd()
{
    SetCurrentShape(ShapeRuleAdd);
}
void CPrintFormView::OnLineDelete()
{
    SetCurrentShape(ShapeRuleDelete);
}

void CPrintFormView::OnUpdateDrawSelect(CCmdUI* pCmdUI)
{
    UpdateShapeCheck(pCmdUI, ShapeSelect);
}
void CPrintFormView::OnUpdateDrawText(CCmdUI* pCmdUI)
{
    UpdateShapeCheck(pCmdUI, ShapeText);
}
void CPrintFormView::OnUpdateDrawRect(CCmdUI* pCmdUI)
{
    UpdateShapeCheck(pCmdUI, ShapeRect);
}
void CPrintFormView::OnUpdateLineTool(CCmdUI* pCmdUI)
{
    UpdateShapeCheck(pCmdUI, ShapeLine);
}
void CPrintFormView::OnUpdateDrawTable(CCmdUI* pCmdUI)
{
    UpdateShapeCheck(pCmdUI, ShapeTable);
}
void CPrintFormView::OnUpdateLineAdd(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsOneTableSelected());
    UpdateShapeCheck(pCmdUI, ShapeRuleAdd);
}
void CPrintFormView::OnUpdateLineDelete(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsOneTableSelected());
    UpdateShapeCheck(pCmdUI, ShapeRuleDelete);
}

void CPrintFormView::OnCancel()
{
    CloseActiveItem();
    ::ReleaseCapture();
    if (CDrawTool* pTool = CDrawTool::FindTool(CDrawTool::s_nCurrentShape))
        pTool->OnCancel();
    SetCurrentShape(ShapeSelect);
}

// ---- Printer set-up and the context menu --------------------------------------------------

void CPrintFormView::OnFilePrintSetup()
{
    auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp());
    CPrintDoc* pDoc = GetDocument();
    if (pApp == nullptr || pDoc == nullptr)
        return;
    pApp->OnFilePrintSetup();
    // The page follows the printer now chosen.
    *pDoc->GetPrintableRect() = pApp->GetPrinterMargins();
    pDoc->ComputePaperSize();
    SetPageSize(*pDoc->GetDocExtent());
    pDoc->UpdateAllViews(nullptr, CPrintDoc::hintAll);
}

void CPrintFormView::OnContextMenu(CWnd*, CPoint point)
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->ActivateFrame();
    CPoint local = point;
    ScreenToClient(&local);
    ClientToDoc(local);
    CDrawObj* pObj = GetDocument()->ObjectAt(UnzoomPoint(local));
    if (pObj && CDrawTool::s_nCurrentShape != ShapeRuleAdd && CDrawTool::s_nCurrentShape != ShapeRuleDelete &&
        !IsSelected(pObj)) {
        Select(pObj);
        UpdateWindow();
    }
    CMenu menu;
    if (!menu.LoadMenu(IDR_EDITOR_CONTEXT_MENU))
        return;
    if (CMenu* pPopup = menu.GetSubMenu(0))
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, AfxGetMainWnd());
}
