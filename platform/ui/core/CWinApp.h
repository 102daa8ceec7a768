// CWinApp: the application object. There is one per process (AfxGetApp); the program
// derives its own, constructs it as a global, and AfxWinMain runs it: InitInstance, then
// the event loop (Run) until the main window goes, then ExitInstance.
//
// It owns the settings file (a private profile), the recent-file list kept there, the
// command line, and the idle-time update of the command states of the bars.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Profile.h"
#include "platform/ui/core/CCmdTarget.h"
#include "platform/ui/core/WinDefs.h"

#include <functional>
#include <vector>

class CCmdUI;
class CCommandLineInfo;
class CDC;
class CDocManager;
class CDocTemplate;
class CDocument;
class CWnd;

class CWinApp;

// The document and printing sides of the application are supplied by the layers that
// build them: they install these functions while the program starts. Unset functions make
// the operations do nothing (and return null or FALSE).
struct CWinAppHooks {
    std::function<void(CWinApp& app, CDocTemplate* pTemplate)> addDocTemplate;
    std::function<void(CWinApp& app)> onFileNew;
    std::function<void(CWinApp& app)> onFileOpen;
    std::function<CDocument*(CWinApp& app, LPCTSTR lpszFileName)> openDocumentFile;
    std::function<BOOL(CWinApp& app, CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                       CDocTemplate* pTemplate)>
        doPromptFileName;
    std::function<BOOL(CWinApp& app)> saveAllModified;
    std::function<void(CWinApp& app, BOOL bEndSession)> closeAllDocuments;
    std::function<int(CWinApp& app)> getOpenDocumentCount;
    std::function<void(CWinApp& app)> deleteDocManager; // at destruction, when m_pDocManager is set
    std::function<void(CWinApp& app)> onFilePrintSetup;
    std::function<void(CWinApp& app, BOOL bForceDefaults)> updatePrinterSelection;
    std::function<BOOL(CWinApp& app, CDC& dc)> createPrinterDC;
};

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Becomes the process's application object (AfxGetApp) until destroyed.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinAppHooks& Hooks();

    // ---- identity and state -------------------------------------------------------------
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    LPCTSTR m_pszHelpFilePath = nullptr;
    // The settings file (a system path). Prefer SetProfilePath; a direct assignment is
    // picked up at the next profile access.
    LPCTSTR m_pszProfileName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    CDocManager* m_pDocManager = nullptr;
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;

    // ---- overridables -------------------------------------------------------------------
    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    // Saves the recent-file list; returns the exit code.
    virtual int ExitInstance();
    // The event loop: runs until the main window is destroyed or PostQuitMessage.
    virtual int Run();
    // Every key and mouse message passes here before it is dispatched; TRUE eats it. The
    // default walks the target window and its parents (CWnd::PreTranslateMessage), then the
    // main window.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Called when the event queue has emptied, with lCount 0, 1, ... until it returns
    // FALSE. Count 0 updates the command states of the main window's bars.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    virtual BOOL SaveAllModified();
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);

    // ---- documents (through the document manager) ----------------------------------------
    void AddDocTemplate(CDocTemplate* pTemplate);
    int GetOpenDocumentCount();
    void CloseAllDocuments(BOOL bEndSession);

    // ---- command line -------------------------------------------------------------------
    // The program's arguments (without the program name); AfxWinMain sets them.
    void SetCommandLine(int argc, char** argv);
    void SetCommandLine(const std::vector<CString>& args) { m_args = args; }
    const std::vector<CString>& GetCommandLineArgs() const { return m_args; }
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Carries out the command line's request: a new document, opening or printing a file,
    // or nothing. FALSE when it failed.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // ---- settings file ------------------------------------------------------------------
    void SetProfilePath(LPCTSTR lpszPath);
    CString GetProfilePath() const;
    CProfileFile& GetProfile();
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    void SetRegistryKey(LPCTSTR lpszRegistryKey) { m_pszRegistryKey = lpszRegistryKey; }

    // ---- recent files -------------------------------------------------------------------
    // Reads up to nMaxMRU entries ("Recent File List", "File1".."File<n>") from the
    // settings file; 0 switches the list off.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    // Writes the list back (entries beyond the list's length are removed).
    void SaveStdProfileSettings();
    int GetRecentFileCount() const { return static_cast<int>(m_recentFiles.size()); }
    CString GetRecentFile(int nIndex) const;
    UINT GetMaxRecentFiles() const { return m_nMaxMRU; }

    // ---- resources ----------------------------------------------------------------------
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;

    // ---- printer ------------------------------------------------------------------------
    void UpdatePrinterSelection(BOOL bForceDefaults);
    BOOL CreatePrinterDC(CDC& dc);

    // ---- desktop integration (nothing to do on this platform) ----------------------------
    void EnableShellOpen() {}
    void RegisterShellFileTypes(BOOL bCompat = FALSE) { (void)bCompat; }
    void UnregisterShellFileTypes() {}
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }
    void SetDialogBkColor(COLORREF clrCtlBk = RGB(192, 192, 192), COLORREF clrCtlText = RGB(0, 0, 0))
    {
        (void)clrCtlBk;
        (void)clrCtlText;
    }
    void EnableHtmlHelp() {}

    // ---- commands -----------------------------------------------------------------------
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnFilePrintSetup();
    afx_msg void OnAppExit();
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    // The idle pass the event loop runs (public for the loop and the tests).
    void RunIdle();

    DECLARE_MESSAGE_MAP()

private:
    void SyncProfilePath();
    CString AbbreviateRecentName(const CString& path) const;

    CProfileFile m_profile;
    CString m_strProfilePath; // what m_pszProfileName points to when set through us
    CString m_strAppName;
    std::vector<CString> m_args;
    std::vector<CString> m_recentFiles;
    UINT m_nMaxMRU = 0;
    CString m_strRecentOriginal; // the menu text of the recent-file item when the list is empty
    LONG m_lIdleCount = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
LPCTSTR AfxGetAppName();

// The program's entry: makes the Qt application if there is none, hands the arguments to
// the application object and runs it. Returns the process exit code.
int AfxWinMain(int argc, char** argv);
// Ends the event loop with this exit code.
void AfxPostQuitMessage(int nExitCode);
void PostQuitMessage(int nExitCode);

// Start-up stand-ins: there is no component system to start, so these succeed.
BOOL AfxOleInit();
void AfxEnableControlContainer();
