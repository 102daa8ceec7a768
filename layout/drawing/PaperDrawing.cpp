// Drawing of rectangles, lines, texts and tables on paper (printer and print preview): the
// device context maps document units (0.01 inch) with the y axis up.
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/drawing/FieldTokens.h"
#include "layout/drawing/LineStyles.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>
#include <vector>

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

CRect NormalisedRect(const CRect& r)
{
    CRect n = r;
    n.NormalizeRect();
    return n;
}

// Outputs one line of text in a rectangle less its margins, aligned 0 left, 6 centred,
// 2 right; a right-aligned italic text is not clipped and moves in by nItalicInset.
bool OutputLine(CDC* pDC, const CRect& r, int nAlign, const CString& text, bool bItalic, int nItalicInset)
{
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const int y = (r.top + r.bottom) / 2 + tm.tmHeight / 2;
    switch (nAlign) {
    case CTextAttributes::alignLeft:
        pDC->ExtTextOut(r.left, y, ETO_CLIPPED, &r, text, nullptr);
        return true;
    case CTextAttributes::alignCenter:
        pDC->SetTextAlign(TA_CENTER);
        pDC->ExtTextOut(r.left + r.Width() / 2, y, ETO_CLIPPED, &r, text, nullptr);
        pDC->SetTextAlign(0);
        return true;
    case CTextAttributes::alignRight:
        pDC->SetTextAlign(TA_RIGHT);
        if (bItalic)
            pDC->TextOut(r.right - nItalicInset, y, text);
        else
            pDC->ExtTextOut(r.right, y, ETO_CLIPPED, &r, text, nullptr);
        pDC->SetTextAlign(0);
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- Rectangles and lines -----------------------------------------------------------------

void CDrawObj::DrawEM(CDC*, const CEstimateFieldData*)
{
    m_bVisible = FALSE;
}
void CDrawObj::DrawPM(CDC*, const CPartsFieldData*)
{
    m_bVisible = FALSE;
}

static void DrawRectOnPaper(CDrawRect& obj, CDC* pDC)
{
    if (!obj.m_bVisible)
        return;
    const bool bMono = CPrintSettingsView::Current().nPrintColor != 0;
    COLORREF line = bMono ? kBlack : obj.m_lineColor;
    COLORREF fore = bMono ? kBlack : obj.m_foreColor;
    COLORREF back = bMono ? kWhite : obj.m_backColor;
    const CRect& r = obj.m_position;
    if (obj.m_nShape == CDrawRect::rectangle)
        DrawStyledRect(pDC, r, obj.m_nLineStyle, obj.m_bFill, obj.m_nFillPattern, line, fore, back);
    else
        DrawStyledStraightLine(pDC, r.left, r.top, r.right, r.bottom, obj.m_nLineStyle, line);
    obj.m_bVisible = FALSE;
}

void CDrawRect::DrawEM(CDC* pDC, const CEstimateFieldData*)
{
    DrawRectOnPaper(*this, pDC);
}
void CDrawRect::DrawPM(CDC* pDC, const CPartsFieldData*)
{
    DrawRectOnPaper(*this, pDC);
}

// ---- Texts -------------------------------------------------------------------------------

namespace {

template <class Data, class Expand, class FontOf, class ColorOf>
void DrawTextOnPaper(CDrawText& t, CDC* pDC, const Data*, Expand expand, FontOf fontOf, ColorOf colorOf)
{
    if (!t.m_bVisible)
        return;
    const CPrintSettingsView settings = CPrintSettingsView::Current();
    const bool bMono = settings.nPrintColor != 0;
    COLORREF line = bMono ? kBlack : t.m_lineColor;
    COLORREF fore = bMono ? kBlack : t.m_foreColor;
    COLORREF back = bMono ? kWhite : t.m_backColor;
    COLORREF text = bMono ? kBlack : (settings.nDataColor != 0 ? colorOf() : t.m_clrText);
    DrawStyledRect(pDC, t.m_position, t.m_nLineStyle, t.m_bFill, t.m_nFillPattern, line, fore, back);

    CRect r = NormalisedRect(t.m_position);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF oldText = pDC->SetTextColor(text);
    LOGFONT lf = settings.nDataFont != 0 ? fontOf() : t.m_logFont;
    const bool bHandUnderline = IsWindowsVersion6() && pDC->IsPrinting() && lf.lfUnderline == 1;
    if (bHandUnderline)
        lf.lfUnderline = 0;
    CFont font;
    CFont* pOldFont = font.CreateFontIndirect(&lf) ? pDC->SelectObject(&font) : nullptr;
    CString printed = expand();
    r.left += 5;
    r.right -= 5;
    if (OutputLine(pDC, r, t.m_nAlign, printed, lf.lfItalic != 0, 0) && bHandUnderline)
        t.DrawUnderline(pDC, lf, r, printed, text);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
    pDC->SetTextColor(oldText);
    pDC->SetBkMode(nOldMode);
    t.m_bVisible = FALSE;
}

} // namespace

void CDrawText::DrawEM(CDC* pDC, const CEstimateFieldData* pData)
{
    DrawTextOnPaper(
        *this, pDC, pData, [&] { return ExpandMacrosEM(pData); }, [&] { return GetFieldFontEM(pData); },
        [&] { return GetFieldColorEM(pData); });
}

void CDrawText::DrawPM(CDC* pDC, const CPartsFieldData* pData)
{
    DrawTextOnPaper(
        *this, pDC, pData, [&] { return ExpandMacrosPM(pData); }, [&] { return GetFieldFontPM(pData); },
        [&] { return GetFieldColorPM(pData); });
}

void CDrawText::DrawUnderline(CDC* pDC, const LOGFONT& lf, const CRect& rect, const CString& strText,
                              COLORREF color)
{
    CSize extent = pDC->GetTextExtent(strText);
    CPen pen(PS_SOLID, 1, color);
    CBrush brush(color);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const int mid = (rect.top + rect.bottom) / 2;
    const int y0 = mid - extent.cy / 2;
    int x0 = rect.left, x1 = rect.right;
    switch (m_nAlign) {
    case alignLeft:
        x1 = rect.left + extent.cx;
        break;
    case alignCenter: {
        int c = (rect.left + rect.right) / 2;
        x0 = c - extent.cx / 2;
        x1 = c + extent.cx / 2;
        break;
    }
    case alignRight:
        x0 = rect.right - extent.cx;
        break;
    default:
        break;
    }
    if (lf.lfHeight == -96) {
        pDC->Rectangle(x0, y0, x1, y0 + 2);
    } else if (lf.lfHeight == -48) {
        pDC->Rectangle(x0, y0, x1, y0 + 1);
    } else {
        pDC->MoveTo(x0, y0);
        pDC->LineTo(x1, y0);
    }
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

// ---- Tables ------------------------------------------------------------------------------

void CDrawTable::DrawCellShading(CDC* pDC)
{
    const bool bMono = pDC->IsPrinting() && CPrintSettingsView::Current().nPrintColor != 0;
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        CDrawCell* pCell = GetCell(i);
        if (pCell->m_bVisible && pCell->m_bFill)
            FillShading(pDC, pCell->m_rect, pCell->m_nFillPattern, bMono ? kBlack : pCell->m_foreColor,
                        bMono ? kWhite : pCell->m_backColor);
    }
}

// Joins the collinear segments of one look that overlap or touch: the segments are grouped
// by their line, style and colour and swept in order of their start, so the work grows
// with n log n rather than with every pair.
void JoinRuleSegments(CObArray& list, bool bHorizontal)
{
    struct Span {
        int a, b; // a <= b along the line
    };
    std::map<std::tuple<int, int, COLORREF>, std::vector<Span>> lines;
    std::vector<std::tuple<int, int, COLORREF>> order;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        auto* p = static_cast<CRuleSegment*>(list.GetAt(i));
        int at = bHorizontal ? p->m_ptStart.y : p->m_ptStart.x;
        int s = bHorizontal ? p->m_ptStart.x : p->m_ptStart.y;
        int e = bHorizontal ? p->m_ptEnd.x : p->m_ptEnd.y;
        auto key = std::make_tuple(at, p->m_nStyle, p->m_color);
        auto& spans = lines[key];
        if (spans.empty())
            order.push_back(key);
        spans.push_back({std::min(s, e), std::max(s, e)});
        delete p;
    }
    list.RemoveAll();
    for (const auto& key : order) {
        auto& spans = lines[key];
        std::sort(spans.begin(), spans.end(), [](const Span& x, const Span& y) { return x.a < y.a; });
        std::vector<Span> joined;
        for (const Span& s : spans) {
            if (!joined.empty() && s.a <= joined.back().b)
                joined.back().b = std::max(joined.back().b, s.b);
            else
                joined.push_back(s);
        }
        for (const Span& s : joined) {
            auto* p = new CRuleSegment;
            p->m_nStyle = std::get<1>(key);
            p->m_color = std::get<2>(key);
            // Horizontal segments run from the larger x to the smaller, vertical ones from
            // the smaller y to the larger.
            if (bHorizontal) {
                p->m_ptStart = CPoint(s.b, std::get<0>(key));
                p->m_ptEnd = CPoint(s.a, std::get<0>(key));
            } else {
                p->m_ptStart = CPoint(std::get<0>(key), s.a);
                p->m_ptEnd = CPoint(std::get<0>(key), s.b);
            }
            list.Add(p);
        }
    }
}

void CDrawTable::DrawRules(CDC* pDC)
{
    const bool bMono = pDC->IsPrinting() && CPrintSettingsView::Current().nPrintColor != 0;
    auto add = [&](CObArray& list, CPoint s, CPoint e, int nStyle, COLORREF color) {
        if (nStyle < 1)
            return;
        auto* p = new CRuleSegment;
        p->m_ptStart = s;
        p->m_ptEnd = e;
        p->m_nStyle = nStyle;
        p->m_color = bMono ? kBlack : color;
        list.Add(p);
    };
    for (INT_PTR i = 0; i < GetCellCount(); ++i) {
        const CDrawCell* c = GetCell(i);
        if (!c->m_bVisible)
            continue;
        AddCellEdges(add, m_hRules, m_vRules, c->m_rect, c->m_nEdgeStyle, c->m_clrEdge);
    }
    JoinRuleSegments(m_hRules, true);
    JoinRuleSegments(m_vRules, false);
    for (CObArray* pList : {&m_hRules, &m_vRules})
        for (INT_PTR i = 0; i < pList->GetSize(); ++i) {
            auto* p = static_cast<CRuleSegment*>(pList->GetAt(i));
            DrawRuleLine(pDC, p->m_ptStart.x, p->m_ptStart.y, p->m_ptEnd.x, p->m_ptEnd.y, p->m_nStyle,
                         p->m_color);
        }
    for (CObArray* pList : {&m_hRules, &m_vRules})
        for (INT_PTR i = 0; i < pList->GetSize(); ++i) {
            auto* p = static_cast<CRuleSegment*>(pList->GetAt(i));
            ClearDoubleGap(pDC, p->m_ptStart.x, p->m_ptStart.y, p->m_ptEnd.x, p->m_ptEnd.y, p->m_nStyle);
        }
    for (CObArray* pList : {&m_hRules, &m_vRules}) {
        for (INT_PTR i = 0; i < pList->GetSize(); ++i)
            delete static_cast<CRuleSegment*>(pList->GetAt(i));
        pList->RemoveAll();
    }
}

namespace {

template <class Data, class Expand, class FontOf, class ColorOf>
void DrawTableOnPaper(CDrawTable& table, CDC* pDC, const Data*, Expand expand, FontOf fontOf, ColorOf colorOf)
{
    if (!table.m_bVisible)
        return;
    CRect area;
    pDC->GetClipBox(&area);
    area.NormalizeRect();
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        CDrawCell* c = table.GetCell(i);
        CRect r = NormalisedRect(c->m_rect);
        CRect meet;
        c->m_bVisible = meet.IntersectRect(&r, &area);
    }
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    table.DrawCellShading(pDC);
    table.DrawRules(pDC);
    const CPrintSettingsView settings = CPrintSettingsView::Current();
    const bool bMono = settings.nPrintColor != 0;
    // The cells of a table nearly all share one font: it is made and selected once and kept
    // while the next cell's font is the same, so that the context realises it once per table
    // instead of once per cell. A cell whose font cannot be made is drawn with the context's
    // own font.
    CFont font;
    LOGFONT fontMade{};
    bool bFontMade = false;
    CFont* pOldFont = nullptr;
    for (INT_PTR i = 0; i < table.GetCellCount(); ++i) {
        CDrawCell* c = table.GetCell(i);
        if (!c->m_bVisible)
            continue;
        c->m_bVisible = FALSE;
        CString text = expand(c);
        if (text.IsEmpty())
            continue;
        COLORREF color = bMono ? kBlack : (settings.nDataColor != 0 ? colorOf(c) : c->m_clrText);
        LOGFONT lf = settings.nDataFont != 0 ? fontOf(c) : c->m_logFont;
        if (!bFontMade || std::memcmp(&lf, &fontMade, sizeof lf) != 0) {
            if (pOldFont != nullptr)
                pDC->SelectObject(pOldFont);
            font.DeleteObject();
            bFontMade = font.CreateFontIndirect(&lf) != FALSE;
            fontMade = lf;
            pOldFont = bFontMade ? pDC->SelectObject(&font) : nullptr;
        }
        COLORREF oldColor = pDC->SetTextColor(color);
        CRect r = NormalisedRect(c->m_rect);
        r.left += 5;
        r.right -= 5;
        OutputLine(pDC, r, c->m_nAlign, text, lf.lfItalic != 0, 2);
        pDC->SetTextColor(oldColor);
    }
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
    table.m_bVisible = FALSE;
}

} // namespace

void CDrawTable::DrawEM(CDC* pDC, const CEstimateFieldData* pData)
{
    DrawTableOnPaper(
        *this, pDC, pData, [&](const CDrawCell* c) { return ExpandMacrosEM(c, pData); },
        [&](const CDrawCell* c) { return GetCellFieldFontEM(c, pData); },
        [&](const CDrawCell* c) { return GetCellFieldColorEM(c, pData); });
}

void CDrawTable::DrawPM(CDC* pDC, const CPartsFieldData* pData)
{
    DrawTableOnPaper(
        *this, pDC, pData, [&](const CDrawCell* c) { return ExpandMacrosPM(c, pData); },
        [&](const CDrawCell* c) { return GetCellFieldFontPM(c, pData); },
        [&](const CDrawCell* c) { return GetCellFieldColorPM(c, pData); });
}
