// CHeadingSearch: where the subjects of an estimate lie on its edit page. A subject is a
// heading row (kind, large, middle or small) with the rows below it down to its total row,
// or, without a total, down to where the next heading of its level or above begins (the
// total row alone is the engine's FindTotalRow). The subject tree and a subject's cut and
// drag ask these questions, so the answers are worked out here, from the engine's rows
// alone.
//
// It reads the engine's rows as they stand and holds the engine by reference: make one
// where it is asked and let it go with the question.
#pragma once

#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"

#include <cstddef>
#include <vector>

class CHeadingSearch {
public:
    explicit CHeadingSearch(const CEstimateEngine& engine) : m_engine(engine) {}

    // The rows that belong to the heading at nRow, the heading included: its details and
    // lower headings down to its total row (or, without one, to where the next heading of
    // its level or above begins). Not a heading: the rows from nRow to the end of the
    // estimate. 0 outside the grid.
    int GetSubjectRowCount(int nRow) const;

    // A subject heading with the row of its total (-1 without one), its name (the name
    // column's text) and its total's amount (the amount column's text, empty without a
    // total). The texts are the rows' own, valid until the rows change.
    struct CHeadingRow {
        int nRow;
        ERowKind nKind;
        int nTotalRow;
        const CString* pName;
        const CString* pAmount;
    };
    // The subject headings in row order, at most nLimit of them; a heading's total is the
    // first row of its total kind below it before the next heading of its own kind. One
    // look at the kinds of all rows, from the kept totals' list while it holds them.
    void FindHeadingRows(std::vector<CHeadingRow>& headings, size_t nLimit, int nNameCol,
                         int nAmountCol) const;

private:
    const CEstimateEngine& m_engine;
};
