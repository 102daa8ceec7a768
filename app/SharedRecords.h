// Small records that several subsystems keep in their object arrays: chosen print layouts,
// field references of a layout, rectangles, chosen DOS-edition files, open layout documents
// and the print-layout file list. Each is made with new and freed by the array or document
// that holds it, through the virtual destructor of CObject.
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/base/Types.h"

#include <utility>
#include <vector>

class CArchive;
class CDocument;

// One print layout chosen for an estimate or a parts list: its file title (name without
// extension), its folder (with the trailing backslash) and the first and last page of the
// layout in the current print run. Only title and folder are stored with the document.
class CPrintFormEntry : public CObject {
    DECLARE_SERIAL(CPrintFormEntry)
public:
    CPrintFormEntry() = default;
    ~CPrintFormEntry() override;

    CString m_strTitle;
    CString m_strFolder;
    int m_nFirstPage = 0;
    int m_nLastPage = 0;
};

// A list of chosen layouts (CPrintFormEntry*, owned) as the estimate and parts files keep
// it: a word with the count, then the title and the folder of each. Storing more than
// 65,535 throws CArchiveException (genericException) before anything is written; a slot
// without an entry is stored as two empty texts. Loading gives the (title, folder) pairs, so
// that a document takes them over only once its whole file has been read; a file that ends
// early throws.
void StorePrintFormList(CArchive& ar, const CObArray& list);
std::vector<std::pair<CString, CString>> LoadPrintFormList(CArchive& ar);
// Deletes the entries of a list and empties it.
void ClearPrintFormList(CObArray& list);
// The folder of a chosen layout of the document at lpszDocumentPath: the entry's own, or,
// when it is kept relative to the document's folder (the sample documents keep "..\FORM\"),
// that folder taken from the document's folder, so that a work folder copied or moved whole
// with its layouts still prints. A document not saved yet leaves it as it is.
CString PrintFormFolder(const CString& strFolder, const char* lpszDocumentPath);
// The document at lpszOldPath is about to be saved at lpszNewPath: a folder kept relative
// that would name another folder from the new place is made the full folder it names now,
// so that the layouts chosen stay found. One that names the same folder from both stays as
// it is.
void KeepPrintFormsFound(CObArray& list, const char* lpszOldPath, const char* lpszNewPath);
// The list holds new entries for the pairs, in their order, instead of what it held.
void SetPrintFormList(CObArray& list, std::vector<std::pair<CString, CString>> entries);

// A field reference of a print layout: the key of an estimate or parts field token (its
// first two arguments with their comma) and the number of data lines one page shows for it.
class CFieldRefRecord : public CObject {
    DECLARE_SERIAL(CFieldRefRecord)
public:
    CFieldRefRecord() = default;
    ~CFieldRefRecord() override;

    CString m_strKey;
    int m_nValue = 1;
};

// A rectangle, for the print-form view's line spacing.
class CRectRecord : public CObject {
    DECLARE_SERIAL(CRectRecord)
public:
    CRectRecord() = default;
    ~CRectRecord() override;

    CRect m_rect;
};

// A DOS-edition file in the conversion's file selection: its name and 1 once chosen.
class CDosFileEntry : public CObject {
    DECLARE_SERIAL(CDosFileEntry)
public:
    CDosFileEntry() = default;
    ~CDosFileEntry() override;

    CString m_strFileName;
    int m_nFlag = 0;
};

// A print-layout document that is open while layouts are chosen: the document, its path in
// upper case and a flag.
class COpenPrintDocEntry : public CObject {
    DECLARE_DYNAMIC(COpenPrintDocEntry)
public:
    COpenPrintDocEntry() = default;
    ~COpenPrintDocEntry() override;

    CDocument* m_pDocument = nullptr; // not owned
    CString m_strFileName;
    int m_nFlag = 0;
};

// One text of a CPrintFileListEntry.
class CPrintFileListItem : public CObject {
    DECLARE_DYNAMIC(CPrintFileListItem)
public:
    CPrintFileListItem() = default;
    ~CPrintFileListItem() override;

    CString m_strText;
};

// A line of the print-layout file list: three texts and the items under it. The entry
// owns its items and deletes them with itself.
class CPrintFileListEntry : public CObject {
    DECLARE_DYNAMIC(CPrintFileListEntry)
public:
    CPrintFileListEntry() = default;
    ~CPrintFileListEntry() override;
    CPrintFileListEntry(const CPrintFileListEntry&) = delete;
    CPrintFileListEntry& operator=(const CPrintFileListEntry&) = delete;

    // Deletes every item and empties the array.
    void RemoveAllItems();

    CString m_strText1;
    CString m_strText2;
    CString m_strText3;
    CObArray m_aItems; // of CPrintFileListItem*
};

// A string array behind a serialisable object (the parts document keeps one). Storing and
// loading write and read nothing.
class CStringArrayHolder : public CObject {
    DECLARE_SERIAL(CStringArrayHolder)
public:
    CStringArrayHolder() = default;
    ~CStringArrayHolder() override;
    CStringArrayHolder(const CStringArrayHolder&) = delete;
    CStringArrayHolder& operator=(const CStringArrayHolder&) = delete;

    void SetSize(INT_PTR nNewSize) { m_array.SetSize(nNewSize); }
    INT_PTR Add(const CString& str) { return m_array.Add(str); }
    void RemoveAll() { m_array.RemoveAll(); }
    CString GetAt(INT_PTR nIndex) const { return m_array.GetAt(nIndex); }
    INT_PTR GetSize() const { return m_array.GetSize(); }
    void SetAtGrow(INT_PTR nIndex, const CString& str) { m_array.SetAtGrow(nIndex, str); }

    void Serialize(CArchive& ar) override;

    CStringArray m_array;
};
