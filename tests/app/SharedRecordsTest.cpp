// The small shared records: their starting values, ownership and storage.
#include "app/SharedRecords.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"

#include <gtest/gtest.h>

TEST(SharedRecords, ConstructorsGiveTheStartingValues)
{
    CFieldRefRecord field;
    EXPECT_EQ(field.m_nValue, 1);
    EXPECT_TRUE(field.m_strKey.IsEmpty());
    CPrintFormEntry entry;
    EXPECT_TRUE(entry.m_strTitle.IsEmpty());
    EXPECT_TRUE(entry.m_strFolder.IsEmpty());
    CDosFileEntry dos;
    EXPECT_EQ(dos.m_nFlag, 0);
    COpenPrintDocEntry open;
    EXPECT_EQ(open.m_pDocument, nullptr);
    EXPECT_EQ(open.m_nFlag, 0);
    CRectRecord rect;
    EXPECT_TRUE(rect.m_rect.IsRectNull());
}

TEST(SharedRecords, RecordsAreFreedThroughTheBaseObject)
{
    // An array of records deleted as CObject pointers, as the documents do; the sanitizer
    // build reports a record that is not freed whole.
    CObArray records;
    records.Add(new CPrintFormEntry);
    records.Add(new CFieldRefRecord);
    CPrintFileListEntry* pList = new CPrintFileListEntry;
    pList->m_aItems.Add(new CPrintFileListItem);
    pList->m_aItems.Add(new CPrintFileListItem);
    records.Add(pList);
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        delete records.GetAt(i);
    records.RemoveAll();
}

TEST(SharedRecords, ListEntryDeletesItsItems)
{
    CPrintFileListEntry entry;
    auto* pItem = new CPrintFileListItem;
    pItem->m_strText = "A.MMP";
    entry.m_aItems.Add(pItem);
    entry.RemoveAllItems();
    EXPECT_EQ(entry.m_aItems.GetSize(), 0);
}

TEST(SharedRecords, StringArrayHolderForwardsAndStoresNothing)
{
    CStringArrayHolder holder;
    holder.Add("a");
    holder.SetAtGrow(3, "d");
    EXPECT_EQ(holder.GetSize(), 4);
    EXPECT_EQ(holder.GetAt(3), "d");
    EXPECT_EQ(holder.GetAt(1), "");

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        holder.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(file.GetLength(), 0u);

    holder.RemoveAll();
    EXPECT_EQ(holder.GetSize(), 0);
}

TEST(SharedRecords, SerialisableRecordsAreKnownByTheirClassNames)
{
    for (const char* name :
         {"CPrintFormEntry", "CFieldRefRecord", "CRectRecord", "CDosFileEntry", "CStringArrayHolder"}) {
        CRuntimeClass* pClass = CRuntimeClass::FromName(name);
        ASSERT_NE(pClass, nullptr) << name;
        CObject* pObject = pClass->CreateObject();
        ASSERT_NE(pObject, nullptr) << name;
        EXPECT_TRUE(pObject->IsKindOf(pClass));
        delete pObject;
    }
}
