#include "app/CColumnSelectDialog.h"

#include "app/MasterFileIo.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Path.h"
#include "resources/EstimateCommandIds.h"

#include <algorithm>
#include <cerrno>

BEGIN_MESSAGE_MAP(CColumnSelectDialog, CDialog)
ON_BN_CLICKED(IDC_COLUMN_SELECT_ALL, OnSelectAll)
ON_BN_CLICKED(IDC_COLUMN_DESELECT_ALL, OnDeselectAll)
END_MESSAGE_MAP()

CColumnSelectDialog::CColumnSelectDialog(CWnd* pParent, const CEstimationFormFile& form, int nPurpose)
    : CDialog(IDD_COLUMN_SELECT, pParent), m_estimationForm(form), m_nEstimation(1), m_nPurpose(nPurpose)
{
    RegisterEstimateCommandDialogs();
}

CColumnSelectDialog::CColumnSelectDialog(CWnd* pParent, const CPartFormFile& form, int nPurpose)
    : CDialog(IDD_COLUMN_SELECT, pParent), m_partsForm(form), m_nEstimation(0), m_nPurpose(nPurpose)
{
    RegisterEstimateCommandDialogs();
}

int CColumnSelectDialog::GetItemCount() const
{
    const int nCount = m_nEstimation != 0 ? m_estimationForm.GetCount() : m_partsForm.GetCount();
    return std::clamp(nCount, 0, 100);
}

BOOL CColumnSelectDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_COLUMN_LIST, this);
    for (int i = 0; i < GetItemCount(); ++i) {
        m_list.AddItem(m_nEstimation != 0 ? m_estimationForm.GetItem(i, CFormFile<10>::colName)
                                          : m_partsForm.GetItem(i, CFormFile<10>::colName));
    }
    m_list.SetCurSel(0);
    if (m_nPurpose == purposeInputFix) {
        CWnd* pAll = GetDlgItem(IDC_COLUMN_SELECT_ALL);
        CWnd* pNone = GetDlgItem(IDC_COLUMN_DESELECT_ALL);
        if (pAll != nullptr && pNone != nullptr) {
            CRect rcAll;
            pAll->GetWindowRect(&rcAll);
            ScreenToClient(&rcAll);
            pAll->ShowWindow(SW_HIDE);
            pNone->MoveWindow(&rcAll);
            pNone->SetWindowText("解除(&D)"_sj);
        }
        SetWindowText("入力固定"_sj);
    } else if (m_nPurpose == purposeDisplayFix) {
        SetWindowText("表示固定"_sj);
    }
    return TRUE;
}

void CColumnSelectDialog::OnSelectAll()
{
    for (int i = 0; i < GetItemCount(); ++i)
        m_list.SetCheck(i, TRUE);
    m_list.Invalidate();
    m_list.UpdateWindow();
}

void CColumnSelectDialog::OnDeselectAll()
{
    for (int i = 0; i < GetItemCount(); ++i)
        m_list.SetCheck(i, FALSE);
    m_list.Invalidate();
    m_list.UpdateWindow();
}

namespace {

void SayCsvNotWritten(const CString& strPath, int err)
{
    AfxMessageBox(FileWriteFailureText("CSVﾌｧｲﾙに書き込めません。"_sj, strPath, err),
                  MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

BOOL CheckCsvOutputTarget(const CString& strPath)
{
    if (CanWriteFileAtomically(strPath))
        return TRUE;
    SayCsvNotWritten(strPath, errno);
    return FALSE;
}

BOOL WriteCsvOutputFile(const CString& strPath, const std::string& text)
{
    if (WriteFileAtomically(strPath, text.data(), text.size()))
        return TRUE;
    SayCsvNotWritten(strPath, errno);
    return FALSE;
}
