// Zoom of the estimate grid through the 表示 menu's steps and the main frame's zoom box:
// the grid's sizes follow, the check marks and the box show the focused grid's zoom, and a
// closed estimate leaves no zoom in the box.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "app/CMainFrame.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CStatusBar.h"
#include "resources/ResourceIds.h"

#include <filesystem>

namespace {

class ZoomTest : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        EstimateWindowTest::SetUp();
        ASSERT_NE(OpenSample(), nullptr);
        m_pFrame = dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd);
        ASSERT_NE(m_pFrame, nullptr);
        ASSERT_NE(m_pFrame->GetZoomBox().m_hWnd, nullptr);
        m_pView->SetFocus();
        Pump();
    }
    // What a user's choice in the box does: the selection, then the box's notification to
    // the window it belongs to.
    void ChooseInBox(int nIndex)
    {
        CComboBox& box = m_pFrame->GetZoomBox();
        box.SetCurSel(nIndex);
        box.GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ZOOM_BOX, CBN_SELCHANGE),
                                     reinterpret_cast<LPARAM>(box.m_hWnd));
        Pump();
    }
    std::string BoxText() const
    {
        const CComboBox& box = m_pFrame->GetZoomBox();
        CString text;
        if (box.GetCurSel() >= 0)
            box.GetLBText(box.GetCurSel(), text);
        return text.ToUtf8();
    }
    struct CState {
        int nEnabled = -1;
        int nCheck = -1;
    };
    class CRecorder : public CCmdUI {
    public:
        void Enable(BOOL bOn) override
        {
            state.nEnabled = bOn ? 1 : 0;
            m_bEnableChanged = TRUE;
        }
        void SetCheck(int nCheck) override { state.nCheck = nCheck; }
        CState state;
    };
    CState Update(UINT nID)
    {
        CRecorder ui;
        ui.m_nID = nID;
        ui.DoUpdate(m_pView, TRUE);
        return ui.state;
    }
    CMainFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F(ZoomTest, ChoosingAStepInTheBoxZoomsTheGridAsTheMenuDoes)
{
    ASSERT_EQ(m_pView->GetMetrics().nZoom, 100);
    const int nRowHeight = m_pView->GetMetrics().nRowHeight;
    const int nColumn = m_pView->GetColumnWidth(scName);
    const int nHeader = m_pView->GetMetrics().nHeaderHeight;
    ASSERT_GT(nRowHeight, 0);

    ChooseInBox(4); // 150%
    EXPECT_EQ(m_pView->GetMetrics().nZoom, 150);
    EXPECT_NEAR(m_pView->GetMetrics().nRowHeight, nRowHeight * 1.5, 1.0);
    EXPECT_NEAR(m_pView->GetColumnWidth(scName), nColumn * 1.5, 1.0);
    EXPECT_EQ(m_pView->GetMetrics().nHeaderHeight, static_cast<int>(nHeader * 1.5));
    EXPECT_EQ(BoxText(), "150%");
    const UINT ids[] = {ID_ZOOM_25, ID_ZOOM_50, ID_ZOOM_75, ID_ZOOM_100, ID_ZOOM_150, ID_ZOOM_200};
    for (UINT nID : ids) {
        const CState state = Update(nID);
        EXPECT_EQ(state.nEnabled, 1) << nID;
        EXPECT_EQ(state.nCheck, nID == ID_ZOOM_150 ? 1 : 0) << nID;
    }

    // The menu's 25 %: the box follows the grid.
    Command(ID_ZOOM_25);
    EXPECT_EQ(m_pView->GetMetrics().nZoom, 25);
    EXPECT_EQ(m_pView->GetMetrics().nRowHeight, static_cast<int>(m_pView->GetMetrics().nRowHeight));
    EXPECT_LT(m_pView->GetColumnWidth(scName), nColumn);
    EXPECT_EQ(BoxText(), "25%");
    EXPECT_EQ(Update(ID_ZOOM_25).nCheck, 1);

    // The zoom is saved with the estimate and comes back with it.
    ASSERT_TRUE(m_pDoc->DoSave(m_pDoc->GetPathName(), TRUE));
    const CString path = m_pDoc->GetPathName();
    m_pApp->CloseAllDocuments(FALSE);
    Pump();
    CMorvelEMView* pReopened = OpenEstimate(path);
    ASSERT_NE(pReopened, nullptr);
    EXPECT_EQ(pReopened->GetMetrics().nZoom, 25);
}

TEST_F(ZoomTest, TheBoxShowsTheZoomOfTheGridWithTheKeyboardAndNothingWhenAllAreClosed)
{
    Command(ID_ZOOM_200);
    ASSERT_EQ(BoxText(), "200%");
    CMorvelEMView* pFirst = m_pView;

    std::filesystem::copy_file(m_pFolder->Native("WORK/サンプル見積.MMD"),
                               m_pFolder->Native("WORK/second.MMD"));
    CMorvelEMView* pSecond = OpenEstimate(m_pFolder->System("WORK") + "\\second.MMD");
    ASSERT_NE(pSecond, nullptr);
    ASSERT_NE(pSecond, pFirst);
    pSecond->SetFocus();
    Pump();
    EXPECT_EQ(BoxText(), "100%");
    pFirst->SetFocus();
    Pump();
    EXPECT_EQ(BoxText(), "200%");

    // A choice in the box zooms the grid with the keyboard only.
    ChooseInBox(1); // 50%
    EXPECT_EQ(pFirst->GetMetrics().nZoom, 50);
    EXPECT_EQ(pSecond->GetMetrics().nZoom, 100);

    m_pApp->CloseAllDocuments(FALSE);
    Pump();
    EXPECT_EQ(m_pFrame->GetZoomBox().GetCurSel(), -1);
    EXPECT_EQ(BoxText(), "");
}

// Closing one of two estimates leaves the other's zoom in the box; a choice made in the box
// (which takes the keyboard to drop down) leaves the page and row pane showing.
TEST_F(ZoomTest, ClosingOneOfTwoEstimatesShowsTheOthersZoomAndTheBoxKeepsThePanes)
{
    Command(ID_ZOOM_150);
    CMorvelEMView* pFirst = m_pView;
    std::filesystem::copy_file(m_pFolder->Native("WORK/サンプル見積.MMD"),
                               m_pFolder->Native("WORK/second.MMD"));
    CMorvelEMView* pSecond = OpenEstimate(m_pFolder->System("WORK") + "\\second.MMD");
    ASSERT_NE(pSecond, nullptr);
    pSecond->SetFocus();
    Pump();
    ASSERT_EQ(BoxText(), "100%");

    Command(ID_FILE_CLOSE);
    ASSERT_EQ(static_cast<CFrameWnd*>(m_pFrame->MDIGetActive()), pFirst->GetParentFrame());
    EXPECT_EQ(BoxText(), "150%");

    CStatusBar& bar = m_pFrame->GetStatusBar();
    const int nPane = bar.CommandToIndex(ID_INDICATOR_PANE1);
    const CString position = bar.GetPaneText(nPane);
    ASSERT_NE(position.Find("ﾍﾟｰｼﾞ"_sj), -1);
    m_pFrame->GetZoomBox().SetFocus();
    Pump();
    ChooseInBox(5); // 200%
    EXPECT_EQ(pFirst->GetMetrics().nZoom, 200);
    EXPECT_EQ(bar.GetPaneText(nPane), position);
}
