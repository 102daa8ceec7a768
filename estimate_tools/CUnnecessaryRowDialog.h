// CUnnecessaryRowDialog (不要行削除): the modeless search for detail rows whose quantity or
// estimate amount is zero. The grid that made it (its parent) searches and deletes when
// the dialog asks through WM_UNNECESSARY_ROW_COMMAND. Several may be open; each deletes
// itself when its window goes, and the grid destroys the ones still open when it closes.
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CUnnecessaryRowDialog : public CDialog {
public:
    explicit CUnnecessaryRowDialog(CWnd* pOwner);
    // Makes the window from template 271, shown at once beside the owner.
    BOOL Create();

    CWnd* m_pOwner;
    int m_nCondition = 1; // 1 quantity, 2 amount, 3 both

protected:
    BOOL OnInitDialog() override;
    // Enter searches; it never closes the dialog.
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;
    afx_msg void OnFindNext();
    afx_msg void OnDelete();
    afx_msg void OnDeleteAll();
    afx_msg void OnQuantity();
    afx_msg void OnAmount();
    afx_msg void OnBoth();
    DECLARE_MESSAGE_MAP()
};
