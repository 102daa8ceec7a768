// Special rows of the estimate view: kind headings, discounts, step and classification
// rows, discount totals, the consumption-tax row, non-calculated marks and subject numbers.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/UndoCommands.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------------------
// Commands that add special rows

void CMorvelEMView::InsertKindHeading(const char* lpszName, const char* lpszUnit)
{
    const CString strName(lpszName);
    const CString strUnit(lpszUnit);
    CSpecialRowSteps steps(*this);
    if (!PlaceNewRow())
        return;
    const int nRow = GetCurrentRow();
    const int nNameCol = FindNameColumn();
    SetCellText(strName, nRow, nNameCol, TRUE);
    SetCellText(strUnit, nRow, FindUnitColumn(), TRUE);
    SetCellIndent(Engine().FindNameIndent(nRow, kindKind, nNameCol), nRow, nNameCol);
    SetRowKind(kindKind, nRow);
    InvalidateRows(nRow, nRow);
    MoveCurrentRowDown();
    SetDocumentModified();
    UpdateTreeView();
    steps.Record(GetCurrentCol(), nRow);
}

void CMorvelEMView::InsertDiscount(const char* lpszAmount)
{
    const CString strAmount(lpszAmount);
    CSpecialRowSteps steps(*this);
    if (!PlaceNewRow())
        return;
    const int nRow = GetCurrentRow();
    SetCellText("値引"_sj, nRow, FindNameColumn(), TRUE);
    const int nAmountCol = FindFirstColumn(CEstimationFormFile::colV, "2");
    CString strNormal;
    Engine().NormalizeNumberText(nAmountCol, strNormal, strAmount);
    SetCellText(strNormal, nRow, nAmountCol, TRUE);
    const CString strStored = GetCellText(nRow, nAmountCol);
    if (nAmountCol >= 0 && CNumberRules::IsNumberText(strStored)) {
        CDecimal value = CNumberRules::ReadNumberText(strStored);
        CNumberRules::RoundBySpec(value, Engine().Columns().Get(nAmountCol).spec);
        Engine().StoreNumber(nRow, nAmountCol, value);
    }
    Engine().CalcRow(nRow, nAmountCol + 1);
    SetRowKind(kindDiscount, nRow);
    steps.Record(GetCurrentCol(), nRow);
    InvalidateRows(nRow, nRow);
    MoveCurrentRowDown();
    RecalcTotals(GetCurrentRow());
    SetDocumentModified();
}

void CMorvelEMView::ApplyStepSetting(bool bRelease, const char* lpszTarget, int nTargetCol, EStepRange eRange)
{
    const int nRow = GetCurrentRow();
    // The row is made, changed or released in place: undo gives it back as it was.
    CRowImage before = TakeRowImage(nRow, nRow);
    if (bRelease)
        SetRowKind(kindDetail, nRow);
    else
        Engine().MakeStepRow(nRow, lpszTarget, nTargetCol, eRange);
    RecordUndo(CCellsCommand::Rewrite(undoStepSetting, std::move(before)));
    RecalcTotals(nRow);
    InvalidateRows(nRow, nRow);
}

void CMorvelEMView::ApplyClassifySetting(const char* lpszName, const char* lpszRate, const char* lpszTarget,
                                         int nTargetCol, int nColumnMode, EStepRange eRange, bool bRelease,
                                         bool bAddNewRow)
{
    const int nRow = GetCurrentRow();
    const bool bInserted = Engine().EditKind(nRow) != kindClassify || (!bRelease && bAddNewRow);
    if (bInserted) {
        if (!HasFileRoomForRows(nRow, 1, 0))
            return;
        GetModel().InsertClassifyRow(nRow, lpszName, lpszRate, lpszTarget, nTargetCol, nColumnMode, eRange);
        NoteUndoRecorded();
        SetDocumentModified();
        // A row inserted moved the rows below it down one.
        if (m_hWnd != nullptr)
            InvalidateRows(nRow, GetRowLimit() - 1, TRUE);
    } else {
        // Changed or released in place: undo gives the row back as it was.
        CRowImage before = TakeRowImage(nRow, nRow);
        if (bRelease)
            SetRowKind(kindDetail, nRow);
        else
            Engine().MakeClassifyRow(nRow, lpszName, lpszRate, lpszTarget, nTargetCol, nColumnMode, eRange);
        RecordUndo(CCellsCommand::Rewrite(undoClassifySetting, std::move(before)));
    }
    RecalcTotals(nRow);
    InvalidateRows(nRow, nRow);
}

void CMorvelEMView::InsertDiscountTotal(ETotalLevel nDiscountLevel)
{
    const int nRow = GetCurrentRow();
    if (!HasFileRoomForRows(nRow, 1, 0))
        return;
    GetModel().InsertDiscountTotal(nRow, nDiscountLevel);
    NoteUndoRecorded();
    SetDocumentModified();
    RecalcTotals(nRow);
    UpdateTreeView();
    MoveCurrentRowDown();
    // The rows below moved down one.
    if (m_hWnd != nullptr)
        InvalidateRows(nRow, GetRowLimit() - 1, TRUE);
}

void CMorvelEMView::InsertConsumptionTax()
{
    const int nAmountCol = FindFirstColumn(CEstimationFormFile::colV, "2");
    if (nAmountCol < 0)
        return;
    const int nSecondCol = FindFirstColumn(CEstimationFormFile::colV, "3");
    const int nRate = Engine().GetTaxSettings().nRate;
    CString strTax;
    Engine().CalcTaxAmount(strTax, nAmountCol, TRUE, nRate);
    CSpecialRowSteps steps(*this);
    if (!PlaceNewRow())
        return;
    const int nRow = GetCurrentRow();
    SetCellText("消費税"_sj, nRow, FindNameColumn(), TRUE);
    Engine().StoreTaxRow(nRow, nAmountCol, nSecondCol, strTax, nRate);
    SetRowKind(kindFree, nRow);
    steps.Record(GetCurrentCol(), nRow);
    InvalidateRows(nRow, nRow + 1);
    RecalcTotals(nRow);
    UpdateTreeView();
}

void CMorvelEMView::OnConsumptionTax()
{
    InsertConsumptionTax();
}

// ---------------------------------------------------------------------------------------
// Non-calculated rows

void CMorvelEMView::SetNonCalculated(bool bSet, int nFirstRow, int nLastRow)
{
    GetModel().SetNonCalculated(bSet, nFirstRow, nLastRow);
    NoteUndoRecorded();
    if (nFirstRow > nLastRow)
        std::swap(nFirstRow, nLastRow);
    nFirstRow = std::max(0, nFirstRow);
    InvalidateRows(nFirstRow, nLastRow);
    RecalcTotals(nFirstRow);
    UpdateTreeView();
    SetDocumentModified();
}

bool CMorvelEMView::GetNonCalcRange(int& nFirstRow, int& nLastRow) const
{
    if (GetSelectMode() != selectNone) {
        nFirstRow = std::min(GetSelection().top, GetSelection().bottom);
        nLastRow = std::max(GetSelection().top, GetSelection().bottom);
        return nFirstRow >= 0 && nLastRow < GetUsedRows();
    }
    nFirstRow = nLastRow = GetCurrentRow();
    return true;
}

void CMorvelEMView::OnNonCalcSet()
{
    int nFirst = 0;
    int nLast = 0;
    if (!IsSummaryPageShown() && GetNonCalcRange(nFirst, nLast))
        SetNonCalculated(TRUE, nFirst, nLast);
}

void CMorvelEMView::OnNonCalcRelease()
{
    int nFirst = 0;
    int nLast = 0;
    if (!IsSummaryPageShown() && GetNonCalcRange(nFirst, nLast))
        SetNonCalculated(FALSE, nFirst, nLast);
}

void CMorvelEMView::OnUpdateNonCalc(CCmdUI* pCmdUI)
{
    int nFirst = 0;
    int nLast = 0;
    pCmdUI->Enable(!IsSummaryPageShown() && GetNonCalcRange(nFirst, nLast));
}

// ---------------------------------------------------------------------------------------
// Subject numbers

void CMorvelEMView::ApplySubjectNumbering(bool bOK, bool bSwitchedOff, int nKindStyle, int nLargeStyle,
                                          int nMiddleStyle, int nSmallStyle, int nNumberingCol,
                                          int nNumberingMode)
{
    CSubjectNumbering numbering = GetModel().GetNumbering();
    if (bOK) {
        numbering.nShown = 1;
        numbering.nKindStyle = nKindStyle;
        numbering.nLargeStyle = nLargeStyle;
        numbering.nMiddleStyle = nMiddleStyle;
        numbering.nSmallStyle = nSmallStyle;
        numbering.nColumn = nNumberingCol;
        numbering.nMode = nNumberingMode;
    } else if (bSwitchedOff) {
        numbering.nShown = 0;
    }
    GetModel().SetNumbering(numbering);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CMorvelEMView::FormatSubjectNo(int nMode, CString& strText, int nKindCount, int nLargeCount,
                                    int nMiddleCount, int nSmallCount) const
{
    CSubjectNumbers::Format(GetModel().GetNumbering(), nMode, strText,
                            {nKindCount, nLargeCount, nMiddleCount, nSmallCount});
}

CString CMorvelEMView::GetSubjectNoText(int nRow, int nCol) const
{
    return GetModel().GetSubjectNumberText(ShownPage(), nRow, nCol);
}

void CMorvelEMView::RepaintSubjectNumbers()
{
    const CSubjectNumbering& numbering = GetModel().GetNumbering();
    if (m_hWnd != nullptr && numbering.nShown != 0 && IsValidColumn(numbering.nColumn))
        InvalidateCells(numbering.nColumn, std::max(0, static_cast<int>(GetFirstVisibleCell().y)),
                        numbering.nColumn, GetRowLimit() - 1);
}
