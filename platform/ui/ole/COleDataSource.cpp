#include "platform/ui/ole/COleDataSource.h"

#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/ui/core/Atoms_p.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/ole/ForeignPicture_p.h"
#include "platform/ui/ole/OleData_p.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDropSource, CCmdTarget)

// ---------------------------------------------------------------------------------------
// Formats and MIME types.
// ---------------------------------------------------------------------------------------
namespace {
const char* const kPrivatePrefix = "application/x-morvel-";
}

QString AfxMimeTypeOfFormat(CLIPFORMAT cfFormat)
{
    if (cfFormat == CF_TEXT || cfFormat == CF_OEMTEXT)
        return QStringLiteral("text/plain");
    // Pictures travel as image files other programs read.
    if (cfFormat == CF_DIB)
        return QStringLiteral("image/png");
    // The same rule as the clipboard functions: the registered name, as UTF-8.
    const CString name = AfxGetAtomName(cfFormat);
    if (name.IsEmpty())
        return QString();
    return QString::fromLatin1(kPrivatePrefix) + QString::fromUtf8(Cp932ToUtf8(name.str()).c_str());
}

CLIPFORMAT AfxFormatOfMimeType(const QString& mimeType)
{
    if (mimeType == QLatin1String("text/plain") || mimeType.startsWith(QLatin1String("text/plain;")))
        return static_cast<CLIPFORMAT>(CF_TEXT);
    if (AfxForeignPictureMimeTypes().contains(mimeType))
        return static_cast<CLIPFORMAT>(CF_DIB);
    if (!mimeType.startsWith(QLatin1String(kPrivatePrefix)))
        return 0;
    const std::string name =
        Utf8ToCp932(mimeType.mid(static_cast<qsizetype>(std::strlen(kPrivatePrefix))).toStdString());
    return static_cast<CLIPFORMAT>(RegisterClipboardFormat(name.c_str()));
}

// ---------------------------------------------------------------------------------------
// Qt's view of a source.
// ---------------------------------------------------------------------------------------
CDataSourceMime::CDataSourceMime(COleDataSource* pSource, bool bOwnsSource)
    : m_pSource(pSource), m_bOwnsSource(bOwnsSource)
{
    if (m_pSource)
        m_pSource->m_mimes.push_back(this);
}

CDataSourceMime::~CDataSourceMime()
{
    if (!m_pSource)
        return;
    auto& v = m_pSource->m_mimes;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    if (m_bOwnsSource) {
        COleDataSource* p = m_pSource;
        m_pSource = nullptr;
        delete p;
    }
}

bool CDataSourceMime::hasFormat(const QString& mimeType) const
{
    if (!m_pSource)
        return false;
    const CLIPFORMAT cf = AfxFormatOfMimeType(mimeType);
    return cf != 0 && m_pSource->HasFormat(cf);
}

QStringList CDataSourceMime::formats() const
{
    QStringList list;
    if (!m_pSource)
        return list;
    for (CLIPFORMAT cf : m_pSource->GetFormats()) {
        const QString mime = AfxMimeTypeOfFormat(cf);
        if (!mime.isEmpty() && !list.contains(mime))
            list.push_back(mime);
        // A picture is offered as a ".BMP" too, for programs that read no PNG.
        if (cf == CF_DIB && !list.contains(QStringLiteral("image/bmp")))
            list.push_back(QStringLiteral("image/bmp"));
    }
    return list;
}

QVariant CDataSourceMime::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (!m_pSource)
        return QVariant();
    const CLIPFORMAT cf = AfxFormatOfMimeType(mimeType);
    std::vector<BYTE> bytes;
    if (!cf || !m_pSource->RenderBytes(cf, bytes))
        return QVariant();
    if (cf == CF_TEXT) {
        // Code page 932 text up to its terminating zero, handed over as Unicode.
        const size_t n = strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        const QString text = QString::fromStdString(
            Cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), n)));
        if (type.id() == QMetaType::QString)
            return text;
        return text.toUtf8();
    }
    if (cf == CF_DIB) {
        QByteArray image;
        if (!AfxImageBytesFromDib(bytes, mimeType, image))
            return QVariant();
        return image;
    }
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// ---------------------------------------------------------------------------------------
// COleDataSource.
// ---------------------------------------------------------------------------------------
COleDataSource::COleDataSource() = default;

COleDataSource::~COleDataSource()
{
    for (CDataSourceMime* p : m_mimes)
        p->Orphan();
    m_mimes.clear();
}

COleDataSource::Entry* COleDataSource::Find(CLIPFORMAT cfFormat)
{
    for (Entry& e : m_entries)
        if (e.cfFormat == cfFormat)
            return &e;
    return nullptr;
}

const COleDataSource::Entry* COleDataSource::Find(CLIPFORMAT cfFormat) const
{
    for (const Entry& e : m_entries)
        if (e.cfFormat == cfFormat)
            return &e;
    return nullptr;
}

COleDataSource::Entry& COleDataSource::Slot(CLIPFORMAT cfFormat)
{
    if (Entry* p = Find(cfFormat))
        return *p;
    m_entries.push_back(Entry{cfFormat, Kind::Cached, {}});
    return m_entries.back();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc)
{
    (void)lpFormatEtc;
    std::vector<BYTE> bytes;
    if (hGlobal) {
        const size_t n = GlobalSize(hGlobal);
        const BYTE* p = static_cast<const BYTE*>(GlobalLock(hGlobal));
        if (p && n)
            bytes.assign(p, p + n);
        GlobalUnlock(hGlobal);
        GlobalFree(hGlobal);
    }
    CacheData(cfFormat, bytes);
}

void COleDataSource::CacheData(CLIPFORMAT cfFormat, const std::vector<BYTE>& bytes)
{
    Entry& e = Slot(cfFormat);
    e.kind = Kind::Cached;
    e.bytes = bytes;
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    (void)lpFormatEtc;
    Entry& e = Slot(cfFormat);
    e.kind = Kind::DelayGlobal;
    e.bytes.clear();
}

void COleDataSource::DelayRenderFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    (void)lpFormatEtc;
    Entry& e = Slot(cfFormat);
    e.kind = Kind::DelayFile;
    e.bytes.clear();
}

void COleDataSource::Empty()
{
    m_entries.clear();
}

std::vector<CLIPFORMAT> COleDataSource::GetFormats() const
{
    std::vector<CLIPFORMAT> v;
    for (const Entry& e : m_entries)
        v.push_back(e.cfFormat);
    return v;
}

BOOL COleDataSource::HasFormat(CLIPFORMAT cfFormat) const
{
    return Find(cfFormat) != nullptr;
}

BOOL COleDataSource::RenderBytes(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes)
{
    bytes.clear();
    Entry* e = Find(cfFormat);
    if (!e)
        return FALSE;
    FORMATETC fmt{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    switch (e->kind) {
    case Kind::Cached:
        bytes = e->bytes;
        return TRUE;
    case Kind::DelayFile: {
        fmt.tymed = TYMED_FILE;
        CMemFile file(4096);
        if (!OnRenderFileData(&fmt, &file))
            return FALSE;
        bytes = file.GetData();
        bytes.resize(file.GetLength());
        return TRUE;
    }
    case Kind::DelayGlobal: {
        HGLOBAL h = nullptr;
        if (!OnRenderGlobalData(&fmt, &h) || !h) {
            STGMEDIUM medium{};
            if (!OnRenderData(&fmt, &medium) || medium.tymed != TYMED_HGLOBAL || !medium.hGlobal)
                return FALSE;
            h = medium.hGlobal;
        }
        const size_t n = GlobalSize(h);
        const BYTE* p = static_cast<const BYTE*>(GlobalLock(h));
        if (p && n)
            bytes.assign(p, p + n);
        GlobalUnlock(h);
        GlobalFree(h);
        return TRUE;
    }
    }
    return FALSE;
}

BOOL COleDataSource::OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal)
{
    (void)lpFormatEtc;
    (void)phGlobal;
    return FALSE;
}

BOOL COleDataSource::OnRenderFileData(LPFORMATETC lpFormatEtc, CFile* pFile)
{
    (void)lpFormatEtc;
    (void)pFile;
    return FALSE;
}

BOOL COleDataSource::OnRenderData(LPFORMATETC lpFormatEtc, LPSTGMEDIUM lpStgMedium)
{
    (void)lpFormatEtc;
    (void)lpStgMedium;
    return FALSE;
}

void COleDataSource::SetClipboard()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QApplication::clipboard()->setMimeData(new CDataSourceMime(this, true));
}

void COleDataSource::FlushClipboard()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    COleDataSource* pSource = GetClipboardOwner();
    if (!pSource)
        return;
    auto* pFlat = new QMimeData;
    for (CLIPFORMAT cf : pSource->GetFormats()) {
        std::vector<BYTE> bytes;
        if (!pSource->RenderBytes(cf, bytes))
            continue;
        if (cf == CF_TEXT) {
            const size_t n = strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            pFlat->setText(QString::fromStdString(
                Cp932ToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), n))));
        } else {
            pFlat->setData(AfxMimeTypeOfFormat(cf), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                               static_cast<qsizetype>(bytes.size())));
        }
    }
    QApplication::clipboard()->setMimeData(pFlat);
}

COleDataSource* COleDataSource::GetClipboardOwner()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    const auto* p = dynamic_cast<const CDataSourceMime*>(QApplication::clipboard()->mimeData());
    return p ? p->Source() : nullptr;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource)
{
    (void)lpRectStartDrag;
    (void)pDropSource;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || m_entries.empty())
        return DROPEFFECT_NONE;
    const Qt::DropActions actions = AfxDropActionsOf(dwEffects);
    if (actions == Qt::IgnoreAction)
        return DROPEFFECT_NONE;
    Qt::DropAction result = Qt::IgnoreAction;
    if (AfxHasDragScript()) {
        CDataSourceMime mime(this, false);
        result = AfxRunDragScript(&mime, actions);
    } else {
        // The desktop's drag loop runs until the drop or Esc.
        QObject* pSourceObject = QApplication::focusWidget();
        if (!pSourceObject)
            pSourceObject = QApplication::activeWindow();
        if (!pSourceObject)
            pSourceObject = qApp;
        auto* pDrag = new QDrag(pSourceObject);
        pDrag->setMimeData(new CDataSourceMime(this, false));
        const Qt::DropAction def = (dwEffects & DROPEFFECT_MOVE)   ? Qt::MoveAction
                                   : (dwEffects & DROPEFFECT_COPY) ? Qt::CopyAction
                                                                   : Qt::LinkAction;
        result = pDrag->exec(actions, def);
        pDrag->deleteLater();
        // The keys as they are now that the drag is over.
        AfxSyncDragKeyState(AfxDragKeyState(Qt::NoButton, QGuiApplication::queryKeyboardModifiers()));
    }
    return AfxDropEffectOf(result) & dwEffects;
}
