// The parts list's rows, its cell store and the counts. The row formulas are in
// CPartsModelCalc.cpp, the editing commands' computations in CPartsModelCommands.cpp.
#include "engine/parts/CPartsModel.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CNumberRules.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace {

// Values nearer zero than this show as an empty cell.
constexpr double kDisplayZero = 1e-8;

// The attribute words of the parts form, in the form's code page.
const CString& NumberWord()
{
    static const CString s_str = "数値"_sj;
    return s_str;
}
const CString& CalcMark()
{
    static const CString s_str = "計"_sj;
    return s_str;
}
const CString& CalcWord()
{
    static const CString s_str = "計算"_sj;
    return s_str;
}
const CString& TextWord()
{
    static const CString s_str = "文字"_sj;
    return s_str;
}

const CString& NoText()
{
    static const CString s_str;
    return s_str;
}

} // namespace

CPartsModel::CPartsModel(IPartsModelHost& host) : m_host(host)
{
    // A command that leaves the rows as it found them records no undo step.
    m_undo.WatchTarget(*this);
}

CPartsModel::~CPartsModel() = default;

// ---------------------------------------------------------------------------------------
// Counts

void CPartsModel::SetRowsInUse(int nRows)
{
    nRows = std::max(0, nRows);
    if (nRows < m_nRowsInUse)
        ReduceRowsInUse(nRows);
    else
        ExtendRowsInUse(nRows);
}

bool CPartsModel::ExtendRowsInUse(int nRows)
{
    if (m_nRowsInUse >= nRows)
        return false;
    m_nRowsInUse = nRows;
    CountsChanged();
    return true;
}

void CPartsModel::ReduceRowsInUse(int nRows)
{
    nRows = std::max(0, nRows);
    if (m_nRowsInUse <= nRows)
        return;
    m_nRowsInUse = nRows;
    if (m_rows.size() > static_cast<size_t>(nRows))
        m_rows.resize(static_cast<size_t>(nRows));
    CountsChanged();
}

void CPartsModel::SetRowLimit(int nRowLimit)
{
    m_nRowLimit = nRowLimit;
}

void CPartsModel::GrowRowLimitToFit(int nRows)
{
    if (m_nRowLimit >= nRows)
        return;
    long long nLimit = std::max(1, m_nRowLimit);
    while (nLimit < nRows)
        nLimit *= 2;
    m_nRowLimit = static_cast<int>(nLimit);
    CountsChanged();
}

void CPartsModel::SetColumnCount(int nColumns)
{
    m_nColumnCount = std::clamp(nColumns, 0, static_cast<int>(MAX_COLUMNS));
}

// ---------------------------------------------------------------------------------------
// Rows

const CGridRow* CPartsModel::GetRow(int nRow) const
{
    if (nRow < 0 || static_cast<size_t>(nRow) >= m_rows.size())
        return nullptr;
    return m_rows[static_cast<size_t>(nRow)].get();
}

bool CPartsModel::SetCell(int nRow, int nCol, const CString& strText)
{
    if (nRow < 0 || nCol < 0 || nCol >= MAX_COLUMNS)
        return false;
    const size_t nIndex = static_cast<size_t>(nRow);
    if (nIndex >= m_rows.size())
        m_rows.resize(nIndex + 1);
    if (!m_rows[nIndex])
        m_rows[nIndex] = std::make_unique<CGridRow>();
    m_rows[nIndex]->SetCell(nCol, strText);
    return ExtendRowsInUse(nRow + 1);
}

void CPartsModel::AllocateRows(int nCount)
{
    for (int i = 0; i < nCount; ++i)
        m_rows.push_back(std::make_unique<CGridRow>());
}

void CPartsModel::InsertEmptyRows(int nRow, int nCount)
{
    if (nRow < 0 || nCount <= 0)
        return;
    // The new rows stay unallocated (empty) until a cell of theirs is written.
    std::vector<std::unique_ptr<CGridRow>> fresh(static_cast<size_t>(nCount));
    PutRowsIn(nRow, fresh);
    m_nRowsInUse = std::max(m_nRowsInUse + nCount, nRow + nCount);
    // Rows pushed past the row limit would read as empty and be saved empty: the limit
    // grows (as opening a long list makes it) so that every row stays.
    GrowRowLimitToFit(m_nRowsInUse);
    CountsChanged();
}

bool CPartsModel::RemoveRowAt(int nRow)
{
    if (nRow < 0 || static_cast<size_t>(nRow) >= m_rows.size())
        return false;
    m_rows.erase(m_rows.begin() + nRow);
    m_undo.NoteRowShift(nRow);
    m_nRowsInUse = std::max(0, m_nRowsInUse - 1);
    CountsChanged();
    return true;
}

bool CPartsModel::ReorderRows(int nTop, const std::vector<int>& aOrder)
{
    const int nCount = static_cast<int>(aOrder.size());
    if (nTop < 0)
        return false;
    std::vector<bool> bNamed(aOrder.size(), false);
    for (int nFrom : aOrder) {
        if (nFrom < nTop || nFrom - nTop >= nCount || bNamed[static_cast<size_t>(nFrom - nTop)])
            return false;
        bNamed[static_cast<size_t>(nFrom - nTop)] = true;
    }
    const size_t nEnd = static_cast<size_t>(nTop) + aOrder.size();
    if (m_rows.size() < nEnd)
        m_rows.resize(nEnd);
    std::vector<std::unique_ptr<CGridRow>> taken(aOrder.size());
    for (size_t i = 0; i < aOrder.size(); ++i)
        taken[i] = std::move(m_rows[static_cast<size_t>(aOrder[i])]);
    std::move(taken.begin(), taken.end(), m_rows.begin() + nTop);
    m_undo.NoteRowShift(nTop);
    return true;
}

int CPartsModel::AppendRows(std::vector<std::unique_ptr<CGridRow>> rows)
{
    const int nFirst = std::max(0, m_nRowsInUse);
    const int nCount = static_cast<int>(rows.size());
    PutRowsIn(nFirst, rows);
    m_nRowsInUse = nFirst + nCount;
    GrowRowLimitToFit(m_nRowsInUse);
    CountsChanged();
    return nFirst;
}

void CPartsModel::TakeReadRows(std::vector<std::unique_ptr<CGridRow>> rows, int nRowLimit)
{
    m_rows = std::move(rows);
    m_nRowsInUse = static_cast<int>(m_rows.size());
    m_nRowLimit = nRowLimit;
    GrowRowLimitToFit(m_nRowsInUse);
    m_undo.Withdraw();
    CountsChanged();
}

void CPartsModel::PutRow(int nRow, const CGridRow* pRow)
{
    if (nRow < 0)
        return;
    const size_t nIndex = static_cast<size_t>(nRow);
    if (pRow == nullptr) {
        if (nIndex < m_rows.size())
            m_rows[nIndex].reset();
        return;
    }
    if (nIndex >= m_rows.size())
        m_rows.resize(nIndex + 1);
    m_rows[nIndex] = std::make_unique<CGridRow>(*pRow);
}

void CPartsModel::PutRowsIn(int nRow, std::vector<std::unique_ptr<CGridRow>>& rows)
{
    if (nRow < 0 || rows.empty())
        return;
    const size_t nIndex = static_cast<size_t>(nRow);
    if (m_rows.size() < nIndex)
        m_rows.resize(nIndex);
    m_rows.insert(m_rows.begin() + nRow, std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    rows.clear();
    m_undo.NoteRowShift(nRow);
}

std::vector<std::unique_ptr<CGridRow>> CPartsModel::TakeRowsOut(int nRow, int nCount)
{
    std::vector<std::unique_ptr<CGridRow>> taken;
    if (nRow < 0 || static_cast<size_t>(nRow) >= m_rows.size())
        return taken;
    const auto first = m_rows.begin() + nRow;
    const auto last = first + std::min<ptrdiff_t>(std::max(0, nCount), m_rows.end() - first);
    taken.assign(std::make_move_iterator(first), std::make_move_iterator(last));
    m_rows.erase(first, last);
    m_undo.NoteRowShift(nRow);
    return taken;
}

CRowImage CPartsModel::TakeImage(int nFirst, int nLast) const
{
    return CRowImage::Take([this](int nRow) { return GetRow(nRow); }, nFirst, nLast, m_nRowsInUse,
                           m_nRowLimit);
}

// ---------------------------------------------------------------------------------------
// Columns

const CString& CPartsModel::GetColumnText(int nCol, IColumnTexts::EColumnText eText) const
{
    return m_host.GetColumnText(nCol, eText);
}

bool CPartsModel::IsNumericColumn(int nCol) const
{
    if (!m_bPlainCalculation)
        return m_columns.IsNumeric(nCol);
    const CString& strAttr = GetColumnText(nCol, IColumnTexts::textAttribute);
    return strAttr == NumberWord() || strAttr.Find(CalcMark()) >= 0;
}

bool CPartsModel::IsCalculatedColumn(int nCol) const
{
    if (!m_bPlainCalculation)
        return m_columns.IsFormula(nCol);
    return GetColumnText(nCol, IColumnTexts::textAttribute).Find(CalcMark()) >= 0;
}

bool CPartsModel::IsNumberShownColumn(int nCol) const
{
    const CString& strAttr = GetColumnText(nCol, IColumnTexts::textAttribute);
    return strAttr == NumberWord() || strAttr.Find(CalcWord()) >= 0;
}

bool CPartsModel::IsUnitColumn(int nCol) const
{
    return GetColumnText(nCol, IColumnTexts::textT) == "1";
}

bool CPartsModel::IsTextColumn(int nCol) const
{
    return GetColumnText(nCol, IColumnTexts::textAttribute).Find(TextWord()) >= 0;
}

// ---------------------------------------------------------------------------------------
// The cell store

const CString& CPartsModel::GetCellText(int nRow, int nCol) const
{
    if (nRow < 0 || nCol < 0 || nRow >= m_nRowLimit || nCol >= m_nColumnCount)
        return NoText();
    const CGridRow* pRow = GetRow(nRow);
    return pRow != nullptr ? pRow->m_strCell[nCol] : NoText();
}

void CPartsModel::NormalizeNumberText(int nCol, CString& strOut, const CString& strIn) const
{
    CDecimal value;
    if (IsNumericColumn(nCol) && CNumberRules::ReadTypedNumber(strIn, value))
        strOut = CNumberRules::FormatNormal(value);
    else
        strOut = strIn;
}

void CPartsModel::SetCellText(const CString& strText, int nRow, int nCol)
{
    if (nRow < 0 || nCol < 0 || nRow >= m_nRowLimit || nCol >= m_nColumnCount)
        return;
    SetCell(nRow, nCol,
            m_bPlainCalculation ? StoredCellTextPlain(strText, nCol) : StoredCellText(strText, nCol));
}

CString CPartsModel::GetDisplayText(int nRow, int nCol, bool* pRight) const
{
    const CString& strText = GetCellText(nRow, nCol);
    const bool bNumber = IsNumberShownColumn(nCol);
    if (pRight != nullptr)
        *pRight = bNumber;
    if (!bNumber)
        return strText;
    CString strNormal;
    NormalizeNumberText(nCol, strNormal, strText);
    if (!CNumberRules::IsNumberText(strNormal))
        return strText;
    const double value = CNumberRules::ReadNumber(strNormal);
    if (value < kDisplayZero && value > -kDisplayZero)
        return CString();
    return CNumberRules::FormatByPicture(value, GetColumnText(nCol, IColumnTexts::textPicture), true);
}

CString CPartsModel::GetEditText(int nRow, int nCol) const
{
    const CString& strText = GetCellText(nRow, nCol);
    // A number shows as its column prints it. A cell of a number column that holds anything
    // else shows as it is, so that confirming it unchanged keeps it.
    if (IsNumericColumn(nCol) && CNumberRules::IsNumberText(strText)) {
        const CString& strPicture = GetColumnText(nCol, IColumnTexts::textPicture);
        const double value = CNumberRules::ReadNumberText(strText).ToDouble();
        const CString strShown = CNumberRules::FormatByPicture(value, strPicture, true);
        // A picture that groups its digits other than by three would give a text that no
        // longer reads as a number: the digits are offered without separators then.
        return CNumberRules::IsNumberText(strShown) ? strShown
                                                    : CNumberRules::FormatByPicture(value, strPicture, false);
    }
    return strText;
}
