// CChildPMFrame: the window of a parts list. A dynamic splitter (at most 2 x 2 panes of at
// least 10 x 10 pixels, with shared scroll bars) holds views of the parts grid; the parts bar
// with its read-only range-total box stands at the top. The frame shows and hides the bar
// and opens the master setup sheet with the parts list's own form.
#pragma once

#include "app/CChildGridFrame.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "platform/ui/frames/CToolBar.h"

class CCmdUI;

class CChildPMFrame : public CChildGridFrame {
    DECLARE_DYNCREATE(CChildPMFrame)
public:
    CChildPMFrame();
    ~CChildPMFrame() override;

    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    CToolBar m_wndPartsBar; // with the range total (m_wndRangeTotal)
    CSplitterWnd m_wndSplitter;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnViewPartsBar();
    afx_msg void OnUpdateViewPartsBar(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

protected:
    void RunImportSheet() override;
    BOOL& MenuSelectedFlag() override;
};
