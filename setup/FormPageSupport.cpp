#include "setup/FormPageSupport.h"

CPickList MakePickList(const char* lpszTitle,
                       std::initializer_list<std::pair<const char*, const char*>> entries)
{
    CPickList list;
    list.title = CString::FromUtf8(lpszTitle);
    for (const auto& [shown, stored] : entries) {
        list.shown.push_back(CString::FromUtf8(shown));
        list.stored.push_back(CString::FromUtf8(stored));
    }
    return list;
}
