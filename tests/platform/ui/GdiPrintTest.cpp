// Printer contexts: the caps a printed page reports and a print job through Qt's PDF
// printer, page by page.
#include "tests/support/TestSupport.h"

#include "GdiTestCanvas.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

TEST(GdiPrint, PrinterCapsDescribeThePageAndItsPrintableArea)
{
    TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.NativeFile("caps.pdf")));
    printer.setResolution(600);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 15, 10, 15), QPageLayout::Millimeter));
    CDC dc;
    ASSERT_TRUE(dc.AttachDevice(&printer, TRUE));
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
    // A4 is 210 x 297 mm: 4961 x 7016 pixels at 600 dpi.
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), 4961, 2);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALHEIGHT), 7016, 2);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETX), 236, 2); // 10 mm
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETY), 354, 2); // 15 mm
    EXPECT_NEAR(dc.GetDeviceCaps(HORZRES), 4961 - 2 * 236, 3);
    EXPECT_NEAR(dc.GetDeviceCaps(HORZSIZE), 190, 1);
    EXPECT_NEAR(dc.GetDeviceCaps(VERTSIZE), 267, 1);
    dc.AbortDoc();
}

TEST(GdiPrint, PagesOfAPrintJobEndUpInTheFile)
{
    TempDir dir;
    const std::string path = dir.NativeFile("job.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        CDC dc;
        ASSERT_TRUE(dc.AttachDevice(&printer, TRUE));
        ASSERT_GT(dc.StartDoc("見積書"_sj), 0);
        for (int page = 0; page < 3; ++page) {
            ASSERT_GT(dc.StartPage(), 0);
            // The layouts' mapping: 0.01 inch units, y up.
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
            dc.SetWindowExt(100, -100);
            CFont font;
            font.CreatePointFont(120, "ＭＳ 明朝"_sj, &dc);
            CFont* pOld = dc.SelectObject(&font);
            dc.TextOut(100, -100, "御見積書"_sj);
            dc.Rectangle(50, -50, 400, -300);
            dc.SelectObject(pOld);
            ASSERT_GT(dc.EndPage(), 0);
        }
        ASSERT_GT(dc.EndDoc(), 0);
        EXPECT_EQ(dc.GetSafeHdc(), nullptr);
    }
    const std::vector<uint8_t> bytes = ReadNativeFile(path);
    ASSERT_GT(bytes.size(), 100u);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("%PDF", 0), 0u);
    size_t pages = 0;
    for (size_t pos = text.find("/Type /Page\n"); pos != std::string::npos;
         pos = text.find("/Type /Page\n", pos + 1))
        ++pages;
    size_t pagesAlt = 0;
    for (size_t pos = text.find("/Type /Page"); pos != std::string::npos;
         pos = text.find("/Type /Page", pos + 1))
        if (text.compare(pos, 12, "/Type /Pages") != 0)
            ++pagesAlt;
    EXPECT_EQ(std::max(pages, pagesAlt), 3u);
}

TEST(GdiPrint, PreviewDrawsThePageScaledWhileReportingThePrinter)
{
    // A preview: the page of a 600 dpi printer drawn at a sixth of its size on the screen.
    QImage page(200, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    CDC dc;
    ASSERT_TRUE(dc.AttachDevice(&page, TRUE));
    CDeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.logPixelsX = caps.logPixelsY = 600;
    caps.horzRes = 1200;
    caps.vertRes = 1800;
    dc.SetDeviceCaps(caps);
    dc.SetOutputTransform(1.0 / 6.0, 0, 0);
    CRect box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 1200, 1800));
    CBrush red(RGB(255, 0, 0));
    dc.SelectObject(&red);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(600, 600, 1201, 1201);
    // A one-pixel line stays visible at the small scale.
    dc.SelectStockObject(BLACK_PEN);
    dc.MoveTo(0, 1500);
    dc.LineTo(1200, 1500);
    dc.DetachDevice();
    EXPECT_EQ(page.pixel(150, 150), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(90, 90), qRgb(255, 255, 255));
    int dark = 0;
    for (int x = 0; x < 200; ++x)
        dark += qRed(page.pixel(x, 250)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 150);
}

// Bold asked of faces without a bold style, at the sizes of a layout's texts: a page drawn
// as the preview draws it (an image standing for the paper, at the printer's size and at a
// third of it) has as much ink in each text as the PDF the printers are given.
TEST(GdiPrint, MadeUpBoldOnAPreviewPageIsAsDarkAsOnThePaper)
{
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs pdftoppm (poppler-utils, scripts/setup.sh)";
    const int heights[] = {-24, -42, -60, -120};
    const auto draw = [&](CDC& dc) {
        dc.SetBkMode(TRANSPARENT);
        for (int i = 0; i < 8; ++i) {
            const LOGFONT lf =
                MakeLogFont(heights[i % 4], i < 4 ? "ＭＳ 明朝"_sj : "ＭＳ ゴシック"_sj, FW_BOLD);
            CFont font;
            font.CreateFontIndirect(&lf);
            CFont* pOld = dc.SelectObject(&font);
            dc.TextOut(30, 30 + 150 * i, "株式会社 山田商事　様"_sj);
            dc.SelectObject(pOld);
        }
    };
    TempDir dir;
    const std::string pdf = dir.NativeFile("bold.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        printer.setResolution(300);
        printer.setFullPage(true);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        CDC dc;
        ASSERT_TRUE(dc.AttachDevice(&printer, TRUE));
        ASSERT_GT(dc.StartDoc("bold"), 0);
        ASSERT_GT(dc.StartPage(), 0);
        draw(dc);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    CDeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.logPixelsX = caps.logPixelsY = 300;
    caps.horzRes = caps.physicalWidth = 2480;
    caps.vertRes = caps.physicalHeight = 1300;
    for (const int nDivisor : {1, 3}) {
        SCOPED_TRACE(nDivisor);
        const std::string out = dir.NativeFile("page" + std::to_string(nDivisor));
        const std::string command = "pdftoppm -r " + std::to_string(300 / nDivisor) +
                                    " -f 1 -l 1 -gray -singlefile '" + pdf + "' '" + out + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const QImage paper(QString::fromStdString(out + ".pgm"));
        ASSERT_FALSE(paper.isNull());
        QImage page(2480 / nDivisor, 1300 / nDivisor, QImage::Format_RGB32);
        page.fill(Qt::white);
        CDC dc;
        ASSERT_TRUE(dc.AttachDevice(&page, TRUE));
        dc.SetDeviceCaps(caps);
        dc.SetOutputTransform(1.0 / nDivisor, 0, 0);
        draw(dc);
        dc.DetachDevice();
        const auto ink = [&](const QImage& picture, int nTop) {
            double sum = 0;
            for (int y = nTop / nDivisor; y < (nTop + 150) / nDivisor; ++y)
                for (int x = 0; x < page.width(); ++x)
                    sum += (255 - qGray(picture.pixel(x, y))) / 255.0;
            return sum;
        };
        for (int i = 0; i < 8; ++i) {
            SCOPED_TRACE(heights[i % 4]);
            const double onPaper = ink(paper, 30 + 150 * i);
            ASSERT_GT(onPaper, 50.0 / nDivisor);
            EXPECT_NEAR(ink(page, 30 + 150 * i) / onPaper, 1.0, 0.1) << (i < 4 ? "Mincho" : "Gothic");
        }
    }
}
