// bench_enter: the processor time of one Enter after a quantity, in the program's own
// estimate window (main frame, estimate window with its subject tree, status bar), as the
// user waits for it: the cell stored, the row and the totals recalculated, the tree and the
// status bar following, the grid painted and the frame handed to the window system. Prints
// medians; it measures, it never fails on time.
//
//   bench_enter [runs] [opens] [shape]   (default 21 Enters per place, 7 opens per estimate,
//                                         every shape: 10k, 65k, 65k-tax, 65k-tax+)
//
// It runs on the display it is given (DISPLAY, e.g. Xvfb with a window manager; the
// numbers are those of a real X server) and on the offscreen platform without one. The
// time is that of the whole process, every thread counted (Qt's painting helpers too),
// from the key press until the event loop has nothing left to do.
//
// Four estimates, each made here and opened through File Open in the maximised window:
// 10,000 rows; 65,000 rows; 65,000 rows where every 種目 is an estimate of its own closed
// by its grand total and consumption tax (a tax row every 78 rows, 834 of them; 65k-tax+:
// most 種目 a little shorter, a tax row every 73 rows, 891 of them).
//
// open     File Open until the window is made and the rows are read (not its first paint)
// first    the first Enter after the estimate opened and showed (a quantity typed into a
//          detail row near the top): what the first edit costs
// top      an Enter after a quantity in a detail row near the top
// middle   the same in the middle of the estimate, scrolled there
// settle   the event loop left to run alone for as long as an Enter is given: what the
//          measuring itself costs, included in every number above
#include "app/CMorvelApp.h"
#include "bench/BenchEstimateFile.h"
#include "bench/BenchSupport.h"
#include "dosconvert/DosConvertRegistration.h"
#include "estimate/EstimateRegistration.h"
#include "estimate_tools/EstimateToolsRegistration.h"
#include "layout/drawing/DrawingRegistration.h"
#include "layout/printform/PrintFormRegistration.h"
#include "parts/PartsRegistration.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "setup/SetupRegistration.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QTimer>
#include <QWidget>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define MORVEL_BENCH_CALLGRIND 1
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int g_nRuns = 21;
int g_nOpens = 7;
std::string g_shape; // empty: every shape
std::filesystem::path g_folder;

// The columns of the benchmark's estimation form that an Enter touches.
constexpr int QTY_COL = 2;

double ProcessCpuMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Runs the event loop for a while, as the program's own loop runs after a key: posted
// messages, paints, the idle pass and Qt's flush of the window all come in this time.
// BENCH_SETTLE_SCALE stretches every wait (under callgrind, where everything takes fifty
// times as long, what a step leaves to the loop would otherwise run in the next step).
void Settle(int nMilliseconds = 60)
{
    static const int nScale = [] {
        const char* lpszScale = std::getenv("BENCH_SETTLE_SCALE");
        return lpszScale != nullptr ? std::max(1, std::atoi(lpszScale)) : 1;
    }();
    QEventLoop loop;
    QTimer::singleShot(nMilliseconds * nScale, &loop, &QEventLoop::quit);
    loop.exec();
}

// The widget the keyboard goes to.
QWidget* KeyboardWidget()
{
    QWidget* pWidget = QApplication::focusWidget();
    if (pWidget == nullptr && QApplication::activeWindow() != nullptr)
        pWidget = QApplication::activeWindow();
    return pWidget;
}

void PressKey(int nKey, const QString& text = QString())
{
    QWidget* pWidget = KeyboardWidget();
    if (pWidget == nullptr)
        return;
    QKeyEvent press(QEvent::KeyPress, nKey, Qt::NoModifier, text);
    QApplication::sendEvent(pWidget, &press);
    if ((pWidget = KeyboardWidget()) == nullptr)
        return;
    QKeyEvent release(QEvent::KeyRelease, nKey, Qt::NoModifier, text);
    QApplication::sendEvent(pWidget, &release);
}

// The quantity typed into the current cell, key by key, and the loop left to show it.
void TypeQuantity(const char* lpszQuantity)
{
    for (const char* p = lpszQuantity; *p != '\0'; ++p) {
        const int nKey = *p == '.' ? Qt::Key_Period : Qt::Key_0 + (*p - '0');
        PressKey(nKey, QString(QChar::fromLatin1(*p)));
    }
    Settle(20);
}

// With BENCH_PERF_CTL=fifo,ackfifo perf records the Enters alone:
//   mkfifo ctl ack; BENCH_PERF_CTL=ctl,ack perf record -D -1 --control=fifo:ctl,ack -g bench_enter
class CPerfControl {
public:
    CPerfControl()
    {
        const char* lpszFifos = std::getenv("BENCH_PERF_CTL");
        const char* lpszComma = lpszFifos != nullptr ? std::strchr(lpszFifos, ',') : nullptr;
        if (lpszComma == nullptr)
            return;
        m_pControl = std::fopen(std::string(lpszFifos, lpszComma).c_str(), "w");
        m_pAck = std::fopen(lpszComma + 1, "r");
    }
    ~CPerfControl()
    {
        if (m_pControl != nullptr)
            std::fclose(m_pControl);
        if (m_pAck != nullptr)
            std::fclose(m_pAck);
    }
    void Send(const char* lpszCommand)
    {
        if (m_pControl == nullptr || m_pAck == nullptr)
            return;
        std::fprintf(m_pControl, "%s\n", lpszCommand);
        std::fflush(m_pControl);
        char ack[16];
        (void)std::fgets(ack, sizeof ack, m_pAck);
    }

private:
    FILE* m_pControl = nullptr;
    FILE* m_pAck = nullptr;
};

CPerfControl& PerfControl()
{
    static CPerfControl control;
    return control;
}

// With BENCH_SHOW_PAINTS set, what every timed Enter makes Qt do to the widgets is listed:
// each paint (widget, its parent, the rectangles painted) and each move, resize and layout.
class CPaintLister : public QObject {
public:
    bool eventFilter(QObject* pObject, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint) {
            const QRegion& region = static_cast<QPaintEvent*>(pEvent)->region();
            const QRect r = region.boundingRect();
            const QObject* pParent = pObject->parent();
            std::printf("    paint %-16s in %-16s %4d,%4d %4d x %4d:", pObject->metaObject()->className(),
                        pParent != nullptr ? pParent->metaObject()->className() : "-", r.x(), r.y(),
                        r.width(), r.height());
            for (const QRect& rc : region)
                std::printf(" (%d,%d %dx%d)", rc.x(), rc.y(), rc.width(), rc.height());
            std::printf("\n");
        } else if (pEvent->type() == QEvent::Resize || pEvent->type() == QEvent::Move ||
                   pEvent->type() == QEvent::LayoutRequest) {
            const QObject* pParent = pObject->parent();
            const QWidget* pWidget = qobject_cast<QWidget*>(pObject);
            const QRect r = pWidget != nullptr ? pWidget->geometry() : QRect();
            std::printf("    %s %-16s in %-16s %4d,%4d %4d x %4d\n",
                        pEvent->type() == QEvent::Resize ? "resize"
                        : pEvent->type() == QEvent::Move ? "move  "
                                                         : "layout",
                        pObject->metaObject()->className(),
                        pParent != nullptr ? pParent->metaObject()->className() : "-", r.x(), r.y(),
                        r.width(), r.height());
        }
        return false;
    }
};

// Processor time of the Enter that stores what was typed. Under callgrind (with
// --collect-atstart=no --toggle-collect='*TimedEnter*') each Enter is dumped on its own,
// named by what it is.
double TimedEnter(const char* lpszWhat)
{
    (void)lpszWhat;
    static const bool bShowPaints = std::getenv("BENCH_SHOW_PAINTS") != nullptr;
    CPaintLister lister;
    if (bShowPaints) {
        std::printf("  Enter:\n");
        qApp->installEventFilter(&lister);
    }
    PerfControl().Send("enable");
    const double start = ProcessCpuMilliseconds();
    PressKey(Qt::Key_Return, "\r");
    Settle();
    const double ms = ProcessCpuMilliseconds() - start;
    PerfControl().Send("disable");
#if MORVEL_BENCH_CALLGRIND
    CALLGRIND_DUMP_STATS_AT(lpszWhat);
#endif
    if (bShowPaints)
        qApp->removeEventFilter(&lister);
    return ms;
}

// Makes the quantity cell of a row current as a click does, scrolled into view first.
void GoToQuantity(CMorvelEMView& view, int nRow)
{
    view.ClickCell(QTY_COL, nRow);
    CRect rc;
    view.GetCellRangeRect(QTY_COL, nRow, QTY_COL, nRow, &rc);
    const LPARAM lParam = MAKELPARAM(static_cast<WORD>(rc.left + 3), static_cast<WORD>(rc.top + 3));
    view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    view.SendMessage(WM_LBUTTONUP, 0, lParam);
    Settle(20);
}

int DetailRowFrom(const CMorvelEMView& view, int nRow)
{
    while (nRow < view.GetUsedRows() && view.GetRowKind(nRow) != kindDetail)
        ++nRow;
    return nRow;
}

// The estimate file of one shape, made without a window and saved into the work folder.
bool MakeEstimateFile(const std::filesystem::path& file, int nRows, bool bTaxPerKind, int nShortKinds,
                      int& nTaxRows)
{
    auto* pDoc = new CMorvelEMDoc;
    auto* pView = new CMorvelEMView;
    pDoc->m_bAutoDelete = FALSE;
    pDoc->AddView(pView);
    BuildEstimateForms(*pDoc);
    pDoc->m_nNewEstimate = 1;
    pView->SetupFromDocument();
    BuildEstimateRows(*pView, nRows, bTaxPerKind, nShortKinds);
    nTaxRows = 0;
    for (int r = 0; r < pView->GetUsedRows(); ++r)
        nTaxRows += pView->GetRowKind(r) == kindFree ? 1 : 0;
    const bool bSaved = pDoc->OnSaveDocument(SystemPathFromNative(file.string())) != FALSE;
    delete pView;
    delete pDoc;
    return bSaved;
}

struct CShapeResult {
    std::vector<double> open, first, top, middle;
};

void MeasureShape(CWinApp& app, const char* lpszName, int nRows, bool bTaxPerKind, int nShortKinds = 0)
{
    if (!g_shape.empty() && g_shape != lpszName)
        return;
    const std::filesystem::path file = g_folder / "WORK" / (std::string(lpszName) + ".MMD");
    int nTaxRows = 0;
    if (!MakeEstimateFile(file, nRows, bTaxPerKind, nShortKinds, nTaxRows)) {
        std::fprintf(stderr, "bench_enter: %s could not be saved\n", lpszName);
        return;
    }
    CShapeResult result;
    int nUsedRows = 0;
    for (int nOpen = 0; nOpen < g_nOpens; ++nOpen) {
        const double openStart = ProcessCpuMilliseconds();
        auto* pDoc = dynamic_cast<CMorvelEMDoc*>(app.OpenDocumentFile(SystemPathFromNative(file.string())));
        result.open.push_back(ProcessCpuMilliseconds() - openStart);
        CMorvelEMView* pView = pDoc != nullptr ? pDoc->GetEstimateView() : nullptr;
        if (pView == nullptr) {
            std::fprintf(stderr, "bench_enter: %s did not open\n", lpszName);
            return;
        }
        nUsedRows = pView->GetUsedRows();
        pView->SetFocus();
        Settle(200);
        const int nTopRow = DetailRowFrom(*pView, 4);
        GoToQuantity(*pView, nTopRow);
        TypeQuantity("123.4");
        result.first.push_back(TimedEnter("first"));

        // Later Enters are measured in the first open only: they do not depend on it.
        if (nOpen == 0) {
            const int nMiddleRow = DetailRowFrom(*pView, nUsedRows / 2);
            for (int nPlace = 0; nPlace < 2; ++nPlace) {
                const int nRow = nPlace == 0 ? nTopRow : nMiddleRow;
                for (int i = 0; i < g_nRuns + 2; ++i) {
                    GoToQuantity(*pView, nRow);
                    TypeQuantity(i % 2 == 0 ? "56.7" : "98.1");
                    const double ms = TimedEnter(nPlace == 0 ? "top" : "middle");
                    if (i >= 2) // two to warm up
                        (nPlace == 0 ? result.top : result.middle).push_back(ms);
                }
            }
        }
        pDoc->SetModifiedFlag(FALSE);
        pDoc->OnCloseDocument();
        Settle(100);
    }
    std::printf("  %-8s %6d rows %4d tax rows   first %7.2f ms   top %7.2f ms   middle %7.2f ms\n", lpszName,
                nUsedRows, nTaxRows, Median(result.first), Median(result.top), Median(result.middle));
    std::printf("  %-8s open (File Open, the file read and the window made) %.2f ms\n", "",
                Median(result.open));
    std::printf("  %-8s (ranges: first %.2f-%.2f, top %.2f-%.2f, middle %.2f-%.2f)\n", "",
                *std::min_element(result.first.begin(), result.first.end()),
                *std::max_element(result.first.begin(), result.first.end()),
                *std::min_element(result.top.begin(), result.top.end()),
                *std::max_element(result.top.begin(), result.top.end()),
                *std::min_element(result.middle.begin(), result.middle.end()),
                *std::max_element(result.middle.begin(), result.middle.end()));
    std::fflush(stdout);
}

// The program, started on the benchmark's work folder, runs the measurements and ends.
class CBenchApp : public CMorvelApp {
public:
    BOOL InitInstance() override
    {
        SetCommandLine(std::vector<CString>{"/nosplash"});
        if (!CMorvelApp::InitInstance() || m_pMainWnd == nullptr) {
            std::fprintf(stderr, "bench_enter: the program did not start\n");
            return FALSE;
        }
        Settle(300);
        CRect rcMain;
        m_pMainWnd->GetWindowRect(&rcMain);
        std::printf(
            "bench_enter: platform %s, main window %d x %d, medians of %d Enters (first: of %d opens), "
            "processor time of the process\n",
            QApplication::platformName().toUtf8().constData(), rcMain.Width(), rcMain.Height(), g_nRuns,
            g_nOpens);
        std::vector<double> idle;
        for (int i = 0; i < 9; ++i) {
            const double start = ProcessCpuMilliseconds();
            Settle();
            idle.push_back(ProcessCpuMilliseconds() - start);
        }
        std::printf("  settle   %7.2f ms (the loop alone)\n", Median(idle));
        MeasureShape(*this, "10k", 10000, false);
        MeasureShape(*this, "65k", 65000, false);
        MeasureShape(*this, "65k-tax", 65000, true);
        MeasureShape(*this, "65k-tax+", 65000, true, 5);
        if (m_pMainWnd->GetSafeHwnd() != nullptr)
            m_pMainWnd->DestroyWindow();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

// The sample forms and masters with a work folder of the benchmark's own; the settings are
// those of the demonstration (colours and fonts per row kind) with room for 65,535 rows.
bool PrepareFolder()
{
    char pattern[] = "/tmp/bench_enter-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("bench_enter");
        return false;
    }
    g_folder = pattern;
    std::filesystem::create_directories(g_folder / "WORK");
    std::filesystem::create_directories(g_folder / "lock");
    const std::string ini = (g_folder / "bench.ini").string();
    const std::string command =
        std::string("bash '") + MORVEL_SOURCE_DIR + "/scripts/sample-settings.sh' '" + ini + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "bench_enter: the settings could not be written\n");
        return false;
    }
    CProfileFile profile(SystemPathFromNative(ini));
    profile.WriteProfileString("Path Setting", "Work Field",
                               SystemPathFromNative((g_folder / "WORK").string()));
    profile.WriteProfileInt("Input Setting", "Estimation Maxmum Rows", CMorvelView::MAX_FILE_ROWS);
    profile.WriteProfileInt("Input Setting", "Backup File", 0);
    setenv("MORVEL_INI", ini.c_str(), 1);
    setenv("MORVEL_LOCK_DIR", (g_folder / "lock").c_str(), 1);
    setenv("MORVEL_NO_SOUND", "1", 1);
    if (std::getenv("DISPLAY") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}

} // namespace

CBenchApp theApp;

int main(int argc, char** argv)
{
    g_nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    g_nOpens = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    g_shape = argc > 3 ? argv[3] : "";
    if (!PrepareFolder())
        return 1;
    SetMessageBoxHandler([](const CString& text, UINT, UINT) {
        std::fprintf(stderr, "bench_enter: %s\n", text.ToUtf8().c_str());
        return IDOK;
    });
    RegisterEstimate();
    RegisterEstimateTools();
    RegisterParts();
    RegisterDrawing();
    RegisterPrintForm();
    RegisterSetup();
    RegisterDosConvert();
    char* args[] = {argv[0], nullptr};
    AfxWinMain(1, args);
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
    return 0;
}
