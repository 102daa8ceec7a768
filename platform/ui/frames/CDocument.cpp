#include "platform/ui/frames/CDocument.h"

#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/Cp932.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWaitCursor.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/frames/CDocManager.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CView.h"

#include <cerrno>
#include <exception>
#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

namespace {

// The file name part of a path ("C:\WORK\A.MMD" -> "A.MMD"); both separators count.
CString FileNameOfPath(const CString& path)
{
    int cut = -1;
    for (int i = 0; i < path.GetLength();) {
        const char ch = path.GetAt(i);
        if (ch == '\\' || ch == '/' || ch == ':')
            cut = i;
        i += IsCp932LeadByte(static_cast<BYTE>(ch)) && i + 1 < path.GetLength() ? 2 : 1;
    }
    return path.Mid(cut + 1);
}

// The frames that show the document's views, each once, in view order.
std::vector<CFrameWnd*> FramesOfDocument(const CDocument* pDoc)
{
    std::vector<CFrameWnd*> frames;
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos) {
        CView* pView = pDoc->GetNextView(pos);
        CFrameWnd* pFrame = pView ? pView->GetParentFrame() : nullptr;
        if (!pFrame)
            continue;
        bool seen = false;
        for (CFrameWnd* p : frames)
            seen = seen || p == pFrame;
        if (!seen)
            frames.push_back(pFrame);
    }
    return frames;
}

// What went wrong with a file, for the user.
CString DescribeFileFailure(const CString& name, const CException* e, BOOL bSaving)
{
    CString text;
    if (const auto* pFile = dynamic_cast<const CFileException*>(e)) {
        switch (pFile->m_cause) {
        case CFileException::fileNotFound:
        case CFileException::badPath:
            text.Format("%s%s", name.c_str(), CString("が見つかりません。"_sj).c_str());
            return text;
        case CFileException::accessDenied:
        case CFileException::sharingViolation:
        case CFileException::lockViolation:
            text.Format("%s%s", name.c_str(), CString("にアクセスできません。"_sj).c_str());
            return text;
        case CFileException::diskFull:
            text.Format("%s%s", CString("ディスクがいっぱいのため、"_sj).c_str(),
                        (name + CString("を保存できませんでした。"_sj)).c_str());
            return text;
        default:
            if (bSaving && pFile->m_cause != CFileException::none) {
                // The system's reason, in the program's words.
                const CFileException reason(pFile->m_cause, pFile->m_lOsError, "");
                text.Format("%s%s\n%s", name.c_str(), CString("を保存できませんでした。"_sj).c_str(),
                            reason.GetErrorText().c_str());
                return text;
            }
            break;
        }
    } else if (const auto* pArchive = dynamic_cast<const CArchiveException*>(e)) {
        if (!bSaving && pArchive->m_cause != CArchiveException::none) {
            text.Format("%s%s", name.c_str(), CString("は予期しない形式か、壊れています。"_sj).c_str());
            return text;
        }
    }
    text.Format("%s%s", name.c_str(),
                CString(bSaving ? "を保存できませんでした。"_sj : "を開けませんでした。"_sj).c_str());
    return text;
}

} // namespace

CDocument::CDocument()
{
    AfxInstallDocManagerHooks();
}

CDocument::~CDocument()
{
    // Views outlive a document only when someone deletes it by hand; they must not point
    // at it afterwards.
    POSITION pos = m_viewList.GetHeadPosition();
    while (pos) {
        auto* pView = static_cast<CView*>(m_viewList.GetNext(pos));
        if (pView && pView->m_pDocument == this)
            pView->m_pDocument = nullptr;
    }
    m_viewList.RemoveAll();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

// ---------------------------------------------------------------------------------------
// File and title.
// ---------------------------------------------------------------------------------------
void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    m_strPathName = lpszPathName;
    SetTitle(FileNameOfPath(m_strPathName));
    if (bAddToMRU && !m_strPathName.IsEmpty()) {
        if (CWinApp* pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
    }
}

// ---------------------------------------------------------------------------------------
// Views.
// ---------------------------------------------------------------------------------------
void CDocument::AddView(CView* pView)
{
    if (!pView || m_viewList.Find(pView))
        return;
    if (pView->m_pDocument && pView->m_pDocument != this)
        pView->m_pDocument->RemoveView(pView);
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = m_viewList.Find(pView);
    if (!pos)
        return;
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    // A view may close itself or others while it updates: walk a copy and skip the ones
    // that are gone.
    std::vector<CView*> views;
    POSITION pos = m_viewList.GetHeadPosition();
    while (pos)
        views.push_back(static_cast<CView*>(m_viewList.GetNext(pos)));
    for (CView* pView : views) {
        if (pView == pSender || !m_viewList.Find(pView))
            continue;
        pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        // The last view went: the document goes with it.
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    // Several frames on one document are told apart by a number in their titles.
    std::vector<CFrameWnd*> frames = FramesOfDocument(this);
    int n = 1;
    for (CFrameWnd* pFrame : frames)
        pFrame->m_nWindow = frames.size() > 1 ? n++ : -1;
    for (CFrameWnd* pFrame : frames)
        pFrame->OnUpdateFrameTitle(TRUE);
}

// ---------------------------------------------------------------------------------------
// Life cycle.
// ---------------------------------------------------------------------------------------
void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    auto* pFile = new CFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
        delete pFile;
        return nullptr;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (!pFile)
        return;
    if (bAbort) {
        pFile->Abort();
    } else {
        try {
            pFile->Close();
        } catch (CException&) {
            pFile->Abort();
            delete pFile;
            throw;
        }
    }
    delete pFile;
}

void CDocument::SerializeWholeFile(LPCTSTR lpszPathName)
{
    // (Opening the file removes what a save of it killed part-way left beside it.)
    CMemFile memFile(ReadWholeFileBytes(lpszPathName));
    m_nLastFileLength = memFile.GetLength();
    CArchive ar(&memFile, CArchive::load, 4096);
    ar.m_pDocument = this;
    Serialize(ar);
    ar.Close();
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (!pFile) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, 0);
        return FALSE;
    }

    DeleteContents();
    SetModifiedFlag(TRUE); // what is read is not the file until the read succeeded
    try {
        CWaitCursor wait;
        CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
        loadArchive.m_pDocument = this;
        if (pFile->GetLength() != 0)
            Serialize(loadArchive);
        loadArchive.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException& e) {
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, &e, FALSE, 0);
        return FALSE;
    } catch (std::exception&) {
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, nullptr, FALSE, 0);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    // The whole file is made in memory first and then replaces the old file in one step:
    // a failing Serialize or a full disk never leaves the user with half a file where the
    // old one was.
    CMemFile memFile(4096);
    memFile.Reserve(m_nLastFileLength + m_nLastFileLength / 8);
    try {
        CWaitCursor wait;
        CArchive saveArchive(&memFile, CArchive::store | CArchive::bNoFlushOnDelete);
        saveArchive.m_pDocument = this;
        Serialize(saveArchive);
        saveArchive.Close();
    } catch (CException& e) {
        ReportSaveLoadException(lpszPathName, &e, TRUE, 0);
        return FALSE;
    } catch (std::exception&) {
        ReportSaveLoadException(lpszPathName, nullptr, TRUE, 0);
        return FALSE;
    }
    const std::vector<BYTE>& bytes = memFile.GetData();
    if (!WriteFileAtomically(lpszPathName, bytes.data(), bytes.size())) {
        const int err = errno;
        CFileException fe(CFile::ErrnoToCause(err), err, lpszPathName);
        ReportSaveLoadException(lpszPathName, &fe, TRUE, 0);
        return FALSE;
    }
    m_nLastFileLength = bytes.size();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    (void)nIDPDefault;
    // The user sees the file where the desktop shows it, not the program's inner form.
    CString name = lpszPathName && *lpszPathName ? DisplayPath(lpszPathName) : CString();
    if (name.IsEmpty())
        name = m_strTitle;
    CString text = DescribeFileFailure(name, e, bSaving);
    // A save is made whole in a new file before it replaces the old one: a failed save
    // leaves the old file as it was.
    if (bSaving && lpszPathName && *lpszPathName && FileExists(lpszPathName))
        text += "\n"_sj + CString("元のファイルは変更されていません。"_sj);
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

void CDocument::OnCloseDocument()
{
    // The frames go first; the document must stay alive until they have all gone, however
    // the views' departures would otherwise close it.
    const BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        auto* pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else if (pView->m_hWnd) {
            pView->DestroyWindow();
        }
        // A view that has no window (or outlived its frame) leaves the list by hand, so the
        // loop always ends.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

// ---------------------------------------------------------------------------------------
// Closing and saving.
// ---------------------------------------------------------------------------------------
BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    // Another frame still shows the document: closing this one loses nothing.
    for (CFrameWnd* pFrame : FramesOfDocument(this)) {
        if (pFrame != pFrameArg)
            return TRUE;
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd* pFrame)
{
    (void)pFrame;
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : FileNameOfPath(m_strPathName);
    if (name.IsEmpty())
        name = "無題"_sj;
    CString prompt;
    prompt.Format("%s%s", name.c_str(), CString(" への変更を保存しますか?"_sj).c_str());
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    case IDNO:
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave()
{
    if (m_strPathName.IsEmpty())
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName ? CString(lpszPathName) : CString();
    if (newName.IsEmpty()) {
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            // Propose the title as the name, cut before characters a file name cannot
            // carry, with the type's extension.
            newName = m_strTitle;
            const int bad = newName.FindOneOf(" #%;/\\:*?\"<>|");
            if (bad >= 0)
                newName = newName.Left(bad);
            CString ext;
            if (m_pDocTemplate && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) &&
                !ext.IsEmpty())
                newName += ext;
        }
        CWinApp* pApp = AfxGetApp();
        if (!pApp || !pApp->DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                             OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate))
            return FALSE;
        if (!OnSaveDocument(newName))
            return FALSE;
        if (pApp->m_pDocManager != nullptr)
            pApp->m_pDocManager->OnPromptedFileSaved(newName);
    } else if (!OnSaveDocument(newName)) {
        return FALSE;
    }
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

HMENU CDocument::GetDefaultMenu()
{
    return nullptr;
}

HACCEL CDocument::GetDefaultAccelerator()
{
    return nullptr;
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose()
{
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(nullptr);
}
