// CChildGridFrame: what the windows of the two grid documents, the estimate (CChildEMFrame)
// and the parts list (CChildPMFrame), do alike. Each opens maximised, carries a read-only
// range-total box on its own first bar, runs the setup sheet in import mode with the
// document's own forms ("導入処理"), hands the main tool bar's command to the main frame and
// passes its menu messages on, so that the main frame's message pane follows the menu. A
// window keeps only its bars, its panes and which of those it runs.
#pragma once

#include "platform/ui/controls/CRichEditCtrl.h"
#include "platform/ui/frames/CMDIChildWnd.h"

class CCmdUI;
class CToolBar;

class CChildGridFrame : public CMDIChildWnd {
    DECLARE_DYNAMIC(CChildGridFrame)
public:
    ~CChildGridFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // The range total of the selected cells, on the window's first bar.
    CRichEditCtrl m_wndRangeTotal;

    afx_msg void OnIntroduction();
    afx_msg void OnUpdateLeaveAlone(CCmdUI* pCmdUI);
    afx_msg void OnViewToolBar();
    afx_msg void OnUpdateViewToolBar(CCmdUI* pCmdUI);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);

    DECLARE_MESSAGE_MAP()

protected:
    CChildGridFrame();

    // Puts the range-total box on bar in the room of button nIndex. FALSE when the box
    // cannot be made.
    BOOL CreateRangeTotal(CToolBar& bar, int nIndex);

    // The setup sheet in import mode for the window's document.
    virtual void RunImportSheet() = 0;
    // The shell's flag of a menu selection in this kind of window.
    virtual BOOL& MenuSelectedFlag() = 0;
};
