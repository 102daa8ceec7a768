#include "estimate/CPopupListCtrl.h"

#include "estimate/CMorvelEMView.h"
#include "platform/ui/core/WinApi.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CPopupListCtrl, CListCtrlEx)
ON_WM_KEYDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_KILLFOCUS()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

BOOL CPopupListCtrl::CreateList(const CPopupListContent& content, const CRect& rect, UINT nID)
{
    if (m_pOwnerView == nullptr || m_pOwnerView->m_hWnd == nullptr)
        return FALSE;
    if (m_hWnd != nullptr)
        DestroyWindow();
    DWORD dwStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
    if (!content.bMultiple)
        dwStyle |= LVS_SINGLESEL;
    m_nColumns = 0;
    if (!Create(dwStyle, rect, m_pOwnerView, nID))
        return FALSE;
    m_nColumns = static_cast<int>(content.columns.size());
    for (size_t c = 0; c < content.columns.size(); ++c)
        InsertColumn(static_cast<int>(c), content.columns[c].strHeading, LVCFMT_LEFT, content.columns[c].nWidth);
    for (size_t i = 0; i < content.items.size(); ++i) {
        const std::vector<CString>& texts = content.items[i];
        const int nItem = InsertItem(static_cast<int>(i), texts.empty() ? CString() : texts[0]);
        for (size_t c = 1; c < texts.size() && c < content.columns.size(); ++c)
            SetItemText(nItem, static_cast<int>(c), texts[c]);
    }
    const int nCount = GetItemCount();
    if (nCount > 0) {
        const int nSelect = content.nSelect >= 0 && content.nSelect < nCount ? content.nSelect : -1;
        // The keyboard starts on the chosen entry, or on the first one with none chosen.
        const int nFocus = nSelect >= 0 ? nSelect : 0;
        SetItemState(nFocus, LVIS_FOCUSED, LVIS_FOCUSED);
        if (nSelect >= 0)
            SetItemState(nSelect, LVIS_SELECTED, LVIS_SELECTED);
        SetSelectionMark(nFocus);
        EnsureVisible(nFocus, FALSE);
    }
    return TRUE;
}

UINT CPopupListCtrl::OnGetDlgCode()
{
    // Enter and Esc belong to the list, not to a dialog or frame around the grid.
    return CListCtrlEx::OnGetDlgCode() | DLGC_WANTALLKEYS;
}

void CPopupListCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        ApplyChoice();
        return;
    }
    if (nChar == VK_ESCAPE) {
        CancelList();
        return;
    }
    CListCtrlEx::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPopupListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The list first makes the entry under the pointer the chosen one, as for a click.
    CListCtrlEx::OnLButtonDblClk(nFlags, point);
    if (m_hWnd != nullptr)
        ApplyChoice();
}

void CPopupListCtrl::OnKillFocus(CWnd* pNewWnd)
{
    CListCtrlEx::OnKillFocus(pNewWnd);
    if (!m_bBusy && m_hWnd != nullptr)
        DestroyWindow();
}

void CPopupListCtrl::ApplyChoice()
{
    if (m_hWnd == nullptr || m_bBusy)
        return;
    if (m_pOwnerView == nullptr) {
        DestroyWindow();
        return;
    }
    std::vector<int>& choice = m_pOwnerView->GetPopupChoice();
    choice.clear();
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        choice.push_back(i);
    const bool bSeveral = choice.size() >= 2;
    choice.push_back(-1);
    m_bBusy = TRUE;
    m_pOwnerView->OnPopupListChoice(bSeveral ? 1 : 0);
    if (m_hWnd != nullptr)
        DestroyWindow();
    ReturnFocusToOwner();
    m_bBusy = FALSE;
}

void CPopupListCtrl::CancelList()
{
    if (m_hWnd != nullptr) {
        // Busy while going: the focus leaving the window must not close it a second time.
        m_bBusy = TRUE;
        DestroyWindow();
        m_bBusy = FALSE;
    }
    if (m_pOwnerView != nullptr)
        m_pOwnerView->HideCellEdit();
    ReturnFocusToOwner();
}

void CPopupListCtrl::ReturnFocusToOwner()
{
    if (m_pOwnerView != nullptr && m_pOwnerView->m_hWnd != nullptr && m_pOwnerView->IsWindowVisible())
        m_pOwnerView->SetFocus();
}
