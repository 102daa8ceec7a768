// Fuzz target: the DOS edition's parts data files (*.BZI) converted into parts lists. A
// refused file leaves the list and the parts form of its name byte for byte as they were;
// an accepted one is a whole parts file: its magic, zoom, form, rows of three cells and no
// print layouts.
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "dosconvert/DosConversion.h"
#include "dosconvert/DosFiles.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/base/Profile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The leading field and three columns (widths 16, 8, 10; a number and a calculation).
Bytes Definitions()
{
    const int widths[] = {4, 16, 8, 10};
    const int types[] = {2, 2, 3, 4};
    Bytes b(4 + 40 + 4 * 86, 0);
    b[0] = 86;
    b[2] = 4;
    for (int i = 0; i < 4; ++i) {
        uint8_t* r = b.data() + 44 + i * 86;
        r[0] = static_cast<uint8_t>('A' + i);
        r[18] = static_cast<uint8_t>(types[i]);
        r[20] = static_cast<uint8_t>(widths[i]);
    }
    return b;
}

struct Setting {
    std::string folder;
    std::unique_ptr<CProfileFile> profile;
    std::unique_ptr<CMorvelSettings> settings;
    Bytes oldList{'o', 'l', 'd'};
    Bytes oldForm{'o', 'l', 'd', '2'};

    Setting()
    {
        char templ[] = "/tmp/fuzz-dos-parts-XXXXXX";
        const char* p = mkdtemp(templ);
        folder = p != nullptr ? p : "/tmp";
        profile = std::make_unique<CProfileFile>(SystemPathFromNative(folder + "/fuzz.ini"));
        settings = std::make_unique<CMorvelSettings>(*profile);
        CMorvelSettings::SetCurrent(settings.get());
        for (const char* key : {"Work Field", "Parts Form"})
            settings->WritePathSetting(key, SystemPathFromNative(folder));
        WriteFile(folder + "/BUZAI.ITB", Definitions());
        SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
    }
};

Setting& TheSetting()
{
    static Setting s_setting;
    return s_setting;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Setting& s = TheSetting();
    const std::string formPath = s.folder + "/" + CString("DOS部材.MBK"_sj).ToUtf8();
    WriteFile(s.folder + "/INPUT.BZI", Bytes(data, data + size));
    WriteFile(s.folder + "/INPUT.MBD", s.oldList);
    WriteFile(formPath, s.oldForm);

    CDosTables& t = CDosTables::Get();
    t.environment.partsDefinitions = SystemPathFromNative(s.folder);
    if (ReadDosFormDefinitions(dosKindParts) != 1)
        std::abort();
    const int nResult = ConvertDosPartsFile(dosKindParts, SystemPathFromNative(s.folder + "/INPUT.BZI"));
    if (nResult != 1) {
        if (nResult != -1 || ReadFile(s.folder + "/INPUT.MBD") != s.oldList ||
            ReadFile(formPath) != s.oldForm)
            std::abort();
        return 0;
    }
    // Read the list back field by field.
    const Bytes list = ReadFile(s.folder + "/INPUT.MBD");
    try {
        CMemFile file(list.data(), static_cast<UINT>(list.size()));
        CArchive ar(&file, CArchive::load, 4096);
        CString magic, formName;
        WORD zoom = 0, rows = 0, columns = 0, layouts = 1;
        ar >> magic >> zoom >> formName;
        CPartFormFile form;
        if (magic != "This is Parts Management file" || zoom != 100 || form.Serialize(ar) != 0)
            std::abort();
        ar >> rows >> columns;
        if (columns != 3)
            std::abort();
        for (int i = 0; i < rows * columns; ++i) {
            CString cell;
            ar >> cell;
        }
        ar >> layouts;
        if (layouts != 0)
            std::abort();
    } catch (CException&) {
        std::abort();
    }
    return 0;
}
