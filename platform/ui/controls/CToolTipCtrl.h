// CToolTipCtrl: a tool tip over windows ("tools"), shown by the toolkit's tool tip. The owner
// adds its tools (a window and an id, with a text), relays its mouse messages to the control
// (RelayEvent), and changes a tool's text while the pointer moves (UpdateTipText). The tip
// appears after the automatic delay once the pointer rests over a tool whose text is not
// empty, follows a changed text at once, and hides when the pointer leaves, a button is
// pressed, the text becomes empty or the control is deactivated.
//
// The control is no window of its own: the toolkit's tool-tip window stands for it.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

#include <memory>
#include <vector>

class CWnd;

class CToolTipCtrl {
public:
    // SetDelayTime kinds.
    enum { TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3 };

    CToolTipCtrl();
    ~CToolTipCtrl();
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // pParentWnd owns the tips; FALSE without a window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    BOOL IsCreated() const;
    // A tool: the whole client area of pWnd (lpRectTool null) or a rectangle of it.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = "", LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    CString GetToolText(CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void Activate(BOOL bActivate);
    BOOL IsActive() const { return m_bActive; }
    void SetDelayTime(UINT nDelay);
    void SetDelayTime(DWORD dwDuration, int iTime);
    int GetDelayTime(DWORD dwDuration) const;
    // Hands a message of a tool's window to the control.
    void RelayEvent(LPMSG lpMsg);
    // Whether the tip is on the screen now, and its text (tests).
    BOOL IsTipShown() const;

private:
    struct CTool {
        HWND hWnd = nullptr;
        UINT_PTR nID = 0;
        CRect rect;
        BOOL bWholeClient = TRUE;
        CString strText;
    };
    CTool* FindTool(HWND hWnd, UINT_PTR nID);
    const CTool* FindTool(HWND hWnd, UINT_PTR nID) const;
    CTool* ToolAt(HWND hWnd, CPoint point);
    void Show(const CTool& tool);
    void Hide();

    struct CImpl;
    std::unique_ptr<CImpl> m_pImpl;
    HWND m_hWndOwner = nullptr;
    std::vector<CTool> m_tools;
    BOOL m_bActive = TRUE;
    UINT m_nInitial = 500;
    UINT m_nAutoPop = 5000;
    UINT m_nReshow = 100;
    HWND m_hWndHover = nullptr;
    UINT_PTR m_nHoverID = 0;
    CPoint m_ptHover;
    BOOL m_bShown = FALSE;
};
