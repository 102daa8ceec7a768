// Fuzz target: an estimate file read as "an estimate of another form" (the rows and
// information values that 他形式ﾌｧｲﾙ読込 places into the open estimate).
//
// What a user relies on: a damaged file is refused whole (nothing of it is kept), and a
// file that is read holds no more columns and information values than an estimate has,
// with every row carrying exactly its file's column count.
#include "estimate_tools/COtherFormEstimate.h"
#include "platform/base/MessageBox.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The form readers report a wrong magic in a message box: nobody is there to see it.
    static const bool s_quiet = [] {
        SetMessageBoxHandler([](const CString&, UINT, UINT) { return IDOK; });
        return true;
    }();
    (void)s_quiet;

    COtherFormEstimate file;
    const auto result = file.Read(std::string_view(reinterpret_cast<const char*>(data), size));
    if (result != COtherFormEstimate::readOk) {
        if (!file.m_rows.empty() || !file.m_information.empty())
            std::abort();
        return 0;
    }
    if (file.m_nColumns < 0 || file.m_nColumns > COtherFormEstimate::MAX_COLUMNS)
        std::abort();
    if (file.m_information.size() > COtherFormEstimate::MAX_INFORMATION)
        std::abort();
    for (const auto& row : file.m_rows) {
        if (static_cast<int>(row.cells.size()) != file.m_nColumns)
            std::abort();
    }
    return 0;
}
