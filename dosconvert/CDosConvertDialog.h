// "DOS版MORVELﾃﾞｰﾀｺﾝﾊﾞｰﾄ" (dialog 279): the drive that holds the DOS edition and what to
// convert from it: auxiliary data (units, subjects, classifications), form data
// (estimation, parts and information forms) or edit data (estimates or parts lists).
// Every showing starts from drive C, "編集ﾃﾞｰﾀ" and "見積ﾃﾞｰﾀ".
#pragma once

#include "dosconvert/DosConversion.h"
#include "platform/base/CString.h"
#include "platform/ui/controls/CListCtrl.h"
#include "platform/ui/dialogs/CDialog.h"

#include <memory>

class CImageList;

class CDosConvertDialog : public CDialog {
    DECLARE_DYNAMIC(CDosConvertDialog)
public:
    explicit CDosConvertDialog(CWnd* pParent = nullptr);
    ~CDosConvertDialog() override;

    // The choices, read after DoModal has returned IDOK.
    const CDosConvertChoice& GetChoice() const { return m_choice; }
    // The letters of the listed drives, in list order.
    const CString& GetDriveLetters() const { return m_strDriveLetters; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnDriveChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnAuxiliary();
    afx_msg void OnForms();
    afx_msg void OnEdit();
    afx_msg void OnEstimateData();
    afx_msg void OnPartsData();
    afx_msg void OnUnits();
    afx_msg void OnSubjects();
    afx_msg void OnClassifications();
    afx_msg void OnEstimationForm();
    afx_msg void OnPartsForm();
    afx_msg void OnInformationForm();
    DECLARE_MESSAGE_MAP()

private:
    void ListDrives();
    void SetMode(int nMode);
    void ToggleFlag(BOOL& bFlag, int nID);

    CListCtrl m_listDrives;
    std::unique_ptr<CImageList> m_pImageList;
    CString m_strDriveLetters;
    CDosConvertChoice m_choice;
};
