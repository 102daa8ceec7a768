#include "estimate_tools/EstimateDialogCommands.h"

#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CPageDialogs.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"

#include <algorithm>

namespace {

void PageSelect(CMorvelEMView& view)
{
    CPageSelectDialog dlg(&view);
    if (dlg.DoModal() != IDOK)
        return;
    // SelectPage holds the number within the pages.
    view.SelectPage(dlg.m_nPage);
}

// The page of the current row, counted from 1: what the page dialogs offer.
int CurrentPageNumber(const CMorvelEMView& view)
{
    return view.GetCurrentRow() / view.GetPageRows() + 1;
}

// Whether page nPageNumber (from 1) holds a row with a kind or a text: deleting it loses
// something the user typed.
bool PageHoldsRows(const CMorvelEMView& view, int nPageNumber)
{
    const int nFirst = (nPageNumber - 1) * view.GetPageRows();
    if (nPageNumber < 1 || nPageNumber - 1 > view.GetLastPage())
        return false;
    const int nEnd = std::min(nFirst + view.GetPageRows(), view.GetUsedRows());
    for (int r = nFirst; r < nEnd; ++r) {
        if (view.GetRowKind(r) != kindEmpty || !view.IsRowEmpty(r))
            return true;
    }
    return false;
}

void PageDelete(CMorvelEMView& view)
{
    CPageDeleteDialog dlg(&view, CurrentPageNumber(view));
    if (dlg.DoModal() != IDOK)
        return;
    // Rows go only when the user says so, as with 見積書ｸﾘｱ.
    if (PageHoldsRows(view, dlg.m_nPage)) {
        CString text;
        text.Format("%dﾍﾟｰｼﾞの明細を削除します。よろしいですか？"_sj, dlg.m_nPage);
        if (view.MessageBox(text, "みつもりﾓﾙﾍﾞﾙ"_sj, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return;
    }
    // A number outside the pages, or a page holding no rows, deletes nothing.
    view.DeletePage(dlg.m_nPage);
}

void PageInsert(CMorvelEMView& view)
{
    CPageInsertDialog dlg(&view, CurrentPageNumber(view));
    if (dlg.DoModal() != IDOK)
        return;
    // A number outside the pages inserts nothing.
    view.InsertPage(dlg.m_nPage, dlg.m_nBefore != 0);
}

} // namespace

// The one table of the estimate's dialog commands: command id to handler.
BEGIN_MESSAGE_MAP(CEstimateDialogCommands, CCmdTarget)
// pages (this file)
ON_COMMAND(ID_PAGE_SELECT, OnPageSelect)
ON_COMMAND(ID_PAGE_DELETE, OnPageDelete)
ON_COMMAND(ID_PAGE_INSERT, OnPageInsert)
// editing tools (EstimateEditCommands.cpp)
ON_COMMAND(ID_EDIT_FIND_DLG, OnFind)
ON_COMMAND(ID_EDIT_REPLACE_DLG, OnReplace)
ON_COMMAND(ID_UNNECESSARY_ROWS, OnUnnecessaryRows)
ON_COMMAND(ID_SORT, OnSort)
ON_COMMAND(ID_ZOOM_USER, OnUserZoom)
ON_COMMAND(ID_RATE_CHANGE, OnFixedRate)
ON_COMMAND(ID_PARTS_REGISTER, OnPartsRegister)
// rows and sheets (EstimateRowDialogCommands.cpp)
ON_COMMAND(ID_INFORMATION_INPUT, OnInformationInput)
ON_COMMAND(ID_KIND_INPUT, OnKindInput)
ON_COMMAND(ID_DISCOUNT_INPUT, OnDiscountInput)
ON_COMMAND(ID_STEP_SETTING, OnStepSetting)
ON_COMMAND(ID_TOTAL_DISCOUNT, OnDiscountTotal)
ON_COMMAND(ID_PICK_LARGE, OnPickLarge)
ON_COMMAND(ID_PICK_MIDDLE, OnPickMiddle)
ON_COMMAND(ID_PICK_SMALL, OnPickSmall)
ON_COMMAND(ID_UNIT, OnPickUnit)
ON_COMMAND(ID_SUMMARY_TABLE, OnSummaryTable)
ON_COMMAND(ID_SUMMARY_TABLE_CTX, OnSummaryTable)
ON_COMMAND(ID_PICK_PARTS_FOR_CELL, OnPickPartsForCell)
ON_COMMAND(ID_POPUP_PARTS_FOR_CELL, OnPopupPartsForCell)
ON_COMMAND(ID_DISPLAY_FIX, OnDisplayFix)
ON_COMMAND(ID_INPUT_FIX, OnInputFix)
ON_COMMAND(ID_SUBJECT_NO, OnSubjectNumbering)
ON_COMMAND(ID_CLASSIFY_TOTAL, OnClassifyTotal)
ON_COMMAND(ID_INDENT, OnIndent)
END_MESSAGE_MAP()

bool CEstimateDialogCommands::Run(UINT nID)
{
    return OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr) != FALSE;
}

void RunEstimateDialogCommand(CView* pView, UINT nID)
{
    auto* pEstimate = dynamic_cast<CMorvelEMView*>(pView);
    if (pEstimate == nullptr)
        return;
    CEstimateDialogCommands(*pEstimate).Run(nID);
}

void CEstimateDialogCommands::OnPageSelect()
{
    PageSelect(m_view);
}

void CEstimateDialogCommands::OnPageDelete()
{
    PageDelete(m_view);
}

void CEstimateDialogCommands::OnPageInsert()
{
    PageInsert(m_view);
}
