// CChildEMFrame: the window of an estimate. A static splitter of one row and two columns
// holds the subject tree (left, at first 130 pixels or as wide as its labels need, up to half
// the window) and the estimate grid (right, the active view); two tool bars stand at the
// top side by side: the estimate bar with the read-only range-total box and the estimate
// page bar. The frame shows and hides the bars
// and the subject tree, clears the estimate, and opens the master setup sheet with the
// estimate's own forms.
//
// The grid and the tree are built in libraries above the shell; the frame finds the tree's
// class and the few grid operations it needs in CShellServices, where the estimate tools
// put them when the program starts.
#pragma once

#include "app/CChildGridFrame.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "platform/ui/frames/CToolBar.h"

class CCmdUI;
class CView;

class CChildEMFrame : public CChildGridFrame {
    DECLARE_DYNCREATE(CChildEMFrame)
public:
    CChildEMFrame();
    ~CChildEMFrame() override;

    // Widths of the subject tree's column.
    enum { TREE_INITIAL_WIDTH = 130, TREE_SHOWN_WIDTH = 200 };

    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    // Once the tree is filled it gets the room its labels need.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) override;

    // The width of the tree's column that shows every expanded label whole (with the
    // vertical bar), at least nAtLeast and at most half the window (never below
    // nAtLeast).
    int GetSubjectTreeWidth(int nAtLeast) const;

    // The grid (pane 0, 1) and the tree (pane 0, 0); null before the client exists.
    CView* GetGridView() const;
    CView* GetTreeView() const;
    // The estimate's commands are the grid's, from the tree too.
    CView* GetCommandView() const override { return GetGridView(); }

    // ---- parts (public for the tests that look at them) ---------------------------------
    CToolBar m_wndEstimateBar; // with the range total (m_wndRangeTotal)
    CToolBar m_wndPageBar;
    CSplitterWnd m_wndSplitter;
    int m_nSubjectList = 1; // 1 while the subject tree is shown

    // ---- handlers ----------------------------------------------------------------------
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnViewSubjectList();
    afx_msg void OnUpdateViewSubjectList(CCmdUI* pCmdUI);
    afx_msg void OnViewEstimateBar();
    afx_msg void OnUpdateViewEstimateBar(CCmdUI* pCmdUI);
    afx_msg void OnViewPageBar();
    afx_msg void OnUpdateViewPageBar(CCmdUI* pCmdUI);
    afx_msg void OnEstimateClear();

    DECLARE_MESSAGE_MAP()

protected:
    void RunImportSheet() override;
    BOOL& MenuSelectedFlag() override;

private:
    BOOL CreateBars();
};
