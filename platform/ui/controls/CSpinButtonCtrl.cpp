#include "platform/ui/controls/CSpinButtonCtrl.h"

#include "platform/ui/controls/ControlWidgets_p.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

namespace {
LRESULT Send(const CSpinButtonCtrl* p, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return const_cast<CSpinButtonCtrl*>(p)->SendMessage(nMsg, wParam, lParam);
}
} // namespace

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxRegisterControlClasses();
    return CWnd::Create("msctls_updown32", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(nUpper), static_cast<WORD>(nLower)));
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper)
{
    SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}

DWORD CSpinButtonCtrl::GetRange() const
{
    return static_cast<DWORD>(Send(this, UDM_GETRANGE));
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    Send(this, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    return static_cast<short>(
        LOWORD(static_cast<DWORD>(SendMessage(UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(nPos), 0)))));
}

int CSpinButtonCtrl::GetPos() const
{
    return static_cast<int>(Send(this, UDM_GETPOS));
}

int CSpinButtonCtrl::SetPos32(int nPos)
{
    return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos));
}

int CSpinButtonCtrl::GetPos32(LPBOOL lpbError) const
{
    return static_cast<int>(Send(this, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError)));
}

int CSpinButtonCtrl::SetBase(int nBase)
{
    return static_cast<int>(SendMessage(UDM_SETBASE, static_cast<WPARAM>(nBase)));
}

UINT CSpinButtonCtrl::GetBase() const
{
    return static_cast<UINT>(Send(this, UDM_GETBASE));
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    HWND hOld = reinterpret_cast<HWND>(
        SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->m_hWnd : nullptr)));
    return CWnd::FromHandle(hOld);
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(Send(this, UDM_GETBUDDY)));
}
