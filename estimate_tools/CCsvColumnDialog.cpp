#include "estimate_tools/CCsvColumnDialog.h"

#include "resources/EstimateIoIds.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CCsvColumnDialog, CDialog)
ON_BN_CLICKED(IDC_CSV_SELECT_ALL, OnSelectAll)
ON_BN_CLICKED(IDC_CSV_DESELECT_ALL, OnDeselectAll)
END_MESSAGE_MAP()

CCsvColumnDialog::CCsvColumnDialog(CWnd* pParent, const CEstimationFormFile& form)
    : CDialog(IDD_CSV_COLUMN_SELECT, pParent)
{
    for (int c = 0; c < std::clamp(form.GetCount(), 0, 100); ++c)
        m_names.push_back(form.GetItem(c, CEstimationFormFile::colName));
    m_ticks.assign(m_names.size(), TRUE);
}

CCsvColumnDialog::CCsvColumnDialog(CWnd* pParent, const CPartFormFile& form)
    : CDialog(IDD_CSV_COLUMN_SELECT, pParent)
{
    for (int c = 0; c < std::clamp(form.GetCount(), 0, 100); ++c)
        m_names.push_back(form.GetItem(c, 0));
    m_ticks.assign(m_names.size(), TRUE);
}

CCsvColumnDialog::~CCsvColumnDialog() = default;

BOOL CCsvColumnDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_List.SubclassDlgItem(IDC_CSV_COLUMN_LIST, this);
    for (size_t c = 0; c < m_ticks.size(); ++c) {
        m_List.AddString(m_names[c]);
        m_List.SetSel(static_cast<int>(c), m_ticks[c]);
    }
    return TRUE;
}

void CCsvColumnDialog::OnSelectAll()
{
    for (size_t c = 0; c < m_ticks.size(); ++c)
        m_List.SetSel(static_cast<int>(c), TRUE);
}

void CCsvColumnDialog::OnDeselectAll()
{
    for (size_t c = 0; c < m_ticks.size(); ++c)
        m_List.SetSel(static_cast<int>(c), FALSE);
}

void CCsvColumnDialog::OnOK()
{
    for (size_t c = 0; c < m_ticks.size(); ++c)
        m_ticks[c] = m_List.GetSel(static_cast<int>(c)) > 0;
    CDialog::OnOK();
}
