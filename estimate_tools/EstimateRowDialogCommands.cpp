// The estimate view's row and sheet commands that ask in a dialog first: 32824 "情報入力",
// 32798 "種目入力", 32814 "値引入力", 32816 "歩掛設定", 32820 "値引合計", 32797
// "分類合計設定", 32799 "科目No.設定", 33129/33141 "集計表", 32878 "表示固定", 33103 "入力固定", 32914
// "ｲﾝﾃﾞﾝﾄ", the subject and unit picks, and the parts pick of a typed cell. Each runs the
// dialog and then the view's row operation; the table of EstimateDialogCommands.cpp calls
// the handlers at the end of this file.
#include "estimate_tools/EstimateDialogCommands.h"

#include "app/CColumnSelectDialog.h"
#include "app/CMorvelApp.h"
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "estimate_tools/CClassifyDialogs.h"
#include "estimate_tools/CEMProjectNoSheet.h"
#include "estimate_tools/CInformationInputDialog.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/CRowDialogs.h"
#include "estimate_tools/CSelectListDialog.h"
#include "estimate_tools/CSummaryDialog.h"
#include "parts/PartsSelectList.h"

#include "platform/base/Collections.h"
#include "platform/base/MessageBox.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"
#include <memory>
#include <optional>
#include <vector>

#include <algorithm>

namespace {

void InformationInput(CMorvelEMView& view)
{
    CMorvelEMDoc* pDoc = view.GetDocument();
    if (pDoc == nullptr)
        return;
    CString strTotal, strTax, strNet;
    view.GetInformationAmounts(strTotal, strTax, strNet);
    CInformationInputDialog dlg(strTotal, strTax, strNet, &view);
    dlg.m_strFormName = pDoc->m_strInformationFormName;
    dlg.m_form = pDoc->m_InformationForm;
    for (int i = 0; i < CMorvelEMView::MAX_INFORMATION; ++i)
        dlg.m_values[static_cast<size_t>(i)] = view.GetModel().GetInformation(i);
    if (dlg.DoModal() != IDOK)
        return;
    CStringArray values;
    for (int i = 0; i < dlg.GetItemCount(); ++i)
        values.Add(dlg.m_values[static_cast<size_t>(i)]);
    view.ApplyInformationValues(values);
}

void KindInput(CMorvelEMView& view)
{
    CKindInputDialog dlg(1, &view);
    if (dlg.DoModal() == IDOK)
        view.InsertKindHeading(dlg.m_strName, dlg.m_strUnit);
}

void DiscountInput(CMorvelEMView& view)
{
    CDiscountDialog dlg(1, &view);
    if (dlg.DoModal() == IDOK)
        view.InsertDiscount(dlg.m_strDiscount);
}

void StepSetting(CMorvelEMView& view)
{
    const CEstimationFormFile& form = view.GetEstimationForm();
    const int nRow = view.GetCurrentRow();
    std::unique_ptr<CStepSettingDialog> pDlg;
    if (view.GetRowKind(nRow) == kindStep) {
        pDlg = std::make_unique<CStepSettingDialog>(form, view.GetRowParamText1(nRow),
                                                    view.GetRowParam1(nRow), view.GetRowParam2(nRow), &view);
        pDlg->m_nState = CStepSettingDialog::stateEdit;
    } else {
        pDlg = std::make_unique<CStepSettingDialog>(form, &view);
    }
    if (pDlg->DoModal() != IDOK)
        return;
    if (pDlg->m_nState == CStepSettingDialog::stateReleased) {
        if (view.GetRowKind(nRow) == kindStep)
            view.ApplyStepSetting(true, "", 0, EStepRange::nearestHeading);
        return;
    }
    // Without a target item or a level for "科目指定" there is no range to add up.
    const std::optional<EStepRange> eRange = StepRangeFromCode(pDlg->m_nRange);
    if (pDlg->m_nTargetItem < 0 || !eRange)
        return;
    view.ApplyStepSetting(false, pDlg->m_strTarget, pDlg->m_nTargetItem, *eRange);
}

// The classification's name as a classification row shows it: in the first item whose
// special-item code is "2", else "5".
CString ClassificationName(const CMorvelEMView& view, int nRow)
{
    const CEstimationFormFile& form = view.GetEstimationForm();
    for (const char* code : {"2", "5"}) {
        for (int c = 0; c < form.GetCount(); ++c) {
            if (form.GetItem(c, CEstimationFormFile::colT) == code)
                return view.GetCellText(nRow, c);
        }
    }
    return CString();
}

void ClassifyTotal(CMorvelEMView& view)
{
    auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp());
    if (pApp == nullptr)
        return;
    const CEstimationFormFile& form = view.GetEstimationForm();
    const int nRow = view.GetCurrentRow();
    const bool bClassRow = view.GetRowKind(nRow) == kindClassify;

    CClassRateDialog rate(pApp->m_classifyFile, &view);
    if (bClassRow) {
        rate.m_strName = ClassificationName(view, nRow);
        rate.m_strRate = view.GetRowParamText2(nRow);
    }
    if (rate.DoModal() != IDOK)
        return;

    std::unique_ptr<CClassTotalDialog> pTotal;
    if (bClassRow) {
        pTotal = std::make_unique<CClassTotalDialog>(rate.m_strName, form, view.GetRowParamText1(nRow),
                                                     view.GetRowParam1(nRow), view.GetRowParam3(nRow),
                                                     view.GetRowParam2(nRow), &view);
        pTotal->m_nState = CClassTotalDialog::stateEdit;
    } else {
        pTotal = std::make_unique<CClassTotalDialog>(form, &view);
        pTotal->m_strName = rate.m_strName;
    }
    if (pTotal->DoModal() != IDOK)
        return;
    if (pTotal->m_nState == CClassTotalDialog::stateReleased) {
        if (bClassRow)
            view.ApplyClassifySetting("", "", "", 0, 0, EStepRange::nearestHeading, true, false);
        return;
    }
    // Without a target item or a level for "科目指定" there is no range to add up, and no
    // row is made (nor an empty one inserted for it).
    const std::optional<EStepRange> eRange = StepRangeFromCode(pTotal->m_nRange);
    if (pTotal->m_nTargetItem < 0 || !eRange)
        return;
    bool bAddNew = false;
    if (bClassRow) {
        CClassUpdateDialog update(&view);
        if (update.DoModal() != IDOK)
            return;
        bAddNew = update.m_nAddNew == 1;
    }
    view.ApplyClassifySetting(rate.m_strName, rate.m_strRate, pTotal->m_strTarget, pTotal->m_nTargetItem,
                              pTotal->m_nBasis, *eRange, false, bAddNew);
}

void SubjectNumbering(CMorvelEMView& view)
{
    const CMorvelEMView::CSubjectNumbering before = view.GetModel().GetNumbering();
    CEMProjectNoSheet sheet(&view, view.GetEstimationForm());
    sheet.m_nKindStyle = before.nKindStyle;
    sheet.m_nLargeStyle = before.nLargeStyle;
    sheet.m_nMiddleStyle = before.nMiddleStyle;
    sheet.m_nSmallStyle = before.nSmallStyle;
    sheet.m_nTargetItem = before.nColumn;
    sheet.m_nUpper = before.nMode;
    const bool bOK = sheet.DoModal() == IDOK;
    if (!bOK && sheet.m_nRelease == 0)
        return;
    view.ApplySubjectNumbering(bOK, sheet.m_nRelease != 0, sheet.m_nKindStyle, sheet.m_nLargeStyle,
                               sheet.m_nMiddleStyle, sheet.m_nSmallStyle, sheet.m_nTargetItem,
                               sheet.m_nUpper);
    // The settings are saved with the estimate: a change is a change of the document.
    const CMorvelEMView::CSubjectNumbering& after = view.GetModel().GetNumbering();
    const bool bChanged = after.nShown != before.nShown || after.nColumn != before.nColumn ||
                          after.nKindStyle != before.nKindStyle || after.nLargeStyle != before.nLargeStyle ||
                          after.nMiddleStyle != before.nMiddleStyle ||
                          after.nSmallStyle != before.nSmallStyle || after.nMode != before.nMode;
    if (bChanged && view.GetDocument() != nullptr)
        view.GetDocument()->SetModifiedFlag(TRUE);
}

// A level's subject list: the open one comes to the front, else a new one opens.
void PickSubject(CMorvelEMView& view, ERowKind nHeading)
{
    auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp());
    if (pApp == nullptr)
        return;
    if (CWnd* pOpen = view.GetPickDialog(CMorvelEMView::PickOfHeading(nHeading))) {
        pOpen->ShowWindow(SW_SHOW);
        pOpen->SetFocus();
        return;
    }
    auto* pDlg = new CSubjectPickDialog(nHeading, &view, pApp->m_subjectFile);
    if (!pDlg->Create()) {
        delete pDlg;
        return;
    }
    view.SetPickDialog(CMorvelEMView::PickOfHeading(nHeading), pDlg);
}

void PickUnit(CMorvelEMView& view)
{
    auto* pApp = dynamic_cast<CMorvelApp*>(AfxGetApp());
    const int nCol = view.GetCurrentCol();
    if (pApp == nullptr || view.GetPickDialog(CMorvelEMView::pickUnit) != nullptr || !view.IsUnitColumn(nCol))
        return;
    CUnitPickDialog* pDlg = OpenUnitPickDialog(&view, view.GetCellText(view.GetCurrentRow(), nCol));
    if (pDlg == nullptr)
        return;
    view.SetPickDialog(CMorvelEMView::pickUnit, pDlg);
    view.HideCellEdit();
}

void SummaryTable(CMorvelEMView& view)
{
    CSummaryDialog dlg(&view, view.IsSummaryLevelOn(CMorvelEMView::summaryKind),
                       view.IsSummaryLevelOn(CMorvelEMView::summaryLarge),
                       view.IsSummaryLevelOn(CMorvelEMView::summaryMiddle),
                       view.IsSummaryLevelOn(CMorvelEMView::summarySmall));
    if (dlg.DoModal() != IDOK) {
        view.CancelSummaryTable();
        return;
    }
    view.MakeSummaryTable(dlg.m_nLevels, dlg.m_nInternal != 0);
}

// The parts whose first cell matches the text typed, from the current parts file, into
// the estimate at the current row.
void PickPartsForCell(CMorvelEMView& view)
{
    CSelectListDialog dlg(&view, CSelectListDialog::modeParts, view.GetCellEditText(), CString(),
                          view.GetCurrentPartFile());
    if (dlg.DoModal() != IDOK || dlg.m_chosenRows.empty())
        return;
    std::vector<const CGridRow*> rows;
    for (const auto& pRow : dlg.m_chosenRows)
        rows.push_back(pRow.get());
    view.InsertPartsRows(rows.data(), static_cast<int>(rows.size()));
}

// The parts of a parts file as the pop-up list shows them: every part, the parts form's
// first nine columns (the ones the estimate columns' "B" codes "A" to "I" name). A file
// that cannot be read, or holds no parts, says so and gives nothing.
bool ReadPopupParts(const CString& path, CPopupListContent& content)
{
    std::string data;
    CPartsSelection selection;
    CPartsSelection::Result result = CPartsSelection::readDamaged;
    if (!path.IsEmpty() && EstimateIo::ReadWholeFile(path, data))
        result = ReadPartsSelection(data, "*", selection);
    if (result != CPartsSelection::readOK) {
        AfxMessageBox(result == CPartsSelection::readNotParts ? "部材ﾌｧｲﾙではありません"_sj
                                                              : "部材ﾌｧｲﾙがないか壊れています。"_sj,
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (selection.rows.empty() || selection.nColumns <= 0) {
        AfxMessageBox("該当する部材がありません。"_sj);
        return false;
    }
    const int nColumns = std::min(selection.nColumns, 9);
    for (int c = 0; c < nColumns; ++c)
        content.columns.push_back({selection.form.GetItem(c, CFormFile<10>::colName), c == 0 ? 160 : 80});
    for (const std::vector<CString>& row : selection.rows)
        content.items.emplace_back(row.begin(), row.begin() + std::min<size_t>(row.size(), nColumns));
    content.nSelect = 0;
    content.bMultiple = true;
    return true;
}

// The parts of the current parts file in the grid's pop-up list (F4 on a parts search
// column): the parts form's first nine columns, several parts can be chosen.
void PopupPartsForCell(CMorvelEMView& view)
{
    CPopupListContent content;
    if (!ReadPopupParts(view.GetCurrentPartFile(), content))
        return;
    view.OpenPopupList(CMorvelEMView::pickParts, content);
}

// Shows and hides columns: ticked columns are shown.
void DisplayFix(CMorvelEMView& view)
{
    CColumnSelectDialog dlg(&view, view.GetEstimationForm(), CColumnSelectDialog::purposeDisplayFix);
    const std::vector<bool> shown = view.GetDisplayTicks();
    for (size_t c = 0; c < shown.size(); ++c)
        dlg.m_list.SetCheck(static_cast<int>(c), shown[c] ? TRUE : FALSE);
    if (dlg.DoModal() != IDOK)
        return;
    std::vector<bool> ticks(shown.size());
    for (size_t c = 0; c < ticks.size(); ++c)
        ticks[c] = dlg.m_list.GetCheck(static_cast<int>(c)) != FALSE;
    view.ApplyDisplayFix(ticks);
}

// The columns the arrow keys keep to: only shown columns can be chosen.
void InputFix(CMorvelEMView& view)
{
    CColumnSelectDialog dlg(&view, view.GetEstimationForm(), CColumnSelectDialog::purposeInputFix);
    const std::vector<bool> shown = view.GetDisplayTicks();
    for (size_t c = 0; c < shown.size(); ++c) {
        dlg.m_list.SetEnable(static_cast<int>(c), shown[c] ? TRUE : FALSE);
        dlg.m_list.SetCheck(static_cast<int>(c), view.IsColumnInputFixed(static_cast<int>(c)) ? TRUE : FALSE);
    }
    if (dlg.DoModal() != IDOK)
        return;
    std::vector<bool> ticks(shown.size());
    for (size_t c = 0; c < ticks.size(); ++c)
        ticks[c] = dlg.m_list.GetCheck(static_cast<int>(c)) != FALSE;
    view.ApplyInputFix(ticks);
}

void DiscountTotal(CMorvelEMView& view)
{
    CDiscountTotalDialog dlg(&view);
    if (dlg.DoModal() == IDOK)
        view.InsertDiscountTotal(dlg.m_nLevel);
}

void Indent(CMorvelEMView& view)
{
    // Each use opens another tool; the tool deletes itself when closed.
    auto* pDlg = new CIndentDialog(&view, view.GetEstimationForm());
    if (!pDlg->Create())
        delete pDlg;
}

} // namespace

// The handlers of the row and sheet commands in the table of EstimateDialogCommands.cpp.
void CEstimateDialogCommands::OnInformationInput()
{
    InformationInput(m_view);
}

void CEstimateDialogCommands::OnKindInput()
{
    KindInput(m_view);
}

void CEstimateDialogCommands::OnDiscountInput()
{
    DiscountInput(m_view);
}

void CEstimateDialogCommands::OnStepSetting()
{
    StepSetting(m_view);
}

void CEstimateDialogCommands::OnDiscountTotal()
{
    DiscountTotal(m_view);
}

void CEstimateDialogCommands::OnPickLarge()
{
    PickSubject(m_view, kindLarge);
}

void CEstimateDialogCommands::OnPickMiddle()
{
    PickSubject(m_view, kindMiddle);
}

void CEstimateDialogCommands::OnPickSmall()
{
    PickSubject(m_view, kindSmall);
}

void CEstimateDialogCommands::OnPickUnit()
{
    PickUnit(m_view);
}

void CEstimateDialogCommands::OnSummaryTable()
{
    SummaryTable(m_view);
}

void CEstimateDialogCommands::OnPickPartsForCell()
{
    PickPartsForCell(m_view);
}

void CEstimateDialogCommands::OnPopupPartsForCell()
{
    PopupPartsForCell(m_view);
}

void CEstimateDialogCommands::OnDisplayFix()
{
    DisplayFix(m_view);
}

void CEstimateDialogCommands::OnInputFix()
{
    InputFix(m_view);
}

void CEstimateDialogCommands::OnSubjectNumbering()
{
    SubjectNumbering(m_view);
}

void CEstimateDialogCommands::OnClassifyTotal()
{
    ClassifyTotal(m_view);
}

void CEstimateDialogCommands::OnIndent()
{
    Indent(m_view);
}
