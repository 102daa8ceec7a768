#include "platform/ui/core/CWnd.h"

#include "platform/ui/core/CWndClientWidget_p.h"
#include "platform/ui/core/CWndFrameWidget_p.h"
#include "platform/ui/core/CWndShared_p.h"

#include "platform/ui/core/DialogTitleBar_p.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QScreen>

#include <algorithm>

namespace {

QRect ScreenRect()
{
    if (QScreen* s = QGuiApplication::primaryScreen())
        return s->geometry();
    return QRect(0, 0, 1920, 1080);
}

// The widget that stands for the window among its siblings: a child frame of a multiple
// document frame sits in a sub-window that draws its caption and border, which move and
// size with it.
QWidget* OuterWidget(const CWndState* pState)
{
    QWidget* w = pState->widget;
    if (auto* pSub = qobject_cast<QMdiSubWindow*>(w->parentWidget()); pSub && pSub->widget() == w)
        return pSub;
    return w;
}

// The window's rectangle in the coordinates MoveWindow takes: the screen's for a top-level
// window, its parent's client area's for a child.
QRect PlacedRect(const CWndState* pState)
{
    QWidget* w = OuterWidget(pState);
    if (w->isWindow() || w == pState->widget)
        return w->geometry();
    const CWndState* pParent = StateOf(pState->hWndParent);
    QWidget* pParentClient = pParent && pParent->client ? pParent->client.data() : w->parentWidget();
    return QRect(pParentClient->mapFromGlobal(w->mapToGlobal(QPoint(0, 0))), w->size());
}

// Puts the window at a rectangle in the coordinates PlacedRect gives, the same rectangle
// GetWindowRect then reports. A top-level window's rectangle is the area inside what the
// window manager draws around it (its title bar and border; where the window manager draws
// none, the dialog's own caption is inside): that is what the program can read back at any
// time, before the window manager has framed the window as well as after, so a rectangle
// kept when a window closes places it where and as large as it was when it opens again.
void PlaceWindow(CWndState* pState, const QRect& rc, bool bSized)
{
    QWidget* w = OuterWidget(pState);
    if (w->isWindow()) {
        w->setGeometry(rc);
        // Sized by the program, the rectangle is the whole window: a caption added when
        // it shows goes inside it.
        if (bSized)
            AfxMarkWindowRectPlaced(w, true);
    } else if (w == pState->widget) {
        w->setGeometry(rc);
    } else {
        const CWndState* pParent = StateOf(pState->hWndParent);
        QWidget* pParentClient = pParent && pParent->client ? pParent->client.data() : w->parentWidget();
        const QPoint at = w->parentWidget()->mapFromGlobal(pParentClient->mapToGlobal(rc.topLeft()));
        w->setGeometry(QRect(at, rc.size()));
    }
    if (pState->frame)
        pState->frame->Relayout();
}

} // namespace

// ---------------------------------------------------------------------------------------
// Position and size.
// ---------------------------------------------------------------------------------------
void AfxClientSizeChanged(HWND hWnd)
{
    CWndState* pState = StateOf(hWnd);
    if (!pState || !pState->client)
        return;
    QWidget* pClient = pState->client;
    if (pState->surface) {
        const QSize old = pState->surface->BufferSize();
        const QSize now = pClient->size().expandedTo(QSize(1, 1));
        if (pState->surface->SyncBufferSize()) {
            const QRect all(QPoint(0, 0), now);
            QRegion fresh = QRegion(all).subtracted(QRegion(QRect(QPoint(0, 0), old)));
            if (pState->classStyle & (CS_HREDRAW | CS_VREDRAW))
                fresh = QRegion(all);
            if (!fresh.isEmpty()) {
                pState->invalid += fresh;
                pState->eraseNeeded = true;
                CWndManager::Instance().SchedulePaint(pState);
            }
        }
    }
    const CSize size(pClient->width(), pClient->height());
    if (!pState->created || pState->lastSize == size)
        return;
    pState->lastSize = size;
    UINT nType = SIZE_RESTORED;
    if (pState->widget && pState->widget->isWindow() && pState->widget->isMaximized())
        nType = SIZE_MAXIMIZED;
    CWndManager::Instance().Call(hWnd, WM_SIZE, nType,
                                 MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)));
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->widget)
        return;
    PlaceWindow(pState, QRect(x, y, std::max(0, nWidth), std::max(0, nHeight)), true);
    AfxClientSizeChanged(m_hWnd);
    if (bRepaint)
        Invalidate(TRUE);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->widget)
        return FALSE;
    QWidget* w = pState->widget;
    if (!(nFlags & SWP_NOMOVE) || !(nFlags & SWP_NOSIZE)) {
        const QRect g = PlacedRect(pState);
        const int nx = (nFlags & SWP_NOMOVE) ? g.x() : x;
        const int ny = (nFlags & SWP_NOMOVE) ? g.y() : y;
        const int ncx = (nFlags & SWP_NOSIZE) ? g.width() : std::max(0, cx);
        const int ncy = (nFlags & SWP_NOSIZE) ? g.height() : std::max(0, cy);
        PlaceWindow(pState, QRect(nx, ny, ncx, ncy), !(nFlags & SWP_NOSIZE));
        AfxClientSizeChanged(m_hWnd);
        if (!StateOf(m_hWnd))
            return TRUE;
    }
    if (!(nFlags & SWP_NOZORDER)) {
        HWND hAfter = pWndInsertAfter ? pWndInsertAfter->m_hWnd : HWND_TOP;
        if (pWndInsertAfter == reinterpret_cast<const CWnd*>(HWND_BOTTOM))
            hAfter = HWND_BOTTOM;
        if (CWndState* pParent = StateOf(pState->hWndParent)) {
            auto& v = pParent->children;
            v.erase(std::remove(v.begin(), v.end(), m_hWnd), v.end());
            if (hAfter == HWND_BOTTOM) {
                v.push_back(m_hWnd);
                w->lower();
            } else if (hAfter == HWND_TOP || hAfter == HWND_TOPMOST || hAfter == HWND_NOTOPMOST) {
                v.insert(v.begin(), m_hWnd);
                w->raise();
            } else {
                auto it = std::find(v.begin(), v.end(), hAfter);
                v.insert(it == v.end() ? v.end() : it + 1, m_hWnd);
                if (CWndState* pAfter = StateOf(hAfter); pAfter && pAfter->widget)
                    w->stackUnder(pAfter->widget);
            }
        } else if (hAfter == HWND_TOP || hAfter == HWND_TOPMOST) {
            w->raise();
        }
    }
    if (nFlags & SWP_SHOWWINDOW)
        ShowWindow(SW_SHOWNA);
    if (nFlags & SWP_HIDEWINDOW)
        ShowWindow(SW_HIDE);
    if (nFlags & SWP_FRAMECHANGED) {
        if (pState->frame) {
            pState->frame->Relayout();
            pState->frame->update();
        }
        AfxClientSizeChanged(m_hWnd);
    }
    return TRUE;
}

namespace {

// Whether showing a top-level window this way makes it the active window, the one that takes
// the keyboard. A window with a title bar is one the user works in: a modeless dialog just
// opened takes what the user types next, as a modal one does. It is asked for, not left to
// the window manager, which may keep the focus where it was when a dialog maps (openbox
// does for the tool-bar type dialogs get). A pop-up without a title bar (a notice to wait,
// the start-up picture) leaves the keyboard where it is.
bool ShowActivates(int nCmdShow, DWORD style)
{
    if ((style & WS_CAPTION) != WS_CAPTION)
        return false;
    switch (nCmdShow) {
    case SW_SHOWNORMAL:
    case SW_SHOWMAXIMIZED:
    case SW_SHOW:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        return true;
    default:
        return false;
    }
}

void SchedulePaintTree(HWND hWnd)
{
    CWndState* pState = StateOf(hWnd);
    if (!pState)
        return;
    CWndManager::Instance().SchedulePaint(pState);
    for (HWND h : pState->children)
        SchedulePaintTree(h);
}

} // namespace

BOOL CWnd::ShowWindow(int nCmdShow)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->widget)
        return FALSE;
    const BOOL bWasVisible = (pState->style & WS_VISIBLE) != 0;
    QWidget* w = pState->widget;
    const HWND hWnd = m_hWnd;
    if (nCmdShow == SW_HIDE) {
        if (bWasVisible) {
            SendMessage(WM_SHOWWINDOW, FALSE, 0);
            if (!StateOf(hWnd))
                return bWasVisible;
            pState->style &= ~WS_VISIBLE;
            w->hide();
        }
        return bWasVisible;
    }
    if (!bWasVisible) {
        SendMessage(WM_SHOWWINDOW, TRUE, 0);
        if (!StateOf(hWnd))
            return bWasVisible;
    }
    pState->style |= WS_VISIBLE;
    if (w->isWindow()) {
        switch (nCmdShow) {
        case SW_SHOWMAXIMIZED:
            pState->style |= WS_MAXIMIZE;
            w->showMaximized();
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            w->showMinimized();
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
            pState->style &= ~WS_MAXIMIZE;
            w->showNormal();
            break;
        default:
            w->show();
            break;
        }
    } else {
        w->show();
    }
    if (w->isWindow() && ShowActivates(nCmdShow, pState->style))
        SetActiveWindow();
    if (pState->frame)
        pState->frame->Relayout();
    AfxClientSizeChanged(hWnd);
    // The window and the children that became visible with it paint what is waiting.
    SchedulePaintTree(hWnd);
    return bWasVisible;
}

BOOL CWnd::IsWindowVisible() const
{
    for (CWndState* p = StateOf(m_hWnd); p; p = (p->style & WS_CHILD) ? StateOf(p->hWndParent) : nullptr) {
        if (!(p->style & WS_VISIBLE))
            return FALSE;
    }
    return m_hWnd && StateOf(m_hWnd) ? TRUE : FALSE;
}

BOOL CWnd::IsIconic() const
{
    QWidget* w = GetWidget();
    return w && w->isWindow() && w->isMinimized();
}

BOOL CWnd::IsZoomed() const
{
    QWidget* w = GetWidget();
    return w && w->isWindow() && w->isMaximized();
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->widget)
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcCenter;
    if (pState->style & WS_CHILD) {
        CWnd* pParent = GetParent();
        if (!pParent)
            return;
        pParent->GetClientRect(&rcCenter);
        const int x = rcCenter.left + (rcCenter.Width() - rcWindow.Width()) / 2;
        const int y = rcCenter.top + (rcCenter.Height() - rcWindow.Height()) / 2;
        SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    CWnd* pCenter = pAlternateOwner ? pAlternateOwner : FromHandle(pState->hWndOwner);
    const QRect screen = ScreenRect();
    if (pCenter && pCenter->IsWindowVisible() && !pCenter->IsIconic())
        pCenter->GetWindowRect(&rcCenter);
    else
        rcCenter = CRect(screen.left(), screen.top(), screen.right() + 1, screen.bottom() + 1);
    int x = rcCenter.left + (rcCenter.Width() - rcWindow.Width()) / 2;
    int y = rcCenter.top + (rcCenter.Height() - rcWindow.Height()) / 2;
    // Keep the window on the screen.
    x = std::max(screen.left(), std::min(x, screen.right() + 1 - rcWindow.Width()));
    y = std::max(screen.top(), std::min(y, screen.bottom() + 1 - rcWindow.Height()));
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    *lpRect = RECT{0, 0, 0, 0};
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return;
    if (!pState->client) {
        if (!pState->widget) {
            const QRect s = ScreenRect();
            *lpRect = RECT{0, 0, s.width(), s.height()};
        }
        return;
    }
    lpRect->right = pState->client->width();
    lpRect->bottom = pState->client->height();
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    *lpRect = RECT{0, 0, 0, 0};
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return;
    if (!pState->widget) {
        const QRect s = ScreenRect();
        *lpRect = RECT{s.left(), s.top(), s.right() + 1, s.bottom() + 1};
        return;
    }
    QWidget* w = OuterWidget(pState);
    const QPoint tl = w->isWindow() ? w->geometry().topLeft() : w->mapToGlobal(QPoint(0, 0));
    *lpRect = RECT{tl.x(), tl.y(), tl.x() + w->width(), tl.y() + w->height()};
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    QWidget* c = GetClientWidget();
    if (!c)
        return;
    const QPoint p = c->mapToGlobal(QPoint(lpPoint->x, lpPoint->y));
    lpPoint->x = p.x();
    lpPoint->y = p.y();
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->left));
    ClientToScreen(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    QWidget* c = GetClientWidget();
    if (!c)
        return;
    const QPoint p = c->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
    lpPoint->x = p.x();
    lpPoint->y = p.y();
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->left));
    ScreenToClient(reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const
{
    for (UINT i = 0; i < nCount; ++i) {
        ClientToScreen(&lpPoint[i]);
        if (pwndTo)
            pwndTo->ScreenToClient(&lpPoint[i]);
    }
}

void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const
{
    MapWindowPoints(pwndTo, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CWnd::BringWindowToTop()
{
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->widget)
        return FALSE;
    QWidget* w = pState->widget;
    lpwndpl->length = sizeof(WINDOWPLACEMENT);
    lpwndpl->flags = 0;
    lpwndpl->showCmd = w->isMaximized()   ? SW_SHOWMAXIMIZED
                       : w->isMinimized() ? SW_SHOWMINIMIZED
                                          : SW_SHOWNORMAL;
    lpwndpl->ptMinPosition = POINT{-1, -1};
    lpwndpl->ptMaxPosition = POINT{-1, -1};
    const QRect g = w->isWindow() ? w->normalGeometry() : w->geometry();
    lpwndpl->rcNormalPosition = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    return TRUE;
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl)
{
    const RECT& r = lpwndpl->rcNormalPosition;
    MoveWindow(&r, TRUE);
    ShowWindow(static_cast<int>(lpwndpl->showCmd));
    return TRUE;
}
