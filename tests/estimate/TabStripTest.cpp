// The page tab strip: its tabs' places, a click selecting a tab and telling the view, and
// the estimate window switching to the summary page and back through it.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "grid/CTabWnd.h"

#include <vector>

namespace {

// A parent window that records the commands its children send.
class CCommandRecorder : public CWnd {
public:
    std::vector<UINT> commands;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(static_cast<DWORD>(wParam)));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

const CString& EditTab()
{
    static const CString s = " 見積編集 "_sj;
    return s;
}
const CString& SummaryTab()
{
    static const CString s = " 集計表 "_sj;
    return s;
}

class TabStrip : public EstimateWindowTest {
protected:
    void Press(CWnd& wnd, int x, int y)
    {
        wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
        wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
};

} // namespace

TEST(TabStripGeometry, TabsOverlapByTheirSlant)
{
    CTabWnd strip;
    strip.AddTab(EditTab());
    strip.AddTab(SummaryTab());
    ASSERT_EQ(strip.GetTabCount(), 2);
    EXPECT_EQ(strip.GetTabRect(0), CRect(0, 0, 96, 16));
    EXPECT_EQ(strip.GetTabRect(1), CRect(88, 0, 168, 16));
    EXPECT_TRUE(strip.IsTabSelected(0));
    EXPECT_FALSE(strip.IsTabSelected(1));
    strip.SetCurSel(1);
    EXPECT_EQ(strip.GetCurSel(), 1);
    EXPECT_FALSE(strip.IsTabSelected(0));
    strip.SetCurSel(2);
    strip.SetCurSel(-1);
    EXPECT_EQ(strip.GetCurSel(), 1) << "no such tab";
    for (int i = 0; i < 12; ++i)
        strip.AddTab("x");
    EXPECT_EQ(strip.GetTabCount(), CTabWnd::MAX_TABS);
}

TEST_F(TabStrip, AClickSelectsTheTabUnderItAndSendsItsCommand)
{
    CCommandRecorder parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "tabs", WS_POPUP | WS_VISIBLE, 0, 0, 300, 40, nullptr, nullptr));
    CTabWnd strip;
    ASSERT_TRUE(strip.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 260, 18), &parent, 4093));
    strip.AddTab(EditTab());
    strip.AddTab(SummaryTab());

    Press(strip, 120, 5);
    EXPECT_EQ(strip.GetCurSel(), 1);
    EXPECT_TRUE(strip.IsTabSelected(1));
    EXPECT_FALSE(strip.IsTabSelected(0));
    Press(strip, 90, 5); // where the two overlap
    EXPECT_EQ(strip.GetCurSel(), 0);
    Press(strip, 200, 5); // right of every tab: nothing changes, the page is shown again
    EXPECT_EQ(strip.GetCurSel(), 0);
    EXPECT_TRUE(strip.IsTabSelected(0));
    EXPECT_EQ(parent.commands, (std::vector<UINT>{184, 182, 182}));
    strip.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(TabStrip, TheTabsSwitchTheGridToTheSummaryPageAndBack)
{
    ASSERT_NE(OpenSample(), nullptr);
    GoTo(scPrice, 6);
    const CString strEditName = m_pView->GetCellText(6, scName);
    ASSERT_FALSE(strEditName.IsEmpty());
    CTabWnd& strip = *m_pView->GetTabWnd();

    Press(strip, 120, 5);
    EXPECT_TRUE(m_pView->IsSummaryPageShown());
    EXPECT_EQ(m_pView->GetCurrentCol(), 0);
    EXPECT_EQ(m_pView->GetCurrentRow(), 0);
    // The summary rows are shown: the kind heading first, as a summary row.
    EXPECT_EQ(m_pView->GetRowKind(0), SummaryKindOf(kindKind));
    EXPECT_NE(m_pView->GetCellText(6, scName), strEditName);
    Key(VK_DOWN); // the arrows still move on the summary page
    EXPECT_EQ(m_pView->GetCurrentRow(), 1);

    Press(strip, 10, 5);
    EXPECT_FALSE(m_pView->IsSummaryPageShown());
    EXPECT_EQ(m_pView->GetCurrentCol(), scPrice);
    EXPECT_EQ(m_pView->GetCurrentRow(), 6);
    EXPECT_FALSE(m_pView->GetCellText(6, scName).IsEmpty());
    EXPECT_EQ(strip.GetCurSel(), 0);
}
