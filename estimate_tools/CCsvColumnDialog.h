// CCsvColumnDialog ("設定"): the columns of the estimation form that the CSV output writes,
// chosen in a list of the form's items. Every column starts chosen; OK hands back one tick
// per column, the close box or Esc cancels the output.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CPartFormFile.h"
#include "platform/base/Types.h"
#include "platform/ui/controls/CListBox.h"
#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CCsvColumnDialog : public CDialog {
public:
    CCsvColumnDialog(CWnd* pParent, const CEstimationFormFile& form);
    // The same choice over the items of a parts form.
    CCsvColumnDialog(CWnd* pParent, const CPartFormFile& form);
    ~CCsvColumnDialog() override;

    std::vector<BOOL> m_ticks; // one per column of the form, read on OK

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnSelectAll();
    afx_msg void OnDeselectAll();
    DECLARE_MESSAGE_MAP()

private:
    std::vector<CString> m_names; // the items' names, in column order
    CListBox m_List;
};
