// CShellServices: the program's one registry of what the subsystems built above the shell
// provide to it (the composition root). The shell (app/) links below the estimate, the
// parts list, the print layouts, the setup sheets and the DOS conversion, so it cannot call
// them; each of those folders offers one registration function, Register<Folder>() in
// <folder>/<Folder>Registration.h, that fills the fields here for what it provides. main()
// calls the registration functions in a fixed order before the application starts, and the
// tests call the same functions. docs/architecture.md ("How a subsystem plugs in") shows the
// steps for a new subsystem.
//
// Until a field is filled, the shell behaves as if the function did not exist yet: a sheet
// or conversion says that it is not available (and counts as cancelled), a document type
// keeps its filter in the file dialog and says that it cannot be opened.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <functional>
#include <map>

class CDC;
class CDocument;
class CPartFormFile;
class CPrintInfo;
class CView;
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

    // The environment sheet opened from a document's grid view: its four pages, titled
    // "環境設定", run modally over pParent without a sheet font, for the document kind
    // nDocKind (1 estimate: the input page knows it runs for an estimate; 0 parts list).
    // Returns IDOK or IDCANCEL; after IDOK the settings are written and the application's
    // row fonts and colours are current, and the caller lays its windows out again.
    std::function<int(CWnd* pParent, int nDocKind)> runViewEnvironmentSheet;

    // The DOS-edition conversion (command 33154): asks for a drive and converts the older
    // edition's files with its own dialogs and messages.
    std::function<void(CWnd* pMainFrame)> runDosConversion;

    // The estimate view's import and export commands (他形式ﾌｧｲﾙ読込, the CSV output and
    // input, the two outside exports), carried out for the view pView by command id.
    std::function<void(CView* pView, UINT nID)> runEstimateIoCommand;

    // The estimate view's commands that ask through a dialog of the estimate tools first
    // (the page select, insert and delete commands, ...), carried out for pView by id.
    std::function<void(CView* pView, UINT nID)> runEstimateDialogCommand;

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

    // ---- the document windows' "導入処理" in import mode ------------------------------
    // The setup sheet in import mode over copies of the active document's forms, run over
    // pParent. The estimate window's shows units, subjects, classifications and both form
    // pages; the parts window's the unit and parts-form pages; the estimate print layout's
    // the estimation-form and information-form pages; the parts print layout's the
    // parts-form page. Empty: the command says that the sheet is not available.
    std::function<void(CDocument* pDoc, CWnd* pParent)> runEstimateImportSheet;
    std::function<void(CDocument* pDoc, CWnd* pParent)> runPartsImportSheet;
    std::function<void(CDocument* pDoc, CWnd* pParent)> runEstimateFormImportSheet;
    std::function<void(CDocument* pDoc, CWnd* pParent)> runPartsFormImportSheet;

    // ---- what the estimate window (CChildEMFrame) asks of the estimate ------------------
    // The subject tree view (the left pane). Without it the estimate window cannot be made.
    CRuntimeClass* pEstimateTreeViewClass = nullptr;
    // The used rows of the grid's edit page.
    std::function<int(CView* pGrid)> getEstimateUsedRows;
    // Cuts every used row through the grid's Cut command (its undo and row clipboard) and
    // puts the grid's selection rectangle back.
    std::function<void(CView* pGrid)> cutAllEstimateRows;

    // ---- printing the estimate through its print layouts (estimate_tools) -------------
    // Each takes the estimate grid view. While they are empty the estimate's print and
    // preview commands stay disabled. Prepare counts the pages of the chosen layouts (FALSE:
    // nothing to print); print draws the page pInfo->m_nCurPage; end releases the job.
    std::function<BOOL(CView* pGrid, CPrintInfo* pInfo)> prepareEstimatePrinting;
    std::function<void(CView* pGrid, CDC* pDC, CPrintInfo* pInfo)> printEstimatePage;
    std::function<void(CView* pGrid)> endEstimatePrinting;

    // The unit pick list (modeless, owned by pOwner, which it sends WM_PICK_UNIT and
    // WM_MODELESS_CLOSED), starting at the unit strUnit; null when it cannot open. Empty:
    // the grids' unit commands stay disabled.
    std::function<CWnd*(CWnd* pOwner, const CString& strUnit)> createUnitPick;
    // The zoom dialog over pParent, starting at nZoom; TRUE on OK with nZoom the chosen
    // percent. Empty: the user zoom command stays disabled.
    std::function<BOOL(CWnd* pParent, int& nZoom)> runZoomDialog;

    // The fixed-rate dialog of a parts list over pParent, on its parts form: on OK (TRUE)
    // request holds the formula text and the two conditions. Empty: the parts fixed-rate
    // command stays disabled.
    struct CRateChangeRequest {
        CString strFormula;       // appended to each cell's text, such as "*1.2"
        int nCol1 = 0, nOp1 = -1; // relation codes 0 <, 1 <=, 2 =, 3 <>, 4 >=, 5 >; -1 none
        CString strValue1;        // an empty value makes its condition hold
        int nCol2 = 0, nOp2 = -1;
        CString strValue2;
        int nCombine = 1; // 0 either condition, 1 both
    };
    std::function<BOOL(CWnd* pParent, const CPartFormFile& form, CRateChangeRequest& request)>
        runRateChangeDialog;

    // The modeless find (bReplace FALSE) or replace dialog owned by pOwner, which it sends
    // WM_FINDREPLACE_REQUEST and WM_MODELESS_CLOSED, starting with strText; null when it
    // cannot open. Empty: the parts grid's find and replace commands stay disabled.
    std::function<CWnd*(CWnd* pOwner, bool bReplace, const CString& strText)> createFindReplaceDialog;
    // The sort dialog over pParent: TRUE on 昇順 or 降順 with bAscending set, FALSE on
    // cancel. Empty: the parts grid's sort command stays disabled.
    std::function<BOOL(CWnd* pParent, BOOL& bAscending)> runSortDialog;

    // The parts list's exchange commands (CSV output 33147, CSV input 33148, another parts
    // file 33145) for the parts grid pView, by id. Empty: they stay disabled.
    std::function<void(CView* pView, UINT nID)> runPartsIoCommand;

    // The services of the running program.
    static CShellServices& Get();

    // Calls the entry, or shows that it is not available (and gives IDCANCEL).
    static int RunIntroductionPage(const char* lpszPageKey);
    static int RunEnvironmentPathPage();
    static int RunIntroductionSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize);
    static int RunEnvironmentSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize);
    static int RunViewEnvironmentSheet(CWnd* pParent, int nDocKind);
    static void RunDosConversion(CWnd* pMainFrame);
};
