// bench_edit: the estimate grid's editing power on large estimates, through the view's own
// commands on a grid without a window. Prints the median of each step; it measures, it
// never fails on time.
//
//   bench_edit [runs]      (default 21 runs)
//
// sort        10,000 detail rows sorted by their quantity column, ascending and descending
//             in turn (the sort command's work after its dialog)
// replace     replace all over 10,000 rows x 10 columns, every cell holding the text
//             (the replace dialog's request, with the recalculation it asks for)
// undo        undo of a paste of 5,000 rows (the pasted rows cut again)
// copy+paste  10,000 whole rows copied and pasted above the first row
#include "app/CMorvelApp.h"
#include "app/CMorvelSettings.h"
#include "bench/BenchForms.h"
#include "bench/BenchSupport.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "grid/ModelessMessages.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "resources/ResourceIds.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

int g_nRuns = 21;

struct CGrid {
    std::unique_ptr<CMorvelEMDoc> pDoc;
    CMorvelEMView* pView = nullptr;
};

// nRows detail rows in 10 columns.
CGrid MakeGrid(int nRows)
{
    CGrid grid;
    grid.pDoc = std::make_unique<CMorvelEMDoc>();
    grid.pDoc->m_bAutoDelete = FALSE;
    SetBenchEstimationForm(grid.pDoc->m_EstimationForm, true);
    grid.pView = new CMorvelEMView;
    grid.pDoc->AddView(grid.pView);
    grid.pView->SetupFromDocument();
    CMorvelEMView& view = *grid.pView;
    char text[64];
    for (int r = 0; r < nRows; ++r) {
        view.SetCellText(Sj("旧型枠工事"), r, 0, TRUE);
        view.SetCellText(Sj("旧規格 t=12"), r, 1, TRUE);
        std::snprintf(text, sizeof text, "%d.%d", 1 + (r * 7919) % 997, r % 10);
        view.SetCellText(text, r, 2, TRUE);
        view.SetCellText(Sj("m2"), r, 3, TRUE);
        std::snprintf(text, sizeof text, "%d", 100 + (r * 37) % 20000);
        view.SetCellText(text, r, 4, TRUE);
        view.SetCellText(text, r, 6, TRUE);
        view.SetCellText(Sj("旧材料"), r, 8, TRUE);
        view.SetCellText(Sj("旧搬入費込み"), r, 9, TRUE);
        view.SetRowKind(kindDetail, r);
        view.GetModel().Engine().CalcRow(r, 0);
    }
    view.RecalcAll();
    return grid;
}

void Close(CGrid& grid)
{
    if (grid.pDoc != nullptr) {
        grid.pDoc->RemoveView(grid.pView);
        delete grid.pView;
        grid.pDoc.reset();
    }
}

double CpuMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// The median wall time; the median CPU time of the process goes to g_lastCpu (on a
// loaded machine the CPU time says more about the code than the wall time).
double g_lastCpu = 0.0;

double Measure(const std::function<void()>& prepare, const std::function<void()>& fn)
{
    std::vector<double> times, cpu;
    for (int i = 0; i < g_nRuns + 2; ++i) {
        prepare();
        const double cpuStart = CpuMilliseconds();
        const auto start = Clock::now();
        fn();
        if (i >= 2) {
            times.push_back(MillisecondsSince(start));
            cpu.push_back(CpuMilliseconds() - cpuStart);
        }
    }
    g_lastCpu = Median(cpu);
    return Median(times);
}

void RunBenchmark()
{
    char dirTemplate[] = "/tmp/bench_edit-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr) {
        std::perror("bench_edit: mkdtemp");
        return;
    }
    const std::filesystem::path dir = dirTemplate;
    CProfileFile profile(SystemPathFromNative((dir / "bench.ini").string()));
    CMorvelApp app;
    CMorvelSettings settings(profile);
    CMorvelSettings::SetCurrent(&settings);
    settings.WritePathSetting("Work Field", SystemPathFromNative(dir.string()));
    settings.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", 40000);
    settings.WriteProfileInt("Settings", "AdjustPage", 0);

    {
        CGrid grid = MakeGrid(10000);
        CMorvelEMView& view = *grid.pView;
        bool bAscending = false;
        const double sort = Measure(
            [&] {
                view.SetSelection(CMorvelView::selectBlock, CRect(2, 0, 2, 9999));
                bAscending = !bAscending;
            },
            [&] { view.SortBlock(bAscending); });
        std::printf("sort        10,000 rows           %8.2f ms  (CPU %.2f ms)\n", sort, g_lastCpu);

        bool bForward = true;
        const double replace = Measure(
            [&] {
                view.SetSelection(CMorvelView::selectNone, CRect());
                bForward = !bForward;
            },
            [&] {
                const std::vector<char> block = bForward ? PackReplaceAllText(Sj("旧"), Sj("新"))
                                                         : PackReplaceAllText(Sj("新"), Sj("旧"));
                view.OnFindReplaceRequest(FRQ_REPLACE_ALL, reinterpret_cast<LPARAM>(block.data()));
            });
        std::printf("replace     10,000 x 10 cells     %8.2f ms  (CPU %.2f ms)\n", replace, g_lastCpu);
        Close(grid);
    }
    {
        CGrid grid = MakeGrid(10000);
        CMorvelEMView& view = *grid.pView;
        view.SetSelection(CMorvelView::selectRows, CRect(0, 0, 9, 4999));
        view.OnEditCopy();
        const double undo = Measure(
            [&] {
                view.SetCurrentCell(0, 100);
                view.SetSelection(CMorvelView::selectRows, CRect(0, 100, 9, 100));
                view.OnEditPaste();
            },
            [&] { view.OnEditUndo(); });
        std::printf("undo        paste of 5,000 rows   %8.2f ms  (CPU %.2f ms)\n", undo, g_lastCpu);

        const double copyPaste = Measure(
            [&] {
                // Back to the 10,000 rows (the last paste undone).
                if (view.GetUsedRows() > 10000)
                    view.OnEditUndo();
                view.SetSelection(CMorvelView::selectRows, CRect(0, 0, 9, 9999));
            },
            [&] {
                view.OnEditCopy();
                view.SetCurrentCell(0, 0);
                view.SetSelection(CMorvelView::selectRows, CRect(0, 0, 9, 0));
                view.OnEditPaste();
            });
        std::printf("copy+paste  10,000 rows           %8.2f ms  (CPU %.2f ms)\n", copyPaste, g_lastCpu);
        Close(grid);
    }
    CMorvelSettings::SetCurrent(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        g_nRuns = std::max(1, std::atoi(argv[1]));
    SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    RunBenchmark();
    return 0;
}
