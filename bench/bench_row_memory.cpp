// bench_row_memory: what an estimate's rows cost in memory. The rows of the sample estimate
// (samples/WORK) are repeated into an estimate of the given size, which is recalculated and
// saved; then that file is opened in the same process, and the growth of the process's
// resident size (its own count, /proc/self/statm) is divided by the rows opened. Prints the
// machine's load beside the figures; it measures, it never fails on size.
//
//   bench_row_memory [rows...]                  (default 10000 65000 100000)
//   bench_row_memory --dump DIR rows            the rows, cell by cell, and the saved file of
//                                               the opened estimate, into DIR (rows.txt,
//                                               saved.mmd), to compare two builds' results
//
// Each size is measured in a process of its own (the program starts itself again), so that
// memory freed by one size does not serve the next.
//
// resident   growth of the resident size from before the open to after it and a full
//            recalculation, per row opened (the file's bytes per row beside it)
// closed     the resident size left once the estimate is closed, above the size before
#include "app/CMorvelSettings.h"
#include "bench/BenchSupport.h"
#include "estimate/CGridRow.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct OpenedEstimate {
    OpenedEstimate() : doc(new CMorvelEMDoc), view(new CMorvelEMView)
    {
        doc->m_bAutoDelete = FALSE;
        doc->AddView(view);
    }
    ~OpenedEstimate()
    {
        delete view;
        delete doc;
    }
    CMorvelEMDoc* doc;
    CMorvelEMView* view;
};

// The resident size of the process in bytes: the second field of /proc/self/statm (pages).
double ResidentBytes()
{
    FILE* pFile = std::fopen("/proc/self/statm", "r");
    if (pFile == nullptr)
        return 0.0;
    unsigned long nSize = 0, nResident = 0;
    const int nRead = std::fscanf(pFile, "%lu %lu", &nSize, &nResident);
    std::fclose(pFile);
    return nRead == 2 ? static_cast<double>(nResident) * static_cast<double>(sysconf(_SC_PAGESIZE)) : 0.0;
}

std::string Load()
{
    char line[128] = "";
    if (FILE* pFile = std::fopen("/proc/loadavg", "r")) {
        if (std::fgets(line, sizeof line, pFile) == nullptr)
            line[0] = '\0';
        std::fclose(pFile);
    }
    std::string text(line);
    while (!text.empty() && (text.back() == '\n'))
        text.pop_back();
    return text;
}

// One row of the sample as the view holds it.
struct SampleRow {
    int nKind, nParam1, nParam2, nParam3;
    CString strParamText1, strParamText2;
    std::vector<CString> cells;
    std::vector<int> indents;
};

// The sample estimate's rows repeated up to nRows rows, recalculated and saved as path.
bool WriteEstimate(const std::filesystem::path& sample, const CString& path, int nRows)
{
    OpenedEstimate e;
    if (!e.doc->OnOpenDocument(SystemPathFromNative(sample.string())))
        return false;
    CMorvelEMView& view = *e.view;
    view.SetupFromDocument();
    const int nSample = view.GetUsedRows();
    const int nColumns = view.GetColumnCount();
    std::vector<SampleRow> sampleRows;
    for (int r = 0; r < nSample; ++r) {
        SampleRow row{view.GetRowKind(r),
                      view.GetRowParam1(r),
                      view.GetRowParam2(r),
                      view.GetRowParam3(r),
                      view.GetRowParamText1(r),
                      view.GetRowParamText2(r),
                      {},
                      {}};
        for (int c = 0; c < nColumns; ++c) {
            row.cells.push_back(view.GetCellText(r, c));
            row.indents.push_back(view.GetCellIndent(r, c));
        }
        sampleRows.push_back(std::move(row));
    }
    for (int r = nSample; r < nRows; ++r) {
        const SampleRow& row = sampleRows[static_cast<size_t>(r % nSample)];
        for (int c = 0; c < nColumns; ++c) {
            if (!row.cells[static_cast<size_t>(c)].IsEmpty())
                view.SetCellText(row.cells[static_cast<size_t>(c)], r, c, TRUE);
            if (row.indents[static_cast<size_t>(c)] != 0)
                view.SetCellIndent(row.indents[static_cast<size_t>(c)], r, c);
        }
        view.SetRowKind(row.nKind, r);
        view.SetRowParam1(row.nParam1, r);
        view.SetRowParam2(row.nParam2, r);
        view.SetRowParam3(row.nParam3, r);
        view.SetRowParamText1(row.strParamText1, r);
        view.SetRowParamText2(row.strParamText2, r);
    }
    view.RecalcAll();
    return e.doc->OnSaveDocument(path) != FALSE;
}

// Every row of the view, kind, parameters, cell texts and indents, one line per row.
void DumpRows(const CMorvelEMView& view, FILE* pFile)
{
    for (int r = 0; r < view.GetUsedRows(); ++r) {
        std::fprintf(pFile, "%d\t%d\t%d\t%d\t%d\t%s\t%s", r, view.GetRowKind(r), view.GetRowParam1(r),
                     view.GetRowParam2(r), view.GetRowParam3(r), view.GetRowParamText1(r).c_str(),
                     view.GetRowParamText2(r).c_str());
        for (int c = 0; c < view.GetColumnCount(); ++c)
            std::fprintf(pFile, "\t%s|%d", view.GetCellText(r, c).c_str(), view.GetCellIndent(r, c));
        std::fprintf(pFile, "\n");
    }
}

int MeasureOne(const std::filesystem::path& source, int nRows, const char* lpszDumpDir)
{
    char dirTemplate[] = "/tmp/bench_row_memory-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr) {
        std::perror("bench_row_memory: mkdtemp");
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
    std::filesystem::copy_file(source, dir / "sample.mmd");

    CProfileFile profile(SystemPathFromNative((dir / "bench.ini").string()));
    CMorvelSettings settings(profile);
    CMorvelSettings::SetCurrent(&settings);
    settings.WritePathSetting("Work Field", SystemPathFromNative(dir.string()));
    settings.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", nRows + nRows / 5);
    settings.WriteProfileInt("Input Setting", "Backup File", 1);
    settings.WriteProfileInt("ReCalcSetting", "Level", 1);

    const CString path = SystemPathFromNative((dir / "rows.mmd").string());
    if (!WriteEstimate(dir / "sample.mmd", path, nRows)) {
        std::fprintf(stderr, "bench_row_memory: the estimate of %d rows could not be made\n", nRows);
        return 1;
    }
    const double fileBytes = static_cast<double>(std::filesystem::file_size(dir / "rows.mmd"));

    // Once before measuring, so that what the first open of a process sets up once (the
    // forms' tables, the pools' first blocks) is not counted as the rows'.
    {
        OpenedEstimate e;
        if (!e.doc->OnOpenDocument(SystemPathFromNative((dir / "sample.mmd").string())))
            return 1;
        e.view->SetupFromDocument();
        e.view->RecalcAll();
    }
    const double before = ResidentBytes();
    const auto start = Clock::now();
    auto* pEstimate = new OpenedEstimate;
    if (!pEstimate->doc->OnOpenDocument(path))
        return 1;
    pEstimate->view->SetupFromDocument();
    pEstimate->view->RecalcAll();
    const double openMs = MillisecondsSince(start);
    const double opened = ResidentBytes();
    const int nOpened = pEstimate->view->GetUsedRows();
    if (lpszDumpDir != nullptr) {
        const std::filesystem::path dump = lpszDumpDir;
        if (FILE* pFile = std::fopen((dump / "rows.txt").string().c_str(), "w")) {
            DumpRows(*pEstimate->view, pFile);
            std::fclose(pFile);
        }
        if (!pEstimate->doc->OnSaveDocument(SystemPathFromNative((dump / "saved.mmd").string())))
            return 1;
    }
    delete pEstimate;
    const double closed = ResidentBytes();
    std::printf("  %7d rows  resident %7.1f MB  %6.0f bytes/row  (file %4.0f bytes/row)  "
                "closed +%5.1f MB  open+recalc %7.1f ms  load %s\n",
                nOpened, (opened - before) / 1048576.0, (opened - before) / nOpened, fileBytes / nOpened,
                (closed - before) / 1048576.0, openMs, Load().c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path sample =
        std::filesystem::path(MORVEL_SOURCE_DIR) / "samples" / "WORK" / "サンプル見積.MMD";
    if (argc > 3 && std::strcmp(argv[1], "--dump") == 0)
        return MeasureOne(sample, std::max(100, std::atoi(argv[3])), argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--one") == 0)
        return MeasureOne(sample, std::max(100, std::atoi(argv[2])), nullptr);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::max(100, std::atoi(argv[i])));
    if (sizes.empty())
        sizes = {10000, 65000, 100000};
    std::printf(
        "bench_row_memory: the sample estimate's rows repeated; resident size from /proc/self/statm\n");
    std::fflush(stdout);
    int nResult = 0;
    for (int nRows : sizes) {
        const pid_t pid = fork();
        if (pid == 0) {
            const std::string rows = std::to_string(nRows);
            execl("/proc/self/exe", argv[0], "--one", rows.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int nStatus = 0;
        if (pid < 0 || waitpid(pid, &nStatus, 0) < 0 || !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0)
            nResult = 1;
    }
    return nResult;
}
