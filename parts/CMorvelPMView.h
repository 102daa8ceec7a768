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

#include "estimate/CMorvelView.h"
#include "platform/base/CString.h"

class CMorvelPMDoc;
class CPartFormFile;

class CMorvelPMView : public CMorvelView {
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
    // TRUE when no column the formula names holds a number in the row.
    BOOL HasNoNumericOperand(const CString& strFormula, int nRow) const;
    // What typing a text into the current cell does once the editor hands it over: the
    // text stored, the row's formulas evaluated (number columns), the row repainted and
    // the document marked modified.
    void CommitTypedText(const CString& strText);
    // The text a cell shows: numbers by the column's picture (empty for zero); *pRight
    // tells whether it is drawn right-aligned.
    CString GetDisplayText(int nRow, int nCol, bool* pRight) const;

    // ---- painting ----------------------------------------------------------------------
    void OnDraw(CDC* pDC) override;
    void DrawCell(int nRow, int nCol, CDC* pDC);

    // Rows are numbered through the whole list, from 1.
    int GetRowHeaderNumber(int nRow) const override { return nRow + 1; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnZoom25() { SetDocumentZoom(25); }
    afx_msg void OnZoom50() { SetDocumentZoom(50); }
    afx_msg void OnZoom75() { SetDocumentZoom(75); }
    afx_msg void OnZoom100() { SetDocumentZoom(100); }
    afx_msg void OnZoom150() { SetDocumentZoom(150); }
    afx_msg void OnZoom200() { SetDocumentZoom(200); }
    afx_msg void OnUpdateZoom(CCmdUI* pCmdUI);
    afx_msg void OnRedisplay();
    afx_msg void OnEnvironment();
    DECLARE_MESSAGE_MAP()

private:
    void SetDocumentZoom(int nZoom);
    const CPartFormFile* GetForm() const;
    const CString& GetAttribute(int nCol) const;
    // Evaluates column nCol's formula in a row; bStrict: an operand that is not a number
    // stops the evaluation.
    void EvaluateColumn(int nRow, int nCol, bool bStrict);
    int MeasureBaseRowHeight();

    // The row-number column and the title header as this splitter pane shows them.
    int m_nNumberWidthBase = 50;
    bool m_bShowNumbers = true;
    bool m_bShowHeader = true;
    CFont m_fontCells;
    LOGFONT m_lfCells = {};
    int m_nCellFontZoom = 0;
};
