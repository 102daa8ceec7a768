#include "platform/ui/core/CWnd.h"

#include "platform/ui/core/Atoms_p.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWndShared_p.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/gdi/CClientDC.h"

namespace {

// Runs an update handler to see whether a menu command or accelerator is enabled.
class CTestCmdUI : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
};

bool IsCtlColor(UINT nMsg)
{
    return nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Messages.
// ---------------------------------------------------------------------------------------
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return AfxCallWndProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWndManager* pManager = Manager();
    if (!pManager || !m_hWnd)
        return FALSE;
    return pManager->Post(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    (void)bOnlyPerm;
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return;
    const std::vector<HWND> children = pState->children;
    for (HWND h : children) {
        CWnd* pChild = FromHandle(h);
        if (!pChild)
            continue;
        pChild->SendMessage(message, wParam, lParam);
        if (bDeep && (pChild = FromHandle(h)) != nullptr)
            pChild->SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pItem = GetDlgItem(nID);
    return pItem ? pItem->SendMessage(message, wParam, lParam) : 0;
}

const MSG* CWnd::GetCurrentMessage()
{
    CWndManager* pManager = Manager();
    return pManager ? pManager->CurrentMessage() : nullptr;
}

unsigned long long CWnd::GetMessageSerial()
{
    CWndManager* pManager = Manager();
    return pManager ? pManager->CurrentMessageSerial() : 0;
}

LRESULT CWnd::Default()
{
    const MSG* pMsg = GetCurrentMessage();
    if (!pMsg || pMsg->hwnd != m_hWnd || !m_hWnd)
        return 0;
    return DefWindowProc(pMsg->message, pMsg->wParam, pMsg->lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return 0;
    if (!pState->className.IsEmpty()) {
        const CWndClassInfo* pClass = AfxFindClassInfo(pState->className);
        if (pClass && pClass->wndProc) {
            BOOL bHandled = TRUE;
            const LRESULT lResult = pClass->wndProc(this, message, wParam, lParam, &bHandled);
            if (bHandled)
                return lResult;
        }
    }
    return AfxStdDefWindowProc(this, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        LRESULT lResult = 0;
        if (pNMHDR && pNMHDR->hwndFrom && OnNotify(wParam, lParam, &lResult)) {
            *pResult = lResult;
            return TRUE;
        }
        return FALSE;
    }
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(pMap->lpEntries, message, 0, 0);
        if (pEntry) {
            AFX_MSGCALL call;
            call.nMsg = message;
            call.wParam = wParam;
            call.lParam = lParam;
            pEntry->pfn(this, call);
            *pResult = call.lResult;
            return TRUE;
        }
        if (pMap->pfnGetBaseMap == nullptr)
            break;
    }
    // Colour requests of controls go back to the control when the parent leaves them.
    if (IsCtlColor(message) && lParam) {
        LRESULT lResult = 0;
        if (ReflectLastMsg(reinterpret_cast<HWND>(lParam), &lResult)) {
            *pResult = lResult;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(static_cast<DWORD>(wParam));
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(static_cast<DWORD>(wParam));
    if (hWndCtrl == nullptr) {
        // A menu command or an accelerator: a command whose update handler disables it is
        // not carried out.
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        // A control notification: the control may handle it itself (reflection).
        if (ReflectLastMsg(hWndCtrl))
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (void)wParam;
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    HWND hWndCtrl = pNMHDR->hwndFrom;
    const UINT nID = static_cast<UINT>(pNMHDR->idFrom);
    const int nCode = static_cast<int>(pNMHDR->code);
    if (ReflectLastMsg(hWndCtrl, pResult))
        return TRUE;
    AFX_NOTIFY notify{pResult, pNMHDR};
    return OnCmdMsg(nID, static_cast<int>(MAKELONG(static_cast<WORD>(nCode), static_cast<WORD>(WM_NOTIFY))),
                    &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    UINT nReflect = 0;
    UINT nCode = 0;
    AFX_NOTIFY notify{pResult, nullptr};
    void* pExtra = nullptr;
    if (message == WM_COMMAND) {
        nReflect = WM_REFLECT_BASE + WM_COMMAND;
        nCode = HIWORD(static_cast<DWORD>(wParam));
    } else if (message == WM_NOTIFY) {
        nReflect = WM_REFLECT_BASE + WM_NOTIFY;
        notify.pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        nCode = static_cast<WORD>(notify.pNMHDR->code);
        pExtra = &notify;
    } else {
        return FALSE;
    }
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(pMap->lpEntries, nReflect, nCode, 0);
        if (pEntry) {
            AFX_MSGCALL call;
            call.nMsg = message;
            call.wParam = wParam;
            call.lParam = lParam;
            call.nCode = static_cast<int>(nCode);
            call.pExtra = pExtra;
            pEntry->pfn(this, call);
            if (pResult && message != WM_NOTIFY)
                *pResult = call.lResult;
            return TRUE;
        }
        if (pMap->pfnGetBaseMap == nullptr)
            break;
    }
    return FALSE;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pChild = FromHandle(hWndChild);
    const MSG* pMsg = GetCurrentMessage();
    if (!pChild || !pMsg)
        return FALSE;
    LRESULT lResult = 0;
    const BOOL b =
        pChild->OnChildNotify(pMsg->message, pMsg->wParam, pMsg->lParam, pResult ? pResult : &lResult);
    return b;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    (void)pMsg;
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* pWnd = FromHandle(h);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (h == hWndStop)
            break;
        // A top-level window (a dialog, a tool window) ends the walk: its owner's
        // accelerators must not fire while the user types into it.
        if (pWnd && !(pWnd->GetStyle() & WS_CHILD))
            break;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------
// Default handlers: the standard handling of the message being handled.
// ---------------------------------------------------------------------------------------
int CWnd::OnCreate(LPCREATESTRUCT)
{
    return static_cast<int>(Default());
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnMove(int, int)
{
    Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnMButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnSysChar(UINT, UINT, UINT)
{
    Default();
}
UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}
void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnInitMenu(CMenu*)
{
    Default();
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL)
{
    Default();
}
void CWnd::OnMenuSelect(UINT, UINT, HMENU)
{
    Default();
}
void CWnd::OnDropFiles(HANDLE)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*)
{
    Default();
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT)
{
    return static_cast<int>(Default());
}
void CWnd::OnCancelMode()
{
    Default();
}
void CWnd::OnCaptureChanged(CWnd*)
{
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*)
{
    Default();
}
void CWnd::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
}
void CWnd::OnWindowPosChanging(WINDOWPOS*)
{
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnSysColorChange()
{
    Default();
}
BOOL CWnd::OnHelpInfo(HELPINFO*)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnParentNotify(UINT, LPARAM)
{
    Default();
}
BOOL CWnd::OnNcActivate(BOOL)
{
    return static_cast<BOOL>(Default());
}
void CWnd::OnNcLButtonDown(UINT, CPoint)
{
    Default();
}

// Owner-drawn controls and scroll-bar controls: the control gets the message back unless
// the parent's map handled it.
void CWnd::OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* lpDrawItemStruct)
{
    (void)nIDCtl;
    if (lpDrawItemStruct && lpDrawItemStruct->CtlType != ODT_MENU &&
        ReflectLastMsg(lpDrawItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, MEASUREITEMSTRUCT* lpMeasureItemStruct)
{
    if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType != ODT_MENU) {
        if (CWnd* pChild = GetDlgItem(nIDCtl); pChild && ReflectLastMsg(pChild->m_hWnd))
            return;
    }
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(reinterpret_cast<CWnd*>(pScrollBar)->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    if (pScrollBar && ReflectLastMsg(reinterpret_cast<CWnd*>(pScrollBar)->m_hWnd))
        return;
    Default();
}

// ---------------------------------------------------------------------------------------
// Conversions for the message thunks.
// ---------------------------------------------------------------------------------------
CDC* AfxCDCFromHandle(HDC hDC)
{
    return hDC ? CDC::FromHandle(hDC) : nullptr;
}

CMenu* AfxMenuFromHandle(HMENU hMenu)
{
    return hMenu ? CMenu::FromHandle(hMenu) : nullptr;
}

CScrollBar* AfxScrollBarFromHandle(HWND hWnd)
{
    // A scroll-bar control is a window class derived from CWnd alone, so the object of its
    // handle is the scroll-bar object.
    return reinterpret_cast<CScrollBar*>(CWnd::FromHandle(hWnd));
}

UINT RegisterWindowMessage(LPCTSTR lpszString)
{
    return AfxRegisterAtom(lpszString);
}
