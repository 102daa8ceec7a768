// The framework's collections: arrays, doubly linked lists and the string map.
//
// Indexes and positions are checked. Reading outside an array gives the empty value (a
// null pointer, 0, an empty text); writing outside it is ignored; removing clamps to what
// exists. The element references that ElementAt and the list accessors hand out for a
// missing element point at a scratch value that is reset on every such call, so a stray
// write lands nowhere. None of the pointer collections owns the objects it holds.
#pragma once

#include "CObject.h"
#include "CString.h"
#include "Types.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class CArchive;

// An opaque place in a list or a map; null means none.
struct MorvelPositionTag;
typedef MorvelPositionTag* POSITION;

// ---------------------------------------------------------------------------------------
// Arrays

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty() ? TRUE : FALSE; }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    // New elements are empty; a negative size empties the array. nGrowBy is kept for
    // the callers' sake; the storage grows geometrically.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        m_data.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0, TYPE());
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    TYPE GetAt(INT_PTR nIndex) const
    {
        return InRange(nIndex) ? m_data[static_cast<size_t>(nIndex)] : TYPE();
    }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (InRange(nIndex))
            m_data[static_cast<size_t>(nIndex)] = newElement;
    }
    TYPE& ElementAt(INT_PTR nIndex)
    {
        if (InRange(nIndex))
            return m_data[static_cast<size_t>(nIndex)];
        m_scratch = TYPE();
        return m_scratch;
    }
    const TYPE& ElementAt(INT_PTR nIndex) const
    {
        if (InRange(nIndex))
            return m_data[static_cast<size_t>(nIndex)];
        return EmptyValue();
    }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

    // Grows the array with empty elements when nIndex lies past its end; a negative
    // index is ignored.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            return;
        if (static_cast<size_t>(nIndex) >= m_data.size())
            m_data.resize(static_cast<size_t>(nIndex) + 1, TYPE());
        m_data[static_cast<size_t>(nIndex)] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_data.push_back(newElement);
        return GetSize() - 1;
    }
    // Returns the index of the first appended element.
    INT_PTR Append(const CArray& src)
    {
        const INT_PTR nOldSize = GetSize();
        if (&src == this) {
            const std::vector<TYPE> copy(m_data);
            m_data.insert(m_data.end(), copy.begin(), copy.end());
        } else {
            m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        }
        return nOldSize;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }

    // Inserting at or past the end first grows the array with empty elements up to nIndex.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            return;
        const TYPE value(newElement); // newElement may refer into the array itself
        if (static_cast<size_t>(nIndex) > m_data.size())
            m_data.resize(static_cast<size_t>(nIndex), TYPE());
        m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), value);
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (pNewArray == nullptr || nStartIndex < 0 || pNewArray->m_data.empty())
            return;
        const std::vector<TYPE> copy(pNewArray->m_data);
        if (static_cast<size_t>(nStartIndex) > m_data.size())
            m_data.resize(static_cast<size_t>(nStartIndex), TYPE());
        m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
    }
    // Removes what exists of the range nIndex .. nIndex + nCount - 1.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0 || static_cast<size_t>(nIndex) >= m_data.size())
            return;
        const size_t last =
            std::min(m_data.size(), static_cast<size_t>(nIndex) + static_cast<size_t>(nCount));
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + static_cast<std::ptrdiff_t>(last));
    }

protected:
    bool InRange(INT_PTR nIndex) const { return nIndex >= 0 && static_cast<size_t>(nIndex) < m_data.size(); }
    static const TYPE& EmptyValue()
    {
        static const TYPE empty{};
        return empty;
    }

    std::vector<TYPE> m_data;
    TYPE m_scratch{};
    INT_PTR m_nGrowBy = -1;
};

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
public:
    CObArray() = default;
    // The count, then each element as an object record. Loading replaces the contents;
    // on a failure the array keeps the objects read so far, for the owner to free.
    void Serialize(CArchive& ar) override;
};

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    CPtrArray() = default;
};

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
public:
    CByteArray() = default;
    void Serialize(CArchive& ar) override;
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
public:
    CWordArray() = default;
    // The count, then the words, little-endian.
    void Serialize(CArchive& ar) override;
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
public:
    CDWordArray() = default;
    // The count, then the double words, little-endian.
    void Serialize(CArchive& ar) override;
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
public:
    CStringArray() = default;
    // The count, then each text as an archive string.
    void Serialize(CArchive& ar) override;
};

// ---------------------------------------------------------------------------------------
// Lists

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
    explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CList() override { RemoveAll(); }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0 ? TRUE : FALSE; }

    TYPE& GetHead() { return m_pHead != nullptr ? m_pHead->data : Scratch(); }
    const TYPE& GetHead() const { return m_pHead != nullptr ? m_pHead->data : EmptyValue(); }
    TYPE& GetTail() { return m_pTail != nullptr ? m_pTail->data : Scratch(); }
    const TYPE& GetTail() const { return m_pTail != nullptr ? m_pTail->data : EmptyValue(); }

    // On an empty list these give the empty value and change nothing.
    TYPE RemoveHead()
    {
        if (m_pHead == nullptr)
            return TYPE();
        CNode* node = m_pHead;
        TYPE value = std::move(node->data);
        Unlink(node);
        return value;
    }
    TYPE RemoveTail()
    {
        if (m_pTail == nullptr)
            return TYPE();
        CNode* node = m_pTail;
        TYPE value = std::move(node->data);
        Unlink(node);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(ToPosition(m_pHead), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(ToPosition(m_pTail), newElement); }
    void AddHead(const CList* pNewList)
    {
        if (pNewList == nullptr)
            return;
        // Walk backwards so that the new elements keep their order in front.
        const std::vector<TYPE> values = pNewList->ToVector();
        for (auto it = values.rbegin(); it != values.rend(); ++it)
            AddHead(*it);
    }
    void AddTail(const CList* pNewList)
    {
        if (pNewList == nullptr)
            return;
        for (const TYPE& value : pNewList->ToVector())
            AddTail(value);
    }

    void RemoveAll()
    {
        CNode* node = m_pHead;
        while (node != nullptr) {
            CNode* next = node->pNext;
            delete node;
            node = next;
        }
        m_pHead = m_pTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pTail); }
    // The element at rPosition, and rPosition moves on (null after the last one).
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* node = FromPosition(rPosition);
        if (node == nullptr)
            return Scratch();
        rPosition = ToPosition(node->pNext);
        return node->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const
    {
        const CNode* node = FromPosition(rPosition);
        if (node == nullptr)
            return EmptyValue();
        rPosition = ToPosition(node->pNext);
        return node->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* node = FromPosition(rPosition);
        if (node == nullptr)
            return Scratch();
        rPosition = ToPosition(node->pPrev);
        return node->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const
    {
        const CNode* node = FromPosition(rPosition);
        if (node == nullptr)
            return EmptyValue();
        rPosition = ToPosition(node->pPrev);
        return node->data;
    }
    TYPE& GetAt(POSITION position)
    {
        CNode* node = FromPosition(position);
        return node != nullptr ? node->data : Scratch();
    }
    const TYPE& GetAt(POSITION position) const
    {
        const CNode* node = FromPosition(position);
        return node != nullptr ? node->data : EmptyValue();
    }
    void SetAt(POSITION pos, ARG_TYPE newElement)
    {
        if (CNode* node = FromPosition(pos))
            node->data = newElement;
    }
    void RemoveAt(POSITION position)
    {
        if (CNode* node = FromPosition(position))
            Unlink(node);
    }

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CNode* before = FromPosition(position);
        if (before == nullptr)
            before = m_pHead;
        CNode* node = new CNode{nullptr, nullptr, TYPE(newElement)};
        if (before == nullptr) {
            m_pHead = m_pTail = node;
        } else {
            node->pNext = before;
            node->pPrev = before->pPrev;
            if (before->pPrev != nullptr)
                before->pPrev->pNext = node;
            else
                m_pHead = node;
            before->pPrev = node;
        }
        ++m_nCount;
        return ToPosition(node);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CNode* after = FromPosition(position);
        if (after == nullptr)
            after = m_pTail;
        CNode* node = new CNode{nullptr, nullptr, TYPE(newElement)};
        if (after == nullptr) {
            m_pHead = m_pTail = node;
        } else {
            node->pPrev = after;
            node->pNext = after->pNext;
            if (after->pNext != nullptr)
                after->pNext->pPrev = node;
            else
                m_pTail = node;
            after->pNext = node;
        }
        ++m_nCount;
        return ToPosition(node);
    }

    // The first element equal to searchValue after startAfter (from the head when null).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        const CNode* node = FromPosition(startAfter);
        node = node != nullptr ? node->pNext : m_pHead;
        for (; node != nullptr; node = node->pNext) {
            if (node->data == searchValue)
                return ToPosition(node);
        }
        return nullptr;
    }
    // The position of the nIndex-th element, or null when there is none.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        const CNode* node = m_pHead;
        while (nIndex-- > 0)
            node = node->pNext;
        return ToPosition(node);
    }

protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

    static POSITION ToPosition(const CNode* node)
    {
        return reinterpret_cast<POSITION>(const_cast<CNode*>(node));
    }
    static CNode* FromPosition(POSITION pos) { return reinterpret_cast<CNode*>(pos); }

    void Unlink(CNode* node)
    {
        if (node->pPrev != nullptr)
            node->pPrev->pNext = node->pNext;
        else
            m_pHead = node->pNext;
        if (node->pNext != nullptr)
            node->pNext->pPrev = node->pPrev;
        else
            m_pTail = node->pPrev;
        delete node;
        --m_nCount;
    }
    std::vector<TYPE> ToVector() const
    {
        std::vector<TYPE> values;
        values.reserve(static_cast<size_t>(m_nCount));
        for (const CNode* node = m_pHead; node != nullptr; node = node->pNext)
            values.push_back(node->data);
        return values;
    }
    TYPE& Scratch()
    {
        m_scratch = TYPE();
        return m_scratch;
    }
    static const TYPE& EmptyValue()
    {
        static const TYPE empty{};
        return empty;
    }

    CNode* m_pHead = nullptr;
    CNode* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
    TYPE m_scratch{};
};

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
    // The count (a word, or 0xFFFF and a double word), then each element from head to
    // tail as an object record. Loading appends; on a failure the list keeps the objects
    // read so far, for the owner to free.
    void Serialize(CArchive& ar) override;
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, const CString&>(nBlockSize) {}
    void Serialize(CArchive& ar) override;
};

// ---------------------------------------------------------------------------------------
// Typed pointer collections over CObList/CPtrList and CObArray/CPtrArray: the same
// operations, taking and giving TYPE (a pointer type).

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(const CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(const CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
    POSITION InsertBefore(POSITION position, TYPE newElement)
    {
        return BASE_CLASS::InsertBefore(position, newElement);
    }
    POSITION InsertAfter(POSITION position, TYPE newElement)
    {
        return BASE_CLASS::InsertAfter(position, newElement);
    }
    POSITION Find(TYPE searchValue, POSITION startAfter = nullptr) const
    {
        return BASE_CLASS::Find(searchValue, startAfter);
    }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1)
    {
        BASE_CLASS::InsertAt(nIndex, newElement, nCount);
    }
    void InsertAt(INT_PTR nStartIndex, const CTypedPtrArray* pNewArray)
    {
        BASE_CLASS::InsertAt(nStartIndex, pNewArray);
    }
};

// ---------------------------------------------------------------------------------------
// String map

// Keys are compared exactly, byte for byte (letter case counts). Iteration runs in the
// order the keys were first added; removing the entry just returned by GetNextAssoc
// during a walk is allowed.
class CMapStringToString : public CObject {
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(INT_PTR nBlockSize = 10);
    ~CMapStringToString() override;
    CMapStringToString(const CMapStringToString&) = delete;
    CMapStringToString& operator=(const CMapStringToString&) = delete;

    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_index.size()); }
    INT_PTR GetSize() const { return GetCount(); }
    BOOL IsEmpty() const { return m_index.empty() ? TRUE : FALSE; }

    BOOL Lookup(const char* key, CString& rValue) const;
    BOOL LookupKey(const char* key, const char*& rKey) const;
    void SetAt(const char* key, const char* newValue);
    // The value for key, added empty when missing.
    CString& operator[](const char* key);
    BOOL RemoveKey(const char* key);
    void RemoveAll();

    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, CString& rValue) const;

    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE);

    // The count, then key and value of each entry as archive strings. Loading adds to
    // the map.
    void Serialize(CArchive& ar) override;

private:
    struct CAssoc {
        CAssoc* pNext;
        CAssoc* pPrev;
        CString key;
        CString value;
    };
    CAssoc* Find(const char* key) const;
    CAssoc* Add(const char* key);

    std::unordered_map<std::string, CAssoc*> m_index;
    CAssoc* m_pHead = nullptr;
    CAssoc* m_pTail = nullptr;
};
