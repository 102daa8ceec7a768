// COleDocument: a document that keeps its data in a compound file and may hold embedded
// objects. The document's own archive lies in the root stream "Contents"; each embedded
// item keeps its storage in a sub-storage "Embedding n" (n the item's number, from 1).
//
// There are no object servers here. An item (COleClientItem) is the stand-in for one: it
// keeps its storage byte for byte from the file it was read from to the file it is written
// to, reads its extent and cached picture, and says that it cannot be opened.
//
// Saving makes the whole compound file in memory and replaces the old file in one step;
// when any part of it (the archive or an item's storage) cannot be written, the save fails
// with a message and the old file stays. Opening reads the whole compound file first; an
// item whose storage is missing is dropped, the rest of the document opens, and the user
// is told.
#pragma once

#include "platform/base/Collections.h"
#include "platform/ole/CCompoundFile.h"
#include "platform/ui/frames/CDocument.h"

#include <vector>

class COleClientItem;

class COleDocument : public CDocument {
    DECLARE_DYNAMIC(COleDocument)
public:
    COleDocument();
    // Deletes the items that are still in the document.
    ~COleDocument() override;

    // With compound files off the document reads and writes its archive as a plain file.
    void EnableCompoundFile(BOOL bEnable = TRUE) { m_bCompoundFile = bEnable; }
    BOOL HasCompoundFile() const { return m_bCompoundFile; }

    // ---- items --------------------------------------------------------------------------
    // Items join and leave through their constructor and destructor.
    void AddItem(COleClientItem* pItem);
    void RemoveItem(COleClientItem* pItem);
    POSITION GetStartPosition() const { return m_docItemList.GetHeadPosition(); }
    COleClientItem* GetNextClientItem(POSITION& pos) const;
    INT_PTR GetItemCount() const { return m_docItemList.GetCount(); }
    // A number no item of the document uses.
    DWORD GetNewItemNumber();
    // The item active in place in a view (with its user interface or without); null when
    // none is.
    COleClientItem* GetInPlaceActiveItem(const CView* pView) const;

    // The container's own record at the end of the archive. Files written here have none;
    // bytes found there are kept as they were read, so that a file read and written again
    // keeps its "Contents" byte for byte.
    void Serialize(CArchive& ar) override;

    // Deletes the items.
    void DeleteContents() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;

    // While OnOpenDocument reads the archive: the compound file being read, where items
    // find their storages. Null at any other time.
    const CCompoundStorage* GetLoadingStorage() const { return m_pLoadingStorage; }
    // How many items the last open dropped because their storage was missing or damaged.
    int GetDroppedItemCount() const { return m_nDroppedItems; }
    // Called by an item that found no storage while loading.
    void NoteDroppedItem() { ++m_nDroppedItems; }

    // The compound file of the last successful open or save ("Contents" and every item's
    // storage), for callers that look at what is on disk.
    const CCompoundStorage& GetLastStorage() const { return m_lastStorage; }

    // The stored target device for drawing items (empty: the screen).
    std::vector<BYTE> m_targetDevice;

    // The archive and item storages as they would be written now: the storage of every
    // item that IsItemSaved lets through. Throws what Serialize throws, and
    // CArchiveException when such an item cannot give its storage.
    CCompoundStorage MakeStorage();
    // Whether an item's storage goes into the file. Every item here; a container that keeps
    // items it no longer shows (an undo copy of a deleted object holds its item) writes
    // only those its archive refers to, so that a saved file holds what it shows.
    virtual BOOL IsItemSaved(const COleClientItem* pItem) const;
    // Reads a compound file already in memory into the document (the open without the
    // file): FALSE, with the document empty, when it is damaged. Messages as the open.
    BOOL LoadFromStorage(const CCompoundStorage& storage, LPCTSTR lpszPathName);

protected:
    BOOL m_bCompoundFile = FALSE;
    CPtrList m_docItemList;
    std::vector<BYTE> m_containerRecord;

private:
    const CCompoundStorage* m_pLoadingStorage = nullptr;
    int m_nDroppedItems = 0;
    CCompoundStorage m_lastStorage;
};
