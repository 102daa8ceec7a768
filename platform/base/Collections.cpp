// Serialisation of the collections and the string map.

#include "platform/base/Collections.h"

#include "platform/base/CArchive.h"

#include <algorithm>

namespace {

// A stored count is not trusted for reserving memory: a damaged file could claim billions
// of elements. Reserve at most this many up front; the rest grows as elements arrive.
constexpr DWORD kMaxReserve = 4096;

// The count, then each value as the archive writes that type.
template <class T>
void SerializeValues(CArchive& ar, std::vector<T>& data)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(data.size()));
        for (const T& value : data)
            ar << value;
        return;
    }
    const DWORD nCount = ar.ReadCount();
    data.clear();
    data.reserve(std::min(nCount, kMaxReserve));
    for (DWORD i = 0; i < nCount; ++i) {
        T value{};
        ar >> value;
        data.push_back(std::move(value));
    }
}

} // namespace

IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)

// ---------------------------------------------------------------------------------------
// Arrays

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_data.size()));
        for (CObject* pOb : m_data)
            ar << pOb;
        return;
    }
    const DWORD nCount = ar.ReadCount();
    m_data.clear();
    m_data.reserve(std::min(nCount, kMaxReserve));
    for (DWORD i = 0; i < nCount; ++i)
        m_data.push_back(ar.ReadObject(nullptr));
}

void CByteArray::Serialize(CArchive& ar)
{
    // Bytes are written in one block.
    if (ar.IsStoring() && !m_data.empty()) {
        ar.WriteCount(static_cast<DWORD>(m_data.size()));
        ar.Write(m_data.data(), static_cast<UINT>(m_data.size()));
        return;
    }
    SerializeValues(ar, m_data);
}

void CWordArray::Serialize(CArchive& ar)
{
    SerializeValues(ar, m_data);
}

void CDWordArray::Serialize(CArchive& ar)
{
    SerializeValues(ar, m_data);
}

void CStringArray::Serialize(CArchive& ar)
{
    SerializeValues(ar, m_data);
}

// ---------------------------------------------------------------------------------------
// Lists

void CObList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nCount));
        for (const CNode* node = m_pHead; node != nullptr; node = node->pNext)
            ar << node->data;
        return;
    }
    const DWORD nCount = ar.ReadCount();
    for (DWORD i = 0; i < nCount; ++i)
        AddTail(ar.ReadObject(nullptr));
}

void CStringList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nCount));
        for (const CNode* node = m_pHead; node != nullptr; node = node->pNext)
            ar << node->data;
        return;
    }
    const DWORD nCount = ar.ReadCount();
    for (DWORD i = 0; i < nCount; ++i) {
        CString s;
        ar >> s;
        AddTail(s);
    }
}

// ---------------------------------------------------------------------------------------
// String map

CMapStringToString::CMapStringToString(INT_PTR /*nBlockSize*/) {}

CMapStringToString::~CMapStringToString()
{
    RemoveAll();
}

CMapStringToString::CAssoc* CMapStringToString::Find(const char* key) const
{
    auto it = m_index.find(std::string(key != nullptr ? key : ""));
    return it != m_index.end() ? it->second : nullptr;
}

CMapStringToString::CAssoc* CMapStringToString::Add(const char* key)
{
    const std::string k(key != nullptr ? key : "");
    CAssoc* assoc = new CAssoc{nullptr, m_pTail, CString(k), CString()};
    try {
        m_index.emplace(k, assoc);
    } catch (...) {
        delete assoc;
        throw;
    }
    if (m_pTail != nullptr)
        m_pTail->pNext = assoc;
    else
        m_pHead = assoc;
    m_pTail = assoc;
    return assoc;
}

BOOL CMapStringToString::Lookup(const char* key, CString& rValue) const
{
    const CAssoc* assoc = Find(key);
    if (assoc == nullptr)
        return FALSE;
    rValue = assoc->value;
    return TRUE;
}

BOOL CMapStringToString::LookupKey(const char* key, const char*& rKey) const
{
    const CAssoc* assoc = Find(key);
    if (assoc == nullptr)
        return FALSE;
    rKey = assoc->key.c_str();
    return TRUE;
}

void CMapStringToString::SetAt(const char* key, const char* newValue)
{
    (*this)[key] = newValue;
}

CString& CMapStringToString::operator[](const char* key)
{
    CAssoc* assoc = Find(key);
    if (assoc == nullptr)
        assoc = Add(key);
    return assoc->value;
}

BOOL CMapStringToString::RemoveKey(const char* key)
{
    auto it = m_index.find(std::string(key != nullptr ? key : ""));
    if (it == m_index.end())
        return FALSE;
    CAssoc* assoc = it->second;
    m_index.erase(it);
    if (assoc->pPrev != nullptr)
        assoc->pPrev->pNext = assoc->pNext;
    else
        m_pHead = assoc->pNext;
    if (assoc->pNext != nullptr)
        assoc->pNext->pPrev = assoc->pPrev;
    else
        m_pTail = assoc->pPrev;
    delete assoc;
    return TRUE;
}

void CMapStringToString::RemoveAll()
{
    CAssoc* assoc = m_pHead;
    while (assoc != nullptr) {
        CAssoc* next = assoc->pNext;
        delete assoc;
        assoc = next;
    }
    m_pHead = m_pTail = nullptr;
    m_index.clear();
}

POSITION CMapStringToString::GetStartPosition() const
{
    return reinterpret_cast<POSITION>(m_pHead);
}

void CMapStringToString::GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const
{
    const CAssoc* assoc = reinterpret_cast<const CAssoc*>(rNextPosition);
    if (assoc == nullptr) {
        rKey.Empty();
        rValue.Empty();
        return;
    }
    rKey = assoc->key;
    rValue = assoc->value;
    rNextPosition = reinterpret_cast<POSITION>(assoc->pNext);
}

void CMapStringToString::InitHashTable(UINT nHashSize, BOOL /*bAllocNow*/)
{
    m_index.reserve(nHashSize);
}

void CMapStringToString::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_index.size()));
        for (const CAssoc* assoc = m_pHead; assoc != nullptr; assoc = assoc->pNext)
            ar << assoc->key << assoc->value;
        return;
    }
    const DWORD nCount = ar.ReadCount();
    for (DWORD i = 0; i < nCount; ++i) {
        CString key, value;
        ar >> key >> value;
        SetAt(key, value);
    }
}
