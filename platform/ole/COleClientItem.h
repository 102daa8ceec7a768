// COleClientItem: the stand-in for an embedded or linked object of a compound document.
// Without object servers an item cannot run; it keeps the storage it was read with (or
// copied from) byte for byte, so that it is written back unchanged, and answers what the
// storage tells: its extent and cached picture ("\2OlePres000"), its type name
// ("\1CompObj") and whether it is a link ("\1Ole"). Opening it says that it is not
// possible here.
//
// Stored form in the document's archive (after the class record of the derived class):
// DWORD item number (the n of "Embedding n"), DWORD drawing aspect. In an archive that is
// not the "Contents" of a compound document (the layout editor's clipboard block, a
// document kept in a plain file) the storage cannot lie beside the archive, so the item
// carries it itself ("flat"): after the two values a DWORD byte count and the storage as a
// compound file of that many bytes.
//
// Data transfer: an item offers itself as "Embed Source" (its storage as a compound file),
// "Object Descriptor" (its type, extent and the offset of the drag point) and, when it has
// a cached bitmap, as a picture (CF_DIB, which other programs receive as an image file).
// An item is made from "Embed Source" data (CreateFromData) or, as a static picture, from
// any picture (CreateStaticFromData).
//
// Running: an item is in the empty state until it has its storage, then loaded. Only an
// object server takes it further (open in the server's window, active in place, active in
// place with its user interface), and none runs here; a platform that hosts one, and the
// tests, tell the item what its server does through the in-place site calls
// (InPlaceActivate, UIActivate, UIDeactivate, InPlaceDeactivate). The item keeps its state
// and the view it runs in; the notifications (OnActivate, OnDeactivateUI, ...) move the
// state and are what a container's item overrides.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/OleAspects.h"
#include "platform/base/Types.h"
#include "platform/ole/CCompoundFile.h"

#include <vector>

class COleDocument;
class COleDataObject;
class CView;
class COleDataSource;

constexpr LONG OLEIVERB_PRIMARY = 0;
constexpr LONG OLEIVERB_OPEN = -2;
constexpr LONG OLEIVERB_HIDE = -3;

// How Close treats an item whose server holds changes not yet in its storage.
enum OLECLOSE {
    OLECLOSE_SAVEIFDIRTY = 0,
    OLECLOSE_NOSAVE = 1,
    OLECLOSE_PROMPTSAVE = 2,
};

// What a server says of its objects (GetMiscStatus), as far as containers here ask.
constexpr DWORD OLEMISC_INSIDEOUT = 0x80;
constexpr DWORD OLEMISC_ACTIVATEWHENVISIBLE = 0x100;

// What changed, in OnChange.
enum OLE_NOTIFICATION {
    OLE_CHANGED = 0,
    OLE_SAVED = 1,
    OLE_CLOSED = 2,
    OLE_RENAMED = 3,
    OLE_CHANGED_STATE = 4,
    OLE_CHANGED_ASPECT = 5,
};

// The largest storage an item takes from data (a clipboard block, a drop): above the
// storage of the largest picture taken from another program (its bitmap twice, 2 x 32 MB);
// it bounds what damaged data can make us allocate.
constexpr size_t MAX_ITEM_DATA_BYTES = size_t(96) << 20;

// "Object Descriptor": the fixed part is 52 bytes; the extent (HIMETRIC) lies at bytes 24
// to 31 and the offset of the drag point (HIMETRIC) at 32 to 39; the type name follows as
// UTF-16.
constexpr size_t OBJECT_DESCRIPTOR_FIXED_SIZE = 52;
// A descriptor's values beyond a metre say nothing sensible about a page.
constexpr LONG MAX_DESCRIPTOR_HIMETRIC = 100000;

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
    // An item read without a document (from a clipboard block) joins one, with a number no
    // item of it uses.
    void JoinDocument(COleDocument* pDoc);

    // ---- data transfer ------------------------------------------------------------------
    static UINT GetEmbedSourceFormat();
    static UINT GetObjectDescriptorFormat();
    // Whether the data holds an item ("Embed Source").
    static BOOL CanCreateFromData(const COleDataObject* pDataObject);
    // Whether the data holds a picture a static item can be made from.
    static BOOL CanCreateStaticFromData(const COleDataObject* pDataObject);
    // The item from "Embed Source" data: its storage byte for byte. FALSE, item unchanged,
    // when there is none or it is not a compound file or too large.
    BOOL CreateFromData(COleDataObject* pDataObject);
    // A static picture item from the data's picture. FALSE, item unchanged, when there is
    // none that reads.
    BOOL CreateStaticFromData(COleDataObject* pDataObject);
    // The extent and the offset of the drag point (HIMETRIC) that an "Object Descriptor"
    // gives, each value limited to +-MAX_DESCRIPTOR_HIMETRIC. FALSE, both (0, 0), when the
    // bytes are too few to hold them.
    static BOOL ReadObjectDescriptor(const std::vector<BYTE>& bytes, SIZE& extent, SIZE& offset);
    // Adds the item's formats to a data source: "Embed Source", "Object Descriptor" (with
    // the offset of the drag point, HIMETRIC, when given) and its picture. FALSE when the
    // item has no storage or the storage cannot be written.
    BOOL GetClipboardData(COleDataSource* pDataSource, const SIZE* pOffset = nullptr);

    // The extent in HIMETRIC of the cached picture; FALSE when the item has none.
    BOOL GetExtent(SIZE* lpSize, DWORD nDrawAspect = static_cast<DWORD>(-1)) const;
    // The cached picture as a device-independent bitmap (header and bits); FALSE when the
    // item has no cached bitmap.
    BOOL GetCachedDib(std::vector<BYTE>& dib) const;
    // The type name the item's server gave (e.g. "Bitmap Image"); empty when unknown.
    CString GetUserTypeName() const;
    BOOL IsLinked() const;
    DWORD m_nDrawAspect = DVASPECT_CONTENT;

    // ---- running ------------------------------------------------------------------------
    ItemState GetItemState() const { return m_nItemState; }
    BOOL IsInPlaceActive() const { return m_nItemState == activeState || m_nItemState == activeUIState; }
    BOOL IsOpen() const { return m_nItemState == openState; }
    // The view the item runs in (or is being activated in, or was opened from), while that
    // view is still one of its document's views; null when the item does not run.
    CView* GetActiveView() const;
    // What the item's server says of its objects (OLEMISC_...). No server is registered
    // here: 0 unless the platform that hosts one sets it.
    DWORD GetMiscStatus() const { return m_dwMiscStatus; }
    void SetMiscStatus(DWORD dwStatus) { m_dwMiscStatus = dwStatus; }

    // Hiding (OLEIVERB_HIDE) takes an item that runs back to the loaded state, and leaves
    // one that does not as it is: TRUE. Any other verb needs the item's server, which does
    // not run here: the user is told, FALSE.
    BOOL DoVerb(LONG nVerb, CView* pView = nullptr);
    // Ends the item's run: its user interface goes (OnDeactivateUI), then its place in
    // the view (OnDeactivate), and an item open in a window is loaded again. The item's
    // storage is all it holds and nothing changes it while it runs here, so there is
    // nothing to save whatever the option.
    void Close(OLECLOSE dwCloseOption = OLECLOSE_SAVEIFDIRTY);

    // ---- the in-place site: what the item's server does ---------------------------------
    // The server shows the item in place in a view: the item must have its storage and
    // not run in place already. The view is remembered, OnActivate told, and the server
    // asks where the item goes (SetItemRects). FALSE, nothing changed, otherwise.
    BOOL InPlaceActivate(CView* pView);
    // The server shows its menus and tools for an item active in place (OnActivateUI).
    BOOL UIActivate();
    // The server takes its menus and tools away (OnDeactivateUI), leaving the item active
    // in place.
    BOOL UIDeactivate(BOOL bUndoable = FALSE);
    // The server leaves the view: user interface first when shown, then OnDeactivate.
    BOOL InPlaceDeactivate();
    // The server shows the item in a window of its own (the open verb's result).
    BOOL OpenInWindow(CView* pView);

    // The rectangle (client coordinates of the active view) the item's in-place window
    // takes while it is active in place; empty otherwise.
    CRect GetInPlaceRect() const { return m_rectInPlace; }
    // Moves the in-place window of an item active in place to a rectangle, or, without
    // one, to where the container says the item is now (OnGetItemPosition). FALSE when
    // the item is not active in place.
    BOOL SetItemRects(const CRect* pPosRect = nullptr);

    // ---- notifications of running ---------------------------------------------------------
    // The item becomes active in place (state activeState).
    virtual void OnActivate();
    // Its user interface is shown (activeUIState).
    virtual void OnActivateUI();
    // Its user interface goes (activeState again); bUndoable: the server can still undo
    // its last change.
    virtual void OnDeactivateUI(BOOL bUndoable);
    // It leaves the view (loadedState); the view is forgotten.
    virtual void OnDeactivate();
    // The server moved or sized the item's window to a rectangle in client coordinates of
    // the active view. The base moves the in-place window there; FALSE when the item is
    // not active in place.
    virtual BOOL OnChangeItemPosition(const CRect& rectPos);
    // Where the item is, in client coordinates of the active view, when its server asks.
    // The base knows nothing of the container's layout: an empty rectangle.
    virtual void OnGetItemPosition(CRect& rPosition);

    // ---- notifications ------------------------------------------------------------------
    // What changed about the item. The item says OLE_CHANGED_STATE (parameter: the new
    // state) itself when data has given it its storage (CreateFromData,
    // CreateStaticFromData) and whenever it starts or stops running. The base marks the
    // document modified for every change but closing and running or stopping.
    virtual void OnChange(OLE_NOTIFICATION nCode, DWORD dwParam);

    // Releasing frees nothing more than the destructor does.
    void Release() {}
    // Leaves the document and deletes the item.
    void Delete();

    void Serialize(CArchive& ar) override;

private:
    friend class COleDocument;

    COleDocument* m_pDocument = nullptr;
    DWORD m_dwItemNumber = 0;
    CCompoundStorage m_storage;
    BOOL m_bHasStorage = FALSE;

    // Moves the state and says so (OnChange, OLE_CHANGED_STATE); running and stopping
    // change nothing the document stores.
    void ChangeState(ItemState nState);
    ItemState m_nItemState = emptyState;
    BOOL m_bRunChange = FALSE;
    CView* m_pView = nullptr;
    CRect m_rectInPlace;
    DWORD m_dwMiscStatus = 0;
};
