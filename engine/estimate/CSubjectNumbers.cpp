#include "engine/estimate/CSubjectNumbers.h"

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/RowKinds.h"

namespace {

// The level of a heading kind (0 kind, 1 large, 2 middle, 3 small), -1 for any other row.
int LevelOf(ERowKind nKind)
{
    switch (nKind) {
    case kindKind:
        return 0;
    case kindLarge:
        return 1;
    case kindMiddle:
        return 2;
    case kindSmall:
        return 3;
    default:
        return -1;
    }
}

ERowKind KindOfRow(const CGridRowArray& rows, int nRow)
{
    const CGridRow* pRow = rows.GetRow(nRow);
    return pRow != nullptr ? pRow->GetKind() : kindEmpty;
}

} // namespace

void CSubjectNumbers::Count(CCounts& counts, ERowKind nKind)
{
    const int nLevel = LevelOf(nKind);
    if (nLevel < 0)
        return;
    ++counts[static_cast<size_t>(nLevel)];
    for (size_t i = static_cast<size_t>(nLevel) + 1; i < counts.size(); ++i)
        counts[i] = 0;
}

CString CSubjectNumbers::Text(const CSubjectNumbering& numbering, const CCounts& above, ERowKind nKind)
{
    CString strText;
    const int nLevel = LevelOf(nKind);
    if (nLevel < 0)
        return strText;
    // The row's own level counts itself; the levels below it are not numbered.
    CCounts counts = above;
    ++counts[static_cast<size_t>(nLevel)];
    for (size_t i = static_cast<size_t>(nLevel) + 1; i < counts.size(); ++i)
        counts[i] = 0;
    Format(numbering, numbering.nMode, strText, counts);
    return strText;
}

void CSubjectNumbers::Format(const CSubjectNumbering& numbering, int nMode, CString& strText,
                             const CCounts& counts)
{
    const int styles[4] = {numbering.nKindStyle, numbering.nLargeStyle, numbering.nMiddleStyle,
                           numbering.nSmallStyle};
    strText.Empty();
    for (size_t i = 0; i < counts.size(); ++i) {
        const int n = counts[i];
        if (n <= 0)
            continue;
        CString strLevel;
        switch (styles[i]) {
        case 0:
            if (n <= 26) {
                strLevel.Format("%c.", 64 + n);
            } else if (n <= 26 * 27) {
                strLevel.Format("%c%c.", 64 + (n - 1) / 26, 65 + (n - 1) % 26); // AA .. ZZ
            } else {
                // Past ZZ no two letters are left; the number itself keeps the order.
                strLevel.Format("%d.", n);
            }
            break;
        case 1:
            strLevel.Format("%02d.", n);
            break;
        case 2:
            strLevel.Format("%d.", n);
            break;
        default:
            break;
        }
        if (nMode == 1)
            strText += strLevel;
        else
            strText = strLevel;
    }
}

CSubjectNumbers::CKept& CSubjectNumbers::KeptFor(const CGridRowArray& rows) const
{
    CKept& kept = m_kept;
    if (&rows == kept.pRows && &rows == m_pUnchanging)
        return kept;
    // A store that does not count its changes (the summary page's) could change unseen:
    // its counts are never trusted. The numbers follow from the kinds and their order
    // alone: cells written leave them.
    if (&rows != kept.pRows || !rows.CountsChanges() || rows.GetKindChangeCount() != kept.nChanges) {
        kept.above.assign(1, CCounts{});
        kept.pRows = &rows;
        kept.nChanges = rows.GetKindChangeCount();
    }
    return kept;
}

CString CSubjectNumbers::GetText(const CGridRowArray& rows, int nRowLimit, const CSubjectNumbering& numbering,
                                 int nRow, int nCol) const
{
    if (numbering.nShown == 0 || nCol != numbering.nColumn || nRow < 0 || nRow >= nRowLimit)
        return CString();
    const ERowKind nKind = KindOfRow(rows, nRow);
    if (LevelOf(nKind) < 0)
        return CString();
    // The counts are taken on from the last row taken as far as the row asked about.
    std::vector<CCounts>& above = KeptFor(rows).above;
    while (above.size() <= static_cast<size_t>(nRow)) {
        CCounts counts = above.back();
        Count(counts, KindOfRow(rows, static_cast<int>(above.size()) - 1));
        above.push_back(counts);
    }
    return Text(numbering, above[static_cast<size_t>(nRow)], nKind);
}
