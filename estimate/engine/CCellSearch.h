// CCellSearch: the find over a page of the estimate's cells. From a starting cell it looks
// at the cells after it (or before it, going up) row by row, left to right within a row,
// never at the starting cell itself and never wrapping round; with "selection only" it
// keeps within a block. A cell matches when the find text occurs in it: case folded for
// ASCII letters unless the case must match, and, as a whole word, only between half-width
// blanks or the text's ends. Texts are code page 932, so a match never starts on the trail
// byte of a double-byte character.
//
// It holds the page's rows by reference: make one for a search and let it go with it.
#pragma once

#include "estimate/engine/CGridRowArray.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"

class CCellSearch {
public:
    struct COptions {
        bool bWholeWord = false;
        bool bMatchCase = false;
        bool bUp = false;
        bool bSelectionOnly = false;
    };
    // A match: the cell and the byte position of the find text in its text.
    struct CMatch {
        int nCol = -1;
        int nRow = -1;
        int nPosition = -1;
    };

    // The byte position where the find text stands in the cell text, or -1; an empty find
    // text matches nothing (it would stop at every cell).
    static int FindInText(const CString& strCell, const CString& strFind, bool bWholeWord, bool bMatchCase);

    // The rows of one page (nUsedRows of them in use, nRowLimit the grid's rows) with the
    // grid's column count.
    CCellSearch(const CGridRowArray& rows, int nUsedRows, int nRowLimit, int nColumns)
        : m_rows(rows), m_nUsedRows(nUsedRows), m_nRowLimit(nRowLimit), m_nColumns(nColumns)
    {
    }
    // The first match after (nFromCol, nFromRow), within rcBlock (ordered, left <= right,
    // top <= bottom) when the options keep to the selection; nPosition -1 when none.
    CMatch Search(const CString& strFind, const COptions& options, int nFromCol, int nFromRow,
                  const CRect& rcBlock) const;

private:
    const CString& Cell(int nRow, int nCol) const;

    const CGridRowArray& m_rows;
    int m_nUsedRows;
    int m_nRowLimit;
    int m_nColumns;
};
