#include "app/CChildPMFrame.h"

#include "app/CShellServices.h"
#include "app/CShellState.h"
#include "app/ChildFrameSupport.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CCreateContext.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNCREATE(CChildPMFrame, CChildGridFrame)

BEGIN_MESSAGE_MAP(CChildPMFrame, CChildGridFrame)
ON_WM_CREATE()
ON_COMMAND(ID_VIEW_PARTSBAR, OnViewPartsBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_PARTSBAR, OnUpdateViewPartsBar)
END_MESSAGE_MAP()

CChildPMFrame::CChildPMFrame() = default;

CChildPMFrame::~CChildPMFrame() = default;

BOOL CChildPMFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    (void)lpcs;
    return m_wndSplitter.Create(this, 2, 2, CSize(10, 10), pContext);
}

int CChildPMFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CChildGridFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    RegisterChildFrameResources();
    if (!m_wndPartsBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        !m_wndPartsBar.LoadToolBar(IDR_PARTSBAR))
        return -1;

    if (!CreateRangeTotal(m_wndPartsBar, PARTSBAR_RANGE_TOTAL_INDEX))
        return -1;

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

void CChildPMFrame::RunImportSheet()
{
    CShellServices::RunPartsImportSheet(GetActiveDocument(), this);
}

BOOL& CChildPMFrame::MenuSelectedFlag()
{
    return CShellState::Get().bPartsMenuSelected;
}
