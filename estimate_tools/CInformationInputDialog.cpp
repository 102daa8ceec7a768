#include "estimate_tools/CInformationInputDialog.h"

#include "estimate/engine/CNumberRules.h"
#include "platform/base/Cp932.h"
#include "platform/base/Cp932Text.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/EstimateCommandIds.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// The value rules

namespace InformationValues {

namespace {

const CString& Attribute(const CInformationFormFile& form, int nItem)
{
    return form.GetItem(nItem, CInformationFormFile::colAttribute);
}

CString Prefix(const CInformationFormFile& form, int nItem)
{
    const CString& e = form.GetItem(nItem, CInformationFormFile::colE);
    if (e == "2")
        return CString("\\");
    if (e == "3")
        return CString("***");
    return CString();
}

// The sheet rounds on the signed value, where the estimate's cells round the magnitude:
// "U" gives the next multiple toward plus infinity and "F" the nearest one with halves going
// up, so on a negative value both move toward zero ("U(-1)" makes -1.5 -1, "F(-1)" makes
// -1.5 -1 and -1.6 -2); "D" cuts toward zero either way.
double RoundSigned(double value, const CString& strSpec)
{
    if (value > -CNumberRules::ZERO_TOLERANCE && value < CNumberRules::ZERO_TOLERANCE)
        return value;
    CNumberRules::CRoundSpec spec = CNumberRules::ParseRoundSpec(strSpec);
    if (!spec.bActive)
        return value;
    if (value < 0) {
        if (spec.mode == CDecimal::roundUp)
            spec.mode = CDecimal::roundDown;
        else if (spec.mode == CDecimal::roundHalfUp)
            spec.mode = CDecimal::roundHalfDown;
    }
    CDecimal number = CDecimal::FromDouble(value);
    CNumberRules::RoundBySpec(number, spec);
    return number.ToDouble();
}

// A value read as a number and rounded by the item's rounding rule. Number texts may hold
// separators ("1,500"); anything else reads as far as it is a number (0 for a word).
double RoundedNumber(const CInformationFormFile& form, int nItem, const CString& value)
{
    const double number = CNumberRules::IsNumberText(value) ? CNumberRules::ReadNumberText(value).ToDouble()
                                                            : CNumberRules::ReadNumber(value);
    const CString& spec = form.GetItem(nItem, CInformationFormFile::colRounding);
    return spec.IsEmpty() ? number : RoundSigned(number, spec);
}

CString Formatted(const CInformationFormFile& form, int nItem, const CString& value, bool bSeparators)
{
    return CNumberRules::FormatByPicture(RoundedNumber(form, nItem, value),
                                         form.GetItem(nItem, CInformationFormFile::colPicture), bSeparators);
}

// A "数値" item keeps a text that is not a number as it is.
bool ShownAsTyped(const CInformationFormFile& form, int nItem, const CString& value)
{
    return !IsNumericItem(form, nItem) ||
           (Attribute(form, nItem) == "数値"_sj && !CNumberRules::IsNumberText(value));
}

} // namespace

bool IsNumericItem(const CInformationFormFile& form, int nItem)
{
    return Attribute(form, nItem) != "文字"_sj;
}

CString DisplayText(const CInformationFormFile& form, int nItem, const CString& value, bool bPrefix)
{
    if (ShownAsTyped(form, nItem, value))
        return value;
    const CString text = Formatted(form, nItem, value, true);
    return bPrefix ? Prefix(form, nItem) + text : text;
}

CString EditText(const CInformationFormFile& form, int nItem, const CString& value)
{
    if (ShownAsTyped(form, nItem, value))
        return value;
    return Prefix(form, nItem) + Formatted(form, nItem, value, false);
}

CString StripPrefix(const CInformationFormFile& form, int nItem, const CString& text)
{
    if (!IsNumericItem(form, nItem))
        return text;
    const CString& e = form.GetItem(nItem, CInformationFormFile::colE);
    char cMark = 0;
    if (e == "2")
        cMark = '\\';
    else if (e == "3")
        cMark = '*';
    if (cMark == 0)
        return text;
    // The last mark that is a character of its own, not the second byte of a double-byte
    // character (0x5C is one in code page 932).
    int nAfter = -1;
    const int nLen = text.GetLength();
    for (int i = 0; i < nLen;) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(c) && i + 1 < nLen) {
            i += 2;
            continue;
        }
        if (c == static_cast<unsigned char>(cMark))
            nAfter = i + 1;
        ++i;
    }
    return nAfter < 0 ? text : text.Mid(nAfter);
}

void FillAmounts(const CInformationFormFile& form, Values& values, const CString& strTotal,
                 const CString& strTax, const CString& strNet)
{
    const int nItems = std::min(form.GetCount(), MAX_ITEMS);
    for (int i = 0; i < nItems; ++i) {
        const CString& attribute = Attribute(form, i);
        if (attribute == "税込見積"_sj)
            values[static_cast<size_t>(i)] = strTotal;
        else if (attribute == "消費税"_sj)
            values[static_cast<size_t>(i)] = strTax;
        else if (attribute == "税抜見積"_sj)
            values[static_cast<size_t>(i)] = strNet;
    }
}

void Recalculate(const CInformationFormFile& form, Values& values)
{
    const int nItems = std::min(form.GetCount(), MAX_ITEMS);
    auto reference = [&](int nItem) -> CString {
        if (nItem < 0 || nItem >= nItems)
            return CString("0.000000");
        CString text;
        text.Format("%f", RoundedNumber(form, nItem, values[static_cast<size_t>(nItem)]));
        return text;
    };
    for (int i = 0; i < nItems; ++i) {
        if (Attribute(form, i) != "計算"_sj)
            continue;
        CString formula = form.GetItem(i, CInformationFormFile::colFormula);
        formula.MakeUpper();
        CString expression;
        const int nLen = formula.GetLength();
        for (int k = 0; k < nLen; ++k) {
            const auto c = static_cast<unsigned char>(formula[k]);
            if (IsCp932LeadByte(c) && k + 1 < nLen) {
                expression += formula.Mid(k, 2);
                ++k;
            } else if (c < 'A' || c > 'Z') {
                expression += static_cast<char>(c);
            } else if (k + 1 < nLen && formula[k + 1] >= 'A' && formula[k + 1] <= 'Z') {
                expression += reference((c - 64) * 26 + (formula[k + 1] - 65));
                ++k;
            } else {
                expression += reference(c - 65);
            }
        }
        double result = 0;
        CString text;
        if (CNumberRules::EvaluateExpression(expression, result))
            text.Format("%f", result);
        else
            text = "0.000000";
        values[static_cast<size_t>(i)] = text;
    }
}

} // namespace InformationValues

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
        nKey = keyEscape;
        break;
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

    InformationValues::FillAmounts(m_form, m_values, m_strTotal, m_strTax, m_strNet);
    InformationValues::Recalculate(m_form, m_values);
    ShowValues(false, true);

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
        if (bNumericOnly && !InformationValues::IsNumericItem(m_form, i))
            continue;
        m_grid.SetTextMatrix(
            static_cast<short>(i + 1), 2,
            InformationValues::DisplayText(m_form, i, m_values[static_cast<size_t>(i)], bPrefix));
    }
}

CString CInformationInputDialog::NormalizedEditText(int nItem) const
{
    CString text;
    m_edit.GetWindowText(text);
    if (m_edit.m_nMode != 0)
        return text;
    CString converted = text;
    if (ToHalfWidthNumber(converted) == 0)
        return converted;
    CString probe = text;
    switch (ClassifyFullWidthText(probe)) {
    case 0:
        // A text starting with a full-width symbol is dropped: the value stays. (An empty
        // or blank text is converted above and never gets here.)
        return m_values[static_cast<size_t>(nItem)];
    case 1:
        return text;
    default:
        return m_edit.m_strLastText.IsEmpty() && !text.IsEmpty() ? text : m_edit.m_strLastText;
    }
}

void CInformationInputDialog::CommitRow(int nRow, bool bStripPrefix)
{
    const int nItem = nRow - 1;
    if (nItem < 0 || nItem >= GetItemCount())
        return;
    // The computed and amount items cannot be typed into: their values stay.
    if (m_edit.m_nMode > 0)
        return;
    CString value = NormalizedEditText(nItem);
    if (bStripPrefix)
        value = InformationValues::StripPrefix(m_form, nItem, value);
    m_values[static_cast<size_t>(nItem)] = value;
    m_grid.SetTextMatrix(static_cast<short>(nRow), 2,
                         InformationValues::DisplayText(m_form, nItem, value, false));
}

void CInformationInputDialog::CommitAndMove()
{
    if (m_bCommitPrevious)
        CommitRow(m_nPrevRow, true);
    m_bCommitPrevious = true;
    InformationValues::Recalculate(m_form, m_values);
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
        text = InformationValues::EditText(m_form, nItem, m_values[static_cast<size_t>(nItem)]);
        const CString& attribute = m_form.GetItem(nItem, CInformationFormFile::colAttribute);
        nMode = attribute == "文字"_sj ? -1 : attribute == "数値"_sj ? 0 : 1;
    } else {
        nMode = 1; // a form without items: nothing to type into
    }
    m_edit.m_nMode = nMode;
    m_edit.SetReadOnly(nMode > 0);
    m_edit.SetWindowText(text);
    m_edit.m_strLastText = text;
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
    case CInformationCellEdit::keyEscape:
        m_edit.Undo();
        return;
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
        if (m_nReady == 1) {
            m_nPrevRow = m_nCurRow;
            m_nCurRow = std::clamp(static_cast<int>(m_grid.GetRow()), 1, LastRow());
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
    ScrollTo(p);
    SetCurrent(r);
}

void CInformationInputDialog::OnOK()
{
    // The current row's text is taken as leaving the row takes it: a "\" or "***" typed in
    // front of the number is not part of the value.
    CommitRow(m_nCurRow, true);
    // The computed items as the values now stand (the last row's change included).
    InformationValues::Recalculate(m_form, m_values);
    CDialog::OnOK();
}
