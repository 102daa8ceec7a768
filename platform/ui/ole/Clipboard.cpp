// The clipboard, global memory blocks and dropped files.
#include "platform/ui/core/WinApi.h"

#include "platform/base/Cp932.h"
#include "platform/ui/core/Atoms_p.h"
#include "platform/ui/ole/DropFiles_p.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <cstring>
#include <memory>
#include <vector>

// ---------------------------------------------------------------------------------------
// Global memory blocks.
// ---------------------------------------------------------------------------------------
namespace {

struct CGlobalBlock {
    std::vector<BYTE> data;
    int locks = 0;
};

CGlobalBlock* BlockOf(HGLOBAL h)
{
    return static_cast<CGlobalBlock*>(h);
}

} // namespace

HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes)
{
    (void)uFlags; // blocks always start zeroed
    auto* p = new CGlobalBlock;
    p->data.assign(dwBytes, 0);
    return p;
}

HGLOBAL GlobalReAlloc(HGLOBAL hMem, size_t dwBytes, UINT uFlags)
{
    (void)uFlags;
    CGlobalBlock* p = BlockOf(hMem);
    if (!p)
        return nullptr;
    p->data.resize(dwBytes, 0);
    return hMem;
}

LPVOID GlobalLock(HGLOBAL hMem)
{
    CGlobalBlock* p = BlockOf(hMem);
    if (!p)
        return nullptr;
    ++p->locks;
    // A block of no bytes still has an address.
    if (p->data.empty())
        p->data.reserve(1);
    return p->data.data();
}

BOOL GlobalUnlock(HGLOBAL hMem)
{
    CGlobalBlock* p = BlockOf(hMem);
    if (!p || p->locks <= 0)
        return FALSE;
    return --p->locks > 0;
}

size_t GlobalSize(HGLOBAL hMem)
{
    CGlobalBlock* p = BlockOf(hMem);
    return p ? p->data.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem)
{
    delete BlockOf(hMem);
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Clipboard.
// ---------------------------------------------------------------------------------------
namespace {

struct CClipboardState {
    bool open = false;
    std::unique_ptr<QMimeData> pending; // what is put on the clipboard at CloseClipboard
    std::vector<HGLOBAL> handedOut;     // blocks GetClipboardData gave; freed at close
};

CClipboardState& Clip()
{
    static CClipboardState state;
    return state;
}

QString MimeTypeOf(UINT uFormat)
{
    const CString name = AfxGetAtomName(uFormat);
    if (name.IsEmpty())
        return QString();
    return QStringLiteral("application/x-morvel-") + QString::fromUtf8(Cp932ToUtf8(name.str()).c_str());
}

HGLOBAL BlockFromBytes(const void* data, size_t size)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
    if (size)
        std::memcpy(BlockOf(h)->data.data(), data, size);
    return h;
}

} // namespace

UINT RegisterClipboardFormat(LPCTSTR lpszFormat)
{
    return AfxRegisterAtom(lpszFormat);
}

int GetClipboardFormatName(UINT format, LPTSTR lpszFormatName, int cchMaxCount)
{
    const CString name = AfxGetAtomName(format);
    if (name.IsEmpty() || !lpszFormatName || cchMaxCount <= 0)
        return 0;
    const int n = std::min(name.GetLength(), cchMaxCount - 1);
    std::memcpy(lpszFormatName, name.c_str(), static_cast<size_t>(n));
    lpszFormatName[n] = '\0';
    return n;
}

BOOL OpenClipboard(HWND hWndNewOwner)
{
    (void)hWndNewOwner;
    CClipboardState& c = Clip();
    if (c.open || !qApp)
        return FALSE;
    c.open = true;
    return TRUE;
}

BOOL CloseClipboard()
{
    CClipboardState& c = Clip();
    if (!c.open)
        return FALSE;
    c.open = false;
    for (HGLOBAL h : c.handedOut)
        GlobalFree(h);
    c.handedOut.clear();
    if (c.pending && qApp)
        QApplication::clipboard()->setMimeData(c.pending.release());
    c.pending.reset();
    return TRUE;
}

BOOL EmptyClipboard()
{
    CClipboardState& c = Clip();
    if (!c.open)
        return FALSE;
    c.pending = std::make_unique<QMimeData>();
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem)
{
    CClipboardState& c = Clip();
    CGlobalBlock* p = BlockOf(hMem);
    if (!c.open || !p)
        return nullptr;
    if (!c.pending)
        c.pending = std::make_unique<QMimeData>();
    if (uFormat == CF_TEXT || uFormat == CF_OEMTEXT) {
        // Text up to its terminating zero, as UTF-8 for the other programs.
        const char* s = reinterpret_cast<const char*>(p->data.data());
        const size_t n = strnlen(s, p->data.size());
        c.pending->setText(QString::fromStdString(Cp932ToUtf8(std::string_view(s, n))));
    } else {
        const QString mime = MimeTypeOf(uFormat);
        if (mime.isEmpty())
            return nullptr;
        c.pending->setData(mime, QByteArray(reinterpret_cast<const char*>(p->data.data()),
                                            static_cast<qsizetype>(p->data.size())));
    }
    // The clipboard owns the block now.
    GlobalFree(hMem);
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    CClipboardState& c = Clip();
    if (!c.open || !qApp)
        return nullptr;
    const QMimeData* pData = c.pending ? c.pending.get() : QApplication::clipboard()->mimeData();
    if (!pData)
        return nullptr;
    HGLOBAL h = nullptr;
    if (uFormat == CF_TEXT || uFormat == CF_OEMTEXT) {
        if (!pData->hasText())
            return nullptr;
        const std::string bytes = Utf8ToCp932(pData->text().toStdString());
        h = BlockFromBytes(bytes.c_str(), bytes.size() + 1);
    } else {
        const QString mime = MimeTypeOf(uFormat);
        if (mime.isEmpty() || !pData->hasFormat(mime))
            return nullptr;
        const QByteArray bytes = pData->data(mime);
        h = BlockFromBytes(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    c.handedOut.push_back(h);
    return h;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    if (!qApp)
        return FALSE;
    CClipboardState& c = Clip();
    const QMimeData* pData = c.pending ? c.pending.get() : QApplication::clipboard()->mimeData();
    if (!pData)
        return FALSE;
    if (format == CF_TEXT || format == CF_OEMTEXT)
        return pData->hasText();
    const QString mime = MimeTypeOf(format);
    return !mime.isEmpty() && pData->hasFormat(mime);
}

// ---------------------------------------------------------------------------------------
// Dropped files.
// ---------------------------------------------------------------------------------------
struct CDropFiles {
    std::vector<CString> files;
};

UINT DragQueryFile(HANDLE hDrop, UINT iFile, LPTSTR lpszFile, UINT cch)
{
    auto* p = static_cast<CDropFiles*>(hDrop);
    if (!p)
        return 0;
    if (iFile == 0xFFFFFFFF)
        return static_cast<UINT>(p->files.size());
    if (iFile >= p->files.size())
        return 0;
    const CString& name = p->files[iFile];
    if (!lpszFile)
        return static_cast<UINT>(name.GetLength());
    if (cch == 0)
        return 0;
    const UINT n = std::min(static_cast<UINT>(name.GetLength()), cch - 1);
    std::memcpy(lpszFile, name.c_str(), n);
    lpszFile[n] = '\0';
    return n;
}

HANDLE AfxCreateDropFiles(const std::vector<CString>& files)
{
    auto* p = new CDropFiles;
    p->files = files;
    return p;
}

void DragFinish(HANDLE hDrop)
{
    delete static_cast<CDropFiles*>(hDrop);
}
