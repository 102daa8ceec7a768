// Fuzz target: the DOS edition's estimate data files (*.MIT) converted into estimates.
// The definitions are fixed (five columns); the data file is the input. A refused file
// leaves the estimate and the information form of its name byte for byte as they were; an
// accepted one is written whole and opens in the estimate.
#include "app/CMorvelSettings.h"
#include "dosconvert/DosConversion.h"
#include "dosconvert/DosFiles.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
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

// A definition file of the leading field and five columns (widths 20, 4, 10, 8, 12; the
// third a number, the fifth a sum).
Bytes Definitions()
{
    const int widths[] = {2, 20, 4, 10, 8, 12};
    const int types[] = {2, 2, 2, 3, 2, 4};
    Bytes b(4 + 40 + 6 * 86, 0);
    b[0] = 86;
    b[2] = 6;
    for (int i = 0; i < 6; ++i) {
        uint8_t* r = b.data() + 44 + i * 86;
        r[0] = static_cast<uint8_t>('A' + i);
        r[18] = static_cast<uint8_t>(types[i]);
        r[20] = static_cast<uint8_t>(widths[i]);
        r[83] = i == 2 ? 1 : 0;
    }
    return b;
}

struct Setting {
    std::string folder;
    std::unique_ptr<CProfileFile> profile;
    std::unique_ptr<CMorvelSettings> settings;
    Bytes oldEstimate{'o', 'l', 'd'};
    Bytes oldInformation{'o', 'l', 'd', '2'};

    Setting()
    {
        char templ[] = "/tmp/fuzz-dos-estimate-XXXXXX";
        const char* p = mkdtemp(templ);
        folder = p != nullptr ? p : "/tmp";
        profile = std::make_unique<CProfileFile>(SystemPathFromNative(folder + "/fuzz.ini"));
        settings = std::make_unique<CMorvelSettings>(*profile);
        CMorvelSettings::SetCurrent(settings.get());
        for (const char* key : {"Work Field", "Information Form", "Estimation Form"})
            settings->WritePathSetting(key, SystemPathFromNative(folder));
        WriteFile(folder + "/MEISAI.ITM", Definitions());
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
    WriteFile(s.folder + "/INPUT.MIT", Bytes(data, data + size));
    WriteFile(s.folder + "/INPUT.MMD", s.oldEstimate);
    WriteFile(s.folder + "/" + CString("DOS情報.MJK"_sj).ToUtf8(), s.oldInformation);

    CDosTables& t = CDosTables::Get();
    t.environment.estimateDefinitions = SystemPathFromNative(s.folder);
    if (ReadDosFormDefinitions(dosKindEstimate) != 1)
        std::abort();
    const int nResult =
        ConvertDosEstimateFile(dosKindEstimate, SystemPathFromNative(s.folder + "/INPUT.MIT"));
    if (nResult != 1) {
        if (nResult != -1 || ReadFile(s.folder + "/INPUT.MMD") != s.oldEstimate ||
            ReadFile(s.folder + "/" + CString("DOS情報.MJK"_sj).ToUtf8()) != s.oldInformation)
            std::abort();
        return 0;
    }
    CMorvelEMDoc* pDoc = new CMorvelEMDoc;
    CMorvelEMView* pView = new CMorvelEMView;
    pDoc->m_bAutoDelete = FALSE;
    pDoc->AddView(pView);
    const BOOL bOpened = pDoc->OnOpenDocument(SystemPathFromNative(s.folder + "/INPUT.MMD"));
    const int nColumns = pView->GetColumnCount();
    delete pView;
    delete pDoc;
    if (!bOpened || nColumns != 5)
        std::abort();
    return 0;
}
