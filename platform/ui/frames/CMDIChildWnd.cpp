#include "platform/ui/frames/CMDIChildWnd.h"

#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CCreateContext.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CMDIFrameWnd.h"
#include "platform/ui/frames/CMultiDocTemplate.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/frames/FrameWidgets_p.h"

#include <QApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>

#include <algorithm>

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_MDIACTIVATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() = default;

CMDIChildWnd::~CMDIChildWnd() = default;

BOOL CMDIChildWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    (void)lpszMenuName;
    (void)rect;
    AfxRegisterFrameClasses();
    if (!pParentWnd)
        pParentWnd = AfxGetMainWnd();
    auto* pMDIFrame = dynamic_cast<CMDIFrameWnd*>(pParentWnd);
    if (!pMDIFrame || !pMDIFrame->m_hWndMDIClient) {
        // No MDI frame to live in: the object goes, as after any failed creation.
        delete this;
        return FALSE;
    }
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    // The window stays out of sight until ActivateFrame shows it, maximised when its
    // style asks for it or the active document window is maximised.
    dwStyle |= WS_CHILD;
    // A window made for a document stays hidden, whatever its style says, until the
    // document is read and ActivateFrame shows it: a read that fails shows no empty window
    // and leaves the other windows' maximised state alone.
    m_bHiddenUntilActivated = pContext != nullptr && pContext->m_pCurrentDoc != nullptr;
    const CFrameWnd* pSelf = this;
    const BOOL bCreated = CWnd::CreateEx(dwExStyle | WS_EX_MDICHILD, lpszClassName, lpszWindowName, dwStyle,
                                         0, 0, 0, 0, pMDIFrame->m_hWndMDIClient, nullptr, pContext);
    // A failed creation ends the object, whether or not its window existed for a while.
    if (!bCreated && IsFrameAlive(pSelf) && !m_hWnd)
        delete this;
    return bCreated;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    if (pContext) {
        if (auto* pTemplate = dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate)) {
            m_hMenuShared = pTemplate->m_hMenuShared;
            m_hAccelTable = pTemplate->m_hAccelTable;
        }
    }
    if (!Create(nullptr, nullptr, dwDefaultStyle, rectDefault, pParentWnd, nullptr, 0, pContext))
        return FALSE; // the frame has deleted itself
    if (!m_hAccelTable && FindAcceleratorResource(nIDResource))
        m_hAccelTable = AfxLoadAccelerators(nIDResource);
    if (m_pSubWindow) {
        // The document window shows the application's icon (or none), never the toolkit's.
        QIcon icon;
        if (CMDIFrameWnd* pFrame = GetMDIFrame(); pFrame && pFrame->GetWidget())
            icon = pFrame->GetWidget()->windowIcon();
        if (icon.isNull() || icon.cacheKey() == QApplication::windowIcon().cacheKey()) {
            QPixmap blank(16, 16);
            blank.fill(Qt::transparent);
            icon = QIcon(blank);
        }
        m_pSubWindow->setWindowIcon(icon);
    }
    if (!pContext)
        SendInitialUpdate();
    return TRUE;
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CHILD;
    if (m_bHiddenUntilActivated)
        cs.style &= ~WS_VISIBLE;
    return CFrameWnd::PreCreateWindow(cs);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    CWnd* pClient = GetParent();
    return pClient ? dynamic_cast<CMDIFrameWnd*>(pClient->GetParent()) : nullptr;
}

void CMDIChildWnd::MDIDestroy()
{
    DestroyWindow();
}

void CMDIChildWnd::MDIActivate()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->MDIActivate(this);
}

void CMDIChildWnd::MDIMaximize()
{
    if (m_pSubWindow)
        m_pSubWindow->showMaximized();
    ModifyStyle(0, WS_MAXIMIZE);
}

void CMDIChildWnd::MDIRestore()
{
    if (m_pSubWindow)
        m_pSubWindow->showNormal();
    ModifyStyle(WS_MAXIMIZE, 0);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (nCmdShow == -1) {
        BOOL bMaximized = FALSE;
        CMDIChildWnd* pActive = pFrame ? pFrame->MDIGetActive(&bMaximized) : nullptr;
        if ((GetStyle() & WS_MAXIMIZE) || (pActive && pActive != this && bMaximized))
            nCmdShow = SW_SHOWMAXIMIZED;
        else if (!m_pSubWindow || !m_pSubWindow->isVisible())
            nCmdShow = SW_SHOWNORMAL;
    }
    // The normal place is given while the window is still hidden: shown first, a new window
    // beside a maximised one is maximised at once, and a place given then would not be the
    // one it is restored to (it came back as a 120 x 58 sliver).
    if (m_pSubWindow && !m_bPlaced) {
        // A new window in its normal state takes three quarters of the area, each one a
        // little further down and right than the one before.
        m_bPlaced = TRUE;
        QMdiArea* pArea = pFrame ? pFrame->GetMdiArea() : nullptr;
        QSize area = pArea ? pArea->viewport()->size() : QSize();
        if (area.width() < 100 || area.height() < 100)
            area = QSize(640, 480);
        const int nOthers = pArea ? static_cast<int>(pArea->subWindowList().size()) - 1 : 0;
        const int step = (std::max(0, nOthers) % 8) * 24;
        m_pSubWindow->setGeometry(step, step, std::max(200, area.width() * 3 / 4),
                                  std::max(150, area.height() * 3 / 4));
    }
    if (!IsWindowVisible())
        ShowWindow(SW_SHOW);
    if (m_pSubWindow) {
        switch (nCmdShow) {
        case SW_SHOWMAXIMIZED:
            ModifyStyle(0, WS_MAXIMIZE);
            m_pSubWindow->showMaximized();
            break;
        case SW_HIDE:
            m_pSubWindow->hide();
            break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            m_pSubWindow->showMinimized();
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
            m_pSubWindow->showNormal();
            break;
        default:
            m_pSubWindow->show();
            break;
        }
    }
    if (nCmdShow != SW_HIDE && pFrame)
        pFrame->MDIActivate(this);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!m_hWnd)
        return;
    if (GetStyle() & FWS_ADDTOTITLE) {
        CDocument* pDoc = GetActiveDocument();
        CString title = m_strTitle;
        if (bAddToTitle && pDoc) {
            title = pDoc->GetTitle();
            if (m_nWindow > 0) {
                CString n;
                n.Format(":%d", m_nWindow);
                title += n;
            }
        }
        CString current;
        GetWindowText(current);
        if (current != title)
            SetWindowText(title);
    }
    if (CMDIFrameWnd* pFrame = GetMDIFrame(); pFrame && pFrame->MDIGetActive() == this)
        pFrame->OnUpdateFrameTitle(TRUE);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (!pFrame)
        return;
    if (!hMenuAlt && bActive) {
        if (CDocument* pDoc = GetActiveDocument())
            hMenuAlt = pDoc->GetDefaultMenu();
    }
    if (!hMenuAlt)
        hMenuAlt = m_hMenuShared;
    if (bActive) {
        pFrame->SetFrameMenu(hMenuAlt ? hMenuAlt : pFrame->m_hMenuDefault);
    } else if (!pActivateWnd) {
        // The last document window went: the frame's own menu again.
        pFrame->SetFrameMenu(pFrame->m_hMenuDefault);
    }
}

HACCEL CMDIChildWnd::GetDefaultAccelerator()
{
    HACCEL hAccel = nullptr;
    if (CDocument* pDoc = GetActiveDocument())
        hAccel = pDoc->GetDefaultAccelerator();
    return hAccel ? hAccel : m_hAccelTable;
}

CWnd* CMDIChildWnd::GetMessageBar()
{
    CMDIFrameWnd* pFrame = GetMDIFrame();
    return pFrame ? pFrame->GetMessageBar() : nullptr;
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
    // The document's accelerators send their commands to the main frame, which routes them
    // back through the active document window.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        CMDIFrameWnd* pFrame = GetMDIFrame();
        if (hAccel && pFrame && ::TranslateAccelerator(pFrame->m_hWnd, hAccel, pMsg))
            return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CMDIChildWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_nRoutingFromFrame > 0)
        return RouteCmdMsgInFrame(nID, nCode, pExtra, pHandlerInfo);
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    return CFrameWnd::DestroyWindow();
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd)
{
    (void)pDeactivateWnd;
    CMDIFrameWnd* pFrame = GetMDIFrame();
    if (bActivate || !pActivateWnd)
        OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
    CView* pActiveView = GetActiveView();
    if (!bActivate && pActiveView)
        pActiveView->OnActivateView(FALSE, pActiveView, pActiveView);
    if (pFrame)
        pFrame->OnUpdateFrameTitle(TRUE);
    if (bActivate && pActiveView)
        pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
}

void CMDIChildWnd::OnClose()
{
    CFrameWnd::OnClose();
}

void CMDIChildWnd::OnDestroy()
{
    // Another document window becomes the active one (the next in the walk order), or none.
    // The document windows share one maximised state: when this one was maximised, the
    // window that comes to the front is maximised in its turn.
    CMDIFrameWnd* pFrame = GetMDIFrame();
    const bool bWasMaximized = m_pSubWindow && m_pSubWindow->isMaximized();
    if (m_pSubWindow)
        m_pSubWindow->hide();
    if (pFrame && pFrame->m_hWndActiveChild == m_hWnd) {
        CMDIChildWnd* pNext = nullptr;
        if (CWndState* pClient = AfxGetWndState(pFrame->m_hWndMDIClient)) {
            for (HWND h : pClient->children) {
                CWndState* pState = AfxGetWndState(h);
                if (h == m_hWnd || !pState || pState->destroying)
                    continue;
                pNext = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandle(h));
                if (pNext)
                    break;
            }
        }
        if (pNext) {
            pFrame->MDIActivate(pNext);
            if (bWasMaximized)
                pNext->MDIMaximize();
        } else
            pFrame->OnChildActivated(nullptr);
    }
    CFrameWnd::OnDestroy();
}

void CMDIChildWnd::PostNcDestroy()
{
    if (m_pSubWindow) {
        m_pSubWindow->deleteLater();
        m_pSubWindow = nullptr;
    }
    CFrameWnd::PostNcDestroy();
}

LRESULT CMDIChildWnd::OnSetText(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = Default();
    (void)wParam;
    if (m_pSubWindow) {
        const QString text = AfxCp932ToQString(reinterpret_cast<const char*>(lParam));
        m_pSubWindow->setWindowTitle(text);
        // A maximised window's title stands in the main window's as " - [title]"; the
        // toolkit leaves the last one there when the title becomes empty: the main window
        // then shows its own title alone.
        CMDIFrameWnd* pFrame = GetMDIFrame();
        if (text.isEmpty() && m_pSubWindow->isMaximized() && pFrame && pFrame->GetWidget()) {
            CString strMain;
            pFrame->GetWindowText(strMain);
            pFrame->GetWidget()->setWindowTitle(AfxCp932ToQString(strMain));
        }
    }
    return lResult;
}
