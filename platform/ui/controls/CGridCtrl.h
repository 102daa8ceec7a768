// The grid control: a table of text cells with a fixed header row 0 and header column 0,
// and CGridCtrl, the object through which the program drives it, one member per property.
//
// Lengths are in twips (1/1440 inch; the screen has 96 pixels per inch, so 15 twips make
// a pixel). Every row and column is drawn with its height or width in pixels and one
// pixel of grid line after it; ColPos/RowPos give the left or top edge of a cell inside
// the control (after the control's one-pixel frame) in twips, so that
//   x = grid's left + 1 + ColPos(c) * 96 / 1440
// is where an edit laid over the cell starts. Header row 0 and column 0 stay in view;
// TopRow and LeftCol are the first scrollable row and column shown (never below 1).
//
// Events go to the parent as WM_NOTIFY from the control's id, synchronously:
//   GRIDN_ROWCOLCHANGE  the current cell changed, by the user or by SetRow/SetCol from
//                       code (not when the value set is the one it had);
//   GRIDN_CLICK         a click on the control, after the click has moved the current
//                       cell (and reported that).
// The user moves the current cell with the mouse (a right click too, before the parent's
// pop-up menu opens, without GRIDN_CLICK) and, while the control has the focus,
// with the arrow keys, PgUp/PgDn and Home/End; dragging the line between two columns in
// the header row changes the left column's width. The control's own scroll bars are off
// until SetGridScrollBars turns them on (1 horizontal, 2 vertical, 3 both); scrolling then
// moves TopRow/LeftCol, never the current cell.
//
// A dialog template places it as a DlgCustom control of the class AFX_GRID_CLASS; a page
// binds a CGridCtrl member to it with DDX_Control.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/CWnd.h"

// The window class of the grid control.
constexpr const char* AFX_GRID_CLASS = "MorvelGrid32";

// The blank a cell keeps left and right of its text, in pixels.
constexpr int GRID_CELL_MARGIN = 2;

// Notification codes of WM_NOTIFY from the grid.
constexpr UINT GRIDN_ROWCOLCHANGE = static_cast<UINT>(-2201);
constexpr UINT GRIDN_CLICK = static_cast<UINT>(-2202);

// The grid's messages: properties by number (the numbers of the members below).
//   GRM_GETPROPERTY  wParam property, lParam index      -> value
//   GRM_SETPROPERTY  wParam MAKEWPARAM(property, index), lParam value
//   GRM_GETCELLTEXT  wParam MAKEWPARAM(row, col), lParam CString* (row 0xFFFF: current cell)
//   GRM_SETCELLTEXT  wParam MAKEWPARAM(row, col), lParam const char* (row 0xFFFF: current)
constexpr UINT GRM_GETPROPERTY = WM_USER + 0x500;
constexpr UINT GRM_SETPROPERTY = WM_USER + 0x501;
constexpr UINT GRM_GETCELLTEXT = WM_USER + 0x502;
constexpr UINT GRM_SETCELLTEXT = WM_USER + 0x503;

enum GridProperty : WORD {
    GRIDP_TEXT = 1,
    GRIDP_ROWS = 8,
    GRIDP_COLS = 9,
    GRIDP_ROW = 12,
    GRIDP_COL = 13,
    GRIDP_SCROLLBARS = 14,
    GRIDP_TOPROW = 23,
    GRIDP_LEFTCOL = 24,
    GRIDP_ROWHEIGHT = 31,
    GRIDP_COLWIDTH = 32,
    GRIDP_ROWPOS = 35,
    GRIDP_COLPOS = 36,
};

// Registers AFX_GRID_CLASS (done by the members below and by dialogs when needed).
void AfxRegisterGridClass();

class CGridCtrl : public CWnd {
    DECLARE_DYNCREATE(CGridCtrl)
public:
    CGridCtrl() = default;

    BOOL Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Text of the current cell.
    CString GetText() const;
    void SetText(LPCTSTR lpszText);
    // Text of any cell (row, column), without moving the current cell.
    CString GetTextMatrix(short nRow, short nCol) const;
    void SetTextMatrix(short nRow, short nCol, LPCTSTR lpszText);

    // Rows and columns, the header row and column included (at least 2 each); cells keep
    // their text when the table grows, and the current cell stays inside.
    short GetRows() const;
    void SetRows(short nRows);
    short GetCols() const;
    void SetCols(short nCols);

    // The current cell; setting a value outside the table changes nothing.
    short GetRow() const;
    void SetRow(short nRow);
    short GetCol() const;
    void SetCol(short nCol);

    // 0 none, 1 horizontal, 2 vertical, 3 both.
    long GetGridScrollBars() const;
    void SetGridScrollBars(long nScrollBars);

    // First scrollable row and column shown; setting them scrolls the view only.
    short GetTopRow() const;
    void SetTopRow(short nTopRow);
    short GetLeftCol() const;
    void SetLeftCol(short nLeftCol);

    // Heights and widths in twips; index -1 sets every row or column.
    long GetRowHeight(short nRow) const;
    void SetRowHeight(short nRow, long nHeight);
    long GetColWidth(short nCol) const;
    void SetColWidth(short nCol, long nWidth);
    // Top of a row and left of a column inside the control, in twips, as shown now.
    long GetRowPos(short nRow) const;
    long GetColPos(short nCol) const;

    // Widens a column, where it is narrower, until every text it holds now shows whole in
    // the grid's font with the cell's margins.
    void FitColWidthToText(short nCol);

    // Twips as screen pixels (96 per inch), rounded to the nearest.
    static int TwipsToPixels(long nTwips);
    // Makes the grid (and the scroll bar beside it, given in its parent's coordinates) as
    // tall as its whole rows of nRowHeight twips each, a line between rows. Returns how many
    // rows show (at least 1); *pCut tells whether the grid had to be cut.
    int FitToWholeRows(long nRowHeight, CWnd& bar, bool* pCut = nullptr);

private:
    long GetProperty(GridProperty nProperty, short nIndex = 0) const;
    void SetProperty(GridProperty nProperty, long nValue, short nIndex = 0);
};
