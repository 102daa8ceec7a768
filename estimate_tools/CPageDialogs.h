// The page dialogs of the estimate view: 頁 指定 (go to a page), 頁削除 (delete a page) and
// 頁 挿入 (insert an empty page before or after a page). Each only collects a page number,
// counted from 1; the command acts on it after OK.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/dialogs/CDialog.h"

class CPageNumberDialog : public CDialog {
public:
    CPageNumberDialog(UINT nIDTemplate, CWnd* pParent);

    int m_nPage = 0; // the number read on OK (a text that is no whole number is refused)

protected:
    void OnOK() override;
    // Writes m_nPage into the number box (the page the dialog offers).
    void ShowPageNumber();
};

class CPageSelectDialog : public CPageNumberDialog {
public:
    explicit CPageSelectDialog(CWnd* pParent);
};

// Offers the current page, as 頁 挿入 does.
class CPageDeleteDialog : public CPageNumberDialog {
public:
    CPageDeleteDialog(CWnd* pParent, int nCurrentPage);

protected:
    BOOL OnInitDialog() override;
};

class CPageInsertDialog : public CPageNumberDialog {
public:
    CPageInsertDialog(CWnd* pParent, int nCurrentPage);

    int m_nBefore = 1; // 1: the empty page goes before the chosen page, 0: after it

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnBefore();
    afx_msg void OnAfter();
    DECLARE_MESSAGE_MAP()
};
