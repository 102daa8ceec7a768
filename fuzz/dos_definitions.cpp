// Fuzz target: the DOS edition's column definitions ("MEISAI.ITM" and "BUZAI.ITB") and
// the record layout computed from them. A file the reader accepts describes the leading
// field and at most 100 columns of widths that are not negative, and its layout places
// every field inside the record; a refused file leaves the previous definitions.
#include "dosconvert/DosFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const std::string& Folder()
{
    static const std::string s_folder = [] {
        char templ[] = "/tmp/fuzz-dos-definitions-XXXXXX";
        const char* p = mkdtemp(templ);
        return std::string(p != nullptr ? p : "/tmp");
    }();
    return s_folder;
}

void CheckKind(int nKind, const uint8_t* data, size_t size)
{
    const std::string path = Folder() + (nKind == dosKindEstimate ? "/MEISAI.ITM" : "/BUZAI.ITB");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return;
    if (size > 0) // an empty input may come without bytes to point at
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    CDosTables& t = CDosTables::Get();
    std::vector<DosItemDefinition>& table =
        nKind == dosKindEstimate ? t.estimateDefinitions : t.partsDefinitions;
    table.assign(3, DosItemDefinition());
    table[1].width = 77;
    if (ReadDosFormDefinitions(nKind) != 1) {
        if (table.size() != 3 || table[1].width != 77)
            std::abort();
        return;
    }
    if (table.size() < 2 || table.size() > CDosTables::MAX_DEFINITIONS)
        std::abort();
    if (PrepareDosRecordLayout(nKind) != 0)
        std::abort();
    for (size_t i = 1; i < t.definitions.size(); ++i) {
        const DosItemDefinition& d = t.definitions[i];
        if (d.width < 0 || d.offset < 1 || d.offset + d.width > t.nRecordSize ||
            t.record[static_cast<size_t>(d.offset - 1)] != 0)
            std::abort();
        (void)GetDosRecordField(static_cast<int>(i));
    }
    if (t.nRecordSize % 2 != 1)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDosTables& t = CDosTables::Get();
    t.environment.estimateDefinitions = Folder().c_str();
    t.environment.partsDefinitions = Folder().c_str();
    CheckKind(dosKindEstimate, data, size);
    CheckKind(dosKindParts, data, size);
    return 0;
}
