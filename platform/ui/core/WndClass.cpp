#include "platform/ui/core/WndClass_p.h"

#include "platform/ui/core/CWnd.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<CWndClassInfo>>& Classes()
{
    static std::vector<std::unique_ptr<CWndClassInfo>> classes;
    return classes;
}

CWndClassInfo* FindMutable(LPCTSTR lpszClassName)
{
    if (!lpszClassName || IS_INTRESOURCE(lpszClassName))
        return nullptr;
    for (auto& p : Classes()) {
        if (p->name.CompareNoCase(lpszClassName) == 0)
            return p.get();
    }
    return nullptr;
}

} // namespace

LPCTSTR AfxRegisterClassInfo(const CWndClassInfo& info)
{
    if (CWndClassInfo* p = FindMutable(info.name)) {
        // Keep the name's storage: it was handed out before.
        CString name = p->name;
        *p = info;
        p->name = name;
        return p->name;
    }
    Classes().push_back(std::make_unique<CWndClassInfo>(info));
    return Classes().back()->name;
}

const CWndClassInfo* AfxFindClassInfo(LPCTSTR lpszClassName)
{
    return FindMutable(lpszClassName);
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // The name describes the class, so equal arguments give the same class.
    char buf[96];
    std::snprintf(buf, sizeof buf, "Afx:%x:%llx:%llx:%llx", nClassStyle,
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hCursor)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hbrBackground)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hIcon)));
    if (const CWndClassInfo* p = AfxFindClassInfo(buf))
        return p->name;
    CWndClassInfo info;
    info.name = buf;
    info.style = nClassStyle;
    info.hCursor = hCursor;
    info.hbrBackground = hbrBackground;
    info.hIcon = hIcon;
    return AfxRegisterClassInfo(info);
}
