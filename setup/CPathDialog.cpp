#include "setup/CPathDialog.h"

#include "app/CMorvelApp.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/gdi/CImageList.h"
#include "resources/SetupIds.h"

IMPLEMENT_DYNCREATE(CPathDialog, CPropertyPage)

BEGIN_MESSAGE_MAP(CPathDialog, CPropertyPage)
ON_EN_CHANGE(IDC_PATH_ESTIMATION, OnFolderChange)
ON_EN_CHANGE(IDC_PATH_PARTS, OnFolderChange)
ON_EN_CHANGE(IDC_PATH_INFORMATION, OnFolderChange)
ON_EN_CHANGE(IDC_PATH_WORK, OnFolderChange)
ON_EN_CHANGE(IDC_PATH_OTHER, OnFolderChange)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_DRIVE_LIST, OnDriveChanged)
END_MESSAGE_MAP()

namespace {

const char* const kSection = "Path Setting";

// The edit boxes and their keys, in the order the apply operation writes them.
const struct {
    int nID;
    const char* key;
} kFolders[] = {
    {IDC_PATH_ESTIMATION, "Estimation Form"},
    {IDC_PATH_PARTS, "Parts Form"},
    {IDC_PATH_OTHER, "Other Form"},
    {IDC_PATH_INFORMATION, "Information Form"},
    {IDC_PATH_WORK, "Work Field"},
};

CMorvelApp& App()
{
    return *static_cast<CMorvelApp*>(AfxGetApp());
}

// A stored folder as the user reads it; one on a drive this machine does not have stays
// as it was stored (it has no other form).
CString ShownFolder(const CString& strStored)
{
    const CString strShown = DisplayPath(strStored);
    return strShown.IsEmpty() ? strStored : strShown;
}

} // namespace

std::vector<CDriveInfo> (*CPathDialog::s_pfnListDrives)() = &ListSystemDrives;

CPathDialog::CPathDialog() : CPropertyPage(IDD_PATH_PAGE) {}

CPathDialog::~CPathDialog() = default;

void CPathDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DRIVE_LIST, m_list);
}

BOOL CPathDialog::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bFilling = TRUE;
    m_pImageList = std::make_unique<CImageList>();
    m_pImageList->Create(20, 20, ILC_MASK, 2, 1);
    m_pImageList->Add(::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_DRIVE_REMOVABLE)));
    m_pImageList->Add(::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_DRIVE_FIXED)));
    m_list.SetImageList(m_pImageList.get(), LVSIL_SMALL);
    m_list.InsertColumn(0, "", LVCFMT_LEFT, 250);
    const CString strDrive = App().GetProfileValue(kSection, "Work Drive");
    const char chWork =
        strDrive.IsEmpty() ? 0 : static_cast<char>(toupper(static_cast<unsigned char>(strDrive[0])));
    m_drives = s_pfnListDrives ? s_pfnListDrives() : std::vector<CDriveInfo>();
    int nSelect = -1;
    for (size_t i = 0; i < m_drives.size(); ++i) {
        // The drive as the user's file system shows it: its folder, and the medium's name.
        m_list.InsertItem(static_cast<int>(i), DisplayDrive(m_drives[i].letter, m_drives[i].label),
                          m_drives[i].removable ? 0 : 1);
        if (m_drives[i].letter == chWork)
            nSelect = static_cast<int>(i);
    }
    if (nSelect >= 0) {
        m_list.SetItemState(nSelect, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.EnsureVisible(nSelect, FALSE);
    }
    m_list.SetFocus();
    for (const auto& folder : kFolders)
        SetDlgItemText(folder.nID, ShownFolder(App().GetProfileValue(kSection, folder.key)));
    m_bFilling = FALSE;
    return FALSE;
}

void CPathDialog::OnFolderChange()
{
    if (!m_bFilling)
        SetModified(TRUE);
}

void CPathDialog::OnDriveChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bFilling)
        return;
    SetModified(TRUE);
    const int nItem = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (nItem < 0 || nItem >= static_cast<int>(m_drives.size()))
        return;
    const char letter = m_drives[static_cast<size_t>(nItem)].letter;
    for (const auto& folder : kFolders) {
        // The drive goes in front of the folder's stored form; the box shows the result as
        // the user's file system writes it.
        CString text;
        GetDlgItemText(folder.nID, text);
        text = SystemPathFromDisplay(text);
        const int nColon = text.Find(':');
        if (nColon >= 0)
            text = CString(letter) + text.Mid(nColon);
        else
            text = CString(letter) + ":" + text;
        SetDlgItemText(folder.nID, ShownFolder(text));
    }
}

BOOL CPathDialog::OnApply()
{
    // Every folder is made, with all its missing levels, before anything is written: a
    // folder that cannot be made is named while the page is still there to correct it.
    CString texts[std::size(kFolders)];
    for (size_t i = 0; i < std::size(kFolders); ++i) {
        // Kept in the program's own form: a folder shown or typed as the file system writes
        // it is stored with its drive.
        GetDlgItemText(kFolders[i].nID, texts[i]);
        texts[i].Trim();
        texts[i] = SystemPathFromDisplay(texts[i]);
        if (!texts[i].IsEmpty() && !CreateFolderPath(texts[i])) {
            AfxMessageBox(CMorvelSettings::FolderNotMadeText(texts[i]), MB_OK | MB_ICONEXCLAMATION);
            if (CWnd* pEdit = GetDlgItem(kFolders[i].nID))
                GotoDlgCtrl(pEdit);
            return FALSE;
        }
    }
    const int nItem = m_list.GetNextItem(-1, LVNI_SELECTED);
    BOOL bWritten = TRUE;
    // Without a chosen drive the work drive stays as it was.
    if (nItem >= 0 && nItem < static_cast<int>(m_drives.size())) {
        CString drive;
        drive.Format("%c", m_drives[static_cast<size_t>(nItem)].letter);
        if (!App().WriteProfileString(kSection, "Work Drive", drive))
            bWritten = FALSE;
    }
    // The folders keep the case they were typed in.
    for (size_t i = 0; i < std::size(kFolders); ++i) {
        if (!App().WriteProfileString(kSection, kFolders[i].key, texts[i]))
            bWritten = FALSE;
    }
    if (!bWritten) {
        // The folders typed stay on the page; the sheet stays open.
        AfxMessageBox("設定ﾌｧｲﾙに書き込めません。"_sj, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return CPropertyPage::OnApply();
}
