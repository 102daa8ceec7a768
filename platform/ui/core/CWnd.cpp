#include "platform/ui/core/CWnd.h"

#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWndClientWidget_p.h"
#include "platform/ui/core/CWndFrameWidget_p.h"
#include "platform/ui/core/CWndShared_p.h"
#include "platform/ui/core/Cursors_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/core/WndClass_p.h"
#include "platform/ui/dialogs/MessageBoxUi.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/SysColors.h"

#include <QTimer>

#include <algorithm>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {

QString ToQt(const char* lpsz)
{
    const std::u16string u = Cp932ToUtf16(lpsz ? lpsz : "", true);
    return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
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

namespace {

// The creation record that PreCreateWindow may change and WM_CREATE receives.
CREATESTRUCT MakeCreateStruct(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                              int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenuOrID,
                              LPVOID lpParam)
{
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
    return cs;
}

// The class's name, styles, cursor, background and icon in the new window's state; a class
// nobody registered (a null name among them) is the framework's general window class.
void TakeClassLook(CWndState& state, const CREATESTRUCT& cs, const CWndClassInfo* pClass)
{
    if (cs.lpszClass && !IS_INTRESOURCE(cs.lpszClass))
        state.className = cs.lpszClass;
    if (pClass) {
        state.classStyle = pClass->style;
        state.hClassCursor = pClass->hCursor;
        state.hbrBackground = pClass->hbrBackground;
        state.hIcon = pClass->hIcon;
    } else {
        // The framework's general window class: double clicks, the arrow, the window colour.
        state.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        state.hClassCursor = ::LoadCursor(nullptr, IDC_ARROW);
        state.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    }
}

// A child joins its parent's children with its id; a top-level window is owned by the
// top-level window of the one named and keeps its menu. Returns the widget the new window's
// widget goes into (the parent's client area, the owner's window, or none).
QWidget* LinkToParent(CWndState& state, const CREATESTRUCT& cs, bool child, CWndState* pParentState)
{
    if (child) {
        state.hWndParent = cs.hwndParent;
        state.nID = static_cast<UINT>(reinterpret_cast<uintptr_t>(cs.hMenu));
        pParentState->children.push_back(state.hWnd);
        return pParentState->client;
    }
    state.hWndOwner = TopLevelOf(cs.hwndParent);
    state.hMenu = cs.hMenu;
    if (CWndState* pOwner = StateOf(state.hWndOwner))
        return pOwner->widget;
    return nullptr;
}

// Qt's flags for the window: a top-level window is a window, a tool window for
// WS_EX_TOOLWINDOW, frameless as a pop-up without a caption, on top for WS_EX_TOPMOST.
Qt::WindowFlags WindowFlagsFor(DWORD style, DWORD exStyle, bool child)
{
    if (child)
        return Qt::Widget;
    Qt::WindowFlags flags = Qt::Window;
    if (exStyle & WS_EX_TOOLWINDOW)
        flags = Qt::Tool;
    if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION)
        flags |= Qt::FramelessWindowHint;
    if (exStyle & WS_EX_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

// A self-drawn window: a frame widget (border and scroll bars) around the painted client area.
QWidget* MakeSelfDrawnWidget(CWndState& state, QWidget* pParentWidget, Qt::WindowFlags flags, DWORD style)
{
    auto* pFrame = new CWndFrameWidget(state.hWnd, pParentWidget, flags);
    auto* pClient = new CWndClientWidget(state.hWnd, pFrame);
    pFrame->SetClient(pClient);
    state.frame = pFrame;
    state.surface = pClient;
    state.widget = pFrame;
    state.client = pClient;
    state.scroll[SB_HORZ].visible = (style & WS_HSCROLL) != 0;
    state.scroll[SB_VERT].visible = (style & WS_VSCROLL) != 0;
    if (state.hClassCursor)
        pClient->setCursor(AfxCursorFromHandle(state.hClassCursor));
    return pFrame;
}

// The widget of the new window: the class's control, or a self-drawn window. Null when the
// class refuses to make its control.
QWidget* MakeWidget(CWnd& wnd, CWndState& state, const CWndClassInfo* pClass, const CREATESTRUCT& cs,
                    QWidget* pParentWidget, bool child)
{
    const DWORD style = static_cast<DWORD>(cs.style);
    const Qt::WindowFlags flags = WindowFlagsFor(style, cs.dwExStyle, child);
    if (!pClass || !pClass->createWidget)
        return MakeSelfDrawnWidget(state, pParentWidget, flags, style);
    QWidget* pWidget = pClass->createWidget(&wnd, cs, pParentWidget);
    if (!pWidget)
        return nullptr;
    if (!child && pWidget->parentWidget() == pParentWidget)
        pWidget->setWindowFlags(pWidget->windowFlags() | flags);
    state.widget = pWidget;
    state.client = pWidget;
    return pWidget;
}

// A window whose control could not be made leaves no trace: not among its parent's
// children, not known to the window manager.
void ForgetRefusedWindow(CWndManager& manager, CWndState* pParentState, HWND hWnd)
{
    if (pParentState)
        pParentState->children.erase(
            std::remove(pParentState->children.begin(), pParentState->children.end(), hWnd),
            pParentState->children.end());
    manager.Forget(hWnd);
}

// Puts the new widget where the record says (CW_USEDEFAULT: 640 by 480 at 0, 0), disabled and
// taking dropped files as its styles say; a self-drawn window starts wholly invalid.
void PlaceNewWidget(CWndState& state, QWidget& widget, const CREATESTRUCT& cs, bool child)
{
    const DWORD style = static_cast<DWORD>(cs.style);
    int cx = cs.cx == CW_USEDEFAULT ? 640 : std::max(0, cs.cx);
    int cy = cs.cy == CW_USEDEFAULT ? 480 : std::max(0, cs.cy);
    int px = cs.x == CW_USEDEFAULT ? 0 : cs.x;
    int py = cs.y == CW_USEDEFAULT ? 0 : cs.y;
    if (child) {
        widget.setGeometry(px, py, cx, cy);
    } else {
        widget.move(px, py);
        widget.resize(cx, cy);
    }
    if (state.frame)
        state.frame->Relayout();
    if (style & WS_DISABLED)
        widget.setEnabled(false);
    if (cs.dwExStyle & WS_EX_ACCEPTFILES)
        widget.setAcceptDrops(true);
    if (state.surface) {
        state.surface->SyncBufferSize();
        state.invalid = QRegion(QRect(QPoint(0, 0), state.client->size()));
        state.eraseNeeded = true;
    }
}

// WM_CREATE (-1 refuses the window, which is then destroyed), the first WM_SIZE, and the
// window shown as its styles say. FALSE when the window did not live through it.
BOOL SendCreateAndShow(CWnd& wnd, CWndManager& manager, HWND hWnd, CREATESTRUCT& cs, bool child)
{
    const DWORD style = static_cast<DWORD>(cs.style);
    const LRESULT lCreate = manager.Call(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    CWndState* pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    if (lCreate == -1) {
        wnd.DestroyWindow();
        return FALSE;
    }
    pState->created = true;
    AfxClientSizeChanged(hWnd);
    if (!StateOf(hWnd))
        return FALSE;
    if (style & WS_VISIBLE) {
        if (!child && (style & WS_MAXIMIZE))
            wnd.ShowWindow(SW_SHOWMAXIMIZED);
        else
            wnd.ShowWindow(SW_SHOW);
    } else if (child && pState->widget) {
        // A child made without WS_VISIBLE stays hidden when its parent is shown, as on
        // Windows; a widget never hidden explicitly would appear with its parent.
        pState->widget->hide();
    }
    return wnd.m_hWnd != nullptr;
}

} // namespace

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenuOrID, LPVOID lpParam)
{
    CWndManager* pManager = Manager();
    if (m_hWnd || !pManager)
        return FALSE;

    CREATESTRUCT cs = MakeCreateStruct(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth,
                                       nHeight, hWndParent, hMenuOrID, lpParam);
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

    // The window's state, known to the manager from here on.
    const CWndClassInfo* pClass = AfxFindClassInfo(cs.lpszClass);
    CWndState* pState = pManager->NewWindow();
    HWND hWnd = pState->hWnd;
    pState->pWnd = this;
    m_hWnd = hWnd;
    pState->style = style & ~WS_VISIBLE;
    pState->exStyle = cs.dwExStyle;
    TakeClassLook(*pState, cs, pClass);
    pState->text = cs.lpszName ? cs.lpszName : "";
    QWidget* pParentWidget = LinkToParent(*pState, cs, child, pParentState);

    QWidget* pWidget = MakeWidget(*this, *pState, pClass, cs, pParentWidget, child);
    if (!pWidget) {
        ForgetRefusedWindow(*pManager, pParentState, hWnd);
        m_hWnd = nullptr;
        PostNcDestroy();
        return FALSE;
    }
    pManager->MapWidget(pState->widget, hWnd);
    if (pState->client != pState->widget)
        pManager->MapWidget(pState->client, hWnd);
    if (!child && !pState->text.IsEmpty())
        pWidget->setWindowTitle(ToQt(pState->text));
    PlaceNewWidget(*pState, *pWidget, cs, child);
    return SendCreateAndShow(*this, *pManager, hWnd, cs, child);
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
// Other.
// ---------------------------------------------------------------------------------------
int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    return AfxWindowMessageBox(this, lpszText, lpszCaption, nType);
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
