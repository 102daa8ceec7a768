// CEstimateColumns: what the estimation form says about each column of an estimate, taken
// apart once and kept until the form's texts for the column change: whether the column is
// numeric or computed, how it takes part in the totals, its rounding rule, number picture
// and formula (CRowFormula: its references, the texts between them and, where it can be,
// the formula compiled).
//
// Columns are checked against the form lazily: outside a batch every look compares the
// column's six texts with the form's; within a batch (CBatch, which the recalculation and
// other loops over many cells hold) a column checked in the batch is trusted, so the per-cell
// cost is one generation compare. Whether a column is numeric or computed follows from its
// attribute alone (IsNumeric, IsFormula, GetFormulaColumns), so those questions compare that
// one text: a row's recalculation asks them of every column and needs the other texts only of
// the columns it computes. The form must not change while a batch lives; the builds with
// checks compare the texts again at every trusted look and report a change. The form's texts
// come from the sheet (IEstimateSheet); the column count is the grid's, read where the grid
// keeps it.
#pragma once

#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/CRowFormula.h"
#include "engine/estimate/IEstimateSheet.h"
#include "platform/base/CString.h"
#include "platform/base/Check.h"

#include <string>
#include <vector>

class CEstimateColumns {
public:
    enum { MAX_COLUMNS = 100 };

    // How a column takes part in the totals, by its attribute.
    enum class ETotalMode {
        none,
        leafRows,  // "計 A" or "数値": the leaf rows are added up
        subtotals, // "計 B": the heading and discount totals are added up
        byFormula  // "計 C": a total row works it out with the column's formula
    };

    struct CColumnInfo {
        unsigned nGeneration = 0;          // the batch generation all six texts were checked in
        unsigned nAttributeGeneration = 0; // the one the attribute alone was checked in
        bool bValid = false;
        CString strAttribute, strPicture, strFormula, strRounding, strT, strV;
        bool bNumeric = false;        // "数値" or containing "計"
        bool bFormula = false;        // containing "計": computed by the formula
        bool bTotalByFormula = false; // containing "計 C"
        ETotalMode eTotalMode = ETotalMode::none;
        CNumberRules::CRoundSpec spec;
        CNumberRules::CPicture picture;
        CRowFormula formula;
    };

    // Keeps the information of every column trusted while it lives; the first scope
    // re-checks every column once.
    class CBatch {
    public:
        explicit CBatch(const CEstimateColumns& columns) : m_columns(columns)
        {
            if (m_columns.m_nBatchDepth++ == 0)
                ++m_columns.m_nGeneration;
        }
        ~CBatch() { --m_columns.m_nBatchDepth; }
        CBatch(const CBatch&) = delete;
        CBatch& operator=(const CBatch&) = delete;

    private:
        const CEstimateColumns& m_columns;
    };

    // The form's texts from the sheet (an estimate's, or a parts list's form); nColumnCount
    // is the grid's column count.
    CEstimateColumns(const IColumnTexts& sheet, const int& nColumnCount);
    CEstimateColumns(const CEstimateColumns&) = delete;
    CEstimateColumns& operator=(const CEstimateColumns&) = delete;

    // The column count, at most 100.
    int GetLimit() const
    {
        return m_nColumnCount < 0
                   ? 0
                   : (m_nColumnCount > MAX_COLUMNS ? static_cast<int>(MAX_COLUMNS) : m_nColumnCount);
    }
    bool IsValid(int nCol) const { return nCol >= 0 && nCol < GetLimit(); }

    // A column's information (an empty one outside the columns). Within a batch a column
    // checked in the batch's generation is returned at once.
    const CColumnInfo& Get(int nCol) const
    {
        if (m_nBatchDepth > 0 && nCol >= 0 && static_cast<size_t>(nCol) < m_info.size() &&
            nCol < m_nColumnCount) {
            const CColumnInfo& info = m_info[static_cast<size_t>(nCol)];
            if (info.bValid && info.nGeneration == m_nGeneration) {
                MORVEL_CHECK(MatchesSheet(nCol, info, false), "the form stays as it is while a batch lives");
                return info;
            }
        }
        return GetChecked(nCol);
    }
    // Whether a column is numeric ("数値" or "計") or computed by its formula ("計"): the
    // attribute alone is compared with the form's (within a batch, once).
    bool IsNumeric(int nCol) const { return GetByAttribute(nCol).bNumeric; }
    bool IsFormula(int nCol) const { return GetByAttribute(nCol).bFormula; }
    // The formula columns ("計") in column order; within one batch generation built once,
    // from every column's attribute (the other texts are checked as the columns are asked
    // for).
    const std::vector<int>& GetFormulaColumns() const
    {
        if (m_nBatchDepth == 0 || m_nFormulaColumnsGeneration != m_nGeneration)
            BuildFormulaColumns();
        else
            MORVEL_CHECK(FormulaColumnsMatchSheet(), "the form stays as it is while a batch lives");
        return m_formulaColumns;
    }

    // The first column whose text (textT or textV) is exactly lpszValue, or -1.
    int FindFirst(IEstimateSheet::EColumnText eText, const char* lpszValue) const;
    // The last column whose code matches (0 when none): code "T" with key "5" also matches
    // "T" code "2", key "6" also "2"; code "U" matches the "V" code.
    int Find(const char* lpszKey, const char* lpszCode) const;
    // The name column (as Find("6", "T")); within one batch generation looked up once.
    int FindNameColumn() const
    {
        if (m_nBatchDepth == 0 || m_nNameColumnGeneration != m_nGeneration) {
            m_nNameColumn = Find("6", "T");
            m_nNameColumnGeneration = m_nGeneration;
        }
        return m_nNameColumn;
    }
    int FindClassifyNameColumn() const { return Find("5", "T"); }
    // The amount column (the first whose "V" code is "2"), or -1.
    int FindAmountColumn() const { return FindFirst(IEstimateSheet::textV, "2"); }

    // The texts of every column the computation reads, joined: two estimates whose rules
    // are equal compute alike (the kept totals stay valid while these do not change).
    std::string GetRulesText() const;

private:
    const CColumnInfo& GetChecked(int nCol) const;
    // A column's information of which only what follows from the attribute is sure to be
    // current (bNumeric, bFormula).
    const CColumnInfo& GetByAttribute(int nCol) const
    {
        if (m_nBatchDepth > 0 && nCol >= 0 && static_cast<size_t>(nCol) < m_info.size() &&
            nCol < m_nColumnCount) {
            const CColumnInfo& info = m_info[static_cast<size_t>(nCol)];
            if (info.bValid &&
                (info.nGeneration == m_nGeneration || info.nAttributeGeneration == m_nGeneration)) {
                MORVEL_CHECK(MatchesSheet(nCol, info, true), "the form stays as it is while a batch lives");
                return info;
            }
        }
        return GetAttributeChecked(nCol);
    }
    const CColumnInfo& GetAttributeChecked(int nCol) const;
    // Whether the texts a column's information came from are the form's (only the attribute,
    // or all six).
    bool MatchesSheet(int nCol, const CColumnInfo& info, bool bAttributeOnly) const;
    void Build(CColumnInfo& info, const CString* const texts[IColumnTexts::COLUMN_TEXTS]) const;
    void BuildFormulaColumns() const;
    bool FormulaColumnsMatchSheet() const;

    const IColumnTexts& m_sheet;
    const int& m_nColumnCount;
    mutable std::vector<CColumnInfo> m_info;
    mutable int m_nBatchDepth = 0;
    mutable unsigned m_nGeneration = 1;
    mutable std::vector<int> m_formulaColumns;
    mutable unsigned m_nFormulaColumnsGeneration = 0;
    mutable int m_nNameColumn = 0;
    mutable unsigned m_nNameColumnGeneration = 0;
};
