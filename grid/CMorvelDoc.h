// CMorvelDoc: what the documents of the two grids, the estimate (CMorvelEMDoc) and the parts
// list (CMorvelPMDoc), do alike around their files, so that each keeps only its own file
// format and data. Both read a file whole before taking any of it, keep a backup copy of the
// file a save replaces, own the list of print layouts chosen for them, show the
// application's menu of their type and tell their grid views of every change.
#pragma once

#include "platform/base/CArchive.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/base/Types.h"
#include "platform/ui/frames/CDocument.h"

class CMenu;
class CMorvelApp;
class CView;

class CMorvelDoc : public CDocument {
    DECLARE_DYNAMIC(CMorvelDoc)
public:
    // Frees the print-layout list.
    ~CMorvelDoc() override;
    CMorvelDoc(const CMorvelDoc&) = delete;
    CMorvelDoc& operator=(const CMorvelDoc&) = delete;

    // The application's menu of the document's type (resource 123 or 124).
    HMENU GetDefaultMenu() override;
    // A change (bModified) also tells the grid views, whose undo records it may overtake
    // (CMorvelView::NoteDocumentChanged).
    void SetModifiedFlag(BOOL bModified = TRUE) override;

    // Deletes every print-layout entry and empties the list (printing uses it too).
    void ClearPrintForms();
    // Saved in another folder, the document keeps its layouts found (KeepPrintFormsFound).
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;

    // The path with the extension of its file name (the text after the file name's last
    // ".") replaced by lpszExtension; a file name without "." gets it appended. A "." in a
    // folder name is never taken.
    static CString ReplaceExtension(const char* lpszPathName, const char* lpszExtension);

    CObArray m_aPrintForms; // CPrintFormEntry*, owned; title and folder are stored

    // Counts are stored as words.
    enum { MAX_FILE_WORD = 0xFFFF };

protected:
    CMorvelDoc();

    // A count the file keeps in a word: a larger one (or a negative one) cannot be written
    // without corrupting everything after it, so it throws CArchiveException instead.
    static WORD CountWord(long long nCount);
    static WORD ReadWord(CArchive& ar)
    {
        WORD w = 0;
        ar >> w;
        return w;
    }

    // The application's menu of this document type.
    virtual CMenu& AppMenu(CMorvelApp& app) const = 0;

    // Whether a save may write the file at lpszPathName now (CanWriteFileAtomically): when
    // not, the user sees the message a failed save gives, before the save has touched
    // anything (the file's backup included).
    bool CheckSaveTarget(LPCTSTR lpszPathName);
    // Reads the file whole through Serialize while the wait dialog shows strWaitText.
    // false when it could not be read: the reader has told the user why (a CUserException),
    // or the framework's message says so.
    bool ReadWholeFile(LPCTSTR lpszPathName, const CString& strWaitText);
    // Copies the file at lpszPathName to strBackupPath, replacing an older copy, while the
    // input setting "Backup File" is 0. A failed copy (no file yet) is ignored.
    static void CopyToBackup(LPCTSTR lpszPathName, const CString& strBackupPath);
    // The first view of the document that is of the class (or derives from it), or null.
    CView* FindView(CRuntimeClass* pClass) const;
};
