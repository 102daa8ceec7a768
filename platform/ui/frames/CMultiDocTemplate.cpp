#include "platform/ui/frames/CMultiDocTemplate.h"

#include "platform/base/MessageBox.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWaitCursor.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CFrameWnd.h"

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
    CMultiDocTemplate::LoadTemplate();
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    // Documents still open lose their template (they close with their frames).
    POSITION pos = m_docList.GetHeadPosition();
    while (pos) {
        auto* pDoc = static_cast<CDocument*>(m_docList.GetNext(pos));
        CDocTemplate::RemoveDocument(pDoc);
    }
    m_docList.RemoveAll();
    if (m_hMenuShared) {
        CMenu menu;
        menu.Attach(m_hMenuShared);
        menu.DestroyMenu();
        m_hMenuShared = nullptr;
    }
}

void CMultiDocTemplate::LoadTemplate()
{
    CDocTemplate::LoadTemplate();
    if (m_nIDResource == 0)
        return;
    if (!m_hMenuShared && FindMenuResource(m_nIDResource)) {
        CMenu menu;
        if (menu.LoadMenu(m_nIDResource))
            m_hMenuShared = menu.Detach();
    }
    if (!m_hAccelTable && FindAcceleratorResource(m_nIDResource))
        m_hAccelTable = AfxLoadAccelerators(m_nIDResource);
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const
{
    return static_cast<CDocument*>(m_docList.GetNext(rPos));
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
    if (!pDoc || m_docList.Find(pDoc))
        return;
    CDocTemplate::AddDocument(pDoc);
    m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
    POSITION pos = m_docList.Find(pDoc);
    if (!pos)
        return;
    m_docList.RemoveAt(pos);
    CDocTemplate::RemoveDocument(pDoc);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDocument = CreateNewDocument();
    if (!pDocument) {
        AfxMessageBox("ドキュメントを作成できませんでした。"_sj, MB_ICONEXCLAMATION);
        return nullptr;
    }

    // Until the document is loaded, nothing the frame does may delete it.
    const BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    if (!pFrame) {
        AfxMessageBox("ドキュメントを作成できませんでした。"_sj, MB_ICONEXCLAMATION);
        delete pDocument;
        return nullptr;
    }

    BOOL bLoaded;
    if (!lpszPathName) {
        SetDefaultTitle(pDocument);
        if (!bMakeVisible)
            pDocument->m_bEmbedded = TRUE;
        bLoaded = pDocument->OnNewDocument();
        if (bLoaded)
            ++m_nUntitledCount;
    } else {
        CWaitCursor wait;
        bLoaded = pDocument->OnOpenDocument(lpszPathName);
        if (bLoaded)
            pDocument->SetPathName(lpszPathName);
    }
    if (!bLoaded) {
        // The failure has been reported; the window and the document go.
        pFrame->DestroyWindow();
        delete pDocument;
        return nullptr;
    }
    pDocument->m_bAutoDelete = bAutoDelete;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString name;
    if (!GetDocString(name, docName) || name.IsEmpty())
        name = "無題"_sj;
    CString title;
    title.Format("%s%u", name.c_str(), m_nUntitledCount + 1);
    pDocument->SetTitle(title);
}
