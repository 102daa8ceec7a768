// The estimate grid's display: painting the cells in their row kind's colours and fonts
// (zoomed), numbers by their column's picture, indents and subject numbers, the selection,
// the row-header marks; the window set-up with the bars and the page tabs; the layout
// that follows every zoom and font change; the summary page switch; the jumps.
#include "engine/estimate/CSummaryTable.h"
#include "estimate/CMorvelEMView.h"

#include "app/CEstimationFormFile.h"
#include "app/CJumpBarWnd.h"
#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "app/CShellServices.h"
#include "engine/estimate/CGridRow.h"
#include "estimate/CMorvelEMDoc.h"
#include "grid/CTabWnd.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CPrintInfo.h"
#include "platform/ui/gdi/CClientDC.h"
#include "platform/ui/gdi/CDC.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

// ---------------------------------------------------------------------------------------
// Fonts and colours of the row kinds

namespace {

struct CStyleKeys {
    const char* pszText;
    const char* pszBack;
    int nFont; // CMorvelSettings::RowFont, -1 for the context's font
};

// By CMorvelEMView::styleOther .. styleNonCalc.
const CStyleKeys kStyleKeys[CMorvelEMView::STYLE_COUNT] = {
    {nullptr, nullptr, -1},
    {"Large Project Text", "Large Project Background", CMorvelSettings::fontLarge},
    {"Middle Project Text", "Middle Project Background", CMorvelSettings::fontMiddle},
    {"Small Project Text", "Small Project Background", CMorvelSettings::fontSmall},
    {"Detail Text", "Detail Background", CMorvelSettings::fontDetail},
    {"Discount Text", "Discount Background", CMorvelSettings::fontDiscount},
    {"Kind Text", "Kind Background", CMorvelSettings::fontKind},
    {"Free Text", "Free Background", CMorvelSettings::fontTax},
    {"Step Text", "Step Background", CMorvelSettings::fontStep},
    {"Sum Text", "Sum Background", CMorvelSettings::fontSum},
    {"Classify Text", "Classify Background", CMorvelSettings::fontSort},
    {"Non Calc Text", "Non Calc Background", CMorvelSettings::fontNonCalc},
};

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A number in a numeric column as the column's picture shows it: false for any other text.
bool FormatShownNumber(const CString& strCell, const CEstimateEngine::CColumnInfo& info, CString& strShown)
{
    return CEstimateEngine::ShownNumberText(strCell, info, strShown);
}

bool SameLogFont(const LOGFONT& a, const LOGFONT& b)
{
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
}

} // namespace

// What painting keeps between paints: one zoomed font per colour group (made again only
// when the settings' font or the zoom changed), the colours read at the start of each
// paint, the font of the row-header marks, and the off-screen bitmap.
struct CMorvelEMView::CDisplayCache {
    struct CStyle {
        LOGFONT lfSource = {}; // the settings' font the zoomed font was made from
        int nZoom = 0;
        CFont font;
        int nCharWidthA = -1; // the width of "A" in the font (-1: not measured yet)
        COLORREF clrText = kBlack;
        COLORREF clrBack = kWhite;
    };
    CStyle styles[STYLE_COUNT];
    CFont markFont;
    int nMarkZoom = 0;
    int nMarkRoom = 0; // the width the mark font was fitted to
    CBitmap bitmap;    // the off-screen bitmap, kept while it is large enough
    CSize bitmapSize;
    int nUnitCol = -1; // the unit column of this paint (-1 none)
};

void CMorvelEMView::CDisplayCacheDeleter::operator()(CDisplayCache* p) const
{
    delete p;
}

int CMorvelEMView::GetRowStyle(ERowKind nKind)
{
    if (IsPaintedNonCalculatedKind(nKind))
        return styleNonCalc;
    switch (KindNumber(nKind)) {
    case kindLarge:
    case kindLargeTotal:
    case SummaryKindOf(kindLarge):
    case SummaryKindOf(kindLargeTotal):
        return styleLarge;
    case kindMiddle:
    case kindMiddleTotal:
    case SummaryKindOf(kindMiddle):
    case SummaryKindOf(kindMiddleTotal):
        return styleMiddle;
    case kindSmall:
    case kindSmallTotal:
    case SummaryKindOf(kindSmall):
    case SummaryKindOf(kindSmallTotal):
        return styleSmall;
    case kindDetail:
        return styleDetail;
    case kindDiscount:
    case kindLargeDiscountTotal:
    case kindMiddleDiscountTotal:
    case kindSmallDiscountTotal:
    case kindGrandDiscountTotal:
    case kindKindDiscountTotal:
    case SummaryKindOf(kindLargeDiscountTotal):
    case SummaryKindOf(kindMiddleDiscountTotal):
    case SummaryKindOf(kindSmallDiscountTotal):
    case SummaryKindOf(kindGrandDiscountTotal):
    case SummaryKindOf(kindKindDiscountTotal):
        return styleDiscount;
    case kindKind:
    case kindKindTotal:
    case SummaryKindOf(kindKind):
    case SummaryKindOf(kindKindTotal):
        return styleKind;
    case kindFree:
    case SummaryKindOf(kindFree):
        return styleFree;
    case kindStep:
        return styleStep;
    case kindGrandTotal:
    case SummaryKindOf(kindGrandTotal):
        return styleSum;
    case kindClassify:
    case kindClassify2:
    case kindClassify3:
    case kindClassify4:
        return styleClassify;
    default:
        return styleOther;
    }
}

namespace {

// A colour key of "Color Setting": bPresent tells whether the key holds a colour at all.
COLORREF ReadColorKey(const char* lpszKey, bool& bPresent)
{
    bPresent = false;
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    if (pSettings == nullptr)
        return kBlack;
    const CString strValue = pSettings->GetProfileString("Color Setting", lpszKey, "");
    COLORREF color = kBlack;
    if (strValue.IsEmpty() || !CMorvelSettings::ParseColor(strValue, color))
        return kBlack;
    bPresent = true;
    return color;
}

} // namespace

// Makes the fonts and colours of this paint ready.
static void PrepareStyles(CMorvelEMView::CDisplayCache& cache, int nZoom)
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    bool bDetailPresent = false;
    for (int s = 1; s < CMorvelEMView::STYLE_COUNT; ++s) {
        CMorvelEMView::CDisplayCache::CStyle& style = cache.styles[s];
        bool bTextPresent = false;
        bool bBackPresent = false;
        style.clrText = ReadColorKey(kStyleKeys[s].pszText, bTextPresent);
        style.clrBack = ReadColorKey(kStyleKeys[s].pszBack, bBackPresent);
        if (s == CMorvelEMView::styleDetail)
            bDetailPresent = bTextPresent || bBackPresent;
        if (s == CMorvelEMView::styleNonCalc && style.clrText == kBlack && style.clrBack == kBlack) {
            // Non-calculated rows without colours of their own look like detail rows.
            style.clrText = cache.styles[CMorvelEMView::styleDetail].clrText;
            style.clrBack = cache.styles[CMorvelEMView::styleDetail].clrBack;
            bTextPresent = bBackPresent = bDetailPresent;
        }
        // A group whose colours were never set would be black on black: it is shown black
        // on white, as rows without a style are, so its text stays readable.
        if (!bTextPresent && !bBackPresent) {
            style.clrText = kBlack;
            style.clrBack = kWhite;
        }

        LOGFONT lf = {};
        if (pSettings != nullptr)
            lf = pSettings->m_lfRowFont[kStyleKeys[s].nFont];
        if (style.font.m_hObject != nullptr && style.nZoom == nZoom && SameLogFont(lf, style.lfSource))
            continue;
        style.lfSource = lf;
        style.nZoom = nZoom;
        style.nCharWidthA = -1;
        lf.lfHeight = static_cast<LONG>(lf.lfHeight * (nZoom / 100.0));
        lf.lfWidth = static_cast<LONG>(lf.lfWidth * (nZoom / 100.0));
        style.font.DeleteObject();
        style.font.CreateFontIndirect(&lf);
    }
}

// ---------------------------------------------------------------------------------------
// Repaint

void CMorvelEMView::OnDraw(CDC* pDC)
{
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    if (!m_pDisplayCache)
        m_pDisplayCache.reset(new CDisplayCache);
    CDisplayCache& cache = *m_pDisplayCache;

    // The repaint is drawn off-screen over the clip box and copied out in one piece. The
    // bitmap is kept for the next paint while it is large enough.
    CDC dcMem;
    CDC* pDraw = pDC;
    CBitmap* pOldBitmap = nullptr;
    if (!pDC->IsPrinting() && !rcClip.IsRectEmpty() && dcMem.CreateCompatibleDC(pDC)) {
        if (cache.bitmap.m_hObject == nullptr || cache.bitmapSize.cx < rcClip.Width() ||
            cache.bitmapSize.cy < rcClip.Height()) {
            const CSize size(std::max<LONG>(rcClip.Width(), cache.bitmapSize.cx),
                             std::max<LONG>(rcClip.Height(), cache.bitmapSize.cy));
            cache.bitmap.DeleteObject();
            cache.bitmapSize = CSize(0, 0);
            if (cache.bitmap.CreateCompatibleBitmap(pDC, size.cx, size.cy))
                cache.bitmapSize = size;
        }
        if (cache.bitmap.m_hObject != nullptr) {
            pOldBitmap = dcMem.SelectObject(&cache.bitmap);
            dcMem.OffsetViewportOrg(-rcClip.left, -rcClip.top);
            dcMem.SetBrushOrg(rcClip.left % 8, rcClip.top % 8);
            // The bitmap is drawn where the window needs painting, not over the whole box
            // around it: an edited row near the top and its total further down leave the
            // rows between them alone (the cells outside are skipped, see DrawVisibleCells).
            CRgn rgnArea;
            if (pDC->GetVisibleRgn(&rgnArea) != ERROR &&
                rgnArea.OffsetRgn(-rcClip.left, -rcClip.top) != ERROR)
                dcMem.SelectClipRgn(&rgnArea);
            dcMem.IntersectClipRect(&rcClip);
            pDraw = &dcMem;
        }
    }

    CBrush brWhite(kWhite);
    brWhite.UnrealizeObject();
    pDraw->FillRect(&rcClip, &brWhite);
    DrawVisibleCells(pDraw);

    if (pDraw == &dcMem) {
        pDC->SetViewportOrg(0, 0);
        pDC->SetMapMode(MM_TEXT);
        dcMem.SetViewportOrg(0, 0);
        dcMem.SetWindowOrg(0, 0);
        dcMem.SetMapMode(MM_TEXT);
        pDC->BitBlt(rcClip.left, rcClip.top, rcClip.Width(), rcClip.Height(), &dcMem, 0, 0, SRCCOPY);
        dcMem.SelectObject(pOldBitmap);
    }
}

bool CMorvelEMView::s_bCellPaintNext = false;

void CMorvelEMView::OnPaint()
{
    CMorvelView::OnPaint();
    // The first paint of a pair invalidated the cells it covered; painting them now, before
    // the window is shown again, keeps the cells from blinking empty on every repaint.
    if (s_bCellPaintNext)
        UpdateWindow();
}

void CMorvelEMView::InvalidatePaintedCells(CDC* pDC, const CRect& rcRange, const CRect& rcCells)
{
    // Row by row, what the first paint reached, from its first to its last cell: the second
    // paint then paints those rows and leaves the rows between them alone. A row whose
    // header was reached (its marks are painted with the cells) or whose span starts at the
    // first cell is taken from x = 0.
    const int nFirstRow = std::max<int>(rcRange.top, GetFirstVisibleCell().y);
    const int nLastRow = std::min<int>(rcRange.bottom, GetRowLimit() - 1);
    const int nFirstCol = std::max<int>(rcRange.left, GetFirstVisibleCell().x);
    const int nLastCol = std::min<int>(rcRange.right, GetColumnLimit() - 1);
    bool bAny = false;
    for (int r = nFirstRow; r <= nLastRow; ++r) {
        CRect rcSpan;
        GetCellRangeRect(rcRange.left, r, rcRange.right, r, &rcSpan);
        const CRect rcHeader(0, rcSpan.top, GetRowHeaderWidth(), rcSpan.bottom);
        const bool bHeader = pDC->RectVisible(&rcHeader) != FALSE;
        int nLeft = -1;
        int nRight = -1;
        for (int c = nFirstCol; c <= nLastCol; ++c) {
            CRect rcCell;
            GetCellRangeRect(c, r, c, r, &rcCell);
            if (GetColumnWidth(c) > 0 && pDC->RectVisible(&rcCell)) {
                if (nLeft < 0)
                    nLeft = rcCell.left;
                nRight = rcCell.right;
            }
        }
        if (nLeft < 0 && !bHeader)
            continue;
        rcSpan.left = nLeft < 0 || bHeader || nLeft == GetRowHeaderWidth() ? 0 : nLeft;
        rcSpan.right = nLeft < 0 ? GetRowHeaderWidth() : nRight;
        InvalidateRect(&rcSpan, TRUE);
        bAny = true;
    }
    if (!bAny) {
        // No row reached (the column headers alone): the cells under the area, as a whole.
        CRect rcAll = rcCells;
        if (rcAll.left == GetRowHeaderWidth())
            rcAll.left = 0;
        InvalidateRect(&rcAll, TRUE);
    }
}

void CMorvelEMView::DrawVisibleCells(CDC* pDC)
{
    CRect rcClip;
    if (pDC->GetClipBox(&rcClip) == NULLREGION || rcClip.IsRectEmpty())
        return;
    CRect rcRange;
    GetCellRangeFromRect(rcClip.left, rcClip.top, rcClip.right, rcClip.bottom, &rcRange);

    // First paint of a pair: the headers and grid lines, and the cells it covered are
    // invalidated for the second one. (Printing paints everything at once.)
    if (!pDC->IsPrinting() && !s_bCellPaintNext) {
        CRect rcCells;
        GetCellRangeRect(rcRange.left, rcRange.top, rcRange.right, rcRange.bottom, &rcCells);
        if (rcCells.IsRectEmpty() || rcCells.left > rcCells.right)
            rcCells = rcClip;
        if (m_hWnd != nullptr)
            InvalidatePaintedCells(pDC, rcRange, rcCells);
        s_bCellPaintNext = true;
        CMorvelView::OnDraw(pDC);
        return;
    }
    s_bCellPaintNext = false;

    if (!m_pDisplayCache)
        m_pDisplayCache.reset(new CDisplayCache);
    CDisplayCache& cache = *m_pDisplayCache;
    PrepareStyles(cache, GetZoom());
    const int nUnitCol = FindUnitColumn();
    cache.nUnitCol = GetEstimationForm().GetItem(nUnitCol, CEstimationFormFile::colT) == "1" ? nUnitCol : -1;

    const int nFirstCol = std::max<int>(rcRange.left, GetFirstVisibleCell().x);
    const int nFirstRow = std::max<int>(rcRange.top, GetFirstVisibleCell().y);
    const int nLastCol = std::min<int>(rcRange.right, GetColumnLimit() - 1);
    const int nLastRow = std::min<int>(rcRange.bottom, GetRowLimit() - 1);
    {
        CColumnBatch batch(*this);
        for (int r = nFirstRow; r <= nLastRow; ++r) {
            CRect rcRow;
            GetCellRangeRect(nFirstCol, r, nLastCol, r, &rcRow);
            if (!pDC->RectVisible(&rcRow))
                continue;
            for (int c = nFirstCol; c <= nLastCol; ++c) {
                CRect rcCell;
                GetCellRangeRect(c, r, c, r, &rcCell);
                if (GetColumnWidth(c) > 0 && pDC->RectVisible(&rcCell))
                    DrawCell(r, c, pDC);
            }
        }
    }
    CMorvelView::OnDraw(pDC);

    // The row-header marks: "集" on summary rows, "非" on non-calculated rows, and a red
    // dot on the remembered row of the edit page. They stand left of the row number, which
    // the base view moved to the right of these rows' headers: the mark is made no wider
    // than the room the widest number of a page leaves there.
    const int nRoom = RowHeaderMarkRoom(pDC);
    if (cache.markFont.m_hObject == nullptr || cache.nMarkZoom != GetZoom() || cache.nMarkRoom != nRoom) {
        cache.markFont.DeleteObject();
        cache.markFont.CreatePointFont(GetZoom(), "ＭＳ 明朝"_sj);
        CFont* pOld = pDC->SelectObject(&cache.markFont);
        const int nWidth = pDC->GetTextExtent("非"_sj).cx;
        pDC->SelectObject(pOld);
        if (nWidth > nRoom) {
            LOGFONT lf;
            cache.markFont.GetLogFont(&lf);
            cache.markFont.DeleteObject();
            lf.lfHeight = -std::max(1, nRoom); // a full-width character is as wide as it is high
            lf.lfWidth = 0;
            cache.markFont.CreateFontIndirect(&lf);
        }
        cache.nMarkZoom = GetZoom();
        cache.nMarkRoom = nRoom;
    }
    CFont* pOldFont = pDC->SelectObject(&cache.markFont);
    const COLORREF clrOldText = pDC->GetTextColor();
    const UINT nOldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    TEXTMETRIC tm;
    std::memset(&tm, 0, sizeof tm);
    pDC->GetTextMetrics(&tm);
    const int nMarkTop =
        std::min(-5 + GetRowHeight() / 2, (GetRowHeight() - static_cast<int>(tm.tmHeight)) / 2);
    const int nDot = std::clamp(nRoom, 4, 10);
    static const CString s_strSummaryMark = "集"_sj;
    static const CString s_strNonCalcMark = "非"_sj;
    for (int r = nFirstRow; r <= nLastRow; ++r) {
        const ERowKind nKind = GetRowKind(r);
        const int y = (r - GetFirstVisibleCell().y) * GetRowHeight() + GetHeaderHeight();
        if (IsSummaryKind(nKind)) {
            pDC->SetTextColor(RGB(0, 0, 160));
            pDC->TextOut(ROW_MARK_LEFT, y + nMarkTop, s_strSummaryMark);
        } else if (IsNonCalculatedKind(nKind)) {
            pDC->SetTextColor(RGB(0, 0, 255));
            pDC->TextOut(ROW_MARK_LEFT, y + nMarkTop, s_strNonCalcMark);
        }
        if (r == GetMarkRow() && !IsSummaryPageShown()) {
            CBrush brRed(RGB(255, 0, 0));
            CPen penRed(PS_SOLID, 1, RGB(255, 0, 0));
            CBrush* pOldBrush = pDC->SelectObject(&brRed);
            CPen* pOldPen = pDC->SelectObject(&penRed);
            const int yDot = y + (GetRowHeight() - nDot) / 2;
            pDC->Ellipse(ROW_MARK_LEFT, yDot, ROW_MARK_LEFT + nDot, yDot + nDot);
            pDC->SelectObject(pOldPen);
            pDC->SelectObject(pOldBrush);
        }
    }
    pDC->SetBkMode(nOldMode);
    pDC->SetTextAlign(nOldAlign);
    pDC->SetTextColor(clrOldText);
    pDC->SelectObject(pOldFont);
}

bool CMorvelEMView::HasRowHeaderMark(int nRow) const
{
    const ERowKind nKind = GetRowKind(nRow);
    return IsSummaryKind(nKind) || IsNonCalculatedKind(nKind) ||
           (nRow == GetMarkRow() && !IsSummaryPageShown());
}

int CMorvelEMView::RowHeaderMarkRoom(CDC* pDC)
{
    // The widest number of a page has as many digits as the rows of a page.
    char szWidest[16];
    const int nDigits = std::snprintf(szWidest, sizeof szWidest, "%d", std::max(1, GetRowsPerPage()));
    const std::string strWidest(static_cast<size_t>(std::max(1, nDigits)), '0');
    PrepareHeaderFonts(pDC);
    CFont* pOld = pDC->SelectObject(&GetRowNumberFont());
    const int nNumber = pDC->GetTextExtent(strWidest.c_str(), static_cast<int>(strWidest.size())).cx;
    pDC->SelectObject(pOld);
    return GetRowHeaderWidth() - ROW_MARK_RIGHT_MARGIN - nNumber - 1 - ROW_MARK_LEFT;
}

CString CMorvelEMView::GetShownText(int nRow, int nCol) const
{
    const CString strCell = GetCellText(nRow, nCol);
    CString strShown;
    return FormatShownNumber(strCell, Engine().Columns().Get(nCol), strShown) ? strShown : strCell;
}

void CMorvelEMView::DrawCell(int nRow, int nCol, CDC* pDC)
{
    if (pDC == nullptr || !IsValidRow(nRow) || !IsValidColumn(nCol))
        return;
    if (!m_pDisplayCache) {
        m_pDisplayCache.reset(new CDisplayCache);
        PrepareStyles(*m_pDisplayCache, GetZoom());
        const int nUnitCol = FindUnitColumn();
        m_pDisplayCache->nUnitCol =
            GetEstimationForm().GetItem(nUnitCol, CEstimationFormFile::colT) == "1" ? nUnitCol : -1;
    }
    CDisplayCache& cache = *m_pDisplayCache;

    pDC->SetBkMode(TRANSPARENT);
    const bool bSelecting = GetSelectMode() != selectNone || GetPointerState().nPressOrigin != pressNone;
    if (bSelecting)
        NormalizeCellRange(GetSelection().left, GetSelection().top, GetSelection().right,
                           GetSelection().bottom, &m_rcBlock);

    CRect rcCell;
    GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
    if (rcCell.IsRectEmpty())
        return;

    const CGridRow* pRow = ShownRows().GetRow(nRow);
    const ERowKind nKind = pRow != nullptr ? pRow->GetKind() : kindEmpty;
    CDisplayCache::CStyle& style = cache.styles[GetRowStyle(nKind)];
    const bool bOwnFont = GetRowStyle(nKind) != styleOther && style.font.m_hObject != nullptr;
    CFont* pOldFont = bOwnFont ? pDC->SelectObject(&style.font) : nullptr;

    // The text and where it starts: numbers right-aligned in their column's picture.
    static const CString s_strEmpty;
    const CString& strCell = pRow != nullptr ? pRow->m_strCell[nCol] : s_strEmpty;
    const CColumnInfo& info = Engine().Columns().Get(nCol);
    CString strText;
    int nOffset = 2;
    bool bRightAligned = false;
    if (nCol == cache.nUnitCol && IsHeadingKind(nKind)) {
        // Headings show no unit.
    } else if (info.bNumeric) {
        if (!FormatShownNumber(strCell, info, strText))
            strText = strCell;
        bRightAligned = true;
    } else {
        strText = strCell;
    }
    if (GetModel().GetNumbering().nShown != 0 && nCol == GetModel().GetNumbering().nColumn)
        strText = GetSubjectNoText(nRow, nCol) + strText;
    const int nIndent = pRow != nullptr ? pRow->m_nIndent[nCol] : 0;
    if (nIndent != 0) {
        // The indent is counted in widths of "A" in the cell's font.
        int nWidthA = bOwnFont ? style.nCharWidthA : -1;
        if (nWidthA < 0) {
            nWidthA = pDC->GetTextExtent("A", 1).cx;
            if (bOwnFont)
                style.nCharWidthA = nWidthA;
        }
        nOffset += nIndent * nWidthA;
    }

    // Colours: the selection block shows white on black, except its focus cell, which
    // looks unselected and carries the cursor frame.
    COLORREF clrBack = style.clrBack;
    COLORREF clrText = style.clrText;
    bool bFocusCell = false;
    if (bSelecting && m_rcBlock.left <= nCol && nCol <= m_rcBlock.right && m_rcBlock.top <= nRow &&
        nRow <= m_rcBlock.bottom) {
        const int nFocusCol = GetPointerState().bShiftExtending ? GetSelection().left : GetCurrentCol();
        const int nFocusRow = GetPointerState().bShiftExtending ? GetSelection().top : GetCurrentRow();
        if (nCol == nFocusCol && nRow == nFocusRow) {
            bFocusCell = true;
        } else {
            clrBack = kBlack;
            clrText = kWhite;
        }
    }
    pDC->FillSolidRect(&rcCell, clrBack);
    pDC->SetBkMode(TRANSPARENT);
    if (!strText.IsEmpty()) {
        pDC->SetTextColor(clrText);
        if (bRightAligned) {
            // A number wider than its cell would lose its leading digits to the clip and
            // read as another figure: the cell shows "###" instead, as spreadsheets do.
            const int nRoom = GetColumnWidth(nCol) - 4 + (nOffset - 2);
            if (Engine().Columns().Get(nCol).bNumeric && pDC->GetTextExtent(strText).cx > nRoom) {
                const int cxHash = std::max(1, static_cast<int>(pDC->GetTextExtent("#").cx));
                strText = CString(std::string(static_cast<size_t>(std::max(1, nRoom / cxHash)), '#').c_str());
            }
            // Right-aligned at the column's width less 2 pixels (the text's own width is
            // what the alignment takes off), then moved by the indent like any text.
            const UINT nOldAlign = pDC->SetTextAlign(TA_RIGHT | TA_TOP);
            pDC->ExtTextOut(rcCell.left + GetColumnWidth(nCol) - 2 + (nOffset - 2), rcCell.top + 3,
                            ETO_CLIPPED, &rcCell, strText, nullptr);
            pDC->SetTextAlign(nOldAlign);
        } else {
            const UINT nOldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
            pDC->ExtTextOut(rcCell.left + nOffset, rcCell.top + 3, ETO_CLIPPED, &rcCell, strText, nullptr);
            pDC->SetTextAlign(nOldAlign);
        }
    }
    if (bFocusCell)
        DrawCellCursor(pDC, 1);
    if (pOldFont != nullptr)
        pDC->SelectObject(pOldFont);
}

void CMorvelEMView::RedrawSelectionChange(const CRect& rcOld, const CRect& rcNew)
{
    if (GetSelectMode() == selectNone || m_hWnd == nullptr)
        return;
    CRect u, i;
    if (!GetSelectionChange(rcOld, rcNew, GetColumnLimit() - 1, u, i))
        return;

    CClientDC dc(this);
    if (!m_pDisplayCache)
        m_pDisplayCache.reset(new CDisplayCache);
    PrepareStyles(*m_pDisplayCache, GetZoom());
    {
        CColumnBatch batch(*this);
        for (int r = u.top; r <= u.bottom; ++r) {
            for (int c = u.left; c <= u.right; ++c) {
                const bool bInside = c >= i.left && c <= i.right && r >= i.top && r <= i.bottom;
                if (!bInside && GetColumnWidth(c) > 0)
                    DrawCell(r, c, &dc);
            }
        }
    }

    // The grid lines over the repainted cells.
    const int nRowsPerPage = GetPageRows();
    CPen penThin(PS_SOLID, 1, RGB(128, 128, 128));
    CPen penThick(PS_SOLID, 2, RGB(128, 128, 128));
    CPen* pOldPen = dc.SelectObject(&penThin);
    CRect rcPixels;
    GetCellRangeRect(u.left, u.top, u.right, u.bottom, &rcPixels);
    int x = GetColumnLeft(u.left);
    for (int c = u.left; c <= u.right; ++c) {
        dc.MoveTo(x, rcPixels.top);
        dc.LineTo(x, rcPixels.bottom);
        x += GetColumnWidth(c);
        dc.MoveTo(x, rcPixels.top);
        dc.LineTo(x, rcPixels.bottom);
    }
    for (int r = u.top; r <= u.bottom; ++r) {
        const int y = (r - GetFirstVisibleCell().y) * GetRowHeight() + GetHeaderHeight();
        const int yBottom = y + GetRowHeight();
        const auto line = [&](int yLine) {
            dc.MoveTo(rcPixels.left, yLine);
            dc.LineTo(rcPixels.right, yLine);
        };
        if (r % nRowsPerPage == 0) {
            dc.SelectObject(&penThick);
            line(y - 1);
            line(y + 1);
            dc.SelectObject(&penThin);
        } else {
            line(y);
        }
        if (r % nRowsPerPage == nRowsPerPage - 1) {
            dc.SelectObject(&penThick);
            line(yBottom - 1);
            line(yBottom + 1);
            dc.SelectObject(&penThin);
        } else {
            line(yBottom);
        }
    }
    dc.SelectObject(pOldPen);
}

// ---------------------------------------------------------------------------------------
// Window set-up

BOOL CMorvelEMView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CLIPCHILDREN;
    return CMorvelView::PreCreateWindow(cs);
}

int CMorvelEMView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMorvelView::OnCreate(lpCreateStruct) == -1)
        return -1;
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    if (!CreateGridBars())
        return -1;
    auto* pJumpBar = new CJumpBarWnd;
    SetJumpBar(pJumpBar);
    if (!pJumpBar->Create(this, CRect(0, 0, 50, 50), IDC_JUMP_BAR))
        return -1;
    SetTabWnd(new CTabWnd);
    if (!GetTabWnd()->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(1, 1, 260, 20), this,
                             IDC_TAB_STRIP))
        return -1;
    GetTabWnd()->ShowWindow(SW_SHOW);
    // The strip keeps pointers to its texts: they live as long as the program.
    static const CString s_strEditTab = " 見積編集 "_sj;
    static const CString s_strSummaryTab = " 集計表 "_sj;
    GetTabWnd()->AddTab(s_strEditTab);
    GetTabWnd()->AddTab(s_strSummaryTab);
    SetChildWindowsReady();
    return 0;
}

void CMorvelEMView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC != nullptr && pDC->IsPrinting() && pInfo != nullptr && pInfo->m_bContinuePrinting) {
        // One logical unit is 0.01 inch, y up, (0, 0) the centre of the printable area of
        // the page, as the print road of the layouts places it; without that road, of the
        // device's own printable area.
        if (!CShellServices::PrepareEstimatePrintDC(this, pDC, pInfo)) {
            const int nPixelsX = std::max(1, pDC->GetDeviceCaps(LOGPIXELSX));
            const int nPixelsY = std::max(1, pDC->GetDeviceCaps(LOGPIXELSY));
            const int nWidth = pDC->GetDeviceCaps(HORZRES) * 100 / nPixelsX;
            const int nHeight = pDC->GetDeviceCaps(VERTRES) * 100 / nPixelsY;
            pDC->SetMapMode(MM_ANISOTROPIC);
            pDC->SetViewportExt(nPixelsX, nPixelsY);
            pDC->SetWindowExt(100, -100);
            pDC->SetWindowOrg(-nWidth / 2, nHeight / 2);
        }
    }
    CMorvelView::OnPrepareDC(pDC, pInfo);
}

// ---------------------------------------------------------------------------------------
// Layout

void CMorvelEMView::RecalcLayout()
{
    HideCellEdit();
    if (GetZoom() <= 0)
        SetZoom(100); // a zoom that never came from the user (a damaged file)
    SetBaseHeaderHeight(HEADER_HEIGHT);
    int nMeasured = 0;
    if (m_hWnd != nullptr) {
        CClientDC dc(this);
        if (CMorvelApp* pApp = GetMorvelApp()) {
            nMeasured = pApp->MeasureRowHeight(&dc);
        } else if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent()) {
            // Without the application object (a view made on its own) the same measure
            // over the settings' fonts.
            for (int f = 0; f < CMorvelSettings::ROW_FONT_COUNT; ++f) {
                if (f == CMorvelSettings::fontPart)
                    continue;
                CFont font;
                if (!font.CreateFontIndirect(&pSettings->m_lfRowFont[f]))
                    continue;
                CFont* pOld = dc.SelectObject(&font);
                nMeasured = std::max<int>(nMeasured, dc.GetTextExtent("asd", 3).cy + 4);
                dc.SelectObject(pOld);
            }
        }
    }
    // Fonts too small to measure leave the grid its usual row height.
    SetBaseRowHeight(nMeasured + 4 >= 10 ? nMeasured + 4 : HEADER_HEIGHT);

    ApplyZoomToGeometry();
}

// ---------------------------------------------------------------------------------------
// Summary page

void CMorvelEMView::OnEditPageTab()
{
    HideCellEdit();
    const bool bFromSummary = IsSummaryPageShown();
    SetSummaryPageShown(false);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    // Back from the summary page, the cursor returns to where it was; a click on the tab
    // of the page already shown leaves it where it is.
    if (bFromSummary)
        ClickCell(m_ptSummaryReturn.x, m_ptSummaryReturn.y);
    UpdateStatusText(statusShow);
}

void CMorvelEMView::OnSummaryPageTab()
{
    // The cell to come back to is the edit page's (the summary page may be rebuilt while
    // it is shown).
    if (!IsSummaryPageShown())
        m_ptSummaryReturn = CPoint(GetCurrentCol(), GetCurrentRow());
    HideCellEdit();
    SetSummaryPageShown(true);

    CSummaryTable table = SummaryTable();
    table.Clear();
    // Each level begins on a page of its own.
    for (const ESummaryLevel eLevel : SUMMARY_LEVELS_IN_ORDER) {
        if (!m_nSummaryLevelOn[SummaryLevelIndex(eLevel)])
            continue;
        BuildSummaryLevel(eLevel);
        table.FillPage(GetPageRows());
    }

    SetSummaryPageShown(true);
    if (m_hWnd != nullptr)
        Invalidate(TRUE);
    ClickCell(0, 0);
    UpdateStatusText(statusShow);
}

// ---------------------------------------------------------------------------------------
// Jumps

void CMorvelEMView::OnJumpFirstColumn()
{
    SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0),
                reinterpret_cast<LPARAM>(GetGridBarHandle(SB_HORZ)));
}

void CMorvelEMView::OnJumpLastColumn()
{
    CRect rcGrid;
    GetGridClientRect(&rcGrid);
    const int nPos = std::max(0, GetTotalWidth() - static_cast<int>(rcGrid.right));
    SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(nPos)),
                reinterpret_cast<LPARAM>(GetGridBarHandle(SB_HORZ)));
    SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(GetGridBarHandle(SB_HORZ)));
}

void CMorvelEMView::OnJumpFirstRow()
{
    SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0),
                reinterpret_cast<LPARAM>(GetGridBarHandle(SB_VERT)));
}

void CMorvelEMView::OnJumpLastRow()
{
    const int nPos = std::max(0, GetUsedRows() - 3);
    SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(nPos)),
                reinterpret_cast<LPARAM>(GetGridBarHandle(SB_VERT)));
}

void CMorvelEMView::CtrlArrowJump(ECtrlJump jump)
{
    // An open edit is dropped, not committed: the editor gets its starting text back.
    if (m_nEditState == editTyping || m_nEditState == editOpened) {
        if (m_bCellEditExists)
            m_wndCellEdit.SetWindowText(Engine().GetEditStartText());
        m_nEditState = editClosed;
    }
    HideCellEdit();
    switch (jump) {
    case ECtrlJump::up:
        MoveToFirstRow();
        break;
    case ECtrlJump::down:
        MoveToLastRow();
        break;
    case ECtrlJump::left:
        MoveToFirstColumn();
        break;
    case ECtrlJump::right:
        MoveToLastColumn();
        break;
    }
    InvalidateCells(GetCurrentCol(), GetCurrentRow(), GetCurrentCol(), GetCurrentRow());
    if (m_hWnd != nullptr)
        UpdateWindow();
}

void CMorvelEMView::OnCtrlUp()
{
    CtrlArrowJump(ECtrlJump::up);
}

void CMorvelEMView::OnCtrlDown()
{
    CtrlArrowJump(ECtrlJump::down);
}

void CMorvelEMView::OnCtrlLeft()
{
    CtrlArrowJump(ECtrlJump::left);
}

void CMorvelEMView::OnCtrlRight()
{
    CtrlArrowJump(ECtrlJump::right);
}

// ---------------------------------------------------------------------------------------
// Wheel

BOOL CMorvelEMView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (zDelta != 0) {
        // Away from the user scrolls up. A fast wheel's large step still moves one line.
        const bool bPage = (nFlags & MK_SHIFT) != 0;
        const UINT nCode = zDelta > 0 ? (bPage ? SB_PAGEUP : SB_LINEUP) : (bPage ? SB_PAGEDOWN : SB_LINEDOWN);
        SendMessage(WM_VSCROLL, MAKEWPARAM(static_cast<WORD>(nCode), 0),
                    reinterpret_cast<LPARAM>(GetGridBarHandle(SB_VERT)));
    }
    return CMorvelView::OnMouseWheel(nFlags, zDelta, pt);
}
