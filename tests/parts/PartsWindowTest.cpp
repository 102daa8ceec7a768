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
#include "platform/ui/frames/CSplitterWnd.h"
#include "platform/ui/gdi/CClientDC.h"
#include "resources/ResourceIds.h"
#include "tests/parts/PartsWindowFixture.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

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
    EXPECT_NE(RGB(255, 255, 255), background(1, 6));
    EXPECT_EQ(background(1, 6), background(2, 6));
    EXPECT_EQ(RGB(255, 255, 255), background(3, 6));
}
