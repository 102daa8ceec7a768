// The main window: the MDI frame with the menu bar (the frame menu while no document is
// open, the document's menu otherwise), the main tool bar with the zoom box that every grid
// and print-layout view shares, the second tool bar ("ﾓﾙﾍﾞﾙﾊﾞｰ") on the same row, and the
// four-pane status bar. It handles the commands that need no document: the environment and
// setup sheets, the import of outside estimate data, the DOS-edition conversion, the two
// tool-bar switches and help; and it lets the other subsystems walk the open document
// windows.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/frames/CMDIFrameWnd.h"
#include "platform/ui/frames/CStatusBar.h"
#include "platform/ui/frames/CToolBar.h"

class CMDIChildWnd;

class CMainFrame : public CMDIFrameWnd {
    DECLARE_DYNAMIC(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Keys typed into a box on a document window's bar edit its text: the main window's
    // accelerators (Ctrl+C, Ctrl+V, ...) leave them to it (IsTextKeyForBarBox).
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnUpdateFrameMenu(HMENU hMenuAlt) override;

    // The walk over the open document windows: the first call after a reset gives the
    // first MDI child frame, each further call the next one; windows that have an owner and
    // windows that are not MDI child frames are passed over. At the end it returns null and
    // stays at the end.
    CMDIChildWnd* GetNextMDIChild();
    // Starts the walk again from the first child.
    void ResetMDIChildWalk()
    {
        m_hWndCurrentChild = nullptr;
        m_bWalkAtEnd = FALSE;
    }
    // The number of MDI child frames. Leaves the walk at its end: reset it before walking.
    int GetMDIChildCount();

    // The program's main frame; null while there is none (a window made alone by a test).
    static CMainFrame* GetMain();

    // The tool bars and the status bar.
    CToolBar& GetToolBar() { return m_wndToolBar; }
    CToolBar& GetMorvelBar() { return m_wndMorvelBar; }
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }

    // ---- the zoom box -----------------------------------------------------------------------
    // Control 176 on the main tool bar, which every grid and layout view shares: the view with
    // the keyboard shows its zoom there. Entries 0 to 5 are "25%" to "200%" and always stay;
    // the last one offers the user zoom ("ﾕｰｻﾞｰ 指定...") or shows a view's zoom that has no
    // entry of its own. Until the box exists the functions below do nothing.
    CComboBox& GetZoomBox() { return m_wndZoomBox; }
    // The zoom of a fixed step's command (ID_ZOOM_25 ... ID_ZOOM_200); 0 for any other.
    static int GetZoomOfCommand(UINT nID);
    // Whether a zoom is one of the fixed steps (25, 50, 75, 100, 150 and 200 %).
    static BOOL IsZoomStep(int nPercent);
    // Selects the entry of a zoom; a zoom without one leaves the selection as it is.
    void SelectZoomEntry(int nPercent);
    // Shows the zoom of the view that has the keyboard: its entry is selected, and a zoom
    // without one takes the last entry.
    void ShowZoom(int nPercent);
    // A user zoom just chosen: the last entry shows it and is selected.
    void ShowUserZoom(int nPercent);
    // The view lost the keyboard: the last entry offers the user zoom again. The selection
    // stays, unless it was the entry replaced.
    void OfferUserZoom();
    // A view in pClosing's document window is being closed: the box shows no zoom, unless
    // another document window is already the active one (ClearsZoomBoxOnClose).
    void ForgetZoom(const CWnd* pClosing);
    // The command of the chosen entry (ID_ZOOM_25 ... ID_ZOOM_USER); 0 while none is chosen.
    UINT GetChosenZoomCommand() const;
    // Sends pView that command (the box's choice goes to the view with the keyboard).
    void SendZoomCommand(CWnd* pView) const;

    // ---- status panes 1 and 2 -------------------------------------------------------------
    // The views write their texts into the panes ID_INDICATOR_PANE1 and ID_INDICATOR_PANE2,
    // each as wide as its text in the bar's font: exactly (paneFitsText), or at least
    // (paneWidensToText: a wider pane keeps its width).
    enum PaneWidth { paneFitsText, paneWidensToText };
    // Writes strText into the pane nPaneID and sizes the pane for it. Without bShow the pane
    // is left empty, sized for the text all the same. Nothing while there is no status bar.
    void SetStatusPane(UINT nPaneID, const CString& strText, PaneWidth nWidth, BOOL bShow = TRUE);
    // Empties both panes, keeping their widths.
    void ClearStatusPanes();

    // The help: the table of contents (index.html) of the HTML guide. It is looked for in
    // MORVEL_HELP_DIR when set, then beside the program in help/ (a build folder), then in
    // ../share/morvel/help/ from the program's folder (an installed program). When none is
    // there, the installed place is returned, so that the message names where it belongs.
    static CString GetHelpFilePath();
    static CString FindHelpFile(const CString& strProgramPath);
    // The page a help command opens: the table of contents for "Help Topics", the page of
    // the active document's kind for context help.
    CString GetHelpTopic(UINT nCommand) const;

    // ---- handlers (public for the tests that drive them) -----------------------------------
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnEnvironment();
    afx_msg void OnIntroduction();
    afx_msg void OnViewMorvelBar();
    afx_msg void OnUpdateViewMorvelBar(CCmdUI* pCmdUI);
    afx_msg void OnViewToolBar();
    afx_msg void OnUpdateViewToolBar(CCmdUI* pCmdUI);
    afx_msg void OnImportOther();
    afx_msg void OnDosConvert();
    // With no document window left the status panes of the last one are emptied.
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    // Whether a grid (or its subject tree) that loses the keyboard to pNewWnd keeps its page,
    // row and amount texts in the status bar: it does unless the keyboard goes elsewhere in
    // the active document window (the zoom box, a dialog, the frame itself or a part of the
    // grid leave them showing).
    static BOOL KeepsStatusPanes(const CWnd* pLosing, CWnd* pNewWnd);
    // Whether a grid being closed in pClosing should empty the zoom box: not when another
    // document window is already the active one (its grid shows its own zoom).
    BOOL ClearsZoomBoxOnClose(const CWnd* pClosing) const;
    afx_msg void OnHelpFinder();
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateZoomBox();
    // Shows the bar when it is hidden and hides it when it is shown.
    void ToggleBar(CControlBar& bar);

    // The zoom box (control 176 on the main tool bar), the status bar and the tool bars.
    CComboBox m_wndZoomBox;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CToolBar m_wndMorvelBar;
    // The MDI client window, attached once the frame exists.
    CWnd m_wndMDIClient;

    // Where the MDI-child walk stands: the last window returned (null before the first). A
    // handle, so that a window closed meanwhile ends the walk instead of being touched.
    HWND m_hWndCurrentChild = nullptr;
    BOOL m_bWalkAtEnd = FALSE;

    // Status pane 0 while a menu of the menu bar is open: its saved id, style and width
    // (width -1: nothing saved) and whether a menu selection is going on.
    UINT m_nSavedPaneID = 0;
    UINT m_nSavedPaneStyle = 0;
    int m_nSavedPaneWidth = -1;
    int m_nMenuInUse = 0;
};
