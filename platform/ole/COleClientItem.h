// COleClientItem: the stand-in for an embedded or linked object of a compound document.
// Without object servers an item cannot run; it keeps the storage it was read with (or
// copied from) byte for byte, so that it is written back unchanged, and answers what the
// storage tells: its extent and cached picture ("\2OlePres000"), its type name
// ("\1CompObj") and whether it is a link ("\1Ole"). Activation says that it is not
// possible here.
//
// Stored form in the document's archive (after the class record of the derived class):
// DWORD item number (the n of "Embedding n"), DWORD drawing aspect.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/OleAspects.h"
#include "platform/base/Types.h"
#include "platform/ole/CCompoundFile.h"

#include <vector>

class COleDocument;

constexpr LONG OLEIVERB_PRIMARY = 0;
constexpr LONG OLEIVERB_OPEN = -2;
constexpr LONG OLEIVERB_HIDE = -3;

class COleClientItem : public CObject {
    DECLARE_DYNAMIC(COleClientItem)
public:
    enum ItemState { emptyState = 0, loadedState = 1, openState = 2, activeState = 3, activeUIState = 4 };

    // Joins the document's item list when one is given.
    explicit COleClientItem(COleDocument* pContainerDoc = nullptr);
    // Leaves the document's item list.
    ~COleClientItem() override;
    COleClientItem(const COleClientItem&) = delete;
    COleClientItem& operator=(const COleClientItem&) = delete;

    COleDocument* GetDocument() const { return m_pDocument; }
    DWORD GetItemNumber() const { return m_dwItemNumber; }
    // "Embedding n".
    CString GetStorageName() const;

    // The item's storage; null while it has none (an item that lost its storage).
    const CCompoundStorage* GetStorage() const { return m_bHasStorage ? &m_storage : nullptr; }
    // Makes the item from a storage (a copy is kept) with a new number of its document.
    BOOL CreateFromStorage(const CCompoundStorage& storage);
    // Makes the item a copy of another's storage and aspect, with a new number.
    BOOL CreateCloneFrom(const COleClientItem* pSrcItem);

    // The extent in HIMETRIC of the cached picture; FALSE when the item has none.
    BOOL GetExtent(SIZE* lpSize, DWORD nDrawAspect = static_cast<DWORD>(-1)) const;
    // The cached picture as a device-independent bitmap (header and bits); FALSE when the
    // item has no cached bitmap.
    BOOL GetCachedDib(std::vector<BYTE>& dib) const;
    // The type name the item's server gave (e.g. "Bitmap Image"); empty when unknown.
    CString GetUserTypeName() const;
    BOOL IsLinked() const;
    ItemState GetItemState() const { return loadedState; }
    DWORD m_nDrawAspect = DVASPECT_CONTENT;

    // Nothing runs an item here: the user is told, FALSE.
    BOOL DoVerb(LONG nVerb);
    // Releasing frees nothing more than the destructor does.
    void Release() {}
    void Close() {}
    // Leaves the document and deletes the item.
    void Delete();

    void Serialize(CArchive& ar) override;

private:
    friend class COleDocument;

    COleDocument* m_pDocument = nullptr;
    DWORD m_dwItemNumber = 0;
    CCompoundStorage m_storage;
    BOOL m_bHasStorage = FALSE;
};
