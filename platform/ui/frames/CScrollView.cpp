#include "platform/ui/frames/CScrollView.h"

#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CPrintInfo.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = {0, 0};

namespace {

// Logical units per inch of the fixed mapping modes (0: pixels).
int UnitsPerInch(int nMapMode)
{
    switch (nMapMode) {
    case MM_LOENGLISH:
        return 100;
    case MM_HIENGLISH:
        return 1000;
    case MM_LOMETRIC:
        return 254;
    case MM_HIMETRIC:
        return 2540;
    case MM_TWIPS:
        return 1440;
    default:
        return 0;
    }
}

// Lines scrolled per wheel notch.
constexpr int kWheelLines = 3;

} // namespace

CScrollView::CScrollView() = default;

CScrollView::~CScrollView() = default;

CSize CScrollView::LogicalToDevice(CSize size) const
{
    const int units = UnitsPerInch(m_nMapMode);
    if (units == 0)
        return CSize(std::abs(size.cx), std::abs(size.cy));
    return CSize(MulDiv(std::abs(size.cx), 96, units), MulDiv(std::abs(size.cy), 96, units));
}

CSize CScrollView::DeviceToLogical(CSize size) const
{
    const int units = UnitsPerInch(m_nMapMode);
    if (units == 0)
        return size;
    return CSize(MulDiv(size.cx, units, 96), MulDiv(size.cy, units, 96));
}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalLog = sizeTotal;
    m_totalDev = LogicalToDevice(sizeTotal);
    const bool defaultPage = sizePage.cx == 0 && sizePage.cy == 0;
    const bool defaultLine = sizeLine.cx == 0 && sizeLine.cy == 0;
    m_pageDev = defaultPage ? CSize(m_totalDev.cx / 10, m_totalDev.cy / 10) : LogicalToDevice(sizePage);
    m_lineDev = defaultLine ? CSize(m_pageDev.cx / 10, m_pageDev.cy / 10) : LogicalToDevice(sizeLine);
    if (m_lineDev.cx < 1)
        m_lineDev.cx = 1;
    if (m_lineDev.cy < 1)
        m_lineDev.cy = 1;
    if (m_hWnd) {
        UpdateBars();
        Invalidate(TRUE);
    }
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const
{
    nMapMode = m_nMapMode;
    sizeTotal = m_totalDev;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

CPoint CScrollView::GetDeviceScrollPosition() const
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

CPoint CScrollView::GetScrollPosition() const
{
    const CPoint pt = GetDeviceScrollPosition();
    const CSize log = DeviceToLogical(CSize(pt.x, pt.y));
    // The fixed modes count y upwards: scrolling down goes to negative y.
    return CPoint(log.cx, UnitsPerInch(m_nMapMode) ? -log.cy : log.cy);
}

void CScrollView::ScrollToPosition(POINT pt)
{
    CSize dev = LogicalToDevice(CSize(pt.x, UnitsPerInch(m_nMapMode) ? -pt.y : pt.y));
    if (pt.x < 0)
        dev.cx = 0;
    if ((UnitsPerInch(m_nMapMode) ? -pt.y : pt.y) < 0)
        dev.cy = 0;
    const CPoint old = GetDeviceScrollPosition();
    OnScrollBy(CSize(dev.cx - old.x, dev.cy - old.y), TRUE);
}

void CScrollView::FillOutsideRect(CDC* pDC, CBrush* pBrush)
{
    if (!pDC || !pBrush)
        return;
    CRect client;
    GetClientRect(&client);
    CRect rect = client;
    rect.left = m_totalDev.cx;
    if (!rect.IsRectEmpty())
        pDC->FillRect(&rect, pBrush);
    rect = client;
    rect.top = m_totalDev.cy;
    if (!rect.IsRectEmpty())
        pDC->FillRect(&rect, pBrush);
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    pDC->SetMapMode(m_nMapMode ? m_nMapMode : MM_TEXT);
    CPoint ptVpOrg(0, 0);
    if (!pDC->IsPrinting()) {
        ptVpOrg = -GetDeviceScrollPosition();
        const CPoint centring = GetCentringOffset();
        if (centring.x != 0)
            ptVpOrg.x = centring.x;
        if (centring.y != 0)
            ptVpOrg.y = centring.y;
    }
    pDC->SetViewportOrg(ptVpOrg);
    CView::OnPrepareDC(pDC, pInfo);
}

CPoint CScrollView::GetCentringOffset() const
{
    CPoint offset(0, 0);
    if (!m_bCenter || !m_hWnd)
        return offset;
    // A drawing smaller than the window stands in its middle.
    CRect rect;
    GetClientRect(&rect);
    if (m_totalDev.cx < rect.Width())
        offset.x = (rect.Width() - m_totalDev.cx) / 2;
    if (m_totalDev.cy < rect.Height())
        offset.y = (rect.Height() - m_totalDev.cy) / 2;
    return offset;
}

// ---------------------------------------------------------------------------------------
// Scroll bars.
// ---------------------------------------------------------------------------------------
void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || !m_hWnd)
        return;
    m_bInsideUpdate = TRUE;

    // The room the window has without its own bars.
    CRect client;
    GetClientRect(&client);
    CSize avail(client.Width(), client.Height());
    const DWORD style = GetStyle();
    const bool ownH = GetScrollBarCtrl(SB_HORZ) == nullptr;
    const bool ownV = GetScrollBarCtrl(SB_VERT) == nullptr;
    if (ownV && (style & WS_VSCROLL))
        avail.cx += ::GetSystemMetrics(SM_CXVSCROLL);
    if (ownH && (style & WS_HSCROLL))
        avail.cy += ::GetSystemMetrics(SM_CYHSCROLL);

    bool needH = m_totalDev.cx > avail.cx;
    bool needV = m_totalDev.cy > avail.cy;
    // One bar takes room from the other direction.
    if (needH && ownH && !needV)
        needV = m_totalDev.cy > avail.cy - ::GetSystemMetrics(SM_CYHSCROLL);
    if (needV && ownV && !needH)
        needH = m_totalDev.cx > avail.cx - ::GetSystemMetrics(SM_CXVSCROLL);
    CSize page = avail;
    if (needH && ownH)
        page.cy -= ::GetSystemMetrics(SM_CYHSCROLL);
    if (needV && ownV)
        page.cx -= ::GetSystemMetrics(SM_CXVSCROLL);
    page.cx = std::max<LONG>(page.cx, 0);
    page.cy = std::max<LONG>(page.cy, 0);

    const CPoint old = GetDeviceScrollPosition();
    auto setBar = [&](int nBar, bool need, int total, int nPage, int pos) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = need ? total - 1 : 0;
        info.nPage = need ? static_cast<UINT>(nPage) : 0;
        info.nPos = need ? std::clamp(pos, 0, std::max(0, total - nPage)) : 0;
        if (GetScrollBarCtrl(nBar))
            EnableScrollBarCtrl(nBar, need);
        else
            ShowScrollBar(static_cast<UINT>(nBar), need);
        SetScrollInfo(nBar, &info, TRUE);
    };
    setBar(SB_HORZ, needH, m_totalDev.cx, page.cx, old.x);
    setBar(SB_VERT, needV, m_totalDev.cy, page.cy, old.y);
    const CPoint now = GetDeviceScrollPosition();
    // A drawing that moved in the window, scrolled into range or centred anew for the
    // window's new size, is painted again everywhere: keeping the pixels of the part that
    // stays in the window would show it where it stood before.
    const CPoint centring = GetCentringOffset();
    if (now != old || centring != m_ptCentring)
        Invalidate(TRUE);
    m_ptCentring = centring;
    m_bInsideUpdate = FALSE;
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    // Only this view's own bar (or the splitter's bar it shares) scrolls it.
    if (pScrollBar && pScrollBar != GetScrollBarCtrl(SB_HORZ))
        return;
    OnScroll(MAKEWORD(nSBCode, 0xFF), nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar != GetScrollBarCtrl(SB_VERT))
        return;
    OnScroll(MAKEWORD(0xFF, nSBCode), nPos);
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
    // Low byte: the horizontal code, high byte: the vertical one (0xFF: none).
    const CPoint orig = GetDeviceScrollPosition();
    int x = orig.x;
    int y = orig.y;
    auto apply = [&](UINT code, int& v, int line, int pageStep, int nBar) {
        switch (code) {
        case SB_TOP:
            v = 0;
            break;
        case SB_BOTTOM:
            v = INT_MAX / 2;
            break;
        case SB_LINEUP:
            v -= line;
            break;
        case SB_LINEDOWN:
            v += line;
            break;
        case SB_PAGEUP:
            v -= pageStep;
            break;
        case SB_PAGEDOWN:
            v += pageStep;
            break;
        case SB_THUMBTRACK: {
            // The 16-bit position of the message is cut off for long drawings.
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            v = GetScrollInfo(nBar, &info, SIF_TRACKPOS) ? info.nTrackPos : static_cast<int>(nPos);
            break;
        }
        default:
            break;
        }
    };
    apply(LOBYTE(static_cast<WORD>(nScrollCode)), x, m_lineDev.cx, m_pageDev.cx, SB_HORZ);
    apply(HIBYTE(static_cast<WORD>(nScrollCode)), y, m_lineDev.cy, m_pageDev.cy, SB_VERT);
    const BOOL bResult = OnScrollBy(CSize(x - orig.x, y - orig.y), bDoScroll);
    if (bResult && bDoScroll)
        UpdateWindow();
    return bResult;
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const CPoint orig = GetDeviceScrollPosition();
    auto limit = [this](int nBar) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE))
            return 0;
        return std::max(0, info.nMax - info.nMin + 1 - static_cast<int>(info.nPage));
    };
    const int x = std::clamp(static_cast<int>(orig.x + sizeScroll.cx), 0, limit(SB_HORZ));
    const int y = std::clamp(static_cast<int>(orig.y + sizeScroll.cy), 0, limit(SB_VERT));
    if (x == orig.x && y == orig.y)
        return FALSE;
    if (bDoScroll) {
        ScrollWindow(orig.x - x, orig.y - y);
        if (x != orig.x)
            SetScrollPos(SB_HORZ, x);
        if (y != orig.y)
            SetScrollPos(SB_VERT, y);
    }
    return TRUE;
}

BOOL CScrollView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    (void)nFlags;
    (void)pt;
    // Three lines per notch, at most a page; sideways when the drawing only scrolls so.
    const bool vertical = m_totalDev.cy > 0 && CanScroll(SB_VERT);
    int lines = -zDelta * kWheelLines / WHEEL_DELTA;
    CSize step;
    if (vertical) {
        int d = lines * m_lineDev.cy;
        d = std::clamp(d, -static_cast<int>(m_pageDev.cy), static_cast<int>(m_pageDev.cy));
        step = CSize(0, d);
    } else {
        int d = lines * m_lineDev.cx;
        d = std::clamp(d, -static_cast<int>(m_pageDev.cx), static_cast<int>(m_pageDev.cx));
        step = CSize(d, 0);
    }
    if (OnScrollBy(step, TRUE))
        UpdateWindow();
    return TRUE;
}

BOOL CScrollView::CanScroll(int nBar) const
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE))
        return FALSE;
    return info.nMax - info.nMin + 1 > static_cast<int>(info.nPage) && info.nPage > 0;
}
