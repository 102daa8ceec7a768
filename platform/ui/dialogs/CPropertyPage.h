// CPropertyPage: one page of a property sheet (CPropertySheet.h), built from a dialog
// template as a child window of the sheet.
//
// The sheet creates a page's window the first time the page is shown, so OnInitDialog of
// a page the user never opens never runs, and OK or Cancel of the sheet reach only the
// pages that were created:
//   - leaving a page (another tab, OK, Apply) asks OnKillActive, which validates the
//     page's data (UpdateData(TRUE)); FALSE keeps the page in front;
//   - OK and Apply call OnApply on every created page; the default OnApply calls OnOK
//     and answers TRUE;
//   - Cancel calls OnReset on every created page; the default OnReset calls OnCancel.
// The default OnOK and OnCancel of a page do nothing: the sheet, not the page, closes.
// SetModified(TRUE) tells the sheet that the page holds changes (the Apply button
// becomes usable); applying clears it.
#pragma once

#include "platform/ui/dialogs/CDialog.h"

class CPropertySheet;

// What the sheet knows of a page when it builds its windows: the template the page's
// window is made from. BuildPropPageArray fills one per page; a sheet may rewrite the
// templates (their font, for example) before the windows are made, since each entry
// holds a copy of its own.
struct PROPSHEETPAGE {
    DWORD dwSize = sizeof(PROPSHEETPAGE);
    DWORD dwFlags = 0;
    DialogTemplate* pResource = nullptr; // the page's template, owned by the sheet
    CString pszTitle;                    // the tab's text
};

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
    ~CPropertyPage() override;

    // ---- overridables --------------------------------------------------------------------
    // The page comes to the front (after its window exists). TRUE to accept.
    virtual BOOL OnSetActive();
    // The page is about to be left; the default validates it with UpdateData(TRUE).
    virtual BOOL OnKillActive();
    // OK or Apply of the sheet; the default calls OnOK and answers TRUE. FALSE keeps the
    // sheet open on this page.
    virtual BOOL OnApply();
    // Cancel of the sheet; the default calls OnCancel.
    virtual void OnReset();
    // The sheet's Cancel is about to close it; FALSE keeps it open.
    virtual BOOL OnQueryCancel();
    // The page's part of the sheet's OK and Cancel; the defaults do nothing.
    void OnOK() override;
    void OnCancel() override;

    void SetModified(BOOL bChanged = TRUE);
    BOOL IsPageModified() const { return m_bModified; }
    // The sheet that holds the page (null before it is added).
    CPropertySheet* GetSheet() const { return m_pSheet; }
    // The tab's text: the caption resource's string, else the template's caption.
    CString GetTitle() const;

    PROPSHEETPAGE m_psp;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    friend class CPropertySheet;
    CPropertySheet* m_pSheet = nullptr;
    UINT m_nIDCaption = 0;
    BOOL m_bModified = FALSE;
};
