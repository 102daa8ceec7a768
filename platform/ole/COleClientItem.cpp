#include "platform/ole/COleClientItem.h"

#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/ole/COleDocument.h"
#include "platform/ole/PictureItemStorage.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/ole/COleDataObject.h"
#include "platform/ui/ole/COleDataSource.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(COleClientItem, CObject)

namespace {

// Little-endian double word at an offset; FALSE past the end.
BOOL ReadDword(const std::vector<BYTE>& bytes, size_t nOffset, DWORD& value)
{
    if (nOffset > bytes.size() || bytes.size() - nOffset < 4)
        return FALSE;
    value = static_cast<DWORD>(bytes[nOffset]) | static_cast<DWORD>(bytes[nOffset + 1]) << 8 |
            static_cast<DWORD>(bytes[nOffset + 2]) << 16 | static_cast<DWORD>(bytes[nOffset + 3]) << 24;
    return TRUE;
}

constexpr DWORD kDibFormat = 8; // a device-independent bitmap

// The cached presentation as the presentation stream keeps it: clipboard format, target
// device, aspect, index, advise flags, a reserved word, width and height in HIMETRIC, then
// the size of the data and the data.
struct CPresentation {
    DWORD nFormat = 0; // 0 when given by name
    DWORD nAspect = 0;
    LONG cx = 0;
    LONG cy = 0;
    size_t nDataOffset = 0;
    DWORD nDataSize = 0;
};

BOOL ReadPresentation(const std::vector<BYTE>& bytes, CPresentation& pres)
{
    size_t pos = 0;
    DWORD nMarker = 0;
    if (!ReadDword(bytes, pos, nMarker))
        return FALSE;
    pos += 4;
    if (nMarker == 0xFFFFFFFFu || nMarker == 0xFFFFFFFEu) {
        if (!ReadDword(bytes, pos, pres.nFormat))
            return FALSE;
        pos += 4;
    } else {
        // A format named by a text of that length.
        if (nMarker > bytes.size() - pos)
            return FALSE;
        pos += nMarker;
    }
    DWORD nTargetSize = 0;
    if (!ReadDword(bytes, pos, nTargetSize) || nTargetSize < 4 || nTargetSize - 4 > bytes.size() - pos - 4)
        return FALSE;
    pos += nTargetSize; // the size counts its own four bytes
    DWORD nIndex = 0, nAdvise = 0, nReserved = 0, cx = 0, cy = 0;
    if (!ReadDword(bytes, pos, pres.nAspect) || !ReadDword(bytes, pos + 4, nIndex) ||
        !ReadDword(bytes, pos + 8, nAdvise) || !ReadDword(bytes, pos + 12, nReserved) ||
        !ReadDword(bytes, pos + 16, cx) || !ReadDword(bytes, pos + 20, cy) ||
        !ReadDword(bytes, pos + 24, pres.nDataSize))
        return FALSE;
    pres.cx = static_cast<LONG>(cx);
    pres.cy = static_cast<LONG>(cy);
    pres.nDataOffset = pos + 28;
    if (pres.nDataSize > bytes.size() - pres.nDataOffset)
        return FALSE;
    return TRUE;
}

// UTF-8 as UTF-16 (characters beyond the basic plane as surrogate pairs).
std::u16string Utf16Of(const std::string& utf8)
{
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        if (i + static_cast<size_t>(n) > utf8.size())
            break;
        uint32_t c = n == 1 ? b : n == 2 ? (b & 0x1Fu) : n == 3 ? (b & 0x0Fu) : (b & 0x07u);
        for (int k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3Fu);
        i += static_cast<size_t>(n);
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

// An item's storage from data: a compound file that reads and that can be written again
// (a name the format cannot hold, read leniently, would make every later copy or save of
// the item fail).
BOOL ReadItemStorage(const std::vector<BYTE>& bytes, CCompoundStorage& storage)
{
    CCompoundStorage read;
    std::vector<BYTE> check;
    if (bytes.empty() || bytes.size() > MAX_ITEM_DATA_BYTES ||
        !ReadCompoundFile(bytes.data(), bytes.size(), read) || !WriteCompoundFile(read, check) ||
        check.size() > MAX_ITEM_DATA_BYTES)
        return FALSE;
    storage = std::move(read);
    return TRUE;
}

const char kPresentationStream[] = "\x02OlePres000";
const char kCompObjStream[] = "\x01"
                              "CompObj";
const char kOleStream[] = "\x01Ole";

} // namespace

COleClientItem::COleClientItem(COleDocument* pContainerDoc)
{
    if (pContainerDoc)
        pContainerDoc->AddItem(this);
}

COleClientItem::~COleClientItem()
{
    if (m_pDocument)
        m_pDocument->RemoveItem(this);
}

CString COleClientItem::GetStorageName() const
{
    CString name;
    name.Format("Embedding %lu", static_cast<unsigned long>(m_dwItemNumber));
    return name;
}

BOOL COleClientItem::CreateFromStorage(const CCompoundStorage& storage)
{
    m_storage = storage;
    m_bHasStorage = TRUE;
    if (m_nItemState == emptyState)
        m_nItemState = loadedState;
    m_dwItemNumber = m_pDocument ? m_pDocument->GetNewItemNumber() : 1;
    return TRUE;
}

BOOL COleClientItem::CreateCloneFrom(const COleClientItem* pSrcItem)
{
    if (pSrcItem == nullptr || pSrcItem->GetStorage() == nullptr)
        return FALSE;
    if (!CreateFromStorage(*pSrcItem->GetStorage()))
        return FALSE;
    m_nDrawAspect = pSrcItem->m_nDrawAspect;
    return TRUE;
}

BOOL COleClientItem::GetExtent(SIZE* lpSize, DWORD nDrawAspect) const
{
    if (!m_bHasStorage || lpSize == nullptr)
        return FALSE;
    const std::vector<BYTE>* pStream = m_storage.FindStream(kPresentationStream);
    CPresentation pres;
    if (pStream == nullptr || !ReadPresentation(*pStream, pres))
        return FALSE;
    const DWORD nAspect = nDrawAspect == static_cast<DWORD>(-1) ? m_nDrawAspect : nDrawAspect;
    if (pres.nAspect != nAspect || pres.cx <= 0 || pres.cy <= 0)
        return FALSE;
    lpSize->cx = pres.cx;
    lpSize->cy = pres.cy;
    return TRUE;
}

BOOL COleClientItem::GetCachedDib(std::vector<BYTE>& dib) const
{
    if (!m_bHasStorage)
        return FALSE;
    const std::vector<BYTE>* pStream = m_storage.FindStream(kPresentationStream);
    CPresentation pres;
    if (pStream == nullptr || !ReadPresentation(*pStream, pres) || pres.nFormat != kDibFormat ||
        pres.nDataSize < 40)
        return FALSE;
    dib.assign(pStream->begin() + static_cast<std::ptrdiff_t>(pres.nDataOffset),
               pStream->begin() + static_cast<std::ptrdiff_t>(pres.nDataOffset + pres.nDataSize));
    return TRUE;
}

CString COleClientItem::GetUserTypeName() const
{
    if (!m_bHasStorage)
        return CString();
    // A 28-byte header, then the type name as a length (with its terminating zero) and
    // the text.
    const std::vector<BYTE>* pStream = m_storage.FindStream(kCompObjStream);
    DWORD nLength = 0;
    if (pStream == nullptr || !ReadDword(*pStream, 28, nLength) || nLength == 0 ||
        nLength > pStream->size() - 32)
        return CString();
    std::string text(reinterpret_cast<const char*>(pStream->data()) + 32, nLength);
    const size_t nZero = text.find('\0');
    if (nZero != std::string::npos)
        text.resize(nZero);
    return CString(text);
}

BOOL COleClientItem::IsLinked() const
{
    if (!m_bHasStorage)
        return FALSE;
    // The object stream's flags: bit 0 marks a link.
    const std::vector<BYTE>* pStream = m_storage.FindStream(kOleStream);
    DWORD nFlags = 0;
    return pStream != nullptr && ReadDword(*pStream, 4, nFlags) && (nFlags & 1) != 0;
}

BOOL COleClientItem::DoVerb(LONG nVerb, CView* pView)
{
    (void)pView;
    if (nVerb == OLEIVERB_HIDE) {
        // Hidden, the item no longer shows in place nor in a window of its own.
        Close(OLECLOSE_SAVEIFDIRTY);
        return TRUE;
    }
    AfxMessageBox("このオブジェクトはここでは開けません。"_sj, MB_ICONEXCLAMATION);
    return FALSE;
}

// ---- running ------------------------------------------------------------------------------

CView* COleClientItem::GetActiveView() const
{
    // The view is known from the start of an activation (OnActivate asks for it) until
    // the item stops running.
    if (m_pView == nullptr || m_pDocument == nullptr)
        return nullptr;
    // A view that has closed has left its document: the item no longer runs in it.
    for (POSITION pos = m_pDocument->GetFirstViewPosition(); pos != nullptr;)
        if (m_pDocument->GetNextView(pos) == m_pView)
            return m_pView;
    return nullptr;
}

void COleClientItem::ChangeState(ItemState nState)
{
    if (m_nItemState == nState)
        return;
    m_nItemState = nState;
    const BOOL bWas = m_bRunChange;
    m_bRunChange = TRUE;
    OnChange(OLE_CHANGED_STATE, static_cast<DWORD>(nState));
    m_bRunChange = bWas;
}

void COleClientItem::Close(OLECLOSE dwCloseOption)
{
    (void)dwCloseOption;
    if (m_nItemState == activeUIState)
        UIDeactivate(FALSE);
    if (IsInPlaceActive())
        OnDeactivate();
    if (m_nItemState == openState) {
        m_pView = nullptr;
        ChangeState(loadedState);
    }
}

BOOL COleClientItem::InPlaceActivate(CView* pView)
{
    if (pView == nullptr || !m_bHasStorage || m_pDocument == nullptr || IsInPlaceActive())
        return FALSE;
    // An item open in its own window comes into the view.
    m_pView = pView;
    OnActivate();
    if (!IsInPlaceActive())
        return FALSE;
    SetItemRects();
    return TRUE;
}

BOOL COleClientItem::UIActivate()
{
    if (m_nItemState != activeState)
        return FALSE;
    OnActivateUI();
    return TRUE;
}

BOOL COleClientItem::UIDeactivate(BOOL bUndoable)
{
    if (m_nItemState != activeUIState)
        return FALSE;
    OnDeactivateUI(bUndoable);
    return TRUE;
}

BOOL COleClientItem::InPlaceDeactivate()
{
    if (!IsInPlaceActive())
        return FALSE;
    if (m_nItemState == activeUIState)
        UIDeactivate(FALSE);
    // The user interface going may have ended the run already (a hidden item).
    if (IsInPlaceActive())
        OnDeactivate();
    return TRUE;
}

BOOL COleClientItem::OpenInWindow(CView* pView)
{
    if (!m_bHasStorage || m_pDocument == nullptr || m_nItemState != loadedState)
        return FALSE;
    m_pView = pView;
    ChangeState(openState);
    return TRUE;
}

BOOL COleClientItem::SetItemRects(const CRect* pPosRect)
{
    if (!IsInPlaceActive())
        return FALSE;
    CRect rect;
    if (pPosRect)
        rect = *pPosRect;
    else
        OnGetItemPosition(rect);
    m_rectInPlace = rect;
    m_rectInPlace.NormalizeRect();
    return TRUE;
}

void COleClientItem::OnActivate()
{
    ChangeState(activeState);
}

void COleClientItem::OnActivateUI()
{
    ChangeState(activeUIState);
}

void COleClientItem::OnDeactivateUI(BOOL bUndoable)
{
    (void)bUndoable;
    ChangeState(activeState);
}

void COleClientItem::OnDeactivate()
{
    m_pView = nullptr;
    m_rectInPlace.SetRectEmpty();
    ChangeState(loadedState);
}

BOOL COleClientItem::OnChangeItemPosition(const CRect& rectPos)
{
    return SetItemRects(&rectPos);
}

void COleClientItem::OnGetItemPosition(CRect& rPosition)
{
    rPosition.SetRectEmpty();
}

void COleClientItem::JoinDocument(COleDocument* pDoc)
{
    if (pDoc == nullptr || m_pDocument == pDoc)
        return;
    if (m_pDocument)
        m_pDocument->RemoveItem(this);
    m_dwItemNumber = pDoc->GetNewItemNumber();
    pDoc->AddItem(this);
}

UINT COleClientItem::GetEmbedSourceFormat()
{
    static const UINT s_nFormat = ::RegisterClipboardFormat("Embed Source");
    return s_nFormat;
}

UINT COleClientItem::GetObjectDescriptorFormat()
{
    static const UINT s_nFormat = ::RegisterClipboardFormat("Object Descriptor");
    return s_nFormat;
}

BOOL COleClientItem::CanCreateFromData(const COleDataObject* pDataObject)
{
    return pDataObject != nullptr &&
           pDataObject->IsDataAvailable(static_cast<CLIPFORMAT>(GetEmbedSourceFormat()));
}

BOOL COleClientItem::CanCreateStaticFromData(const COleDataObject* pDataObject)
{
    return pDataObject != nullptr && pDataObject->IsDataAvailable(static_cast<CLIPFORMAT>(CF_DIB));
}

BOOL COleClientItem::CreateFromData(COleDataObject* pDataObject)
{
    std::vector<BYTE> bytes;
    if (!CanCreateFromData(pDataObject) ||
        !pDataObject->GetBytes(static_cast<CLIPFORMAT>(GetEmbedSourceFormat()), bytes) ||
        bytes.size() > MAX_ITEM_DATA_BYTES)
        return FALSE;
    CCompoundStorage storage;
    if (!ReadItemStorage(bytes, storage) || !CreateFromStorage(storage))
        return FALSE;
    OnChange(OLE_CHANGED_STATE, loadedState);
    return TRUE;
}

BOOL COleClientItem::CreateStaticFromData(COleDataObject* pDataObject)
{
    std::vector<BYTE> dib;
    if (!CanCreateStaticFromData(pDataObject) || !pDataObject->GetBytes(static_cast<CLIPFORMAT>(CF_DIB), dib))
        return FALSE;
    const SIZE extent = DibHeaderExtentHimetric(dib);
    if (extent.cx <= 0 || extent.cy <= 0 || !CreateFromStorage(MakePictureItemStorage(dib, extent)))
        return FALSE;
    OnChange(OLE_CHANGED_STATE, loadedState);
    return TRUE;
}

BOOL COleClientItem::ReadObjectDescriptor(const std::vector<BYTE>& bytes, SIZE& extent, SIZE& offset)
{
    extent = SIZE{0, 0};
    offset = SIZE{0, 0};
    DWORD v[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
        if (!ReadDword(bytes, 24 + 4 * static_cast<size_t>(i), v[i]))
            return FALSE;
    const auto limit = [](DWORD d) {
        return std::clamp<LONG>(static_cast<int32_t>(d), -MAX_DESCRIPTOR_HIMETRIC, MAX_DESCRIPTOR_HIMETRIC);
    };
    extent = SIZE{limit(v[0]), limit(v[1])};
    offset = SIZE{limit(v[2]), limit(v[3])};
    return TRUE;
}

BOOL COleClientItem::GetClipboardData(COleDataSource* pDataSource, const SIZE* pOffset)
{
    if (pDataSource == nullptr || !m_bHasStorage)
        return FALSE;
    std::vector<BYTE> file;
    if (!WriteCompoundFile(m_storage, file))
        return FALSE;
    pDataSource->CacheData(static_cast<CLIPFORMAT>(GetEmbedSourceFormat()), file);

    // The descriptor: size, class id (none), aspect, extent, offset, status, where the
    // type name and the source name lie, then the type name in UTF-16.
    SIZE extent{0, 0};
    GetExtent(&extent);
    const std::u16string name = Utf16Of(Cp932ToUtf8(GetUserTypeName().str())) + u'\0';
    std::vector<BYTE> desc;
    const auto put = [&desc](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            desc.push_back(static_cast<BYTE>(v >> (8 * i)));
    };
    put(static_cast<uint32_t>(OBJECT_DESCRIPTOR_FIXED_SIZE + name.size() * 2));
    for (int i = 0; i < 4; ++i)
        put(0);
    put(m_nDrawAspect);
    put(static_cast<uint32_t>(extent.cx));
    put(static_cast<uint32_t>(extent.cy));
    put(static_cast<uint32_t>(pOffset ? pOffset->cx : 0));
    put(static_cast<uint32_t>(pOffset ? pOffset->cy : 0));
    put(0);
    put(static_cast<uint32_t>(OBJECT_DESCRIPTOR_FIXED_SIZE));
    put(0);
    for (char16_t c : name) {
        desc.push_back(static_cast<BYTE>(c));
        desc.push_back(static_cast<BYTE>(c >> 8));
    }
    pDataSource->CacheData(static_cast<CLIPFORMAT>(GetObjectDescriptorFormat()), desc);

    std::vector<BYTE> dib;
    if (GetCachedDib(dib))
        pDataSource->CacheData(static_cast<CLIPFORMAT>(CF_DIB), dib);
    return TRUE;
}

void COleClientItem::OnChange(OLE_NOTIFICATION nCode, DWORD dwParam)
{
    (void)dwParam;
    // The document holds what the item holds: any change is a change of the document, but
    // for closing, and for starting or stopping to run, which changes nothing stored.
    if (m_pDocument && nCode != OLE_CLOSED && !(nCode == OLE_CHANGED_STATE && m_bRunChange))
        m_pDocument->SetModifiedFlag(TRUE);
}

void COleClientItem::Delete()
{
    delete this;
}

namespace {

// Whether the item's storage travels inside the archive: everywhere but in the "Contents"
// of a compound document, whose items' storages lie beside it.
bool IsFlatArchive(const CArchive& ar)
{
    const auto* pDoc = dynamic_cast<const COleDocument*>(ar.m_pDocument);
    return pDoc == nullptr || !pDoc->HasCompoundFile();
}

} // namespace

void COleClientItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dwItemNumber << m_nDrawAspect;
        if (IsFlatArchive(ar)) {
            std::vector<BYTE> file;
            if (!m_bHasStorage || !WriteCompoundFile(m_storage, file) || file.size() > MAX_ITEM_DATA_BYTES)
                throw CArchiveException(CArchiveException::genericException);
            ar << static_cast<DWORD>(file.size());
            ar.Write(file.data(), static_cast<UINT>(file.size()));
        }
        return;
    }
    ar >> m_dwItemNumber >> m_nDrawAspect;
    if (IsFlatArchive(ar)) {
        // The storage comes with the record; nothing is kept unless all of it reads.
        DWORD nSize = 0;
        ar >> nSize;
        if (nSize == 0 || nSize > MAX_ITEM_DATA_BYTES)
            throw CArchiveException(CArchiveException::badIndex);
        std::vector<BYTE> file(nSize);
        if (ar.Read(file.data(), nSize) != nSize)
            throw CArchiveException(CArchiveException::endOfFile);
        CCompoundStorage storage;
        if (!ReadItemStorage(file, storage))
            throw CArchiveException(CArchiveException::badIndex);
        m_storage = std::move(storage);
        m_bHasStorage = TRUE;
        m_nItemState = loadedState;
        // A document kept in a plain file takes its items with new numbers.
        if (auto* pDoc = dynamic_cast<COleDocument*>(ar.m_pDocument); pDoc && m_pDocument == nullptr)
            JoinDocument(pDoc);
        return;
    }
    // An item made by its class record joins the document being read.
    if (m_pDocument == nullptr) {
        if (auto* pArchiveDoc = dynamic_cast<COleDocument*>(ar.m_pDocument))
            pArchiveDoc->AddItem(this);
    }
    m_bHasStorage = FALSE;
    m_storage = CCompoundStorage();
    m_nItemState = emptyState;
    COleDocument* pDoc = m_pDocument;
    const CCompoundStorage* pRoot = pDoc ? pDoc->GetLoadingStorage() : nullptr;
    const CCompoundStorage* pStorage = pRoot ? pRoot->FindStorage(GetStorageName()) : nullptr;
    // Two items naming one storage would write it twice: the later one has lost its own.
    bool bTaken = false;
    if (pDoc) {
        for (POSITION pos = pDoc->GetStartPosition(); pos;) {
            const COleClientItem* pOther = pDoc->GetNextClientItem(pos);
            bTaken = bTaken ||
                     (pOther != this && pOther->m_bHasStorage && pOther->m_dwItemNumber == m_dwItemNumber);
        }
    }
    if (pStorage && !bTaken) {
        m_storage = *pStorage;
        m_bHasStorage = TRUE;
        m_nItemState = loadedState;
    } else if (pDoc) {
        pDoc->NoteDroppedItem();
    }
}
