#include "estimate/engine/CEstimateModel.h"

#include "estimate/engine/UndoCommands.h"
#include "platform/base/Check.h"

#include <algorithm>

CEstimateModel::CEstimateModel(IEstimateModelHost& host)
    : m_host(host), m_engine(*this, m_editRows, m_nUsedRows, m_nRowLimit, m_nColumnCount)
{
}

CEstimateModel::~CEstimateModel() = default;

void CEstimateModel::GrowRowLimitToFit(int nRows)
{
    if (m_nRowLimit >= nRows)
        return;
    if (m_nRowLimit <= 0)
        m_nRowLimit = nRows;
    while (m_nRowLimit < nRows)
        m_nRowLimit *= 2;
}

void CEstimateModel::ReplaceEditRows(std::vector<std::unique_ptr<CGridRow>>&& rows)
{
    m_engine.ForgetKeptTotals();
    m_editRows.RemoveAll();
    m_editRows.Reserve(static_cast<INT_PTR>(rows.size()));
    for (std::unique_ptr<CGridRow>& pRow : rows)
        m_editRows.Add(std::move(pRow));
    m_nUsedRows = static_cast<int>(rows.size());
    rows.clear();
    GrowRowLimitToFit(m_nUsedRows);
}

void CEstimateModel::PutRowsIn(int nRow, int nCount, CGridRow* const* ppRows)
{
    if (nRow < 0 || nCount <= 0)
        return;
    const int nUsedBefore = m_nUsedRows;
    m_nUsedRows = std::max(m_nUsedRows + nCount, nRow + nCount);
    if (m_nUsedRows > m_nRowLimit - 1)
        GrowRowLimitToFit(m_nUsedRows + 1);
    // As nCount insertions at nRow, with one move of the rows below.
    m_editRows.InsertEmptyAt(nRow, nCount);
    // The rows handed in belong to the estimate from here on.
    for (int i = 0; i < nCount; ++i)
        m_editRows.SetAt(nRow + i, ppRows != nullptr ? CGridRowArray::CRowPtr(ppRows[i])
                                                     : std::make_unique<CGridRow>());
    if (m_pRowSteps != nullptr)
        m_pRowSteps->Note(nRow, nCount, true, nUsedBefore);
    NoteRowShift(nRow);
}

int CEstimateModel::TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>* pTaken)
{
    if (nRow < 0 || nCount <= 0 || nRow >= m_nRowLimit || nRow > m_editRows.GetUpperBound())
        return 0;
    const int nUsedBefore = m_nUsedRows;
    // As nCount deletions at nRow, with one move of the rows below.
    const int n = std::min<int>(nCount, static_cast<int>(m_editRows.GetSize()) - nRow);
    // The rows taken go to the caller or to the steps being recorded, or are deleted with
    // their entries.
    for (int i = 0; i < n; ++i) {
        CGridRowArray::CRowPtr pRow = m_editRows.Release(nRow + i);
        if (pTaken != nullptr)
            pTaken->push_back(pRow.release());
        else if (m_pRowSteps != nullptr)
            m_pRowSteps->Keep(pRow.release());
    }
    m_editRows.RemoveAt(nRow, n);
    if (m_pRowSteps != nullptr)
        m_pRowSteps->Note(nRow, n, false, nUsedBefore);
    NoteRowShift(nRow);
    m_nUsedRows = std::max(0, m_nUsedRows - n);
    return n;
}

void CEstimateModel::NoteRowShift(int nFromRow)
{
    m_engine.ForgetKeptTotals();
    m_undo.NoteRowShift(nFromRow);
}

void CEstimateModel::BeginRowSteps(CRowSteps& steps)
{
    MORVEL_CHECK(m_pRowSteps == nullptr, "one rows command records its steps at a time");
    m_pRowSteps = &steps;
}

void CEstimateModel::SetNonCalculated(bool bSet, int nFirstRow, int nLastRow)
{
    if (nFirstRow > nLastRow)
        std::swap(nFirstRow, nLastRow);
    nFirstRow = std::max(0, nFirstRow);
    const int nEnd = std::min(nLastRow + 1, m_nRowLimit);
    // Undo gives every row exactly the kind it had: a row already marked, or one the
    // release leaves alone, keeps its kind.
    std::vector<ERowKind> kinds;
    for (int r = nFirstRow; r < nEnd; ++r)
        kinds.push_back(m_engine.EditKind(r));
    m_undo.Record(
        std::make_unique<CNonCalculatedCommand>(bSet, nFirstRow, nLastRow - nFirstRow + 1, std::move(kinds)));
    for (int r = nFirstRow; r < nEnd; ++r) {
        const ERowKind nKind = m_engine.EditKind(r);
        if (bSet && !IsNonCalculatedKind(nKind) && !IsSummaryKind(nKind))
            m_engine.SetRowKind(NonCalculatedKindOf(nKind), r);
        else if (!bSet && IsNonCalculatedKind(nKind))
            m_engine.SetRowKind(CalculatedKindOf(nKind), r);
    }
}

void CEstimateModel::SetInformationCount(int nCount)
{
    m_nInformationCount = std::clamp(nCount, 0, static_cast<int>(MAX_INFORMATION));
}

const CString& CEstimateModel::GetInformation(int nIndex) const
{
    static const CString empty;
    return nIndex >= 0 && nIndex < MAX_INFORMATION ? m_strInformation[static_cast<size_t>(nIndex)] : empty;
}

void CEstimateModel::SetInformation(int nIndex, const CString& value)
{
    if (nIndex < 0 || nIndex >= MAX_INFORMATION)
        return;
    m_strInformation[static_cast<size_t>(nIndex)] = value;
    m_nInformationCount = std::max(m_nInformationCount, nIndex + 1);
}

void CEstimateModel::ClearInformation()
{
    for (CString& value : m_strInformation)
        value.Empty();
}

const CString& CEstimateModel::CellText(EPage ePage, int nRow, int nCol) const
{
    static const CString empty;
    const CGridRow* pRow = m_engine.IsValidColumn(nCol) ? Row(ePage, nRow) : nullptr;
    return pRow != nullptr ? pRow->GetCell(nCol) : empty;
}

int CEstimateModel::CellIndent(EPage ePage, int nRow, int nCol) const
{
    const CGridRow* pRow = m_engine.IsValidColumn(nCol) ? Row(ePage, nRow) : nullptr;
    return pRow != nullptr ? pRow->GetIndent(nCol) : 0;
}

const CString& CEstimateModel::GetColumnText(int nCol, EColumnText eText) const
{
    return m_host.GetColumnText(nCol, eText);
}

void CEstimateModel::GrowUsedRows(int nRows)
{
    m_nUsedRows = std::max(m_nUsedRows, nRows);
    m_host.GrowUsedRows(m_nUsedRows);
}

void CEstimateModel::RowsWritten(int nFirst, int nLast)
{
    m_host.RowsWritten(nFirst, nLast);
}

IEstimateSheet::CTaxSettings CEstimateModel::GetTaxSettings() const
{
    return m_host.GetTaxSettings();
}

bool CEstimateModel::IsTaxVerticalTotal() const
{
    return m_host.IsTaxVerticalTotal();
}
