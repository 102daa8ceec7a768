// The find over a page of cells.
#include "engine/estimate/CCellSearch.h"

#include "engine/estimate/CDecimal.h"
#include "engine/estimate/CNumberRules.h"

#include <algorithm>

namespace {

// Whether a find text is a number cell's number written plainly: an optional sign, digits
// and at most one point (no blanks, no separators), of the cell's value.
bool IsTheNumber(const CString& strFind, const CString& strCell)
{
    double value = 0.0;
    const char* pFind = strFind.c_str();
    return CNumberRules::ReadPlainNumber(pFind, pFind + strFind.GetLength(), value) &&
           CDecimal::Parse(pFind) == CNumberRules::ReadNumberText(strCell);
}

} // namespace

int CCellSearch::FindInText(const CString& strText, const CString& strFind, bool bWholeWord, bool bMatchCase)
{
    if (strFind.IsEmpty())
        return -1;
    CString text = strText;
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

CCellSearch::CTextMatch CCellSearch::MatchCell(const CCellText& cell, const CString& strFind, bool bWholeWord,
                                               bool bMatchCase)
{
    CTextMatch match;
    const auto findIn = [&](const CString& strIn) {
        match.nPosition = FindInText(strIn, strFind, bWholeWord, bMatchCase);
        match.nLength = strFind.GetLength();
        match.strIn = strIn;
        return match.IsFound();
    };
    if (!cell.bNumber) {
        findIn(cell.strText);
        return match;
    }
    // The number itself stands for the whole cell, so that 128.5 replaced by 200 gives 200
    // where the cell shows 128.50.
    if (!strFind.IsEmpty() && IsTheNumber(strFind, cell.strText)) {
        match.nPosition = 0;
        match.nLength = cell.strShown.GetLength();
        match.strIn = cell.strShown;
        return match;
    }
    if (findIn(cell.strShown))
        return match;
    CString strPlain = cell.strShown;
    strPlain.Remove(',');
    if (strPlain != cell.strShown)
        findIn(strPlain);
    return match;
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
        if (nRow < 0 || nRow >= m_nRowLimit || nCol < 0 || nCol >= m_nColumns)
            return false;
        match = CMatch(MatchCell(m_read(nRow, nCol), strFind, options.bWholeWord, options.bMatchCase), nCol,
                       nRow);
        return match.IsFound();
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
