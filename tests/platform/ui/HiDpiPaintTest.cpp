// Self-drawn windows on a high-density screen: the back buffer, the off-screen bitmaps the
// views draw through and scrolling work in device pixels, and what is drawn there looks as
// it does at the normal density, only finer. These tests run when the suite runs at
// QT_SCALE_FACTOR=2 (the platform_ui_hidpi entry) and are skipped otherwise.
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWnd_p.h"
#include "platform/ui/frames/CMDIFrameWnd.h"
#include "platform/ui/frames/CPrintPreview.h"
#include "platform/ui/frames/CPrintPreview_p.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/CPaintDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include "FrameTestSupport.h"
#include "GdiTestCanvas.h"
#include "UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

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

// A window that paints what it is given.
class CDrawingWnd : public CWnd {
public:
    std::function<void(CDC&)> draw;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(255, 255, 255));
        if (draw)
            draw(dc);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDrawingWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

// The back buffer of a window of cx x cy pixels after it painted with draw.
QImage PaintedBuffer(int cx, int cy, const std::function<void(CDC&)>& draw)
{
    CDrawingWnd wnd;
    wnd.draw = draw;
    EXPECT_TRUE(wnd.CreateEx(0, nullptr, "t", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr));
    PumpEvents();
    const QImage* buffer = AfxGetBackBuffer(wnd.m_hWnd);
    const QImage image = buffer ? buffer->copy() : QImage();
    wnd.DestroyWindow();
    PumpEvents();
    return image;
}

// How much ink (darkness, in whole black pixels) a part of a picture holds.
double InkIn(const QImage& image, const QRect& area)
{
    double ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += (255 - qGray(image.pixel(x, y))) / 255.0;
    return ink;
}

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

TEST(HiDpiPaintTest, BoldTextOfAFaceWithoutABoldStyleStaysAsBoldAsAtTheNormalDensity)
{
    if (qGuiApp->devicePixelRatio() < 2.0)
        GTEST_SKIP() << "runs at QT_SCALE_FACTOR=2";
    // The grid's heading and total rows: weight 700 of a face that only has a regular style,
    // drawn straight and clipped to a cell. Rows 0 and 1 regular, rows 2 and 3 bold.
    const auto draw = [](CDC& dc) {
        for (int i = 0; i < 2; ++i) {
            LOGFONT lf = MakeLogFont(-16, "ＭＳ ゴシック"_sj, i == 0 ? FW_NORMAL : FW_BOLD);
            CFont font;
            font.CreateFontIndirect(&lf);
            CFont* pOld = dc.SelectObject(&font);
            dc.SetBkMode(TRANSPARENT);
            const CString text = "直接仮設工事 小計 1,234"_sj;
            dc.TextOut(4, 4 + 60 * i, text);
            CRect cell(4, 34 + 60 * i, 296, 54 + 60 * i);
            dc.ExtTextOut(4, 34 + 60 * i, ETO_CLIPPED, &cell, text, text.GetLength(), nullptr);
            dc.SelectObject(pOld);
        }
    };
    CGdiCanvas plain(300, 120);
    draw(plain.dc);
    const QImage fine = PaintedBuffer(300, 120, draw);
    ASSERT_EQ(fine.size(), QSize(600, 240));
    for (int way = 0; way < 2; ++way) {
        const QRect row(0, 30 * way, 300, 30);
        const QRect fineRow(0, 60 * way, 600, 60);
        const double plainShare = InkIn(plain.Image(), row.translated(0, 60)) / InkIn(plain.Image(), row);
        const double fineShare = InkIn(fine, fineRow.translated(0, 120)) / InkIn(fine, fineRow);
        EXPECT_GT(plainShare, 1.3) << (way ? "clipped" : "straight");
        EXPECT_GT(fineShare, 0.9 * plainShare) << (way ? "clipped" : "straight");
    }
}

TEST(HiDpiPaintTest, ThinLinesPlottedPixelByPixelHaveNoGaps)
{
    if (qGuiApp->devicePixelRatio() < 2.0)
        GTEST_SKIP() << "runs at QT_SCALE_FACTOR=2";
    // A rule whose ends are pulled in by a pixel falls by one pixel along its length, so it
    // is plotted point by point; a dotted pen plots its dots the same way.
    const QImage fine = PaintedBuffer(300, 60, [](CDC& dc) {
        CPen solid(PS_SOLID, 1, RGB(0, 0, 0));
        CPen dotted(PS_DOT, 1, RGB(0, 0, 0));
        dc.SetBkMode(TRANSPARENT);
        CPen* pOld = dc.SelectObject(&solid);
        dc.MoveTo(10, 10);
        dc.LineTo(290, 11);
        dc.SelectObject(&dotted);
        dc.MoveTo(10, 40);
        dc.LineTo(290, 40);
        dc.SelectObject(pOld);
    });
    ASSERT_EQ(fine.size(), QSize(600, 120));
    const auto inkedInColumn = [&](int x, int top, int bottom) {
        int n = 0;
        for (int y = top; y <= bottom; ++y)
            n += qGray(fine.pixel(x, y)) < 128 ? 1 : 0;
        return n;
    };
    // Each pixel of the line is a 2 x 2 square of device pixels.
    int gaps = 0;
    for (int x = 20; x < 580; ++x)
        gaps += inkedInColumn(x, 16, 26) == 2 ? 0 : 1;
    EXPECT_EQ(gaps, 0);
    // The dots come in pairs of device columns, as wide as at the normal density.
    int dottedInk = 0;
    for (int x = 20; x < 580; ++x)
        dottedInk += inkedInColumn(x, 76, 84);
    EXPECT_EQ(inkedInColumn(20, 76, 84), inkedInColumn(21, 76, 84));
    EXPECT_GT(dottedInk, 560);
}

// The print preview on the finer screen: the pages are drawn in its device pixels, not drawn
// at the screen's pixels and stretched.
TEST(HiDpiPaintTest, PreviewPagesAreDrawnInTheScreensDevicePixels)
{
    if (qGuiApp->devicePixelRatio() < 2.0)
        GTEST_SKIP() << "runs at QT_SCALE_FACTOR=2";
    const CPrinterSettings saved = CPrinterSettings::Instance();
    CPrinterSettings::Instance().UsePdfPrinter();
    CFrameTestEnvironment env(FALSE);
    ASSERT_NE(env.TemplateA()->OpenDocumentFile(nullptr), nullptr);
    bool bRan = false;
    CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        bRan = true;
        CPrintPreviewImpl* d = preview.GetImpl();
        ASSERT_EQ(d->pages.count(1), 1u);
        const QImage& page = d->pages.at(1);
        // At 50 % an A4 page of 2480 x 3508 dots at 300 dpi is 397 x 561 screen pixels,
        // 794 x 1123 device pixels.
        EXPECT_EQ(page.devicePixelRatio(), 2.0);
        EXPECT_EQ(page.width(), 794);
        EXPECT_EQ(page.height(), 1123);
        // The black square at the printable origin (50 dots in) starts sharp at device
        // pixel 16: no screen pixel's blur around its corner.
        EXPECT_EQ(page.pixel(14, 14), qRgb(255, 255, 255));
        EXPECT_EQ(page.pixel(17, 17), qRgb(0, 0, 0));
        const QList<QLabel*> labels = d->pageArea->findChildren<QLabel*>();
        ASSERT_FALSE(labels.isEmpty());
        EXPECT_EQ(labels.front()->pixmap().devicePixelRatio(), 2.0);
        EXPECT_EQ(labels.front()->pixmap().deviceIndependentSize().width(), 397.0);
        preview.Close(FALSE);
    });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    CPrintPreview::SetTestHook(nullptr);
    CPrinterSettings::Instance() = saved;
    EXPECT_TRUE(bRan);
}
