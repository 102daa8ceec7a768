#include "layout/printform/CPrintFormFileDialog.h"

#include "app/CMorvelDocManager.h"
#include "app/CMorvelSettings.h"
#include "app/CShellServices.h"
#include "app/CWaitDialog.h"
#include "app/SharedRecords.h"
#include "estimate/CMorvelEMDoc.h"
#include "estimate/CMorvelEMView.h"
#include "grid/ModelessMessages.h"
#include "layout/printform/CLayoutPrintJob.h"
#include "layout/printform/CPrintEMDoc.h"
#include "layout/printform/CPrintPMDoc.h"
#include "platform/base/Path.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "resources/PrintToolsIds.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CPrintFormFileDialog, CDialog)

BEGIN_MESSAGE_MAP(CPrintFormFileDialog, CDialog)
ON_BN_CLICKED(IDC_PRINT_ADD, OnAdd)
ON_BN_CLICKED(IDC_PRINT_REMOVE, OnRemove)
ON_BN_CLICKED(IDC_PRINT_CANDIDATE_BROWSE, OnCandidateFolder)
ON_LBN_SELCHANGE(IDC_PRINT_CHOSEN_LIST, OnSelchangeChosen)
ON_BN_CLICKED(IDC_PRINT_REFRESH, OnRefresh)
END_MESSAGE_MAP()

namespace {

CString WorkFolder()
{
    const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent();
    return pSettings != nullptr ? pSettings->GetPathSetting("Work Field") : CString("\\");
}

// The item data of a line of the candidate list that tells something and is no layout.
constexpr UINT_PTR kNoteLine = 1;

} // namespace

CPrintFormFileDialog::CPrintFormFileDialog(int nMode, CWnd* pParent)
    : CDialog(IDD_PRINT_FORM_FILE, pParent), m_pParent(pParent), m_nMode(nMode)
{
    RegisterPrintToolsDialogs();
}

CPrintFormFileDialog::~CPrintFormFileDialog()
{
    ClearResult();
    ClearOpenLayouts();
}

void CPrintFormFileDialog::ClearResult()
{
    for (INT_PTR i = 0; i < m_aResult.GetSize(); ++i)
        delete m_aResult.GetAt(i);
    m_aResult.RemoveAll();
}

void CPrintFormFileDialog::ClearOpenLayouts()
{
    for (INT_PTR i = 0; i < m_aOpenLayouts.GetSize(); ++i)
        delete m_aOpenLayouts.GetAt(i);
    m_aOpenLayouts.RemoveAll();
}

void CPrintFormFileDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PRINT_CHOSEN_FOLDER, m_chosenFolder);
    DDX_Control(pDX, IDC_PRINT_CANDIDATE_FOLDER, m_candidateFolder);
    DDX_Control(pDX, IDC_PRINT_CHOSEN_LIST, m_chosenList);
    DDX_Control(pDX, IDC_PRINT_CANDIDATE_LIST, m_candidateList);
}

BOOL CPrintFormFileDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strCandidateName.Empty();
    m_strCandidateFolder = WorkFolder();

    m_aChosen.clear();
    for (INT_PTR i = 0; i < m_aResult.GetSize(); ++i) {
        const auto* pEntry = static_cast<const CPrintFormEntry*>(m_aResult.GetAt(i));
        m_chosenList.AddString(pEntry->m_strTitle);
        m_aChosen.push_back({pEntry->m_strTitle, pEntry->m_strFolder, static_cast<int>(m_aChosen.size())});
    }
    m_chosenList.SetCurSel(0);
    ShowFirstChosenFolder();

    if (m_candidateList.GetCount() == 0)
        OnRefresh();

    // The lists are filled: whoever opened the dialog can take its wait dialog down.
    if (m_pParent != nullptr && m_pParent->GetSafeHwnd() != nullptr)
        m_pParent->SendMessage(WM_MODELESS_CLOSED, MODELESS_PRINT_FORM_LOADED, 0);
    return TRUE;
}

void CPrintFormFileDialog::ShowFirstChosenFolder()
{
    m_chosenFolder.SetWindowText(m_aChosen.empty() ? CString() : DisplayPath(m_aChosen.front().strFolder));
}

void CPrintFormFileDialog::OnRefresh()
{
    if (ScanFolder(WorkFolder()) > 0)
        return;
    // Layouts are usually kept with the forms, not with the documents: when the work folder
    // has none of the document's forms, the list says so and offers those of the first
    // folder where layouts are that has some.
    const CString strWork = m_strCandidateFolder;
    std::vector<CString> tried{strWork};
    for (const CString& strFolder : LayoutFolders()) {
        if (std::find(tried.begin(), tried.end(), strFolder) != tried.end())
            continue;
        tried.push_back(strFolder);
        if (ScanFolder(strFolder) > 0) {
            AddNote("(ﾃﾞｰﾀﾌｫﾙﾀﾞにはありません)"_sj);
            return;
        }
    }
    ScanFolder(strWork);
    AddNote("(該当する印刷形式がありません)"_sj);
}

void CPrintFormFileDialog::AddNote(const CString& strNote)
{
    const int nIndex = m_candidateList.InsertString(0, strNote);
    if (nIndex >= 0)
        m_candidateList.SetItemData(nIndex, kNoteLine);
}

void CPrintFormFileDialog::OnCandidateFolder()
{
    const bool bEstimate = m_nMode == modeEstimate;
    const CString strFilter =
        bEstimate ? "見積印刷形式ﾌｧｲﾙ(*.MMP)|*.MMP|"_sj : "部材印刷形式ﾌｧｲﾙ(*.MBP)|*.MBP|"_sj;
    CFileDialog dlg(TRUE, bEstimate ? "MMP" : "MBP", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, strFilter,
                    this);
    const CString strStart = BrowseStartFolder();
    dlg.m_ofn.lpstrInitialDir = strStart.c_str();
    if (dlg.DoModal() != IDOK)
        return;
    // The folder keeps its case: on this system "form" and "FORM" are two folders.
    const CString strPath = dlg.GetPathName();
    const CString strName = dlg.GetFileName();
    const int nAt = strPath.GetLength() - strName.GetLength();
    const CString strFolder =
        !strName.IsEmpty() && nAt >= 0 && strPath.Mid(nAt) == strName ? strPath.Left(nAt) : strPath;
    if (strFolder == m_strCandidateFolder)
        return;
    if (ScanFolder(strFolder) == 0)
        AddNote("(該当する印刷形式がありません)"_sj);
}

CString CPrintFormFileDialog::BrowseStartFolder() const
{
    // The work folder the candidates start from often holds no layout (they are usually
    // kept with the forms): the browsing starts where layouts of this kind are, so that the
    // user need not look for them.
    for (const CString& strFolder : LayoutFolders()) {
        for (const CFindFileEntry& file : FindFiles(strFolder + "*" + Extension())) {
            if (!file.isDirectory)
                return strFolder;
        }
    }
    return m_strCandidateFolder;
}

std::vector<CString> CPrintFormFileDialog::LayoutFolders() const
{
    std::vector<CString> folders;
    const int nSel = m_chosenList.GetSafeHwnd() != nullptr ? m_chosenList.GetCurSel() : -1;
    if (nSel >= 0 && nSel < GetChosenCount())
        folders.push_back(m_aChosen[static_cast<size_t>(nSel)].strFolder);
    if (!m_aChosen.empty())
        folders.push_back(m_aChosen.front().strFolder);
    folders.push_back(GetExtensionPath(m_nMode == modeEstimate ? "MMP" : "MBP"));
    if (const CMorvelSettings* pSettings = CMorvelSettings::GetCurrent())
        folders.push_back(
            pSettings->GetPathSetting(m_nMode == modeEstimate ? "Estimation Form" : "Parts Form"));
    return folders;
}

int CPrintFormFileDialog::ScanFolder(const CString& strFolder)
{
    CWaitDialog wait("印刷形式の読み込み中..."_sj, this);
    if (GetSafeHwnd() != nullptr)
        wait.Create(IDD_WAIT, this);

    CollectOpenLayouts();
    m_candidateList.ResetContent();
    m_strCandidateName.Empty();
    m_strCandidateFolder = strFolder;

    const CString strExt = Extension();
    for (const CFindFileEntry& file : FindFiles(m_strCandidateFolder + "*" + strExt)) {
        if (file.isDirectory)
            continue;
        CString strName = file.name;
        strName.MakeUpper();
        CString strPath = m_strCandidateFolder + strName;
        strPath.MakeUpper();
        if (!LayoutMatches(strPath))
            continue;
        const int nExt = strName.Find(strExt);
        m_candidateList.AddString(nExt >= 0 ? strName.Left(nExt) : strName);
    }
    // The folder as the user's system writes it.
    m_candidateFolder.SetWindowText(DisplayPath(m_strCandidateFolder));
    if (wait.GetSafeHwnd() != nullptr)
        wait.DestroyWindow();
    return m_candidateList.GetCount();
}

BOOL CPrintFormFileDialog::LayoutMatches(const CString& strPath)
{
    if (m_nMode == modeEstimate) {
        CEstimationFormFile estimation;
        CInformationFormFile information;
        return GetEstimateLayoutForms(strPath, estimation, information) &&
               estimation.IsSameForm(m_estimationForm) && information.IsSameForm(m_informationForm);
    }
    CPartFormFile parts;
    return GetPartsLayoutForms(strPath, parts) && parts.IsSameForm(m_partsForm);
}

void CPrintFormFileDialog::CollectOpenLayouts()
{
    ClearOpenLayouts();
    const auto kind =
        m_nMode == modeEstimate ? CLayoutPrintJob::estimateLayouts : CLayoutPrintJob::partsLayouts;
    for (const CLayoutPrintJob::COpenLayout& open : CLayoutPrintJob::OpenLayouts(kind)) {
        auto* pEntry = new COpenPrintDocEntry;
        pEntry->m_pDocument = open.pDoc;
        pEntry->m_strFileName = open.strPath;
        pEntry->m_nFlag = 1;
        m_aOpenLayouts.Add(pEntry);
    }
}

BOOL CPrintFormFileDialog::GetEstimateLayoutForms(const CString& strPath, CEstimationFormFile& estimation,
                                                  CInformationFormFile& information)
{
    for (INT_PTR i = 0; i < m_aOpenLayouts.GetSize(); ++i) {
        const auto* pOpen = static_cast<const COpenPrintDocEntry*>(m_aOpenLayouts.GetAt(i));
        if (pOpen->m_strFileName != strPath)
            continue;
        if (const auto* pDoc = dynamic_cast<const CPrintEMDoc*>(pOpen->m_pDocument)) {
            estimation = pDoc->m_curEstimationForm;
            information = pDoc->m_curInformationForm;
            return TRUE;
        }
    }
    // Each file is read into a fresh layout, so a file that cannot be read is never judged
    // by the forms of the one read before it.
    auto pScratch = std::make_unique<CPrintEMDoc>();
    if (!pScratch->OnOpenDocument(strPath))
        return FALSE;
    estimation = pScratch->m_curEstimationForm;
    information = pScratch->m_curInformationForm;
    return TRUE;
}

BOOL CPrintFormFileDialog::GetPartsLayoutForms(const CString& strPath, CPartFormFile& parts)
{
    for (INT_PTR i = 0; i < m_aOpenLayouts.GetSize(); ++i) {
        const auto* pOpen = static_cast<const COpenPrintDocEntry*>(m_aOpenLayouts.GetAt(i));
        if (pOpen->m_strFileName != strPath)
            continue;
        if (const auto* pDoc = dynamic_cast<const CPrintPMDoc*>(pOpen->m_pDocument)) {
            parts = pDoc->m_curPartsForm;
            return TRUE;
        }
    }
    auto pScratch = std::make_unique<CPrintPMDoc>();
    if (!pScratch->OnOpenDocument(strPath))
        return FALSE;
    parts = pScratch->m_curPartsForm;
    return TRUE;
}

void CPrintFormFileDialog::OnAdd()
{
    const int nSel = m_candidateList.GetCurSel();
    if (nSel < 0 || m_candidateList.GetItemData(nSel) == kNoteLine)
        return;
    m_candidateList.GetText(nSel, m_strCandidateName);
    if (m_strCandidateName.IsEmpty())
        return;
    m_aChosen.push_back({m_strCandidateName, m_strCandidateFolder, static_cast<int>(m_aChosen.size())});
    m_chosenList.AddString(m_strCandidateName);
    m_chosenList.SetCurSel(0);
    ShowFirstChosenFolder();
}

void CPrintFormFileDialog::OnRemove()
{
    const int nCount = m_chosenList.GetCount();
    const int nSel = m_chosenList.GetCurSel();
    if (nCount <= 0 || nSel < 0)
        return;
    m_chosenList.DeleteString(static_cast<UINT>(nSel));
    m_chosenList.SetCurSel(0);
    if (nSel < GetChosenCount())
        m_aChosen.erase(m_aChosen.begin() + nSel);
    for (size_t i = 0; i < m_aChosen.size(); ++i)
        m_aChosen[i].nIndex = static_cast<int>(i);
    ShowFirstChosenFolder();
}

void CPrintFormFileDialog::OnSelchangeChosen()
{
    const int nSel = m_chosenList.GetCurSel();
    if (nSel >= 0 && nSel < GetChosenCount())
        m_chosenFolder.SetWindowText(DisplayPath(m_aChosen[static_cast<size_t>(nSel)].strFolder));
}

void CPrintFormFileDialog::StartFrom(const CObArray& chosenLayouts, const CString& strDocumentPath,
                                     const char* lpszExtension)
{
    // A folder the document keeps relative to itself shows, and is looked in, as the folder
    // it stands for.
    for (INT_PTR i = 0; i < chosenLayouts.GetSize(); ++i) {
        const auto* pEntry = static_cast<const CPrintFormEntry*>(chosenLayouts.GetAt(i));
        auto* pCopy = new CPrintFormEntry;
        pCopy->m_strTitle = pEntry->m_strTitle;
        pCopy->m_strFolder = CLayoutPrintJob::EntryFolder(*pEntry, strDocumentPath);
        m_aResult.Add(pCopy);
    }
    m_strDocumentPath = strDocumentPath;
    m_strDocumentPath.MakeUpper();
    if (m_strDocumentPath.Find('.') < 0)
        m_strDocumentPath += lpszExtension;
}

void CPrintFormFileDialog::OnOK()
{
    ClearResult();
    for (const CChosenEntry& chosen : m_aChosen) {
        auto* pEntry = new CPrintFormEntry;
        pEntry->m_strTitle = chosen.strTitle;
        pEntry->m_strFolder = chosen.strFolder;
        m_aResult.Add(pEntry);
    }
    CDialog::OnOK();
}

namespace {

INT_PTR ChooseEstimatePrintForms(CView* pGrid, CObArray& chosen)
{
    auto* pView = dynamic_cast<CMorvelEMView*>(pGrid);
    CMorvelEMDoc* pDoc = pView != nullptr ? pView->GetDocument() : nullptr;
    if (pDoc == nullptr)
        return IDCANCEL;
    CPrintFormFileDialog dlg(CPrintFormFileDialog::modeEstimate, pView);
    dlg.m_strEstimationFormName = pDoc->m_strEstimationFormName;
    dlg.m_estimationForm = pDoc->m_EstimationForm;
    dlg.m_strInformationFormName = pDoc->m_strInformationFormName;
    dlg.m_informationForm = pDoc->m_InformationForm;
    dlg.StartFrom(pDoc->m_aPrintForms, pDoc->GetPathName(), ".MMD");
    const INT_PTR nResult = dlg.DoModal();
    if (nResult == IDOK) {
        for (INT_PTR i = 0; i < dlg.m_aResult.GetSize(); ++i)
            chosen.Add(dlg.m_aResult.GetAt(i));
        dlg.m_aResult.RemoveAll(); // now the caller's
    }
    return nResult;
}

} // namespace

void RegisterPrintFormChoice()
{
    RegisterPrintToolsDialogs();
    CShellServices::Get().chooseEstimatePrintForms = ChooseEstimatePrintForms;
}
