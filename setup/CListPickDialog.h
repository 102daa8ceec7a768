// CListPickDialog: a small modal list of up to 100 texts; the form pages pick a column's
// attribute or code with it. A double click or Enter picks; the caller reads m_nSelect
// after IDOK.
#pragma once

#include "platform/ui/controls/CListBox.h"
#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CListPickDialog : public CDialog {
    DECLARE_DYNAMIC(CListPickDialog)
public:
    static constexpr int MAX_TEXTS = 100;

    explicit CListPickDialog(CWnd* pParent = nullptr);
    // Copies the first nCount texts (at most 100), the title and the index to preselect.
    CListPickDialog(const CString* pTexts, int nCount, const CString& strTitle, int nSelect,
                    CWnd* pParent = nullptr);

    std::vector<CString> m_strTexts;
    int m_nCount = 0;
    CString m_strTitle;
    int m_nSelect = -1;
    CListBox m_list;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter picks the entry with the focus (the OK button is hidden).
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnSelChange();
    afx_msg void OnDblClk();
    void OnOK() override;
    DECLARE_MESSAGE_MAP()
};
