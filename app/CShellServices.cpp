#include "app/CShellServices.h"

#include "platform/base/CString.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/controls/CComboBox.h"

namespace {

int NotAvailable(const CString& message)
{
    AfxMessageBox(message, MB_OK | MB_ICONINFORMATION);
    return IDCANCEL;
}

int IntroductionMissing()
{
    return NotAvailable("導入処理の画面はまだ用意されていません。"_sj);
}

int EnvironmentMissing()
{
    return NotAvailable("環境設定の画面はまだ用意されていません。"_sj);
}

void RunImportSheet(const std::function<void(CDocument* pDoc, CWnd* pParent)>& run, CDocument* pDoc,
                    CWnd* pParent)
{
    if (!run) {
        IntroductionMissing();
        return;
    }
    run(pDoc, pParent);
}

} // namespace

CShellServices& CShellServices::Get()
{
    static CShellServices s_services;
    return s_services;
}

// ---- setup/ ----------------------------------------------------------------------------

int CShellServices::RunIntroductionPage(const char* lpszPageKey)
{
    const auto& run = Get().runIntroductionPage;
    return run ? run(lpszPageKey) : IntroductionMissing();
}

int CShellServices::RunEnvironmentPathPage()
{
    const auto& run = Get().runEnvironmentPathPage;
    return run ? run() : EnvironmentMissing();
}

int CShellServices::RunIntroductionSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize)
{
    const auto& run = Get().runIntroductionSheet;
    return run ? run(pParent, lpszFaceName, nPointSize) : IntroductionMissing();
}

int CShellServices::RunEnvironmentSheet(CWnd* pParent, const char* lpszFaceName, int nPointSize)
{
    const auto& run = Get().runEnvironmentSheet;
    return run ? run(pParent, lpszFaceName, nPointSize) : EnvironmentMissing();
}

int CShellServices::RunViewEnvironmentSheet(CWnd* pParent, int nDocKind)
{
    const auto& run = Get().runViewEnvironmentSheet;
    return run ? run(pParent, nDocKind) : EnvironmentMissing();
}

void CShellServices::RunEstimateImportSheet(CDocument* pDoc, CWnd* pParent)
{
    RunImportSheet(Get().runEstimateImportSheet, pDoc, pParent);
}

void CShellServices::RunPartsImportSheet(CDocument* pDoc, CWnd* pParent)
{
    RunImportSheet(Get().runPartsImportSheet, pDoc, pParent);
}

void CShellServices::RunEstimateFormImportSheet(CDocument* pDoc, CWnd* pParent)
{
    RunImportSheet(Get().runEstimateFormImportSheet, pDoc, pParent);
}

void CShellServices::RunPartsFormImportSheet(CDocument* pDoc, CWnd* pParent)
{
    RunImportSheet(Get().runPartsFormImportSheet, pDoc, pParent);
}

// ---- dosconvert/ -----------------------------------------------------------------------

void CShellServices::RunDosConversion(CWnd* pMainFrame)
{
    const auto& run = Get().runDosConversion;
    if (!run) {
        NotAvailable("DOS版ﾃﾞｰﾀの変換はまだ用意されていません。"_sj);
        return;
    }
    run(pMainFrame);
}

// ---- estimate_tools/ -------------------------------------------------------------------

int CShellServices::GetEstimateUsedRows(CView* pGrid)
{
    const auto& get = Get().getEstimateUsedRows;
    return get ? get(pGrid) : 0;
}

void CShellServices::CutAllEstimateRows(CView* pGrid)
{
    if (const auto& cut = Get().cutAllEstimateRows)
        cut(pGrid);
}

int CShellServices::GetSubjectTreeLabelsRight(CView* pTree)
{
    const auto& get = Get().getSubjectTreeLabelsRight;
    return get ? get(pTree) : 0;
}

bool CShellServices::RunEstimateDialogCommand(CView* pView, UINT nID)
{
    const auto& run = Get().runEstimateDialogCommand;
    if (!run)
        return false;
    run(pView, nID);
    return true;
}

bool CShellServices::RunEstimateIoCommand(CView* pView, UINT nID)
{
    const auto& run = Get().runEstimateIoCommand;
    if (!run)
        return false;
    run(pView, nID);
    return true;
}

BOOL CShellServices::PrepareEstimatePrinting(CView* pGrid, CPrintInfo* pInfo)
{
    const auto& prepare = Get().prepareEstimatePrinting;
    return prepare ? prepare(pGrid, pInfo) : FALSE;
}

void CShellServices::BeginEstimatePrinting(CView* pGrid)
{
    if (const auto& begin = Get().beginEstimatePrinting)
        begin(pGrid);
}

void CShellServices::PrintEstimatePage(CView* pGrid, CDC* pDC, CPrintInfo* pInfo)
{
    if (const auto& print = Get().printEstimatePage)
        print(pGrid, pDC, pInfo);
}

void CShellServices::EndEstimatePrinting(CView* pGrid)
{
    if (const auto& end = Get().endEstimatePrinting)
        end(pGrid);
}

bool CShellServices::PrepareEstimatePrintDC(CView* pGrid, CDC* pDC, CPrintInfo* pInfo)
{
    const auto& prepare = Get().prepareEstimatePrintDC;
    if (!prepare)
        return false;
    prepare(pGrid, pDC, pInfo);
    return true;
}

CWnd* CShellServices::CreateUnitPick(CWnd* pOwner, const CString& strUnit)
{
    const auto& create = Get().createUnitPick;
    return create ? create(pOwner, strUnit) : nullptr;
}

BOOL CShellServices::RunZoomDialog(CWnd* pParent, int& nZoom)
{
    const auto& run = Get().runZoomDialog;
    return run ? run(pParent, nZoom) : FALSE;
}

BOOL CShellServices::RunRateChangeDialog(CWnd* pParent, const CPartFormFile& form,
                                         CRateChangeRequest& request)
{
    const auto& run = Get().runRateChangeDialog;
    return run ? run(pParent, form, request) : FALSE;
}

CWnd* CShellServices::CreateFindReplaceDialog(CWnd* pOwner, bool bReplace, const CString& strText)
{
    const auto& create = Get().createFindReplaceDialog;
    return create ? create(pOwner, bReplace, strText) : nullptr;
}

BOOL CShellServices::RunSortDialog(CWnd* pParent, BOOL& bAscending)
{
    const auto& run = Get().runSortDialog;
    return run ? run(pParent, bAscending) : FALSE;
}

bool CShellServices::RunPartsIoCommand(CView* pView, UINT nID)
{
    const auto& run = Get().runPartsIoCommand;
    if (!run)
        return false;
    run(pView, nID);
    return true;
}

// ---- layout/printform/ -----------------------------------------------------------------

INT_PTR CShellServices::ChooseEstimatePrintForms(CView* pGrid, CObArray& chosen)
{
    const auto& choose = Get().chooseEstimatePrintForms;
    return choose ? choose(pGrid, chosen) : IDCANCEL;
}

std::unique_ptr<CComboBox> CShellServices::CreatePrintBarBox(UINT nID, CWnd* pBar, const RECT& rect,
                                                             CDC* pPrinterDC)
{
    const auto& create = Get().createPrintBarBox;
    return create ? create(nID, pBar, rect, pPrinterDC) : nullptr;
}
