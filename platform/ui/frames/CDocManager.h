// CDocManager: the application's list of document templates and the commands that work
// across them: File New (with a chooser of the document type when there is more than one),
// File Open with one file dialog for all types, opening a named file with the template that
// suits it (or activating it when it is open already), and saving or closing everything.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/ui/core/WinDefs.h"

class CDocTemplate;
class CDocument;

// String ids of the framework's file dialog titles and filter names.
constexpr UINT AFX_IDS_OPENFILE = 0xF000;
constexpr UINT AFX_IDS_SAVEFILE = 0xF001;
constexpr UINT AFX_IDS_ALLFILTER = 0xF002;
constexpr UINT AFX_IDS_UNTITLED = 0xF003;
constexpr UINT AFX_IDS_SAVEFILECOPY = 0xF004;
// The dialog of File New that lists the document types.
constexpr UINT AFX_IDD_NEWTYPEDLG = 30721;

class CDocManager : public CObject {
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager();
    // Deletes the templates it holds (those with m_bAutoDelete).
    ~CDocManager() override;
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    virtual POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
    virtual CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    int GetDocTemplateCount() const { return static_cast<int>(m_templateList.GetCount()); }

    // The desktop keeps no file associations for this program: these do nothing.
    virtual void RegisterShellFileTypes(BOOL bCompat) { (void)bCompat; }
    void UnregisterShellFileTypes() {}

    // Opens a file with the template that suits it best (an open document is activated
    // instead of being opened twice); null when it could not be opened.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();

    // The file dialog of File Open, Save As and Save of an unnamed document. lFlags adds
    // to the dialog's flags; pTemplate null lists every template's filter. TRUE when the
    // user confirmed; fileName then holds the chosen path.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);
    // A document was written to the file its save dialog chose (after DoPromptFileName
    // for saving); not called when the write failed.
    virtual void OnPromptedFileSaved(LPCTSTR lpszPathName) { (void)lpszPathName; }

    virtual void OnFileNew();
    virtual void OnFileOpen();

    // The filter string of a template for a file dialog: "name|*.EXT|"; empty when the
    // template has no extension.
    static CString GetTemplateFilter(CDocTemplate* pTemplate);

    // Chooses the template for File New when there are several: a dialog titled "新規"
    // (AFX_IDD_NEWTYPEDLG) lists the types' names. Null when the user cancelled.
    virtual CDocTemplate* ChooseTemplateForNew();

protected:
    CPtrList m_templateList;
};

// Hooks the document manager and the printer into the application object (idempotent;
// the classes of this layer call it when they are first used).
void AfxInstallDocManagerHooks();
