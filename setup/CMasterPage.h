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

#include "setup/CSetupGridPage.h"

#include <memory>
#include <vector>

class CMasterPage : public CSetupGridPage {
    DECLARE_DYNAMIC(CMasterPage)
public:
    static constexpr int ROWS = 1000; // with the heading row
    static constexpr int LAST_ROW = ROWS - 1;

    // pEdit: the page's own editor.
    CMasterPage(UINT nIDTemplate, int nEditableCols, UINT nIDMenu, std::unique_ptr<CSetupCellEdit> pEdit);

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
    // Whether column nCol holds a number (the classification's percentage).
    virtual bool IsNumberColumn(int /*nCol*/) const { return false; }
    // The move code of a key (the unit page numbers Enter as Down).
    virtual int MoveCodeOf(CSetupCellEdit::MoveKey key) const;
    // The backup copy made on OK, and the one made when the page opens.
    virtual void MakeBackup() {}
    virtual void MakeInitBackup() {}

    // Moves as the editor's key would (also for the tests).
    void MoveCell(int nCode);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void PlaceEditor();
    void SetCurrent(int nRow, int nCol);
    void CommitEditor(int nRow, int nCol) override;
    void FillFromTable();
    void ScrollTo(int nPos);

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

    CScrollBar m_scroll;
    int m_nScrollPos = 1;
};
