// CImportItemListDialog ("読込項目ﾘｽﾄ"): the source items to choose from for one item of the
// current form. Row 0 is "(なし)" (no source); OK or a double click takes the selected row;
// "全選択(&A)" takes every source item in order, for the caller to map one to one.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CImportItemListDialog : public CDialog {
public:
    // The modes of the mapping dialog: 1 estimation form, 2 information form, 0 parts
    // form, 10 CSV columns.
    enum { modeParts = 0, modeEstimation = 1, modeInformation = 2, modeCsv = 10 };

    // The source items by name (for CSV, the column texts "1列目", ...), the label of the
    // current choice (empty: none).
    CImportItemListDialog(CWnd* pParent, int nMode, const std::vector<CString>& sourceNames,
                          const CString& strCurrentLabel);
    ~CImportItemListDialog() override;

    int m_nSelectAllCount = 0; // the number of items "全選択(&A)" took, 0 after a single choice
    CString m_strLabel;        // the chosen item's label and name (empty for "(なし)")
    CString m_strName;
    std::vector<CString> m_labels; // every source item's label and name, in order
    std::vector<CString> m_names;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnSelectAll();
    afx_msg void OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    int m_nMode;
    CString m_strCurrentLabel;
    CListCtrl m_List;
};
