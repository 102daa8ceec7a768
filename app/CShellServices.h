// What the application shell calls in subsystems built on top of it: the master setup sheet
// ("導入処理"), the environment sheet ("環境設定") and the conversion of the DOS edition's
// data. Those subsystems link above the shell, so they install their entry points here
// while the program starts (setup/ and dosconvert/ do it from their registration
// functions, which main() calls). Until an entry is installed, calling it tells the user
// that the function is not available yet and counts as cancelled.
#pragma once

#include "platform/base/Types.h"

#include <functional>
#include <map>

class CWnd;
struct CRuntimeClass;

class CShellServices {
public:
    // The setup sheet titled "導入処理" holding only the one page the key names ("Unit",
    // "SubjectLarge", "SubjectMiddle", "SubjectSmall", "Division", "Information",
    // "Estimation", "Part"), without a parent, first page 0. Start-up relies only on this:
    // after the sheet has closed, the file that page edits exists in its folder. Returns
    // IDOK or IDCANCEL.
    std::function<int(const char* lpszPageKey)> runIntroductionPage;

    // The environment sheet titled "環境設定" holding only its path page. After IDOK the path
    // keys of "Path Setting" (and the form file names) have been written.
    std::function<int()> runEnvironmentPathPage;

    // The setup sheet with all six pages, titled "導入処理", run modally over pParent with the
    // dialog font lpszFaceName at nPointSize points. Returns IDOK or IDCANCEL.
    std::function<int(CWnd* pParent, const char* lpszFaceName, int nPointSize)> runIntroductionSheet;

    // The environment sheet with its four pages (paths, input, print, colours and fonts),
    // titled "環境設定", run modally over pParent with the given dialog font. Returns IDOK or
    // IDCANCEL; its pages write the settings when applied.
    std::function<int(CWnd* pParent, const char* lpszFaceName, int nPointSize)> runEnvironmentSheet;

    // The DOS-edition conversion (command 33154): asks for a drive and converts the older
    // edition's files with its own dialogs and messages.
    std::function<void(CWnd* pMainFrame)> runDosConversion;

    // The classes of a document type (template 123 estimate, 124 parts list, 125 estimate
    // print layout, 126 parts print layout): document, child frame and view. A type whose
    // classes are not given is registered all the same and says that it cannot be opened.
    struct CDocumentClasses {
        CRuntimeClass* pDocClass = nullptr;
        CRuntimeClass* pFrameClass = nullptr; // null: the framework's MDI child frame
        CRuntimeClass* pViewClass = nullptr;
    };
    std::map<UINT, CDocumentClasses> documentClasses;
    void SetDocumentClasses(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                            CRuntimeClass* pViewClass)
    {
        documentClasses[nIDResource] = CDocumentClasses{pDocClass, pFrameClass, pViewClass};
    }
    CDocumentClasses GetDocumentClasses(UINT nIDResource) const
    {
        auto it = documentClasses.find(nIDResource);
        return it == documentClasses.end() ? CDocumentClasses() : it->second;
    }

    // The services of the running program.
    static CShellServices& Get();

    // Calls the entry, or shows that it is not available (and gives IDCANCEL).
    static int RunIntroductionPage(const char* lpszPageKey);
    static int RunEnvironmentPathPage();
    static int RunIntroductionSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize);
    static int RunEnvironmentSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize);
    static void RunDosConversion(CWnd* pMainFrame);
};
