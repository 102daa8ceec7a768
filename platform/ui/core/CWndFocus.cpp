#include "platform/ui/core/CWnd.h"

#include "platform/base/Check.h"
#include "platform/ui/core/CWndClientWidget_p.h"
#include "platform/ui/core/CWndShared_p.h"
#include "platform/ui/core/WinApi.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>

namespace {

// The desktop stand-in: a window without widget whose rectangles are the screen's.
CWnd* DesktopWindow()
{
    static CWnd* s_pDesktop = nullptr;
    if (!s_pDesktop || !s_pDesktop->m_hWnd) {
        CWndManager* pManager = Manager();
        if (!pManager)
            return nullptr;
        if (!s_pDesktop)
            s_pDesktop = new CWnd;
        CWndState* pState = pManager->NewWindow();
        pState->pWnd = s_pDesktop;
        pState->style = WS_VISIBLE;
        pState->created = true;
        s_pDesktop->m_hWnd = pState->hWnd;
    }
    return s_pDesktop;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Timers.
// ---------------------------------------------------------------------------------------
UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer)
{
    CWndManager* pManager = Manager();
    CWndState* pState = StateOf(m_hWnd);
    if (!pManager || !pState || nIDEvent == 0)
        return 0;
    KillTimer(nIDEvent);
    auto* pTimer = new QTimer(pManager);
    pTimer->setInterval(static_cast<int>(std::max<UINT>(nElapse, 10)));
    HWND hWnd = m_hWnd;
    pTimer->callOnTimeout(pManager, [hWnd, nIDEvent] {
        CWndManager& m = CWndManager::Instance();
        CWndState* p = m.Find(hWnd);
        if (!p)
            return;
        auto it = p->timerProcs.find(nIDEvent);
        TIMERPROC proc = it == p->timerProcs.end() ? nullptr : it->second;
        if (proc) {
            proc(hWnd, WM_TIMER, nIDEvent, ::GetTickCount());
            return;
        }
        MSG msg{hWnd, WM_TIMER, nIDEvent, 0, ::GetTickCount(), POINT{0, 0}};
        m.PumpOne(msg);
    });
    pState->timers[nIDEvent] = pTimer;
    pState->timerProcs[nIDEvent] = lpfnTimer;
    pTimer->start();
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    auto it = pState->timers.find(nIDEvent);
    if (it == pState->timers.end())
        return FALSE;
    it->second->stop();
    it->second->deleteLater();
    pState->timers.erase(it);
    pState->timerProcs.erase(nIDEvent);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Focus, capture, activation, enabling.
// ---------------------------------------------------------------------------------------
void CWnd::KeepFocusOffOnClick()
{
    // The toolkit gives the keyboard on a click to the clicked widget or the nearest parent
    // that takes it by click: the window's own widgets are left out of that. They still take
    // it as before otherwise (a document window coming to the front gives it to the first of
    // its widgets that takes it when none had it).
    CWndState* pState = StateOf(m_hWnd);
    MORVEL_CHECK(pState != nullptr && pState->client != nullptr, "the window exists");
    for (QWidget* pWidget : {pState->client.data(), pState->widget.data()}) {
        if (pWidget != nullptr)
            pWidget->setFocusPolicy(static_cast<Qt::FocusPolicy>(pWidget->focusPolicy() & ~Qt::ClickFocus));
    }
}

CWnd* CWnd::SetFocus()
{
    CWndManager* pManager = Manager();
    CWndState* pState = StateOf(m_hWnd);
    if (!pManager || !pState || !pState->client)
        return nullptr;
    CWnd* pOld = FromHandle(pManager->m_hWndFocus);
    if (pManager->m_nKeyboardHeld > 0)
        return pOld;
    QWidget* pClient = pState->client;
    QWidget* pTop = pClient->window();
    // Focus only reaches a widget of the active window: activate it first.
    if (pTop && pTop->isVisible() && QApplication::activeWindow() != pTop) {
        pTop->activateWindow();
        QApplication::setActiveWindow(pTop);
    }
    pClient->setFocus(Qt::OtherFocusReason);
    // A hidden window or one Qt would not give the focus to still becomes the focus window,
    // as on Windows.
    if (pManager->m_hWndFocus != m_hWnd && StateOf(m_hWnd)) {
        HWND hOld = pManager->m_hWndFocus;
        pManager->m_hWndFocus = m_hWnd;
        if (hOld && StateOf(hOld))
            pManager->Call(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(m_hWnd), 0);
        if (StateOf(m_hWnd) && pManager->m_hWndFocus == m_hWnd)
            pManager->Call(m_hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
    }
    return pOld;
}

CWnd* CWnd::GetFocus()
{
    CWndManager* pManager = Manager();
    return pManager ? FromHandle(pManager->m_hWndFocus) : nullptr;
}

CWnd* CWnd::SetCapture()
{
    CWndManager* pManager = Manager();
    CWndState* pState = StateOf(m_hWnd);
    if (!pManager || !pState)
        return nullptr;
    HWND hOld = pManager->m_hWndCapture;
    if (hOld == m_hWnd)
        return FromHandle(hOld);
    CWnd* pOld = FromHandle(hOld);
    pManager->m_hWndCapture = m_hWnd;
    if (CWndState* p = StateOf(hOld); p && p->client)
        p->client->releaseMouse();
    if (pState->client && pState->client->isVisible())
        pState->client->grabMouse();
    if (hOld && StateOf(hOld))
        pManager->Call(hOld, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(m_hWnd));
    return pOld;
}

CWnd* CWnd::GetCapture()
{
    CWndManager* pManager = Manager();
    return pManager ? FromHandle(pManager->m_hWndCapture) : nullptr;
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    const BOOL bWasDisabled = (pState->style & WS_DISABLED) != 0;
    if (bEnable)
        pState->style &= ~WS_DISABLED;
    else
        pState->style |= WS_DISABLED;
    if (pState->widget)
        pState->widget->setEnabled(bEnable != FALSE);
    if (bWasDisabled == (bEnable == FALSE))
        return bWasDisabled;
    // A disabled window loses the focus and the capture.
    if (!bEnable) {
        CWndManager* pManager = Manager();
        if (pManager && pManager->m_hWndCapture == m_hWnd)
            ::ReleaseCapture();
    }
    SendMessage(WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return bWasDisabled;
}

BOOL CWnd::IsWindowEnabled() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState && !(pState->style & WS_DISABLED);
}

CWnd* CWnd::SetActiveWindow()
{
    CWnd* pOld = GetActiveWindow();
    QWidget* w = GetWidget();
    if (w && w->isWindow()) {
        w->activateWindow();
        QApplication::setActiveWindow(w);
    }
    return pOld;
}

CWnd* CWnd::GetActiveWindow()
{
    QWidget* w = QApplication::activeWindow();
    return w ? FromWidget(w) : nullptr;
}

BOOL CWnd::SetForegroundWindow()
{
    QWidget* w = GetWidget();
    if (!w)
        return FALSE;
    w->window()->raise();
    w->window()->activateWindow();
    return TRUE;
}

CWnd* CWnd::GetForegroundWindow()
{
    return GetActiveWindow();
}

CWnd* CWnd::GetDesktopWindow()
{
    return DesktopWindow();
}

BOOL CWnd::FlashWindow(BOOL bInvert)
{
    (void)bInvert;
    if (QWidget* w = GetWidget())
        QApplication::alert(w->window());
    return TRUE;
}
