#include "app/CListCtrlEx.h"

#include "platform/base/Cp932.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CImageList.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CListCtrlEx, CListCtrl)

BEGIN_MESSAGE_MAP(CListCtrlEx, CListCtrl)
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_MESSAGE(LVM_SETIMAGELIST, OnSetImageList)
ON_MESSAGE(LVM_SETTEXTCOLOR, OnSetTextColor)
ON_MESSAGE(LVM_SETTEXTBKCOLOR, OnSetTextBkColor)
ON_MESSAGE(LVM_SETBKCOLOR, OnSetBkColor)
END_MESSAGE_MAP()

namespace {

// Margins of the texts: the first column's text starts 2 pixels into its label, the other
// columns' texts 6 pixels into their column; the same on the right.
constexpr int kFirstColumnMargin = 2;
constexpr int kColumnMargin = 6;
constexpr int kSmallImageSize = 16;

} // namespace

CListCtrlEx::CListCtrlEx()
    : m_clrText(::GetSysColor(COLOR_WINDOWTEXT)), m_clrTextBk(::GetSysColor(COLOR_WINDOW)),
      m_clrBkgnd(::GetSysColor(COLOR_WINDOW))
{
}

CListCtrlEx::~CListCtrlEx() = default;

BOOL CListCtrlEx::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = (cs.style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_OWNERDRAWFIXED;
    return CListCtrl::PreCreateWindow(cs);
}

void CListCtrlEx::PreSubclassWindow()
{
    // A list of a dialog template was made without this class's window-class hook.
    CListCtrl::PreSubclassWindow();
    const DWORD dwStyle = GetStyle();
    if ((dwStyle & LVS_TYPEMASK) != LVS_REPORT || !(dwStyle & LVS_OWNERDRAWFIXED))
        ModifyStyle(LVS_TYPEMASK, LVS_REPORT | LVS_OWNERDRAWFIXED);
    m_clrText = GetTextColor();
    m_clrTextBk = GetTextBkColor();
    m_clrBkgnd = GetBkColor();
    if (CImageList* pState = GetImageList(LVSIL_STATE)) {
        int cx = 0, cy = 0;
        m_cxStateImageOffset = pState->GetIconSize(&cx, &cy) ? cx : 0;
    }
}

BOOL CListCtrlEx::IsReportView() const
{
    return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
}

// ---------------------------------------------------------------------------------------
// Texts that do not fit.
// ---------------------------------------------------------------------------------------
CString CListCtrlEx::MakeShortString(CDC* pDC, const CString& text, int nColumnLen, int nOffset,
                                     BOOL* pbShortened)
{
    static const CString kDots("...");
    if (pbShortened)
        *pbShortened = FALSE;
    const int nLength = text.GetLength();
    if (nLength == 0 || pDC->GetTextExtent(text).cx + nOffset <= nColumnLen)
        return text;
    // Cut whole characters: a cut inside a double-byte character would leave half of it.
    std::vector<int> boundaries; // byte offsets where a character ends, ascending
    for (int i = 0; i < nLength;) {
        i += std::max(1, Cp932CharLength(text.c_str() + i));
        boundaries.push_back(std::min(i, nLength));
    }
    const int nDotsWidth = pDC->GetTextExtent(kDots).cx;
    // Keep at least the first character, however narrow the column.
    int nKeep = boundaries.front();
    for (size_t k = boundaries.size() - 1; k-- > 0;) {
        const int n = boundaries[k];
        if (pDC->GetTextExtent(text.c_str(), n).cx + nDotsWidth + nOffset <= nColumnLen) {
            nKeep = n;
            break;
        }
    }
    if (pbShortened)
        *pbShortened = TRUE;
    return text.Left(nKeep) + kDots;
}

void CListCtrlEx::FitColumnToTexts(int nCol, int nAtLeast)
{
    if (m_hWnd == nullptr || nCol < 1)
        return;
    char heading[260] = {};
    LVCOLUMN lvc{};
    lvc.mask = LVCF_TEXT;
    lvc.pszText = heading;
    lvc.cchTextMax = static_cast<int>(sizeof(heading));
    if (!GetColumn(nCol, &lvc))
        return;
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(GetFont());
    // The heading's margins are the header's; the items' those DrawItem keeps.
    int cx = std::max(nAtLeast, dc.GetTextExtent(CString(heading)).cx + 4 * kColumnMargin);
    for (int i = 0; i < GetItemCount(); ++i)
        cx = std::max(cx, dc.GetTextExtent(GetItemText(i, nCol)).cx + 2 * kColumnMargin);
    dc.SelectObject(pOldFont);
    if (cx != GetColumnWidth(nCol))
        SetColumnWidth(nCol, cx);
}

// ---------------------------------------------------------------------------------------
// Drawing.
// ---------------------------------------------------------------------------------------
BOOL CListCtrlEx::GetHighlightRect(int nItem, CRect& rect) const
{
    CRect rcBounds, rcLabel;
    if (!GetItemRect(nItem, &rcBounds, LVIR_BOUNDS) || !GetItemRect(nItem, &rcLabel, LVIR_LABEL))
        return FALSE;
    rect.SetRect(rcLabel.left, rcBounds.top, rcBounds.right, rcBounds.bottom);
    if (m_bClientWidthSel && rect.right < m_cxClient)
        rect.right = m_cxClient;
    return TRUE;
}

void CListCtrlEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!pDC)
        return;
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    const CRect rcItem(lpDrawItemStruct->rcItem);

    // 1. The item: its text, image and every state bit.
    LVITEM lvi{};
    lvi.mask = LVIF_IMAGE | LVIF_STATE;
    lvi.iItem = nItem;
    lvi.iSubItem = 0;
    lvi.stateMask = 0xFFFF;
    if (!GetItem(&lvi))
        return;
    const CString text = GetItemText(nItem, 0);

    // 2. Selected as the list shows it.
    const BOOL bFocus = CWnd::GetFocus() == this;
    const BOOL bSelected = ((lvi.state & LVIS_SELECTED) && (bFocus || (GetStyle() & LVS_SHOWSELALWAYS))) ||
                           (lvi.state & LVIS_DROPHILITED);

    // 3. The highlight's extent.
    CRect rcBounds, rcLabel, rcIcon;
    GetItemRect(nItem, &rcBounds, LVIR_BOUNDS);
    GetItemRect(nItem, &rcLabel, LVIR_LABEL);
    GetItemRect(nItem, &rcIcon, LVIR_ICON);
    CRect rcHighlight;
    GetHighlightRect(nItem, rcHighlight);

    // 4. Colours and background.
    const int nSavedDC = pDC->SaveDC();
    if (bSelected) {
        pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
        pDC->SetBkColor(::GetSysColor(COLOR_HIGHLIGHT));
        pDC->FillSolidRect(&rcHighlight, ::GetSysColor(COLOR_HIGHLIGHT));
    } else {
        // A list without a text background of its own shows its background behind texts.
        const COLORREF clrTextBk = m_clrTextBk == CLR_NONE ? m_clrBkgnd : m_clrTextBk;
        pDC->SetTextColor(m_clrText);
        pDC->SetBkColor(clrTextBk);
        if (clrTextBk != CLR_NONE)
            pDC->FillSolidRect(&rcHighlight, clrTextBk);
    }

    // 5. How the pictures are blended.
    UINT nStyle = ILD_TRANSPARENT;
    COLORREF clrImage = m_clrBkgnd;
    if (lvi.state & LVIS_CUT) {
        nStyle |= ILD_BLEND50;
        clrImage = m_clrBkgnd;
    }
    if (bSelected) {
        nStyle |= ILD_BLEND50;
        clrImage = ::GetSysColor(COLOR_HIGHLIGHT);
    }

    // 6. The state picture and the small picture.
    const int nStateImage = static_cast<int>((lvi.state & LVIS_STATEIMAGEMASK) >> 12) - 1;
    if (nStateImage >= 0) {
        if (CImageList* pStates = GetImageList(LVSIL_STATE))
            pStates->Draw(pDC, nStateImage, CPoint(rcItem.left, rcItem.top), ILD_TRANSPARENT);
    }
    if (rcItem.Width() > 1) {
        if (CImageList* pSmall = GetImageList(LVSIL_SMALL)) {
            pSmall->DrawEx(pDC, lvi.iImage, CPoint(rcIcon.left, rcIcon.top),
                           CSize(kSmallImageSize, kSmallImageSize), m_clrBkgnd, clrImage,
                           nStyle | (lvi.state & LVIS_OVERLAYMASK));
        }
    }

    // 7. The first column's text, left-aligned.
    CRect rcColumn = rcLabel;
    rcColumn.right -= m_cxStateImageOffset;
    const UINT nFormat = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_VCENTER;
    {
        const CString shown = MakeShortString(pDC, text, rcColumn.Width(), 2 * kFirstColumnMargin);
        CRect rcText = rcColumn;
        rcText.left += kFirstColumnMargin;
        rcText.right -= kFirstColumnMargin;
        pDC->DrawText(shown, &rcText, DT_LEFT | nFormat);
    }

    // 8. The other columns, each aligned as its column unless its text had to be cut.
    LVCOLUMN lvc{};
    lvc.mask = LVCF_FMT | LVCF_WIDTH;
    for (int nColumn = 1; GetColumn(nColumn, &lvc); ++nColumn) {
        rcColumn.left = rcColumn.right;
        rcColumn.right += lvc.cx;
        const CString sub = GetItemText(nItem, nColumn);
        if (sub.IsEmpty())
            continue;
        BOOL bShortened = FALSE;
        const CString shown = MakeShortString(pDC, sub, rcColumn.Width(), 2 * kColumnMargin, &bShortened);
        UINT nJustify = DT_LEFT;
        if (!bShortened) {
            switch (lvc.fmt & LVCFMT_JUSTIFYMASK) {
            case LVCFMT_RIGHT:
                nJustify = DT_RIGHT;
                break;
            case LVCFMT_CENTER:
                nJustify = DT_CENTER;
                break;
            default:
                nJustify = DT_LEFT;
                break;
            }
        }
        CRect rcText = rcColumn;
        rcText.left += kColumnMargin;
        rcText.right -= kColumnMargin;
        pDC->DrawText(shown, &rcText, nJustify | nFormat);
    }

    // 9. The focus frame.
    if ((lvi.state & LVIS_FOCUSED) && bFocus)
        pDC->DrawFocusRect(&rcHighlight);

    pDC->RestoreDC(nSavedDC);

    // 10. The grid.
    DrawGridLines(pDC);
}

void CListCtrlEx::DrawGridLines(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nWidth = std::max(m_cxClient, static_cast<int>(rcClient.right));
    // Only the rows on screen can meet the client area.
    const int nCount = GetItemCount();
    const int nFirst = std::max(0, GetTopIndex());
    const int nLast = std::min(nCount - 1, nFirst + GetCountPerPage() + 1);
    for (int i = nFirst; i <= nLast; ++i) {
        CRect rcBounds;
        if (!GetItemRect(i, &rcBounds, LVIR_BOUNDS))
            continue;
        if (rcBounds.bottom <= rcClient.top || rcBounds.top >= rcClient.bottom)
            continue;
        // Along the row's bottom edge, across the whole window.
        pDC->MoveTo(0, rcBounds.bottom - 1);
        pDC->LineTo(nWidth, rcBounds.bottom - 1);
        // At each column's right edge.
        int x = rcBounds.left;
        for (int nColumn = 0;; ++nColumn) {
            LVCOLUMN lvc{};
            lvc.mask = LVCF_WIDTH;
            if (!GetColumn(nColumn, &lvc) || lvc.cx < 0)
                break;
            x += lvc.cx;
            if (x > nWidth)
                break;
            pDC->MoveTo(x - 1, rcBounds.top);
            pDC->LineTo(x - 1, rcBounds.bottom);
        }
    }
}

void CListCtrlEx::OnPaint()
{
    // With the highlight reaching the window's edge, the strip right of the rows is painted
    // with them.
    if (m_bFullRowSel && m_bClientWidthSel && IsReportView() && GetItemCount() > 0) {
        CRect rcClient, rcItem;
        GetClientRect(&rcClient);
        if (m_cxClient <= 0)
            m_cxClient = rcClient.Width();
        if (GetItemRect(0, &rcItem, LVIR_BOUNDS) && rcItem.right < rcClient.right) {
            if (!m_bStripRequested) {
                const CRect rcStrip(rcItem.right, rcClient.top, rcClient.right, rcClient.bottom);
                InvalidateRect(&rcStrip, FALSE);
                m_bStripRequested = TRUE;
            } else {
                m_bStripRequested = FALSE;
            }
        }
    }
    Default();
}

void CListCtrlEx::OnSize(UINT nType, int cx, int cy)
{
    m_cxClient = cx;
    CListCtrl::OnSize(nType, cx, cy);
}

// ---------------------------------------------------------------------------------------
// Focus: the highlight changes colour with it.
// ---------------------------------------------------------------------------------------
void CListCtrlEx::RepaintSelectedItems()
{
    CRect rect;
    const int nFocused = GetNextItem(-1, LVNI_FOCUSED);
    if (nFocused >= 0 && GetHighlightRect(nFocused, rect))
        InvalidateRect(&rect, FALSE);
    if (!(GetStyle() & LVS_SHOWSELALWAYS)) {
        for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) {
            if (GetHighlightRect(i, rect))
                InvalidateRect(&rect, FALSE);
        }
    }
    UpdateWindow();
}

void CListCtrlEx::OnSetFocus(CWnd* pOldWnd)
{
    CListCtrl::OnSetFocus(pOldWnd);
    // Coming back from one of its own children (an edited label) changes nothing.
    if (pOldWnd && pOldWnd->GetParent() == this)
        return;
    if (m_bFullRowSel && IsReportView())
        RepaintSelectedItems();
}

void CListCtrlEx::OnKillFocus(CWnd* pNewWnd)
{
    CListCtrl::OnKillFocus(pNewWnd);
    if (pNewWnd && pNewWnd->GetParent() == this)
        return;
    if (m_bFullRowSel && IsReportView())
        RepaintSelectedItems();
}

// ---------------------------------------------------------------------------------------
// Settings kept on their way to the control.
// ---------------------------------------------------------------------------------------
LRESULT CListCtrlEx::OnSetImageList(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    if (static_cast<int>(wParam) == LVSIL_STATE) {
        int cx = 0, cy = 0;
        const HIMAGELIST hList = reinterpret_cast<HIMAGELIST>(lParam);
        m_cxStateImageOffset = hList && ImageList_GetIconSize(hList, &cx, &cy) ? cx : 0;
    }
    return lResult;
}

LRESULT CListCtrlEx::OnSetTextColor(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    m_clrText = static_cast<COLORREF>(lParam);
    return Default();
}

LRESULT CListCtrlEx::OnSetTextBkColor(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    m_clrTextBk = static_cast<COLORREF>(lParam);
    return Default();
}

LRESULT CListCtrlEx::OnSetBkColor(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    m_clrBkgnd = static_cast<COLORREF>(lParam);
    return Default();
}
