// bench_dialogs: the summary page of a large estimate, and the opening of each dialog the
// estimate's commands ask through. Prints medians; it measures, it never fails on time.
//
//   bench_dialogs [runs] [rows]      (default 21 runs, 10000 rows)
//
// summary      the summary page of large and middle subjects built from the estimate
//              (the page alone; switching back to the edit page is not timed)
// <dialog>     a dialog opened (window, controls, initialisation) and closed again
//
// The program runs inside the window layer's application object with the offscreen
// platform unless a display is chosen; the dialogs are answered by the dialog answerer.
#include "app/CClassifyFile.h"
#include "app/CColumnSelectDialog.h"
#include "app/CMorvelSettings.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "bench/BenchApp.h"
#include "bench/BenchEstimateRows.h"
#include "bench/BenchForms.h"
#include "bench/BenchSupport.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate_tools/CClassifyDialogs.h"
#include "estimate_tools/CEMProjectNoSheet.h"
#include "estimate_tools/CInformationInputDialog.h"
#include "estimate_tools/CPickDialogs.h"
#include "estimate_tools/CRowDialogs.h"
#include "estimate_tools/CSummaryDialog.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/dialogs/CPropertySheet.h"
#include "platform/ui/dialogs/DialogTestHook.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int g_nRuns = 21;
int g_nRows = 10000;

// The median processor time of the last Measure.
double g_dLastCpu = 0.0;

// The median elapsed time of the runs (their median processor time in g_dLastCpu).
double Measure(const std::function<void()>& fn)
{
    for (int i = 0; i < 2; ++i)
        fn();
    std::vector<double> times, cpu;
    for (int i = 0; i < g_nRuns; ++i) {
        const double dCpuStart = ThreadCpuMilliseconds();
        const auto start = Clock::now();
        fn();
        times.push_back(MillisecondsSince(start));
        cpu.push_back(ThreadCpuMilliseconds() - dCpuStart);
    }
    g_dLastCpu = Median(cpu);
    return Median(times);
}

// A modal dialog opened and closed at once by the answerer.
template <typename Dialog>
double MeasureModal(UINT nIDTemplate, const std::function<std::unique_ptr<Dialog>()>& make)
{
    CDialogAnswerer answerer;
    answerer.AlwaysAnswerDialog(nIDTemplate, [](CDialog& dlg) { dlg.EndDialog(IDCANCEL); });
    return Measure([&] {
        std::unique_ptr<Dialog> pDlg = make();
        pDlg->DoModal();
    });
}

void RunBenchmark()
{
    CBenchWorkFolder folder("bench_dialogs");
    if (!folder.Valid())
        return;
    CMorvelSettings& settings = folder.Settings();
    settings.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", g_nRows * 3);

    CWnd frame;
    if (!frame.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 800, nullptr, nullptr)) {
        std::fprintf(stderr, "bench_dialogs: no window\n");
        return;
    }
    auto* pDoc = new CMorvelEMDoc;
    pDoc->m_bAutoDelete = FALSE;
    SetBenchEstimationForm(pDoc->m_EstimationForm, true);
    auto* pView = new CMorvelEMView;
    pDoc->AddView(pView);
    pView->SetupFromDocument();
    BuildRows(*pView, g_nRows);
    if (!pView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1280, 800), &frame,
                       AFX_IDW_PANE_FIRST)) {
        std::fprintf(stderr, "bench_dialogs: no view\n");
        return;
    }
    pView->RecalcLayout();
    std::printf("bench_dialogs: %d rows, %d runs\n", pView->GetUsedRows(), g_nRuns);

    // The summary page of large and middle subjects.
    const int levels[CMorvelEMView::SUMMARY_LEVELS] = {0, 1, 1, 0};
    std::vector<double> times;
    for (int i = 0; i < g_nRuns + 2; ++i) {
        const auto start = Clock::now();
        pView->MakeSummaryTable(levels, false);
        const double ms = MillisecondsSince(start);
        if (i >= 2)
            times.push_back(ms);
        pView->OnEditPageTab();
    }
    std::printf("  summary           %8.3f ms (%d summary rows)\n", Median(times),
                static_cast<int>(pView->GetSummaryRows().GetSize()));

    // The dialogs.
    CInformationFormFile information;
    const char* const names[] = {"得意先名", "工事名称",   "工事場所", "見積日", "有効期限",
                                 "工期",     "支払条件",   "税抜見積", "消費税", "税込見積",
                                 "出精値引", "御見積金額", "担当者"};
    const char* const attributes[] = {"文字",     "文字",   "文字",     "文字", "文字", "文字", "文字",
                                      "税抜見積", "消費税", "税込見積", "数値", "計算", "文字"};
    for (int i = 0; i < 13; ++i) {
        information.SetItem(i, 0, Sj(names[i]));
        information.SetItem(i, 1, Sj(attributes[i]));
        information.SetItem(i, 3, "###,###,###");
        information.SetItem(i, 4, i == 11 ? "J-K" : "");
    }
    information.SetCount(13);
    const CEstimationFormFile& form = pView->GetEstimationForm();
    CClassifyFile classes;
    classes.SetEntries(std::vector<std::pair<CString, CString>>(8, {Sj("材料費"), "100"}));

    auto report = [](const char* name, double ms) {
        std::printf("  %-17s %8.3f ms (processor %.3f ms)\n", name, ms, g_dLastCpu);
    };
    report("information", MeasureModal<CInformationInputDialog>(157, [&] {
               auto p = std::make_unique<CInformationInputDialog>("1100000.000000", "100000.000000",
                                                                  "1000000.000000", pView);
               p->m_form = information;
               return p;
           }));
    report("kind input",
           MeasureModal<CKindInputDialog>(147, [&] { return std::make_unique<CKindInputDialog>(1, pView); }));
    report("discount",
           MeasureModal<CDiscountDialog>(148, [&] { return std::make_unique<CDiscountDialog>(1, pView); }));
    report("discount total", MeasureModal<CDiscountTotalDialog>(
                                 149, [&] { return std::make_unique<CDiscountTotalDialog>(pView); }));
    report("step setting", MeasureModal<CStepSettingDialog>(
                               241, [&] { return std::make_unique<CStepSettingDialog>(form, pView); }));
    report("class rate", MeasureModal<CClassRateDialog>(
                             248, [&] { return std::make_unique<CClassRateDialog>(classes, pView); }));
    report("class total", MeasureModal<CClassTotalDialog>(
                              247, [&] { return std::make_unique<CClassTotalDialog>(form, pView); }));
    report("class update", MeasureModal<CClassUpdateDialog>(
                               255, [&] { return std::make_unique<CClassUpdateDialog>(pView); }));
    report("numbering sheet", MeasureModal<CEMProjectNoSheet>(AFX_IDD_PROPSHEET, [&] {
               return std::make_unique<CEMProjectNoSheet>(pView, form);
           }));
    report("summary dialog",
           MeasureModal<CSummaryDialog>(254, [&] { return std::make_unique<CSummaryDialog>(pView); }));
    report("column choice", MeasureModal<CColumnSelectDialog>(201, [&] {
               return std::make_unique<CColumnSelectDialog>(pView, form,
                                                            CColumnSelectDialog::purposeDisplayFix);
           }));

    // The modeless lists: made, shown and closed.
    // Masters of a few hundred entries each.
    CSubjectFile subjects;
    CUnitFile units;
    std::vector<std::pair<CString, CString>> middle;
    std::vector<CString> unitNames;
    for (int i = 0; i < 300; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "subject %d", i);
        middle.emplace_back(name, Sj("式"));
        std::snprintf(name, sizeof name, "u%d", i);
        unitNames.emplace_back(name);
    }
    subjects.SetLevel(1, middle);
    units.SetUnits(unitNames);
    report("subject list", Measure([&] {
               auto* pPick = new CSubjectPickDialog(2, pView, subjects);
               pPick->Create();
               pPick->DestroyWindow();
           }));
    report("unit list", Measure([&] {
               auto* pPick = new CUnitPickDialog("m2", pView, units);
               pPick->Create();
               pPick->DestroyWindow();
           }));
    // The grid's pop-up list of 300 units: opened over the current cell and closed by Esc.
    CPopupListContent popup;
    popup.columns.push_back({Sj("単位"), 100});
    for (int i = 0; i < 300; ++i)
        popup.items.push_back({units.m_strUnit[static_cast<size_t>(i)]});
    report("pop-up list", Measure([&] {
               pView->OpenPopupList(CMorvelEMView::pickUnit, popup);
               pView->GetPopupList().SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
           }));
    report("indent tool", Measure([&] {
               auto* pIndent = new CIndentDialog(pView, form);
               pIndent->Create();
               pIndent->DestroyWindow();
           }));

    pView->DestroyWindow();
    frame.DestroyWindow();
    delete pDoc;
}

} // namespace

int main(int argc, char** argv)
{
    g_nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    g_nRows = argc > 2 ? std::max(100, std::atoi(argv[2])) : 10000;
    RunInApplication("bench_dialogs", argv[0], RunBenchmark);
    return 0;
}
