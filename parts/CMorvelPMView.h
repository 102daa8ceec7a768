// CMorvelPMView: the grid of a parts list. It derives from the grid base view: the
// geometry, the cursor, the selection, scrolling, the mouse, column resizing and the
// headers and grid lines are the base's. The rows, their counts, the cell store, the row
// formulas, the editing commands' computations and the undo store are the document's model
// (CPartsModel, engine/parts); this view shows the model, turns the user's keys, clicks and
// commands into its operations (the selection made a block, the clipboard read, what only a
// window can ask), records their undo commands and repaints. Its cell-store and row
// operations of the names below are thin callers of the model.
#pragma once

#include "app/CShellServices.h"
#include "engine/estimate/CCellSearch.h"
#include "engine/estimate/CRangeSum.h"
#include "engine/parts/CPMObj.h"
#include "engine/parts/PartsUndoCommands.h"
#include "grid/CGridCellEdit.h"
#include "grid/CMorvelView.h"
#include "grid/IGridCellEditOwner.h"
#include "platform/base/CString.h"

#include <memory>
#include <vector>

class CMorvelPMDoc;
class COleDataObject;
class CPartsModel;
class CPrintInfo;
struct AFX_CMDHANDLERINFO;

class CMorvelPMView : public CMorvelView, public IGridCellEditOwner {
    DECLARE_DYNCREATE(CMorvelPMView)
public:
    CMorvelPMView();
    ~CMorvelPMView() override;

    CMorvelPMDoc* GetDocument() const;
    // The model the view shows: its document's, given when the view joins the document
    // (CMorvelPMDoc::OnChangedViewList); null while the view has no document.
    void AttachModel(CPartsModel* pModel) { m_pModel = pModel; }
    CPartsModel* GetModel() { return m_pDocument != nullptr ? m_pModel : nullptr; }
    const CPartsModel* GetModel() const { return m_pDocument != nullptr ? m_pModel : nullptr; }
    // The grid's counts are the model's, one for every pane of the list (no rows in use
    // before the view joins a document).
    int GetUsedRows() const final;
    int GetRowLimit() const final;
    int GetColumnCount() const final;
    void SetRowLimit(int nRowLimit) final;
    // The model's rows in use or row limit changed: the height and the scroll range follow.
    void RowCountsChanged();

    enum { BASE_HEADER_HEIGHT = 24, BASE_ROW_HEIGHT = 24, MAX_ROW_HEADER_WIDTH = 50 };

    // ---- set-up and zoom ----------------------------------------------------------------
    // Takes the document's columns (the model's column count follows the form), the
    // titles and widths, and the zoom (after a read, and at the initial update).
    void TakeDocumentRows();
    // Recomputes the zoomed geometry from the document's zoom and font and repaints.
    void ApplyZoom();
    // The row-number column width for a row limit: one 9-pixel place per digit and one
    // more, at most 50.
    static int NumberWidthFor(int nRowLimit);
    // Sends a scroll step to every pane of the list in this pane's splitter column
    // (WM_HSCROLL) or row (WM_VSCROLL), this one included, so that the panes stay in line.
    void ScrollAllPanes(UINT nMsg, UINT nCode, int nPos);
    // After rows nFirst..nLast arrived from outside (registration from an estimate): the
    // window comes to the front with the rows selected and in view.
    void ShowArrivedRows(int nFirst, int nLast);

    // ---- the cell store ---------------------------------------------------------------
    // The model's (see CPartsModel). "" outside the columns and the row limit and for a row
    // never written.
    CString GetCellText(int nRow, int nCol) const;
    // Stores a text (a number in a number column rounded by the column's rules); nothing
    // outside the columns and the row limit. No repaint, no formulas, no modified mark.
    void SetCellText(const CString& strText, int nRow, int nCol);
    bool IsNumericColumn(int nCol) const; // "数値", or containing "計"
    bool IsUnitColumn(int nCol) const;    // code T "1"
    // The formulas of a row from a column on (any operand that is not a number stops the
    // formula).
    void CalcRow(int nRow, int nFirstCol);
    // What typing a text into the current cell does once the editor hands it over: the
    // text stored, the row's formulas evaluated, the row repainted, the document marked
    // modified and the typing recorded for undo.
    void CommitTypedText(const CString& strText);
    // The text a cell shows: numbers by the column's picture (empty for zero); *pRight
    // tells whether it is drawn right-aligned.
    CString GetDisplayText(int nRow, int nCol, bool* pRight) const;

    // ---- painting ----------------------------------------------------------------------
    // On the screen every area is painted twice: the first paint (while the parts views'
    // shared pass flag is clear) widens the area to whole cells, and to the header band and
    // the number boxes along it, invalidates that and draws nothing; the next paint draws.
    void OnDraw(CDC* pDC) override;
    // Whether a first paint has widened its area and the drawing paint is still to come.
    static bool IsDrawingPaintDue() { return s_bPaintPass; }
    void DrawCell(int nRow, int nCol, CDC* pDC);

    // Rows are numbered through the whole list, from 1.
    int GetRowHeaderNumber(int nRow) const override { return nRow + 1; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    // ---- editing, row commands, undo and the small commands ----------------------------
    // The in-place editor: 0 hidden, 1 opening, 2 open with text.
    enum { editClosed = 0, editOpening = 1, editOpen = 2 };
    int GetEditState() const { return m_nEditState; }
    CGridCellEdit* GetCellEdit() { return m_bEditCreated ? &m_wndEdit : nullptr; }
    // The document's undo store offers undo or redo.
    bool CanUndo() const;
    bool CanRedo() const;
    // Commits the open edit into the current cell; bMove: then the "Direction" move.
    void CommitEdit(BOOL bMove);
    // One empty row inserted at nRow, or row nRow deleted, repainted, recorded for no
    // undo (the row commands record theirs). Nothing for a row outside the row limit, nor
    // an insert the list's file could not hold (the user is told why).
    void InsertRow(int nRow);
    void DeleteRow(int nRow);
    // Whether nCount rows inserted at nRow leave a list its file can hold; when not, the
    // user is told why (CheckFileRowLimit) and the caller changes nothing.
    bool HasFileRoomForRows(int nRow, int nCount) const;
    // Rows read from a CSV file or another parts file put in at nRow (CPartsModel::
    // InsertReadRows), one undo step; the repaint, the modified mark, every view told.
    // Returns the rows put in: none outside the row limit, nor where the list's file could
    // not hold them (the user is told why).
    int InsertReadRows(int nRow, const std::vector<std::vector<CString>>& rows,
                       const std::vector<int>& mapping);
    // ---- the clipboard (CMorvelPMViewClipboard.cpp) ---------------------------------------
    // The private format "Morvel PM Data" (registered on first use).
    static UINT GetDataFormat();
    // Loads the "Morvel PM Data" content of a data object into records; false (and the
    // records unchanged) when it is absent or damaged.
    static bool ReadClipboardRows(COleDataObject* pData, CPMObjList& records);
    // What the last copy of any parts window took: copyRows (a row selection) or copyCells
    // (a block of cells); copyNone while a cut found nothing to copy. A paste lays the
    // clipboard's records out by it.
    enum { copyNone = 0, copyRows = 1, copyCells = 3 };
    static int GetCopyMode() { return s_nCopyMode; }
    static void SetCopyMode(int nMode) { s_nCopyMode = nMode; }
    // The selection as a block (left <= right, top <= bottom); the current cell without one.
    CRect GetSelectionBlock() const;
    // ---- range total, fixed-rate change, bookmark -----------------------------------------
    using CRateChangeRequest = CShellServices::CRateChangeRequest;
    // The fixed-rate change on the selected column's rows; returns the rows changed.
    int ApplyRateChange(const CRateChangeRequest& request);
    double GetRangeTotal() const { return m_rangeSum.GetTotal(); }
    bool IsPlacingTotal() const { return m_bPlaceTotal != FALSE; }
    int GetRememberedRow() const { return m_nRememberedRow; }
    // ---- find, replace and sort ------------------------------------------------------------
    // WM_FINDREPLACE_REQUEST from the find and replace dialogs: a find, a replace of the
    // last match, or a replace-all; nonzero when something was found or replaced.
    afx_msg LRESULT OnFindReplaceRequest(WPARAM wParam, LPARAM lParam);
    // Searches from the current cell (never the cell itself) by the request flags; on a
    // match the cell becomes current and the match's position comes back, else -1.
    int FindNext(WPARAM nFlags, const char* lpszText);
    // Where the find text stands in a cell by the flags' case and whole-word rules, the cell
    // taken as the user sees it (CCellSearch).
    CCellSearch::CTextMatch MatchCellText(int nRow, int nCol, WPARAM nFlags, const CString& strFind) const;
    // Scrolls a cell into view; GoToCell also picks it as a click would.
    void ScrollToCell(int nCol, int nRow);
    void GoToCell(int nCol, int nRow);
    // Orders rows nTop..nBottom (within the used rows) by column nCol: text order in a
    // "文字" column, values elsewhere; equal keys keep their order, and the sort is recorded
    // for undo when it moved a row. Returns the rows sorted.
    int SortRowsBy(int nCol, int nTop, int nBottom, bool bAscending);
    void SortRows();
    // Repaints a row's number box and first two cells while it is on the screen.
    void RepaintRow(int nRow);
    // Pane 1 of the status bar: the current row and column and the rows in use.
    void UpdateStatusText();
    CString GetStatusText() const;
    // The unit pick for the current cell (when the program offers one).
    void OpenUnitPick();
    CWnd* GetUnitPick() const { return m_pUnitDlg; }
    // The open find and replace dialogs (null when none).
    CWnd* GetFindDialog() const { return m_pFindDlg; }
    CWnd* GetReplaceDialog() const { return m_pReplaceDlg; }
    // After the environment sheet: every open parts list re-reads its font and colours,
    // and its rows and title header take the new height.
    void ApplyEnvironmentToAllLists();
    // Repaints the cells whose selection state differs between two ranges.
    void UpdateSelectionDisplay(const CRect& rcOld, const CRect& rcNew);
    void OnCellEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDestroy();
    afx_msg void OnInsertRow();
    afx_msg void OnDeleteRow();
    afx_msg void OnClearRow();
    afx_msg void OnUpdateRowCommand(CCmdUI* pCmdUI);
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnEditUndo();
    afx_msg void OnEditRedo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnUnit();
    afx_msg void OnUpdateUnit(CCmdUI* pCmdUI);
    afx_msg LRESULT OnPickUnit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnModelessClosed(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEnvironment();
    afx_msg void OnRangeAdd();
    afx_msg void OnUpdateRangeAdd(CCmdUI* pCmdUI);
    afx_msg void OnRangeSet();
    afx_msg void OnUpdateRangeSet(CCmdUI* pCmdUI);
    afx_msg void OnRangeClear();
    afx_msg void OnRateChange();
    afx_msg void OnUpdateRateChange(CCmdUI* pCmdUI);
    afx_msg void OnBookmarkSet();
    afx_msg void OnUpdateBookmarkSet(CCmdUI* pCmdUI);
    afx_msg void OnBookmarkJump();
    afx_msg void OnUpdateBookmarkJump(CCmdUI* pCmdUI);
    afx_msg void OnBookmarkRelease();
    afx_msg void OnCsvInput();
    afx_msg void OnReadOtherForm();
    afx_msg void OnUpdateImport(CCmdUI* pCmdUI);
    afx_msg void OnFind();
    afx_msg void OnReplace();
    afx_msg void OnUpdateFind(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReplace(CCmdUI* pCmdUI);
    afx_msg void OnSort();
    afx_msg void OnUpdateSort(CCmdUI* pCmdUI);
    afx_msg void OnZoomUser();
    afx_msg void OnUpdateZoomUser(CCmdUI* pCmdUI);
    afx_msg void OnZoomBoxChange();
    void RedrawSelectionChange(const CRect& rcOld, const CRect& rcNew) override;
    void ScrollView(UINT nMsg, UINT nCode, int nPos) override { ScrollAllPanes(nMsg, nCode, nPos); }
    // The resized width goes into the list's form and into every pane.
    void OnColumnResized(int nCol) override;
    // An open edit stored in its cell and the editor hidden (CommitEdit without the focus
    // and the move).
    void StoreTypedEdit() override;
    int GetDragScrollInterval(int nDirection) const override;

public:
    // ---- printing through print layouts (CMorvelPMViewPrinting.cpp) --------------------
    // The list prints only through its chosen parts layouts: "印刷形式選択" chooses them,
    // print and preview are enabled while there is one, each layout takes as many pages
    // as its smallest parts reference needs for the rows in use. The commands keep their
    // own table beside their handlers (OnCmdMsg, OnWndMsg).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnSelectPrintForm();
    afx_msg void OnFilePrintSetup();
    afx_msg void OnPartsFilePrint();
    afx_msg void OnPartsFilePrintPreview();
    afx_msg void OnUpdateFilePrint(CCmdUI* pCmdUI);
    afx_msg void OnUpdateFilePrintPreview(CCmdUI* pCmdUI);
    afx_msg void OnUpdateSelectPrintForm(CCmdUI* pCmdUI);
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // The pages of the job being printed, and the page within its layout being drawn.
    int GetPrintPages() const;
    int GetLayoutPage() const;
    bool IsPrintFormWaitShown() const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    afx_msg void OnZoom25() { SetFixedZoom(25); }
    afx_msg void OnZoom50() { SetFixedZoom(50); }
    afx_msg void OnZoom75() { SetFixedZoom(75); }
    afx_msg void OnZoom100() { SetFixedZoom(100); }
    afx_msg void OnZoom150() { SetFixedZoom(150); }
    afx_msg void OnZoom200() { SetFixedZoom(200); }
    afx_msg void OnUpdateZoom(CCmdUI* pCmdUI);
    afx_msg void OnRedisplay();
    DECLARE_MESSAGE_MAP()

private:
    void SetDocumentZoom(int nZoom);
    // A fixed step of the 表示 menu: the zoom box shows it, as it shows a step chosen there.
    void SetFixedZoom(int nZoom);
    // The first paint of a pair: TRUE when it has invalidated the widened area (and set the
    // pass flag) so that nothing is drawn now; FALSE (the flag cleared) when this paint draws.
    bool WidenFirstPaint(const CRect& rcClip);
    // Editing helpers.
    void CreateCellEdit();
    void HideCellEdit();
    // The open edit ends with nothing stored; a row the edit added past the last row goes.
    void AbandonEdit();
    void StyleCellEdit(const CString& strText);
    LOGFONT GetZoomedFont() const;
    LOGFONT GetCurrentCellEditFont() const override { return GetZoomedFont(); }
    void OpenEditOnCell();
    // Repaints the old and the new current cell in every view when the cursor moved.
    void ShowCursorMove();
    void RepaintAllViews();
    // The command just done is the one undo takes back (null: it changed nothing, and the
    // last command stays); redo is over.
    void RecordUndo(std::unique_ptr<CPartsUndoCommand> pCommand);
    // Runs an undo or a redo, then does what its outcome asks (the cursor, the clipboard,
    // the repaint).
    void RunUndoStep(bool bRedo);
    // A change by a command that recorded no undo: neither undo nor redo acts any more.
    void WithdrawUndo() override;
    // After a command changed rows nFirst..nLast (the model recorded it for undo): the
    // rows repainted, the document marked modified, every view told.
    void AfterRowsChanged(int nFirst, int nLast);
    // The model's command for rows nFirst..nLast recorded, then the rows changed as
    // AfterRowsChanged says; a command that changed nothing (null) marks nothing, so that
    // the last command's undo and redo stay. Returns whether it changed anything.
    bool RecordRowsChanged(std::unique_ptr<CPartsUndoCommand> pCommand, int nFirst, int nLast);
    // The records of a block (CPartsModel::CopyBlock) put on the clipboard, when there are
    // any; records on the clipboard; and the clipboard's records read.
    void CopyBlockToClipboard(const CRect& rcBlock, CPMObjList& records);
    static void PutOnClipboard(const CPMObjList& records);
    static bool ReadClipboard(CPMObjList& records);
    int MeasureBaseRowHeight();
    void ReloadDisplaySettings(int nHeaderBase);
    void PlaceRangeTotal();
    // A cell as the search reads it: its text and, for a number, what the cell shows.
    CCellSearch::CCellText ReadCellForSearch(int nRow, int nCol) const;
    // FindNext with the whole match: the text it stands in and its length.
    CCellSearch::CMatch FindNextMatch(WPARAM nFlags, const CString& strFind);
    // The matches replaced, one undo step: the repaint, the modified mark.
    void ReplaceMatches(const std::vector<CCellSearch::CMatch>& matches, const CString& strReplacement);
    void OpenFindDialog(bool bReplace);
    void DrawBookmarkMark(CDC* pDC);

    // The row-number column and the title header as this splitter pane shows them.
    int m_nNumberWidthBase = 50;
    bool m_bShowNumbers = true;
    bool m_bShowHeader = true;
    CFont m_fontCells;
    LOGFONT m_lfCells = {};
    int m_nCellFontZoom = 0;

    CGridCellEdit m_wndEdit;
    std::unique_ptr<CFont> m_pEditFont;
    BOOL m_bEditCreated = FALSE;
    int m_nEditState = editClosed;
    CPoint m_ptLastCur;
    CWnd* m_pUnitDlg = nullptr;
    CWnd* m_pFindDlg = nullptr;
    CWnd* m_pReplaceDlg = nullptr;
    // The rows in use when the open edit began (typing past the last row adds one at once).
    int m_nRowsBeforeEdit = -1;
    // The characters that opened the current in-place edit (the first byte, and the trail
    // byte of a double-byte character that reaches the grid before the editor has the
    // focus).
    CString m_strTypedText;
    int m_nRememberedRow = -1;
    int m_nHeaderHeightBase = BASE_HEADER_HEIGHT; // the title header at zoom 100, when shown
    CRangeSum m_rangeSum;
    BOOL m_bPlaceTotal = FALSE;
    // What printing keeps between its steps, and the wait dialog of the layouts' choice.
    std::shared_ptr<struct CPartsPrintState> m_pPrintState;
    // The model of the document (AttachModel): the cells are read many times a paint, and
    // finding the document's type each time would cost more than the reading.
    CPartsModel* m_pModel = nullptr;

    // The copy mode (GetCopyMode), shared by every parts window and kept beside the
    // clipboard code.
    static int s_nCopyMode;
    // The pass of the grids' two-pass paint: set by a first paint that only invalidated its
    // area, cleared by the paint that draws. One flag for every parts window.
    static bool s_bPaintPass;
    // The last find of any parts window: its text, its request flags and the position of
    // its match in the current cell (-1 none). A replace acts on that match, in whichever
    // window the replace dialog sends it.
    struct CLastFind {
        CString strText;
        WPARAM nFlags = 0;
        int nFoundPos = -1;
    };
    static CLastFind s_lastFind;
};
