#include "dosconvert/CDosFileDialog.h"

#include "dosconvert/DosFiles.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "platform/ui/core/CWinApp.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "platform/ui/dialogs/CFileDialog.h"
#include "platform/ui/gdi/CImageList.h"
#include "resources/DosConvertIds.h"

#include <algorithm>

namespace {

constexpr int kNameColumnWidth = 100;
constexpr int kIconAndMargins = 16 + 16;

} // namespace

IMPLEMENT_DYNAMIC(CDosFileDialog, CDialog)

BEGIN_MESSAGE_MAP(CDosFileDialog, CDialog)
ON_BN_CLICKED(IDC_DOS_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CDosFileDialog::CDosFileDialog(int nMode, const CString& strFolder, CWnd* pParent)
    : CDialog(IDD_DOS_FILE, pParent), m_strFolder(strFolder), m_nMode(nMode)
{
}

CDosFileDialog::~CDosFileDialog()
{
    if (m_pImageList != nullptr)
        m_pImageList->DeleteImageList();
}

void CDosFileDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DOS_LIST, m_listFiles);
}

BOOL CDosFileDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pImageList = std::make_unique<CImageList>();
    m_pImageList->Create(16, 16, ILC_MASK, 1, 1);
    m_pImageList->Add(::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_DOS_FILE)));
    m_listFiles.SetImageList(m_pImageList.get(), LVSIL_SMALL);
    m_listFiles.InsertColumn(0, "ﾌｧｲﾙ名"_sj, LVCFMT_LEFT, kNameColumnWidth);
    ListFiles();
    return TRUE;
}

void CDosFileDialog::ListFiles()
{
    m_listFiles.DeleteAllItems();
    const CString strPattern = m_strFolder + (m_nMode == modeEstimates ? "*.MIT" : "*.BZI");
    for (const CFindFileEntry& entry : FindFiles(strPattern)) {
        if (entry.isDirectory)
            continue;
        CString strName = entry.name;
        strName.MakeUpper();
        m_listFiles.InsertItem(m_listFiles.GetItemCount(), strName, 0);
    }
    // The column is 100 pixels wide, as long as that shows every name whole: this
    // platform's fonts may need more room than the DOS edition's names had.
    int nWidth = kNameColumnWidth;
    for (int i = 0; i < m_listFiles.GetItemCount(); ++i)
        nWidth =
            std::max(nWidth, m_listFiles.GetStringWidth(m_listFiles.GetItemText(i, 0)) + kIconAndMargins);
    m_listFiles.SetColumnWidth(0, nWidth);
    if (m_listFiles.GetItemCount() > 0)
        m_listFiles.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetDlgItemText(IDC_DOS_STATIC, "ﾌｫﾙﾀﾞ名 "_sj + DisplayPath(m_strFolder));
}

void CDosFileDialog::OnOK()
{
    m_aChosen.clear();
    for (int i = 0; i < m_listFiles.GetItemCount(); ++i) {
        if (m_listFiles.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED) {
            auto pEntry = std::make_unique<CDosFileEntry>();
            pEntry->m_strFileName = m_listFiles.GetItemText(i, 0);
            pEntry->m_nFlag = 1;
            m_aChosen.push_back(std::move(pEntry));
        }
    }
    CDialog::OnOK();
}

void CDosFileDialog::OnBrowse()
{
    const bool bEstimates = m_nMode == modeEstimates;
    CFileDialog dlg(TRUE, bEstimates ? "MIT" : "BZI", nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR,
                    bEstimates ? "見積ﾌｧｲﾙ(*.MIT)|*.MIT|"_sj : "部材ﾌｧｲﾙ(*.BZI)|*.BZI|"_sj, this);
    const CString strInitial = m_strFolder;
    dlg.m_ofn.lpstrInitialDir = strInitial.c_str();
    // A cancelled choice leaves list, folder and environment as they were.
    if (dlg.DoModal() != IDOK)
        return;
    m_strBrowsedPath = dlg.GetPathName();
    const int nSlash = std::max(m_strBrowsedPath.ReverseFind('\\'), m_strBrowsedPath.ReverseFind('/'));
    const CString strFolder = m_strBrowsedPath.Left(nSlash + 1);
    if (ReadDosEnvironment(strFolder) != 1) {
        AfxMessageBox("DOS版MORVELの環境ﾃﾞｰﾀが読み込めません。"_sj, MB_OK);
        return;
    }
    m_strFolder = strFolder;
    ListFiles();
}
