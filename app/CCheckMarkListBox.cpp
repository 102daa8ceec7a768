#include "app/CCheckMarkListBox.h"

#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

IMPLEMENT_DYNAMIC(CCheckMarkListBox, CListBox)

BEGIN_MESSAGE_MAP(CCheckMarkListBox, CListBox)
ON_WM_LBUTTONDOWN()
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// The tick box lies this far inside the tick column; the text this far into its part.
constexpr int kBoxInset = 4;
constexpr int kTextIndent = 4;

} // namespace

CCheckMarkListBox::CCheckMarkListBox()
{
    m_bCheck.fill(FALSE);
    m_bEnable.fill(TRUE);
}

CCheckMarkListBox::~CCheckMarkListBox() = default;

int CCheckMarkListBox::AddItem(LPCTSTR lpszItem)
{
    return AddString(lpszItem);
}

BOOL CCheckMarkListBox::GetCheck(int nIndex) const
{
    return InRange(nIndex) ? m_bCheck[static_cast<size_t>(nIndex)] : FALSE;
}

BOOL CCheckMarkListBox::GetEnable(int nIndex) const
{
    return InRange(nIndex) ? m_bEnable[static_cast<size_t>(nIndex)] : FALSE;
}

void CCheckMarkListBox::SetCheck(int nIndex, BOOL bCheck)
{
    // Rows beyond the tables have nowhere to keep a tick.
    if (InRange(nIndex))
        m_bCheck[static_cast<size_t>(nIndex)] = bCheck ? TRUE : FALSE;
}

void CCheckMarkListBox::SetEnable(int nIndex, BOOL bEnable)
{
    if (InRange(nIndex))
        m_bEnable[static_cast<size_t>(nIndex)] = bEnable ? TRUE : FALSE;
}

BOOL CCheckMarkListBox::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style = (cs.style & ~LBS_OWNERDRAWVARIABLE) | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    return CListBox::PreCreateWindow(cs);
}

void CCheckMarkListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    // A list of a dialog template may have asked for its row height before it came here.
    SetItemHeight(0, ITEM_HEIGHT);
}

void CCheckMarkListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = ITEM_HEIGHT;
}

// ---------------------------------------------------------------------------------------
// Drawing.
// ---------------------------------------------------------------------------------------
void CCheckMarkListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int nIndex = static_cast<int>(lpDrawItemStruct->itemID);
    if (!pDC || nIndex < 0 || nIndex >= GetCount())
        return;
    // The row with the focus (the chosen row) is drawn blue. The list reports a focus change
    // as its own draw action, and after a whole repaint only through the row's state, so
    // both count.
    const BOOL bFocusDraw = (lpDrawItemStruct->itemAction & ODA_FOCUS) ||
                            (lpDrawItemStruct->itemState & (ODS_FOCUS | ODS_SELECTED));
    DrawRow(pDC, CRect(lpDrawItemStruct->rcItem), nIndex, bFocusDraw);
    if (lpDrawItemStruct->itemState & ODS_FOCUS) {
        CRect rcText(lpDrawItemStruct->rcItem);
        rcText.left += TICK_WIDTH;
        pDC->DrawFocusRect(&rcText);
    }
}

void CCheckMarkListBox::DrawRow(CDC* pDC, const CRect& rcItem, int nIndex, BOOL bFocusDraw)
{
    const BOOL bEnabled = GetEnable(nIndex);
    CRect rcTick = rcItem;
    rcTick.right = rcTick.left + TICK_WIDTH;
    CRect rcText = rcItem;
    rcText.left = rcTick.right;

    pDC->FillSolidRect(&rcItem, kWhite);
    COLORREF clrFill = kWhite;
    COLORREF clrText = kBlack;
    if (bFocusDraw) {
        clrFill = bEnabled ? kBlue : kGrey;
        clrText = kWhite;
    } else if (!bEnabled) {
        clrFill = kGrey;
        clrText = kWhite;
    }
    pDC->FillSolidRect(&rcTick, clrFill);
    pDC->FillSolidRect(&rcText, clrFill);

    // The tick box, and the tick in two strokes when the row is ticked.
    CRect rcBox = rcTick;
    rcBox.DeflateRect(kBoxInset, kBoxInset);
    CPen penBlack(PS_SOLID, 1, kBlack);
    CBrush brushWhite(kWhite);
    CPen* pOldPen = pDC->SelectObject(&penBlack);
    CBrush* pOldBrush = pDC->SelectObject(&brushWhite);
    pDC->Rectangle(&rcBox);
    if (GetCheck(nIndex)) {
        pDC->MoveTo(rcBox.left + 2, rcBox.top + 6);
        pDC->LineTo(rcBox.left + 4, rcBox.top + 11);
        pDC->LineTo(rcBox.left + 11, rcBox.top + 2);
    }
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);

    // The text, in the list's own font (the one its dialog gave it), centred on the row by
    // the height of a sample.
    CString text;
    GetText(nIndex, text);
    CFont* pListFont = GetFont();
    CFont* pOldFont = pListFont != nullptr ? pDC->SelectObject(pListFont) : nullptr;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF clrOldText = pDC->SetTextColor(clrText);
    const CSize sizeSample = pDC->GetTextExtent(CString("Ag"));
    const int y = rcText.top + (rcText.Height() - sizeSample.cy) / 2;
    pDC->TextOut(rcText.left + kTextIndent, y, text);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkMode(nOldMode);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
}

// ---------------------------------------------------------------------------------------
// Ticking with the mouse.
// ---------------------------------------------------------------------------------------
void CCheckMarkListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    // The list selects the row under the click first.
    CListBox::OnLButtonDown(nFlags, point);
    const int nSel = GetCurSel();
    if (nSel < 0 || !GetEnable(nSel))
        return;
    // A click on a row, its box or its text, ticks it as in any check list; a click in the
    // empty space below the last row must not change the row chosen before.
    BOOL bOutside = TRUE;
    const int nHit = static_cast<int>(ItemFromPoint(point, bOutside));
    if (bOutside || nHit != nSel)
        return;
    ToggleCheck(nSel);
}

// ---------------------------------------------------------------------------------------
// Ticking with the keyboard: Space turns the chosen row's tick over, as a click on its
// box does, so that the list can be worked without the mouse.
// ---------------------------------------------------------------------------------------
void CCheckMarkListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Space is the tick's alone: the list itself would take it for a search and move on.
    if (nChar == VK_SPACE) {
        ToggleCheck(GetCurSel());
        return;
    }
    CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CCheckMarkListBox::ToggleCheck(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount() || !GetEnable(nIndex))
        return;
    SetCheck(nIndex, !GetCheck(nIndex));
    CRect rcItem;
    if (GetItemRect(nIndex, &rcItem) != LB_ERR)
        InvalidateRect(&rcItem, FALSE);
    else
        Invalidate(FALSE);
}
