#include "grid/CTabWnd.h"

#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/SysColors.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CTabWnd, CWnd)

BEGIN_MESSAGE_MAP(CTabWnd, CWnd)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

void MakeTabFont(CFont& font, LONG nHeight, LONG nWeight)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfCharSet = DEFAULT_CHARSET;
    const CString strFace = "ＭＳ 明朝"_sj;
    std::strncpy(lf.lfFaceName, strFace, LF_FACESIZE - 1);
    font.CreateFontIndirect(&lf);
}

} // namespace

CTabWnd::CTabWnd() : m_nCurSel(0), m_nTabCount(0)
{
    MakeTabFont(m_fontNormal, 13, FW_NORMAL);
    MakeTabFont(m_fontSelected, 14, FW_BOLD);
}

CTabWnd::~CTabWnd() = default;

int CTabWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // A tab changes the page of the view and has no keys: the view keeps the keyboard, and
    // a composition on it is stored by the tab's command before the page changes.
    KeepFocusOffOnClick();
    return 0;
}

void CTabWnd::AddTab(const char* lpszText)
{
    if (m_nTabCount >= MAX_TABS)
        return;
    const char* pszText = lpszText != nullptr ? lpszText : "";
    const int nWidth = static_cast<int>(std::strlen(pszText)) * 8 + 16;
    CTab& tab = m_tabs[m_nTabCount];
    tab.pszText = pszText;
    if (m_nTabCount == 0) {
        tab.rect.SetRect(0, 0, nWidth, TAB_HEIGHT);
        tab.bSelected = TRUE;
    } else {
        // Each tab overlaps the one before it by the slant of their edges.
        const CTab& prev = m_tabs[m_nTabCount - 1];
        const int nLeft = prev.rect.right - TAB_SLANT;
        tab.rect.SetRect(nLeft, prev.rect.top, nLeft + nWidth, prev.rect.bottom);
        tab.bSelected = FALSE;
    }
    ++m_nTabCount;
}

void CTabWnd::SetCurSel(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nTabCount)
        return;
    m_tabs[m_nCurSel].bSelected = FALSE;
    m_nCurSel = nIndex;
    m_tabs[m_nCurSel].bSelected = TRUE;
    if (m_hWnd != nullptr) {
        Invalidate();
        UpdateWindow();
    }
}

CRect CTabWnd::GetTabRect(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nTabCount ? m_tabs[nIndex].rect : CRect();
}

bool CTabWnd::IsTabSelected(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nTabCount ? m_tabs[nIndex].bSelected : FALSE;
}

void CTabWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonDown(nFlags, point);
    if (m_nTabCount == 0)
        return;

    // The first tab under the point takes the click (the left one where two overlap). A
    // click right of every tab changes no tab.
    const bool bWithinTabs = point.x < m_tabs[m_nTabCount - 1].rect.right;
    bool bFound = FALSE;
    for (int i = 0; i < m_nTabCount; ++i) {
        if (!bFound && m_tabs[i].rect.PtInRect(point)) {
            bFound = TRUE;
            m_nCurSel = i;
            m_tabs[i].bSelected = TRUE;
        } else if (bWithinTabs) {
            m_tabs[i].bSelected = FALSE;
        }
    }
    Invalidate();
    UpdateWindow();

    // The page of the current tab is shown again even when it already was.
    UINT nCommand = 0;
    if (m_nCurSel == 0)
        nCommand = ID_EDIT_PAGE_TAB;
    else if (m_nCurSel == 1)
        nCommand = ID_SUMMARY_PAGE_TAB;
    if (nCommand != 0) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_COMMAND, nCommand, 0);
    }
}

void CTabWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClip;
    dc.GetClipBox(&rcClip);
    dc.FillSolidRect(&rcClip, GetSysColor(COLOR_APPWORKSPACE));
    for (int i = 0; i < m_nTabCount; ++i) {
        if (i != m_nCurSel)
            DrawTab(&dc, i);
    }
    if (m_nCurSel < m_nTabCount)
        DrawTab(&dc, m_nCurSel);
}

void CTabWnd::DrawTab(CDC* pDC, int nIndex)
{
    const CTab& tab = m_tabs[nIndex];
    const CRect& rc = tab.rect;
    const POINT points[4] = {{rc.left, rc.top},
                             {rc.right, rc.top},
                             {rc.right - TAB_SLANT, rc.bottom},
                             {rc.left + TAB_SLANT, rc.bottom}};
    CBrush brush(tab.bSelected ? RGB(255, 255, 255) : GetSysColor(COLOR_MENU));
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->Polygon(points, 4);
    pDC->SelectObject(pOldBrush);

    const UINT nOldAlign = pDC->SetTextAlign(TA_CENTER);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(tab.bSelected ? &m_fontSelected : &m_fontNormal);
    if (tab.pszText != nullptr) {
        pDC->ExtTextOut((rc.left + rc.right) / 2, rc.top + 2, ETO_CLIPPED, &rc, tab.pszText,
                        static_cast<UINT>(std::strlen(tab.pszText)), nullptr);
    }
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextAlign(nOldAlign);
}
