#include "platform/ui/controls/CListBox.h"

#include "platform/ui/controls/ControlWidgets_p.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

namespace {
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_SETCARETINDEX = 0x019E;
constexpr UINT LB_GETCARETINDEX = 0x019F;
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;

LRESULT Send(const CListBox* p, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return const_cast<CListBox*>(p)->SendMessage(nMsg, wParam, lParam);
}

WPARAM Index(int n)
{
    return static_cast<WPARAM>(static_cast<intptr_t>(n));
}
} // namespace

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxRegisterControlClasses();
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListBox::GetCount() const
{
    return static_cast<int>(Send(this, LB_GETCOUNT));
}

int CListBox::GetCurSel() const
{
    return static_cast<int>(Send(this, LB_GETCURSEL));
}

int CListBox::SetCurSel(int nSelect)
{
    return static_cast<int>(SendMessage(LB_SETCURSEL, Index(nSelect)));
}

int CListBox::GetSel(int nIndex) const
{
    return static_cast<int>(Send(this, LB_GETSEL, Index(nIndex)));
}

int CListBox::SetSel(int nIndex, BOOL bSelect)
{
    return static_cast<int>(SendMessage(LB_SETSEL, static_cast<WPARAM>(bSelect), nIndex));
}

int CListBox::GetSelCount() const
{
    return static_cast<int>(Send(this, LB_GETSELCOUNT));
}

int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const
{
    return static_cast<int>(Send(this, LB_GETSELITEMS, Index(nMaxItems), reinterpret_cast<LPARAM>(rgIndex)));
}

int CListBox::AddString(LPCTSTR lpszItem)
{
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem ? lpszItem : "")));
}

int CListBox::InsertString(int nIndex, LPCTSTR lpszItem)
{
    return static_cast<int>(
        SendMessage(LB_INSERTSTRING, Index(nIndex), reinterpret_cast<LPARAM>(lpszItem ? lpszItem : "")));
}

int CListBox::DeleteString(UINT nIndex)
{
    return static_cast<int>(SendMessage(LB_DELETESTRING, nIndex));
}

void CListBox::ResetContent()
{
    SendMessage(LB_RESETCONTENT);
}

int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const
{
    return static_cast<int>(Send(this, LB_GETTEXT, Index(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    const int nLen = GetTextLen(nIndex);
    if (nLen <= 0) {
        rString.Empty();
        return;
    }
    GetText(nIndex, rString.GetBuffer(nLen));
    rString.ReleaseBuffer();
}

int CListBox::GetTextLen(int nIndex) const
{
    return static_cast<int>(Send(this, LB_GETTEXTLEN, Index(nIndex)));
}

int CListBox::FindString(int nStartAfter, LPCTSTR lpszItem) const
{
    return static_cast<int>(
        Send(this, LB_FINDSTRING, Index(nStartAfter), reinterpret_cast<LPARAM>(lpszItem ? lpszItem : "")));
}

int CListBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
{
    return static_cast<int>(Send(this, LB_FINDSTRINGEXACT, Index(nIndexStart),
                                 reinterpret_cast<LPARAM>(lpszFind ? lpszFind : "")));
}

int CListBox::SelectString(int nStartAfter, LPCTSTR lpszItem)
{
    return static_cast<int>(
        SendMessage(LB_SELECTSTRING, Index(nStartAfter), reinterpret_cast<LPARAM>(lpszItem ? lpszItem : "")));
}

int CListBox::SetItemData(int nIndex, UINT_PTR dwItemData)
{
    return static_cast<int>(SendMessage(LB_SETITEMDATA, Index(nIndex), static_cast<LPARAM>(dwItemData)));
}

UINT_PTR CListBox::GetItemData(int nIndex) const
{
    return static_cast<UINT_PTR>(Send(this, LB_GETITEMDATA, Index(nIndex)));
}

int CListBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return static_cast<int>(
        SendMessage(LB_SETITEMHEIGHT, Index(nIndex), MAKELPARAM(static_cast<WORD>(cyItemHeight), 0)));
}

int CListBox::GetItemHeight(int nIndex) const
{
    return static_cast<int>(Send(this, LB_GETITEMHEIGHT, Index(nIndex)));
}

int CListBox::GetTopIndex() const
{
    return static_cast<int>(Send(this, LB_GETTOPINDEX));
}

int CListBox::SetTopIndex(int nIndex)
{
    return static_cast<int>(SendMessage(LB_SETTOPINDEX, Index(nIndex)));
}

int CListBox::GetCaretIndex() const
{
    return static_cast<int>(Send(this, LB_GETCARETINDEX));
}

int CListBox::SetCaretIndex(int nIndex, BOOL bScroll)
{
    return static_cast<int>(SendMessage(LB_SETCARETINDEX, Index(nIndex), bScroll));
}

int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<int>(Send(this, LB_GETITEMRECT, Index(nIndex), reinterpret_cast<LPARAM>(lpRect)));
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    const DWORD r = static_cast<DWORD>(
        Send(this, LB_ITEMFROMPOINT, 0, MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y))));
    bOutside = HIWORD(r) != 0;
    return LOWORD(r);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (AfxReflectOwnerDraw(*this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
