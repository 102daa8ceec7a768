// What the benchmark programs share: a clock, elapsed times, the median and the 95th
// percentile of runs, the memory sizes the kernel reports.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The processor time the calling thread has used, in ms: on a loaded machine a step's
// processor time swings far less than its elapsed time.
inline double ThreadCpuMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The middle value of the runs (the mean of the two middle ones for an even count).
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// The value 95 % of the runs do not exceed (nearest rank): the slow end of what a user meets.
inline double Percentile95(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t nRank = (values.size() * 95 + 99) / 100; // ceil(0.95 n), 1-based
    return values[std::max<size_t>(nRank, 1) - 1];
}

// A size line of a /proc file of this process ("VmHWM:" of /proc/self/status, "LazyFree:" of
// /proc/self/smaps_rollup) in kB; 0 where there is none.
inline double ProcKilobytes(const char* lpszPath, const char* lpszKey)
{
    FILE* pFile = std::fopen(lpszPath, "r");
    if (pFile == nullptr)
        return 0.0;
    char line[256];
    double kb = 0.0;
    const size_t nKey = std::strlen(lpszKey);
    while (std::fgets(line, sizeof(line), pFile) != nullptr) {
        if (std::strncmp(line, lpszKey, nKey) == 0)
            kb = std::atof(line + nKey);
    }
    std::fclose(pFile);
    return kb;
}

// The part of the resident size given to the kernel to take when it needs it (MADV_FREE:
// the row pools' spare blocks), in kB.
inline double LazyFreeKilobytes()
{
    return ProcKilobytes("/proc/self/smaps_rollup", "LazyFree:");
}
