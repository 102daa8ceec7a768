// The small commands and services of the parts grid: the unit pick (a unit picked is
// undone as typing is), the environment settings, the status text, the zoom commands with
// the main frame's zoom box, and the repaint of one row's head.
#include "app/CChildPMFrame.h"
#include "app/CMainFrame.h"
#include "app/CMorvelSettings.h"
#include "app/CShellServices.h"
#include "grid/ModelessMessages.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "resources/ResourceIds.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// The unit pick

void CMorvelPMView::OpenUnitPick()
{
    if (m_pUnitDlg != nullptr || !IsUnitColumn(GetCurrentCol()))
        return;
    m_pUnitDlg = CShellServices::CreateUnitPick(this, GetCellText(GetCurrentRow(), GetCurrentCol()));
}

void CMorvelPMView::OnUnit()
{
    if (!IsUnitColumn(GetCurrentCol()))
        return;
    // A unit typed so far is kept; the one picked then replaces it, and no text is left in
    // the editor to be stored later.
    if (m_nEditState == editOpen)
        CommitEdit(FALSE);
    OpenUnitPick();
    HideCellEdit();
}

void CMorvelPMView::OnUpdateUnit(CCmdUI* pCmdUI)
{
    // Enabled only where a unit pick can open: on a unit column, while none is open, and
    // when the program offers the pick list.
    pCmdUI->Enable(IsUnitColumn(GetCurrentCol()) && m_pUnitDlg == nullptr &&
                   static_cast<bool>(CShellServices::Get().createUnitPick));
}

LRESULT CMorvelPMView::OnPickUnit(WPARAM /*wParam*/, LPARAM lParam)
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (const CString* pUnit = reinterpret_cast<const CString*>(lParam);
        pUnit != nullptr && pDoc != nullptr) {
        // The unit the cell holds already leaves the record and the redo there were.
        RecordRowsChanged(pDoc->Model().StoreCellText(GetCurrentRow(), GetCurrentCol(), *pUnit),
                          GetCurrentRow(), GetCurrentRow());
        if (m_hWnd != nullptr)
            UpdateWindow();
    }
    // Picked or not, the cursor moves on as after an input.
    MoveAfterInput();
    return 0;
}

LRESULT CMorvelPMView::OnModelessClosed(WPARAM wParam, LPARAM /*lParam*/)
{
    if (wParam == MODELESS_UNIT_PICK)
        m_pUnitDlg = nullptr;
    else if (wParam == MODELESS_FIND)
        m_pFindDlg = nullptr;
    else if (wParam == MODELESS_REPLACE)
        m_pReplaceDlg = nullptr;
    return 0;
}

void CMorvelPMView::OnDestroy()
{
    // The modeless dialogs go with the view.
    for (CWnd** ppDialog : {&m_pUnitDlg, &m_pFindDlg, &m_pReplaceDlg}) {
        CWnd* pDialog = *ppDialog;
        *ppDialog = nullptr;
        if (pDialog != nullptr && pDialog->m_hWnd != nullptr)
            pDialog->DestroyWindow();
    }
    CMorvelView::OnDestroy();
}

// ---------------------------------------------------------------------------------------
// Environment settings

void CMorvelPMView::ReloadDisplaySettings(int nHeaderBase)
{
    if (CMorvelPMDoc* pDoc = GetDocument())
        pDoc->LoadDisplaySettings();
    m_nHeaderHeightBase = nHeaderBase;
    ApplyZoom();
}

void CMorvelPMView::OnEnvironment()
{
    if (CShellServices::RunViewEnvironmentSheet(this, 0) != IDOK)
        return;
    ApplyEnvironmentToAllLists();
}

void CMorvelPMView::ApplyEnvironmentToAllLists()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    pDoc->LoadDisplaySettings();
    const int nRowBase = MeasureBaseRowHeight();
    // The title header takes the height of the rows, in this list and in every other open
    // parts list (every pane of each, so that the panes of a split list stay alike).
    ReloadDisplaySettings(nRowBase);
    CMainFrame* pFrame = CMainFrame::GetMain();
    if (pFrame == nullptr)
        return;
    pFrame->ResetMDIChildWalk();
    while (CMDIChildWnd* pChild = pFrame->GetNextMDIChild()) {
        auto* pPartsFrame = dynamic_cast<CChildPMFrame*>(pChild);
        if (pPartsFrame == nullptr)
            continue;
        // A frame that never had the keyboard has no active view yet: its first pane.
        auto* pView = dynamic_cast<CMorvelPMView*>(pPartsFrame->GetActiveView());
        if (pView == nullptr && pPartsFrame->m_wndSplitter.m_hWnd != nullptr)
            pView = dynamic_cast<CMorvelPMView*>(pPartsFrame->m_wndSplitter.GetPane(0, 0));
        CMorvelPMDoc* pOtherDoc = pView != nullptr ? pView->GetDocument() : nullptr;
        if (pOtherDoc == nullptr)
            continue;
        pOtherDoc->LoadDisplaySettings();
        POSITION pos = pOtherDoc->GetFirstViewPosition();
        while (pos != nullptr) {
            if (auto* pPane = dynamic_cast<CMorvelPMView*>(pOtherDoc->GetNextView(pos)))
                pPane->ReloadDisplaySettings(pPane->MeasureBaseRowHeight());
        }
    }
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos != nullptr) {
        if (auto* pPane = dynamic_cast<CMorvelPMView*>(pDoc->GetNextView(pos));
            pPane != nullptr && pPane != this)
            pPane->ReloadDisplaySettings(nRowBase);
    }
}

// ---------------------------------------------------------------------------------------
// Status text, focus and the zoom box

CString CMorvelPMView::GetStatusText() const
{
    const CMorvelPMDoc* pDoc = GetDocument();
    CString str;
    str.Format("%4d 行 %3d 列  最大行 %d "_sj, GetCurrentRow() + 1, GetCurrentCol() + 1,
               pDoc != nullptr ? pDoc->GetRowsInUse() : GetUsedRows());
    return str;
}

void CMorvelPMView::UpdateStatusText()
{
    if (CMainFrame* pFrame = CMainFrame::GetMain()) {
        pFrame->SetStatusPane(ID_INDICATOR_PANE2, CString(), CMainFrame::paneWidensToText);
        pFrame->SetStatusPane(ID_INDICATOR_PANE1, GetStatusText(), CMainFrame::paneWidensToText);
    }
}

void CMorvelPMView::OnSetFocus(CWnd* pOldWnd)
{
    CMorvelView::OnSetFocus(pOldWnd);
    UpdateStatusText();
}

void CMorvelPMView::OnKillFocus(CWnd* pNewWnd)
{
    CMorvelView::OnKillFocus(pNewWnd);
    CMainFrame* pFrame = CMainFrame::GetMain();
    if (pFrame != nullptr && !CMainFrame::KeepsStatusPanes(this, pNewWnd))
        pFrame->ClearStatusPanes();
}

void CMorvelPMView::OnZoomBoxChange()
{
    CMainFrame* pFrame = CMainFrame::GetMain();
    if (pFrame == nullptr)
        return;
    const UINT nID = pFrame->GetChosenZoomCommand();
    if (nID == ID_ZOOM_USER && !CShellServices::Get().runZoomDialog) {
        // Without a zoom dialog the box goes back to showing this grid's zoom.
        pFrame->SelectZoomEntry(GetZoom());
        return;
    }
    if (nID != 0)
        SendMessage(WM_COMMAND, nID, 0);
}

void CMorvelPMView::SetFixedZoom(int nZoom)
{
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->SelectZoomEntry(nZoom);
    SetDocumentZoom(nZoom);
}

void CMorvelPMView::OnZoomUser()
{
    CMorvelPMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    int nZoom = pDoc->m_nZoom;
    if (!CShellServices::RunZoomDialog(this, nZoom))
        return;
    nZoom = CMorvelPMDoc::SanitizeZoom(nZoom);
    SetZoom(nZoom);
    if (CMainFrame* pFrame = CMainFrame::GetMain())
        pFrame->ShowUserZoom(nZoom);
    SetDocumentZoom(nZoom);
}

void CMorvelPMView::OnUpdateZoomUser(CCmdUI* pCmdUI)
{
    const CMorvelPMDoc* pDoc = GetDocument();
    const int nZoom = pDoc != nullptr ? pDoc->m_nZoom : GetZoom();
    pCmdUI->Enable(static_cast<bool>(CShellServices::Get().runZoomDialog));
    pCmdUI->SetCheck(CMainFrame::IsZoomStep(nZoom) ? 0 : 1);
}

// ---------------------------------------------------------------------------------------
// One row's head

void CMorvelPMView::RepaintRow(int nRow)
{
    if (m_hWnd == nullptr)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcRange;
    GetCellRangeFromRect(rcClient.left, rcClient.top, rcClient.right, rcClient.bottom, &rcRange);
    if (nRow < rcRange.top || nRow > rcRange.bottom)
        return;
    CRect rc;
    GetCellRangeRect(0, nRow, std::min(1, std::max(0, GetColumnCount() - 1)), nRow, &rc);
    if (rc.IsRectEmpty()) {
        // The first columns are scrolled out: the row-number box alone.
        rc.SetRect(0, GetHeaderHeight() + (nRow - GetFirstVisibleCell().y) * GetRowHeight(),
                   GetRowHeaderWidth(),
                   GetHeaderHeight() + (nRow - GetFirstVisibleCell().y + 1) * GetRowHeight());
    }
    rc.left = 0;
    InvalidateRect(&rc, TRUE);
    UpdateWindow();
}
