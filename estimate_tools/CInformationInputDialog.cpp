#include "estimate_tools/CInformationInputDialog.h"

#include "platform/base/Cp932Text.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/EstimateCommandIds.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// The editor

IMPLEMENT_DYNAMIC(CInformationCellEdit, CEdit)

BEGIN_MESSAGE_MAP(CInformationCellEdit, CEdit)
ON_WM_GETDLGCODE()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

UINT CInformationCellEdit::OnGetDlgCode()
{
    // Every key is the editor's: it hands the moving keys on, and Esc takes back its last
    // change instead of ending the sheet with whatever was typed in it.
    return static_cast<UINT>(Default()) | DLGC_WANTTAB | DLGC_WANTALLKEYS;
}

void CInformationCellEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    int nKey = 0;
    switch (nChar) {
    case VK_TAB:
        nKey = GetKeyState(VK_SHIFT) < 0 ? keyShiftTab : keyTab;
        break;
    case VK_RETURN:
        nKey = keyEnter;
        break;
    case VK_UP:
        nKey = keyUp;
        break;
    case VK_DOWN:
        nKey = keyDown;
        break;
    case VK_PRIOR:
        nKey = keyPageUp;
        break;
    case VK_NEXT:
        nKey = keyPageDown;
        break;
    case VK_ESCAPE:
        // The last change typed goes; the row stays current. An item that takes no typing
        // has none.
        m_nLastKey = keyEsc;
        if (m_nMode <= 0 && CanUndo())
            Undo();
        return;
    default:
        // The computed and amount items take no key (Delete and Backspace included).
        if (m_nMode <= 0)
            CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    m_nLastKey = nKey;
    if (onMove)
        onMove(nKey);
}

void CInformationCellEdit::OnChar(UINT nChar, UINT, UINT)
{
    if (m_nMode > 0)
        return;
    // The moving keys arrive as characters too; they have been handled.
    if (nChar == '\t' || nChar == '\r' || nChar == 0x1B || nChar == '\n')
        return;
    Default();
}

void CInformationCellEdit::OnChange()
{
    GetWindowText(m_strLastText);
}

// ---------------------------------------------------------------------------------------
// The dialog

BEGIN_MESSAGE_MAP(CInformationInputDialog, CDialog)
ON_WM_VSCROLL()
END_MESSAGE_MAP()

CInformationInputDialog::CInformationInputDialog(const CString& strTotal, const CString& strTax,
                                                 const CString& strNet, CWnd* pParent)
    : CDialog(IDD_INFORMATION_INPUT, pParent), m_strTotal(strTotal), m_strTax(strTax), m_strNet(strNet)
{
    RegisterEstimateCommandDialogs();
    m_edit.onMove = [this](int nKey) { Move(nKey); };
}

int CInformationInputDialog::GetItemCount() const
{
    return std::clamp(m_form.GetCount(), 0, InformationValues::MAX_ITEMS);
}

int CInformationInputDialog::MaxScroll() const
{
    return std::max(1, m_nRows + 1 - m_nVisibleRows);
}

BOOL CInformationInputDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_grid.SubclassDlgItem(IDC_INFO_GRID, this);
    m_scroll.SubclassDlgItem(IDC_INFO_SCROLL, this);
    m_edit.SubclassDlgItem(IDC_INFO_EDIT, this);
    m_nReady = 0;

    // The grid has at least its heading row and one row below it.
    const int nItems = GetItemCount();
    m_nRows = std::max(2, nItems + 1);
    m_grid.SetCols(3);
    m_grid.SetRows(static_cast<short>(m_nRows));
    m_grid.SetRowHeight(-1, ROW_HEIGHT);

    // As many rows as fit; the grid and its bar are cut to whole rows.
    m_nVisibleRows = m_grid.FitToWholeRows(ROW_HEIGHT, m_scroll);

    m_grid.SetTextMatrix(0, 0, "No.");
    m_grid.SetTextMatrix(0, 1, "名称"_sj);
    m_grid.SetTextMatrix(0, 2, "内容"_sj);
    m_grid.SetColWidth(0, 300);
    m_grid.SetColWidth(1, 2400);
    m_grid.SetColWidth(2, 5000);
    for (int r = 1; r <= nItems; ++r) {
        CString number;
        number.Format("%d", r);
        m_grid.SetTextMatrix(static_cast<short>(r), 0, number);
        m_grid.SetTextMatrix(static_cast<short>(r), 1, m_form.GetItem(r - 1, CFormFile<8>::colName));
    }
    // The numbers' column as wide as "No." and the highest number need in the sheet's font.
    m_grid.FitColWidthToText(0);

    InformationValues::FillAmounts(m_formTexts, m_values, m_strTotal, m_strTax, m_strNet);
    InformationValues::Recalculate(m_formTexts, m_values);
    ShowValues(false, true);
    m_valuesAtStart = m_values;

    m_nPrevRow = m_nCurRow = 1;
    m_grid.SetCol(2);
    m_grid.SetRow(1);
    m_bCommitPrevious = false;
    CommitAndMove();
    m_nReady = 1;
    m_nScrollPos = 1;
    m_scroll.SetScrollRange(1, MaxScroll());
    m_scroll.SetScrollPos(1);
    return FALSE; // the editor has the focus
}

void CInformationInputDialog::ShowValues(bool bNumericOnly, bool bPrefix)
{
    const int nItems = GetItemCount();
    for (int i = 0; i < nItems; ++i) {
        if (bNumericOnly && !InformationValues::IsNumericItem(m_formTexts, i))
            continue;
        m_grid.SetTextMatrix(
            static_cast<short>(i + 1), 2,
            InformationValues::DisplayText(m_formTexts, i, m_values[static_cast<size_t>(i)], bPrefix));
    }
}

bool CInformationInputDialog::ValueOfEditText(int nItem, bool bStripPrefix, CString& value) const
{
    CString typed;
    m_edit.GetWindowText(typed);
    value = typed;
    if (m_edit.m_nMode != 0)
        return true;
    if (bStripPrefix)
        value = InformationValues::StripPrefix(m_formTexts, nItem, value);
    // A number as the estimator writes it is kept in its plain form, so that every reader
    // of the value (the print, the paper, a reopened file) takes the same number from it.
    CString plain;
    if (InformationValues::ReadTypedNumber(value, plain)) {
        value = plain;
        return true;
    }
    CString blank = value;
    if (ClassifyFullWidthText(blank) == 0 && blank.IsEmpty()) {
        value.Empty(); // nothing but blanks: the value is emptied
        return true;
    }
    // A word an older file holds and the user left as it was stays; a typed one is refused.
    value = typed;
    return typed == m_values[static_cast<size_t>(nItem)];
}

bool CInformationInputDialog::IsEditTextAccepted() const
{
    const int nItem = m_nCurRow - 1;
    CString value;
    return nItem < 0 || nItem >= GetItemCount() || ValueOfEditText(nItem, true, value);
}

bool CInformationInputDialog::CheckEditText()
{
    if (IsEditTextAccepted())
        return true;
    const int nItem = m_nCurRow - 1;
    // The row stays current with what was typed, for the user to put right.
    if (m_grid.GetRow() != m_nCurRow) {
        m_nReady = 0;
        m_grid.SetRow(static_cast<short>(m_nCurRow));
        m_grid.SetCol(2);
        m_nReady = 1;
    }
    AfxMessageBox(
        AfxFormatString1("「%1」には数値を入力してください。\n（例：10000、10,000、￥10,000、10,000円）"_sj,
                         m_form.GetItem(nItem, CFormFile<8>::colName)),
        MB_ICONEXCLAMATION);
    m_edit.SetFocus();
    m_edit.SetSel(0, -1);
    return false;
}

void CInformationInputDialog::CommitRow(int nRow, bool bStripPrefix)
{
    const int nItem = nRow - 1;
    if (nItem < 0 || nItem >= GetItemCount())
        return;
    // The computed and amount items cannot be typed into: their values stay.
    if (m_edit.m_nMode > 0)
        return;
    // A row left as it came keeps its value as it was.
    CString typed;
    m_edit.GetWindowText(typed);
    if (typed == m_strEntryText)
        return;
    CString value;
    if (!ValueOfEditText(nItem, bStripPrefix, value))
        return; // refused where it was typed (CheckEditText): the value stays
    m_values[static_cast<size_t>(nItem)] = value;
    m_grid.SetTextMatrix(static_cast<short>(nRow), 2,
                         InformationValues::DisplayText(m_formTexts, nItem, value, false));
}

void CInformationInputDialog::CommitAndMove()
{
    if (m_bCommitPrevious)
        CommitRow(m_nPrevRow, true);
    m_bCommitPrevious = true;
    InformationValues::Recalculate(m_formTexts, m_values);
    ShowValues(true, true);

    // The editor over the value cell of the current row.
    CRect rcGrid;
    m_grid.GetWindowRect(&rcGrid);
    ScreenToClient(&rcGrid);
    const short nRow = static_cast<short>(m_nCurRow);
    const int left = rcGrid.left + 1 + CGridCtrl::TwipsToPixels(m_grid.GetColPos(2));
    const int top = rcGrid.top + 1 + CGridCtrl::TwipsToPixels(m_grid.GetRowPos(nRow));
    const int cx = std::min(CGridCtrl::TwipsToPixels(m_grid.GetColWidth(2)), rcGrid.right - 1 - left);
    const int cy = CGridCtrl::TwipsToPixels(m_grid.GetRowHeight(nRow));
    m_edit.MoveWindow(left, top, std::max(cx, 1), cy);

    const int nItem = m_nCurRow - 1;
    CString text;
    int nMode = -1;
    if (nItem >= 0 && nItem < GetItemCount()) {
        const CString& attribute = m_form.GetItem(nItem, CInformationFormFile::colAttribute);
        nMode = attribute == "文字"_sj ? -1 : attribute == "数値"_sj ? 0 : 1;
        // An item that takes no typing shows over its cell what the cell itself shows.
        const CString& value = m_values[static_cast<size_t>(nItem)];
        text = nMode > 0 ? InformationValues::DisplayText(m_formTexts, nItem, value, true)
                         : InformationValues::EditText(m_formTexts, nItem, value);
    } else {
        nMode = 1; // a form without items: nothing to type into
    }
    m_edit.m_nMode = nMode;
    m_edit.SetReadOnly(nMode > 0);
    m_edit.SetWindowText(text);
    m_edit.m_strLastText = text;
    m_strEntryText = text;
    m_edit.EmptyUndoBuffer();
    m_edit.ShowWindow(SW_SHOW);
    m_edit.SetFocus();
}

void CInformationInputDialog::SetCurrent(int nRow)
{
    const int r = std::clamp(nRow, 1, LastRow());
    if (r == m_grid.GetRow()) {
        // No event when the row stays: commit and place the editor all the same.
        m_nPrevRow = m_nCurRow;
        m_nCurRow = r;
        CommitAndMove();
        return;
    }
    m_grid.SetRow(static_cast<short>(r)); // the row-change event commits and moves
}

void CInformationInputDialog::ScrollTo(int nPos)
{
    m_nScrollPos = std::clamp(nPos, 1, MaxScroll());
    m_scroll.SetScrollPos(m_nScrollPos);
    m_grid.SetTopRow(static_cast<short>(m_nScrollPos));
}

void CInformationInputDialog::Move(int nKey)
{
    if (!CheckEditText())
        return;
    const int v = m_nVisibleRows;
    int r = m_nCurRow;
    const int top = m_grid.GetTopRow();
    const int last = top + v - 1;
    switch (nKey) {
    case CInformationCellEdit::keyShiftTab:
    case CInformationCellEdit::keyUp:
        if (r > 1) {
            if (top == r)
                ScrollTo(r - 1);
            --r;
        }
        break;
    case CInformationCellEdit::keyTab:
    case CInformationCellEdit::keyDown:
    case CInformationCellEdit::keyEnter:
        if (r >= v && last == r)
            ScrollTo(r - v + 2);
        if (r < LastRow())
            ++r;
        break;
    case CInformationCellEdit::keyPageUp:
        ScrollTo(std::max(1, m_nScrollPos - (v - 1)));
        r = std::max(1, r - (v - 1));
        break;
    case CInformationCellEdit::keyPageDown:
        ScrollTo(std::min(MaxScroll(), m_nScrollPos + v - 1));
        r = std::min(LastRow(), r + v - 1);
        break;
    default:
        return;
    }
    SetCurrent(r);
}

BOOL CInformationInputDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
    if (hdr != nullptr && hdr->idFrom == static_cast<UINT_PTR>(IDC_INFO_GRID) &&
        (hdr->code == GRIDN_ROWCOLCHANGE || hdr->code == GRIDN_CLICK)) {
        const int nRow = std::clamp(static_cast<int>(m_grid.GetRow()), 1, LastRow());
        if (m_nReady == 1 && nRow == m_nCurRow && !IsEditTextAccepted()) {
            // A click beside the row being typed into (or the click that follows a move
            // refused just now): the typing goes on.
            m_nReady = 0;
            m_grid.SetCol(2);
            m_nReady = 1;
            m_edit.SetFocus();
        } else if (m_nReady == 1 && CheckEditText()) {
            m_nPrevRow = m_nCurRow;
            m_nCurRow = nRow;
            // The value column is the one edited, wherever the click went.
            m_nReady = 0;
            m_grid.SetCol(2);
            m_nReady = 1;
            CommitAndMove();
        }
        *pResult = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CInformationInputDialog::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar == nullptr || pScrollBar->m_hWnd != m_scroll.m_hWnd || m_nRows < m_nVisibleRows)
        return;
    const int v = m_nVisibleRows;
    int r = m_nCurRow;
    int p = m_nScrollPos;
    const int nMax = MaxScroll();
    switch (nSBCode) {
    case SB_LINEUP:
        if (r == p + v - 1 && r != v)
            --r;
        p = std::max(1, p - 1);
        break;
    case SB_LINEDOWN:
        if (r == p && r != nMax)
            ++r;
        p = std::min(nMax, p + 1);
        break;
    case SB_PAGEUP:
        r = std::max(1, r - (v - 1));
        p = std::max(1, p - (v - 1));
        break;
    case SB_PAGEDOWN:
        r = std::min(LastRow(), r + v - 1);
        p = std::min(nMax, p + v - 1);
        break;
    case SB_THUMBPOSITION:
        p = static_cast<int>(nPos);
        break;
    case SB_THUMBTRACK:
        p = static_cast<int>(nPos);
        r = std::clamp(static_cast<int>(nPos), 1, LastRow());
        break;
    default:
        return;
    }
    if (!CheckEditText())
        return;
    ScrollTo(p);
    SetCurrent(r);
}

void CInformationInputDialog::OnOK()
{
    // The current row's text is taken as leaving the row takes it: a "\" or "***" typed in
    // front of the number is not part of the value; a text that is no number keeps the
    // sheet open.
    if (!CheckEditText())
        return;
    CommitRow(m_nCurRow, true);
    // The computed items as the values now stand (the last row's change included).
    InformationValues::Recalculate(m_formTexts, m_values);
    CDialog::OnOK();
}

bool CInformationInputDialog::HasChanges() const
{
    if (m_edit.m_nMode <= 0) {
        CString typed;
        m_edit.GetWindowText(typed);
        if (typed != m_strEntryText)
            return true;
    }
    return m_values != m_valuesAtStart;
}

void CInformationInputDialog::OnCancel()
{
    if (HasChanges() &&
        AfxMessageBox("入力した内容を破棄します。よろしいですか？"_sj, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        m_edit.SetFocus();
        return;
    }
    CDialog::OnCancel();
}
