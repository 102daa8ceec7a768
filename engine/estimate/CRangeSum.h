// CRangeSum: the range total's sum, a small calculator beside a grid. Each add puts the
// cells of one column's block on top of what it holds (it is not reset first), and its text
// is the total in that column's number picture. Both grids use it (IGridCells). A cell adds
// the number it holds as every number cell reads one (CNumberRules::ReadTypedNumber): a
// word, "1e3" and "1abc56" among them, adds nothing.
#pragma once

#include "engine/estimate/IGridCells.h"
#include "platform/base/CString.h"

class CEstimateEngine;

class CRangeSum {
public:
    // Adds the cells of column nCol, rows nFirstRow to nLastRow (cut to the used rows: the
    // rows beyond hold nothing that counts), and formats the new total by the column's
    // picture. Nothing happens for a column outside the form.
    void Add(const IGridCells& cells, int nCol, int nFirstRow, int nLastRow);
    // The estimate engine's edit page.
    void Add(const CEstimateEngine& engine, int nCol, int nFirstRow, int nLastRow);
    // Back to no total.
    void Clear() { *this = CRangeSum(); }

    // Whether an add made a total since the last clear.
    bool IsPresent() const { return m_bPresent; }
    double GetTotal() const { return m_dTotal; }
    // The total as the last add's column shows it ("1,500").
    const CString& GetText() const { return m_strText; }

private:
    double m_dTotal = 0.0;
    bool m_bPresent = false;
    CString m_strText;
};
