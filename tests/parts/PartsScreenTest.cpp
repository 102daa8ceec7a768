// The parts grid on a real X display: after a mouse drag over the cells, what the X server
// shows of the grid is, pixel for pixel, what the window's back buffer holds. An update of
// the screen lost anywhere between a paint and the toolkit's copy to the display would leave
// cells showing an old picture; this compares the display itself, read back from the X
// server, which the offscreen tests cannot do. Run by tests/support/run_on_xvfb.sh; skipped elsewhere.
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "platform/ui/gdi/CClientDC.h"
#include "tests/parts/PartsWindowFixture.h"
#include "tests/support/EventWait.h"
#include "tests/support/XDisplay.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class PartsOnXScreen : public PartsWindowTest {
protected:
    // The grid's client rectangle in screen coordinates, as the X server has it, and the
    // same rectangle read from the back buffer. The screen is read first: reading the back
    // buffer through a client context copies it to the screen again afterwards.
    QImage GrabScreen(const CRect& rcClient)
    {
        CPoint origin(rcClient.left, rcClient.top);
        m_pView->ClientToScreen(&origin);
        QScreen* pScreen = QGuiApplication::primaryScreen();
        if (pScreen == nullptr)
            return QImage();
        return pScreen->grabWindow(0, origin.x, origin.y, rcClient.Width(), rcClient.Height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // Pixels that differ between the screen and the back buffer; the first one in *pFirst.
    int CountDifferences(const QImage& screen, const CRect& rcClient, CPoint* pFirst)
    {
        CClientDC dc(m_pView);
        int nDiff = 0;
        for (int y = 0; y < rcClient.Height(); ++y) {
            for (int x = 0; x < rcClient.Width(); ++x) {
                const COLORREF buffer = dc.GetPixel(rcClient.left + x, rcClient.top + y) & 0xFFFFFF;
                const QRgb s = screen.pixel(x, y);
                if (buffer != RGB(qRed(s), qGreen(s), qBlue(s))) {
                    if (nDiff++ == 0)
                        *pFirst = CPoint(rcClient.left + x, rcClient.top + y);
                }
            }
        }
        return nDiff;
    }
    // Lets the toolkit copy whatever it was asked to the display (every pending event handled,
    // then a round trip to the X server), then compares once. A lost update never corrects
    // itself by waiting; reading the back buffer through a client context would correct it,
    // so that comes after the screen is read.
    void ExpectScreenShowsBackBuffer(const CRect& rcClient)
    {
        DrainEventsAndSync();
        const QImage screen = GrabScreen(rcClient);
        ASSERT_FALSE(screen.isNull());
        ASSERT_EQ(QSize(rcClient.Width(), rcClient.Height()), screen.size());
        CPoint first(-1, -1);
        const int nDiff = CountDifferences(screen, rcClient, &first);
        EXPECT_EQ(0, nDiff) << "first at " << first.x << "," << first.y;
    }
    CPoint Inside(int nCol, int nRow, int dx = 5, int dy = 5)
    {
        CRect rc;
        m_pView->GetCellRangeRect(nCol, nRow, nCol, nRow, &rc);
        return CPoint(rc.left + dx, rc.top + dy);
    }
    void Send(UINT nMsg, WPARAM wParam, CPoint pt) { m_pView->SendMessage(nMsg, wParam, MAKELPARAM(pt.x, pt.y)); }
    // The title row and the first rows of every column.
    CRect GridArea()
    {
        CRect rc;
        m_pView->GetCellRangeRect(0, 0, m_pView->GetColumnCount() - 1, 7, &rc);
        rc.left = 0;
        rc.top = 0;
        ++rc.right;
        ++rc.bottom;
        return rc;
    }
};

} // namespace

TEST_F(PartsOnXScreen, ADragSelectionShowsOnTheDisplayAsTheBackBufferHoldsIt)
{
    if (!OnXDisplay())
        GTEST_SKIP() << "needs an X display (tests/support/run_on_xvfb.sh)";
    ASSERT_NE(nullptr, OpenSample());
    Repaint();
    const CRect rcGrid = GridArea();
    ExpectScreenShowsBackBuffer(rcGrid);

    // Slowly, a paint after every step: from 規格 of the first row over the unit column to
    // 単価 of row 5, as a hand does it.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Inside(1, 0));
    for (int c = 1; c <= 4; ++c) {
        for (int r = 0; r <= 4; r += 2) {
            Send(WM_MOUSEMOVE, MK_LBUTTON, Inside(c, r));
            Pump();
        }
    }
    Send(WM_LBUTTONUP, 0, Inside(4, 4));
    ExpectScreenShowsBackBuffer(rcGrid);
    // The cells the selection covers show inverted on the display (checked in the back
    // buffer, which the display was just found to match).
    {
        CRect rc;
        m_pView->GetCellRangeRect(3, 3, 3, 3, &rc);
        CClientDC dc(m_pView);
        // Below the text of the unit cell in row 4.
        EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(rc.left + 5, rc.bottom - 4) & 0xFFFFFF);
    }

    // Quickly, all the moves before any paint, and back over part of the way.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, Inside(3, 2));
    for (int c = 3; c <= 6; ++c)
        Send(WM_MOUSEMOVE, MK_LBUTTON, Inside(c, 5));
    Send(WM_MOUSEMOVE, MK_LBUTTON, Inside(4, 4));
    Send(WM_LBUTTONUP, 0, Inside(4, 4));
    ExpectScreenShowsBackBuffer(rcGrid);
}
