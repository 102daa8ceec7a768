#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "app/CShellServices.h"
#include "app/CSplashWindow.h"
#include "estimate/EstimateRegistration.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/ole/DragDropTestHook.h"
#include "resources/ResourceIds.h"

#include <filesystem>

IMPLEMENT_DYNCREATE(CRecordingEMView, CMorvelEMView)

BEGIN_MESSAGE_MAP(CRecordingEMView, CMorvelEMView)
ON_COMMAND_RANGE(ID_EDIT_CUT, ID_EDIT_CUT, OnRecordedCommand)
ON_COMMAND_RANGE(ID_EDIT_UNDO, ID_EDIT_REDO, OnRecordedCommand)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateRedo)
END_MESSAGE_MAP()

void CRecordingEMView::OnRecordedCommand(UINT nID)
{
    CCommandSeen seen;
    seen.nID = nID;
    seen.rcSelection = GetSelection();
    seen.nSelectMode = GetSelectMode();
    CFrameWnd* pFrame = GetParentFrame();
    seen.bActiveView = pFrame != nullptr && pFrame->GetActiveView() == this;
    CWnd* pFocus = GetFocus();
    seen.bFocus = pFocus == this || (pFocus != nullptr && IsChild(pFocus));
    m_commands.push_back(seen);
}

void CRecordingEMView::OnUpdateUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bUndoEnabled);
}

void CRecordingEMView::OnUpdateRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bRedoEnabled);
}

// ---------------------------------------------------------------------------------------

void SubjectTreeWindowTest::SetUp()
{
    m_pFolder = std::make_unique<CEstimateTestFolder>();
    WriteSettings(m_pFolder->Profile());
    RegisterEstimate();
    RegisterEstimateTools();
    // The grid records the commands the tree hands it.
    if (RecordsTreeCommands())
        CShellServices::Get().documentClasses[IDR_MORVELTYPE].pViewClass = RUNTIME_CLASS(CRecordingEMView);
    m_pApp = std::make_unique<CMorvelApp>();
    m_pApp->SetCommandLine(std::vector<CString>{"/nosplash"});
    ASSERT_TRUE(m_pApp->InitInstance());
    ASSERT_NE(m_pApp->m_pMainWnd, nullptr);
    m_pApp->m_pMainWnd->MoveWindow(0, 0, 1280, 900);
    Pump();
}

CMorvelEMView* SubjectTreeWindowTest::OpenSampleWindow()
{
    return OpenEstimate(m_pFolder->SampleEstimate());
}

CMorvelEMView* SubjectTreeWindowTest::OpenSecondSample(CMorvelEMDoc** ppDoc)
{
    const std::filesystem::path work = m_pFolder->Native("WORK");
    std::filesystem::copy_file(work / "サンプル見積.MMD", work / "SECOND.MMD",
                               std::filesystem::copy_options::overwrite_existing);
    auto* pDoc =
        dynamic_cast<CMorvelEMDoc*>(m_pApp->OpenDocumentFile(m_pFolder->System("WORK") + "\\SECOND.MMD"));
    Pump();
    if (ppDoc != nullptr)
        *ppDoc = pDoc;
    return pDoc != nullptr ? pDoc->GetEstimateView() : nullptr;
}

CChildEMFrame* SubjectTreeWindowTest::FrameOf(CView* pView) const
{
    return pView != nullptr ? dynamic_cast<CChildEMFrame*>(pView->GetParentFrame()) : nullptr;
}

CMorvelEMTreeView* SubjectTreeWindowTest::TreeOf(CView* pView) const
{
    CChildEMFrame* pFrame = FrameOf(pView);
    return pFrame != nullptr ? dynamic_cast<CMorvelEMTreeView*>(pFrame->GetTreeView()) : nullptr;
}

void SubjectTreeWindowTest::WidenTree(CView* pView)
{
    CChildEMFrame* pFrame = FrameOf(pView);
    pFrame->m_wndSplitter.SetColumnInfo(0, 400, 0);
    pFrame->m_wndSplitter.RecalcLayout();
    Pump();
}

HTREEITEM SubjectTreeWindowTest::ItemOfRow(CMorvelEMTreeView* pTree, int nRow)
{
    for (int i = 0; i < pTree->GetEntryCount(); ++i)
        if (pTree->GetEntry(i).nRow == nRow)
            return pTree->GetEntry(i).hItem;
    return nullptr;
}

CPoint SubjectTreeWindowTest::ItemPoint(CMorvelEMTreeView* pTree, HTREEITEM hItem)
{
    CTreeCtrl& tree = pTree->GetTreeCtrl();
    tree.EnsureVisible(hItem);
    CRect rc;
    tree.GetItemRect(hItem, &rc, TRUE);
    return CPoint(rc.left + 4, (rc.top + rc.bottom) / 2);
}

std::string SubjectTreeWindowTest::ItemText(CMorvelEMTreeView* pTree, HTREEITEM hItem)
{
    return pTree->GetTreeCtrl().GetItemText(hItem).ToUtf8();
}

void SubjectTreeWindowTest::ClickItem(CMorvelEMTreeView* pTree, HTREEITEM hItem)
{
    const CPoint pt = ItemPoint(pTree, hItem);
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
    pTree->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    pTree->SendMessage(WM_LBUTTONUP, 0, lParam);
}

void SubjectTreeWindowTest::DragItem(CMorvelEMTreeView* pFrom, HTREEITEM hFrom, CMorvelEMTreeView* pTo,
                                     HTREEITEM hTo, DWORD dwKeys)
{
    const CPoint ptFrom = ItemPoint(pFrom, hFrom);
    const CPoint ptTo = ItemPoint(pTo, hTo);
    AfxSetDragScript({CDragScriptStep{pFrom, ptFrom, MK_LBUTTON | dwKeys},
                      CDragScriptStep{pTo, ptTo, MK_LBUTTON | dwKeys}},
                     TRUE);
    pFrom->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM(static_cast<WORD>(ptFrom.x), static_cast<WORD>(ptFrom.y)));
    // Moving with the button down past the drag distance starts the drag.
    const CPoint ptMove(ptFrom.x + 20, ptFrom.y + 20);
    pFrom->SendMessage(WM_MOUSEMOVE, MK_LBUTTON,
                       MAKELPARAM(static_cast<WORD>(ptMove.x), static_cast<WORD>(ptMove.y)));
    pFrom->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(ptMove.x), static_cast<WORD>(ptMove.y)));
    AfxClearDragScript();
}

int SubjectTreeWindowTest::FindRow(int nKind, int nFrom) const
{
    for (int r = nFrom; r < m_pView->GetUsedRows(); ++r)
        if (m_pView->GetRowKind(r) == nKind)
            return r;
    return -1;
}

std::vector<std::string> SubjectTreeWindowTest::Names(int nFirstRow, int nCount) const
{
    std::vector<std::string> names;
    for (int r = nFirstRow; r < nFirstRow + nCount; ++r)
        names.push_back(Utf8Cell(r, scName));
    return names;
}

std::vector<int> SubjectTreeWindowTest::Kinds(int nFirstRow, int nCount) const
{
    std::vector<int> kinds;
    for (int r = nFirstRow; r < nFirstRow + nCount; ++r)
        kinds.push_back(m_pView->GetRowKind(r));
    return kinds;
}
