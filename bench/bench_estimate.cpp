// bench_estimate: a 10,000-row estimate (the row limit raised in its settings) made through
// the estimate view's operations, then opened, fully recalculated and saved again and
// again. Prints the median of each step; it measures, it never fails on time.
//
//   bench_estimate [runs] [rows] [tax]   (default 21 runs, 10000 rows)
//   bench_estimate --resave FILE OUT      (FILE recalculated, saved as OUT and OUT.csv)
//   bench_estimate --open FILE [opens [pause-ms [MB]]]
//                                         (FILE opened again and again, see OpenTimes)
//   bench_estimate --touch MB             (another program's memory use: MB megabytes
//                                         touched page by page and given back)
//
// With "tax" the estimate is several whole estimates in one file: each 種目 of about 80
// rows ends with its grand total and its consumption-tax row (a tax row per 種目, about 840
// of them in 65,000 rows), the shape whose recalculation meets a tax row every few dozen
// rows.
//
// Instruction counts, steadier than times on a loaded machine:
//   valgrind --tool=callgrind --toggle-collect='CMorvelEMView::RecalcAll()' bench_estimate 2
//   valgrind --tool=callgrind --toggle-collect='*EditQuantity*' bench_estimate 2
// (RecalcAll runs once more than the runs, for the estimate built first; with
// --dump-after='*EditQuantity*' each edit is counted on its own.)
// MORVEL_BENCH_EDIT_LEVEL=1 or 2: the edits at that recalculation level instead of the
// default 3 (at level 1 an edit recalculates from its row down, and the tax rows above it
// keep their tax until F7); MORVEL_BENCH_EDIT_ROW=top: the first detail row is edited
// instead of one in the middle; MORVEL_BENCH_NO_TREE: no edits with the subject tree.
//
// open      a new document and view, OnOpenDocument (whole file read, parsed from memory)
//           and the view's set-up from the document
// recalc    the full recalculation (row formulas of every row, then the totals from row 0)
// edit      one quantity typed into a detail row in the middle of the estimate and the
//           recalculation that follows it, as on Enter (its row's formulas, then the totals
//           and the tax from that row down); nine edits a run, each timed, the first
//           apart (edit1st: the first edit after a full recalculation, which reads every
//           row once to make the sums kept per total)
// treefill  the subject tree made beside the view (its window, its items, all open)
// edit+tree the edit again with the tree beside the view, which follows the new amounts:
//           what the user waits for after Enter in an estimate window
// store     Serialize into memory alone (the part of a save that is ours, without the disk)
// save      OnSaveDocument with the recalculation level 1 (the file written, no recalc)
// save+rc   OnSaveDocument with the level 3 (the save-time recalculation, then the file)
// close     deleting the view and the document with their rows
// memory    the peak resident size, and the resident size once every estimate is closed,
//           with the part of it given to the kernel to take when it needs it (MADV_FREE)
// Elapsed times first, then the processor time of the thread for open, recalc, edit and
// store ("cpu ..."), which a loaded machine disturbs far less.
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CMorvelSettings.h"
#include "bench/BenchApp.h"
#include "bench/BenchEstimateFile.h"
#include "bench/BenchForms.h"
#include "bench/BenchSupport.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CMorvelEMTreeView.h"
#include "estimate_tools/EstimateCsv.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// What Enter after typing a quantity does: the cell stored, its row calculated, and the
// totals from the row down, at the default recalculation level at the end of the command
// with every figure the edit reaches elsewhere, tax rows above it included. A function of
// its own, so that a profiler can count it alone.
__attribute__((noinline)) void EditQuantity(CMorvelEMView& view, int nRow, const CString& strQuantity)
{
    const CMorvelEMView::CCommandScope command(view);
    view.SetCellText(strQuantity, nRow, 2, TRUE);
    view.GetModel().Engine().CalcRow(nRow, 0);
    view.RecalcTotalsAfterEdit(nRow);
}

struct OpenedEstimate {
    OpenedEstimate() : doc(new CMorvelEMDoc), view(new CMorvelEMView)
    {
        doc->m_bAutoDelete = FALSE;
        doc->AddView(view);
    }
    void Close()
    {
        delete view;
        delete doc;
        view = nullptr;
        doc = nullptr;
    }
    ~OpenedEstimate() { Close(); }
    CMorvelEMDoc* doc;
    CMorvelEMView* view;
};

} // namespace

namespace {

// What another program does to the machine's memory while the user pauses: it touches
// nMegabytes of fresh memory page by page (taking free memory, the large free blocks
// included) and gives it back when it ends.
void TouchMemory(int nMegabytes)
{
    const size_t nBytes = static_cast<size_t>(nMegabytes) << 20;
    void* p = mmap(nullptr, nBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return;
    const size_t nPage = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    for (size_t i = 0; i < nBytes; i += nPage)
        static_cast<volatile char*>(p)[i] = 1;
    munmap(p, nBytes);
}

// A pause of nMilliseconds with another program (a child process) touching nMegabytes in it.
void PauseWithOtherMemoryUse(int nMilliseconds, int nMegabytes)
{
    const auto start = Clock::now();
    const pid_t pid = nMegabytes > 0 ? fork() : -1;
    if (pid == 0) {
        TouchMemory(nMegabytes);
        _exit(0);
    }
    if (pid > 0)
        waitpid(pid, nullptr, 0);
    const double left = nMilliseconds - MillisecondsSince(start);
    if (left > 0)
        usleep(static_cast<useconds_t>(left * 1000));
}

// The processor time the calling thread has spent in the kernel, in ms (page faults and
// the kernel's work for them).
double ThreadSystemMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) * 1e3 +
           static_cast<double>(usage.ru_stime.tv_usec) / 1e3;
}

} // namespace

// bench_estimate --open FILE [opens [pause-ms [MB]]]: the first open of an estimate in this
// process, then the opens after it (one unless given), at the default recalculation level,
// where an opened estimate has its figures worked out as it opens. Without a pause the
// opens follow each other (warm): the median of their elapsed and processor times. With a
// pause each open comes after the estimate was closed and pause-ms went by while another
// program touched MB megabytes (default 512) of memory, as a user opens a file after other
// work: the median and the 95th percentile of those opens, elapsed, processor and system
// time. bench/cold_open.sh starts it again and again.
int OpenTimes(const char* lpszFile, int nOpens, int nPause, int nMegabytes)
{
    char dirTemplate[] = "/tmp/bench_estimate-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr)
        return 1;
    const std::filesystem::path dir = dirTemplate;
    CProfileFile profile(SystemPathFromNative((dir / "bench.ini").string()));
    CMorvelSettings settings(profile);
    CMorvelSettings::SetCurrent(&settings);
    settings.WritePathSetting("Work Field", SystemPathFromNative(dir.string()));
    settings.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", 80000);
    settings.WriteProfileInt("ReCalcSetting", "Level", 3);
    const CString path = SystemPathFromNative(lpszFile);
    std::vector<double> times, cpuTimes, systemTimes;
    for (int i = 0; i <= nOpens; ++i) {
        if (i > 0 && nPause > 0)
            PauseWithOtherMemoryUse(nPause, nMegabytes);
        const auto start = Clock::now();
        const double cpu = ThreadCpuMilliseconds();
        const double system = ThreadSystemMilliseconds();
        OpenedEstimate e;
        if (!e.doc->OnOpenDocument(path))
            return 1;
        e.view->SetupFromDocument();
        times.push_back(MillisecondsSince(start));
        cpuTimes.push_back(ThreadCpuMilliseconds() - cpu);
        systemTimes.push_back(ThreadSystemMilliseconds() - system);
    }
    const std::vector<double> later(times.begin() + 1, times.end());
    const std::vector<double> laterCpu(cpuTimes.begin() + 1, cpuTimes.end());
    if (nPause <= 0) {
        std::printf("first %.3f warm %.3f cpu first %.3f warm %.3f\n", times[0], Median(later), cpuTimes[0],
                    Median(laterCpu));
    } else {
        const std::vector<double> laterSystem(systemTimes.begin() + 1, systemTimes.end());
        std::printf("first %.3f (cpu %.3f, system %.3f); %d opens after %d ms and %d MB used elsewhere: "
                    "median %.3f p95 %.3f, cpu median %.3f p95 %.3f, system median %.3f p95 %.3f\n",
                    times[0], cpuTimes[0], systemTimes[0], nOpens, nPause, nMegabytes, Median(later),
                    Percentile95(later), Median(laterCpu), Percentile95(laterCpu), Median(laterSystem),
                    Percentile95(laterSystem));
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}

// bench_estimate --resave FILE OUT: the estimate recalculated in full and saved as OUT (the
// save recalculating once more), and its rows with their subject numbers (shown in the name
// column) written as OUT.csv: two builds that compute alike write the same bytes.
int Resave(const char* lpszFile, const char* lpszOut)
{
    char dirTemplate[] = "/tmp/bench_estimate-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr)
        return 1;
    const std::filesystem::path dir = dirTemplate;
    CProfileFile profile(SystemPathFromNative((dir / "bench.ini").string()));
    CMorvelSettings settings(profile);
    CMorvelSettings::SetCurrent(&settings);
    settings.WritePathSetting("Work Field", SystemPathFromNative(dir.string()));
    settings.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", 80000);
    settings.WriteProfileInt("ReCalcSetting", "Level", 3);
    int nResult = 1;
    {
        OpenedEstimate e;
        if (e.doc->OnOpenDocument(SystemPathFromNative(lpszFile))) {
            e.view->SetupFromDocument();
            e.view->RecalcAll();
            if (e.doc->OnSaveDocument(SystemPathFromNative(lpszOut)))
                nResult = 0;
            CMorvelEMView::CSubjectNumbering numbering = e.view->GetModel().GetNumbering();
            numbering.nShown = 1;
            e.view->GetModel().SetNumbering(numbering);
            const std::vector<BOOL> ticks(static_cast<size_t>(e.view->GetColumnCount()), TRUE);
            // The writer reads the model where it can (the bench is built against earlier
            // commits too, whose writer reads the view, see bench/against.sh).
            const std::string csv = [&](auto& view) {
                if constexpr (requires {
                                  EstimateCsv::WriteEstimate(view.GetModel(), view.GetEstimationForm(),
                                                             ticks);
                              })
                    return EstimateCsv::WriteEstimate(view.GetModel(), view.GetEstimationForm(), ticks);
                else
                    return EstimateCsv::WriteEstimate(view, ticks);
            }(*e.view);
            if (FILE* pFile = std::fopen((std::string(lpszOut) + ".csv").c_str(), "wb")) {
                std::fwrite(csv.data(), 1, csv.size(), pFile);
                std::fclose(pFile);
            }
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return nResult;
}

namespace {

// The subject tree of an estimate window beside the view, in a window of its own: the tree
// every estimate window shows, which follows the rows on every recalculation.
CMorvelEMTreeView* AttachTree(CWnd& frame, CMorvelEMDoc& doc)
{
    auto* pTree = new CMorvelEMTreeView;
    doc.AddView(pTree);
    if (!pTree->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 1000), &frame, 1)) {
        doc.RemoveView(pTree);
        delete pTree;
        return nullptr;
    }
    pTree->OnInitialUpdate();
    return pTree;
}

// A size line of /proc/self/status ("VmRSS:", "VmHWM:") in MB; 0 where there is none.
double ResidentMegabytes(const char* lpszKey)
{
    return ProcKilobytes("/proc/self/status", lpszKey) / 1024.0;
}

// The edits timed in each run, with and without the subject tree.
constexpr int EDITS_PER_RUN = 9;

int RunBenchmark(int nRuns, int nRows, bool bTaxPerKind)
{
    // The window the subject trees live in.
    CWnd frame;
    if (!frame.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 300, 1000, nullptr, nullptr)) {
        std::fprintf(stderr, "bench_estimate: no window for the subject tree\n");
        return 1;
    }
    char dirTemplate[] = "/tmp/bench_estimate-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr) {
        std::perror("bench_estimate: mkdtemp");
        return 1;
    }
    const std::filesystem::path dir = dirTemplate;
    struct RemoveDir {
        std::filesystem::path path;
        ~RemoveDir()
        {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    } removeDir{dir};

    CProfileFile profile(SystemPathFromNative((dir / "bench.ini").string()));
    CMorvelSettings settings(profile);
    // The estimate engine reads the current settings.
    CMorvelSettings::SetCurrent(&settings);
    settings.WritePathSetting("Work Field", SystemPathFromNative(dir.string()));
    settings.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", nRows + nRows / 5);
    settings.WriteProfileInt("Input Setting", "Backup File", 1);
    settings.WriteProfileInt("ReCalcSetting", "Level", 1);
    settings.m_nTax = 10;
    settings.m_nRoundMode = 3;

    const CString path = SystemPathFromNative((dir / "bench.mmd").string());
    const CString path2 = SystemPathFromNative((dir / "bench2.mmd").string());
    auto build = Clock::now();
    {
        OpenedEstimate e;
        BuildEstimateForms(*e.doc);
        e.doc->m_nNewEstimate = 1;
        e.view->SetupFromDocument();
        BuildEstimateRows(*e.view, nRows, bTaxPerKind);
        if (!e.doc->OnSaveDocument(path))
            return 1;
        // MORVEL_BENCH_KEEP=file: a copy of the estimate file (for --open).
        if (const char* lpszKeep = std::getenv("MORVEL_BENCH_KEEP")) {
            std::error_code ec;
            std::filesystem::copy_file(dir / "bench.mmd", lpszKeep,
                                       std::filesystem::copy_options::overwrite_existing, ec);
        }
        // MORVEL_BENCH_DUMP=file: the rows as tab-separated text (row, kind, quantity, unit
        // price, amount, cost unit price, cost), for bench/compare_calc to build the same
        // estimate as a spreadsheet from.
        if (const char* lpszDump = std::getenv("MORVEL_BENCH_DUMP")) {
            if (FILE* pFile = std::fopen(lpszDump, "w")) {
                for (int r = 0; r < e.view->GetUsedRows(); ++r) {
                    std::fprintf(pFile, "%d\t%d", r, e.view->GetRowKind(r));
                    for (int c : {2, 4, 5, 6, 7})
                        std::fprintf(pFile, "\t%s", e.view->GetCellText(r, c).c_str());
                    std::fprintf(pFile, "\n");
                }
                std::fclose(pFile);
            }
        }
        int nTaxRows = 0;
        for (int r = 0; r < e.view->GetUsedRows(); ++r)
            nTaxRows += e.view->GetRowKind(r) == kindFree ? 1 : 0;
        std::printf("bench_estimate: %d rows (%d tax rows), %d columns, file %ju bytes, built in %.1f ms\n",
                    e.view->GetUsedRows(), nTaxRows, e.view->GetColumnCount(),
                    static_cast<uintmax_t>(std::filesystem::file_size(dir / "bench.mmd")),
                    MillisecondsSince(build));
    }

    std::vector<double> open, recalc, edit, store, save, saveRecalc, close, treeFill, editTree;
    std::vector<double> openCpu, recalcCpu, editCpu, storeCpu, treeFillCpu, editTreeCpu;
    std::vector<double> firstEdit, firstEditCpu, numbers;
    int nTreeItems = 0;
    for (int run = 0; run < nRuns; ++run) {
        auto start = Clock::now();
        double cpu = ThreadCpuMilliseconds();
        auto* pEstimate = new OpenedEstimate;
        if (!pEstimate->doc->OnOpenDocument(path))
            return 1;
        pEstimate->view->SetupFromDocument();
        open.push_back(MillisecondsSince(start));
        openCpu.push_back(ThreadCpuMilliseconds() - cpu);

        start = Clock::now();
        cpu = ThreadCpuMilliseconds();
        pEstimate->view->RecalcAll();
        recalc.push_back(MillisecondsSince(start));
        recalcCpu.push_back(ThreadCpuMilliseconds() - cpu);

        {
            // The edits at the default level, which works every figure out after a command.
            const char* lpszLevel = std::getenv("MORVEL_BENCH_EDIT_LEVEL");
            settings.WriteProfileInt("ReCalcSetting", "Level",
                                     lpszLevel != nullptr ? std::atoi(lpszLevel) : 3);
            CMorvelEMView& view = *pEstimate->view;
            const char* lpszRow = std::getenv("MORVEL_BENCH_EDIT_ROW");
            int nEditRow = lpszRow != nullptr && std::string(lpszRow) == "top" ? 0 : view.GetUsedRows() / 2;
            while (nEditRow < view.GetUsedRows() && view.GetRowKind(nEditRow) != kindDetail)
                ++nEditRow;
            // Several edits a run, each timed: an edit is short, and its median over many
            // is steadier on a loaded machine.
            for (int i = 0; i < EDITS_PER_RUN; ++i) {
                const CString strQuantity = i % 2 == 0 ? "123.4" : "56.7";
                start = Clock::now();
                cpu = ThreadCpuMilliseconds();
                EditQuantity(view, nEditRow, strQuantity);
                (i == 0 ? firstEdit : edit).push_back(MillisecondsSince(start));
                (i == 0 ? firstEditCpu : editCpu).push_back(ThreadCpuMilliseconds() - cpu);
            }

            // MORVEL_BENCH_NO_TREE: the edits without the tree alone (for counting them).
            if (std::getenv("MORVEL_BENCH_NO_TREE") == nullptr) {
                // The same with the subject tree beside the view, as in every estimate window:
                // the tree filled, then another quantity typed.
                start = Clock::now();
                cpu = ThreadCpuMilliseconds();
                CMorvelEMTreeView* pTree = AttachTree(frame, *pEstimate->doc);
                if (pTree == nullptr) {
                    std::fprintf(stderr, "bench_estimate: the subject tree could not be made\n");
                    return 1;
                }
                treeFill.push_back(MillisecondsSince(start));
                treeFillCpu.push_back(ThreadCpuMilliseconds() - cpu);
                nTreeItems = static_cast<int>(pTree->GetTreeCtrl().GetCount());
                for (int i = 0; i < EDITS_PER_RUN; ++i) {
                    start = Clock::now();
                    cpu = ThreadCpuMilliseconds();
                    EditQuantity(view, nEditRow, i % 2 == 0 ? "98.7" : "65.4");
                    editTree.push_back(MillisecondsSince(start));
                    editTreeCpu.push_back(ThreadCpuMilliseconds() - cpu);
                }
                if (pTree->GetTreeCtrl().GetCount() != static_cast<UINT>(nTreeItems)) {
                    std::fprintf(stderr, "bench_estimate: the subject tree lost items in the edit\n");
                    return 1;
                }
                pTree->DestroyWindow(); // the view deletes itself with its window
            }
        }

        {
            // The subject numbers of every row in order, as a printed page or the grid's
            // painting asks for them, with numbering shown in the name column.
            CMorvelEMView& view = *pEstimate->view;
            CMorvelEMView::CSubjectNumbering numbering = view.GetModel().GetNumbering();
            numbering.nShown = 1;
            view.GetModel().SetNumbering(numbering);
            start = Clock::now();
            size_t nLength = 0;
            for (int r = 0; r < view.GetUsedRows(); ++r)
                nLength += static_cast<size_t>(view.GetSubjectNoText(r, numbering.nColumn).GetLength());
            numbers.push_back(MillisecondsSince(start));
            if (nLength == 0) {
                std::fprintf(stderr, "bench_estimate: no subject numbers\n");
                return 1;
            }
            numbering.nShown = 0;
            view.GetModel().SetNumbering(numbering);
        }

        start = Clock::now();
        cpu = ThreadCpuMilliseconds();
        {
            // With room for about the file read, as a save makes (where the memory file can
            // make room: the bench is built against earlier commits too, see bench/against.sh).
            CMemFile memFile(1 << 20);
            const size_t nRead = static_cast<size_t>(std::filesystem::file_size(dir / "bench.mmd"));
            [&](auto& file) {
                if constexpr (requires { file.Reserve(nRead); })
                    file.Reserve(nRead + nRead / 8);
            }(memFile);
            CArchive ar(&memFile, CArchive::store);
            pEstimate->doc->Serialize(ar);
            ar.Close();
        }
        store.push_back(MillisecondsSince(start));
        storeCpu.push_back(ThreadCpuMilliseconds() - cpu);

        settings.WriteProfileInt("ReCalcSetting", "Level", 1);
        start = Clock::now();
        if (!pEstimate->doc->OnSaveDocument(path2))
            return 1;
        save.push_back(MillisecondsSince(start));

        settings.WriteProfileInt("ReCalcSetting", "Level", 3);
        start = Clock::now();
        if (!pEstimate->doc->OnSaveDocument(path2))
            return 1;
        saveRecalc.push_back(MillisecondsSince(start));

        start = Clock::now();
        delete pEstimate;
        close.push_back(MillisecondsSince(start));
    }

    std::printf("bench_estimate: medians of %d runs\n", nRuns);
    std::printf("  open     %8.2f ms   (target < 50 ms)\n", Median(open));
    std::printf("  recalc   %8.2f ms   (target < 10 ms)\n", Median(recalc));
    std::printf("  edit     %8.3f ms   (one quantity mid-estimate; target <= 1 ms)\n", Median(edit));
    std::printf("  edit1st  %8.3f ms   (the first edit after the full recalculation)\n", Median(firstEdit));
    std::printf("  treefill %8.2f ms   (the subject tree made, %d items)\n", Median(treeFill), nTreeItems);
    std::printf("  edit+tree %7.3f ms   (the same with the subject tree; target <= edit + 1 ms)\n",
                Median(editTree));
    std::printf("  numbers  %8.2f ms   (the subject number of every row, in order)\n", Median(numbers));
    std::printf("  store    %8.2f ms   (into memory)\n", Median(store));
    std::printf("  save     %8.2f ms   (target < 50 ms)\n", Median(save));
    std::printf("  save+rc  %8.2f ms\n", Median(saveRecalc));
    std::printf("  close    %8.2f ms\n", Median(close));
    std::printf("bench_estimate: memory: peak %.1f MB resident, %.1f MB after every estimate was closed "
                "(%.1f MB of it lazily freed)\n",
                ResidentMegabytes("VmHWM:"), ResidentMegabytes("VmRSS:"), LazyFreeKilobytes() / 1024.0);
    std::printf("bench_estimate: processor time of the thread, medians\n");
    std::printf("  cpu open     %8.2f ms\n", Median(openCpu));
    std::printf("  cpu recalc   %8.2f ms\n", Median(recalcCpu));
    std::printf("  cpu edit     %8.3f ms\n", Median(editCpu));
    std::printf("  cpu edit1st  %8.3f ms\n", Median(firstEditCpu));
    std::printf("  cpu treefill %8.2f ms\n", Median(treeFillCpu));
    std::printf("  cpu edit+tree %7.3f ms\n", Median(editTreeCpu));
    std::printf("  cpu store    %8.2f ms\n", Median(storeCpu));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::string(argv[1]) == "--open")
        return OpenTimes(argv[2], argc > 3 ? std::max(1, std::atoi(argv[3])) : 1,
                         argc > 4 ? std::atoi(argv[4]) : 0, argc > 5 ? std::max(0, std::atoi(argv[5])) : 512);
    if (argc > 2 && std::string(argv[1]) == "--touch") {
        TouchMemory(std::max(0, std::atoi(argv[2])));
        return 0;
    }
    if (argc > 3 && std::string(argv[1]) == "--resave") {
        int nResult = 1;
        RunInApplication("bench_estimate", argv[0], [&]() { nResult = Resave(argv[2], argv[3]); });
        return nResult;
    }
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const int nRows = argc > 2 ? std::max(100, std::atoi(argv[2])) : 10000;
    const bool bTaxPerKind = argc > 3 && std::string(argv[3]) == "tax";
    // Windows (the subject tree) need an application object.
    int nResult = 1;
    RunInApplication("bench_estimate", argv[0], [&]() { nResult = RunBenchmark(nRuns, nRows, bTaxPerKind); });
    return nResult;
}
