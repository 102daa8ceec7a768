// CDocTemplate: one document type. It ties a document class, the frame class that shows
// it and the view class inside that frame to a resource id whose string holds the type's
// names and file filter ("\n"-separated fields, see DocStringIndex), and whose menu and
// accelerators the type's frames show.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/WinDefs.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);

public:
    ~CDocTemplate() override;

    // The fields of the template's string, in order.
    enum DocStringIndex {
        windowTitle, // caption of a single-document frame (empty for these types)
        docName,     // base name of new documents ("見積処理" -> "見積処理1")
        fileNewName, // the name in the File New chooser
        filterName,  // "見積処理ﾌｧｲﾙ (*.MMD)"
        filterExt,   // ".MMD"
        regFileTypeId,
        regFileTypeName
    };
    virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;

    // How well a file suits this template, best last.
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };
    // yesAlreadyOpen (with the document) when the file is open in one of this template's
    // documents; yesAttemptNative when its extension is the template's (without regard to
    // case); yesAttemptForeign otherwise.
    virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);

    // ---- the template's documents -------------------------------------------------------
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // ---- creating -----------------------------------------------------------------------
    // A new object of the document class, added to this template.
    virtual CDocument* CreateNewDocument();
    // A new frame (of the frame class) with its view for pDoc, loaded from the template's
    // resource id; null when creation failed.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    // Opens a file (or makes a new document when lpszPathName is null) in a new frame.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

    // ---- closing ------------------------------------------------------------------------
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    // Loads the menu and accelerators of the resource id (the constructor does it).
    virtual void LoadTemplate();
    // In-place editing of embedded objects is not offered; kept for the callers.
    void SetContainerInfo(UINT nIDOleInPlaceContainer) { m_nIDContainer = nIDOleInPlaceContainer; }

    UINT GetResourceID() const { return m_nIDResource; }
    CRuntimeClass* GetDocClass() const { return m_pDocClass; }
    CRuntimeClass* GetFrameClass() const { return m_pFrameClass; }
    CRuntimeClass* GetViewClass() const { return m_pViewClass; }

    UINT m_nIDResource;
    UINT m_nIDContainer = 0;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;   // the whole resource string
    BOOL m_bAutoDelete = TRUE; // the document manager deletes the template
};
