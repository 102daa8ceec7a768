#include "estimate_tools/CClassifyDialogs.h"

#include "estimate_tools/CRowDialogs.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/EstimateCommandIds.h"

// ---------------------------------------------------------------------------------------
// The classification and its rate

BEGIN_MESSAGE_MAP(CClassRateDialog, CDialog)
ON_NOTIFY(LVN_ITEMCHANGED, IDC_CLASS_LIST, OnItemChanged)
END_MESSAGE_MAP()

CClassRateDialog::CClassRateDialog(const CClassifyFile& table, CWnd* pParent)
    : CDialog(IDD_CLASS_RATE, pParent), m_table(table)
{
    RegisterEstimateCommandDialogs();
}

BOOL CClassRateDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bReady = false;
    m_list.SubclassDlgItem(IDC_CLASS_LIST, this);
    m_list.InsertColumn(0, m_table.m_strHeading[0].IsEmpty() ? "分類名"_sj : m_table.m_strHeading[0],
                        LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, m_table.m_strHeading[1].IsEmpty() ? CString("%") : m_table.m_strHeading[1],
                        LVCFMT_LEFT, 100);
    for (int i = 0; i < m_table.GetCount(); ++i) {
        m_list.InsertItem(i, m_table.GetName(i));
        m_list.SetItemText(i, 1, m_table.GetPercent(i));
    }
    int nSelect = -1;
    // An existing row's rate is kept even when its name cannot be shown (a form without a
    // name item for classifications): only a new setting starts from the first row.
    if (m_strName.IsEmpty() && m_strRate.IsEmpty()) {
        if (m_list.GetItemCount() > 0) {
            nSelect = 0;
            SetDlgItemText(IDC_ROW_TEXT, m_list.GetItemText(0, 1));
        }
    } else {
        for (int i = 0; i < m_list.GetItemCount(); ++i) {
            if (m_list.GetItemText(i, 0) == m_strName) {
                nSelect = i;
                break;
            }
        }
        // A classification gone from the table keeps the row's rate, unselected.
        SetDlgItemText(IDC_ROW_TEXT, m_strRate);
    }
    if (nSelect >= 0) {
        m_list.SetItemState(nSelect, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.EnsureVisible(nSelect, FALSE);
    }
    m_bReady = true;
    return TRUE;
}

void CClassRateDialog::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pItem = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (m_bReady && pItem != nullptr && (pItem->uChanged & LVIF_STATE) != 0 &&
        (pItem->uNewState & LVIS_SELECTED) != 0 && (pItem->uOldState & LVIS_SELECTED) == 0)
        SetDlgItemText(IDC_ROW_TEXT, m_list.GetItemText(pItem->iItem, 1));
    *pResult = 0;
}

void CClassRateDialog::OnOK()
{
    // The rate is read as a number cell reads what is typed ("１０", "2.5") and kept in its
    // plain form; a text that is no number (typed, or a word the table keeps in its % column)
    // is refused and the dialog stays for a correction.
    CString strRate;
    if (!ReadDialogFields(this, [&strRate](CDataExchange* pDX) { DDX_Number(pDX, IDC_ROW_TEXT, strRate); }))
        return;
    const int nSelected = m_list.GetNextItem(-1, LVNI_SELECTED);
    // Without a row chosen the name stays as it came (the row's own classification).
    if (nSelected >= 0)
        m_strName = m_list.GetItemText(nSelected, 0);
    m_strRate = strRate;
    CDialog::OnOK();
}

// ---------------------------------------------------------------------------------------
// The calculation settings

BEGIN_MESSAGE_MAP(CClassTotalDialog, CDialog)
ON_BN_CLICKED(IDC_RADIO_1, OnWithinSubject)
ON_BN_CLICKED(IDC_RADIO_2, OnWhole)
ON_BN_CLICKED(IDC_RADIO_3, OnBySubject)
ON_BN_CLICKED(IDC_RADIO_4, OnAmounts)
ON_BN_CLICKED(IDC_RADIO_5, OnVerticalTotals)
ON_BN_CLICKED(IDC_ROW_RELEASE, OnRelease)
END_MESSAGE_MAP()

CClassTotalDialog::CClassTotalDialog(const CEstimationFormFile& form, CWnd* pParent)
    : CDialog(IDD_CLASS_TOTAL, pParent), m_form(form)
{
    RegisterEstimateCommandDialogs();
    for (int i = 0; i < form.GetCount(); ++i) {
        const CString& t = form.GetItem(i, CEstimationFormFile::colT);
        if (t == "9" || t == "4") {
            m_nTargetItem = i;
            break;
        }
    }
}

CClassTotalDialog::CClassTotalDialog(const CString& strName, const CEstimationFormFile& form,
                                     const CString& strTarget, int nTargetItem, int nBasis, int nRange,
                                     CWnd* pParent)
    : CDialog(IDD_CLASS_TOTAL, pParent), m_strName(strName), m_nBasis(nBasis), m_nRange(nRange),
      m_nTargetItem(nTargetItem), m_strTarget(strTarget), m_form(form)
{
    RegisterEstimateCommandDialogs();
}

BOOL CClassTotalDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (auto* pItems = static_cast<CComboBox*>(GetDlgItem(IDC_ROW_ITEM_COMBO)))
        RangeControls::FillItems(*pItems, m_form, m_nTargetItem);
    CheckRadioButton(IDC_RADIO_4, IDC_RADIO_5, m_nBasis == 1 ? IDC_RADIO_5 : IDC_RADIO_4);
    RangeControls::Init(*this, m_nRange);
    SetDlgItemText(IDC_ROW_TEXT, m_strTarget);
    if (CWnd* pRelease = GetDlgItem(IDC_ROW_RELEASE))
        pRelease->EnableWindow(m_nState == stateEdit);
    return TRUE;
}

void CClassTotalDialog::OnWithinSubject()
{
    RangeControls::Choose(*this, m_nRange, 0);
}

void CClassTotalDialog::OnWhole()
{
    RangeControls::Choose(*this, m_nRange, 1);
}

void CClassTotalDialog::OnBySubject()
{
    RangeControls::Choose(*this, m_nRange, 2);
}

void CClassTotalDialog::OnAmounts()
{
    m_nBasis = 0;
}

void CClassTotalDialog::OnVerticalTotals()
{
    m_nBasis = 1;
}

void CClassTotalDialog::OnOK()
{
    if (const auto* pItems = static_cast<const CComboBox*>(GetDlgItem(IDC_ROW_ITEM_COMBO)))
        m_nTargetItem = pItems->GetCurSel();
    GetDlgItemText(IDC_ROW_TEXT, m_strTarget);
    m_nBasis = IsDlgButtonChecked(IDC_RADIO_5) ? 1 : 0;
    m_nRange = RangeControls::Read(*this);
    CDialog::OnOK();
}

void CClassTotalDialog::OnRelease()
{
    if (AfxMessageBox("設定を解除しますか。"_sj, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_nState = stateReleased;
    EndDialog(IDOK);
}

// ---------------------------------------------------------------------------------------
// Update or add

BEGIN_MESSAGE_MAP(CClassUpdateDialog, CDialog)
ON_BN_CLICKED(IDC_RADIO_1, OnUpdateRow)
ON_BN_CLICKED(IDC_RADIO_2, OnAddRow)
END_MESSAGE_MAP()

CClassUpdateDialog::CClassUpdateDialog(CWnd* pParent) : CDialog(IDD_CLASS_UPDATE, pParent)
{
    RegisterEstimateCommandDialogs();
}

BOOL CClassUpdateDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_RADIO_1, IDC_RADIO_2, IDC_RADIO_1);
    m_nUpdate = 1;
    m_nAddNew = 0;
    return TRUE;
}

void CClassUpdateDialog::OnUpdateRow()
{
    m_nUpdate = 1;
    m_nAddNew = 0;
}

void CClassUpdateDialog::OnAddRow()
{
    m_nUpdate = 0;
    m_nAddNew = 1;
}
