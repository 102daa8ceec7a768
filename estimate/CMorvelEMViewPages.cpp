// Estimate pages: moving from page to page, inserting and deleting pages, pushing the
// current row to the next page, and page alignment of headings.
//
// A page of the grid is a printed page: the row headers count the rows within their page.
// The page dialogs only collect a page number; the work with that number is done here.
#include "engine/estimate/PageAlignment.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMView.h"

#include <algorithm>

int CMorvelEMView::GetLastPage() const
{
    return std::max(0, GetRowLimit() - 1) / GetPageRows();
}

// ---------------------------------------------------------------------------------------
// Moving

void CMorvelEMView::PressAtPoint(int x, int y)
{
    RememberCurrentCell();
    const int nColumns = std::clamp(GetColumnCount(), 0, static_cast<int>(MAX_COLUMNS));

    // The clicked column: widths are taken off from the first visible column on while
    // what is left stays at least 0, so hidden columns are passed over and a point on a
    // right edge belongs to the next column. A point in the row header maps to the first
    // visible column, one in the column header to the first visible row.
    int nCol = GetFirstVisibleCell().x;
    int nRest = x - GetRowHeaderWidth();
    if (nRest >= 0) {
        while (nCol < nColumns && nRest - GetColumnWidth(nCol) >= 0) {
            nRest -= GetColumnWidth(nCol);
            ++nCol;
        }
    }
    int nRow = GetFirstVisibleCell().y;
    const int nRowHeight = GetRowHeight() > 0 ? GetRowHeight() : 1;
    if (y - GetHeaderHeight() >= 0)
        nRow += (y - GetHeaderHeight()) / nRowHeight;
    if (nCol >= nColumns || nRow >= GetRowLimit())
        return;

    // A press in the cells ends any selection and starts one at the clicked cell.
    StartSelectionAt(nCol, nRow);
    SetCurrentCell(nCol, nRow);
    if (m_hWnd != nullptr) {
        InvalidateCells(GetPreviousCell().x, GetPreviousCell().y, GetPreviousCell().x, GetPreviousCell().y);
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
    const CPoint pt(GetRowHeaderWidth() + 2, GetHeaderHeight() + 2);
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
    const int nRowHeight = GetRowHeight() > 0 ? GetRowHeight() : 1;
    const int nVisibleRows = std::max(0, static_cast<int>(rcGrid.Height()) - GetHeaderHeight()) / nRowHeight;
    bool bVisible = nRow >= GetFirstVisibleCell().y && nRow < GetFirstVisibleCell().y + nVisibleRows &&
                    nCol >= GetFirstVisibleCell().x;
    if (bVisible) {
        CRect rcCell;
        GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
        bVisible = rcCell.right <= rcGrid.right;
    }
    if (!bVisible) {
        // Vertically to three rows above the cell; horizontally to the column before it.
        int nPosition = 0;
        for (int c = 0; c < nCol - 1; ++c)
            nPosition += GetColumnWidth(c);
        int nFirst = 0, nOffset = 0;
        while (nFirst < nColumns && nOffset + GetColumnWidth(nFirst) <= nPosition)
            nOffset += GetColumnWidth(nFirst++);
        SetScrollOrigin(std::min(nFirst, nCol), std::max(0, nRow - 3));
    }
    CRect rcCell;
    GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
    PressAtPoint(rcCell.left + 2, rcCell.top + 2);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
}

void CMorvelEMView::OnPrevPage()
{
    const int nPage = GetFirstVisibleCell().y / GetPageRows();
    if (nPage == 0) {
        if (GetFirstVisibleCell().y > 0)
            ShowPage(0);
        else
            PressAtPoint(GetRowHeaderWidth() + 2, GetHeaderHeight() + 2);
        return;
    }
    ShowPage(nPage - 1);
}

void CMorvelEMView::OnNextPage()
{
    const int nPage = GetFirstVisibleCell().y / GetPageRows();
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
    const int nPageRows = GetPageRows();
    int nPage = nPageNumber - 1;
    if (nPage < 0 || nPage > GetRowLimit() / nPageRows)
        return FALSE;
    // The empty page goes before the chosen page, or after it.
    if (!bBefore)
        ++nPage;
    if (!HasFileRoomForRows(nPage * nPageRows, nPageRows, 0))
        return FALSE;
    // Undo takes the page out again.
    GetModel().InsertPage(nPage, PageRule());
    NoteUndoRecorded();

    ClickCell(GetCurrentCol(), nPage * nPageRows);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    UpdateTreeView();
    SetDocumentModified();
    return TRUE;
}

bool CMorvelEMView::DeletePage(int nPageNumber)
{
    const int nPageRows = GetPageRows();
    const int nPage = nPageNumber - 1;
    if (nPage < 0 || nPage > GetLastPage())
        return FALSE;
    // Undo puts the page's rows back.
    if (!GetModel().DeletePage(nPage, PageRule()))
        return FALSE;
    NoteUndoRecorded();
    // The totals below the page lost the rows they added up.
    RecalcTotals(nPage * nPageRows);
    if (GetCurrentRow() >= GetRowLimit())
        SetCurrentRow(GetRowLimit() - 1);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    UpdateTreeView();
    SetDocumentModified();
    return TRUE;
}

void CMorvelEMView::FeedPage()
{
    const int nPageRows = GetPageRows();
    const int nPage = GetCurrentRow() / nPageRows;
    const int nRows = (nPage + 1) * nPageRows - GetCurrentRow();

    // The first heading on the following pages, which alignment keeps at a page start.
    const int nHeading = std::max(0, AdjustPageBreak(EPageBreak::findHeading, GetCurrentRow()));
    if (!HasFileRoomForRows(GetCurrentRow(), nRows, nHeading))
        return;

    // The empty rows and the page alignment after them; undo takes them out again.
    GetModel().FeedPage(GetCurrentRow(), PageRule());
    NoteUndoRecorded();

    const int nTarget = std::min(nPage + 1, GetLastPage());
    ShowPage(nTarget);
    UpdateTreeView();
    SetDocumentModified();
}

void CMorvelEMView::OnPageFeed()
{
    FeedPage();
}

int CMorvelEMView::AdjustPageBreak(EPageBreak eMode, int nRow)
{
    if (eMode == EPageBreak::findHeading)
        return GetModel().FirstAlignedHeading(nRow, PageRule());
    if (m_nAdjustPage == 0 || nRow < 0)
        return 0;
    const int nStart = GetModel().AlignRowToPage(nRow, PageRule());
    SetDocumentModified();
    return nStart;
}

int CMorvelEMView::InsertRowsRead(int nRow, const CEstimateModel::CRowsRead& read)
{
    const int nCount = GetModel().InsertRowsRead(nRow, read, PageRule());
    if (nCount > 0) {
        NoteUndoRecorded();
        SetDocumentModified();
    }
    return nCount;
}

int CMorvelEMView::AdjustPages(int nRow)
{
    if (m_nAdjustPage == 0)
        return -1;
    const int nLast = GetModel().AlignHeadings(nRow, PageRule());
    SetDocumentModified();
    return nLast;
}

bool CMorvelEMView::HasFileRoomAfterCut(int nFirst, int nCount, int nHeading) const
{
    if (m_nAdjustPage == 0)
        return true;
    return CheckFileRowLimit(PageAlignment::RowsAfterCut(Engine(), nFirst, nCount, nHeading, GetPageRows()));
}
