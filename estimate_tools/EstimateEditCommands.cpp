#include "estimate_tools/EstimateEditCommands.h"

#include "app/CEstimationFormFile.h"
#include "engine/estimate/CGridRow.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CFindReplaceDialogs.h"
#include "estimate_tools/CRateCalcDialog.h"
#include "estimate_tools/CSortDialog.h"
#include "estimate_tools/CUnnecessaryRowDialog.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "grid/ModelessMessages.h"
#include "layout/printform/CZoomDialog.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <memory>

namespace {

// What a search box starts with: what the current cell shows (a number as its column's
// picture shows it), as much as the box holds.
CString StartTextForDialog(const CMorvelEMView& view)
{
    return LimitFindReplaceText(view.GetShownText(view.GetCurrentRow(), view.GetCurrentCol()));
}

void OpenFind(CMorvelEMView& view)
{
    if (view.GetFindDialog() != nullptr)
        return;
    auto* pDialog = new CFindDialog(&view);
    pDialog->m_strFind = StartTextForDialog(view);
    if (!pDialog->Create()) {
        delete pDialog;
        return;
    }
    view.SetFindDialog(pDialog, pDialog->m_strFind);
}

void OpenReplace(CMorvelEMView& view)
{
    if (view.GetReplaceDialog() != nullptr)
        return;
    auto* pDialog = new CReplaceDialog(&view);
    pDialog->m_strFind = StartTextForDialog(view);
    // The dialog is destroyed with the grid, so the grid outlives this question.
    CMorvelEMView* pView = &view;
    pDialog->m_stillOnMatch = [pView] { return !pView->LastClickMovedCell(); };
    if (!pDialog->Create()) {
        delete pDialog;
        return;
    }
    view.SetReplaceDialog(pDialog);
}

void OpenUnnecessaryRows(CMorvelEMView& view)
{
    auto* pDialog = new CUnnecessaryRowDialog(&view);
    if (!pDialog->Create()) {
        delete pDialog;
        return;
    }
    view.AddUnnecessaryRowDialog(pDialog);
}

void Sort(CMorvelEMView& view)
{
    CSortDialog dlg(&view);
    if (dlg.DoModal() != IDOK)
        return;
    view.SortBlock(dlg.m_bAscending != 0);
}

void UserZoom(CMorvelEMView& view)
{
    CZoomDialog dlg(view.GetMetrics().nZoom, &view);
    if (dlg.DoModal() != IDOK)
        return;
    view.ApplyUserZoom(dlg.m_nZoom);
}

void FixedRate(CMorvelEMView& view)
{
    CRateCalcDialog dlg(&view, view.GetEstimationForm().GetItemNames(), false);
    if (dlg.DoModal() != IDOK)
        return;
    CMorvelEMView::CRateCondition condition;
    condition.nCol1 = dlg.m_nItem1;
    condition.nRelation1 = dlg.m_nOperator1;
    // A condition without an operator does not restrict, whatever value was typed.
    condition.strValue1 = dlg.m_nOperator1 >= 0 ? dlg.m_strValue1 : CString();
    condition.nCol2 = dlg.m_nItem2;
    condition.nRelation2 = dlg.m_nOperator2;
    condition.strValue2 = dlg.m_nOperator2 >= 0 ? dlg.m_strValue2 : CString();
    condition.nConjunction = dlg.m_nRelation;
    view.ApplyFixedRateChange(dlg.m_strFormula, condition);
}

void RegisterParts(CMorvelEMView& view)
{
    CFileDialog dlg(TRUE, "MBD", "*.MBD", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR,
                    "Parts File (*.MBD) |*.MBD| All Files (*.*) |*.*||", &view);
    if (dlg.DoModal() != IDOK)
        return;
    if (view.MessageBox("実行してもよいですか？"_sj, "Morvel", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CRect rc = view.GetSelectionBlock();
    AppendRowsToPartsFile(view, rc.top, rc.bottom, dlg.GetPathName());
}

} // namespace

bool AppendRowsToPartsFile(const CMorvelEMView& view, int nFirstRow, int nLastRow, const char* lpszPath)
{
    // The list is read through the parts document, which refuses (with its message) a file
    // that is not a parts list or is damaged, before anything is written.
    CMorvelPMDoc list;
    if (!list.OnOpenDocument(lpszPath))
        return false;
    const CEstimationFormFile& form = view.GetEstimationForm();
    const int nColumns = std::clamp(form.GetCount(), 0, static_cast<int>(CMorvelPMDoc::MAX_COLUMNS));
    std::vector<std::pair<int, int>> map; // estimate column -> parts cell
    for (int c = 0; c < nColumns; ++c) {
        const CString& strB = form.GetItem(c, CEstimationFormFile::colB);
        if (!strB.IsEmpty() && strB[0] >= 'A' && strB[0] <= 'I')
            map.emplace_back(c, strB[0] - 'A');
    }
    if (nFirstRow > nLastRow)
        std::swap(nFirstRow, nLastRow);
    std::vector<std::unique_ptr<CGridRow>> rows;
    for (int r = std::max(0, nFirstRow); r <= nLastRow && r < view.GetRowLimit(); ++r) {
        auto pRow = std::make_unique<CGridRow>();
        for (const auto& [nEstimateCol, nPartsCol] : map)
            pRow->SetCell(nPartsCol, view.GetCellText(r, nEstimateCol));
        rows.push_back(std::move(pRow));
    }
    // The new rows' formulas are worked out by the list's own form (its model), as the
    // list's window works out the rows it takes in; the list open in a window takes them so
    // worked out.
    list.m_bAutoDelete = FALSE;
    const int nCount = static_cast<int>(rows.size());
    const int nAppended = list.AppendRows(std::move(rows));
    list.Model().CalcRows(nAppended, nAppended + nCount - 1);
    rows.clear();
    for (int i = 0; i < nCount; ++i) {
        const CGridRow* pRow = list.GetRow(nAppended + i);
        rows.push_back(pRow != nullptr ? std::make_unique<CGridRow>(*pRow) : std::make_unique<CGridRow>());
    }
    // Written in place, whole or not at all (the framework's save replaces the file only
    // once the new one is complete, and reports a failure).
    if (!list.CDocument::OnSaveDocument(lpszPath))
        return false;
    // A list open in a window takes the same rows after its own, or its next save would
    // write its old rows over them; its window shows where they arrived.
    if (CMorvelPMDoc* pOpen = CMorvelPMDoc::FindOpenList(lpszPath); pOpen != nullptr && !rows.empty()) {
        const int nFirst = pOpen->AppendRows(std::move(rows));
        if (CMorvelPMView* pView = pOpen->GetPartsView())
            pView->ShowArrivedRows(nFirst, nFirst + nCount - 1);
    }
    return true;
}

// The handlers of the editing tools in the table of EstimateDialogCommands.cpp.
void CEstimateDialogCommands::OnFind()
{
    OpenFind(m_view);
}

void CEstimateDialogCommands::OnReplace()
{
    OpenReplace(m_view);
}

void CEstimateDialogCommands::OnUnnecessaryRows()
{
    OpenUnnecessaryRows(m_view);
}

void CEstimateDialogCommands::OnSort()
{
    Sort(m_view);
}

void CEstimateDialogCommands::OnUserZoom()
{
    UserZoom(m_view);
}

void CEstimateDialogCommands::OnFixedRate()
{
    FixedRate(m_view);
}

void CEstimateDialogCommands::OnPartsRegister()
{
    RegisterParts(m_view);
}
