// Printing: the application's printer (a PDF printer on A4 when none is installed), what
// its contexts report, the print loop writing PDF pages through the print dialog, page
// ranges, the direct print, the print preview driving the same loop, and the printer
// set-up dialog.
#include "FrameTestSupport.h"
#include "UiTestSupport.h"

#include "platform/base/Path.h"
#include "platform/ui/dialogs/CPrintDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CPrintPreview.h"
#include "platform/ui/frames/CPrintPreview_p.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/frames/CPrinterSystem.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/PrintJobWatch_p.h"
#include "tests/support/NumberFieldTyping.h"
#include "tests/support/TestPrinterSystem.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace {

// The application's printer is the PDF printer during these tests and is put back after.
class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = CPrinterSettings::Instance();
        CPrinterSettings::Instance().UsePdfPrinter();
    }
    void TearDown() override
    {
        CPrintPreview::SetTestHook(nullptr);
        CPrinterSettings::Instance() = m_saved;
    }

    CTestViewA* OpenView(CFrameTestEnvironment& env)
    {
        if (!env.TemplateA()->OpenDocumentFile(nullptr))
            return nullptr;
        return dynamic_cast<CTestViewA*>(env.Main()->MDIGetActive()->GetActiveView());
    }

    CPrinterSettings m_saved;
};

std::string FileText(const std::string& nativePath)
{
    const std::vector<uint8_t> bytes = ReadNativeFile(nativePath);
    return std::string(bytes.begin(), bytes.end());
}

// The pages of a PDF file Qt wrote: their count and the first page's size in points.
struct PdfPages {
    int count = 0;
    double width = 0;
    double height = 0;
};

PdfPages ReadPdfPages(const std::string& text)
{
    PdfPages pages;
    static const std::regex pageRe(R"(/Type\s*/Page[^s])");
    pages.count = static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), pageRe), std::sregex_iterator()));
    static const std::regex boxRe(
        R"(/MediaBox\s*\[\s*([-0-9.]+)\s+([-0-9.]+)\s+([-0-9.]+)\s+([-0-9.]+)\s*\])");
    std::smatch m;
    if (std::regex_search(text, m, boxRe)) {
        pages.width = std::atof(m[3].str().c_str()) - std::atof(m[1].str().c_str());
        pages.height = std::atof(m[4].str().c_str()) - std::atof(m[2].str().c_str());
    }
    return pages;
}

const std::vector<std::string> kTwoPages = {"prepare",     "begin",   "preparedc:1", "print:1",
                                            "preparedc:2", "print:2", "end"};

} // namespace

TEST_F(PrintTest, DefaultPrinterIsA4At300DotsPerInchWithASixthOfAnInchMargin)
{
    CPrinterSettings& printer = CPrinterSettings::Instance();
    EXPECT_TRUE(printer.IsPdfPrinter());
    EXPECT_EQ(printer.GetPaperSize(), DMPAPER_A4);
    EXPECT_EQ(printer.GetOrientation(), DMORIENT_PORTRAIT);
    CDC dc;
    ASSERT_TRUE(printer.CreatePrinterDC(dc));
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 300);
    // A4 is 210 x 297 mm: 2480 x 3508 dots; the printable area starts 50 dots in.
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALWIDTH), 2480);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALHEIGHT), 3508);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETX), 50);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETY), 50);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 2381);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 3409);
    // The margins in 0.01 inch as the layouts compute them from these figures.
    const int left = dc.GetDeviceCaps(PHYSICALOFFSETX) * 100 / dc.GetDeviceCaps(LOGPIXELSX);
    const int right =
        (dc.GetDeviceCaps(PHYSICALWIDTH) - dc.GetDeviceCaps(PHYSICALOFFSETX) - dc.GetDeviceCaps(HORZRES)) *
        100 / dc.GetDeviceCaps(LOGPIXELSX);
    EXPECT_EQ(left, 16);
    EXPECT_EQ(right, 16);
    // The application's printer context is the same.
    CFrameTestEnvironment env(FALSE);
    CDC appDC;
    ASSERT_TRUE(env.App().CreatePrinterDC(appDC));
    EXPECT_EQ(appDC.GetDeviceCaps(PHYSICALWIDTH), 2480);
}

TEST_F(PrintTest, PrintWritesOnePdfPagePerPageOnA4)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    TempDir dir;
    const CString output = dir.Folder() + "印刷.pdf"_sj;
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
        EXPECT_EQ(dlg.GetDlgItemInt(CPrintDialog::IDC_TO_PAGE), 2u) << "the view's last page";
        // The file offered is written as this system writes paths.
        CString offered;
        dlg.GetDlgItemText(CPrintDialog::IDC_OUTPUT_FILE, offered);
        EXPECT_EQ(offered.Left(1), "/") << offered.ToUtf8();
        EXPECT_EQ(offered.Find('\\'), -1) << offered.ToUtf8();
        TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, output);
        ClickDlgButton(dlg, IDOK);
    });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    EXPECT_EQ(pView->m_printLog, kTwoPages);
    const PdfPages pages = ReadPdfPages(FileText(NativePath(output)));
    EXPECT_EQ(pages.count, 2);
    EXPECT_NEAR(pages.width, 595.3, 1.0) << "210 mm in points";
    EXPECT_NEAR(pages.height, 841.9, 1.0) << "297 mm in points";
}

TEST_F(PrintTest, PageRangeOfTheDialogPrintsOnlyThosePages)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    pView->m_nPagesToPrint = 5;
    TempDir dir;
    const CString output = dir.Folder() + "range.pdf";
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
        TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, output);
        ClickDlgButton(dlg, CPrintDialog::IDC_PAGE_RANGE);
        // A range beyond the document is refused and the dialog stays.
        TypeDlgItemText(dlg, CPrintDialog::IDC_FROM_PAGE, "4");
        TypeDlgItemText(dlg, CPrintDialog::IDC_TO_PAGE, "9");
        ClickDlgButton(dlg, IDOK);
        EXPECT_TRUE(dlg.IsModalRunning());
        TypeDlgItemText(dlg, CPrintDialog::IDC_TO_PAGE, "5");
        ClickDlgButton(dlg, IDOK);
    });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 1u);
    EXPECT_EQ(pView->m_printLog, (std::vector<std::string>{"prepare", "begin", "preparedc:4", "print:4",
                                                           "preparedc:5", "print:5", "end"}));
    EXPECT_EQ(ReadPdfPages(FileText(NativePath(output))).count, 2);
}

TEST_F(PrintTest, CancelledPrintDialogPrintsNothing)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    TempDir dir;
    CPrinterSettings::Instance().SetOutputFileName(dir.Folder() + "none.pdf");
    CDialogAnswerer answerer;
    answerer.EndDialogWith(AFX_IDD_PRINTDLG, IDCANCEL);
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    EXPECT_EQ(pView->m_printLog, (std::vector<std::string>{"prepare"}));
    EXPECT_FALSE(FileExists(dir.Folder() + "none.pdf"));
}

TEST_F(PrintTest, DirectPrintAsksNothingAndAViewOfUnknownLengthSaysWhenItEnds)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    pView->m_nPagesToPrint = 0xFFFF;
    TempDir dir;
    CPrinterSettings::Instance().SetOutputFileName(dir.Folder() + "direct.pdf");
    CDialogAnswerer answerer;
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
    EXPECT_TRUE(answerer.GetShown().empty());
    // Three pages, then the view's OnPrepareDC ends the job at the fourth.
    EXPECT_EQ(pView->m_printLog,
              (std::vector<std::string>{"prepare", "begin", "preparedc:1", "print:1", "preparedc:2",
                                        "print:2", "preparedc:3", "print:3", "preparedc:4", "end"}));
    EXPECT_EQ(ReadPdfPages(FileText(NativePath(dir.Folder() + "direct.pdf"))).count, 3);
}

TEST_F(PrintTest, PreviewDrawsThePagesThroughTheSameSteps)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    bool hookRan = false;
    CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        hookRan = true;
        CPrintPreviewImpl* d = preview.GetImpl();
        EXPECT_EQ(preview.GetNumPages(), 2) << "the view asked for two pages side by side";
        ASSERT_EQ(d->pages.size(), 2u);
        const QImage& page = d->pages.at(1);
        // At 50 % a printer dot is 96 / 300 / 2 screen pixels: the page is 397 x 561, the
        // square starts 8 pixels in (the margin) and is 24 pixels wide.
        EXPECT_EQ(page.width(), 397);
        EXPECT_EQ(page.height(), 561);
        EXPECT_EQ(page.pixel(3, 3), qRgb(255, 255, 255)) << "the unprintable margin";
        EXPECT_EQ(page.pixel(12, 12), qRgb(0, 0, 0)) << "the square at the printable origin";
        EXPECT_EQ(page.pixel(40, 40), qRgb(255, 255, 255));
        EXPECT_FALSE(preview.NextPage()) << "both pages are shown already";
        preview.SetNumPages(1);
        EXPECT_TRUE(preview.NextPage());
        EXPECT_EQ(preview.GetCurrentPage(), 2u);
        EXPECT_FALSE(preview.NextPage());
        EXPECT_TRUE(preview.PrevPage());
        preview.Close(FALSE);
    });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    EXPECT_TRUE(hookRan);
    ASSERT_GE(pView->m_printLog.size(), 7u);
    EXPECT_EQ(pView->m_printLog.front(), "prepare-preview");
    EXPECT_EQ(pView->m_printLog[1], "begin") << "the preview's context is a printing one";
    EXPECT_EQ(pView->m_printLog[2], "preparedc:1");
    EXPECT_EQ(pView->m_printLog[3], "print:1");
    EXPECT_EQ(pView->m_printLog.back(), "end");
}

// Thin lines stay lines at every zoom of the preview: a double frame of two strokes 3 dots
// wide and 3 dots apart (a layout's double style at 300 dpi) and a line one dot wide show
// black where the paper shows them, not as light grey hairlines. Fails while the preview
// averages ink thinner than a shown pixel with the paper around it.
TEST_F(PrintTest, PreviewShowsThinLinesAndDoubleFramesBlackAtEveryZoom)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    pView->m_drawPage = [](CDC* pDC) {
        CPen frame(PS_INSIDEFRAME, 3, RGB(0, 0, 0));
        CPen* pOld = pDC->SelectObject(&frame);
        CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
        pDC->Rectangle(100, 100, 1000, 700);
        pDC->Rectangle(106, 106, 994, 694);
        CPen thin(PS_SOLID, 1, RGB(0, 0, 0));
        pDC->SelectObject(&thin);
        pDC->MoveTo(100, 900);
        pDC->LineTo(1000, 900);
        pDC->SelectObject(pOld);
        pDC->SelectObject(static_cast<CBrush*>(pOldBrush));
    };
    std::vector<std::string> faint;
    CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        CPrintPreviewImpl* d = preview.GetImpl();
        const auto check = [&] {
            const QImage& page = d->pages.at(1);
            // The page's printable area starts a sixth of an inch in, on A4 at 300 dpi.
            const double scale = page.width() / 2480.0;
            const int x = static_cast<int>((550 + 50) * scale);
            // The darkest pixel of the column across a band of dots.
            const auto darkest = [&](int y0, int y1) {
                int nGray = 255;
                for (int y = static_cast<int>((y0 + 50) * scale) - 1;
                     y <= static_cast<int>((y1 + 50) * scale) + 1; ++y)
                    nGray = std::min(nGray, qGray(page.pixel(x, y)));
                return nGray;
            };
            const std::string zoom = std::to_string(d->nZoom) + " %: ";
            if (darkest(100, 108) > 64)
                faint.push_back(zoom + "double frame " + std::to_string(darkest(100, 108)));
            if (darkest(900, 900) > 64)
                faint.push_back(zoom + "thin line " + std::to_string(darkest(900, 900)));
        };
        preview.SetNumPages(1);
        check();
        for (int i = 0; i < 2; ++i) {
            preview.ZoomOut();
            check();
        }
        for (int i = 0; i < 4; ++i) {
            preview.ZoomIn();
            if (d->nZoom > 50)
                check();
        }
        preview.Close(FALSE);
    });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    EXPECT_TRUE(faint.empty()) << faint.front();
}

// What the preview window shows: every page drawn is on the screen at its full size, inside
// an area that holds it, after every step a user takes (paging on the shown window, one or
// two pages, zooming).
void ExpectPagesShownWhole(CPrintPreviewImpl* d, const char* step)
{
    SCOPED_TRACE(step);
    ASSERT_TRUE(d->pageArea);
    ASSERT_TRUE(d->dialog);
    EXPECT_TRUE(d->dialog->isVisible());
    const QList<QLabel*> labels = d->pageArea->findChildren<QLabel*>();
    ASSERT_EQ(static_cast<size_t>(labels.size()), d->pages.size());
    int nWidths = 0;
    for (QLabel* pLabel : labels) {
        EXPECT_TRUE(pLabel->isVisible());
        const QSize image = pLabel->pixmap().size();
        EXPECT_GE(pLabel->width(), image.width());
        EXPECT_GE(pLabel->height(), image.height());
        EXPECT_GE(d->pageArea->height(), image.height());
        nWidths += image.width();
    }
    EXPECT_GE(d->pageArea->width(), nWidths);
}

TEST_F(PrintTest, PreviewWindowShowsEveryPageWholeAfterPagingAndZooming)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    pView->m_nPagesToPrint = 3;
    bool hookRan = false;
    CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        hookRan = true;
        CPrintPreviewImpl* d = preview.GetImpl();
        PumpEvents();
        ExpectPagesShownWhole(d, "pages 1-2 as the window opens");
        EXPECT_TRUE(preview.NextPage());
        EXPECT_EQ(preview.GetCurrentPage(), 3u);
        ExpectPagesShownWhole(d, "page 3 alone in two-page mode");
        const QSize before = d->pages.at(3).size();
        preview.ZoomIn();
        EXPECT_GT(d->pages.at(3).width(), before.width());
        ExpectPagesShownWhole(d, "page 3 zoomed in");
        EXPECT_TRUE(preview.PrevPage());
        ExpectPagesShownWhole(d, "back to pages 1-2");
        preview.SetNumPages(1);
        ExpectPagesShownWhole(d, "one page");
        PumpEvents();
        ExpectPagesShownWhole(d, "after the events are handled");
        preview.Close(FALSE);
    });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    EXPECT_TRUE(hookRan);
}

TEST_F(PrintTest, PreviewPrintButtonPrintsAfterThePreviewCloses)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    CPrintPreview::SetTestHook([](CPrintPreview& preview) { preview.Close(TRUE); });
    CDialogAnswerer answerer;
    answerer.EndDialogWith(AFX_IDD_PRINTDLG, IDCANCEL);
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    EXPECT_EQ(pView->m_printLog.back(), "end");
    EXPECT_TRUE(answerer.DialogIds().empty()) << "the print command waits for the preview to go";
    PumpEvents();
    ASSERT_EQ(answerer.DialogIds().size(), 1u);
    EXPECT_EQ(answerer.DialogIds()[0], AFX_IDD_PRINTDLG);
}

TEST_F(PrintTest, PrintSetupChangesPaperOrientationAndMargins)
{
    CFrameTestEnvironment env(FALSE);
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PRINTSETUPDLG, [](CDialog& dlg) {
        const std::vector<int> papers = CPrinterSettings::GetPaperSizes();
        int b4 = -1;
        for (size_t i = 0; i < papers.size(); ++i)
            if (papers[i] == DMPAPER_B4)
                b4 = static_cast<int>(i);
        ASSERT_GE(b4, 0);
        SelectDlgItem(dlg, CPrintDialog::IDC_PAPER, b4);
        ClickDlgButton(dlg, CPrintDialog::IDC_LANDSCAPE);
        // A margin that is not a number is refused and the dialog stays.
        TypeDlgItemText(dlg, CPrintDialog::IDC_MARGIN_LEFT, "abc");
        ClickDlgButton(dlg, IDOK);
        EXPECT_TRUE(static_cast<CPrintDialog&>(dlg).IsModalRunning());
        for (UINT nID : {CPrintDialog::IDC_MARGIN_LEFT, CPrintDialog::IDC_MARGIN_TOP,
                         CPrintDialog::IDC_MARGIN_RIGHT, CPrintDialog::IDC_MARGIN_BOTTOM})
            TypeDlgItemText(dlg, static_cast<int>(nID), "12.7");
        ClickDlgButton(dlg, IDOK);
    });
    env.App().OnFilePrintSetup();
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 1u);
    CPrinterSettings& printer = CPrinterSettings::Instance();
    EXPECT_EQ(printer.GetPaperSize(), DMPAPER_B4);
    EXPECT_EQ(printer.GetOrientation(), DMORIENT_LANDSCAPE);
    CDC dc;
    ASSERT_TRUE(printer.CreatePrinterDC(dc));
    // B4 (JIS) lying: 364 x 257 mm; half-inch margins of 150 dots.
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALWIDTH), 4299);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALHEIGHT), 3035);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETX), 150);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 4299 - 300);

    // Cancel changes nothing.
    answerer.EndDialogWith(AFX_IDD_PRINTSETUPDLG, IDCANCEL);
    env.App().OnFilePrintSetup();
    EXPECT_EQ(printer.GetPaperSize(), DMPAPER_B4);
}

// ---------------------------------------------------------------------------------------
// Against a real scheduler, when scripts/check_cups.sh asks for it (CRealCupsQueue).
// ---------------------------------------------------------------------------------------

// A CUPS queue (cups-pdf) that rejects jobs: printing says so rather than losing the job
// without a word; once the queue accepts again, the job reaches it and nothing is said.
// The printer set-up shows each printer's own margins when the printer changes.
TEST_F(PrintTest, ARejectingCupsQueueIsReportedAndTheSetupFollowsThePrinter)
{
    if (!CRealCupsQueue::Asked() || !CPrintJobWatch::CupsAnswers())
        GTEST_SKIP() << "scripts/check_cups.sh runs this against a scheduler of its own";
    CPrinterSystem::CScope machine(CPrinterSystem::Machine());
    CRealCupsQueue testQueue;
    const std::string& queue = testQueue.Name();
    const auto run = CRealCupsQueue::Run;
    ASSERT_EQ(run(testQueue.AddCommand()), 0);
    CPrinterSettings cupsPrinter;
    ASSERT_TRUE(cupsPrinter.SelectPrinter(CString(queue.c_str())));
    CPrinterSettings::Instance() = cupsPrinter;

    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    CDialogAnswerer answerer;
    ASSERT_EQ(run("cupsreject " + queue), 0);
    answerer.AnswerDialog(AFX_IDD_PRINTDLG, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{"印刷を開始できませんでした。"_sj});

    ASSERT_EQ(run("cupsaccept " + queue), 0);
    answerer.AnswerDialog(AFX_IDD_PRINTDLG, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    EXPECT_EQ(answerer.MessageBoxTexts().size(), 1u) << "the accepted job is not reported";
    // A queue that starts refusing while a job is being made: the job is lost, and said so.
    {
        CPrintJobWatch watch(queue);
        EXPECT_TRUE(watch.QueueAccepts());
        ASSERT_EQ(run("cupsreject " + queue), 0);
        EXPECT_FALSE(watch.JobReached());
    }

    // The set-up dialog, from the PDF printer with margins of its own to the queue.
    CPrinterSettings pdf;
    pdf.SelectPrinter(CString());
    ASSERT_TRUE(pdf.SetMarginsTenthsMM(CRect(300, 300, 300, 300)));
    CPrinterSettings::Instance() = pdf;
    CString before, after;
    answerer.AnswerDialog(AFX_IDD_PRINTSETUPDLG, [&](CDialog& dlg) {
        dlg.GetDlgItemText(CPrintDialog::IDC_MARGIN_LEFT, before);
        const int nQueue = static_cast<int>(
            dlg.SendDlgItemMessage(CPrintDialog::IDC_PRINTER, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(queue.c_str())));
        ASSERT_GE(nQueue, 0);
        SelectDlgItem(dlg, CPrintDialog::IDC_PRINTER, nQueue);
        dlg.GetDlgItemText(CPrintDialog::IDC_MARGIN_LEFT, after);
        ClickDlgButton(dlg, IDCANCEL);
    });
    env.App().OnFilePrintSetup();
    const CRect margins = cupsPrinter.GetMarginsTenthsMM();
    EXPECT_EQ(before, "30");
    EXPECT_NE(after, before);
    EXPECT_EQ(static_cast<int>(std::lround(std::atof(after) * 10)), margins.left);
}

namespace {

// The printer the print or set-up dialog shows.
CString ShownPrinter(CDialog& dlg)
{
    CString name;
    dlg.GetDlgItemText(CPrintDialog::IDC_PRINTER, name);
    return name;
}

// The printer each of the dialogs shows, opened in turn as a user opens them (the set-up by
// its command, the print dialog by the active view's print command) and cancelled.
std::vector<CString> PrintersShown(CFrameTestEnvironment& env, const std::vector<UINT>& dialogs)
{
    std::vector<CString> shown;
    CDialogAnswerer answerer;
    for (UINT nDialog : dialogs) {
        answerer.AnswerDialog(nDialog, [&](CDialog& dlg) {
            shown.push_back(ShownPrinter(dlg));
            ClickDlgButton(dlg, IDCANCEL);
        });
        if (nDialog == AFX_IDD_PRINTSETUPDLG)
            env.App().OnFilePrintSetup();
        else
            env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    }
    return shown;
}

// The preview window's button with the text, or null.
QPushButton* ButtonWithText(QDialog& dialog, const char* utf8)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == QString::fromUtf8(utf8))
            return b;
    return nullptr;
}

int PrinterIndex(CDialog& dlg, const CString& name)
{
    return static_cast<int>(dlg.SendDlgItemMessage(CPrintDialog::IDC_PRINTER, CB_FINDSTRINGEXACT,
                                                   static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(name.c_str())));
}

bool OutputBoxEnabled(CDialog& dlg)
{
    CWnd* pEdit = dlg.GetDlgItem(CPrintDialog::IDC_OUTPUT_FILE);
    return pEdit && pEdit->IsWindowEnabled();
}

CString OutputBoxText(CDialog& dlg)
{
    CString text;
    dlg.GetDlgItemText(CPrintDialog::IDC_OUTPUT_FILE, text);
    return text;
}

const std::vector<CString> kCannotStart = {"印刷を開始できませんでした。"_sj};

using CGoing = std::pair<std::function<void()>, std::function<void()>>; // goes, comes back

// Prints on the program's printer while it goes away and brings it back after each time:
// each going runs while the print dialog is open, and the last one also before it opens.
// Each time printing says it cannot start, `earlier` (the PDF printer's file) stays as it
// was, and the printer stays the program's, shown with its output box off. Then the printer
// prints without a word; the view prints its two pages.
void PrintWhileThePrinterGoes(CFrameTestEnvironment& env, CTestViewA* pView, const CString& earlier,
                              const std::vector<CGoing>& goings)
{
    const CString name = CPrinterSettings::Instance().GetPrinterName();
    const std::vector<uint8_t> before = ReadNativeFile(NativePath(earlier));
    for (size_t i = 0; i <= goings.size(); ++i) {
        SCOPED_TRACE(i);
        const CGoing& going = goings[std::min(i, goings.size() - 1)];
        if (i == goings.size())
            going.first();
        CDialogAnswerer answerer;
        answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
            EXPECT_EQ(ShownPrinter(dlg), name);
            EXPECT_FALSE(OutputBoxEnabled(dlg));
            if (i < goings.size())
                going.first();
            ClickDlgButton(dlg, IDOK);
        });
        env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        EXPECT_EQ(answerer.MessageBoxTexts(), kCannotStart);
        EXPECT_EQ(ReadNativeFile(NativePath(earlier)), before);
        EXPECT_EQ(CPrinterSettings::Instance().GetPrinterName(), name);
        going.second();
    }
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PRINTDLG, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    pView->m_printLog.clear();
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    EXPECT_EQ(pView->m_printLog, kTwoPages);
    EXPECT_EQ(ReadNativeFile(NativePath(earlier)), before);
}

} // namespace

// The printer chosen in the print dialog goes away: its queue removed, or the scheduler
// stopped. Nothing goes to another printer; once back, the job goes to it.
TEST_F(PrintTest, APrinterThatHasGoneIsReportedAndItsJobGoesNowhereElse)
{
    TempDir dir;
    CTestPrinterSystem printers(dir.Folder());
    printers.AddPrinter("Office");
    printers.AddPrinter("Plotter", DMPAPER_A3);
    ASSERT_TRUE(CPrinterSettings::Instance().SelectPrinter("Office"));
    const CString earlier = dir.Folder() + "サンプル見積.pdf"_sj;
    WriteNativeFile(NativePath(earlier), {'o', 'l', 'd'});
    CPrinterSettings::Instance().SetOutputFileName(earlier);
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    const auto comeBack = [&] {
        printers.Stop(false);
        printers.RemovePrinter("Office");
        printers.AddPrinter("Office");
        printers.MakeDefault("Office");
    };
    PrintWhileThePrinterGoes(
        env, pView, earlier,
        {{[&] { printers.RemovePrinter("Office"); }, comeBack}, {[&] { printers.Stop(); }, comeBack}});
    EXPECT_TRUE(printers.JobsOf("Plotter").empty());
    const std::vector<CString> jobs = printers.JobsOf("Office");
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(ReadPdfPages(FileText(NativePath(jobs[0]))).count, 2);
}

// The PDF printer's output box can be typed in whenever "PDF ﾌｧｲﾙ" is the printer shown,
// and its pages never replace a file without asking: "no" keeps the dialog and the file,
// "yes" replaces it. A direct print (no dialog) asks too.
TEST_F(PrintTest, PdfOutputAsksBeforeReplacingAFileAndItsBoxFollowsThePrinterShown)
{
    TempDir dir;
    CTestPrinterSystem printers(dir.Folder());
    printers.AddPrinter("Office");
    ASSERT_TRUE(CPrinterSettings::Instance().SelectPrinter("Office"));
    const CString output = dir.Folder() + "見積.pdf"_sj;
    WriteNativeFile(NativePath(output), {'o', 'l', 'd'});
    const CString question = DisplayPath(output) + " は既に存在します。\n上書きしますか?"_sj;
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);

    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
        // A queue's job is written into no file: the box names none.
        EXPECT_FALSE(OutputBoxEnabled(dlg));
        EXPECT_EQ(OutputBoxText(dlg), "");
        ASSERT_TRUE(SelectDlgItem(dlg, CPrintDialog::IDC_PRINTER,
                                  PrinterIndex(dlg, CPrinterSettings::GetPdfPrinterName())));
        EXPECT_TRUE(OutputBoxEnabled(dlg));
        EXPECT_EQ(OutputBoxText(dlg).Right(4), ".pdf") << "the file offered";
        ASSERT_TRUE(TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, output));
        answerer.AnswerMessageBox(question, IDNO);
        ClickDlgButton(dlg, IDOK);
        EXPECT_TRUE(static_cast<CPrintDialog&>(dlg).IsModalRunning());
        EXPECT_EQ(ReadNativeFile(NativePath(output)), (std::vector<uint8_t>{'o', 'l', 'd'}));
        ASSERT_TRUE(SelectDlgItem(dlg, CPrintDialog::IDC_PRINTER, PrinterIndex(dlg, "Office")));
        EXPECT_FALSE(OutputBoxEnabled(dlg));
        EXPECT_EQ(OutputBoxText(dlg), "");
        ASSERT_TRUE(SelectDlgItem(dlg, CPrintDialog::IDC_PRINTER,
                                  PrinterIndex(dlg, CPrinterSettings::GetPdfPrinterName())));
        EXPECT_EQ(OutputBoxText(dlg), DisplayPath(output)) << "the file typed comes back";
        answerer.AnswerMessageBox(question, IDYES);
        ClickDlgButton(dlg, IDOK);
    });
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    EXPECT_EQ(answerer.MessageBoxTexts(), (std::vector<CString>{question, question}));
    EXPECT_EQ(ReadPdfPages(FileText(NativePath(output))).count, 2);
    EXPECT_TRUE(printers.JobsOf("Office").empty());

    // The direct print on the PDF printer, now the program's printer, to the same file.
    WriteNativeFile(NativePath(output), {'o', 'l', 'd'});
    CPrinterSettings::Instance().SetOutputFileName(output);
    answerer.ClearShown();
    answerer.AnswerMessageBox(question, IDNO);
    pView->m_printLog.clear();
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
    EXPECT_EQ(answerer.MessageBoxTexts(), std::vector<CString>{question});
    EXPECT_EQ(pView->m_printLog, (std::vector<std::string>{"prepare"}));
    EXPECT_EQ(ReadNativeFile(NativePath(output)), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

// The program starts while the system offers no printer (its scheduler not running): the
// PDF printer stands in until the system's default appears, and then both dialogs show the
// default. A printer the user chose in the set-up stays when the system's printers change.
TEST_F(PrintTest, TheSystemsDefaultIsTakenUpWhenItAppearsUntilThePrinterIsChosen)
{
    TempDir dir;
    CTestPrinterSystem printers(dir.Folder());
    printers.AddPrinter("Office");
    printers.AddPrinter("Plotter", DMPAPER_A3);
    printers.Stop();
    CPrinterSettings::Instance().ResetToDefault(); // as at start-up
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(PrintersShown(env, {AFX_IDD_PRINTDLG}),
              std::vector<CString>{CPrinterSettings::GetPdfPrinterName()});
    printers.Stop(false);
    EXPECT_EQ(PrintersShown(env, {AFX_IDD_PRINTSETUPDLG, AFX_IDD_PRINTDLG}),
              (std::vector<CString>{"Office", "Office"}));
    EXPECT_EQ(CPrinterSettings::Instance().GetPaperSize(), DMPAPER_A4);
    EXPECT_EQ(CPrinterSettings::Instance().GetMarginsTenthsMM(), CRect(50, 50, 50, 80)) << "Office's own";

    // Chosen in the set-up while the scheduler is down again: the PDF printer stays.
    printers.Stop();
    CPrinterSettings::Instance().ResetToDefault();
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PRINTSETUPDLG, [](CDialog& dlg) { ClickDlgButton(dlg, IDOK); });
    env.App().OnFilePrintSetup();
    printers.Stop(false);
    EXPECT_EQ(PrintersShown(env, {AFX_IDD_PRINTSETUPDLG}),
              std::vector<CString>{CPrinterSettings::GetPdfPrinterName()});
    EXPECT_TRUE(CPrinterSettings::Instance().IsPdfPrinter());
}

// A queue without a default when the program starts: it stands in for the default. A
// default named later, and any default after it, is what both dialogs show while nothing
// is chosen, with that printer's own margins.
TEST_F(PrintTest, TheDialogsFollowTheSystemsDefaultAsItChangesWhileNothingIsChosen)
{
    TempDir dir;
    CTestPrinterSystem printers(dir.Folder());
    printers.AddPrinter("PDF");
    printers.ClearDefault();
    CPrinterSettings::Instance().ResetToDefault(); // as at start-up
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    const std::vector<UINT> both = {AFX_IDD_PRINTSETUPDLG, AFX_IDD_PRINTDLG};
    EXPECT_EQ(PrintersShown(env, both), (std::vector<CString>{"PDF", "PDF"}));
    printers.AddPrinter("PDF3", DMPAPER_A4, CRect(30, 30, 30, 30));
    printers.MakeDefault("PDF3");
    EXPECT_EQ(PrintersShown(env, both), (std::vector<CString>{"PDF3", "PDF3"}));
    EXPECT_EQ(CPrinterSettings::Instance().GetMarginsTenthsMM(), CRect(30, 30, 30, 30)) << "PDF3's own";
    printers.MakeDefault("PDF");
    EXPECT_EQ(PrintersShown(env, both), (std::vector<CString>{"PDF", "PDF"}));
}

// The system's printers change while the set-up dialog is open (its default changes, a
// printer is added): OK keeps the printer the dialog shows, with the paper chosen.
TEST_F(PrintTest, PrintSetupKeepsThePrinterItShowsWhenTheSystemsPrintersChange)
{
    TempDir dir;
    CTestPrinterSystem printers(dir.Folder());
    printers.AddPrinter("Office");
    printers.AddPrinter("Plotter", DMPAPER_A3, CRect(30, 30, 30, 30));
    CFrameTestEnvironment env(FALSE);
    CDialogAnswerer answerer;
    for (const CString& chosen : {CPrinterSettings::GetPdfPrinterName(), CString("Office")}) {
        answerer.AnswerDialog(AFX_IDD_PRINTSETUPDLG, [&](CDialog& dlg) {
            ASSERT_TRUE(SelectDlgItem(dlg, CPrintDialog::IDC_PRINTER, PrinterIndex(dlg, chosen)));
            CString left;
            dlg.GetDlgItemText(CPrintDialog::IDC_MARGIN_LEFT, left);
            EXPECT_EQ(left, chosen == "Office" ? "5" : "4.2") << "the printer's own margins";
            const std::vector<int> papers = CPrinterSettings::GetPaperSizes();
            const auto b4 = std::find(papers.begin(), papers.end(), DMPAPER_B4) - papers.begin();
            SelectDlgItem(dlg, CPrintDialog::IDC_PAPER, static_cast<int>(b4));
            ClickDlgButton(dlg, CPrintDialog::IDC_LANDSCAPE);
            printers.MakeDefault("Plotter");
            printers.AddPrinter("Laser");
            ClickDlgButton(dlg, IDOK);
        });
        env.App().OnFilePrintSetup();
        const CPrinterSettings& printer = CPrinterSettings::Instance();
        EXPECT_EQ(printer.GetPrinterName(), chosen);
        EXPECT_EQ(printer.GetPaperSize(), DMPAPER_B4);
        EXPECT_EQ(printer.GetOrientation(), DMORIENT_LANDSCAPE);
        printers.RemovePrinter("Laser");
        printers.MakeDefault("Office");
    }
}

// The same on a real scheduler: the queue is removed (lpadmin -x), or the scheduler stops.
TEST_F(PrintTest, ACupsQueueThatHasGoneOrAStoppedSchedulerIsReportedAndNothingGoesElsewhere)
{
    const char* stop = std::getenv("MORVEL_CUPS_STOP");
    const char* start = std::getenv("MORVEL_CUPS_START");
    if (!CRealCupsQueue::Asked() || !CPrintJobWatch::CupsAnswers() || !stop || !start)
        GTEST_SKIP() << "scripts/check_cups.sh runs this against a scheduler of its own";
    CPrinterSystem::CScope machine(CPrinterSystem::Machine());
    CRealCupsQueue queue;
    ASSERT_EQ(CRealCupsQueue::Run(queue.AddCommand()), 0);
    ASSERT_TRUE(CPrinterSettings::Instance().SelectPrinter(CString(queue.Name().c_str())));
    TempDir dir;
    const CString earlier = dir.Folder() + "サンプル見積.pdf"_sj;
    WriteNativeFile(NativePath(earlier), {'o', 'l', 'd'});
    CPrinterSettings::Instance().SetOutputFileName(earlier);
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    // The jobs waiting in the (stopped) queue.
    const auto waitingJobs = [&] {
        int n = 0;
        if (FILE* pipe = popen(("lpstat -o " + queue.Name() + " 2>/dev/null").c_str(), "r")) {
            for (int c; (c = std::fgetc(pipe)) != EOF;)
                n += c == '\n';
            pclose(pipe);
        }
        return n;
    };
    const auto run = [](const std::string& command) {
        return [command] { EXPECT_EQ(CRealCupsQueue::Run(command), 0); };
    };
    const int nWaiting = waitingJobs();
    PrintWhileThePrinterGoes(
        env, pView, earlier,
        {{run("lpadmin -x " + queue.Name()), run(queue.AddCommand())}, {run(stop), run(start)}});
    EXPECT_EQ(waitingJobs(), nWaiting + 1);
}

// The same on a real scheduler: the program starts while it is stopped; it starts, and a
// default queue appears (lpadmin -d).
TEST_F(PrintTest, ACupsDefaultThatAppearsAfterTheStartIsTakenUp)
{
    const char* stop = std::getenv("MORVEL_CUPS_STOP");
    const char* start = std::getenv("MORVEL_CUPS_START");
    if (!CRealCupsQueue::Asked() || !stop || !start)
        GTEST_SKIP() << "scripts/check_cups.sh runs this against a scheduler of its own";
    CPrinterSystem::CScope machine(CPrinterSystem::Machine());
    CRealCupsQueue queue;
    ASSERT_EQ(CRealCupsQueue::Run(stop), 0);
    CPrinterSettings::Instance().ResetToDefault(); // as at start-up
    ASSERT_TRUE(CPrinterSettings::Instance().IsPdfPrinter());
    ASSERT_EQ(CRealCupsQueue::Run(start), 0);
    ASSERT_EQ(CRealCupsQueue::Run(queue.AddCommand() + " && lpadmin -d " + queue.Name()), 0);
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(PrintersShown(env, {AFX_IDD_PRINTDLG}), std::vector<CString>{queue.Name().c_str()});
}

// On a real scheduler: two queues and no default when the program starts, then each made
// the default in turn (lpadmin -d); the set-up shows the default as it is at each opening.
TEST_F(PrintTest, ACupsDefaultMadeAfterTheStartIsWhatTheDialogsShow)
{
    if (!CRealCupsQueue::Asked() || !CPrintJobWatch::CupsAnswers())
        GTEST_SKIP() << "scripts/check_cups.sh runs this against a scheduler of its own";
    CPrinterSystem::CScope machine(CPrinterSystem::Machine());
    CRealCupsQueue first, second("-b");
    ASSERT_EQ(CRealCupsQueue::Run(first.AddCommand()), 0);
    ASSERT_EQ(CRealCupsQueue::Run(second.AddCommand()), 0);
    ASSERT_EQ(CPrinterSystem::Machine().GetDefaultPrinterName(), "") << "the scheduler names no default";
    CPrinterSettings::Instance().ResetToDefault(); // as at start-up
    CFrameTestEnvironment env(FALSE);
    const std::vector<CString> shown = PrintersShown(env, {AFX_IDD_PRINTSETUPDLG});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0] == first.Name().c_str() || shown[0] == second.Name().c_str()) << shown[0].ToUtf8();
    for (const CRealCupsQueue* pQueue : {&second, &first}) {
        ASSERT_EQ(CRealCupsQueue::Run("lpadmin -d " + pQueue->Name()), 0);
        EXPECT_EQ(PrintersShown(env, {AFX_IDD_PRINTSETUPDLG}), std::vector<CString>{pQueue->Name().c_str()});
    }
}

TEST_F(PrintTest, MarginsThatLeaveNoPrintableAreaAreRefused)
{
    CPrinterSettings printer;
    printer.UsePdfPrinter();
    EXPECT_TRUE(printer.SetMarginsTenthsMM(CRect(0, 0, 0, 0)));
    EXPECT_FALSE(printer.SetMarginsTenthsMM(CRect(1050, 10, 1050, 10))) << "210 mm wide paper";
    EXPECT_FALSE(printer.SetMarginsTenthsMM(CRect(-1, 10, 10, 10)));
    EXPECT_EQ(printer.GetMarginsTenthsMM(), CRect(0, 0, 0, 0));
}

TEST_F(PrintTest, PreviewWindowShowsThePagesAndItsButtonsWork)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    pView->m_nPagesToPrint = 3;
    std::vector<int> shownPages;
    std::vector<std::string> captions;
    // Once the window is up: note what it shows, page on, then close it.
    const CWhenReady pageOn = WhenModalOpens<QDialog>(
        [&](QDialog& dialog) {
            const auto button = [&dialog](const char* text) { return ButtonWithText(dialog, text); };
            auto pagesShown = [&] {
                int n = 0;
                for (QLabel* l : dialog.findChildren<QLabel*>())
                    if (!l->pixmap().isNull())
                        ++n;
                return n;
            };
            auto caption = [&] {
                for (QLabel* l : dialog.findChildren<QLabel*>())
                    if (l->pixmap().isNull() && !l->text().isEmpty())
                        return l->text().toStdString();
                return std::string();
            };
            shownPages.push_back(pagesShown());
            captions.push_back(caption());
            QPushButton* pNext = button("次ﾍﾟｰｼﾞ(&N)");
            ASSERT_NE(pNext, nullptr);
            pNext->click();
            captions.push_back(caption());
            shownPages.push_back(pagesShown());
            EXPECT_FALSE(pNext->isEnabled()) << "page 3 is the last";
            button("閉じる(&C)")->click();
        },
        "the preview window to open");
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    EXPECT_EQ(shownPages, (std::vector<int>{2, 1}));
    EXPECT_EQ(captions, (std::vector<std::string>{"ﾍﾟｰｼﾞ 1-2", "ﾍﾟｰｼﾞ 3"}));
    EXPECT_EQ(pView->m_printLog.back(), "end");
}

TEST_F(PrintTest, PreviewZoomButtonsGoOffAtTheLargestAndSmallestStep)
{
    CFrameTestEnvironment env(FALSE);
    CTestViewA* pView = OpenView(env);
    ASSERT_NE(pView, nullptr);
    pView->m_nPagesToPrint = 1;
    std::vector<int> zooms;
    const CWhenReady zoom = WhenModalOpens<QDialog>(
        [&](QDialog& dialog) {
            const auto button = [&dialog](const char* text) { return ButtonWithText(dialog, text); };
            QPushButton* pIn = button("拡大(&I)");
            QPushButton* pOut = button("縮小(&O)");
            ASSERT_TRUE(pIn && pOut);
            // Clicked until it goes off; a click that changes nothing leaves it on.
            for (int i = 0; i < 20 && pIn->isEnabled(); ++i)
                pIn->click();
            zooms.push_back(pIn->isEnabled() ? -1 : pOut->isEnabled() ? 1 : 0);
            for (int i = 0; i < 20 && pOut->isEnabled(); ++i)
                pOut->click();
            zooms.push_back(pOut->isEnabled() ? -1 : pIn->isEnabled() ? 1 : 0);
            button("閉じる(&C)")->click();
        },
        "the preview window to open");
    env.Main()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    // At the largest step only zooming out is left, at the smallest only zooming in.
    EXPECT_EQ(zooms, (std::vector<int>{1, 1}));
}

// The table of texts over the print dialogs' number fields: the pages, the copies and the
// set-up's margins take what typing into a number cell takes, and refuse every other text
// with their message, the dialog staying open.
TEST_F(PrintTest, TheTableOfTextsRunsOverThePrintDialogsNumberFields)
{
    CFrameTestEnvironment env(FALSE);
    TempDir dir;
    const CString output = dir.Folder() + "table.pdf";
    struct Field {
        const char* name;
        int nIDC;
        double lo, hi;
    };
    for (const Field& field : {Field{"開始頁", CPrintDialog::IDC_FROM_PAGE, 1, 20000},
                               Field{"終了頁", CPrintDialog::IDC_TO_PAGE, 1, 20000},
                               Field{"部数", CPrintDialog::IDC_COPIES, 1, 999}}) {
        ExpectNumberFieldReadsTheTable(
            field.name, field.lo, field.hi, true, [&](const CString& text, double& read) {
                CPrintDialog dlg(FALSE,
                                 PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE | PD_NOSELECTION);
                dlg.m_pd.nMinPage = 1;
                dlg.m_pd.nMaxPage = 20000;
                CFieldTyping typing;
                CDialogAnswerer answerer;
                answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& d) {
                    TypeDlgItemText(d, CPrintDialog::IDC_OUTPUT_FILE, output);
                    ClickDlgButton(d, CPrintDialog::IDC_PAGE_RANGE);
                    TypeDlgItemText(d, CPrintDialog::IDC_FROM_PAGE, "1");
                    TypeDlgItemText(d, CPrintDialog::IDC_TO_PAGE, "20000");
                    TypeDlgItemText(d, field.nIDC, text);
                    typing.bTyped = FieldHolds(d, field.nIDC, text);
                    ClickDlgButton(d, IDOK);
                    typing.bTaken = d.IsModalRunning() == FALSE;
                });
                dlg.DoModal();
                typing.messages = answerer.MessageBoxTexts();
                read = field.nIDC == CPrintDialog::IDC_FROM_PAGE ? dlg.GetFromPage()
                       : field.nIDC == CPrintDialog::IDC_TO_PAGE ? dlg.GetToPage()
                                                                 : dlg.m_pd.nCopies;
                return typing;
            });
    }
    // The set-up's margins, in millimetres to a tenth, 0 or more.
    for (int nIDC : {CPrintDialog::IDC_MARGIN_LEFT, CPrintDialog::IDC_MARGIN_TOP,
                     CPrintDialog::IDC_MARGIN_RIGHT, CPrintDialog::IDC_MARGIN_BOTTOM}) {
        ExpectNumberFieldReadsTheTable("余白", 0, 200, false, [&](const CString& text, double& read) {
            const CRect before = CPrinterSettings::Instance().GetMarginsTenthsMM();
            CPrintDialog dlg(TRUE);
            CFieldTyping typing =
                TypeIntoNumberField(AFX_IDD_PRINTSETUPDLG, nIDC, text, [&] { dlg.DoModal(); });
            const CRect m = CPrinterSettings::Instance().GetMarginsTenthsMM();
            const int tenths = nIDC == CPrintDialog::IDC_MARGIN_LEFT    ? m.left
                               : nIDC == CPrintDialog::IDC_MARGIN_TOP   ? m.top
                               : nIDC == CPrintDialog::IDC_MARGIN_RIGHT ? m.right
                                                                        : m.bottom;
            read = tenths / 10.0;
            CPrinterSettings::Instance().SetMarginsTenthsMM(before);
            return typing;
        });
    }
}
