// Estimate pages: moving from page to page, inserting and deleting pages, pushing the
// current row to the next page, and page alignment of headings.
//
// A page of the grid is a printed page: the row headers count the rows within their page.
// The page dialogs only collect a page number; the work with that number is done here.
#include "estimate/CMorvelEMView.h"
#include "estimate/engine/RowKinds.h"

#include <algorithm>
#include <utility>
#include <vector>

// The edit page's rows as the page alignment reads and changes them.
class CMorvelEMView::CAlignedEditRows {
public:
    explicit CAlignedEditRows(CMorvelEMView& view) : m_view(view) {}
    int Count() const { return m_view.GetUsedRows(); }
    ERowKind Kind(int nRow) const { return m_view.EditKind(nRow); }
    void Delete(int nRow) { m_view.DeleteRow(nRow); }
    void Insert(int nRow) { m_view.InsertRow(nRow); }

private:
    CMorvelEMView& m_view;
};

namespace {

// The kinds of the used rows, on which a change and its alignment are tried first.
class CRowKindList {
public:
    explicit CRowKindList(std::vector<int> kinds) : m_kinds(std::move(kinds)) {}
    int Count() const { return static_cast<int>(m_kinds.size()); }
    ERowKind Kind(int nRow) const
    {
        return nRow >= 0 && nRow < Count() ? KindFromNumber(m_kinds[static_cast<size_t>(nRow)]) : kindEmpty;
    }
    void Delete(int nRow)
    {
        if (nRow >= 0 && nRow < Count())
            m_kinds.erase(m_kinds.begin() + nRow);
    }
    void Insert(int nRow)
    {
        if (nRow > Count())
            m_kinds.resize(static_cast<size_t>(nRow), kindEmpty);
        m_kinds.insert(m_kinds.begin() + nRow, kindEmpty);
    }

private:
    std::vector<int> m_kinds;
};

// nRow starts a page: the empty rows before it on its page go (the page start is returned)
// or, when one of them is not empty, empty rows push it to the next page (its start).
template <class TRows>
int AlignRowToPage(TRows& rows, int nRow, int nPageRows)
{
    const int nStart = nRow / nPageRows * nPageRows;
    bool bEmptyBefore = true;
    for (int r = nStart; r < nRow && bEmptyBefore; ++r)
        bEmptyBefore = rows.Kind(r) == kindEmpty;
    if (bEmptyBefore) {
        for (int r = nStart; r < nRow; ++r)
            rows.Delete(nStart);
        return nStart;
    }
    const int nPad = nPageRows - nRow % nPageRows;
    for (int i = 0; i < nPad; ++i)
        rows.Insert(nRow);
    return nStart + nPageRows;
}

// nRow starts a page, and so does every later heading that follows an empty row. The last
// row aligned.
template <class TRows>
int AlignHeadings(TRows& rows, int nRow, int nPageRows)
{
    const int r = AlignRowToPage(rows, std::max(0, nRow), nPageRows);
    int nLast = r;
    for (int i = r + 1; i < rows.Count(); ++i) {
        if (IsHeadingKind(rows.Kind(i)) && rows.Kind(i - 1) == kindEmpty && i % nPageRows != 0) {
            i = AlignRowToPage(rows, i, nPageRows);
            nLast = i;
        }
    }
    return nLast;
}

} // namespace

int CMorvelEMView::GetLastPage() const
{
    return std::max(0, GetRowLimit() - 1) / GetPageRows();
}

// ---------------------------------------------------------------------------------------
// Moving

void CMorvelEMView::PressAtPoint(int x, int y)
{
    m_ptPrevCell = CPoint(m_nCurrentCol, m_nCurrentRow);
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));

    // The clicked column: widths are taken off from the first visible column on while
    // what is left stays at least 0, so hidden columns are passed over and a point on a
    // right edge belongs to the next column. A point in the row header maps to the first
    // visible column, one in the column header to the first visible row.
    int nCol = m_nFirstVisibleCol;
    int nRest = x - m_nRowHeaderWidth;
    if (nRest >= 0) {
        while (nCol < nColumns && nRest - m_nColumnWidth[nCol] >= 0) {
            nRest -= m_nColumnWidth[nCol];
            ++nCol;
        }
    }
    int nRow = m_nFirstVisibleRow;
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    if (y - m_nHeaderHeight >= 0)
        nRow += (y - m_nHeaderHeight) / nRowHeight;
    if (nCol >= nColumns || nRow >= GetRowLimit())
        return;

    // A press in the cells ends any selection and starts one at the clicked cell.
    m_nSelectMode = selectNone;
    m_rcSelection.SetRect(nCol, nRow, nCol, nRow);
    m_rcPrevSelection = m_rcSelection;
    m_nCurrentCol = nCol;
    m_nCurrentRow = nRow;
    if (m_hWnd != nullptr) {
        InvalidateCells(m_ptPrevCell.x, m_ptPrevCell.y, m_ptPrevCell.x, m_ptPrevCell.y);
        InvalidateCells(nCol, nRow, nCol, nRow);
    }
    UpdateStatusText(statusShow);
}

void CMorvelEMView::ShowPage(int nPage)
{
    // The vertical scroll handler with a thumb position makes the page's first row the
    // first visible row, closes the in-place editor and keeps the scroll bar in step.
    const int nFirst = std::clamp(std::max(0, nPage) * GetPageRows(), 0, std::max(0, GetRowLimit() - 1));
    OnVScroll(SB_THUMBTRACK, static_cast<UINT>(nFirst), nullptr);
    // Then the click 2 pixels inside the top-left visible cell, through the left-button
    // handler: what was typed is stored in the cell it was typed into before the cursor
    // moves, and the press ends as a click does.
    const CPoint pt(m_nRowHeaderWidth + 2, m_nHeaderHeight + 2);
    if (m_hWnd != nullptr) {
        OnLButtonDown(0, pt);
        OnLButtonUp(0, pt);
    } else {
        PressAtPoint(pt.x, pt.y);
    }
}

void CMorvelEMView::ClickCell(int nCol, int nRow)
{
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));
    if (nCol < 0 || nCol >= nColumns || nRow < 0 || nRow >= GetRowLimit())
        return;

    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int nRowHeight = m_nRowHeight > 0 ? m_nRowHeight : 1;
    const int nVisibleRows = std::max(0, static_cast<int>(rcGrid.Height()) - m_nHeaderHeight) / nRowHeight;
    bool bVisible =
        nRow >= m_nFirstVisibleRow && nRow < m_nFirstVisibleRow + nVisibleRows && nCol >= m_nFirstVisibleCol;
    if (bVisible) {
        CRect rcCell;
        GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
        bVisible = rcCell.right <= rcGrid.right;
    }
    if (!bVisible) {
        // Vertically to three rows above the cell; horizontally to the column before it.
        m_nFirstVisibleRow = std::max(0, nRow - 3);
        m_nVertOffset = m_nFirstVisibleRow * m_nRowHeight;
        int nPosition = 0;
        for (int c = 0; c < nCol - 1; ++c)
            nPosition += m_nColumnWidth[c];
        int nFirst = 0, nOffset = 0;
        while (nFirst < nColumns && nOffset + m_nColumnWidth[nFirst] <= nPosition)
            nOffset += m_nColumnWidth[nFirst++];
        m_nFirstVisibleCol = std::min(nFirst, nCol);
        m_nHorzOffset = 0;
        for (int c = 0; c < m_nFirstVisibleCol; ++c)
            m_nHorzOffset += m_nColumnWidth[c];
    }
    CRect rcCell;
    GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
    PressAtPoint(rcCell.left + 2, rcCell.top + 2);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CMorvelEMView::RefreshMarkRowHeads()
{
    if (m_hWnd != nullptr) {
        if (m_nMarkRowPrev >= 0)
            InvalidateRows(m_nMarkRowPrev, m_nMarkRowPrev);
        if (m_nMarkRow >= 0)
            InvalidateRows(m_nMarkRow, m_nMarkRow);
    }
    m_nMarkRowPrev = m_nMarkRow;
}

void CMorvelEMView::OnPrevPage()
{
    const int nPage = m_nFirstVisibleRow / GetPageRows();
    if (nPage == 0) {
        if (m_nFirstVisibleRow > 0)
            ShowPage(0);
        else
            PressAtPoint(m_nRowHeaderWidth + 2, m_nHeaderHeight + 2);
        return;
    }
    ShowPage(nPage - 1);
}

void CMorvelEMView::OnNextPage()
{
    const int nPage = m_nFirstVisibleRow / GetPageRows();
    ShowPage(nPage >= GetLastPage() ? GetLastPage() : nPage + 1);
}

void CMorvelEMView::SelectPage(int nPageNumber)
{
    ShowPage(std::clamp(nPageNumber - 1, 0, GetLastPage()));
}

// ---------------------------------------------------------------------------------------
// Changing pages

bool CMorvelEMView::InsertPage(int nPageNumber, bool bBefore)
{
    // Empty rows put in only move the rows below them, which the undo record follows
    // (NoteRowShift): it stays good while it names rows above them.
    const CUndoKeepingScope keepUndo;
    const int nPageRows = GetPageRows();
    int nPage = nPageNumber - 1;
    if (nPage < 0 || nPage > GetRowLimit() / nPageRows)
        return FALSE;
    // The empty page goes before the chosen page, or after it.
    if (!bBefore)
        ++nPage;
    if (!HasFileRoomForRows(nPage * nPageRows, nPageRows, 0))
        return FALSE;
    // One row at a time, each pushing the later rows down; rows pushed beyond the row
    // limit are no longer shown.
    for (int i = 0; i < nPageRows; ++i)
        InsertRow(nPage * nPageRows);

    ClickCell(m_nCurrentCol, nPage * nPageRows);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    UpdateTreeView();
    SetDocumentModified();
    RefreshMarkRowHeads();
    return TRUE;
}

bool CMorvelEMView::DeletePage(int nPageNumber)
{
    const int nPageRows = GetPageRows();
    const int nPage = nPageNumber - 1;
    if (nPage < 0 || nPage > GetLastPage())
        return FALSE;
    const int nFirst = nPage * nPageRows;
    const int nLast = std::min(nFirst + nPageRows, GetUsedRows()) - 1;
    if (nFirst > nLast)
        return FALSE;
    for (int r = nLast; r >= nFirst; --r)
        DeleteRow(nFirst);
    // The totals below the page lost the rows they added up.
    RecalcTotals(nFirst);
    if (m_nCurrentRow >= GetRowLimit())
        m_nCurrentRow = GetRowLimit() - 1;
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    UpdateTreeView();
    SetDocumentModified();
    RefreshMarkRowHeads();
    return TRUE;
}

void CMorvelEMView::FeedPage()
{
    // As for an inserted page: empty rows only move the rows below them.
    const CUndoKeepingScope keepUndo;
    const int nPageRows = GetPageRows();
    const int nPage = m_nCurrentRow / nPageRows;
    const int nRows = (nPage + 1) * nPageRows - m_nCurrentRow;

    // The first heading on the following pages, which alignment keeps at a page start.
    const int nHeading = std::max(0, AdjustPageBreak(0, m_nCurrentRow));
    if (!HasFileRoomForRows(m_nCurrentRow, nRows, nHeading))
        return;

    for (int i = 0; i < nRows; ++i)
        InsertRow(m_nCurrentRow);
    if (nHeading > 0)
        AdjustPageBreak(1, nHeading + nRows);

    const int nTarget = std::min(nPage + 1, GetLastPage());
    RefreshMarkRowHeads();
    ShowPage(nTarget);
    UpdateTreeView();
    SetDocumentModified();
}

void CMorvelEMView::OnPageFeed()
{
    FeedPage();
}

int CMorvelEMView::AdjustPageBreak(int nMode, int nRow)
{
    if (m_nAdjustPage == 0)
        return 0;
    const int nPageRows = GetPageRows();
    if (nMode == 0) {
        int r = (std::max(0, nRow) / nPageRows + 1) * nPageRows;
        while (r < GetUsedRows()) {
            const ERowKind nKind = EditKind(r);
            if (nKind == kindEmpty) {
                ++r;
            } else if (IsHeadingKind(nKind)) {
                return r;
            } else {
                // A page that holds anything else keeps its rows: look at the next page.
                r = (r / nPageRows + 1) * nPageRows;
            }
        }
        return -1;
    }
    if (nMode != 1 || nRow < 0)
        return 0;

    CAlignedEditRows rows(*this);
    const int nStart = AlignRowToPage(rows, nRow, nPageRows);
    RefreshMarkRowHeads();
    return nStart;
}

int CMorvelEMView::AdjustPages(int nRow)
{
    if (m_nAdjustPage == 0)
        return -1;
    CAlignedEditRows rows(*this);
    const int nLast = AlignHeadings(rows, nRow, GetPageRows());
    RefreshMarkRowHeads();
    return nLast;
}

bool CMorvelEMView::HasFileRoomAfterCut(int nFirst, int nCount, int nHeading) const
{
    if (m_nAdjustPage == 0)
        return true;
    std::vector<int> kinds;
    kinds.reserve(static_cast<size_t>(GetUsedRows()));
    for (int r = 0; r < GetUsedRows(); ++r) {
        if (r < nFirst || r >= nFirst + nCount)
            kinds.push_back(EditKind(r));
    }
    CRowKindList rows(std::move(kinds));
    const int nPageRows = GetPageRows();
    if (const int nMoved = HeadingAfterCut(nHeading, nFirst, nCount); nMoved >= 0)
        AlignRowToPage(rows, nMoved, nPageRows);
    AlignHeadings(rows, nHeading, nPageRows);
    return CheckFileRowLimit(rows.Count());
}

int CMorvelEMView::HeadingAfterCut(int nHeading, int nFirst, int nCount)
{
    if (nHeading <= 0 || nHeading < nFirst + nCount)
        return -1;
    return nHeading - nCount;
}
