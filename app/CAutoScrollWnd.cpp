#include "app/CAutoScrollWnd.h"

#include "app/CShellState.h"

#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "resources/SharedControlResources.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CAutoScrollWnd, CWnd)

BEGIN_MESSAGE_MAP(CAutoScrollWnd, CWnd)
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_MBUTTONDOWN()
ON_WM_KILLFOCUS()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// The badge's round shape inside its square window.
constexpr int kRegionLeft = 2;
constexpr int kRegionRight = 29;

// Whether the view scrolls along one axis: by its own scroll-bar control when it has one,
// otherwise by the window's scroll bar.
bool CanScroll(CWnd* pView, int nBar, DWORD dwStyleBit)
{
    CScrollBar* pBar = pView->GetScrollBarCtrl(nBar);
    if (pBar && pBar->m_hWnd)
        return pBar->IsWindowEnabled() != FALSE;
    return (pView->GetStyle() & dwStyleBit) != 0;
}

UINT CursorOf(CAutoScrollWnd::Direction nDirection)
{
    switch (nDirection) {
    case CAutoScrollWnd::DirUp:
        return IDC_AUTOSCROLL_UP;
    case CAutoScrollWnd::DirLeft:
        return IDC_AUTOSCROLL_LEFT;
    case CAutoScrollWnd::DirDown:
        return IDC_AUTOSCROLL_DOWN;
    case CAutoScrollWnd::DirRight:
        return IDC_AUTOSCROLL_RIGHT;
    default:
        return IDC_AUTOSCROLL_NEUTRAL;
    }
}

} // namespace

CAutoScrollWnd::CAutoScrollWnd() = default;

CAutoScrollWnd* CAutoScrollWnd::GetActive()
{
    return CShellState::Get().pActiveAutoScroll;
}

CAutoScrollWnd::~CAutoScrollWnd()
{
    if (CShellState::Get().pActiveAutoScroll == this)
        CShellState::Get().pActiveAutoScroll = nullptr;
}

CAutoScrollWnd::Direction CAutoScrollWnd::ClassifyOffset(int dx, int dy, int& nDistance)
{
    Direction nDirection;
    if (std::abs(dx) <= std::abs(dy)) {
        nDirection = dy < 1 ? DirUp : DirDown;
        nDistance = std::abs(dy);
    } else {
        nDirection = dx < 1 ? DirLeft : DirRight;
        nDistance = std::abs(dx);
    }
    if (nDistance / LINE_DISTANCE == 0 && std::abs(dx) < NEUTRAL_RADIUS && std::abs(dy) < NEUTRAL_RADIUS)
        nDirection = DirNeutral;
    return nDirection;
}

BOOL CAutoScrollWnd::StartAutoScroll(CWnd* pView)
{
    // One auto-scrolling at a time: the running one holds the mouse.
    if (!pView || !pView->m_hWnd || CShellState::Get().pActiveAutoScroll) {
        delete this;
        return FALSE;
    }
    m_bNoVertical = !CanScroll(pView, SB_VERT, WS_VSCROLL);
    m_bNoHorizontal = !CanScroll(pView, SB_HORZ, WS_HSCROLL);
    if (m_bNoVertical && m_bNoHorizontal) {
        delete this;
        return FALSE;
    }
    m_pView = pView;
    m_hWndView = pView->m_hWnd;
    RegisterSharedControlResources();
    m_bitmap.LoadBitmap(IDB_AUTOSCROLL);
    m_nBitmapOffset =
        (!m_bNoVertical && !m_bNoHorizontal) ? 0 : (m_bNoVertical ? PICTURE_SIZE : 2 * PICTURE_SIZE);

    // The pointer moves up and left; where it lands is the origin of all distances.
    POINT pt{0, 0};
    ::GetCursorPos(&pt);
    pt.x -= POINTER_SHIFT;
    pt.y -= POINTER_SHIFT;
    ::SetCursorPos(pt.x, pt.y);
    m_ptOrigin = CPoint(pt.x, pt.y);
    pView->ScreenToClient(&m_ptOrigin);

    LPCTSTR lpszClass = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(WS_EX_TOOLWINDOW, lpszClass, nullptr, WS_POPUP, pt.x, pt.y, WINDOW_SIZE, WINDOW_SIZE,
                  pView->m_hWnd, nullptr)) {
        ::SetCursorPos(pt.x + POINTER_SHIFT, pt.y + POINTER_SHIFT);
        delete this;
        return FALSE;
    }
    m_bWindowMade = TRUE;
    CShellState::Get().pActiveAutoScroll = this;
    CRgn rgn;
    rgn.CreateEllipticRgn(kRegionLeft, kRegionLeft, kRegionRight, kRegionRight);
    SetWindowRgn(static_cast<HRGN>(rgn.m_hObject), FALSE);
    ShowWindow(SW_SHOW);
    SetFocus();
    SetCapture();
    m_nTimer = SetTimer(TIMER_ID, TIMER_PERIOD);
    ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_AUTOSCROLL_NEUTRAL)));
    return TRUE;
}

void CAutoScrollWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CDC dcMem;
    if (!m_bitmap.m_hObject || !dcMem.CreateCompatibleDC(&dc))
        return;
    CBitmap* pOld = dcMem.SelectObject(&m_bitmap);
    const int x = std::max(1, (rc.Width() - PICTURE_SIZE) / 2);
    const int y = std::max(1, (rc.Height() - PICTURE_SIZE) / 2);
    dc.BitBlt(x, y, PICTURE_SIZE, PICTURE_SIZE, &dcMem, m_nBitmapOffset, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
}

void CAutoScrollWnd::ScrollView(UINT nMsg, UINT nCode, int nBar)
{
    CScrollBar* pBar = m_pView->GetScrollBarCtrl(nBar);
    const HWND hBar = pBar ? pBar->m_hWnd : nullptr;
    m_pView->SendMessage(nMsg, MAKEWPARAM(nCode, 0), reinterpret_cast<LPARAM>(hBar));
}

void CAutoScrollWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_ID) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    // The view may have gone (its window closed) while the badge was up.
    if (!::IsWindow(m_hWndView) || CWnd::FromHandle(m_hWndView) != m_pView) {
        Finish();
        return;
    }
    POINT pt{0, 0};
    ::GetCursorPos(&pt);
    m_pView->ScreenToClient(&pt);
    int nDistance = 0;
    m_nDirection = ClassifyOffset(pt.x - m_ptOrigin.x, pt.y - m_ptOrigin.y, nDistance);
    const HWND hWnd = m_hWnd;
    if (nDistance / LINE_DISTANCE >= 1) {
        switch (m_nDirection) {
        case DirUp:
            ScrollView(WM_VSCROLL, SB_LINEUP, SB_VERT);
            break;
        case DirDown:
            ScrollView(WM_VSCROLL, SB_LINEDOWN, SB_VERT);
            break;
        case DirLeft:
            ScrollView(WM_HSCROLL, SB_LINELEFT, SB_HORZ);
            break;
        case DirRight:
            ScrollView(WM_HSCROLL, SB_LINERIGHT, SB_HORZ);
            break;
        default:
            break;
        }
    }
    // The view's scrolling may have ended everything (a closed window).
    if (!::IsWindow(hWnd))
        return;
    ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(CursorOf(m_nDirection))));
}

void CAutoScrollWnd::OnMButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    Finish();
}

void CAutoScrollWnd::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    Finish();
}

void CAutoScrollWnd::Finish()
{
    // Destroying the window takes its focus away, which asks to finish again.
    if (m_bFinishing || !m_hWnd)
        return;
    m_bFinishing = TRUE;
    DestroyWindow();
}

void CAutoScrollWnd::OnDestroy()
{
    if (GetCapture() == this)
        ::ReleaseCapture();
    if (m_nTimer) {
        KillTimer(TIMER_ID);
        m_nTimer = 0;
    }
    ::SetCursor(nullptr);
    POINT pt{0, 0};
    ::GetCursorPos(&pt);
    ::SetCursorPos(pt.x + POINTER_SHIFT, pt.y + POINTER_SHIFT);
    if (CShellState::Get().pActiveAutoScroll == this)
        CShellState::Get().pActiveAutoScroll = nullptr;
    CWnd::OnDestroy();
}

void CAutoScrollWnd::PostNcDestroy()
{
    // A window that never came up is cleaned up by StartAutoScroll itself.
    if (m_bWindowMade)
        delete this;
}
