#include "layout/printform/ObjectClipboard.h"

#include "layout/drawing/CDrawOleObj.h"
#include "layout/drawing/CDrawRect.h"
#include "layout/drawing/CDrawTable.h"
#include "layout/drawing/CDrawText.h"
#include "layout/printform/CDrawObjList.h"
#include "layout/printform/CPrintDoc.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/ui/core/WinApi.h"

#include <algorithm>

namespace ObjectClipboard {

namespace {

bool IsCarried(const CDrawObj* pObj)
{
    if (pObj == nullptr)
        return false;
    const auto* pOle = dynamic_cast<const CDrawOleObj*>(pObj);
    return pOle == nullptr ||
           (pOle->m_pClientItem != nullptr && pOle->m_pClientItem->GetStorage() != nullptr);
}

// Only the kinds the editor itself puts on the clipboard; an embedded object only with
// its item (one without draws, prints and opens nothing).
bool IsAcceptedClass(const CObject* pOb)
{
    const CRuntimeClass* pClass = pOb->GetRuntimeClass();
    if (pClass == RUNTIME_CLASS(CDrawOleObj))
        return static_cast<const CDrawOleObj*>(pOb)->m_pClientItem != nullptr;
    return pClass == RUNTIME_CLASS(CDrawText) || pClass == RUNTIME_CLASS(CDrawRect) ||
           pClass == RUNTIME_CLASS(CDrawTable);
}

void FreeAll(std::vector<CObject*>& made)
{
    for (CObject* pOb : made) {
        if (auto* pObj = dynamic_cast<CDrawObj*>(pOb)) {
            pObj->m_pDocument = nullptr;
            pObj->Remove();
        } else {
            delete pOb;
        }
    }
    made.clear();
}

} // namespace

UINT GetFormat()
{
    static const UINT s_nFormat = ::RegisterClipboardFormat("MFC Morvel App");
    return s_nFormat;
}

int CountCarried(const CDrawObjList& objects)
{
    int n = 0;
    for (POSITION pos = objects.GetHeadPosition(); pos != nullptr;)
        n += IsCarried(objects.GetNext(pos)) ? 1 : 0;
    return n;
}

std::vector<BYTE> Write(const CDrawObjList& objects)
{
    CMemFile file(4096);
    {
        CArchive ar(&file, CArchive::store, 4096);
        ar.WriteCount(static_cast<DWORD>(CountCarried(objects)));
        for (POSITION pos = objects.GetHeadPosition(); pos != nullptr;) {
            CDrawObj* pObj = objects.GetNext(pos);
            if (IsCarried(pObj))
                ar << static_cast<const CObject*>(pObj);
        }
        ar.Close();
    }
    return file.Detach();
}

BOOL Read(const std::vector<BYTE>& bytes, CPrintDoc* pDoc, std::vector<CDrawObj*>& objects)
{
    objects.clear();
    if (bytes.empty() || bytes.size() > 0x7FFFFFFFu)
        return FALSE;
    std::vector<CObject*> made;
    try {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load, 4096);
        // No document while reading: whatever the block names, nothing joins a layout
        // (an embedded item would otherwise enter the document's item list).
        ar.m_pDocument = nullptr;
        const DWORD nCount = ar.ReadCount();
        if (nCount > MAX_OBJECTS)
            throw CArchiveException(CArchiveException::badIndex);
        made.reserve(nCount);
        for (DWORD i = 0; i < nCount; ++i) {
            CObject* pOb = ar.ReadObject(RUNTIME_CLASS(CDrawObj));
            if (pOb == nullptr || std::find(made.begin(), made.end(), pOb) != made.end())
                throw CArchiveException(CArchiveException::badIndex);
            made.push_back(pOb);
            if (!IsAcceptedClass(pOb))
                throw CArchiveException(CArchiveException::badClass);
        }
        ar.Close();
    } catch (...) {
        // Any failure (a short block, a bad class or index, no memory): nothing comes back.
        FreeAll(made);
        return FALSE;
    }
    for (CObject* pOb : made) {
        auto* pObj = static_cast<CDrawObj*>(pOb);
        pObj->m_pDocument = pDoc;
        objects.push_back(pObj);
    }
    return TRUE;
}

void AdoptItems(const std::vector<CDrawObj*>& objects, CPrintDoc* pDoc)
{
    for (CDrawObj* pObj : objects)
        if (auto* pOle = dynamic_cast<CDrawOleObj*>(pObj); pOle && pOle->m_pClientItem)
            pOle->m_pClientItem->JoinDocument(pDoc);
}

} // namespace ObjectClipboard
