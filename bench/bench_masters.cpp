// bench_masters: writes and reads every master at capacity (1000 entries) and the three
// forms at 100 items through CArchive, in memory and on disk, and prints the median time
// and the throughput of each. It measures; it never fails on time.
//
//   bench_masters [runs]      (default 41 runs per case)
#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CPartFormFile.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "bench/BenchSupport.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/Path.h"

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

// Realistic texts: Japanese names of 8 to 20 characters with a number in them.
CString Name(const char* stem, int i)
{
    CString text = CString::FromUtf8(stem);
    text.AppendFormat(" %04d", i);
    return text;
}

struct Case {
    std::string label;
    std::function<void(CArchive&)> store;
    std::function<void(CArchive&)> load;
};

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Result {
    size_t bytes = 0;
    double writeSeconds = 0;
    double readSeconds = 0;
};

Result RunInMemory(const Case& c, int runs)
{
    Result result;
    std::vector<double> writes, reads;
    std::vector<BYTE> data;
    for (int r = 0; r < runs; ++r) {
        CMemFile file(64 * 1024);
        const Clock::time_point start = Clock::now();
        {
            CArchive ar(&file, CArchive::store, 4096);
            c.store(ar);
            ar.Close();
        }
        writes.push_back(Seconds(start));
        data = file.Detach();
    }
    for (int r = 0; r < runs; ++r) {
        CMemFile file(data.data(), static_cast<UINT>(data.size()));
        const Clock::time_point start = Clock::now();
        {
            CArchive ar(&file, CArchive::load, 4096);
            c.load(ar);
        }
        reads.push_back(Seconds(start));
    }
    result.bytes = data.size();
    result.writeSeconds = Median(writes);
    result.readSeconds = Median(reads);
    return result;
}

Result RunOnDisk(const Case& c, int runs, const CString& path)
{
    Result result;
    std::vector<double> writes, reads;
    for (int r = 0; r < runs; ++r) {
        const Clock::time_point start = Clock::now();
        {
            CFile file(path, CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store, 4096);
            c.store(ar);
            ar.Close();
            file.Close();
        }
        writes.push_back(Seconds(start));
    }
    for (int r = 0; r < runs; ++r) {
        const Clock::time_point start = Clock::now();
        {
            CFile file(path, CFile::modeRead | CFile::shareDenyNone);
            result.bytes = file.GetLength();
            CArchive ar(&file, CArchive::load, 4096);
            c.load(ar);
        }
        reads.push_back(Seconds(start));
    }
    result.writeSeconds = Median(writes);
    result.readSeconds = Median(reads);
    return result;
}

void Print(const char* where, const std::string& label, const Result& r)
{
    const double mb = static_cast<double>(r.bytes) / 1e6;
    std::printf("%-6s %-22s %9zu  write %8.3f ms %8.1f MB/s   read %8.3f ms %8.1f MB/s\n", where,
                label.c_str(), r.bytes, r.writeSeconds * 1e3, mb / r.writeSeconds, r.readSeconds * 1e3,
                mb / r.readSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 41;

    std::vector<CString> unitNames;
    for (int i = 0; i < CUnitFile::MAX_UNITS; ++i)
        unitNames.push_back(Name("単位", i));
    CUnitFile units;
    units.SetUnits(unitNames);

    CSubjectFile subjects;
    const char* stems[] = {"建築工事科目", "コンクリート工事", "異形鉄筋 D13 加工組立"};
    for (int level = 0; level < CSubjectFile::LEVEL_COUNT; ++level) {
        std::vector<std::pair<CString, CString>> entries;
        for (int i = 0; i < CSubjectFile::MAX_SUBJECTS; ++i)
            entries.emplace_back(Name(stems[level], i), CString::FromUtf8(i % 2 ? "m3" : "式"));
        subjects.SetLevel(level, entries);
    }

    std::vector<std::pair<CString, CString>> classEntries;
    for (int i = 0; i < CClassifyFile::MAX_CLASSIFICATIONS; ++i) {
        CString strPercent;
        strPercent.Format("%d", i % 101);
        classEntries.emplace_back(Name("分類名称", i), strPercent);
    }
    CClassifyFile classes;
    classes.SetEntries(classEntries);

    const char* cells[] = {"項目名称", "数値", "12", "###,###,###", "C*E", "F(-1)", "3", "2", "A", "J"};
    CEstimationFormFile estimation;
    CPartFormFile parts;
    CInformationFormFile information;
    for (int i = 0; i < 100; ++i) {
        for (int j = 0; j < 10; ++j) {
            estimation.GetItem(i, j) = j == 0 ? Name(cells[0], i) : CString::FromUtf8(cells[j]);
            parts.GetItem(i, j) = estimation.GetItem(i, j);
            if (j < 8)
                information.GetItem(i, j) = estimation.GetItem(i, j);
        }
    }
    estimation.SetCount(100);
    parts.SetCount(100);
    information.SetCount(100);

    // Loads read over tables of their own, as start-up reads into the application's.
    CUnitFile unitsRead;
    CSubjectFile subjectsRead;
    CClassifyFile classesRead;
    CEstimationFormFile estimationRead;
    CPartFormFile partsRead;
    CInformationFormFile informationRead;
    std::vector<Case> cases = {
        {"units (1000)", [&](CArchive& ar) { units.Serialize(ar); },
         [&](CArchive& ar) { unitsRead.Serialize(ar); }},
        {"large subjects (1000)", [&](CArchive& ar) { subjects.SerializeLarge(ar); },
         [&](CArchive& ar) { subjectsRead.SerializeLarge(ar); }},
        {"middle subjects (1000)", [&](CArchive& ar) { subjects.SerializeMiddle(ar); },
         [&](CArchive& ar) { subjectsRead.SerializeMiddle(ar); }},
        {"small subjects (1000)", [&](CArchive& ar) { subjects.SerializeSmall(ar); },
         [&](CArchive& ar) { subjectsRead.SerializeSmall(ar); }},
        {"classifications (1000)", [&](CArchive& ar) { classes.Serialize(ar); },
         [&](CArchive& ar) { classesRead.Serialize(ar); }},
        {"estimation form (100)", [&](CArchive& ar) { estimation.Serialize(ar); },
         [&](CArchive& ar) { estimationRead.Serialize(ar); }},
        {"parts form (100)", [&](CArchive& ar) { parts.Serialize(ar); },
         [&](CArchive& ar) { partsRead.Serialize(ar); }},
        {"information form (100)", [&](CArchive& ar) { information.Serialize(ar); },
         [&](CArchive& ar) { informationRead.Serialize(ar); }},
    };

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("bench_masters-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const CString path = SystemPathFromNative((dir / "table.bin").string());

    std::printf("bench_masters: median of %d runs per case, CArchive with a 4096-byte buffer\n", runs);
    Result memoryTotal, diskTotal;
    for (const Case& c : cases) {
        const Result memory = RunInMemory(c, runs);
        Print("memory", c.label, memory);
        memoryTotal.bytes += memory.bytes;
        memoryTotal.writeSeconds += memory.writeSeconds;
        memoryTotal.readSeconds += memory.readSeconds;
    }
    for (const Case& c : cases) {
        const Result disk = RunOnDisk(c, runs, path);
        Print("disk", c.label, disk);
        diskTotal.bytes += disk.bytes;
        diskTotal.writeSeconds += disk.writeSeconds;
        diskTotal.readSeconds += disk.readSeconds;
    }
    Print("memory", "all eight files", memoryTotal);
    Print("disk", "all eight files", diskTotal);

    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
