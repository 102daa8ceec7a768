// The layout editor repaints only what a drag changes: after objects are dragged with the
// mouse, each move repainting its own area, the window shows exactly what a repaint of the
// whole window shows, at several zooms, for a table whose narrow cells clip their texts
// and carry every kind of ruled line, shading and selected cells. Switching to another
// document window and back leaves nothing on the page that a repaint would not draw.
#include "app/CChildFormFrame.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/frames/CMDIChildWnd.h"
#include "platform/ui/frames/CMDIFrameWnd.h"
#include "resources/ResourceIds.h"
#include "tests/layout/printform/LayoutTestSupport.h"

#include <QImage>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class LayoutRepaintTest : public LayoutAppTest {
protected:
    void SetUp() override
    {
        LayoutAppTest::SetUp();
        CDrawTool::s_nCurrentShape = ShapeSelect;
        const fs::path target = fs::path(m_pFolder->Native("WORK")) / "repaint.MMP";
        fs::copy_file(fs::path(MORVEL_SOURCE_DIR) / "samples" / "FORM" / CString("見積書.MMP"_sj).ToUtf8(),
                      target);
        m_pDoc = Open(m_pFolder->System("WORK/repaint.MMP"));
        ASSERT_NE(m_pDoc, nullptr);
        CDrawObjList* pList = m_pDoc->GetObjectList();
        while (!pList->IsEmpty())
            pList->RemoveHead()->Remove();
        for (POSITION pos = m_pDoc->GetFirstViewPosition(); pos != nullptr && m_pView == nullptr;)
            m_pView = dynamic_cast<CPrintFormView*>(m_pDoc->GetNextView(pos));
        ASSERT_NE(m_pView, nullptr);
        if (auto* pFrame = dynamic_cast<CMDIChildWnd*>(m_pView->GetParentFrame()))
            pFrame->MDIActivate();
        Pump();
        ASSERT_TRUE(m_pView->IsActive());
    }

    CPoint At(int x, int y)
    {
        CPoint p = m_pView->ZoomPoint(CPoint(x, y));
        m_pView->DocToClient(p);
        return p;
    }
    void Send(UINT nMsg, UINT nFlags, CPoint p)
    {
        m_pView->SendMessage(nMsg, nFlags, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
    }
    // Pixels of the window that differ from a repaint of all of it; the first one in first.
    int DifferencesFromFullRepaint(CPoint& first)
    {
        const QImage shown = AfxGetBackBuffer(m_pView->m_hWnd)->copy();
        m_pView->Invalidate(FALSE);
        m_pView->UpdateWindow();
        const QImage& full = *AfxGetBackBuffer(m_pView->m_hWnd);
        EXPECT_EQ(shown.size(), full.size());
        int n = 0;
        for (int y = 0; y < std::min(shown.height(), full.height()); ++y)
            for (int x = 0; x < std::min(shown.width(), full.width()); ++x)
                if (shown.pixel(x, y) != full.pixel(x, y) && n++ == 0)
                    first = CPoint(x, y);
        return n;
    }

    // A drag in single steps, the window repainted after each one as it is on the screen.
    // Before the button is released (which repaints the whole window) the window is
    // compared with a full repaint: the number of pixels that differ.
    int DragPainting(CPoint from, CPoint to, int nSteps, CPoint& first)
    {
        Send(WM_MOUSEMOVE, 0, from);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, from);
        m_pView->UpdateWindow();
        for (int i = 1; i <= nSteps; ++i) {
            Send(WM_MOUSEMOVE, MK_LBUTTON,
                 CPoint(from.x + (to.x - from.x) * i / nSteps, from.y + (to.y - from.y) * i / nSteps));
            m_pView->UpdateWindow();
        }
        const int nDiffer = DifferencesFromFullRepaint(first);
        Send(WM_LBUTTONUP, 0, to);
        m_pView->UpdateWindow();
        return nDiffer;
    }

    // A table of narrow cells with clipped texts, every ruled-line style in turn, shading
    // and two selected cells (the table convention: left the larger x, bottom the larger y).
    CDrawTable* AddTable(int x0, int y0, int nCols, int nRows, int cx, int cy)
    {
        auto* pTable = new CDrawTable(CRect(x0 + nCols * cx, y0 - nRows * cy, x0, y0));
        const int styleCycle[] = {1, 5, 8, 10, 11, 2, 9, 6, 3};
        const char* texts[] = {"12345", "見積書", "Wgjy", "\\1,000", "A"};
        int k = 0;
        for (int i = 0; i < nCols; ++i)
            for (int j = 0; j < nRows; ++j, ++k) {
                // Each line between rows and between columns has one style and colour along
                // the whole table, so that its pieces join.
                const int styles[4] = {styleCycle[i % 9], styleCycle[(i + 1) % 9], styleCycle[j % 9],
                                       styleCycle[(j + 1) % 9]};
                const COLORREF colors[4] = {RGB(0, 0, i * 20), RGB(0, 0, (i + 1) * 20), RGB(j * 20, 0, 0),
                                            RGB((j + 1) * 20, 0, 0)};
                CDrawCell* c = pTable->AddCellWithEdges(
                    CRect(x0 + (i + 1) * cx, y0 - (j + 1) * cy, x0 + i * cx, y0 - j * cy), styles, colors);
                c->m_strText = CString::FromUtf8(texts[k % 5]);
                c->m_logFont.lfHeight = k % 3 == 0 ? -16 : -11;
                const int aligns[] = {CTextAttributes::alignLeft, CTextAttributes::alignCenter,
                                      CTextAttributes::alignRight};
                c->m_nAlign = aligns[k % 3];
                c->m_bFill = k % 7 == 0;
                c->m_nFillPattern = k % 5;
                c->m_bSelected = k == 9 || k == 10;
            }
        m_pDoc->Add(pTable);
        return pTable;
    }

    CPrintDoc* m_pDoc = nullptr;
    CPrintFormView* m_pView = nullptr;
};

} // namespace

TEST_F(LayoutRepaintTest, WindowAfterDragsShowsWhatAFullRepaintShows)
{
    CDrawTable* pTable = AddTable(-300, 450, 9, 8, 26, 22);
    auto* pRect = new CDrawRect(CRect(-250, 420, -170, 360));
    m_pDoc->Add(pRect);
    auto* pText = new CDrawText(CRect(-120, 300, 40, 270));
    pText->m_strText = "見積 12345 Wg"_sj;
    m_pDoc->Add(pText);
    for (UINT nZoom : {ID_ZOOM_100, ID_ZOOM_75, ID_ZOOM_200}) {
        m_pView->SendMessage(WM_COMMAND, nZoom, 0);
        m_pView->Invalidate(FALSE);
        m_pView->UpdateWindow();

        // The table by its move strip below its lower side, a few units at a time.
        m_pView->Select(pTable);
        m_pView->UpdateWindow();
        const CRect tableBefore = pTable->m_position;
        const CPoint strip = At(pTable->m_position.right + 60, pTable->m_position.top - 2);
        CPoint first;
        EXPECT_EQ(DragPainting(strip, CPoint(strip.x + 23, strip.y + 9), 7, first), 0)
            << "table, zoom command " << nZoom << ", first at " << first.x << "," << first.y;
        EXPECT_NE(pTable->m_position, tableBefore) << nZoom;

        // The rectangle across the table and the text.
        m_pView->Select(pRect);
        m_pView->UpdateWindow();
        const CRect rectBefore = pRect->m_position;
        const CPoint inside = At((pRect->m_position.left + pRect->m_position.right) / 2,
                                 (pRect->m_position.top + pRect->m_position.bottom) / 2);
        EXPECT_EQ(DragPainting(inside, CPoint(inside.x + 61, inside.y + 37), 9, first), 0)
            << "rectangle, zoom command " << nZoom << ", first at " << first.x << "," << first.y;
        EXPECT_NE(pRect->m_position, rectBefore) << nZoom;
    }
}

// The page stands in the middle of a window wider than it, so it moves whenever the window
// changes its size: going to the other window through the window list gives the layout its
// normal size behind the maximised one, and coming back maximises it again.
TEST_F(LayoutRepaintTest, SwitchingWindowsThroughTheWindowListLeavesNoCopyOfTheSelection)
{
    const fs::path other = fs::path(m_pFolder->Native("WORK")) / "other.MBP";
    fs::copy_file(fs::path(MORVEL_SOURCE_DIR) / "samples" / "FORM" / CString("部材表.MBP"_sj).ToUtf8(),
                  other);
    m_pView->SendMessage(WM_COMMAND, ID_ZOOM_50, 0);
    auto* pFrame = dynamic_cast<CMDIChildWnd*>(m_pView->GetParentFrame());
    ASSERT_NE(pFrame, nullptr);
    pFrame->MDIMaximize();
    Pump();
    m_pView->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    for (int i = 0; i < 3; ++i) {
        auto* pText = new CDrawText(CRect(120, 380 - i * 40, 300, 350 - i * 40));
        pText->m_strText = "株式会社 12345"_sj;
        m_pDoc->Add(pText);
        m_pView->Select(pText, TRUE);
    }
    m_pView->UpdateWindow();

    CPrintDoc* pOther = Open(m_pFolder->System("WORK/other.MBP"));
    ASSERT_NE(pOther, nullptr);
    auto* pMain = dynamic_cast<CMDIFrameWnd*>(m_pApp->m_pMainWnd);
    ASSERT_NE(pMain, nullptr);
    auto choose = [&](CDocument* pDoc) {
        POSITION pos = pDoc->GetFirstViewPosition();
        CFrameWnd* pWanted = pDoc->GetNextView(pos)->GetParentFrame();
        const std::vector<CMDIChildWnd*> windows = pMain->GetDocumentWindows();
        for (size_t i = 0; i < windows.size(); ++i)
            if (windows[i] == pWanted)
                pMain->SendMessage(WM_COMMAND, CMDIFrameWnd::kWindowListFirst + static_cast<UINT>(i), 0);
        Pump();
    };
    choose(pOther);
    ASSERT_FALSE(m_pView->IsActive());
    choose(m_pDoc);
    ASSERT_TRUE(m_pView->IsActive());
    ASSERT_EQ(m_pView->GetSelection().GetCount(), 3);
    CPoint first;
    EXPECT_EQ(DifferencesFromFullRepaint(first), 0) << "first at " << first.x << "," << first.y;
}
