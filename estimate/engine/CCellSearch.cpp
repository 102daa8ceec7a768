// The find over a page of cells.
#include "estimate/engine/CCellSearch.h"

#include "estimate/engine/CGridRow.h"

#include <algorithm>

int CCellSearch::FindInText(const CString& strCell, const CString& strFind, bool bWholeWord, bool bMatchCase)
{
    if (strFind.IsEmpty())
        return -1;
    CString text = strCell;
    CString find = strFind;
    if (!bMatchCase) {
        text.MakeUpper();
        find.MakeUpper();
    }
    const int nLength = text.GetLength();
    const int nFind = find.GetLength();
    int nStart = 0;
    while (nStart <= nLength) {
        const int p = text.Find(find, nStart);
        if (p < 0)
            return -1;
        if (!bWholeWord)
            return p;
        // A word stands between half-width blanks or the text's ends.
        const int nEnd = p + nFind;
        const bool bEndOk = nEnd >= nLength || text[nEnd] == ' ';
        const bool bStartOk = p == 0 || text[p - 1] == ' ';
        if (bStartOk && bEndOk)
            return p;
        nStart = nEnd;
    }
    return -1;
}

const CString& CCellSearch::Cell(int nRow, int nCol) const
{
    static const CString empty;
    if (nRow < 0 || nRow >= m_nRowLimit || nCol < 0 || nCol >= m_nColumns)
        return empty;
    const CGridRow* pRow = m_rows.GetRow(nRow);
    return pRow != nullptr ? pRow->m_strCell[nCol] : empty;
}

CCellSearch::CMatch CCellSearch::Search(const CString& strFind, const COptions& options, int nFromCol,
                                        int nFromRow, const CRect& rcBlock) const
{
    const bool bSelection = options.bSelectionOnly;
    const int nLastColumn = m_nColumns - 1;
    const int nFirstCol = bSelection ? std::max<int>(0, rcBlock.left) : 0;
    const int nLastCol = bSelection ? std::min<int>(nLastColumn, rcBlock.right) : nLastColumn;
    const int c0 = nFromCol, r0 = nFromRow;
    CMatch match;
    auto test = [&](int nRow, int nCol) {
        match.nPosition = FindInText(Cell(nRow, nCol), strFind, options.bWholeWord, options.bMatchCase);
        if (match.nPosition < 0)
            return false;
        match.nCol = nCol;
        match.nRow = nRow;
        return true;
    };
    // The starting row's cells after (or before) the starting cell are looked at when the
    // row lies in the block.
    const bool bStartRowInBlock = !bSelection || (r0 >= rcBlock.top && r0 <= rcBlock.bottom);
    if (!options.bUp) {
        const int nFirstRow = bSelection ? std::max<int>(r0 + 1, rcBlock.top) : r0 + 1;
        const int nLastRow = bSelection ? std::min<int>(m_nUsedRows, rcBlock.bottom) : m_nUsedRows;
        if (bStartRowInBlock) {
            for (int c = std::max(c0 + 1, nFirstCol); c <= nLastCol; ++c)
                if (test(r0, c))
                    return match;
        }
        for (int r = nFirstRow; r <= nLastRow && r < m_nRowLimit; ++r)
            for (int c = nFirstCol; c <= nLastCol; ++c)
                if (test(r, c))
                    return match;
        return CMatch();
    }
    const int nFirstRow = bSelection ? std::min<int>(r0 - 1, rcBlock.bottom) : r0 - 1;
    const int nLastRow = bSelection ? std::max<int>(0, rcBlock.top) : 0;
    if (bStartRowInBlock) {
        for (int c = std::min(c0 - 1, nLastCol); c >= nFirstCol; --c)
            if (test(r0, c))
                return match;
    }
    for (int r = std::min(nFirstRow, m_nRowLimit - 1); r >= nLastRow; --r)
        for (int c = nLastCol; c >= nFirstCol; --c)
            if (test(r, c))
                return match;
    return CMatch();
}
