// The pick lists that stay open beside the estimate grid: the subjects of one level
// (大科目, 中科目, 小科目) and the units, from the master tables. Each choice goes to the
// view that opened the list as a pick message; the lists also add, change and delete
// master entries (through CNameUnitDialog), rewriting the master file at once.
#pragma once

#include "app/CListCtrlEx.h"
#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"

class CSubjectFile;
class CUnitFile;

// A subject's name and unit, or a unit alone (mode 4), typed for the masters.
class CNameUnitDialog : public CDialog {
public:
    CNameUnitDialog(const CString& strTitle, int nMode, CWnd* pParent);

    CString m_strName;
    CString m_strUnit;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CString m_strTitle;
    int m_nMode;
};

// Whether each level's subject list closes after a choice: one flag per level, on when
// the program starts, kept while it runs (never saved).
struct CPickListFlags {
    int nCloseAfterChoice[3] = {1, 1, 1};
    static CPickListFlags& Get();
};

// Modeless; deletes itself when its window goes, telling the owner (WM_MODELESS_CLOSED).
class CSubjectPickDialog : public CDialog {
public:
    // nMode 1 large, 2 middle, 3 small subject.
    CSubjectPickDialog(int nMode, CWnd* pOwner, CSubjectFile& subjects);

    BOOL Create();

    CString m_strName;
    CString m_strUnit;
    int m_nMode;
    CListCtrlEx& List() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCloseAfter();
    afx_msg void OnAdd();
    afx_msg void OnChange();
    afx_msg void OnDelete();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int Level() const { return m_nMode - 1; }
    CString EntryTitle() const;
    void UpdateButtons();
    void FillList();
    // TRUE when row nItem is still the master's entry nItem; otherwise the list is filled
    // again from the master (nothing is changed or deleted then).
    bool IsListCurrent(int nItem);

    HWND m_hOwner;
    CSubjectFile& m_subjects;
    CListCtrlEx m_list;
    int m_nCloseAfter = 1;
};

// Modeless; ends after one choice (or none), always answering the owner with WM_PICK_UNIT.
class CUnitPickDialog : public CDialog {
public:
    CUnitPickDialog(const CString& strCellText, CWnd* pOwner, CUnitFile& units);

    BOOL Create();

    CString m_strUnit;
    CListCtrlEx& List() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;
    afx_msg void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnAdd();
    afx_msg void OnChange();
    afx_msg void OnDelete();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void UpdateButtons();
    bool IsListCurrent(int nItem);
    void Answer(const CString* pUnit);

    HWND m_hOwner;
    CUnitFile& m_units;
    CString m_strCellText;
    CListCtrlEx m_list;
};

// Opens the modeless unit list of the program's unit master for a grid cell holding
// strCellText; the owner hears the choice (WM_PICK_UNIT) and the closing
// (WM_MODELESS_CLOSED). Null when it cannot be opened.
CUnitPickDialog* OpenUnitPickDialog(CWnd* pOwner, const CString& strCellText);
