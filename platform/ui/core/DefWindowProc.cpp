// The standard default handling of window messages: what a window does with a message its
// own code leaves alone.
#include "platform/ui/core/CWnd_p.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/Cursors_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/FontMapper.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/SysColors.h"

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

} // namespace

LRESULT AfxStdDefWindowProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWndState* pState = AfxGetWndState(pWnd->m_hWnd);
    if (!pState)
        return 0;
    const bool native = !pState->IsSelfDrawn();
    if (native && IsInputMessage(nMsg)) {
        // A control handles its input itself.
        AfxPassEventToQt();
        return 0;
    }
    const bool child = (pState->style & WS_CHILD) != 0;
    switch (nMsg) {
    case WM_CREATE:
        return 0;
    case WM_CLOSE:
        pWnd->DestroyWindow();
        return 0;
    case WM_PAINT: {
        // Nobody painted: the area counts as painted (after the background is erased).
        CPaintDC dc(pWnd);
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(pState, CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    case WM_SETTEXT: {
        const char* psz = reinterpret_cast<const char*>(lParam);
        pState->text = psz ? psz : "";
        if (pState->widget && pState->widget->isWindow()) {
            const std::u16string u = Cp932ToUtf16(pState->text.str(), true);
            pState->widget->setWindowTitle(QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size())));
        }
        return TRUE;
    }
    case WM_GETTEXT: {
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
    case WM_GETTEXTLENGTH:
        return pState->text.GetLength();
    case WM_SETFONT: {
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
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(pState->hFont);
    case WM_SETREDRAW:
        pState->redraw = wParam != 0;
        if (pState->widget)
            pState->widget->setUpdatesEnabled(wParam != 0);
        if (wParam && pState->IsSelfDrawn())
            CWndManager::Instance().SchedulePaint(pState);
        return 0;
    case WM_RBUTTONUP: {
        // Releasing the right button asks for the context menu, in screen coordinates.
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        pWnd->ClientToScreen(&pt);
        SendContextMenu(pWnd, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        return 0;
    }
    case WM_KEYUP:
        if (wParam == VK_APPS)
            SendContextMenu(pWnd, MAKELPARAM(0xFFFF, 0xFFFF));
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0)
            SendContextMenu(pWnd, MAKELPARAM(0xFFFF, 0xFFFF));
        return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_HELP:
        // Children pass these on to their parent.
        if (child) {
            if (CWnd* pParent = pWnd->GetParent())
                return pParent->SendMessage(nMsg, wParam, lParam);
        }
        return 0;
    case WM_SETCURSOR: {
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
    case WM_MOUSEACTIVATE:
        return MA_ACTIVATE;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_GETDLGCODE:
        return 0;
    case WM_NCACTIVATE:
        return TRUE;
    default:
        return 0;
    }
}
