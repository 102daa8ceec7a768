#include "engine/parts/CPMObj.h"

#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"

#include <memory>
#include <set>

IMPLEMENT_SERIAL(CPMObj, CObject, 0)

void CPMObj::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<WORD>(m_nFirstCol) << static_cast<WORD>(m_nLastCol) << static_cast<WORD>(m_nRow)
           << static_cast<WORD>(m_nLastRow);
        for (const CString& str : m_strCell)
            ar << str;
        return;
    }
    WORD wFirstCol = 0, wLastCol = 0, wRow = 0, wLastRow = 0;
    ar >> wFirstCol >> wLastCol >> wRow >> wLastRow;
    m_nFirstCol = wFirstCol;
    m_nLastCol = wLastCol;
    m_nRow = wRow;
    m_nLastRow = wLastRow;
    for (CString& str : m_strCell)
        ar >> str;
}

CPMObj* CPMObj::Clone() const
{
    auto* pCopy = new CPMObj;
    pCopy->m_nRow = m_nRow;
    pCopy->m_nLastRow = m_nLastRow;
    pCopy->m_nFirstCol = m_nFirstCol;
    pCopy->m_nLastCol = m_nLastCol;
    for (int c = 0; c < MAX_COLUMNS; ++c)
        pCopy->m_strCell[c] = m_strCell[c];
    return pCopy;
}

void CPMObjList::DeleteAll()
{
    POSITION pos = GetHeadPosition();
    while (pos != nullptr)
        delete GetNext(pos);
    RemoveAll();
}

CRect CPMObjList::GetBlock() const
{
    if (IsEmpty())
        return CRect(0, 0, 0, 0);
    const CPMObj* pFirst = GetHead();
    return CRect(pFirst->m_nFirstCol, pFirst->m_nRow, pFirst->m_nLastCol, pFirst->m_nLastRow);
}

void CPMObjList::CopyFrom(const CPMObjList& other)
{
    DeleteAll();
    POSITION pos = other.GetHeadPosition();
    while (pos != nullptr)
        AddTail(other.GetNext(pos)->Clone());
}

std::vector<BYTE> CPMObjList::StoreExchangeBytes() const
{
    CMemFile file(4096);
    {
        CArchive ar(&file, CArchive::store, 4096);
        const_cast<CPMObjList*>(this)->Serialize(ar);
        ar.Close();
    }
    return file.Detach();
}

bool CPMObjList::LoadExchangeBytes(const BYTE* pData, size_t nSize)
{
    if (pData == nullptr || nSize == 0 || nSize > 0x7FFFFFFF)
        return false;
    CObList loaded;
    // Frees whatever was read, whether or not it is kept. A damaged block can name one
    // object several times (the archive's back references): each is freed once.
    struct CFreeAll {
        CObList& list;
        ~CFreeAll()
        {
            std::set<CObject*> objects;
            POSITION pos = list.GetHeadPosition();
            while (pos != nullptr)
                objects.insert(list.GetNext(pos));
            list.RemoveAll();
            for (CObject* pObject : objects)
                delete pObject;
        }
    } freeAll{loaded};
    try {
        CMemFile file(pData, static_cast<UINT>(nSize));
        CArchive ar(&file, CArchive::load, 4096);
        // The list as the list stores it, but every element must be a row object: a damaged
        // block naming another class (a list inside the list, whose elements nothing would
        // free) is refused before that object is made.
        const DWORD nCount = ar.ReadCount();
        for (DWORD i = 0; i < nCount; ++i)
            loaded.AddTail(ar.ReadObject(RUNTIME_CLASS(CPMObj)));
        ar.Close();
    } catch (const CException&) {
        return false;
    } catch (...) {
        return false;
    }
    if (loaded.IsEmpty())
        return false;
    const CPMObj* pFirst = nullptr;
    int nExpectedRow = 0;
    POSITION pos = loaded.GetHeadPosition();
    while (pos != nullptr) {
        const CObject* pOb = loaded.GetNext(pos);
        const auto* pObj = pOb != nullptr && pOb->IsKindOf(RUNTIME_CLASS(CPMObj))
                               ? static_cast<const CPMObj*>(pOb)
                               : nullptr;
        if (pObj == nullptr || pObj->m_nFirstCol < 0 || pObj->m_nFirstCol > pObj->m_nLastCol ||
            pObj->m_nLastCol >= CPMObj::MAX_COLUMNS || pObj->m_nRow > pObj->m_nLastRow)
            return false;
        if (pFirst == nullptr) {
            pFirst = pObj;
            nExpectedRow = pObj->m_nRow;
        }
        if (pObj->m_nRow != nExpectedRow || pObj->m_nLastRow != pFirst->m_nLastRow ||
            pObj->m_nFirstCol != pFirst->m_nFirstCol || pObj->m_nLastCol != pFirst->m_nLastCol)
            return false;
        ++nExpectedRow;
    }
    if (nExpectedRow - 1 != pFirst->m_nLastRow)
        return false;
    DeleteAll();
    pos = loaded.GetHeadPosition();
    while (pos != nullptr)
        AddTail(static_cast<CPMObj*>(loaded.GetNext(pos)));
    loaded.RemoveAll();
    return true;
}
