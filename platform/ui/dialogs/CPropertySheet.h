// CPropertySheet: a dialog of tabbed pages (CPropertyPage.h) with the standard buttons
// OK, "ｷｬﾝｾﾙ", "適用(&A)" (ID_APPLY_NOW, 12321) and "ﾍﾙﾌﾟ" (IDHELP) in a row under the
// pages, from left to right; the sheet's OnInitDialog may move, relabel, hide or disable
// them like any control.
//
//   CPropertySheet sheet("環境設定"_sj, pParent);
//   sheet.AddPage(&pathPage);
//   sheet.AddPage(&inputPage);
//   if (sheet.DoModal() == IDOK) ...
//
// Running a sheet: BuildPropPageArray gives every page a copy of its template
// (m_psh.ppsp), the callback of m_psh (PSH_USECALLBACK) sees the sheet's own template with
// PSCB_PRECREATE, the sheet's window is made, the start page's window is made and shown,
// then OnInitDialog of the sheet runs. Other pages get their windows when they are first
// shown. A page is left only when its OnKillActive agrees. OK: the current page's
// OnKillActive, then OnApply of every created page in page order (one answering FALSE
// keeps the sheet open on it), then the sheet ends with IDOK. Apply does the same without
// ending and disables the Apply button again. Cancel: OnQueryCancel of the current page,
// then OnReset of every created page, then IDCANCEL. Help (F1 or the button) sends
// WM_COMMAND IDHELP to the current page.
//
// Ctrl+Tab and Ctrl+PgDn go to the next page, Ctrl+Shift+Tab and Ctrl+PgUp to the
// previous one; Enter and Esc work as in every dialog, and Ctrl+Enter presses the default
// button also from a control that keeps Enter for itself (the grid pages' cell editors).
// Tab moves round every control that takes the focus, self-drawn ones included. The dialog answerer sees a
// sheet as the template AFX_IDD_PROPSHEET.
#pragma once

#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/CPropertyPage.h"

#include <memory>
#include <vector>

class QTabBar;

// The sheet's own message: puts the focus into the active page once the sheet shows.
constexpr UINT WM_AFX_SHEET_FOCUS = WM_USER + 0x7F10;

// The template id under which running sheets are known (to the dialog answerer).
constexpr UINT AFX_IDD_PROPSHEET = 0x7F10;

// The sheet's header: its flags and the callback that sees the sheet's own template.
constexpr DWORD PSH_USECALLBACK = 0x00000100;
constexpr UINT PSCB_INITIALIZED = 1;
constexpr UINT PSCB_PRECREATE = 2;
// lParam of PSCB_PRECREATE points to the sheet's DialogTemplate, which the callback may
// rewrite in place.
using PFNPROPSHEETCALLBACK = int (*)(HWND hWnd, UINT uMsg, LPARAM lParam);

struct PROPSHEETHEADER {
    DWORD dwSize = sizeof(PROPSHEETHEADER);
    DWORD dwFlags = 0;
    CString pszCaption;
    UINT nStartPage = 0;
    UINT nPages = 0;
    PROPSHEETPAGE* ppsp = nullptr; // nPages entries, built by BuildPropPageArray
    PFNPROPSHEETCALLBACK pfnCallback = nullptr;
};

class CPropertySheet : public CDialog {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    // ---- pages ---------------------------------------------------------------------------
    // Pages belong to the caller and must outlive the sheet's window.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Brings a page to the front (making its window when needed); FALSE when the current
    // page refuses to be left or there is no such page.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCTSTR lpszText);

    // ---- running -------------------------------------------------------------------------
    INT_PTR DoModal() override;
    // A modeless sheet; OK and Cancel hide it.
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1),
                        DWORD dwExStyle = 0);
    // Presses a standard button as the user would (IDOK, IDCANCEL, ID_APPLY_NOW, IDHELP).
    void PressButton(int nButton);
    // Enables the Apply button as when a page is modified; used by CPropertyPage.
    void UpdateApplyButton();

    PROPSHEETHEADER m_psh;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Fills m_psh.ppsp/nPages: one entry per page with a copy of its template (made a child
    // template), called before the sheet's window is made.
    virtual void BuildPropPageArray();
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnApplyNow();
    afx_msg void OnHelpButton();
    afx_msg LRESULT HandleSheetInit(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcDestroy();
    afx_msg LRESULT OnRestoreFocus(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    DialogTemplate BuildSheetTemplate();
    void LayoutSheet();
    BOOL CreatePageWindow(int nPage);
    BOOL ApplyAll();
    void ShowPage(int nPage);
    void SyncTabBar();
    void MoveFocusInChain(bool bForward);
    void ForgetWindows();

    std::vector<CPropertyPage*> m_pages;
    // The page templates of the current run (what m_psh.ppsp points into).
    std::vector<PROPSHEETPAGE> m_pageArray;
    std::vector<std::unique_ptr<DialogTemplate>> m_pageTemplates;
    std::vector<bool> m_created;
    int m_nActive = -1;
    CRect m_rcPage; // where pages sit, in the sheet's client coordinates
    QTabBar* m_pTabBar = nullptr;
    bool m_bModeless = false;
};
