// CFrameWnd: a window with a caption, a menu, tool bars and a status bar around a view.
//
// A frame routes commands: the active view (and through it the document) first, then the
// view that carries the window's commands (GetCommandView) when another pane of the frame
// is active, then the frame itself, then the application. It keeps the active view, updates its caption from
// the document ("document - application"), shows the menu and translates the accelerators
// of its resource id, lays out its control bars along its edges (bars docked on the same
// side share rows; a bar docked "beside" another stands on that bar's row) and fills the
// rest with the window whose id is AFX_IDW_PANE_FIRST (the view or a splitter).
//
// Underneath, a frame's window is a Qt main window: the bars live in its tool-bar areas and
// the status bar at its foot.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinDefs.h"

#include <vector>

class CCmdUI;
class CControlBar;
class CDocument;
class CMenu;
class CView;
struct CCreateContext;
class QMainWindow;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // The rectangle that lets the system choose position and size.
    static const CRect rectDefault;

    // ---- creation -----------------------------------------------------------------------
    // lpszMenuName: a menu resource (MAKEINTRESOURCE(id)) or null.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr,
                        LPCTSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
                        CCreateContext* pContext = nullptr);
    // Creates the frame from the resources of nIDResource: its menu, accelerators, icon and
    // title (the first "\n" field of the string resource, or the whole string).
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Creates the frame's contents: the view of the context (when it names a view class).
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // A view of the context's class as a child with that id; null when it fails.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    void PostNcDestroy() override;

    // ---- active view and document -------------------------------------------------------
    // The frame's document (of its active view); for an MDI frame the active child's.
    virtual CDocument* GetActiveDocument();
    CView* GetActiveView() const;
    // Makes pViewNew the view that receives commands first (and the focus when bNotify).
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // The frame whose view is active: this frame, or for an MDI frame the active child.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // The view whose commands are the window's: they reach it from every pane of the frame
    // (a tree beside it, another pane of a splitter), after the active view's own. Null (the
    // default) when the active view alone has them.
    virtual CView* GetCommandView() const { return nullptr; }
    virtual void ActivateFrame(int nCmdShow = -1);
    // The first view's OnInitialUpdate (through WM_INITIALUPDATE to the frame's
    // descendants), then activation and showing.
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    CWnd* GetDescendantWindow(UINT nID) const;

    // ---- layout and bars ----------------------------------------------------------------
    // Places the control bars along the edges and the pane in what is left.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // CBRS_ALIGN_* sides where bars may dock.
    void EnableDocking(DWORD dwDockStyle);
    // Docks a bar on the side nDockBarID names (AFX_IDW_DOCKBAR_TOP, ...; 0 = the first side
    // the bar allows). With lpRect (screen coordinates), a bar whose rectangle lies on an
    // existing row of that side joins the row right of the bars there.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    CControlBar* GetControlBar(UINT nID);
    // The bars of this frame, in the order they were added.
    const CPtrList& GetControlBars() const { return m_listControlBars; }
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    // The row of a docked bar on its side (0 = outermost), -1 when not docked.
    int GetBarRow(CControlBar* pBar) const;

    // ---- title, menu, status line -------------------------------------------------------
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    // Shows hMenuAlt (or the frame's default menu) in the menu bar.
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    virtual HACCEL GetDefaultAccelerator();
    // The first line of the command's string resource ("prompt\ntip" -> "prompt").
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    // Pane 0 of the status bar: the text, or the prompt of a command (0: the idle text).
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    virtual CWnd* GetMessageBar();
    // Asks for the title to be updated at the next idle time.
    void DelayUpdateFrameTitle();
    void DelayRecalcLayout(BOOL bNotify = TRUE);

    // ---- routing ------------------------------------------------------------------------
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    CFrameWnd* AsFrameWnd() override { return this; }
    BOOL IsFrameWnd() const override { return TRUE; }
    // A frame that is the application's main window ends the application when it closes.
    virtual BOOL IsMainFrame() const;

    // ---- tool-bar and status-bar commands -------------------------------------------------
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnDropFiles(HANDLE hDropInfo);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMenuChanged(WPARAM wParam, LPARAM lParam);

    // ---- state --------------------------------------------------------------------------
    HMENU m_hMenuDefault = nullptr; // the menu while no document supplies one
    HACCEL m_hAccelTable = nullptr;
    BOOL m_bAutoMenuEnable = TRUE; // items without handlers are disabled
    UINT m_nIDHelp = 0;
    int m_nWindow = -1;     // "title:n" numbering of several windows on one document
    UINT m_nIDTracking = 0; // the command whose prompt the status line shows
    UINT m_nIDLastMessage = 0;

    DECLARE_MESSAGE_MAP()

protected:
    friend class CControlBar;
    friend class CMDIChildWnd;
    friend class CMDIFrameWnd;

    enum { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    // Whether a frame object still exists (a frame deletes itself when its window goes,
    // also when its creation failed half-way).
    static BOOL IsFrameAlive(const CFrameWnd* pFrame);
    UINT m_nIdleFlags = 0;
    CString m_strTitle;
    CView* m_pViewActive = nullptr;
    CPtrList m_listControlBars;
    DWORD m_dwDockStyle = 0; // CBRS_ALIGN_* sides that accept bars
    BOOL m_bInRecalcLayout = FALSE;
    BOOL m_bDockLayoutDirty = FALSE; // the dock rows changed since they were applied
    HMENU m_hMenuShown = nullptr;    // what the menu bar shows now
    HMENU m_hMenuLoaded = nullptr;   // the menu this frame loaded itself (and destroys)
    CControlBar* m_pStatusBarShown = nullptr;

    // The dock rows: for each side, the rows of bars, outermost first.
    struct CDockRow {
        std::vector<CControlBar*> bars;
    };
    std::vector<CDockRow> m_dockRows[4];
    void UndockBar(CControlBar* pBar);
    static int DockSideIndex(UINT nDockBarID);

    // The active view (and its document), the command view, then the frame's own handlers.
    BOOL RouteCmdMsgInFrame(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // Sends WM_INITIALUPDATE to every descendant view.
    void SendInitialUpdate();
    // Shows hMenu in the menu bar (no change when it is shown already).
    void SetFrameMenu(HMENU hMenu);
    // Applies the frame's dock rows to the Qt main window.
    void ApplyDockLayout();
    // The Qt main window of this frame (null before creation).
    QMainWindow* GetMainWindowWidget() const;
};
