// The grid's pop-up choice list: F4 on a cell lists the subjects, the units or the parts
// that can go there, just below the cell; the entry chosen with Enter or a double click is
// written into the grid here (OnPopupListChoice). A subject becomes a heading row at the
// current row, as a subject picked from the subject list does; a unit fills the current
// cell; parts (or rows of another list) become rows at the current row, each estimate
// column filled from the list column its "B" code names.
#include "app/CEstimationFormFile.h"
#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMView.h"
#include "platform/ui/core/WinApi.h"
#include "resources/EstimateCommandIds.h"

#include <algorithm>

namespace {

// The list's child-window id within the grid.
constexpr UINT kPopupListId = 0x7E01;
// Entries shown at once before the list scrolls.
constexpr int kVisibleEntries = 10;
// The columns of a list entry that "B" codes can name: "A" to "I".
constexpr int kListColumns = 9;

} // namespace

BOOL CMorvelEMView::IsPopupListShown() const
{
    return m_wndPopupList.m_hWnd != nullptr && m_wndPopupList.IsWindowVisible();
}

void CMorvelEMView::ClosePopupList()
{
    if (m_wndPopupList.m_hWnd == nullptr || m_wndPopupList.IsBusy())
        return;
    const bool bHadFocus = GetFocus() == &m_wndPopupList;
    m_wndPopupList.DestroyWindow();
    if (bHadFocus && m_hWnd != nullptr && IsWindowVisible())
        SetFocus();
}

BOOL CMorvelEMView::OpenPopupListForCell()
{
    if (IsSummaryPageShown())
        return FALSE;
    CMorvelApp* pApp = GetMorvelApp();
    const int nCol = GetCurrentCol();
    const CString strCell = GetCellText(GetCurrentRow(), nCol);
    CPopupListContent content;
    if (pApp != nullptr && IsUnitColumn(nCol)) {
        content.columns.push_back({"単位"_sj, 100});
        // The cell's own unit is chosen when it is in the list, else the first unit.
        content.nSelect = -1;
        for (int i = 0; i < pApp->m_unitFile.GetCount(); ++i) {
            content.items.push_back({pApp->m_unitFile.GetUnit(i)});
            if (content.nSelect < 0 && pApp->m_unitFile.GetUnit(i) == strCell)
                content.nSelect = i;
        }
        content.nSelect = std::max(content.nSelect, 0);
        return OpenPopupList(pickUnit, content);
    }
    if (pApp != nullptr && nCol == FindNameColumn() && IsValidColumn(nCol) &&
        GetEstimationForm().GetCount() > nCol) {
        // On a heading the list offers its level; elsewhere the level of the last subject
        // pick, large subjects at first.
        ERowKind nHeading = GetRowKind(GetCurrentRow());
        if (PickOfHeading(nHeading) == pickNone)
            nHeading = HeadingOfPick(m_nPendingLevel);
        if (nHeading == kindEmpty)
            nHeading = kindLarge;
        static const char* const headings[] = {"大科目", "中科目", "小科目"};
        const int nIndex = nHeading - kindLarge;
        content.columns.push_back({CString::FromUtf8(headings[nIndex]), 160});
        content.columns.push_back({"単位"_sj, nHeading == kindSmall ? 40 : 50});
        for (int i = 0; i < pApp->m_subjectFile.GetCount(nIndex); ++i)
            content.items.push_back(
                {pApp->m_subjectFile.GetName(nIndex, i), pApp->m_subjectFile.GetUnit(nIndex, i)});
        return OpenPopupList(PickOfHeading(nHeading), content);
    }
    if (IsPartsSearchColumn(nCol) && CShellServices::Get().runEstimateDialogCommand) {
        // The estimate tools read the parts file and open the list with its parts.
        CShellServices::RunEstimateDialogCommand(this, ID_POPUP_PARTS_FOR_CELL);
        return IsPopupListShown();
    }
    MessageBeep(0);
    return FALSE;
}

BOOL CMorvelEMView::OpenPopupList(EPickPurpose ePurpose, const CPopupListContent& content)
{
    if (IsSummaryPageShown() || m_hWnd == nullptr || content.items.empty() || content.columns.empty()) {
        MessageBeep(0);
        return FALSE;
    }
    // An open edit is kept first, as a move away from the cell would keep it.
    if (m_nEditState == editTyping || m_nEditState == editOpened) {
        StoreCellEdit(FALSE);
        m_nEditState = editClosed;
    }
    HideCellEdit();
    m_nPendingLevel = ePurpose;
    m_popupChoice.assign(1, -1);
    m_wndPopupList.SetOwnerView(this);

    CRect rcCell;
    GetCellRangeRect(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow(), &rcCell);
    if (!m_wndPopupList.CreateList(
            content, CRect(rcCell.left, rcCell.bottom, rcCell.left + 100, rcCell.bottom + 100), kPopupListId))
        return FALSE;

    // As wide as its columns (at least the cell), as high as ten entries, below the cell;
    // above it when the grid has no room below; always inside the grid.
    int nWidth = 4 + GetSystemMetrics(SM_CXVSCROLL);
    for (const CPopupListContent::CColumn& column : content.columns)
        nWidth += column.nWidth;
    nWidth = std::max<int>(nWidth, rcCell.Width());
    CRect rcItem;
    int nItemHeight = GetRowHeight() > 0 ? GetRowHeight() : 16;
    if (m_wndPopupList.GetItemRect(0, &rcItem, LVIR_BOUNDS) && rcItem.Height() > 0)
        nItemHeight = rcItem.Height();
    // The column header and the border: what the window has beyond its rows' area.
    CRect rcWindow, rcRows;
    m_wndPopupList.GetWindowRect(&rcWindow);
    m_wndPopupList.GetClientRect(&rcRows);
    const int nFrame = std::max<int>(0, rcWindow.Height() - rcRows.Height());
    const int nShown = std::min<int>(kVisibleEntries, static_cast<int>(content.items.size()));
    const int nHeight = nFrame + nShown * nItemHeight;
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    int x = rcCell.left;
    int y = rcCell.bottom;
    if (y + nHeight > rcGrid.bottom && rcCell.top - nHeight >= GetHeaderHeight())
        y = rcCell.top - nHeight;
    if (x + nWidth > rcGrid.right)
        x = std::max<int>(GetRowHeaderWidth(), rcGrid.right - nWidth);
    m_wndPopupList.MoveWindow(x, y, nWidth, nHeight);
    const int nSelected = m_wndPopupList.GetNextItem(-1, LVNI_FOCUSED);
    if (nSelected >= 0)
        m_wndPopupList.EnsureVisible(nSelected, FALSE);
    m_wndPopupList.ShowWindow(SW_SHOW);
    m_wndPopupList.SetFocus();
    return TRUE;
}

bool CMorvelEMView::HasRoomForPopupRows(int nCount) const
{
    const int nRow = GetCurrentRow();
    // Rows pushed past the row limit would be lost: nothing is placed then. (Rows inserted
    // among the used ones must leave the used rows below the limit.)
    const bool bAppend = nRow >= GetUsedRows();
    const bool bFits = bAppend ? nRow + nCount <= GetRowLimit() : GetUsedRows() + nCount < GetRowLimit();
    if (nCount <= 0 || !bFits) {
        MessageBeep(0);
        return false;
    }
    const int nHeading = bAppend ? 0 : GetModel().FirstAlignedHeading(nRow, PageRule());
    return HasFileRoomForRows(nRow, nCount, nHeading);
}

std::vector<int> CMorvelEMView::PopupListSourceColumns() const
{
    const CEstimationFormFile& form = GetEstimationForm();
    const int nColumns = std::min(form.GetCount(), GetColumnLimit());
    const int nListColumns = std::min(kListColumns, m_wndPopupList.GetColumnCount());
    std::vector<int> listCols(static_cast<size_t>(std::max(nColumns, 0)), -1);
    for (int c = 0; c < nColumns; ++c) {
        // Only the codes that name one of the list's first nine columns count; a two-letter
        // code names the parts column it names in the parts selection ("AB" is column 1,
        // "BA" column 26, beyond the list).
        const int nListCol = PartsColumnOfCode(form.GetItem(c, CEstimationFormFile::colB));
        if (nListCol >= 0 && nListCol < nListColumns)
            listCols[static_cast<size_t>(c)] = nListCol;
    }
    return listCols;
}

void CMorvelEMView::OnPopupListChoice(int nSeveral)
{
    if (m_wndPopupList.m_hWnd != nullptr)
        m_wndPopupList.ShowWindow(SW_HIDE);
    if (m_popupChoice.empty() || m_popupChoice.front() < 0 || IsSummaryPageShown())
        return;
    const EPickPurpose ePurpose = m_nPendingLevel;
    const int nRow = GetCurrentRow();
    const int nCol = GetCurrentCol();
    const int nEntries = m_wndPopupList.m_hWnd != nullptr ? m_wndPopupList.GetItemCount() : 0;
    std::vector<int> chosen;
    for (int nItem : m_popupChoice) {
        if (nItem < 0)
            break;
        if (nItem < nEntries)
            chosen.push_back(nItem);
    }
    if (chosen.empty())
        return;
    if (nSeveral == 0)
        chosen.erase(chosen.begin() + 1, chosen.end()); // only the first one

    if (const ERowKind nHeading = HeadingOfPick(ePurpose); nHeading != kindEmpty) {
        // A heading row at the current row, named (and given its unit) as the master has
        // it; the list shows the master's entries, so its texts are the master's even when
        // the master changed while the list was open. The row goes in even below the used
        // rows, as the list's other rows do.
        if (!HasRoomForPopupRows(1))
            return;
        GetModel().InsertHeadingRow(nCol, nRow, nHeading, m_wndPopupList.GetItemText(chosen[0], 0),
                                    m_wndPopupList.GetItemText(chosen[0], 1), CEstimateModel::ENewRow::insert,
                                    PageRule());
        NewRowMade(nRow);
        RecalcTotals(nRow);
        UpdateTreeView();
        InvalidateRows(nRow, GetRowLimit() - 1, true);
    } else if (ePurpose == pickUnit) {
        // The unit goes into the current cell; the row keeps its kind (a detail row stays in
        // the totals), and an empty row becomes a detail row as a typed unit makes it.
        GetModel().WritePickedUnit(nCol, nRow, m_wndPopupList.GetItemText(chosen[0], 0), true);
        NoteUndoRecorded();
        UpdateScrollRanges();
        RecalcTotals(nRow);
        InvalidateRows(nRow, nRow);
    } else if (ePurpose == pickParts || ePurpose == pickOtherList) {
        if (!HasRoomForPopupRows(static_cast<int>(chosen.size())))
            return;
        const int nListColumns = std::min(kListColumns, m_wndPopupList.GetColumnCount());
        std::vector<std::vector<CString>> texts;
        texts.reserve(chosen.size());
        for (int nItem : chosen) {
            std::vector<CString>& entry = texts.emplace_back();
            for (int k = 0; k < nListColumns; ++k)
                entry.push_back(m_wndPopupList.GetItemText(nItem, k));
        }
        GetModel().InsertPickedRows(nCol, nRow, texts, ePurpose == pickParts ? kindDetail : kindFree,
                                 PopupListSourceColumns(), PageRule());
        NoteUndoRecorded();
        RecalcTotals(nRow);
        UpdateTreeView();
        InvalidateRows(nRow, GetRowLimit() - 1, true);
    } else {
        return;
    }
    SetDocumentModified();
    UpdateStatusText(statusShow);
}
