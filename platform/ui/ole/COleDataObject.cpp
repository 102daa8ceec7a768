#include "platform/ui/ole/COleDataObject.h"

#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/ole/ForeignPicture_p.h"
#include "platform/ui/ole/OleData_p.h"

#include <QApplication>
#include <QClipboard>

#include <algorithm>
#include <cstring>

void ReleaseStgMedium(LPSTGMEDIUM lpMedium)
{
    if (!lpMedium)
        return;
    if (lpMedium->tymed == TYMED_HGLOBAL && lpMedium->hGlobal)
        GlobalFree(lpMedium->hGlobal);
    lpMedium->hGlobal = nullptr;
    lpMedium->tymed = TYMED_NULL;
}

COleDataObject::COleDataObject() = default;

COleDataObject::~COleDataObject() = default;

BOOL COleDataObject::AttachClipboard()
{
    Release();
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return FALSE;
    m_bClipboard = true;
    return TRUE;
}

void COleDataObject::Attach(const QMimeData* pData)
{
    Release();
    m_pData = pData;
}

void COleDataObject::Release()
{
    m_pData = nullptr;
    m_bClipboard = false;
    m_enumFormats.clear();
    m_nEnumPos = 0;
}

const QMimeData* COleDataObject::Data() const
{
    if (m_bClipboard)
        return qobject_cast<QApplication*>(QCoreApplication::instance())
                   ? QApplication::clipboard()->mimeData()
                   : nullptr;
    return m_pData;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) const
{
    (void)lpFormatEtc;
    const QMimeData* pData = Data();
    if (!pData)
        return FALSE;
    if (auto* pOurs = dynamic_cast<const CDataSourceMime*>(pData))
        return pOurs->Source() && pOurs->Source()->HasFormat(cfFormat);
    if (cfFormat == CF_TEXT || cfFormat == CF_OEMTEXT)
        return pData->hasText();
    if (cfFormat == CF_DIB)
        return !AfxPreferredPictureMimeType(pData->formats()).isEmpty();
    const QString mime = AfxMimeTypeOfFormat(cfFormat);
    return !mime.isEmpty() && pData->hasFormat(mime);
}

BOOL COleDataObject::GetBytes(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes) const
{
    bytes.clear();
    const QMimeData* pData = Data();
    if (!pData)
        return FALSE;
    // Our own source renders its bytes directly (the same bytes it was given).
    if (auto* pOurs = dynamic_cast<const CDataSourceMime*>(pData)) {
        COleDataSource* pSource = pOurs->Source();
        return pSource && pSource->RenderBytes(cfFormat, bytes);
    }
    if (cfFormat == CF_TEXT || cfFormat == CF_OEMTEXT) {
        if (!pData->hasText())
            return FALSE;
        const std::string text = Utf8ToCp932(pData->text().toStdString());
        bytes.assign(text.begin(), text.end());
        bytes.push_back(0);
        return TRUE;
    }
    if (cfFormat == CF_DIB) {
        // Another program's picture file, made a bitmap; one that does not read is not there.
        const QString mime = AfxPreferredPictureMimeType(pData->formats());
        return !mime.isEmpty() && AfxDibFromImageBytes(pData->data(mime), mime, bytes);
    }
    const QString mime = AfxMimeTypeOfFormat(cfFormat);
    if (mime.isEmpty() || !pData->hasFormat(mime))
        return FALSE;
    const QByteArray data = pData->data(mime);
    bytes.assign(data.begin(), data.end());
    return TRUE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) const
{
    (void)lpFormatEtc;
    std::vector<BYTE> bytes;
    if (!GetBytes(cfFormat, bytes))
        return nullptr;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, bytes.size());
    if (!h)
        return nullptr;
    if (!bytes.empty()) {
        void* p = GlobalLock(h);
        std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(h);
    }
    return h;
}

CFile* COleDataObject::GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) const
{
    (void)lpFormatEtc;
    std::vector<BYTE> bytes;
    if (!GetBytes(cfFormat, bytes))
        return nullptr;
    auto* pFile = new CMemFile(1024);
    if (!bytes.empty())
        pFile->Write(bytes.data(), static_cast<UINT>(bytes.size()));
    pFile->Seek(0, CFile::begin);
    return pFile;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) const
{
    if (!lpStgMedium)
        return FALSE;
    *lpStgMedium = STGMEDIUM{};
    HGLOBAL h = GetGlobalData(cfFormat, lpFormatEtc);
    if (!h)
        return FALSE;
    lpStgMedium->tymed = TYMED_HGLOBAL;
    lpStgMedium->hGlobal = h;
    return TRUE;
}

void COleDataObject::BeginEnumFormats()
{
    m_enumFormats.clear();
    m_nEnumPos = 0;
    const QMimeData* pData = Data();
    if (!pData)
        return;
    if (auto* pOurs = dynamic_cast<const CDataSourceMime*>(pData)) {
        if (pOurs->Source())
            m_enumFormats = pOurs->Source()->GetFormats();
        return;
    }
    if (pData->hasText())
        m_enumFormats.push_back(static_cast<CLIPFORMAT>(CF_TEXT));
    for (const QString& mime : pData->formats()) {
        const CLIPFORMAT cf = AfxFormatOfMimeType(mime);
        if (cf && cf != CF_TEXT &&
            std::find(m_enumFormats.begin(), m_enumFormats.end(), cf) == m_enumFormats.end())
            m_enumFormats.push_back(cf);
    }
}

BOOL COleDataObject::GetNextFormat(LPFORMATETC lpFormatEtc)
{
    if (!lpFormatEtc || m_nEnumPos >= m_enumFormats.size())
        return FALSE;
    *lpFormatEtc = FORMATETC{m_enumFormats[m_nEnumPos++], nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return TRUE;
}
