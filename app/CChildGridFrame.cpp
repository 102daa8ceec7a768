#include "app/CChildGridFrame.h"

#include "app/ChildFrameSupport.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CToolBar.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNAMIC(CChildGridFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildGridFrame, CMDIChildWnd)
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_COMMAND(ID_INTRODUCTION, OnIntroduction)
ON_UPDATE_COMMAND_UI(ID_INTRODUCTION, OnUpdateLeaveAlone)
ON_UPDATE_COMMAND_UI(ID_ENVIRONMENT, OnUpdateLeaveAlone)
ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateViewToolBar)
END_MESSAGE_MAP()

namespace {

constexpr int kRangeTotalWidth = 100;

} // namespace

CChildGridFrame::CChildGridFrame() = default;

CChildGridFrame::~CChildGridFrame() = default;

BOOL CChildGridFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    // Every document window opens maximised.
    cs.style = WS_CHILD | WS_VISIBLE | WS_MAXIMIZE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    return CMDIChildWnd::PreCreateWindow(cs);
}

BOOL CChildGridFrame::CreateRangeTotal(CToolBar& bar, int nIndex)
{
    bar.SetButtonInfo(nIndex, IDC_RANGE_TOTAL, TBBS_SEPARATOR, kRangeTotalWidth);
    CRect rect;
    bar.GetItemRect(nIndex, &rect);
    rect.top = 2;
    rect.bottom = 22;
    if (!m_wndRangeTotal.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, &bar,
                                IDC_RANGE_TOTAL))
        return FALSE;
    m_wndRangeTotal.SetFont(ChildFrameGuiFont());
    m_wndRangeTotal.SetReadOnly(TRUE);
    m_wndRangeTotal.SetWindowText("");
    return TRUE;
}

void CChildGridFrame::OnIntroduction()
{
    RunImportSheet();
}

// The settings commands stay as the main frame's handlers make them.
void CChildGridFrame::OnUpdateLeaveAlone(CCmdUI* pCmdUI)
{
    (void)pCmdUI;
}

void CChildGridFrame::OnViewToolBar()
{
    ViewMainToolBar();
}

void CChildGridFrame::OnUpdateViewToolBar(CCmdUI* pCmdUI)
{
    UpdateViewMainToolBar(pCmdUI);
}

// The main frame widens its message pane while a menu is open.
void CChildGridFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CMDIChildWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    PassInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

void CChildGridFrame::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    CMDIChildWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
    PassMenuSelect(nItemID, nFlags, hSysMenu, MenuSelectedFlag());
}
