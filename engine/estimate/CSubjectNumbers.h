// CSubjectNumbers: the subject numbers of an estimate's headings ("1.", "1.A.", "1.A.2."),
// which count the kind, large, middle and small headings above each row: a kind heading
// starts its large headings again from one, a large heading its middle and small ones, a
// middle heading its small ones.
//
// The grid, the printed page and the CSV file ask for the numbers of the same rows, so one
// walk serves them all: the counts are taken in one pass over the rows and kept, row by
// row, until a row's kind or the rows' order changes. The grid paints any rows it likes,
// printing and the file go through them in order; either way each row costs one look once
// the counts are taken, instead of a walk from row 0 for every row asked about.
#pragma once

#include "engine/estimate/RowKinds.h"
#include "platform/base/CString.h"

#include <array>
#include <vector>

class CGridRowArray;

// How the numbers are shown: whether at all, in which column, the style of each level
// (0 letters, 1 two digits, 2 numbers, 3 none) and whether the levels are joined.
struct CSubjectNumbering {
    int nShown = 0; // 1: subject numbers are shown
    int nColumn = 1;
    int nKindStyle = 2;
    int nLargeStyle = 0;
    int nMiddleStyle = 2;
    int nSmallStyle = 1;
    int nMode = 1; // 1: all levels joined; otherwise the deepest level only
};

class CSubjectNumbers {
public:
    // The headings counted above a row, by level: kind, large, middle, small.
    using CCounts = std::array<int, 4>;

    // The counts after a row of nKind: its own level goes up by one, the levels below it
    // start again.
    static void Count(CCounts& counts, ERowKind nKind);
    // The number of a row of nKind with the counts of the headings above it; "" for a row
    // that is no heading.
    static CString Text(const CSubjectNumbering& numbering, const CCounts& above, ERowKind nKind);
    // The number text of the given counts (a count of 0 or less leaves its level out): in
    // mode 1 every level's number joined, in any other mode the deepest one's alone.
    static void Format(const CSubjectNumbering& numbering, int nMode, CString& strText,
                       const CCounts& counts);

    // The number of nRow in column nCol of rows; "" unless the numbers are shown in nCol and
    // nRow is one of the first nRowLimit rows.
    CString GetText(const CGridRowArray& rows, int nRowLimit, const CSubjectNumbering& numbering, int nRow,
                    int nCol) const;
    // Trusts the counts taken of rows from now on for as long as rows is the store asked
    // about: its rows stay as they are now (a print job's copy of its own), though the store
    // counts no changes. The counts taken before are forgotten.
    void KeepWhileUnchanged(const CGridRowArray& rows)
    {
        m_pUnchanging = &rows;
        m_kept.pRows = nullptr;
    }

private:
    // The counts above each row taken so far (entry r: above row r), and what they were
    // taken from: the store and the changes of kinds and places it had counted.
    struct CKept {
        std::vector<CCounts> above;
        const CGridRowArray* pRows = nullptr;
        unsigned long long nChanges = 0;
    };
    // The counts kept for rows, made afresh when they may have changed.
    CKept& KeptFor(const CGridRowArray& rows) const;

    mutable CKept m_kept;
    const CGridRowArray* m_pUnchanging = nullptr;
};
