// COleDataObject: the receiving side of a data transfer — what the clipboard holds, or what
// is being dragged over a window — asked for its formats and their bytes.
//
// Registered formats (RegisterClipboardFormat) travel as the private MIME type
// "application/x-morvel-<name>" with exactly the bytes the sender gave; CF_TEXT is code page
// 932 text, exchanged with other programs as UTF-8. Inside this program the data of a
// COleDataSource is rendered when it is asked for, so delayed rendering works as it does
// with OLE.
#pragma once

#include "platform/base/OleAspects.h"
#include "platform/base/Types.h"
#include "platform/ui/core/WinDefs.h"

#include <vector>

class CFile;
class QMimeData;

typedef WORD CLIPFORMAT;

// Drop effects.
typedef DWORD DROPEFFECT;
constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;
constexpr DROPEFFECT DROPEFFECT_LINK = 4;
constexpr DROPEFFECT DROPEFFECT_SCROLL = 0x80000000;

// Storage media of a format.
constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;
constexpr DWORD TYMED_FILE = 2;
constexpr DWORD TYMED_ISTREAM = 4;
constexpr DWORD TYMED_ISTORAGE = 8;

struct FORMATETC {
    CLIPFORMAT cfFormat;
    void* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;
};
typedef FORMATETC* LPFORMATETC;

struct STGMEDIUM {
    DWORD tymed;
    HGLOBAL hGlobal; // TYMED_HGLOBAL: a block the receiver frees with GlobalFree
    void* pUnkForRelease;
};
typedef STGMEDIUM* LPSTGMEDIUM;

// Frees what a medium holds.
void ReleaseStgMedium(LPSTGMEDIUM lpMedium);

class COleDataObject {
public:
    COleDataObject();
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // What the clipboard holds (read afresh at every question, so the object follows the
    // clipboard while attached). FALSE when there is no clipboard.
    BOOL AttachClipboard();
    // Data being dragged or pasted (the window layer's own use); the data must outlive the
    // attachment.
    void Attach(const QMimeData* pData);
    void Release();
    BOOL IsAttached() const { return m_bClipboard || m_pData != nullptr; }

    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr) const;
    // The data as a new global block (the caller frees it with GlobalFree); null when the
    // format is not there.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr) const;
    // The data as a new memory file positioned at its start (the caller deletes it); null
    // when the format is not there.
    CFile* GetFileData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr) const;
    // TYMED_HGLOBAL medium (release it with ReleaseStgMedium).
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr) const;
    // The bytes of a format; FALSE when it is not there.
    BOOL GetBytes(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes) const;

    // The formats offered, in the order given.
    void BeginEnumFormats();
    BOOL GetNextFormat(LPFORMATETC lpFormatEtc);

private:
    const QMimeData* Data() const;

    const QMimeData* m_pData = nullptr;
    bool m_bClipboard = false;
    std::vector<CLIPFORMAT> m_enumFormats;
    size_t m_nEnumPos = 0;
};
