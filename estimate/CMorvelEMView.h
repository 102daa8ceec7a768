// CMorvelEMView: the estimate grid. It holds the estimate's rows in two pages (the edit
// page and the summary page), the information sheet's values, the subject-numbering
// settings and the undo record, and it is where the estimate computes: cell numbers,
// row formulas, totals, special rows and the recalculation.
//
// Every row, cell, number and total operation works on the view's data alone, so a view
// that is attached to its document but has no window yet (or never gets one) does all of
// it; repainting is skipped while there is no window.
#pragma once

#include "app/CGridCellEdit.h"
#include "app/IGridCellEditOwner.h"
#include "estimate/CGridRowArray.h"
#include "estimate/CMorvelView.h"
#include "estimate/CNumberRules.h"
#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <memory>
#include <string>
#include <vector>

class CCmdUI;
class CEstimationFormFile;
class CGridRow;
class CMorvelEMDoc;
class CStringArray;

class CMorvelEMView : public CMorvelView, public IGridCellEditOwner {
    DECLARE_DYNCREATE(CMorvelEMView)
public:
    CMorvelEMView();
    // Deletes every row object of both pages and of the undo stores.
    ~CMorvelEMView() override;

    enum { MAX_INFORMATION = 100, DEFAULT_ROW_LIMIT = 1100, HEADER_HEIGHT = 24 };

    // Row kinds.
    enum {
        kindEmpty = 0,
        kindLarge = 1,
        kindMiddle = 2,
        kindSmall = 3,
        kindDetail = 5,
        kindDiscount = 6,
        kindKind = 7,
        kindFree = 8, // the consumption-tax row
        kindStep = 9,
        kindTotalOffset = 10, // subtotal = heading kind + 10; 15 the grand total
        kindGrandTotal = 15,
        kindClassify = 21,
        kindDiscountTotalOffset = 30, // discount total = level + 30; 35 the discount grand total
        kindNonCalcOffset = 50,
        kindSummaryOffset = 100
    };

    // Total levels (MakeTotalRow, the total commands).
    enum {
        levelLarge = 1,
        levelMiddle = 2,
        levelSmall = 3,
        levelGrand = 5,
        levelDiscount = 6,
        levelKind = 7
    };

    // Recalculation request modes: bulk changes, and the save and print paths.
    enum { recalcBulk = 2, recalcSaveOrPrint = 3 };

    CMorvelEMDoc* GetDocument() const;
    // The document's estimation form (an empty form while there is no document).
    const CEstimationFormFile& GetEstimationForm() const;

    // ---- set-up -------------------------------------------------------------------------
    // The part of the initial update that needs no window: columns, widths and titles from
    // the document's estimation form, used rows from the rows read (the row limit is
    // doubled once when they do not fit), header and row heights, the current parts file,
    // the information count and the page adjustment flag.
    void SetupFromDocument();
    void OnInitialUpdate() override;

    // ---- rows and cells -----------------------------------------------------------------
    // Getters serve the summary page while it is shown (the active page); setters and the
    // parameter getters always work on the edit page. A row is valid from 0 to the row
    // limit - 1, a column from 0 to the column count - 1; invalid indexes read as empty.
    CString GetCellText(int nRow, int nCol) const;
    // Stores a cell of the edit page; a number text in a numeric column is rounded by the
    // column's rounding specification (not in a free row, kind 8) and by its picture's
    // decimals and kept in normal form. With bForce 0, an empty text into a cell whose edit
    // started empty stores nothing. Returns 1 when stored.
    BOOL SetCellText(const char* lpszText, int nRow, int nCol, BOOL bForce);
    int GetRowKind(int nRow) const;
    void SetRowKind(int nKind, int nRow);
    int GetCellIndent(int nRow, int nCol) const;
    void SetCellIndent(int nIndent, int nRow, int nCol);
    int GetRowParam1(int nRow) const;
    int GetRowParam2(int nRow) const;
    int GetRowParam3(int nRow) const;
    CString GetRowParamText1(int nRow) const;
    CString GetRowParamText2(int nRow) const;
    void SetRowParam1(int nValue, int nRow);
    void SetRowParam2(int nValue, int nRow);
    void SetRowParam3(int nValue, int nRow);
    void SetRowParamText1(const char* lpszText, int nRow);
    void SetRowParamText2(const char* lpszText, int nRow);
    // Inserts an empty row at nRow (rows below move down); used rows stay below the limit.
    void InsertRow(int nRow);
    // Removes the row at nRow (rows below move up).
    void DeleteRow(int nRow);
    // The row's text in the amount column (the first column whose "V" code is "2").
    CString GetAmountText(int nRow) const;
    // The last column whose code matches (0 when none): code "T" with key "5" also matches
    // "T" code "2", key "6" also "2"; code "U" matches the "V" code.
    int FindColumn(const char* lpszKey, const char* lpszCode) const;
    static BOOL IsNumberText(const char* lpszText) { return CNumberRules::IsNumberText(lpszText); }
    void CopyRow(const CGridRow* pSource, CGridRow* pTarget) const;
    // Appends empty row objects to the edit page (the file reader fills them).
    void AllocateRows(int nCount);
    // The edit page's row object, or null.
    CGridRow* GetEditRow(int nRow) const;

    // Information values: the amounts the information sheet offers (with tax, tax, without
    // tax) and the values it gives back.
    void GetInformationAmounts(CString& strTotal, CString& strTax, CString& strNet);
    void ApplyInformationValues(const CStringArray& values);

    // ---- numbers ------------------------------------------------------------------------
    void NormalizeNumberText(int nCol, CString& strResult, const char* lpszText) const;
    static double RoundBySpec(double value, const char* lpszSpec)
    {
        return CNumberRules::RoundBySpec(value, lpszSpec);
    }
    static double RoundBySpec(const CString& strSpec, double value)
    {
        return CNumberRules::RoundBySpec(value, strSpec);
    }
    static void FormatByPicture(double value, const char* lpszPicture, CString& strText, BOOL bSeparators)
    {
        strText = CNumberRules::FormatByPicture(value, lpszPicture, bSeparators);
    }
    static void FormatByPicture(double value, const char* lpszPicture, CString* pText, BOOL bSeparators)
    {
        if (pText != nullptr)
            FormatByPicture(value, lpszPicture, *pText, bSeparators);
    }
    // Evaluates the formula text in place and returns it: the result in normal form, or
    // empty when nothing is left.
    static CString& EvaluateFormula(CString& strText)
    {
        strText = CNumberRules::EvaluateFormula(strText);
        return strText;
    }
    // Computes the formula columns ("計" in the attribute) of an edit-page row from nFirstCol
    // on, left to right. Headings and summary rows are not calculated.
    void CalcRow(int nRow, int nFirstCol);
    // The same on the summary page, while it is shown.
    void CalcSummaryRow(int nRow, int nFirstCol);
    // 1 when no column that the formula references holds a number in the row.
    int FormulaLacksNumbers(int nRow, const char* lpszFormula) const;

    // ---- totals -------------------------------------------------------------------------
    // Makes the row the total of a level (1 large, 2 middle, 3 small, 7 kind, 5 grand, 6
    // discount of the view's discount level) unless it is one already, and fills it.
    void MakeTotalRow(int nRow, int nLevel);
    // Refreshes step rows, classification rows, totals and the tax row from nFromRow (-1:
    // 0) down to the last used row.
    void RecalcTotals(int nFromRow);
    double SumUnderHeading(int nRow, int nLevel, int nCol) const;
    BOOL IsTaxVerticalTotal() const;
    // The total commands' work: an empty row at the current row made the total of the
    // level; the current row moves down.
    void InsertTotal(int nLevel);

    // ---- special rows -------------------------------------------------------------------
    void MakeStepRow(int nRow, const char* lpszTarget, int nTargetCol, int nRangeCode);
    void MakeClassifyRow(int nRow, const char* lpszName, const char* lpszRate, const char* lpszTarget,
                         int nTargetCol, int nColumnMode, int nRangeCode);
    void CalcTaxAmount(CString& strTax, int nCol, BOOL bExcludeFree, int nRate);
    double SumEstimateAmount(int nCol, BOOL bExcludeFree) const;
    // The subject number of a heading from its counts, in the view's numbering styles.
    void FormatSubjectNo(int nMode, CString& strText, int nKind, int nLarge, int nMiddle, int nSmall) const;
    // The subject number shown in front of a heading's text in the numbering column.
    CString GetSubjectNoText(int nRow, int nCol) const;

    // The special-row commands' work, with the values their dialogs collect.
    void InsertKindHeading(const char* lpszName, const char* lpszUnit);
    void InsertDiscount(const char* lpszAmount);
    void ApplyStepSetting(BOOL bRelease, const char* lpszTarget, int nTargetCol, int nRangeCode);
    // On a classification row: bRelease makes it a detail row again, bAddNewRow inserts a
    // new row for the classification first; on any other row a new row is inserted.
    void ApplyClassifySetting(const char* lpszName, const char* lpszRate, const char* lpszTarget,
                              int nTargetCol, int nColumnMode, int nRangeCode, BOOL bRelease,
                              BOOL bAddNewRow);
    void InsertDiscountTotal(int nDiscountLevel);
    void InsertConsumptionTax();
    // Marks rows nFirstRow..nLastRow non-calculated (bSet) or releases the mark.
    void SetNonCalculated(BOOL bSet, int nFirstRow, int nLastRow);
    // The numbering sheet's result: OK takes the values and switches numbering on; Cancel
    // switches it off only when the sheet says it was switched off.
    void ApplySubjectNumbering(BOOL bOK, BOOL bSwitchedOff, int nKindStyle, int nLargeStyle, int nMiddleStyle,
                               int nSmallStyle, int nNumberingCol, int nNumberingMode);

    // ---- recalculation level ------------------------------------------------------------
    int GetRecalcLevel() const;
    // Carries out a recalculation request as the level allows.
    void RecalcFromRow(int nMode, int nFirstRow);
    // Row formulas of every used row, then the totals from row 0.
    void RecalcAll();

    // ---- Pages --------------------------------------------------------------------------
    // The grid is divided into pages of rows-per-page rows: page p (counted from 0) holds
    // rows p x rows per page .. (p + 1) x rows per page - 1. The dialogs number pages from 1.
    int GetPageRows() const { return m_nRowsPerPage > 0 ? m_nRowsPerPage : 1; }
    // The last page: (row limit - 1) / rows per page.
    int GetLastPage() const;
    // Every page move ends here: page nPage (from 0) scrolls to the top and its top-left
    // visible cell becomes the current cell, as a click 2 pixels inside it makes it.
    void ShowPage(int nPage);
    // The page select command's work with the page number of its dialog (from 1): the
    // number is kept within the pages there are.
    void SelectPage(int nPageNumber);
    // The page insert command's work with the values of its dialog: a page of empty rows
    // before (bBefore) or after the page numbered nPageNumber (from 1). FALSE, and nothing
    // changes, for a number below 1 or beyond row limit / rows per page + 1.
    BOOL InsertPage(int nPageNumber, BOOL bBefore);
    // The page delete dialog's deletion: the rows of the page numbered nPageNumber (from 1)
    // leave the estimate and the later rows move up one page. FALSE when the page holds no
    // used row.
    BOOL DeletePage(int nPageNumber);
    // Page feed: empty rows are inserted so that the current row starts the next page.
    void FeedPage();
    // Page alignment (off while m_nAdjustPage is 0, giving 0). Mode 0: the first heading
    // (kind 1, 2, 3, 7) on the pages after nRow's page, skipping empty rows and passing on
    // to the next page at any other row; -1 when none. Mode 1: nRow starts a page: the
    // empty rows before it on its page are removed (the page start is returned) or, when
    // one is not empty, rows are inserted up to the next page (its start is returned).
    int AdjustPageBreak(int nMode, int nRow);
    // Scrolls a cell into view when it is not, and makes it current as a click does.
    void ClickCell(int nCol, int nRow);
    // The state part of a left-button press at a client point: the clicked cell becomes
    // current (a point beyond the last column or the row limit is ignored).
    void PressAtPoint(int x, int y);
    // Repaints the row headers of the remembered row's previous and present positions and
    // makes the present one the previous one.
    void RefreshMarkRowHeads();
    afx_msg void OnPrevPage();
    afx_msg void OnNextPage();
    afx_msg void OnPageFeed();

    // ---- commands -----------------------------------------------------------------------
    afx_msg void OnSmallTotal();
    afx_msg void OnMiddleTotal();
    afx_msg void OnLargeTotal();
    afx_msg void OnKindTotal();
    afx_msg void OnGrandTotal();
    afx_msg void OnConsumptionTax();
    afx_msg void OnNonCalcSet();
    afx_msg void OnNonCalcRelease();
    afx_msg void OnUpdateNonCalc(CCmdUI* pCmdUI);
    afx_msg void OnRecalculate();
    afx_msg void OnUpdateRecalculate(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMarkRelease(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPageOnly(CCmdUI* pCmdUI);

    // ---- Painting (display) -------------------------------------------------------------
    // Every repaint goes through an off-screen bitmap of the clip box. The cells are painted
    // in the second of two paints (CEstimateShared::s_bPaintPass alternates): the first
    // paints the headers and grid lines and invalidates the cells it covered.
    void OnDraw(CDC* pDC) override;
    // Runs the second paint right after the first, so that the screen never shows the
    // grid without its cells in between.
    afx_msg void OnPaint();
    void DrawVisibleCells(CDC* pDC);
    // One cell completely: background and text in its row kind's colours and font (the
    // selection inverted), its number picture, indent and subject number, the cursor frame.
    void DrawCell(int nRow, int nCol, CDC* pDC);
    // Repaints in a client DC the cells whose selected state differs between two ranges
    // (column, row, column, row each) and the grid lines over them.
    void RedrawSelectionChange(const CRect& rcOld, const CRect& rcNew);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Printing maps 0.01 inch with y up and (0, 0) at the centre of the printable area.
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    BOOL HasPageSeparators() const override { return TRUE; }
    // Recomputes every zoomed size from the row-kind fonts and the zoom, the scroll ranges,
    // and repaints.
    void RecalcLayout();
    // The total row that closes the heading of kind nKind starting at nStartRow; -1 when
    // none (a total row is its own total: start - 1).
    int FindTotalRow(int nStartRow, int nKind) const;
    // Summary-page rows: a cell text and a row kind (rows and objects made as needed).
    void SetSummaryCellText(const char* lpszText, int nRow, int nCol);
    void SetSummaryRowKind(int nKind, int nRow);
    // The summary levels, in the order the summary page shows them.
    enum { summaryKind = 0, summaryLarge = 1, summaryMiddle = 2, summarySmall = 3, SUMMARY_LEVELS = 4 };
    // Appends one level's rows to the summary page (the summary-table builders).
    virtual void BuildSummaryLevel(int nLevel);
    // The colour group a row kind is painted in (the row-kind table of the display).
    enum {
        styleOther = 0, // black on white in the context's font
        styleLarge,
        styleMiddle,
        styleSmall,
        styleDetail,
        styleDiscount,
        styleKind,
        styleFree,
        styleStep,
        styleSum,
        styleClassify,
        styleNonCalc,
        STYLE_COUNT
    };
    static int GetRowStyle(int nKind);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnEditPageTab();
    afx_msg void OnSummaryPageTab();
    afx_msg void OnJumpFirstColumn();
    afx_msg void OnJumpLastColumn();
    afx_msg void OnJumpFirstRow();
    afx_msg void OnJumpLastRow();
    afx_msg void OnCtrlUp();
    afx_msg void OnCtrlDown();
    afx_msg void OnCtrlLeft();
    afx_msg void OnCtrlRight();
    // The wheel scrolls one line per message (a page with Shift), whatever its step.
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    // Small commands beside the display: clearing the items of a selected column, and the
    // range total (added up from a numeric column, shown in the frame's range-total box,
    // and handed to the next cell clicked while armed).
    afx_msg void OnItemClear();
    afx_msg void OnUpdateItemClear(CCmdUI* pCmdUI);
    afx_msg void OnRangeAdd();
    afx_msg void OnUpdateRangeAdd(CCmdUI* pCmdUI);
    afx_msg void OnRangeTotalSet();
    afx_msg void OnUpdateRangeTotalSet(CCmdUI* pCmdUI);
    afx_msg void OnRangeTotalClear();
    // The ordered selection block; in selection mode 0 the current cell.
    CRect GetSelectionBlock() const;
    // The frame's range-total box (control 1007), or null.
    CWnd* FindRangeTotalBox() const;
    double m_dRangeTotal = 0.0;
    int m_nRangeTotalPresent = 0;
    int m_nRangeTotalArmed = 0;  // the next press in the grid takes the total
    CString m_strRangeTotalText; // the total as the box shows it

    CRect m_rcBlock;                                      // the ordered selection block
    int m_nSummaryLevelOn[SUMMARY_LEVELS] = {0, 0, 0, 0}; // set by the summary-table command
    CPoint m_ptSummaryReturn;                             // the cell to return to from the summary page
    struct CDisplayCache;
    struct CDisplayCacheDeleter {
        void operator()(CDisplayCache* p) const;
    };
    std::unique_ptr<CDisplayCache, CDisplayCacheDeleter> m_pDisplayCache; // fonts and colours of painting

    // ---- Subject tree -------------------------------------------------------------------
    // The rows that belong to the heading at nRow on the edit page, the heading included:
    // its details and lower headings down to its total row (or, without one, to where the
    // next heading of its level or above begins). What a subject cut or drag takes along.
    int GetSubjectRowCount(int nRow) const;

    // ---- Cell editing and input ---------------------------------------------------------
    // Typing, double-click and F2 open the in-place editor over the current cell; Enter,
    // the arrows or a click elsewhere commit it (number check, rounding, row formula,
    // totals, undo record), Esc drops it. Row insert, delete and clear; the status-bar
    // panes; the subject and unit picks handed over by the modeless pick dialogs; the
    // subject tree's refresh and row jump; the tool-bar pop-up menus and small commands.
    enum { editClosed = 0, editOpening = 1, editTyping = 2, editOpened = 3 };
    // The hint UpdateTreeView gives the document's other views: the subject tree view
    // rebuilds its tree when it gets it.
    enum : LPARAM { hintRebuildSubjectTree = 0x4D54 };
    // The key the editor hands back (Enter, Up, Down, Esc) goes to OnKeyDown.
    void OnCellEditKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    // Ends an open edit: the text is checked, rounded and stored in the current cell, the
    // row computed and the totals below it recalculated. nMoveAfter 1 then moves the
    // cursor as "Input Setting"/"Direction" says (1 right, 2 down).
    void CommitCellEdit(int nMoveAfter);
    // Opens the editor over the current cell with the cell's text (double-click, F2).
    void OpenCellEditOnCell();
    // Hides the editor (scrolling, page switches and layout changes move the cells).
    void HideCellEdit();
    // The editor's current text as typed.
    CString GetCellEditText() const;
    // The font an edited cell of the row kind shows: the row-kind font of the settings
    // (the face "ＭＳ 明朝" at the detail font's size for an empty row), at the zoom.
    LOGFONT GetCellEditFont(int nKind) const;
    // Row commands: one empty row at the current row, the current row deleted.
    void InsertOneRow();
    void DeleteCurrentRow();
    // The input method of the view: whether a composition is going on, and switching it.
    BOOL HasImeComposition() const;
    void SetImeOpen(BOOL bOpen);
    // Shift+F10 and the context-menu key open the grid's context menu.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Any change of the document repaints the cells.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // The grid's context menu (107) at a screen point.
    void ShowGridContextMenu(CPoint ptScreen);

    // Status bar: the position pane (page, row, column, used rows) and the amount pane;
    // nShow 0 empties both.
    void UpdateStatusText(int nShow);
    // The subject tree of the document is rebuilt; the keyboard focus returns to the grid.
    void UpdateTreeView();
    // The subject tree selected a row: the edit page shows and the row's first cell
    // becomes current as a click there makes it.
    void GoToRow(int nRow);
    // A colour of "Color Setting" ("r,g,b"); black when missing or unreadable.
    COLORREF ReadColorSetting(const char* lpszKey) const;
    // A picked subject (pick levels 1 to 3: a new heading row) or unit (level 4: the
    // current cell).
    void InsertPickedItem(const char* lpszName, const char* lpszUnit);

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnInsertRow();
    afx_msg void OnDeleteRow();
    afx_msg void OnClearRow();
    afx_msg void OnUpdateRowCommand(CCmdUI* pCmdUI);
    afx_msg void OnDirectInput();
    afx_msg void OnUpdateDirectInput(CCmdUI* pCmdUI);
    afx_msg LRESULT OnPickedLargeSubject(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPickedMiddleSubject(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPickedSmallSubject(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPickedUnit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnModelessClosed(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSubjectMenu();
    afx_msg void OnTotalMenu();
    afx_msg void OnRedisplay();
    afx_msg void OnPartsFileSwitch();

    // Helpers of the editing above.
    // Alignment, font and focus of the editor for the current cell; its whole text becomes
    // lpszText.
    void StyleCellEdit(const char* lpszText);
    // TRUE when the current cell lies at least partly in the cell area on the screen.
    BOOL IsCurrentCellInCellArea() const;
    // The editor hidden, the base view's key handling, the old cell repainted, the status.
    void MoveByKey(UINT nChar, UINT nRepCnt, UINT nFlags);
    // A key released and pressed again, as the view receives it from the keyboard.
    void SendKeyUpDown(UINT nChar);
    // Stores the editor's text in the current cell (the commit without the cursor move);
    // bStartFromCell: the cell's text counts as the opening text (a click elsewhere).
    void StoreCellEdit(BOOL bStartFromCell);
    // The armed range total stored in a numeric cell, the row computed from the next column
    // on and the totals from the row.
    void StoreRangeTotal(int nRow, int nCol);
    LRESULT OnPickedSubject(int nLevel, LPARAM lParam);
    // One scroll step of the view through its own scroll message.
    void SendScroll(UINT nMsg, UINT nSBCode);
    void TrackToolBarMenu(UINT nIDMenu);

    CGridCellEdit m_wndCellEdit;
    BOOL m_bCellEditExists = FALSE;
    int m_nEditState = editClosed;
    LONG m_nCellEditCharHeight = 0;         // the editor's default character height (twips)
    std::unique_ptr<CFont> m_pCellEditFont; // the font the editor shows
    // The characters typed since the editor opened by typing, shared by all estimate
    // windows (code page 932 bytes).
    static CString s_strTypedChars;
    BOOL m_bClickMovedCell = FALSE; // the last click made another cell current
    BOOL m_bMovedFromTree = FALSE;  // the last move came from the subject tree
    int m_nDirectInput = 0;         // "直接入力", a check mark only
    // The open modeless pick dialogs (large, middle, small subject; unit), or null.
    CWnd* m_pSubjectPick[3] = {nullptr, nullptr, nullptr};
    CWnd* m_pUnitPick = nullptr;

    // ---- Display fixing and fixed-rate change -------------------------------------------
    // Display fixing: which columns are shown. A tick per column, set where the column is
    // shown now (base width not 0): what the column selection dialog starts with.
    std::vector<BOOL> GetDisplayTicks() const;
    // The dialog's OK: a ticked column gets its remembered width back, an unticked one is
    // hidden (base width 0) and loses its input-fixed mark; the layout follows. Columns
    // beyond the ticks given stay as they are.
    void ApplyDisplayFix(const std::vector<BOOL>& ticks);

    // The fixed-rate change's settings besides its formula: two conditions (column,
    // relation, value) and how they are joined. Relations: 0 less than, 1 less than or
    // equal, 2 equal, 3 not equal, 4 greater than or equal, 5 greater than, any other
    // holds; a condition with an empty value always holds. Conjunction 0 or, 1 and.
    struct CRateCondition {
        int nCol1 = -1;
        int nRelation1 = -1;
        CString strValue1;
        int nCol2 = -1;
        int nRelation2 = -1;
        CString strValue2;
        int nConjunction = 1;
    };
    // TRUE when the edit-page row meets the conditions: the cell of the condition's column
    // is the left operand, compared as numbers in a numeric column, else as texts.
    BOOL MatchRateCondition(int nRow, int nCol1, int nRelation1, const char* lpszValue1, int nCol2,
                            int nRelation2, const char* lpszValue2, int nConjunction) const;
    BOOL MatchRateCondition(int nRow, const CRateCondition& condition) const;
    // The fixed-rate change's OK: in the selection block's last column, every number of a
    // used row that meets the condition gets the formula text appended (such as "*1.2") and
    // is replaced by the result; the column's former texts and the settings go to the undo
    // text store (action 34), the rows and totals are recalculated and the document is
    // marked modified.
    void ApplyFixedRateChange(const char* lpszFormula, const CRateCondition& condition);
    // Empties the undo text store, deleting its entries.
    void ClearUndoTexts();

    // ---- Import and export (CSV, other forms, the outside packages' exports) ----------------
    afx_msg void OnReadOtherForm();
    afx_msg void OnUpdateReadOtherForm(CCmdUI* pCmdUI);
    afx_msg void OnTextOutput();
    afx_msg void OnTextInput();
    afx_msg void ExportM2K();
    afx_msg void ExportM2N();
    // The document's title upper-cased, cut before ".MMD", ".MVL" or ".RXA" (the first found).
    CString GetDefaultFileName() const;
    static CString RemoveLineBreaks(const char* lpszText);
    static CString TrimBlanks(const char* lpszText); // half-width blanks at both ends
    // The first item that, trimmed and upper-cased, equals the name; -1 when none.
    static int FindInfItem(const char* lpszName, const std::vector<CString>& items);
    BOOL IsRowEmpty(int nRow) const; // every cell of the form's columns empty

    DECLARE_MESSAGE_MAP()

public:
    // ---- data ---------------------------------------------------------------------------
    CGridRowArray m_EditRows;    // the estimate's rows
    CGridRowArray m_SummaryRows; // the summary table's rows (kinds + 100)
    CGridRowArray m_UndoRows;    // row copies kept for undo
    CGridRowArray m_UndoTexts;   // text entries kept for undo of the fixed-rate change
    CString m_strInformation[MAX_INFORMATION];
    int m_nInformationCount;
    int m_nNumbering; // 1: subject numbers are shown
    int m_nNumberingCol;
    int m_nKindStyle; // 0 letters, 1 two digits, 2 numbers, 3 none
    int m_nLargeStyle;
    int m_nMiddleStyle;
    int m_nSmallStyle;
    int m_nNumberingMode; // 1: all levels joined; otherwise the deepest level only
    CString m_strCurrentPartFile;
    CString m_strEditStartText; // the text the in-place editor started with
    int m_nPendingLevel;        // heading kind of the next subject pick, -1 none
    int m_nMarkRow;             // the remembered row, -1 none
    int m_nMarkRowPrev;
    int m_nAdjustPage;    // "Settings"/"AdjustPage"
    int m_nDiscountLevel; // level of the discount total being made
    // The undo record: one action each way (-1 none), its position and texts.
    int m_nUndoAction;
    int m_nRedoAction;
    CPoint m_ptUndo;
    int m_nUndoPasteCount;
    CString m_strUndoText;
    CString m_strRedoText;
    // The status bar's texts as last refreshed.
    CString m_strStatusPosition;
    CString m_strStatusAmount;

private:
    // What the estimation form says about one column, taken apart once and reused until
    // the form's texts for the column change.
    struct CColumnInfo {
        unsigned nGeneration = 0;
        bool bValid = false;
        CString strAttribute, strPicture, strFormula, strRounding, strT, strV;
        bool bNumeric = false;        // "数値" or containing "計"
        bool bFormula = false;        // containing "計": computed by the formula
        bool bTotalByFormula = false; // containing "計 C"
        int nTotalMode = 0; // 0 none, 1 leaf rows ("計 A", "数値"), 2 subtotals ("計 B"), 3 "計 C"
        CNumberRules::CRoundSpec spec;
        CNumberRules::CPicture picture;
        bool bMulDiv = false;              // the formula holds "*" or "/"
        std::vector<int> refs;             // columns the formula references, in order
        std::vector<std::string> segments; // the formula between references (refs.size() + 1 segments)
    };

    // Keeps the column information of the whole form trusted while it lives (no per-cell
    // checks against the form); the first scope re-checks every column once.
    class CColumnBatch {
    public:
        explicit CColumnBatch(const CMorvelEMView& view);
        ~CColumnBatch();
        CColumnBatch(const CColumnBatch&) = delete;
        CColumnBatch& operator=(const CColumnBatch&) = delete;

    private:
        const CMorvelEMView& m_view;
    };

    const CColumnInfo& GetColumnInfo(int nCol) const;
    static void BuildColumnInfo(CColumnInfo& info, const CEstimationFormFile& form, int nCol);
    static void ParseFormula(const CString& strFormula, std::vector<int>& refs,
                             std::vector<std::string>& segments);
    int GetColumnLimit() const; // the column count, at most 100
    bool IsValidRow(int nRow) const { return nRow >= 0 && nRow < m_nRowLimit; }
    bool IsValidColumn(int nCol) const { return nCol >= 0 && nCol < GetColumnLimit(); }
    const CGridRowArray& ActiveRows() const { return m_nSummaryPage == 1 ? m_SummaryRows : m_EditRows; }
    // The edit page's row object at nRow, made (growing the array) when missing.
    CGridRow* MakeEditRow(int nRow);
    // The edit page's cell text, without a copy; empty for a missing row or cell.
    const CString& EditCell(int nRow, int nCol) const;
    int EditKind(int nRow) const;
    // The first column whose code column (colT or colV) holds exactly lpszValue, or -1.
    int FindFirstColumn(int nCodeColumn, const char* lpszValue) const;
    // The number a cell of the edit page reads as.
    double CellValue(int nRow, int nCol) const { return CNumberRules::ReadNumber(EditCell(nRow, nCol)); }
    // Stores the normal form of a value rounded by the column's rules (as SetCellText with
    // force does for a number text).
    void StoreNumber(int nRow, int nCol, const CDecimal& value);
    // Steps of SetCellText after the text is final: the row object (and used rows) made as
    // needed, the text stored.
    BOOL StoreCell(int nRow, int nCol, CString&& strText);
    CString StoredNumberText(int nCol, CDecimal value, bool bRoundBySpec) const;
    bool CellMatchesTarget(int nRow, int nTargetCol, const char* lpszTarget) const;
    // The first row of a step or classification range, or -1 for an unknown range code.
    int FindRangeStart(int nRow, int nRangeCode) const;
    // The indent of the name cell of the nearest row of a kind, looking down first.
    int FindNameIndent(int nRow, int nKind, int nNameCol) const;
    int GetCellIndentOfEditRow(int nRow, int nCol) const;
    // A new row for a special row at the current row: the used rows grow to it when it
    // lies below them, otherwise an empty row is inserted there.
    void PlaceNewRow();
    // An empty row inserted at nRow as the row-insert command inserts it: a heading that
    // starts a later page is kept at the start of its page.
    void InsertRowAligned(int nRow);
    void MoveCurrentRowDown();
    void UpdateScrollRanges();
    void SetDocumentModified();
    void RecordUndo(int nAction, CPoint ptPosition);
    void ClearUndoRows();
    void StoreTaxRow(int nRow, int nAmountCol, int nSecondCol, const CString& strTax, int nRate);
    void RecalcPasses(int nFromRow, int& nTaxRow);
    bool GetNonCalcRange(int& nFirstRow, int& nLastRow) const;

    mutable std::vector<CColumnInfo> m_columnInfo;
    mutable int m_nColumnBatchDepth = 0;
    mutable unsigned m_nColumnGeneration = 1;
    std::string m_strExpression; // the formula being evaluated, reused across rows
};

// Splits a value (0 or more) into integer part and fraction (see CNumberRules).
inline double SplitFraction(double value, double& integerPart)
{
    return CNumberRules::SplitFraction(value, integerPart);
}
