// Self-drawn windows on a high-density screen: the back buffer, the off-screen bitmaps the
// views draw through and scrolling work in device pixels. These tests run when the suite
// runs at QT_SCALE_FACTOR=2 (the platform_ui_hidpi entry) and are skipped otherwise.
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include "UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Draws text straight onto the window and, below it, through an off-screen bitmap copied
// out with BitBlt (the way the grids repaint).
class CTextWnd : public CWnd {
public:
    BITMAP bitmapInfo{};

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(255, 255, 255));
        LOGFONT lf{};
        lf.lfHeight = -16;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        std::strcpy(lf.lfFaceName, "ＭＳ ゴシック"_sj);
        CFont font;
        font.CreateFontIndirect(&lf);
        CFont* pOld = dc.SelectObject(&font);
        dc.TextOut(4, 4, "見積書 Aa123"_sj);
        dc.SelectObject(pOld);

        CDC mem;
        CBitmap bitmap;
        mem.CreateCompatibleDC(&dc);
        bitmap.CreateCompatibleBitmap(&dc, 150, 30);
        bitmap.GetBitmap(&bitmapInfo);
        CBitmap* pOldBitmap = mem.SelectObject(&bitmap);
        mem.FillSolidRect(0, 0, 150, 30, RGB(255, 255, 255));
        CFont* pOldMem = mem.SelectObject(&font);
        mem.TextOut(4, 4, "部材一覧 Bb456"_sj);
        mem.SelectObject(pOldMem);
        dc.BitBlt(0, 40, 150, 30, &mem, 0, 0, SRCCOPY);
        mem.SelectObject(pOldBitmap);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTextWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

// Of the 2x2 device-pixel blocks (at even coordinates) that hold ink, the share whose four
// pixels differ. A picture drawn at normal size and doubled has none.
double ShareOfFineBlocks(const QImage& image, const QRect& area)
{
    int inked = 0, fine = 0;
    for (int y = area.top(); y + 1 <= area.bottom(); y += 2) {
        for (int x = area.left(); x + 1 <= area.right(); x += 2) {
            const QRgb a = image.pixel(x, y), b = image.pixel(x + 1, y), c = image.pixel(x, y + 1),
                       d = image.pixel(x + 1, y + 1);
            if (((a & b & c & d) & 0xFFFFFF) == 0xFFFFFF)
                continue;
            ++inked;
            if (a != b || a != c || a != d)
                ++fine;
        }
    }
    return inked ? static_cast<double>(fine) / inked : 0.0;
}

} // namespace

TEST(HiDpiPaintTest, TextIsDrawnAtDevicePixelsDirectlyAndThroughOffScreenBitmaps)
{
    if (qGuiApp->devicePixelRatio() < 2.0)
        GTEST_SKIP() << "runs at QT_SCALE_FACTOR=2";
    CTextWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "t", WS_POPUP | WS_VISIBLE, 0, 0, 160, 80, nullptr, nullptr));
    PumpEvents();
    const QImage* buffer = AfxGetBackBuffer(wnd.m_hWnd);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->size(), QSize(320, 160)) << "the buffer holds device pixels";
    EXPECT_EQ(wnd.bitmapInfo.bmWidth, 150) << "a bitmap measures in the window's pixels";
    EXPECT_EQ(wnd.bitmapInfo.bmHeight, 30);
    const double direct = ShareOfFineBlocks(*buffer, QRect(0, 0, 320, 70));
    const double blitted = ShareOfFineBlocks(*buffer, QRect(0, 80, 300, 60));
    EXPECT_GT(direct, 0.3) << "text drawn on the window";
    EXPECT_GT(blitted, 0.3) << "text drawn off-screen and copied out";

    // Scrolling moves device pixels: the second line comes up unchanged.
    const QImage before = buffer->copy(0, 80, 320, 60);
    wnd.ScrollWindow(0, -40);
    EXPECT_EQ(AfxGetBackBuffer(wnd.m_hWnd)->copy(0, 0, 320, 60), before);
    wnd.DestroyWindow();
    PumpEvents();
}
