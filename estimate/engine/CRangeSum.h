// CRangeSum: the range total's sum, a small calculator beside a grid. Each add puts the
// cells of one column's block on top of what it holds (it is not reset first), and its text
// is the total in that column's number picture. Both grids use it (IGridCells); how a cell
// reads as a number is where they differ (EReading).
#pragma once

#include "estimate/engine/IGridCells.h"
#include "platform/base/CString.h"

class CEstimateEngine;

class CRangeSum {
public:
    // How a cell adds. fromStart: what its text reads as from its start, the way the C
    // library's atof reads it, so that a cell holding text adds 0 (the estimate).
    // normalForm: in a numeric column a number text first takes its normal form (its
    // separators dropped: "1,250" adds 1250), then reads so (the parts list).
    enum class EReading { fromStart, normalForm };

    // Adds the cells of column nCol, rows nFirstRow to nLastRow (cut to the used rows: the
    // rows beyond hold nothing that counts), and formats the new total by the column's
    // picture. Nothing happens for a column outside the form.
    void Add(const IGridCells& cells, int nCol, int nFirstRow, int nLastRow, EReading eReading);
    // The estimate engine's edit page, read from the start of each text.
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
