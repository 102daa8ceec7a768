// bench_parts: the parts list. A list of 10,000 rows is written to a file and opened,
// every row's formulas are evaluated, and the list is shown in a 1920 x 1080 window and
// repainted whole. Prints medians; it measures, it never fails on time.
//
//   bench_parts [runs] [rows]      (default 21 runs, 10000 rows)
//
// open       reading the file into a document (the whole file, parsed in memory); the
//            document is made before and freed after the timing
// recalc     evaluating every calculated column of every row, row by row (each row checks
//            the columns' rules against the form)
// recalc kept   the same with the rules kept for the whole loop (KeepColumnRules), as the
//            commands over many rows do
// recalc plain  the same the plain way (form texts read at every cell, formulas as texts)
// repaint    one full repaint of the 1920 x 1080 view
// sort       sorting every row by the price column (a number column), ascending after
//            descending, so that each run has work to do
// csv out    the CSV text of all seven columns of every row
// csv in     reading that text back as new rows of an empty list
//
// Each line gives the median wall-clock time and the median CPU time of the thread.
//
// The program runs inside the window layer's application object (start-up runs the
// benchmark and ends), with the offscreen platform unless a display is chosen.
#include "app/CMorvelSettings.h"
#include "bench/BenchApp.h"
#include "bench/BenchSupport.h"
#include "engine/estimate/CGridRow.h"
#include "parts/CMorvelPMDoc.h"
#include "parts/CMorvelPMView.h"
#include "parts/PartsImport.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

int g_nRuns = 21;
int g_nRows = 10000;

void FillForm(CPartFormFile& form)
{
    static const char* const items[][10] = {
        {"部材名", "文字", "20", "", "", "", "2", "", "", ""},
        {"規格", "文字", "16", "", "", "", "", "", "", ""},
        {"数量", "数値", "8", "###,###.##", "", "F(-3)", "", "", "", ""},
        {"単位", "文字", "5", "", "", "", "1", "", "", ""},
        {"単価", "数値", "10", "###,###", "", "F(-1)", "", "", "", ""},
        {"金額", "計算", "12", "###,###,###", "C*E", "D(-1)", "", "", "", ""},
        {"備考", "文字", "14", "", "", "", "", "", "", ""},
    };
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 10; ++j)
            form.GetItem(i, j) = CString::FromUtf8(items[i][j]);
    }
    form.SetCount(7);
}

// The CPU time of this thread in milliseconds: on a machine shared with other work it
// shows what the code costs apart from the time spent waiting for a processor.
double ThreadCpuMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct CTimes {
    double wall;
    double cpu;
};

// The medians of fn's wall-clock and CPU times over the runs (after two to warm up).
CTimes Measure(const std::function<void()>& fn)
{
    for (int i = 0; i < 2; ++i)
        fn();
    std::vector<double> wall, cpu;
    for (int i = 0; i < g_nRuns; ++i) {
        const double cpuStart = ThreadCpuMilliseconds();
        const auto start = Clock::now();
        fn();
        wall.push_back(MillisecondsSince(start));
        cpu.push_back(ThreadCpuMilliseconds() - cpuStart);
    }
    return {Median(wall), Median(cpu)};
}

void RunBenchmark()
{
    CBenchWorkFolder folder("bench_parts");
    if (!folder.Valid())
        return;
    const std::filesystem::path& dir = folder.Path();
    CMorvelSettings& settings = folder.Settings();
    settings.WriteProfileInt("Input Setting", "Parts Maxmum Rows", g_nRows + g_nRows / 10);
    settings.WriteProfileInt("Input Setting", "Backup File", 1);

    // The list, built through the grid's cell store and saved.
    const CString strPath = SystemPathFromNative((dir / "bench.mbd").string());
    {
        CMorvelPMDoc doc;
        doc.m_bAutoDelete = FALSE;
        FillForm(doc.m_form);
        doc.SetRowLimit(g_nRows + g_nRows / 10);
        auto* pView = new CMorvelPMView;
        doc.AddView(pView);
        pView->TakeDocumentRows();
        char qty[32], price[32];
        for (int r = 0; r < g_nRows; ++r) {
            std::snprintf(qty, sizeof qty, "%d.%d", 1 + r % 400, r % 10);
            std::snprintf(price, sizeof price, "%d", 100 + (r * 37) % 20000);
            pView->SetCellText(CString::FromUtf8("異形棒鋼"), r, 0);
            pView->SetCellText(CString::FromUtf8("SD295A D13"), r, 1);
            pView->SetCellText(qty, r, 2);
            pView->SetCellText("kg", r, 3);
            pView->SetCellText(price, r, 4);
            pView->SetCellText(CString::FromUtf8("搬入費込み"), r, 6);
        }
        for (int r = 0; r < g_nRows; ++r)
            pView->CalcRow(r, 0);
        if (!doc.OnSaveDocument(strPath)) {
            std::fprintf(stderr, "bench_parts: the list could not be saved\n");
            return;
        }
        doc.RemoveView(pView);
        delete pView;
    }
    std::printf("bench_parts: %d rows x 7 columns, %ju bytes, %d runs\n", g_nRows,
                static_cast<uintmax_t>(std::filesystem::file_size(dir / "bench.mbd")), g_nRuns);

    // Only the opening is timed: the document is made before and freed after.
    std::vector<double> openWall, openCpu;
    for (int i = 0; i < g_nRuns + 2; ++i) {
        auto pOpened = std::make_unique<CMorvelPMDoc>();
        pOpened->m_bAutoDelete = FALSE;
        const double cpuStart = ThreadCpuMilliseconds();
        const auto start = Clock::now();
        if (!pOpened->OnOpenDocument(strPath))
            std::fprintf(stderr, "bench_parts: the list did not open\n");
        if (i >= 2) {
            openWall.push_back(MillisecondsSince(start));
            openCpu.push_back(ThreadCpuMilliseconds() - cpuStart);
        }
    }
    std::printf("  open        %8.3f ms   (cpu %8.3f ms)\n", Median(openWall), Median(openCpu));

    CWnd frame;
    if (!frame.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1920, 1080, nullptr, nullptr)) {
        std::fprintf(stderr, "bench_parts: no window\n");
        return;
    }
    auto* pDoc = new CMorvelPMDoc;
    pDoc->m_bAutoDelete = FALSE;
    if (!pDoc->OnOpenDocument(strPath))
        return;
    auto* pView = new CMorvelPMView;
    pDoc->AddView(pView);
    pView->TakeDocumentRows();
    const CTimes recalc = Measure([&] {
        for (int r = 0; r < pDoc->GetRowsInUse(); ++r)
            pView->CalcRow(r, 0);
    });
    std::printf("  recalc      %8.3f ms   (cpu %8.3f ms)\n", recalc.wall, recalc.cpu);
    const CTimes recalcKept = Measure([&] {
        const auto rules = pDoc->Model().KeepColumnRules();
        for (int r = 0; r < pDoc->GetRowsInUse(); ++r)
            pView->CalcRow(r, 0);
    });
    std::printf("  recalc kept %8.3f ms   (cpu %8.3f ms)\n", recalcKept.wall, recalcKept.cpu);
    // The same with the rules read from the form's texts at every cell and every formula
    // put together as a text (what the quick way replaces; the same texts result).
    pDoc->Model().SetPlainCalculation(true);
    const CTimes recalcPlain = Measure([&] {
        for (int r = 0; r < pDoc->GetRowsInUse(); ++r)
            pView->CalcRow(r, 0);
    });
    pDoc->Model().SetPlainCalculation(false);
    std::printf("  recalc plain%8.3f ms   (cpu %8.3f ms)\n", recalcPlain.wall, recalcPlain.cpu);

    bool bAscending = false;
    const CTimes sort = Measure([&] {
        pView->SortRowsBy(4, 0, pDoc->GetRowsInUse() - 1, bAscending);
        bAscending = !bAscending;
    });
    std::printf("  sort        %8.3f ms   (cpu %8.3f ms)\n", sort.wall, sort.cpu);

    const std::vector<BOOL> ticks(7, TRUE);
    std::string csv;
    const CTimes csvOut = Measure([&] { csv = PartsImport::WriteCsv(*pView, ticks); });
    std::printf("  csv out     %8.3f ms   (cpu %8.3f ms, %zu bytes)\n", csvOut.wall, csvOut.cpu, csv.size());
    const std::vector<int> identity = {0, 1, 2, 3, 4, 5, 6};
    std::vector<double> inWall, inCpu;
    for (int i = 0; i < g_nRuns + 2; ++i) {
        CMorvelPMDoc target;
        target.m_bAutoDelete = FALSE;
        FillForm(target.m_form);
        target.SetRowLimit(g_nRows + g_nRows / 10);
        auto* pTarget = new CMorvelPMView;
        target.AddView(pTarget);
        pTarget->TakeDocumentRows();
        const double cpuStart = ThreadCpuMilliseconds();
        const auto start = Clock::now();
        PartsImport::InsertCsvRows(*pTarget, 0, csv, identity);
        if (i >= 2) {
            inWall.push_back(MillisecondsSince(start));
            inCpu.push_back(ThreadCpuMilliseconds() - cpuStart);
        }
        target.RemoveView(pTarget);
        delete pTarget;
    }
    std::printf("  csv in      %8.3f ms   (cpu %8.3f ms)\n", Median(inWall), Median(inCpu));

    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), &frame,
                       AFX_IDW_PANE_FIRST)) {
        std::fprintf(stderr, "bench_parts: no view\n");
        return;
    }
    pView->OnInitialUpdate();
    pView->UpdateWindow();
    const CTimes repaint = Measure([&] {
        pView->Invalidate(TRUE);
        pView->UpdateWindow();
    });
    std::printf("  repaint     %8.3f ms   (cpu %8.3f ms, %d rows visible)\n", repaint.wall, repaint.cpu,
                pView->GetVisibleRowCount());

    pView->DestroyWindow();
    frame.DestroyWindow();
    delete pDoc;
}

} // namespace

int main(int argc, char** argv)
{
    g_nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    g_nRows = argc > 2 ? std::max(100, std::atoi(argv[2])) : 10000;
    RunInApplication("bench_parts", argv[0], RunBenchmark);
    return 0;
}
