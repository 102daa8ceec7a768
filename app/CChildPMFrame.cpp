#include "app/CChildPMFrame.h"

#include "app/CShellServices.h"
#include "app/CShellState.h"
#include "app/ChildFrameSupport.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CCreateContext.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNCREATE(CChildPMFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildPMFrame, CMDIChildWnd)
ON_WM_CREATE()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_COMMAND(ID_VIEW_PARTSBAR, OnViewPartsBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_PARTSBAR, OnUpdateViewPartsBar)
ON_COMMAND(ID_INTRODUCTION, OnIntroduction)
ON_UPDATE_COMMAND_UI(ID_INTRODUCTION, OnUpdateLeaveAlone)
ON_UPDATE_COMMAND_UI(ID_ENVIRONMENT, OnUpdateLeaveAlone)
ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateViewToolBar)
END_MESSAGE_MAP()

namespace {

constexpr int kRangeTotalWidth = 100;

} // namespace

CChildPMFrame::CChildPMFrame() = default;

CChildPMFrame::~CChildPMFrame() = default;

BOOL CChildPMFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = WS_CHILD | WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    return CMDIChildWnd::PreCreateWindow(cs);
}

BOOL CChildPMFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    (void)lpcs;
    return m_wndSplitter.Create(this, 2, 2, CSize(10, 10), pContext);
}

int CChildPMFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIChildWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    RegisterChildFrameResources();
    if (!m_wndPartsBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        !m_wndPartsBar.LoadToolBar(IDR_PARTSBAR))
        return -1;

    m_wndPartsBar.SetButtonInfo(PARTSBAR_RANGE_TOTAL_INDEX, IDC_RANGE_TOTAL, TBBS_SEPARATOR,
                                kRangeTotalWidth);
    CRect rect;
    m_wndPartsBar.GetItemRect(PARTSBAR_RANGE_TOTAL_INDEX, &rect);
    rect.top = 2;
    rect.bottom = 22;
    if (!m_wndRangeTotal.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, &m_wndPartsBar,
                                IDC_RANGE_TOTAL))
        return -1;
    m_wndRangeTotal.SetFont(ChildFrameGuiFont());
    m_wndRangeTotal.SetReadOnly(TRUE);
    m_wndRangeTotal.SetWindowText("");

    m_wndPartsBar.SetWindowText("部材ﾊﾞｰ "_sj);
    m_wndPartsBar.SetBarStyle(m_wndPartsBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndPartsBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndPartsBar, AFX_IDW_DOCKBAR_TOP);
    return 0;
}

void CChildPMFrame::OnViewPartsBar()
{
    ToggleChildFrameBar(this, m_wndPartsBar);
}

void CChildPMFrame::OnUpdateViewPartsBar(CCmdUI* pCmdUI)
{
    UpdateChildFrameBarCheck(pCmdUI, m_wndPartsBar);
}

void CChildPMFrame::OnIntroduction()
{
    CShellServices::RunPartsImportSheet(GetActiveDocument(), this);
}

// The settings commands stay as the main frame's handlers make them.
void CChildPMFrame::OnUpdateLeaveAlone(CCmdUI* pCmdUI)
{
    (void)pCmdUI;
}

void CChildPMFrame::OnViewToolBar()
{
    ViewMainToolBar();
}

void CChildPMFrame::OnUpdateViewToolBar(CCmdUI* pCmdUI)
{
    UpdateViewMainToolBar(pCmdUI);
}

void CChildPMFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CMDIChildWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    PassInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

void CChildPMFrame::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    CMDIChildWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
    PassMenuSelect(nItemID, nFlags, hSysMenu, CShellState::Get().bPartsMenuSelected);
}
