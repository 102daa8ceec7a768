// The recalculation level: which recalculation requests of the bulk changes and of the
// save and print paths are carried out, and the full recalculation command.
#include "estimate/CMorvelEMView.h"

#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "resources/ResourceIds.h"

#include <memory>
#include <optional>

int CMorvelEMView::GetRecalcLevel() const
{
    const int nLevel = CMorvelSettings::CurrentProfileInt("ReCalcSetting", "Level", 3);
    return nLevel == 0 ? 3 : nLevel;
}

void CMorvelEMView::RecalcFromRow(int nMode, int nFirstRow)
{
    CEditPageScope editPage(*this);
    // Saving and printing work the totals out again: nothing an undo record names changes,
    // so the record stays.
    std::optional<CUndoKeepingScope> keepUndo;
    if (nMode == recalcSaveOrPrint)
        keepUndo.emplace();
    const int nLevel = GetRecalcLevel();
    if ((nLevel == 2 && nMode == recalcBulk) || nLevel == 3) {
        CColumnBatch batch(*this);
        m_engine.CalcRows(nFirstRow);
        RecalcTotals(nFirstRow);
        if (nLevel == 3 && m_hWnd != nullptr) {
            Invalidate(TRUE);
            UpdateWindow();
        }
    }
}

void CMorvelEMView::RecalcAll()
{
    m_engine.RecalcAll();
    AfterRecalculation();
}

void CMorvelEMView::OnRecalculate()
{
    // The whole estimate worked out again changes nothing an undo record names.
    const CUndoKeepingScope keepUndo;
    std::unique_ptr<CWaitDialog> pWait;
    if (m_hWnd != nullptr) {
        pWait = std::make_unique<CWaitDialog>("再計算を行っています。"_sj, this);
        pWait->Create(IDD_WAIT, this);
        SetCapture();
    }
    BeginWaitCursor();
    RecalcAll();
    if (m_hWnd != nullptr) {
        Invalidate(TRUE);
        UpdateWindow();
        ReleaseCapture();
    }
    EndWaitCursor();
    if (pWait != nullptr)
        pWait->DestroyWindow();
    SetDocumentModified();
}

void CMorvelEMView::OnUpdateRecalculate(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nSummaryPage == 0);
}
