// The estimate model's commands that make one special row (a heading, a total, a discount,
// the consumption tax) or rewrite one row or cell in place (step and classification rows,
// a unit picked, the user's input, a range total, a sort), and the rows an outside
// estimate's reader writes. Every window's command and every pick list comes here, so a
// row is written one way whichever way the user asked for it.
#include "engine/estimate/CEstimateModel.h"

#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/UndoCommands.h"
#include "platform/base/Check.h"

#include <memory>
#include <utility>
#include <vector>

namespace {

// A special row placed at nRow (eNewRow) and written by fnWrite. Its steps are the row put
// in and the page alignment after it; the special row's command takes them (or the row, for
// a row the used rows reached) back on undo.
template <class TWrite>
void MakeSpecialRow(CEstimateModel& model, int nCol, int nRow, CEstimateModel::ENewRow eNewRow,
                    const CEstimateModel::CPageRule& rule, TWrite&& fnWrite)
{
    const int nUsedRowsBefore = model.GetUsedRows();
    CRowSteps steps;
    model.BeginRowSteps(steps);
    if (eNewRow == CEstimateModel::ENewRow::reach && nRow >= model.GetUsedRows())
        model.ReachRow(nRow);
    else
        model.InsertRowAligned(nRow, rule);
    fnWrite();
    model.EndRowSteps();
    model.Undo().Record(std::make_unique<CSpecialRowCommand>(nCol, nRow, nUsedRowsBefore, std::move(steps)));
}

} // namespace

void CEstimateModel::InsertHeadingRow(int nCol, int nRow, ERowKind nHeading, const CString& strName,
                                      const CString& strUnit, ENewRow eNewRow, const CPageRule& rule)
{
    MORVEL_CHECK(IsHeadingKind(nHeading), "a heading row is of a heading kind");
    MakeSpecialRow(*this, nCol, nRow, eNewRow, rule, [&] {
        const int nNameCol = m_engine.Columns().FindNameColumn();
        // A text column keeps the name as it is.
        CString strText = strName;
        m_engine.NormalizeNumberText(nNameCol, strText, strName);
        m_engine.SetCellText(strText, nRow, nNameCol, true);
        // Find gives column 0 when no column matches: without a unit column the name stays.
        const int nUnitCol = m_engine.Columns().Find("1", "T");
        if (m_engine.IsValidColumn(nUnitCol) && GetColumnText(nUnitCol, textT) == "1")
            m_engine.SetCellText(strUnit, nRow, nUnitCol, true);
        SetCellIndent(EPage::edit, m_engine.FindNameIndent(nRow, nHeading, nNameCol), nRow, nNameCol);
        m_engine.SetRowKind(nHeading, nRow);
    });
}

void CEstimateModel::InsertTotalRow(int nCol, int nRow, ETotalLevel nLevel, const CPageRule& rule)
{
    MakeSpecialRow(*this, nCol, nRow, ENewRow::insert, rule, [&] { m_engine.MakeTotalRow(nRow, nLevel); });
}

void CEstimateModel::InsertDiscountRow(int nCol, int nRow, const CString& strAmount, const CPageRule& rule)
{
    MakeSpecialRow(*this, nCol, nRow, ENewRow::reach, rule, [&] {
        m_engine.SetCellText("値引"_sj, nRow, m_engine.Columns().FindNameColumn(), true);
        const int nAmountCol = m_engine.Columns().FindAmountColumn();
        CString strNormal;
        m_engine.NormalizeNumberText(nAmountCol, strNormal, strAmount);
        m_engine.SetCellText(strNormal, nRow, nAmountCol, true);
        // Stored again as a number: the row is no free row, so the column's rounding rule
        // rounds it (StoredNumberText).
        const CString& strStored = CellText(EPage::edit, nRow, nAmountCol);
        if (nAmountCol >= 0 && CNumberRules::IsNumberText(strStored))
            m_engine.StoreNumber(nRow, nAmountCol, CNumberRules::ReadNumberText(strStored));
        m_engine.CalcRow(nRow, nAmountCol + 1);
        m_engine.SetRowKind(kindDiscount, nRow);
    });
}

bool CEstimateModel::InsertTaxRow(int nCol, int nRow, const CPageRule& rule)
{
    const int nAmountCol = m_engine.Columns().FindAmountColumn();
    if (nAmountCol < 0)
        return false;
    const int nSecondCol = m_engine.Columns().FindFirst(textV, "3");
    const int nRate = m_engine.GetTaxSettings().nRate;
    // The tax of the rows as they stand before the tax row joins them.
    CString strTax;
    m_engine.CalcTaxAmount(strTax, nAmountCol, true, nRate);
    MakeSpecialRow(*this, nCol, nRow, ENewRow::reach, rule, [&] {
        m_engine.SetCellText("消費税"_sj, nRow, m_engine.Columns().FindNameColumn(), true);
        m_engine.StoreTaxRow(nRow, nAmountCol, nSecondCol, strTax, nRate);
        m_engine.SetRowKind(kindFree, nRow);
    });
    return true;
}

void CEstimateModel::SetStepRow(int nRow, bool bRelease, const char* lpszTarget, int nTargetCol,
                                EStepRange eRange)
{
    CRowImage before = CRowImage::Take(m_editRows, nRow, nRow, m_nUsedRows, m_nRowLimit);
    if (bRelease)
        m_engine.SetRowKind(kindDetail, nRow);
    else
        m_engine.MakeStepRow(nRow, lpszTarget, nTargetCol, eRange);
    m_undo.Record(CCellsCommand::Rewrite(CUndoCommand::undoStepSetting, std::move(before)));
}

void CEstimateModel::SetClassifyRow(int nRow, bool bRelease, const char* lpszName, const char* lpszRate,
                                    const char* lpszTarget, int nTargetCol, int nColumnMode,
                                    EStepRange eRange)
{
    CRowImage before = CRowImage::Take(m_editRows, nRow, nRow, m_nUsedRows, m_nRowLimit);
    if (bRelease)
        m_engine.SetRowKind(kindDetail, nRow);
    else
        m_engine.MakeClassifyRow(nRow, lpszName, lpszRate, lpszTarget, nTargetCol, nColumnMode, eRange);
    m_undo.Record(CCellsCommand::Rewrite(CUndoCommand::undoClassifySetting, std::move(before)));
}

void CEstimateModel::WritePickedUnit(int nCol, int nRow, const CString& strUnit, bool bCalcRow)
{
    const CString strOld = CellText(EPage::edit, nRow, nCol);
    CRowImage before = CRowImage::Take(m_editRows, nRow, nRow, m_nUsedRows, m_nRowLimit);
    CString strText = strUnit;
    m_engine.NormalizeNumberText(nCol, strText, strUnit);
    m_engine.SetCellText(strText, nRow, nCol, true);
    ReachRow(nRow);
    // A unit makes an empty row a detail row, as a typed unit does; a row of another kind
    // keeps it.
    if (RowKind(EPage::edit, nRow) == kindEmpty)
        m_engine.SetRowKind(kindDetail, nRow);
    m_undo.Record(
        CCellsCommand::Edit(nCol, nRow, strOld, CellText(EPage::edit, nRow, nCol), std::move(before)));
    if (bCalcRow)
        m_engine.CalcRow(nRow, 0);
}

bool CEstimateModel::StoreInput(int nCol, int nRow, const CString& strText)
{
    const CString strOld = CellText(EPage::edit, nRow, nCol);
    CRowImage before = CRowImage::Take(m_editRows, nRow, nRow, m_nUsedRows, m_nRowLimit);
    const bool bStored = m_engine.StoreInputText(strText, nRow, nCol, false, true);
    // Text typed into an empty row makes it a detail row, a change the edit's undo takes
    // back with the text.
    if (bStored && RowKind(EPage::edit, nRow) == kindEmpty)
        m_engine.SetRowKind(kindDetail, nRow);
    m_undo.Record(CCellsCommand::Edit(nCol, nRow, strOld, strText, std::move(before)));
    return bStored;
}

void CEstimateModel::StoreRangeTotal(int nCol, int nRow, const CString& strValue)
{
    const CString strOld = CellText(EPage::edit, nRow, nCol);
    CRowImage before = CRowImage::Take(m_editRows, nRow, nRow, m_nUsedRows, m_nRowLimit);
    m_engine.SetCellText(strValue, nRow, nCol, true);
    m_undo.Record(CCellsCommand::Edit(nCol, nRow, strOld, strValue, std::move(before)));
    m_engine.CalcRow(nRow, nCol + 1);
}

void CEstimateModel::SortRows(int nFirstRow, int nLastRow, int nCol, CRowSort::EKey eKey, bool bAscending)
{
    CRowImage before = CRowImage::Take(m_editRows, nFirstRow, nLastRow, m_nUsedRows, m_nRowLimit);
    CRowSort::SortRows(m_engine, nFirstRow, nLastRow, nCol, eKey, bAscending);
    // Rows that stood in order moved nothing.
    if (!before.Matches(m_editRows, m_nUsedRows))
        NoteRowShift(nFirstRow);
    m_undo.Record(CCellsCommand::Rewrite(CUndoCommand::undoSort, std::move(before)));
}

void CEstimateModel::WriteRowsAt(const CRowsRead& read, const std::vector<int>& targets)
{
    MORVEL_CHECK(targets.size() == read.rows.size(), "every row read has its place");
    for (size_t i = 0; i < read.rows.size(); ++i) {
        const CGridRow& source = read.rows[i];
        const int r = targets[i];
        m_engine.SetCellText("", r, 0, true);
        m_engine.SetRowKind(source.GetKind(), r);
        for (int c : read.columns)
            m_engine.SetCellText(source.GetCell(c), r, c, true);
        m_engine.CalcRow(r, 0);
    }
}
