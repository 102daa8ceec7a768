#include "app/SharedRecords.h"

#include "app/CMorvelDocManager.h"
#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/Path.h"

IMPLEMENT_SERIAL(CPrintFormEntry, CObject, 0)
IMPLEMENT_SERIAL(CFieldRefRecord, CObject, 0)
IMPLEMENT_SERIAL(CRectRecord, CObject, 0)
IMPLEMENT_SERIAL(CDosFileEntry, CObject, 0)
IMPLEMENT_DYNAMIC(COpenPrintDocEntry, CObject)
IMPLEMENT_DYNAMIC(CPrintFileListItem, CObject)
IMPLEMENT_DYNAMIC(CPrintFileListEntry, CObject)
IMPLEMENT_SERIAL(CStringArrayHolder, CObject, 0)

CPrintFormEntry::~CPrintFormEntry() = default;

void StorePrintFormList(CArchive& ar, const CObArray& list)
{
    if (list.GetSize() > 0xFFFF)
        throw CArchiveException(CArchiveException::genericException);
    ar << static_cast<WORD>(list.GetSize());
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        const auto* pEntry = static_cast<const CPrintFormEntry*>(list.GetAt(i));
        ar << (pEntry != nullptr ? pEntry->m_strTitle : CString());
        ar << (pEntry != nullptr ? pEntry->m_strFolder : CString());
    }
}

std::vector<std::pair<CString, CString>> LoadPrintFormList(CArchive& ar)
{
    WORD nCount = 0;
    ar >> nCount;
    std::vector<std::pair<CString, CString>> entries;
    for (WORD i = 0; i < nCount; ++i) {
        CString strTitle, strFolder;
        ar >> strTitle;
        ar >> strFolder;
        entries.emplace_back(std::move(strTitle), std::move(strFolder));
    }
    return entries;
}

void ClearPrintFormList(CObArray& list)
{
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        delete list.GetAt(i);
    list.RemoveAll();
}

void SetPrintFormList(CObArray& list, std::vector<std::pair<CString, CString>> entries)
{
    ClearPrintFormList(list);
    for (auto& [strTitle, strFolder] : entries) {
        auto* pEntry = new CPrintFormEntry;
        pEntry->m_strTitle = std::move(strTitle);
        pEntry->m_strFolder = std::move(strFolder);
        list.Add(pEntry);
    }
}

CString PrintFormFolder(const CString& strFolder, const char* lpszDocumentPath)
{
    const CString strDocumentPath(lpszDocumentPath != nullptr ? lpszDocumentPath : "");
    if (strFolder.IsEmpty() || strDocumentPath.IsEmpty())
        return strFolder;
    return GetFullPathFrom(strFolder, GetFolderOfPath(strDocumentPath));
}

void KeepPrintFormsFound(CObArray& list, const char* lpszOldPath, const char* lpszNewPath)
{
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        auto* pEntry = static_cast<CPrintFormEntry*>(list.GetAt(i));
        if (pEntry == nullptr || !IsPathRelative(pEntry->m_strFolder))
            continue;
        const CString strNow = PrintFormFolder(pEntry->m_strFolder, lpszOldPath);
        if (!IsPathRelative(strNow) &&
            strNow.CompareNoCase(PrintFormFolder(pEntry->m_strFolder, lpszNewPath)) != 0)
            pEntry->m_strFolder = strNow;
    }
}

CFieldRefRecord::~CFieldRefRecord() = default;
CRectRecord::~CRectRecord() = default;
CDosFileEntry::~CDosFileEntry() = default;
COpenPrintDocEntry::~COpenPrintDocEntry() = default;
CPrintFileListItem::~CPrintFileListItem() = default;

CPrintFileListEntry::~CPrintFileListEntry()
{
    RemoveAllItems();
}

void CPrintFileListEntry::RemoveAllItems()
{
    for (INT_PTR i = 0; i < m_aItems.GetSize(); ++i)
        delete m_aItems.GetAt(i);
    m_aItems.RemoveAll();
}

CStringArrayHolder::~CStringArrayHolder()
{
    m_array.RemoveAll();
}

void CStringArrayHolder::Serialize(CArchive& ar)
{
    // The texts live only while the document is open; nothing of them is stored.
    (void)ar;
}
