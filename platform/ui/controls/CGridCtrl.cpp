#include "platform/ui/controls/CGridCtrl.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CGridCtrl, CWnd)

BOOL CGridCtrl::Create(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    AfxRegisterGridClass();
    return CWnd::Create(AFX_GRID_CLASS, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

long CGridCtrl::GetProperty(GridProperty nProperty, short nIndex) const
{
    if (!m_hWnd)
        return 0;
    return static_cast<long>(
        const_cast<CGridCtrl*>(this)->SendMessage(GRM_GETPROPERTY, nProperty, static_cast<LPARAM>(nIndex)));
}

void CGridCtrl::SetProperty(GridProperty nProperty, long nValue, short nIndex)
{
    if (m_hWnd)
        SendMessage(GRM_SETPROPERTY, MAKEWPARAM(nProperty, static_cast<WORD>(nIndex)),
                    static_cast<LPARAM>(nValue));
}

CString CGridCtrl::GetText() const
{
    return GetTextMatrix(-1, -1);
}

void CGridCtrl::SetText(LPCTSTR lpszText)
{
    SetTextMatrix(-1, -1, lpszText);
}

CString CGridCtrl::GetTextMatrix(short nRow, short nCol) const
{
    CString text;
    if (m_hWnd)
        const_cast<CGridCtrl*>(this)->SendMessage(
            GRM_GETCELLTEXT, MAKEWPARAM(static_cast<WORD>(nRow), static_cast<WORD>(nCol)),
            reinterpret_cast<LPARAM>(&text));
    return text;
}

void CGridCtrl::SetTextMatrix(short nRow, short nCol, LPCTSTR lpszText)
{
    if (m_hWnd)
        SendMessage(GRM_SETCELLTEXT, MAKEWPARAM(static_cast<WORD>(nRow), static_cast<WORD>(nCol)),
                    reinterpret_cast<LPARAM>(lpszText ? lpszText : ""));
}

short CGridCtrl::GetRows() const
{
    return static_cast<short>(GetProperty(GRIDP_ROWS));
}

void CGridCtrl::SetRows(short nRows)
{
    SetProperty(GRIDP_ROWS, nRows);
}

short CGridCtrl::GetCols() const
{
    return static_cast<short>(GetProperty(GRIDP_COLS));
}

void CGridCtrl::SetCols(short nCols)
{
    SetProperty(GRIDP_COLS, nCols);
}

short CGridCtrl::GetRow() const
{
    return static_cast<short>(GetProperty(GRIDP_ROW));
}

void CGridCtrl::SetRow(short nRow)
{
    SetProperty(GRIDP_ROW, nRow);
}

short CGridCtrl::GetCol() const
{
    return static_cast<short>(GetProperty(GRIDP_COL));
}

void CGridCtrl::SetCol(short nCol)
{
    SetProperty(GRIDP_COL, nCol);
}

long CGridCtrl::GetGridScrollBars() const
{
    return GetProperty(GRIDP_SCROLLBARS);
}

void CGridCtrl::SetGridScrollBars(long nScrollBars)
{
    SetProperty(GRIDP_SCROLLBARS, nScrollBars);
}

short CGridCtrl::GetTopRow() const
{
    return static_cast<short>(GetProperty(GRIDP_TOPROW));
}

void CGridCtrl::SetTopRow(short nTopRow)
{
    SetProperty(GRIDP_TOPROW, nTopRow);
}

short CGridCtrl::GetLeftCol() const
{
    return static_cast<short>(GetProperty(GRIDP_LEFTCOL));
}

void CGridCtrl::SetLeftCol(short nLeftCol)
{
    SetProperty(GRIDP_LEFTCOL, nLeftCol);
}

long CGridCtrl::GetRowHeight(short nRow) const
{
    return GetProperty(GRIDP_ROWHEIGHT, nRow);
}

void CGridCtrl::SetRowHeight(short nRow, long nHeight)
{
    SetProperty(GRIDP_ROWHEIGHT, nHeight, nRow);
}

long CGridCtrl::GetColWidth(short nCol) const
{
    return GetProperty(GRIDP_COLWIDTH, nCol);
}

void CGridCtrl::SetColWidth(short nCol, long nWidth)
{
    SetProperty(GRIDP_COLWIDTH, nWidth, nCol);
}

long CGridCtrl::GetRowPos(short nRow) const
{
    return GetProperty(GRIDP_ROWPOS, nRow);
}

long CGridCtrl::GetColPos(short nCol) const
{
    return GetProperty(GRIDP_COLPOS, nCol);
}

void CGridCtrl::FitColWidthToText(short nCol)
{
    if (m_hWnd == nullptr || nCol < 0 || nCol >= GetCols())
        return;
    CClientDC dc(this);
    auto hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    CFont* pOldFont = hFont != nullptr ? dc.SelectObject(CFont::FromHandle(hFont)) : nullptr;
    int nWidest = 0;
    const short nRows = GetRows();
    for (short r = 0; r < nRows; ++r)
        nWidest = std::max(nWidest, static_cast<int>(dc.GetTextExtent(GetTextMatrix(r, nCol)).cx));
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    // A pixel is 15 twips exactly, so the width comes back as these pixels.
    const long nNeeded = static_cast<long>(nWidest + 2 * GRID_CELL_MARGIN) * 1440 / 96;
    if (nNeeded > GetColWidth(nCol))
        SetColWidth(nCol, nNeeded);
}

int CGridCtrl::TwipsToPixels(long nTwips)
{
    return MulDiv(static_cast<int>(nTwips), 96, 1440);
}

int CGridCtrl::FitToWholeRows(long nRowHeight, CWnd& bar, bool* pCut)
{
    const int nPitch = TwipsToPixels(nRowHeight) + 1;
    CWnd* pParent = GetParent();
    CRect rcGrid;
    GetWindowRect(&rcGrid);
    if (pParent != nullptr)
        pParent->ScreenToClient(&rcGrid);
    int nRows = rcGrid.Height() / nPitch;
    const bool bCut = rcGrid.Height() % nPitch != 0;
    if (!bCut) {
        --nRows;
    } else {
        rcGrid.bottom = rcGrid.top + (nRows + 1) * nPitch;
        MoveWindow(&rcGrid);
        CRect rcBar;
        bar.GetWindowRect(&rcBar);
        if (pParent != nullptr)
            pParent->ScreenToClient(&rcBar);
        rcBar.bottom = rcGrid.bottom;
        bar.MoveWindow(&rcBar);
    }
    if (pCut != nullptr)
        *pCut = bCut;
    return std::max(nRows, 1);
}
