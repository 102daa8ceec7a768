// Helpers of the tests that drive the estimate window as a user would: the program started
// on a copy of the sample work folder with the estimate window of the estimate tools
// (subject tree beside the grid), a grid that records the commands the tree and the frame
// hand it, and clicks, keys and drags on the tree.
#pragma once

#include "app/CChildEMFrame.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CMorvelEMTreeView.h"
#include "tests/estimate/EstimateWindowTestSupport.h"

#include <string>
#include <vector>

// The estimate grid with a recorder on the commands whose own handling belongs to other
// parts of the program (cut, undo, redo): what the grid looked like when one arrived.
class CRecordingEMView : public CMorvelEMView {
    DECLARE_DYNCREATE(CRecordingEMView)
public:
    struct CCommandSeen {
        UINT nID = 0;
        CRect rcSelection;
        int nSelectMode = 0;
        BOOL bActiveView = FALSE; // the frame's active view when it came
        BOOL bFocus = FALSE;      // the grid had the keyboard
    };
    std::vector<CCommandSeen> m_commands;
    BOOL m_bUndoEnabled = FALSE; // what the grid's update handler says about undo
    BOOL m_bRedoEnabled = FALSE;

    afx_msg void OnRecordedCommand(UINT nID);
    afx_msg void OnUpdateUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRedo(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

class SubjectTreeWindowTest : public EstimateWindowTest {
protected:
    // Starts the program with the estimate tools registered (and the recording grid, unless
    // RecordsTreeCommands says the real grid).
    void SetUp() override;
    // Whether the grid is the recording one, which notes the commands the tree hands it.
    virtual bool RecordsTreeCommands() const { return true; }

    // Opens the sample estimate (a second one under another name with bSecond).
    CMorvelEMView* OpenSampleWindow();
    CMorvelEMView* OpenSecondSample(CMorvelEMDoc** ppDoc = nullptr);

    CChildEMFrame* FrameOf(CView* pView) const;
    CMorvelEMTreeView* TreeOf(CView* pView) const;
    CChildEMFrame* Frame() const { return FrameOf(m_pView); }
    CMorvelEMTreeView* Tree() const { return TreeOf(m_pView); }
    CRecordingEMView* Grid() const { return dynamic_cast<CRecordingEMView*>(m_pView); }

    // Gives the tree of a window room for its deepest labels (a user would scroll or widen
    // it), so that clicks and drags can reach every item.
    void WidenTree(CView* pView);

    // The tree item standing for a heading row (the root for -1), or null.
    static HTREEITEM ItemOfRow(CMorvelEMTreeView* pTree, int nRow);
    // The middle of an item's label in the tree's client area (scrolled into view first).
    static CPoint ItemPoint(CMorvelEMTreeView* pTree, HTREEITEM hItem);
    static std::string ItemText(CMorvelEMTreeView* pTree, HTREEITEM hItem);
    // A press and release of the left button on an item.
    static void ClickItem(CMorvelEMTreeView* pTree, HTREEITEM hItem);
    // Drags an item from one tree and drops it on an item of another (or the same) tree,
    // holding the keys given (MK_SHIFT for a copy).
    static void DragItem(CMorvelEMTreeView* pFrom, HTREEITEM hFrom, CMorvelEMTreeView* pTo, HTREEITEM hTo,
                         DWORD dwKeys = 0);

    // The first row of a kind on the edit page from nFrom on, or -1.
    int FindRow(int nKind, int nFrom = 0) const;
    // Name cells of the rows, in UTF-8.
    std::vector<std::string> Names(int nFirstRow, int nCount) const;
    std::vector<int> Kinds(int nFirstRow, int nCount) const;
};
