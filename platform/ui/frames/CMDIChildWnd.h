// CMDIChildWnd: a document window inside the main window's MDI client. It shows its
// document's title, creates the view (or a splitter of views) in OnCreateClient, carries
// its own tool bars, and gives the main frame the menu of its document type while it is
// active. Closing it asks the document to save when it is the document's last window.
#pragma once

#include "platform/ui/frames/CFrameWnd.h"

class CMDIFrameWnd;
class QMdiSubWindow;

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();
    ~CMDIChildWnd() override;

    // pParentWnd: the MDI frame (null: the application's main window).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
                CCreateContext* pContext = nullptr) override;
    BOOL LoadFrame(UINT nIDResource,
                   DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    CMDIFrameWnd* GetMDIFrame() const;
    void MDIDestroy();
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();

    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // Gives the main frame this window's menu: the document's own, or the type's shared one.
    virtual void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt);
    using CFrameWnd::OnUpdateFrameMenu;
    HACCEL GetDefaultAccelerator() override;
    // The main frame's status bar shows this window's prompts.
    CWnd* GetMessageBar() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL DestroyWindow() override;
    void PostNcDestroy() override;
    // Commands: the view, the document, this frame; then the main frame and the
    // application, unless the main frame is routing to this window itself.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The type's shared menu and accelerators (from the template's resource id).
    HMENU m_hMenuShared = nullptr;

    // The Qt window holding this frame in the MDI area (null before creation).
    QMdiSubWindow* GetSubWindow() const { return m_pSubWindow; }
    // Set by the window class when the frame's window is made (platform use).
    void AttachSubWindow(QMdiSubWindow* pSub) { m_pSubWindow = pSub; }

    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

protected:
    friend class CMDIFrameWnd;
    QMdiSubWindow* m_pSubWindow = nullptr;
    int m_nRoutingFromFrame = 0;          // the main frame is routing a command through this window
    BOOL m_bPlaced = FALSE;               // the window has had its first position and size
    BOOL m_bHiddenUntilActivated = FALSE; // made for a document: shown by ActivateFrame
};
