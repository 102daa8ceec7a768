// CShellServices: the program's one registry of what the subsystems built above the shell
// provide to it (the composition root). The shell (app/), the grid base and the estimate
// and parts grids link below the estimate tools, the print layouts, the setup sheets and the
// DOS conversion, so they cannot call them; each of those folders offers one registration
// function, Register<Folder>() in <folder>/<Folder>Registration.h, that fills the fields
// here for what it provides. main() calls the registration functions in a fixed order before
// the application starts, and the tests call the same functions. docs/architecture.md
// ("How a subsystem plugs in") shows the steps for a new subsystem.
//
// The entries are grouped by the folder that fills them. Code below calls an entry through
// its static wrapper (RunEstimateDialogCommand, PrepareEstimatePrinting, ...), whose comment
// names the file that does the work; the field beside it is what the registration sets
// and what a test may replace. An update handler that enables a command while its entry is
// filled tests the field itself.
//
// Until a field is filled, the shell behaves as if the function did not exist yet: a sheet
// or conversion says that it is not available (and counts as cancelled), a command stays
// disabled or does nothing, a document type keeps its filter in the file dialog and says that
// it cannot be opened. Each wrapper states what it does while its field is empty.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"

#include <functional>
#include <map>
#include <memory>

class CComboBox;
class CDC;
class CObArray;
class CDocument;
class CPartFormFile;
class CPrintInfo;
class CView;
class CWnd;
struct CRuntimeClass;

class CShellServices {
public:
    // The services of the running program.
    static CShellServices& Get();

    // ==== document types: estimate/, parts/, layout/printform/ =============================
    // Each folder gives the classes of its own types from its registration function:
    // RegisterEstimate() (estimate/EstimateRegistration.cpp) template 123 estimate,
    // RegisterParts() (parts/PartsRegistration.cpp) 124 parts list, RegisterPrintForm()
    // (layout/printform/PrintFormRegistration.cpp) 125 estimate print layout and 126 parts print
    // layout. CMorvelApp::RegisterDocumentTemplates (app/CMorvelApp.cpp) makes the templates.
    struct CDocumentClasses {
        CRuntimeClass* pDocClass = nullptr;
        CRuntimeClass* pFrameClass = nullptr; // null: the framework's MDI child frame
        CRuntimeClass* pViewClass = nullptr;
    };
    // The classes of a document type: document, child frame and view. A type whose classes
    // are not given is registered all the same and says that it cannot be opened.
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

    // ==== parts/: RegisterParts() (parts/PartsRegistration.cpp) ============================
    // The parts list's exchange commands (CSV output 33147, CSV input 33148, another parts
    // file 33145) for the parts grid pView, by id: RunPartsIoCommand
    // (parts/PartsIoCommands.cpp). false, and nothing happens, while empty (the
    // commands stay disabled).
    static bool RunPartsIoCommand(CView* pView, UINT nID);
    std::function<void(CView* pView, UINT nID)> runPartsIoCommand;

    // ==== setup/: RegisterSetup() (setup/SetupRegistration.cpp) ===========================
    // The sheets are CIntroductionDialog (setup/CIntroductionDialog.cpp) and
    // CEnvironmentDialog (setup/CEnvironmentDialog.cpp), made and run by the lambdas of
    // setup/SetupRegistration.cpp. While a field is empty its wrapper says that the sheet is
    // not available and gives IDCANCEL.

    // The setup sheet titled "導入処理" holding only the one page the key names ("Unit",
    // "SubjectLarge", "SubjectMiddle", "SubjectSmall", "Division", "Information",
    // "Estimation", "Part"), without a parent, first page 0. Start-up relies only on this:
    // after the sheet has closed, the file that page edits exists in its folder. Returns
    // IDOK or IDCANCEL.
    static int RunIntroductionPage(const char* lpszPageKey);
    std::function<int(const char* lpszPageKey)> runIntroductionPage;

    // The environment sheet titled "環境設定" holding only its path page. After IDOK the path
    // keys of "Path Setting" (and the form file names) have been written.
    static int RunEnvironmentPathPage();
    std::function<int()> runEnvironmentPathPage;

    // The setup sheet with all six pages, titled "導入処理", run modally over pParent with the
    // dialog font lpszFaceName at nPointSize points. Returns IDOK or IDCANCEL.
    static int RunIntroductionSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize);
    std::function<int(CWnd* pParent, const char* lpszFaceName, int nPointSize)> runIntroductionSheet;

    // The environment sheet with its four pages (paths, input, print, colours and fonts),
    // titled "環境設定", run modally over pParent with the given dialog font. Returns IDOK or
    // IDCANCEL; its pages write the settings when applied, and after IDOK every open
    // estimate grid lays itself out again.
    static int RunEnvironmentSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize);
    std::function<int(CWnd* pParent, const char* lpszFaceName, int nPointSize)> runEnvironmentSheet;

    // The environment sheet opened from a document's grid view: its four pages, titled
    // "環境設定", run modally over pParent without a sheet font, for the document kind
    // nDocKind (1 estimate: the input page knows it runs for an estimate; 0 parts list).
    // Returns IDOK or IDCANCEL; after IDOK the settings are written and the application's
    // row fonts and colours are current, and the caller lays its windows out again.
    static int RunViewEnvironmentSheet(CWnd* pParent, int nDocKind);
    std::function<int(CWnd* pParent, int nDocKind)> runViewEnvironmentSheet;

    // The document windows' "導入処理": the setup sheet in import mode over copies of the
    // active document's forms, run over pParent; nothing goes back to the document. The
    // estimate window's shows units, subjects, classifications and both form pages; the
    // parts window's the unit and parts-form pages; the estimate print layout's the
    // estimation-form and information-form pages; the parts print layout's the parts-form
    // page. Empty: a message says that the sheet is not available.
    static void RunEstimateImportSheet(CDocument* pDoc, CWnd* pParent);
    static void RunPartsImportSheet(CDocument* pDoc, CWnd* pParent);
    static void RunEstimateFormImportSheet(CDocument* pDoc, CWnd* pParent);
    static void RunPartsFormImportSheet(CDocument* pDoc, CWnd* pParent);
    std::function<void(CDocument* pDoc, CWnd* pParent)> runEstimateImportSheet;
    std::function<void(CDocument* pDoc, CWnd* pParent)> runPartsImportSheet;
    std::function<void(CDocument* pDoc, CWnd* pParent)> runEstimateFormImportSheet;
    std::function<void(CDocument* pDoc, CWnd* pParent)> runPartsFormImportSheet;

    // ==== dosconvert/: RegisterDosConvert() (dosconvert/DosConvertRegistration.cpp) ========

    // The DOS-edition conversion (command 33154): asks for a drive and converts the older
    // edition's files with its own dialogs and messages. RunDosConversionCommand,
    // dosconvert/DosConversion.cpp. Empty: a message says that it is not available.
    static void RunDosConversion(CWnd* pMainFrame);
    std::function<void(CWnd* pMainFrame)> runDosConversion;

    // ==== estimate_tools/: RegisterEstimateTools() (estimate_tools/EstimateToolsRegistration.cpp)
    // What the estimate grid and its window ask of the estimate tools, and the dialogs the
    // parts grid shares with the estimate grid (RegisterPartsGridDialogs, same file).

    // -- the estimate window (CChildEMFrame, app/CChildEMFrame.cpp) --
    // The subject tree view of the left pane: CMorvelEMTreeView
    // (estimate_tools/CMorvelEMTreeView.cpp). Without it the estimate window cannot be made.
    CRuntimeClass* pEstimateTreeViewClass = nullptr;

    // The used rows of the grid's edit page (the lambda in
    // estimate_tools/EstimateToolsRegistration.cpp). Empty: 0.
    static int GetEstimateUsedRows(CView* pGrid);
    std::function<int(CView* pGrid)> getEstimateUsedRows;

    // Cuts every used row through the grid's Cut command (its undo and row clipboard) and
    // puts the grid's selection rectangle back: CMorvelEMTreeView::CutRowsThroughGrid
    // (estimate_tools/CMorvelEMTreeView.cpp). Empty: nothing happens.
    static void CutAllEstimateRows(CView* pGrid);
    std::function<void(CView* pGrid)> cutAllEstimateRows;

    // The client x up to which the subject tree's labels reach shown whole (the tree elides
    // them where its pane is narrower): CMorvelEMTreeView::GetWholeLabelsRight
    // (estimate_tools/CMorvelEMTreeView.cpp). Empty: 0.
    static int GetSubjectTreeLabelsRight(CView* pTree);
    std::function<int(CView* pTree)> getSubjectTreeLabelsRight;

    // -- the estimate grid's commands (CMorvelEMView) --
    // The commands that ask through a dialog of the estimate tools first (page select,
    // insert and delete, information input, kinds, discounts, picks, summary table, find
    // and replace, sort, user zoom, fixed rate, parts registration, ...), carried out for
    // pView by command id: RunEstimateDialogCommand (estimate_tools/EstimateDialogCommands.cpp),
    // whose one table maps each id to its handler. false, and nothing happens, while empty.
    static bool RunEstimateDialogCommand(CView* pView, UINT nID);
    std::function<void(CView* pView, UINT nID)> runEstimateDialogCommand;

    // The import and export commands (他形式ﾌｧｲﾙ読込, the CSV output and input, the two
    // outside exports), carried out for pView by command id: RunEstimateIoCommand
    // (estimate_tools/EstimateIoCommands.cpp). false, and nothing happens, while empty.
    static bool RunEstimateIoCommand(CView* pView, UINT nID);
    std::function<void(CView* pView, UINT nID)> runEstimateIoCommand;

    // -- printing the estimate through its print layouts --
    // Each takes the estimate grid view; the print road is estimate_tools/CEstimatePrinting.cpp
    // (PrepareEstimatePrinting, BeginEstimatePrinting, PrintEstimatePage, EndEstimatePrinting,
    // PrepareEstimatePrintDC, over CLayoutPrintJob in layout/printform/CLayoutPrintJob.cpp). While
    // they are empty the estimate's print and preview commands stay disabled.
    // Counts the pages of the chosen layouts; FALSE: nothing to print (also while empty).
    static BOOL PrepareEstimatePrinting(CView* pGrid, CPrintInfo* pInfo);
    std::function<BOOL(CView* pGrid, CPrintInfo* pInfo)> prepareEstimatePrinting;
    // Takes the rows the job prints again, from the rows as they are now (recalculated for
    // printing). Empty: nothing happens.
    static void BeginEstimatePrinting(CView* pGrid);
    std::function<void(CView* pGrid)> beginEstimatePrinting;
    // Draws the page pInfo->m_nCurPage. Empty: draws nothing.
    static void PrintEstimatePage(CView* pGrid, CDC* pDC, CPrintInfo* pInfo);
    std::function<void(CView* pGrid, CDC* pDC, CPrintInfo* pInfo)> printEstimatePage;
    // Releases the job. Empty: nothing happens.
    static void EndEstimatePrinting(CView* pGrid);
    std::function<void(CView* pGrid)> endEstimatePrinting;
    // The page mapping of a printing context: 0.01 inch with y up, the origin at the centre
    // of the printable area of the paper and margins of the layout that holds the page.
    // false while empty (the context is left as it was).
    static bool PrepareEstimatePrintDC(CView* pGrid, CDC* pDC, CPrintInfo* pInfo);
    std::function<void(CView* pGrid, CDC* pDC, CPrintInfo* pInfo)> prepareEstimatePrintDC;

    // -- the parts grid's dialogs and commands (RegisterPartsGridDialogs) --
    // The unit pick list (modeless, owned by pOwner, which it sends WM_PICK_UNIT and
    // WM_MODELESS_CLOSED), starting at the unit strUnit: OpenUnitPickDialog
    // (estimate_tools/CPickDialogs.cpp). Null when it cannot open or while empty; the grids'
    // unit commands stay disabled while empty.
    static CWnd* CreateUnitPick(CWnd* pOwner, const CString& strUnit);
    std::function<CWnd*(CWnd* pOwner, const CString& strUnit)> createUnitPick;

    // The zoom dialog over pParent, starting at nZoom: CZoomDialog (layout/printform/CZoomDialog.cpp).
    // TRUE on OK with nZoom the chosen percent; FALSE on cancel or while empty (the user
    // zoom command stays disabled).
    static BOOL RunZoomDialog(CWnd* pParent, int& nZoom);
    std::function<BOOL(CWnd* pParent, int& nZoom)> runZoomDialog;

    // The fixed-rate dialog of a parts list over pParent, on its parts form: CRateCalcDialog
    // (estimate_tools/CRateCalcDialog.cpp). On OK (TRUE) request holds the formula text and
    // the two conditions; FALSE on cancel or while empty (the command stays disabled).
    struct CRateChangeRequest {
        CString strFormula;       // appended to each cell's text, such as "*1.2"
        int nCol1 = 0, nOp1 = -1; // relation codes 0 <, 1 <=, 2 =, 3 <>, 4 >=, 5 >; -1 none
        CString strValue1;        // an empty value makes its condition hold
        int nCol2 = 0, nOp2 = -1;
        CString strValue2;
        int nCombine = 1; // 0 either condition, 1 both
    };
    static BOOL RunRateChangeDialog(CWnd* pParent, const CPartFormFile& form, CRateChangeRequest& request);
    std::function<BOOL(CWnd* pParent, const CPartFormFile& form, CRateChangeRequest& request)>
        runRateChangeDialog;

    // The modeless find (bReplace FALSE) or replace dialog owned by pOwner, which it sends
    // WM_FINDREPLACE_REQUEST and WM_MODELESS_CLOSED, starting with strText: CFindDialog or
    // CReplaceDialog (estimate_tools/CFindReplaceDialogs.cpp). Null when it cannot open or
    // while empty; the parts grid's find and replace commands stay disabled while empty.
    static CWnd* CreateFindReplaceDialog(CWnd* pOwner, bool bReplace, const CString& strText);
    std::function<CWnd*(CWnd* pOwner, bool bReplace, const CString& strText)> createFindReplaceDialog;

    // The sort dialog over pParent: CSortDialog (estimate_tools/CSortDialog.cpp). TRUE on
    // 昇順 or 降順 with bAscending set; FALSE on cancel or while empty (the parts grid's sort
    // command stays disabled).
    static BOOL RunSortDialog(CWnd* pParent, BOOL& bAscending);
    std::function<BOOL(CWnd* pParent, BOOL& bAscending)> runSortDialog;

    // ==== layout/printform/: RegisterPrintForm() (layout/printform/PrintFormRegistration.cpp)

    // "印刷形式ﾌｧｲﾙ選択" for the estimate of the grid: ChooseEstimatePrintForms
    // (layout/printform/CPrintFormFileDialog.cpp). The grid gets WM_MODELESS_CLOSED 7 once the
    // dialog's lists are filled. IDOK: chosen (CPrintFormEntry*, the caller's to free) holds
    // the layouts to print through, in order. IDCANCEL while empty (the command is disabled).
    static INT_PTR ChooseEstimatePrintForms(CView* pGrid, CObArray& chosen);
    std::function<INT_PTR(CView* pGrid, CObArray& chosen)> chooseEstimatePrintForms;

    // The box of a control id on a print-layout window's bar (IDC_FONT_NAME, IDC_LINE_STYLE,
    // IDC_FILL_PATTERN), made as a child of pBar in the rectangle given (the dropped list
    // included), filled and with its first choice selected; the font names are those of
    // the printer context: CreatePrintBarBox (layout/printform/PrintBarBoxes.cpp). Null when it
    // cannot be made or while empty (the places stay empty).
    static std::unique_ptr<CComboBox> CreatePrintBarBox(UINT nID, CWnd* pBar, const RECT& rect,
                                                        CDC* pPrinterDC);
    std::function<std::unique_ptr<CComboBox>(UINT nID, CWnd* pBar, const RECT& rect, CDC* pPrinterDC)>
        createPrintBarBox;
};
