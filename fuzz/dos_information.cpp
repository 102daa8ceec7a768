// Fuzz target: the DOS edition's information definitions "JYOUHOU.ITJ". The reader keeps
// at most 27 items, a widened item of the untagged form has no formula or rounding, and a
// file it refuses leaves the items it had read before.
#include "dosconvert/DosFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const std::string& Folder()
{
    static const std::string s_folder = [] {
        char templ[] = "/tmp/fuzz-dos-information-XXXXXX";
        const char* p = mkdtemp(templ);
        return std::string(p != nullptr ? p : "/tmp");
    }();
    return s_folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = Folder() + "/JYOUHOU.ITJ";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return 0;
    if (size > 0) // an empty input may come without bytes to point at
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    CDosTables& t = CDosTables::Get();
    t.environment.informationDefinitions = Folder().c_str();
    DosInformationItem previous;
    previous.name = "before";
    t.informationItems.assign(2, previous);
    t.bTagged = TRUE;
    const int nResult = ReadDosFormDefinitions(dosKindInformation);
    if (nResult != 1 && nResult != -1)
        std::abort();
    if (nResult == -1 &&
        (t.informationItems.size() != 2 || t.informationItems[1].name != "before" || !t.bTagged))
        std::abort();
    if (t.informationItems.size() > CDosTables::MAX_INFORMATION_ITEMS)
        std::abort();
    for (const DosInformationItem& item : t.informationItems) {
        if (item.value.GetLength() > 66 || item.name.GetLength() > 17 || item.picture.GetLength() > 21)
            std::abort();
        if (!t.bTagged && (!item.formula.IsEmpty() || !item.rounding.IsEmpty()))
            std::abort();
    }
    return 0;
}
