// bench_print: an estimate printed through a print layout to the PDF printer, and one page
// of it drawn as a preview draws it. Prints medians; it measures, it never fails on time.
//
//   bench_print [runs] [rows]      (default 5 runs, 10000 rows)
//
// print N    the print command through to the PDF file: page count of the layout (opened
//            once), the rows' print, the first N pages of a 100-row x 8-column table (the
//            job's page range 1 to N, N its page count up to 100), the file written; then
//            the same with the zero rows left out ("NonPrint ZeroSuryo Mitumori" 1: the
//            rows copied once per job). Every run's PDF must hold the N pages.
// preview 1  one page drawn into a bitmap of the preview's size (A4 at 96 dpi), as the
//            preview window draws each page: ten draws a run, each the job's next page
//
// Each figure is the median of the runs' elapsed times and of their processor times
// ("cpu"), which a loaded machine disturbs far less.
//
// The program runs inside the window layer's application object (start-up runs the
// benchmark and ends), with the offscreen platform unless a display is chosen. A run that
// did not print what it was asked to says so, and the program exits with 1.
#include "app/CMorvelSettings.h"
#include "app/SharedRecords.h"
#include "bench/BenchApp.h"
#include "bench/BenchEstimateRows.h"
#include "bench/BenchForms.h"
#include "bench/BenchSupport.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CEstimatePrinting.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/drawing/DrawingShared.h"
#include "layout/printform/CLayoutPrintJob.h"
#include "layout/printform/CPrintEMDoc.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/dialogs/CDialog.h"
#include "platform/ui/dialogs/CPrintDialog.h"
#include "platform/ui/dialogs/DialogTestHook.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int g_nRuns = 5;
int g_nRows = 10000;

// Headings, details with numbers in every numeric column, subtotals, discounts.
// The medians of a step's elapsed and processor times over the runs.
struct CTimes {
    double elapsed = 0.0;
    double cpu = 0.0;
};

// Times fn nTimes over (after once to warm the caches up).
CTimes Measure(const std::function<void()>& fn, int nTimes = g_nRuns)
{
    fn();
    std::vector<double> times, cpuTimes;
    for (int i = 0; i < nTimes; ++i) {
        const auto start = Clock::now();
        const double cpu = ThreadCpuMilliseconds();
        fn();
        cpuTimes.push_back(ThreadCpuMilliseconds() - cpu);
        times.push_back(MillisecondsSince(start));
    }
    return {Median(times), Median(cpuTimes)};
}

// A layout of a title, a date and page line, and a table of 100 rows x 8 columns of the
// estimate's first eight items, 0.16 inch a row.
void WriteLayout(const CString& path, const CEstimationFormFile& form)
{
    CPrintEMDoc layout;
    layout.m_curEstimationForm = form;
    auto* pTitle = new CDrawText(CRect(-300, 1000, 300, 900));
    pTitle->m_strText = Sj("御見積書");
    layout.Add(pTitle);
    auto* pPage = new CDrawText(CRect(-380, -1020, 380, -1080));
    pPage->m_strText = Sj("$日付()$  $ﾍﾟｰｼﾞ()$ / $すべてのﾍﾟｰｼﾞ()$");
    layout.Add(pPage);
    auto* pTable = new CDrawTable(CRect(-380, 860, 380, -740));
    layout.Add(pTable);
    const int widths[8] = {150, 110, 80, 50, 80, 110, 80, 100};
    for (int r = 0; r < 100; ++r) {
        int x = -380;
        for (int c = 0; c < 8; ++c) {
            const int nTop = 860 - 16 * r;
            CDrawCell* pCell = pTable->AddCell(CRect(x + widths[c], nTop, x, nTop - 16));
            CString text;
            text.Format("$%s(1,%s,%d)$", static_cast<const char*>(Sj("見積")),
                        static_cast<const char*>(form.GetItem(c, 0)), r + 1);
            pCell->m_strText = text;
            pCell->m_nAlign = c == 0 || c == 1 || c == 3 ? 0 : 2;
            pCell->m_logFont.lfHeight = -11;
            for (int e = 0; e < 4; ++e)
                pCell->m_nEdgeStyle[e] = 1;
            x += widths[c];
        }
    }
    layout.RebuildFieldRefs();
    layout.OnSaveDocument(path);
}

// The pages of a PDF file: its page objects ("/Type /Page", not "/Pages"); -1 when it
// cannot be read.
int CountPdfPages(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return -1;
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    int nPages = 0;
    for (size_t at = bytes.find("/Type"); at != std::string::npos; at = bytes.find("/Type", at + 5)) {
        size_t k = at + 5;
        while (k < bytes.size() && (bytes[k] == ' ' || bytes[k] == '\r' || bytes[k] == '\n'))
            ++k;
        if (bytes.compare(k, 5, "/Page") == 0 && (k + 5 >= bytes.size() || bytes[k + 5] != 's'))
            ++nPages;
    }
    return nPages;
}

bool RunBenchmark()
{
    CBenchWorkFolder folder("bench_print");
    if (!folder.Valid())
        return false;
    const std::filesystem::path& dir = folder.Path();
    CMorvelSettings& settings = folder.Settings();
    settings.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", g_nRows + g_nRows / 5);
    settings.m_nPrintColor = 1;
    settings.m_nDataAlign = 1;
    settings.m_nSpaceSetting = 1;
    settings.m_nMinus = 2;
    RegisterEstimatePrinting();
    CPrinterSettings::Instance().UsePdfPrinter();

    CWnd frame;
    if (!frame.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 900, nullptr, nullptr)) {
        std::fprintf(stderr, "bench_print: no window\n");
        return false;
    }
    auto* pDoc = new CMorvelEMDoc;
    pDoc->m_bAutoDelete = FALSE;
    SetBenchEstimationForm(pDoc->m_EstimationForm, false);
    auto* pView = new CMorvelEMView;
    pDoc->AddView(pView);
    pView->SetupFromDocument();
    BuildRows(*pView, g_nRows);
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1280, 900), &frame,
                       AFX_IDW_PANE_FIRST)) {
        std::fprintf(stderr, "bench_print: no view\n");
        return false;
    }
    const CString layoutPath = SystemPathFromNative((dir / "BENCH.MMP").string());
    WriteLayout(layoutPath, pDoc->m_EstimationForm);
    auto* pEntry = new CPrintFormEntry;
    pEntry->m_strFolder = SystemPathFromNative(dir.string()) + "\\";
    pEntry->m_strTitle = "BENCH";
    pDoc->m_aPrintForms.Add(pEntry);

    const CString pdf = SystemPathFromNative((dir / "out.pdf").string());
    CDialogAnswerer answerer;
    // One print job: the pages from 1 to the job's last, at most 100, into the PDF file,
    // which must then hold those pages. nPages is what was asked for; false when the job
    // printed something else.
    int nPages = 0;
    bool bPrinted = true;
    auto printJob = [&] {
        std::error_code ec;
        std::filesystem::remove(NativePath(pdf), ec);
        nPages = 0;
        answerer.AnswerDialog(AFX_IDD_PRINTDLG, [&](CDialog& dlg) {
            auto* pPrint = dynamic_cast<CPrintDialog*>(&dlg);
            nPages = pPrint != nullptr ? std::min(100, static_cast<int>(pPrint->m_pd.nMaxPage)) : 100;
            TypeDlgItemText(dlg, CPrintDialog::IDC_OUTPUT_FILE, pdf);
            ClickDlgButton(dlg, CPrintDialog::IDC_PAGE_RANGE);
            TypeDlgItemText(dlg, CPrintDialog::IDC_FROM_PAGE, "1");
            TypeDlgItemText(dlg, CPrintDialog::IDC_TO_PAGE, CString(std::to_string(nPages).c_str()));
            ClickDlgButton(dlg, IDOK);
        });
        pView->OnEstimatePrint();
        const int nPrinted = CountPdfPages(NativePath(pdf).c_str());
        if (nPages == 0 || nPrinted != nPages) {
            std::fprintf(stderr, "bench_print: asked for %d pages, the PDF holds %d\n", nPages, nPrinted);
            bPrinted = false;
        }
    };
    const CTimes print = Measure(printJob);
    if (!bPrinted)
        return false;
    std::error_code ec;
    std::printf("bench_print: %d rows, %d pages in the job, %d runs; PDF of %lld bytes, %d pages\n",
                pView->GetUsedRows(), pEntry->m_nLastPage, g_nRuns,
                static_cast<long long>(std::filesystem::file_size(NativePath(pdf), ec)), nPages);
    std::printf("  print %-5d %8.1f ms, cpu %8.1f ms\n", nPages, print.elapsed, print.cpu);

    // The same job leaving the zero rows out: one copy of the rows for the page count and
    // one for the pages.
    settings.WriteProfileString("Print Setting", "NonPrint ZeroSuryo Mitumori", "1");
    const CTimes printZero = Measure(printJob);
    settings.WriteProfileString("Print Setting", "NonPrint ZeroSuryo Mitumori", "0");
    if (!bPrinted)
        return false;
    std::printf("  print %d without zero rows %8.1f ms, cpu %8.1f ms (%d pages in the job)\n", nPages,
                printZero.elapsed, printZero.cpu, pEntry->m_nLastPage);

    // One page as the preview draws it: a bitmap of A4 at 96 dpi, document units.
    CLayoutPrintJob job(CLayoutPrintJob::estimateLayouts);
    job.CountPages(pDoc->m_aPrintForms, pView->GetPrintRowCount(), pDoc->GetPathName());
    CEstimatePrintSource source(*pView);
    source.m_nPrintPages = job.GetPageCount();
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, 794, 1123);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    CDrawingShared::s_bPrintPreview = TRUE;
    int nPage = 0;
    auto drawPage = [&] {
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetViewportExt(96, 96);
        dc.SetWindowExt(100, -100);
        dc.SetWindowOrg(-413, 584);
        dc.FillSolidRect(-413, 584, 826, -1169, RGB(255, 255, 255));
        job.DrawPage(&dc, 1 + nPage++ % std::max(1, job.GetPageCount()), &source, nullptr,
                     [&](int n) { source.m_nLayoutPage = n; });
    };
    const CTimes preview = Measure(drawPage, 10 * g_nRuns);
    CDrawingShared::s_bPrintPreview = FALSE;
    dc.SelectObject(pOld);
    std::printf("  preview 1   %8.2f ms, cpu %8.2f ms\n", preview.elapsed, preview.cpu);

    pView->DestroyWindow();
    frame.DestroyWindow();
    delete pDoc;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    g_nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    g_nRows = argc > 2 ? std::max(100, std::atoi(argv[2])) : 10000;
    bool bDone = false;
    RunInApplication("bench_print", argv[0], [&bDone] { bDone = RunBenchmark(); });
    if (!bDone)
        std::fprintf(stderr, "bench_print: the benchmark could not run\n");
    return bDone ? 0 : 1;
}
