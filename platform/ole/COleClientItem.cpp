#include "platform/ole/COleClientItem.h"

#include "platform/base/CArchive.h"
#include "platform/base/MessageBox.h"
#include "platform/ole/COleDocument.h"

#include <cstring>

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

BOOL COleClientItem::DoVerb(LONG nVerb)
{
    (void)nVerb;
    AfxMessageBox("このオブジェクトはここでは開けません。"_sj, MB_ICONEXCLAMATION);
    return FALSE;
}

void COleClientItem::Delete()
{
    delete this;
}

void COleClientItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dwItemNumber << m_nDrawAspect;
        return;
    }
    ar >> m_dwItemNumber >> m_nDrawAspect;
    // An item made by its class record joins the document being read.
    if (m_pDocument == nullptr) {
        if (auto* pArchiveDoc = dynamic_cast<COleDocument*>(ar.m_pDocument))
            pArchiveDoc->AddItem(this);
    }
    m_bHasStorage = FALSE;
    m_storage = CCompoundStorage();
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
    } else if (pDoc) {
        pDoc->NoteDroppedItem();
    }
}
