// bench_dosconvert: converts a DOS estimate (*.MIT) of 10,000 records into an estimate
// (".MMD") the way the conversion command does (the estimate definitions read, the
// records read, classified and written through the estimate's own writer, the file put in
// place) and prints the median time. A second line times a parts list of as many rows.
// It measures; it never fails on time.
//
//   bench_dosconvert [runs] [records]      (default 21 runs, 10000 records)
#include "app/CMorvelSettings.h"
#include "bench/BenchSupport.h"
#include "dosconvert/DosConversion.h"
#include "dosconvert/DosFiles.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void PutWord(Bytes& b, size_t at, int v)
{
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

void PutText(Bytes& b, size_t at, const std::string& text, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        b[at + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : ' ';
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct Column {
    const char* name;
    int type;
    int width;
    int t;
};

// A definition file: the leading field and the columns.
Bytes Definitions(const std::vector<Column>& columns)
{
    Bytes b(4 + 40 + columns.size() * 86, 0);
    PutWord(b, 0, 86);
    PutWord(b, 2, static_cast<int>(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i) {
        const size_t at = 44 + i * 86;
        PutText(b, at, CString::FromUtf8(columns[i].name).str(), 18);
        PutWord(b, at + 18, columns[i].type);
        PutWord(b, at + 20, columns[i].width);
        b[at + 83] = static_cast<uint8_t>(columns[i].t);
    }
    return b;
}

// Records of realistic rows: a heading every 50 rows, details with Japanese names,
// quantities with commas and amounts; the tail marks headings and detail rows.
Bytes Records(const std::vector<Column>& columns, int nTail, int nRecords, bool bEstimate)
{
    int sum = 0;
    for (const Column& c : columns)
        sum += c.width + 1;
    int size = sum + nTail;
    if (size % 2 == 0)
        ++size;
    const std::string names[] = {CString::FromUtf8("異形鉄筋 D13 加工組立").str(),
                                 CString::FromUtf8("普通コンクリート").str(),
                                 CString::FromUtf8("型枠 合板").str()};
    Bytes out;
    out.reserve(static_cast<size_t>(size) * static_cast<size_t>(nRecords));
    Bytes r(static_cast<size_t>(size), 0);
    for (int n = 0; n < nRecords; ++n) {
        std::fill(r.begin(), r.end(), 0);
        size_t at = 0;
        for (size_t i = 0; i < columns.size(); ++i) {
            std::string text;
            if (i == 1)
                text = n % 50 == 0 ? CString::FromUtf8("建築工事").str() : names[n % 3];
            else if (i == 2)
                text = "m3";
            else if (columns[i].type >= 3)
                text = std::to_string(1000 + n).insert(1, ",");
            PutText(r, at, text, static_cast<size_t>(columns[i].width));
            r[at + static_cast<size_t>(columns[i].width)] = 0xA0;
            at += static_cast<size_t>(columns[i].width) + 1;
        }
        if (bEstimate) {
            const size_t end = static_cast<size_t>(size);
            r[end - 19] = ' ';
            for (int d : {13, 11, 9, 7, 5, 3})
                PutText(r, end - static_cast<size_t>(d), "  ", 2);
            if (n % 50 == 0)
                PutText(r, end - 11, " 1", 2);
        }
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

template <typename Convert>
double Time(int runs, Convert convert)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const Clock::time_point start = Clock::now();
        if (convert() != 1) {
            std::fprintf(stderr, "bench_dosconvert: the conversion failed\n");
            std::exit(1);
        }
        times.push_back(MillisecondsSince(start));
    }
    return Median(times);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const int records = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 65535) : 10000;

    SetMessageBoxHandler([](const CString& text, UINT, UINT) {
        std::fprintf(stderr, "bench_dosconvert: %s\n", text.ToUtf8().c_str());
        return IDOK;
    });
    char dirTemplate[] = "/tmp/bench_dosconvert-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr) {
        std::perror("bench_dosconvert: mkdtemp");
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

    CProfileFile profile(SystemPathFromNative((dir / "bench.ini").string()));
    CMorvelSettings settings(profile);
    CMorvelSettings::SetCurrent(&settings);
    for (const char* key : {"Work Field", "Estimation Form", "Information Form", "Parts Form"})
        settings.WritePathSetting(key, SystemPathFromNative(dir.string()));

    // Eight estimate columns: name, unit (the unit column), quantity, unit price, amount,
    // remark, two codes.
    const std::vector<Column> estimate = {{"NO", 2, 2, 0},    {"名称", 2, 30, 0}, {"単位", 2, 4, 1},
                                          {"数量", 3, 10, 0}, {"単価", 3, 12, 0}, {"金額", 4, 14, 0},
                                          {"摘要", 2, 20, 0}, {"CD", 2, 6, 0},    {"歩掛", 3, 8, 0}};
    WriteFile(dir / "MEISAI.ITM", Definitions(estimate));
    {
        int sum = 0;
        for (const Column& c : estimate)
            sum += c.width + 1;
        const int size = (sum + 19) % 2 == 0 ? sum + 20 : sum + 19;
        Bytes mit(4, 0);
        PutWord(mit, 0, size);
        PutWord(mit, 2, records);
        Bytes info(106, 0);
        info[83] = 8;
        mit.insert(mit.end(), info.begin(), info.end());
        mit.insert(mit.end(), 27 * 44, 0);
        const Bytes body = Records(estimate, 19, records, true);
        mit.insert(mit.end(), body.begin(), body.end());
        WriteFile(dir / "BENCH.MIT", mit);
    }
    const std::vector<Column> parts = {
        {"NO", 2, 4, 0}, {"品名", 2, 30, 0}, {"単位", 2, 4, 0}, {"数量", 3, 10, 0}, {"単価", 4, 12, 0}};
    WriteFile(dir / "BUZAI.ITB", Definitions(parts));
    {
        int sum = 0;
        for (const Column& c : parts)
            sum += c.width + 1;
        const int size = (sum + 2) % 2 == 0 ? sum + 3 : sum + 2;
        Bytes bzi(4 + 40, 0);
        PutWord(bzi, 0, size);
        PutWord(bzi, 2, records);
        const Bytes body = Records(parts, 2, records, false);
        bzi.insert(bzi.end(), body.begin(), body.end());
        WriteFile(dir / "BENCH.BZI", bzi);
    }

    CDosTables& t = CDosTables::Get();
    t.environment.estimateDefinitions = SystemPathFromNative(dir.string());
    t.environment.partsDefinitions = SystemPathFromNative(dir.string());
    const CString mitPath = SystemPathFromNative((dir / "BENCH.MIT").string());
    const CString bziPath = SystemPathFromNative((dir / "BENCH.BZI").string());

    const double estimateMs = Time(runs, [&] {
        if (ReadDosFormDefinitions(dosKindEstimate) != 1)
            return -1;
        return ConvertDosEstimateFile(dosKindEstimate, mitPath);
    });
    const double partsMs = Time(runs, [&] {
        if (ReadDosFormDefinitions(dosKindParts) != 1)
            return -1;
        return ConvertDosPartsFile(dosKindParts, bziPath);
    });
    const auto size = std::filesystem::file_size(dir / "BENCH.MMD");
    std::printf("DOS estimate of %d records -> .MMD (%ju bytes): median %.1f ms over %d runs\n", records,
                static_cast<uintmax_t>(size), estimateMs, runs);
    std::printf("DOS parts list of %d records -> .MBD: median %.1f ms over %d runs\n", records, partsMs,
                runs);
    return 0;
}
