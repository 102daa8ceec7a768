#include "app/SharedRecords.h"

#include "platform/base/CArchive.h"

IMPLEMENT_SERIAL(CPrintFormEntry, CObject, 0)
IMPLEMENT_SERIAL(CFieldRefRecord, CObject, 0)
IMPLEMENT_SERIAL(CRectRecord, CObject, 0)
IMPLEMENT_SERIAL(CDosFileEntry, CObject, 0)
IMPLEMENT_DYNAMIC(COpenPrintDocEntry, CObject)
IMPLEMENT_DYNAMIC(CPrintFileListItem, CObject)
IMPLEMENT_DYNAMIC(CPrintFileListEntry, CObject)
IMPLEMENT_SERIAL(CStringArrayHolder, CObject, 0)

CPrintFormEntry::~CPrintFormEntry() = default;
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
