// CMorvelEMView: the estimate grid. It shows its document's model (CEstimateModel: the
// estimate's rows in two pages, the edit page and the summary page, the information
// sheet's values, the subject-numbering settings and the undo record), which computes in
// its engine (CEstimateEngine: the cell store, row formulas, totals, special rows, the
// recalculation and the kept totals). Callers that only want the model or the engine use
// them (GetModel(), GetModel().Engine()); the view adds the page shown, the commands and
// the window.
//
// Every row, cell, number and total operation works on the model, so a view that is
// attached to its document but has no window yet (or never gets one) does all of it;
// repainting is skipped while there is no window.
#pragma once

#include "engine/estimate/CCellSearch.h"
#include "engine/estimate/CCompensatedSum.h"
#include "engine/estimate/CEstimateEngine.h"
#include "engine/estimate/CEstimateModel.h"
#include "engine/estimate/CFixedRateChange.h"
#include "engine/estimate/CGridRow.h"
#include "engine/estimate/CGridRowArray.h"
#include "engine/estimate/CHeadingSearch.h"
#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/CRangeSum.h"
#include "engine/estimate/CSubjectNumbers.h"
#include "engine/estimate/CSummaryTable.h"
#include "engine/estimate/CUndoStore.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CPopupListCtrl.h"
#include "grid/CGridCellEdit.h"
#include "grid/CMorvelView.h"
#include "grid/IGridCellEditOwner.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/base/Types.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <array>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CCmdUI;
class CEstimateCopyBuffers;
class CEstimationFormFile;
class CGridRow;
class CMorvelEMDoc;
class CPrintRowSource;
class CStringArray;
class CUnnecessaryRows;

class CMorvelEMView : public CMorvelView, public IGridCellEditOwner {
    DECLARE_DYNCREATE(CMorvelEMView)
public:
    CMorvelEMView();
    ~CMorvelEMView() override;

    enum { MAX_INFORMATION = CEstimateModel::MAX_INFORMATION, DEFAULT_ROW_LIMIT = 1100, HEADER_HEIGHT = 24 };
    // "Input Setting"/"Estimation Maxmum Rows", DEFAULT_ROW_LIMIT when missing: the row
    // limit every estimate takes, and what the input page shows.
    static int ReadRowLimitSetting();
    // The width of the row headers' numbers for a rows-per-page value: one 9-pixel place
    // per digit and one more, at most 50.
    static int RowHeaderWidthFor(int nRowsPerPage);

    // Total levels (MakeTotalRow, the total commands; RowKinds.h): CMorvelEMView::levelGrand.
    using enum ETotalLevel;

    // What the next subject or unit pick, or the pop-up list's choice, is for: a heading of
    // a level (numbered as its heading kind), the unit, parts rows or rows of another list.
    // A purpose of its own, so that neither a row kind nor a number stands for it unnoticed.
    enum class EPickPurpose : int {
        pickNone = -1,
        pickLarge = kindLarge,
        pickMiddle = kindMiddle,
        pickSmall = kindSmall,
        pickUnit = 4,
        pickParts = 5,
        pickOtherList = 8
    };
    using enum EPickPurpose;
    // The pick of a subject heading kind (large, middle or small; pickNone for any other
    // kind), and the heading kind a subject pick makes (kindEmpty for any other pick).
    static constexpr EPickPurpose PickOfHeading(ERowKind nKind)
    {
        return nKind == kindLarge || nKind == kindMiddle || nKind == kindSmall
                   ? static_cast<EPickPurpose>(nKind)
                   : pickNone;
    }
    static constexpr ERowKind HeadingOfPick(EPickPurpose ePurpose)
    {
        return ePurpose == pickLarge || ePurpose == pickMiddle || ePurpose == pickSmall
                   ? KindFromNumber(static_cast<int>(ePurpose))
                   : kindEmpty;
    }

    // Recalculation request modes: bulk changes, and the save and print paths.
    enum { recalcBulk = 2, recalcSaveOrPrint = 3 };

    CMorvelEMDoc* GetDocument() const;
    // The document's estimation form (an empty form while there is no document).
    const CEstimationFormFile& GetEstimationForm() const;

    // ---- the estimate's data --------------------------------------------------------------
    // The model the view shows (its document's, given when the view joins the document).
    void AttachModel(CEstimateModel& model) { m_pModel = &model; }
    CEstimateModel& GetModel() { return *m_pModel; }
    const CEstimateModel& GetModel() const { return *m_pModel; }
    // The counts of the grid are the model's, one for every window on the estimate.
    int GetUsedRows() const final { return m_pModel->GetUsedRows(); }
    int GetRowLimit() const final { return m_pModel->GetRowLimit(); }
    int GetColumnCount() const final { return m_pModel->GetColumnCount(); }
    void SetRowLimit(int nRowLimit) final { m_pModel->SetRowLimit(nRowLimit); }
    // The model's used rows changed under the view (an edit in another window on the
    // estimate grew them): the scroll ranges follow.
    void UsedRowsChanged() { UpdateScrollRanges(); }
    // Rows were put in or taken out of the model from nFromRow on: a selection drag ends
    // (the rows under it moved), the grid's height and scroll ranges follow.
    void RowsMoved(int nFromRow);
    // The remembered row went from nOld to nNew (-1: none): both row headers are repainted.
    void MarkRowMoved(int nOld, int nNew);
    // The grid's zoom; the estimate's first window's is the estimate's, which its file keeps.
    void SetZoom(int nPercent);

    // ---- set-up -------------------------------------------------------------------------
    // The part of the initial update that needs no window: the model set up from the
    // document (CMorvelEMDoc::SetupModel), the model's zoom taken, then the view's own part
    // (SetupView).
    void SetupFromDocument();
    // The view's part alone, for a further window on an estimate already set up: widths
    // and titles from the estimation form, header and row heights, the current parts file
    // and the page adjustment flag.
    void SetupView();
    void OnInitialUpdate() override;

    // ---- rows and cells -----------------------------------------------------------------
    // Getters serve the summary page while it is shown (the active page); setters and the
    // parameter getters always work on the edit page. A row is valid from 0 to the row
    // limit - 1, a column from 0 to the column count - 1; invalid indexes read as empty.
    CString GetCellText(int nRow, int nCol) const;
    // Stores a cell of the edit page; a number text in a numeric column is rounded by the
    // column's rounding rule (not in a free row, kind 8) and by its picture's
    // decimals and kept in normal form. With bForce 0, an empty text into a cell whose edit
    // started empty stores nothing. Returns 1 when stored.
    bool SetCellText(const char* lpszText, int nRow, int nCol, bool bForce);
    ERowKind GetRowKind(int nRow) const;
    // A number read from a file, the drag data or a reader becomes a kind where it is read
    // (KindFromNumber); a level or a bare number is refused here.
    void SetRowKind(ERowKind nKind, int nRow);
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
    // The same for nCount rows at once (one move of the rows below them).
    void InsertRows(int nRow, int nCount);
    void DeleteRows(int nRow, int nCount);
    // The edit page's text in the amount column (the first column whose "V" code is "2").
    CString GetAmountText(int nRow) const;
    // The column roles the estimate looks up by their "T" code: the name column (code "6",
    // or "2"), the unit column (code "1") and the column a classification row takes its
    // name from (code "5", or "2"); 0 when the form has none.
    int FindNameColumn() const { return Engine().Columns().Find("6", "T"); }
    int FindUnitColumn() const { return Engine().Columns().Find("1", "T"); }
    int FindClassifyNameColumn() const { return Engine().Columns().Find("5", "T"); }
    void CopyRow(const CGridRow* pSource, CGridRow* pTarget) const;
    // Appends empty row objects to the edit page (the file reader fills them).
    void AllocateRows(int nCount);
    // The edit page's row object, or null, for reading: a row is written through the model's
    // operations, never through this.
    const CGridRow* GetEditRow(int nRow) const;

    // Information values: the amounts the information sheet offers (with tax, tax, without
    // tax) and the values it gives back.
    void GetInformationAmounts(CString& strTotal, CString& strTax, CString& strNet);
    void ApplyInformationValues(const CStringArray& values);
    // Values a read takes over (index, value), one undo step with the rows it read just
    // before when bWithRows (CEstimateModel::TakeOverInformation). TRUE when one changed.
    BOOL TakeOverInformation(const std::vector<std::pair<int, CString>>& values, bool bWithRows);

    // ---- totals -------------------------------------------------------------------------
    // Refreshes step rows, classification rows, totals and the tax row from nFromRow (-1:
    // 0) down to the last used row.
    void RecalcTotals(int nFromRow);
    // The totals after a cell of nRow was typed: RecalcTotals(nRow), or, at the default
    // level inside a user command, left to the end of the command, whose recalculation from
    // the first row takes it in (one recalculation and one refill of the tree per Enter).
    void RecalcTotalsAfterEdit(int nRow);
    // Whether a tax row's second tax column takes the tax of its own column (the setting
    // "縦合計").
    static bool IsTaxVerticalTotal();
    // The total commands' work: an empty row at the current row made the total of the
    // level; the current row moves down.
    void InsertTotal(ETotalLevel nLevel);

    // ---- special rows -------------------------------------------------------------------
    // The subject number of a heading from the counts of the kind, large, middle and small
    // headings (counts, not row kinds), in the model's numbering styles.
    void FormatSubjectNo(int nMode, CString& strText, int nKindCount, int nLargeCount, int nMiddleCount,
                         int nSmallCount) const;
    // The subject number shown in front of a heading's text in the numbering column.
    CString GetSubjectNoText(int nRow, int nCol) const;
    // Repaints the numbering column from the first row in view down: a number counts the
    // headings above its row, so a heading come or gone changes the numbers below it.
    void RepaintSubjectNumbers();

    // The special-row commands' work, with the values their dialogs collect.
    void InsertKindHeading(const char* lpszName, const char* lpszUnit);
    void InsertDiscount(const char* lpszAmount);
    void ApplyStepSetting(bool bRelease, const char* lpszTarget, int nTargetCol, EStepRange eRange);
    // On a classification row: bRelease makes it a detail row again, bAddNewRow inserts a
    // new row for the classification first; on any other row a new row is inserted.
    void ApplyClassifySetting(const char* lpszName, const char* lpszRate, const char* lpszTarget,
                              int nTargetCol, int nColumnMode, EStepRange eRange, bool bRelease,
                              bool bAddNewRow);
    void InsertDiscountTotal(ETotalLevel nDiscountLevel);
    void InsertConsumptionTax();
    // Marks rows nFirstRow..nLastRow non-calculated (bSet) or releases the mark.
    void SetNonCalculated(bool bSet, int nFirstRow, int nLastRow);
    // The numbering sheet's result: OK takes the values and switches numbering on; Cancel
    // switches it off only when the sheet says it was switched off.
    void ApplySubjectNumbering(bool bOK, bool bSwitchedOff, int nKindStyle, int nLargeStyle, int nMiddleStyle,
                               int nSmallStyle, int nNumberingCol, int nNumberingMode);

    // ---- recalculation level ------------------------------------------------------------
    int GetRecalcLevel() const;
    // Before the formulas of every row from nFromRow on are worked out: where the level
    // leaves figures as they stand, the rows are kept for the undo of the last command
    // (CEstimateModel::KeepFiguresForUndo).
    void KeepFiguresForUndo(int nFromRow);
    // Carries out a recalculation request as the level allows.
    void RecalcFromRow(int nMode, int nFirstRow);
    // Row formulas of every used row, then the totals from row 0.
    void RecalcAll();
    // At recalculation level 3, after a user command: every figure (row formulas, totals,
    // tax rows wherever they stand, the tree's and the status bar's sums) as a full
    // recalculation of the rows makes it, cheaply through the kept sums where the command
    // changed the rows only through the engine. Levels 1 and 2 leave the work to F7.
    void RecalcAfterCommand();
    // The texts of the edit page's rows on the screen (each row's kind, then its cells), and
    // the rows among them that differ from what they were repainted.
    std::vector<CString> ShownTexts() const;
    void RepaintChangedShownRows(const std::vector<CString>& before);
    // One user command on the estimate (a message the grid handles, a command routed to it,
    // a drag in the subject tree): when the outermost one ends, RecalcAfterCommand runs.
    // A command may close the window and with it the view (File Close): the scope then
    // does nothing.
    // What a command may change of the rows every window shows: the edit page's changes,
    // the used rows and the summary page's length.
    struct CRowsState {
        unsigned long long nChanges = 0;
        unsigned long long nKindChanges = 0;
        int nUsedRows = 0;
        INT_PTR nSummaryRows = 0;
        bool operator==(const CRowsState&) const = default;
    };
    class CCommandScope {
    public:
        explicit CCommandScope(CMorvelEMView& view)
            : m_view(view), m_pViewLife(view.m_pLife),
              m_before(view.m_nCommandDepth == 0 ? view.RowsState() : CRowsState{}),
              m_ptCell(view.GetCurrentCol(), view.GetCurrentRow())
        {
            ++m_view.m_nCommandDepth;
        }
        ~CCommandScope()
        {
            if (!m_pViewLife.expired() && --m_view.m_nCommandDepth == 0)
                m_view.EndCommand(m_before, m_ptCell);
        }
        CCommandScope(const CCommandScope&) = delete;
        CCommandScope& operator=(const CCommandScope&) = delete;

    private:
        CMorvelEMView& m_view;
        std::weak_ptr<int> m_pViewLife;
        CRowsState m_before;
        CPoint m_ptCell; // the current cell when the command began
    };
    // The rows command of a subject dragged out of the tree or dropped on it, which spans the
    // drag's calls and windows: the model's (CEstimateModel::BeginRowsCommand) while one
    // lives; a scope inside another (a drop inside the drag it ends) joins it. When the
    // outermost ends, the model records its command and this window keeps the record.
    class CRowsCommandScope {
    public:
        CRowsCommandScope(CMorvelEMView& view, CUndoCommand::EAction eAction);
        ~CRowsCommandScope();
        CRowsCommandScope(const CRowsCommandScope&) = delete;
        CRowsCommandScope& operator=(const CRowsCommandScope&) = delete;

    private:
        CMorvelEMView& m_view;
        std::weak_ptr<int> m_pViewLife;
    };
    // The end of the outermost command: its figures brought up to date, the other windows
    // on the estimate repainted when its rows changed, and the current cell, when the
    // command moved it, shown.
    void EndCommand(const CRowsState& before, CPoint ptCellBefore);
    // The current cell scrolled into the grid area when it is not wholly there.
    void ShowCurrentCell() { ScrollCellIntoView(GetCurrentRow(), GetCurrentCol()); }
    // Before the estimate leaves the program (a print, a preview, a PDF, a save), in this
    // order: the rows recalculated as the level allows a save or print request, then, for
    // paper, the information amounts taken from them. The one way there, so that the paper,
    // the preview and the file show the same figures. A file keeps the information values
    // as they stand (the information sheet works its amounts out when it opens), so that
    // an estimate saved unchanged is the same bytes.
    enum EOutput { outputPaper, outputFile };
    void WorkOutFiguresForOutput(EOutput eOutput);

    // ---- Pages --------------------------------------------------------------------------
    // The grid is divided into pages of rows-per-page rows: page p (counted from 0) holds
    // rows p x rows per page .. (p + 1) x rows per page - 1. The dialogs number pages from 1.
    int GetRowsPerPage() const { return m_nRowsPerPage; }
    int GetPageRows() const { return GetRowsPerPage() > 0 ? GetRowsPerPage() : 1; }
    // The summary page is shown (the row getters serve it).
    bool IsSummaryPageShown() const { return m_bSummaryPageShown; }
    // Which page the row getters serve; the page is not rebuilt, laid out or repainted
    // (the page tabs do that).
    void SetSummaryPageShown(bool bShown) { m_bSummaryPageShown = bShown; }
    // The last page: (row limit - 1) / rows per page.
    int GetLastPage() const;
    // Every page move ends here: page nPage (from 0) scrolls to the top and its top-left
    // visible cell becomes the current cell, as a click 2 pixels inside it makes it.
    void ShowPage(int nPage);
    // The page select command's work with the page number of its dialog (from 1): the
    // number is kept within the pages there are.
    void SelectPage(int nPageNumber);
    // The page insert command's work with the values of its dialog: a page of empty rows
    // before (bBefore) or after the page numbered nPageNumber (from 1). false, and nothing
    // changes, for a number below 1 or beyond row limit / rows per page + 1.
    bool InsertPage(int nPageNumber, bool bBefore);
    // The page delete dialog's deletion: the rows of the page numbered nPageNumber (from 1)
    // leave the estimate and the later rows move up one page. false when the page holds no
    // used row.
    bool DeletePage(int nPageNumber);
    // Page feed: empty rows are inserted so that the current row starts the next page.
    void FeedPage();
    // Page alignment (off while m_nAdjustPage is 0, giving 0). findHeading: the first
    // heading (kind 1, 2, 3, 7) on the pages after nRow's page, skipping empty rows and
    // passing on to the next page at any other row; -1 when none. alignRow: nRow starts a
    // page: the empty rows before it on its page are removed (the page start is returned)
    // or, when one is not empty, rows are inserted up to the next page (its start is
    // returned).
    enum class EPageBreak { findHeading, alignRow };
    int AdjustPageBreak(EPageBreak eMode, int nRow);
    // Rows read from a file put in at nRow as one command (CEstimateModel::InsertRowsRead,
    // with this window's page alignment); how many went in.
    int InsertRowsRead(int nRow, const CEstimateModel::CRowsRead& read);
    // Scrolls a cell into view when it is not, and makes it current as a click does.
    void ClickCell(int nCol, int nRow);
    // The state part of a left-button press at a client point: the clicked cell becomes
    // current (a point beyond the last column or the row limit is ignored).
    void PressAtPoint(int x, int y);
    afx_msg void OnPrevPage();
    afx_msg void OnNextPage();
    afx_msg void OnPageFeed();
    afx_msg void OnPageSelect();
    afx_msg void OnPageInsert();
    afx_msg void OnPageDelete();
    // The row and sheet commands that ask in a dialog first (CMorvelEMViewCommands.cpp),
    // and the indent tool's request (CMorvelEMViewIndent.cpp).
    afx_msg void OnInformationInput();
    afx_msg void OnKindInput();
    afx_msg void OnDiscountInput();
    afx_msg void OnStepSetting();
    afx_msg void OnDiscountTotal();
    afx_msg void OnClassifyTotal();
    afx_msg void OnSubjectNumbering();
    afx_msg void OnSummaryTable();
    afx_msg void OnDisplayFix();
    afx_msg void OnInputFix();
    afx_msg void OnPickLargeSubject();
    afx_msg void OnPickMiddleSubject();
    afx_msg void OnPickSmallSubject();
    afx_msg void OnUnit();
    afx_msg void OnUpdateUnit(CCmdUI* pCmdUI);
    afx_msg void OnUpdatePickSubject(CCmdUI* pCmdUI);
    afx_msg void OnIndent();
    afx_msg LRESULT OnIndentCommand(WPARAM wParam, LPARAM lParam);

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
    // in the second of two paints: the first paints the headers and grid lines and
    // invalidates the cells it covered.
    void OnDraw(CDC* pDC) override;
    // Whether the next paint of an estimate grid is the second of a pair (the cells). One
    // alternation serves every estimate grid: the paints of one round of repainting take
    // their turns whichever grid they are for. Setting it lets a measurement time the
    // second paint alone.
    static bool IsCellPaintNext() { return s_bCellPaintNext; }
    static void SetCellPaintNext(bool bCells) { s_bCellPaintNext = bCells; }
    // Runs the second paint right after the first, so that the screen never shows the
    // grid without its cells in between.
    afx_msg void OnPaint();
    void DrawVisibleCells(CDC* pDC);
    // One cell completely: background and text in its row kind's colours and font (the
    // selection inverted), its number picture, indent and subject number, the cursor frame.
    void DrawCell(int nRow, int nCol, CDC* pDC);
    // What a cell of the page shown draws as its text, without subject number and indent: a
    // number in a numeric column by the column's number picture, any other text as stored.
    CString GetShownText(int nRow, int nCol) const;
    // Repaints in a client DC the cells whose selected state differs between two ranges
    // (column, row, column, row each) and the grid lines over them.
    void RedrawSelectionChange(const CRect& rcOld, const CRect& rcNew) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Printing maps 0.01 inch with y up and (0, 0) at the centre of the printable area.
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
    int GetPageSeparatorRows() const override { return GetPageRows(); }
    // A row's place within its page, counted from 1.
    int GetRowHeaderNumber(int nRow) const override { return nRow % GetPageRows() + 1; }
    // Summary and non-calculated rows, and the remembered row of the edit page.
    bool HasRowHeaderMark(int nRow) const override;
    // The width left for a mark beside the widest row number of a page.
    int RowHeaderMarkRoom(CDC* pDC);
    enum {
        ROW_MARK_LEFT = 2, // the marks' left edge in the row header
        ROW_MARK_ROOM = 14 // what the row header has beyond its number: a 10-point mark
    };
    // Printing through the chosen print layouts (CMorvelEMViewPrinting.cpp): the steps go to
    // the print road registered in CShellServices.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    afx_msg void OnEstimatePrint();
    afx_msg void OnEstimatePrintPreview();
    // Print and preview are enabled while the estimate has a chosen print layout.
    afx_msg void OnUpdateEstimatePrint(CCmdUI* pCmdUI);
    // The rows a print counts: the summary page's while it is shown, else the rows in use.
    int GetPrintRowCount() const;
    // The rows a print job reads, for the job to hold (CPrintRowSource): the summary page
    // while it is shown, else the edit page. With "Print Setting"/"NonPrint ZeroSuryo
    // Mitumori" "1" the job reads a copy of its own, without the detail rows with a unit
    // (every detail row with "Unnecessary Row"/"ManualEditSaimoku" "1") whose quantity and
    // amount are both zero; the estimate, its used rows and every window on it stay as they
    // are, and nothing is recorded for undo.
    std::unique_ptr<CPrintRowSource> CopyRowsForPrint() const;
    // Before printing: the information items whose attribute is "税込見積", "消費税" or
    // "税抜見積" take the estimate's total, tax and net amount, then each "計算" item its
    // formula's value, by the information sheet's own rules (engine/InformationValues.h: letters
    // name items, "A" item 0, "AA" item 26; a letter naming no item reads as 0). The
    // document is not marked modified.
    void ComputeInformationAmounts();
    // Choosing the print layouts ("印刷形式選択"): the file dialog under a wait dialog that
    // it takes down once its lists are filled; OK replaces the document's list.
    afx_msg void OnPrintFormSelect();
    afx_msg void OnUpdatePrintFormSelect(CCmdUI* pCmdUI);
    // The application's printer set-up, then every view of the document is updated.
    afx_msg void OnFilePrintSetup();
    // Whether the wait dialog of the layouts' choice is up.
    bool IsPrintFormWaitShown() const { return m_pPrintFormWait != nullptr; }
    // Recomputes every zoomed size from the row-kind fonts and the zoom, the scroll ranges,
    // and repaints.
    void RecalcLayout();
    // The summary levels' switches (m_nSummaryLevelOn), in the order the summary page shows
    // the levels.
    enum {
        summaryKind = SummaryLevelIndex(ESummaryLevel::kinds),
        summaryLarge = SummaryLevelIndex(ESummaryLevel::largeSubjects),
        summaryMiddle = SummaryLevelIndex(ESummaryLevel::middleSubjects),
        summarySmall = SummaryLevelIndex(ESummaryLevel::smallSubjects),
        SUMMARY_LEVELS = std::size(SUMMARY_LEVELS_IN_ORDER)
    };
    // Appends one level's rows to the summary page (the summary-table builders,
    // CMorvelEMViewSummary.cpp).
    virtual void BuildSummaryLevel(ESummaryLevel eLevel);
    // Appends the summary row made from edit row nRow: its kind + 100, headings with their
    // subject numbers and, with bAmounts, the amounts of the heading's total row (or its
    // group sums) and a quantity of 1. Built for the level whose headings are of kind
    // nHeadingKind, the lines add up to the totals the level shows: a heading of the level
    // carries its amounts less the level's discount totals in its block (lines of their
    // own), and a heading above the level (an opening row) its rows under no heading of the
    // level.
    void AddRowToSummary(int nRow, bool bAmounts, ERowKind nHeadingKind = kindEmpty);
    // The summary command's work after its dialog: the chosen levels stored, the summary
    // page built and shown or, with bInternal, also written at the top of the edit page
    // (replacing one written before).
    void MakeSummaryTable(const int levels[SUMMARY_LEVELS], bool bInternal);
    // The summary command's work when its dialog is cancelled: the edit page's tab is
    // selected and the edit page shown with the in-place editor hidden.
    void CancelSummaryTable();
    bool IsSummaryLevelOn(int nLevel) const
    {
        return nLevel >= 0 && nLevel < SUMMARY_LEVELS && m_nSummaryLevelOn[nLevel] != 0;
    }
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
    static int GetRowStyle(ERowKind nKind);
    // What painting keeps between paints (defined beside the painting).
    struct CDisplayCache;
    struct CDisplayCacheDeleter {
        void operator()(CDisplayCache* p) const;
    };

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
    // ---- Subject tree -------------------------------------------------------------------
    // The rows that belong to the heading at nRow on the edit page, the heading included:
    // its details and lower headings down to its total row (or, without one, to where the
    // next heading of its level or above begins). What a subject cut or drag takes along.
    int GetSubjectRowCount(int nRow) const;
    // The subject headings of the edit page (kind, large, middle and small) in row order,
    // at most nLimit of them, each with the row of its total: the first row of its total
    // kind below it, before the next heading of its own kind (-1 when there is none), its
    // name (the name column's text) and the total's amount (the amount column's text, empty
    // without a total). One look at the kinds of all rows, fetched ahead; the texts are
    // the rows' own, valid until the rows change.
    using CHeadingRow = CHeadingSearch::CHeadingRow;
    void FindHeadingRows(std::vector<CHeadingRow>& headings, size_t nLimit) const;
    // How many times FindHeadingRows looked at the kinds of all rows: what the headings
    // cost a command grows with the estimate by these looks.
    unsigned long long GetHeadingSearchCount() const { return m_nHeadingSearches; }

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
    // Every message the grid handles and every command routed to it is a user command
    // (CCommandScope): its figures are brought up to date when it ends.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
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
    LOGFONT GetCellEditFont(ERowKind nKind) const;
    LOGFONT GetCurrentCellEditFont() const override { return GetCellEditFont(GetRowKind(GetCurrentRow())); }
    // Row commands: one empty row at the current row, the current row deleted.
    void InsertOneRow();
    void DeleteCurrentRow();
    // Switches the input method of the view (closing it drops a composition).
    void SetImeOpen(bool bOpen);
    // Shift+F10 and the context-menu key open the grid's context menu.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Any change of the document repaints the cells.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // The status panes follow the active view: a grid that becomes active shows its own
    // page, row and amount at once.
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    // The grid's context menu (107) at a screen point.
    void ShowGridContextMenu(CPoint ptScreen);

    // Status bar: the position pane (page, row, column, used rows) and the amount pane;
    // nShow statusShow or statusHide (empties both).
    void UpdateStatusText(int nShow);
    // The subject tree of the document is rebuilt; the keyboard focus returns to the grid.
    void UpdateTreeView();
    // The subject tree selected a row: the edit page shows and the row's first cell
    // becomes current as a click there makes it.
    void GoToRow(int nRow);
    // A colour of "Color Setting" ("r,g,b"); black when missing or unreadable.
    COLORREF ReadColorSetting(const char* lpszKey) const;
    // A picked subject (a new heading row) or unit (the current cell), as the pending pick
    // says.
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
    // Row and cell clipboard through the application's copy buffers (shared by every
    // estimate window of the process); with the keyboard in a child editor the commands
    // go to that editor as clipboard messages.
    // Zoom: the fixed steps, the main frame's zoom box kept in step with the focused grid.
    afx_msg void OnZoom25();
    afx_msg void OnZoom50();
    afx_msg void OnZoom75();
    afx_msg void OnZoom100();
    afx_msg void OnZoom150();
    afx_msg void OnZoom200();
    afx_msg void OnUpdateZoom(CCmdUI* pCmdUI);
    afx_msg void OnZoomBoxChange();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDestroy();
    void SetFixedZoom(int nPercent);
    afx_msg void OnEditCopy();
    afx_msg void OnEditCut();
    afx_msg void OnEditPaste();
    afx_msg void OnUpdateEditCutCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);

public:
    // Fills the cell copy buffer from the selection block.
    void CopyCellsToBuffer();
    // Copies the block, then empties its cells.
    void CutCellsToBuffer();
    // Writes the cell copy buffer (bFromUndo false) or the undo cell buffer into the grid.
    void PasteCellsFromBuffer(int nFromUndo);

private:
    // The copy mode the selection gives (1 rows, 3 cells); mode 0 selects the current cell.
    int TakeCopyMode(bool bPaste);
    // What the last copy, cut or paste of any estimate grid took from its selection (1 rows,
    // 3 cells; 0 until then and again whenever an estimate grid is made): the copy buffers
    // it goes with are the application's, shared by every estimate window.
    static int s_nCopyMode;
    // The application's copy buffers (null without the application).
    static CEstimateCopyBuffers* CopyBuffers();
    // Rows mode copy: cells of the whole rows, then the rows themselves.
    void CopyRowsToBuffer();
    void CutRowsToBuffer();
    void PasteRowsFromBuffer();
    // The selected rows' selection made to cover every column, as a copy of rows takes them.
    void SelectWholeColumnsOfSelection();
    // The row nRow brought into view when it is not, three rows below the top, as the cut
    // of rows shows where they went.
    void ShowCutPlace(int nRow);
    // Where a cell paste goes, from the selection: no block selected (or a block of one
    // cell), the current cell; else the block, the whole rows or the whole column.
    CEstimateModel::CCellPasteTarget CellPasteTarget() const;
    // What every paste that wrote ends with: the rows written repainted, the totals from
    // the first of them, the subject tree and the modified mark (the model recorded the
    // undo). Nothing for a paste that wrote nothing.
    void FinishCellPaste(const CEstimateModel::CWrittenRows& written);

public:
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
    afx_msg void OnEnvironment();

    // Helpers of the editing above.
    // Alignment, font and focus of the editor for the current cell; its whole text becomes
    // lpszText.
    void StyleCellEdit(const char* lpszText);
    // true when the current cell lies at least partly in the cell area on the screen.
    bool IsCurrentCellInCellArea() const;
    // The editor moved over the current cell and shown.
    void PlaceCellEditOverCurrentCell();
    // An edit still open whose editor lost the keyboard (a scroll hid it): the cell comes
    // into view and the editor shows again over it with its text, the keyboard in it.
    // false when no edit is open.
    bool ResumeOpenEdit();
    // The editor hidden, the base view's key handling, the old cell repainted, the status.
    void MoveByKey(UINT nChar, UINT nRepCnt, UINT nFlags);
    // A key released and pressed again, as the view receives it from the keyboard.
    // Stores the editor's text in the current cell (the commit without the cursor move);
    // bStartFromCell: the cell's text counts as the opening text (a click elsewhere).
    // bTotalsAtCommandEnd: the totals may wait for the end of the command (an Enter or an
    // arrow key, which only moves the cursor after it; a dialog a command opens reads them
    // at once).
    void StoreCellEdit(bool bStartFromCell, bool bTotalsAtCommandEnd = false);
    // An edit still open is stored in its cell and closed, as a click elsewhere keeps it,
    // before the current cell moves or a dialog acts on the grid: text left in the hidden
    // editor would otherwise be stored later into whatever cell is current then.
    void StoreOpenEdit();
    // StoreOpenEdit with the editor hidden: a composition committed into the cell.
    void StoreTypedEdit() override;
    // The armed range total stored in a numeric cell, the row computed from the next column
    // on and the totals from the row.
    void StoreRangeTotal(int nRow, int nCol);
    LRESULT OnPickedSubject(EPickPurpose ePurpose, LPARAM lParam);
    void TrackToolBarMenu(UINT nIDMenu);

    // ---- Display fixing and fixed-rate change -------------------------------------------
    // Display fixing: which columns are shown. A tick per column, set where the column is
    // shown now (base width not 0): what the column selection dialog starts with.
    std::vector<bool> GetDisplayTicks() const;
    // The dialog's OK: a ticked column gets its remembered width back, an unticked one is
    // hidden (base width 0) and loses its input-fixed mark; the layout follows. Columns
    // beyond the ticks given stay as they are.
    void ApplyDisplayFix(const std::vector<bool>& ticks);

    // The fixed-rate change's settings besides its formula (CFixedRateChange).
    using CRateCondition = CFixedRateChange::CCondition;
    // true when the edit-page row meets the conditions: the cell of the condition's column
    // is the left operand, compared as numbers in a numeric column, else as texts.
    bool MatchRateCondition(int nRow, int nCol1, int nRelation1, const char* lpszValue1, int nCol2,
                            int nRelation2, const char* lpszValue2, int nConjunction) const;
    bool MatchRateCondition(int nRow, const CRateCondition& condition) const;
    // The fixed-rate change's OK: in the selection block's last column, every number of a
    // used row that meets the condition gets the formula text appended (such as "*1.2") and
    // is replaced by the result; the column's former texts and the settings go to its undo
    // command (CFixedRateCommand, action 34), the rows and totals are recalculated and the
    // document is marked modified.
    void ApplyFixedRateChange(const char* lpszFormula, const CRateCondition& condition);

    // ---- Import and export (CSV, other forms, the outside packages' exports) ----------------
    afx_msg void OnReadOtherForm();
    afx_msg void OnUpdateReadOtherForm(CCmdUI* pCmdUI);
    afx_msg void OnTextOutput();
    afx_msg void OnTextInput();
    afx_msg void ExportM2K();
    afx_msg void ExportM2N();
    // The document's title upper-cased, cut before ".MMD", ".MVL" or ".RXA" (the first found).
    CString GetDefaultFileName() const;
    // The first item that, trimmed and upper-cased, equals the name; -1 when none.
    static int FindInfItem(const char* lpszName, const std::vector<CString>& items);
    bool IsRowEmpty(int nRow) const; // every cell of the form's columns empty (edit page)

    // ---- Queries of the view's state ----------------------------------------------------
    // The rows of the edit page and of the summary page (kinds + 100), as the row getters
    // see them.
    const CGridRowArray& GetEditRows() const { return EditRows(); }
    const CGridRowArray& GetSummaryRows() const { return SummaryRows(); }

    // Subject numbering (the model's): whether the numbers are shown, in which column, and
    // the style of each level.
    using CSubjectNumbering = ::CSubjectNumbering;

    // The undo commands' action codes by their names here too: CMorvelEMView::undoCellEdit.
    using EUndoAction = CUndoCommand::EAction;
    using enum CUndoCommand::EAction;

    // ---- Find and replace, parts registration, input fixing (CMorvelEMViewFind.cpp) ----
    // The modeless find and replace dialogs send their requests as WM_FINDREPLACE_REQUEST.
    afx_msg void OnEditFind();
    afx_msg void OnEditReplace();
    afx_msg void OnUpdateEditFind(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditReplace(CCmdUI* pCmdUI);
    afx_msg LRESULT OnFindReplaceRequest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMatchCurrentCell(WPARAM wParam, LPARAM lParam);
    // Where the find text matches in a cell of the page shown under the FRQ_WHOLE_WORD and
    // FRQ_MATCH_CASE bits, the cell taken as the user sees it (CCellSearch); an empty find
    // text never matches.
    CCellSearch::CTextMatch MatchCellText(int nRow, int nCol, const CString& strFind, WPARAM nFlags) const;
    // From the current cell on (never the cell itself, never wrapping), down or up, in the
    // selection only with FRQ_SELECTION_ONLY: the first matching cell becomes current and
    // the match's byte position is returned; -1 when none matches.
    int SearchCells(WPARAM nFlags, const char* lpszFind);
    // Scrolls a cell into view (three rows above it at the top) and hides the editor.
    void ShowCell(int nCol, int nRow);
    // The opened dialogs register here; WM_MODELESS_CLOSED forgets them.
    void SetFindDialog(CWnd* pDialog, const CString& strStartText);
    void SetReplaceDialog(CWnd* pDialog);
    CWnd* GetFindDialog() const { return m_pFindDialog; }
    CWnd* GetReplaceDialog() const { return m_pReplaceDialog; }
    const CString& GetLastFindText() const { return m_strLastFind; }
    // Where the last find's match began in its cell's text (-1 when the last search failed
    // or its match was replaced), whichever estimate grid found it.
    static int GetLastFindPosition() { return s_lastMatch.nPosition; }
    afx_msg void OnPartsRegister();
    afx_msg void OnUpdatePartsRegister(CCmdUI* pCmdUI);
    // The input-fix dialog's OK: the arrow keys move among the ticked shown columns.
    void ApplyInputFix(const std::vector<bool>& ticks);

    // ---- Editing tools (CMorvelEMViewEditTools.cpp) ---------------------------------------
    // Sorting: a block within one column of rows of one kind, ordered by that column (as
    // texts in a "文字" column, else as numbers); whole rows move, equal keys keep their
    // order. SortBlock is the sort dialog's OK.
    afx_msg void OnSort();
    afx_msg void OnUpdateSort(CCmdUI* pCmdUI);
    bool CanSortBlock() const;
    void SortBlock(bool bAscending);
    // The remembered row: 記憶, ｼﾞｬﾝﾌﾟ and 解除; the row header of a row repainted.
    afx_msg void OnRememberPosition();
    afx_msg void OnUpdateRememberPosition(CCmdUI* pCmdUI);
    afx_msg void OnJumpToRemembered();
    afx_msg void OnUpdateJumpToRemembered(CCmdUI* pCmdUI);
    afx_msg void OnReleaseMark();
    void InvalidateRowHead(int nRow);
    // "ページ揃え": page alignment on or off, written to "Settings"/"AdjustPage".
    afx_msg void OnPageAlign();
    afx_msg void OnUpdatePageAlign(CCmdUI* pCmdUI);
    // With page alignment on: nRow starts a page (the empty rows before it on its page go,
    // or empty rows push it to the next page), and so does every later heading that
    // follows an empty row. The last row aligned; -1 while alignment is off.
    int AdjustPages(int nRow);
    // The user zoom (the zoom dialog's OK gives ApplyUserZoom the percent); the zoom box
    // shows the grid's zoom again afterwards.
    afx_msg void OnZoomUser();
    void ApplyUserZoom(int nPercent);
    void ShowZoomInBox();
    // "定率変更": a numeric column's block (or the current cell) through the calculation
    // dialog; the dialog's OK calls ApplyFixedRateChange.
    afx_msg void OnFixedRateChange();
    afx_msg void OnUpdateFixedRateChange(CCmdUI* pCmdUI);
    bool CanChangeFixedRate() const;
    // Unnecessary rows: details (with a unit, unless "Unnecessary Row"/"ManualEditSaimoku"
    // is "1") whose quantity or amount is zero, found and deleted at the request of the
    // modeless 不要行削除 dialog (WM_UNNECESSARY_ROW_COMMAND).
    afx_msg void OnDeleteUnnecessaryRows();
    afx_msg LRESULT OnUnnecessaryRowMessage(WPARAM wParam, LPARAM lParam);
    bool IsUnnecessaryRow(int nCondition, int nRow) const;
    // The search over the edit page with the scanner the settings choose.
    CUnnecessaryRows GetUnnecessaryRows() const;
    static bool IsManualUnnecessaryRowScan();
    // The first candidate row from nFromRow on that meets the condition; -1 when none.
    int FindUnnecessaryRow(int nCondition, int nFromRow) const;
    // The open 不要行削除 dialogs, destroyed with the grid.
    void AddUnnecessaryRowDialog(CWnd* pDialog);
    void ForgetUnnecessaryRowDialog(CWnd* pDialog);
    const std::vector<CWnd*>& GetUnnecessaryRowDialogs() const { return m_unnecessaryRowDialogs; }
    // After every button release (a column resize among them) the form's 幅 of each column
    // is the grid's width at zoom 100 in characters (at least 1).
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    void StoreColumnWidthsInForm();

    // ---- Undo and redo (CMorvelEMViewUndo.cpp) ------------------------------------------
    afx_msg void OnEditUndo();
    afx_msg void OnEditRedo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    // false once rows were inserted, deleted or reordered by something the record does not
    // know about: its row numbers no longer name the rows it was made for.

private:
    // A change by a command that recorded no undo: neither undo nor redo acts any more.
    void WithdrawUndo() override;
    void FinishOpenEditForUndo();
    // Whole rows nFirstRow.. (nCount, at least one) selected.
    void SelectWholeRows(int nFirstRow, int nCount);
    // The page rule of this window's row commands: its page rows and page alignment.
    CEstimateModel::CPageRule PageRule() const { return {GetPageRows(), m_nAdjustPage != 0}; }
    // Runs an undo or a redo, then does what its outcome asks (the cell, the selection, the
    // rows repainted from the first changed one) and repaints where the current cell and
    // the selection were before it.
    void RunUndoStep(bool bRedo);
    // A command whose dialog belongs to the estimate tools goes to them by id
    // (CShellServices::RunEstimateDialogCommand, whose table of ids and handlers is in
    // estimate_tools/EstimateDialogCommands.cpp); without them it says that it is not available.
    void HandToEstimateTools(UINT nID);
    CRect GetSearchBlock(WPARAM& nFlags) const;
    void ClickFoundCell(int nCol, int nRow);
    LRESULT ReplaceCurrentMatch(const char* lpszReplace);
    LRESULT ReplaceAll(WPARAM nFlags, LPARAM lParam);
    // A cell as the search reads it: its text and, for a number, what the cell shows.
    CCellSearch::CCellText ReadCellForSearch(int nRow, int nCol) const;
    // SearchCells with the whole match: the text it stands in and its length.
    CCellSearch::CMatch SearchNextMatch(WPARAM nFlags, const CString& strFind);
    // Destroys the modeless dialogs the view still holds (the view's window is going).
    void DestroyModelessDialogs();
    CWnd* m_pFindDialog = nullptr;
    CWnd* m_pReplaceDialog = nullptr;
    CString m_strLastFind;    // the last find text (at most 254 bytes)
    CString m_strReplaceText; // the last replacement text
    // The last find's match: the length in bytes of its find text and where it began in its
    // cell's text. Shared by every estimate grid, as the find and replace dialogs are
    // handed from grid to grid: a replace works on the match the last find showed, in
    // whichever grid it is asked (and only where that match still stands).
    struct CLastMatch {
        int nLength = 0;
        int nPosition = -1;
        WPARAM nFlags = 0; // the find's FRQ_WHOLE_WORD and FRQ_MATCH_CASE
    };
    static CLastMatch s_lastMatch;
    std::vector<CWnd*> m_unnecessaryRowDialogs;

public:
    // The parts file the parts commands work on.
    const CString& GetCurrentPartFile() const { return m_strCurrentPartFile; }
    // What the next pick or list choice makes (pickNone before the first).
    EPickPurpose GetPendingLevel() const { return m_nPendingLevel; }
    // The remembered row ("記憶"), -1 none.
    int GetMarkRow() const { return GetModel().GetMarkRow(); }
    // Page alignment ("Settings"/"AdjustPage") of page feeds and inserted rows.
    bool IsPageAlignmentOn() const { return m_nAdjustPage != 0; }
    void SetPageAlignment(bool bOn) { m_nAdjustPage = bOn ? 1 : 0; }
    // Whether nCount rows inserted at nRow leave an estimate its file can hold, counting
    // the rows page alignment may add when a heading after them starts a page (nHeading,
    // AdjustPageBreak's findHeading, above 0). When not, the user is told why
    // (CheckFileRowLimit) and the caller changes nothing.
    bool HasFileRoomForRows(int nRow, int nCount, int nHeading) const;
    // Which levels the summary-table command switched on (summaryKind .. summarySmall).
    void SetSummaryLevelOn(int nLevel, bool bOn);

    // The range total: the sum the range-add command worked out (with whether there is one
    // and its text as the box shows it), and whether the next press in the grid takes it.
    struct CRangeTotal {
        CRangeSum sum;
        int nArmed = 0;
    };
    const CRangeTotal& GetRangeTotal() const { return m_rangeTotal; }

    // The in-place editor: whether it was made, its state (editClosed .. editOpened) and
    // the font it shows (null before the first).
    bool HasCellEdit() const { return m_bCellEditExists; }
    CGridCellEdit& GetCellEdit() { return m_wndCellEdit; }
    int GetEditState() const { return m_nEditState; }
    const CFont* GetCellEditFontShown() const { return m_pCellEditFont.get(); }
    // Whether the last click made another cell current, and whether the last move came
    // from the subject tree.
    bool LastClickMovedCell() const { return m_bClickMovedCell; }
    bool LastMoveCameFromTree() const { return m_bMovedFromTree; }
    // The open modeless pick dialog of a subject level or of the unit, or null; the
    // dialogs' openers register them.
    CWnd* GetPickDialog(EPickPurpose ePurpose) const;
    void SetPickDialog(EPickPurpose ePurpose, CWnd* pDialog);
    // TRUE for the unit column: the form item whose "T" code is "1".
    bool IsUnitColumn(int nCol) const;
    // TRUE for a parts search column: "T" code "2" or "5".
    bool IsPartsSearchColumn(int nCol) const;
    // The cursor's move after an input, as "Input Setting"/"Direction" says.
    // Opens the unit pick list for the current cell (the unit column, no list open yet).
    void OpenUnitPick();
    // Inserts one detail row per parts row at the current row, each estimate column filled
    // from the parts column its "B" code names ("A" 0, "AB" 1, "BA" 26), with the indent of
    // the nearest detail row; the rows are calculated (CMorvelEMViewPartsRows.cpp).
    void InsertPartsRows(const CGridRow* const* ppRows, int nCount);
    // The parts column a "B" code names, or -1 for none (empty, or beyond 100 columns).
    static int PartsColumnOfCode(const CString& strCode);

    // ---- Pop-up choice list (CMorvelEMViewPopupList.cpp) ---------------------------------
    // F4 on a cell: the unit column lists the units, the name column the subjects of the
    // current heading's level (or of the last subject pick, large at first), a parts search
    // column the parts of the current parts file. FALSE (with a beep) elsewhere.
    BOOL OpenPopupListForCell();
    // Shows the list for a pick purpose (1, 2, 3 subjects, 4 unit, 5 parts, 8 other rows)
    // just below the current cell (above it when there is no room below) and gives it the
    // keyboard. FALSE on the summary page or without entries.
    BOOL OpenPopupList(EPickPurpose ePurpose, const CPopupListContent& content);
    // The list's choice (its indexes ended by -1 in the choice array): a subject becomes a
    // heading row at the current row, a unit fills the current cell, parts or other rows
    // become rows at the current row filled through the columns' "B" codes; several
    // chosen entries make one row each. Undo takes the choice back; the totals follow.
    void OnPopupListChoice(int nSeveral);
    std::vector<int>& GetPopupChoice() { return m_popupChoice; }
    CPopupListCtrl& GetPopupList() { return m_wndPopupList; }
    BOOL IsPopupListShown() const;
    // Closes the list without a choice (not while it hands a choice over); the keyboard
    // returns to the grid when the list had it.
    void ClosePopupList();

    // The status panes (UpdateStatusText): statusHide empties both, statusShow refreshes.
    enum { statusHide = 0, statusShow = 1 };

    DECLARE_MESSAGE_MAP()

private:
    // ---- data ---------------------------------------------------------------------------
    // The rows commands this window has open on the model (CRowsCommandScope).
    int m_nRowsCommands = 0;
    // The wait dialog shown while the layouts are read for their choice (shared_ptr: its
    // deleter is fixed where it is made, so this header needs no dialog class).
    std::shared_ptr<class CWaitDialog> m_pPrintFormWait;
    CString m_strCurrentPartFile;
    EPickPurpose m_nPendingLevel = pickNone;
    int m_nAdjustPage;  // "Settings"/"AdjustPage"
    int m_nRowsPerPage; // "Input Setting"/"Rows in a page"
    bool m_bSummaryPageShown = false;
    // The status bar's texts as last refreshed.
    CString m_strStatusPosition;
    CString m_strStatusAmount;
    // The estimate's amount the status bar shows, a walk over every row while the totals
    // are not kept, as worked out at the rows' change count: the several refreshes of one
    // Enter (the edit, the cursor's move, the keyboard's return) work it out once.
    struct CStatusAmountMemo {
        bool bKnown = false;
        unsigned long long nChangeCount = 0;
        int nUsedRows = 0;
        int nCol = -1;
        double dAmount = 0.0;
    };
    // The first paint's invalidation for the second: the cells of rcRange (rcCells in
    // pixels) that pDC's area reaches, row by row.
    void InvalidatePaintedCells(CDC* pDC, const CRect& rcRange, const CRect& rcCells);
    CStatusAmountMemo m_statusAmountMemo;
    double StatusAmount(int nCol);

    // The in-place editor and the pick dialogs.
    CGridCellEdit m_wndCellEdit;
    bool m_bCellEditExists = false;
    int m_nEditState = editClosed;
    // The characters typed since the editor last opened by typing (code page 932 bytes; a
    // double-byte character may still lack its second byte), which the editor shows whole.
    CString m_strTypedChars;
    LONG m_nCellEditCharHeight = 0;         // the editor's default character height (twips)
    std::unique_ptr<CFont> m_pCellEditFont; // the font the editor shows
    bool m_bClickMovedCell = false;         // the last click made another cell current
    bool m_bMovedFromTree = false;          // the last move came from the subject tree
    int m_nDirectInput = 0;                 // "直接入力", a check mark only
    // The open modeless pick dialogs (large, middle, small subject; unit), or null.
    CWnd* m_pSubjectPick[3] = {nullptr, nullptr, nullptr};
    CWnd* m_pUnitPick = nullptr;
    // The pop-up choice list and what it chose (indexes ended by -1).
    CPopupListCtrl m_wndPopupList;
    std::vector<int> m_popupChoice{-1};
    // Whether nCount rows fit at the current row for a choice from the list: a beep when the
    // row limit has no room, a message when the file has none (HasFileRoomForRows).
    bool HasRoomForPopupRows(int nCount) const;
    // For each estimate column within the form, the list column its "B" code names, -1 for
    // none (CEstimateModel::InsertPickedRows).
    std::vector<int> PopupListSourceColumns() const;
    // For each column of the form, the parts column its "B" code names
    // (CEstimateModel::InsertPartsRows).
    std::vector<int> PartsSourceColumns() const;

    // The range total and the summary page.
    CRangeTotal m_rangeTotal;
    CRect m_rcBlock; // the ordered selection block
    // Which levels the summary page shows: large and middle until the summary-table command
    // says otherwise.
    int m_nSummaryLevelOn[SUMMARY_LEVELS] = {0, 1, 1, 0};
    CPoint m_ptSummaryReturn; // the cell to return to from the summary page
    std::unique_ptr<CDisplayCache, CDisplayCacheDeleter> m_pDisplayCache; // fonts and colours of painting
    static bool s_bCellPaintNext;                                         // see IsCellPaintNext

    // The Ctrl+arrow jumps: an open edit is dropped, the cursor jumps, the cell repaints.
    enum class ECtrlJump { up, down, left, right };
    void CtrlArrowJump(ECtrlJump jump);

    // The estimate's computation (engine/estimate/CEstimateEngine.h) over the edit page's
    // rows, the model's: the model is its sheet (the used rows; the form's texts, the tax
    // settings and the windows' repainting it asks of the document), and the view calls it
    // for the number and total operations it runs itself.
    using ETotalMode = CEstimateEngine::ETotalMode;
    using CColumnInfo = CEstimateEngine::CColumnInfo;
    // Keeps the column information of the whole form trusted while it lives (no per-cell
    // checks against the form); the first scope re-checks every column once.
    class CColumnBatch : public CEstimateColumns::CBatch {
    public:
        explicit CColumnBatch(const CMorvelEMView& view) : CEstimateColumns::CBatch(view.Engine().Columns())
        {
        }
    };
    // The column count, at most 100.
    int GetColumnLimit() const { return Engine().Columns().GetLimit(); }
    bool IsValidRow(int nRow) const { return nRow >= 0 && nRow < GetRowLimit(); }
    bool IsValidColumn(int nCol) const { return nCol >= 0 && nCol < GetColumnLimit(); }
    const CGridRowArray& ShownRows() const { return m_pModel->Rows(ShownPage()); }
    // The first column whose code column (colT or colV) holds exactly lpszValue, or -1.
    int FindFirstColumn(int nCodeColumn, const char* lpszValue) const;
    // The summary table over the edit page's rows, built into the summary page's.
    CSummaryTable SummaryTable();
    // Whether the estimate's file holds a special row made at the current row
    // (CEstimateModel::ENewRow::reach: below the used rows they reach it, among them a row
    // goes in with the page alignment after it); when not, the user is told why.
    bool HasRoomForNewRow();
    // After the model made a special row at nRow: the undo it recorded is this window's, the
    // rows from nRow down repaint and the scroll range follows the used rows.
    void NewRowMade(int nRow);
    // A heading of kind nHeading at the current row (the kind heading, a subject picked),
    // the cursor on the row below it.
    void InsertHeading(ERowKind nHeading, const CString& strName, const CString& strUnit);
    // Whether a cut of nCount rows at nFirst leaves an estimate its file can hold, with the
    // page alignment after it: the heading nHeading (AdjustPageBreak's findHeading before the
    // cut) starts its page again, and so does every heading after an empty row
    // (AdjustPages). That alignment can insert rows anywhere in the estimate; they are
    // counted by trying it on the rows' kinds. When not, the user is told why.
    bool HasFileRoomAfterCut(int nFirst, int nCount, int nHeading) const;
    void MoveCurrentRowDown();
    void UpdateScrollRanges();
    void SetDocumentModified();
    // The modified mark for a step that changes nothing an undo record names (the record
    // stays; see CMorvelView::NoteDocumentChanged).
    void SetDocumentModifiedKeepingUndo();

private:
    // The row insertion and deletion under InsertRows and DeleteRows: ppRows, when given,
    // are the row objects put in (taken over; null entries stand for empty rows); pTaken,
    // when given, receives the row objects taken out instead of their being freed.
    void PutRowsIn(int nRow, int nCount, CGridRow* const* ppRows);
    void TakeRowsOut(int nRow, int nCount, std::vector<CGridRow*>* pTaken);

public:
    bool GetNonCalcRange(int& nFirstRow, int& nLastRow) const;
    // After a recalculation: the subject tree, the modified mark and the status bar follow.
    void AfterRecalculation();
    // The totals from nFirstRow; AfterRecalculation follows only when a row was written
    // since the rows' change count was nChangesBefore.
    void RecalcTotalsNotingWrites(int nFirstRow, unsigned long long nChangesBefore);

private:
    // The estimate's data (its document's model, shared with every window on it) and the
    // parts of it the view's members read most.
    CEstimateModel* m_pModel = nullptr;
    using EPage = CEstimateModel::EPage;
    const CGridRowArray& EditRows() const { return m_pModel->Rows(EPage::edit); }
    const CGridRowArray& SummaryRows() const { return m_pModel->Rows(EPage::summary); }
    CEstimateEngine& Engine() { return m_pModel->Engine(); }
    const CEstimateEngine& Engine() const { return m_pModel->Engine(); }
    CUndoStore& Undo() { return m_pModel->Undo(); }
    const CUndoStore& Undo() const { return m_pModel->Undo(); }
    CRowsState RowsState() const
    {
        return m_pModel == nullptr ? CRowsState{}
                                   : CRowsState{EditRows().GetChangeCount(), EditRows().GetKindChangeCount(),
                                                GetUsedRows(), SummaryRows().GetSize()};
    }
    // Every other estimate grid on the document is repainted whole, its scroll ranges
    // following the used rows.
    void RepaintOtherWindows();
    // The page on the screen, for painting and the commands that act on what is shown.
    EPage ShownPage() const { return IsSummaryPageShown() ? EPage::summary : EPage::edit; }
    // The user commands under way (CCommandScope), and what tells a scope that the view
    // is gone.
    int m_nCommandDepth = 0;
    // An edit left its recalculation to the end of the command (RecalcTotalsAfterEdit).
    bool m_bRecalcAtCommandEnd = false;
    // The rows' store, its counts of kind and heading changes and the name column when the
    // subject tree was last rebuilt: while they stand, so do the headings the tree shows.
    struct CHeadingsCounts {
        const CGridRowArray* pRows = nullptr;
        unsigned long long nKindChanges = 0;
        unsigned long long nHeadingChanges = 0;
        int nNameCol = -1;
        bool operator==(const CHeadingsCounts&) const = default;
    };
    CHeadingsCounts HeadingsCounts() const;
    CHeadingsCounts m_headingsCounts;
    mutable unsigned long long m_nHeadingSearches = 0;
    std::shared_ptr<int> m_pLife = std::make_shared<int>(0);
};
