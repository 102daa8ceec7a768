// CStatusBar: the line at the foot of a frame. Pane 0 shows messages (command prompts while
// a menu item or button is pointed at, otherwise the idle text); the other panes show what
// their ids say: texts the views set, or indicators such as "CAP" for Caps Lock. A pane's
// width comes from its string resource's text unless set with SetPaneInfo.
#pragma once

#include "platform/ui/frames/CControlBar.h"

#include <vector>

class QPainter;
class QRect;
class QStatusBar;

// Pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_OWNERDRAW = 0x1000;
constexpr UINT SBPS_DISABLED = 0x04000000;
constexpr UINT SBPS_STRETCH = 0x08000000;

// Status-bar window styles.
constexpr DWORD SBARS_SIZEGRIP = 0x0100;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);

    // One pane per id (ID_SEPARATOR for a pane without a string). A pane's first text and
    // width come from its id's string resource; FALSE when an id other than ID_SEPARATOR has
    // no string.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // Paints the panes that meet the area on the bar's widget (platform use).
    void DrawPanes(QPainter& painter, const QRect& area) const;

    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    struct CPane {
        UINT nID = 0;
        UINT nStyle = SBPS_NORMAL;
        int cxText = 0; // width in pixels
        CString text;
    };
    std::vector<CPane> m_panes;

    // The panes' rectangles for a bar of that width: from the left, each pane its width
    // plus borders; stretching panes share what is left; panes past the right end are cut.
    std::vector<CRect> LayoutPanes(int cxBar, int cyBar) const;
    int TextWidth(const CString& text) const;
    void Repaint();
    // The panes' rectangles on the bar as it is painted now.
    std::vector<CRect> ShownLayout() const;
    // Repaints what changed since the panes lay at `before` (the same panes): the pane
    // nIndex, whose look changed, and every pane that moved or changed its width, where it
    // was and where it is. A new text in one pane repaints that pane alone, not the bar.
    void RepaintChanged(const std::vector<CRect>& before, int nIndex);
    QStatusBar* StatusBarWidget() const;
};
