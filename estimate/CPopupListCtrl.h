// CPopupListCtrl: the choice list the estimate grid shows over its current cell (F4): the
// large, middle or small subjects or the units of the masters, or the parts of the current
// parts file. It lives as a child of the grid view that owns it, takes the keyboard while
// it shows, and goes away as soon as a choice is made, Esc is pressed or the keyboard
// leaves it.
//
// Enter or a double click hands the chosen entries to the owner: their indexes, in order
// and ended by -1, are written into the owner's choice array and the owner's
// OnPopupListChoice takes them (1 when two or more entries are chosen, else 0); the list
// window then goes and the keyboard returns to the grid. Esc closes the list without a
// choice and hides the grid's cell editor. The arrows, Home, End, the page keys, Space and
// typed characters (the list looks for the entry beginning with them) move the selection
// as in any report list.
#pragma once

#include "app/CListCtrlEx.h"
#include "platform/base/CString.h"

#include <vector>

class CMorvelEMView;

// What the list shows: its columns (heading and width in pixels), one row of texts per
// entry, the entry chosen when it opens (-1 none) and whether several can be chosen.
struct CPopupListContent {
    struct CColumn {
        CString strHeading;
        int nWidth = 100;
    };
    std::vector<CColumn> columns;
    std::vector<std::vector<CString>> items;
    int nSelect = 0;
    bool bMultiple = false;
};

class CPopupListCtrl : public CListCtrlEx {
public:
    CPopupListCtrl() = default;
    ~CPopupListCtrl() override = default;

    void SetOwnerView(CMorvelEMView* pOwner) { m_pOwnerView = pOwner; }
    // Set while a choice is being handed to the owner: the keyboard may go to the grid
    // meanwhile without the list closing under the owner's hands.
    BOOL IsBusy() const { return m_bBusy; }
    // The columns the list was made with.
    int GetColumnCount() const { return m_nColumns; }

    // Makes the list window (hidden) as a child of the owner in rect, with the columns
    // and entries of the content; the window of an earlier list goes first.
    BOOL CreateList(const CPopupListContent& content, const CRect& rect, UINT nID);
    // The choice as Enter makes it.
    void ApplyChoice();
    // Esc: closes without a choice.
    void CancelList();

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg UINT OnGetDlgCode();
    DECLARE_MESSAGE_MAP()

private:
    void ReturnFocusToOwner();

    CMorvelEMView* m_pOwnerView = nullptr;
    BOOL m_bBusy = FALSE;
    int m_nColumns = 0;
};
