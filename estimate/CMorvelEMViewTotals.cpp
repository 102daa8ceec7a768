// Totals of the estimate view: subtotals, the grand total and discount totals, and the
// recalculation that refreshes every computed row from a given row down.
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CMorvelSettings.h"
#include "estimate/CCompensatedSum.h"
#include "estimate/CGridRow.h"

#include <algorithm>
#include <vector>

void CMorvelEMView::MakeTotalRow(int nRow, int nLevel)
{
    if (!IsValidRow(nRow))
        return;
    CColumnBatch batch(*this);
    const int nNameCol = FindNameColumn();
    const CString strName = EditCell(nRow, nNameCol);
    const int nDiscountLevel = m_nDiscountLevel;

    int nStart = 0;
    int nTotalKind = 0;
    if (nLevel == levelGrand) {
        nTotalKind = kindGrandTotal;
    } else if (nLevel == levelDiscount) {
        // Only the levels the discount-total choice offers make a discount total.
        if (nDiscountLevel != levelLarge && nDiscountLevel != levelMiddle && nDiscountLevel != levelSmall &&
            nDiscountLevel != levelGrand && nDiscountLevel != levelKind)
            return;
        nTotalKind = DiscountTotalKindOf(nDiscountLevel);
        if (nDiscountLevel != levelGrand) {
            // An existing discount total finds its heading again by the name in its label.
            const bool bExisting = EditKind(nRow) == nTotalKind;
            int r = nRow - 1;
            for (; r >= 0; --r) {
                if (EditKind(r) != nDiscountLevel)
                    continue;
                if (!bExisting || strName.Find(EditCell(r, nNameCol)) >= 0)
                    break;
            }
            if (r < 0)
                return;
            nStart = r + 1;
        }
    } else if (nLevel == levelLarge || nLevel == levelMiddle || nLevel == levelSmall || nLevel == levelKind) {
        nTotalKind = TotalKindOf(nLevel);
        int r = nRow - 1;
        while (r >= 0 && EditKind(r) != nLevel)
            --r;
        if (r < 0)
            return;
        nStart = r + 1;
    } else {
        return;
    }
    const int nEnd = nRow - 1;
    if (nEnd < nStart)
        return;

    if (EditKind(nRow) != nTotalKind) {
        CString strLabel;
        if (nLevel == levelGrand)
            strLabel = "【 総  合  計 】"_sj;
        else if (nLevel == levelDiscount && nDiscountLevel == levelGrand)
            strLabel = "値引 総 合 計"_sj;
        else if (nLevel == levelDiscount)
            strLabel = EditCell(nStart - 1, nNameCol) + "値引合計"_sj;
        else
            strLabel = EditCell(nStart - 1, nNameCol) + " 小  計"_sj;
        SetRowKind(nTotalKind, nRow);
        if (nLevel == levelDiscount)
            SetRowParam1(nDiscountLevel, nRow);
        SetCellText(strLabel, nRow, nNameCol, TRUE);
        SetCellIndent(FindNameIndent(nRow, kindLarge, nNameCol), nRow, nNameCol);
    }
    if (nStart > 0)
        --nStart; // the heading row lies in the range; its kind is never added

    // The summed columns are added up in one walk over the range; the rows added lie above
    // the total row, so nothing written to it below changes a sum.
    struct CColumnSum {
        int nCol;
        int nTotalMode;
        CCompensatedSum sum;
    };
    const int nColumns = GetColumnLimit();
    std::vector<CColumnSum> sums;
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        const CColumnInfo& info = GetColumnInfo(nCol);
        if (!info.bTotalByFormula && !info.strV.IsEmpty() && (info.nTotalMode == 1 || info.nTotalMode == 2))
            sums.push_back(CColumnSum{nCol, info.nTotalMode, CCompensatedSum()});
    }
    if (!sums.empty()) {
        for (int r = nStart; r <= nEnd; ++r) {
            const int nKind = EditKind(r);
            const bool bDiscount = nKind == kindDiscount;
            const bool bLeaf = IsLeafKind(nKind);
            const bool bSubtotal = IsSubtotalKind(nKind);
            for (CColumnSum& column : sums) {
                bool bAdd;
                if (nLevel == levelDiscount)
                    bAdd = bDiscount;
                else if (column.nTotalMode == 1)
                    bAdd = bLeaf;
                else
                    bAdd = bSubtotal;
                if (bAdd)
                    column.sum.Add(CellValue(r, column.nCol));
            }
        }
    }
    // Written in column order: a formula column of the total row works on the totals left of it.
    auto itSum = sums.begin();
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        if (GetColumnInfo(nCol).bTotalByFormula) {
            CalcRow(nRow, nCol);
        } else if (itSum != sums.end() && itSum->nCol == nCol) {
            StoreNumber(nRow, nCol, CDecimal::FromDouble(itSum->sum.Get()));
            ++itSum;
        }
    }
    InvalidateRows(nRow, nRow);
}

void CMorvelEMView::RecalcPasses(int nFromRow, int& nTaxRow)
{
    const int nLast = m_nUsedRows - 1;
    const int nTargetNameCol = FindClassifyNameColumn();
    for (int r = nFromRow; r <= nLast; ++r) {
        const CGridRow* pRow = m_EditRows.GetRow(r);
        if (pRow != nullptr && pRow->m_nKind == kindStep) {
            const CString strTarget = pRow->m_strParamText1;
            MakeStepRow(r, strTarget, pRow->m_nParam1, pRow->m_nParam2);
        }
    }
    for (int r = nFromRow; r <= nLast; ++r) {
        const CGridRow* pRow = m_EditRows.GetRow(r);
        if (pRow != nullptr && pRow->m_nKind == kindClassify) {
            const CString strName = EditCell(r, nTargetNameCol);
            const CString strRate = pRow->m_strParamText2;
            const CString strTarget = pRow->m_strParamText1;
            MakeClassifyRow(r, strName, strRate, strTarget, pRow->m_nParam1, pRow->m_nParam3,
                            pRow->m_nParam2);
        }
    }
    for (int r = nFromRow; r <= nLast; ++r) {
        const int nKind = EditKind(r);
        if (IsDiscountTotalKind(nKind)) {
            m_nDiscountLevel = LevelOfDiscountTotalKind(nKind);
            MakeTotalRow(r, levelDiscount);
        } else if (IsTotalKind(nKind)) {
            MakeTotalRow(r, HeadingOfTotalKind(nKind));
        }
    }
    nTaxRow = -1;
    for (int r = nFromRow; r <= nLast; ++r) {
        if (EditKind(r) == kindFree) {
            nTaxRow = r;
            break;
        }
    }
}

void CMorvelEMView::RecalcTotals(int nFromRow)
{
    CColumnBatch batch(*this);
    int nFrom = std::max(0, nFromRow);
    // Each tax row starts the passes again below it, so that totals under a tax row take
    // the new tax in; the next tax row is then found by that round.
    for (;;) {
        int nTaxRow = -1;
        RecalcPasses(nFrom, nTaxRow);
        if (nTaxRow < 0)
            break;
        int nAmountCol = FindFirstColumn(CEstimationFormFile::colV, "2");
        if (nAmountCol < 0)
            nAmountCol = 0;
        const int nSecondCol = FindFirstColumn(CEstimationFormFile::colV, "3");
        const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
        const int nRate = pSettings != nullptr ? pSettings->m_nTax : 8;
        CString strTax;
        CalcTaxAmount(strTax, nAmountCol, TRUE, nRate);
        StoreTaxRow(nTaxRow, nAmountCol, nSecondCol, strTax, nRate);
        InvalidateRows(nTaxRow, nTaxRow);
        nFrom = nTaxRow + 1;
    }
    UpdateTreeView();
    SetDocumentModified();
    UpdateStatusText(statusShow);
}

void CMorvelEMView::StoreTaxRow(int nRow, int nAmountCol, int nSecondCol, const CString& strTax, int nRate)
{
    SetCellText(CNumberRules::NormalizeNumber(strTax), nRow, nAmountCol, TRUE);
    if (nSecondCol >= 0) {
        if (IsTaxVerticalTotal()) {
            CString strSecondTax;
            CalcTaxAmount(strSecondTax, nSecondCol, TRUE, nRate);
            SetCellText(strSecondTax, nRow, nSecondCol, TRUE);
        } else {
            SetCellText(strTax, nRow, nSecondCol, TRUE);
        }
        CalcRow(nRow, std::max(nAmountCol, nSecondCol) + 1);
    } else {
        CalcRow(nRow, nAmountCol + 1);
    }
}

double CMorvelEMView::SumUnderHeading(int nRow, int nLevel, int nCol) const
{
    if (!IsValidColumn(nCol))
        return 0.0;
    int nStart = nLevel == levelGrand ? 0 : nRow + 1;
    int nEnd = m_nUsedRows - 1;
    for (int r = nStart; r < m_nUsedRows; ++r) {
        const int nKind = EditKind(r);
        // The levels 1, 2, 3 and 7 are the heading kinds; the grand and discount levels
        // run to the end.
        if (IsHeadingAtOrAbove(nKind, nLevel)) {
            nEnd = r - 1;
            break;
        }
    }
    if (nStart > nEnd)
        return 0.0;
    if (nStart > 0)
        --nStart;
    CCompensatedSum sum;
    for (int r = nStart; r <= nEnd; ++r) {
        const int nKind = EditKind(r);
        bool bAdd;
        if (nLevel == levelDiscount)
            bAdd = nKind == kindDiscount;
        else
            bAdd = IsLeafKind(nKind) || IsHeadingKind(nKind);
        if (bAdd)
            sum.Add(CellValue(r, nCol));
    }
    return sum.Get();
}

bool CMorvelEMView::IsTaxVerticalTotal() const
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr)
        return FALSE;
    return pSettings->GetProfileString("Tax Vertical Total", "3", "") == "縦合計"_sj ? TRUE : FALSE;
}

void CMorvelEMView::InsertTotal(int nLevel)
{
    const int nRow = m_nCurrentRow;
    InsertRowAligned(nRow);
    MakeTotalRow(nRow, nLevel);
    if (nLevel != levelGrand)
        UpdateTreeView();
    MoveCurrentRowDown();
    InvalidateRows(nRow, m_nCurrentRow);
}

void CMorvelEMView::OnSmallTotal()
{
    InsertTotal(levelSmall);
}
void CMorvelEMView::OnMiddleTotal()
{
    InsertTotal(levelMiddle);
}
void CMorvelEMView::OnLargeTotal()
{
    InsertTotal(levelLarge);
}
void CMorvelEMView::OnKindTotal()
{
    InsertTotal(levelKind);
}
void CMorvelEMView::OnGrandTotal()
{
    InsertTotal(levelGrand);
}
