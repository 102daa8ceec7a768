// The parts-list and print-layout windows as far as they stand on their own: the parts bar
// with its range-total box over a dynamic splitter, and the print tool bar (bottom) and
// print-edit bar (top) with the font-size box of the layout windows.
#include "tests/estimate_tools/SubjectTreeTestSupport.h"

#include "app/CChildEMFormFrame.h"
#include "app/CChildPMFormFrame.h"
#include "app/CChildPMFrame.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/frames/CCreateContext.h"
#include "resources/ChildFrameIds.h"
#include "resources/ResourceIds.h"

#include <string>
#include <vector>

namespace {

// A view that only fills its pane.
class CPlainPaneView : public CView {
    DECLARE_DYNCREATE(CPlainPaneView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPlainPaneView, CView)

class CRecordingCmdUI : public CCmdUI {
public:
    explicit CRecordingCmdUI(UINT nID) { m_nID = nID; }
    void Enable(BOOL bOn = TRUE) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck = 1) override { check = nCheck; }
    int enabled = -1;
    int check = -1;
};

class ChildFrameOtherTest : public SubjectTreeWindowTest {
protected:
    // The document outlives its windows here.
    ChildFrameOtherTest() { m_doc.m_bAutoDelete = FALSE; }

    void TearDown() override
    {
        if (m_pFrame != nullptr && CWnd::FromHandle(m_hWndFrame) == m_pFrame)
            m_pFrame->DestroyWindow();
        m_pFrame = nullptr;
        SubjectTreeWindowTest::TearDown();
    }

    // A window of the class over a document of its own with a plain view.
    template <class TFrame>
    TFrame* Make(UINT nIDResource)
    {
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CPlainPaneView);
        context.m_pCurrentDoc = &m_doc;
        auto* pFrame = new TFrame;
        if (!pFrame->LoadFrame(nIDResource, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                               AfxGetMainWnd(), &context))
            return nullptr;
        pFrame->InitialUpdateFrame(&m_doc, TRUE);
        m_pFrame = pFrame;
        m_hWndFrame = pFrame->GetSafeHwnd();
        Pump();
        return pFrame;
    }

    static std::string Title(CWnd& wnd)
    {
        CString strText;
        wnd.GetWindowText(strText);
        return strText.ToUtf8();
    }

    static void ExpectPlace(CToolBar& bar, int nIndex, UINT nExpectedID, int nExpectedWidth)
    {
        UINT nID = 0, nStyle = 0;
        int iImage = 0;
        bar.GetButtonInfo(nIndex, nID, nStyle, iImage);
        EXPECT_EQ(nExpectedID, nID) << nIndex;
        EXPECT_TRUE(nStyle & TBBS_SEPARATOR) << nIndex;
        EXPECT_EQ(nExpectedWidth, iImage) << nIndex;
    }

    CDocument m_doc;
    CFrameWnd* m_pFrame = nullptr;
    HWND m_hWndFrame = nullptr;
};

} // namespace

TEST_F(ChildFrameOtherTest, ThePartsWindowHasItsBarWithARangeTotalBoxOverADynamicSplitter)
{
    auto* pFrame = Make<CChildPMFrame>(IDR_PARTSTYPE);
    ASSERT_NE(nullptr, pFrame);
    EXPECT_TRUE(pFrame->GetStyle() & WS_MAXIMIZE);
    EXPECT_EQ(2, pFrame->m_wndSplitter.GetMaxRowCount());
    EXPECT_EQ(2, pFrame->m_wndSplitter.GetMaxColumnCount());
    EXPECT_NE(nullptr, dynamic_cast<CPlainPaneView*>(pFrame->m_wndSplitter.GetPane(0, 0)));

    ExpectPlace(pFrame->m_wndPartsBar, PARTSBAR_RANGE_TOTAL_INDEX, IDC_RANGE_TOTAL, 100);
    ASSERT_NE(nullptr, pFrame->m_wndRangeTotal.GetSafeHwnd());
    EXPECT_EQ(&pFrame->m_wndPartsBar, pFrame->m_wndRangeTotal.GetParent());
    EXPECT_TRUE(pFrame->m_wndRangeTotal.GetStyle() & ES_READONLY);
    EXPECT_EQ("", Title(pFrame->m_wndRangeTotal));
    EXPECT_EQ("部材ﾊﾞｰ ", Title(pFrame->m_wndPartsBar));
    EXPECT_EQ(0, pFrame->GetBarRow(&pFrame->m_wndPartsBar));
}

TEST_F(ChildFrameOtherTest, ThePartsBarCommandShowsAndHidesTheBarWithATick)
{
    auto* pFrame = Make<CChildPMFrame>(IDR_PARTSTYPE);
    ASSERT_NE(nullptr, pFrame);
    CRecordingCmdUI shown(ID_VIEW_PARTSBAR);
    shown.DoUpdate(pFrame, TRUE);
    EXPECT_EQ(1, shown.check);
    pFrame->SendMessage(WM_COMMAND, ID_VIEW_PARTSBAR);
    EXPECT_FALSE(pFrame->m_wndPartsBar.GetStyle() & WS_VISIBLE);
    CRecordingCmdUI hidden(ID_VIEW_PARTSBAR);
    hidden.DoUpdate(pFrame, TRUE);
    EXPECT_EQ(0, hidden.check);
}

TEST_F(ChildFrameOtherTest, TheLayoutWindowOffersExactlyTheSixteenFontSizes)
{
    auto* pFrame = Make<CChildEMFormFrame>(IDR_EMFORMTYPE);
    ASSERT_NE(nullptr, pFrame);
    CComboBox& sizes = pFrame->m_wndFontSize;
    ASSERT_NE(nullptr, sizes.GetSafeHwnd());
    EXPECT_EQ(static_cast<int>(IDC_FONT_SIZE), sizes.GetDlgCtrlID());
    // Nothing takes a chosen size until the layout editor exists, so the box is disabled.
    EXPECT_FALSE(sizes.IsWindowEnabled());
    std::vector<std::string> items;
    for (int i = 0; i < sizes.GetCount(); ++i) {
        CString strItem;
        sizes.GetLBText(i, strItem);
        items.push_back(strItem.str());
    }
    const std::vector<std::string> expected = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                               "20", "22", "24", "26", "28", "36", "48", "72"};
    EXPECT_EQ(expected, items);
    EXPECT_EQ(CB_ERR, sizes.FindStringExact(-1, "13"));
}

TEST_F(ChildFrameOtherTest, TheLayoutBarsKeepThePlacesOfTheirBoxesAndDockAtTheBottomAndTop)
{
    auto* pFrame = Make<CChildPMFormFrame>(IDR_PMFORMTYPE);
    ASSERT_NE(nullptr, pFrame);
    ExpectPlace(pFrame->m_wndPrintEditBar, PRINT_EDITBAR_FONT_NAME_INDEX, IDC_FONT_NAME, 150);
    ExpectPlace(pFrame->m_wndPrintEditBar, PRINT_EDITBAR_FONT_SIZE_INDEX, IDC_FONT_SIZE, 60);
    ExpectPlace(pFrame->m_wndPrintToolBar, PRINT_TOOLBAR_LINE_STYLE_INDEX, IDC_LINE_STYLE, 130);
    ExpectPlace(pFrame->m_wndPrintToolBar, PRINT_TOOLBAR_FILL_PATTERN_INDEX, IDC_FILL_PATTERN, 120);
    EXPECT_EQ("印刷ﾂｰﾙﾊﾞｰ", Title(pFrame->m_wndPrintToolBar));
    EXPECT_EQ("印刷編集ﾊﾞｰ", Title(pFrame->m_wndPrintEditBar));
    EXPECT_TRUE(pFrame->m_wndPrintToolBar.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(pFrame->m_wndPrintEditBar.GetStyle() & WS_VISIBLE);

    CRect rcTool, rcEdit;
    pFrame->m_wndPrintToolBar.GetWindowRect(&rcTool);
    pFrame->m_wndPrintEditBar.GetWindowRect(&rcEdit);
    EXPECT_GT(rcTool.top, rcEdit.bottom);
    // The font-size box stands in its place on the print-edit bar.
    CRect rcPlace, rcBox;
    pFrame->m_wndPrintEditBar.GetItemRect(PRINT_EDITBAR_FONT_SIZE_INDEX, &rcPlace);
    pFrame->m_wndPrintEditBar.ClientToScreen(&rcPlace);
    pFrame->m_wndFontSize.GetWindowRect(&rcBox);
    EXPECT_EQ(rcPlace.left, rcBox.left);
}

TEST_F(ChildFrameOtherTest, TheLayoutWindowsNeverOfferTheEnvironmentSheet)
{
    auto* pFrame = Make<CChildEMFormFrame>(IDR_EMFORMTYPE);
    ASSERT_NE(nullptr, pFrame);
    CRecordingCmdUI ui(ID_ENVIRONMENT);
    ui.DoUpdate(pFrame, TRUE);
    EXPECT_EQ(FALSE, ui.enabled);

    pFrame->SendMessage(WM_COMMAND, ID_VIEW_PRINT_TOOLBAR);
    EXPECT_FALSE(pFrame->m_wndPrintToolBar.GetStyle() & WS_VISIBLE);
    pFrame->SendMessage(WM_COMMAND, ID_VIEW_PRINT_EDITBAR);
    EXPECT_FALSE(pFrame->m_wndPrintEditBar.GetStyle() & WS_VISIBLE);
    CRecordingCmdUI bar(ID_VIEW_PRINT_EDITBAR);
    bar.DoUpdate(pFrame, TRUE);
    EXPECT_EQ(0, bar.check);
}

TEST_F(ChildFrameOtherTest, EachWindowsImportModeRunsTheSheetRegisteredForItsKind)
{
    // Which sheet ran, over which document and window.
    struct CRun {
        std::string sheet;
        CDocument* pDoc;
        CWnd* pParent;
    };
    std::vector<CRun> runs;
    auto recorder = [&runs](const char* lpszSheet) {
        return [&runs, lpszSheet](CDocument* pDoc, CWnd* pParent) {
            runs.push_back({lpszSheet, pDoc, pParent});
        };
    };
    CShellServices& services = CShellServices::Get();
    services.runEstimateImportSheet = recorder("estimate");
    services.runPartsImportSheet = recorder("parts");
    services.runEstimateFormImportSheet = recorder("estimate layout");
    services.runPartsFormImportSheet = recorder("parts layout");

    std::vector<CWnd*> frames;
    auto introduce = [&](CFrameWnd* pFrame) {
        ASSERT_NE(nullptr, pFrame);
        frames.push_back(pFrame);
        pFrame->SendMessage(WM_COMMAND, ID_INTRODUCTION);
        pFrame->DestroyWindow();
    };
    introduce(Make<CChildPMFrame>(IDR_PARTSTYPE));
    introduce(Make<CChildEMFormFrame>(IDR_EMFORMTYPE));
    introduce(Make<CChildPMFormFrame>(IDR_PMFORMTYPE));

    ASSERT_EQ(3u, runs.size());
    const char* expected[] = {"parts", "estimate layout", "parts layout"};
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(expected[i], runs[i].sheet);
        EXPECT_EQ(&m_doc, runs[i].pDoc) << expected[i];
        EXPECT_EQ(frames[i], runs[i].pParent) << expected[i];
    }
}
