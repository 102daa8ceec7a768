// CMorvelView: the self-drawn grid from which the estimate and parts grid views derive. It keeps the
// grid's geometry and cursor state: column titles and widths at the current zoom (and at
// zoom 100), row and header sizes, the first visible row and column, the current cell,
// the cell selection, the used rows, the row limit and the rows per page. The derived view
// supplies the rows and paints the cells.
//
// The state is plain data and the geometry works on it alone, so a view that was never
// created as a window still answers; what needs the window (its client size, repainting)
// does nothing while there is none.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/controls/CStatic.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>
#include <vector>

class CDC;
class CTabWnd;

class CMorvelView : public CView {
    DECLARE_DYNAMIC(CMorvelView)
protected:
    CMorvelView();

public:
    ~CMorvelView() override;

    enum {
        MAX_COLUMNS = 100,
        BAR_THICKNESS = 18, // the jump bar, tab strip and scroll bars along the edges
        DEFAULT_ROW_HEIGHT = 22,
        ROW_MARK_RIGHT_MARGIN = 2 // a marked row's number ends this far from the header's edge
    };

    // A form item's width ("幅", in characters) as both grids take it: the number the text
    // starts with, kept within 0..MAX_FORM_COLUMN_WIDTH (a column 999 characters wide is
    // already far wider than any screen). The pixel width at zoom 100 is ten times it.
    enum { MAX_FORM_COLUMN_WIDTH = 999 };
    static int GetFormColumnWidth(const char* lpszWidth);

    // The most rows an estimate or parts file can store: the file keeps its row count in
    // one 16-bit word.
    enum { MAX_FILE_ROWS = 0xFFFF };
    // The reason a document of nRows rows cannot be saved: its row count and the limit.
    static CString GetFileRowLimitText(long long nRows);
    // Whether an insertion that leaves nRowsAfter rows in use can still be saved. When it
    // cannot, the user is told (the row count it would give and the limit) and the answer
    // is false: the caller has changed nothing yet and inserts nothing.
    static bool CheckFileRowLimit(long long nRowsAfter);
    // The same check for a save of nRows rows, with the save's own message (the file's
    // name, the row count and the limit; the file on disk is left as it is).
    static bool CheckFileRowLimitForSave(long long nRows, const char* lpszPathName);
    // Whether a cell of nRow can take text in a grid of nUsedRows used rows. A row past the
    // last one the file can hold cannot: text there would give the file a row it cannot
    // save. The user is told why, as for an insertion, and nothing changes.
    static bool CheckFileRowLimitForEdit(int nRow, int nUsedRows);

    // The client area less the room of the scroll bars and the bottom bar (empty without a
    // window).
    void GetGridClientRect(LPRECT lpRect) const;
    // The pixel rectangle of a cell range; the empty rectangle for a range outside the grid.
    void GetCellRangeRect(int nFirstCol, int nFirstRow, int nLastCol, int nLastRow, LPRECT lpRect) const;
    static void NormalizeCellRange(int nCol1, int nRow1, int nCol2, int nRow2, LPRECT lpRange);
    // The cells a change of selection from rcOld to rcNew touches: both ranges normalised,
    // their union cut to the visible cells and to columns up to nLastCol (rcChanged), and
    // their overlap (rcKept, whose cells keep their state). False when no visible cell is
    // touched.
    bool GetSelectionChange(const CRect& rcOld, const CRect& rcNew, int nLastCol, CRect& rcChanged,
                            CRect& rcKept) const;
    static CRect UnionRange(const CRect& a, const CRect& b);
    static CRect IntersectRange(const CRect& a, const CRect& b);
    // Keeps the ranges of the horizontal bar (0 .. nHorzMax) and of the vertical bar (0 ..
    // used rows less the rows that fit in the grid area, plus one; 0 when that is below 1).
    void SetScrollRanges(int nHorzMax, int nUsedRows);
    // Recomputes the total column width from the zoomed column widths.
    void RecalcTotalWidth();
    // Recomputes the total height from the row limit and the row height.
    void RecalcTotalHeight();

    // Repaints a range of cells (rows across all columns for the row form) when the view
    // has a window.
    void InvalidateCells(int nFirstCol, int nFirstRow, int nLastCol, int nLastRow, bool bErase = false);
    void InvalidateRows(int nFirstRow, int nLastRow, bool bErase = false);

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

    // How the cell selection was made (m_nSelectMode): none, whole rows (a press on the
    // row headers), one column (a press on a column header) or a block of cells.
    enum { selectNone = 0, selectRows = 1, selectColumn = 10, selectBlock = 20 };

    // ---- queries of the grid state ------------------------------------------------------
    // The row counts the grid reads: the view's own, or where a derived view keeps them for
    // every window on its document (its model). The used rows are always the derived
    // view's: they change with its rows.
    virtual int GetUsedRows() const = 0;
    virtual int GetRowLimit() const { return m_nRowLimit; }
    virtual int GetColumnCount() const { return m_nColumnCount; }
    int GetCurrentRow() const { return m_nCurrentRow; }
    int GetCurrentCol() const { return m_nCurrentCol; }
    // The current cell (column, row) before the last key or click.
    CPoint GetPreviousCell() const { return m_ptPrevCell; }
    // The top-left cell of the grid area (column, row).
    CPoint GetFirstVisibleCell() const { return CPoint(m_nFirstVisibleCol, m_nFirstVisibleRow); }
    // selectNone .. selectBlock, and the selection as set (first col, first row, last col,
    // last row; not ordered).
    int GetSelectMode() const { return m_nSelectMode; }
    const CRect& GetSelection() const { return m_rcSelection; }
    // A column's title, its width at the current zoom and at zoom 100 (0 for a hidden
    // column), and its input-fixed mark; empty or 0 for a column beyond MAX_COLUMNS.
    CString GetColumnTitle(int nCol) const;
    int GetColumnWidth(int nCol) const;
    int GetBaseColumnWidth(int nCol) const;
    // The width at zoom 100 a column hidden by display fixing comes back at.
    int GetRememberedColumnWidth(int nCol) const;
    bool IsColumnInputFixed(int nCol) const;
    // The sizes of the grid at the current zoom and where it is scrolled to.
    struct CGridMetrics {
        int nZoom = 100; // percent
        int nRowHeight = 0;
        int nHeaderHeight = 0;
        int nRowHeaderWidth = 0;
        int nTotalWidth = 0; // of all columns
        int nHorzOffset = 0; // pixels scrolled to the left and up
        int nVertOffset = 0;
        int nHorzScrollMax = 0;
    };
    CGridMetrics GetMetrics() const;
    // The same sizes one by one, for drawing and laying out.
    int GetZoom() const { return m_nZoom; }
    int GetRowHeight() const { return m_nRowHeight; }
    int GetHeaderHeight() const { return m_nHeaderHeight; }
    int GetRowHeaderWidth() const { return m_nRowHeaderWidth; }
    int GetTotalWidth() const { return m_nTotalWidth; }
    // What the mouse and the keyboard are doing to the grid.
    struct CPointerState {
        int nPressOrigin = 0;         // pressNone .. pressCells
        bool bDragExtending = false;  // a selection is being extended by dragging
        bool bDragScrolling = false;  // the drag auto-scroll timer runs
        int nDragScrollDir = 0;       // dragScrollDown .. dragScrollLeft
        bool bShiftExtending = false; // Shift+key extends the selection
        int nResizeState = 0;         // resizeNone .. resizeTracking
        int nResizeCol = 0;           // the column being resized
    };
    CPointerState GetPointerState() const;

    // ---- setting the grid state ---------------------------------------------------------
    // These change the state alone (no scrolling, no repaint): for setting a view up before
    // it is shown, and for callers that repaint themselves.
    void SetCurrentCell(int nCol, int nRow);
    void SetCurrentRow(int nRow) { m_nCurrentRow = nRow; }
    void SetFirstVisibleCell(int nCol, int nRow);
    void SetSelection(int nMode, const CRect& rcSelection);
    // The selection mode alone; the range stays as set.
    void SetSelectMode(int nMode) { m_nSelectMode = nMode; }
    virtual void SetRowLimit(int nRowLimit) { m_nRowLimit = nRowLimit; }
    // Raises the row limit (doubling it, as opening a large file does) until nRows rows
    // fit; the total height follows.
    void GrowRowLimit(int nRows);
    // The width of a column at the current zoom only (RecalcTotalWidth follows).
    void SetColumnWidth(int nCol, int nWidth);
    // The width of a column at zoom 100, also the one to come back to; RecalcLayout follows.
    void SetBaseColumnWidth(int nCol, int nWidth);
    void SetColumnInputFixed(int nCol, bool bFixed);
    void SetColumnTitle(int nCol, const CString& strTitle);
    // Display fixing: a hidden column is 0 wide at zoom 100; shown again it comes back at
    // its remembered width, which itself does not change.
    void SetColumnShown(int nCol, bool bShown);
    // The zoom in percent; RecalcLayout follows.
    void SetZoom(int nPercent) { m_nZoom = nPercent; }
    // The pixel sizes of the row headers, the column headers and the rows as they stand.
    void SetRowMetrics(int nRowHeaderWidth, int nHeaderHeight, int nRowHeight);

    // ---- The undo record and the changes it does not know about ---------------------------
    // Each grid keeps one undo record, made by the command that recorded it, and its undo
    // writes the record back. A change a later command makes without recording an undo of
    // its own (replace all, a sort, an import, typing in the parts grid ...) would then be
    // overwritten; such a change withdraws the record instead (undo and redo become
    // unavailable). A command is the handling of one window message
    // (CWnd::GetMessageSerial): the record notes the message it was made in, and a change
    // of the document in the handling of any other message withdraws it. Every change
    // reaches this through the document's modified mark (the documents' SetModifiedFlag
    // calls NoteDocumentChanged), so no command needs to remember it. The record is the
    // document's, one for every window on it: a record made in this message, in whichever
    // of its windows, stays.
    //
    // The grid views of a document hear that it changed.
    static void NoteDocumentChanged(CDocument& doc);
    // While one lives, the documents' changes keep the records: it marks work that changes
    // nothing a record names (the totals worked out again, saving, printing).
    class CUndoKeepingScope {
    public:
        CUndoKeepingScope() { ++s_nUndoKeeping; }
        ~CUndoKeepingScope() { --s_nUndoKeeping; }
        CUndoKeepingScope(const CUndoKeepingScope&) = delete;
        CUndoKeepingScope& operator=(const CUndoKeepingScope&) = delete;
    };

protected:
    // The command being handled made this grid's undo record, or took it over (undo and
    // redo themselves): its changes keep the record.
    void NoteUndoRecorded() { m_nUndoMessageSerial = CWnd::GetMessageSerial(); }
    bool IsUndoRecordedInThisMessage() const { return m_nUndoMessageSerial == CWnd::GetMessageSerial(); }
    // Undo and redo become unavailable (the derived grid forgets its record).
    virtual void WithdrawUndo() = 0;

public:
    // ---- Grid window: child bars, layout, mouse, keyboard, scrolling and painting -------
    // The view's own bars along its bottom and right edges (each BAR_THICKNESS thick): the
    // jump bar, the page tab strip, a horizontal and a vertical scroll bar and an empty box
    // in the corner. The derived view creates them in its WM_CREATE and then calls
    // SetChildWindowsReady; from then on WM_SIZE lays them out. The framework's own scroll
    // bars are never shown: these bars carry all scrolling.
    enum : UINT {
        IDC_HORZ_BAR = 178,
        IDC_VERT_BAR = 180,
        IDC_CORNER_BOX = 65535,
        IDC_JUMP_BAR = 4094,
        IDC_TAB_STRIP = 4093,
        TIMER_DRAG_SCROLL = 4095, // the drag auto-scroll timer, 50 ms
        IDC_COLUMN_RESIZE = 109   // the column-resize cursor resource
    };
    // Where the current left-button press began (m_nPressOrigin).
    enum { pressNone = 0, pressRowHeader = 1, pressColumnHeader = 2, pressCorner = 3, pressCells = 4 };
    // Column resizing by the mouse (m_nResizeState).
    enum { resizeNone = 0, resizeArmed = 1, resizeTracking = 2 };
    // Directions of the drag auto-scroll (m_nDragScrollDir).
    enum { dragScrollDown = 1, dragScrollUp = 2, dragScrollRight = 3, dragScrollLeft = 4 };

    // The cell range covered by a pixel rectangle (first col, first row, last col, last
    // row); -1 in all four for a rectangle of zero size. A point on a column's right edge
    // belongs to the next column as a start and to its own as an end.
    void GetCellRangeFromRect(int x1, int y1, int x2, int y2, LPRECT lpRange) const;
    // The cell under a client point (the start of the range of a 2 x 2 pixel square).
    CPoint CellFromPoint(int x, int y) const;
    // The 2-pixel black frame of the current cell (of the selection's first cell while a
    // Shift extension runs), when it lies at least partly in the cell area; nShow 0 draws
    // nothing (the cell is repainted instead).
    void DrawCellCursor(CDC* pDC, int nShow);
    // TRUE when any column carries the input-fixed mark.
    bool HasFixedColumns() const;
    // Scrolls until the cell lies whole in the grid area: the rows (ScrollRowIntoView), then
    // one column at a time until its left and right edges are in the grid.
    void ScrollCellIntoView(int nRow, int nCol);
    // Scrolls a row that lies above or below the grid area in (nothing for a view without a
    // window): it becomes the first row, or the last whole one.
    void ScrollRowIntoView(int nRow);
    // The Ctrl+arrow jumps.
    void MoveToLastColumn();
    void MoveToFirstColumn();
    void MoveToLastRow();
    void MoveToFirstRow();
    // Scrolls the last column's right edge to the grid's right edge.
    void ScrollToLastColumn();
    // Ctrl+Home and Ctrl+End: the first cell of the grid, and the last column of the last
    // used row.
    void MoveToFirstCell();
    void MoveToLastUsedCell();
    // Page Up and Page Down: the grid scrolls by a screenful and the cursor keeps its place
    // on the screen.
    void PageUp();
    void PageDown();
    // Extends the selection from the anchor cell to the current cell (nContinuing 0 starts
    // a Shift extension, 1 continues it) and repaints what changed.
    void ExtendSelection(int nContinuing, int nAnchorCol, int nAnchorRow);
    // Left and Right while input-fixed columns exist: the cursor walks the marked columns.
    // The columns marked input-fixed, left to right.
    std::vector<int> InputFixedColumns() const;
    void MoveLeftFixed();
    void MoveRightFixed();
    // Column resizing: the mouse-move handler asks whether the pointer lies on a column's
    // right edge in the header band (arms resizing; returns the resize state), and tracks
    // the drag while the state is resizeTracking.
    int HitTestColumnBorder(int x, int y);
    void TrackColumnResize(UINT nFlags, int x);
    // The drag selection, shared by the grids: a mouse move with the button held extends
    // the selection to the cell under the point (by where the press began) and, outside the
    // grid area, starts the auto-scroll timer; each timer tick moves the selection's end
    // one step on and scrolls. RedrawSelectionChange repaints what changed between two
    // selections; GetDragScrollInterval gives the tick in milliseconds for a direction.
    void DragSelectTo(UINT nFlags, CPoint point);
    void DragScrollTick();
    virtual void RedrawSelectionChange(const CRect& rcOld, const CRect& rcNew);
    virtual int GetDragScrollInterval(int /*nDirection*/) const { return 50; }
    // Redraws the column headers from nCol on as they will be with nCol nWidth pixels wide.
    void DrawResizingHeaders(CDC* pDC, int nCol, int nWidth);
    // Places the child windows in a client area of cx x cy and refreshes the scroll ranges.
    void LayoutChildWindows(int cx, int cy);
    // Rows and pixel helpers of the grid area.
    int GetVisibleRowCount() const;    // whole rows between the column headers and the grid's bottom
    int GetColumnLeft(int nCol) const; // client x of a column's left edge (first visible column based)
    // Horizontal lines: single 1-pixel lines (0), or 2-pixel lines doubled at the
    // boundaries of pages of this many rows (the estimate grid).
    virtual int GetPageSeparatorRows() const { return 0; }
    // The number a row's header shows, counted from 1.
    virtual int GetRowHeaderNumber(int nRow) const { return nRow + 1; }
    // Whether the derived view draws a mark at the left of a row's header: the number then
    // moves to the header's right edge, so that the mark leaves it readable.
    virtual bool HasRowHeaderMark(int nRow) const
    {
        (void)nRow;
        return false;
    }
    // The view's own scroll bars (once created) stand for the window's bars; without them
    // the frame's (a splitter's shared bars).
    CScrollBar* GetScrollBarCtrl(int nBar) const override;
    // The font the cell editor shows the current cell's text in; the input method's
    // pre-edit uses it too.
    virtual LOGFONT GetCurrentCellEditFont() const;

    // ---- The input method's composition on the grid -------------------------------------
    // A composition typed onto the grid shows over the current cell and belongs to it: it
    // is never shown over, nor stored in, another cell. Before a press on another cell, a
    // key that reaches the grid, a scroll or a command, CommitComposition commits it and
    // stores it in its cell, as typing the text there and clicking elsewhere does. A scroll
    // stores it too rather than carry it along with the cell: a cell scrolled out of the
    // grid could show it nowhere, and a commit there would be refused. A press on the cell
    // itself leaves it be. When the keyboard leaves the grid (another window on the
    // document, a dialog), the input method's commit (Imm.h) is stored at once, not left
    // unseen in a hidden editor.
    bool HasImeComposition() const;
    void CommitComposition();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    // Shift, Ctrl, Alt and the Windows keys pressed on their own: they only change what
    // the next key or click means, never the selection or the current cell.
    static bool IsModifierKey(UINT nChar);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // A composition typed onto the grid shows at the current cell.
    afx_msg LRESULT OnImeStartComposition(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnImeEndComposition(WPARAM wParam, LPARAM lParam);
    // Posted by OnImeEndComposition: the composition's text is in the cell's editor.
    enum : UINT { WM_COMPOSITION_HANDED_OVER = WM_APP + 1 };
    afx_msg LRESULT OnCompositionHandedOver(WPARAM wParam, LPARAM lParam);
    // The main frame's zoom box follows the grid with the keyboard (CMorvelViewFrameBars.cpp):
    // taking it, the grid shows its zoom there; losing it, the box's last entry offers the
    // user zoom again; closed while its window is still the active one, the box shows none.
    // The derived views write their status panes after these.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // Losing the keyboard also ends a Shift extension: the grid would not see Shift's
    // release in the other window.
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

public:
    // The bars along the bottom edge (null before the derived view made them).
    CTabWnd* GetTabWnd() const { return m_pTabWnd; }
    CWnd* GetJumpBar() const { return m_pJumpBar; }
    CWnd* GetCornerBox() { return &m_wndCornerBox; }
    // The child bars exist and WM_SIZE lays them out.
    bool HasChildWindows() const { return m_nChildrenReady != 0; }

protected:
    // Sends the view a simulated click (press and release) at a client point.
    void SimulateClick(int x, int y, int yRelease);
    // Shows the first pop-up of a menu with its top-left corner at a screen point. The
    // menu belongs to the first window up the chain that is not a child window (the main
    // frame), which routes the chosen command to the active view.
    void TrackGridMenu(UINT nIDMenu, CPoint ptScreen);
    // A key as the keyboard gives it: released, then pressed, with a repeat count of 1
    // (straight to the handlers while there is no window).
    void SendKeyUpDown(UINT nChar);
    // After a cell was typed, moves on as "Input Setting"/"Direction" says: 1 right, 2
    // down, otherwise nowhere.
    void MoveAfterInput();
    // The whole characters of typed text: a lead byte at its end, whose trail byte has not
    // come yet (a typed double-byte character arrives byte by byte), is left out.
    static CString WholeCharacters(const CString& strText);
    void SendKeyPressAndRelease(UINT nChar);
    // Repaints one cell (or nothing for a cell outside the grid).
    void InvalidateCell(int nCol, int nRow);
    // The pixel rectangle of the current selection, cut to the grid area.
    CRect GetSelectionPixelRect() const;
    void ClearSelection();
    // One scroll step through the view's own scroll message (straight to the handler while
    // there is no window). A view that shares its scrolling with other panes sends the step
    // to them too.
    virtual void ScrollView(UINT nMsg, UINT nCode, int nPos);
    // A column border was dragged to a new width (this view's widths are set, the other
    // views of the document are updated next).
    virtual void OnColumnResized(int nCol) { (void)nCol; }
    // Stores what was typed into the current cell and closes its editor, as a press on
    // another cell does (the derived view's editing). Nothing when no edit is open.
    virtual void StoreTypedEdit() {}
    // Puts the scroll ranges and positions into the view's bars.
    void SyncScrollBars();
    // Creates the horizontal and vertical scroll bars and the corner box (the derived
    // view's WM_CREATE, before its own bars).
    BOOL CreateGridBars();
    // Applies m_nZoom to the sizes kept at zoom 100 (row height, header height, row-number
    // width, the widths of the columns in use, the others 0), recomputes the total size
    // and the offsets of the first visible cell and the scroll ranges; with a window, a grid
    // whose columns all fit goes back to its first column and the view is repainted.
    void ApplyZoomToGeometry();
    // The XOR guide line of the column resize.
    void DrawResizeGuide(int x);
    // The 400 and 700 weight header fonts at the current zoom, made from the context's
    // current font with the face "ＭＳ 明朝" (kept while the font and zoom stay the same).
    void PrepareHeaderFonts(CDC* pDC);
    // The row-number width at zoom 100 (both remembered copies) and at the current zoom.
    void SetBaseRowHeaderWidth(int nWidth)
    {
        m_nBaseRowHeaderWidth = m_nBaseRowHeaderWidth2 = nWidth;
        m_nRowHeaderWidth = nWidth * m_nZoom / 100;
    }
    // The heights of the rows and of the column headers at zoom 100 (ApplyZoomToGeometry
    // makes the current ones from them).
    void SetBaseRowHeight(int nHeight) { m_nBaseRowHeight = nHeight; }
    void SetBaseHeaderHeight(int nHeight) { m_nBaseHeaderHeight = nHeight; }
    // The view's own column count (for a view that keeps it itself rather than in a
    // model).
    void SetColumnCount(int nColumnCount) { m_nColumnCount = nColumnCount; }
    // Takes the column widths another pane of the list shows (at zoom 100 and remembered;
    // the zoom is applied next).
    void TakeColumnWidths(const CMorvelView& other);
    // Makes (nCol, nRow) the top-left cell of the grid area; the scroll offsets follow
    // (nothing is repainted).
    void SetScrollOrigin(int nCol, int nRow);
    // A press on a cell: no selection mode, the selection and the one a drag starts from
    // are that cell.
    void StartSelectionAt(int nCol, int nRow);
    // The current cell becomes the previous one (before a move the view makes itself).
    void RememberCurrentCell() { m_ptPrevCell = CPoint(m_nCurrentCol, m_nCurrentRow); }
    // A selection drag in progress is over.
    void EndDragExtension() { m_bDragExtending = false; }
    // The press the grid was following is forgotten (pressNone).
    void ClearPressOrigin() { m_nPressOrigin = pressNone; }
    // The window handle of the view's own horizontal (SB_HORZ) or vertical bar; null before
    // CreateGridBars.
    HWND GetGridBarHandle(int nBar) const;
    // The bars the derived view makes along the bottom edge; the view deletes them.
    void SetJumpBar(CWnd* pJumpBar) { m_pJumpBar = pJumpBar; }
    void SetTabWnd(CTabWnd* pTabWnd) { m_pTabWnd = pTabWnd; }
    // The child bars are made (or the frame's bars serve, see UseFrameScrollBars): WM_SIZE
    // lays them out from now on.
    void SetChildWindowsReady() { m_nChildrenReady = 1; }
    // The view makes no bars of its own and scrolls with its frame's.
    void UseFrameScrollBars() { m_bFrameScrollBars = true; }
    // The 400 weight header font the row numbers are drawn in (after PrepareHeaderFonts).
    CFont& GetRowNumberFont() { return m_fontHeader; }
    void DrawColumnHeader(CDC* pDC, int nCol, int nLeft, int nRight);

private:
    // ---- grid state ---------------------------------------------------------------------
    int m_nFirstVisibleCol;
    int m_nFirstVisibleRow;
    CString m_strColumnTitle[MAX_COLUMNS];
    int m_nColumnWidth[MAX_COLUMNS];      // pixels at the current zoom
    int m_nBaseColumnWidth[MAX_COLUMNS];  // pixels at zoom 100
    int m_nBaseColumnWidth2[MAX_COLUMNS]; // the width to come back to (kept while hidden)
    int m_nInputFixed[MAX_COLUMNS];       // nonzero: the column is input-fixed
    int m_nRowHeight;
    int m_nBaseRowHeight;
    int m_nHeaderHeight;
    int m_nBaseHeaderHeight;
    int m_nRowHeaderWidth;
    int m_nBaseRowHeaderWidth;
    int m_nZoom; // percent
    int m_nTotalWidth;
    int m_nTotalHeight;
    int m_nHorzOffset;
    int m_nVertOffset;
    int m_nCurrentCol;
    int m_nCurrentRow;
    CPoint m_ptPrevCell; // (column, row) before the last key or click
    int m_nColumnCount;
    int m_nRowLimit;
    CRect m_rcSelection; // (first col, first row, last col, last row), as set
    int m_nSelectMode;   // selectNone .. selectBlock
    CRect m_rcPrevSelection;
    bool m_bDragExtending; // a selection is being extended by dragging
    CScrollBar m_wndHorzBar;
    CScrollBar m_wndVertBar;
    CStatic m_wndCornerBox;
    CWnd* m_pJumpBar = nullptr;   // created by the derived view; deleted with the view
    CTabWnd* m_pTabWnd = nullptr; // created by the derived view; deleted with the view
    int m_nChildrenReady = 0;
    // The view makes no bars of its own and scrolls with its frame's (a pane of a splitter
    // with shared scroll bars): the grid then fills the whole client area.
    bool m_bFrameScrollBars = false;
    int m_nPressOrigin = 0;       // pressNone .. pressCells
    int m_nDragScrollRunning = 0; // the drag auto-scroll timer runs
    int m_nDragScrollDir = 0;     // dragScrollDown .. dragScrollLeft
    int m_nShiftExtend = 0;       // 1 while Shift+key extends the selection

    // ---- the keys' moves (OnKeyDown) ----------------------------------------------------
    // What a key found when it came: whether Shift was held, the current cell it moves
    // from (the anchor of a Shift extension) and the selection mode before it.
    struct CKeyStart {
        bool bShift = false;
        CPoint ptAnchor;
        int nModeBefore = selectNone;
    };
    // Before a key that moves: a selection that no Shift extension holds shrinks (whole
    // rows to their first row, a block to nothing) and the current cell is remembered.
    CKeyStart StartKeyMove();
    // Without Shift a move leaves no selection behind.
    void ClearSelectionUnlessShift(const CKeyStart& key);
    // The cursor's new place is shown at once; the old one is repainted.
    void ShowKeyMove();
    // With Shift held the selection reaches from the anchor to the new current cell; a
    // selection of whole rows stays one of whole rows.
    void ExtendByShift(const CKeyStart& key);
    void PageByKey(UINT nChar, const CKeyStart& key);
    void MoveLeftByKey(const CKeyStart& key);
    void MoveRightByKey(const CKeyStart& key);
    void MoveUpByKey(const CKeyStart& key);
    void MoveDownByKey(const CKeyStart& key);
    // An arrow key with Ctrl held: the jump to the first or last row or column (the moves
    // above) instead of one cell; false without Ctrl. A grid that has the Ctrl+arrows as
    // commands of its own takes them before they come here.
    bool JumpByCtrlArrow(UINT nChar, const CKeyStart& key);
    // Ctrl+Home and Ctrl+End, as in any grid: the first cell, and the last used row's last
    // column, each brought into view.
    void JumpByKey(UINT nChar, const CKeyStart& key);
    // Shift was released where the grid did not see it (a menu was open): the extension it
    // held is over before the next key or press.
    void EndShiftExtensionWithoutShift();

    int m_nBaseRowHeaderWidth2;
    int m_nHorzScrollMax;
    int m_nVertScrollMax;
    CRect m_rcPressPoint;   // the press point as a 2 x 2 pixel square
    int m_nButtonDown = 0;  // 1 between a press in the grid and its release
    int m_nResizeState = 0; // resizeNone .. resizeTracking
    int m_nResizeCol = 0;
    int m_nGuideX = 0; // x of the XOR guide line while resizing
    CFont m_fontHeader;
    CFont m_fontHeaderBold;
    LOGFONT m_lfHeaderSource = {}; // the context font and zoom the header fonts were made for
    int m_nHeaderFontZoom = 0;
    // The message the undo record was made in (NoteUndoRecorded).
    unsigned long long m_nUndoMessageSerial = 0;
    // CommitComposition runs (the commit's own messages must not start it again).
    bool m_bCommittingComposition = false;
    // Whether a message takes the current cell or the cells' place on the screen away from
    // a composition (see CommitComposition).
    bool LeavesComposition(UINT message, WPARAM wParam, LPARAM lParam) const;
    static int s_nUndoKeeping; // live CUndoKeepingScope objects
};
