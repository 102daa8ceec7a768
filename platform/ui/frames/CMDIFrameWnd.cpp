#include "platform/ui/frames/CMDIFrameWnd.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/frames/FrameWidgets_p.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

namespace {

// The document window a sub-window of the area shows.
HWND HwndOfChildSub(const QMdiSubWindow* pSub)
{
    if (CWnd* pWnd = pSub ? CWnd::FromWidget(pSub->widget()) : nullptr)
        return pWnd->m_hWnd;
    return nullptr;
}

// The windows that cascading and tiling arrange: the document windows that are not minimised.
std::vector<QMdiSubWindow*> ArrangedSubWindows(const CMDIFrameWnd& frame)
{
    std::vector<QMdiSubWindow*> subs;
    for (CMDIChildWnd* pChild : frame.GetDocumentWindows()) {
        if (QMdiSubWindow* pSub = pChild->GetSubWindow(); pSub && !pSub->isMinimized())
            subs.push_back(pSub);
    }
    return subs;
}

} // namespace

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_DESTROY()
ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
ON_COMMAND_EX_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
ON_WM_INITMENUPOPUP()
ON_WM_SIZE()
ON_COMMAND_EX_RANGE(CMDIFrameWnd::kWindowListFirst,
                    CMDIFrameWnd::kWindowListFirst + CMDIFrameWnd::kWindowListMax - 1, OnWindowListCmd)
ON_UPDATE_COMMAND_UI_RANGE(CMDIFrameWnd::kWindowListFirst,
                           CMDIFrameWnd::kWindowListFirst + CMDIFrameWnd::kWindowListMax - 1,
                           OnUpdateWindowListCmd)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() = default;

CMDIFrameWnd::~CMDIFrameWnd()
{
    delete m_pMDIClientWnd;
}

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
    if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    // The menu of the frame's own id is the one shown while no document window is active.
    if (!m_hMenuDefault && GetMenu())
        m_hMenuDefault = GetMenu()->m_hMenu;
    return TRUE;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    (void)pContext;
    return CreateClient(lpcs, nullptr);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu)
{
    (void)lpCreateStruct;
    (void)pWindowMenu;
    AfxRegisterFrameClasses();
    if (!m_pMDIClientWnd)
        m_pMDIClientWnd = new CWnd;
    if (!m_pMDIClientWnd->CreateEx(WS_EX_CLIENTEDGE, AFX_WNDMDICLIENT_CLASS, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL, 0, 0, 0,
                                   0, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<uintptr_t>(AFX_IDW_PANE_FIRST))))
        return FALSE;
    m_hWndMDIClient = m_pMDIClientWnd->m_hWnd;
    return TRUE;
}

QMdiArea* CMDIFrameWnd::GetMdiArea() const
{
    return AfxGetMdiArea(m_hWndMDIClient);
}

// ---------------------------------------------------------------------------------------
// The document windows.
// ---------------------------------------------------------------------------------------
CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    auto* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(m_hWndActiveChild));
    if (pbMaximized) {
        *pbMaximized = FALSE;
        if (pChild) {
            QMdiSubWindow* pSub = pChild->GetSubWindow();
            *pbMaximized = (pSub && pSub->isMaximized()) || (pChild->GetStyle() & WS_MAXIMIZE) ? TRUE : FALSE;
        }
    }
    return pChild;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    auto* pChild = dynamic_cast<CMDIChildWnd*>(pWndActivate);
    if (!pChild || !pChild->m_hWnd)
        return;
    QMdiArea* pArea = GetMdiArea();
    QMdiSubWindow* pSub = pChild->GetSubWindow();
    if (pArea && pSub && pSub->isVisible())
        pArea->setActiveSubWindow(pSub);
    // The area tells about the activation only while its window is active; the frame
    // keeps its own account so that activation works the same either way.
    OnChildActivated(pChild);
}

std::vector<CMDIChildWnd*> CMDIFrameWnd::GetDocumentWindows() const
{
    std::vector<CMDIChildWnd*> windows;
    CWndState* pClient = AfxGetWndState(m_hWndMDIClient);
    QMdiArea* pArea = GetMdiArea();
    if (!pClient || !pArea)
        return windows;
    std::vector<CMDIChildWnd*> children;
    for (HWND h : pClient->children) {
        CWndState* pState = AfxGetWndState(h);
        if (auto* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(h));
            pChild && pState && !pState->destroying)
            children.push_back(pChild);
    }
    for (QMdiSubWindow* pSub : pArea->subWindowList(QMdiArea::CreationOrder)) {
        for (CMDIChildWnd* pChild : children) {
            if (pChild->GetSubWindow() == pSub && pSub->isVisible())
                windows.push_back(pChild);
        }
    }
    return windows;
}

void CMDIFrameWnd::MDINext()
{
    // The next document window in the list, round the end to the first.
    const std::vector<CMDIChildWnd*> windows = GetDocumentWindows();
    if (windows.size() < 2)
        return;
    const auto it = std::find(windows.begin(), windows.end(), MDIGetActive());
    const size_t next =
        it == windows.end() ? 0 : (static_cast<size_t>(it - windows.begin()) + 1) % windows.size();
    MDIActivate(windows[next]);
}

void CMDIFrameWnd::MDIPrev()
{
    const std::vector<CMDIChildWnd*> windows = GetDocumentWindows();
    if (windows.size() < 2)
        return;
    const auto it = std::find(windows.begin(), windows.end(), MDIGetActive());
    const size_t at = it == windows.end() ? 0 : static_cast<size_t>(it - windows.begin());
    MDIActivate(windows[(at + windows.size() - 1) % windows.size()]);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    if (auto* pChild = dynamic_cast<CMDIChildWnd*>(pWnd))
        pChild->MDIMaximize();
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    if (auto* pChild = dynamic_cast<CMDIChildWnd*>(pWnd))
        pChild->MDIRestore();
}

void CMDIFrameWnd::MDICascade()
{
    // The toolkit's cascade sizes each window by its size hint, which for a document
    // window is its bars alone; here every window gets the same useful size: the area less
    // the offsets of the windows after it, at least two thirds of the area.
    QMdiArea* pArea = GetMdiArea();
    if (!pArea)
        return;
    std::vector<QMdiSubWindow*> subs = ArrangedSubWindows(*this);
    if (subs.empty())
        return;
    const QSize area = pArea->viewport()->size();
    const int step =
        std::max(20, pArea->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subs.front()));
    const int n = static_cast<int>(subs.size());
    const int width = std::min(area.width(), std::max(area.width() * 2 / 3, area.width() - (n - 1) * step));
    const int height =
        std::min(area.height(), std::max(area.height() * 2 / 3, area.height() - (n - 1) * step));
    const int perRound =
        std::max(1, std::min((area.width() - width) / step, (area.height() - height) / step) + 1);
    // The active window comes last, on top.
    CMDIChildWnd* pActive = MDIGetActive();
    if (pActive && pActive->GetSubWindow()) {
        auto it = std::find(subs.begin(), subs.end(), pActive->GetSubWindow());
        if (it != subs.end())
            std::rotate(it, it + 1, subs.end());
    }
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* pSub = subs[static_cast<size_t>(i)];
        if (CMDIChildWnd* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(HwndOfChildSub(pSub))))
            pChild->ModifyStyle(WS_MAXIMIZE, 0);
        pSub->showNormal();
        const int offset = (i % perRound) * step;
        pSub->setGeometry(offset, offset, width, height);
        pSub->raise();
    }
    if (pActive)
        MDIActivate(pActive);
}

void CMDIFrameWnd::MDITile(int nType)
{
    // Tiled horizontally the windows lie one above the other, each as wide as the area;
    // tiled vertically side by side, each as tall as the area. From four windows on they
    // form a grid of about as many bands as windows per band, the first bands holding
    // the extra window, and every band's windows share it equally.
    QMdiArea* pArea = GetMdiArea();
    if (!pArea)
        return;
    std::vector<QMdiSubWindow*> subs = ArrangedSubWindows(*this);
    if (subs.empty())
        return;
    const bool bStacked = (nType & MDITILE_HORIZONTAL) != 0;
    const int n = static_cast<int>(subs.size());
    int nBands = n;
    if (n > 3) {
        nBands = 1;
        while (nBands * nBands < n)
            ++nBands;
    }
    const QSize area = pArea->viewport()->size();
    const int across = bStacked ? area.height() : area.width(); // the direction the bands share
    const int along = bStacked ? area.width() : area.height();  // the direction within a band
    CMDIChildWnd* pActive = MDIGetActive();
    int index = 0;
    for (int band = 0; band < nBands; ++band) {
        const int inBand = n / nBands + (band < n % nBands ? 1 : 0);
        const int bandStart = across * band / nBands;
        const int bandEnd = across * (band + 1) / nBands;
        for (int k = 0; k < inBand && index < n; ++k, ++index) {
            const int start = along * k / inBand;
            const int end = along * (k + 1) / inBand;
            QMdiSubWindow* pSub = subs[static_cast<size_t>(index)];
            if (CMDIChildWnd* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(HwndOfChildSub(pSub))))
                pChild->ModifyStyle(WS_MAXIMIZE, 0);
            pSub->showNormal();
            if (bStacked)
                pSub->setGeometry(start, bandStart, end - start, bandEnd - bandStart);
            else
                pSub->setGeometry(bandStart, start, bandEnd - bandStart, end - start);
        }
    }
    if (pActive)
        MDIActivate(pActive);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    (void)pWindowMenu;
    CMenu* pOld = GetMenu();
    if (pFrameMenu)
        SetFrameMenu(pFrameMenu->m_hMenu);
    return pOld;
}

void CMDIFrameWnd::OnMdiSubWindowActivated(HWND hWndChild)
{
    if (!hWndChild) {
        // The area reports "none" also when the application merely lost the focus; a
        // document window stays the active one as long as it exists.
        if (CWndState* pState = AfxGetWndState(m_hWndActiveChild); pState && !pState->destroying)
            return;
        OnChildActivated(nullptr);
        return;
    }
    CWndState* pState = AfxGetWndState(hWndChild);
    if (!pState || pState->destroying)
        return;
    OnChildActivated(dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(hWndChild)));
}

void CMDIFrameWnd::OnChildActivated(CMDIChildWnd* pChild)
{
    CWnd* pOld = CWnd::FromHandle(m_hWndActiveChild);
    if (pOld == pChild)
        return;
    const HWND hOld = pOld ? pOld->m_hWnd : nullptr;
    const HWND hNew = pChild ? pChild->m_hWnd : nullptr;
    m_hWndActiveChild = hNew;

    // The active window is the first one the walk over the MDI client's children meets.
    if (CWndState* pClient = AfxGetWndState(m_hWndMDIClient); pClient && hNew) {
        auto& v = pClient->children;
        auto it = std::find(v.begin(), v.end(), hNew);
        if (it != v.end())
            std::rotate(v.begin(), it, it + 1);
    }
    if (pOld && AfxGetWndState(hOld))
        pOld->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOld), reinterpret_cast<LPARAM>(hNew));
    if (pChild && AfxGetWndState(hNew))
        pChild->SendMessage(WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOld), reinterpret_cast<LPARAM>(hNew));
    if (!hNew) {
        OnUpdateFrameMenu(nullptr);
        OnUpdateFrameTitle(TRUE);
    }
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* pChild = MDIGetActive();
    return pChild ? static_cast<CFrameWnd*>(pChild) : this;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!m_hWnd || !(GetStyle() & FWS_ADDTOTITLE))
        return;
    CMDIChildWnd* pChild = MDIGetActive();
    CDocument* pDoc = pChild ? pChild->GetActiveDocument() : nullptr;
    // A maximised document window adds its own title to the main title (" - [title]"):
    // the document's name is then left out here, or it would stand there twice.
    QMdiSubWindow* pSub = pChild ? pChild->GetSubWindow() : nullptr;
    const bool bMaximized = pSub ? pSub->isMaximized() : pChild && (pChild->GetStyle() & WS_MAXIMIZE);
    if (bAddToTitle && pDoc && !bMaximized) {
        // The document window's numbering shows in the main title as well.
        const int nWindow = m_nWindow;
        m_nWindow = pChild->m_nWindow;
        UpdateFrameTitleForDocument(pDoc->GetTitle());
        m_nWindow = nWindow;
    } else {
        UpdateFrameTitleForDocument(nullptr);
    }
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (CMDIChildWnd* pChild = MDIGetActive()) {
        pChild->OnUpdateFrameMenu(TRUE, pChild, hMenuAlt);
        return;
    }
    SetFrameMenu(hMenuAlt ? hMenuAlt : m_hMenuDefault);
}

HACCEL CMDIFrameWnd::GetDefaultAccelerator()
{
    return m_hAccelTable;
}

void CMDIFrameWnd::RecalcLayout(BOOL bNotify)
{
    CFrameWnd::RecalcLayout(bNotify);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active document window first: its view, its document, the window itself.
    if (CMDIChildWnd* pChild = MDIGetActive()) {
        ++pChild->m_nRoutingFromFrame;
        const HWND hChild = pChild->m_hWnd;
        const BOOL bHandled = pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
        if (AfxGetWndState(hChild))
            --pChild->m_nRoutingFromFrame;
        if (bHandled)
            return TRUE;
    }
    if (RouteCmdMsgInFrame(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    // Ctrl+F6 and Ctrl+Tab go to the next document window, with Shift to the previous one.
    if (pMsg && pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_F6 || pMsg->wParam == VK_TAB) &&
        (::GetKeyState(VK_CONTROL) & 0x8000) && !(::GetKeyState(VK_MENU) & 0x8000) && MDIGetActive()) {
        if (::GetKeyState(VK_SHIFT) & 0x8000)
            MDIPrev();
        else
            MDINext();
        if (CMDIChildWnd* pChild = MDIGetActive())
            if (CView* pView = pChild->GetActiveView())
                pView->SetFocus();
        return TRUE;
    }
    // A key that reaches the frame from outside every document window (the frame itself
    // after a dialog closed, its tool bars, the zoom box) still goes through the active
    // document's accelerators, as it does from inside that document's window.
    if (pMsg && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        if (CMDIChildWnd* pChild = MDIGetActive()) {
            const CWnd* pTarget = CWnd::FromHandle(pMsg->hwnd);
            const bool bInChild = pTarget != nullptr && (pTarget == pChild || pChild->IsChild(pTarget));
            if (!bInChild && pChild->PreTranslateMessage(pMsg))
                return TRUE;
        }
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMDIFrameWnd::OnDestroy()
{
    m_hWndActiveChild = nullptr;
    CFrameWnd::OnDestroy();
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(MDIGetActive() != nullptr);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID)
{
    switch (nID) {
    case ID_WINDOW_CASCADE:
        MDICascade();
        return TRUE;
    case ID_WINDOW_TILE_HORZ:
        MDITile(MDITILE_HORIZONTAL);
        return TRUE;
    case ID_WINDOW_TILE_VERT:
        MDITile(MDITILE_VERTICAL);
        return TRUE;
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        return TRUE;
    default:
        return FALSE;
    }
}

void CMDIFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    if (!bSysMenu && pPopupMenu &&
        pPopupMenu->GetMenuState(ID_WINDOW_CASCADE, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
        // The list is made afresh each time: the old entries and their separator go.
        for (UINT id = kWindowListFirst; id < kWindowListFirst + kWindowListMax; ++id) {
            while (pPopupMenu->GetMenuState(id, MF_BYCOMMAND) != static_cast<UINT>(-1))
                pPopupMenu->DeleteMenu(id, MF_BYCOMMAND);
        }
        int nCount = pPopupMenu->GetMenuItemCount();
        if (nCount > 0 && (pPopupMenu->GetMenuState(nCount - 1, MF_BYPOSITION) & MF_SEPARATOR))
            pPopupMenu->DeleteMenu(nCount - 1, MF_BYPOSITION);
        const std::vector<CMDIChildWnd*> windows = GetDocumentWindows();
        if (!windows.empty())
            pPopupMenu->AppendMenu(MF_SEPARATOR);
        for (size_t i = 0; i < windows.size() && i < static_cast<size_t>(kWindowListMax); ++i) {
            CString title;
            windows[i]->GetWindowText(title);
            title.Replace("&", "&&");
            CString text;
            text.Format("&%u %s", static_cast<unsigned>(i + 1), title.c_str());
            pPopupMenu->AppendMenu(MF_STRING, kWindowListFirst + static_cast<UINT>(i), text);
        }
    }
    CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

BOOL CMDIFrameWnd::OnWindowListCmd(UINT nID)
{
    const std::vector<CMDIChildWnd*> windows = GetDocumentWindows();
    const size_t index = nID - kWindowListFirst;
    if (index >= windows.size())
        return FALSE;
    MDIActivate(windows[index]);
    if (CView* pView = windows[index]->GetActiveView())
        pView->SetFocus();
    return TRUE;
}

void CMDIFrameWnd::OnUpdateWindowListCmd(CCmdUI* pCmdUI)
{
    const std::vector<CMDIChildWnd*> windows = GetDocumentWindows();
    const size_t index = pCmdUI->m_nID - kWindowListFirst;
    pCmdUI->Enable(index < windows.size());
    pCmdUI->SetCheck(index < windows.size() && windows[index] == MDIGetActive());
}

void CMDIFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    // Maximising or restoring the main window from its title bar leaves the keyboard
    // nowhere; it goes back to the active document's view.
    if (nType != SIZE_MAXIMIZED && nType != SIZE_RESTORED)
        return;
    CMDIChildWnd* pChild = MDIGetActive();
    CView* pView = pChild ? pChild->GetActiveView() : nullptr;
    CWnd* pFocus = CWnd::GetFocus();
    if (pView && pView->m_hWnd && (pFocus == nullptr || pFocus == this))
        pView->SetFocus();
}

void CMDIFrameWnd::OnWindowNew()
{
    CMDIChildWnd* pActive = MDIGetActive();
    CDocument* pDoc = pActive ? pActive->GetActiveDocument() : nullptr;
    CDocTemplate* pTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
    if (!pTemplate)
        return;
    if (CFrameWnd* pFrame = pTemplate->CreateNewFrame(pDoc, pActive))
        pTemplate->InitialUpdateFrame(pFrame, pDoc);
}
