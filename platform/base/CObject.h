// CObject and runtime classes. Serialisable classes register themselves by name in one
// process-wide registry, so that an archive can create an object from its class record.
#pragma once

#include "Types.h"

class CArchive;
class CObject;

// A schema number or'ed with this flag lets a class read older schemas itself: the archive
// hands the stored number to Serialize through CArchive::GetObjectSchema instead of
// rejecting the record.
constexpr UINT VERSIONABLE_SCHEMA = 0x80000000u;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                  // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)(); // null: not dynamically creatable
    CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registry of serialisable classes, looked up by the name stored in files.
    static CRuntimeClass* FromName(const char* lpszClassName);
    static void Register(CRuntimeClass* pClass);
};

struct CClassRegistrar {
    explicit CClassRegistrar(CRuntimeClass* pClass) { CRuntimeClass::Register(pClass); }
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);
    BOOL IsSerializable() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static CRuntimeClass class##class_name;                                                                  \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                        \
    DECLARE_DYNAMIC(class_name)                                                                              \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                                                           \
    DECLARE_DYNCREATE(class_name)                                                                            \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define MORVEL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                          \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)),        \
                                                   static_cast<UINT>(wSchema), pfnNew,                       \
                                                   RUNTIME_CLASS(base_class_name)};                          \
    CRuntimeClass* class_name::GetRuntimeClass() const                                                       \
    {                                                                                                        \
        return RUNTIME_CLASS(class_name);                                                                    \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                                       \
    MORVEL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                                     \
    CObject* class_name::CreateObject()                                                                      \
    {                                                                                                        \
        return new class_name;                                                                               \
    }                                                                                                        \
    MORVEL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                               \
    CObject* class_name::CreateObject()                                                                      \
    {                                                                                                        \
        return new class_name;                                                                               \
    }                                                                                                        \
    MORVEL_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)            \
    static CClassRegistrar _morvel_register_##class_name(RUNTIME_CLASS(class_name));                         \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                                                     \
    {                                                                                                        \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                            \
        return ar;                                                                                           \
    }
