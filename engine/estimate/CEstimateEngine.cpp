// The estimate engine's rows and cells: reading them, the cell store, numbers stored in
// their columns' forms and the row formulas. Totals and the recalculation are in
// CEstimateEngineTotals.cpp.
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CScopedValue.h"

#include "engine/estimate/NumberFormatting.h"
#include "platform/base/Check.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

const CString& EmptyText()
{
    static const CString empty;
    return empty;
}

} // namespace

CEstimateEngine::CEstimateEngine(IEstimateSheet& sheet, CGridRowArray& rows, const int& nUsedRows,
                                 const int& nRowLimit, const int& nColumnCount)
    : m_sheet(sheet), m_rows(rows), m_nUsedRows(nUsedRows), m_nRowLimit(nRowLimit),
      m_columns(sheet, nColumnCount)
{
    // The estimate's rows count their changes apart from every other row of the process
    // (another window's, the copy buffers', the undo stores'): the kept totals follow them.
    m_rows.CountChanges();
}

// ---------------------------------------------------------------------------------------
// Reading the rows

const CString& CEstimateEngine::EditCell(int nRow, int nCol) const
{
    if (nCol < 0 || nCol >= m_columns.GetLimit())
        return EmptyText();
    const CGridRow* pRow = m_rows.GetRow(nRow);
    return pRow != nullptr ? pRow->m_strCell[nCol] : EmptyText();
}

double CEstimateEngine::CellValue(int nRow, int nCol) const
{
    if (nCol < 0 || nCol >= m_columns.GetLimit())
        return 0.0;
    const CGridRow* pRow = m_rows.GetRow(nRow);
    return pRow != nullptr ? pRow->ReadNumber(nCol) : 0.0;
}

const std::vector<ERowKind>* CEstimateEngine::KeptKinds() const
{
    return m_kept.IsCurrent(*this) ? &m_kept.GetKinds() : nullptr;
}

// ---------------------------------------------------------------------------------------
// The cell store

CGridRow* CEstimateEngine::MakeRow(int nRow)
{
    CGridRow* pRow = m_rows.GetRow(nRow);
    if (pRow == nullptr && nRow >= 0) {
        auto pNew = std::make_unique<CGridRow>();
        pRow = pNew.get();
        m_rows.SetAtGrow(nRow, std::move(pNew));
    }
    return pRow;
}

void CEstimateEngine::PlaceRows(int nFirstRow, const std::vector<CGridRow*>& rows)
{
    if constexpr (kChecksOn) {
        std::vector<const CGridRow*> before, after(rows.begin(), rows.end());
        for (size_t i = 0; i < rows.size(); ++i)
            before.push_back(m_rows.GetRow(nFirstRow + static_cast<int>(i)));
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        MORVEL_CHECK(before == after, "rows placed are the rows of their places, reordered");
    }
    m_rows.Reorder(nFirstRow, rows);
}

bool CEstimateEngine::SetCellText(const char* lpszText, int nRow, int nCol, bool bForce)
{
    const char* pText = lpszText != nullptr ? lpszText : "";
    if (!bForce && m_strEditStartText.IsEmpty() && *pText == '\0')
        return 0; // an empty edit of an empty cell makes nothing
    m_strEditStartText.Empty();

    // The column is looked at only once it is known to exist.
    if (!IsValidRow(nRow) || !IsValidColumn(nCol))
        return 0;
    return StoreCell(nRow, nCol, StoredText(pText, nRow, nCol));
}

bool CEstimateEngine::StoreInputText(const char* lpszText, int nRow, int nCol, bool bForce, bool bCalcRow)
{
    const bool bStored = SetCellText(lpszText, nRow, nCol, bForce);
    if (!IsValidRow(nRow) || !IsValidColumn(nCol) || !m_columns.Get(nCol).bNumeric)
        return bStored;
    SetCellText(CNumberRules::InputTextKept(EditCell(nRow, nCol), m_columns.Get(nCol).spec), nRow, nCol,
                true);
    if (bCalcRow)
        CalcRow(nRow, 0);
    return bStored;
}

CString CEstimateEngine::StoredText(const char* pText, int nRow, int nCol) const
{
    // Every text that comes into a number cell is read by the one reading of numbers:
    // "１２５．５", "10,000円" and "▲5,000" are stored as the numbers they are, a word as
    // it is.
    CDecimal value;
    if (m_columns.Get(nCol).bNumeric && CNumberRules::ReadTypedNumber(pText, value))
        return StoredNumberText(nCol, value, EditKind(nRow) != kindFree);
    return CString(pText);
}

bool CEstimateEngine::StoreCell(int nRow, int nCol, CString&& strText)
{
    if (nRow >= m_nKeepWritesFrom)
        m_sheet.RowToBeWritten(nRow);
    const bool bKept = IsKeptInStep();
    const bool bFigures = IsFiguresInStep();
    if (nRow > m_rows.GetUpperBound()) {
        m_rows.InsertAt(nRow, std::make_unique<CGridRow>());
        m_rows.GetRow(nRow)->SetIndent(nCol, 0);
        // The used rows reach the new row; they never shrink here.
        m_sheet.GrowUsedRows(nRow + 1);
    }
    CGridRow* pRow = MakeRow(nRow);
    pRow->SetCell(nCol, std::move(strText));
    if (m_nUsedRows <= nRow)
        m_sheet.GrowUsedRows(nRow + 1);
    // A discount total finds its heading by the heading's name in its label.
    const ERowKind nKind = pRow->GetKind();
    const bool bMovesRanges =
        (IsSectionStartKind(nKind) || IsDiscountTotalKind(nKind)) && nCol == m_columns.FindNameColumn();
    m_kept.NoteCellChange(bKept, m_rows.GetChangeCount(), nRow, bMovesRanges);
    NoteFigureChange(bFigures, nRow);
    if (bMovesRanges)
        NoteRangesMoved();
    return 1;
}

void CEstimateEngine::SetRowKind(ERowKind nKind, int nRow)
{
    if (!IsValidRow(nRow))
        return;
    if (nRow >= m_nKeepWritesFrom)
        m_sheet.RowToBeWritten(nRow);
    const bool bKept = IsKeptInStep();
    const bool bFigures = IsFiguresInStep();
    CGridRow* pRow = MakeRow(nRow);
    const ERowKind nOldKind = pRow->GetKind();
    pRow->SetKind(nKind);
    m_kept.NoteKindChange(bKept, m_rows.GetChangeCount(), nRow, nOldKind, nKind);
    NoteFigureChange(bFigures, nRow);
    // A heading or a total come or gone: the totals below may add other rows, or none.
    auto isRangeKind = [](ERowKind k) {
        return IsSectionStartKind(k) || IsTotalKind(k) || IsDiscountTotalKind(k);
    };
    if (nOldKind != nKind && (isRangeKind(nOldKind) || isRangeKind(nKind)))
        NoteRangesMoved();
}

// ---------------------------------------------------------------------------------------
// Stored numbers

void CEstimateEngine::NormalizeNumberText(int nCol, CString& strResult, const char* lpszText) const
{
    if (!IsValidColumn(nCol))
        return;
    const CColumnInfo& info = m_columns.Get(nCol);
    if (info.strAttribute.IsEmpty() || info.strAttribute == "文字"_sj) {
        strResult = lpszText;
    } else if (info.bNumeric) {
        CDecimal value;
        if (CNumberRules::ReadTypedNumber(lpszText, value))
            strResult = CNumberRules::FormatNormal(value);
        else
            strResult = lpszText;
    }
}

bool CEstimateEngine::ShownNumberText(const CString& strCell, const CColumnInfo& info, CString& strShown)
{
    if (!info.bNumeric || !CNumberRules::IsNumberText(strCell))
        return false;
    CDecimal value = CNumberRules::ReadNumberText(strCell);
    if (value.IsBelowPowerOfTen(-8))
        value = CDecimal();
    strShown = CNumberRules::FormatByPicture(value, info.picture, TRUE);
    return true;
}

CString CEstimateEngine::StoredNumberText(int nCol, CDecimal value, bool bRoundBySpec) const
{
    const CColumnInfo& info = m_columns.Get(nCol);
    value.Round(-6, CDecimal::roundHalfUp); // the value of its normal form
    if (bRoundBySpec)
        CNumberRules::RoundBySpec(value, info.spec);
    value.Round(-info.picture.nDecimals, CDecimal::roundHalfUp);
    return CNumberRules::FormatNormal(value);
}

void CEstimateEngine::StoreNumber(int nRow, int nCol, const CDecimal& value)
{
    m_strEditStartText.Empty();
    if (!IsValidRow(nRow) || !IsValidColumn(nCol))
        return;
    if (m_columns.Get(nCol).bNumeric)
        StoreCell(nRow, nCol, StoredNumberText(nCol, value, EditKind(nRow) != kindFree));
    else
        StoreCell(nRow, nCol, CNumberRules::FormatNormal(value));
}

void CEstimateEngine::StoreNumber(int nRow, int nCol, double value, bool bSpecAlways)
{
    CGridRow* pRow = m_rows.GetRow(nRow);
    if (!m_bNumbersThroughTexts && pRow != nullptr && IsValidRow(nRow) && IsValidColumn(nCol) &&
        StoreWholeNumber(*pRow, nRow, nCol, m_columns.Get(nCol), value, bSpecAlways))
        return;
    CDecimal number = CDecimal::FromDouble(value);
    if (bSpecAlways && IsValidColumn(nCol)) {
        number.Round(-6, CDecimal::roundHalfUp);
        CNumberRules::RoundBySpec(number, m_columns.Get(nCol).spec);
    }
    StoreNumber(nRow, nCol, number);
}

bool CEstimateEngine::StoreWholeNumber(CGridRow& row, int nRow, int nCol, const CColumnInfo& info,
                                       double value, bool bSpecAlways, double* pStored)
{
    // A numeric column rounds by its rounding rule (not on a free row) and its picture's
    // decimals; any other column keeps the normal form's six. Rounding by the
    // rounding rule twice changes nothing.
    static const CNumberRules::CRoundSpec noRounding;
    const bool bRoundBySpec = bSpecAlways || (info.bNumeric && row.GetKind() != kindFree);
    const int nDecimals = info.bNumeric ? info.picture.nDecimals : 6;
    double stored = 0.0;
    bool bSame = false;
    if (!NumberFormatting::FormatRoundedNormal(value, bRoundBySpec ? info.spec : noRounding, nDecimals,
                                               row.m_strCell[nCol].str(), m_strNumberText, stored, bSame))
        return false;
    m_strEditStartText.Empty();
    if (!bSame)
        StoreCell(nRow, nCol, CString(m_strNumberText));
    else if (m_nUsedRows <= nRow)
        StoreCell(nRow, nCol, CString(row.m_strCell[nCol]));
    if (m_bRememberInRows)
        row.RememberNumber(nCol, stored);
    if (pStored != nullptr)
        *pStored = stored;
    return true;
}

// ---------------------------------------------------------------------------------------
// Row formulas

bool CEstimateEngine::CalcCompiledFormula(CGridRow& row, int nRow, int nCol, const CColumnInfo& info,
                                          int nColumns)
{
    const std::vector<int>& refs = info.formula.GetReferences();
    const size_t nRefs = refs.size();
    double localValues[8];
    double* pValues = localValues;
    if (nRefs > std::size(localValues)) {
        m_formulaValues.resize(nRefs);
        pValues = m_formulaValues.data();
    }
    for (size_t i = 0; i < nRefs; ++i) {
        const int nRef = refs[i];
        if (nRef >= nColumns)
            return false;
        const size_t nAt = static_cast<size_t>(nRef);
        if (m_rowValueStamps[nAt] != m_nRowValueStamp) {
            const std::string& text = row.m_strCell[nRef].str();
            double value = 0.0;
            if (!CNumberRules::ReadPlainNumber(text.data(), text.data() + text.size(), value))
                value = std::numeric_limits<double>::quiet_NaN();
            m_rowValues[nAt] = value;
            m_rowValueStamps[nAt] = m_nRowValueStamp;
        }
        if (std::isnan(m_rowValues[nAt]))
            return false;
        pValues[i] = m_rowValues[nAt];
    }
    double result = 0.0;
    if (info.formula.EvaluateValues(pValues, result) != CRowFormula::EOutcome::number)
        return false;
    // The result rounded by the column's rounding rule, then stored: StoreNumber rounds by it
    // again (no change) and by the picture.
    const size_t nAt = static_cast<size_t>(nCol);
    if (StoreWholeNumber(row, nRow, nCol, info, result, true, &m_rowValues[nAt])) {
        m_rowValueStamps[nAt] = m_nRowValueStamp;
    } else {
        StoreNumber(nRow, nCol, result, true);
        m_rowValueStamps[nAt] = 0;
    }
    return true;
}

int CEstimateEngine::FormulaLacksNumbers(int nRow, const char* lpszFormula) const
{
    const CRowFormula formula{CString(lpszFormula)};
    return formula.LacksNumbers([&](int nCol) -> const CString& { return EditCell(nRow, nCol); }) ? 1 : 0;
}

void CEstimateEngine::CalcRowExcept(int nRow, int nFirstCol, const std::vector<int>& kept)
{
    if (!IsValidRow(nRow))
        return;
    CGridRow* pRow = m_rows.GetRow(nRow);
    const ERowKind nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
    if (IsHeadingKind(nKind) || IsSummaryKind(nKind))
        return;
    CEstimateColumns::CBatch batch(m_columns);
    StartRowValues();
    const unsigned long long nChanges = m_rows.GetChangeCount();
    const int nColumns = m_columns.GetLimit();
    for (int nCol : m_columns.GetFormulaColumns()) {
        if (nCol < nFirstCol || (!kept.empty() && std::binary_search(kept.begin(), kept.end(), nCol)))
            continue;
        CalcFormulaColumn(pRow, nRow, nCol, m_columns.Get(nCol), nColumns);
    }
    // A row whose figures came out otherwise is repainted: a recalculation works out rows
    // that no command wrote (a total whose heading went, an estimate just opened).
    if (m_rows.GetChangeCount() != nChanges)
        m_sheet.RowsWritten(nRow, nRow);
}

void CEstimateEngine::StartRowValues()
{
    if (++m_nRowValueStamp == 0) {
        m_rowValueStamps.fill(0);
        m_nRowValueStamp = 1;
    }
}

void CEstimateEngine::CalcFormulaColumn(CGridRow* pRow, int nRow, int nCol, const CColumnInfo& info, int nColumns)
{
    // A formula that names no column ("2*3") has no number of the row to work on: the
    // cell keeps what was typed into it, whichever way the formula would be worked out.
    if (info.formula.IsLeftAlone(CRowFormula::estimateRules))
        return;
    if (info.formula.IsCompiled() && !m_bNumbersThroughTexts && pRow != nullptr &&
        CalcCompiledFormula(*pRow, nRow, nCol, info, nColumns))
        return;
    // The way through the texts may change the cell: its number is read again.
    m_rowValueStamps[static_cast<size_t>(nCol)] = 0;
    double result = 0.0;
    const CRowFormula::EOutcome outcome =
        info.formula.Evaluate([&](int nRef) -> const CString& { return EditCell(nRow, nRef); },
                              CRowFormula::estimateRules, m_strExpression, result);
    if (outcome == CRowFormula::EOutcome::empty) {
        SetCellText("", nRow, nCol, TRUE);
    } else if (outcome == CRowFormula::EOutcome::number) {
        StoreNumber(nRow, nCol, CRowFormula::RoundedResult(result, info.spec));
    }
}

void CEstimateEngine::GetRowFormulas(CRowFormulas& formulas) const
{
    formulas.columns.clear();
    formulas.infos.clear();
    formulas.nColumns = m_columns.GetLimit();
    for (int nCol : m_columns.GetFormulaColumns()) {
        formulas.columns.push_back(nCol);
        formulas.infos.push_back(m_columns.Get(nCol));
    }
}

bool CEstimateEngine::CalcRowKeepingNumbers(int nRow, const CRowFormulas& formulas)
{
    CGridRow* pRow = m_rows.GetRow(nRow);
    const ERowKind nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
    if (!IsValidRow(nRow) || IsHeadingKind(nKind) || IsSummaryKind(nKind))
        return false;
    StartRowValues();
    const unsigned long long nChanges = m_rows.GetChangeCount();
    {
        const CScopedValue<bool> leaveRowsNumbers(m_bRememberInRows, false);
        for (size_t i = 0; i < formulas.columns.size(); ++i)
            CalcFormulaColumn(pRow, nRow, formulas.columns[i], formulas.infos[i], formulas.nColumns);
    }
    if (m_rows.GetChangeCount() != nChanges)
        m_sheet.RowsWritten(nRow, nRow);
    return true;
}

void CEstimateEngine::CalcRows(int nFirstRow)
{
    CEstimateColumns::CBatch batch(m_columns);
    const int nLastCell = m_columns.GetLimit() - 1;
    for (int r = std::max(0, nFirstRow); r < m_nUsedRows; ++r) {
        PrefetchRow(r + ROW_PREFETCH_DISTANCE, 0, nLastCell);
        CalcRow(r, 0);
    }
}

void CEstimateEngine::CalcRowsFirst()
{
    m_bCalcRowsInWalk = false;
    CalcRows(0);
}
