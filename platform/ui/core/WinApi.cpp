// Keyboard and mouse state, windows by handle, the event queue and the system metrics.
#include "platform/ui/core/WinApi.h"

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWndManager_p.h"

#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QThread>
#include <QWidget>

#include <atomic>

namespace {

CWndManager* Manager()
{
    return CWndManager::InstanceIfReady();
}

// Platforms without a real pointer: the position the last mouse event reported counts.
bool VirtualPointer()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

// The handle of a window object, null for none.
HWND HandleOf(const CWnd* p)
{
    return p ? p->m_hWnd : nullptr;
}

// Does something to the window behind a handle: TRUE when there is one.
template <class Action>
BOOL WithWindow(HWND hWnd, Action action)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    if (!p)
        return FALSE;
    action(p);
    return TRUE;
}

} // namespace

short GetKeyState(int nVirtKey)
{
    CWndManager* pManager = Manager();
    if (!pManager || nVirtKey <= 0 || nVirtKey > 255)
        return 0;
    int vk = nVirtKey;
    if (vk == static_cast<int>(VK_LSHIFT) || vk == static_cast<int>(VK_RSHIFT))
        vk = VK_SHIFT;
    else if (vk == static_cast<int>(VK_LCONTROL) || vk == static_cast<int>(VK_RCONTROL))
        vk = VK_CONTROL;
    else if (vk == static_cast<int>(VK_LMENU) || vk == static_cast<int>(VK_RMENU))
        vk = VK_MENU;
    unsigned short state = pManager->m_keyDown[static_cast<size_t>(vk)] ? 0x8000 : 0;
    if (vk == static_cast<int>(VK_CAPITAL) && pManager->m_bCapsLock)
        state |= 1;
    if (vk == static_cast<int>(VK_NUMLOCK) && pManager->m_bNumLock)
        state |= 1;
    return static_cast<short>(state);
}

short GetAsyncKeyState(int vKey)
{
    return static_cast<short>(GetKeyState(vKey) & static_cast<short>(0x8000));
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint)
        return FALSE;
    QPoint p;
    CWndManager* pManager = Manager();
    if (pManager && VirtualPointer())
        p = pManager->m_lastCursorPos;
    else
        p = QCursor::pos();
    lpPoint->x = p.x();
    lpPoint->y = p.y();
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    QCursor::setPos(x, y);
    if (CWndManager* pManager = Manager())
        pManager->m_lastCursorPos = QPoint(x, y);
    return TRUE;
}

DWORD GetMessagePos()
{
    const MSG* pMsg = CWnd::GetCurrentMessage();
    POINT pt{0, 0};
    if (pMsg)
        pt = pMsg->pt;
    else
        GetCursorPos(&pt);
    return MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
}

LONG GetMessageTime()
{
    const MSG* pMsg = CWnd::GetCurrentMessage();
    return pMsg ? static_cast<LONG>(pMsg->time) : static_cast<LONG>(GetTickCount());
}

UINT GetDoubleClickTime()
{
    return qApp ? static_cast<UINT>(QGuiApplication::styleHints()->mouseDoubleClickInterval()) : 500;
}

DWORD GetTickCount()
{
    return static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch() & 0xFFFFFFFF);
}

void Sleep(DWORD dwMilliseconds)
{
    QThread::msleep(dwMilliseconds);
}

// ---------------------------------------------------------------------------------------
// Windows by handle.
// ---------------------------------------------------------------------------------------
BOOL IsWindow(HWND hWnd)
{
    return CWnd::FromHandle(hWnd) != nullptr;
}

BOOL IsWindowVisible(HWND hWnd)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? p->IsWindowVisible() : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? p->IsWindowEnabled() : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? p->EnableWindow(bEnable) : FALSE;
}

HWND GetFocus()
{
    return HandleOf(CWnd::GetFocus());
}

HWND SetFocus(HWND hWnd)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? HandleOf(p->SetFocus()) : nullptr;
}

HWND GetCapture()
{
    return HandleOf(CWnd::GetCapture());
}

HWND SetCapture(HWND hWnd)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? HandleOf(p->SetCapture()) : nullptr;
}

BOOL ReleaseCapture()
{
    CWndManager* pManager = Manager();
    if (!pManager || !pManager->m_hWndCapture)
        return TRUE;
    HWND hOld = pManager->m_hWndCapture;
    pManager->m_hWndCapture = nullptr;
    if (CWndState* pState = pManager->Find(hOld)) {
        if (pState->client)
            pState->client->releaseMouse();
        pManager->Call(hOld, WM_CAPTURECHANGED, 0, 0);
    }
    return TRUE;
}

HWND GetParent(HWND hWnd)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? HandleOf(p->GetParent()) : nullptr;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    CWnd* p = CWnd::FromHandle(hDlg);
    return p ? HandleOf(p->GetDlgItem(nIDDlgItem)) : nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? p->GetDlgCtrlID() : 0;
}

HWND GetActiveWindow()
{
    return HandleOf(CWnd::GetActiveWindow());
}

HWND GetDesktopWindow()
{
    return HandleOf(CWnd::GetDesktopWindow());
}

LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? p->SendMessage(msg, wParam, lParam) : 0;
}

BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWndManager* pManager = Manager();
    return pManager ? pManager->Post(hWnd, msg, wParam, lParam) : FALSE;
}

BOOL InvalidateRect(HWND hWnd, LPCRECT lpRect, BOOL bErase)
{
    return WithWindow(hWnd, [&](CWnd* p) { p->InvalidateRect(lpRect, bErase); });
}

BOOL UpdateWindow(HWND hWnd)
{
    return WithWindow(hWnd, [&](CWnd* p) { p->UpdateWindow(); });
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? p->ShowWindow(nCmdShow) : FALSE;
}

BOOL DestroyWindow(HWND hWnd)
{
    CWnd* p = CWnd::FromHandle(hWnd);
    return p ? p->DestroyWindow() : FALSE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    return WithWindow(hWnd, [&](CWnd* p) { p->GetClientRect(lpRect); });
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    return WithWindow(hWnd, [&](CWnd* p) { p->GetWindowRect(lpRect); });
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    return WithWindow(hWnd, [&](CWnd* p) { p->ClientToScreen(lpPoint); });
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    return WithWindow(hWnd, [&](CWnd* p) { p->ScreenToClient(lpPoint); });
}

int GetSystemMetrics(int nIndex)
{
    QRect screen(0, 0, 1920, 1080);
    QRect avail = screen;
    if (qApp) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            screen = s->geometry();
            avail = s->availableGeometry();
        }
    }
    switch (nIndex) {
    case SM_CXSCREEN:
        return screen.width();
    case SM_CYSCREEN:
        return screen.height();
    case SM_CXFULLSCREEN:
        return avail.width();
    case SM_CYFULLSCREEN:
        return avail.height() - 23;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 17;
    case SM_CYCAPTION:
        return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 19;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_DBCSENABLED:
        return 1;
    default:
        return 0;
    }
}

BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, LPVOID pvParam, UINT fWinIni)
{
    (void)uiParam;
    (void)fWinIni;
    if (uiAction != SPI_GETWORKAREA || !pvParam)
        return FALSE;
    QRect area(0, 0, 1920, 1080);
    if (qApp)
        if (QScreen* s = QGuiApplication::primaryScreen())
            area = s->availableGeometry();
    auto* pRect = static_cast<RECT*>(pvParam);
    pRect->left = area.left();
    pRect->top = area.top();
    pRect->right = area.left() + area.width();
    pRect->bottom = area.top() + area.height();
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// The event queue.
// ---------------------------------------------------------------------------------------
BOOL PeekMessage(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    (void)hWnd;
    (void)wMsgFilterMin;
    (void)wMsgFilterMax;
    if (lpMsg)
        *lpMsg = MSG{};
    // Pending events are handled here and now, so the caller's own dispatching loop finds
    // nothing left to do.
    if (wRemoveMsg & PM_REMOVE)
        AfxPumpPendingMessages();
    return FALSE;
}

void AfxPumpPendingMessages()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {
std::atomic<UINT> g_nMessageBeeps{0};
} // namespace

void MessageBeep(UINT uType)
{
    (void)uType;
    ++g_nMessageBeeps;
    if (qApp)
        QApplication::beep();
}

UINT AfxGetMessageBeepCount()
{
    return g_nMessageBeeps;
}
