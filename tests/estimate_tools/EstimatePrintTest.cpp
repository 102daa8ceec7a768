// The sample estimate printed through the sample estimate layout to the PDF printer, as the
// print command does: the page count of the chosen layouts, page ranges over several
// layouts, missing and damaged layouts, and the enabling of print and preview.
#include "tests/estimate/EstimateWindowTestSupport.h"

#include "app/CInformationFormTexts.h"
#include "app/SharedRecords.h"
#include "engine/estimate/InformationValues.h"
#include "estimate_tools/CEstimatePrinting.h"
#include "estimate_tools/CInformationInputDialog.h"
#include "estimate_tools/EstimateDialogCommands.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CLayoutPrintJob.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/PrintFormRegistration.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/WinDefs.h"
#include "platform/ui/dialogs/CPrintDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CPrintInfo.h"
#include "platform/ui/frames/CPrintPreview.h"
#include "platform/ui/frames/CPrintPreview_p.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/gdi/CDC.h"
#include "resources/EstimateCommandIds.h"
#include "resources/ResourceIds.h"
#include "tests/support/RealInput.h"
#include "tests/support/TestPrinterSystem.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <regex>

namespace {

int PdfPageCount(const std::string& nativePath)
{
    std::ifstream in(nativePath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    static const std::regex pageRe(R"(/Type\s*/Page[^s])");
    return static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), pageRe), std::sregex_iterator()));
}

class EstimatePrint : public EstimateWindowTest {
protected:
    void SetUp() override
    {
        // Layouts open in their own windows as well (an open layout prints as it stands).
        RegisterDrawing();
        RegisterPrintForm();
        EstimateWindowTest::SetUp();
        RegisterEstimatePrinting();
        CPrinterSettings::Instance().UsePdfPrinter();
    }

    void AddLayout(CMorvelEMDoc* pDoc, const CString& folder, const CString& title)
    {
        auto* pEntry = new CPrintFormEntry;
        pEntry->m_strFolder = folder;
        pEntry->m_strTitle = title;
        pDoc->m_aPrintForms.Add(pEntry);
    }

    CString FormFolder() const { return m_pFolder->System("FORM/"); }

    // Prints through the print dialog into a PDF file; the messages shown.
    std::vector<CString> PrintTo(const CString& output, CWnd* pTarget = nullptr)
    {
        CDialogAnswerer answerer;
        answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
            TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, output);
            ClickDlgButton(dlg, IDOK);
        });
        (pTarget != nullptr ? pTarget : m_pApp->m_pMainWnd)->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        Pump();
        return answerer.MessageBoxTexts();
    }

    bool CommandEnabled(CMorvelEMView* pView, UINT nID)
    {
        CTestCmdUI state;
        state.m_nID = nID;
        state.DoUpdate(pView, FALSE);
        return state.m_bEnabled;
    }

    struct CTestCmdUI : public CCmdUI {
        void Enable(BOOL bOn = TRUE) override
        {
            m_bEnabled = bOn != FALSE;
            m_bEnableChanged = TRUE;
        }
        bool m_bEnabled = false;
    };
};

TEST_F(EstimatePrint, SampleEstimatePrintsThroughTheSampleLayoutToPdf)
{
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    CMorvelEMDoc* pDoc = pView->GetDocument();
    // The sample keeps its layout: it prints and previews at once, through the layout of
    // the forms' folder beside its own.
    EXPECT_TRUE(CommandEnabled(pView, ID_FILE_PRINT));
    EXPECT_TRUE(CommandEnabled(pView, ID_FILE_PRINT_PREVIEW));

    // A fixed clock: the date on the pages is the same on every run.
    const CClockReading when{2024, 6, 10, 9, 30, 0};
    SetFixedFieldClock(&when);
    TempDir out;
    const CString pdf = out.Folder() + "sample.pdf";
    EXPECT_TRUE(PrintTo(pdf).empty());
    SetFixedFieldClock(nullptr);
    auto* pEntry = static_cast<CPrintFormEntry*>(pDoc->m_aPrintForms.GetAt(0));
    EXPECT_EQ(pEntry->m_nFirstPage, 1);
    ASSERT_GE(pEntry->m_nLastPage, 1);
    EXPECT_EQ(PdfPageCount(NativePath(pdf)), pEntry->m_nLastPage);
    // The amounts of the information sheet were computed for the print: total = net + tax,
    // and the computed item "J-K" (total less the discount item).
    const CInformationFormFile& info = pDoc->m_InformationForm;
    auto valueOf = [&](const char* name) {
        for (int i = 0; i < info.GetCount(); ++i)
            if (info.GetItem(i, 0) == CString::FromUtf8(name))
                return std::atof(pView->GetModel().GetInformation(i));
        ADD_FAILURE() << name;
        return 0.0;
    };
    const double total = valueOf("税込見積");
    EXPECT_GT(total, 0.0);
    EXPECT_DOUBLE_EQ(total, valueOf("税抜見積") + valueOf("消費税"));
    EXPECT_DOUBLE_EQ(valueOf("御見積金額"), total - valueOf("出精値引"));
    // MORVEL_SAVE_WITH_LAYOUT=<folder of layouts>:<estimate file>: the estimate saved with
    // that layout chosen, for looking at the print preview in the program.
    if (const char* save = std::getenv("MORVEL_SAVE_WITH_LAYOUT")) {
        const std::string arg = save;
        const size_t colon = arg.find(':');
        pEntry->m_strFolder = SystemPathFromNative(arg.substr(0, colon)) + "\\";
        EXPECT_TRUE(pDoc->OnSaveDocument(SystemPathFromNative(arg.substr(colon + 1))));
    }
    // Keep the file for the outside checks (pdftotext, images) when asked to.
    if (const char* keep = std::getenv("MORVEL_KEEP_PRINT")) {
        std::ifstream in(NativePath(pdf), std::ios::binary);
        std::ofstream(keep, std::ios::binary) << in.rdbuf();
    }
}

// Saved as another file through 名前を付けて保存, the sample keeps its layout found: beside
// its folder the layout folder stays written as the sample has it ("..\FORM\"), further
// away it is written in full. Either way the copy prints at once.
TEST_F(EstimatePrint, TheSampleSavedInAnotherFolderStillPrintsThroughItsLayout)
{
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    CMorvelEMDoc* pDoc = pView->GetDocument();
    ASSERT_EQ(pDoc->m_aPrintForms.GetSize(), 1);
    const auto* pEntry = static_cast<const CPrintFormEntry*>(pDoc->m_aPrintForms.GetAt(0));
    const CString relative = pEntry->m_strFolder;
    ASSERT_TRUE(IsPathRelative(relative));
    TempDir out;
    for (const char* path : {"OTHER/COPY.MMD", "ELSEWHERE/DEEP/COPY.MMD"}) {
        SCOPED_TRACE(path);
        const bool bBeside = std::string(path).rfind("OTHER", 0) == 0;
        std::filesystem::create_directories(std::filesystem::path(m_pFolder->Native(path)).parent_path());
        CDialogAnswerer answerer;
        answerer.AnswerFileDialog(m_pFolder->System(path));
        Command(ID_FILE_SAVE_AS);
        ASSERT_TRUE(std::filesystem::equivalent(NativePath(pDoc->GetPathName()), m_pFolder->Native(path)));
        EXPECT_EQ(pEntry->m_strFolder == relative, bBeside) << pEntry->m_strFolder.str();
        EXPECT_TRUE(
            std::filesystem::equivalent(NativePath(PrintFormFolder(pEntry->m_strFolder, pDoc->GetPathName())),
                                        m_pFolder->Native("FORM")));
        const CString pdf = out.Folder() + (bBeside ? "beside.pdf" : "away.pdf");
        EXPECT_TRUE(PrintTo(pdf).empty());
        EXPECT_GE(PdfPageCount(NativePath(pdf)), 1);
    }
}

TEST_F(EstimatePrint, LayoutsShareTheJobsPagesAndMissingOrDamagedOnesAreLeftOut)
{
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    CMorvelEMDoc* pDoc = pView->GetDocument();
    // A damaged copy of the layout: its first half only.
    {
        std::ifstream in(m_pFolder->Native("FORM/見積書.MMP"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(m_pFolder->Native("FORM/壊れ.MMP"), std::ios::binary)
            << bytes.substr(0, bytes.size() / 2);
    }
    // After the sample's own layout.
    AddLayout(pDoc, FormFolder(), "ない"_sj);
    AddLayout(pDoc, FormFolder(), "壊れ"_sj);
    AddLayout(pDoc, FormFolder(), "見積書"_sj);
    TempDir out;
    const CString pdf = out.Folder() + "two.pdf";
    std::vector<CString> messages = PrintTo(pdf);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "印刷形式ﾌｧｲﾙが存在しません。"_sj);
    EXPECT_NE(messages[1].Find("壊れ.MMP"_sj), -1);
    EXPECT_NE(messages[1].Find("壊れています"_sj), -1);
    auto entry = [&](int i) { return static_cast<CPrintFormEntry*>(pDoc->m_aPrintForms.GetAt(i)); };
    const int n = entry(0)->m_nLastPage;
    ASSERT_GE(n, 1);
    EXPECT_EQ(entry(1)->m_nFirstPage, n + 1);
    EXPECT_EQ(entry(1)->m_nLastPage, n);
    EXPECT_EQ(entry(2)->m_nLastPage, n);
    EXPECT_EQ(entry(3)->m_nFirstPage, n + 1);
    EXPECT_EQ(entry(3)->m_nLastPage, 2 * n);
    EXPECT_EQ(PdfPageCount(NativePath(pdf)), 2 * n);
}

TEST_F(EstimatePrint, PreviewPagesThroughTheLayoutTwoAtATimeAndZooms)
{
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    bool bRan = false;
    // MORVEL_PREVIEW_SHOTS=<folder>: pictures of the screen at each step (a person looks).
    const char* shots = std::getenv("MORVEL_PREVIEW_SHOTS");
    auto shot = [&](const char* name) {
        if (shots == nullptr)
            return;
        for (int i = 0; i < 20; ++i)
            Pump();
        std::string command = std::string("import -window root ") + shots + "/" + name + ".png";
        EXPECT_EQ(std::system(command.c_str()), 0);
    };
    CPrintPreview::TestHook previous = CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        bRan = true;
        // The sample's 73 rows on pages of 18.
        EXPECT_EQ(preview.GetLastPage(), 5u);
        EXPECT_EQ(preview.GetNumPages(), 2) << "two pages side by side";
        EXPECT_EQ(preview.GetCurrentPage(), 1u);
        shot("preview-1-2");
        // Two pages at a time: the next steps show pages 3 and 4, then page 5, the last.
        EXPECT_TRUE(preview.NextPage());
        EXPECT_EQ(preview.GetCurrentPage(), 3u);
        shot("preview-3");
        EXPECT_TRUE(preview.NextPage());
        EXPECT_EQ(preview.GetCurrentPage(), 5u);
        EXPECT_FALSE(preview.NextPage());
        preview.SetNumPages(1);
        EXPECT_TRUE(preview.PrevPage());
        EXPECT_EQ(preview.GetCurrentPage(), 4u);
        EXPECT_TRUE(preview.NextPage());
        EXPECT_EQ(preview.GetCurrentPage(), 5u);
        const int nZoom = preview.GetZoom();
        preview.ZoomIn();
        EXPECT_GT(preview.GetZoom(), nZoom);
        shot("preview-zoomed");
        EXPECT_TRUE(preview.RenderPage(5));
        EXPECT_FALSE(preview.RenderPage(6));
        preview.Close(FALSE);
    });
    m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    CPrintPreview::SetTestHook(previous);
    EXPECT_TRUE(bRan);
    Pump();
}

// The worst difference in grey, 0 to 255, between 8 x 8 blocks of two pictures of one size.
int WorstBlockDifference(const QImage& a, const QImage& b)
{
    int nWorst = 0;
    for (int by = 0; by + 8 <= a.height(); by += 8)
        for (int bx = 0; bx + 8 <= a.width(); bx += 8) {
            int nSumA = 0, nSumB = 0;
            for (int y = by; y < by + 8; ++y)
                for (int x = bx; x < bx + 8; ++x) {
                    nSumA += qGray(a.pixel(x, y));
                    nSumB += qGray(b.pixel(x, y));
                }
            nWorst = std::max(nWorst, std::abs(nSumA - nSumB) / 64);
        }
    return nWorst;
}

TEST_F(EstimatePrint, PreviewAtItsFirstZoomLooksLikeThePaperPageSeenAsSmall)
{
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    bool bRan = false;
    CPrintPreview::TestHook previous = CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        bRan = true;
        CPrintPreviewImpl* d = preview.GetImpl();
        ASSERT_EQ(d->pages.count(1), 1u);
        const QImage shown = d->pages.at(1);
        // The page as the printer makes it, at its own resolution, made as small as shown:
        // bold text, totals and headings on shading are grey there, not black.
        const CDeviceCaps& caps = d->caps;
        QImage area(caps.horzRes, caps.vertRes, QImage::Format_RGB32);
        area.fill(Qt::white);
        CDC dc;
        ASSERT_TRUE(dc.AttachDevice(&area, TRUE));
        dc.SetDeviceCaps(caps);
        d->pInfo->m_nCurPage = 1;
        d->pInfo->m_bContinuePrinting = TRUE;
        d->pView->OnPrepareDC(&dc, d->pInfo);
        CRect rectDraw(0, 0, caps.horzRes, caps.vertRes);
        dc.DPtoLP(&rectDraw);
        d->pInfo->m_rectDraw = rectDraw;
        d->pView->OnPrint(&dc, d->pInfo);
        dc.DetachDevice();
        QImage paper(caps.physicalWidth, caps.physicalHeight, QImage::Format_RGB32);
        paper.fill(Qt::white);
        QPainter(&paper).drawImage(caps.physicalOffsetX, caps.physicalOffsetY, area);
        const QImage seen = paper.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        // (Thin lines, each stroke of a double frame too, are whole black pixels in the
        // preview, as a renderer of the paper shows them at that size: darker than the
        // paper brought down by averaging, where they fade to grey.)
        EXPECT_LT(WorstBlockDifference(shown, seen), 96);
        preview.Close(FALSE);
    });
    m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    CPrintPreview::SetTestHook(previous);
    EXPECT_TRUE(bRan);
    Pump();
}

// How many pixel rows the second picture lies below the first: the vertical shift of the
// second that matches the first best, grey for grey. The pictures are compared eight times
// smaller, as blocks of text, boxes and tables: their rows of text and table lines, a few
// pixels apart and drawn a little differently by each renderer, do not count.
int VerticalShift(const QImage& a, const QImage& b)
{
    auto small = [](const QImage& image) {
        return image.convertToFormat(QImage::Format_Grayscale8)
            .scaled(image.width() / 8, image.height() / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage greyA = small(a);
    const QImage greyB = small(b);
    const int nWidth = std::min(greyA.width(), greyB.width());
    const int nMost = std::min(greyA.height(), greyB.height()) / 3;
    int nBest = 0;
    double best = -1;
    for (int shift = -nMost; shift <= nMost; ++shift) {
        double sum = 0;
        long n = 0;
        for (int y = std::max(0, -shift); y < greyA.height() && y + shift < greyB.height(); ++y) {
            const uchar* rowA = greyA.constScanLine(y);
            const uchar* rowB = greyB.constScanLine(y + shift);
            for (int x = 0; x < nWidth; ++x, ++n)
                sum += (rowA[x] - rowB[x]) * (rowA[x] - rowB[x]);
        }
        if (n > 0 && (best < 0 || sum / n < best)) {
            best = sum / n;
            nBest = shift;
        }
    }
    return nBest * 8;
}

// The newest job file in a scheduler's spool folder ("d<job>-001").
std::string NewestJobFile(const std::string& folder)
{
    std::string newest;
    std::filesystem::file_time_type when{};
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 5 && name[0] == 'd' && name.compare(name.size() - 4, 4, "-001") == 0 &&
            (newest.empty() || entry.last_write_time() >= when)) {
            newest = entry.path().string();
            when = entry.last_write_time();
        }
    }
    return newest;
}

// A PDF file's first page as pdftoppm draws it at nDpi; null without pdftoppm.
QImage RenderFirstPage(const CString& pdf, const TempDir& dir, int nDpi)
{
    const std::string out = dir.NativeFile("page");
    const std::string command = "pdftoppm -r " + std::to_string(nDpi) + " -f 1 -l 1 -gray -singlefile '" +
                                NativePath(pdf) + "' '" + out + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0)
        return QImage();
    return QImage(QString::fromStdString(out + ".pgm"));
}

// The portrait sample layout on landscape paper, the paper turned in the print dialog's
// set-up after the layouts were counted on portrait paper: the first page printed by the
// built-in PDF printer and by a printer of the system (its job's spool file) lies on the
// paper as the preview shows it.
TEST_F(EstimatePrint, LandscapePagesPrintAsThePreviewShowsThemOnEveryPrinter)
{
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs pdftoppm (poppler-utils, scripts/setup.sh)";
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    TempDir out;
    CTestPrinterSystem printers(out.Folder());
    printers.AddPrinter("Office", DMPAPER_A4, CRect(40, 60, 40, 100));
    std::vector<CString> names = {CPrinterSettings::GetPdfPrinterName(), "Office"};
    // With scripts/check_cups.sh, a queue of a real scheduler too: what the program hands
    // it is the job's file the scheduler keeps.
    std::unique_ptr<CRealCupsQueue> pQueue;
    const char* spool = std::getenv("MORVEL_CUPS_SPOOL");
    if (CRealCupsQueue::Asked() && spool != nullptr) {
        pQueue = std::make_unique<CRealCupsQueue>();
        ASSERT_EQ(CRealCupsQueue::Run(pQueue->AddCommand()), 0);
        names.push_back(CString(pQueue->Name().c_str()));
    }
    const CClockReading when{2024, 6, 10, 9, 30, 0};
    SetFixedFieldClock(&when);
    for (const CString& name : names) {
        SCOPED_TRACE(name.ToUtf8());
        std::optional<CPrinterSystem::CScope> machine;
        if (pQueue && name == pQueue->Name().c_str())
            machine.emplace(CPrinterSystem::Machine());
        CPrinterSettings::Instance().UsePdfPrinter();
        ASSERT_TRUE(CPrinterSettings::Instance().SelectPrinter(name));
        const CString pdf = out.Folder() + "landscape.pdf";
        std::remove(NativePath(pdf).c_str());
        CDialogAnswerer answerer;
        answerer.AnswerDialog(AFX_IDD_PRINTSETUPDLG, [](CDialog& dlg) {
            ClickDlgButton(dlg, CPrintDialog::IDC_LANDSCAPE);
            ClickDlgButton(dlg, IDOK);
        });
        answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
            ClickDlgButton(dlg, CPrintDialog::IDC_SETUP);
            TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, pdf);
            ClickDlgButton(dlg, IDOK);
        });
        m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
        Pump();
        EXPECT_TRUE(answerer.MessageBoxTexts().empty());
        ASSERT_EQ(CPrinterSettings::Instance().GetOrientation(), DMORIENT_LANDSCAPE);
        const std::vector<CString> jobs = printers.JobsOf("Office");
        CString printed = pdf;
        if (name == "Office")
            printed = jobs.empty() ? CString() : jobs.back();
        else if (machine)
            printed = SystemPathFromNative(NewestJobFile(spool));
        ASSERT_TRUE(FileExists(printed));

        QImage shown;
        CDeviceCaps caps;
        CPrintPreview::TestHook previous = CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
            shown = preview.GetImpl()->pages.at(1);
            caps = preview.GetImpl()->caps;
            preview.Close(FALSE);
        });
        m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
        CPrintPreview::SetTestHook(previous);
        Pump();
        // The preview's first zoom shows an inch as 48 pixels.
        const QImage paper = RenderFirstPage(printed, out, 48);
        ASSERT_FALSE(paper.isNull());
        ASSERT_FALSE(shown.isNull());
        EXPECT_GT(paper.width(), paper.height()) << "landscape paper";
        EXPECT_NEAR(paper.width(), shown.width(), 2);
        EXPECT_NEAR(paper.height(), shown.height(), 2);
        // Within the printable area: the preview leaves the unprintable edge white.
        const double scale = static_cast<double>(shown.height()) / caps.physicalHeight;
        const QRect printable(
            QPoint(static_cast<int>(std::lround(caps.physicalOffsetX * scale)),
                   static_cast<int>(std::lround(caps.physicalOffsetY * scale))),
            QSize(static_cast<int>(caps.horzRes * scale), static_cast<int>(caps.vertRes * scale)));
        EXPECT_EQ(VerticalShift(shown.copy(printable), paper.copy(printable)), 0);
    }
    SetFixedFieldClock(nullptr);
}

// The ink of a part of a picture as a reader sees it: how many pixels are dark enough to
// read as ink, and the sum of all pixels' darkness (a black pixel counting 1). Pixels read as
// ink from a little lighter to a little darker than mid grey: a cut at one grey would turn
// a stroke half a pixel thick, grey from edge to edge, into all ink or none.
struct CInk {
    double darkPixels = 0;
    double darkness = 0;
};
CInk InkIn(const QImage& picture, const QRect& area)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const QRect within = area & grey.rect();
    const int cuts[] = {96, 128, 160};
    CInk ink;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = within.left(); x <= within.right(); ++x) {
            for (int nCut : cuts)
                ink.darkPixels += row[x] < nCut ? 1.0 / std::size(cuts) : 0.0;
            ink.darkness += (255 - row[x]) / 255.0;
        }
    }
    return ink;
}

// The first and the last column of a part of a picture with ink (half a black pixel).
std::pair<int, int> InkedColumns(const QImage& picture, const QRect& area)
{
    int nFirst = -1, nLast = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        if (InkIn(picture, QRect(x, area.top(), 1, area.height())).darkness >= 0.5) {
            nLast = x;
            if (nFirst < 0)
                nFirst = x;
        }
    return {nFirst, nLast};
}

// The sample layout's text object whose text begins with start.
CDrawText* SampleText(CPrintEMDoc& layout, const CString& start)
{
    CDrawObjList* pList = layout.GetObjectList();
    for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;) {
        auto* pText = dynamic_cast<CDrawText*>(pList->GetNext(pos));
        if (pText != nullptr && pText->m_strText.Left(start.GetLength()) == start)
            return pText;
    }
    return nullptr;
}

// Where the inside of a text object of the sample layout lies on a page of the program's
// printer drawn at nDpi, in pixels from the paper's corner: within its frame, and left of
// the date that shares the title's box.
QRect TextOnPage(CPrintEMDoc& layout, const CDrawText& text, int nDpi)
{
    CRect rect = text.m_position, date = SampleText(layout, "$日付"_sj)->m_position, overlap;
    rect.NormalizeRect();
    date.NormalizeRect();
    rect.DeflateRect(3, text.m_nLineStyle == 0 ? 1 : 4);
    if (overlap.IntersectRect(&rect, &date))
        rect.right = date.left;
    CDC dc;
    CPrinterSettings::Instance().CreatePrinterDC(dc);
    CLayoutPrintJob::MapPrintingDC(&dc);
    dc.LPtoDP(&rect);
    rect.NormalizeRect();
    rect.OffsetRect(dc.GetDeviceCaps(PHYSICALOFFSETX), dc.GetDeviceCaps(PHYSICALOFFSETY));
    const double k = static_cast<double>(nDpi) / dc.GetDeviceCaps(LOGPIXELSX);
    const auto at = [k](int v) { return static_cast<int>(std::lround(v * k)); };
    return QRect(QPoint(at(rect.left), at(rect.top)), QPoint(at(rect.right) - 1, at(rect.bottom) - 1));
}

// The sample layout's bold texts (a face without a bold style, made bold by the fonts) are
// as dark in the preview as on the printed page at every zoom and on a screen of twice the
// density: as many pixels read as ink, and as much ink in all.
TEST_F(EstimatePrint, PreviewShowsTheLayoutsBoldTextsAsBoldAsThePaperAtEveryZoomAndScale)
{
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs pdftoppm (poppler-utils, scripts/setup.sh)";
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    const CClockReading when{2024, 6, 10, 9, 30, 0};
    SetFixedFieldClock(&when);
    TempDir out;
    const CString pdf = out.Folder() + "bold.pdf";
    EXPECT_TRUE(PrintTo(pdf).empty());
    // The first page shown, by the dots per inch it shows the paper at: at 100 % an inch of
    // paper is 96 pixels of the screen, on a screen of twice the density 192 of its pixels.
    std::map<int, QImage> shown;
    CPrintPreview::TestHook previous = CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        CPrintPreviewImpl& d = *preview.GetImpl();
        for (int nZoom : {50, 75, 100, 150}) {
            while (preview.GetZoom() < nZoom)
                preview.ZoomIn();
            shown[96 * nZoom / 100] = d.pages.at(1);
        }
        while (preview.GetZoom() > 100)
            preview.ZoomOut();
        d.density = 2;
        d.Refresh();
        shown[192] = d.pages.at(1);
        preview.Close(FALSE);
    });
    m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    CPrintPreview::SetTestHook(previous);
    SetFixedFieldClock(nullptr);
    Pump();
    ASSERT_EQ(shown.size(), 5u);
    CPrintEMDoc layout;
    ASSERT_TRUE(layout.OnOpenDocument(FormFolder() + "見積書.MMP"_sj));
    for (const auto& [nDpi, page] : shown) {
        SCOPED_TRACE(nDpi);
        const QImage paper = RenderFirstPage(pdf, out, nDpi);
        ASSERT_FALSE(paper.isNull());
        ASSERT_LE(std::abs(paper.height() - page.height()), 2);
        for (const CString& start :
             {"御　見　積　書"_sj, "$情報(得意先名)$　様"_sj, "株式会社　モルベル建設"_sj, "御見積金額"_sj}) {
            SCOPED_TRACE(start.ToUtf8());
            const CDrawText* pText = SampleText(layout, start);
            ASSERT_NE(pText, nullptr);
            const QRect area = TextOnPage(layout, *pText, nDpi);
            const CInk onPaper = InkIn(paper, area);
            const CInk inPreview = InkIn(page, area);
            ASSERT_GT(onPaper.darkPixels, 50);
            EXPECT_NEAR(inPreview.darkPixels, onPaper.darkPixels, onPaper.darkPixels * 0.05);
            EXPECT_NEAR(inPreview.darkness, onPaper.darkness, onPaper.darkness * 0.05);
        }
    }
}

// The dark runs (pixels darker than mid grey) a column of pixels crosses from y0 to y1.
int DarkRunsDown(const QImage& image, int x, int y0, int y1)
{
    int nRuns = 0;
    bool bDark = false;
    for (int y = std::max(0, y0); y <= y1 && y < image.height(); ++y) {
        const bool bNow = qGray(image.pixel(x, y)) < 128;
        nRuns += bNow && !bDark;
        bDark = bNow;
    }
    return nRuns;
}

// The double frame round the sample layout's 御見積金額 shows as two lines with a gap in the
// preview from 100 % on, as on paper, instead of one bar where its strokes are each about a
// pixel wide. (Smaller, the whole frame is under three pixels: no room for a gap.)
TEST_F(EstimatePrint, PreviewShowsADoubleFrameAsTwoLinesFromFullSizeOn)
{
    ASSERT_NE(OpenSample(), nullptr);
    std::map<int, QImage> shown;
    CPrintPreview::TestHook previous = CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
        CPrintPreviewImpl& d = *preview.GetImpl();
        for (int nZoom : {100, 150, 200}) {
            while (preview.GetZoom() < nZoom)
                preview.ZoomIn();
            shown[96 * nZoom / 100] = d.pages.at(1);
        }
        preview.Close(FALSE);
    });
    m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    CPrintPreview::SetTestHook(previous);
    Pump();
    CPrintEMDoc layout;
    ASSERT_TRUE(layout.OnOpenDocument(FormFolder() + "見積書.MMP"_sj));
    const CDrawText* pAmount = SampleText(layout, "御見積金額"_sj);
    ASSERT_NE(pAmount, nullptr);
    ASSERT_GE(pAmount->m_nLineStyle, 7);
    ASSERT_LE(pAmount->m_nLineStyle, 9);
    ASSERT_EQ(shown.size(), 3u);
    for (const auto& [nDpi, page] : shown) {
        SCOPED_TRACE(nDpi);
        // The frame's top and bottom edges, crossed down the box right of the text.
        const QRect inside = TextOnPage(layout, *pAmount, nDpi);
        const int x = inside.right() - inside.width() / 20;
        EXPECT_EQ(2, DarkRunsDown(page, x, inside.top() - 8, inside.center().y()));
        EXPECT_EQ(2, DarkRunsDown(page, x, inside.center().y(), inside.bottom() + 8));
    }
}

// The right-aligned bold company name of the sample layout is as wide on the built-in PDF
// printer (300 dots per inch) as on a printer of 600, and in the preview of each as on its
// paper.
TEST_F(EstimatePrint, TheLayoutsBoldTextIsAsWideOnEveryPrinterAsInThePreview)
{
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs pdftoppm (poppler-utils, scripts/setup.sh)";
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    AddLayout(pView->GetDocument(), FormFolder(), "見積書"_sj);
    CPrintEMDoc layout;
    ASSERT_TRUE(layout.OnOpenDocument(FormFolder() + "見積書.MMP"_sj));
    const CDrawText* pName = SampleText(layout, "株式会社　モルベル建設"_sj);
    ASSERT_NE(pName, nullptr);
    ASSERT_EQ(pName->m_nAlign, CTextAttributes::alignRight);
    TempDir out;
    CTestPrinterSystem printers(out.Folder());
    printers.AddPrinter("Office", DMPAPER_A4, CRect(50, 50, 50, 80), 600);
    std::vector<int> widths; // on paper, in pixels of 96 to the inch
    for (const CString& name : {CPrinterSettings::GetPdfPrinterName(), CString("Office")}) {
        SCOPED_TRACE(name.ToUtf8());
        ASSERT_TRUE(CPrinterSettings::Instance().SelectPrinter(name));
        const CString pdf = out.Folder() + "wide.pdf";
        EXPECT_TRUE(PrintTo(pdf).empty());
        const std::vector<CString> jobs = printers.JobsOf("Office");
        const CString printed = name == "Office" ? (jobs.empty() ? CString() : jobs.back()) : pdf;
        ASSERT_TRUE(FileExists(printed));
        QImage shown;
        CPrintPreview::TestHook previous = CPrintPreview::SetTestHook([&](CPrintPreview& preview) {
            while (preview.GetZoom() < 100)
                preview.ZoomIn();
            shown = preview.GetImpl()->pages.at(1);
            preview.Close(FALSE);
        });
        m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
        CPrintPreview::SetTestHook(previous);
        Pump();
        const QImage paper = RenderFirstPage(printed, out, 96);
        ASSERT_FALSE(paper.isNull());
        const QRect area = TextOnPage(layout, *pName, 96);
        const auto [nLeft, nRight] = InkedColumns(paper, area);
        const auto [nShownLeft, nShownRight] = InkedColumns(shown, area);
        ASSERT_GE(nLeft, 0);
        EXPECT_NEAR(nShownLeft, nLeft, 1);
        EXPECT_NEAR(nShownRight, nRight, 1);
        widths.push_back(nRight - nLeft + 1);
    }
    EXPECT_NEAR(widths[0], widths[1], 1) << "a pixel is 0.26 mm";
}

TEST_F(EstimatePrint, AnOpenLayoutPrintsWithItsUnsavedTokens)
{
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    CMorvelEMDoc* pDoc = pView->GetDocument();
    const int nRows = pView->GetPrintRowCount();
    ASSERT_GT(nRows, 30);
    auto* pLayout = dynamic_cast<CPrintEMDoc*>(m_pApp->OpenDocumentFile(FormFolder() + "見積書.MMP"_sj));
    ASSERT_NE(pLayout, nullptr);
    // A token of ten lines a page typed in the editor and not saved.
    auto* pText = new CDrawText(CRect(-100, -1000, 100, -1040));
    pText->m_strText = "$見積(2,名称,10)$"_sj;
    pLayout->Add(pText);
    TempDir out;
    // The layout's window is the active one now: the estimate's own view prints.
    PrintTo(out.Folder() + "open.pdf", pView);
    auto* pEntry = static_cast<CPrintFormEntry*>(pDoc->m_aPrintForms.GetAt(0));
    EXPECT_EQ(pEntry->m_nLastPage, (nRows + 9) / 10) << "the saved layout has 18 lines a page";
    EXPECT_EQ(PdfPageCount(NativePath(out.Folder() + "open.pdf")), (nRows + 9) / 10);
    pLayout->SetModifiedFlag(FALSE);
}

TEST_F(EstimatePrint, ComputedInformationItemsReadLettersOfExistingItemsOnly)
{
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    CInformationFormFile& info = pView->GetDocument()->m_InformationForm;
    int nComputed = -1, nTotal = -1, nDiscount = -1;
    for (int i = 0; i < info.GetCount(); ++i) {
        if (info.GetItem(i, 1) == "計算"_sj)
            nComputed = i;
        if (info.GetItem(i, 1) == "税込見積"_sj)
            nTotal = i;
        if (info.GetItem(i, 0) == "出精値引"_sj)
            nDiscount = i;
    }
    ASSERT_GE(nComputed, 0);
    ASSERT_EQ(nTotal, 9) << "the letter J";
    ASSERT_EQ(nDiscount, 10) << "the letter K";
    pView->GetModel().SetInformation(nDiscount, "12000");
    // "ZZ" names item 701: beyond the items, it reads as 0 instead of past the values.
    info.SetItem(nComputed, CInformationFormFile::colFormula, "zz+j-k");
    pView->ComputeInformationAmounts();
    const double total = std::atof(pView->GetModel().GetInformation(nTotal));
    EXPECT_GT(total, 0.0);
    EXPECT_DOUBLE_EQ(std::atof(pView->GetModel().GetInformation(nComputed)), total - 12000);
    // An expression far longer than 200 bytes is evaluated whole.
    CString longFormula = "J";
    for (int i = 0; i < 60; ++i)
        longFormula += "+K-K";
    info.SetItem(nComputed, CInformationFormFile::colFormula, longFormula);
    pView->ComputeInformationAmounts();
    EXPECT_DOUBLE_EQ(std::atof(pView->GetModel().GetInformation(nComputed)), total);
    // A reference is rounded as the sheet rounds it: F(-1) cuts -1.6 toward zero.
    info.SetItem(nDiscount, CInformationFormFile::colRounding, "F(-1)");
    pView->GetModel().SetInformation(nDiscount, "-1.6");
    info.SetItem(nComputed, CInformationFormFile::colFormula, "J-K");
    pView->ComputeInformationAmounts();
    EXPECT_DOUBLE_EQ(std::atof(pView->GetModel().GetInformation(nComputed)), total + 1);
}

// The text pdftotext reads on one page of a PDF file (empty when it cannot run).
std::string PdfPageText(const std::string& nativePath, int nPage)
{
    const std::string command = "pdftotext -layout -f " + std::to_string(nPage) + " -l " +
                                std::to_string(nPage) + " '" + nativePath + "' - 2>/dev/null";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

TEST_F(EstimatePrint, TheEstimateAmountOnPaperAndInTheSavedFileIsTheOneTheSheetShows)
{
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    RegisterEstimateCommandDialogs();
    CShellServices::Get().runEstimateDialogCommand = RunEstimateDialogCommand;
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    CMorvelEMDoc* pDoc = pView->GetDocument();
    CInformationFormFile& info = pDoc->m_InformationForm;
    int nDiscount = -1, nQuote = -1;
    for (int i = 0; i < info.GetCount(); ++i) {
        if (info.GetItem(i, 0) == "出精値引"_sj)
            nDiscount = i;
        if (info.GetItem(i, 0) == "御見積金額"_sj)
            nQuote = i;
    }
    ASSERT_GE(nDiscount, 0);
    ASSERT_GE(nQuote, 0);
    auto press = [](int nKey) {
        QWidget* pTarget = RealInput::KeyboardWidget();
        ASSERT_NE(pTarget, nullptr);
        RealInput::PressKeys(pTarget, Qt::NoModifier, nKey);
    };
    // The layout, open in its editor, prints the discount as well.
    auto* pLayout = dynamic_cast<CPrintEMDoc*>(m_pApp->OpenDocumentFile(FormFolder() + "見積書.MMP"_sj));
    ASSERT_NE(pLayout, nullptr);
    auto* pText = new CDrawText(CRect(-380, -500, 0, -530));
    pText->m_strText = "出精値引：$情報(出精値引)$"_sj;
    pLayout->Add(pText);
    TempDir out;
    // Full-width and ASCII digits with a thousands separator, and with "円" after them, as
    // an estimator types them; the discount item with its rounding rule and without one.
    int nRound = 0;
    for (const char* typed : {"１０，０００", "10,000", "10,000円"}) {
        SCOPED_TRACE(typed);
        ++nRound;
        if (nRound == 2)
            info.SetItem(nDiscount, CInformationFormFile::colRounding, "");
        std::string shown;
        CDialogAnswerer answerer;
        answerer.AnswerDialog(IDD_INFORMATION_INPUT, [&](CDialog& dlg) {
            auto& sheet = static_cast<CInformationInputDialog&>(dlg);
            dlg.SetActiveWindow();
            while (sheet.GetCurrentRow() < nDiscount + 1) {
                const int nRow = sheet.GetCurrentRow();
                press(Qt::Key_Down);
                ASSERT_EQ(nRow + 1, sheet.GetCurrentRow());
            }
            TypeDlgItemText(dlg, IDC_INFO_EDIT, CString::FromUtf8(typed));
            press(Qt::Key_Down);
            shown = sheet.Grid().GetTextMatrix(static_cast<short>(nQuote + 1), 2).str();
            ClickDlgButton(dlg, IDOK);
        });
        pView->SendMessage(WM_COMMAND, ID_INFORMATION_INPUT, 0);
        EXPECT_EQ(0, answerer.CountUnanswered());
        // The sheet shows the amount with tax less ten thousand, after its "***".
        ASSERT_EQ(0u, shown.find("***")) << shown;
        const std::string amount = shown.substr(3);
        CString strTotal, strTax, strNet;
        pView->GetInformationAmounts(strTotal, strTax, strNet);
        EXPECT_EQ(amount,
                  CNumberRules::FormatByPicture(std::floor(std::atof(strTotal)) - 10000, "###,###,###", true)
                      .str());

        // The paper: the layout's "御見積金額　￥$情報(御見積金額)$－".
        // A file of its own per round: the PDF printer asks before it replaces one.
        const CString pdf = out.Folder() + ("quote" + std::to_string(nRound) + ".pdf").c_str();
        EXPECT_TRUE(PrintTo(pdf, pView).empty());
        const std::string page = PdfPageText(NativePath(pdf), 1);
        std::smatch found;
        ASSERT_TRUE(std::regex_search(page, found, std::regex(R"(御見積金額\s*(?:￥|¥)\*\*\*([0-9,]+))")))
            << page;
        EXPECT_EQ(amount, found[1].str());
        std::smatch discount;
        ASSERT_TRUE(std::regex_search(page, discount, std::regex(R"(出精値引：(?:\\|¥)([0-9,]+))"))) << page;
        EXPECT_EQ("10,000", discount[1].str());

        // The file saved after the print, opened again.
        const CString saved = out.Folder() + "quote.MMD";
        ASSERT_TRUE(pDoc->OnSaveDocument(saved));
        CMorvelEMView* pAgain = OpenEstimate(saved);
        ASSERT_NE(pAgain, nullptr);
        EXPECT_EQ(shown, InformationValues::DisplayText(CInformationFormTexts(info), nQuote,
                                                        pAgain->GetModel().GetInformation(nQuote), true)
                             .str());
        // The discount is in the file as the plain number, which every reader takes alike.
        EXPECT_EQ("10000", pAgain->GetModel().GetInformation(nDiscount).str());
        pAgain->GetParentFrame()->SendMessage(WM_CLOSE);
        Pump();
        m_pDoc = pDoc;
        m_pView = pView;
    }
    pLayout->SetModifiedFlag(FALSE);
}

// A grid page is a printed page in the sample work folder: the sample settings name the
// page size, the sample layout prints exactly that many rows a page, the grid takes it, and
// the sample estimate was laid out on such pages (a heading after a page feed starts one).
TEST_F(EstimatePrint, TheSampleSettingsLayoutAndEstimateShareOnePageSize)
{
    TempDir dir;
    const std::string ini = dir.NativeFile("samples.ini");
    const std::string script = std::string(MORVEL_SOURCE_DIR) + "/scripts/sample-settings.sh";
    ASSERT_EQ(std::system(("bash '" + script + "' '" + ini + "'").c_str()), 0);
    const int nRows = static_cast<int>(
        CProfileFile(SystemPathFromNative(ini)).GetProfileInt("Input Setting", "Rows in a page", 0));
    ASSERT_GT(nRows, 0) << "the sample settings name their page size";

    auto* pLayout = dynamic_cast<CPrintEMDoc*>(m_pApp->OpenDocumentFile(FormFolder() + "見積書.MMP"_sj));
    ASSERT_NE(pLayout, nullptr);
    EXPECT_EQ(CLayoutPrintJob::PagesOf(*pLayout, nRows), 1);
    EXPECT_EQ(CLayoutPrintJob::PagesOf(*pLayout, nRows + 1), 2);

    m_pApp->WriteProfileInt("Input Setting", "Rows in a page", nRows);
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->GetPageRows(), nRows);
    int nFed = 0;
    for (int r = 1; r < pView->GetPrintRowCount(); ++r) {
        const int nKind = pView->GetRowKind(r);
        const bool bHeading = nKind == kindKind || nKind == kindLarge || nKind == kindMiddle;
        if (bHeading && pView->GetRowKind(r - 1) == kindEmpty) {
            ++nFed;
            EXPECT_EQ(r % nRows, 0) << "row " << r;
        }
    }
    EXPECT_GE(nFed, 2);
}

// A quantity changed below the consumption-tax row, and Ctrl+P straight after: the tax
// row already holds the tax of the changed rows, and the paper's 御見積金額 is what the
// sheet shows for the rows recalculated in full (the amounts were once taken before the
// print's own recalculation, with the tax of the rows before the change).
TEST_F(EstimatePrint, ARowChangedBelowTheTaxRowPrintsAtOnceWithItsNewTax)
{
    if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is missing";
    CMorvelEMView* pView = OpenSample();
    ASSERT_NE(pView, nullptr);
    CMorvelEMDoc* pDoc = pView->GetDocument();
    const CInformationFormFile& info = pDoc->m_InformationForm;
    int nQuote = -1;
    for (int i = 0; i < info.GetCount(); ++i) {
        if (info.GetItem(i, 0) == "御見積金額"_sj)
            nQuote = i;
    }
    ASSERT_GE(nQuote, 0);

    const int nTaxRow = srFirstDetail;
    GoTo(scName, nTaxRow);
    Command(ID_TAX_ROW);
    ASSERT_EQ(kindFree, pView->GetRowKind(nTaxRow));
    const std::string taxBefore = Cell(nTaxRow, scAmount);
    GoTo(scQty, nTaxRow + 1);
    Type("3000");
    Key(VK_RETURN);
    const std::string taxShown = Cell(nTaxRow, scAmount);
    EXPECT_NE(taxBefore, taxShown) << "the tax row above the changed row keeps its old tax";

    TempDir out;
    const CString pdf = out.Folder() + "at-once.pdf";
    CDialogAnswerer answerer;
    answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
        TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, pdf);
        ClickDlgButton(dlg, IDOK);
    });
    RealInput::PressKeys(pView->GetClientWidget(), Qt::ControlModifier, Qt::Key_P);
    Pump();
    EXPECT_EQ(0, answerer.CountUnanswered());
    EXPECT_TRUE(answerer.MessageBoxTexts().empty());
    const std::string page = PdfPageText(NativePath(pdf), 1);
    std::smatch printed;
    ASSERT_TRUE(std::regex_search(page, printed, std::regex(R"(御見積金額\s*(?:￥|¥)\*\*\*([0-9,]+))")))
        << page;

    // The oracle: the same rows recalculated in full (F7), the sheet's amounts from them.
    Command(ID_RECALCULATE);
    EXPECT_EQ(taxShown, Cell(nTaxRow, scAmount));
    pView->ComputeInformationAmounts();
    const std::string sheet = InformationValues::DisplayText(CInformationFormTexts(info), nQuote,
                                                             pView->GetModel().GetInformation(nQuote), true)
                                  .str();
    ASSERT_EQ(0u, sheet.find("***")) << sheet;
    EXPECT_EQ(sheet.substr(3), printed[1].str());
}

TEST(LayoutPageCount, RowsPerPageOfTheSmallestReference)
{
    CPrintEMDoc layout;
    EXPECT_EQ(CLayoutPrintJob::PagesOf(layout, 0), 1) << "no references: one page";
    EXPECT_EQ(CLayoutPrintJob::PagesOf(layout, 500), 1);
    auto add = [&](const char* key, int n) {
        auto* p = new CFieldRefRecord;
        p->m_strKey = key;
        p->m_nValue = n;
        layout.m_fieldRefs.Add(p);
    };
    add("1,a", 30);
    add("1,b", 18);
    EXPECT_EQ(CLayoutPrintJob::PagesOf(layout, 37), 3);
    EXPECT_EQ(CLayoutPrintJob::PagesOf(layout, 36), 2);
    EXPECT_EQ(CLayoutPrintJob::PagesOf(layout, 1), 1);
    EXPECT_EQ(CLayoutPrintJob::PagesOf(layout, 0), 0);
    // A token naming line 0 gives a reference of 0: one row a page, never a division by 0.
    add("2,c", 0);
    EXPECT_EQ(CLayoutPrintJob::PagesOf(layout, 37), 37);
    layout.ClearFieldLinks();
}

} // namespace
