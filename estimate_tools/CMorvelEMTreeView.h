// CMorvelEMTreeView: the subject tree, the left pane of the estimate window. It shows the
// subject hierarchy of the estimate's edit page: the estimate's title as root, and below it
// the kind (種目), large, middle and small subject headings in row order, each with its
// total amount.
//
// Clicking a heading moves the grid to the heading's row; Delete cuts a whole subject (on
// the root: clears the estimate); dragging a heading onto another heading moves it (copies
// it with Shift) inside the grid, or copies it into the grid of another estimate window.
//
// The tree holds no estimate data of its own: every item stands for a row of the estimate
// view, and the tree is brought in line with the rows whenever the view asks for it (the
// view's UpdateTreeView sends the hint CMorvelEMView::hintRebuildSubjectTree).
#pragma once

#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CEMDataSource.h"
#include "platform/base/CString.h"
#include "platform/ui/frames/CTreeView.h"
#include "platform/ui/gdi/CImageList.h"
#include "platform/ui/ole/COleDropTarget.h"

#include <functional>
#include <limits>
#include <vector>

class CCmdUI;
class CSubjectDragData;

class CMorvelEMTreeView : public CTreeView {
    DECLARE_DYNCREATE(CMorvelEMTreeView)
public:
    // Registers the "MORVEL EMTREEVIEW" format the first time a tree is made.
    CMorvelEMTreeView();
    ~CMorvelEMTreeView() override;

    // The item table: entry 0 is the root; the table holds at most this many entries, so
    // an estimate with more headings shows its first 999.
    enum { MAX_ENTRIES = 1000 };
    // An entry's room before its label is fitted (no room is that small).
    static constexpr int UNFITTED = std::numeric_limits<int>::min();
    struct CTreeEntry {
        HTREEITEM hItem = nullptr;
        // The root carries no heading kind (kindEmpty); every other entry is a heading:
        // kindKind, kindLarge, kindMiddle or kindSmall.
        ERowKind nKind = kindEmpty;
        int nRow = -1;   // the heading's row on the edit page (-1 for the root)
        CString strName; // the heading's name and its total's amount, as read
        CString strAmount;
        int nParent = -1; // the entry it hangs under (-1 for the root)
        int nDepth = 0;   // how many entries it hangs under
        // What the label shows, the width of its whole text (-1: not measured since the text
        // changed) and the room it was fitted into (UNFITTED: to be fitted).
        CString strShown;
        int cxWhole = -1;
        int cxFitted = UNFITTED;
    };

    // ---- the tree -----------------------------------------------------------------------
    // Brings the tree in line with the estimate view's edit page: built afresh when the
    // headings or their order changed, else only the labels whose name or amount changed are
    // set again.
    void FillTree();
    // The first view of the document that is an estimate grid view, or null.
    CMorvelEMView* GetEstimateView() const;
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    const CTreeEntry& GetEntry(int nIndex) const { return m_entries.at(static_cast<size_t>(nIndex)); }
    // The table index of an item, or -1.
    int FindEntry(HTREEITEM hItem) const;

    // The root's text: the title upper-cased and cut before ".MMD" (else ".MVL", else
    // ".RXA").
    static CString MakeRootText(const CString& strTitle);
    // A heading's text: the name, and when the amount is not 0 three blanks, the yen sign
    // (byte 0x5C) and the amount with thousands separators.
    static CString MakeItemText(const CString& strName, const CString& strAmount);
    // How labels are measured: a text's width, and how many bytes of a text (whole
    // characters) fit in a width, each in one measure of the text.
    struct CLabelMeasure {
        std::function<int(const CString&)> width;
        std::function<int(const CString&, int)> fit;
    };
    // What a heading shows in cxText pixels: its whole text when that fits; else its name
    // cut at a character with "…" before the amount, which stays whole; when not even a
    // character of the name, "…" and the amount fit, the name (cut where it has to be) and
    // "…" without the amount. An amount is shown whole or not at all, and the measures do
    // not grow with the name.
    static CString FitItemText(const CString& strName, const CString& strAmount, int cxText,
                               const CLabelMeasure& measure);
    // The client x up to which the labels reach when each shows its whole text (0 when the
    // tree shows none): how wide the pane must be for nothing to be elided.
    int GetWholeLabelsRight() const;

    // ---- drag-and-drop ------------------------------------------------------------------
    // The "MORVEL EMTREEVIEW" clipboard format of the process.
    static CLIPFORMAT GetClipboardFormat();
    // The row after which the last accepted drop inserted its rows (-1 once the source
    // side has used it).
    int GetInsertRow() const { return m_nInsertRow; }
    bool IsDropRefused() const { return m_bRefused; }

    // Cuts rows nFirstRow..nLastRow of the grid through its Cut command (its undo and row
    // clipboard) as whole rows, and puts the grid's selection rectangle back afterwards.
    // The caller gives the grid the focus first.
    static void CutRowsThroughGrid(CMorvelEMView& view, int nFirstRow, int nLastRow);

    // ---- framework overrides ------------------------------------------------------------
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    // The grid's hint rebuilds the tree; other changes only repaint it.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave() override;
    BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

    // ---- handlers (public for the tests that drive them) --------------------------------
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnItemExpanded(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnKeyDownNotify(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEditUndo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnEditRedo();
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnEnvironment();
    afx_msg void OnUpdateEnvironment(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // Shows labels whole, or elided where the pane is too narrow (FitItemText): those of
    // pChanged (entries whose text changed), or else every label whose text or room changed
    // since it was last fitted. An item inside a closed heading shows its whole text.
    void FitLabels(const std::vector<size_t>* pChanged = nullptr);
    // Where the label of an entry starts (client x), or -1 while its item is not shown.
    int LabelLeft(size_t nEntry) const;
    // The grid pane beside the tree (row 0, column 1 of the frame's splitter), or null.
    CWnd* GetGridPane() const;
    // Asks the grid whether it would enable the command: its update handler, or its
    // command handler when it has no update handler.
    void UpdateAsGrid(CCmdUI* pCmdUI);
    // The row after which a dragged subject goes when dropped on the entry, or FALSE
    // (after the message) when the entry is below the dragged heading's level.
    bool FindInsertRow(ERowKind nDraggedKind, const CTreeEntry& target, CMorvelEMView& view,
                       int& nInsertRow) const;
    // Inserts the dragged rows after nInsertRow and stores their cells and fields.
    void InsertDraggedRows(CMorvelEMView& view, const CSubjectDragData& data, int nInsertRow);
    // A drop that changes nothing: the source side removes nothing either.
    bool RefuseDrop();
    // The drag that began on hItem, run to its end, and the move's removal of the source.
    void RunDrag(HTREEITEM hItem);

    std::vector<CTreeEntry> m_entries;
    std::vector<CMorvelEMView::CHeadingRow> m_headings; // FillTree's look at the rows
    CString m_strRootText;
    HTREEITEM m_hRoot = nullptr;
    // Where the labels of each depth start (client x; -1 while not known): every item of a
    // depth stands as far in, and asking the tree for an item's rectangle lays the whole
    // tree out and paints it again. Forgotten when the tree is built or resized.
    mutable std::vector<int> m_labelLefts;
    CImageList m_imageList;

    // Drag state.
    HTREEITEM m_hDragItem = nullptr;   // the item being dragged from this tree
    HTREEITEM m_hDropTarget = nullptr; // set by an accepted drop on this tree
    bool m_bRefused = false;           // the cursor rests on the dragged item, or a drop was refused
    // Where the left button last went down in this tree: a drag that begins there takes the
    // item under it (the drag's own start point lies already past the item).
    CPoint m_ptLastPress;
    int m_nInsertRow = -1;
    COleDropTarget m_dropTarget;
    CEMDataSource m_dataSource;
};
