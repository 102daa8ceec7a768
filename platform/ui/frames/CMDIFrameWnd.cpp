#include "platform/ui/frames/CMDIFrameWnd.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/FrameWidgets_p.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_WM_DESTROY()
ON_UPDATE_COMMAND_UI_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
ON_COMMAND_EX_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
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

void CMDIFrameWnd::MDINext()
{
    CWndState* pClient = AfxGetWndState(m_hWndMDIClient);
    if (!pClient || pClient->children.size() < 2)
        return;
    // The next window below the active one, as the walk order has it.
    for (size_t i = 1; i < pClient->children.size(); ++i) {
        if (auto* pChild = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(pClient->children[i]))) {
            MDIActivate(pChild);
            return;
        }
    }
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
    if (QMdiArea* pArea = GetMdiArea())
        pArea->cascadeSubWindows();
}

void CMDIFrameWnd::MDITile(int nType)
{
    (void)nType;
    if (QMdiArea* pArea = GetMdiArea())
        pArea->tileSubWindows();
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
    if (bAddToTitle && pDoc) {
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
    case ID_WINDOW_TILE_VERT:
        MDITile();
        return TRUE;
    case ID_WINDOW_ARRANGE:
        MDIIconArrange();
        return TRUE;
    default:
        return FALSE;
    }
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
