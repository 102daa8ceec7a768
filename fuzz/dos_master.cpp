// Fuzz target: the DOS edition's masters ("TANNI.TDT", "KAMOKU1.KM1", "BUNRUI.BDT"). The
// same bytes are read as each master: a master takes at most 99 entries, every field it
// takes lies inside its record, and a master it refuses leaves the table read before.
#include "dosconvert/DosFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string& Folder()
{
    static const std::string s_folder = [] {
        char templ[] = "/tmp/fuzz-dos-master-XXXXXX";
        const char* p = mkdtemp(templ);
        const std::string folder(p != nullptr ? p : "/tmp");
        // Units and classifications need a definition file: leading field and one column.
        std::vector<uint8_t> defs(4 + 40 + 2 * 86, 0);
        defs[0] = 86;
        defs[2] = 2;
        defs[44 + 86 + 20] = 3;
        if (std::FILE* f = std::fopen((folder + "/MEISAI.ITM").c_str(), "wb")) {
            std::fwrite(defs.data(), 1, defs.size(), f);
            std::fclose(f);
        }
        return folder;
    }();
    return s_folder;
}

void Write(const char* name, const uint8_t* data, size_t size)
{
    if (std::FILE* f = std::fopen((Folder() + "/" + name).c_str(), "wb")) {
        if (size > 0) // an empty input may come without bytes to point at
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDosTables& t = CDosTables::Get();
    t.environment.masters = Folder().c_str();
    t.environment.estimateDefinitions = Folder().c_str();
    t.environment.partsDefinitions = Folder().c_str();
    Write("TANNI.TDT", data, size);
    Write("KAMOKU1.KM1", data, size);
    Write("BUNRUI.BDT", data, size);

    t.units.assign(1, CString("before"));
    t.subjects.assign(1, {CString("before"), CString()});
    t.classifications.assign(1, {CString("before"), 7});
    const bool bUnits = ReadDosUnits() == 1;
    if (t.units.empty() || t.units.size() > CDosTables::MAX_MASTER_ENTRIES)
        std::abort();
    if (!bUnits && (t.units.size() != 1 || t.units[0] != "before"))
        std::abort();
    for (const CString& unit : t.units) {
        if (bUnits && unit.GetLength() > t.nHeaderRecordSize)
            std::abort();
    }
    const bool bSubjects = ReadDosSubjects(0) == 1;
    if (t.subjects.empty() || t.subjects.size() > CDosTables::MAX_MASTER_ENTRIES)
        std::abort();
    if (!bSubjects && (t.subjects.size() != 1 || t.subjects[0].first != "before"))
        std::abort();
    const bool bClassify = ReadDosClassifications() == 1;
    if (t.classifications.empty() || t.classifications.size() > CDosTables::MAX_MASTER_ENTRIES)
        std::abort();
    if (!bClassify && (t.classifications.size() != 1 || t.classifications[0].second != 7))
        std::abort();
    // The same bytes read as units and as subjects agree on whether records were there.
    if (bSubjects && !bUnits)
        std::abort();
    return 0;
}
