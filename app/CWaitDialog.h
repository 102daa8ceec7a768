// The wait dialog: tells the user that a long operation runs on the user-interface thread.
// The caller makes it, creates it modeless from dialog 274 (without a parent), runs the
// operation and lets the object go; meanwhile it holds the mouse and shows the hourglass.
//
//   CWaitDialog dlg("見積処理ﾌｧｲﾙの読み込み中..."_sj, nullptr);
//   dlg.Create(IDD_WAIT, nullptr);
//   ... the long operation ...
//   dlg.EndDialog(3);   // or just leave the scope
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"

#include <memory>

class CWaitDialog : public CDialog {
    DECLARE_DYNAMIC(CWaitDialog)
public:
    CWaitDialog(const char* lpszMessage, CWnd* pParent);
    // Closes the window when it is still there.
    ~CWaitDialog() override;

    // The text shown in static 1183.
    CString m_strMessage;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;

    afx_msg void OnDestroy();
    // A message or dialog that comes up while the operation runs takes the mouse; the
    // wait is over then (the operation has failed or asks something), so the dialog hides.
    afx_msg void OnCaptureChanged(CWnd* pWnd);

    DECLARE_MESSAGE_MAP()
};

// The wait dialog of a long step for as long as the scope lasts, shown only where there is
// a main window to show it over: a program without one (a tool, a test) runs the step
// without it.
//
//   CWaitScope wait("ﾃｷｽﾄ入力中..."_sj);
//   ... the long step ...
//   wait.Close();   // before a message about the step, or just leave the scope
class CWaitScope {
public:
    explicit CWaitScope(const CString& strText);
    ~CWaitScope() { Close(); }
    CWaitScope(const CWaitScope&) = delete;
    CWaitScope& operator=(const CWaitScope&) = delete;

    // Takes the dialog away now.
    void Close();

private:
    std::unique_ptr<CWaitDialog> m_pDialog;
};
