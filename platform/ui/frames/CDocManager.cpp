#include "platform/ui/frames/CDocManager.h"

#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/DialogDefs.h"
#include "platform/ui/core/Resources.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/frames/CDocTemplate.h"
#include "platform/ui/frames/CDocument.h"
#include "platform/ui/frames/CFrameWnd.h"
#include "platform/ui/frames/CNewTypeDialog.h"
#include "platform/ui/frames/CPrinterSettings.h"
#include "platform/ui/frames/CView.h"
#include "platform/ui/gdi/CDC.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDocManager, CObject)

namespace {

// The application's document manager, made on first use.
CDocManager* ManagerOf(CWinApp& app)
{
    if (!app.m_pDocManager)
        app.m_pDocManager = new CDocManager;
    return app.m_pDocManager;
}

CString LoadTitle(UINT nIDSTitle, BOOL bOpen)
{
    CString title;
    if (nIDSTitle && AfxLoadString(nIDSTitle, title))
        return title;
    return bOpen ? "開く"_sj : "名前を付けて保存"_sj;
}

} // namespace

void AfxInstallDocManagerHooks()
{
    static bool s_installed = false;
    if (s_installed)
        return;
    s_installed = true;
    CWinAppHooks& hooks = CWinApp::Hooks();
    hooks.addDocTemplate = [](CWinApp& app, CDocTemplate* pTemplate) {
        ManagerOf(app)->AddDocTemplate(pTemplate);
    };
    hooks.onFileNew = [](CWinApp& app) { ManagerOf(app)->OnFileNew(); };
    hooks.onFileOpen = [](CWinApp& app) { ManagerOf(app)->OnFileOpen(); };
    hooks.openDocumentFile = [](CWinApp& app, LPCTSTR lpszFileName) {
        return ManagerOf(app)->OpenDocumentFile(lpszFileName);
    };
    hooks.doPromptFileName = [](CWinApp& app, CString& fileName, UINT nIDSTitle, DWORD lFlags,
                                BOOL bOpenFileDialog, CDocTemplate* pTemplate) {
        return ManagerOf(app)->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate);
    };
    hooks.saveAllModified = [](CWinApp& app) -> BOOL {
        return app.m_pDocManager ? app.m_pDocManager->SaveAllModified() : TRUE;
    };
    hooks.closeAllDocuments = [](CWinApp& app, BOOL bEndSession) {
        if (app.m_pDocManager)
            app.m_pDocManager->CloseAllDocuments(bEndSession);
    };
    hooks.getOpenDocumentCount = [](CWinApp& app) {
        return app.m_pDocManager ? app.m_pDocManager->GetOpenDocumentCount() : 0;
    };
    hooks.deleteDocManager = [](CWinApp& app) {
        delete app.m_pDocManager;
        app.m_pDocManager = nullptr;
    };
    AfxInstallPrinterHooks();
}

namespace {
const bool s_hooksInstalled = (AfxInstallDocManagerHooks(), true);
} // namespace

CDocManager::CDocManager()
{
    (void)s_hooksInstalled;
    AfxInstallDocManagerHooks();
}

CDocManager::~CDocManager()
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        if (pTemplate && pTemplate->m_bAutoDelete)
            delete pTemplate;
    }
    m_templateList.RemoveAll();
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (!pTemplate || m_templateList.Find(pTemplate))
        return;
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
    return static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
}

// ---------------------------------------------------------------------------------------
// Opening.
// ---------------------------------------------------------------------------------------
CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName)
{
    if (!lpszFileName || !*lpszFileName)
        return nullptr;
    // A relative name is made full here, once: opening a document moves the current folder,
    // and the document must be read from, and saved to, where the name meant when it came.
    const CString path = GetFullPath(lpszFileName);
    CDocTemplate* pBestTemplate = nullptr;
    CDocument* pOpenDocument = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        CDocument* pMatch = nullptr;
        const CDocTemplate::Confidence match = pTemplate->MatchDocType(path, pMatch);
        if (match > bestMatch) {
            bestMatch = match;
            pBestTemplate = pTemplate;
        }
        if (match == CDocTemplate::yesAlreadyOpen) {
            pOpenDocument = pMatch;
            break;
        }
    }

    if (pOpenDocument) {
        // Open already: its window comes to the front instead of a second copy.
        POSITION posView = pOpenDocument->GetFirstViewPosition();
        CView* pView = posView ? pOpenDocument->GetNextView(posView) : nullptr;
        if (CFrameWnd* pFrame = pView ? pView->GetParentFrame() : nullptr) {
            pFrame->ActivateFrame();
            if (CWnd* pMain = AfxGetMainWnd(); pMain && pMain != pFrame) {
                if (CFrameWnd* pMainFrame = pMain->AsFrameWnd())
                    pMainFrame->ActivateFrame();
            }
        }
        return pOpenDocument;
    }
    if (!pBestTemplate) {
        AfxMessageBox("ドキュメントを開けませんでした。"_sj, MB_ICONEXCLAMATION);
        return nullptr;
    }
    return pBestTemplate->OpenDocumentFile(path);
}

BOOL CDocManager::SaveAllModified()
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        pTemplate->CloseAllDocuments(bEndSession);
    }
}

int CDocManager::GetOpenDocumentCount()
{
    int nCount = 0;
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        POSITION posDoc = pTemplate->GetFirstDocPosition();
        while (posDoc) {
            pTemplate->GetNextDoc(posDoc);
            ++nCount;
        }
    }
    return nCount;
}

// ---------------------------------------------------------------------------------------
// File dialog.
// ---------------------------------------------------------------------------------------
CString CDocManager::GetTemplateFilter(CDocTemplate* pTemplate)
{
    CString filterName;
    CString filterExt;
    if (!pTemplate || !pTemplate->GetDocString(filterExt, CDocTemplate::filterExt) || filterExt.IsEmpty() ||
        !pTemplate->GetDocString(filterName, CDocTemplate::filterName) || filterName.IsEmpty())
        return CString();
    // Several extensions ".A;.B" become "*.A;*.B".
    CString pattern;
    int start = 0;
    while (start < filterExt.GetLength()) {
        int end = filterExt.Find(';', start);
        if (end < 0)
            end = filterExt.GetLength();
        CString ext = filterExt.Mid(start, end - start);
        if (!ext.IsEmpty()) {
            if (!pattern.IsEmpty())
                pattern += ";";
            pattern += "*" + ext;
        }
        start = end + 1;
    }
    return filterName + "|" + pattern + "|";
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                   CDocTemplate* pTemplate)
{
    CString filter;
    CString defaultExt;
    auto addTemplate = [&](CDocTemplate* pT) {
        const CString f = GetTemplateFilter(pT);
        if (f.IsEmpty())
            return;
        if (defaultExt.IsEmpty()) {
            CString ext;
            pT->GetDocString(ext, CDocTemplate::filterExt);
            const int semi = ext.Find(';');
            defaultExt = (semi >= 0 ? ext.Left(semi) : ext);
            if (defaultExt.Left(1) == ".")
                defaultExt = defaultExt.Mid(1);
        }
        filter += f;
    };
    if (pTemplate) {
        addTemplate(pTemplate);
    } else {
        POSITION pos = m_templateList.GetHeadPosition();
        while (pos)
            addTemplate(static_cast<CDocTemplate*>(m_templateList.GetNext(pos)));
    }
    CString allFilter;
    if (!AfxLoadString(AFX_IDS_ALLFILTER, allFilter))
        allFilter = "すべてのﾌｧｲﾙ (*.*)"_sj;
    filter += allFilter + "|*.*||";

    const CString title = LoadTitle(nIDSTitle, bOpenFileDialog);
    CFileDialog dlg(bOpenFileDialog, defaultExt.IsEmpty() ? nullptr : defaultExt.c_str(), fileName,
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | lFlags, filter, AfxGetMainWnd());
    dlg.m_ofn.lpstrTitle = title;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    fileName = dlg.GetPathName();
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Commands.
// ---------------------------------------------------------------------------------------
CDocTemplate* CDocManager::ChooseTemplateForNew()
{
    std::vector<CString> names;
    std::vector<CDocTemplate*> templates;
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        CString name;
        if (pTemplate->GetDocString(name, CDocTemplate::docName) && !name.IsEmpty()) {
            names.push_back(name);
            templates.push_back(pTemplate);
        }
    }
    if (templates.empty())
        return nullptr;
    if (templates.size() == 1)
        return templates.front();
    CNewTypeDialog dlg(names, AfxGetMainWnd());
    if (dlg.DoModal() != IDOK || dlg.m_nSelected < 0)
        return nullptr;
    return templates[static_cast<size_t>(dlg.m_nSelected)];
}

void CDocManager::OnFileNew()
{
    if (m_templateList.IsEmpty())
        return;
    CDocTemplate* pTemplate = m_templateList.GetCount() == 1
                                  ? static_cast<CDocTemplate*>(m_templateList.GetHead())
                                  : ChooseTemplateForNew();
    if (pTemplate)
        pTemplate->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen()
{
    CString newName;
    if (!DoPromptFileName(newName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    if (CWinApp* pApp = AfxGetApp())
        pApp->OpenDocumentFile(newName);
}
