// The standard default handling of window messages: what a window does with a message its
// own code leaves alone.
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/MessageTable_p.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/Cursors_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/FontMapper.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>
#include <cstring>

namespace {

bool IsInputMessage(UINT nMsg)
{
    return (nMsg >= WM_MOUSEFIRST && nMsg <= WM_MOUSELAST) || (nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST);
}

// The class background: a brush, or a system colour index + 1.
LRESULT EraseBackground(CWndState* pState, CDC* pDC)
{
    if (!pDC || !pState->hbrBackground)
        return 0;
    CRect rc;
    pDC->GetClipBox(&rc);
    const uintptr_t v = reinterpret_cast<uintptr_t>(pState->hbrBackground);
    if (v <= 64) {
        pDC->FillSolidRect(&rc, GetSysColor(static_cast<int>(v) - 1));
        return 1;
    }
    CBrush* pBrush = CBrush::FromHandle(pState->hbrBackground);
    if (!pBrush)
        return 0;
    pDC->FillRect(&rc, pBrush);
    return 1;
}

void SendContextMenu(CWnd* pWnd, LPARAM lParamScreen)
{
    pWnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pWnd->m_hWnd), lParamScreen);
}

LRESULT OnCreate(CWnd*, CWndState*, UINT, WPARAM, LPARAM)
{
    return 0;
}

LRESULT OnClose(CWnd* pWnd, CWndState*, UINT, WPARAM, LPARAM)
{
    pWnd->DestroyWindow();
    return 0;
}

LRESULT OnPaint(CWnd* pWnd, CWndState*, UINT, WPARAM, LPARAM)
{
    // Nobody painted: the area counts as painted (after the background is erased).
    CPaintDC dc(pWnd);
    return 0;
}

LRESULT OnEraseBkgnd(CWnd*, CWndState* pState, UINT, WPARAM wParam, LPARAM)
{
    return EraseBackground(pState, CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
}

LRESULT OnSetText(CWnd*, CWndState* pState, UINT, WPARAM, LPARAM lParam)
{
    const char* psz = reinterpret_cast<const char*>(lParam);
    pState->text = psz ? psz : "";
    if (pState->widget && pState->widget->isWindow()) {
        const std::u16string u = Cp932ToUtf16(pState->text.str(), true);
        pState->widget->setWindowTitle(QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size())));
    }
    return TRUE;
}

LRESULT OnGetText(CWnd*, CWndState* pState, UINT, WPARAM wParam, LPARAM lParam)
{
    char* buf = reinterpret_cast<char*>(lParam);
    const int nMax = static_cast<int>(wParam);
    if (!buf || nMax <= 0)
        return 0;
    // Copies at most nMax - 1 bytes, never half of a double-byte character.
    int n = std::min(pState->text.GetLength(), nMax - 1);
    int safe = 0;
    for (int i = 0; i < n;) {
        const int len = Cp932CharLength(pState->text.c_str() + i);
        if (i + len > n)
            break;
        i += len;
        safe = i;
    }
    std::memcpy(buf, pState->text.c_str(), static_cast<size_t>(safe));
    buf[safe] = '\0';
    return safe;
}

LRESULT OnGetTextLength(CWnd*, CWndState* pState, UINT, WPARAM, LPARAM)
{
    return pState->text.GetLength();
}

LRESULT OnSetFont(CWnd*, CWndState* pState, UINT, WPARAM wParam, LPARAM)
{
    const bool native = !pState->IsSelfDrawn();
    pState->hFont = reinterpret_cast<HFONT>(wParam);
    if (native && pState->widget && pState->hFont) {
        if (CFont* pFont = CFont::FromHandle(pState->hFont)) {
            LOGFONT lf{};
            if (pFont->GetLogFont(&lf))
                pState->widget->setFont(CFontMapper::WidgetFont(lf));
        }
    }
    return 0;
}

LRESULT OnGetFont(CWnd*, CWndState* pState, UINT, WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(pState->hFont);
}

LRESULT OnSetRedraw(CWnd*, CWndState* pState, UINT, WPARAM wParam, LPARAM)
{
    pState->redraw = wParam != 0;
    if (pState->widget)
        pState->widget->setUpdatesEnabled(wParam != 0);
    if (wParam && pState->IsSelfDrawn())
        CWndManager::Instance().SchedulePaint(pState);
    return 0;
}

LRESULT OnRButtonUp(CWnd* pWnd, CWndState*, UINT, WPARAM, LPARAM lParam)
{
    // Releasing the right button asks for the context menu, in screen coordinates.
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    pWnd->ClientToScreen(&pt);
    SendContextMenu(pWnd, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
    return 0;
}

LRESULT OnKeyUp(CWnd* pWnd, CWndState*, UINT, WPARAM wParam, LPARAM)
{
    if (wParam == VK_APPS)
        SendContextMenu(pWnd, MAKELPARAM(0xFFFF, 0xFFFF));
    return 0;
}

// F10 alone opens the menu bar of the window's top-level window at its first menu, as the
// desktop's programs do; a window without a menu bar ignores it.
void OpenMenuBar(CWnd* pWnd)
{
    QWidget* pWidget = pWnd->GetWidget();
    QWidget* pTop = pWidget != nullptr ? pWidget->window() : nullptr;
    auto* pBar =
        pTop != nullptr ? pTop->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (pBar == nullptr || !pBar->isVisible())
        return;
    for (QAction* pAction : pBar->actions()) {
        if (pAction->menu() != nullptr && pAction->isVisible() && pAction->isEnabled()) {
            pBar->setActiveAction(pAction);
            return;
        }
    }
}

LRESULT OnSysKeyDown(CWnd* pWnd, CWndState*, UINT, WPARAM wParam, LPARAM)
{
    if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0)
        SendContextMenu(pWnd, MAKELPARAM(0xFFFF, 0xFFFF));
    else if (wParam == VK_F10 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0)
        OpenMenuBar(pWnd);
    return 0;
}

LRESULT OnPassToParent(CWnd* pWnd, CWndState* pState, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const bool child = (pState->style & WS_CHILD) != 0;
    // Children pass these on to their parent.
    if (child) {
        if (CWnd* pParent = pWnd->GetParent())
            return pParent->SendMessage(nMsg, wParam, lParam);
    }
    return 0;
}

LRESULT OnSetCursor(CWnd* pWnd, CWndState* pState, UINT, WPARAM wParam, LPARAM lParam)
{
    const bool child = (pState->style & WS_CHILD) != 0;
    // The parent may set the cursor for its children; otherwise the class cursor.
    if (child) {
        if (CWnd* pParent = pWnd->GetParent()) {
            if (pParent->SendMessage(WM_SETCURSOR, wParam, lParam))
                return TRUE;
        }
    }
    if (LOWORD(static_cast<DWORD>(lParam)) == HTCLIENT && pState->hClassCursor) {
        ::SetCursor(pState->hClassCursor);
        return TRUE;
    }
    return FALSE;
}

LRESULT OnMouseActivate(CWnd*, CWndState*, UINT, WPARAM, LPARAM)
{
    return MA_ACTIVATE;
}

LRESULT OnNcHitTest(CWnd*, CWndState*, UINT, WPARAM, LPARAM)
{
    return HTCLIENT;
}

LRESULT OnQueryEndSession(CWnd*, CWndState*, UINT, WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT OnGetDlgCode(CWnd*, CWndState*, UINT, WPARAM, LPARAM)
{
    return 0;
}

LRESULT OnNcActivate(CWnd*, CWndState*, UINT, WPARAM, LPARAM)
{
    return TRUE;
}

// The messages with a default handling, each with its handler.
using DefHandler = LRESULT (*)(CWnd*, CWndState*, UINT, WPARAM, LPARAM);
constexpr CMessageHandler<DefHandler> kDefaultMessages[] = {
    {WM_CREATE, OnCreate},
    {WM_CLOSE, OnClose},
    {WM_PAINT, OnPaint},
    {WM_ERASEBKGND, OnEraseBkgnd},
    {WM_SETTEXT, OnSetText},
    {WM_GETTEXT, OnGetText},
    {WM_GETTEXTLENGTH, OnGetTextLength},
    {WM_SETFONT, OnSetFont},
    {WM_GETFONT, OnGetFont},
    {WM_SETREDRAW, OnSetRedraw},
    {WM_RBUTTONUP, OnRButtonUp},
    {WM_KEYUP, OnKeyUp},
    {WM_SYSKEYDOWN, OnSysKeyDown},
    {WM_CONTEXTMENU, OnPassToParent},
    {WM_MOUSEWHEEL, OnPassToParent},
    {WM_HELP, OnPassToParent},
    {WM_SETCURSOR, OnSetCursor},
    {WM_MOUSEACTIVATE, OnMouseActivate},
    {WM_NCHITTEST, OnNcHitTest},
    {WM_QUERYENDSESSION, OnQueryEndSession},
    {WM_GETDLGCODE, OnGetDlgCode},
    {WM_NCACTIVATE, OnNcActivate},
};
static_assert(AfxMessagesUnique(kDefaultMessages), "a message has two handlers");

} // namespace

LRESULT AfxStdDefWindowProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    if (!pState)
        return 0;
    const bool native = !pState->IsSelfDrawn();
    // F10 alone opens the menu bar from a control too (Qt's controls do nothing with it).
    const bool bMenuBarKey = nMsg == WM_SYSKEYDOWN && wParam == VK_F10 && GetKeyState(VK_SHIFT) >= 0;
    if (native && IsInputMessage(nMsg) && !bMenuBarKey) {
        // A control handles its input itself.
        AfxPassEventToQt();
        return 0;
    }
    if (const DefHandler pfnHandler = AfxFindMessageHandler(kDefaultMessages, nMsg))
        return pfnHandler(pWnd, pState, nMsg, wParam, lParam);
    return 0;
}
