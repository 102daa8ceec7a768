// bench_layout_editor: the layout editor's painting and dragging. An A4 layout holding one
// ruled table (every cell with its four edges and a short text) is shown at 100 % in a
// window that shows the whole page, then repainted whole, and a rectangle and the whole
// table are dragged with the mouse. Prints the medians of elapsed and processor time; it
// measures, it never fails on time.
//
//   bench_layout_editor [runs]      (default 31)
//   BENCH_NO_TEXT=1 bench_layout_editor    the cells without texts, to see what the texts cost
//
// repaint N     a full repaint of the page with a table of N cells
// drag rect     one mouse move of a rectangle dragged over the large table, with the
//               repaint it causes
// drag table    one mouse move of the large table itself, with its repaint
#include "app/CMorvelSettings.h"
#include "bench/BenchApp.h"
#include "bench/BenchSupport.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/CDrawTool.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintFormView.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

int g_nRuns = 31;

CDrawTable* MakeTable(int nCols, int nRows, int nCell)
{
    const int x0 = -380, y0 = 540; // top-left of the printable area of A4
    auto* pTable = new CDrawTable(CRect(x0 + nCols * nCell, y0 - nRows * nCell, x0, y0));
    const int styles[4] = {1, 1, 1, 1};
    const COLORREF colors[4] = {0, 0, 0, 0};
    for (int i = 0; i < nCols; ++i)
        for (int j = 0; j < nRows; ++j) {
            CDrawCell* c = pTable->AddCellWithEdges(
                CRect(x0 + (i + 1) * nCell, y0 - (j + 1) * nCell, x0 + i * nCell, y0 - j * nCell), styles,
                colors);
            if (std::getenv("BENCH_NO_TEXT") == nullptr)
                c->m_strText.Format("%d", (i * 7 + j) % 1000);
            c->m_logFont.lfHeight = -9;
        }
    return pTable;
}

// The medians of the elapsed and the processor time of one call of fn, in ms.
struct CTimes {
    double elapsed = 0;
    double cpu = 0;
};

CTimes Measure(const std::function<void()>& fn)
{
    for (int i = 0; i < 2; ++i)
        fn();
    std::vector<double> elapsed, cpu;
    for (int i = 0; i < g_nRuns; ++i) {
        const double cpuStart = ThreadCpuMilliseconds();
        const auto start = Clock::now();
        fn();
        elapsed.push_back(MillisecondsSince(start));
        cpu.push_back(ThreadCpuMilliseconds() - cpuStart);
    }
    return {Median(elapsed), Median(cpu)};
}

void Send(CWnd* pWnd, UINT nMsg, UINT nFlags, CPoint p)
{
    pWnd->SendMessage(nMsg, nFlags, MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

void RunBenchmark()
{
    char dirTemplate[] = "/tmp/bench_layout_editor-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr)
        return;
    const std::filesystem::path dir = dirTemplate;
    CProfileFile profile(SystemPathFromNative((dir / "bench.ini").string()));
    CMorvelSettings settings(profile);
    CMorvelSettings::SetCurrent(&settings);
    RegisterDrawing();

    CWnd frame;
    if (!frame.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 900, 1200, nullptr, nullptr)) {
        std::fprintf(stderr, "bench_layout_editor: no window\n");
        return;
    }
    auto* pDoc = new CPrintEMDoc;
    pDoc->m_bAutoDelete = FALSE;
    pDoc->m_sizePaper = CSize(827, 1169);
    pDoc->m_sizeExtent = CSize(867, 1209);
    pDoc->m_rectMargins = CRect(25, 25, 25, 25);
    pDoc->m_paperColor = RGB(255, 255, 255);
    auto* pView = new CPrintFormView;
    pDoc->AddView(pView);
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 900, 1200), &frame,
                       AFX_IDW_PANE_FIRST)) {
        std::fprintf(stderr, "bench_layout_editor: no view\n");
        return;
    }
    pView->OnInitialUpdate();
    pView->OnActivateView(TRUE, pView, nullptr);

    const auto repaint = [&] {
        pView->Invalidate(FALSE);
        pView->UpdateWindow();
    };
    std::printf("bench_layout_editor: A4 at 100 %%, window 900 x 1200, %d runs\n", g_nRuns);
    for (const auto& [cols, rows, cell] : {std::tuple{20, 20, 30}, std::tuple{50, 74, 15}}) {
        CDrawObjList* pList = pDoc->GetObjectList();
        while (!pList->IsEmpty())
            pList->RemoveHead()->Remove();
        pDoc->Add(MakeTable(cols, rows, cell));
        repaint();
        const CTimes t = Measure(repaint);
        std::printf("  repaint %4d cells %8.3f ms elapsed %8.3f ms cpu\n", cols * rows, t.elapsed, t.cpu);
    }

    // A rectangle over the large table, dragged to and fro by the select tool.
    auto* pRect = new CDrawRect(CRect(-300, 400, -200, 300));
    pDoc->Add(pRect);
    repaint();
    CDrawTool::s_nCurrentShape = ShapeSelect;
    const auto client = [&](int x, int y) {
        CPoint p(x, y);
        pView->DocToClient(p);
        return p;
    };
    // Moves to and fro by up to nReach pixels, one pixel step after another.
    const auto dragMeasure = [&](CPoint from, int nReach) {
        Send(pView, WM_MOUSEMOVE, 0, from);
        Send(pView, WM_LBUTTONDOWN, MK_LBUTTON, from);
        int step = 0;
        const CTimes t = Measure([&] {
            ++step;
            const int n = step % (2 * nReach);
            const int dx = n < nReach ? n + 1 : 2 * nReach - n - 1;
            Send(pView, WM_MOUSEMOVE, MK_LBUTTON, CPoint(from.x + dx, from.y + dx / 2));
            pView->UpdateWindow();
        });
        Send(pView, WM_LBUTTONUP, 0, from);
        pView->UpdateWindow();
        return t;
    };
    const CTimes rect = dragMeasure(client(-250, 350), 40);
    std::printf("  drag rect          %8.3f ms elapsed %8.3f ms cpu a move\n", rect.elapsed, rect.cpu);
    std::printf("  check: the rectangle moved to x %d (from -300)\n", pRect->m_position.left);
    pView->Select(nullptr);
    // The table is grabbed by its move strip along its lower side once it is selected.
    CDrawTable* pTable = dynamic_cast<CDrawTable*>(pDoc->GetObjectList()->GetHead());
    pView->Select(pTable);
    repaint();
    const CTimes table = dragMeasure(client(pTable->m_position.right + 100, pTable->m_position.top - 2), 12);
    std::printf("  drag table         %8.3f ms elapsed %8.3f ms cpu a move\n", table.elapsed, table.cpu);
    std::printf("  check: the table moved to x %d, y %d (from -380, %d)\n", pTable->m_position.right,
                pTable->m_position.top, 540 - 74 * 15);

    pView->DestroyWindow();
    frame.DestroyWindow();
    delete pDoc;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

} // namespace

int main(int argc, char** argv)
{
    g_nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    setenv("MORVEL_PRINTER", "pdf", 0);
    RunInApplication("bench_layout_editor", argv[0], RunBenchmark);
    return 0;
}
