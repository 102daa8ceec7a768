// CControlBar: the base of the bars a frame lays out along its edges (tool bars, the
// status bar). A bar knows its side (CBRS_ALIGN_*), the sides it may dock on, and updates
// its items' states from the command handlers at idle time (OnUpdateCmdUI).
#pragma once

#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinDefs.h"

class CFrameWnd;

// Bar styles.
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
constexpr DWORD CBRS_BORDER_3D = 0x0080;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_ORIENT_ANY = CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT;
constexpr DWORD CBRS_ALL = 0x0040FFFF;
constexpr DWORD CBRS_NOALIGN = 0x00000000;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
protected:
    CControlBar();

public:
    ~CControlBar() override;

    // ---- styles -------------------------------------------------------------------------
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // The sides (CBRS_ALIGN_*) the bar may dock on; 0 keeps it where it is.
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    BOOL IsFloating() const { return FALSE; }
    BOOL IsVisible() const;
    // The frame that lays the bar out.
    CFrameWnd* GetDockingFrame() const;
    // Number of items (buttons or panes).
    int GetCount() const { return m_nCount; }

    // The size the bar wants: its length along the edge and its thickness.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Updates the items from the command handlers reachable through pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    // Bars are members of their frames: they do not delete themselves unless asked to.
    void PostNcDestroy() override;
    // A control placed on the bar (the zoom box of a tool bar) notifies the bar, its
    // parent; the bar hands the notification on to its owner, the frame, which routes it
    // to the active view like a command.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL m_bAutoDelete = FALSE;

    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

protected:
    friend class CFrameWnd;
    // Registers the bar with its frame (called once the window exists).
    void AttachToFrame(CWnd* pParentWnd);

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    int m_nCount = 0;
    UINT m_nDockSide = 0; // AFX_IDW_DOCKBAR_* while docked, 0 otherwise
};
