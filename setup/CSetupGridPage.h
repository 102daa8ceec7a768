// CSetupGridPage: what the master pages (CMasterPage) and the form pages (CFormPage) of
// the setup sheet share. Each shows a table in a grid of whole rows, heading row 0 and
// data rows 1 to LAST_ROW, and types into the current cell through an editor laid over
// it. The page keeps the current and the previous cell: when the current cell moves, the
// editor's text goes into the cell it leaves (CommitEditor) before the editor moves on.
// The row commands of the pop-up menu (Shift+F10, or a right click, which first makes the
// cell clicked current) cut, copy, paste, clear and insert whole rows of the editable
// columns 1..m_nEditableCols.
#pragma once

#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/dialogs/CPropertyPage.h"
#include "setup/CSetupCellEdit.h"

#include <memory>
#include <vector>

class CMorvelApp;

class CSetupGridPage : public CPropertyPage {
    DECLARE_DYNAMIC(CSetupGridPage)
public:
    static constexpr long ROW_HEIGHT = 270; // twips

    // nRows: the grid's rows with the heading row; pEdit: the page's own editor.
    CSetupGridPage(UINT nIDTemplate, int nRows, int nEditableCols, UINT nIDMenu,
                   std::unique_ptr<CSetupCellEdit> pEdit);

    int m_nSetup = 1;      // 1 editing, 0 viewing (import mode)
    int m_nSinglePage = 0; // opened alone at start-up

    // ---- the grid, for the sheet and the tests --------------------------------------------
    CGridCtrl& Grid() { return m_grid; }
    CSetupCellEdit& Editor() { return m_edit; }
    CString CellText(int nRow, int nCol) const
    {
        return m_grid.GetTextMatrix(static_cast<short>(nRow), static_cast<short>(nCol));
    }
    int GetCurrentRow() const { return m_nCurRow; }
    int GetCurrentCol() const { return m_nCurCol; }
    // The last row from the bottom up whose cell in nCol is not empty; 0 when none.
    int LastFilledRow(int nCol) const;
    // The last row from the bottom up with text in any editable column; 0 when none.
    int LastRowInUse() const;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    static CMorvelApp& App();
    // Twips to screen pixels (96 per inch), rounded; and the whole pixels of a cell's
    // width or height as the grid draws the cell: the part of a pixel left over is
    // dropped, never rounded up over the grid line.
    static int TwipsToPixels(long twips);
    static int CellPixels(long twips);

    // Puts the editor's text into a cell as the page takes it.
    virtual void CommitEditor(int nRow, int nCol) = 0;
    // Gives the editor a text that the user did not type.
    virtual void SetEditorText(const CString& text) { m_edit.SetWindowText(text); }

    // Cuts the grid and the vertical bar beside it to whole rows and counts the rows that
    // show (m_nVisibleRows, at least 1). True when the grid was made shorter.
    bool FitGridToWholeRows(CScrollBar& bar);
    // The top-left corner of a cell in the page's client area (the grid's frame left out).
    CPoint CellOrigin(int nRow, int nCol) const;
    // Commits the editor into the cell it leaves and makes the current cell the grid's
    // and the previous one, without the grid's notifications.
    void LeavePreviousCell();
    // Moves rows nRow+1..nLast up by one and empties the rows from nLast on.
    void RemoveRow(int nRow, int nLast);
    void ShowContextMenu(CPoint ptScreen);

    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnRowCut();
    afx_msg void OnRowCopy();
    afx_msg void OnRowPaste();
    afx_msg void OnRowClear();
    afx_msg void OnRowInsert();
    DECLARE_MESSAGE_MAP()

    const int m_nLastRow;
    CGridCtrl m_grid;
    std::unique_ptr<CSetupCellEdit> m_pEdit;
    CSetupCellEdit& m_edit;
    int m_nEditableCols;
    UINT m_nIDMenu;
    // The menu key opens the pop-up menu too (Shift+F10 always does).
    bool m_bMenuKeyOpensMenu = false;
    int m_nReady = 0;
    int m_nPrevRow = 1;
    int m_nPrevCol = 1;
    int m_nCurRow = 1;
    int m_nCurCol = 1;
    int m_nVisibleRows = 1;
    std::vector<CString> m_clip;
    BOOL m_bWriteOK = TRUE;
    // The next character of a view-only grid is the second byte of one typed before.
    bool m_bTrailByteNext = false;
};
