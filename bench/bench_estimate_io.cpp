// bench_estimate_io: the estimate's import and export on 10,000 rows. Prints the median of
// each step; it measures, it never fails on time.
//
//   bench_estimate_io [runs] [rows]      (default 21 runs, 10000 rows)
//
// import    an outside estimate data file (".MVL", headings, details and subtotals) read
//           into a new estimate through its converter file: ImportConvertedFile, with the
//           rows computed and the totals recalculated
// csv out   the CSV text of the whole estimate (subject numbers on) made and written to its
//           file
// csv in    a CSV file read and inserted as detail rows into an empty estimate, mapped one
//           to one, with the recalculation the command asks for
#include "app/CMorvelSettings.h"
#include "bench/BenchForms.h"
#include "bench/BenchSupport.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "estimate/EstimateIoSupport.h"
#include "estimate_tools/EstimateCsv.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct CEstimate {
    CEstimate() : doc(new CMorvelEMDoc), view(new CMorvelEMView)
    {
        doc->m_bAutoDelete = FALSE;
        SetBenchEstimationForm(doc->m_EstimationForm, false);
        doc->m_InformationForm.SetCount(1);
        doc->AddView(view);
        view->SetupFromDocument();
    }
    ~CEstimate()
    {
        delete view;
        delete doc;
    }
    CEstimate(const CEstimate&) = delete;
    CEstimate& operator=(const CEstimate&) = delete;
    CMorvelEMDoc* doc;
    CMorvelEMView* view;
};

// An outside data file of about nRows data lines: a large heading with 24 details and
// their subtotal, again and again, then the grand total.
std::string MakeOutsideFile(int nRows)
{
    const char* const names[] = {"外部足場",           "根切り",           "普通コンクリート", "普通型枠",
                                 "せっこうボード張り", "ビニルクロス張り", "照明器具",         "電線",
                                 "アスファルト舗装",   "高木植栽"};
    const char* const units[] = {"m2", "m3", "m3", "m2", "m2", "m2", "台", "m", "m2", "本"};
    std::string text = "@MVL\r\n\"" + Sj("ベンチマーク工事").str() + "\"\r\n\r\n\r\n";
    int nRow = 0;
    for (int block = 0; nRow < nRows - 1; ++block) {
        text += "@2\r\n" + Sj("建築工事").str() + ",,,,\r\n";
        ++nRow;
        for (int d = 0; d < 24 && nRow < nRows - 2; ++d, ++nRow) {
            const int i = (block + d) % 10;
            char line[256];
            std::snprintf(line, sizeof line, "%s,%s,%d.%d,%s,%d,%d\r\n", Sj(names[i]).c_str(), "spec",
                          1 + nRow % 300, nRow % 10, Sj(units[i]).c_str(), 250 + (nRow * 37) % 20000, nRow);
            text += line;
        }
        text += "@G2\r\n" + Sj("建築工事 小計").str() + "\r\n";
        ++nRow;
    }
    text += "@G0\r\n" + Sj("【 総  合  計 】").str() + "\r\n";
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const int nRows = argc > 2 ? std::max(100, std::atoi(argv[2])) : 10000;
    SetMessageBoxHandler([](const CString& text, UINT, UINT) {
        std::fprintf(stderr, "bench_estimate_io: %s\n", text.ToUtf8().c_str());
        return IDOK;
    });
    char dirTemplate[] = "/tmp/bench_estimate_io-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr) {
        std::perror("bench_estimate_io: mkdtemp");
        return 1;
    }
    const std::filesystem::path dir(dirTemplate);
    CProfileFile profile(SystemPathFromNative((dir / "bench.ini").string()));
    CMorvelSettings settings(profile);
    settings.WritePathSetting("Work Field", SystemPathFromNative(dir.string()));
    settings.m_nTax = 10;
    settings.m_nRoundMode = 3;
    CMorvelSettings::SetCurrent(&settings);

    {
        std::ofstream(dir / "bench.MVL", std::ios::binary) << MakeOutsideFile(nRows);
        std::ofstream(dir / "mvl.inf", std::ios::binary) << "A,B,C,D,E,G\r\n";
    }
    const CString outsidePath = SystemPathFromNative((dir / "bench.MVL").string());
    const CString csvPath = SystemPathFromNative((dir / "bench.CSV").string());

    std::vector<double> import, csvOut, csvIn;
    int nImported = 0, nCsvRows = 0;
    size_t nCsvBytes = 0;
    for (int run = 0; run < nRuns; ++run) {
        CEstimate source;
        auto start = Clock::now();
        if (!source.doc->ImportConvertedFile(outsidePath, CMorvelEMDoc::sourceMvl))
            return 1;
        import.push_back(MillisecondsSince(start));
        nImported = EstimateIo::GetUsedRows(*source.view);
        // Subject numbers in the name column, as the sample estimate has them.
        source.view->ApplySubjectNumbering(TRUE, FALSE, 2, 0, 2, 1, 0, 0);

        start = Clock::now();
        const std::vector<BOOL> ticks(10, TRUE);
        const std::string text =
            EstimateCsv::WriteEstimate(source.view->GetModel(), source.view->GetEstimationForm(), ticks);
        if (!WriteFileAtomically(csvPath, text.data(), text.size()))
            return 1;
        csvOut.push_back(MillisecondsSince(start));
        nCsvBytes = text.size();

        CEstimate target;
        start = Clock::now();
        std::string data;
        if (!EstimateIo::ReadWholeFile(csvPath, data))
            return 1;
        const auto lines = EstimateCsv::SplitLines(data);
        std::vector<int> mapping;
        for (int c = 0; c < 10; ++c)
            mapping.push_back(c);
        EstimateCsv::InsertRows(*target.view, 0, lines, mapping);
        target.view->RecalcFromRow(CMorvelEMView::recalcBulk, 0);
        csvIn.push_back(MillisecondsSince(start));
        nCsvRows = EstimateIo::GetUsedRows(*target.view);
    }
    std::printf("bench_estimate_io: %d rows imported, CSV %d rows (%zu bytes), %d runs\n", nImported,
                nCsvRows, nCsvBytes, nRuns);
    std::printf("  import   median %8.2f ms\n", Median(import));
    std::printf("  csv out  median %8.2f ms\n", Median(csvOut));
    std::printf("  csv in   median %8.2f ms\n", Median(csvIn));
    CMorvelSettings::SetCurrent(nullptr);
    std::filesystem::remove_all(dir);
    return 0;
}
