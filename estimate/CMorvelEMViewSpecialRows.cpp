// Special rows of the estimate view: kind headings, discounts, step and classification
// rows, discount totals, the consumption-tax row, non-calculated marks and subject numbers.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "engine/estimate/CGridRow.h"
#include "platform/ui/core/CCmdUI.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------------------
// Commands that add special rows

bool CMorvelEMView::HasRoomForNewRow()
{
    const int nRow = GetCurrentRow();
    if (nRow >= GetUsedRows())
        return HasFileRoomForRows(nRow, 1, 0);
    return HasFileRoomForRows(nRow, 1, AdjustPageBreak(EPageBreak::findHeading, nRow));
}

void CMorvelEMView::NewRowMade(int nRow)
{
    NoteUndoRecorded();
    SetDocumentModified();
    UpdateScrollRanges();
    // A row put in moved every row below it.
    if (m_hWnd != nullptr)
        InvalidateRows(nRow, GetRowLimit() - 1, TRUE);
}

void CMorvelEMView::InsertHeading(ERowKind nHeading, const CString& strName, const CString& strUnit)
{
    const int nRow = GetCurrentRow();
    if (!HasRoomForNewRow())
        return;
    GetModel().InsertHeadingRow(GetCurrentCol(), nRow, nHeading, strName, strUnit,
                                CEstimateModel::ENewRow::reach, PageRule());
    NewRowMade(nRow);
    UpdateTreeView();
    MoveCurrentRowDown();
    if (m_hWnd != nullptr && GetCurrentRow() >= GetFirstVisibleCell().y + GetVisibleRowCount())
        OnVScroll(SB_LINEDOWN, 0, nullptr);
}

void CMorvelEMView::InsertKindHeading(const char* lpszName, const char* lpszUnit)
{
    InsertHeading(kindKind, lpszName, lpszUnit);
}

void CMorvelEMView::InsertDiscount(const char* lpszAmount)
{
    const int nRow = GetCurrentRow();
    if (!HasRoomForNewRow())
        return;
    GetModel().InsertDiscountRow(GetCurrentCol(), nRow, lpszAmount, PageRule());
    NewRowMade(nRow);
    MoveCurrentRowDown();
    RecalcTotals(GetCurrentRow());
}

void CMorvelEMView::ApplyStepSetting(bool bRelease, const char* lpszTarget, int nTargetCol, EStepRange eRange)
{
    const int nRow = GetCurrentRow();
    GetModel().SetStepRow(nRow, bRelease, lpszTarget, nTargetCol, eRange);
    NoteUndoRecorded();
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
        GetModel().SetClassifyRow(nRow, bRelease, lpszName, lpszRate, lpszTarget, nTargetCol, nColumnMode,
                                  eRange);
        NoteUndoRecorded();
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
    // Without an amount column there is no tax to write: nothing happens.
    if (FindFirstColumn(CEstimationFormFile::colV, "2") < 0)
        return;
    const int nRow = GetCurrentRow();
    if (!HasRoomForNewRow() || !GetModel().InsertTaxRow(GetCurrentCol(), nRow, PageRule()))
        return;
    NewRowMade(nRow);
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
