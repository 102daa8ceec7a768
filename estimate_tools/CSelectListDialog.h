// The parts selection list (部材選択): the rows of a parts-list file whose first cell
// matches the text typed in the estimate's cell, with the parts file's own columns; the
// user sorts by any column, selects several rows and takes them into the estimate. The
// window's rectangle and the column widths are kept in the settings.
#pragma once

#include "app/CListCtrlEx.h"
#include "engine/estimate/CGridRow.h"
#include "parts/PartsSelectList.h"
#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"

#include <memory>
#include <vector>

class CSelectListDialog : public CDialog {
public:
    enum { modeParts = 5 };
    // Ends with this code when there is nothing to choose (the user was told why).
    enum { RESULT_NOTHING = 3 };

    CSelectListDialog(CWnd* pParent, int nMode, const CString& strFilter, const CString& strFolder,
                      const CString& strFileName);

    // After IDOK: the list indexes chosen, from the top, and their rows as listed.
    std::vector<WORD> m_selected;
    std::vector<std::unique_ptr<CGridRow>> m_chosenRows;

    CListCtrlEx& List() { return m_list; }
    int GetColumnCount() const { return m_selection.nColumns; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void LayoutControls();
    void SaveGeometry();
    void CollectSelection();
    static int CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    int m_nMode;
    CString m_strFilter;
    CString m_strFolder;
    CString m_strFileName;
    CPartsSelection m_selection;
    std::vector<int> m_ascending; // one per column: the direction of the next sort
    int m_nSortColumn = 0;
    bool m_bSortAscending = true;
    CListCtrlEx m_list;
};
