// Splitter windows in document frames: a static splitter of two panes whose left column can
// be collapsed and shown again, dragging the bar, and a dynamic splitter that splits into at
// most 2 x 2 panes of one document with shared scroll bars.
#include "FrameTestSupport.h"
#include "UiTestSupport.h"

#include "platform/ui/controls/CScrollBar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

namespace {

CRect ClientRectInParent(CWnd* pWnd)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    pWnd->GetParent()->ScreenToClient(&rc);
    return rc;
}

template <class TFrame>
TFrame* OpenFrame(CFrameTestEnvironment& env, CMultiDocTemplate* pTemplate)
{
    if (!pTemplate->OpenDocumentFile(nullptr))
        return nullptr;
    PumpEvents();
    return dynamic_cast<TFrame*>(env.Main()->MDIGetActive());
}

} // namespace

TEST(FrameSplitterTest, StaticSplitterHoldsTwoViewsOfTheDocument)
{
    CFrameTestEnvironment env(FALSE);
    auto* pFrame = OpenFrame<CTestSplitFrame>(env, env.TemplateSplit());
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    EXPECT_EQ(splitter.GetRowCount(), 1);
    EXPECT_EQ(splitter.GetColumnCount(), 2);
    auto* pTree = dynamic_cast<CTestScrollView*>(splitter.GetPane(0, 0));
    auto* pGrid = dynamic_cast<CTestViewA*>(splitter.GetPane(0, 1));
    ASSERT_NE(pTree, nullptr);
    ASSERT_NE(pGrid, nullptr);
    EXPECT_EQ(splitter.GetPane(1, 0), nullptr);
    EXPECT_EQ(pFrame->GetActiveView(), pGrid);
    EXPECT_EQ(pTree->GetDocument(), pGrid->GetDocument());
    EXPECT_EQ(pGrid->GetDocument()->GetViewCount(), 2);
    EXPECT_EQ(pGrid->m_nInitialUpdates, 1);

    int row = -1;
    int col = -1;
    EXPECT_TRUE(splitter.IsChildPane(pGrid, &row, &col));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 1);
    EXPECT_FALSE(splitter.IsChildPane(pFrame, &row, &col));
    EXPECT_EQ(splitter.GetActivePane(&row, &col), pGrid);

    // The left pane has its 130 pixels, the right one the rest after the bar.
    int cx = 0;
    int cxMin = 0;
    splitter.GetColumnInfo(0, cx, cxMin);
    EXPECT_EQ(cx, 130);
    CRect rcTree = ClientRectInParent(pTree);
    CRect rcGrid = ClientRectInParent(pGrid);
    EXPECT_EQ(rcTree.Width(), 130);
    EXPECT_EQ(rcGrid.left, 130 + CSplitterWnd::cxSplitter);
    CRect rcSplitter;
    splitter.GetClientRect(&rcSplitter);
    EXPECT_EQ(rcGrid.right, rcSplitter.right);
}

TEST(FrameSplitterTest, ColumnOfWidthZeroIsHiddenAndComesBackWithItsNewWidth)
{
    CFrameTestEnvironment env(FALSE);
    auto* pFrame = OpenFrame<CTestSplitFrame>(env, env.TemplateSplit());
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    CWnd* pTree = splitter.GetPane(0, 0);
    splitter.SetColumnInfo(0, 0, 0);
    splitter.RecalcLayout();
    int cx = -1;
    int cxMin = -1;
    splitter.GetColumnInfo(0, cx, cxMin);
    EXPECT_EQ(cx, 0);
    EXPECT_FALSE(pTree->IsWindowVisible());
    EXPECT_EQ(ClientRectInParent(splitter.GetPane(0, 1)).left, CSplitterWnd::cxSplitter);

    splitter.SetColumnInfo(0, 200, 0);
    splitter.RecalcLayout();
    splitter.GetColumnInfo(0, cx, cxMin);
    EXPECT_EQ(cx, 200);
    EXPECT_TRUE(pTree->IsWindowVisible());
    EXPECT_EQ(ClientRectInParent(pTree).Width(), 200);

    // A column below its minimum is collapsed too.
    splitter.SetColumnInfo(0, 5, 10);
    splitter.RecalcLayout();
    splitter.GetColumnInfo(0, cx, cxMin);
    EXPECT_EQ(cx, 0);
}

TEST(FrameSplitterTest, DraggingTheBarMovesTheBoundary)
{
    CFrameTestEnvironment env(FALSE);
    auto* pFrame = OpenFrame<CTestSplitFrame>(env, env.TemplateSplit());
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    const int y = 20;
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(132, y));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, y));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(250, y));
    int cx = 0;
    int cxMin = 0;
    splitter.GetColumnInfo(0, cx, cxMin);
    EXPECT_EQ(cx, 250);
    EXPECT_EQ(ClientRectInParent(splitter.GetPane(0, 1)).left, 250 + CSplitterWnd::cxSplitter);
    // A press away from the bar moves nothing.
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, y));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, y));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(90, y));
    splitter.GetColumnInfo(0, cx, cxMin);
    EXPECT_EQ(cx, 250);
}

// The bar is no place for the keyboard: a press on it, as the window system delivers it,
// leaves the focus with the pane that has it.
TEST(FrameSplitterTest, APressOnTheSplitterLeavesTheKeyboardWithThePane)
{
    CFrameTestEnvironment env(FALSE);
    auto* pFrame = OpenFrame<CTestSplitFrame>(env, env.TemplateSplit());
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    CWnd* pGrid = splitter.GetPane(0, 1);
    pGrid->SetFocus();
    ASSERT_EQ(CWnd::GetFocus(), pGrid);
    QWidget* pWidget = splitter.GetClientWidget();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const QPointF at(132, 20);
        QMouseEvent event(type, at, pWidget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(pWidget, &event);
        EXPECT_EQ(CWnd::GetFocus(), pGrid);
    }
}

TEST(FrameSplitterTest, DynamicSplitterSplitsIntoAtMostTwoByTwo)
{
    CFrameTestEnvironment env(FALSE);
    auto* pFrame = OpenFrame<CTestDynamicFrame>(env, env.TemplateDynamic());
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    EXPECT_EQ(splitter.GetRowCount(), 1);
    EXPECT_EQ(splitter.GetColumnCount(), 1);
    auto* pFirst = dynamic_cast<CView*>(splitter.GetPane(0, 0));
    ASSERT_NE(pFirst, nullptr);
    CDocument* pDoc = pFirst->GetDocument();
    ASSERT_NE(pDoc, nullptr);

    EXPECT_FALSE(splitter.SplitRow(5)) << "below the 10-pixel minimum";
    ASSERT_TRUE(splitter.SplitRow(100));
    EXPECT_FALSE(splitter.SplitRow(100)) << "two rows at most";
    ASSERT_TRUE(splitter.SplitColumn(150));
    EXPECT_EQ(splitter.GetRowCount(), 2);
    EXPECT_EQ(splitter.GetColumnCount(), 2);
    EXPECT_EQ(pDoc->GetViewCount(), 4);
    auto* pNew = dynamic_cast<CTestScrollView*>(splitter.GetPane(1, 1));
    ASSERT_NE(pNew, nullptr);
    EXPECT_EQ(pNew->GetDocument(), pDoc);
    EXPECT_EQ(pNew->GetTotalSize(), CSize(1000, 2000)) << "a new pane gets its initial update";
    int cy = 0;
    int cyMin = 0;
    splitter.GetRowInfo(0, cy, cyMin);
    EXPECT_EQ(cy, 100);
    EXPECT_EQ(cyMin, 10);

    splitter.DeleteRow(1);
    EXPECT_EQ(splitter.GetRowCount(), 1);
    EXPECT_EQ(pDoc->GetViewCount(), 2);
    EXPECT_EQ(splitter.GetPane(1, 0), nullptr);
    EXPECT_NE(pFrame->GetActiveView(), nullptr);
}

TEST(FrameSplitterTest, PanesOfARowShareTheirVerticalScrollBar)
{
    CFrameTestEnvironment env(FALSE);
    auto* pFrame = OpenFrame<CTestDynamicFrame>(env, env.TemplateDynamic());
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    ASSERT_TRUE(splitter.SplitColumn(300));
    PumpEvents();
    auto* pLeft = dynamic_cast<CTestScrollView*>(splitter.GetPane(0, 0));
    auto* pRight = dynamic_cast<CTestScrollView*>(splitter.GetPane(0, 1));
    ASSERT_TRUE(pLeft && pRight);
    CScrollBar* pBar = splitter.GetSharedScrollBar(SB_VERT, 0, 0);
    ASSERT_NE(pBar, nullptr);
    EXPECT_EQ(pLeft->GetScrollBarCtrl(SB_VERT), pBar);
    EXPECT_EQ(pRight->GetScrollBarCtrl(SB_VERT), pBar);
    EXPECT_NE(pLeft->GetScrollBarCtrl(SB_HORZ), pRight->GetScrollBarCtrl(SB_HORZ)) << "one per column";

    splitter.SendMessage(WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(pBar->m_hWnd));
    EXPECT_EQ(pLeft->GetDeviceScrollPosition().y, 20);
    EXPECT_EQ(pRight->GetDeviceScrollPosition().y, 20);
    EXPECT_EQ(pBar->GetScrollPos(), 20);
}

TEST(FrameSplitterTest, PaneThatTakesTheFocusBecomesTheActiveView)
{
    CFrameTestEnvironment env(FALSE);
    auto* pFrame = OpenFrame<CTestSplitFrame>(env, env.TemplateSplit());
    ASSERT_NE(pFrame, nullptr);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    auto* pTree = dynamic_cast<CView*>(splitter.GetPane(0, 0));
    ASSERT_NE(pTree, nullptr);
    ASSERT_NE(pFrame->GetActiveView(), pTree);
    pTree->SendMessage(WM_SETFOCUS);
    EXPECT_EQ(pFrame->GetActiveView(), pTree);
    int col = -1;
    EXPECT_EQ(splitter.GetActivePane(nullptr, &col), pTree);
    EXPECT_EQ(col, 0);
    // Commands now start at the tree's document the same way.
    splitter.SetActivePane(0, 1);
    EXPECT_EQ(pFrame->GetActiveView(), splitter.GetPane(0, 1));
}
