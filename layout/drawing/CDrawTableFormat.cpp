// The table's side of the layout editor's formatting commands: ruled lines, shading, font,
// colour and alignment of the selected cells, clearing them, the same-value queries from
// which the view shows its buttons and boxes, and the row-height adjustment.
//
// Cell rectangles follow the table's convention (see CDrawTable.h): of a cell c,
// xmin = m_rect.right, xmax = m_rect.left, ymin = m_rect.top (its lower edge, y up),
// ymax = m_rect.bottom (its upper edge).
#include "layout/drawing/CDrawTable.h"

#include "layout/drawing/CRowHeightDialog.h"
#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct CSpan {
    int xmin, xmax, ymin, ymax;
};

CSpan SpanOf(const CRect& r)
{
    return {r.right, r.left, r.top, r.bottom};
}

// Normalised containment: the smaller bounds inclusive, the larger exclusive.
bool Contains(const CRect& r, CPoint p)
{
    const CRect n = NormalizedRect(r);
    return p.x >= n.left && p.x < n.right && p.y >= n.top && p.y < n.bottom;
}

} // namespace

// ---- Neighbours ---------------------------------------------------------------------------

namespace {

// Whether no other selected cell of the table touches the cell on one side: touches(c, o)
// says whether the other cell's span o lies against the cell's span c on that side.
template <class Touches>
BOOL IsEdgeOuter(const CDrawTable& table, const CDrawCell* pCell, int nIndex, Touches touches)
{
    const CSpan c = SpanOf(pCell->m_rect);
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        const CDrawCell* pOther = table.GetCell(i);
        if (i == nIndex || !pOther->m_bSelected)
            continue;
        if (touches(c, SpanOf(pOther->m_rect)))
            return FALSE;
    }
    return TRUE;
}

} // namespace

BOOL CDrawTable::IsLeftEdgeOuter(CDrawCell* pCell, int nIndex)
{
    return IsEdgeOuter(*this, pCell, nIndex, [](const CSpan& c, const CSpan& o) {
        return o.xmax == c.xmin && c.ymin < o.ymax && c.ymax > o.ymin;
    });
}

BOOL CDrawTable::IsRightEdgeOuter(CDrawCell* pCell, int nIndex)
{
    return IsEdgeOuter(*this, pCell, nIndex, [](const CSpan& c, const CSpan& o) {
        return o.xmin == c.xmax && c.ymin < o.ymax && c.ymax > o.ymin;
    });
}

BOOL CDrawTable::IsUpperEdgeOuter(CDrawCell* pCell, int nIndex)
{
    return IsEdgeOuter(*this, pCell, nIndex, [](const CSpan& c, const CSpan& o) {
        return o.ymin == c.ymax && c.xmin < o.xmax && c.xmax > o.xmin;
    });
}

BOOL CDrawTable::IsLowerEdgeOuter(CDrawCell* pCell, int nIndex)
{
    return IsEdgeOuter(*this, pCell, nIndex, [](const CSpan& c, const CSpan& o) {
        return o.ymax == c.ymin && c.xmin < o.xmax && c.xmax > o.xmin;
    });
}

// ---- Ruled lines and shading --------------------------------------------------------------

void CDrawTable::SetBorders(COLORREF innerVColor, COLORREF innerHColor, int innerVStyle, int innerHStyle,
                            COLORREF outerLeftColor, COLORREF outerRightColor, COLORREF outerUpperColor,
                            COLORREF outerLowerColor, int outerLeftStyle, int outerRightStyle,
                            int outerUpperStyle, int outerLowerStyle, int nPattern)
{
    // Which classes of edge a pattern sets: inner vertical, inner horizontal, outer.
    static const bool kSets[8][3] = {{false, false, false}, {true, true, true},   {false, true, true},
                                     {true, false, true},   {false, false, true}, {true, true, false},
                                     {false, true, false},  {true, false, false}};
    if (nPattern >= 1 && nPattern <= 7) {
        const bool bInnerV = kSets[nPattern][0], bInnerH = kSets[nPattern][1], bOuter = kSets[nPattern][2];
        const COLORREF outerColors[4] = {outerLeftColor, outerRightColor, outerUpperColor, outerLowerColor};
        const int outerStyles[4] = {outerLeftStyle, outerRightStyle, outerUpperStyle, outerLowerStyle};
        for (INT_PTR i = 0; i < GetCellCount(); ++i) {
            CDrawCell* pCell = GetCell(i);
            if (!pCell->m_bSelected)
                continue;
            const int n = static_cast<int>(i);
            const bool outer[4] = {IsLeftEdgeOuter(pCell, n) != FALSE, IsRightEdgeOuter(pCell, n) != FALSE,
                                   IsUpperEdgeOuter(pCell, n) != FALSE, IsLowerEdgeOuter(pCell, n) != FALSE};
            for (int e = 0; e < CDrawCell::EDGE_COUNT; ++e) {
                const bool bVertical = e == CDrawCell::edgeLeftHand || e == CDrawCell::edgeRightHand;
                COLORREF color;
                int nStyle;
                if (outer[e]) {
                    if (!bOuter)
                        continue;
                    color = outerColors[e];
                    nStyle = outerStyles[e];
                } else if (bVertical) {
                    if (!bInnerV)
                        continue;
                    color = innerVColor;
                    nStyle = innerVStyle;
                } else {
                    if (!bInnerH)
                        continue;
                    color = innerHColor;
                    nStyle = innerHStyle;
                }
                pCell->m_clrEdge[e] = color;
                if (nStyle >= 0)
                    pCell->m_nEdgeStyle[e] = nStyle;
            }
        }
    }
    Invalidate();
    MarkModified();
}

void CDrawTable::SetShading(BOOL bFill, int nPattern, COLORREF fore, COLORREF back)
{
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        CDrawCell* pCell = GetCell(i);
        if (!pCell->m_bSelected)
            continue;
        pCell->m_bFill = bFill;
        pCell->m_nFillPattern = nPattern;
        pCell->m_foreColor = fore;
        pCell->m_backColor = back;
    }
    Invalidate();
    MarkModified();
}

// ---- Font, colour, alignment, clearing ------------------------------------------------------

namespace {

template <class Change>
void ChangeSelectedCells(CDrawTable& table, Change change)
{
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        CDrawCell* pCell = table.GetCell(i);
        if (pCell->m_bSelected)
            change(*pCell);
    }
}

} // namespace

void CDrawTable::SetCellUnderline(IDrawingView* pView, BYTE bUnderline)
{
    InvalidateIn(pView);
    ChangeSelectedCells(*this, [&](CDrawCell& c) { c.m_logFont.lfUnderline = bUnderline; });
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::SetCellBold(IDrawingView* pView, BOOL bBold)
{
    InvalidateIn(pView);
    ChangeSelectedCells(*this, [&](CDrawCell& c) { c.m_logFont.lfWeight = bBold ? FW_BOLD : FW_NORMAL; });
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::SetCellItalic(IDrawingView* pView, BYTE bItalic)
{
    InvalidateIn(pView);
    ChangeSelectedCells(*this, [&](CDrawCell& c) { c.m_logFont.lfItalic = bItalic; });
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::SetCellTextColor(IDrawingView* pView, COLORREF color)
{
    InvalidateIn(pView);
    ChangeSelectedCells(*this, [&](CDrawCell& c) { c.m_clrText = color; });
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::SetCellAlign(IDrawingView* pView, int nAlign)
{
    InvalidateIn(pView);
    ChangeSelectedCells(*this, [&](CDrawCell& c) { c.m_nAlign = nAlign; });
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::SetCellFontHeight(IDrawingView* pView, int nHeight)
{
    InvalidateIn(pView);
    ChangeSelectedCells(*this, [&](CDrawCell& c) { c.m_logFont.lfHeight = nHeight; });
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::SetCellFontFace(IDrawingView* pView, CString faceName, LOGFONT lf)
{
    // The name field holds 31 bytes and its terminator; a double-byte character that
    // would lose its second byte is left out whole.
    int nLength = std::min(faceName.GetLength(), LF_FACESIZE - 1);
    for (int i = 0; i < nLength; ++i) {
        if (IsCp932LeadByte(static_cast<BYTE>(faceName[i]))) {
            if (i + 1 >= nLength) {
                nLength = i;
                break;
            }
            ++i;
        }
    }
    InvalidateIn(pView);
    ChangeSelectedCells(*this, [&](CDrawCell& c) {
        std::memset(c.m_logFont.lfFaceName, 0, sizeof c.m_logFont.lfFaceName);
        std::memcpy(c.m_logFont.lfFaceName, faceName.c_str(), static_cast<size_t>(nLength));
        c.m_logFont.lfCharSet = lf.lfCharSet;
        c.m_logFont.lfPitchAndFamily = lf.lfPitchAndFamily;
    });
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::ClearSelectedCells(IDrawingView* pView)
{
    InvalidateIn(pView);
    ChangeSelectedCells(*this, [](CDrawCell& c) { c.m_strText.Empty(); });
    InvalidateIn(pView);
    MarkModified();
}

void CDrawTable::SetWidth(IDrawingView* pView, int nWidth)
{
    (void)nWidth;
    InvalidateIn(pView);
    InvalidateIn(pView);
    MarkModified();
}

// ---- Queries --------------------------------------------------------------------------------

namespace {

template <class Test>
int CountSelected(const CDrawTable& table, Test test)
{
    int n = 0;
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        const CDrawCell* pCell = table.GetCell(i);
        if (pCell->m_bSelected && test(*pCell))
            ++n;
    }
    return n;
}

const CDrawCell* FirstSelected(const CDrawTable& table)
{
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        if (table.GetCell(i)->m_bSelected)
            return table.GetCell(i);
    }
    return nullptr;
}

// TRUE when some cell is selected and every selected one passes.
template <class Test>
BOOL AllSelected(const CDrawTable& table, Test test)
{
    if (FirstSelected(table) == nullptr)
        return FALSE;
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        const CDrawCell* pCell = table.GetCell(i);
        if (pCell->m_bSelected && !test(*pCell))
            return FALSE;
    }
    return TRUE;
}

} // namespace

int CDrawTable::CountBoldCells()
{
    return CountSelected(*this, [](const CDrawCell& c) { return c.m_logFont.lfWeight == FW_BOLD; });
}

int CDrawTable::CountItalicCells()
{
    return CountSelected(*this, [](const CDrawCell& c) { return c.m_logFont.lfItalic != 0; });
}

int CDrawTable::CountUnderlineCells()
{
    return CountSelected(*this, [](const CDrawCell& c) { return c.m_logFont.lfUnderline != 0; });
}

int CDrawTable::CountLeftAlignedCells()
{
    return CountSelected(*this, [](const CDrawCell& c) { return c.m_nAlign == CTextAttributes::alignLeft; });
}

int CDrawTable::CountRightAlignedCells()
{
    return CountSelected(*this, [](const CDrawCell& c) { return c.m_nAlign == CTextAttributes::alignRight; });
}

int CDrawTable::CountCenteredCells()
{
    return CountSelected(*this,
                         [](const CDrawCell& c) { return c.m_nAlign == CTextAttributes::alignCenter; });
}

LOGFONT CDrawTable::GetSelectedCellFont()
{
    const CDrawCell* pCell = FirstSelected(*this);
    return pCell ? pCell->m_logFont : LOGFONT{};
}

void CDrawTable::IsSameFontFace(LOGFONT* plf, BOOL* pbSame)
{
    *pbSame = AllSelected(*this, [&](const CDrawCell& c) {
        return std::strncmp(c.m_logFont.lfFaceName, plf->lfFaceName, LF_FACESIZE) == 0;
    });
}

void CDrawTable::IsSameFontHeight(int* pnHeight, BOOL* pbSame)
{
    *pbSame = AllSelected(*this, [&](const CDrawCell& c) { return c.m_logFont.lfHeight == *pnHeight; });
}

void CDrawTable::GetSelectedCellShading(int* pnPattern, COLORREF* pFore, COLORREF* pBack, BOOL* pbFill)
{
    const CDrawCell* pCell = FirstSelected(*this);
    if (pCell == nullptr)
        return;
    *pnPattern = pCell->m_nFillPattern;
    *pFore = pCell->m_foreColor;
    *pBack = pCell->m_backColor;
    *pbFill = pCell->m_bFill;
}

int CDrawTable::GetSelectedCellPattern()
{
    const CDrawCell* pCell = FirstSelected(*this);
    return pCell ? pCell->m_nFillPattern : 0;
}

void CDrawTable::IsSamePattern(int* pnPattern, BOOL* pbSame)
{
    *pbSame = AllSelected(*this, [&](const CDrawCell& c) { return c.m_nFillPattern == *pnPattern; });
}

// ---- Row heights --------------------------------------------------------------------------

BOOL CDrawTable::IsRowClearToLeft(CRect rect)
{
    const CSpan c = SpanOf(rect);
    const CSpan t = SpanOf(m_position);
    CPoint p(c.xmin - 1, c.ymin + 1);
    // Each step passes the cell just met, so the walk ends within the cell count.
    for (INT_PTR nSteps = 0; nSteps <= GetCellCount(); ++nSteps) {
        if (p.x < t.xmin)
            return TRUE;
        const CDrawCell* pFound = nullptr;
        for (INT_PTR i = 0; i < GetCellCount() && pFound == nullptr; ++i) {
            if (Contains(GetCell(i)->m_rect, p))
                pFound = GetCell(i);
        }
        if (pFound == nullptr)
            return TRUE;
        const CSpan k = SpanOf(pFound->m_rect);
        if (k.ymin != c.ymin || k.ymax != c.ymax)
            return FALSE;
        p = CPoint(k.xmin - 1, k.ymin + 1);
    }
    return TRUE;
}

BOOL CDrawTable::IsRowClearToRight(CRect rect)
{
    const CSpan c = SpanOf(rect);
    const CSpan t = SpanOf(m_position);
    CPoint p(c.xmax + 1, c.ymin + 1);
    for (INT_PTR nSteps = 0; nSteps <= GetCellCount(); ++nSteps) {
        if (p.x > t.xmax)
            return TRUE;
        const CDrawCell* pFound = nullptr;
        for (INT_PTR i = 0; i < GetCellCount() && pFound == nullptr; ++i) {
            if (Contains(GetCell(i)->m_rect, p))
                pFound = GetCell(i);
        }
        if (pFound == nullptr)
            return TRUE;
        const CSpan k = SpanOf(pFound->m_rect);
        if (k.ymin != c.ymin || k.ymax != c.ymax)
            return FALSE;
        p = CPoint(k.xmax + 1, k.ymin + 1);
    }
    return TRUE;
}

namespace {

// One representative cell per distinct upper edge among the selected cells, highest first.
std::vector<CDrawCell*> SelectedRows(const CDrawTable& table)
{
    std::vector<CDrawCell*> selected;
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        if (table.GetCell(i)->m_bSelected)
            selected.push_back(table.GetCell(i));
    }
    std::stable_sort(selected.begin(), selected.end(), [](const CDrawCell* a, const CDrawCell* b) {
        return a->m_rect.bottom > b->m_rect.bottom;
    });
    std::vector<CDrawCell*> rows;
    for (CDrawCell* pCell : selected) {
        if (rows.empty() || rows.back()->m_rect.bottom != pCell->m_rect.bottom)
            rows.push_back(pCell);
    }
    return rows;
}

} // namespace

int CDrawTable::CountSelectedRows()
{
    return static_cast<int>(SelectedRows(*this).size());
}

BOOL CDrawTable::ApplyRowHeights(IDrawingView* pView, int nChoice)
{
    const std::vector<CDrawCell*> rows = SelectedRows(*this);
    if (rows.size() < 2)
        return TRUE;
    long long nSum = 0;
    int nLowest = 0, nHighest = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const CRect& r = rows[i]->m_rect;
        if (!IsRowClearToLeft(r) || !IsRowClearToRight(r)) {
            AfxMessageBox("選択範囲では処理を実行できません。"_sj);
            return FALSE;
        }
        const int h = std::abs(r.bottom - r.top);
        nLowest = i == 0 ? h : std::min(nLowest, h);
        nHighest = i == 0 ? h : std::max(nHighest, h);
        nSum += h;
    }
    const int nTarget = nChoice == rowHeightLowest ? nLowest
                        : nChoice == rowHeightHighest
                            ? nHighest
                            : static_cast<int>(nSum / static_cast<long long>(rows.size()));
    InvalidateIn(pView);
    for (CDrawCell* pRow : rows) {
        // Earlier rows may have moved this one: its edges are read now.
        const int nRowMin = pRow->m_rect.top, nRowMax = pRow->m_rect.bottom;
        const int nDelta = std::abs(nRowMax - nRowMin) - nTarget;
        for (INT_PTR i = 0; i < GetCellCount(); ++i) {
            CRect& c = GetCell(i)->m_rect;
            if (c.top == nRowMin && c.bottom == nRowMax) {
                c.top += nDelta;
            } else if (c.top < nRowMin && c.bottom < nRowMax) {
                c.top += nDelta;
                c.bottom += nDelta;
            }
        }
        m_position.top += nDelta;
    }
    InvalidateIn(pView);
    MarkModified();
    return TRUE;
}

void CDrawTable::SetHeight(IDrawingView* pView, int nHeight)
{
    (void)nHeight;
    if (CountSelectedRows() < 2)
        return;
    CRowHeightDialog dlg;
    if (dlg.DoModal() != IDOK)
        return;
    ApplyRowHeights(pView, dlg.m_nChoice);
}
