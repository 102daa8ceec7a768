#include "platform/ui/core/Atoms_p.h"

#include "platform/ui/core/WinDefs.h"

#include <mutex>
#include <vector>

namespace {

struct CAtomTable {
    std::mutex mutex;
    std::vector<CString> names; // index + 0xC000 is the number
};

CAtomTable& Table()
{
    static CAtomTable table;
    return table;
}

} // namespace

UINT AfxRegisterAtom(const char* lpszName)
{
    if (!lpszName || !*lpszName)
        return 0;
    CAtomTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    for (size_t i = 0; i < t.names.size(); ++i) {
        if (t.names[i].CompareNoCase(lpszName) == 0)
            return WM_REGISTERED_FIRST + static_cast<UINT>(i);
    }
    if (t.names.size() >= 0x3FFF)
        return 0;
    t.names.emplace_back(lpszName);
    return WM_REGISTERED_FIRST + static_cast<UINT>(t.names.size() - 1);
}

CString AfxGetAtomName(UINT nAtom)
{
    CAtomTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (nAtom < WM_REGISTERED_FIRST || nAtom - WM_REGISTERED_FIRST >= t.names.size())
        return CString();
    return t.names[nAtom - WM_REGISTERED_FIRST];
}
