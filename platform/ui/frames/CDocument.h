// CDocument: the data of one open file, shown by one or more views. It knows its file
// (path and title), whether it has unsaved changes, its template and its views; it reads
// and writes itself through Serialize, and it asks before changes would be lost.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/WinDefs.h"

class CDocTemplate;
class CException;
class CFile;
class CFileException;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    // Views still attached are told that their document is gone (they stay alive).
    ~CDocument() override;

    // ---- file and title -----------------------------------------------------------------
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Takes the full path and makes the file name the title; with bAddToMRU the path joins
    // the application's recent-file list.
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    // ---- changes ------------------------------------------------------------------------
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // ---- views --------------------------------------------------------------------------
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& rPosition) const;
    int GetViewCount() const { return static_cast<int>(m_viewList.GetCount()); }
    // Calls OnUpdate of every view except pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // A view came or went: the document closes with its last view (m_bAutoDelete),
    // otherwise the frames' titles are renumbered.
    virtual void OnChangedViewList();
    // Numbers the frames showing the document ("title:1", "title:2") when there are several
    // and updates their titles.
    void UpdateFrameCounts();

    // ---- life cycle ---------------------------------------------------------------------
    // Empties the document's data (before a new or opened file fills it, and on closing).
    virtual void DeleteContents();
    // A new, empty document: DeleteContents, not modified. FALSE discards it.
    virtual BOOL OnNewDocument();
    // Reads the file through Serialize; on failure reports it and returns FALSE (the
    // document is then empty again).
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    // Writes the document through Serialize. The file is written in full to a temporary
    // file first and replaces the old one only when that succeeded.
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Destroys the frames showing the document, then the document itself (when
    // m_bAutoDelete).
    virtual void OnCloseDocument();
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
    virtual CFile* GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);

    // ---- closing and saving -------------------------------------------------------------
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // Asks "save changes?" when modified: Yes saves (FALSE when that fails), No discards,
    // Cancel returns FALSE.
    virtual BOOL SaveModified();
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Saves under lpszPathName, or asks for a name (Save As) when it is null; with bReplace
    // the document takes the new name.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();

    // ---- menus for the frame ------------------------------------------------------------
    // Null: the template's shared menu and accelerators.
    virtual HMENU GetDefaultMenu();
    virtual HACCEL GetDefaultAccelerator();

    // Commands reach the document after its active view; the template comes next.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    BOOL m_bAutoDelete = TRUE; // delete the object when its last view goes
    BOOL m_bEmbedded = FALSE;

    DECLARE_MESSAGE_MAP()

protected:
    friend class CDocTemplate;

    // Reads the whole file into memory and serializes the document from there; the file's
    // and the reader's exceptions pass to the caller.
    void SerializeWholeFile(LPCTSTR lpszPathName);

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;

private:
    // The length of the file last read or written whole: a save makes room for about as
    // much at once rather than growing its memory file step by step.
    size_t m_nLastFileLength = 0;
};
