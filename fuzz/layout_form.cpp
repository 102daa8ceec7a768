// Fuzz target: a form file read for a print layout (ReadLayoutForm: the estimation,
// information or parts form a new layout or a change of form names). The first byte
// chooses the form; the rest is the file. What a user relies on:
// - a file that is not read leaves the layout's form exactly as it was;
// - a form that is read writes out and reads back to the same bytes.
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "fuzz/support/FuzzSupport.h"
#include "layout/printform/FormFileReading.h"
#include "platform/base/Profile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

template <class Form>
std::vector<uint8_t> Stored(Form& form)
{
    return FuzzStore([&](CArchive& ar) { form.Serialize(ar); });
}

template <class Form>
void Check(const char* lpszKey, const uint8_t* data, size_t size)
{
    FuzzWriteNativeFile(FuzzNativeFolder() + "form.frm", data, size);
    // The layout's form before: a few items of its own.
    Form form;
    form.SetCount(2);
    form.SetItem(0, Form::colName, "before");
    form.SetItem(1, Form::colWidth, "12");
    const std::vector<uint8_t> before = Stored(form);
    if (!ReadLayoutForm(lpszKey, "form.frm", form)) {
        FUZZ_CHECK(Stored(form) == before);
        return;
    }
    const std::vector<uint8_t> stored = Stored(form);
    FuzzWriteNativeFile(FuzzNativeFolder() + "again.frm", stored.data(), stored.size());
    Form again;
    FUZZ_CHECK(ReadLayoutForm(lpszKey, "again.frm", again));
    FUZZ_CHECK(Stored(again) == stored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static CProfileFile s_profile(FuzzFolder() + "morvel.ini");
    static CMorvelSettings s_settings(s_profile);
    CMorvelSettings::SetCurrent(&s_settings);
    for (const char* key : {"Estimation Form", "Information Form", "Parts Form"})
        s_settings.WritePathSetting(key, FuzzFolder());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    FuzzMessageBoxes boxes;
    switch (data[0] % 3) {
    case 0:
        Check<CEstimationFormFile>("Estimation Form", data + 1, size - 1);
        break;
    case 1:
        Check<CInformationFormFile>("Information Form", data + 1, size - 1);
        break;
    default:
        Check<CPartFormFile>("Parts Form", data + 1, size - 1);
        break;
    }
    // A wrong magic says so once; nothing else speaks.
    FUZZ_CHECK(boxes.texts.size() <= 1);
    return 0;
}
