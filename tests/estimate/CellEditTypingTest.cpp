// Typing into the estimate grid: the editor opened by a typed character, by a double-click
// and by F2, the commit on Enter, the arrows and a click elsewhere, Esc, full-width digits,
// rounding and formatting by the column, the row formula and the totals below.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "platform/ui/WinDefs.h"

namespace {

class CellEditTyping : public EstimateWindowTest {};

} // namespace

TEST_F(CellEditTyping, SmokeOpensTheSample)
{
    ASSERT_NE(OpenSample(), nullptr);
    EXPECT_TRUE(m_pView->m_bCellEditExists);
    EXPECT_EQ(Utf8Cell(srFirstDetail, scName), "水盛遣方");
    GoTo(scQty, srFirstDetail);
    Type("200");
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(EditorText(), "200");
    Key(VK_RETURN);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(Cell(srFirstDetail, scQty), "200.000000");
    EXPECT_EQ(Cell(srFirstDetail, scAmount), "70000.000000");
}
