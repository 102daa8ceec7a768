#include "app/CMorvelApp.h"

#include "app/CAboutDialog.h"
#include "app/CMainFrame.h"
#include "app/CMorvelDocManager.h"
#include "app/CMorvelDocTemplate.h"
#include "app/CProcessSelectDialog.h"
#include "app/CShellServices.h"
#include "app/CSplashWindow.h"
#include "platform/base/CArchive.h"
#include "platform/base/CFile.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CCommandLineInfo.h"
#include "platform/ui/core/CSingleInstanceLock.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/gdi/CDC.h"
#include "platform/ui/gdi/GdiObjects.h"
#include "resources/MorvelResources.h"
#include "resources/ResourceIds.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

// The name of the single-instance lock.
const char kInstanceLockName[] = "Morvel Mutex";
// The settings file in the user's configuration folder, when the program's own folder
// cannot take it.
const char kUserSettingsFileName[] = "MORVEL.ini";

enum StartupFileKind { kindMaster, kindInformationForm, kindEstimationForm, kindPartsForm };

} // namespace

// One of the eight files start-up reads, in the order it reads them.
struct CMorvelApp::CStartupFile {
    StartupFileKind kind;
    const char* lpszFileName; // masters: the file name; forms: null (the name is a setting)
    const char* lpszPathKey;  // the "Path Setting" key of its folder
    const char* lpszMessage;  // UTF-8: shown when it is missing or damaged
    const char* lpszPageKey;  // the setup sheet's page that makes it
    int (*pfnRead)(CMorvelApp& app, CArchive& ar);
};

namespace {

int ReadUnits(CMorvelApp& app, CArchive& ar)
{
    return app.m_unitFile.Serialize(ar);
}
int ReadLarge(CMorvelApp& app, CArchive& ar)
{
    return app.m_subjectFile.SerializeLarge(ar);
}
int ReadMiddle(CMorvelApp& app, CArchive& ar)
{
    return app.m_subjectFile.SerializeMiddle(ar);
}
int ReadSmall(CMorvelApp& app, CArchive& ar)
{
    return app.m_subjectFile.SerializeSmall(ar);
}
int ReadClassify(CMorvelApp& app, CArchive& ar)
{
    return app.m_classifyFile.Serialize(ar);
}
int ReadInformation(CMorvelApp& app, CArchive& ar)
{
    return app.m_informationForm.Serialize(ar);
}
int ReadEstimation(CMorvelApp& app, CArchive& ar)
{
    return app.m_estimationForm.Serialize(ar);
}
int ReadParts(CMorvelApp& app, CArchive& ar)
{
    return app.m_partForm.Serialize(ar);
}

} // namespace

BEGIN_MESSAGE_MAP(CMorvelApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
END_MESSAGE_MAP()

CMorvelApp::CMorvelApp() : CWinApp("みつもりﾓﾙﾍﾞﾙ"_sj), CMorvelSettings(GetProfile())
{
    // The menus, strings, dialogs and pictures are registered before anything can ask for
    // them (the application object is built before the program's entry runs).
    RegisterMorvelResources();
    // The one application object's settings are the program's settings: the estimate engine
    // and the master edit operations, which have no application object at hand, read them
    // through CMorvelSettings::GetCurrent().
    CMorvelSettings::SetCurrent(this);
    // The application object is a global that goes last. What its destructor still uses of
    // the window layer (the table of menu handles, the framework's hooks) is made here, while
    // it is being built, so that it is taken down only after this object.
    CWinApp::Hooks();
    CMenu menu;
    menu.CreateMenu();
    menu.DestroyMenu();
}

CMorvelApp::~CMorvelApp()
{
    DeleteBufferObjects(m_aRowBuffer);
    m_menuEstimate.DestroyMenu();
    m_menuParts.DestroyMenu();
    m_menuFrame.DestroyMenu();
}

void CMorvelApp::DeleteBufferObjects(CObArray& array)
{
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        delete array.GetAt(i);
    array.RemoveAll();
}

CMorvelApp* GetMorvelApp()
{
    return dynamic_cast<CMorvelApp*>(AfxGetApp());
}

// ---------------------------------------------------------------------------------------
// Start-up
// ---------------------------------------------------------------------------------------

BOOL CMorvelApp::InitInstance()
{
    // 1. One instance only. The lock is held until the process ends.
    m_pInstanceLock = std::make_unique<CSingleInstanceLock>(kInstanceLockName);
    if (!m_pInstanceLock->Lock()) {
        m_pInstanceLock.reset();
        AfxMessageBox("ほかのモルベルプログラムは実行中です。"_sj);
        return FALSE;
    }

    // 2. The system's default printer becomes the application's printer.
    UpdatePrinterSelection(FALSE);

    // 3. The grid control is part of the program; loading it cannot fail.
    LoadLibrary("Grid32.OCX");

    // 4. The component system.
    if (!AfxOleInit()) {
        AfxMessageBox("OLEの初期化ができません。"_sj);
        return FALSE;
    }

    // 5. The splash switch of the command line.
    {
        CCommandLineInfo cmdInfo;
        ParseCommandLine(cmdInfo);
        CSplashWindow::EnableSplash(cmdInfo.m_bShowSplash);
    }

    // 6. Controls hosted in dialogs.
    AfxEnableControlContainer();
    Enable3dControls();

    // 7. The settings file and the recent-file list kept in it.
    SetUpSettingsFile();
    LoadStdProfileSettings(4);

    // 8. The three menus.
    m_menuEstimate.LoadMenu(IDR_MORVELTYPE);
    m_menuParts.LoadMenu(IDR_PARTSTYPE);
    m_menuFrame.LoadMenu(IDR_MAINFRAME);

    // 9. The four document types and the document manager.
    RegisterDocumentTemplates();

    // 10. The main frame; its creation ends by showing the splash window.
    // A frame whose creation fails deletes itself, as every frame of the window layer does.
    CMainFrame* pMainFrame = new CMainFrame;
    if (!pMainFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
        return FALSE;
    m_pMainWnd = pMainFrame;
    m_pMainWnd->DragAcceptFiles();
    pMainFrame->m_hMenuDefault = m_menuFrame.GetSafeHmenu();
    pMainFrame->OnUpdateFrameMenu(m_menuFrame.GetSafeHmenu());

    // 11. The desktop keeps no file associations for this program; these do nothing.
    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    // 12. The main window, maximised.
    m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
    m_pMainWnd->UpdateWindow();

    // 13. The command line's request; without a file name the program starts with no
    // document at all.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileNew)
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;

    // 14. The masters and forms. Folders that the settings do not name (a first start) are
    // the user's own, never the root of the file system.
    OfferUserDataFolders();
    if (!LoadMasterAndFormFiles())
        return FALSE;

    // 15. The welcome sound of the work folder.
    PlayWelcomeSound();

    // 16. The row-kind fonts (a non-calculated font without a height takes the detail
    // font).
    ReadRowFonts();

    // 17. Colours, print switches and the print font, then the input settings.
    ReadColorSettings();
    ReadInputSettings();

    // 18. The command line's request (open a named file, or nothing).
    return ProcessShellCommand(cmdInfo);
}

CString CMorvelApp::GetUserConfigFolder()
{
    std::string folder;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/') {
        folder = xdg;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    folder += "/morvel";
    return SystemPathFromNative(folder);
}

CString CMorvelApp::GetUserDataFolder()
{
    std::string folder;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') {
        folder = xdg;
    } else {
        const char* home = std::getenv("HOME");
        std::string strHome = home && *home ? home : "";
        if (strHome.empty()) {
            if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
                strHome = pw->pw_dir;
        }
        folder = (strHome.empty() ? std::string("/tmp") : strHome) + "/.local/share";
    }
    folder += "/morvel";
    return SystemPathFromNative(folder);
}

void CMorvelApp::OfferUserDataFolders()
{
    static const struct {
        const char* lpszKey;
        const char* lpszFolder;
    } kFolders[] = {{"Work Field", "WORK"},
                    {"Estimation Form", "FORM"},
                    {"Parts Form", "FORM"},
                    {"Information Form", "FORM"},
                    {"Other Form", "MASTER"}};
    const CString strData = GetUserDataFolder();
    for (const auto& folder : kFolders) {
        CString strValue = GetProfileValue("Path Setting", folder.lpszKey);
        strValue.Trim();
        if (strValue.IsEmpty())
            WritePathSetting(folder.lpszKey, strData + "\\" + folder.lpszFolder);
    }
}

CString CMorvelApp::MakeSettingsFilePath(const CString& strModulePath)
{
    // The extension is cut only inside the file name: a program on this system usually
    // has none, and a dot in a folder name must not shorten the path.
    return ReplaceFileExtension(strModulePath, ".ini");
}

CString CMorvelApp::GetSettingsFilePath()
{
    const char* env = std::getenv("MORVEL_INI");
    if (env && *env) {
        // Start-up moves the current directory to the work folder: a relative name is taken
        // from where the program was started.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(env, error);
        return SystemPathFromNative(error ? std::string(env) : absolute.lexically_normal().string());
    }

    const CString strBeside = MakeSettingsFilePath(GetModuleFileName());
    const std::string nativeFolder = NativePath(GetFolderOfPath(strBeside));
    if (access(nativeFolder.empty() ? "." : nativeFolder.c_str(), W_OK) == 0)
        return strBeside;
    return GetUserConfigFolder() + "/" + kUserSettingsFileName;
}

BOOL CMorvelApp::SetUpSettingsFile()
{
    const CString strSettings = GetSettingsFilePath();
    const char* env = std::getenv("MORVEL_INI");
    const BOOL bNamedByEnvironment = env && *env;

    // A settings file named by MORVEL_INI is used as it is (tests and the demonstration
    // must never take over a user's settings). Otherwise, when the file does not exist yet,
    // an older profile of the program kept in the user's configuration folder
    // ("<program>.INI") is moved there; when there is none the file is made by the first
    // setting written and every read gives its default.
    if (!bNamedByEnvironment && !FileExists(strSettings)) {
        CString strTitle = GetFileNameOfPath(GetModuleFileName());
        const int nDot = strTitle.ReverseFind('.');
        if (nDot >= 0)
            strTitle = strTitle.Left(nDot);
        const CString strOld = GetUserConfigFolder() + "/" + strTitle + ".INI";
        if (strOld.CompareNoCase(strSettings) != 0 && CopyFile(strOld, strSettings, TRUE))
            DeleteFile(strOld);
    }
    if (!FileExists(strSettings)) {
        // The folder of a settings file in the configuration folder may not exist yet; the
        // first setting written makes the file.
        const CString strFolder = GetFolderOfPath(strSettings);
        if (!strFolder.IsEmpty())
            CreateFolderPath(strFolder);
    }
    SetProfilePath(strSettings);
    return TRUE;
}

BOOL CMorvelApp::RegisterDocumentTemplates()
{
    static const UINT kTemplateIds[] = {IDR_MORVELTYPE, IDR_PARTSTYPE, IDR_EMFORMTYPE, IDR_PMFORMTYPE};
    const CShellServices& services = CShellServices::Get();
    for (UINT nID : kTemplateIds) {
        const CShellServices::CDocumentClasses classes = services.GetDocumentClasses(nID);
        CMorvelDocTemplate* pTemplate =
            new CMorvelDocTemplate(nID, classes.pDocClass, classes.pFrameClass, classes.pViewClass);
        // The print layouts are containers of embedded objects (resource 6 holds their
        // in-place menu and accelerators).
        if (nID == IDR_EMFORMTYPE || nID == IDR_PMFORMTYPE)
            pTemplate->SetContainerInfo(6);
        // The program's own document manager replaces the framework's before the first
        // template is added.
        if (m_pDocManager == nullptr)
            m_pDocManager = new CMorvelDocManager;
        AddDocTemplate(pTemplate);
    }
    // The forms are no documents: the file dialogs name them all the same.
    CFileDialog::RegisterFileType(".MMK", "見積形式ﾌｧｲﾙ"_sj);
    CFileDialog::RegisterFileType(".MBK", "部材形式ﾌｧｲﾙ"_sj);
    CFileDialog::RegisterFileType(".MJK", "情報形式ﾌｧｲﾙ"_sj);
    return TRUE;
}

CString CMorvelApp::GetStartupFilePath(const CStartupFile& file) const
{
    const CString strFolder = GetPathSetting(file.lpszPathKey);
    switch (file.kind) {
    case kindInformationForm:
        return strFolder + m_strInformationFormFile;
    case kindEstimationForm:
        return strFolder + m_strEstimationFormFile;
    case kindPartsForm:
        return strFolder + m_strPartFormFile;
    case kindMaster:
        break;
    }
    return strFolder + file.lpszFileName;
}

BOOL CMorvelApp::TryReadStartupFile(const CStartupFile& file, const CString& strPath, BOOL& bOpened)
{
    bOpened = FALSE;
    // A form without a name in the settings gives the folder itself: that is no file.
    if (DirectoryExists(strPath))
        return FALSE;
    CFile f;
    if (!f.Open(strPath, CFile::modeRead | CFile::shareDenyNone))
        return FALSE;
    bOpened = TRUE;
    // The forms' members hold folder and name while their file is read.
    switch (file.kind) {
    case kindInformationForm:
        m_strInformationFormFile = strPath;
        break;
    case kindEstimationForm:
        m_strEstimationFormFile = strPath;
        break;
    case kindPartsForm:
        m_strPartFormFile = strPath;
        break;
    case kindMaster:
        break;
    }
    try {
        CArchive ar(&f, CArchive::load, 4096);
        // A wrong magic text has been reported by the reader, which leaves the table as
        // it was; start-up goes on either way.
        file.pfnRead(*this, ar);
    } catch (const CException&) {
        // A file that ends early (or cannot be read) is damaged as much as one with the
        // wrong magic text: the same message, the table as it was, and start-up goes on.
        AfxMessageBox(CString::FromUtf8(file.lpszMessage), MB_OK | MB_ICONEXCLAMATION);
    }
    return TRUE;
}

BOOL CMorvelApp::LoadStartupFile(const CStartupFile& file)
{
    BOOL bOpened = FALSE;
    TryReadStartupFile(file, GetStartupFilePath(file), bOpened);
    // The file is asked about until it is there or the user ends start-up: folders changed
    // on the path page that do not hold it lead to the question again, where "新規作成"
    // makes it in them, so that a first start reaches the main window in one go.
    while (!bOpened) {
        AfxMessageBox(CString::FromUtf8(file.lpszMessage));
        CProcessSelectDialog dlg(m_pMainWnd);
        if (dlg.DoModal() != IDOK)
            return EndStartup(file);

        if (dlg.m_nSelect == CProcessSelectDialog::choiceNew) {
            // The file is made where the settings say; folders that do not exist yet are
            // made first, every level, as the path page makes them when it is applied.
            MakePathFolders();
            const CString strFolder = GetPathSetting(file.lpszPathKey);
            if (!DirectoryExists(strFolder)) {
                AfxMessageBox(FolderNotMadeText(strFolder), MB_OK | MB_ICONEXCLAMATION);
                continue;
            }
            // Whatever the sheet returns, the file is looked for again where it was missing.
            const CString strPath = GetStartupFilePath(file);
            CShellServices::RunIntroductionPage(file.lpszPageKey);
            if (file.kind == kindMaster) {
                TryReadStartupFile(file, strPath, bOpened);
            } else {
                // A form page stores the name of the form it made: that form is the one in use.
                ReadFormFileNames();
                TryReadStartupFile(file, GetStartupFilePath(file), bOpened);
            }
            return bOpened ? TRUE : EndStartup(file);
        }

        if (CShellServices::RunEnvironmentPathPage() != IDOK)
            return EndStartup(file);
        // The folders (and the forms' names) may have changed: build the path anew. The
        // masters' folder is rebuilt too, or the changed path would never be tried.
        if (file.kind != kindMaster)
            ReadFormFileNames();
        TryReadStartupFile(file, GetStartupFilePath(file), bOpened);
    }
    return TRUE;
}

BOOL CMorvelApp::EndStartup(const CStartupFile& file)
{
    // The program does not end without a word: the user learns which file is missing and
    // where it was looked for.
    CString text = CString::FromUtf8(file.lpszMessage);
    text += "\n"_sj;
    text += DisplayPath(GetStartupFilePath(file));
    text += "\n\nﾌﾟﾛｸﾞﾗﾑを終了します。"_sj;
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
    return FALSE;
}

BOOL CMorvelApp::LoadMasterAndFormFiles()
{
    size_t nCount = 0;
    const CStartupFile* pFiles = GetStartupFiles(nCount);
    for (size_t i = 0; i < nCount; ++i) {
        if (pFiles[i].kind == kindInformationForm)
            ReadFormFileNames();
        if (!LoadStartupFile(pFiles[i]))
            return FALSE;
    }
    // From here on the form members hold the bare names again.
    ReadFormFileNames();
    return TRUE;
}

const CMorvelApp::CStartupFile* CMorvelApp::GetStartupFiles(size_t& nCount)
{
    static const CMorvelApp::CStartupFile kFiles[] = {
        {kindMaster, "TANNI.MTD", "Other Form", "単位ﾌｧｲﾙがないか、壊れています。", "Unit", ReadUnits},
        {kindMaster, "KAMOKU.MKB", "Other Form", "大科目ﾌｧｲﾙがないか、壊れています。", "SubjectLarge",
         ReadLarge},
        {kindMaster, "KAMOKU.MKM", "Other Form", "中科目ﾌｧｲﾙがないか、壊れています。", "SubjectMiddle",
         ReadMiddle},
        {kindMaster, "KAMOKU.MKS", "Other Form", "小科目ﾌｧｲﾙがないか、壊れています。", "SubjectSmall",
         ReadSmall},
        {kindMaster, "BUNRUL.MRD", "Other Form", "分類ﾌｧｲﾙがないか、壊れています。", "Division",
         ReadClassify},
        {kindInformationForm, nullptr, "Information Form", "情報形式ﾌｧｲﾙがないか、壊れています。",
         "Information", ReadInformation},
        {kindEstimationForm, nullptr, "Estimation Form", "見積形式ﾌｧｲﾙがないか、壊れています。", "Estimation",
         ReadEstimation},
        {kindPartsForm, nullptr, "Parts Form", "部材形式ﾌｧｲﾙがないか、壊れています。", "Part", ReadParts},
    };
    nCount = sizeof(kFiles) / sizeof(kFiles[0]);
    return kFiles;
}

void CMorvelApp::PlayWelcomeSound()
{
    const CString strWave = GetPathSetting("Work Field") + "welcome.wav";
    CFile f;
    if (!f.Open(strWave, CFile::modeRead | CFile::shareDenyNone))
        return;
    f.Close();
    // Start-up waits until the sound has finished.
    PlaySound(strWave, nullptr, SND_FILENAME | SND_SYNC);
}

BOOL CMorvelApp::PreTranslateMessage(MSG* pMsg)
{
    CSplashWindow::FilterAppMessage(pMsg);
    return CWinApp::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------

void CMorvelApp::OnAppAbout()
{
    CAboutDialog dlg(m_pMainWnd);
    dlg.DoModal();
}

void CMorvelApp::OnFileNew()
{
    SetWorkFolderAsCurrent(this);
    CWinApp::OnFileNew();
}

void CMorvelApp::OnFileOpen()
{
    SetWorkFolderAsCurrent(this);
    CWinApp::OnFileOpen();
}

void CMorvelApp::OnFilePrintSetup()
{
    CWinApp::OnFilePrintSetup();
}

CString CMorvelApp::GetExtensionPath(const char* lpszExtension) const
{
    return ::GetExtensionPath(lpszExtension);
}

// ---------------------------------------------------------------------------------------
// Fonts and printer
// ---------------------------------------------------------------------------------------

int CMorvelApp::MeasureRowHeight(CDC* pDC)
{
    // Every row font but the parts font, in this order.
    static const int kFonts[] = {fontKind, fontLarge,    fontMiddle, fontSmall,  fontSort,   fontStep,
                                 fontSum,  fontDiscount, fontTax,    fontDetail, fontNonCalc};
    int nHeight = 0;
    for (int nFont : kFonts) {
        CFont font;
        if (!font.CreateFontIndirect(&m_lfRowFont[nFont]))
            continue;
        CFont* pOldFont = pDC->SelectObject(&font);
        const CSize size = pDC->GetTextExtent("asd");
        pDC->SelectObject(pOldFont);
        if (size.cy + 4 > nHeight)
            nHeight = size.cy + 4;
    }
    return nHeight;
}

CRect CMorvelApp::GetPrinterMargins()
{
    CDC dc;
    CRect margins(0, 0, 0, 0);
    if (!CreatePrinterDC(dc) || !GetPrinterMargins(dc, margins)) {
        AfxMessageBox("ﾌﾟﾘﾝﾀの情報を取得できません。"_sj);
        return CRect(0, 0, 0, 0);
    }
    return margins;
}

BOOL CMorvelApp::GetPrinterMargins(CDC& dc, CRect& rectMargins)
{
    const int nPixelsX = dc.GetDeviceCaps(LOGPIXELSX);
    const int nPixelsY = dc.GetDeviceCaps(LOGPIXELSY);
    if (nPixelsX <= 0 || nPixelsY <= 0)
        return FALSE;
    const long nOffsetX = dc.GetDeviceCaps(PHYSICALOFFSETX);
    const long nOffsetY = dc.GetDeviceCaps(PHYSICALOFFSETY);
    const long nWidth = dc.GetDeviceCaps(PHYSICALWIDTH);
    const long nHeight = dc.GetDeviceCaps(PHYSICALHEIGHT);
    const long nPrintableX = dc.GetDeviceCaps(HORZRES);
    const long nPrintableY = dc.GetDeviceCaps(VERTRES);
    // In whole 0.01 inch, truncated toward zero; computed on integers so that a margin of
    // exactly 0.58 inch is 58 and not 57.
    auto toHundredths = [](long nPixels, long nPerInch) {
        return static_cast<int>(nPixels * 100 / nPerInch);
    };
    rectMargins = CRect(toHundredths(nOffsetX, nPixelsX), toHundredths(nOffsetY, nPixelsY),
                        toHundredths(nWidth - nOffsetX - nPrintableX, nPixelsX),
                        toHundredths(nHeight - nOffsetY - nPrintableY, nPixelsY));
    return TRUE;
}
