// The smaller duties of the estimate grid view: the two status-bar panes with the cursor
// position and the estimate amount, the subjects and units the modeless pick dialogs hand
// over, the subject tree's refresh and row jump, the pop-up menus of the "科目" and "合計"
// tool-bar buttons, the redisplay and parts-file commands, and the colour settings the
// painting reads.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CMainFrame.h"
#include "app/CMorvelSettings.h"
#include "estimate/CMorvelEMDoc.h"
#include "grid/CTabWnd.h"
#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/frames/CStatusBar.h"
#include "resources/EstimateViewMenus.h"
#include "resources/ResourceIds.h"

#include <utility>

// ---------------------------------------------------------------------------------------
// Status bar

void CMorvelEMView::UpdateStatusText(int nShow)
{
    const int nRowsPerPage = GetRowsPerPage() > 0 ? GetRowsPerPage() : 1;
    m_strStatusPosition.Format("%3d ﾍﾟｰｼﾞ %4d 行 %3d 列  最大行 %d "_sj, GetCurrentRow() / nRowsPerPage + 1,
                               GetCurrentRow() % nRowsPerPage + 1, GetCurrentCol() + 1, GetUsedRows());
    CMainFrame* pFrame = CMainFrame::GetMain();
    // An edit whose recalculation the end of the command makes: the amount follows then
    // (worked out now, before the totals' sums take the edit in, it would walk every row).
    if (m_bRecalcAtCommandEnd) {
        if (pFrame != nullptr && pFrame->GetStatusBar().m_hWnd != nullptr)
            pFrame->SetStatusPane(ID_INDICATOR_PANE1, m_strStatusPosition, CMainFrame::paneFitsText,
                                  nShow != 0);
        return;
    }
    m_strStatusAmount.Empty();

    // The panes belong to the main frame's status bar, which every window shares. Without
    // one the amount, a walk over every row, is not worked out.
    if (pFrame == nullptr || pFrame->GetStatusBar().m_hWnd == nullptr)
        return;
    const int nAmountCol = FindFirstColumn(CEstimationFormFile::colV, "2");
    if (nAmountCol >= 0) {
        m_strStatusAmount = "見積金額=\\"_sj + CNumberRules::FormatByPicture(StatusAmount(nAmountCol),
                                                                             "###,###,###,###,###", TRUE);
    }
    pFrame->SetStatusPane(ID_INDICATOR_PANE2, m_strStatusAmount, CMainFrame::paneFitsText, nShow != 0);
    pFrame->SetStatusPane(ID_INDICATOR_PANE1, m_strStatusPosition, CMainFrame::paneFitsText, nShow != 0);
}

double CMorvelEMView::StatusAmount(int nCol)
{
    // A store that does not count its changes cannot tell that nothing changed.
    CStatusAmountMemo& memo = m_statusAmountMemo;
    const bool bCounted = EditRows().CountsChanges();
    if (bCounted && memo.bKnown && memo.nChangeCount == EditRows().GetChangeCount() &&
        memo.nUsedRows == GetUsedRows() && memo.nCol == nCol)
        return memo.dAmount;
    memo.dAmount = Engine().SumEstimateAmount(nCol, FALSE);
    memo.bKnown = bCounted;
    memo.nChangeCount = EditRows().GetChangeCount();
    memo.nUsedRows = GetUsedRows();
    memo.nCol = nCol;
    return memo.dAmount;
}

void CMorvelEMView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView)
{
    CMorvelView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (bActivate && pActivateView == this && m_hWnd != nullptr)
        UpdateStatusText(statusShow);
}

COLORREF CMorvelEMView::ReadColorSetting(const char* lpszKey) const
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr)
        return 0;
    COLORREF color = 0;
    return CMorvelSettings::ParseColor(pSettings->GetProfileValue("Color Setting", lpszKey), color) ? color
                                                                                                    : 0;
}

// ---------------------------------------------------------------------------------------
// Subject tree

void CMorvelEMView::UpdateTreeView()
{
    CMorvelEMDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    m_headingsCounts = HeadingsCounts();
    const bool bTreeFound = pDoc->RebuildSubjectTree(this);
    // The keyboard goes back to the grid, unless a cell is being typed into.
    if (bTreeFound && m_hWnd != nullptr && IsWindowVisible()) {
        CWnd* pFocus = GetFocus();
        const bool bEditing = m_bCellEditExists && pFocus == &m_wndCellEdit;
        if (pFocus != this && !bEditing)
            SetFocus();
    }
}

void CMorvelEMView::GoToRow(int nRow)
{
    if (IsSummaryPageShown()) {
        if (GetTabWnd() != nullptr && GetTabWnd()->m_hWnd != nullptr)
            GetTabWnd()->SetCurSel(0);
        HideCellEdit();
        SetSummaryPageShown(false);
        if (m_hWnd != nullptr)
            Invalidate(TRUE);
    }
    // As a click on the row's first cell: an open edit is kept first.
    StoreOpenEdit();
    HideCellEdit();
    ClickCell(0, nRow);
    m_bMovedFromTree = TRUE;
    UpdateStatusText(statusShow);
}

// ---------------------------------------------------------------------------------------
// Picked subjects and units

void CMorvelEMView::InsertPickedItem(const char* lpszName, const char* lpszUnit)
{
    const CString strName(lpszName != nullptr ? lpszName : "");
    const CString strUnit(lpszUnit != nullptr ? lpszUnit : "");

    if (m_nPendingLevel == pickUnit) {
        // Undo gives the cell and its row back as they were, as for a unit typed.
        GetModel().WritePickedUnit(GetCurrentCol(), GetCurrentRow(), strName, false);
        NoteUndoRecorded();
        UpdateScrollRanges();
        InvalidateCells(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
        SetDocumentModified();
        return;
    }
    const ERowKind nHeading = HeadingOfPick(m_nPendingLevel);
    if (nHeading != kindEmpty)
        InsertHeading(nHeading, strName, strUnit);
}

LRESULT CMorvelEMView::OnPickedSubject(EPickPurpose ePurpose, LPARAM lParam)
{
    m_nPendingLevel = ePurpose;
    const CString* pPicked = reinterpret_cast<const CString*>(lParam);
    if (pPicked == nullptr)
        return 0;
    // Split at the first "/": the name before it, the unit after it. Without a "/" the
    // whole text is the unit.
    const int nSlash = pPicked->Find('/');
    const CString strName = nSlash >= 0 ? pPicked->Left(nSlash) : CString();
    const CString strUnit = pPicked->Mid(nSlash + 1);
    InsertPickedItem(strName, strUnit);
    return 0;
}

LRESULT CMorvelEMView::OnPickedLargeSubject(WPARAM /*wParam*/, LPARAM lParam)
{
    return OnPickedSubject(pickLarge, lParam);
}

LRESULT CMorvelEMView::OnPickedMiddleSubject(WPARAM /*wParam*/, LPARAM lParam)
{
    return OnPickedSubject(pickMiddle, lParam);
}

LRESULT CMorvelEMView::OnPickedSmallSubject(WPARAM /*wParam*/, LPARAM lParam)
{
    return OnPickedSubject(pickSmall, lParam);
}

LRESULT CMorvelEMView::OnPickedUnit(WPARAM /*wParam*/, LPARAM lParam)
{
    m_nPendingLevel = pickUnit;
    if (const CString* pUnit = reinterpret_cast<const CString*>(lParam))
        InsertPickedItem(*pUnit, "");
    // Picked or not, the cursor moves on as after an input.
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    const int nDirection = pSettings != nullptr ? pSettings->m_nDirection : 1;
    if (nDirection == 1 || nDirection == 2) {
        const UINT nKey = nDirection == 1 ? VK_RIGHT : VK_DOWN;
        if (m_hWnd != nullptr)
            SendMessage(WM_KEYDOWN, nKey, 1);
        else
            OnKeyDown(nKey, 1, 0);
    }
    return 0;
}

LRESULT CMorvelEMView::OnModelessClosed(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case MODELESS_LARGE_SUBJECT_PICK:
    case MODELESS_MIDDLE_SUBJECT_PICK:
    case MODELESS_SMALL_SUBJECT_PICK:
        m_pSubjectPick[wParam - MODELESS_LARGE_SUBJECT_PICK] = nullptr;
        break;
    case MODELESS_UNIT_PICK:
        m_pUnitPick = nullptr;
        break;
    case MODELESS_FIND:
        m_pFindDialog = nullptr;
        break;
    case MODELESS_REPLACE:
        m_pReplaceDialog = nullptr;
        break;
    case MODELESS_UNNECESSARY_ROWS:
        ForgetUnnecessaryRowDialog(reinterpret_cast<CWnd*>(lParam));
        break;
    case MODELESS_PRINT_FORM_LOADED:
        m_pPrintFormWait.reset();
        break;
    default:
        break;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------
// Tool-bar pop-ups and small commands

void CMorvelEMView::TrackToolBarMenu(UINT nIDMenu)
{
    if (m_hWnd == nullptr)
        return;
    RegisterEstimateViewMenus();
    CMenu menu;
    if (!menu.LoadMenu(nIDMenu))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr)
        return;
    // At the view's top-left corner; the chosen command comes to the view.
    CPoint pt(0, 0);
    ClientToScreen(&pt);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, this);
}

void CMorvelEMView::OnSubjectMenu()
{
    TrackToolBarMenu(IDR_SUBJECT_POPUP_MENU);
}

void CMorvelEMView::OnTotalMenu()
{
    TrackToolBarMenu(IDR_TOTAL_POPUP_MENU);
}

void CMorvelEMView::OnRedisplay()
{
    RecalcLayout();
}

void CMorvelEMView::OnPartsFileSwitch()
{
    CFileDialog dlg(TRUE, "MBD", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR,
                    "部材処理ﾌｧｲﾙ(*.MBD)|*.MBD||"_sj, this);
    if (dlg.DoModal() != IDOK)
        return;
    CString strPath = dlg.GetPathName();
    strPath.MakeUpper();
    if (strPath.Find(".MBD") < 0) {
        AfxMessageBox("Select File Error!");
        return;
    }
    m_strCurrentPartFile = strPath;
    if (CMorvelSettings* pSettings = CMorvelSettings::GetCurrent())
        pSettings->WriteProfileString("Current Part File", "FileName", strPath);
}

// ---------------------------------------------------------------------------------------
// Mouse moves: column resizing, drag selection and its auto-scroll

void CMorvelEMView::OnMouseMove(UINT nFlags, CPoint point)
{
    if (HitTestColumnBorder(point.x, point.y) == resizeTracking) {
        TrackColumnResize(nFlags, point.x);
        return;
    }
    DragSelectTo(nFlags, point);
    CMorvelView::OnMouseMove(nFlags, point);
}
