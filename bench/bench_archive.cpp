// Throughput of CArchive: many strings and words written and read through a memory file
// and through a disk file. Prints the median of several runs; never fails on time.
//
//   bench_archive [records] [runs]

#include "bench/BenchSupport.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"

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

// Sum of what was read, printed at the end so the reads cannot be optimised away.
DWORD g_checksum = 0;

struct Record {
    CString text;
    WORD w;
    DWORD dw;
};

// Texts like the ones the masters and forms hold: short names, units, formulas, now and
// then a long remark; about half of them Japanese.
std::vector<Record> MakeRecords(size_t count)
{
    const std::vector<CString> samples = {
        CString::FromUtf8("直接仮設工事"),
        CString("m2"),
        CString::FromUtf8("式"),
        CString::FromUtf8("異形鉄筋 D10"),
        CString("###,###"),
        CString("C*E"),
        CString("U(-1)"),
        CString::FromUtf8("コンクリート打設手間 普通 ポンプ車 50m3/日"),
        CString("1"),
        CString(""),
    };
    std::vector<Record> records;
    records.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        Record r{samples[i % samples.size()], static_cast<WORD>(i), static_cast<DWORD>(i * 2654435761u)};
        if (i % 97 == 0)
            r.text = CString(std::string(300 + i % 700, 'x')); // a long remark now and then
        records.push_back(r);
    }
    return records;
}

void WriteAll(CArchive& ar, const std::vector<Record>& records)
{
    for (const Record& r : records)
        ar << r.text << r.w << r.dw;
}

void ReadAll(CArchive& ar, size_t count)
{
    CString text;
    WORD w;
    DWORD dw;
    DWORD check = 0;
    for (size_t i = 0; i < count; ++i) {
        ar >> text >> w >> dw;
        check += static_cast<DWORD>(text.GetLength()) + w + dw;
    }
    g_checksum += check;
}

// Runs fn `runs` times and returns the median in seconds.
double TimeMedian(int runs, const std::function<void()>& fn)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        fn();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    return Median(times);
}

void Report(const char* what, int bufSize, size_t bytes, double seconds)
{
    std::printf("%-28s buffer %5d  %8.1f MB/s  (%.2f ms for %.1f MB)\n", what, bufSize,
                static_cast<double>(bytes) / seconds / 1e6, seconds * 1e3, static_cast<double>(bytes) / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    const size_t count = argc > 1 ? static_cast<size_t>(std::strtoul(argv[1], nullptr, 10)) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    const std::vector<Record> records = MakeRecords(count);

    const std::string folder =
        (std::filesystem::temp_directory_path() / ("morvel-bench-archive-" + std::to_string(::getpid())))
            .string();
    std::filesystem::create_directories(folder);
    const std::string nativeFile = folder + "/BENCH.DAT";
    const CString path(Utf8ToCp932(nativeFile));

    std::printf("%zu records (a string, a word and a double word each), median of %d runs\n", count, runs);
    for (int bufSize : {4096, 32000}) {
        std::vector<BYTE> stored;
        const double tWriteMem = TimeMedian(runs, [&] {
            CMemFile file;
            CArchive ar(&file, CArchive::store, bufSize);
            WriteAll(ar, records);
            ar.Close();
            stored = file.Detach();
        });
        Report("write, memory file", bufSize, stored.size(), tWriteMem);

        const double tReadMem = TimeMedian(runs, [&] {
            CMemFile file(stored.data(), static_cast<UINT>(stored.size()));
            CArchive ar(&file, CArchive::load, bufSize);
            ReadAll(ar, count);
        });
        Report("read, memory file", bufSize, stored.size(), tReadMem);

        const double tWriteDisk = TimeMedian(runs, [&] {
            CFile file(path, CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store, bufSize);
            WriteAll(ar, records);
            ar.Close();
            file.Close();
        });
        Report("write, disk file", bufSize, stored.size(), tWriteDisk);

        const double tReadDisk = TimeMedian(runs, [&] {
            CFile file(path, CFile::modeRead | CFile::shareDenyNone);
            CArchive ar(&file, CArchive::load, bufSize);
            ReadAll(ar, count);
        });
        Report("read, disk file", bufSize, stored.size(), tReadDisk);
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::printf("checksum %08x\n", static_cast<unsigned>(g_checksum));
    return 0;
}
