#include "platform/ui/frames/CDocTemplate.h"

#include "platform/base/Path.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/frames/CCreateContext.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CFrameWnd.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

namespace {

// Whether two system paths name the same file: equal without regard to case, or the same
// file on disk.
bool SamePath(const CString& a, const CString& b)
{
    if (a.IsEmpty() || b.IsEmpty())
        return false;
    if (a.CompareNoCase(b) == 0)
        return true;
    return NativePath(a) == NativePath(b);
}

// Whether the path ends in one of the extensions (".MMD", or several as ".A;.B"), without
// regard to case.
bool HasExtension(const CString& path, const CString& extensions)
{
    int start = 0;
    while (start < extensions.GetLength()) {
        int end = extensions.Find(';', start);
        if (end < 0)
            end = extensions.GetLength();
        CString ext = extensions.Mid(start, end - start);
        ext.Trim();
        if (ext.Left(1) == "*")
            ext = ext.Mid(1);
        if (!ext.IsEmpty() && path.GetLength() >= ext.GetLength() &&
            path.Right(ext.GetLength()).CompareNoCase(ext) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    AfxInstallDocManagerHooks();
    CDocTemplate::LoadTemplate();
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty() && m_nIDResource != 0)
        AfxLoadString(m_nIDResource, m_strDocStrings);
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const
{
    return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index), '\n');
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    const CString path = lpszPathName ? CString(lpszPathName) : CString();
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = GetNextDoc(pos);
        if (pDoc && SamePath(pDoc->GetPathName(), path)) {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    if (GetDocString(ext, filterExt) && !ext.IsEmpty() && HasExtension(path, ext))
        return yesAttemptNative;
    // Any template may try a file that is not its own: the document decides whether it can
    // read it (the estimate reads the outside packages' files this way).
    return yesAttemptForeign;
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    if (pDoc)
        pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (pDoc && pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass)
        return nullptr;
    CObject* pObject = m_pDocClass->CreateObject();
    auto* pDoc = dynamic_cast<CDocument*>(pObject);
    if (!pDoc) {
        delete pObject;
        return nullptr;
    }
    AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    if (!m_pFrameClass)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    CObject* pObject = m_pFrameClass->CreateObject();
    auto* pFrame = dynamic_cast<CFrameWnd*>(pObject);
    if (!pFrame) {
        delete pObject;
        return nullptr;
    }
    // A frame that fails to load has deleted itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    if (pFrame)
        pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = GetNextDoc(pos);
        if (pDoc && !pDoc->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL bEndSession)
{
    (void)bEndSession;
    std::vector<CDocument*> docs;
    POSITION pos = GetFirstDocPosition();
    while (pos)
        docs.push_back(GetNextDoc(pos));
    for (CDocument* pDoc : docs) {
        // Closing one document may have closed another one of the list.
        bool alive = false;
        POSITION p = GetFirstDocPosition();
        while (p && !alive)
            alive = GetNextDoc(p) == pDoc;
        if (alive)
            pDoc->OnCloseDocument();
    }
}
