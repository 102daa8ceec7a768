// CNewTypeDialog: the dialog of File New when several document types exist. It lists the
// types' names ("新規"); the chosen index is m_nSelected (-1 before a choice).
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CNewTypeDialog : public CDialog {
    DECLARE_DYNAMIC(CNewTypeDialog)
public:
    explicit CNewTypeDialog(const std::vector<CString>& names, CWnd* pParentWnd = nullptr);

    // The list box of the names.
    static constexpr UINT IDC_TYPE_LIST = 1000;

    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnListDoubleClick();

    int m_nSelected = -1;

    DECLARE_MESSAGE_MAP()

private:
    std::vector<CString> m_names;
};
