// CDialog: a dialog box built from a dialog template (DialogTemplate.h), modal or
// modeless.
//
// DoModal builds the window and its controls from the template, sends WM_INITDIALOG
// (OnInitDialog, which loads the members into the controls through DoDataExchange), runs a
// nested event loop until EndDialog and returns EndDialog's code; the window goes when
// DoModal returns and the same object may run again. Create makes a modeless dialog that
// lives until DestroyWindow; PostNcDestroy may delete the object.
//
// Keys behave as in the system's dialogs: Enter presses the default push button (or the
// push button with the focus), Esc presses IDCANCEL, the arrow keys move between the
// buttons of a group; the close box is IDCANCEL too. IDOK runs OnOK (UpdateData(TRUE),
// then EndDialog(IDOK)) and IDCANCEL runs OnCancel (EndDialog(IDCANCEL)).
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/dialogs/DialogTemplate.h"

#include <memory>
#include <vector>

class CDataExchange;
class CFont;
class QEventLoop;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // ---- modeless ----------------------------------------------------------------------
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* pParentWnd = nullptr);

    // ---- modal -------------------------------------------------------------------------
    // The template of the constructor (or InitModalIndirect); -1 when it cannot be built.
    virtual INT_PTR DoModal();
    BOOL InitModalIndirect(const DialogTemplate& dialogTemplate, CWnd* pParentWnd = nullptr);
    // Ends a modal dialog with nResult (DoModal returns it); hides a modeless one.
    void EndDialog(int nResult);

    // ---- overridables ------------------------------------------------------------------
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    // FALSE when a value could not be read or validated (the user has been told).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // ---- focus, default button, units --------------------------------------------------
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    // Focuses a control; an edit gets all its text selected.
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    // The default push button's id in the low word and DC_HASDEFID in the high word.
    DWORD GetDefID() const;
    // Dialog units of this dialog's font to pixels.
    void MapDialogRect(LPRECT lpRect) const;
    const DialogBaseUnits& GetDialogBaseUnits() const { return m_baseUnits; }

    // The dialog keys (Enter, Esc, arrows in button groups); TRUE when the message was one.
    BOOL IsDialogMessage(LPMSG lpMsg);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT GetTemplateID() const { return m_nIDTemplate; }
    BOOL IsModalRunning() const { return m_bModal && !m_bEnded; }
    int GetModalResult() const { return m_nModalResult; }

    UINT m_nIDHelp = 0;
    LPCTSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcDestroy();

protected:
    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT AfxDialogClassProc(CWnd*, UINT, WPARAM, LPARAM, BOOL*);
    const DialogTemplate* ResolveTemplate() const;
    BOOL CreateDialogWindow(const DialogTemplate& dialogTemplate, CWnd* pParentWnd, bool bModal);
    void CreateControls(const DialogTemplate& dialogTemplate);
    CWnd* OwnerFor(CWnd* pParentWnd) const;
    void ReleaseControls();

    UINT m_nIDTemplate = 0;
    std::unique_ptr<DialogTemplate> m_pIndirect; // InitModalIndirect / CreateIndirect
    DialogBaseUnits m_baseUnits;
    std::unique_ptr<CFont> m_pFont;
    // The objects standing for the controls the template made (until a DDX_Control member
    // takes one over); deleted with the window.
    std::vector<std::unique_ptr<CWnd>> m_controls;
    UINT m_nDefID = 0;
    bool m_bModal = false;
    bool m_bEnded = false;
    int m_nModalResult = -1;
    QEventLoop* m_pLoop = nullptr;
};

// The window class of dialog boxes.
constexpr const char* AFX_DIALOG_CLASS = "#32770";
