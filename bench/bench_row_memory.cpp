// bench_row_memory: what an estimate's rows cost in memory. The rows of the sample estimate
// (samples/WORK) are repeated into an estimate of the given size, and the growth of the
// process's resident size (its own count: the second field of /proc/self/statm) is divided
// by the rows. Prints the machine's load beside the figures; it measures, it never fails
// on size.
//
//   bench_row_memory [rows...]        (default 10000 65000 100000)
//   bench_row_memory --dump DIR rows  the rows, cell by cell (rows.txt), the saved file
//                                     (saved.mmd), and the same after opening that file
//                                     again (reopened.txt, resaved.mmd): two builds' results
//                                     compared byte for byte
//
// built    the sample grown to the size in its view through the view's row operations,
//          then recalculated: the resident growth per row made
// opened   a file of that size opened and recalculated (in a process that did not make it):
//          the resident growth per row opened, and the file's bytes per row beside it
// closed   the resident size left above the size before, once the estimate is closed, and
//          how much of the whole resident size the kernel may take when it needs it (pages
//          given to it lazily, MADV_FREE)
// Each figure comes from a process of its own (the program starts itself again), so that
// memory freed by one step does not serve the next.
#include "app/CMorvelSettings.h"
#include "bench/BenchSupport.h"
#include "engine/estimate/CGridRow.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
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

// The settings of a run, in a folder of its own that goes with the object.
class CBenchFolder {
public:
    explicit CBenchFolder(int nRows)
    {
        char dirTemplate[] = "/tmp/bench_row_memory-XXXXXX";
        if (mkdtemp(dirTemplate) != nullptr)
            m_dir = dirTemplate;
        m_pProfile = std::make_unique<CProfileFile>(SystemPathFromNative((m_dir / "bench.ini").string()));
        m_pSettings = std::make_unique<CMorvelSettings>(*m_pProfile);
        CMorvelSettings::SetCurrent(m_pSettings.get());
        m_pSettings->WritePathSetting("Work Field", SystemPathFromNative(m_dir.string()));
        m_pSettings->WriteProfileInt("Input Setting", "Estimation Maxmum Rows", nRows + nRows / 5);
        m_pSettings->WriteProfileInt("Input Setting", "Backup File", 1);
        m_pSettings->WriteProfileInt("ReCalcSetting", "Level", 1);
    }
    ~CBenchFolder()
    {
        CMorvelSettings::SetCurrent(nullptr);
        std::error_code ec;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, ec);
    }
    bool IsReady() const { return !m_dir.empty(); }
    std::string NativePath(const char* lpszName) const { return (m_dir / lpszName).string(); }
    CString Path(const char* lpszName) const { return SystemPathFromNative(NativePath(lpszName)); }

private:
    std::filesystem::path m_dir;
    std::unique_ptr<CProfileFile> m_pProfile;
    std::unique_ptr<CMorvelSettings> m_pSettings;
};

// Opens the sample estimate into e.
bool OpenSample(OpenedEstimate& e)
{
    const std::filesystem::path sample =
        std::filesystem::path(MORVEL_SOURCE_DIR) / "samples" / "WORK" / "サンプル見積.MMD";
    if (!e.doc->OnOpenDocument(SystemPathFromNative(sample.string())))
        return false;
    e.view->SetupFromDocument();
    return true;
}

// Fills the opened sample's view up to nRows rows with its own rows, repeated, through the
// view's row operations, and recalculates it.
void RepeatRows(CMorvelEMView& view, int nRows)
{
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
        view.SetRowKind(KindFromNumber(row.nKind), r);
        view.SetRowParam1(row.nParam1, r);
        view.SetRowParam2(row.nParam2, r);
        view.SetRowParam3(row.nParam3, r);
        view.SetRowParamText1(row.strParamText1, r);
        view.SetRowParamText2(row.strParamText2, r);
    }
    view.RecalcAll();
}

// Every row of the view, kind, parameters, cell texts and indents, one line per row.
bool DumpRows(const CMorvelEMView& view, const std::string& path)
{
    FILE* pFile = std::fopen(path.c_str(), "w");
    if (pFile == nullptr)
        return false;
    for (int r = 0; r < view.GetUsedRows(); ++r) {
        std::fprintf(pFile, "%d\t%d\t%d\t%d\t%d\t%s\t%s", r, view.GetRowKind(r), view.GetRowParam1(r),
                     view.GetRowParam2(r), view.GetRowParam3(r), view.GetRowParamText1(r).c_str(),
                     view.GetRowParamText2(r).c_str());
        for (int c = 0; c < view.GetColumnCount(); ++c)
            std::fprintf(pFile, "\t%s|%d", view.GetCellText(r, c).c_str(), view.GetCellIndent(r, c));
        std::fprintf(pFile, "\n");
    }
    std::fclose(pFile);
    return true;
}

// The largest estimate a file holds (its row count is one word).
constexpr int kFileRows = 65535;

// --build N: the growth of the resident size while the sample grows to N rows in the view
// and is recalculated, and what is left once it is closed. --open N: the same for opening a
// file of N rows (written first) and recalculating it. Each in a process of its own.
int Measure(bool bOpen, int nRows)
{
    CBenchFolder folder(nRows);
    if (!folder.IsReady())
        return 1;
    const CString path = folder.Path("rows.mmd");
    if (bOpen) {
        OpenedEstimate e;
        if (!OpenSample(e))
            return 1;
        RepeatRows(*e.view, nRows);
        if (!e.doc->OnSaveDocument(path))
            return 1;
        // The rows made for the file go, then the file is opened in a fresh process.
        const pid_t pid = fork();
        if (pid != 0) {
            int nStatus = 0;
            return pid > 0 && waitpid(pid, &nStatus, 0) >= 0 && WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 1;
        }
        // The child measures: it is the parent's copy, so it starts again from the program.
        const std::string rows = std::to_string(nRows);
        const std::string file = folder.NativePath("rows.mmd");
        execl("/proc/self/exe", "bench_row_memory", "--open-file", file.c_str(), rows.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    // What the first estimate of a process sets up once (the forms' tables, the first
    // blocks of rows) is not counted as the rows': the sample is opened and calculated first.
    auto* pEstimate = new OpenedEstimate;
    if (!OpenSample(*pEstimate))
        return 1;
    pEstimate->view->RecalcAll();
    const int nSample = pEstimate->view->GetUsedRows();
    const double before = ResidentBytes();
    const auto start = Clock::now();
    RepeatRows(*pEstimate->view, nRows);
    const double ms = MillisecondsSince(start);
    const double after = ResidentBytes();
    const int nMade = pEstimate->view->GetUsedRows() - nSample;
    delete pEstimate;
    const double closed = ResidentBytes();
    std::printf(
        "  built  %7d rows  resident +%7.1f MB  %6.0f bytes/row  closed: +%5.1f MB left (%4.1f MB lazily "
        "freed)  %8.1f ms  load %s\n",
        nMade, (after - before) / 1048576.0, (after - before) / nMade, (closed - before) / 1048576.0,
        LazyFreeKilobytes() / 1024.0, ms, Load().c_str());
    return 0;
}

int MeasureOpen(const char* lpszFile, int nRows)
{
    CBenchFolder folder(nRows);
    if (!folder.IsReady())
        return 1;
    {
        OpenedEstimate e;
        if (!OpenSample(e))
            return 1;
        e.view->RecalcAll();
    }
    const double before = ResidentBytes();
    const auto start = Clock::now();
    auto* pEstimate = new OpenedEstimate;
    if (!pEstimate->doc->OnOpenDocument(SystemPathFromNative(lpszFile)))
        return 1;
    pEstimate->view->SetupFromDocument();
    pEstimate->view->RecalcAll();
    const double ms = MillisecondsSince(start);
    const double after = ResidentBytes();
    const int nOpened = pEstimate->view->GetUsedRows();
    delete pEstimate;
    const double closed = ResidentBytes();
    const double fileBytes = static_cast<double>(std::filesystem::file_size(lpszFile));
    std::printf(
        "  opened %7d rows  resident +%7.1f MB  %6.0f bytes/row  closed: +%5.1f MB left (%4.1f MB lazily "
        "freed)  %8.1f ms  load %s  (file %.0f bytes/row)\n",
        nOpened, (after - before) / 1048576.0, (after - before) / nOpened, (closed - before) / 1048576.0,
        LazyFreeKilobytes() / 1024.0, ms, Load().c_str(), fileBytes / nOpened);
    return 0;
}

// --dump DIR N: the estimate of N rows made, recalculated and written out (rows.txt and,
// when a file holds it, saved.mmd); then that file opened, recalculated and written out
// again (reopened.txt, resaved.mmd).
int Dump(const std::filesystem::path& dir, int nRows)
{
    CBenchFolder folder(nRows);
    if (!folder.IsReady())
        return 1;
    {
        OpenedEstimate e;
        if (!OpenSample(e))
            return 1;
        RepeatRows(*e.view, nRows);
        if (!DumpRows(*e.view, (dir / "rows.txt").string()))
            return 1;
        if (nRows > kFileRows)
            return 0;
        if (!e.doc->OnSaveDocument(SystemPathFromNative((dir / "saved.mmd").string())))
            return 1;
    }
    OpenedEstimate e;
    if (!e.doc->OnOpenDocument(SystemPathFromNative((dir / "saved.mmd").string())))
        return 1;
    e.view->SetupFromDocument();
    e.view->RecalcAll();
    if (!DumpRows(*e.view, (dir / "reopened.txt").string()))
        return 1;
    return e.doc->OnSaveDocument(SystemPathFromNative((dir / "resaved.mmd").string())) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 3 && std::strcmp(argv[1], "--dump") == 0)
        return Dump(argv[2], std::max(100, std::atoi(argv[3])));
    if (argc > 3 && std::strcmp(argv[1], "--open-file") == 0)
        return MeasureOpen(argv[2], std::max(100, std::atoi(argv[3])));
    if (argc > 2 && (std::strcmp(argv[1], "--build") == 0 || std::strcmp(argv[1], "--open") == 0))
        return Measure(std::strcmp(argv[1], "--open") == 0, std::max(100, std::atoi(argv[2])));
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
        for (const char* lpszMode : {"--build", "--open"}) {
            if (std::strcmp(lpszMode, "--open") == 0 && nRows > kFileRows) {
                std::printf("  opened %7d rows  (no file holds more than %d rows)\n", nRows, kFileRows);
                continue;
            }
            std::fflush(stdout);
            const pid_t pid = fork();
            if (pid == 0) {
                const std::string rows = std::to_string(nRows);
                execl("/proc/self/exe", argv[0], lpszMode, rows.c_str(), static_cast<char*>(nullptr));
                _exit(127);
            }
            int nStatus = 0;
            if (pid < 0 || waitpid(pid, &nStatus, 0) < 0 || !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0)
                nResult = 1;
        }
    }
    return nResult;
}
