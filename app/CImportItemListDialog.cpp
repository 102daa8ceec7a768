#include "app/CImportItemListDialog.h"

#include "app/ItemMapping.h"
#include "resources/EstimateIoIds.h"

BEGIN_MESSAGE_MAP(CImportItemListDialog, CDialog)
ON_BN_CLICKED(IDC_IMPORT_SELECT_ALL, OnSelectAll)
ON_NOTIFY(NM_DBLCLK, IDC_IMPORT_ITEM_LIST, OnDoubleClick)
END_MESSAGE_MAP()

CImportItemListDialog::CImportItemListDialog(CWnd* pParent, int nMode,
                                             const std::vector<CString>& sourceNames,
                                             const CString& strCurrentLabel)
    : CDialog(IDD_IMPORT_ITEM_LIST, pParent), m_names(sourceNames), m_nMode(nMode),
      m_strCurrentLabel(strCurrentLabel)
{
    for (size_t k = 0; k < m_names.size(); ++k)
        m_labels.push_back(ItemMapping::GetItemLabel(static_cast<int>(k)));
}

CImportItemListDialog::~CImportItemListDialog() = default;

BOOL CImportItemListDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_List.SubclassDlgItem(IDC_IMPORT_ITEM_LIST, this);
    m_List.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    m_List.InsertColumn(0, m_nMode == modeParts ? "" : "No.", LVCFMT_LEFT, 30);
    m_List.InsertColumn(1, "読込項目"_sj, LVCFMT_LEFT, 100);
    m_List.InsertItem(0, "");
    m_List.SetItemText(0, 1, "(なし)"_sj);
    int nSelect = 0;
    for (size_t k = 0; k < m_names.size(); ++k) {
        const int nRow = static_cast<int>(k) + 1;
        m_List.InsertItem(nRow, m_labels[k]);
        m_List.SetItemText(nRow, 1, m_names[k]);
        if (nSelect == 0 && !m_strCurrentLabel.IsEmpty() && m_labels[k] == m_strCurrentLabel)
            nSelect = nRow;
    }
    m_List.SetItemState(nSelect, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_List.EnsureVisible(nSelect, FALSE);
    return TRUE;
}

void CImportItemListDialog::OnOK()
{
    const int nRow = m_List.GetNextItem(-1, LVNI_SELECTED);
    m_nSelectAllCount = 0;
    if (nRow <= 0 || nRow > static_cast<int>(m_names.size())) {
        m_strLabel.Empty();
        m_strName.Empty();
    } else {
        m_strLabel = m_labels[static_cast<size_t>(nRow - 1)];
        m_strName = m_names[static_cast<size_t>(nRow - 1)];
    }
    CDialog::OnOK();
}

void CImportItemListDialog::OnSelectAll()
{
    m_nSelectAllCount = static_cast<int>(m_names.size());
    m_strLabel.Empty();
    m_strName.Empty();
    EndDialog(IDOK);
}

void CImportItemListDialog::OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    (void)pNMHDR;
    if (pResult != nullptr)
        *pResult = 0;
    OnOK();
}
