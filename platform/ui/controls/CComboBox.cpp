#include "platform/ui/controls/CComboBox.h"

#include "platform/ui/controls/ControlWidgets_p.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {
LRESULT Send(const CComboBox* p, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return const_cast<CComboBox*>(p)->SendMessage(nMsg, wParam, lParam);
}

WPARAM Index(int n)
{
    return static_cast<WPARAM>(static_cast<intptr_t>(n));
}
} // namespace

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxRegisterControlClasses();
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CComboBox::GetCount() const
{
    return static_cast<int>(Send(this, CB_GETCOUNT));
}

int CComboBox::GetCurSel() const
{
    return static_cast<int>(Send(this, CB_GETCURSEL));
}

int CComboBox::SetCurSel(int nSelect)
{
    return static_cast<int>(SendMessage(CB_SETCURSEL, Index(nSelect)));
}

int CComboBox::AddString(LPCTSTR lpszString)
{
    return static_cast<int>(
        SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString ? lpszString : "")));
}

int CComboBox::InsertString(int nIndex, LPCTSTR lpszString)
{
    return static_cast<int>(
        SendMessage(CB_INSERTSTRING, Index(nIndex), reinterpret_cast<LPARAM>(lpszString ? lpszString : "")));
}

int CComboBox::DeleteString(UINT nIndex)
{
    return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex));
}

void CComboBox::ResetContent()
{
    SendMessage(CB_RESETCONTENT);
}

int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const
{
    return static_cast<int>(Send(this, CB_GETLBTEXT, Index(nIndex), reinterpret_cast<LPARAM>(lpszText)));
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    const int nLen = GetLBTextLen(nIndex);
    if (nLen <= 0) {
        rString.Empty();
        return;
    }
    GetLBText(nIndex, rString.GetBuffer(nLen));
    rString.ReleaseBuffer();
}

int CComboBox::GetLBTextLen(int nIndex) const
{
    return static_cast<int>(Send(this, CB_GETLBTEXTLEN, Index(nIndex)));
}

int CComboBox::FindString(int nStartAfter, LPCTSTR lpszString) const
{
    return static_cast<int>(Send(this, CB_FINDSTRING, Index(nStartAfter),
                                 reinterpret_cast<LPARAM>(lpszString ? lpszString : "")));
}

int CComboBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const
{
    return static_cast<int>(Send(this, CB_FINDSTRINGEXACT, Index(nIndexStart),
                                 reinterpret_cast<LPARAM>(lpszFind ? lpszFind : "")));
}

int CComboBox::SelectString(int nStartAfter, LPCTSTR lpszString)
{
    return static_cast<int>(SendMessage(CB_SELECTSTRING, Index(nStartAfter),
                                        reinterpret_cast<LPARAM>(lpszString ? lpszString : "")));
}

int CComboBox::SetItemData(int nIndex, UINT_PTR dwItemData)
{
    return static_cast<int>(SendMessage(CB_SETITEMDATA, Index(nIndex), static_cast<LPARAM>(dwItemData)));
}

UINT_PTR CComboBox::GetItemData(int nIndex) const
{
    return static_cast<UINT_PTR>(Send(this, CB_GETITEMDATA, Index(nIndex)));
}

int CComboBox::SetItemHeight(int nIndex, UINT cyItemHeight)
{
    return static_cast<int>(SendMessage(CB_SETITEMHEIGHT, Index(nIndex), static_cast<LPARAM>(cyItemHeight)));
}

int CComboBox::GetItemHeight(int nIndex) const
{
    return static_cast<int>(Send(this, CB_GETITEMHEIGHT, Index(nIndex)));
}

void CComboBox::ShowDropDown(BOOL bShowIt)
{
    SendMessage(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt));
}

BOOL CComboBox::GetDroppedState() const
{
    return static_cast<BOOL>(Send(this, CB_GETDROPPEDSTATE));
}

BOOL CComboBox::LimitText(int nMaxChars)
{
    return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars)));
}

DWORD CComboBox::GetEditSel() const
{
    return static_cast<DWORD>(Send(this, CB_GETEDITSEL));
}

BOOL CComboBox::SetEditSel(int nStartChar, int nEndChar)
{
    return static_cast<BOOL>(SendMessage(
        CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(nStartChar), static_cast<WORD>(nEndChar))));
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}

void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (AfxReflectOwnerDraw(*this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}
