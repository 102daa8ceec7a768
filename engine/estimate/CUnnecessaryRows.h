// CUnnecessaryRows: the rows of an estimate that can go because a number in them is zero:
// details whose quantity, amount or both read as zero. Two scanners choose the rows looked
// at: the standard one takes empty and detail rows whose unit cell is filled, the manual one
// (for estimates whose details are typed by hand, without units) every detail row. Headings,
// totals and non-calculated rows are never candidates.
//
// The quantity column is the one whose "T" code is "3", the amount column the one whose "V"
// code is "2", each found as every part of the program finds them (the last column with the
// code); a form without such a column has nothing to be zero, so no row is unnecessary by
// that column. It reads the engine's rows as they stand and holds the engine by reference.
#pragma once

class CEstimateEngine;

class CUnnecessaryRows {
public:
    // What must be zero (the numbers the deletion dialog sends).
    enum ECondition : int { conditionQuantityZero = 1, conditionAmountZero = 2, conditionBothZero = 3 };
    enum class EScan { standard, manual };

    CUnnecessaryRows(const CEstimateEngine& engine, EScan eScan);

    // Whether the row's numbers meet the condition (any other condition: false). A number
    // is zero when its text reads as a number strictly between -1e-10 and 1e-10 (an empty
    // text reads as 0).
    bool IsUnnecessaryRow(int nCondition, int nRow) const;
    // Whether the scanner looks at the row at all.
    bool IsCandidate(int nRow) const;
    // The first candidate row from nFromRow to the last used row that meets the condition;
    // -1 when none.
    int FindNext(int nCondition, int nFromRow) const;

private:
    bool IsZero(int nRow, int nCol) const;

    const CEstimateEngine& m_engine;
    EScan m_eScan;
    int m_nQuantityCol;
    int m_nAmountCol;
    int m_nUnitCol;
};
