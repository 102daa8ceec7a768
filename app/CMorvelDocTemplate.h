// A document type of the program. The four types are registered whether or not the
// subsystem that edits them is part of the program yet: a type without a document class
// still gives the file dialogs its name and filter, and opening or making such a document
// tells the user that this kind of file cannot be opened yet instead of failing silently.
#pragma once

#include "platform/ui/frames/CMultiDocTemplate.h"

class CMorvelDocTemplate : public CMultiDocTemplate {
    DECLARE_DYNAMIC(CMorvelDocTemplate)
public:
    // pDocClass may be null (the type is not available yet); pFrameClass null means the
    // framework's plain MDI child frame.
    CMorvelDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CMorvelDocTemplate() override;

    BOOL IsAvailable() const { return m_pDocClass != nullptr && m_pViewClass != nullptr; }

    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    CDocument* CreateNewDocument() override;
};
