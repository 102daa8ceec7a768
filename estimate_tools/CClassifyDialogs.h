// The three dialogs of the classification total setting, all titled "分類合計設定": the
// classification and its rate from the classification table, the calculation settings
// (amount basis, range, target item and code), and, on an existing classification row,
// whether to update it or add a new row. They only collect values; the view makes the row.
#pragma once

#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CListCtrlEx.h"
#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"

class CClassRateDialog : public CDialog {
public:
    // The table listed (the application's classification table).
    CClassRateDialog(const CClassifyFile& table, CWnd* pParent);

    CString m_strName; // on entry the name to preselect
    CString m_strRate; // on entry the rate shown (both empty: the first row and its rate); after
                       // OK the number typed, in its plain form ("１０" gives "10")

    CListCtrlEx& List() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    const CClassifyFile& m_table;
    CListCtrlEx m_list;
    bool m_bReady = false;
};

class CClassTotalDialog : public CDialog {
public:
    enum { stateNew = 0, stateEdit = 1, stateReleased = -1 };

    // A new setting: basis 0, range 0, no code; the target item the form's first
    // classification item.
    CClassTotalDialog(const CEstimationFormFile& form, CWnd* pParent);
    // An existing setting, from a classification row's parameters.
    CClassTotalDialog(const CString& strName, const CEstimationFormFile& form, const CString& strTarget,
                      int nTargetItem, int nBasis, int nRange, CWnd* pParent);

    CString m_strName;
    int m_nBasis = 0; // 0 the amount columns, 1 the amount and the vertical total columns
    int m_nState = stateNew;
    int m_nRange = 0; // as the step dialog: 0, 1, 2..5, -1
    int m_nTargetItem = 0;
    CString m_strTarget;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnWithinSubject();
    afx_msg void OnWhole();
    afx_msg void OnBySubject();
    afx_msg void OnAmounts();
    afx_msg void OnVerticalTotals();
    afx_msg void OnRelease();
    DECLARE_MESSAGE_MAP()

private:
    CEstimationFormFile m_form;
};

class CClassUpdateDialog : public CDialog {
public:
    explicit CClassUpdateDialog(CWnd* pParent);

    int m_nAddNew = 0;
    int m_nUpdate = 1;

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnUpdateRow();
    afx_msg void OnAddRow();
    DECLARE_MESSAGE_MAP()
};
