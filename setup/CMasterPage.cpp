#include "setup/CMasterPage.h"

#include "app/CMorvelApp.h"
#include "engine/estimate/CNumberRules.h"
#include "platform/base/Check.h"
#include "platform/base/Cp932Text.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/SetupIds.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMasterPage, CSetupGridPage)

BEGIN_MESSAGE_MAP(CMasterPage, CSetupGridPage)
ON_WM_VSCROLL()
END_MESSAGE_MAP()

CMasterPage::CMasterPage(UINT nIDTemplate, int nEditableCols, UINT nIDMenu,
                         std::unique_ptr<CSetupCellEdit> pEdit)
    : CSetupGridPage(nIDTemplate, ROWS, nEditableCols, nIDMenu, std::move(pEdit))
{
    m_edit.onMove = [this](CSetupCellEdit::MoveKey key) { MoveCell(MoveCodeOf(key)); };
}

void CMasterPage::DoDataExchange(CDataExchange* pDX)
{
    CSetupGridPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MASTER_VSCROLL, m_scroll);
}

CString CMasterPage::CommitText(const CString& strText) const
{
    CString converted = strText;
    return ToHalfWidthNumber(converted) == 0 ? converted : strText;
}

int CMasterPage::MoveCodeOf(CSetupCellEdit::MoveKey key) const
{
    return key == CSetupCellEdit::keyEnter ? CSetupCellEdit::keyTab : key;
}

BOOL CMasterPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_nReady = 0;
    const std::vector<long> widths = ColumnWidths();
    m_grid.SetCols(static_cast<short>(widths.size()));
    m_grid.SetRows(ROWS);
    for (size_t c = 0; c < widths.size(); ++c)
        m_grid.SetColWidth(static_cast<short>(c), widths[c]);
    m_grid.SetRowHeight(-1, ROW_HEIGHT);

    // As many rows as fit; the grid and the bar are cut to whole rows.
    FitGridToWholeRows(m_scroll);

    m_grid.SetTextMatrix(0, 0, "No.");
    const std::vector<CString> headings = Headings();
    for (size_t c = 0; c < headings.size(); ++c)
        m_grid.SetTextMatrix(0, static_cast<short>(c + 1), headings[c]);
    for (int r = 1; r <= LAST_ROW; ++r) {
        CString number;
        number.Format("%d", r);
        m_grid.SetTextMatrix(static_cast<short>(r), 0, number);
    }

    m_nPrevRow = m_nPrevCol = m_nCurRow = m_nCurCol = 1;
    m_grid.SetRow(1);
    m_grid.SetCol(1);
    PlaceEditor();
    m_nReady = 1;

    SetDlgItemText(IDC_PATH_LABEL, DisplayPath(App().GetPathSetting("Other Form") + FileName()));
    if (!m_nSinglePage) {
        MakeInitBackup();
        FillFromTable();
    }
    m_edit.SetFocus();
    m_nScrollPos = 1;
    m_scroll.SetScrollRange(1, ROWS + 1 - m_nVisibleRows);
    m_scroll.SetScrollPos(1);

    if (m_nSetup) {
        m_edit.ShowWindow(SW_SHOW);
    } else {
        m_scroll.ShowWindow(SW_HIDE);
        m_grid.SetGridScrollBars(2);
        m_edit.SetReadOnly(TRUE);
        m_edit.ShowWindow(SW_HIDE);
        m_grid.SetFocus();
    }
    std::fill(m_clip.begin(), m_clip.end(), CString());
    return FALSE;
}

void CMasterPage::FillFromTable()
{
    m_nReady = 0;
    const int nCount = std::min(TableCount(), LAST_ROW);
    for (int r = 1; r <= nCount; ++r) {
        for (int c = 1; c <= m_nEditableCols; ++c)
            m_grid.SetTextMatrix(static_cast<short>(r), static_cast<short>(c), TableText(r - 1, c));
    }
    m_nReady = 1;
    m_edit.SetWindowText(CellText(m_nCurRow, m_nCurCol));
}

void CMasterPage::CommitEditor(int nRow, int nCol)
{
    // A page that only shows the masters has no typing to give: its hidden editor still
    // holds the text of the cell it was last given, which must not land in another one.
    if (!m_nSetup)
        return;
    CString text;
    m_edit.GetWindowText(text);
    CString committed = CommitText(text);
    // A number column keeps a number as every number cell reads it, in plain ASCII:
    // "１２．５" and "12.5" alike.
    std::string plain;
    if (IsNumberColumn(nCol) && CNumberRules::ReadTypedNumber(text, plain))
        committed = CString(plain.c_str());
    m_grid.SetTextMatrix(static_cast<short>(nRow), static_cast<short>(nCol), committed);
}

void CMasterPage::PlaceEditor()
{
    const std::vector<long> widths = ColumnWidths();
    m_grid.SetRowHeight(-1, ROW_HEIGHT);
    long nTotal = 0;
    for (size_t c = 0; c < widths.size(); ++c) {
        m_grid.SetColWidth(static_cast<short>(c), widths[c]);
        nTotal += widths[c];
    }
    if (!m_nSetup) {
        m_edit.ShowWindow(SW_HIDE);
        return;
    }
    const CPoint origin = CellOrigin(m_nCurRow, m_nCurCol);
    long nBefore = 0;
    for (int c = 0; c < m_nCurCol && c < static_cast<int>(widths.size()); ++c)
        nBefore += widths[static_cast<size_t>(c)];
    const long nWidth = std::min(m_grid.GetColWidth(static_cast<short>(m_nCurCol)), nTotal - nBefore);
    const int cx = CellPixels(nWidth);
    const int cy = CellPixels(m_grid.GetRowHeight(static_cast<short>(m_nCurRow)));

    LeavePreviousCell();

    m_edit.MoveWindow(origin.x + 1, origin.y + 1, cx, cy);
    m_edit.SetWindowText(m_grid.GetText());
    m_edit.EmptyUndoBuffer();
    m_edit.ShowWindow(SW_SHOW);
    m_edit.SetFocus();
    // What the user types replaces the cell's text.
    m_edit.SetSel(0, -1);
}

void CMasterPage::SetCurrent(int nRow, int nCol)
{
    const int r = std::clamp(nRow, 1, LAST_ROW);
    const int c = std::clamp(nCol, 1, m_nEditableCols);
    const bool bSame = r == m_grid.GetRow() && c == m_grid.GetCol();
    m_grid.SetCol(static_cast<short>(c));
    m_grid.SetRow(static_cast<short>(r));
    // No event when the cell stays: place the editor again all the same.
    if (bSame) {
        m_nCurRow = r;
        m_nCurCol = c;
        PlaceEditor();
    }
}

void CMasterPage::ScrollTo(int nPos)
{
    m_nScrollPos = std::clamp(nPos, 1, ROWS + 1 - m_nVisibleRows);
    m_scroll.SetScrollPos(m_nScrollPos);
    m_grid.SetTopRow(static_cast<short>(m_nScrollPos));
}

void CMasterPage::MoveCell(int nCode)
{
    const int v = m_nVisibleRows;
    int r = m_nCurRow;
    int c = m_nCurCol;
    const int top = m_grid.GetTopRow();
    auto up = [&] {
        if (r > 1) {
            if (top == r)
                ScrollTo(r - 1);
            r = r - 1;
        }
    };
    auto down = [&] {
        const int last = top + v - 1;
        if (r >= v && last == r)
            ScrollTo(r - v + 2);
        if (r < LAST_ROW)
            r = r + 1;
    };
    const bool bTwoCols = m_nEditableCols > 1;
    switch (nCode) {
    case CSetupCellEdit::keyShiftTab:
        if (!bTwoCols) {
            up();
        } else if (c == 1) {
            up();
            c = 2;
        } else {
            c = 1;
        }
        break;
    case CSetupCellEdit::keyTab:
        if (!bTwoCols) {
            down();
        } else if (c == 2) {
            if (r < LAST_ROW) {
                down();
                c = 1;
            } else {
                c = 1;
            }
        } else {
            c = 2;
        }
        break;
    case CSetupCellEdit::keyUp:
        up();
        break;
    case CSetupCellEdit::keyDown:
        down();
        break;
    case CSetupCellEdit::keyPageUp:
        ScrollTo(std::max(1, m_nScrollPos - v + 1));
        r = std::max(1, r - (v - 1));
        break;
    case CSetupCellEdit::keyPageDown:
        ScrollTo(std::min(ROWS + 1 - v, m_nScrollPos + v - 1));
        r = std::min(LAST_ROW, r + v - 1);
        break;
    case CSetupCellEdit::keyEscape:
        m_edit.Undo();
        return;
    default:
        return;
    }
    SetCurrent(r, c);
}

BOOL CMasterPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr && hdr->idFrom == static_cast<UINT_PTR>(IDC_GRID) &&
        (hdr->code == GRIDN_ROWCOLCHANGE || hdr->code == GRIDN_CLICK)) {
        if (hdr->code == GRIDN_CLICK || m_nReady) {
            m_nPrevRow = m_nCurRow;
            m_nPrevCol = m_nCurCol;
            m_nCurRow = std::max(1, static_cast<int>(m_grid.GetRow()));
            m_nCurCol = std::clamp(static_cast<int>(m_grid.GetCol()), 1, m_nEditableCols);
            PlaceEditor();
        }
        *pResult = 0;
        return TRUE;
    }
    return CPropertyPage::OnNotify(wParam, lParam, pResult);
}

void CMasterPage::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar == nullptr || pScrollBar->m_hWnd != m_scroll.m_hWnd)
        return;
    const int v = m_nVisibleRows;
    int r = m_nCurRow;
    int p = m_nScrollPos;
    const int nMax = ROWS + 1 - v;
    switch (nSBCode) {
    case SB_LINEUP:
        if (r == p + v - 1 && r != v)
            r = r - 1;
        p = std::max(1, p - 1);
        break;
    case SB_LINEDOWN:
        if (r == p && r != nMax)
            r = r + 1;
        p = std::min(nMax, p + 1);
        break;
    case SB_PAGEUP:
        r = std::max(1, r - (v - 1));
        p = std::max(1, p - (v - 1));
        break;
    case SB_PAGEDOWN:
        r = std::min(LAST_ROW, r + v - 1);
        p = std::min(nMax, p + v - 1);
        break;
    case SB_THUMBPOSITION:
        p = static_cast<int>(nPos);
        break;
    case SB_THUMBTRACK:
        p = static_cast<int>(nPos);
        r = std::min(LAST_ROW, static_cast<int>(nPos));
        break;
    default:
        return;
    }
    ScrollTo(p);
    if (r == m_nCurRow)
        PlaceEditor(); // the cell moved on the screen
    else
        SetCurrent(r, m_nCurCol);
}

BOOL CMasterPage::OnApply()
{
    m_bWriteOK = TRUE;
    OnOK();
    return m_bWriteOK;
}

void CMasterPage::OnOK()
{
    if (!m_nSinglePage)
        MakeBackup();
    MORVEL_CHECK(m_nSetup, "a page that only shows the masters changes no table");
    CommitEditor(m_nCurRow, m_nCurCol);
    m_nReady = 0;
    StoreTable(LastFilledRow(1));
    m_bWriteOK = WriteTableFile();
    m_nReady = 1;
    m_edit.SetFocus();
}

void CMasterPage::OnCancel()
{
    // Opened alone at start-up the page leaves an empty file, so that start-up finds one.
    if (m_nSinglePage) {
        StoreTable(0);
        m_bWriteOK = WriteTableFile();
    }
}
