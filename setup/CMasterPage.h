// CMasterPage: what the unit, classification and subject pages of the setup sheet share.
// Each shows one master table in the grid (1000 rows: the heading row 0 and data rows 1
// to 999) beside a scroll bar of its own, and types into the current cell through an
// editor laid over it. Grid row r shows table entry r - 1 (the tables count from 0).
//
// The application's table is rewritten from the grid, and the file from the table, only
// when the page is applied (and, opened alone at start-up, also on Cancel, so that the
// file exists afterwards). A file that cannot be written is reported and keeps the sheet
// open; the table in memory holds the grid all the same.
#pragma once

#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/dialogs/CPropertyPage.h"
#include "setup/CGridCellEdit.h"

#include <memory>
#include <vector>

class CMorvelApp;

class CMasterPage : public CPropertyPage {
    DECLARE_DYNAMIC(CMasterPage)
public:
    static constexpr int ROWS = 1000; // with the heading row
    static constexpr int LAST_ROW = ROWS - 1;
    static constexpr long ROW_HEIGHT = 270;

    // pEdit: the page's own editor.
    CMasterPage(UINT nIDTemplate, int nEditableCols, UINT nIDMenu, std::unique_ptr<CSetupCellEdit> pEdit);

    int m_nSinglePage = 0; // opened alone at start-up
    int m_nSetup = 1;      // 1 editing, 0 viewing

    // ---- what a page supplies ------------------------------------------------------------
    // Widths of the grid columns in twips.
    virtual std::vector<long> ColumnWidths() const = 0;
    // The texts of row 0, columns 1.. (after "No.").
    virtual std::vector<CString> Headings() const = 0;
    // The table's entry count and entry texts (index from 0, column from 1).
    virtual int TableCount() const = 0;
    virtual CString TableText(int nIndex, int nCol) const = 0;
    // Takes grid rows 1..nCount into the table (entries 0..nCount-1).
    virtual void StoreTable(int nCount) = 0;
    // Writes the table's file; FALSE when it could not be written (the user was told).
    virtual BOOL WriteTableFile() = 0;
    virtual CString FileName() const = 0;
    // The editor's text as the cell takes it.
    virtual CString CommitText(const CString& strText) const;
    // The column whose last non-empty row ends the table for cut and insert.
    virtual int ScanColumn() const { return m_nCurCol; }
    // The move code of a key (the unit page numbers Enter as Down).
    virtual int MoveCodeOf(CSetupCellEdit::MoveKey key) const;
    // The backup copy made on OK, and the one made when the page opens.
    virtual void MakeBackup() {}
    virtual void MakeInitBackup() {}

    // ---- the grid, for the sheet and the tests --------------------------------------------
    CGridCtrl& Grid() { return m_grid; }
    CSetupCellEdit& Editor() { return m_edit; }
    CString CellText(int nRow, int nCol) const
    {
        return m_grid.GetTextMatrix(static_cast<short>(nRow), static_cast<short>(nCol));
    }
    int GetCurrentRow() const { return m_nCurRow; }
    int GetCurrentCol() const { return m_nCurCol; }
    // The last row from 999 down whose cell in nCol is not empty; 0 when none.
    int LastFilledRow(int nCol) const;
    // Moves as the editor's key would (also for the tests).
    void MoveCell(int nCode);
    BOOL LastWriteSucceeded() const { return m_bWriteOK; }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnApply() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    static CMorvelApp& App();
    void PlaceEditor();
    void SetCurrent(int nRow, int nCol);
    void CommitEditor(int nRow, int nCol);
    void FillFromTable();
    void ShowContextMenu(CPoint ptScreen);
    void ScrollTo(int nPos);
    int VisibleRows() const { return m_nVisibleRows; }

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnRowCopy();
    afx_msg void OnRowCut();
    afx_msg void OnRowPaste();
    afx_msg void OnRowClear();
    afx_msg void OnRowInsert();
    DECLARE_MESSAGE_MAP()

    CGridCtrl m_grid;
    CScrollBar m_scroll;
    std::unique_ptr<CSetupCellEdit> m_pEdit;
    CSetupCellEdit& m_edit;
    int m_nEditableCols;
    UINT m_nIDMenu;
    int m_nReady = 0;
    int m_nPrevRow = 1;
    int m_nPrevCol = 1;
    int m_nCurRow = 1;
    int m_nCurCol = 1;
    int m_nScrollPos = 1;
    int m_nVisibleRows = 1;
    std::vector<CString> m_clip;
    BOOL m_bWriteOK = TRUE;
};
