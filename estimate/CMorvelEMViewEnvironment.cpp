// The estimate grid's "環境設定": the environment sheet for an estimate, then every open
// estimate lays itself out again with the row fonts and colours just stored.
#include "app/CChildEMFrame.h"
#include "app/CMainFrame.h"
#include "app/CShellServices.h"
#include "estimate/CMorvelEMView.h"

void CMorvelEMView::OnEnvironment()
{
    if (CShellServices::RunViewEnvironmentSheet(this, 1) != IDOK)
        return;
    RecalcLayout();
    CMainFrame* pMainFrame = CMainFrame::GetMain();
    if (pMainFrame == nullptr)
        return;
    // Each estimate window's active grid; the count leaves the walk at its end.
    const int nChildren = pMainFrame->GetMDIChildCount();
    pMainFrame->ResetMDIChildWalk();
    for (int i = 0; i < nChildren; ++i) {
        auto* pFrame = dynamic_cast<CChildEMFrame*>(pMainFrame->GetNextMDIChild());
        if (pFrame == nullptr)
            continue;
        if (auto* pView = dynamic_cast<CMorvelEMView*>(pFrame->GetActiveView()))
            pView->RecalcLayout();
    }
}
