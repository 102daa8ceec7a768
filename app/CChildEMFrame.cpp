#include "app/CChildEMFrame.h"

#include "app/CShellServices.h"
#include "app/CShellState.h"
#include "app/ChildFrameSupport.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/controls/CTreeCtrl.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CCreateContext.h"
#include "platform/ui/frames/CTreeView.h"
#include "platform/ui/frames/CView.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CChildEMFrame, CChildGridFrame)

BEGIN_MESSAGE_MAP(CChildEMFrame, CChildGridFrame)
ON_WM_CREATE()
ON_COMMAND(ID_VIEW_SUBJECT_LIST, OnViewSubjectList)
ON_UPDATE_COMMAND_UI(ID_VIEW_SUBJECT_LIST, OnUpdateViewSubjectList)
ON_COMMAND(ID_VIEW_ESTIMATEBAR, OnViewEstimateBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_ESTIMATEBAR, OnUpdateViewEstimateBar)
ON_COMMAND(ID_VIEW_ESTIMATE_PAGEBAR, OnViewPageBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_ESTIMATE_PAGEBAR, OnUpdateViewPageBar)
ON_COMMAND(ID_ESTIMATE_CLEAR, OnEstimateClear)
END_MESSAGE_MAP()

CChildEMFrame::CChildEMFrame() = default;

CChildEMFrame::~CChildEMFrame() = default;

BOOL CChildEMFrame::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    (void)lpcs;
    CRuntimeClass* pTreeClass = CShellServices::Get().pEstimateTreeViewClass;
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr || pTreeClass == nullptr)
        return FALSE;
    if (!m_wndSplitter.CreateStatic(this, 1, 2))
        return FALSE;
    // The grid first: the views get their initial update in this order, so the tree
    // finds the grid ready when it fills itself.
    if (!m_wndSplitter.CreateView(0, 1, pContext->m_pNewViewClass, CSize(0, 0), pContext))
        return FALSE;
    if (!m_wndSplitter.CreateView(0, 0, pTreeClass, CSize(TREE_INITIAL_WIDTH, 50), pContext))
        return FALSE;
    // The grid is the active view from the start, without taking the focus yet: focus on a
    // window of the still hidden frame would show it (empty) while the file is read, and
    // would take the maximised state from the other windows. Showing the frame gives the
    // grid the focus.
    SetActiveView(GetGridView(), FALSE);
    return TRUE;
}

void CChildEMFrame::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    CChildGridFrame::InitialUpdateFrame(pDoc, bMakeVisible);
    const int cxTree = GetSubjectTreeWidth(TREE_INITIAL_WIDTH);
    if (m_nSubjectList == 1 && cxTree != TREE_INITIAL_WIDTH) {
        m_wndSplitter.SetColumnInfo(0, cxTree, 0);
        m_wndSplitter.RecalcLayout();
    }
}

int CChildEMFrame::GetSubjectTreeWidth(int nAtLeast) const
{
    auto* pTreeView = dynamic_cast<CTreeView*>(GetTreeView());
    if (pTreeView == nullptr || pTreeView->GetSafeHwnd() == nullptr)
        return nAtLeast;
    CTreeCtrl& tree = pTreeView->GetTreeCtrl();
    // The tree elides labels that its pane cannot show: it knows how far they reach whole.
    const int nRight = CShellServices::GetSubjectTreeLabelsRight(pTreeView);
    if (nRight == 0)
        return nAtLeast;
    // A little room after the labels, the vertical bar and the pane's borders.
    CRect rcTreeWindow, rcTreeClient;
    pTreeView->GetWindowRect(&rcTreeWindow);
    tree.GetClientRect(&rcTreeClient);
    const int cxFrame = std::max(0, rcTreeWindow.Width() - rcTreeClient.Width());
    const int cxWanted = nRight + 2 + GetSystemMetrics(SM_CXVSCROLL) + cxFrame;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cxMost = std::max(nAtLeast, rcClient.Width() / 2);
    return std::clamp(cxWanted, nAtLeast, cxMost);
}

int CChildEMFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CChildGridFrame::OnCreate(lpCreateStruct) == -1)
        return -1;
    return CreateBars() ? 0 : -1;
}

BOOL CChildEMFrame::CreateBars()
{
    RegisterChildFrameResources();
    if (!m_wndEstimateBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        !m_wndEstimateBar.LoadToolBar(IDR_ESTIMATEBAR))
        return FALSE;
    if (!m_wndPageBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        !m_wndPageBar.LoadToolBar(IDR_ESTIMATE_PAGEBAR))
        return FALSE;

    // The range total stands on the estimate bar in the room of button 12.
    if (!CreateRangeTotal(m_wndEstimateBar, ESTIMATEBAR_RANGE_TOTAL_INDEX))
        return FALSE;

    const DWORD dwExtra = CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    m_wndEstimateBar.SetWindowText("見積ﾊﾞｰ "_sj);
    m_wndPageBar.SetWindowText("見積ﾍﾟｰｼﾞﾊﾞｰ"_sj);
    m_wndEstimateBar.SetBarStyle(m_wndEstimateBar.GetBarStyle() | dwExtra);
    m_wndPageBar.SetBarStyle(m_wndPageBar.GetBarStyle() | dwExtra);
    m_wndEstimateBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndPageBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);

    // The page bar stands beside the estimate bar on the same row.
    DockControlBar(&m_wndEstimateBar, AFX_IDW_DOCKBAR_TOP);
    RecalcLayout();
    CRect rect;
    m_wndEstimateBar.GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    DockControlBar(&m_wndPageBar, AFX_IDW_DOCKBAR_TOP, &rect);
    return TRUE;
}

CView* CChildEMFrame::GetGridView() const
{
    return m_wndSplitter.GetSafeHwnd() != nullptr ? dynamic_cast<CView*>(m_wndSplitter.GetPane(0, 1))
                                                  : nullptr;
}

CView* CChildEMFrame::GetTreeView() const
{
    return m_wndSplitter.GetSafeHwnd() != nullptr ? dynamic_cast<CView*>(m_wndSplitter.GetPane(0, 0))
                                                  : nullptr;
}

// ---------------------------------------------------------------------------------------
// Bars and the subject tree
// ---------------------------------------------------------------------------------------

void CChildEMFrame::OnViewSubjectList()
{
    if (m_nSubjectList == 1) {
        m_wndSplitter.SetColumnInfo(0, 0, 0);
        m_wndSplitter.RecalcLayout();
        m_nSubjectList = 0;
    } else {
        m_wndSplitter.SetColumnInfo(0, GetSubjectTreeWidth(TREE_SHOWN_WIDTH), 0);
        m_wndSplitter.RecalcLayout();
        m_nSubjectList = 1;
    }
}

void CChildEMFrame::OnUpdateViewSubjectList(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(m_nSubjectList == 1 ? "科目ﾘｽﾄｳｨﾝﾄﾞｳ非表示(&H)"_sj : "科目ﾘｽﾄｳｨﾝﾄﾞｳ表示(&H)"_sj);
}

void CChildEMFrame::OnViewEstimateBar()
{
    ToggleChildFrameBar(this, m_wndEstimateBar);
}

void CChildEMFrame::OnUpdateViewEstimateBar(CCmdUI* pCmdUI)
{
    UpdateChildFrameBarCheck(pCmdUI, m_wndEstimateBar);
}

void CChildEMFrame::OnViewPageBar()
{
    ToggleChildFrameBar(this, m_wndPageBar);
}

void CChildEMFrame::OnUpdateViewPageBar(CCmdUI* pCmdUI)
{
    UpdateChildFrameBarCheck(pCmdUI, m_wndPageBar);
}

// ---------------------------------------------------------------------------------------
// Commands on the whole estimate
// ---------------------------------------------------------------------------------------

void CChildEMFrame::OnEstimateClear()
{
    CView* pGrid = GetGridView();
    if (pGrid == nullptr || !CShellServices::Get().cutAllEstimateRows ||
        CShellServices::GetEstimateUsedRows(pGrid) < 1)
        return;
    if (MessageBox("見積明細の内容をｸﾘｱします。よろしいですか？\n（情報入力の内容は消去されません）"_sj,
                   "みつもりﾓﾙﾍﾞﾙ"_sj, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    // The rows go through the grid's own cut, with its undo and row clipboard; the
    // information sheet's values stay.
    SetActiveView(pGrid);
    CShellServices::CutAllEstimateRows(pGrid);
}

void CChildEMFrame::RunImportSheet()
{
    CShellServices::RunEstimateImportSheet(GetActiveDocument(), this);
}

BOOL& CChildEMFrame::MenuSelectedFlag()
{
    return CShellState::Get().bEstimateMenuSelected;
}
