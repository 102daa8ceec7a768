// CSpinButtonCtrl: the up-down control beside a number edit (its buddy). With
// UDS_SETBUDDYINT the position shows in the buddy and is read back from it.
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/DialogDefs.h"

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    CSpinButtonCtrl() = default;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The up arrow moves towards nUpper.
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    DWORD GetRange() const; // upper in the low word, lower in the high word
    void GetRange(int& lower, int& upper) const;
    void GetRange32(int& lower, int& upper) const { GetRange(lower, upper); }
    int SetPos(int nPos);
    int GetPos() const; // the position in the low word, nonzero high word when the buddy's text is no number
    int SetPos32(int nPos);
    int GetPos32(LPBOOL lpbError = nullptr) const;
    // 10 (decimal) or 16 (hexadecimal); returns the previous base.
    int SetBase(int nBase);
    UINT GetBase() const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
};
