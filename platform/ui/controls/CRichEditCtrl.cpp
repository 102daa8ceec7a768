#include "platform/ui/controls/CRichEditCtrl.h"

#include "platform/ui/controls/CommonControls_p.h"
#include "platform/ui/core/CWnd_p.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

// ---------------------------------------------------------------------------------------
// The wrapper.
// ---------------------------------------------------------------------------------------
LRESULT CRichEditCtrl::Send(UINT nMsg, WPARAM wParam, LPARAM lParam) const
{
    return AfxCallWndProc(m_hWnd, nMsg, wParam, lParam);
}

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxRegisterCommonControlClasses();
    return CWnd::Create(RICHEDIT_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr{static_cast<LONG>(nStartChar), static_cast<LONG>(nEndChar)};
    SetSel(cr);
}

void CRichEditCtrl::SetSel(CHARRANGE& cr)
{
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr{0, 0};
    GetSel(cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::GetSel(CHARRANGE& cr) const
{
    Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE cr{0, 0};
    GetSel(cr);
    const int nMax = std::max<LONG>(0, cr.cpMax - cr.cpMin) * 2 + 1;
    CString text;
    char* p = text.GetBuffer(nMax);
    p[0] = '\0';
    const int n = static_cast<int>(Send(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(p)));
    text.ReleaseBuffer(std::clamp(n, 0, nMax));
    return text;
}

WORD CRichEditCtrl::GetSelectionType() const
{
    return static_cast<WORD>(Send(EM_SELECTIONTYPE));
}

void CRichEditCtrl::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo)
{
    Send(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo),
         reinterpret_cast<LPARAM>(lpszNewText ? lpszNewText : ""));
}

long CRichEditCtrl::GetTextLength() const
{
    return static_cast<long>(Send(WM_GETTEXTLENGTH));
}

long CRichEditCtrl::GetTextLengthEx(DWORD dwFlags, UINT uCodePage) const
{
    GETTEXTLENGTHEX g{dwFlags, uCodePage};
    return static_cast<long>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&g)));
}

void CRichEditCtrl::LimitText(long nChars)
{
    Send(EM_EXLIMITTEXT, 0, static_cast<LPARAM>(nChars));
}

long CRichEditCtrl::GetLimitText() const
{
    return static_cast<long>(Send(EM_GETLIMITTEXT));
}

BOOL CRichEditCtrl::GetModify() const
{
    return static_cast<BOOL>(Send(EM_GETMODIFY));
}

void CRichEditCtrl::SetModify(BOOL bModified)
{
    Send(EM_SETMODIFY, static_cast<WPARAM>(bModified));
}

void CRichEditCtrl::Cut()
{
    Send(WM_CUT);
}

void CRichEditCtrl::Copy()
{
    Send(WM_COPY);
}

void CRichEditCtrl::Paste()
{
    Send(WM_PASTE);
}

void CRichEditCtrl::Clear()
{
    Send(WM_CLEAR);
}

BOOL CRichEditCtrl::Undo()
{
    return static_cast<BOOL>(Send(EM_UNDO));
}

BOOL CRichEditCtrl::CanUndo() const
{
    return static_cast<BOOL>(Send(EM_CANUNDO));
}

BOOL CRichEditCtrl::Redo()
{
    return static_cast<BOOL>(Send(EM_REDO));
}

BOOL CRichEditCtrl::CanRedo() const
{
    return static_cast<BOOL>(Send(EM_CANREDO));
}

void CRichEditCtrl::EmptyUndoBuffer()
{
    Send(EM_EMPTYUNDOBUFFER);
}

BOOL CRichEditCtrl::CanPaste(UINT nFormat) const
{
    return static_cast<BOOL>(Send(EM_CANPASTE, nFormat));
}

BOOL CRichEditCtrl::SetReadOnly(BOOL bReadOnly)
{
    return static_cast<BOOL>(Send(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly)));
}

COLORREF CRichEditCtrl::SetBackgroundColor(BOOL bSysColor, COLORREF cr)
{
    return static_cast<COLORREF>(
        Send(EM_SETBKGNDCOLOR, static_cast<WPARAM>(bSysColor), static_cast<LPARAM>(cr)));
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof(CHARFORMAT);
    return static_cast<DWORD>(Send(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof(CHARFORMAT);
    return static_cast<BOOL>(Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof(CHARFORMAT);
    return static_cast<DWORD>(Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof(CHARFORMAT);
    return static_cast<BOOL>(Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
}

DWORD CRichEditCtrl::GetParaFormat(PARAFORMAT& pf) const
{
    pf.cbSize = sizeof(PARAFORMAT);
    return static_cast<DWORD>(Send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)));
}

BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT& pf)
{
    pf.cbSize = sizeof(PARAFORMAT);
    return static_cast<BOOL>(Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf)));
}

DWORD CRichEditCtrl::GetEventMask() const
{
    return static_cast<DWORD>(Send(EM_GETEVENTMASK));
}

DWORD CRichEditCtrl::SetEventMask(DWORD dwEventMask)
{
    return static_cast<DWORD>(Send(EM_SETEVENTMASK, 0, static_cast<LPARAM>(dwEventMask)));
}

void CRichEditCtrl::HideSelection(BOOL bHide, BOOL bPerm)
{
    Send(EM_HIDESELECTION, static_cast<WPARAM>(bHide), static_cast<LPARAM>(bPerm));
}
