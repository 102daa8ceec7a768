// The window procedure and the class registration the item controls (tree, list) share
// (platform/ui internal).
//
// Each of them keeps its state in a Qt scroll-area widget made with the window and lists its
// messages in one table (MessageTable_p.h); the procedure finds the widget, makes its viewport
// the client area and calls the message's handler. Written once here, so that a control that
// changes how its messages reach it changes it for both:
//
//     AfxRegisterItemCtlClass<CTreeCtrlWidget, kTreeMessages>(WC_TREEVIEW);
#pragma once

#include "platform/ui/controls/CommonControls_p.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/MessageTable_p.h"
#include "platform/ui/core/WndClass_p.h"

// The procedure of a window whose widget is a Widget: messages of kTable go to their
// handlers, any other message (and any message after the widget is gone) to the default.
template <class Widget, auto& kTable>
LRESULT AfxItemCtlProc(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled)
{
    Widget* pCtl = pWnd != nullptr ? dynamic_cast<Widget*>(pWnd->GetWidget()) : nullptr;
    if (pCtl == nullptr) {
        *pbHandled = FALSE;
        return 0;
    }
    AfxUseViewportAsClient(pCtl->m_hWnd, pCtl);
    if (const auto pfnHandler = AfxFindMessageHandler(kTable, nMsg))
        return pfnHandler(pCtl, pWnd, nMsg, wParam, lParam, pbHandled);
    *pbHandled = FALSE;
    return 0;
}

// Registers the class lpszName: double clicks reach it, a new window gets a Widget made
// with the window's style, and AfxItemCtlProc is its procedure.
template <class Widget, auto& kTable>
void AfxRegisterItemCtlClass(LPCTSTR lpszName)
{
    CWndClassInfo info;
    info.name = lpszName;
    info.style = CS_DBLCLKS;
    info.createWidget = [](CWnd* pWnd, const CREATESTRUCT& cs, QWidget* pParentWidget) -> QWidget* {
        return new Widget(pWnd->m_hWnd, static_cast<DWORD>(cs.style), pParentWidget);
    };
    info.wndProc = AfxItemCtlProc<Widget, kTable>;
    AfxRegisterClassInfo(info);
}
