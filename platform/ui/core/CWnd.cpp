#include "platform/ui/core/CWnd.h"

#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/Atoms_p.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWndClientWidget_p.h"
#include "platform/ui/core/CWndFrameWidget_p.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/Cursors_p.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/FontMapper.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "platform/ui/gdi/GdiObjects_p.h"
#include "platform/ui/gdi/SysColors.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {

CWndManager* Manager()
{
    return CWndManager::InstanceIfReady();
}

CWndState* StateOf(HWND hWnd)
{
    CWndManager* pManager = Manager();
    return pManager ? pManager->Find(hWnd) : nullptr;
}

QString ToQt(const char* lpsz)
{
    const std::u16string u = Cp932ToUtf16(lpsz ? lpsz : "", true);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

// The window a top-level window is owned by: the top-level window of the given one.
HWND TopLevelOf(HWND hWnd)
{
    CWndState* p = StateOf(hWnd);
    while (p && (p->style & WS_CHILD) && p->hWndParent)
        p = StateOf(p->hWndParent);
    return p ? p->hWnd : nullptr;
}

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

QRect ScreenRect()
{
    if (QScreen* s = QGuiApplication::primaryScreen())
        return s->geometry();
    return QRect(0, 0, 1920, 1080);
}

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
// Construction and handles.
// ---------------------------------------------------------------------------------------
CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd && StateOf(m_hWnd)) {
        CWndState* pState = StateOf(m_hWnd);
        if (pState->pWnd == this)
            DestroyWindow();
        else
            m_hWnd = nullptr;
    }
    // A window that lost its handle to a subclassing object gets it back from nobody.
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    CWndState* pState = StateOf(hWnd);
    return pState ? pState->pWnd : nullptr;
}

CWnd* CWnd::FromWidget(const QWidget* pWidget)
{
    CWndManager* pManager = Manager();
    return pManager ? pManager->FromWidget(pWidget) : nullptr;
}

QWidget* CWnd::GetWidget() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState ? pState->widget.data() : nullptr;
}

QWidget* CWnd::GetClientWidget() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState ? pState->client.data() : nullptr;
}

BOOL CWnd::IsSelfDrawn() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState && pState->IsSelfDrawn();
}

// ---------------------------------------------------------------------------------------
// Creation.
// ---------------------------------------------------------------------------------------
BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<uintptr_t>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    const bool child = (dwStyle & WS_CHILD) != 0;
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    child ? reinterpret_cast<HMENU>(static_cast<uintptr_t>(nID)) : nullptr, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenuOrID, LPVOID lpParam)
{
    CWndManager* pManager = Manager();
    if (m_hWnd || !pManager)
        return FALSE;

    CREATESTRUCT cs{};
    cs.lpCreateParams = lpParam;
    cs.hMenu = hMenuOrID;
    cs.hwndParent = hWndParent;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    cs.dwExStyle = dwExStyle;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    const DWORD style = static_cast<DWORD>(cs.style);
    const bool child = (style & WS_CHILD) != 0;
    CWndState* pParentState = StateOf(cs.hwndParent);
    if (child && (!pParentState || !pParentState->client)) {
        PostNcDestroy();
        return FALSE;
    }

    const CWndClassInfo* pClass = AfxFindClassInfo(cs.lpszClass);
    CWndState* pState = pManager->NewWindow();
    HWND hWnd = pState->hWnd;
    pState->pWnd = this;
    m_hWnd = hWnd;
    pState->style = style & ~WS_VISIBLE;
    pState->exStyle = cs.dwExStyle;
    if (cs.lpszClass && !IS_INTRESOURCE(cs.lpszClass))
        pState->className = cs.lpszClass;
    if (pClass) {
        pState->classStyle = pClass->style;
        pState->hClassCursor = pClass->hCursor;
        pState->hbrBackground = pClass->hbrBackground;
        pState->hIcon = pClass->hIcon;
    } else {
        // The framework's general window class: double clicks, the arrow, the window colour.
        pState->classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        pState->hClassCursor = ::LoadCursor(nullptr, IDC_ARROW);
        pState->hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    }
    pState->text = cs.lpszName ? cs.lpszName : "";

    QWidget* pParentWidget = nullptr;
    if (child) {
        pState->hWndParent = cs.hwndParent;
        pState->nID = static_cast<UINT>(reinterpret_cast<uintptr_t>(cs.hMenu));
        pParentState->children.push_back(hWnd);
        pParentWidget = pParentState->client;
    } else {
        pState->hWndOwner = TopLevelOf(cs.hwndParent);
        pState->hMenu = cs.hMenu;
        if (CWndState* pOwner = StateOf(pState->hWndOwner))
            pParentWidget = pOwner->widget;
    }

    // The widget: the class's control, or a self-drawn window.
    Qt::WindowFlags flags = Qt::Widget;
    if (!child) {
        flags = Qt::Window;
        if (cs.dwExStyle & WS_EX_TOOLWINDOW)
            flags = Qt::Tool;
        if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION)
            flags |= Qt::FramelessWindowHint;
        if (cs.dwExStyle & WS_EX_TOPMOST)
            flags |= Qt::WindowStaysOnTopHint;
    }
    QWidget* pWidget = nullptr;
    if (pClass && pClass->createWidget) {
        pWidget = pClass->createWidget(this, cs, pParentWidget);
        if (!pWidget) {
            if (pParentState)
                pParentState->children.erase(
                    std::remove(pParentState->children.begin(), pParentState->children.end(), hWnd),
                    pParentState->children.end());
            pManager->Forget(hWnd);
            m_hWnd = nullptr;
            PostNcDestroy();
            return FALSE;
        }
        if (!child && pWidget->parentWidget() == pParentWidget)
            pWidget->setWindowFlags(pWidget->windowFlags() | flags);
        pState->widget = pWidget;
        pState->client = pWidget;
    } else {
        auto* pFrame = new CWndFrameWidget(hWnd, pParentWidget, flags);
        auto* pClient = new CWndClientWidget(hWnd, pFrame);
        pFrame->SetClient(pClient);
        pState->frame = pFrame;
        pState->surface = pClient;
        pState->widget = pFrame;
        pState->client = pClient;
        pState->scroll[SB_HORZ].visible = (style & WS_HSCROLL) != 0;
        pState->scroll[SB_VERT].visible = (style & WS_VSCROLL) != 0;
        pWidget = pFrame;
        if (pState->hClassCursor)
            pClient->setCursor(AfxCursorFromHandle(pState->hClassCursor));
    }
    pManager->MapWidget(pState->widget, hWnd);
    if (pState->client != pState->widget)
        pManager->MapWidget(pState->client, hWnd);
    if (!child && !pState->text.IsEmpty())
        pWidget->setWindowTitle(ToQt(pState->text));

    // Position and size.
    int cx = cs.cx == CW_USEDEFAULT ? 640 : std::max(0, cs.cx);
    int cy = cs.cy == CW_USEDEFAULT ? 480 : std::max(0, cs.cy);
    int px = cs.x == CW_USEDEFAULT ? 0 : cs.x;
    int py = cs.y == CW_USEDEFAULT ? 0 : cs.y;
    if (child) {
        pWidget->setGeometry(px, py, cx, cy);
    } else {
        pWidget->move(px, py);
        pWidget->resize(cx, cy);
    }
    if (pState->frame)
        pState->frame->Relayout();
    if (style & WS_DISABLED)
        pWidget->setEnabled(false);
    if (cs.dwExStyle & WS_EX_ACCEPTFILES)
        pWidget->setAcceptDrops(true);
    if (pState->surface) {
        pState->surface->SyncBufferSize();
        pState->invalid = QRegion(QRect(QPoint(0, 0), pState->client->size()));
        pState->eraseNeeded = true;
    }

    // WM_CREATE: -1 refuses the window.
    const LRESULT lCreate = pManager->Call(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    if (lCreate == -1) {
        DestroyWindow();
        return FALSE;
    }
    pState->created = true;
    AfxClientSizeChanged(hWnd);
    if (!StateOf(hWnd))
        return FALSE;
    if (style & WS_VISIBLE) {
        if (!child && (style & WS_MAXIMIZE))
            ShowWindow(SW_SHOWMAXIMIZED);
        else
            ShowWindow(SW_SHOW);
    }
    return m_hWnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    (void)cs;
    return TRUE;
}

void CWnd::PostNcDestroy() {}

void CWnd::PreSubclassWindow() {}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    (void)nAdjustType;
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->frame)
        return;
    const int b = pState->frame->BorderWidth();
    lpClientRect->left -= b;
    lpClientRect->top -= b;
    lpClientRect->right += b;
    lpClientRect->bottom += b;
    if (pState->scroll[SB_VERT].visible)
        lpClientRect->right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (pState->scroll[SB_HORZ].visible)
        lpClientRect->bottom += ::GetSystemMetrics(SM_CYHSCROLL);
}

// ---------------------------------------------------------------------------------------
// Destruction.
// ---------------------------------------------------------------------------------------
namespace {

void SendDestroy(HWND hWnd)
{
    CWndManager& m = CWndManager::Instance();
    m.Call(hWnd, WM_DESTROY, 0, 0);
    CWndState* pState = m.Find(hWnd);
    if (!pState)
        return;
    const std::vector<HWND> children = pState->children;
    for (HWND h : children) {
        if (CWndState* p = m.Find(h))
            p->destroying = true;
        SendDestroy(h);
    }
}

void ReleaseWindow(HWND hWnd)
{
    CWndManager& m = CWndManager::Instance();
    CWndState* pState = m.Find(hWnd);
    if (!pState)
        return;
    for (auto& [id, pTimer] : pState->timers)
        delete pTimer;
    pState->timers.clear();
    if (pState->surface)
        pState->surface->Orphan();
    if (pState->frame)
        pState->frame->Orphan();
    if (m.m_hWndCapture == hWnd) {
        m.m_hWndCapture = nullptr;
        if (pState->client)
            pState->client->releaseMouse();
    }
}

void SendNcDestroy(HWND hWnd)
{
    CWndManager& m = CWndManager::Instance();
    CWndState* pState = m.Find(hWnd);
    if (!pState)
        return;
    const std::vector<HWND> children = pState->children;
    for (HWND h : children)
        SendNcDestroy(h);
    if (!m.Find(hWnd))
        return;
    ReleaseWindow(hWnd);
    m.Call(hWnd, WM_NCDESTROY, 0, 0);
}

} // namespace

BOOL CWnd::DestroyWindow()
{
    CWndManager* pManager = Manager();
    CWndState* pState = StateOf(m_hWnd);
    if (!pManager || !pState)
        return FALSE;
    if (pState->destroying)
        return TRUE;
    HWND hWnd = m_hWnd;
    pState->destroying = true;

    // Windows this one owns go first.
    for (HWND h : pManager->AllWindows()) {
        CWndState* p = pManager->Find(h);
        if (p && p->hWndOwner == hWnd && !p->destroying && p->pWnd)
            p->pWnd->DestroyWindow();
    }
    pState = pManager->Find(hWnd);
    if (!pState)
        return TRUE;
    QPointer<QWidget> widget = pState->widget;
    if (widget)
        widget->hide();
    // Remove from the parent's children.
    if (CWndState* pParent = pManager->Find(pState->hWndParent)) {
        auto& v = pParent->children;
        v.erase(std::remove(v.begin(), v.end(), hWnd), v.end());
    }
    SendDestroy(hWnd);
    SendNcDestroy(hWnd);
    // The widgets go with the window. While an event of theirs is being handled they are
    // deleted once the event is over.
    if (widget) {
        if (pManager->DispatchDepth() > 0)
            widget->deleteLater();
        else
            delete widget.data();
    }
    return TRUE;
}

void CWnd::OnNcDestroy()
{
    HWND hWnd = m_hWnd;
    CWndManager* pManager = Manager();
    if (pManager && pManager->Find(hWnd)) {
        ReleaseWindow(hWnd);
        pManager->Forget(hWnd);
    }
    m_hWnd = nullptr;
    // The main window going ends the event loop.
    if (CWinApp* pApp = AfxGetApp(); pApp && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
    }
    PostNcDestroy();
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    CWndState* pState = StateOf(hWnd);
    if (m_hWnd || !pState)
        return FALSE;
    CWnd* pOld = pState->pWnd;
    if (pOld == this)
        return TRUE;
    if (pOld)
        pOld->m_hWnd = nullptr;
    m_pSuperWnd = pOld;
    pState->pWnd = this;
    m_hWnd = hWnd;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (!pParent)
        return FALSE;
    CWnd* pControl = pParent->GetDlgItem(static_cast<int>(nID));
    return pControl ? SubclassWindow(pControl->m_hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    CWndState* pState = StateOf(hWnd);
    if (!pState)
        return nullptr;
    pState->pWnd = m_pSuperWnd;
    if (m_pSuperWnd)
        m_pSuperWnd->m_hWnd = hWnd;
    m_pSuperWnd = nullptr;
    m_hWnd = nullptr;
    return hWnd;
}

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
// Position and size.
// ---------------------------------------------------------------------------------------
void AfxClientSizeChanged(HWND hWnd)
{
    CWndState* pState = StateOf(hWnd);
    if (!pState || !pState->client)
        return;
    QWidget* pClient = pState->client;
    if (pState->surface) {
        QImage& buffer = pState->surface->Buffer();
        const QSize old = buffer.isNull() ? QSize(0, 0) : buffer.size();
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
    QWidget* w = pState->widget;
    if (w->isWindow()) {
        w->move(x, y);
        w->resize(std::max(0, nWidth), std::max(0, nHeight));
    } else {
        w->setGeometry(x, y, std::max(0, nWidth), std::max(0, nHeight));
    }
    if (pState->frame)
        pState->frame->Relayout();
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
        const QRect g = w->isWindow() ? w->geometry() : w->geometry();
        const int nx = (nFlags & SWP_NOMOVE) ? g.x() : x;
        const int ny = (nFlags & SWP_NOMOVE) ? g.y() : y;
        const int ncx = (nFlags & SWP_NOSIZE) ? g.width() : std::max(0, cx);
        const int ncy = (nFlags & SWP_NOSIZE) ? g.height() : std::max(0, cy);
        if (w->isWindow()) {
            w->move(nx, ny);
            w->resize(ncx, ncy);
        } else {
            w->setGeometry(nx, ny, ncx, ncy);
        }
        if (pState->frame)
            pState->frame->Relayout();
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
    QWidget* w = pState->widget;
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

// ---------------------------------------------------------------------------------------
// Text, ids, styles.
// ---------------------------------------------------------------------------------------
void CWnd::SetWindowText(LPCTSTR lpszString)
{
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpszString ? lpszString : ""));
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    if (!lpszStringBuf || nMaxCount <= 0)
        return 0;
    return static_cast<int>(AfxCallWndProc(m_hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                           reinterpret_cast<LPARAM>(lpszStringBuf)));
}

void CWnd::GetWindowText(CString& rString) const
{
    const int nLen = GetWindowTextLength();
    if (nLen <= 0) {
        rString.Empty();
        return;
    }
    char* p = rString.GetBufferSetLength(nLen);
    const int nGot = static_cast<int>(
        AfxCallWndProc(m_hWnd, WM_GETTEXT, static_cast<WPARAM>(nLen + 1), reinterpret_cast<LPARAM>(p)));
    rString.ReleaseBuffer(std::max(0, std::min(nGot, nLen)));
}

int CWnd::GetWindowTextLength() const
{
    return static_cast<int>(AfxCallWndProc(m_hWnd, WM_GETTEXTLENGTH, 0, 0));
}

int CWnd::GetDlgCtrlID() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState ? static_cast<int>(pState->nID) : 0;
}

int CWnd::SetDlgCtrlID(int nID)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return 0;
    const int nOld = static_cast<int>(pState->nID);
    pState->nID = static_cast<UINT>(nID);
    return nOld;
}

DWORD CWnd::GetStyle() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState ? pState->style : 0;
}

DWORD CWnd::GetExStyle() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState ? pState->exStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    const DWORD old = pState->style;
    DWORD style = (old & ~dwRemove) | dwAdd;
    if (style == old)
        return FALSE;
    // Visibility and enabling go through their own functions so the widget follows.
    const DWORD keep = style & (WS_VISIBLE | WS_DISABLED);
    pState->style = (style & ~(WS_VISIBLE | WS_DISABLED)) | (old & (WS_VISIBLE | WS_DISABLED));
    if ((old ^ keep) & WS_DISABLED)
        EnableWindow((keep & WS_DISABLED) == 0);
    if ((old ^ keep) & WS_VISIBLE)
        ShowWindow((keep & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    if (pState->frame && ((old ^ style) & (WS_BORDER | WS_HSCROLL | WS_VSCROLL))) {
        if ((old ^ style) & WS_HSCROLL)
            pState->scroll[SB_HORZ].visible = (style & WS_HSCROLL) != 0;
        if ((old ^ style) & WS_VSCROLL)
            pState->scroll[SB_VERT].visible = (style & WS_VSCROLL) != 0;
        pState->frame->Relayout();
        pState->frame->update();
        AfxClientSizeChanged(m_hWnd);
    }
    if (nFlags)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    const DWORD old = pState->exStyle;
    pState->exStyle = (old & ~dwRemove) | dwAdd;
    if (pState->exStyle == old)
        return FALSE;
    if (pState->frame) {
        pState->frame->Relayout();
        pState->frame->update();
        AfxClientSizeChanged(m_hWnd);
    }
    if (pState->widget && ((old ^ pState->exStyle) & WS_EX_ACCEPTFILES))
        pState->widget->setAcceptDrops((pState->exStyle & WS_EX_ACCEPTFILES) != 0);
    if (nFlags)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

UINT CWnd::GetClassStyle() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState ? pState->classStyle : 0;
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? static_cast<HFONT>(*pFont) : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const
{
    HFONT hFont = reinterpret_cast<HFONT>(AfxCallWndProc(m_hWnd, WM_GETFONT, 0, 0));
    return hFont ? CFont::FromHandle(hFont) : nullptr;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    HICON& slot = bBigIcon ? pState->hIcon : pState->hIconSmall;
    HICON hOld = slot;
    slot = hIcon;
    if (pState->widget && pState->widget->isWindow() && hIcon)
        pState->widget->setWindowIcon(AfxIconFromHandle(hIcon));
    return hOld;
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState ? (bBigIcon ? pState->hIcon : pState->hIconSmall) : nullptr;
}

// ---------------------------------------------------------------------------------------
// Relations.
// ---------------------------------------------------------------------------------------
CWnd* CWnd::GetDlgItem(int nID) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    for (HWND h : pState->children) {
        CWndState* p = StateOf(h);
        if (p && static_cast<int>(p->nID) == nID)
            return p->pWnd;
    }
    return nullptr;
}

void CWnd::GetDlgItem(int nID, HWND* phWnd) const
{
    CWnd* p = GetDlgItem(nID);
    *phWnd = p ? p->m_hWnd : nullptr;
}

CWnd* CWnd::GetParent() const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    if (pState->style & WS_CHILD)
        return FromHandle(pState->hWndParent);
    return FromHandle(pState->hWndOwner);
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    CWnd* pOld = GetParent();
    if (pState->style & WS_CHILD) {
        CWndState* pNew = pWndNewParent ? StateOf(pWndNewParent->m_hWnd) : nullptr;
        if (!pNew || !pNew->client)
            return nullptr;
        if (CWndState* p = StateOf(pState->hWndParent)) {
            auto& v = p->children;
            v.erase(std::remove(v.begin(), v.end(), m_hWnd), v.end());
        }
        pNew->children.push_back(m_hWnd);
        pState->hWndParent = pNew->hWnd;
        if (pState->widget) {
            const QPoint pos = pState->widget->pos();
            const bool visible = (pState->style & WS_VISIBLE) != 0;
            pState->widget->setParent(pNew->client);
            pState->widget->move(pos);
            pState->widget->setVisible(visible);
        }
    } else {
        pState->hWndOwner = pWndNewParent ? TopLevelOf(pWndNewParent->m_hWnd) : nullptr;
    }
    return pOld;
}

CWnd* CWnd::GetOwner() const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    if (pState->hWndOwner)
        return FromHandle(pState->hWndOwner);
    return GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    if (CWndState* pState = StateOf(m_hWnd))
        pState->hWndOwner = pOwnerWnd ? pOwnerWnd->m_hWnd : nullptr;
}

BOOL CWnd::IsFrameWnd() const
{
    return const_cast<CWnd*>(this)->AsFrameWnd() != nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* p = GetParent(); p; p = p->GetParent()) {
        if (CFrameWnd* pFrame = p->AsFrameWnd())
            return pFrame;
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* pFrame = const_cast<CWnd*>(this)->AsFrameWnd();
    for (CWnd* p = GetParent(); p; p = p->GetParent()) {
        if (CFrameWnd* f = p->AsFrameWnd())
            pFrame = f;
    }
    return pFrame;
}

CWnd* CWnd::GetTopLevelParent() const
{
    CWnd* pWnd = const_cast<CWnd*>(this);
    for (CWnd* p = pWnd->GetParent(); p; p = p->GetParent())
        pWnd = p;
    return m_hWnd ? pWnd : nullptr;
}

CWnd* CWnd::GetTopLevelOwner() const
{
    CWnd* pWnd = FromHandle(TopLevelOf(m_hWnd));
    while (pWnd) {
        CWndState* p = StateOf(pWnd->m_hWnd);
        CWnd* pOwner = p ? FromHandle(p->hWndOwner) : nullptr;
        if (!pOwner)
            break;
        pWnd = pOwner;
    }
    return pWnd;
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    if (nCmd == GW_CHILD) {
        for (HWND h : pState->children) {
            if (CWnd* p = FromHandle(h))
                return p;
        }
        return nullptr;
    }
    if (nCmd == GW_OWNER)
        return FromHandle(pState->hWndOwner);
    // Siblings: children of the same parent, or top-level windows among themselves.
    std::vector<HWND> siblings;
    if (CWndState* pParent = StateOf(pState->hWndParent); pParent && (pState->style & WS_CHILD)) {
        siblings = pParent->children;
    } else {
        for (HWND h : AfxGetAllWindows()) {
            CWndState* p = StateOf(h);
            if (p && !(p->style & WS_CHILD) && p->widget)
                siblings.push_back(h);
        }
    }
    auto it = std::find(siblings.begin(), siblings.end(), m_hWnd);
    switch (nCmd) {
    case GW_HWNDFIRST:
        return siblings.empty() ? nullptr : FromHandle(siblings.front());
    case GW_HWNDLAST:
        return siblings.empty() ? nullptr : FromHandle(siblings.back());
    case GW_HWNDNEXT:
        return (it == siblings.end() || it + 1 == siblings.end()) ? nullptr : FromHandle(*(it + 1));
    case GW_HWNDPREV:
        return (it == siblings.end() || it == siblings.begin()) ? nullptr : FromHandle(*(it - 1));
    default:
        return nullptr;
    }
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || pState->children.empty())
        return nullptr;
    const auto& v = pState->children;
    const int n = static_cast<int>(v.size());
    int start = 0;
    if (pWndCtl) {
        auto it = std::find(v.begin(), v.end(), pWndCtl->m_hWnd);
        start = it == v.end() ? 0 : static_cast<int>(it - v.begin());
    } else {
        start = bPrevious ? 0 : n - 1;
    }
    for (int k = 1; k <= n; ++k) {
        const int i = ((bPrevious ? start - k : start + k) % n + n) % n;
        CWndState* p = StateOf(v[static_cast<size_t>(i)]);
        if (p && (p->style & WS_TABSTOP) && (p->style & WS_VISIBLE) && !(p->style & WS_DISABLED))
            return p->pWnd;
    }
    return nullptr;
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pWndCtl)
        return nullptr;
    const auto& v = pState->children;
    auto it = std::find(v.begin(), v.end(), pWndCtl->m_hWnd);
    if (it == v.end())
        return nullptr;
    // The group runs from a WS_GROUP item to the item before the next WS_GROUP item.
    size_t first = static_cast<size_t>(it - v.begin());
    while (first > 0) {
        CWndState* p = StateOf(v[first]);
        if (p && (p->style & WS_GROUP))
            break;
        --first;
    }
    size_t last = first;
    while (last + 1 < v.size()) {
        CWndState* p = StateOf(v[last + 1]);
        if (p && (p->style & WS_GROUP))
            break;
        ++last;
    }
    const size_t count = last - first + 1;
    size_t pos = static_cast<size_t>(it - v.begin()) - first;
    for (size_t k = 1; k <= count; ++k) {
        const size_t i = bPrevious ? (pos + count - k) % count : (pos + k) % count;
        CWndState* p = StateOf(v[first + i]);
        if (p && (p->style & WS_VISIBLE) && !(p->style & WS_DISABLED))
            return p->pWnd;
    }
    return pWndCtl;
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    if (!pWnd)
        return FALSE;
    for (CWndState* p = StateOf(pWnd->m_hWnd); p && (p->style & WS_CHILD); p = StateOf(p->hWndParent)) {
        if (p->hWndParent == m_hWnd)
            return TRUE;
    }
    return FALSE;
}

CWnd* CWnd::ChildWindowFromPoint(POINT point) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return nullptr;
    for (HWND h : pState->children) {
        CWndState* p = StateOf(h);
        if (p && p->widget && (p->style & WS_VISIBLE) &&
            p->widget->geometry().contains(QPoint(point.x, point.y)))
            return p->pWnd;
    }
    CRect rc;
    GetClientRect(&rc);
    return rc.PtInRect(point) ? const_cast<CWnd*>(this) : nullptr;
}

CWnd* CWnd::WindowFromPoint(POINT point)
{
    QWidget* w = QApplication::widgetAt(QPoint(point.x, point.y));
    return w ? FromWidget(w) : nullptr;
}

// ---------------------------------------------------------------------------------------
// Dialog items.
// ---------------------------------------------------------------------------------------
void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    if (CWnd* p = GetDlgItem(nID))
        p->SetWindowText(lpszString);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    if (CWnd* p = GetDlgItem(nID))
        p->GetWindowText(rString);
    return rString.GetLength();
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
{
    CWnd* p = GetDlgItem(nID);
    if (!p) {
        if (lpStr && nMaxCount > 0)
            *lpStr = '\0';
        return 0;
    }
    return p->GetWindowText(lpStr, nMaxCount);
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    CString s;
    if (bSigned)
        s.Format("%d", static_cast<int>(nValue));
    else
        s.Format("%u", nValue);
    SetDlgItemText(nID, s);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    CString s;
    GetDlgItemText(nID, s);
    s.Trim();
    const char* p = s;
    char* end = nullptr;
    bool ok = !s.IsEmpty() && (bSigned || *p != '-');
    long long v = ok ? std::strtoll(p, &end, 10) : 0;
    if (ok && (end == p || *end != '\0'))
        ok = false;
    if (ok && bSigned && (v < INT32_MIN || v > INT32_MAX))
        ok = false;
    if (ok && !bSigned && (v < 0 || v > static_cast<long long>(UINT32_MAX)))
        ok = false;
    if (lpTrans)
        *lpTrans = ok ? TRUE : FALSE;
    return ok ? static_cast<UINT>(v) : 0;
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    SendDlgItemMessage(nIDButton, BM_SETCHECK, nCheck, 0);
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        SendDlgItemMessage(id, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    CWnd* p = GetDlgItem(nIDButton);
    return p ? static_cast<UINT>(p->SendMessage(BM_GETCHECK, 0, 0)) : 0;
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (IsDlgButtonChecked(id))
            return id;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------
// Focus, capture, activation, enabling.
// ---------------------------------------------------------------------------------------
CWnd* CWnd::SetFocus()
{
    CWndManager* pManager = Manager();
    CWndState* pState = StateOf(m_hWnd);
    if (!pManager || !pState || !pState->client)
        return nullptr;
    CWnd* pOld = FromHandle(pManager->m_hWndFocus);
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

// ---------------------------------------------------------------------------------------
// Painting.
// ---------------------------------------------------------------------------------------
void CWnd::Invalidate(BOOL bErase)
{
    InvalidateRect(nullptr, bErase);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->client)
        return;
    QRect all(QPoint(0, 0), pState->client->size());
    if (!pState->IsSelfDrawn()) {
        if (lpRect)
            pState->client->update(
                QRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top));
        else
            pState->client->update();
        return;
    }
    QRect r = all;
    if (lpRect) {
        CRect rc(*lpRect);
        rc.NormalizeRect();
        r = QRect(rc.left, rc.top, rc.Width(), rc.Height()).intersected(all);
    }
    if (r.isEmpty())
        return;
    pState->invalid += r;
    if (bErase)
        pState->eraseNeeded = true;
    CWndManager::Instance().SchedulePaint(pState);
}

void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase)
{
    if (!pRgn || !pRgn->m_hObject) {
        Invalidate(bErase);
        return;
    }
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->client)
        return;
    const QRegion rgn =
        CGdiData::From(pRgn->m_hObject)->region.intersected(QRect(QPoint(0, 0), pState->client->size()));
    if (!pState->IsSelfDrawn()) {
        pState->client->update(rgn);
        return;
    }
    if (rgn.isEmpty())
        return;
    pState->invalid += rgn;
    if (bErase)
        pState->eraseNeeded = true;
    CWndManager::Instance().SchedulePaint(pState);
}

void CWnd::ValidateRect(LPCRECT lpRect)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return;
    if (!lpRect) {
        pState->invalid = QRegion();
        pState->eraseNeeded = false;
        return;
    }
    CRect rc(*lpRect);
    rc.NormalizeRect();
    pState->invalid -= QRect(rc.left, rc.top, rc.Width(), rc.Height());
    if (pState->invalid.isEmpty())
        pState->eraseNeeded = false;
}

void CWnd::ValidateRgn(CRgn* pRgn)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return;
    if (!pRgn || !pRgn->m_hObject) {
        ValidateRect(nullptr);
        return;
    }
    pState->invalid -= CGdiData::From(pRgn->m_hObject)->region;
    if (pState->invalid.isEmpty())
        pState->eraseNeeded = false;
}

void CWnd::UpdateWindow()
{
    AfxPaintWindowNow(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    if (flags & RDW_INVALIDATE) {
        if (prgnUpdate)
            InvalidateRgn(prgnUpdate, (flags & RDW_ERASE) != 0);
        else
            InvalidateRect(lpRectUpdate, (flags & RDW_ERASE) != 0);
    }
    if (flags & RDW_VALIDATE) {
        if (prgnUpdate)
            ValidateRgn(prgnUpdate);
        else
            ValidateRect(lpRectUpdate);
    }
    if (flags & RDW_FRAME) {
        if (pState->frame)
            pState->frame->update();
    }
    if (flags & RDW_ALLCHILDREN) {
        const std::vector<HWND> children = pState->children;
        for (HWND h : children) {
            if (CWnd* p = FromHandle(h))
                p->RedrawWindow(nullptr, nullptr, flags);
        }
    }
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        UpdateWindow();
    return TRUE;
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState) {
        if (lpRect)
            *lpRect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    const QRect r = pState->invalid.boundingRect();
    if (lpRect)
        *lpRect = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    (void)bErase;
    return !pState->invalid.isEmpty();
}

void CWnd::SetRedraw(BOOL bRedraw)
{
    SendMessage(WM_SETREDRAW, bRedraw, 0);
}

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect)
{
    ScrollWindowEx(xAmount, yAmount, lpRect, lpClipRect, nullptr, nullptr,
                   (lpRect ? 0u : SW_SCROLLCHILDREN) | SW_INVALIDATE | SW_ERASE);
}

int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                         LPRECT lpRectUpdate, UINT flags)
{
    (void)prgnUpdate;
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->client)
        return 0;
    const QRect all(QPoint(0, 0), pState->client->size());
    auto toQ = [](LPCRECT r) {
        CRect rc(*r);
        rc.NormalizeRect();
        return QRect(rc.left, rc.top, rc.Width(), rc.Height());
    };
    const QRect scroll = lpRectScroll ? toQ(lpRectScroll).intersected(all) : all;
    const QRect clip = lpRectClip ? toQ(lpRectClip).intersected(all) : (lpRectScroll ? scroll : all);
    const QRect source = scroll.intersected(clip);
    const QRect dest = source.translated(dx, dy).intersected(clip);
    QRegion uncovered = QRegion(source).subtracted(QRegion(dest));

    if (pState->IsSelfDrawn()) {
        QImage& buffer = pState->surface->Buffer();
        if (!dest.isEmpty() && !buffer.isNull()) {
            const QImage copy = buffer.copy(dest.translated(-dx, -dy));
            QPainter p(&buffer);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(dest.topLeft(), copy);
        }
        // What was waiting to be painted in the scrolled area moves with it.
        const QRegion pending = pState->invalid.intersected(source);
        pState->invalid = pState->invalid.subtracted(source)
                              .united(pending.translated(dx, dy).intersected(clip))
                              .united(flags & SW_INVALIDATE ? uncovered : QRegion());
        if ((flags & SW_ERASE) && !uncovered.isEmpty())
            pState->eraseNeeded = true;
        if (!pState->invalid.isEmpty())
            CWndManager::Instance().SchedulePaint(pState);
        pState->surface->update(clip);
    } else {
        pState->client->scroll(dx, dy, clip);
    }
    if (flags & SW_SCROLLCHILDREN) {
        for (HWND h : pState->children) {
            CWndState* p = StateOf(h);
            if (p && p->widget)
                p->widget->move(p->widget->pos() + QPoint(dx, dy));
        }
    }
    if (lpRectUpdate) {
        const QRect u = uncovered.boundingRect();
        *lpRectUpdate = RECT{u.left(), u.top(), u.left() + u.width(), u.top() + u.height()};
    }
    return uncovered.isEmpty() ? 1 /* NULLREGION */ : 2 /* SIMPLEREGION */;
}

CDC* CWnd::GetDC()
{
    if (!m_hWnd)
        return nullptr;
    return new CClientDC(this);
}

CDC* CWnd::GetWindowDC()
{
    return GetDC();
}

int CWnd::ReleaseDC(CDC* pDC)
{
    if (!pDC)
        return 0;
    delete pDC;
    return 1;
}

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint)
{
    auto* pDC = new CPaintDC(this);
    *lpPaint = pDC->m_ps;
    lpPaint->hdc = pDC->GetSafeHdc();
    return pDC;
}

void CWnd::EndPaint(LPPAINTSTRUCT lpPaint)
{
    if (lpPaint && lpPaint->hdc)
        delete static_cast<CPaintDC*>(CDC::FromHandle(lpPaint->hdc));
}

int CWnd::SetWindowRgn(HRGN hRgn, BOOL bRedraw)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pState->widget)
        return 0;
    if (!hRgn)
        pState->widget->clearMask();
    else
        pState->widget->setMask(CGdiData::From(hRgn)->region);
    if (bRedraw)
        pState->widget->update();
    return 1;
}

// ---------------------------------------------------------------------------------------
// Scroll bars.
// ---------------------------------------------------------------------------------------
namespace {

void SyncScrollBar(CWndState* pState, int nBar)
{
    if (!pState->frame || nBar < 0 || nBar > 1)
        return;
    const SCROLLINFO& si = pState->scroll[nBar].info;
    QScrollBar* pBar = pState->frame->ScrollBar(nBar);
    QSignalBlocker block(pBar);
    const int page = static_cast<int>(si.nPage);
    const int maxPos = std::max(si.nMin, si.nMax - std::max(page - 1, 0));
    pBar->setRange(si.nMin, maxPos);
    pBar->setPageStep(std::max(page, 1));
    pBar->setSingleStep(1);
    pBar->setValue(si.nPos);
    pBar->setEnabled(pState->scroll[nBar].enabled && maxPos > si.nMin);
}

void SetScrollVisible(HWND hWnd, int nBar, bool bVisible)
{
    CWndState* pState = StateOf(hWnd);
    if (!pState || !pState->frame || pState->scroll[nBar].visible == bVisible)
        return;
    pState->scroll[nBar].visible = bVisible;
    if (bVisible)
        pState->style |= nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
    else
        pState->style &= ~(nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL);
    pState->frame->Relayout();
    AfxClientSizeChanged(hWnd);
}

} // namespace

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow)
{
    if (nBar == static_cast<UINT>(SB_BOTH)) {
        ShowScrollBar(SB_HORZ, bShow);
        ShowScrollBar(SB_VERT, bShow);
        return;
    }
    if (nBar > 1)
        return;
    if (CScrollBar* pCtrl = GetScrollBarCtrl(static_cast<int>(nBar))) {
        reinterpret_cast<CWnd*>(pCtrl)->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        return;
    }
    SetScrollVisible(m_hWnd, static_cast<int>(nBar), bShow != FALSE);
    if (CWndState* pState = StateOf(m_hWnd))
        SyncScrollBar(pState, static_cast<int>(nBar));
}

BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    for (int nBar = 0; nBar < 2; ++nBar) {
        if (nSBFlags == SB_BOTH || nSBFlags == nBar) {
            pState->scroll[nBar].enabled = nArrowFlags != ESB_DISABLE_BOTH;
            SyncScrollBar(pState, nBar);
        }
    }
    return TRUE;
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    if (nBar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, bEnable);
        EnableScrollBarCtrl(SB_VERT, bEnable);
        return;
    }
    if (CScrollBar* pCtrl = GetScrollBarCtrl(nBar)) {
        reinterpret_cast<CWnd*>(pCtrl)->EnableWindow(bEnable);
        return;
    }
    ShowScrollBar(static_cast<UINT>(nBar), bEnable);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    const int nOld = GetScrollPos(nBar);
    SetScrollInfo(nBar, &si, bRedraw);
    return nOld;
}

int CWnd::GetScrollPos(int nBar) const
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(nBar, &si, SIF_POS) ? si.nPos : 0;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(nBar, &si, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    GetScrollInfo(nBar, &si, SIF_RANGE);
    if (lpMinPos)
        *lpMinPos = si.nMin;
    if (lpMaxPos)
        *lpMaxPos = si.nMax;
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    (void)bRedraw;
    if (!lpScrollInfo || nBar < 0 || nBar > 1)
        return FALSE;
    if (CScrollBar* pCtrl = GetScrollBarCtrl(nBar))
        return reinterpret_cast<CWnd*>(pCtrl)->SendMessage(SBM_SETSCROLLINFO, bRedraw,
                                                           reinterpret_cast<LPARAM>(lpScrollInfo)) != 0;
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    SCROLLINFO& si = pState->scroll[nBar].info;
    const UINT mask = lpScrollInfo->fMask;
    if (mask & SIF_RANGE) {
        si.nMin = lpScrollInfo->nMin;
        si.nMax = lpScrollInfo->nMax;
    }
    if (mask & SIF_PAGE)
        si.nPage = lpScrollInfo->nPage;
    if (mask & SIF_POS)
        si.nPos = lpScrollInfo->nPos;
    // The page never exceeds the range, the position stays where a whole page fits.
    const int range = si.nMax - si.nMin + 1;
    if (range > 0 && static_cast<int>(si.nPage) > range)
        si.nPage = static_cast<UINT>(range);
    const int maxPos = std::max(si.nMin, si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0));
    si.nPos = std::max(si.nMin, std::min(si.nPos, maxPos));
    // A window's own scroll bar shows while there is something to scroll.
    if (pState->frame && (mask & (SIF_RANGE | SIF_PAGE))) {
        const bool needed = si.nMax > si.nMin && (si.nPage == 0 || static_cast<int>(si.nPage) < range);
        const bool keep = (mask & SIF_DISABLENOSCROLL) != 0;
        if (needed || !keep)
            SetScrollVisible(m_hWnd, nBar, needed || (keep && pState->scroll[nBar].visible));
        pState = StateOf(m_hWnd);
        if (!pState)
            return TRUE;
    }
    SyncScrollBar(pState, nBar);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const
{
    if (!lpScrollInfo || nBar < 0 || nBar > 1)
        return FALSE;
    if (CScrollBar* pCtrl = GetScrollBarCtrl(nBar)) {
        lpScrollInfo->fMask = nMask;
        return reinterpret_cast<CWnd*>(pCtrl)->SendMessage(SBM_GETSCROLLINFO, 0,
                                                           reinterpret_cast<LPARAM>(lpScrollInfo)) != 0;
    }
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    const SCROLLINFO& si = pState->scroll[nBar].info;
    if (nMask & SIF_RANGE) {
        lpScrollInfo->nMin = si.nMin;
        lpScrollInfo->nMax = si.nMax;
    }
    if (nMask & SIF_PAGE)
        lpScrollInfo->nPage = si.nPage;
    if (nMask & SIF_POS)
        lpScrollInfo->nPos = si.nPos;
    if (nMask & SIF_TRACKPOS)
        lpScrollInfo->nTrackPos = si.nTrackPos;
    return TRUE;
}

int CWnd::GetScrollLimit(int nBar) const
{
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(nBar, &si, SIF_ALL))
        return 0;
    return std::max(si.nMin, si.nMax - std::max(static_cast<int>(si.nPage) - 1, 0));
}

CScrollBar* CWnd::GetScrollBarCtrl(int nBar) const
{
    (void)nBar;
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Other.
// ---------------------------------------------------------------------------------------
int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    (void)lpszCaption;
    return AfxMessageBox(lpszText ? lpszText : "", nType);
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    if (bAccept)
        ModifyStyleEx(0, WS_EX_ACCEPTFILES);
    else
        ModifyStyleEx(WS_EX_ACCEPTFILES, 0);
}

BOOL CWnd::OpenClipboard()
{
    return ::OpenClipboard(m_hWnd);
}

CMenu* CWnd::GetMenu() const
{
    CWndState* pState = StateOf(m_hWnd);
    return pState && pState->hMenu ? CMenu::FromHandle(pState->hMenu) : nullptr;
}

BOOL CWnd::SetMenu(CMenu* pMenu)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return FALSE;
    pState->hMenu = pMenu ? pMenu->m_hMenu : nullptr;
    SendMessage(WM_AFX_MENUCHANGED, reinterpret_cast<WPARAM>(pState->hMenu), 0);
    return TRUE;
}

void CWnd::DrawMenuBar()
{
    CWndState* pState = StateOf(m_hWnd);
    if (pState)
        SendMessage(WM_AFX_MENUCHANGED, reinterpret_cast<WPARAM>(pState->hMenu), 0);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    (void)bRevert;
    return nullptr;
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState || !pTarget)
        return;
    const std::vector<HWND> children = pState->children;
    for (HWND h : children) {
        CWnd* pChild = FromHandle(h);
        if (!pChild)
            continue;
        CCmdUI state;
        state.m_pOther = pChild;
        state.m_nID = static_cast<UINT>(pChild->GetDlgCtrlID());
        if (state.m_nID == 0 || state.m_nID == IDC_STATIC)
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

LONG CWnd::GetWindowLong(int nIndex) const
{
    CWndState* pState = StateOf(m_hWnd);
    if (!pState)
        return 0;
    switch (nIndex) {
    case GWL_STYLE:
        return static_cast<LONG>(pState->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(pState->exStyle);
    case GWL_ID:
        return static_cast<LONG>(pState->nID);
    default:
        return 0;
    }
}

LONG CWnd::SetWindowLong(int nIndex, LONG dwNewLong)
{
    const LONG old = GetWindowLong(nIndex);
    switch (nIndex) {
    case GWL_STYLE:
        ModifyStyle(0xFFFFFFFF, static_cast<DWORD>(dwNewLong));
        break;
    case GWL_EXSTYLE:
        ModifyStyleEx(0xFFFFFFFF, static_cast<DWORD>(dwNewLong));
        break;
    case GWL_ID:
        SetDlgCtrlID(dwNewLong);
        break;
    default:
        break;
    }
    return old;
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
