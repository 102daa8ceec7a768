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
    } else if (child && pState->widget) {
        // A child made without WS_VISIBLE stays hidden when its parent is shown, as on
        // Windows; a widget never hidden explicitly would appear with its parent.
        pState->widget->hide();
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
