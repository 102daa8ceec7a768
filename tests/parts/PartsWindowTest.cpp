// The parts list in the running program: File Open makes the parts window with its grid,
// the grid paints its cells (numbers right-aligned by the column's picture), follows the
// zoom commands and the mouse, and a file that is not a parts list leaves no window.
#include "app/CChildPMFrame.h"
#include "app/CMorvelApp.h"
#include "app/CShellServices.h"
#include "app/CSplashWindow.h"
#include "estimate/EstimateRegistration.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsRegistration.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/controls/CScrollBar.h"
#include "platform/ui/frames/CSplitterWnd.h"
#include "platform/ui/gdi/CClientDC.h"
#include "resources/ResourceIds.h"
#include "tests/parts/PartsWindowFixture.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <type_traits>
#include <utility>

namespace fs = std::filesystem;

// A view read through a const reference hands out its model for reading only; the view
// that may change the list hands out one to change.
static_assert(std::is_same_v<decltype(std::declval<const CMorvelPMView&>().GetModel()), const CPartsModel*>);
static_assert(std::is_same_v<decltype(std::declval<CMorvelPMView&>().GetModel()), CPartsModel*>);

TEST_F(PartsWindowTest, TheSampleOpensInThePartsWindowWithNumbersOnTheRight)
{
    ASSERT_NE(nullptr, OpenSample());
    EXPECT_NE(nullptr, dynamic_cast<CChildPMFrame*>(m_pView->GetParentFrame()));
    EXPECT_EQ(7, m_pView->GetColumnCount());
    EXPECT_EQ(5, m_pView->GetUsedRows());
    // The amount is the grid's own product: 1,250.5 kg x 98 = 122,549.
    EXPECT_EQ("122549.000000", m_pView->GetCellText(0, 5).str());
    bool bRight = false;
    EXPECT_EQ("122,549", m_pView->GetDisplayText(0, 5, &bRight).str());
    Repaint();
    CRect rc;
    m_pView->GetCellRangeRect(5, 0, 5, 0, &rc);
    const auto [nAmountLeft, nAmountRight] = InkExtent(5, 0);
    ASSERT_GE(nAmountLeft, 0);
    // Right-aligned: the ink ends near the right edge and starts past the middle.
    EXPECT_GT(nAmountRight, rc.right - 8);
    EXPECT_GT(nAmountLeft, rc.left + rc.Width() / 3);
    // The part's name is a text: it starts at the left.
    m_pView->GetCellRangeRect(0, 0, 0, 0, &rc);
    const auto [nNameLeft, nNameRight] = InkExtent(0, 0);
    ASSERT_GE(nNameLeft, 0);
    EXPECT_LT(nNameLeft, rc.left + 8);
    (void)nNameRight;
    // An empty row shows nothing.
    EXPECT_EQ(-1, InkExtent(5, 7).first);
}

TEST_F(PartsWindowTest, TheZoomCommandsResizeTheGridOfEveryPane)
{
    ASSERT_NE(nullptr, OpenSample());
    const int nBase = m_pView->GetBaseColumnWidth(0);
    EXPECT_EQ(200, nBase);
    m_pView->SendMessage(WM_COMMAND, ID_ZOOM_150, 0);
    Pump();
    EXPECT_EQ(150, m_pDoc->m_nZoom);
    EXPECT_EQ(300, m_pView->GetColumnWidth(0));
    EXPECT_EQ(150, m_pView->GetMetrics().nZoom);
    m_pView->SendMessage(WM_COMMAND, ID_ZOOM_75, 0);
    Pump();
    EXPECT_EQ(150, m_pView->GetColumnWidth(0));
    // The zoom is saved with the list.
    ASSERT_TRUE(m_pDoc->OnSaveDocument(WorkFile("zoomed.MBD")));
    const auto bytes = ReadNativeFile(m_dir.NativeFile("WORK/zoomed.MBD"));
    const size_t nMagic = 1 + std::string("This is Parts Management file").size();
    ASSERT_GT(bytes.size(), nMagic + 2);
    EXPECT_EQ(75, bytes[nMagic] | bytes[nMagic + 1] << 8);
}

TEST_F(PartsWindowTest, AClickMakesACellCurrent)
{
    ASSERT_NE(nullptr, OpenSample());
    CRect rc;
    m_pView->GetCellRangeRect(2, 3, 2, 3, &rc);
    const LPARAM lParam = MAKELPARAM(rc.left + 3, rc.top + 3);
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    m_pView->SendMessage(WM_LBUTTONUP, 0, lParam);
    EXPECT_EQ(2, m_pView->GetCurrentCol());
    EXPECT_EQ(3, m_pView->GetCurrentRow());
}

// Ctrl+End and Ctrl+Home as in the estimate grid: the last used row's last column, and
// the first cell.
TEST_F(PartsWindowTest, CtrlEndAndCtrlHomeGoToTheLastUsedAndTheFirstCell)
{
    ASSERT_NE(nullptr, OpenSample());
    ASSERT_GT(m_pView->GetUsedRows(), 3);
    Click(2, 3);
    RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, Qt::Key_End);
    EXPECT_EQ(m_pView->GetColumnCount() - 1, m_pView->GetCurrentCol());
    EXPECT_EQ(m_pView->GetUsedRows() - 1, m_pView->GetCurrentRow());
    RealInput::PressKeys(m_pView->GetClientWidget(), Qt::ControlModifier, Qt::Key_Home);
    EXPECT_EQ(0, m_pView->GetCurrentCol());
    EXPECT_EQ(0, m_pView->GetCurrentRow());
}

// Ctrl with an arrow jumps as in the estimate grid: to the last used row, the first row, the
// last column and the first column, the column or row kept.
TEST_F(PartsWindowTest, CtrlArrowsJumpToTheEdgesOfTheList)
{
    ASSERT_NE(nullptr, OpenSample());
    ASSERT_GT(m_pView->GetUsedRows(), 3);
    Click(2, 1);
    const auto at = [this] { return std::make_pair(m_pView->GetCurrentCol(), m_pView->GetCurrentRow()); };
    Keys(Qt::ControlModifier, Qt::Key_Down);
    EXPECT_EQ(std::make_pair(2, m_pView->GetUsedRows() - 1), at());
    Keys(Qt::ControlModifier, Qt::Key_Up);
    EXPECT_EQ(std::make_pair(2, 0), at());
    Keys(Qt::ControlModifier, Qt::Key_Right);
    EXPECT_EQ(std::make_pair(m_pView->GetColumnCount() - 1, 0), at());
    Keys(Qt::ControlModifier, Qt::Key_Left);
    EXPECT_EQ(std::make_pair(0, 0), at());
    // Without Ctrl, one cell.
    Keys(Qt::NoModifier, Qt::Key_Down);
    EXPECT_EQ(std::make_pair(0, 1), at());
}

TEST_F(PartsWindowTest, AFileThatIsNotAPartsListLeavesNoWindow)
{
    ByteBuilder b;
    b.Str("This is Parts Management fil").Word(100);
    WriteNativeFile(m_dir.NativeFile("WORK/bad.MBD"), b.Bytes());
    const int nBefore = m_pApp->GetOpenDocumentCount();
    MessageBoxRecorder boxes;
    EXPECT_EQ(nullptr, m_pApp->OpenDocumentFile(WorkFile("bad.MBD")));
    Pump();
    EXPECT_EQ(nBefore, m_pApp->GetOpenDocumentCount());
    ASSERT_EQ(1u, boxes.entries.size());
    EXPECT_EQ(CString::FromUtf8("部材ﾌｧｲﾙではありません。").str(), boxes.entries[0].text.str());
    EXPECT_EQ(b.Bytes(), ReadNativeFile(m_dir.NativeFile("WORK/bad.MBD")));
}

TEST_F(PartsWindowTest, SplitInFourEachPaneShowsItsOwnBands)
{
    ASSERT_NE(nullptr, OpenSample());
    auto* pFrame = dynamic_cast<CChildPMFrame*>(m_pView->GetParentFrame());
    ASSERT_NE(nullptr, pFrame);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    ASSERT_TRUE(splitter.SplitRow(200));
    ASSERT_TRUE(splitter.SplitColumn(300));
    Pump();
    ASSERT_EQ(2, splitter.GetRowCount());
    ASSERT_EQ(2, splitter.GetColumnCount());
    // Top-left: row numbers and titles; top-right: titles only; lower-left: row numbers
    // only; lower-right: neither. Every pane is a grid of the same list.
    const int nNumbers = CMorvelPMView::NumberWidthFor(m_pView->GetRowLimit());
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            SCOPED_TRACE(r * 2 + c);
            auto* pPane = dynamic_cast<CMorvelPMView*>(splitter.GetPane(r, c));
            ASSERT_NE(nullptr, pPane);
            EXPECT_EQ(m_pDoc, pPane->GetDocument());
            EXPECT_EQ(c == 0 ? nNumbers : 0, pPane->GetMetrics().nRowHeaderWidth);
            EXPECT_EQ(r == 0 ? CMorvelPMView::BASE_HEADER_HEIGHT : 0, pPane->GetMetrics().nHeaderHeight);
            EXPECT_EQ("122549.000000", pPane->GetCellText(0, 5).str());
        }
    }
    // A zoom reaches every pane.
    m_pView->SendMessage(WM_COMMAND, ID_ZOOM_150, 0);
    Pump();
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(300, static_cast<CMorvelPMView*>(splitter.GetPane(r, c))->GetColumnWidth(0));
    }
}

TEST_F(PartsWindowTest, ADamagedFileTakesTheWaitDialogDownBeforeItsMessage)
{
    const auto good = ReadNativeFile(m_dir.NativeFile("WORK/部材処理.MBD"));
    ASSERT_GT(good.size(), 100u);
    WriteNativeFile(m_dir.NativeFile("WORK/cut.MBD"), std::vector<uint8_t>(good.begin(), good.begin() + 100));
    // The wait dialog holds the mouse while it is up.
    std::vector<bool> captured;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const CString&, UINT, UINT) {
        captured.push_back(CWnd::GetCapture() != nullptr);
        return IDOK;
    });
    const int nBefore = m_pApp->GetOpenDocumentCount();
    EXPECT_EQ(nullptr, m_pApp->OpenDocumentFile(WorkFile("cut.MBD")));
    Pump();
    SetMessageBoxHandler(previous);
    ASSERT_EQ(1u, captured.size());
    EXPECT_FALSE(captured[0]);
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ(nBefore, m_pApp->GetOpenDocumentCount());
}

TEST_F(PartsWindowTest, InASelectionTheCurrentCellKeepsItsColoursAndTheOthersAreInverted)
{
    ASSERT_NE(nullptr, OpenSample());
    Click(0, 6);
    m_pView->SetSelection(CMorvelView::selectBlock, CRect(0, 6, 2, 6));
    Repaint();
    const auto background = [&](int nCol, int nRow) {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        CClientDC dc(m_pView);
        return dc.GetPixel(rc.left + 8, (rc.top + rc.bottom) / 2) & 0xFFFFFF;
    };
    EXPECT_EQ(RGB(255, 255, 255), background(0, 6));
    EXPECT_EQ(RGB(0, 0, 0), background(1, 6));
    EXPECT_EQ(RGB(0, 0, 0), background(2, 6));
    EXPECT_EQ(RGB(255, 255, 255), background(3, 6));
}

namespace {

// Every pixel of a cell, to see whether a paint changed it.
std::vector<COLORREF> CellPixels(CMorvelPMView* pView, int nCol, int nRow)
{
    CRect rc;
    pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
    CClientDC dc(pView);
    std::vector<COLORREF> pixels;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(dc.GetPixel(x, y) & 0xFFFFFF);
    return pixels;
}

} // namespace

TEST_F(PartsWindowTest, AFirstPaintOnlyWidensItsAreaAndTheNextPaintDraws)
{
    ASSERT_NE(nullptr, OpenSample());
    Repaint();
    EXPECT_FALSE(CMorvelPMView::IsDrawingPaintDue()) << "a repaint runs both paints of the pair";
    // New texts put in without a repaint: the screen still shows the old ones.
    const auto oldInner = CellPixels(m_pView, 2, 3);
    const auto oldCorner = CellPixels(m_pView, 0, 0);
    m_pView->SetCellText("8888", 3, 2);
    m_pView->SetCellText("WWWW", 0, 0);
    m_pView->ValidateRect(nullptr);
    const auto firstPaint = [&](int nCol, int nRow) {
        CRect rcCell;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rcCell);
        CClientDC dc(m_pView);
        dc.IntersectClipRect(&rcCell);
        m_pView->OnDraw(&dc);
        return rcCell;
    };

    // A cell inside the grid: its own rectangle, one pixel larger, is invalidated and
    // nothing is drawn yet.
    const CRect rcInner = firstPaint(2, 3);
    EXPECT_TRUE(CMorvelPMView::IsDrawingPaintDue());
    CRect rcUpdate;
    ASSERT_TRUE(m_pView->GetUpdateRect(&rcUpdate));
    EXPECT_EQ(CRect(rcInner.left, rcInner.top, rcInner.right + 1, rcInner.bottom + 1), rcUpdate);
    EXPECT_EQ(oldInner, CellPixels(m_pView, 2, 3));
    // The next paint draws, and clears the flag.
    m_pView->UpdateWindow();
    EXPECT_FALSE(CMorvelPMView::IsDrawingPaintDue());
    EXPECT_NE(oldInner, CellPixels(m_pView, 2, 3));
    EXPECT_FALSE(m_pView->GetUpdateRect(&rcUpdate));

    // The first cell of the grid: the area takes in the title header above it and the
    // row-number box beside it.
    const CRect rcCorner = firstPaint(0, 0);
    ASSERT_TRUE(m_pView->GetUpdateRect(&rcUpdate));
    EXPECT_EQ(CRect(0, 0, rcCorner.right + 1, rcCorner.bottom + 1), rcUpdate);
    EXPECT_EQ(oldCorner, CellPixels(m_pView, 0, 0));
    m_pView->UpdateWindow();
    EXPECT_NE(oldCorner, CellPixels(m_pView, 0, 0));
    EXPECT_FALSE(CMorvelPMView::IsDrawingPaintDue());
}

TEST_F(PartsWindowTest, ThePanesScrollWithTheSplittersBarsAndShowNoneOfTheirOwn)
{
    ASSERT_NE(nullptr, OpenSample());
    auto* pFrame = dynamic_cast<CChildPMFrame*>(m_pView->GetParentFrame());
    ASSERT_NE(nullptr, pFrame);
    CSplitterWnd& splitter = pFrame->m_wndSplitter;
    CScrollBar* pHorz = m_pView->GetScrollBarCtrl(SB_HORZ);
    CScrollBar* pVert = m_pView->GetScrollBarCtrl(SB_VERT);
    ASSERT_NE(nullptr, pHorz);
    ASSERT_NE(nullptr, pVert);
    EXPECT_EQ(splitter.GetSharedScrollBar(SB_HORZ, 0, 0), pHorz);
    EXPECT_EQ(splitter.GetSharedScrollBar(SB_VERT, 0, 0), pVert);
    // No scroll bar of the grid's own stands inside the pane, and the grid reaches the
    // pane's bottom edge.
    for (CWnd* pChild = m_pView->GetWindow(GW_CHILD); pChild != nullptr; pChild = pChild->GetWindow(GW_HWNDNEXT))
        EXPECT_EQ(nullptr, dynamic_cast<CScrollBar*>(pChild));
    CRect rcClient;
    m_pView->GetClientRect(&rcClient);
    const auto metrics = m_pView->GetMetrics();
    EXPECT_EQ((rcClient.Height() - metrics.nHeaderHeight) / metrics.nRowHeight, m_pView->GetVisibleRowCount());

    // The splitter's bars scroll the grid and show where it stands.
    m_pView->SendMessage(WM_COMMAND, ID_ZOOM_200, 0);
    Pump();
    splitter.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(pHorz->m_hWnd));
    EXPECT_EQ(1, m_pView->GetFirstVisibleCell().x);
    EXPECT_EQ(m_pView->GetColumnWidth(0), pHorz->GetScrollPos());
    int nMin = 0, nMax = 0;
    pHorz->GetScrollRange(&nMin, &nMax);
    EXPECT_EQ(m_pView->GetMetrics().nTotalWidth - rcClient.Width() + m_pView->GetMetrics().nRowHeaderWidth, nMax);
    splitter.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(pVert->m_hWnd));
    EXPECT_EQ(1, m_pView->GetFirstVisibleCell().y);
    EXPECT_EQ(1, pVert->GetScrollPos());

    // A pane made by splitting takes the bars of its own row and column.
    ASSERT_TRUE(splitter.SplitColumn(300));
    Pump();
    auto* pRight = dynamic_cast<CMorvelPMView*>(splitter.GetPane(0, 1));
    ASSERT_NE(nullptr, pRight);
    EXPECT_EQ(splitter.GetSharedScrollBar(SB_HORZ, 0, 1), pRight->GetScrollBarCtrl(SB_HORZ));
    EXPECT_NE(pHorz, pRight->GetScrollBarCtrl(SB_HORZ));
    EXPECT_EQ(pVert, pRight->GetScrollBarCtrl(SB_VERT));
}

TEST_F(PartsWindowTest, EachWheelMessageScrollsOneRowOrWithShiftOnePage)
{
    ASSERT_NE(nullptr, OpenSample());
    CScrollBar* pVert = m_pView->GetScrollBarCtrl(SB_VERT);
    ASSERT_NE(nullptr, pVert);
    const LPARAM lPoint = MAKELPARAM(100, 100);
    // Down by one row, however large the turn.
    m_pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), lPoint);
    EXPECT_EQ(1, m_pView->GetFirstVisibleCell().y);
    m_pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), lPoint);
    EXPECT_EQ(2, m_pView->GetFirstVisibleCell().y);
    EXPECT_EQ(2, pVert->GetScrollPos());
    // With Shift, a page: the rows the grid shows whole.
    const int nPage = m_pView->GetVisibleRowCount();
    ASSERT_GT(nPage, 5);
    m_pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), lPoint);
    EXPECT_EQ(2 + nPage, m_pView->GetFirstVisibleCell().y);
    m_pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), lPoint);
    EXPECT_EQ(1 + nPage, m_pView->GetFirstVisibleCell().y);
    // A page up goes by the rows of the grid's height (a part row counts when only its
    // last pixel is missing), and no further than the first row.
    m_pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, 120), lPoint);
    EXPECT_LE(m_pView->GetFirstVisibleCell().y, 1);
    m_pView->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, 120), lPoint);
    EXPECT_EQ(0, m_pView->GetFirstVisibleCell().y);
    EXPECT_EQ(0, pVert->GetScrollPos());
}

TEST_F(PartsWindowTest, ADragSelectionShowsEveryCellItCoversInverted)
{
    ASSERT_NE(nullptr, OpenSample());
    Repaint();
    const auto background = [&](int nCol, int nRow) {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        CClientDC dc(m_pView);
        // Below the text and inside the current cell's frame.
        return dc.GetPixel(rc.left + 5, rc.bottom - 4) & 0xFFFFFF;
    };
    const auto point = [&](int nCol, int nRow) {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return MAKELPARAM(rc.left + 5, rc.top + 5);
    };
    // Pressed in 規格 of row 2 and dragged over the unit column to 単価 of row 5.
    m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point(1, 2));
    for (int c = 1; c <= 4; ++c) {
        m_pView->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, point(c, 5));
        Pump();
    }
    m_pView->SendMessage(WM_LBUTTONUP, 0, point(4, 5));
    Pump();
    for (int r = 2; r <= 5; ++r) {
        for (int c = 1; c <= 4; ++c) {
            SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
            EXPECT_EQ(c == 1 && r == 2 ? RGB(255, 255, 255) : RGB(0, 0, 0), background(c, r));
        }
    }
    EXPECT_EQ(RGB(255, 255, 255), background(5, 3));
}
