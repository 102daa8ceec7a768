// CRangeSum: the range total's sum, a small calculator beside the estimate. Each add puts
// the cells of one column's block on top of what it holds (it is not reset first), and its
// text is the total in that column's number picture. A cell adds what its text reads as
// from its start, the way the C library's atof reads it, so a cell holding text adds 0.
#pragma once

#include "platform/base/CString.h"

class CEstimateEngine;

class CRangeSum {
public:
    // Adds the engine's cells of column nCol, rows nFirstRow to nLastRow (cut to the used
    // rows: the rows beyond hold nothing that counts), and formats the new total by the
    // column's picture. Nothing happens for a column outside the form.
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
