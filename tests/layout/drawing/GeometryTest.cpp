// The geometry of drawing objects without a window: handles, meeting and containing
// rectangles, resizing and moving, and the table's resize limits and ruled-line drags.
#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "tests/layout/drawing/DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

TEST(DrawingGeometry, HandlesOfRectanglesAndLines)
{
    CDrawRect rect(CRect(0, 100, 200, 0)); // y up: top 100 above bottom 0
    EXPECT_EQ(rect.GetHandleCount(), 8);
    EXPECT_EQ(rect.GetHandle(1), CPoint(0, 100));
    EXPECT_EQ(rect.GetHandle(2), CPoint(100, 100));
    EXPECT_EQ(rect.GetHandle(4), CPoint(200, 50));
    EXPECT_EQ(rect.GetHandle(5), CPoint(200, 0));
    EXPECT_EQ(rect.GetHandle(8), CPoint(0, 50));
    EXPECT_EQ(rect.GetHandle(0), CPoint(0, 100));
    EXPECT_EQ(rect.GetHandle(9), CPoint(0, 100));

    CDrawRect line(CRect(-50, 20, 150, -80));
    line.m_nShape = CDrawRect::line;
    EXPECT_EQ(line.GetHandleCount(), 2);
    EXPECT_EQ(line.GetHandle(2), CPoint(150, -80));
    line.MoveHandleTo(2, CPoint(10, 10));
    EXPECT_EQ(line.m_position, CRect(-50, 20, 10, 10));
    rect.MoveHandleTo(0, CPoint(-5, 105)); // outside 1..8: left and top
    EXPECT_EQ(rect.m_position, CRect(-5, 105, 200, 0));
}

TEST(DrawingGeometry, MeetingAndContainingNormaliseBothRectangles)
{
    // Drawn from lower right to upper left.
    CDrawText text(CRect(300, -100, 100, 50));
    EXPECT_TRUE(text.Intersects(CRect(250, 0, 350, 10)));
    EXPECT_FALSE(text.Intersects(CRect(301, 0, 400, 10)));
    EXPECT_TRUE(text.IsWithin(CRect(400, 60, 50, -200)));
    EXPECT_FALSE(text.IsWithin(CRect(400, 60, 150, -200)));

    // A horizontal line is met by a rectangle passing within 3 units of it.
    CDrawRect line(CRect(0, 100, 200, 100));
    line.m_nShape = CDrawRect::line;
    EXPECT_TRUE(line.Intersects(CRect(50, 102, 60, 110)));
    EXPECT_FALSE(line.Intersects(CRect(50, 104, 60, 110)));
    // The same rectangle as a rectangle has no area and meets nothing.
    CDrawRect flat(CRect(0, 100, 200, 100));
    EXPECT_FALSE(flat.Intersects(CRect(50, 102, 60, 110)));
}

TEST(DrawingGeometry, SizesKeepTheUpperAndLeftEdges)
{
    CDrawRect rect(CRect(100, 50, 0, 300)); // bottom above top, left right of right
    rect.SetHeight(nullptr, 40);
    EXPECT_EQ(rect.m_position.bottom, 300);
    EXPECT_EQ(rect.m_position.top, 260);
    rect.SetWidth(nullptr, 70);
    EXPECT_EQ(rect.m_position.right, 0);
    EXPECT_EQ(rect.m_position.left, 70);
}

TEST(DrawingGeometry, ClonesCopyEveryAttribute)
{
    CDrawText text(CRect(0, 0, 100, -30));
    text.m_strText = "abc";
    text.m_nLineStyle = 7;
    text.m_nFillPattern = 12;
    text.m_bFill = TRUE;
    text.m_clrText = 0x123456;
    text.m_nDateFormat = 9;
    text.m_logFont.lfHeight = -40;
    std::unique_ptr<CDrawObj> pCopy(text.CloneForUndo(nullptr));
    auto* pText = dynamic_cast<CDrawText*>(pCopy.get());
    ASSERT_NE(pText, nullptr);
    EXPECT_EQ(pText->m_strText, "abc");
    EXPECT_EQ(pText->m_nLineStyle, 7);
    EXPECT_EQ(pText->m_nFillPattern, 12);
    EXPECT_EQ(pText->m_clrText, 0x123456u);
    EXPECT_EQ(pText->m_nDateFormat, 9);
    EXPECT_EQ(pText->m_logFont.lfHeight, -40);
    EXPECT_EQ(pText->m_pDocument, nullptr);
}

TEST(TableGeometry, HandleCountAndCellFromPoint)
{
    auto pTable = MakeTable({100}, {40});
    EXPECT_EQ(pTable->GetHandleCount(), 18);
    EXPECT_EQ(pTable->GetHandle(17), pTable->GetHandle(1));

    auto pGrid = MakeTable({100, 50}, {40, 40});
    EXPECT_EQ(pGrid->GetHandleCount(), 4 * 4 + 14);
    EXPECT_EQ(pGrid->CellFromPoint(CPoint(120, 50)), CRect(150, 40, 100, 80));
    EXPECT_EQ(pGrid->CellFromPoint(CPoint(100, 40)), CRect(150, 40, 100, 80)); // left and top inclusive
    EXPECT_EQ(pGrid->CellFromPoint(CPoint(150, 10)), CRect(0, 0, 0, 0));       // right edge exclusive
}

TEST(TableGeometry, CornerResizeStopsWhereTheNarrowestCellIsSixteenUnits)
{
    auto pTable = MakeTable({100, 50}, {40, 80});
    // Handle 5 moves right and bottom; the fixed corner is (left, top).
    pTable->BeginResize(5);
    EXPECT_EQ(pTable->m_ptFixed, CPoint(150, 0));
    // Drag the right field far past the left and the bottom down to nothing.
    pTable->MoveHandleTo(5, CPoint(1000, -1000));
    // Narrowest cell 50 of 150: the table can shrink to 150 * 16 / 50 = 48 wide; lowest
    // cell 40 of 120: 120 * 16 / 40 = 48 high.
    EXPECT_EQ(pTable->m_position, CRect(150, 0, 102, 48));
    // The narrowest cell is now exactly 16 wide, and the cells touching the moved sides end
    // exactly on them.
    const CDrawCell* pNarrow = pTable->GetCell(1);
    EXPECT_EQ(pNarrow->m_rect.left - pNarrow->m_rect.right, 16);
    EXPECT_EQ(pTable->GetCell(3)->m_rect.bottom, 48);
    EXPECT_EQ(pTable->GetCell(0)->m_rect.right, 102);
    EXPECT_EQ(pTable->GetCell(0)->m_rectResize, pTable->GetCell(0)->m_rect);
}

TEST(TableGeometry, DraggingASharedLineKeepsSixteenUnitsAndLeavesTheResizeRectangles)
{
    auto pTable = MakeTable({100, 50}, {40});
    // Cell 0 spans x 0..100 (left field 100), cell 1 x 100..150 (right field 100).
    // Edge e = 0 of cell 0 is the line at its left field, x = 100.
    const int nHandle = CDrawTable::handleFirstCellEdge + 4 * 0 + 0;
    pTable->MoveHandleTo(nHandle, CPoint(500, 0));
    // Cell 1 is 50 wide: the line stops 16 units before its far side.
    EXPECT_EQ(pTable->GetCell(0)->m_rect.left, 134);
    EXPECT_EQ(pTable->GetCell(1)->m_rect.right, 134);
    EXPECT_EQ(pTable->GetCell(0)->m_rectResize.left, 100);
    pTable->MoveHandleTo(nHandle, CPoint(-500, 0));
    EXPECT_EQ(pTable->GetCell(0)->m_rect.left, 16);

    // An edge handle of a cell that does not exist changes nothing.
    const CRect before = pTable->m_position;
    pTable->MoveHandleTo(CDrawTable::handleFirstCellEdge + 4 * 9, CPoint(30, 30));
    EXPECT_EQ(pTable->m_position, before);
}

TEST(TableGeometry, MovesFollowTheRightAndBottomFieldsOnly)
{
    auto pTable = MakeTable({100}, {40});
    // Another left and top, the same right and bottom: no cell moves.
    pTable->MoveTableTo(CRect(500, -20, 0, 40));
    EXPECT_EQ(pTable->GetCell(0)->m_rect, CRect(100, 0, 0, 40));
    pTable->MoveTableTo(CRect(530, 0, 30, 50));
    EXPECT_EQ(pTable->GetCell(0)->m_rect, CRect(130, 10, 30, 50));
    // The move strips carry m_rectResize along.
    pTable->MoveHandleTo(CDrawTable::handleMoveLeft, CPoint(5, -5));
    EXPECT_EQ(pTable->GetCell(0)->m_rect, CRect(135, 5, 35, 45));
    EXPECT_EQ(pTable->GetCell(0)->m_rectResize, CRect(105, -5, 5, 35));
}

TEST(TableGeometry, CopiesClearSelectionAndFontRotation)
{
    auto pTable = MakeTable({100, 50}, {40});
    pTable->GetCell(0)->m_bSelected = TRUE;
    pTable->GetCell(0)->m_logFont.lfEscapement = 900;
    pTable->GetCell(0)->m_strText = "x";
    std::unique_ptr<CDrawObj> pCopy(pTable->Clone(nullptr));
    auto* pTableCopy = dynamic_cast<CDrawTable*>(pCopy.get());
    ASSERT_NE(pTableCopy, nullptr);
    ASSERT_EQ(pTableCopy->GetCellCount(), 2);
    EXPECT_FALSE(pTableCopy->GetCell(0)->m_bSelected);
    EXPECT_EQ(pTableCopy->GetCell(0)->m_logFont.lfEscapement, 0);
    EXPECT_EQ(pTableCopy->GetCell(0)->m_strText, "x");
    EXPECT_EQ(pTableCopy->GetSelectedCellCount(), 0);
    EXPECT_EQ(pTable->GetSelectedCellCount(), 1);

    pTable->RemoveCell(CRect(150, 0, 100, 40));
    EXPECT_EQ(pTable->GetCellCount(), 1);
    pTable->RemoveCell(CRect(1, 2, 3, 4));
    EXPECT_EQ(pTable->GetCellCount(), 1);
}

TEST(EmbeddedObject, FirstExtentSizesTheObjectAndLaterOnesScaleIt)
{
    // An item of 50.8 mm x 25.4 mm (5080 x 2540 HIMETRIC) in its cached picture.
    auto makeStorage = [](uint32_t cx, uint32_t cy) {
        CCompoundStorage storage;
        std::vector<BYTE> pres;
        auto dword = [&pres](uint32_t v) {
            for (int i = 0; i < 4; ++i)
                pres.push_back(static_cast<BYTE>(v >> (8 * i)));
        };
        for (uint32_t v : {0xFFFFFFFFu, 3u /* a metafile */, 4u, 1u, 0xFFFFFFFFu, 2u, 0u, cx, cy, 0u})
            dword(v);
        storage.SetStream("\x02OlePres000", pres);
        return storage;
    };
    CDrawOleObj obj(CRect(100, 500, 100, 500));
    auto* pItem = new CDrawItem(nullptr, &obj);
    obj.m_pClientItem = pItem;
    ASSERT_TRUE(pItem->CreateFromStorage(makeStorage(5080, 2540)));
    ASSERT_TRUE(pItem->UpdateExtent());
    EXPECT_EQ(obj.m_position, CRect(100, 500, 300, 400)); // 200 x 100, the bottom below the top
    EXPECT_EQ(obj.m_extent, CSize(5080, 2540));
    EXPECT_FALSE(pItem->UpdateExtent()); // unchanged

    // The user made it 300 wide; the server doubles the extent: the current size doubles.
    obj.m_position = CRect(100, 500, 400, 400);
    ASSERT_TRUE(pItem->CreateFromStorage(makeStorage(10160, 5080)));
    ASSERT_TRUE(pItem->UpdateExtent());
    EXPECT_EQ(obj.m_position, CRect(100, 500, 700, 300));
    EXPECT_EQ(HimetricToObjectUnits(254), 10);
    EXPECT_EQ(HimetricToObjectUnits(-127), -5);
}
