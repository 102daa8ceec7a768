// CMDIFrameWnd: the application's main window holding several document windows (MDI child
// frames) in its MDI client area. It shows its default menu while no document window is
// active and the active document's menu otherwise; commands go to the active document
// window first.
//
// The MDI client is a window of its own (a child of the frame); its children are the
// document windows, and GetWindow(GW_CHILD)/GW_HWNDNEXT on it walks them from the active
// (topmost) one down.
#pragma once

#include <vector>

#include "platform/ui/frames/CFrameWnd.h"

class CMDIChildWnd;
class QMdiArea;

// How MDITile arranges the document windows: side by side, or one above the other.
constexpr int MDITILE_VERTICAL = 0x0000;
constexpr int MDITILE_HORIZONTAL = 0x0001;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();
    ~CMDIFrameWnd() override;

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
    // Creates the MDI client window.
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);

    // ---- the document windows -----------------------------------------------------------
    // The active document window (and whether it is maximised), or null.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDICascade();
    // MDITILE_HORIZONTAL: one above the other; MDITILE_VERTICAL: side by side.
    void MDITile(int nType = MDITILE_VERTICAL);
    void MDIIconArrange() {}
    // Shows hMenuAlt (or the active child's menu, or the default menu) in the menu bar.
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

    CFrameWnd* GetActiveFrame() override;
    // "document - application" for the active document window's document; the application
    // alone while that window is maximised (it adds " - [its title]" itself).
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;
    HACCEL GetDefaultAccelerator() override;
    void RecalcLayout(BOOL bNotify = TRUE) override;

    // The active child first, then this frame and the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The MDI client window.
    HWND m_hWndMDIClient = nullptr;
    QMdiArea* GetMdiArea() const;
    // The MDI area made another document window (or none) active (platform use).
    void OnMdiSubWindowActivated(HWND hWndChild);

    afx_msg void OnDestroy();
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnWindowNew();
    // The window menu (the popup holding ID_WINDOW_CASCADE) ends with a list of the open
    // document windows, the active one checked; choosing one activates it.
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg BOOL OnWindowListCmd(UINT nID);
    afx_msg void OnUpdateWindowListCmd(CCmdUI* pCmdUI);
    // Back to the active view once the frame has been maximised or restored.
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The document windows in the list's order (the order they were opened in).
    std::vector<CMDIChildWnd*> GetDocumentWindows() const;
    // Ctrl+F6 / Ctrl+Tab: the next document window; with Shift the previous one.
    void MDIPrev();
    static constexpr UINT kWindowListFirst = AFX_IDM_FIRST_MDICHILD;
    static constexpr int kWindowListMax = 9;

    DECLARE_MESSAGE_MAP()

protected:
    friend class CMDIChildWnd;
    // A child became active (or none is): tell the children, move it to the top of the
    // walk order, and show its menu.
    void OnChildActivated(CMDIChildWnd* pChild);
    HWND m_hWndActiveChild = nullptr;
    CWnd* m_pMDIClientWnd = nullptr; // the object standing for the client (owned)
};
