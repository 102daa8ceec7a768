// CPrintRowSource: the rows a print job reads of an estimate, named explicitly: one page's
// row store (the edit page, or the summary page while it is shown) with the grid's limits.
// It reads the store's print copy while there is one (the copy without zero rows), else the
// store's working rows, whatever the store serves at the moment: what prints is decided by
// the job's source alone, and no switch of the stores is needed for the page to read the
// copy. A row or column outside the limits, and a row index without a row object, read as
// an empty row of kind 0, as the grid reads them.
//
// It holds the store by reference: the estimate's view makes one for each read, and it
// lives no longer than that read.
#pragma once

#include "estimate/engine/CGridRow.h"
#include "estimate/engine/CGridRowArray.h"
#include "platform/base/CString.h"

class CPrintRowSource {
public:
    CPrintRowSource(const CGridRowArray& rows, int nRowLimit, int nColumnLimit)
        : m_rows(rows), m_nRowLimit(nRowLimit), m_nColumnLimit(nColumnLimit)
    {
    }

    CString GetCellText(int nRow, int nCol) const
    {
        const CGridRow* pRow = IsColumn(nCol) ? Row(nRow) : nullptr;
        return pRow != nullptr ? pRow->GetCell(nCol) : CString();
    }
    ERowKind GetRowKind(int nRow) const
    {
        const CGridRow* pRow = Row(nRow);
        return pRow != nullptr ? pRow->GetKind() : kindEmpty;
    }
    int GetCellIndent(int nRow, int nCol) const
    {
        const CGridRow* pRow = IsColumn(nCol) ? Row(nRow) : nullptr;
        return pRow != nullptr ? pRow->GetIndent(nCol) : 0;
    }

private:
    const CGridRow* Row(int nRow) const
    {
        return nRow >= 0 && nRow < m_nRowLimit ? m_rows.GetPrintRow(nRow) : nullptr;
    }
    bool IsColumn(int nCol) const { return nCol >= 0 && nCol < m_nColumnLimit; }

    const CGridRowArray& m_rows;
    int m_nRowLimit;
    int m_nColumnLimit;
};
