#include "platform/ui/frames/CFrameWnd.h"

#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CControlBar.h"
#include "platform/ui/frames/CCreateContext.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CMDIFrameWnd.h"
#include "platform/ui/frames/CStatusBar.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/frames/FrameWidgets_p.h"

#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>
#include <set>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_WM_ACTIVATE()
ON_WM_DROPFILES()
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_AFX_MENUCHANGED, OnMenuChanged)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_KANA, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {

// Frames alive, so that a frame whose creation failed knows whether its window already
// deleted it.
std::set<const CFrameWnd*>& LiveFrames()
{
    static std::set<const CFrameWnd*> s_frames;
    return s_frames;
}

UINT AlignOfSide(int nSide)
{
    static const UINT aligns[4] = {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT};
    return aligns[nSide];
}

Qt::ToolBarArea AreaOfSide(int nSide)
{
    static const Qt::ToolBarArea areas[4] = {Qt::TopToolBarArea, Qt::BottomToolBarArea, Qt::LeftToolBarArea,
                                             Qt::RightToolBarArea};
    return areas[nSide];
}

int SideOfAlign(DWORD dwAlign)
{
    if (dwAlign & CBRS_ALIGN_TOP)
        return 0;
    if (dwAlign & CBRS_ALIGN_BOTTOM)
        return 1;
    if (dwAlign & CBRS_ALIGN_LEFT)
        return 2;
    if (dwAlign & CBRS_ALIGN_RIGHT)
        return 3;
    return -1;
}

} // namespace

CFrameWnd::CFrameWnd()
{
    AfxInstallDocManagerHooks();
    LiveFrames().insert(this);
}

CFrameWnd::~CFrameWnd()
{
    LiveFrames().erase(this);
    if (m_hMenuLoaded) {
        CMenu menu;
        if (menu.Attach(m_hMenuLoaded))
            menu.DestroyMenu();
        m_hMenuLoaded = nullptr;
    }
}

BOOL CFrameWnd::IsFrameAlive(const CFrameWnd* pFrame)
{
    return LiveFrames().count(pFrame) != 0;
}

// ---------------------------------------------------------------------------------------
// Creation.
// ---------------------------------------------------------------------------------------
BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    AfxRegisterFrameClasses();
    HMENU hMenu = nullptr;
    if (lpszMenuName && IS_INTRESOURCE(lpszMenuName)) {
        const UINT nID = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszMenuName));
        CMenu menu;
        if (FindMenuResource(nID) && menu.LoadMenu(nID)) {
            hMenu = menu.Detach();
            m_hMenuLoaded = hMenu;
        }
    }
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    const CFrameWnd* pSelf = this;
    // rectDefault leaves position and size to the system.
    const bool useDefault = rect.left == CW_USEDEFAULT;
    const int x = useDefault ? CW_USEDEFAULT : static_cast<int>(rect.left);
    const int y = useDefault ? CW_USEDEFAULT : static_cast<int>(rect.top);
    const int cx = useDefault ? CW_USEDEFAULT : static_cast<int>(rect.right - rect.left);
    const int cy = useDefault ? CW_USEDEFAULT : static_cast<int>(rect.bottom - rect.top);
    const BOOL bCreated = CWnd::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                                         pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, hMenu, pContext);
    if (!bCreated) {
        // The window layer deletes the frame when its window went (PostNcDestroy); a frame
        // that never had a window is deleted here, so a failed creation always ends the
        // object, as the callers expect.
        if (IsFrameAlive(pSelf) && !m_hWnd)
            delete this;
        return FALSE;
    }
    if (hMenu && !(GetStyle() & WS_CHILD)) {
        m_hMenuDefault = hMenu;
        SetFrameMenu(hMenu);
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    CString strFull;
    if (AfxLoadString(nIDResource, strFull))
        AfxExtractSubString(m_strTitle, strFull, 0, '\n');
    const CString title = m_strTitle;
    if (!Create(nullptr, title, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCE(nIDResource), 0,
                pContext))
        return FALSE; // the frame has deleted itself
    if (FindAcceleratorResource(nIDResource))
        m_hAccelTable = AfxLoadAccelerators(nIDResource);
    if (HICON hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(nIDResource) : nullptr)
        SetIcon(hIcon, TRUE);
    if (!pContext)
        SendInitialUpdate();
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    AfxRegisterFrameClasses();
    if (!cs.lpszClass)
        cs.lpszClass = AFX_WNDFRAME_CLASS;
    return CWnd::PreCreateWindow(cs);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    (void)lpcs;
    if (pContext && pContext->m_pNewViewClass) {
        if (!CreateView(pContext, AFX_IDW_PANE_FIRST))
            return FALSE;
    }
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (!pContext || !pContext->m_pNewViewClass)
        return nullptr;
    CObject* pObject = pContext->m_pNewViewClass->CreateObject();
    auto* pView = dynamic_cast<CWnd*>(pObject);
    if (!pView) {
        delete pObject;
        return nullptr;
    }
    // A view that fails to be created deletes itself.
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID,
                       pContext))
        return nullptr;
    return pView;
}

void CFrameWnd::PostNcDestroy()
{
    // Frames are made with new and go with their windows.
    delete this;
}

// ---------------------------------------------------------------------------------------
// Active view and document.
// ---------------------------------------------------------------------------------------
CDocument* CFrameWnd::GetActiveDocument()
{
    CView* pView = GetActiveView();
    return pView ? pView->GetDocument() : nullptr;
}

CView* CFrameWnd::GetActiveView() const
{
    return m_pViewActive;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = nullptr;
    if (pViewOld)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    m_pViewActive = pViewNew;
    if (pViewNew && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = (GetStyle() & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1)
        ShowWindow(nCmdShow);
    BringWindowToTop();
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CView* pView = nullptr;
    if (!GetActiveView()) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST);
        pView = dynamic_cast<CView*>(pWnd);
        if (pView)
            SetActiveView(pView, FALSE);
    }
    if (bMakeVisible) {
        SendInitialUpdate();
        if (pView)
            pView->OnActivateFrame(WA_INACTIVE, this);
        ActivateFrame(pDoc ? -1 : SW_SHOW);
        if (pView)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

namespace {

// The child of a window that carries an id, or null.
CWnd* ChildWithId(const CWnd* pParent, UINT nID)
{
    for (CWnd* pChild = pParent->GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        if (static_cast<UINT>(pChild->GetDlgCtrlID()) == nID)
            return pChild;
    }
    return nullptr;
}

} // namespace

CWnd* CFrameWnd::GetDescendantWindow(UINT nID) const
{
    // Direct children first, then their descendants, as the window walk does. A child whose
    // own child carries the same id gives way to that child: a splitter in the place of the
    // first pane holds its first pane under the same id, and the pane is the one meant.
    if (CWnd* pChild = ChildWithId(this, nID)) {
        while (CWnd* pInner = ChildWithId(pChild, nID))
            pChild = pInner;
        return pChild;
    }
    std::vector<const CWnd*> queue;
    for (CWnd* pChild = GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT))
        queue.push_back(pChild);
    for (size_t i = 0; i < queue.size(); ++i) {
        for (CWnd* pChild = queue[i]->GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
            if (static_cast<UINT>(pChild->GetDlgCtrlID()) == nID)
                return pChild;
            queue.push_back(pChild);
        }
    }
    return nullptr;
}

void CFrameWnd::SendInitialUpdate()
{
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
}

// ---------------------------------------------------------------------------------------
// Layout and bars.
// ---------------------------------------------------------------------------------------
QMainWindow* CFrameWnd::GetMainWindowWidget() const
{
    return qobject_cast<QMainWindow*>(GetWidget());
}

int CFrameWnd::DockSideIndex(UINT nDockBarID)
{
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
        return 0;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return 1;
    case AFX_IDW_DOCKBAR_LEFT:
        return 2;
    case AFX_IDW_DOCKBAR_RIGHT:
        return 3;
    default:
        return -1;
    }
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (pBar && !m_listControlBars.Find(pBar))
        m_listControlBars.AddTail(pBar);
    m_bDockLayoutDirty = TRUE;
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    UndockBar(pBar);
    if (POSITION pos = m_listControlBars.Find(pBar))
        m_listControlBars.RemoveAt(pos);
    if (m_pStatusBarShown == pBar)
        m_pStatusBarShown = nullptr;
    m_bDockLayoutDirty = TRUE;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar && pBar->m_hWnd && static_cast<UINT>(pBar->GetDlgCtrlID()) == nID)
            return pBar;
    }
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle |= dwDockStyle & CBRS_ALIGN_ANY;
}

void CFrameWnd::UndockBar(CControlBar* pBar)
{
    for (auto& rows : m_dockRows) {
        for (auto& row : rows)
            row.bars.erase(std::remove(row.bars.begin(), row.bars.end(), pBar), row.bars.end());
        rows.erase(std::remove_if(rows.begin(), rows.end(), [](const CDockRow& r) { return r.bars.empty(); }),
                   rows.end());
    }
    if (pBar)
        pBar->m_nDockSide = 0;
}

int CFrameWnd::GetBarRow(CControlBar* pBar) const
{
    for (const auto& rows : m_dockRows) {
        for (size_t r = 0; r < rows.size(); ++r) {
            if (std::find(rows[r].bars.begin(), rows[r].bars.end(), pBar) != rows[r].bars.end())
                return static_cast<int>(r);
        }
    }
    return -1;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    if (!pBar)
        return;
    int nSide = DockSideIndex(nDockBarID);
    if (nSide < 0) {
        // The first side both the bar and the frame allow, in the order top, bottom, left,
        // right; a bar without docking sides stays on its own edge.
        const DWORD dwAllowed = pBar->m_dwDockStyle & (m_dwDockStyle ? m_dwDockStyle : CBRS_ALIGN_ANY);
        for (int i = 0; i < 4 && nSide < 0; ++i) {
            if (dwAllowed & AlignOfSide(i))
                nSide = i;
        }
        if (nSide < 0)
            nSide = std::max(0, SideOfAlign(pBar->m_dwStyle));
    }
    UndockBar(pBar);
    auto& rows = m_dockRows[nSide];

    // A rectangle on a row that holds bars already: the bar joins that row, after the bars
    // that start left of (above) it.
    bool placed = false;
    if (lpRect) {
        const bool horz = nSide < 2;
        for (auto& row : rows) {
            for (CControlBar* pOther : row.bars) {
                CRect rc;
                pOther->GetWindowRect(&rc);
                const int across = horz ? lpRect->top : lpRect->left;
                const int lo = horz ? rc.top : rc.left;
                const int hi = horz ? rc.bottom : rc.right;
                if ((across >= lo && across < hi) || (rc.IsRectEmpty() && across == lo)) {
                    size_t at = 0;
                    for (; at < row.bars.size(); ++at) {
                        CRect rcAt;
                        row.bars[at]->GetWindowRect(&rcAt);
                        if ((horz ? rcAt.left : rcAt.top) > (horz ? lpRect->left : lpRect->top))
                            break;
                    }
                    row.bars.insert(row.bars.begin() + static_cast<std::ptrdiff_t>(at), pBar);
                    placed = true;
                    break;
                }
            }
            if (placed)
                break;
        }
    }
    if (!placed)
        rows.push_back(CDockRow{{pBar}});
    static const UINT ids[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                AFX_IDW_DOCKBAR_RIGHT};
    pBar->m_nDockSide = ids[nSide];
    pBar->m_dwStyle = (pBar->m_dwStyle & ~CBRS_ALIGN_ANY) | AlignOfSide(nSide);
    m_bDockLayoutDirty = TRUE;
    RecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (bDelay)
        DelayRecalcLayout();
    else
        RecalcLayout();
}

void CFrameWnd::ApplyDockLayout()
{
    QMainWindow* pMain = GetMainWindowWidget();
    if (!pMain)
        return;

    // Bars nobody docked stand on their own rows along the edge their style names.
    POSITION pos = m_listControlBars.GetHeadPosition();
    while (pos) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (!pBar || !pBar->m_hWnd || GetBarRow(pBar) >= 0)
            continue;
        auto* pStatus = qobject_cast<QStatusBar*>(pBar->GetWidget());
        if (pStatus) {
            if (m_pStatusBarShown != pBar) {
                // The main window must not delete a status bar it had before: it belongs to
                // its own window.
                if (QStatusBar* pOld = pMain->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
                    pOld && pOld != pStatus && pMain->statusBar() == pOld)
                    pOld->setParent(pMain);
                pMain->setStatusBar(pStatus);
                m_pStatusBarShown = pBar;
            }
            continue;
        }
        const int nSide = SideOfAlign(pBar->m_dwStyle);
        if (nSide >= 0 && qobject_cast<QToolBar*>(pBar->GetWidget())) {
            m_dockRows[nSide].push_back(CDockRow{{pBar}});
            static const UINT ids[4] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                                        AFX_IDW_DOCKBAR_RIGHT};
            pBar->m_nDockSide = ids[nSide];
            m_bDockLayoutDirty = TRUE;
        }
    }

    if (m_bDockLayoutDirty) {
        m_bDockLayoutDirty = FALSE;
        for (int nSide = 0; nSide < 4; ++nSide) {
            for (const auto& row : m_dockRows[nSide]) {
                for (CControlBar* pBar : row.bars) {
                    if (auto* pTool = qobject_cast<QToolBar*>(pBar->GetWidget())) {
                        pMain->removeToolBarBreak(pTool);
                        pMain->removeToolBar(pTool);
                    }
                }
            }
        }
        for (int nSide = 0; nSide < 4; ++nSide) {
            bool first = true;
            for (const auto& row : m_dockRows[nSide]) {
                if (!first)
                    pMain->addToolBarBreak(AreaOfSide(nSide));
                first = false;
                for (CControlBar* pBar : row.bars) {
                    if (auto* pTool = qobject_cast<QToolBar*>(pBar->GetWidget())) {
                        pMain->addToolBar(AreaOfSide(nSide), pTool);
                        pTool->setVisible((pBar->GetStyle() & WS_VISIBLE) != 0);
                    }
                }
            }
        }
    }

    // Visibility follows the bars' windows.
    pos = m_listControlBars.GetHeadPosition();
    while (pos) {
        auto* pBar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (pBar && pBar->m_hWnd && pBar->GetWidget())
            pBar->GetWidget()->setVisible((pBar->GetStyle() & WS_VISIBLE) != 0);
    }
}

void CFrameWnd::RecalcLayout(BOOL bNotify)
{
    (void)bNotify;
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    ApplyDockLayout();
    if (QMainWindow* pMain = GetMainWindowWidget()) {
        // The pane fills what the bars leave.
        CWnd* pPane = nullptr;
        for (CWnd* pChild = GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
            if (static_cast<UINT>(pChild->GetDlgCtrlID()) == AFX_IDW_PANE_FIRST &&
                !dynamic_cast<CControlBar*>(pChild)) {
                pPane = pChild;
                break;
            }
        }
        QWidget* pPaneWidget = pPane ? pPane->GetWidget() : nullptr;
        if (pPaneWidget && pMain->centralWidget() != pPaneWidget) {
            if (QWidget* pOld = pMain->takeCentralWidget())
                pOld->setParent(pMain); // still a child window of the frame
            pMain->setCentralWidget(pPaneWidget);
        }
        if (QLayout* pLayout = pMain->layout())
            pLayout->activate();
    }
    m_nIdleFlags &= ~idleLayout;
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify)
{
    (void)bNotify;
    m_nIdleFlags |= idleLayout;
}

void CFrameWnd::DelayUpdateFrameTitle()
{
    m_nIdleFlags |= idleTitle;
}

// ---------------------------------------------------------------------------------------
// Title, menu and status line.
// ---------------------------------------------------------------------------------------
void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!m_hWnd || !(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDoc = GetActiveDocument();
    if (bAddToTitle && pDoc)
        UpdateFrameTitleForDocument(pDoc->GetTitle());
    else
        UpdateFrameTitleForDocument(nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName)
{
    CString title;
    if (lpszDocName && *lpszDocName) {
        // "document - application", the document numbered when it has several windows.
        title = lpszDocName;
        if (m_nWindow > 0) {
            CString n;
            n.Format(":%d", m_nWindow);
            title += n;
        }
        if (!m_strTitle.IsEmpty())
            title += " - " + m_strTitle;
    } else {
        title = m_strTitle;
    }
    CString current;
    GetWindowText(current);
    if (current != title)
        SetWindowText(title);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (!hMenuAlt) {
        if (CDocument* pDoc = GetActiveDocument())
            hMenuAlt = pDoc->GetDefaultMenu();
    }
    if (!hMenuAlt)
        hMenuAlt = m_hMenuDefault;
    SetFrameMenu(hMenuAlt);
}

void CFrameWnd::SetFrameMenu(HMENU hMenu)
{
    if (!m_hWnd || (GetStyle() & WS_CHILD))
        return;
    if (m_hMenuShown == hMenu && GetMenu() && GetMenu()->m_hMenu == hMenu)
        return;
    CWnd::SetMenu(hMenu ? CMenu::FromHandle(hMenu) : nullptr);
}

LRESULT CFrameWnd::OnMenuChanged(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    auto hMenu = reinterpret_cast<HMENU>(wParam);
    m_hMenuShown = hMenu;
    if (QMainWindow* pMain = GetMainWindowWidget(); pMain && pMain->isWindow()) {
        auto* pBar = dynamic_cast<CFrameMenuBar*>(pMain->menuWidget());
        if (!pBar) {
            pBar = new CFrameMenuBar(pMain);
            pMain->setMenuBar(pBar);
        }
        if (hMenu) {
            pBar->Fill(hMenu, m_hWnd);
            pBar->show();
        } else {
            pBar->clear();
            pBar->hide();
        }
    }
    return 0;
}

HACCEL CFrameWnd::GetDefaultAccelerator()
{
    HACCEL hAccel = nullptr;
    if (CDocument* pDoc = GetActiveDocument())
        hAccel = pDoc->GetDefaultAccelerator();
    return hAccel ? hAccel : m_hAccelTable;
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    rMessage.Empty();
    CString full;
    if (AfxLoadString(nID, full))
        AfxExtractSubString(rMessage, full, 0, '\n');
    else if (nID == AFX_IDS_IDLEMESSAGE)
        rMessage = "レディ"_sj;
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, nID, 0);
}

CWnd* CFrameWnd::GetMessageBar()
{
    return GetDescendantWindow(AFX_IDW_STATUS_BAR);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    const UINT nIDLast = m_nIDLastMessage;
    if (CWnd* pMessageBar = GetMessageBar()) {
        CString message;
        if (lParam != 0)
            message = reinterpret_cast<LPCTSTR>(lParam);
        else if (wParam != 0)
            GetMessageString(static_cast<UINT>(wParam), message);
        pMessageBar->SetWindowText(message);
        if (CFrameWnd* pOwner = pMessageBar->GetParentFrame(); pOwner && pOwner != this) {
            pOwner->m_nIDLastMessage = static_cast<UINT>(wParam);
            pOwner->m_nIDTracking = static_cast<UINT>(wParam);
        }
    }
    m_nIDLastMessage = static_cast<UINT>(wParam);
    m_nIDTracking = static_cast<UINT>(wParam);
    return nIDLast;
}

// ---------------------------------------------------------------------------------------
// Routing.
// ---------------------------------------------------------------------------------------
BOOL CFrameWnd::RouteCmdMsgInFrame(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active view first (it passes on to its document), then the view that carries the
    // window's commands while another pane is active, then the frame itself.
    CView* pView = GetActiveView();
    if (pView && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CView* pCommandView = GetCommandView();
        pCommandView && pCommandView != pView && pCommandView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (RouteCmdMsgInFrame(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // A document window's commands reach the main frame before the application.
    if (GetStyle() & WS_CHILD) {
        if (CFrameWnd* pParentFrame = GetParentFrame();
            pParentFrame && pParentFrame->CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        if (hAccel && ::TranslateAccelerator(m_hWnd, hAccel, pMsg))
            return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CFrameWnd::IsMainFrame() const
{
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->m_pMainWnd == this;
}

// ---------------------------------------------------------------------------------------
// Bars and indicators.
// ---------------------------------------------------------------------------------------
BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (!pBar)
        return FALSE;
    ShowControlBar(pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar) {
        pCmdUI->SetCheck((pBar->GetStyle() & WS_VISIBLE) != 0);
        return;
    }
    pCmdUI->ContinueRouting();
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    int nVK = 0;
    switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS:
        nVK = VK_CAPITAL;
        break;
    case ID_INDICATOR_NUM:
        nVK = VK_NUMLOCK;
        break;
    case ID_INDICATOR_SCRL:
        nVK = VK_SCROLL;
        break;
    case ID_INDICATOR_KANA:
        nVK = VK_KANA;
        break;
    default:
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->Enable((::GetKeyState(nVK) & 1) != 0);
}

// ---------------------------------------------------------------------------------------
// Messages.
// ---------------------------------------------------------------------------------------
void CFrameWnd::OnDestroy()
{
    // The menu bar must not keep showing a menu someone else destroys.
    m_hMenuShown = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose()
{
    CDocument* pDocument = GetActiveDocument();
    if (pDocument && !pDocument->CanCloseFrame(this))
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd == this) {
        if (!pDocument && !pApp->SaveAllModified())
            return;
        pApp->CloseAllDocuments(FALSE);
    }
    // The last window of a document closes the document (and with it the window).
    if (pDocument && pDocument->m_bAutoDelete) {
        bool bOtherFrame = false;
        POSITION pos = pDocument->GetFirstViewPosition();
        while (pos && !bOtherFrame) {
            CView* pView = pDocument->GetNextView(pos);
            bOtherFrame = pView && pView->GetParentFrame() != this;
        }
        if (!bOtherFrame) {
            pDocument->OnCloseDocument();
            return;
        }
        pDocument->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    // The focus goes on to the active view; a frame of document windows hands it to the view
    // of its active window, as its client area would (after a modeless dialog closes, the
    // keys reach the grid again).
    CFrameWnd* pFrame = GetActiveFrame();
    if (CView* pView = pFrame ? pFrame->GetActiveView() : nullptr; pView && pView->m_hWnd)
        pView->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    (void)nIndex;
    if (bSysMenu || !pPopupMenu)
        return;
    AfxUpdateMenuCmdUI(pPopupMenu, this, m_bAutoMenuEnable);
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    if (nFlags == 0xFFFF && !hSysMenu) {
        // The menus closed: back to the idle text.
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        return;
    }
    if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
        m_nIDTracking = 0;
    else
        m_nIDTracking = nItemID;
    if (m_nIDTracking != m_nIDLastMessage)
        SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (CView* pView = GetActiveView())
        pView->OnActivateFrame(nState, this);
}

void CFrameWnd::OnDropFiles(HANDLE hDropInfo)
{
    // Files dropped on the frame open as documents, as File Open would open them.
    SetActiveWindow();
    CWinApp* pApp = AfxGetApp();
    const UINT nFiles = ::DragQueryFile(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles && pApp; ++i) {
        const UINT nLength = ::DragQueryFile(hDropInfo, i, nullptr, 0);
        CString path;
        char* buffer = path.GetBufferSetLength(static_cast<int>(nLength));
        ::DragQueryFile(hDropInfo, i, buffer, nLength + 1);
        path.ReleaseBuffer();
        pApp->OpenDocumentFile(path);
    }
    ::DragFinish(hDropInfo);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    if (m_nIdleFlags & idleMenu)
        OnUpdateFrameMenu(nullptr);
    if (m_nIdleFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    if (m_nIdleFlags & idleLayout)
        RecalcLayout(m_nIdleFlags & idleNotify);
    m_nIdleFlags = 0;
    return 0;
}
