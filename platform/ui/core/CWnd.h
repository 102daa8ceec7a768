// CWnd: a window with a window procedure and a message map.
//
// A CWnd object exists before its window: m_hWnd is null until Create/CreateEx makes the
// window, and again after DestroyWindow. Underneath, each window is a Qt widget; Qt's events
// on it arrive here as the Windows messages the message maps handle (mouse messages in
// client coordinates with MK_ flags, key messages with VK_ codes, WM_CHAR with code page 932
// bytes, WM_PAINT into a retained back buffer, ...). Qt never appears in this header.
//
// Window classes: Create with a null class name or a name from AfxRegisterWndClass makes a
// self-drawn window (a back buffer, WM_PAINT). Controls register their class names with a
// widget factory and a default window procedure (see WndClass_p.h), so that a plain CWnd
// created with class "EDIT" is an edit control, as on Windows.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/WinDefs.h"

class CDC;
class CFont;
class CFrameWnd;
class CMenu;
class CScrollBar;
class CRgn;
struct CCreateContext;
struct DRAWITEMSTRUCT;
struct MEASUREITEMSTRUCT;
class QWidget;

typedef void (*TIMERPROC)(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    // Destroys the window if it still exists.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object of a live window; null for a destroyed or unknown handle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd) { return FromHandle(hWnd); }
    bool operator==(const CWnd& wnd) const { return m_hWnd == wnd.m_hWnd; }
    bool operator!=(const CWnd& wnd) const { return m_hWnd != wnd.m_hWnd; }

    // ---- creation and destruction -------------------------------------------------------
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    // For a child window hMenuOrID is the control id (cast to HMENU).
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                          int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenuOrID,
                          LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    // Sends WM_DESTROY (children first get theirs after the parent's, as on Windows), then
    // WM_NCDESTROY; PostNcDestroy runs last and may delete the object.
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();
    virtual void PreSubclassWindow();
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0);

    // Takes over an existing window: its messages come to this object from now on; this
    // object's DefWindowProc passes them to the previous owner.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    BOOL Attach(HWND hWndNew) { return SubclassWindow(hWndNew); }
    HWND Detach() { return UnsubclassWindow(); }

    // ---- messages -----------------------------------------------------------------------
    // Synchronous: runs this window's procedure now and returns its result.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queued: delivered through the event loop, in the order posted. FALSE without a window.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The message being handled (for handlers that need its time or position).
    static const MSG* GetCurrentMessage();
    // The serial number of the message being handled: each message a window procedure gets
    // (sent or posted, from input or from the program) has its own, counting up from 1, and
    // when a message sent from a handler is done the serial is the sender's again. 0 while
    // no message is being handled. Two steps see the same serial exactly when they run in
    // the handling of one message, outside any message it sends.
    static unsigned long long GetMessageSerial();
    // Passes the message being handled to DefWindowProc with its original parameters.
    LRESULT Default();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A control's chance to handle (reflected) notifications it sent to its parent.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    // Key and mouse messages pass here (from the target window up to its top-level window,
    // then the main window) before they are dispatched; TRUE eats the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // ---- timers -------------------------------------------------------------------------
    // WM_TIMER with wParam = nIDEvent every nElapse ms (or lpfnTimer called instead).
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // ---- position and size --------------------------------------------------------------
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void BringWindowToTop();
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);

    // ---- text, id, style ----------------------------------------------------------------
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    // The class style (CS_DBLCLKS, ...) of the window's class.
    UINT GetClassStyle() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;

    // ---- relations ----------------------------------------------------------------------
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);
    // The nearest enclosing frame window (windows whose AsFrameWnd() is not null).
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    // Frames override AsFrameWnd to return themselves; GetParentFrame walks with it.
    virtual CFrameWnd* AsFrameWnd() { return nullptr; }
    virtual BOOL IsFrameWnd() const;
    // GW_CHILD (first child), GW_HWNDNEXT/PREV (siblings in creation order), GW_HWNDFIRST/
    // LAST, GW_OWNER.
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return GetWindow(nFlag); }
    CWnd* GetTopWindow() const { return GetWindow(GW_CHILD); }
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
    BOOL IsChild(const CWnd* pWnd) const;
    CWnd* ChildWindowFromPoint(POINT point) const;
    static CWnd* WindowFromPoint(POINT point);

    // ---- dialog items (through the controls' messages) -----------------------------------
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    UINT IsDlgButtonChecked(int nIDButton) const;
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);

    // ---- focus, capture, activation, enabling --------------------------------------------
    CWnd* SetFocus();
    static CWnd* GetFocus();
    // For a window without keys of its own beside the one that has them (a page tab strip, a
    // bar of buttons acting on a view): a click on it or on a control inside it leaves the
    // keyboard where it is, as a click on a window that does not ask for the keyboard does
    // on Windows. SetFocus still gives it the keyboard. Call once it exists.
    void KeepFocusOffOnClick();
    // Win32 semantics: mouse messages go to this window until ReleaseCapture, also when no
    // button is pressed and the mouse is outside the window.
    CWnd* SetCapture();
    static CWnd* GetCapture();
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();
    BOOL SetForegroundWindow();
    static CWnd* GetForegroundWindow();
    static CWnd* GetDesktopWindow();
    BOOL FlashWindow(BOOL bInvert);

    // ---- painting -----------------------------------------------------------------------
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void ValidateRgn(CRgn* pRgn);
    // Paints now (WM_PAINT) when anything is invalid.
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE);
    void SetRedraw(BOOL bRedraw = TRUE);
    // Scrolls the client area's pixels (within lpRect, clipped to lpClipRect) and
    // invalidates the uncovered part; without lpRect child windows move as well.
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr);
    int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                       LPRECT lpRectUpdate, UINT flags);
    // A device context on the client area (the back buffer): release with ReleaseDC.
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    // Used by CPaintDC; BeginPaint validates the update region and sends WM_ERASEBKGND when
    // it was marked for erasing.
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
    void EndPaint(LPPAINTSTRUCT lpPaint);
    // The window's shape: an elliptic or other region from CRgn (null: rectangular again).
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw);

    // ---- scroll bars (the window's own, or the controls GetScrollBarCtrl returns) ---------
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH);
    void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    int GetScrollPos(int nBar) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
    int GetScrollLimit(int nBar) const;
    // Views override this to use scroll-bar controls shared with a splitter.
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

    // ---- other --------------------------------------------------------------------------
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);
    void DragAcceptFiles(BOOL bAccept = TRUE);
    BOOL OpenClipboard();
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
    LONG GetWindowLong(int nIndex) const;
    LONG SetWindowLong(int nIndex, LONG dwNewLong);

    // ---- the Qt side (for the layer's own code) ------------------------------------------
    // The widget standing for the whole window, and the one standing for its client area
    // (the same widget for controls; an inner widget for self-drawn windows).
    QWidget* GetWidget() const;
    QWidget* GetClientWidget() const;
    // The window owning a widget (or the nearest ancestor that has one).
    static CWnd* FromWidget(const QWidget* pWidget);
    // TRUE for self-drawn windows (a back buffer and WM_PAINT).
    BOOL IsSelfDrawn() const;

    // ---- message handlers of the framework's default behaviour ---------------------------
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnClose();
    afx_msg void OnInitMenu(CMenu* pMenu);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnDropFiles(HANDLE hDropInfo);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnCancelMode();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnDrawItem(int nIDCtl, DRAWITEMSTRUCT* lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, MEASUREITEMSTRUCT* lpMeasureItemStruct);

    DECLARE_MESSAGE_MAP()

private:
    CWnd* m_pSuperWnd = nullptr; // the previous owner of a subclassed window
};

// Conversions used by the message thunks (their parameter types are declared elsewhere).
CDC* AfxCDCFromHandle(HDC hDC);
CMenu* AfxMenuFromHandle(HMENU hMenu);
CScrollBar* AfxScrollBarFromHandle(HWND hWnd);

// A window class: its style (CS_DBLCLKS ...), cursor, background and icon. Returns a class
// name that stays valid for the life of the process; equal arguments give equal names.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// Names to message numbers (from 0xC000), process-wide; the same name gives the same number.
UINT RegisterWindowMessage(LPCTSTR lpszString);

// ---------------------------------------------------------------------------------------
// Window message entries with the handler signatures of the framework.
// ---------------------------------------------------------------------------------------
#define AFX_WM_ENTRY(msg, body)                                                                              \
    {msg, 0, 0, 0, nullptr, [](CCmdTarget* p_, [[maybe_unused]] AFX_MSGCALL& c_) { body; }},

#define AFX_POINT_LPARAM CPoint(GET_X_LPARAM(c_.lParam), GET_Y_LPARAM(c_.lParam))
#define AFX_WND_WPARAM CWnd::FromHandle(reinterpret_cast<HWND>(c_.wParam))
#define AFX_WND_LPARAM CWnd::FromHandle(reinterpret_cast<HWND>(c_.lParam))

#define ON_WM_CREATE()                                                                                       \
    AFX_WM_ENTRY(WM_CREATE, c_.lResult = AFX_THIS(p_)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c_.lParam)))
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, AFX_THIS(p_)->OnDestroy())
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, AFX_THIS(p_)->OnNcDestroy())
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, AFX_THIS(p_)->OnPaint())
#define ON_WM_ERASEBKGND()                                                                                   \
    AFX_WM_ENTRY(WM_ERASEBKGND, c_.lResult = AFX_THIS(p_)->OnEraseBkgnd(                                     \
                                    AfxCDCFromHandle(reinterpret_cast<HDC>(c_.wParam))))
#define ON_WM_SIZE()                                                                                         \
    AFX_WM_ENTRY(WM_SIZE, AFX_THIS(p_)->OnSize(static_cast<UINT>(c_.wParam), GET_X_LPARAM(c_.lParam),        \
                                               GET_Y_LPARAM(c_.lParam)))
#define ON_WM_MOVE()                                                                                         \
    AFX_WM_ENTRY(WM_MOVE, AFX_THIS(p_)->OnMove(GET_X_LPARAM(c_.lParam), GET_Y_LPARAM(c_.lParam)))
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AFX_THIS(p_)->OnTimer(static_cast<UINT_PTR>(c_.wParam)))
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, AFX_THIS(p_)->OnSetFocus(AFX_WND_WPARAM))
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AFX_THIS(p_)->OnKillFocus(AFX_WND_WPARAM))

#define AFX_MOUSE_ENTRY(msg, fn)                                                                             \
    AFX_WM_ENTRY(msg, AFX_THIS(p_)->fn(static_cast<UINT>(c_.wParam), AFX_POINT_LPARAM))
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
// zDelta: multiples of 120 (WHEEL_DELTA), positive away from the user; pt in screen
// coordinates.
#define ON_WM_MOUSEWHEEL()                                                                                   \
    AFX_WM_ENTRY(WM_MOUSEWHEEL, c_.lResult = AFX_THIS(p_)->OnMouseWheel(GET_KEYSTATE_WPARAM(c_.wParam),      \
                                                                        GET_WHEEL_DELTA_WPARAM(c_.wParam),   \
                                                                        AFX_POINT_LPARAM))

#define AFX_KEY_ENTRY(msg, fn)                                                                               \
    AFX_WM_ENTRY(msg, AFX_THIS(p_)->fn(static_cast<UINT>(c_.wParam),                                         \
                                       static_cast<UINT>(LOWORD(static_cast<DWORD>(c_.lParam))),             \
                                       static_cast<UINT>(HIWORD(static_cast<DWORD>(c_.lParam)))))
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_KEY_ENTRY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSCHAR() AFX_KEY_ENTRY(WM_SYSCHAR, OnSysChar)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, c_.lResult = AFX_THIS(p_)->OnGetDlgCode())
#define ON_WM_CONTEXTMENU()                                                                                  \
    AFX_WM_ENTRY(WM_CONTEXTMENU, AFX_THIS(p_)->OnContextMenu(AFX_WND_WPARAM, AFX_POINT_LPARAM))
#define ON_WM_HSCROLL()                                                                                      \
    AFX_WM_ENTRY(WM_HSCROLL,                                                                                 \
                 AFX_THIS(p_)->OnHScroll(LOWORD(static_cast<DWORD>(c_.wParam)),                              \
                                         HIWORD(static_cast<DWORD>(c_.wParam)),                              \
                                         AfxScrollBarFromHandle(reinterpret_cast<HWND>(c_.lParam))))
#define ON_WM_VSCROLL()                                                                                      \
    AFX_WM_ENTRY(WM_VSCROLL,                                                                                 \
                 AFX_THIS(p_)->OnVScroll(LOWORD(static_cast<DWORD>(c_.wParam)),                              \
                                         HIWORD(static_cast<DWORD>(c_.wParam)),                              \
                                         AfxScrollBarFromHandle(reinterpret_cast<HWND>(c_.lParam))))
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, AFX_THIS(p_)->OnClose())
#define ON_WM_INITMENU()                                                                                     \
    AFX_WM_ENTRY(WM_INITMENU, AFX_THIS(p_)->OnInitMenu(AfxMenuFromHandle(reinterpret_cast<HMENU>(c_.wParam))))
#define ON_WM_INITMENUPOPUP()                                                                                \
    AFX_WM_ENTRY(WM_INITMENUPOPUP,                                                                           \
                 AFX_THIS(p_)->OnInitMenuPopup(AfxMenuFromHandle(reinterpret_cast<HMENU>(c_.wParam)),        \
                                               LOWORD(static_cast<DWORD>(c_.lParam)),                        \
                                               HIWORD(static_cast<DWORD>(c_.lParam)) ? TRUE : FALSE))
#define ON_WM_MENUSELECT()                                                                                   \
    AFX_WM_ENTRY(WM_MENUSELECT, AFX_THIS(p_)->OnMenuSelect(LOWORD(static_cast<DWORD>(c_.wParam)),            \
                                                           HIWORD(static_cast<DWORD>(c_.wParam)),            \
                                                           reinterpret_cast<HMENU>(c_.lParam)))
#define ON_WM_DROPFILES()                                                                                    \
    AFX_WM_ENTRY(WM_DROPFILES, AFX_THIS(p_)->OnDropFiles(reinterpret_cast<HANDLE>(c_.wParam)))
#define ON_WM_SETCURSOR()                                                                                    \
    AFX_WM_ENTRY(WM_SETCURSOR, c_.lResult = AFX_THIS(p_)->OnSetCursor(                                       \
                                   AFX_WND_WPARAM, LOWORD(static_cast<DWORD>(c_.lParam)),                    \
                                   HIWORD(static_cast<DWORD>(c_.lParam))))
#define ON_WM_SHOWWINDOW()                                                                                   \
    AFX_WM_ENTRY(WM_SHOWWINDOW,                                                                              \
                 AFX_THIS(p_)->OnShowWindow(c_.wParam ? TRUE : FALSE, static_cast<UINT>(c_.lParam)))
#define ON_WM_ACTIVATE()                                                                                     \
    AFX_WM_ENTRY(WM_ACTIVATE,                                                                                \
                 AFX_THIS(p_)->OnActivate(LOWORD(static_cast<DWORD>(c_.wParam)), AFX_WND_LPARAM,             \
                                          HIWORD(static_cast<DWORD>(c_.wParam)) ? TRUE : FALSE))
// wParam: the window being deactivated; lParam: the one being activated (as sent to MDI
// children).
#define ON_WM_MDIACTIVATE()                                                                                  \
    AFX_WM_ENTRY(WM_MDIACTIVATE,                                                                             \
                 AFX_THIS(p_)->OnMDIActivate(                                                                \
                     reinterpret_cast<HWND>(c_.lParam) == AFX_THIS(p_)->m_hWnd ? TRUE : FALSE,               \
                     AFX_WND_LPARAM, AFX_WND_WPARAM))
#define ON_WM_MOUSEACTIVATE()                                                                                \
    AFX_WM_ENTRY(WM_MOUSEACTIVATE, c_.lResult = AFX_THIS(p_)->OnMouseActivate(                               \
                                       AFX_WND_WPARAM, LOWORD(static_cast<DWORD>(c_.lParam)),                \
                                       HIWORD(static_cast<DWORD>(c_.lParam))))
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, AFX_THIS(p_)->OnCancelMode())
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY(WM_CAPTURECHANGED, AFX_THIS(p_)->OnCaptureChanged(AFX_WND_LPARAM))
#define ON_WM_GETMINMAXINFO()                                                                                \
    AFX_WM_ENTRY(WM_GETMINMAXINFO, AFX_THIS(p_)->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c_.lParam)))
#define ON_WM_WINDOWPOSCHANGED()                                                                             \
    AFX_WM_ENTRY(WM_WINDOWPOSCHANGED,                                                                        \
                 AFX_THIS(p_)->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c_.lParam)))
#define ON_WM_WINDOWPOSCHANGING()                                                                            \
    AFX_WM_ENTRY(WM_WINDOWPOSCHANGING,                                                                       \
                 AFX_THIS(p_)->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(c_.lParam)))
#define ON_WM_SYSCOMMAND()                                                                                   \
    AFX_WM_ENTRY(WM_SYSCOMMAND, AFX_THIS(p_)->OnSysCommand(static_cast<UINT>(c_.wParam), c_.lParam))
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, AFX_THIS(p_)->OnEnable(c_.wParam ? TRUE : FALSE))
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, AFX_THIS(p_)->OnSysColorChange())
#define ON_WM_HELPINFO()                                                                                     \
    AFX_WM_ENTRY(WM_HELP, c_.lResult = AFX_THIS(p_)->OnHelpInfo(reinterpret_cast<HELPINFO*>(c_.lParam)))
#define ON_WM_PARENTNOTIFY()                                                                                 \
    AFX_WM_ENTRY(WM_PARENTNOTIFY,                                                                            \
                 AFX_THIS(p_)->OnParentNotify(LOWORD(static_cast<DWORD>(c_.wParam)), c_.lParam))
#define ON_WM_NCACTIVATE()                                                                                   \
    AFX_WM_ENTRY(WM_NCACTIVATE, c_.lResult = AFX_THIS(p_)->OnNcActivate(c_.wParam ? TRUE : FALSE))
#define ON_WM_NCLBUTTONDOWN()                                                                                \
    AFX_WM_ENTRY(WM_NCLBUTTONDOWN,                                                                           \
                 AFX_THIS(p_)->OnNcLButtonDown(static_cast<UINT>(c_.wParam), AFX_POINT_LPARAM))
#define ON_WM_DRAWITEM()                                                                                     \
    AFX_WM_ENTRY(WM_DRAWITEM, AFX_THIS(p_)->OnDrawItem(static_cast<int>(c_.wParam),                          \
                                                       reinterpret_cast<DRAWITEMSTRUCT*>(c_.lParam)))
#define ON_WM_MEASUREITEM()                                                                                  \
    AFX_WM_ENTRY(WM_MEASUREITEM,                                                                             \
                 AFX_THIS(p_)->OnMeasureItem(static_cast<int>(c_.wParam),                                    \
                                             reinterpret_cast<MEASUREITEMSTRUCT*>(c_.lParam)))
