// The table in the layout editor: drawing at the view's zoom with the cell selection and
// the ruled-line tools' feedback, the handles and hit test, the cell selection, the cell
// tool tip, and splitting and joining cells along a ruled line.
//
// Under the table convention the left field holds the larger x and the bottom field the
// larger y, so below xmin is a rectangle's right field, xmax its left, ymin its top and
// ymax its bottom.
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawingDoc.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/drawing/IDrawingView.h"
#include "layout/drawing/LineStyles.h"
#include "platform/ui/controls/CToolTipCtrl.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace {

int XMin(const CRect& r)
{
    return r.right;
}
int XMax(const CRect& r)
{
    return r.left;
}
int YMin(const CRect& r)
{
    return r.top;
}
int YMax(const CRect& r)
{
    return r.bottom;
}

bool InsideYUp(const CRect& rect, CPoint point)
{
    const CRect n = NormalizedRect(rect);
    return point.x >= n.left && point.x < n.right && point.y > n.top && point.y <= n.bottom;
}

// One font per distinct LOGFONT within one paint: a large table uses few fonts.
// The text metrics are read once per font, when it is first selected.
class CFontCache {
public:
    struct CEntry {
        std::unique_ptr<CFont> pFont;
        TEXTMETRIC tm{};
        bool bMeasured = false;
    };
    CEntry* Get(const LOGFONT& lf)
    {
        std::string key(reinterpret_cast<const char*>(&lf), sizeof(LOGFONT));
        auto it = m_fonts.find(key);
        if (it == m_fonts.end()) {
            CEntry entry;
            entry.pFont = std::make_unique<CFont>();
            if (!entry.pFont->CreateFontIndirect(&lf))
                entry.pFont.reset();
            it = m_fonts.emplace(std::move(key), std::move(entry)).first;
        }
        return it->second.pFont ? &it->second : nullptr;
    }

private:
    std::map<std::string, CEntry> m_fonts;
};

} // namespace

// ---- Drawing ------------------------------------------------------------------------------

// The edges of each cell the lines were joined from, from the table's corner, and the
// lines joined.
struct CDrawTable::CJoinedRules {
    struct CEdges {
        CRect rect;
        int styles[CDrawCell::EDGE_COUNT];
        COLORREF colors[CDrawCell::EDGE_COUNT];
    };
    struct CLine {
        CPoint start, end;
        int style;
        COLORREF color;
    };
    std::vector<CEdges> cells;
    std::vector<CLine> horizontal, vertical;
};

namespace {

bool SameEdges(const CDrawTable::CJoinedRules::CEdges& was, const CDrawCell* c, CPoint corner)
{
    CRect r = c->m_rect;
    r.OffsetRect(-corner.x, -corner.y);
    if (was.rect != r)
        return false;
    for (int e = 0; e < CDrawCell::EDGE_COUNT; ++e)
        if (was.styles[e] != c->m_nEdgeStyle[e] || was.colors[e] != c->m_clrEdge[e])
            return false;
    return true;
}

} // namespace

const CDrawTable::CJoinedRules& CDrawTable::JoinedRules()
{
    const CPoint corner(m_position.left, m_position.top);
    const INT_PTR nCells = GetCellCount();
    if (m_pJoinedRules && m_pJoinedRules->cells.size() == static_cast<size_t>(nCells)) {
        bool bSame = true;
        for (INT_PTR i = 0; i < nCells && bSame; ++i)
            bSame = SameEdges(m_pJoinedRules->cells[static_cast<size_t>(i)], GetCell(i), corner);
        if (bSame)
            return *m_pJoinedRules;
    }
    auto rules = std::make_shared<CJoinedRules>();
    rules->cells.reserve(static_cast<size_t>(nCells));
    auto add = [](CObArray& list, CPoint s, CPoint e, int nStyle, COLORREF color) {
        if (nStyle < 1)
            return;
        auto* p = new CRuleSegment;
        p->m_ptStart = s;
        p->m_ptEnd = e;
        p->m_nStyle = nStyle;
        p->m_color = color;
        list.Add(p);
    };
    for (INT_PTR i = 0; i < nCells; ++i) {
        const CDrawCell* c = GetCell(i);
        CJoinedRules::CEdges edges;
        edges.rect = c->m_rect;
        edges.rect.OffsetRect(-corner.x, -corner.y);
        std::copy(std::begin(c->m_nEdgeStyle), std::end(c->m_nEdgeStyle), edges.styles);
        std::copy(std::begin(c->m_clrEdge), std::end(c->m_clrEdge), edges.colors);
        rules->cells.push_back(edges);
        AddCellEdges(add, m_hRules, m_vRules, edges.rect, c->m_nEdgeStyle, c->m_clrEdge);
    }
    JoinRuleSegments(m_hRules, true);
    JoinRuleSegments(m_vRules, false);
    for (auto [pList, pLines] :
         {std::pair{&m_hRules, &rules->horizontal}, std::pair{&m_vRules, &rules->vertical}}) {
        pLines->reserve(static_cast<size_t>(pList->GetSize()));
        for (INT_PTR i = 0; i < pList->GetSize(); ++i) {
            auto* p = static_cast<CRuleSegment*>(pList->GetAt(i));
            pLines->push_back({p->m_ptStart, p->m_ptEnd, p->m_nStyle, p->m_color});
            delete p;
        }
        pList->RemoveAll();
    }
    m_pJoinedRules = std::move(rules);
    return *m_pJoinedRules;
}

void CDrawTable::Draw(CDC* pDC, IDrawingView* pView)
{
    if (!m_bVisible)
        return;
    if (pView == nullptr) {
        // Unzoomed: as on paper, without field values.
        DrawCellShading(pDC);
        DrawRules(pDC);
        m_bVisible = FALSE;
        return;
    }
    CRect area = NormalizedRect(pView->UnzoomRect(pView->GetLastClip()));
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        CDrawCell* c = GetCell(i);
        c->m_bVisible = RectsOverlap(NormalizedRect(c->m_rect), area);
    }
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);

    // Shading.
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        CDrawCell* c = GetCell(i);
        if (c->m_bVisible && c->m_bFill)
            FillShading(pDC, pView->ZoomRect(c->m_rect), c->m_nFillPattern, c->m_foreColor, c->m_backColor);
    }

    // Ruled lines: those of the whole table joined by line once and kept while no edge
    // changes, so that a repaint of part of the table draws its lines as a full one does;
    // only those reaching into the area are zoomed and drawn.
    const CJoinedRules& rules = JoinedRules();
    const CPoint corner(m_position.left, m_position.top);
    // The widest line style reaches 8 units beside its line, at any zoom.
    CRect reach = NormalizedRect(pView->GetLastClip());
    reach.InflateRect(16, 16);
    for (bool bGap : {false, true})
        for (const std::vector<CJoinedRules::CLine>* pLines : {&rules.horizontal, &rules.vertical})
            for (const CJoinedRules::CLine& line : *pLines) {
                const CPoint s = pView->ZoomPoint(CPoint(line.start.x + corner.x, line.start.y + corner.y));
                const CPoint e = pView->ZoomPoint(CPoint(line.end.x + corner.x, line.end.y + corner.y));
                if (std::max(s.x, e.x) < reach.left || std::min(s.x, e.x) > reach.right ||
                    std::max(s.y, e.y) < reach.top || std::min(s.y, e.y) > reach.bottom)
                    continue;
                if (bGap)
                    ClearDoubleGap(pDC, s.x, s.y, e.x, e.y, line.style);
                else
                    DrawRuleLine(pDC, s.x, s.y, e.x, e.y, line.style, line.color);
            }

    // Texts.
    CFontCache fonts;
    CFont* pOldFont = nullptr;
    bool bFontSelected = false;
    CFontCache::CEntry* pCurrent = nullptr;
    COLORREF currentColor = CLR_INVALID;
    const int nMargin = pView->ZoomLength(5);
    const LOGFONT* pLastFont = nullptr;
    CFontCache::CEntry* pLastEntry = nullptr;
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        CDrawCell* c = GetCell(i);
        if (!c->m_bVisible)
            continue;
        const CString shown = GetFieldDisplayText(c->m_strText);
        if (shown.IsEmpty())
            continue;
        // Neighbouring cells mostly share their font: the last one is looked up only once.
        if (pLastFont == nullptr || std::memcmp(pLastFont, &c->m_logFont, sizeof(LOGFONT)) != 0) {
            LOGFONT lf = c->m_logFont;
            lf.lfHeight = pView->ZoomLength(lf.lfHeight);
            lf.lfWidth = pView->ZoomLength(lf.lfWidth);
            pLastEntry = fonts.Get(lf);
            pLastFont = &c->m_logFont;
        }
        CFontCache::CEntry* pEntry = pLastEntry;
        if (pEntry == nullptr)
            continue;
        if (pEntry != pCurrent) {
            CFont* pPrev = pDC->SelectObject(pEntry->pFont.get());
            if (!bFontSelected) {
                pOldFont = pPrev;
                bFontSelected = true;
            }
            if (!pEntry->bMeasured) {
                pDC->GetTextMetrics(&pEntry->tm);
                pEntry->bMeasured = true;
            }
            pCurrent = pEntry;
        }
        if (c->m_clrText != currentColor) {
            pDC->SetTextColor(c->m_clrText);
            currentColor = c->m_clrText;
        }
        const TEXTMETRIC& tm = pEntry->tm;
        CRect r = NormalizedRect(pView->ZoomRect(c->m_rect));
        r.left += nMargin;
        r.right -= nMargin;
        const int y = (r.top + r.bottom) / 2 + tm.tmHeight / 2;
        // A text that surely fits its cell (every byte as wide as the widest character, the
        // line no higher than the cell) needs no clipping; clipping each of thousands of
        // cells is what a large table's repaint would spend most of its time on.
        const bool bFits = static_cast<long long>(shown.GetLength()) * tm.tmMaxCharWidth <= r.Width() &&
                           tm.tmHeight <= r.Height();
        const UINT nClip = bFits ? 0 : ETO_CLIPPED;
        const CRect* pClip = bFits ? nullptr : &r;
        switch (c->m_nAlign) {
        case CTextAttributes::alignLeft:
            pDC->ExtTextOut(r.left, y, nClip, pClip, shown, nullptr);
            break;
        case CTextAttributes::alignCenter:
            pDC->SetTextAlign(TA_CENTER);
            pDC->ExtTextOut(r.left + r.Width() / 2, y, nClip, pClip, shown, nullptr);
            pDC->SetTextAlign(0);
            break;
        case CTextAttributes::alignRight:
            pDC->SetTextAlign(TA_RIGHT);
            pDC->ExtTextOut(r.right, y, nClip, pClip, shown, nullptr);
            pDC->SetTextAlign(0);
            break;
        default:
            break;
        }
    }
    if (bFontSelected && pOldFont)
        pDC->SelectObject(pOldFont);

    // The selected cells, inverted.
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        CDrawCell* c = GetCell(i);
        if (c->m_bSelected && c->m_bVisible) {
            const CRect z = pView->ZoomRect(c->m_rect);
            pDC->PatBlt(z.left, z.top, z.Width(), z.Height(), DSTINVERT);
        }
        c->m_bVisible = FALSE;
    }
    pDC->SetBkMode(nOldMode);

    // The ruled-line tools' feedback.
    const CPoint s = pView->ZoomPoint(m_ptLineStart);
    const CPoint e = pView->ZoomPoint(m_ptLineEnd);
    if (m_bShowNewLine) {
        CPen pen(PS_DOT, 1, RGB(0, 0, 0));
        CPen* pOld = pDC->SelectObject(&pen);
        pDC->MoveTo(s);
        pDC->LineTo(e);
        pDC->SelectObject(pOld);
    }
    if (m_bShowPickedLine) {
        CPen pen(PS_SOLID, 3, RGB(128, 128, 255));
        CPen* pOld = pDC->SelectObject(&pen);
        pDC->MoveTo(s);
        pDC->LineTo(e);
        pDC->SelectObject(pOld);
    }
    m_bVisible = FALSE;
}

// ---- Hit test -----------------------------------------------------------------------------

int CDrawTable::HitTest(CPoint point, IDrawingView* pView, BOOL bSelected)
{
    if (pView == nullptr)
        return 0;
    const CRect& t = m_position;
    if (!bSelected) {
        const CRect z = pView->ZoomRect(t);
        return point.x >= z.left && point.x < z.right && point.y > z.bottom && point.y <= z.top ? 1 : 0;
    }
    auto hit = [&](const CRect& strip) { return InsideYUp(pView->ZoomRect(strip), point); };
    // The row strip beside the left-hand side, the column strip above the upper side.
    if (hit(CRect(t.right - 15, t.top, t.right - 5, t.bottom)))
        return handleRowStrip;
    if (hit(CRect(t.left, t.bottom + 5, t.right, t.bottom + 15)))
        return handleColumnStrip;
    for (int n = 1; n <= 8; ++n)
        if (InsideYUp(pView->ZoomRect(GetHandleRect(n, pView)), point))
            return n;
    if (hit(CRect(t.left, t.top, t.left + 5, t.bottom)))
        return handleMoveLeft;
    if (hit(CRect(t.right - 5, t.top, t.right, t.bottom)))
        return handleMoveRight;
    if (hit(CRect(t.left, t.top - 5, t.right, t.top)))
        return handleMoveTop;
    if (hit(CRect(t.left, t.bottom, t.right, t.bottom + 5)))
        return handleMoveBottom;
    for (INT_PTR k = 0; k < GetCellCount(); ++k) {
        const CRect& c = GetCell(k)->m_rect;
        for (int e = 0; e < 4; ++e) {
            CRect strip;
            switch (e) {
            case 0: // left field (xmax); inside the table lies toward smaller x
                m_ptFixed.x = c.left;
                strip = CRect(c.left == t.left ? c.left - 5 : c.left - 5, c.top,
                              c.left == t.left ? c.left : c.left + 5, c.bottom);
                break;
            case 1: // top field (ymin); inside lies upward
                m_ptFixed.y = c.top;
                strip = CRect(c.left, c.top == t.top ? c.top : c.top - 5, c.right, c.top + 5);
                break;
            case 2: // right field (xmin); inside lies toward larger x
                m_ptFixed.x = c.right;
                strip = CRect(c.right == t.right ? c.right : c.right - 5, c.top, c.right + 5, c.bottom);
                break;
            default: // bottom field (ymax); inside lies downward
                m_ptFixed.y = c.bottom;
                strip = CRect(c.left, c.bottom - 5, c.right, c.bottom == t.bottom ? c.bottom : c.bottom + 5);
                break;
            }
            if (hit(strip))
                return handleFirstCellEdge + static_cast<int>(4 * k) + e;
        }
    }
    return 0;
}

BOOL CDrawTable::ContainsPoint(int x, int y)
{
    return NormalizedRect(m_position).PtInRect(CPoint(x, y));
}

// ---- Cell selection -----------------------------------------------------------------------

void CDrawTable::SelectCellByRect(const CRect& rect, IDrawingView* pView)
{
    InvalidateIn(pView);
    ClearCellSelection();
    AddCellToSelection(rect, pView);
}

void CDrawTable::AddCellToSelection(const CRect& rect, IDrawingView* pView)
{
    InvalidateIn(pView);
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        if (GetCell(i)->m_rect == rect) {
            GetCell(i)->m_bSelected = TRUE;
            break;
        }
    }
    InvalidateIn(pView);
}

void CDrawTable::SelectCellsInRect(int left, int top, int right, int bottom, IDrawingView* pView)
{
    InvalidateIn(pView);
    ClearCellSelection();
    AddCellsInRect(left, top, right, bottom, pView);
}

void CDrawTable::AddCellsInRect(int left, int top, int right, int bottom, IDrawingView* pView)
{
    InvalidateIn(pView);
    const CRect area = NormalizedRect(CRect(left, top, right, bottom));
    for (INT_PTR i = 0; i < GetCellCount(); ++i)
        if (RectsOverlap(NormalizedRect(GetCell(i)->m_rect), area))
            GetCell(i)->m_bSelected = TRUE;
    InvalidateIn(pView);
}

void CDrawTable::SelectRow(int y, int, IDrawingView* pView)
{
    InvalidateIn(pView);
    ClearCellSelection();
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        const CRect& r = GetCell(i)->m_rect;
        if (YMin(r) < y && y < YMax(r))
            GetCell(i)->m_bSelected = TRUE;
    }
    InvalidateIn(pView);
}

void CDrawTable::SelectColumn(int x, int, IDrawingView* pView)
{
    InvalidateIn(pView);
    ClearCellSelection();
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        const CRect& r = GetCell(i)->m_rect;
        if (XMin(r) < x && x < XMax(r))
            GetCell(i)->m_bSelected = TRUE;
    }
    InvalidateIn(pView);
}

CRect CDrawTable::GetFirstSelectedCellRect()
{
    for (INT_PTR i = 0; i < GetCellCount(); ++i)
        if (GetCell(i)->m_bSelected)
            return GetCell(i)->m_rect;
    return CRect(0, 0, 0, 0);
}

void CDrawTable::UpdateCellToolTip(int x, int y, IDrawingView* pView)
{
    if (pView == nullptr)
        return;
    CToolTipCtrl& tip = pView->GetToolTip();
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        if (!NormalizedRect(GetCell(i)->m_rect).PtInRect(CPoint(x, y)))
            continue;
        const int nIndex = static_cast<int>(i);
        if (CDrawingShared::s_nLastTipCell != nIndex)
            CDrawingShared::s_nLastTipCell = -1;
        if (CDrawingShared::s_nLastTipCell == -1) {
            CDrawingShared::s_nLastTipCell = nIndex;
            tip.UpdateTipText(GetFieldDisplayText(GetCell(i)->m_strText), &pView->GetEditorView());
            tip.Activate(TRUE);
        }
        return;
    }
    CDrawingShared::s_nLastTipCell = -1;
    tip.UpdateTipText("", &pView->GetEditorView());
    tip.Activate(FALSE);
}

// ---- Ruled-line tools ---------------------------------------------------------------------

namespace {

// The extent of a new or picked line along the row (column) of cells of the press point.
void TrackLine(CDrawTable& table, int x0, int y0, int x1, int y1, BOOL bHorizontal, bool bPicked)
{
    const CRect& t = table.m_position;
    const int dx = x0 - x1;
    const int dy = y0 - y1;
    CPoint& s = table.m_ptLineStart;
    CPoint& e = table.m_ptLineEnd;
    // The line starts at the press point until a cell gives it its extent, so nothing of an
    // earlier drag is left in it.
    if (bHorizontal) {
        s = CPoint(x0, bPicked ? table.m_ptFixed.y : y0);
        e.y = s.y;
    } else {
        s = CPoint(bPicked ? table.m_ptFixed.x : x0, y0);
        e.x = s.x;
    }
    if (bHorizontal) {
        if (dx < 0)
            e.x = XMax(t);
        else if (dx > 0)
            e.x = XMin(t);
    } else {
        if (dy < 0)
            e.y = YMax(t);
        else if (dy > 0)
            e.y = YMin(t);
    }
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        const CRect& c = table.GetCell(i)->m_rect;
        if (bHorizontal && YMin(c) < y0 && y0 < YMax(c)) {
            s.y = e.y = bPicked ? table.m_ptFixed.y : y0;
            if (dx < 0) {
                if (XMin(c) <= x0 && x0 <= XMax(c))
                    s.x = XMin(c);
                if (XMin(c) <= x1 && x1 <= XMax(c))
                    e.x = XMax(c);
            } else if (dx > 0) {
                if (XMin(c) <= x0 && x0 <= XMax(c))
                    s.x = XMax(c);
                if (XMin(c) <= x1 && x1 <= XMax(c))
                    e.x = XMin(c);
            }
        } else if (!bHorizontal && XMin(c) < x0 && x0 < XMax(c)) {
            s.x = e.x = bPicked ? table.m_ptFixed.x : x0;
            if (dy < 0) {
                if (YMin(c) <= y0 && y0 <= YMax(c))
                    s.y = YMin(c);
                if (YMin(c) <= y1 && y1 <= YMax(c))
                    e.y = YMax(c);
            } else if (dy > 0) {
                if (YMin(c) <= y0 && y0 <= YMax(c))
                    s.y = YMax(c);
                if (YMin(c) <= y1 && y1 <= YMax(c))
                    e.y = YMin(c);
            }
        }
    }
}

void OrderLine(CPoint& s, CPoint& e)
{
    if (s.x > e.x)
        std::swap(s.x, e.x);
    if (s.y > e.y)
        std::swap(s.y, e.y);
}

} // namespace

void CDrawTable::TrackNewLine(int x0, int y0, int x1, int y1, BOOL bHorizontal, IDrawingView* pView)
{
    InvalidateIn(pView);
    m_bShowNewLine = TRUE;
    TrackLine(*this, x0, y0, x1, y1, bHorizontal, false);
    InvalidateIn(pView);
}

void CDrawTable::TrackPickedLine(int x0, int y0, int x1, int y1, BOOL bHorizontal, IDrawingView* pView)
{
    InvalidateIn(pView);
    m_bShowPickedLine = TRUE;
    TrackLine(*this, x0, y0, x1, y1, bHorizontal, true);
    InvalidateIn(pView);
}

void CDrawTable::SplitCells(IDrawingView* pView)
{
    SplitCells(pView, pView ? pView->GetRuleLineStyle() : 1);
}

void CDrawTable::SplitCells(IDrawingView* pView, int nRuleStyle)
{
    InvalidateIn(pView);
    OrderLine(m_ptLineStart, m_ptLineEnd);
    const int x1 = m_ptLineStart.x, y1 = m_ptLineStart.y;
    const int x2 = m_ptLineEnd.x, y2 = m_ptLineEnd.y;
    // A line of no length crosses nothing.
    const bool bPoint = x1 == x2 && y1 == y2;
    const bool bVertical = !bPoint && x1 == x2;
    const bool bHorizontal = !bPoint && y1 == y2;
    int minL = 10000, minR = 10000, minU = 10000, minD = 10000;
    const INT_PTR nBefore = GetCellCount();
    for (INT_PTR i = 0; i < nBefore; ++i) {
        CDrawCell* c = GetCell(i);
        CRect& r = c->m_rect;
        // Strictly inside: a line on a cell's own edge crosses nothing, so no piece of zero
        // width is made and the neighbour on the other side does not grow over it.
        if (bVertical && XMin(r) < x1 && x1 < XMax(r) && y1 <= YMin(r) + 5 && y2 >= YMax(r) - 5) {
            const int s1 = c->m_nEdgeStyle[CDrawCell::edgeRightHand];
            const COLORREF k1 = c->m_clrEdge[CDrawCell::edgeRightHand];
            const int oldXMax = XMax(r);
            r.left = x1; // xmax
            c->m_nEdgeStyle[CDrawCell::edgeRightHand] = nRuleStyle;
            c->m_clrEdge[CDrawCell::edgeRightHand] = 0;
            const int styles[4] = {nRuleStyle, s1, c->m_nEdgeStyle[CDrawCell::edgeUpper],
                                   c->m_nEdgeStyle[CDrawCell::edgeLower]};
            const COLORREF colors[4] = {0, k1, c->m_clrEdge[CDrawCell::edgeUpper],
                                        c->m_clrEdge[CDrawCell::edgeLower]};
            // xmin = x, xmax = old xmax: left field oldXMax, right field x.
            AddCellWithEdges(CRect(oldXMax, YMin(r), x1, YMax(r)), styles, colors, pView);
            minL = std::min(minL, x1 - XMin(r));
            minR = std::min(minR, oldXMax - x1);
        } else if (bHorizontal && YMin(r) < y1 && y1 < YMax(r) && x1 <= XMin(r) + 5 && x2 >= XMax(r) - 5) {
            const int s3 = c->m_nEdgeStyle[CDrawCell::edgeLower];
            const COLORREF k3 = c->m_clrEdge[CDrawCell::edgeLower];
            const int oldYMin = YMin(r);
            r.top = y1; // ymin
            c->m_nEdgeStyle[CDrawCell::edgeLower] = nRuleStyle;
            c->m_clrEdge[CDrawCell::edgeLower] = 0;
            const int styles[4] = {c->m_nEdgeStyle[CDrawCell::edgeLeftHand],
                                   c->m_nEdgeStyle[CDrawCell::edgeRightHand], nRuleStyle, s3};
            const COLORREF colors[4] = {c->m_clrEdge[CDrawCell::edgeLeftHand],
                                        c->m_clrEdge[CDrawCell::edgeRightHand], 0, k3};
            // ymin = old ymin, ymax = y.
            AddCellWithEdges(CRect(XMax(r), oldYMin, XMin(r), y1), styles, colors, pView);
            minU = std::min(minU, YMax(r) - y1);
            minD = std::min(minD, y1 - oldYMin);
        }
    }
    minL = std::min(minL, MIN_CELL_SIZE);
    minR = std::min(minR, MIN_CELL_SIZE);
    minU = std::min(minU, MIN_CELL_SIZE);
    minD = std::min(minD, MIN_CELL_SIZE);
    if (bVertical && (minL < MIN_CELL_SIZE || minR < MIN_CELL_SIZE)) {
        const int x = x1;
        const int a = MIN_CELL_SIZE - minL;
        const int b = MIN_CELL_SIZE - minR;
        m_position.left += a + b; // T.xmax
        for (INT_PTR i = 0; i < GetCellCount(); ++i) {
            CRect& r = GetCell(i)->m_rect;
            const int xmin = XMin(r), xmax = XMax(r);
            int dMin = 0, dMax = 0;
            if (xmax == x)
                dMax += a;
            if (xmin == x) {
                dMin += a;
                dMax += a + b;
            }
            if (x < xmin) {
                dMin += a + b;
                dMax += a + b;
            }
            if (xmin < x && x < xmax)
                dMax += a + b;
            r.right = xmin + dMin;
            r.left = xmax + dMax;
        }
    }
    if (bHorizontal && (minU < MIN_CELL_SIZE || minD < MIN_CELL_SIZE)) {
        const int y = y1;
        const int u = MIN_CELL_SIZE - minU;
        const int d = MIN_CELL_SIZE - minD;
        m_position.top -= u + d; // T.ymin
        for (INT_PTR i = 0; i < GetCellCount(); ++i) {
            CRect& r = GetCell(i)->m_rect;
            const int ymin = YMin(r), ymax = YMax(r);
            int dMin = 0, dMax = 0;
            if (ymin == y)
                dMin -= u;
            if (ymax == y) {
                dMax -= u;
                dMin -= u + d;
            }
            if (ymax < y) {
                dMin -= u + d;
                dMax -= u + d;
            }
            if (ymin < y && y < ymax)
                dMin -= u + d;
            r.top = ymin + dMin;
            r.bottom = ymax + dMax;
        }
    }
    InvalidateIn(pView);
    MarkModified();
    m_bShowNewLine = FALSE;
}

void CDrawTable::JoinCells(IDrawingView* pView)
{
    InvalidateIn(pView);
    OrderLine(m_ptLineStart, m_ptLineEnd);
    const int x1 = m_ptLineStart.x, y1 = m_ptLineStart.y;
    const int x2 = m_ptLineEnd.x, y2 = m_ptLineEnd.y;
    // A picked line of no length names no edge: nothing is joined.
    const bool bPoint = x1 == x2 && y1 == y2;
    std::vector<CRect> toDelete;
    if (!bPoint && x1 == x2) {
        const int x = m_ptFixed.x;
        m_ptLineStart.x = m_ptLineEnd.x = x;
        for (INT_PTR i = 0; i < GetCellCount(); ++i) {
            const CRect ri = GetCell(i)->m_rect;
            if (!(XMin(ri) == x && y1 <= YMin(ri) + 5 && YMax(ri) - 5 <= y2))
                continue;
            for (INT_PTR j = 0; j < GetCellCount(); ++j) {
                if (j == i)
                    continue;
                CRect& rj = GetCell(j)->m_rect;
                if (YMin(rj) == YMin(ri) && YMax(rj) == YMax(ri) && XMax(rj) == XMin(ri)) {
                    rj.left = XMax(ri); // j.xmax = i.xmax
                    toDelete.push_back(ri);
                    break;
                }
            }
        }
    } else if (!bPoint && y1 == y2) {
        const int y = m_ptFixed.y;
        m_ptLineStart.y = m_ptLineEnd.y = y;
        for (INT_PTR i = 0; i < GetCellCount(); ++i) {
            const CRect ri = GetCell(i)->m_rect;
            if (!(YMax(ri) == y && x1 <= XMin(ri) + 5 && XMax(ri) - 5 <= x2))
                continue;
            for (INT_PTR j = 0; j < GetCellCount(); ++j) {
                if (j == i)
                    continue;
                CRect& rj = GetCell(j)->m_rect;
                if (XMin(rj) == XMin(ri) && XMax(rj) == XMax(ri) && YMin(rj) == YMax(ri)) {
                    rj.top = YMin(ri); // j.ymin = i.ymin
                    toDelete.push_back(ri);
                    break;
                }
            }
        }
    }
    for (const CRect& r : toDelete)
        RemoveCell(r, pView);
    InvalidateIn(pView);
    MarkModified();
    m_bShowPickedLine = FALSE;
}
