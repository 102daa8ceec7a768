// The parts grid's "環境設定": the environment sheet for a parts list, then every open parts
// list takes the display font and colours just stored and measures its rows again.
#include "app/CChildPMFrame.h"
#include "app/CMainFrame.h"
#include "app/CShellServices.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/core/CWinApp.h"

namespace {

// Every pane of the list follows: the views measure their rows from the document's font
// when they are updated.
void RefreshDisplay(CMorvelPMDoc* pDoc)
{
    if (pDoc == nullptr)
        return;
    pDoc->LoadDisplaySettings();
    pDoc->UpdateAllViews(nullptr);
}

} // namespace

void CMorvelPMView::OnEnvironment()
{
    if (CShellServices::RunViewEnvironmentSheet(this, 0) != IDOK)
        return;
    RefreshDisplay(GetDocument());
    auto* pMainFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    if (pMainFrame == nullptr)
        return;
    const int nChildren = pMainFrame->GetMDIChildCount();
    pMainFrame->ResetMDIChildWalk();
    for (int i = 0; i < nChildren; ++i) {
        auto* pFrame = dynamic_cast<CChildPMFrame*>(pMainFrame->GetNextMDIChild());
        if (pFrame == nullptr)
            continue;
        auto* pView = dynamic_cast<CMorvelPMView*>(pFrame->GetActiveView());
        if (pView != nullptr && pView->GetDocument() != GetDocument())
            RefreshDisplay(pView->GetDocument());
    }
}
