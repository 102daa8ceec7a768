#include "estimate_tools/CRateCalcDialog.h"

#include "engine/estimate/CFixedRateChange.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/EstimateEditIds.h"

const char* const CRateCalcDialog::s_aOperators[6] = {"小さい", "以　下", "一　致",
                                                      "不一致", "以　上", "大きい"};

BEGIN_MESSAGE_MAP(CRateCalcDialog, CDialog)
ON_BN_CLICKED(IDC_RATE_CONDITIONS, OnConditionsOn)
ON_BN_CLICKED(IDC_RATE_SINGLE, OnSingle)
ON_BN_CLICKED(IDC_RATE_COMPOUND, OnCompound)
ON_BN_CLICKED(IDC_RATE_OR, OnOr)
ON_BN_CLICKED(IDC_RATE_AND, OnAnd)
END_MESSAGE_MAP()

namespace {

CComboBox* Combo(CDialog& dialog, UINT nID)
{
    return static_cast<CComboBox*>(dialog.GetDlgItem(nID));
}

void Enable(CDialog& dialog, UINT nID, bool bOn)
{
    if (CWnd* pItem = dialog.GetDlgItem(nID))
        pItem->EnableWindow(bOn);
}

} // namespace

CString CRateCalcDialog::s_strLastFormula;

CRateCalcDialog::CRateCalcDialog(CWnd* pParent, const std::vector<CString>& itemNames, bool bPartsForm)
    : CDialog(IDD_RATE_CALC, pParent), m_itemNames(itemNames), m_bPartsForm(bPartsForm)
{
    RegisterEstimateEditDialogs();
}

BOOL CRateCalcDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_RATE_FORMULA, s_strLastFormula);
    for (UINT nID : {IDC_RATE_ITEM1, IDC_RATE_ITEM2}) {
        if (CComboBox* pBox = Combo(*this, nID)) {
            for (const CString& name : m_itemNames)
                pBox->AddString(name);
            pBox->SetCurSel(m_bPartsForm ? 0 : 1);
        }
    }
    for (UINT nID : {IDC_RATE_RELATION1, IDC_RATE_RELATION2}) {
        if (CComboBox* pBox = Combo(*this, nID)) {
            for (const char* pOperator : s_aOperators)
                pBox->AddString(CString::FromUtf8(pOperator));
            pBox->SetCurSel(nID == IDC_RATE_RELATION1 ? m_nOperator1 : m_nOperator2);
        }
    }
    CheckDlgButton(IDC_RATE_CONDITIONS, m_bConditionsOn ? 1 : 0);
    CheckRadioButton(IDC_RATE_SINGLE, IDC_RATE_COMPOUND, m_nCompound ? IDC_RATE_COMPOUND : IDC_RATE_SINGLE);
    CheckRadioButton(IDC_RATE_OR, IDC_RATE_AND, m_nRelation ? IDC_RATE_AND : IDC_RATE_OR);
    EnableConditionControls();
    return TRUE;
}

void CRateCalcDialog::EnableConditionControls()
{
    const bool bOn = m_bConditionsOn != 0;
    const bool bSecond = bOn && m_nCompound != 0;
    Enable(*this, IDC_RATE_SINGLE, bOn);
    Enable(*this, IDC_RATE_COMPOUND, bOn);
    for (UINT nID : {IDC_RATE_ITEM1, IDC_RATE_RELATION1, IDC_RATE_VALUE1})
        Enable(*this, nID, bOn);
    for (UINT nID : {IDC_RATE_ITEM2, IDC_RATE_RELATION2, IDC_RATE_VALUE2, IDC_RATE_OR, IDC_RATE_AND})
        Enable(*this, nID, bSecond);
}

void CRateCalcDialog::OnConditionsOn()
{
    m_bConditionsOn = !m_bConditionsOn;
    EnableConditionControls();
}

void CRateCalcDialog::OnSingle()
{
    m_nCompound = 0;
    // A single condition: the second is cleared completely and the two are joined by
    // "and", so the first alone decides.
    SetDlgItemText(IDC_RATE_VALUE2, "");
    if (CComboBox* pBox = Combo(*this, IDC_RATE_ITEM2))
        pBox->SetCurSel(-1);
    if (CComboBox* pBox = Combo(*this, IDC_RATE_RELATION2))
        pBox->SetCurSel(-1);
    m_nRelation = 1;
    CheckRadioButton(IDC_RATE_OR, IDC_RATE_AND, IDC_RATE_AND);
    EnableConditionControls();
}

void CRateCalcDialog::OnCompound()
{
    m_nCompound = 1;
    EnableConditionControls();
}

void CRateCalcDialog::OnOr()
{
    m_nRelation = 0;
}

void CRateCalcDialog::OnAnd()
{
    m_nRelation = 1;
}

void CRateCalcDialog::OnOK()
{
    // The calculation is an operator and a rate typed as any number is ("*１．１"); anything
    // else is refused and the dialog stays for a correction.
    CString strTyped;
    GetDlgItemText(IDC_RATE_FORMULA, strTyped);
    if (!ReadDialogFields(this, [&](CDataExchange* pDX) {
            pDX->PrepareEditCtrl(IDC_RATE_FORMULA);
            if (!CFixedRateChange::ReadFormula(strTyped, m_strFormula))
                FailNumberField(pDX);
        }))
        return;
    s_strLastFormula = strTyped;
    m_nItem1 = Combo(*this, IDC_RATE_ITEM1) != nullptr ? Combo(*this, IDC_RATE_ITEM1)->GetCurSel() : -1;
    m_nOperator1 =
        Combo(*this, IDC_RATE_RELATION1) != nullptr ? Combo(*this, IDC_RATE_RELATION1)->GetCurSel() : -1;
    GetDlgItemText(IDC_RATE_VALUE1, m_strValue1);
    m_nItem2 = Combo(*this, IDC_RATE_ITEM2) != nullptr ? Combo(*this, IDC_RATE_ITEM2)->GetCurSel() : -1;
    m_nOperator2 =
        Combo(*this, IDC_RATE_RELATION2) != nullptr ? Combo(*this, IDC_RATE_RELATION2)->GetCurSel() : -1;
    GetDlgItemText(IDC_RATE_VALUE2, m_strValue2);
    if (!m_bConditionsOn) {
        m_nOperator1 = -1;
        m_nOperator2 = -1;
    }
    EndDialog(IDOK);
}
