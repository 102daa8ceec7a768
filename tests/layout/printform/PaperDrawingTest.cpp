// Line styles, shading and table rules drawn on a memory context mapped as a 300 dpi
// printer maps a page (0.01 inch a unit, y up), checked pixel by pixel.
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/drawing/LineStyles.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A 300 dpi page of 2 x 2 inches; logical (0, 0) at the centre, y up.
class CPage300 {
public:
    CPage300()
    {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, 600, 600);
        m_pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 600, 600, kWhite);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetViewportExt(300, 300);
        dc.SetWindowExt(100, -100);
        dc.SetWindowOrg(-100, 100);
    }
    ~CPage300() { dc.SelectObject(m_pOld); }
    // Back to device pixels for reading.
    void Device()
    {
        dc.SetMapMode(MM_TEXT);
        dc.SetWindowOrg(0, 0);
        dc.SetViewportOrg(0, 0);
    }
    // Device rows of column x that are not white, as runs [first, last].
    std::vector<std::pair<int, int>> RunsInColumn(int x)
    {
        Device();
        std::vector<std::pair<int, int>> runs;
        for (int y = 0; y < 600; ++y) {
            if (dc.GetPixel(x, y) == kWhite)
                continue;
            if (!runs.empty() && runs.back().second == y - 1)
                runs.back().second = y;
            else
                runs.push_back({y, y});
        }
        return runs;
    }
    int Width(const std::pair<int, int>& run) const { return run.second - run.first + 1; }
    CDC dc;
    CBitmap bitmap;

private:
    CBitmap* m_pOld = nullptr;
};

TEST(PaperLines, SolidAndDoubleStylesHaveTheirWidthsAt300Dpi)
{
    // Pen widths in 0.01 inch: 6 units is 18 pixels, 8 units 24 pixels.
    const std::pair<int, int> solid[] = {{5, 18}, {6, 24}};
    for (auto [nStyle, nPixels] : solid) {
        CPage300 page;
        DrawRuleLine(&page.dc, -50, 0, 50, 0, nStyle, kBlack);
        auto runs = page.RunsInColumn(300);
        ASSERT_EQ(runs.size(), 1u) << nStyle;
        EXPECT_NEAR(page.Width(runs[0]), nPixels, 1) << nStyle;
    }
    // Double styles: two strokes of 1, 2 or 3 units either side of the line and the white
    // gap between them.
    for (int nStyle : {7, 8, 9}) {
        const int d = nStyle - 6;
        CPage300 page;
        DrawRuleLine(&page.dc, -50, 0, 50, 0, nStyle, kBlack);
        ClearDoubleGap(&page.dc, -50, 0, 50, 0, nStyle);
        auto runs = page.RunsInColumn(300);
        ASSERT_EQ(runs.size(), 2u) << nStyle;
        EXPECT_NEAR(page.Width(runs[0]), 3 * d, 1) << nStyle;
        EXPECT_NEAR(page.Width(runs[1]), 3 * d, 1) << nStyle;
        EXPECT_NEAR(runs[1].first - runs[0].second - 1, 3 * d, 2) << "the white gap of style " << nStyle;
    }
    // A line that crosses a double line's gap is wiped there.
    CPage300 page;
    DrawRuleLine(&page.dc, 0, 50, 0, -50, 1, kBlack);
    DrawRuleLine(&page.dc, -50, 0, 50, 0, 9, kBlack);
    ClearDoubleGap(&page.dc, -50, 0, 50, 0, 9);
    page.Device();
    EXPECT_EQ(page.dc.GetPixel(300, 300), kWhite);
    EXPECT_NE(page.dc.GetPixel(300, 200), kWhite);
}

TEST(PaperShading, PatternsPaintTheirBitsInForeAndBack)
{
    CPage300 page;
    page.Device();
    const COLORREF fore = RGB(200, 0, 0), back = RGB(0, 0, 200);
    FillShading(&page.dc, CRect(0, 0, 16, 16), 0, fore, back);
    FillShading(&page.dc, CRect(16, 0, 32, 16), 1, fore, back);
    FillShading(&page.dc, CRect(0, 16, 16, 32), 20, fore, back);
    // Without a pen the rectangle's last column and row stay unpainted, as a frame would.
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 15; ++x) {
            ASSERT_EQ(page.dc.GetPixel(x, y), back);
            ASSERT_EQ(page.dc.GetPixel(16 + x, y), fore);
            // Pattern 20 ("濃右下斜線"): the rows 99 CC 66 33, the leftmost pixel the high bit.
            const BYTE rows[] = {0x99, 0xCC, 0x66, 0x33};
            const bool bSet = (rows[(16 + y) % 4] >> (7 - x % 8)) & 1;
            ASSERT_EQ(page.dc.GetPixel(x, 16 + y), bSet ? fore : back) << x << "," << y;
        }
    // Outside the patterns nothing is painted.
    FillShading(&page.dc, CRect(40, 40, 50, 50), 30, fore, back);
    EXPECT_EQ(page.dc.GetPixel(45, 45), kWhite);
    EXPECT_EQ(FillPatternRow(2, 5), 0x40) << "the brush's pattern 2, not the combo sample's";
    EXPECT_EQ(LineStyleWidth(6), 8);
    EXPECT_EQ(LineStyleWidth(9), 9);
}

TEST(PaperTables, SharedEdgesJoinIntoOneSegmentAndAreDrawnOnce)
{
    // Three cells in a row, dotted borders: the shared edges and the top and bottom lines
    // each become one segment, so a dot pattern runs on without doubling.
    CDrawTable table(CRect(0, 0, 300, -100));
    for (int i = 0; i < 3; ++i) {
        CDrawCell* pCell = table.AddCell(CRect(100 * (i + 1), 0, 100 * i, -100));
        for (int e = 0; e < 4; ++e)
            pCell->m_nEdgeStyle[e] = 11;
        pCell->m_bVisible = TRUE;
    }
    // A fourth cell below with another colour keeps its shared edge separate.
    CDrawCell* pOther = table.AddCell(CRect(100, -100, 0, -200));
    for (int e = 0; e < 4; ++e) {
        pOther->m_nEdgeStyle[e] = 11;
        pOther->m_clrEdge[e] = RGB(255, 0, 0);
    }
    pOther->m_bVisible = TRUE;
    CObArray horizontal;
    auto add = [&](int x1, int x2, int y, COLORREF c) {
        auto* p = new CRuleSegment;
        p->m_ptStart = CPoint(x2, y);
        p->m_ptEnd = CPoint(x1, y);
        p->m_nStyle = 11;
        p->m_color = c;
        horizontal.Add(p);
    };
    for (int i = 0; i < 3; ++i) {
        add(100 * i, 100 * (i + 1), 0, 0);
        add(100 * i, 100 * (i + 1), -100, 0);
    }
    add(0, 100, -100, RGB(255, 0, 0));
    add(0, 100, -200, RGB(255, 0, 0));
    JoinRuleSegments(horizontal, true);
    ASSERT_EQ(horizontal.GetSize(), 4);
    auto seg = [&](int i) { return static_cast<CRuleSegment*>(horizontal.GetAt(i)); };
    EXPECT_EQ(seg(0)->m_ptStart, CPoint(300, 0));
    EXPECT_EQ(seg(0)->m_ptEnd, CPoint(0, 0));
    EXPECT_EQ(seg(1)->m_ptStart, CPoint(300, -100));
    EXPECT_EQ(seg(1)->m_ptEnd, CPoint(0, -100));
    EXPECT_EQ(seg(2)->m_color, RGB(255, 0, 0));
    for (INT_PTR i = 0; i < horizontal.GetSize(); ++i)
        delete seg(static_cast<int>(i));
}

TEST(PaperTables, EachCellsTextIsDrawnInItsOwnFontAndTheContextsFontComesBack)
{
    // A run of cells in one large font, one in a small font, and the large font again: the
    // cells after the small one are as tall as those before it.
    CPage300 page;
    CDrawTable table(CRect(-100, 50, 100, -50));
    const int heights[4] = {-40, -40, -12, -40};
    for (int i = 0; i < 4; ++i) {
        CDrawCell* pCell = table.AddCell(CRect(-50 + 50 * i, 50, -100 + 50 * i, -50));
        pCell->m_strText = "HH";
        pCell->m_logFont.lfHeight = heights[i];
        pCell->m_nAlign = CTextAttributes::alignLeft;
        for (int e = 0; e < 4; ++e)
            pCell->m_nEdgeStyle[e] = 0;
    }
    CFont own;
    own.CreatePointFont(90, "MS Gothic", &page.dc);
    CFont* pBefore = page.dc.SelectObject(&own);
    table.m_bVisible = TRUE;
    table.DrawEM(&page.dc, nullptr);
    EXPECT_EQ(page.dc.GetCurrentFont(), &own);
    page.dc.SelectObject(pBefore);

    // The ink's height in each cell's columns (150 device pixels a cell).
    page.Device();
    int ink[4] = {};
    for (int i = 0; i < 4; ++i) {
        int nTop = 600, nBottom = -1;
        for (int x = 150 * i; x < 150 * (i + 1); ++x)
            for (int y = 0; y < 600; ++y)
                if (page.dc.GetPixel(x, y) != kWhite) {
                    nTop = std::min(nTop, y);
                    nBottom = std::max(nBottom, y);
                }
        ink[i] = nBottom - nTop + 1;
    }
    EXPECT_GT(ink[0], 60);
    EXPECT_EQ(ink[1], ink[0]);
    EXPECT_LT(ink[2], ink[0] / 2);
    EXPECT_EQ(ink[3], ink[0]);
}

} // namespace
