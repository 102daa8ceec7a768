// Start-up of the program on the sample work folder, until the main window is shown and
// painted: the instance lock, the settings file, the document types, the main frame with
// its bars and the splash picture, the eight master and form files, fonts and settings.
//
//   bench_startup [runs]
//
// Each run is a process of its own (this program started again with --child), as the
// program starts; the time is taken from the moment the process is started until the
// child reports its window shown. The child also reports its time from main() on, which
// leaves out loading the program and its libraries. Prints medians; never fails on time.
#include "app/CMorvelApp.h"
#include "app/CSplashWindow.h"
#include "bench/BenchSupport.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/WinApi.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

Clock::time_point g_mainStart;

// One start of the program that reports when its window is up and then ends.
class CBenchApp : public CMorvelApp {
public:
    BOOL InitInstance() override
    {
        const BOOL bStarted = CMorvelApp::InitInstance();
        if (bStarted && m_pMainWnd != nullptr) {
            // Let the window show and paint as the event loop would.
            AfxPumpPendingMessages();
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - g_mainStart).count();
            std::printf("shown %.3f\n", ms);
            std::fflush(stdout);
        } else {
            std::printf("failed\n");
            std::fflush(stdout);
        }
        if (CSplashWindow* pSplash = CSplashWindow::GetSplashWindow())
            pSplash->HideSplash();
        if (m_pMainWnd != nullptr && m_pMainWnd->GetSafeHwnd() != nullptr)
            m_pMainWnd->DestroyWindow();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

std::string SamplesFolder()
{
    return (std::filesystem::path(MORVEL_SOURCE_DIR) / "samples").string();
}

// A settings file for the samples and a lock folder of the benchmark's own.
std::string PrepareFolder()
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "morvel-bench-startup";
    std::filesystem::create_directories(dir / "lock");
    const std::string samples = SamplesFolder();
    std::ofstream ini(dir / "bench.ini", std::ios::trunc);
    ini << "[Path Setting]\n"
        << "Work Drive=C\n"
        << "Work Field=" << samples << "/WORK\n"
        << "Estimation Form=" << samples << "/FORM\n"
        << "Parts Form=" << samples << "/FORM\n"
        << "Information Form=" << samples << "/FORM\n"
        << "Other Form=" << samples << "/MASTER\n"
        << "[Form File Name Setting]\n"
        << "Estimation Form Name=meisai.MMK\n"
        << "Information Form Name=JYOUHOU.MJK\n"
        << "Part Form Name=BUZAI.MBK\n";
    return dir.string();
}

} // namespace

CBenchApp theApp;

int main(int argc, char** argv)
{
    g_mainStart = Clock::now();
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) {
        char* childArgv[] = {argv[0], nullptr};
        AfxWinMain(1, childArgv);
        return 0;
    }

    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string dir = PrepareFolder();
    setenv("MORVEL_INI", (dir + "/bench.ini").c_str(), 1);
    setenv("MORVEL_LOCK_DIR", (dir + "/lock").c_str(), 1);
    setenv("MORVEL_NO_SOUND", "1", 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    const std::string command = std::string("'") + argv[0] + "' --child";
    std::vector<double> processTimes;
    std::vector<double> inProcessTimes;
    for (int i = 0; i < nRuns; ++i) {
        const Clock::time_point start = Clock::now();
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            std::fprintf(stderr, "bench_startup: cannot start %s\n", argv[0]);
            return 1;
        }
        char line[128] = {};
        double dInProcess = -1.0;
        double dProcess = -1.0;
        while (std::fgets(line, sizeof(line), pipe) != nullptr) {
            if (std::strncmp(line, "shown ", 6) == 0) {
                dProcess = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                dInProcess = std::atof(line + 6);
            }
        }
        pclose(pipe);
        if (dProcess < 0) {
            std::fprintf(stderr, "bench_startup: run %d did not show its window\n", i + 1);
            return 1;
        }
        processTimes.push_back(dProcess);
        inProcessTimes.push_back(dInProcess);
    }

    std::printf("bench_startup: %d runs on %s\n", nRuns, SamplesFolder().c_str());
    std::printf("  process start to main window shown: median %.1f ms (min %.1f, max %.1f)\n",
                Median(processTimes), *std::min_element(processTimes.begin(), processTimes.end()),
                *std::max_element(processTimes.begin(), processTimes.end()));
    std::printf("  main() to main window shown:        median %.1f ms (min %.1f, max %.1f)\n",
                Median(inProcessTimes), *std::min_element(inProcessTimes.begin(), inProcessTimes.end()),
                *std::max_element(inProcessTimes.begin(), inProcessTimes.end()));
    std::printf("  target: below 300 ms\n");
    return 0;
}
