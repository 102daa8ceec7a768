// The recalculation level: which recalculation requests of the bulk changes and of the
// save and print paths are carried out, and the full recalculation command.
#include "estimate/CMorvelEMView.h"

#include "app/CMorvelSettings.h"
#include "app/CWaitDialog.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinApi.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <memory>

int CMorvelEMView::GetRecalcLevel() const
{
    const int nLevel = CMorvelSettings::CurrentProfileInt("ReCalcSetting", "Level", 3);
    return nLevel == 0 ? 3 : nLevel;
}

void CMorvelEMView::RecalcFromRow(int nMode, int nFirstRow)
{
    CEditPageScope editPage(*this);
    const int nLevel = GetRecalcLevel();
    if ((nLevel == 2 && nMode == recalcBulk) || nLevel == 3) {
        CColumnBatch batch(*this);
        for (int r = std::max(0, nFirstRow); r < m_nUsedRows; ++r) {
            PrefetchRow(r + ROW_PREFETCH_DISTANCE, 0, GetColumnLimit() - 1);
            CalcRow(r, 0);
        }
        RecalcTotals(nFirstRow);
        if (nLevel == 3 && m_hWnd != nullptr) {
            Invalidate(TRUE);
            UpdateWindow();
        }
    }
}

void CMorvelEMView::RecalcAll()
{
    CColumnBatch batch(*this);
    // The row formulas are worked out by the totals walk, each row just before the walk
    // reads it, so that the rows are gone through once; where that cannot be (step or
    // classification rows, which read other rows' results before the walk), they are
    // worked out first (CalcRowsFirst).
    m_bCalcRowsInWalk = true;
    RecalcTotals(0);
    if (m_bCalcRowsInWalk)
        CalcRowsFirst(); // not reached by any walk: cannot happen, kept safe
}

void CMorvelEMView::CalcRowsFirst()
{
    m_bCalcRowsInWalk = false;
    for (int r = 0; r < m_nUsedRows; ++r) {
        PrefetchRow(r + ROW_PREFETCH_DISTANCE, 0, GetColumnLimit() - 1);
        CalcRow(r, 0);
    }
}

void CMorvelEMView::OnRecalculate()
{
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
