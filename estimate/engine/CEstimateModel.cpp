#include "estimate/engine/CEstimateModel.h"

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
