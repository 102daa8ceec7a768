// Formatting the selected cells of a table: ruled lines by pattern and neighbourhood,
// shading, fonts, the same-value queries, and making selected rows equally high.
#include "layout/drawing/CDrawTable.h"
#include "tests/layout/drawing/DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Cell of a table made by MakeTable: rows from the bottom, columns from the left.
CDrawCell* At(CDrawTable& t, int nCols, int nRow, int nCol)
{
    return t.GetCell(nRow * nCols + nCol);
}

void Select(CDrawTable& t, int nCols, std::initializer_list<std::pair<int, int>> cells)
{
    t.ClearCellSelection();
    for (auto [r, c] : cells)
        At(t, nCols, r, c)->m_bSelected = TRUE;
}

void ResetEdges(CDrawTable& t)
{
    for (INT_PTR i = 0; i < t.GetCellCount(); ++i) {
        for (int e = 0; e < CDrawCell::EDGE_COUNT; ++e) {
            t.GetCell(i)->m_clrEdge[e] = 0;
            t.GetCell(i)->m_nEdgeStyle[e] = 0;
        }
    }
}

struct Edge {
    COLORREF color;
    int style;
    bool operator==(const Edge& o) const { return color == o.color && style == o.style; }
};

Edge EdgeOf(const CDrawCell* pCell, int e)
{
    return {pCell->m_clrEdge[e], pCell->m_nEdgeStyle[e]};
}

// Colours and styles that tell every argument apart: outer left, right, upper, lower are
// 1..4 (styles 11..14), inner vertical 5 (15), inner horizontal 6 (16).
void Borders(CDrawTable& t, int nPattern, int nInnerVStyle = 15)
{
    t.SetBorders(5, 6, nInnerVStyle, 16, 1, 2, 3, 4, 11, 12, 13, 14, nPattern);
}

enum {
    L = CDrawCell::edgeLeftHand,
    R = CDrawCell::edgeRightHand,
    U = CDrawCell::edgeUpper,
    D = CDrawCell::edgeLower
};

} // namespace

TEST(TableFormat, OuterFramePatternSetsOnlyTheOuterEdgesOfATwoByTwoSelection)
{
    auto t = MakeTable({50, 50, 50}, {20, 20, 20});
    ResetEdges(*t);
    Select(*t, 3, {{0, 0}, {0, 1}, {1, 0}, {1, 1}});
    Borders(*t, 4);
    const Edge none{0, 0};
    // Bottom-left cell: its left-hand and lower edges are outer; the others face selected
    // neighbours and stay.
    EXPECT_EQ(EdgeOf(At(*t, 3, 0, 0), L), (Edge{1, 11}));
    EXPECT_EQ(EdgeOf(At(*t, 3, 0, 0), D), (Edge{4, 14}));
    EXPECT_EQ(EdgeOf(At(*t, 3, 0, 0), R), none);
    EXPECT_EQ(EdgeOf(At(*t, 3, 0, 0), U), none);
    // Top-right cell of the block: right-hand and upper are outer, although unselected
    // cells lie beyond them inside the table.
    EXPECT_EQ(EdgeOf(At(*t, 3, 1, 1), R), (Edge{2, 12}));
    EXPECT_EQ(EdgeOf(At(*t, 3, 1, 1), U), (Edge{3, 13}));
    EXPECT_EQ(EdgeOf(At(*t, 3, 1, 1), L), none);
    EXPECT_EQ(EdgeOf(At(*t, 3, 1, 1), D), none);
    // Unselected cells are untouched.
    for (int e = 0; e < 4; ++e)
        EXPECT_EQ(EdgeOf(At(*t, 3, 2, 2), e), none);
}

TEST(TableFormat, PatternsChooseInnerAndOuterClassesAndANegativeStyleKeepsTheStyle)
{
    auto t = MakeTable({50, 50}, {20});
    Select(*t, 2, {{0, 0}, {0, 1}});
    // Pattern 1: everything. The shared vertical edge is inner for both cells.
    ResetEdges(*t);
    Borders(*t, 1);
    EXPECT_EQ(EdgeOf(At(*t, 2, 0, 0), R), (Edge{5, 15}));
    EXPECT_EQ(EdgeOf(At(*t, 2, 0, 1), L), (Edge{5, 15}));
    EXPECT_EQ(EdgeOf(At(*t, 2, 0, 0), U), (Edge{3, 13}));
    // Pattern 6 (inner horizontal only): a single row has none, so nothing changes.
    ResetEdges(*t);
    Borders(*t, 6);
    for (int c = 0; c < 2; ++c) {
        for (int e = 0; e < 4; ++e)
            EXPECT_EQ(EdgeOf(At(*t, 2, 0, c), e), (Edge{0, 0}));
    }
    // Pattern 7 (inner vertical) with "no choice" of style: the colour alone changes.
    ResetEdges(*t);
    At(*t, 2, 0, 0)->m_nEdgeStyle[R] = 9;
    Borders(*t, 7, -1);
    EXPECT_EQ(EdgeOf(At(*t, 2, 0, 0), R), (Edge{5, 9}));
    EXPECT_EQ(EdgeOf(At(*t, 2, 0, 0), L), (Edge{0, 0}));
    // A pattern outside 1..7 changes no edge.
    ResetEdges(*t);
    Borders(*t, 8);
    EXPECT_EQ(EdgeOf(At(*t, 2, 0, 0), L), (Edge{0, 0}));
}

TEST(TableFormat, CellsMeetingAtACornerAreNoNeighbours)
{
    auto t = MakeTable({50, 50}, {20, 20});
    Select(*t, 2, {{0, 0}, {1, 1}});
    for (int r = 0; r < 2; ++r) {
        CDrawCell* pCell = At(*t, 2, r, r);
        const int n = r * 2 + r;
        EXPECT_TRUE(t->IsLeftEdgeOuter(pCell, n));
        EXPECT_TRUE(t->IsRightEdgeOuter(pCell, n));
        EXPECT_TRUE(t->IsUpperEdgeOuter(pCell, n));
        EXPECT_TRUE(t->IsLowerEdgeOuter(pCell, n));
    }
    Select(*t, 2, {{0, 0}, {1, 0}});
    EXPECT_FALSE(t->IsUpperEdgeOuter(At(*t, 2, 0, 0), 0));
    EXPECT_FALSE(t->IsLowerEdgeOuter(At(*t, 2, 1, 0), 2));
    EXPECT_TRUE(t->IsRightEdgeOuter(At(*t, 2, 0, 0), 0));
}

TEST(TableFormat, ShadingFontsAndQueriesActOnTheSelectedCells)
{
    auto t = MakeTable({50, 50, 50}, {20});
    const int nTablePattern = t->m_nFillPattern;
    Select(*t, 3, {{0, 0}, {0, 2}});
    t->SetShading(TRUE, 7, RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(At(*t, 3, 0, 0)->m_nFillPattern, 7);
    EXPECT_EQ(At(*t, 3, 0, 2)->m_backColor, RGB(4, 5, 6));
    EXPECT_NE(At(*t, 3, 0, 1)->m_nFillPattern, 7);
    EXPECT_EQ(t->m_nFillPattern, nTablePattern);
    int nPattern = 7;
    BOOL bSame = FALSE;
    t->IsSamePattern(&nPattern, &bSame);
    EXPECT_TRUE(bSame);
    EXPECT_EQ(t->GetSelectedCellPattern(), 7);

    t->SetCellBold(nullptr, TRUE);
    t->SetCellAlign(nullptr, CTextAttributes::alignCenter);
    t->SetCellFontHeight(nullptr, -24);
    EXPECT_EQ(t->CountBoldCells(), 2);
    EXPECT_EQ(t->CountCenteredCells(), 2);
    EXPECT_EQ(t->CountLeftAlignedCells(), 0);
    EXPECT_EQ(At(*t, 3, 0, 1)->m_logFont.lfWeight == FW_BOLD, false);
    At(*t, 3, 0, 2)->m_logFont.lfHeight = -20;
    int nHeight = -24;
    t->IsSameFontHeight(&nHeight, &bSame);
    EXPECT_FALSE(bSame);
    EXPECT_EQ(t->GetSelectedCellFont().lfHeight, -24); // the first selected cell's

    At(*t, 3, 0, 0)->m_strText = "a";
    At(*t, 3, 0, 1)->m_strText = "b";
    t->ClearSelectedCells(nullptr);
    EXPECT_EQ(At(*t, 3, 0, 0)->m_strText, "");
    EXPECT_EQ(At(*t, 3, 0, 1)->m_strText, "b");

    // Nothing selected: a zero font, no common height, outputs of the shading untouched.
    t->ClearCellSelection();
    const LOGFONT lf = t->GetSelectedCellFont();
    EXPECT_EQ(lf.lfHeight, 0);
    EXPECT_EQ(lf.lfFaceName[0], '\0');
    t->IsSameFontHeight(&nHeight, &bSame);
    EXPECT_FALSE(bSame);
    int nOut = 99;
    COLORREF fore = 1, back = 2;
    BOOL bFill = 3;
    t->GetSelectedCellShading(&nOut, &fore, &back, &bFill);
    EXPECT_EQ(nOut, 99);
    EXPECT_EQ(bFill, 3);
}

TEST(TableFormat, FontFaceKeepsThirtyOneBytesWithoutSplittingACharacter)
{
    auto t = MakeTable({50}, {20});
    Select(*t, 1, {{0, 0}});
    LOGFONT lf{};
    lf.lfCharSet = 128;
    lf.lfPitchAndFamily = 49;
    lf.lfHeight = -99; // not taken
    const int nOldHeight = At(*t, 1, 0, 0)->m_logFont.lfHeight;
    t->SetCellFontFace(nullptr, CString(std::string(40, 'F')), lf);
    const LOGFONT& got = At(*t, 1, 0, 0)->m_logFont;
    EXPECT_EQ(std::string(got.lfFaceName), std::string(31, 'F'));
    EXPECT_EQ(got.lfCharSet, 128);
    EXPECT_EQ(got.lfPitchAndFamily, 49);
    EXPECT_EQ(got.lfHeight, nOldHeight);
    // Thirty single bytes and a double-byte character: the character does not fit whole.
    const CString face = CString(std::string(30, 'a')) + "明"_sj;
    t->SetCellFontFace(nullptr, face, lf);
    EXPECT_EQ(std::string(At(*t, 1, 0, 0)->m_logFont.lfFaceName), std::string(30, 'a'));
    BOOL bSame = FALSE;
    LOGFONT probe{};
    std::strcpy(probe.lfFaceName, std::string(30, 'a').c_str());
    t->IsSameFontFace(&probe, &bSame);
    EXPECT_TRUE(bSame);
}

TEST(TableFormat, RowsTakeTheAverageHeightAndCellsBelowFollow)
{
    // From the top: rows of 30, 20 and 40 units (built from the bottom: 40, 20, 30).
    auto t = MakeTable({50, 50}, {40, 20, 30});
    Select(*t, 2, {{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(t->CountSelectedRows(), 3);
    MessageBoxRecorder boxes;
    ASSERT_TRUE(t->ApplyRowHeights(nullptr, CDrawTable::rowHeightAverage));
    EXPECT_TRUE(boxes.entries.empty());
    for (int c = 0; c < 2; ++c) {
        // Rectangles keep the table's fields: (left, top, right, bottom) = (xmax, ymin, xmin, ymax).
        EXPECT_EQ(At(*t, 2, 2, c)->m_rect, CRect(50 * c + 50, 60, 50 * c, 90)) << c;
        EXPECT_EQ(At(*t, 2, 1, c)->m_rect, CRect(50 * c + 50, 30, 50 * c, 60)) << c;
        EXPECT_EQ(At(*t, 2, 0, c)->m_rect, CRect(50 * c + 50, 0, 50 * c, 30)) << c;
    }
    EXPECT_EQ(t->m_position, CRect(100, 0, 0, 90));
}

TEST(TableFormat, LowestHighestAndTruncatedAverage)
{
    const struct {
        int nChoice;
        int nTarget;
    } cases[] = {{CDrawTable::rowHeightLowest, 20},
                 {CDrawTable::rowHeightHighest, 25},
                 {CDrawTable::rowHeightAverage, 22}};
    for (const auto& c : cases) {
        auto t = MakeTable({50}, {20, 25}); // 25 on top of 20
        Select(*t, 1, {{0, 0}, {1, 0}});
        ASSERT_TRUE(t->ApplyRowHeights(nullptr, c.nChoice));
        EXPECT_EQ(At(*t, 1, 1, 0)->m_rect, CRect(50, 45 - c.nTarget, 0, 45)) << c.nChoice;
        EXPECT_EQ(At(*t, 1, 0, 0)->m_rect, CRect(50, 45 - 2 * c.nTarget, 0, 45 - c.nTarget)) << c.nChoice;
        EXPECT_EQ(t->m_position.top, 45 - 2 * c.nTarget) << c.nChoice;
    }
}

TEST(TableFormat, ARowCrossedByAMergedCellIsRefusedAndOneRowIsLeftAlone)
{
    // Two rows; the right-hand column is one cell over both.
    auto t = std::make_unique<CDrawTable>(CRect(100, 0, 0, 40));
    t->AddCell(CRect(50, 0, 0, 20));
    t->AddCell(CRect(50, 20, 0, 40));
    t->AddCell(CRect(100, 0, 50, 40));
    t->GetCell(0)->m_bSelected = TRUE;
    t->GetCell(1)->m_bSelected = TRUE;
    EXPECT_FALSE(t->IsRowClearToRight(t->GetCell(0)->m_rect));
    EXPECT_TRUE(t->IsRowClearToLeft(t->GetCell(0)->m_rect));
    t->GetCell(1)->m_rect = CRect(50, 20, 0, 35); // rows of 20 and 15
    {
        MessageBoxRecorder boxes;
        EXPECT_FALSE(t->ApplyRowHeights(nullptr, CDrawTable::rowHeightHighest));
        ASSERT_EQ(boxes.entries.size(), 1u);
        EXPECT_EQ(boxes.entries[0].text, "選択範囲では処理を実行できません。"_sj);
    }
    EXPECT_EQ(t->GetCell(1)->m_rect, CRect(50, 20, 0, 35));
    EXPECT_EQ(t->GetCell(0)->m_rect, CRect(50, 0, 0, 20));

    // Cells of one row: nothing to even out.
    auto u = MakeTable({50, 50}, {20, 30});
    Select(*u, 2, {{1, 0}, {1, 1}});
    EXPECT_EQ(u->CountSelectedRows(), 1);
    const CRect before = u->GetCell(0)->m_rect;
    EXPECT_TRUE(u->ApplyRowHeights(nullptr, CDrawTable::rowHeightLowest));
    EXPECT_EQ(u->GetCell(0)->m_rect, before);
}
