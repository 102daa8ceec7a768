// CFixedRateChange: one calculation appended to the numbers of a column ("*1.2" makes every
// price 20 % dearer), in the rows that meet up to two conditions. A condition compares the
// row's cell in its column (the left operand) with a value: as numbers in a numeric column
// when the value is a number as typing reads one ("１０", "1,000"; the cell read as the
// totals read it), else as texts in byte order. The change itself writes nothing: it says what a cell's new
// text is, and the caller stores it, so that the cell store's rounding and the undo record
// stay where they are. Both grids use it (IGridCells); where they differ, CRules says so.
#pragma once

#include "engine/estimate/IGridCells.h"
#include "platform/base/CString.h"

#include <optional>

class CEstimateEngine;

class CFixedRateChange {
public:
    // The settings besides the formula: two conditions (column, relation, value) and how
    // they are joined. Relations: 0 less than, 1 less than or equal, 2 equal, 3 not equal,
    // 4 greater than or equal, 5 greater than, any other holds; a condition with an empty
    // value always holds, and one without a valid column compares an empty cell.
    // Conjunction 0 or, 1 and, any other: no row meets it.
    struct CCondition {
        int nCol1 = -1;
        int nRelation1 = -1;
        CString strValue1;
        int nCol2 = -1;
        int nRelation2 = -1;
        CString strValue2;
        int nConjunction = 1;
    };
    // Where the grids differ. The estimate changes the cells that hold a number; the parts
    // list changes an empty cell of the rows too, to what the formula alone works out to
    // ("+100" makes 100).
    struct CRules {
        bool bEmptyCells = false;
    };
    static constexpr CRules estimateRules{false};
    static constexpr CRules partsRules{true};

    // The calculation as typed: one operator ("+ - * /", or "＋ － ＊ ／ × ÷") and the rate, a
    // number typed as a number cell reads it ("*１．１", "×1.1", "+1,000円"). Sets strFormula
    // to the operator and the number in ASCII ("*1.1", "+1000"); false for any other text
    // ("*1e3", "1.1" without an operator, the empty text), leaving strFormula alone.
    static bool ReadFormula(const CString& strTyped, CString& strFormula);
    // Whether an order (left operand against right: < 0, 0, > 0) holds the relation.
    static bool HoldsRelation(int nOrder, int nRelation);
    // Whether row nRow meets the condition.
    static bool Matches(const IGridCells& cells, int nRow, const CCondition& condition);
    static bool Matches(const CEstimateEngine& engine, int nRow, const CCondition& condition);

    CFixedRateChange(const IGridCells& cells, const CString& strFormula, const CCondition& condition,
                     const CRules& rules)
        : m_cells(cells), m_strFormula(strFormula), m_condition(condition), m_rules(rules)
    {
    }
    // Over the estimate's edit page, by its rules.
    CFixedRateChange(const CEstimateEngine& engine, const CString& strFormula, const CCondition& condition)
        : m_engineCells(std::in_place, engine), m_cells(*m_engineCells), m_strFormula(strFormula),
          m_condition(condition), m_rules(estimateRules)
    {
    }
    CFixedRateChange(const CFixedRateChange&) = delete;
    CFixedRateChange& operator=(const CFixedRateChange&) = delete;

    // The new text of cell (nRow, nCol): its number with the formula appended, worked out.
    // false, leaving strNew alone, where the cell holds no number (nor is an empty cell the
    // rules change), the row does not meet the condition, or the calculation leaves no
    // number (a formula that is not arithmetic): the cell keeps what it holds rather than
    // being blanked.
    bool NewText(int nRow, int nCol, CString& strNew) const;

private:
    std::optional<CEngineCells> m_engineCells; // when made over an engine
    const IGridCells& m_cells;
    CString m_strFormula;
    CCondition m_condition;
    CRules m_rules;
};
