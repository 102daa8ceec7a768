// bench_grid_paint: the estimate grid painting a 1920 x 1080 view. An estimate of a few
// thousand rows in the colours and fonts of a configured desktop is shown in a window of
// that size, then repainted whole and scrolled page by page. Prints medians; it measures,
// it never fails on time.
//
//   bench_grid_paint [runs] [rows]      (default 41 runs, 3000 rows)
//
// pass 1     the first paint of a full repaint: headers, row numbers and grid lines (the
//            cells it covers are invalidated for the second); repaint less pass 2
// pass 2     the second paint: every visible cell, then headers and lines over them
// repaint    both paints: what a full repaint of the view costs
// page down  Page Down on the scroll bar: the grid scrolled by a screenful and both paints
//            of the rows that came in
// zoom 150   a full repaint at 150 %
//
// The program runs inside the window layer's application object (start-up runs the
// benchmark and ends), with the offscreen platform unless a display is chosen.
#include "app/CMorvelSettings.h"
#include "bench/BenchApp.h"
#include "bench/BenchEstimateRows.h"
#include "bench/BenchForms.h"
#include "bench/BenchSupport.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/gdi/CClientDC.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int g_nRuns = 41;
int g_nRows = 3000;

// The settings of a desktop that has been set up: a colour and a font per row kind.
void WriteDisplaySettings(CMorvelSettings& settings)
{
    const char* const colours[][2] = {
        {"Large Project Text", "0,0,128"},
        {"Large Project Background", "204,229,255"},
        {"Middle Project Text", "0,64,0"},
        {"Middle Project Background", "214,245,214"},
        {"Small Project Text", "96,48,0"},
        {"Small Project Background", "255,243,214"},
        {"Detail Text", "0,0,0"},
        {"Detail Background", "255,255,255"},
        {"Discount Text", "160,0,0"},
        {"Discount Background", "255,230,230"},
        {"Kind Text", "255,255,255"},
        {"Kind Background", "0,64,128"},
        {"Free Text", "0,0,0"},
        {"Free Background", "240,240,200"},
        {"Sum Text", "255,255,255"},
        {"Sum Background", "128,0,0"},
    };
    for (const auto& c : colours)
        settings.WriteProfileString("Color Setting", c[0], c[1]);
    for (int f = 0; f < CMorvelSettings::ROW_FONT_COUNT; ++f) {
        LOGFONT lf = {};
        lf.lfHeight = f == CMorvelSettings::fontKind ? -16 : -14;
        lf.lfWeight = f == CMorvelSettings::fontDetail ? FW_NORMAL : FW_BOLD;
        lf.lfCharSet = 128;
        const CString strFace = f == CMorvelSettings::fontSum ? Sj("ＭＳ ゴシック") : Sj("ＭＳ 明朝");
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", strFace.c_str());
        settings.m_lfRowFont[f] = lf;
    }
}

// Headings, details with numbers in every numeric column, subtotals, discounts.
// Times fn over the runs (after two to warm the caches up).
double Measure(const std::function<void()>& fn)
{
    for (int i = 0; i < 2; ++i)
        fn();
    std::vector<double> times;
    for (int i = 0; i < g_nRuns; ++i) {
        const auto start = Clock::now();
        fn();
        times.push_back(MillisecondsSince(start));
    }
    return Median(times);
}

void RunBenchmark()
{
    CBenchWorkFolder folder("bench_grid_paint");
    if (!folder.Valid())
        return;
    CMorvelSettings& settings = folder.Settings();
    settings.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", g_nRows + g_nRows / 5);
    WriteDisplaySettings(settings);

    // A frame of the screen's size with the grid view filling it.
    CWnd frame;
    if (!frame.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1920, 1080, nullptr, nullptr)) {
        std::fprintf(stderr, "bench_grid_paint: no window\n");
        return;
    }
    auto* pDoc = new CMorvelEMDoc;
    pDoc->m_bAutoDelete = FALSE;
    SetBenchEstimationForm(pDoc->m_EstimationForm, true);
    auto* pView = new CMorvelEMView;
    pDoc->AddView(pView);
    pView->SetupFromDocument();
    BuildRows(*pView, g_nRows);
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), &frame,
                       AFX_IDW_PANE_FIRST)) {
        std::fprintf(stderr, "bench_grid_paint: no view\n");
        return;
    }
    pView->RecalcLayout();
    pView->UpdateWindow();
    pView->UpdateWindow();

    CRect rcGrid;
    pView->GetGridClientRect(&rcGrid);
    std::printf(
        "bench_grid_paint: %d rows, view 1920 x 1080, %d x %d cells visible, row height %d, %d runs\n",
        pView->GetUsedRows(), pView->GetColumnCount(), pView->GetVisibleRowCount(),
        pView->GetMetrics().nRowHeight, g_nRuns);

    // The kind heading of the first row is painted in its background colour: the paints
    // below paint what the user sees.
    {
        CClientDC dc(pView);
        const COLORREF clr =
            dc.GetPixel(pView->GetMetrics().nRowHeaderWidth + 200,
                        pView->GetMetrics().nHeaderHeight + pView->GetMetrics().nRowHeight / 2);
        std::printf("  check: first row's background %d,%d,%d (expected 0,64,128)\n", GetRValue(clr),
                    GetGValue(clr), GetBValue(clr));
    }

    // A full repaint: both of its paints (the second follows the first at once). The
    // second paint alone is timed by starting with the flag that says the first one is done.
    const auto startRepaint = [&] {
        CMorvelEMView::SetCellPaintNext(false);
        pView->Invalidate(TRUE);
    };
    const double both = Measure([&] {
        startRepaint();
        pView->UpdateWindow();
    });
    const double cells = Measure([&] {
        CMorvelEMView::SetCellPaintNext(true);
        pView->Invalidate(TRUE);
        pView->UpdateWindow();
    });
    std::printf("  pass 1      %8.3f ms\n", both - cells);
    std::printf("  pass 2      %8.3f ms\n", cells);
    std::printf("  repaint     %8.3f ms\n", both);

    // A page down and back up again, each with both of its paints.
    bool bDown = true;
    const double page = Measure([&] {
        pView->SendMessage(WM_VSCROLL, MAKEWPARAM(bDown ? SB_PAGEDOWN : SB_PAGEUP, 0),
                           reinterpret_cast<LPARAM>(pView->GetScrollBarCtrl(SB_VERT)->m_hWnd));
        pView->UpdateWindow();
        bDown = !bDown;
    });
    std::printf("  page scroll %8.3f ms\n", page);

    pView->SetZoom(150);
    pView->RecalcLayout();
    pView->UpdateWindow();
    const double zoomed = Measure([&] {
        startRepaint();
        pView->UpdateWindow();
    });
    std::printf("  zoom 150    %8.3f ms\n", zoomed);

    pView->DestroyWindow(); // the view deletes itself with its window
    frame.DestroyWindow();
    delete pDoc;
}

} // namespace

int main(int argc, char** argv)
{
    g_nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 41;
    g_nRows = argc > 2 ? std::max(100, std::atoi(argv[2])) : 3000;
    RunInApplication("bench_grid_paint", argv[0], RunBenchmark);
    return 0;
}
