// CCellSearch: the find over the cells of a grid (a page of an estimate, a parts list). From a
// starting cell it looks at the cells after it (or before it, going up) row by row, left to
// right within a row, never at the starting cell itself and never wrapping round; with
// "selection only" it keeps within a block. A cell matches when the find text occurs in it:
// case folded for ASCII letters unless the case must match, and, as a whole word, only
// between half-width blanks or the text's ends. Texts are code page 932, so a match never
// starts on the trail byte of a double-byte character.
//
// A number cell is searched as the user sees it, not as it is stored ("1250.500000"): the
// find text matches the whole cell when it is the number itself written plainly ("1250.5",
// "1250.50"), or else occurs in the text the grid shows ("1,250.50") or in that text without
// its separators ("1250.50"). The match says which of those texts it stands in, so that a
// replacement is made in the text the user found it in.
//
// The grid hands the search its cells through a reader: make one for a search and let it go
// with it.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <functional>
#include <utility>

class CCellSearch {
public:
    struct COptions {
        bool bWholeWord = false;
        bool bMatchCase = false;
        bool bUp = false;
        bool bSelectionOnly = false;
    };
    // A cell as the grid holds and shows it. A number cell is a number text in a column that
    // draws it by its number picture; strShown is what the grid draws for it (empty for a
    // text cell).
    struct CCellText {
        CString strText;
        bool bNumber = false;
        CString strShown;
    };
    using CellReader = std::function<CCellText(int nRow, int nCol)>;

    // Where the find text stands in a cell: the byte position and length of the matched part
    // of strIn, the text of the cell it was found in (a text cell's text, a number cell's
    // shown text or that text without separators).
    struct CTextMatch {
        int nPosition = -1;
        int nLength = 0;
        CString strIn;

        bool IsFound() const { return nPosition >= 0; }
        // strIn with the matched part replaced: the cell's new text.
        CString Replaced(const CString& strReplacement) const
        {
            return strIn.Left(nPosition) + strReplacement + strIn.Mid(nPosition + nLength);
        }
    };
    // A match and its cell.
    struct CMatch : CTextMatch {
        CMatch() = default;
        CMatch(const CTextMatch& match, int nAtCol, int nAtRow)
            : CTextMatch(match), nCol(nAtCol), nRow(nAtRow)
        {
        }
        int nCol = -1;
        int nRow = -1;
    };

    // The byte position where the find text stands in a text, or -1; an empty find text
    // matches nothing (it would stop at every cell).
    static int FindInText(const CString& strText, const CString& strFind, bool bWholeWord, bool bMatchCase);
    // Where the find text stands in a cell, as the user sees the cell (above).
    static CTextMatch MatchCell(const CCellText& cell, const CString& strFind, bool bWholeWord,
                                bool bMatchCase);

    // The cells of a grid (nUsedRows of them in use, nRowLimit the grid's rows) with the
    // grid's column count; read is asked only for cells inside them.
    CCellSearch(CellReader read, int nUsedRows, int nRowLimit, int nColumns)
        : m_read(std::move(read)), m_nUsedRows(nUsedRows), m_nRowLimit(nRowLimit), m_nColumns(nColumns)
    {
    }
    // The first match after (nFromCol, nFromRow), within rcBlock (ordered, left <= right,
    // top <= bottom) when the options keep to the selection; not found when none.
    CMatch Search(const CString& strFind, const COptions& options, int nFromCol, int nFromRow,
                  const CRect& rcBlock) const;

private:
    CellReader m_read;
    int m_nUsedRows;
    int m_nRowLimit;
    int m_nColumns;
};
