// CToolBar: a row of command buttons loaded from a tool-bar resource. Buttons show the
// state the command handlers give them (enabled, checked), carry tool tips and status-bar
// prompts from the string table ("prompt\ntip"), and a separator may be widened to make
// room for a control placed on the bar (the zoom box, a read-only total box).
#pragma once

#include "platform/ui/frames/CControlBar.h"

#include <vector>

class QAction;
class QToolBar;
class QWidget;

// Button styles (GetButtonInfo / SetButtonInfo).
constexpr UINT TBBS_BUTTON = 0x0000;
constexpr UINT TBBS_SEPARATOR = 0x0001;
constexpr UINT TBBS_CHECKBOX = 0x0002;
constexpr UINT TBBS_GROUP = 0x0004;
constexpr UINT TBBS_CHECKGROUP = TBBS_GROUP | TBBS_CHECKBOX;
constexpr UINT TBBS_DROPDOWN = 0x0008;
constexpr UINT TBBS_CHECKED = 0x0100;
constexpr UINT TBBS_INDETERMINATE = 0x0200;
constexpr UINT TBBS_DISABLED = 0x0400;
constexpr UINT TBBS_PRESSED = 0x0800;
constexpr UINT TBBS_HIDDEN = 0x1000;

// Tool-bar window styles.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_LIST = 0x1000;
constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);

    // The buttons and pictures of a tool-bar resource; FALSE when there is none.
    BOOL LoadToolBar(UINT nIDResource);
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    // Buttons by command id (ID_SEPARATOR for a gap); pictures are taken in order.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    // ---- buttons ------------------------------------------------------------------------
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The button's rectangle in the bar's client coordinates.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    // nImage: the picture index, or for a separator its width in pixels.
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    CString GetButtonText(int nIndex) const;
    BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    void SetHeight(int cyHeight);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // Keeps the controls placed on widened separators over their room (platform use).
    void PlaceHostedControls();
    // The pointer left a button: the status line shows its idle text again (platform use).
    void OnButtonLeft();

    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    struct CToolButton {
        UINT nID = 0;
        UINT nStyle = 0;
        int iImage = 0; // picture index, or separator width
        CString text;
        QAction* action = nullptr; // the button on the Qt tool bar
        QWidget* spacer = nullptr; // a widened separator's room
    };
    std::vector<CToolButton> m_buttons;
    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};
    UINT m_nIDResource = 0;

    void RebuildButtons();
    void ApplyButtonState(int nIndex);
    void OnButtonTriggered(int nIndex);
    void OnButtonHovered(int nIndex);
    QToolBar* ToolBarWidget() const;
};
