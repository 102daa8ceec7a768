// CObject and the runtime class registry.

#include "platform/base/CObject.h"

#include <cstring>
#include <mutex>
#include <vector>

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr,
                                       nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &CObject::classCObject;
}

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != 0xFFFF ? TRUE : FALSE;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const
{
    if (m_pfnCreateObject == nullptr)
        return nullptr;
    return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    if (pBaseClass == nullptr)
        return FALSE;
    for (const CRuntimeClass* p = this; p != nullptr; p = p->m_pBaseClass) {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

namespace {

// Classes register from static initialisers in any translation unit, so the registry is
// created on first use rather than as a namespace-scope object.
struct ClassRegistry {
    std::mutex lock;
    std::vector<CRuntimeClass*> classes;
};

ClassRegistry& Registry()
{
    static ClassRegistry registry;
    return registry;
}

} // namespace

void CRuntimeClass::Register(CRuntimeClass* pClass)
{
    if (pClass == nullptr || pClass->m_lpszClassName == nullptr)
        return;
    ClassRegistry& reg = Registry();
    std::lock_guard<std::mutex> guard(reg.lock);
    for (CRuntimeClass* p : reg.classes) {
        // The first class registered under a name keeps it: a file names a class, and
        // two different classes answering to one name would make reading ambiguous.
        if (p == pClass || std::strcmp(p->m_lpszClassName, pClass->m_lpszClassName) == 0)
            return;
    }
    reg.classes.push_back(pClass);
}

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName)
{
    if (lpszClassName == nullptr)
        return nullptr;
    ClassRegistry& reg = Registry();
    std::lock_guard<std::mutex> guard(reg.lock);
    for (CRuntimeClass* p : reg.classes) {
        // Names in files are compared exactly, as they were written.
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    }
    return nullptr;
}
