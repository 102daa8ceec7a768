// CPrintRowSource: the rows a print job reads of an estimate: one page's rows (the edit page,
// or the summary page while it is shown), how many of them print (what the pages are
// counted by) and the grid's limits. The job holds it from its page count to its last page.
//
// It reads the page where it stands, or a copy of its own (CopyLeavingOut): printing
// without zero rows leaves rows out of its copy and never touches the estimate, so every
// window on the estimate goes on showing the estimate's own rows and used rows while the
// job prints, and the copy stays as it was taken whatever is done to the estimate meanwhile.
// A row or column outside the limits, and a row index without a row object, read as an
// empty row of kind kindEmpty, as the grid reads them.
#pragma once

#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CSubjectNumbers.h"
#include "platform/base/CString.h"

class CPrintRowSource {
public:
    // Reads rows (held by reference: the estimate keeps them for as long as the job) and
    // prints the first nRowCount of them.
    CPrintRowSource(const CGridRowArray& rows, int nRowCount, int nRowLimit, int nColumnLimit)
        : m_page(rows), m_pRows(&rows), m_nPageRowCount(nRowCount), m_nRowCount(nRowCount),
          m_nRowLimit(nRowLimit), m_nColumnLimit(nColumnLimit)
    {
    }
    CPrintRowSource(const CPrintRowSource&) = delete;
    CPrintRowSource& operator=(const CPrintRowSource&) = delete;

    // From now on reads a copy of the estimate's rows (a null entry stays null), without
    // every row among the rows printed that bLeaveOut(nRow) picks; a copy taken before is
    // replaced. bLeaveOut is asked of the estimate's rows, each row once; the rows below a
    // row left out move up, and the copy keeps the length of the estimate's rows with an
    // empty entry at its end for each row left out. The rows printed are fewer by the rows
    // left out.
    template <class FLeaveOut>
    void CopyLeavingOut(const FLeaveOut& bLeaveOut)
    {
        const INT_PTR nSize = m_page.GetSize();
        m_pRows = &m_copy;
        m_copy.RemoveAll();
        m_copy.Reserve(nSize);
        int nLeftOut = 0;
        for (INT_PTR i = 0; i < nSize; ++i) {
            if (i < m_nPageRowCount && bLeaveOut(static_cast<int>(i))) {
                ++nLeftOut;
                continue;
            }
            const CGridRow* pRow = m_page.GetRow(i);
            m_copy.Add(pRow != nullptr ? std::make_unique<CGridRow>(*pRow) : nullptr);
        }
        for (int i = 0; i < nLeftOut; ++i)
            m_copy.Add(nullptr);
        m_nRowCount = m_nPageRowCount - nLeftOut;
        m_numbers.KeepWhileUnchanged(m_copy);
    }
    // Whether the rows read are a copy of the job's own.
    bool IsCopy() const { return m_pRows == &m_copy; }

    // The rows printed.
    int GetRowCount() const { return m_nRowCount; }
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
    // The subject number of a row read, counted over the rows read.
    CString GetSubjectNumberText(const CSubjectNumbering& numbering, int nRow, int nCol) const
    {
        return m_numbers.GetText(*m_pRows, m_nRowLimit, numbering, nRow, nCol);
    }

private:
    const CGridRow* Row(int nRow) const
    {
        return nRow >= 0 && nRow < m_nRowLimit ? m_pRows->GetRow(nRow) : nullptr;
    }
    bool IsColumn(int nCol) const { return nCol >= 0 && nCol < m_nColumnLimit; }

    const CGridRowArray& m_page;  // the estimate's rows
    const CGridRowArray* m_pRows; // the rows read: m_page, or m_copy
    CGridRowArray m_copy;
    int m_nPageRowCount; // the estimate's rows printed
    int m_nRowCount;     // the rows read that print
    int m_nRowLimit;
    int m_nColumnLimit;
    CSubjectNumbers m_numbers; // the numbers of the rows read
};
