// CMorvelPMView: the grid of a parts list. It derives from the grid base view: the
// geometry, the cursor, the selection, scrolling, the mouse, column resizing and the
// headers and grid lines are the base's; this view adds the parts list's cell store
// (the rows live in the document), the column roles its parts form gives, the row
// formulas, the drawing of the cells and the zoom commands.
//
// Column roles, by the form item's attribute: "文字" text; "数値" a number column; an
// attribute containing "計" a calculated column (its 計算式 is evaluated within the row),
// drawn as a number only when it contains "計算".
#pragma once

#include "app/CShellServices.h"
#include "estimate/engine/CCellSearch.h"
#include "estimate/engine/CEstimateColumns.h"
#include "estimate/engine/CNumberRules.h"
#include "estimate/engine/CRowFormula.h"
#include "grid/CGridCellEdit.h"
#include "grid/CMorvelView.h"
#include "grid/IGridCellEditOwner.h"
#include "parts/CPMObj.h"
#include "platform/base/CString.h"

#include <memory>
#include <string>
#include <vector>

class CMorvelPMDoc;
class COleDataObject;
class CPartFormFile;
class CPrintInfo;
struct AFX_CMDHANDLERINFO;

class CMorvelPMView : public CMorvelView, public IGridCellEditOwner {
    DECLARE_DYNCREATE(CMorvelPMView)
public:
    CMorvelPMView();
    ~CMorvelPMView() override;

    CMorvelPMDoc* GetDocument() const;

    enum { BASE_HEADER_HEIGHT = 24, BASE_ROW_HEIGHT = 24, MAX_ROW_HEADER_WIDTH = 50 };

    // ---- set-up and zoom ----------------------------------------------------------------
    // Takes the document's columns, row limit, rows in use and zoom (after a read, and at
    // the initial update).
    void TakeDocumentRows();
    // Recomputes the zoomed geometry from the document's zoom and font and repaints.
    void ApplyZoom();
    // The row-number column width for a row limit: one 9-pixel place per digit and one
    // more, at most 50.
    static int NumberWidthFor(int nRowLimit);
    void SetVScrollRange(int nRows);
    // Sends a scroll step to every pane of the list in this pane's splitter column
    // (WM_HSCROLL) or row (WM_VSCROLL), this one included, so that the panes stay in line.
    void ScrollAllPanes(UINT nMsg, UINT nCode, int nPos);
    // After rows nFirst..nLast arrived from outside (registration from an estimate): the
    // window comes to the front with the rows selected and in view.
    void ShowArrivedRows(int nFirst, int nLast);

    // ---- the cell store ---------------------------------------------------------------
    // "" outside the columns and the row limit and for a row never written.
    CString GetCellText(int nRow, int nCol) const;
    // Stores a text (a number in a number column rounded by the column's rules); nothing
    // outside the columns and the row limit. No repaint, no formulas, no modified mark.
    void SetCellText(const CString& strText, int nRow, int nCol);
    // A number text in a number column in its "%f" form; anything else unchanged.
    void NormalizeNumberText(int nCol, CString& strOut, const CString& strIn) const;
    bool IsNumericColumn(int nCol) const;     // "数値", or containing "計"
    bool IsCalculatedColumn(int nCol) const;  // containing "計"
    bool IsNumberShownColumn(int nCol) const; // "数値", or containing "計算"
    bool IsUnitColumn(int nCol) const;        // code T "1"
    // The row formulas: every calculated column of the current row (an operand that is
    // not a number stops a formula only when it holds "*" or "/"), or of a row from a
    // column on (any operand that is not a number stops the formula).
    void CalcCurrentRow();
    void CalcRow(int nRow, int nFirstCol);
    // CalcRow from the first column for every row of nTop..nBottom: what a command that
    // wrote, cleared or inserted those rows leaves, a full recalculation's figures.
    void CalcRows(int nTop, int nBottom);
    // TRUE when no column the formula names holds a number in the row.
    BOOL HasNoNumericOperand(const CString& strFormula, int nRow) const;
    // The cells are stored and calculated by the rules of their columns taken from the
    // parts form once (kept while the form's texts stay the same) and formulas of plain
    // numbers are evaluated compiled. With the plain way on, every cell takes its rules
    // from the form's texts again and every formula is put together as a text and read;
    // both ways give the same cell texts, byte for byte.
    void SetPlainCalculation(bool bOn) { m_bPlainCalculation = bOn; }
    // The columns' rules checked against the form once for as long as the returned scope
    // lives (rather than once per CalcRow or SetCellText), for a loop over many rows during
    // which the form stays as it is.
    [[nodiscard]] CEstimateColumns::CBatch KeepColumnRules() const
    {
        return CEstimateColumns::CBatch(m_columns);
    }
    // What typing a text into the current cell does once the editor hands it over: the
    // text stored, the row's formulas evaluated (number columns), the row repainted and
    // the document marked modified.
    void CommitTypedText(const CString& strText);
    // The text a cell shows: numbers by the column's picture (empty for zero); *pRight
    // tells whether it is drawn right-aligned.
    CString GetDisplayText(int nRow, int nCol, bool* pRight) const;

    // ---- painting ----------------------------------------------------------------------
    // On the screen every area is painted twice: the first paint (while the parts views'
    // shared pass flag is clear) widens the area to whole cells, and to the header band and
    // the number boxes along it, invalidates that and draws nothing; the next paint draws.
    void OnDraw(CDC* pDC) override;
    void DrawCell(int nRow, int nCol, CDC* pDC);

    // Rows are numbered through the whole list, from 1.
    int GetRowHeaderNumber(int nRow) const override { return nRow + 1; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    // ---- editing, row commands, undo and the small commands ----------------------------
    // The in-place editor: 0 hidden, 1 opening, 2 open with text.
    enum { editClosed = 0, editOpening = 1, editOpen = 2 };
    // What the last undoable command was (m_nUndoKind).
    enum {
        undoNone = -1, // nothing: a change that recorded none overtook the record
        undoCutCells = 0,
        undoCutRows = 1,
        undoPasteCells = 2,
        undoPasteRows = 3,
        undoPasteTiled = 4,
        undoPasteColumn = 5,
        undoRowDelete = 6,
        undoRowInsert = 7,
        // Typing into a cell, a sort, a replace: the record holds the rows' texts from before, and
        // undo and redo exchange them with what the rows hold.
        undoRowsWritten = 8
    };
    int GetEditState() const { return m_nEditState; }
    CGridCellEdit* GetCellEdit() { return m_bEditCreated ? &m_wndEdit : nullptr; }
    bool CanUndo() const { return m_bCanUndo != FALSE; }
    bool CanRedo() const { return m_bCanRedo != FALSE; }
    int GetUndoKind() const { return m_nUndoKind; }
    const CPMObjList& GetUndoList() const { return m_undoList; }
    // Commits the open edit into the current cell; bMove: then the "Direction" move.
    void CommitEdit(BOOL bMove);
    // Rows: insert (with scrolling and repaint, or quietly), remove, delete, clear.
    void InsertRow(int nRow);
    void InsertRowQuiet(int nRow);
    // Inserts nCount empty rows at nRow without repainting; returns the rows inserted (0
    // for a row outside the row limit, and for rows the file could not hold, which the user
    // is told). The row limit grows when the rows would pass it.
    int InsertRowsQuiet(int nRow, int nCount);
    // Whether nCount rows inserted at nRow leave a list its file can hold; when not, the
    // user is told why (CheckFileRowLimit) and the caller changes nothing.
    bool HasFileRoomForRows(int nRow, int nCount) const;
    void RemoveRow(int nRow);
    void DeleteRow(int nRow);
    void ClearCells(int nCol1, int nRow1, int nCol2, int nRow2);
    void AllocateRows(int nCount);
    static CString TrimBlanks(const CString& strText);
    // The undo records.
    void SaveSelectionForUndo();
    void SaveBlockForUndo(const CRect& rcBlock);
    void SaveSelectionForRowDelete();
    // Writes the undo record back and recalculates its rows; the rows in use fall back to
    // what they were when the record was taken (a paste or typing past the last row).
    void RestoreUndoRecord();
    void CopyRowDeleteToUndo();
    CRect GetUndoBlock() const { return m_undoList.GetBlock(); }
    // After rows were imported at nRow: repaint, modified mark, every view told.
    void AfterRowsImported(int nRow);
    // Loads the "Morvel PM Data" content of a data object into the exchange list; FALSE
    // (and the list unchanged) when it is absent or damaged.
    bool ReadClipboardRows(COleDataObject* pData);
    const CPMObjList& GetExchangeList() const { return m_exchangeList; }
    // The selection as a block (left <= right, top <= bottom); the current cell without one.
    CRect GetSelectionBlock() const;
    // ---- range total, fixed-rate change, bookmark -----------------------------------------
    using CRateChangeRequest = CShellServices::CRateChangeRequest;
    // The condition test of the fixed-rate change (relations 0 <, 1 <=, 2 =, 3 <>, 4 >=,
    // 5 >, others true; numbers compared in numeric columns, texts elsewhere; an empty value
    // holds; nCombine 0 or, 1 and, others FALSE).
    BOOL RowMatchesCondition(int nRow, int nCol1, int nOp1, const CString& strValue1, int nCol2, int nOp2,
                             const CString& strValue2, int nCombine) const;
    // The fixed-rate change on the selected column's rows; returns the rows changed.
    int ApplyRateChange(const CRateChangeRequest& request);
    double GetRangeTotal() const { return m_dRangeTotal; }
    bool HasRangeTotal() const { return m_bHasTotal != FALSE; }
    bool IsPlacingTotal() const { return m_bPlaceTotal != FALSE; }
    CString GetRangeTotalText(int nCol) const;
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
    // "文字" column, values elsewhere; equal keys keep their order. Returns the rows sorted.
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
    void SaveSelectionInto(CPMObjList& list, bool bForRowDelete);
    // The texts of a block's cells, one record per row, added to the list.
    void KeepBlockInto(CPMObjList& list, CRect rc);
    // The command just done is the one undo takes back (an undo kind); redo is over.
    void RecordUndo(int nKind);
    // The sort command made undoable: the sorted rows' texts are the record when the sort
    // moved any (a cancelled or idle sort keeps the record as it was).
    afx_msg void OnSortWithUndo();
    // Neither undo nor redo has anything to act on.
    void ForgetUndo();
    // A change by a command that recorded no undo: the record is given up, so that nothing
    // brings it back (not even a paste of nothing, which keeps the last kind).
    void WithdrawUndo() override;
    // What undo and redo do with each undo kind, in one table (CMorvelPMViewUndo.cpp).
    struct CUndoActions;
    // Clipboard helpers: the clipboard read into the exchange list, and a block put on the
    // clipboard.
    bool ReadClipboard();
    void CopyBlockToClipboard(CRect rcBlock);
    const CPartFormFile* GetForm() const;
    const CString& GetAttribute(int nCol) const;
    // Works out column nCol's formula in a row by the given rules (CRowFormula).
    void EvaluateColumn(int nRow, int nCol, const CRowFormula::CRules& rules);
    // Every formula column of a row from nFirstCol on, in column order.
    void CalcFormulaColumns(int nRow, int nFirstCol, const CRowFormula::CRules& rules);
    // The parts form's texts as the estimate's columns read them (属性, 数値書式, 計算式,
    // 丸め, T, V; empty outside the form's items).
    class CFormColumns : public IColumnTexts {
    public:
        explicit CFormColumns(const CMorvelPMView& view) : m_view(view) {}
        const CString& GetColumnText(int nCol, EColumnText eText) const override;
        void GetColumnTexts(int nCol, const CString* texts[COLUMN_TEXTS]) const override;
        void GetTextOfColumns(EColumnText eText, int nColumns, const CString* texts[]) const override;

    private:
        // The document's form (nullptr without one).
        const CPartFormFile* FindForm() const;

        const CMorvelPMView& m_view;
        // The form of the document the view was last seen with: a column's texts are read
        // six at a time, and finding the document's type each time would cost more than
        // the reading.
        mutable const void* m_pDocumentSeen = nullptr;
        mutable const CPartFormFile* m_pForm = nullptr;
    };
    // The text a cell keeps for a text stored into it: a number in a numeric column rounded
    // by the column's rule and picture, in its normal form.
    CString StoredCellText(const CString& strText, int nCol) const;
    CString StoredCellTextPlain(const CString& strText, int nCol) const;
    int MeasureBaseRowHeight();
    void ReloadDisplaySettings(int nHeaderBase);
    void PlaceRangeTotal();
    // A cell as the search reads it: its text and, for a number, what the cell shows.
    CCellSearch::CCellText ReadCellForSearch(int nRow, int nCol) const;
    // FindNext with the whole match: the text it stands in and its length.
    CCellSearch::CMatch FindNextMatch(WPARAM nFlags, const CString& strFind);
    // A match's cell gets its text with the match replaced.
    void ReplaceInCell(const CCellSearch::CMatch& match, const CString& strReplacement);
    // After a replace wrote rows nFirstRow..nLastRow (kept for undo first): the undo record,
    // the repaint, the modified mark.
    void AfterReplacing(int nFirstRow, int nLastRow);
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
    CPMObjList m_exchangeList;
    CPMObjList m_undoList;
    CPMObjList m_rowDeleteList;
    // The rows in use when the undo record was taken (-1: the record's undo leaves them),
    // and when the open edit began (typing past the last row adds one at once).
    int m_nUndoRowsInUse = -1;
    int m_nRowsBeforeEdit = -1;
    BOOL m_bCanUndo = FALSE;
    BOOL m_bCanRedo = FALSE;
    int m_nUndoKind = 0;
    int m_nRememberedRow = -1;
    int m_nHeaderHeightBase = BASE_HEADER_HEIGHT; // the title header at zoom 100, when shown
    double m_dRangeTotal = 0.0;
    BOOL m_bHasTotal = FALSE;
    BOOL m_bPlaceTotal = FALSE;
    // What printing keeps between its steps, and the wait dialog of the layouts' choice.
    std::shared_ptr<struct CPartsPrintState> m_pPrintState;
    // What the cell store and the calculation need of each column (numeric, calculated,
    // rounding rule, picture, formula), taken from the parts form as the estimate takes its
    // columns from its form, and taken again whenever a text they came from differs.
    CFormColumns m_formColumns{*this};
    CEstimateColumns m_columns{m_formColumns, GetColumnCountSource()};
    std::vector<double> m_formulaValues;
    std::string m_strExpression; // the formula being worked out, reused from cell to cell
    CRowFormula m_plainFormula;  // the plain way's formula, read from the form at every cell
    bool m_bPlainCalculation = false;
};
