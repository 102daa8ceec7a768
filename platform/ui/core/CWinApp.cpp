#include "platform/ui/core/CWinApp.h"

#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/controls/ControlWidgets_p.h"
#include "platform/ui/core/CCmdUI.h"
#include "platform/ui/core/CCommandLineInfo.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWnd.h"
#include "platform/ui/core/CWndManager_p.h"
#include "platform/ui/core/Cursors_p.h"
#include "platform/ui/core/WinApi.h"

#include <QApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, OnOpenRecentFile)
END_MESSAGE_MAP()

namespace {

CWinApp* g_pApp = nullptr;
int g_nExitCode = 0;

const char kRecentSection[] = "Recent File List";
constexpr UINT kMaxRecentFiles = 16;
// Longest path shown in the menu before it is shortened with "...".
constexpr int kRecentDisplayLength = 30;

char* DupString(const char* psz)
{
    if (!psz)
        return nullptr;
    const size_t n = std::strlen(psz);
    auto* p = static_cast<char*>(std::malloc(n + 1));
    if (p)
        std::memcpy(p, psz, n + 1);
    return p;
}

// The program's name without folder and extension.
CString ProgramBaseName()
{
    CString path = GetModuleFileName();
    int nSlash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    CString name = path.Mid(nSlash + 1);
    const int nDot = name.ReverseFind('.');
    if (nDot > 0)
        name = name.Left(nDot);
    return name;
}

} // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName)
{
    g_pApp = this;
    // These are heap strings, as the framework's users expect: a program may free one and
    // put its own in its place.
    const CString exe = ProgramBaseName();
    m_pszExeName = DupString(exe);
    m_pszAppName = DupString(lpszAppName ? lpszAppName : static_cast<const char*>(exe));
}

CWinApp::~CWinApp()
{
    if (m_pDocManager && Hooks().deleteDocManager)
        Hooks().deleteDocManager(*this);
    std::free(const_cast<char*>(m_pszAppName));
    std::free(const_cast<char*>(m_pszExeName));
    std::free(const_cast<char*>(m_pszHelpFilePath));
    std::free(const_cast<char*>(m_pszProfileName));
    m_pszAppName = m_pszExeName = m_pszHelpFilePath = m_pszProfileName = nullptr;
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinAppHooks& CWinApp::Hooks()
{
    static CWinAppHooks hooks;
    return hooks;
}

// ---------------------------------------------------------------------------------------
// Overridables.
// ---------------------------------------------------------------------------------------
BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    if (m_nMaxMRU > 0)
        SaveStdProfileSettings();
    return g_nExitCode;
}

int CWinApp::Run()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return ExitInstance();
    CWndManager::Instance(); // input translation and idle updates from here on
    QApplication::setQuitOnLastWindowClosed(false);
    g_nExitCode = QApplication::exec();
    return ExitInstance();
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pMainWnd = GetMainWnd();
    HWND hWndStop = pMainWnd ? pMainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hWndStop, pMsg))
        return TRUE;
    // Windows outside the main window's family (modeless top-level windows) still get the
    // main window's accelerators.
    // A disabled main window (a modal dialog is up) takes no keys.
    if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowEnabled()) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd && pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = GetMainWnd();
        if (pMainWnd && pMainWnd->m_hWnd && pMainWnd->IsWindowVisible()) {
            pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    return FALSE;
}

void CWinApp::RunIdle()
{
    // Guards against an OnIdle that keeps asking for more.
    for (LONG lCount = 0; lCount < 100; ++lCount) {
        if (!OnIdle(lCount))
            break;
    }
}

BOOL CWinApp::IsIdleMessage(MSG* pMsg)
{
    return pMsg && pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    return AfxMessageBox(lpszPrompt ? lpszPrompt : "", nType, nIDPrompt);
}

BOOL CWinApp::SaveAllModified()
{
    return Hooks().saveAllModified ? Hooks().saveAllModified(*this) : TRUE;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    return Hooks().openDocumentFile ? Hooks().openDocumentFile(*this, lpszFileName) : nullptr;
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    return Hooks().doPromptFileName
               ? Hooks().doPromptFileName(*this, fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate)
               : FALSE;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (Hooks().addDocTemplate)
        Hooks().addDocTemplate(*this, pTemplate);
}

int CWinApp::GetOpenDocumentCount()
{
    return Hooks().getOpenDocumentCount ? Hooks().getOpenDocumentCount(*this) : 0;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (Hooks().closeAllDocuments)
        Hooks().closeAllDocuments(*this, bEndSession);
}

// ---------------------------------------------------------------------------------------
// Command line.
// ---------------------------------------------------------------------------------------
void CWinApp::SetCommandLine(int argc, char** argv)
{
    m_args.clear();
    for (int i = 1; i < argc; ++i)
        m_args.emplace_back(argv[i] ? argv[i] : "");
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    const int n = static_cast<int>(m_args.size());
    for (int i = 0; i < n; ++i) {
        const char* psz = m_args[static_cast<size_t>(i)];
        BOOL bFlag = FALSE;
        if (psz[0] == '-' || (psz[0] == '/' && AfxIsCommandLineSwitch(psz + 1))) {
            bFlag = TRUE;
            ++psz;
        }
        rCmdInfo.ParseParam(psz, bFlag, i == n - 1);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    BOOL bResult = TRUE;
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        if (m_pMainWnd == nullptr)
            bResult = FALSE;
        break;
    case CCommandLineInfo::FileOpen:
        if (!OpenDocumentFile(rCmdInfo.m_strFileName))
            bResult = FALSE;
        break;
    case CCommandLineInfo::FilePrintTo:
    case CCommandLineInfo::FilePrint:
        // Print the file and end.
        m_nCmdShow = SW_HIDE;
        if (OpenDocumentFile(rCmdInfo.m_strFileName) && m_pMainWnd)
            m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
        bResult = FALSE;
        break;
    case CCommandLineInfo::FileDDE:
        // No shell conversation on this platform: nothing to wait for.
        break;
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
        bResult = FALSE;
        break;
    case CCommandLineInfo::FileNothing:
    default:
        break;
    }
    return bResult;
}

// ---------------------------------------------------------------------------------------
// Settings file.
// ---------------------------------------------------------------------------------------
void CWinApp::SyncProfilePath()
{
    const char* psz = m_pszProfileName ? m_pszProfileName : "";
    if (m_strProfilePath != psz) {
        m_strProfilePath = psz;
        m_profile.SetPath(m_strProfilePath);
    }
}

void CWinApp::SetProfilePath(LPCTSTR lpszPath)
{
    std::free(const_cast<char*>(m_pszProfileName));
    m_pszProfileName = DupString(lpszPath);
    SyncProfilePath();
}

CString CWinApp::GetProfilePath() const
{
    return m_pszProfileName ? CString(m_pszProfileName) : CString();
}

CProfileFile& CWinApp::GetProfile()
{
    SyncProfilePath();
    return m_profile;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    return GetProfile().GetProfileInt(lpszSection, lpszEntry, nDefault);
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    return GetProfile().GetProfileString(lpszSection, lpszEntry, lpszDefault);
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    return GetProfile().WriteProfileInt(lpszSection, lpszEntry, nValue);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    return GetProfile().WriteProfileString(lpszSection, lpszEntry, lpszValue);
}

// ---------------------------------------------------------------------------------------
// Recent files.
// ---------------------------------------------------------------------------------------
void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_nMaxMRU = std::min(nMaxMRU, kMaxRecentFiles);
    m_recentFiles.clear();
    for (UINT i = 1; i <= m_nMaxMRU; ++i) {
        CString key;
        key.Format("File%u", i);
        CString path = GetProfileString(kRecentSection, key, "");
        if (!path.IsEmpty())
            m_recentFiles.push_back(path);
    }
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_nMaxMRU == 0)
        return;
    // The section is written anew, so entries beyond the list's length do not linger.
    WriteProfileString(kRecentSection, nullptr, nullptr);
    for (size_t i = 0; i < m_recentFiles.size() && i < m_nMaxMRU; ++i) {
        CString key;
        key.Format("File%u", static_cast<unsigned>(i + 1));
        WriteProfileString(kRecentSection, key, m_recentFiles[i]);
    }
}

CString CWinApp::GetRecentFile(int nIndex) const
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_recentFiles.size()))
        return CString();
    return m_recentFiles[static_cast<size_t>(nIndex)];
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName)
{
    if (m_nMaxMRU == 0 || !lpszPathName || !*lpszPathName)
        return;
    const CString path(lpszPathName);
    auto it = std::find_if(m_recentFiles.begin(), m_recentFiles.end(),
                           [&](const CString& s) { return s.CompareNoCase(path) == 0; });
    if (it != m_recentFiles.end())
        m_recentFiles.erase(it);
    m_recentFiles.insert(m_recentFiles.begin(), path);
    if (m_recentFiles.size() > m_nMaxMRU)
        m_recentFiles.resize(m_nMaxMRU);
}

CString CWinApp::AbbreviateRecentName(const CString& systemPath) const
{
    // The menu shows the native path; a long path keeps its root and as many trailing
    // folders as fit, the rest shown as "...". A file shows the same whatever the current
    // folder is: the program changes it behind the user's back (File Open makes the work
    // folder current), and a list that showed a file by its name alone while its folder was
    // current would show the same file two ways in one session and another after a restart.
    const CString path = DisplayPath(systemPath);
    const int nSep = path.ReverseFind('/');
    const CString name = path.Mid(nSep + 1);
    const CString folder = path.Left(nSep + 1);
    if (path.GetLength() <= kRecentDisplayLength)
        return path;
    const int nRoot = path.Find('/');
    const CString root = nRoot >= 0 ? path.Left(nRoot + 1) : CString();
    CString tail = name;
    CString rest = folder.Left(std::max(0, folder.GetLength() - 1));
    while (true) {
        const int n = rest.ReverseFind('/');
        if (n < nRoot + 1 || n < 0)
            break;
        CString candidate = rest.Mid(n + 1) + "/" + tail;
        if (root.GetLength() + 4 + candidate.GetLength() > kRecentDisplayLength)
            break;
        tail = candidate;
        rest = rest.Left(n);
    }
    return root + ".../" + tail;
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    const int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (nIndex < 0 || nIndex >= static_cast<int>(m_recentFiles.size()))
        return FALSE;
    const CString path = m_recentFiles[static_cast<size_t>(nIndex)];
    // A file that cannot be opened any more leaves the list.
    if (OpenDocumentFile(path) == nullptr) {
        auto it = std::find_if(m_recentFiles.begin(), m_recentFiles.end(),
                               [&](const CString& s) { return s.CompareNoCase(path) == 0; });
        if (it != m_recentFiles.end())
            m_recentFiles.erase(it);
    }
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (m_nMaxMRU == 0) {
        pCmdUI->Enable(FALSE);
        return;
    }
    CMenu* pMenu = pCmdUI->m_pMenu;
    if (!pMenu) {
        pCmdUI->Enable(!m_recentFiles.empty());
        return;
    }
    if (m_strRecentOriginal.IsEmpty())
        pMenu->GetMenuString(pCmdUI->m_nIndex, m_strRecentOriginal, MF_BYPOSITION);
    if (m_recentFiles.empty()) {
        if (!m_strRecentOriginal.IsEmpty())
            pCmdUI->SetText(m_strRecentOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    for (UINT id = ID_FILE_MRU_FILE1; id < ID_FILE_MRU_FILE1 + m_nMaxMRU; ++id) {
        while (pMenu->GetMenuState(id, MF_BYCOMMAND) != static_cast<UINT>(-1))
            pMenu->DeleteMenu(id, MF_BYCOMMAND);
    }
    for (size_t i = 0; i < m_recentFiles.size(); ++i) {
        CString shown = AbbreviateRecentName(m_recentFiles[i]);
        shown.Replace("&", "&&");
        CString text;
        if (i < 9)
            text.Format("&%u %s", static_cast<unsigned>(i + 1), static_cast<const char*>(shown));
        else
            text.Format("%u %s", static_cast<unsigned>(i + 1), static_cast<const char*>(shown));
        pMenu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, ID_FILE_MRU_FILE1 + i, text);
    }
    // The pass goes on after the last item inserted; the items are enabled.
    pCmdUI->m_nIndex--;
    pCmdUI->m_nIndexMax = static_cast<UINT>(pMenu->GetMenuItemCount());
    pCmdUI->m_bEnableChanged = TRUE;
}

// ---------------------------------------------------------------------------------------
// Resources.
// ---------------------------------------------------------------------------------------
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return ::LoadCursor(AfxGetInstanceHandle(), lpszResourceName);
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
    return ::LoadCursor(nullptr, lpszCursorName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(nIDResource));
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIcon(AfxGetInstanceHandle(), lpszResourceName);
}

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const
{
    return ::LoadIcon(nullptr, lpszIconName);
}

// ---------------------------------------------------------------------------------------
// Printer.
// ---------------------------------------------------------------------------------------
void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults)
{
    if (Hooks().updatePrinterSelection)
        Hooks().updatePrinterSelection(*this, bForceDefaults);
}

BOOL CWinApp::CreatePrinterDC(CDC& dc)
{
    return Hooks().createPrinterDC ? Hooks().createPrinterDC(*this, dc) : FALSE;
}

// ---------------------------------------------------------------------------------------
// Commands.
// ---------------------------------------------------------------------------------------
void CWinApp::OnFileNew()
{
    if (Hooks().onFileNew)
        Hooks().onFileNew(*this);
}

void CWinApp::OnFileOpen()
{
    if (Hooks().onFileOpen)
        Hooks().onFileOpen(*this);
}

void CWinApp::OnFilePrintSetup()
{
    if (Hooks().onFilePrintSetup)
        Hooks().onFilePrintSetup(*this);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---------------------------------------------------------------------------------------
// Globals.
// ---------------------------------------------------------------------------------------
CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp ? g_pApp->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    // A marker standing for this program's own resources.
    static char s_instance;
    return reinterpret_cast<HINSTANCE>(&s_instance);
}

HINSTANCE AfxGetResourceHandle()
{
    return AfxGetInstanceHandle();
}

LPCTSTR AfxGetAppName()
{
    return g_pApp ? g_pApp->m_pszAppName : "";
}

void AfxPostQuitMessage(int nExitCode)
{
    if (CWndManager* pManager = CWndManager::InstanceIfReady())
        pManager->PostQuit(nExitCode);
}

void PostQuitMessage(int nExitCode)
{
    AfxPostQuitMessage(nExitCode);
}

BOOL AfxOleInit()
{
    return TRUE;
}

void AfxEnableControlContainer() {}

int AfxWinMain(int argc, char** argv)
{
    std::unique_ptr<QApplication> owned;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        owned = std::make_unique<QApplication>(argc, argv);
    // Every text the toolkit shows by itself (standard buttons, the file list) in Japanese.
    AfxEnsureJapaneseToolkitTexts();
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->SetCommandLine(argc, argv);
    int nReturn = -1;
    if (pApp->InitApplication() && pApp->InitInstance()) {
        nReturn = pApp->Run();
    } else {
        if (pApp->m_pMainWnd && pApp->m_pMainWnd->m_hWnd)
            pApp->m_pMainWnd->DestroyWindow();
        nReturn = pApp->ExitInstance();
    }
    // Windows still open go before the toolkit does.
    for (HWND h : AfxGetAllWindows()) {
        CWnd* pWnd = CWnd::FromHandle(h);
        if (pWnd && !(pWnd->GetStyle() & WS_CHILD))
            pWnd->DestroyWindow();
    }
    return nReturn;
}
