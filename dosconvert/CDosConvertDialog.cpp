#include "dosconvert/CDosConvertDialog.h"

#include "platform/base/Cp932.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/gdi/CImageList.h"
#include "resources/DosConvertIds.h"

namespace {

// A volume label shows at most 19 bytes; a double-byte character is never cut in two.
CString ShortLabel(const CString& label)
{
    constexpr int kMaxLabel = 19;
    int n = 0;
    while (n < label.GetLength()) {
        const int nChar = IsDBCSLeadByte(static_cast<BYTE>(label[n])) && n + 1 < label.GetLength() ? 2 : 1;
        if (n + nChar > kMaxLabel)
            break;
        n += nChar;
    }
    return label.Left(n);
}

// The choices each mode enables and disables.
struct ModeControls {
    int nButton;
    UINT enabled[3];
    UINT disabled[6];
};
const ModeControls kModes[] = {
    {IDC_DOS_AUXILIARY,
     {IDC_DOS_UNITS, IDC_DOS_SUBJECTS, IDC_DOS_CLASSIFY},
     {IDC_DOS_ESTIMATE_DATA, IDC_DOS_PARTS_DATA, IDC_DOS_ESTIMATION_FORM, IDC_DOS_PARTS_FORM,
      IDC_DOS_INFORMATION_FORM, 0}},
    {IDC_DOS_FORMS,
     {IDC_DOS_ESTIMATION_FORM, IDC_DOS_PARTS_FORM, IDC_DOS_INFORMATION_FORM},
     {IDC_DOS_ESTIMATE_DATA, IDC_DOS_PARTS_DATA, IDC_DOS_UNITS, IDC_DOS_SUBJECTS, IDC_DOS_CLASSIFY, 0}},
    {IDC_DOS_EDIT,
     {IDC_DOS_ESTIMATE_DATA, IDC_DOS_PARTS_DATA, 0},
     {IDC_DOS_UNITS, IDC_DOS_SUBJECTS, IDC_DOS_CLASSIFY, IDC_DOS_ESTIMATION_FORM, IDC_DOS_PARTS_FORM,
      IDC_DOS_INFORMATION_FORM}},
};

} // namespace

IMPLEMENT_DYNAMIC(CDosConvertDialog, CDialog)

BEGIN_MESSAGE_MAP(CDosConvertDialog, CDialog)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_DOS_LIST, OnDriveChanged)
ON_BN_CLICKED(IDC_DOS_AUXILIARY, OnAuxiliary)
ON_BN_CLICKED(IDC_DOS_FORMS, OnForms)
ON_BN_CLICKED(IDC_DOS_EDIT, OnEdit)
ON_BN_CLICKED(IDC_DOS_ESTIMATE_DATA, OnEstimateData)
ON_BN_CLICKED(IDC_DOS_PARTS_DATA, OnPartsData)
ON_BN_CLICKED(IDC_DOS_CLASSIFY, OnClassifications)
ON_BN_CLICKED(IDC_DOS_ESTIMATION_FORM, OnEstimationForm)
ON_BN_CLICKED(IDC_DOS_INFORMATION_FORM, OnInformationForm)
ON_BN_CLICKED(IDC_DOS_PARTS_FORM, OnPartsForm)
ON_BN_CLICKED(IDC_DOS_SUBJECTS, OnSubjects)
ON_BN_CLICKED(IDC_DOS_UNITS, OnUnits)
END_MESSAGE_MAP()

CDosConvertDialog::CDosConvertDialog(CWnd* pParent) : CDialog(IDD_DOS_CONVERT, pParent) {}

CDosConvertDialog::~CDosConvertDialog()
{
    if (m_pImageList != nullptr)
        m_pImageList->DeleteImageList();
}

void CDosConvertDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DOS_LIST, m_listDrives);
}

BOOL CDosConvertDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_choice = CDosConvertChoice();
    m_choice.drive = 'C';
    m_choice.mode = CDosConvertChoice::modeEdit;
    m_choice.estimateData = TRUE;
    m_choice.partsData = FALSE;

    m_pImageList = std::make_unique<CImageList>();
    m_pImageList->Create(20, 20, ILC_MASK, 3, 1);
    m_pImageList->Add(::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_DOS_REMOVABLE)));
    m_pImageList->Add(::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_DOS_FIXED)));
    m_pImageList->Add(::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_DOS_OTHER)));
    m_listDrives.SetImageList(m_pImageList.get(), LVSIL_SMALL);
    m_listDrives.InsertColumn(0, "", LVCFMT_LEFT, 250);

    ListDrives();

    // Drive C is chosen first; nothing is selected when it is not listed.
    const int nC = m_strDriveLetters.Find('C');
    if (nC >= 0)
        m_listDrives.SetItemState(nC, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    OnEdit();
    OnEstimateData();
    return TRUE;
}

void CDosConvertDialog::ListDrives()
{
    m_listDrives.DeleteAllItems();
    m_strDriveLetters.Empty();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        CString strRoot(letter);
        strRoot += ":\\";
        if (GetDriveRoot(letter).empty() || !DirectoryExists(strRoot))
            continue;
        const UINT nType = GetDriveType(strRoot);
        int nImage = -1;
        if (nType == DRIVE_REMOVABLE)
            nImage = 0;
        else if (nType == DRIVE_FIXED)
            nImage = 1;
        else
            continue;
        CString strLabel;
        GetVolumeLabel(strRoot, strLabel);
        // The drive as the user's file system shows it: its folder, and the medium's name.
        const int nItem = m_listDrives.InsertItem(m_listDrives.GetItemCount(),
                                                  DisplayDrive(letter, ShortLabel(strLabel)), nImage);
        m_listDrives.SetItemData(nItem, static_cast<DWORD_PTR>(static_cast<unsigned char>(letter)));
    }
    // The list sorts its items by their text: the letters are taken in the order it shows.
    for (int i = 0; i < m_listDrives.GetItemCount(); ++i)
        m_strDriveLetters += static_cast<char>(m_listDrives.GetItemData(i));
}

void CDosConvertDialog::OnDriveChanged(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    *pResult = 0;
    const int nItem = m_listDrives.GetNextItem(-1, LVNI_SELECTED);
    // A change that leaves nothing selected keeps the drive chosen before.
    if (nItem < 0 || nItem >= m_strDriveLetters.GetLength())
        return;
    m_choice.drive = m_strDriveLetters[nItem];
    CString strText = "ﾄﾞﾗｲﾌﾞ指定  ["_sj;
    strText += DisplayDrive(m_choice.drive, nullptr);
    strText += "]";
    SetDlgItemText(IDC_DOS_STATIC, strText);
}

void CDosConvertDialog::SetMode(int nMode)
{
    m_choice.mode = nMode;
    for (int i = 0; i < 3; ++i)
        CheckDlgButton(kModes[i].nButton, i == nMode ? BST_CHECKED : BST_UNCHECKED);
    const ModeControls& mode = kModes[nMode];
    for (UINT nID : mode.enabled) {
        if (nID != 0)
            if (CWnd* pWnd = GetDlgItem(static_cast<int>(nID)))
                pWnd->EnableWindow(TRUE);
    }
    for (UINT nID : mode.disabled) {
        if (nID != 0)
            if (CWnd* pWnd = GetDlgItem(static_cast<int>(nID)))
                pWnd->EnableWindow(FALSE);
    }
}

void CDosConvertDialog::OnAuxiliary()
{
    SetMode(CDosConvertChoice::modeAuxiliary);
}

void CDosConvertDialog::OnForms()
{
    SetMode(CDosConvertChoice::modeForm);
}

void CDosConvertDialog::OnEdit()
{
    SetMode(CDosConvertChoice::modeEdit);
}

void CDosConvertDialog::OnEstimateData()
{
    m_choice.estimateData = TRUE;
    m_choice.partsData = FALSE;
    CheckDlgButton(IDC_DOS_ESTIMATE_DATA, BST_CHECKED);
    CheckDlgButton(IDC_DOS_PARTS_DATA, BST_UNCHECKED);
}

void CDosConvertDialog::OnPartsData()
{
    m_choice.estimateData = FALSE;
    m_choice.partsData = TRUE;
    CheckDlgButton(IDC_DOS_ESTIMATE_DATA, BST_UNCHECKED);
    CheckDlgButton(IDC_DOS_PARTS_DATA, BST_CHECKED);
}

void CDosConvertDialog::ToggleFlag(BOOL& bFlag, int nID)
{
    bFlag = bFlag ? FALSE : TRUE;
    CheckDlgButton(nID, bFlag ? BST_CHECKED : BST_UNCHECKED);
}

void CDosConvertDialog::OnUnits()
{
    ToggleFlag(m_choice.units, IDC_DOS_UNITS);
}

void CDosConvertDialog::OnSubjects()
{
    ToggleFlag(m_choice.subjects, IDC_DOS_SUBJECTS);
}

void CDosConvertDialog::OnClassifications()
{
    ToggleFlag(m_choice.classifications, IDC_DOS_CLASSIFY);
}

void CDosConvertDialog::OnEstimationForm()
{
    ToggleFlag(m_choice.estimationForm, IDC_DOS_ESTIMATION_FORM);
}

void CDosConvertDialog::OnPartsForm()
{
    ToggleFlag(m_choice.partsForm, IDC_DOS_PARTS_FORM);
}

void CDosConvertDialog::OnInformationForm()
{
    ToggleFlag(m_choice.informationForm, IDC_DOS_INFORMATION_FORM);
}

void CDosConvertDialog::OnOK()
{
    CDialog::OnOK();
}

void CDosConvertDialog::OnCancel()
{
    CDialog::OnCancel();
}
