#include "app/CImportFormatDialog.h"

#include "app/CImportItemListDialog.h"
#include "app/ItemMapping.h"
#include "platform/base/Path.h"
#include "resources/EstimateIoIds.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CImportFormatDialog, CDialog)
ON_NOTIFY(NM_DBLCLK, IDC_IMPORT_FORMAT_LIST, OnDoubleClick)
END_MESSAGE_MAP()

namespace {

template <class TForm>
std::vector<CString> ItemNames(const TForm& form)
{
    std::vector<CString> names;
    const int nCount = std::clamp(form.GetCount(), 0, static_cast<int>(TForm::MAX_ITEMS));
    for (int i = 0; i < nCount; ++i)
        names.push_back(form.GetItem(i, 0));
    return names;
}

} // namespace

CImportFormatDialog::CImportFormatDialog(CWnd* pParent, int nMode, int nColumns, const char* lpszFileName)
    : CDialog(IDD_IMPORT_FORMAT, pParent), m_nColumns(nColumns), m_nMode(nMode),
      m_strFileName(lpszFileName != nullptr ? lpszFileName : "")
{
    m_strTitle = nMode == modeEstimateCsv || nMode == modePartsCsv ? "ﾃｷｽﾄ入力"_sj : "他形式ﾌｧｲﾙ読込"_sj;
}

CImportFormatDialog::CImportFormatDialog(CWnd* pParent, const CEstimationFormFile& current,
                                         const CEstimationFormFile& source, const char* lpszFileName)
    : CImportFormatDialog(pParent, modeEstimation, 0, lpszFileName)
{
    m_EstimationForm[0] = current;
    m_EstimationForm[1] = source;
}

CImportFormatDialog::CImportFormatDialog(CWnd* pParent, const CInformationFormFile& current,
                                         const CInformationFormFile& source, const char* lpszFileName)
    : CImportFormatDialog(pParent, modeInformation, 0, lpszFileName)
{
    m_InformationForm[0] = current;
    m_InformationForm[1] = source;
}

CImportFormatDialog::CImportFormatDialog(CWnd* pParent, const CPartFormFile& current,
                                         const CPartFormFile& source, const char* lpszFileName)
    : CImportFormatDialog(pParent, modeParts, 0, lpszFileName)
{
    m_PartForm[0] = current;
    m_PartForm[1] = source;
}

CImportFormatDialog::CImportFormatDialog(CWnd* pParent, const CEstimationFormFile& current, int nColumns,
                                         const char* lpszFileName)
    : CImportFormatDialog(pParent, modeEstimateCsv, nColumns, lpszFileName)
{
    m_EstimationForm[0] = current;
}

CImportFormatDialog::CImportFormatDialog(CWnd* pParent, const CPartFormFile& current, int nColumns,
                                         const char* lpszFileName)
    : CImportFormatDialog(pParent, modePartsCsv, nColumns, lpszFileName)
{
    m_PartForm[0] = current;
}

CImportFormatDialog::~CImportFormatDialog() = default;

std::vector<CString> CImportFormatDialog::GetCurrentNames() const
{
    switch (m_nMode) {
    case modeEstimation:
    case modeEstimateCsv:
        return ItemNames(m_EstimationForm[0]);
    case modeInformation:
        return ItemNames(m_InformationForm[0]);
    default:
        return ItemNames(m_PartForm[0]);
    }
}

std::vector<CString> CImportFormatDialog::GetSourceNames() const
{
    switch (m_nMode) {
    case modeEstimation:
        return ItemNames(m_EstimationForm[1]);
    case modeInformation:
        return ItemNames(m_InformationForm[1]);
    case modeParts:
        return ItemNames(m_PartForm[1]);
    default: {
        // CSV columns; a label exists for at most 702 of them.
        std::vector<CString> names;
        const int nColumns = std::clamp(m_nColumns, 0, 27 * 26);
        for (int k = 0; k < nColumns; ++k) {
            CString name;
            name.Format("%d列目"_sj.c_str(), k + 1);
            names.push_back(name);
        }
        return names;
    }
    }
}

BOOL CImportFormatDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    // The file as the user's file system names it.
    if (CWnd* pName = GetDlgItem(IDC_IMPORT_FILE_NAME))
        pName->SetWindowText(DisplayPath(m_strFileName));
    m_List.SubclassDlgItem(IDC_IMPORT_FORMAT_LIST, this);
    m_List.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    const bool bParts = m_nMode == modeParts || m_nMode == modePartsCsv;
    m_List.InsertColumn(0, "No.", LVCFMT_LEFT, 30);
    m_List.InsertColumn(1, "現形式の項目"_sj, LVCFMT_LEFT, 100);
    m_List.InsertColumn(2, bParts ? "   ←  "_sj : "  ←  "_sj, LVCFMT_LEFT, 50);
    m_List.InsertColumn(3, "No.", LVCFMT_LEFT, 30);
    m_List.InsertColumn(4, bParts ? "読込項目"_sj : "読込む項目"_sj, LVCFMT_LEFT, 100);
    const std::vector<CString> names = GetCurrentNames();
    for (size_t i = 0; i < names.size(); ++i) {
        const int nRow = static_cast<int>(i);
        m_List.InsertItem(nRow, ItemMapping::GetItemLabel(nRow));
        m_List.SetItemText(nRow, 1, names[i]);
    }
    if (!names.empty())
        m_List.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    return TRUE;
}

void CImportFormatDialog::ChooseSourceFor(int nRow)
{
    if (nRow < 0 || nRow >= m_List.GetItemCount())
        return;
    const int nListMode =
        m_nMode == modeEstimateCsv || m_nMode == modePartsCsv ? CImportItemListDialog::modeCsv : m_nMode;
    CImportItemListDialog dlg(this, nListMode, GetSourceNames(), m_List.GetItemText(nRow, 3));
    if (dlg.DoModal() != IDOK)
        return;
    if (dlg.m_nSelectAllCount == 0) {
        m_List.SetItemText(nRow, 3, dlg.m_strLabel);
        m_List.SetItemText(nRow, 4, dlg.m_strName);
        return;
    }
    const int nCount = std::min(m_List.GetItemCount(), dlg.m_nSelectAllCount);
    for (int k = 0; k < nCount; ++k) {
        m_List.SetItemText(k, 3, dlg.m_labels[static_cast<size_t>(k)]);
        m_List.SetItemText(k, 4, dlg.m_names[static_cast<size_t>(k)]);
    }
}

void CImportFormatDialog::OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (pResult != nullptr)
        *pResult = 0;
    const auto* pItem = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
    int nRow = pItem != nullptr ? pItem->iItem : -1;
    if (nRow < 0)
        nRow = m_List.GetNextItem(-1, LVNI_SELECTED);
    ChooseSourceFor(nRow);
}

void CImportFormatDialog::OnOK()
{
    m_strResult.clear();
    for (int i = 0; i < m_List.GetItemCount(); ++i)
        m_strResult.push_back(m_List.GetItemText(i, 3));
    CDialog::OnOK();
}
