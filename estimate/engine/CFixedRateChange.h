// CFixedRateChange: one calculation appended to the numbers of a column ("*1.2" makes every
// price 20 % dearer), in the rows that meet up to two conditions. A condition compares the
// row's cell in its column (the left operand) with a value: as numbers in a numeric column,
// else as texts in byte order. The change itself writes nothing: it says what a cell's new
// text is, and the caller stores it, so that the cell store's rounding and the undo record
// stay where they are.
#pragma once

#include "platform/base/CString.h"

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

    // Whether an order (left operand against right: < 0, 0, > 0) holds the relation.
    static bool HoldsRelation(int nOrder, int nRelation);
    // Whether the engine's row nRow meets the condition.
    static bool Matches(const CEstimateEngine& engine, int nRow, const CCondition& condition);

    CFixedRateChange(const CEstimateEngine& engine, const CString& strFormula, const CCondition& condition)
        : m_engine(engine), m_strFormula(strFormula), m_condition(condition)
    {
    }
    // The new text of cell (nRow, nCol): its number with the formula appended, worked out.
    // false, leaving strNew alone, where the cell holds no number, the row does not meet
    // the condition, or the calculation leaves no number (a division by zero, a formula
    // that is not arithmetic): the cell keeps its number rather than being blanked.
    bool NewText(int nRow, int nCol, CString& strNew) const;

private:
    const CEstimateEngine& m_engine;
    CString m_strFormula;
    CCondition m_condition;
};
