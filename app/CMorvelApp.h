// The application object: the one object every window of the program shares. It owns the
// master tables and the three current forms, the settings (through CMorvelSettings), the
// application-wide copy and undo buffers of the estimate grid and the three menus, and its
// start-up (InitInstance) turns a bare process into the running program: one instance
// only, the settings file, the document types, the main frame, then the eight master and
// form files, the welcome sound, the fonts and settings, and the command line.
//
// The program constructs one CMorvelApp as a global (program/main.cpp); other code reaches it
// through GetMorvelApp().
#pragma once

#include "app/CClassifyFile.h"
#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "app/CMorvelSettings.h"
#include "app/CPartFormFile.h"
#include "app/CSubjectFile.h"
#include "app/CUnitFile.h"
#include "engine/estimate/CEstimateCopyBuffers.h"
#include "platform/base/CString.h"
#include "platform/base/Collections.h"
#include "platform/ui/core/CMenu.h"
#include "platform/ui/core/CWinApp.h"

#include <memory>

class CDC;
class CSingleInstanceLock;

class CMorvelApp : public CWinApp, public CMorvelSettings {
public:
    CMorvelApp();
    ~CMorvelApp() override;
    CMorvelApp(const CMorvelApp&) = delete;
    CMorvelApp& operator=(const CMorvelApp&) = delete;

    // The framework's application class has profile functions of the same names; the
    // settings' versions are the ones the system calls.
    using CMorvelSettings::GetProfileInt;
    using CMorvelSettings::GetProfileString;
    using CMorvelSettings::WriteProfileInt;
    using CMorvelSettings::WriteProfileString;

    // Start-up, in the order the program depends on. FALSE ends the process without a
    // message loop.
    BOOL InitInstance() override;
    // Every key and mouse message is shown to the splash window first (which never eats
    // it), then handled as the framework does.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The largest height of the text "asd" plus 4 over the row-kind fonts other than the
    // parts font (kind, large, middle, small, sort, step, sum, discount, tax, detail,
    // non-calculated); 0 when no font could be made. The estimate view's row height.
    int MeasureRowHeight(CDC* pDC);

    // The unprintable margins of the application's printer in 0.01 inch (left and top the
    // physical offsets, right and bottom what lies beyond the printable area). Without a
    // printer: "ﾌﾟﾘﾝﾀの情報を取得できません。" and an empty rectangle.
    CRect GetPrinterMargins();
    void GetPrinterMargins(LPRECT lpRect) { *lpRect = GetPrinterMargins(); }
    // The same of any printer context (the one a page prints on); FALSE when it reports no
    // resolution.
    static BOOL GetPrinterMargins(CDC& dc, CRect& rectMargins);

    // The folder remembered for an extension by the file dialogs, else the "Work Field"
    // folder (see CMorvelDocManager.h).
    CString GetExtensionPath(const char* lpszExtension) const;

    // ---- the settings file -------------------------------------------------------------
    // The settings file this program uses: the file the environment variable MORVEL_INI
    // names when it is set; otherwise the program's path with its extension replaced by
    // ".ini" (see MakeSettingsFilePath); when the program's folder cannot be written,
    // "MORVEL.ini" in the user's configuration folder (GetUserConfigFolder).
    static CString GetSettingsFilePath();
    // The settings file beside a program: the path up to the last "." of its file name
    // followed by ".ini", or the whole path followed by ".ini" when the file name has no
    // "." (a program on this system usually has no extension).
    static CString MakeSettingsFilePath(const CString& strModulePath);
    // The user's configuration folder for this program ($XDG_CONFIG_HOME/morvel, else
    // ~/.config/morvel), a system path without a trailing separator. It plays the part of
    // the folder where older versions kept their profile.
    static CString GetUserConfigFolder();
    // The user's data folder for this program ($XDG_DATA_HOME/morvel, else
    // ~/.local/share/morvel), a system path without a trailing separator. A first start
    // offers its folders WORK, FORM and MASTER for the work, the forms and the masters.
    static CString GetUserDataFolder();

    // ---- commands ------------------------------------------------------------------------
    afx_msg void OnAppAbout();
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnFilePrintSetup();

    // ---- what all windows share ------------------------------------------------------------
    // The estimate grids' copy buffers: rows, a block of cells and the cells the last paste
    // overwrote, shared by every estimate window.
    CEstimateCopyBuffers& EstimateCopyBuffers() { return m_estimateCopyBuffers; }
    // A second row buffer. Every element is an object the array owns; the destructor
    // deletes them.
    CObArray m_aRowBuffer;

    // The master tables and the current forms.
    CUnitFile m_unitFile;
    CSubjectFile m_subjectFile;
    CClassifyFile m_classifyFile;
    CEstimationFormFile m_estimationForm;
    CPartFormFile m_partForm;
    CInformationFormFile m_informationForm;

    // Loaded at start-up: the estimate menu (123) and the parts menu (124), which the
    // estimate and parts documents hand to their frames, and the frame menu (121), shown
    // while no document is open.
    CMenu m_menuEstimate;
    CMenu m_menuParts;
    CMenu m_menuFrame;

    DECLARE_MESSAGE_MAP()

protected:
    // The steps of InitInstance that other start-up paths share.
    BOOL SetUpSettingsFile();
    BOOL RegisterDocumentTemplates();
    // Gives every folder of "Path Setting" that is not set its folder in the user's data
    // folder (GetUserDataFolder), so that nothing is looked for or made at the root of the
    // file system; the folders themselves are made only when the user chooses so.
    void OfferUserDataFolders();
    // Reads the eight master and form files; FALSE ends start-up.
    BOOL LoadMasterAndFormFiles();

private:
    // One master or form file of start-up.
    struct CStartupFile;
    static const CStartupFile* GetStartupFiles(size_t& nCount);
    BOOL LoadStartupFile(const CStartupFile& file);
    // Says that start-up ends because the file is still missing; returns FALSE.
    BOOL EndStartup(const CStartupFile& file);
    BOOL TryReadStartupFile(const CStartupFile& file, const CString& strPath, BOOL& bOpened);
    CString GetStartupFilePath(const CStartupFile& file) const;
    void PlayWelcomeSound();
    void DeleteBufferObjects(CObArray& array);

    std::unique_ptr<CSingleInstanceLock> m_pInstanceLock;
    CEstimateCopyBuffers m_estimateCopyBuffers;
};

// The application object of the running program (null before it exists).
CMorvelApp* GetMorvelApp();
