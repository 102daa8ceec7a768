#include "estimate_tools/CRowDialogs.h"

#include "engine/estimate/CNumberRules.h"
#include "engine/estimate/RowKinds.h"
#include "estimate/CMorvelEMView.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/core/WinApi.h"
#include "platform/ui/dialogs/CDataExchange.h"
#include "resources/EstimateCommandIds.h"

#include <algorithm>

namespace {

void FillItemNames(CComboBox& combo, const CEstimationFormFile& form)
{
    combo.ResetContent();
    for (int i = 0; i < form.GetCount(); ++i)
        combo.AddString(form.GetItem(i, CEstimationFormFile::colName));
}

CComboBox* Combo(CWnd& dlg, UINT nID)
{
    return static_cast<CComboBox*>(dlg.GetDlgItem(static_cast<int>(nID)));
}

} // namespace

namespace RangeControls {

void Init(CDialog& dlg, int& nRange)
{
    CComboBox* pLevels = Combo(dlg, IDC_ROW_LEVEL_COMBO);
    if (pLevels != nullptr) {
        pLevels->ResetContent();
        for (const char* level : {"種目", "大科目", "中科目", "小科目"})
            pLevels->AddString(CString::FromUtf8(level));
    }
    if (nRange == 1) {
        dlg.CheckRadioButton(IDC_RADIO_1, IDC_RADIO_3, IDC_RADIO_2);
    } else if (nRange >= 2 && nRange <= 5) {
        dlg.CheckRadioButton(IDC_RADIO_1, IDC_RADIO_3, IDC_RADIO_3);
        if (pLevels != nullptr)
            pLevels->SetCurSel(nRange - 2);
    } else {
        nRange = 0;
        dlg.CheckRadioButton(IDC_RADIO_1, IDC_RADIO_3, IDC_RADIO_1);
    }
    if (pLevels != nullptr)
        pLevels->EnableWindow(nRange >= 2);
}

void Choose(CDialog& dlg, int& nRange, int nChosen)
{
    nRange = nChosen;
    if (CComboBox* pLevels = Combo(dlg, IDC_ROW_LEVEL_COMBO))
        pLevels->EnableWindow(nChosen >= 2);
}

int Read(CDialog& dlg)
{
    if (dlg.IsDlgButtonChecked(IDC_RADIO_2))
        return 1;
    if (!dlg.IsDlgButtonChecked(IDC_RADIO_3))
        return 0;
    const CComboBox* pLevels = Combo(dlg, IDC_ROW_LEVEL_COMBO);
    const int nLevel = pLevels != nullptr ? pLevels->GetCurSel() : -1;
    return nLevel >= 0 ? 2 + nLevel : -1;
}

void FillItems(CComboBox& combo, const CEstimationFormFile& form, int nItem)
{
    FillItemNames(combo, form);
    combo.SetCurSel(nItem);
}

} // namespace RangeControls

// ---------------------------------------------------------------------------------------
// 種目入力

CKindInputDialog::CKindInputDialog(int, CWnd* pParent) : CDialog(IDD_KIND_INPUT, pParent)
{
    RegisterEstimateCommandDialogs();
    m_strUnit = "式"_sj;
}

BOOL CKindInputDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_ROW_TEXT, m_strName);
    SetDlgItemText(IDC_ROW_UNIT, m_strUnit);
    return TRUE;
}

void CKindInputDialog::OnOK()
{
    GetDlgItemText(IDC_ROW_TEXT, m_strName);
    GetDlgItemText(IDC_ROW_UNIT, m_strUnit);
    CDialog::OnOK();
}

// ---------------------------------------------------------------------------------------
// 値引入力

CString ReadDiscountText(const CString& text)
{
    CDecimal value;
    if (!CNumberRules::ReadTypedNumber(text, value))
        return CString();
    return CNumberRules::FormatNormal(value);
}

CDiscountDialog::CDiscountDialog(int, CWnd* pParent) : CDialog(IDD_DISCOUNT_INPUT, pParent)
{
    RegisterEstimateCommandDialogs();
}

void CDiscountDialog::OnOK()
{
    // The amount is read as a number cell reads what is typed ("▲10,000", "１０，０００円");
    // a text that is no number is refused and the dialog stays for a correction.
    CString amount;
    if (!ReadDialogFields(this, [&amount](CDataExchange* pDX) { DDX_Number(pDX, IDC_ROW_TEXT, amount); }))
        return;
    m_strDiscount = ReadDiscountText(amount);
    CDialog::OnOK();
}

// ---------------------------------------------------------------------------------------
// 値引合計

BEGIN_MESSAGE_MAP(CDiscountTotalDialog, CDialog)
ON_BN_CLICKED(IDC_RADIO_1, OnSmall)
ON_BN_CLICKED(IDC_RADIO_2, OnMiddle)
ON_BN_CLICKED(IDC_RADIO_3, OnLarge)
ON_BN_CLICKED(IDC_RADIO_4, OnKind)
ON_BN_CLICKED(IDC_RADIO_5, OnGrand)
END_MESSAGE_MAP()

CDiscountTotalDialog::CDiscountTotalDialog(CWnd* pParent) : CDialog(IDD_DISCOUNT_TOTAL, pParent)
{
    RegisterEstimateCommandDialogs();
}

BOOL CDiscountTotalDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckRadioButton(IDC_RADIO_1, IDC_RADIO_5, IDC_RADIO_1);
    m_nLevel = CMorvelEMView::levelSmall;
    return TRUE;
}

void CDiscountTotalDialog::OnSmall()
{
    m_nLevel = CMorvelEMView::levelSmall;
}

void CDiscountTotalDialog::OnMiddle()
{
    m_nLevel = CMorvelEMView::levelMiddle;
}

void CDiscountTotalDialog::OnLarge()
{
    m_nLevel = CMorvelEMView::levelLarge;
}

void CDiscountTotalDialog::OnKind()
{
    m_nLevel = CMorvelEMView::levelKind;
}

void CDiscountTotalDialog::OnGrand()
{
    m_nLevel = CMorvelEMView::levelGrand;
}

// ---------------------------------------------------------------------------------------
// 歩掛設定

BEGIN_MESSAGE_MAP(CStepSettingDialog, CDialog)
ON_BN_CLICKED(IDC_RADIO_1, OnWithinSubject)
ON_BN_CLICKED(IDC_RADIO_2, OnWhole)
ON_BN_CLICKED(IDC_RADIO_3, OnBySubject)
ON_BN_CLICKED(IDC_ROW_RELEASE, OnRelease)
END_MESSAGE_MAP()

CStepSettingDialog::CStepSettingDialog(const CEstimationFormFile& form, CWnd* pParent)
    : CDialog(IDD_STEP_SETTING, pParent), m_form(form)
{
    RegisterEstimateCommandDialogs();
    m_nTargetItem = 0;
    for (int i = 0; i < form.GetCount(); ++i) {
        const CString& t = form.GetItem(i, CEstimationFormFile::colT);
        if (t == "9" || t == "8") {
            m_nTargetItem = i;
            break;
        }
    }
}

CStepSettingDialog::CStepSettingDialog(const CEstimationFormFile& form, const CString& strTarget,
                                       int nTargetItem, int nRange, CWnd* pParent)
    : CDialog(IDD_STEP_SETTING, pParent), m_nRange(nRange), m_nTargetItem(nTargetItem),
      m_strTarget(strTarget), m_form(form)
{
    RegisterEstimateCommandDialogs();
}

BOOL CStepSettingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CComboBox* pItems = Combo(*this, IDC_ROW_ITEM_COMBO))
        RangeControls::FillItems(*pItems, m_form, m_nTargetItem);
    SetDlgItemText(IDC_ROW_TEXT, m_strTarget);
    RangeControls::Init(*this, m_nRange);
    if (CWnd* pRelease = GetDlgItem(IDC_ROW_RELEASE))
        pRelease->EnableWindow(m_nState == stateEdit);
    return TRUE;
}

void CStepSettingDialog::OnWithinSubject()
{
    RangeControls::Choose(*this, m_nRange, 0);
}

void CStepSettingDialog::OnWhole()
{
    RangeControls::Choose(*this, m_nRange, 1);
}

void CStepSettingDialog::OnBySubject()
{
    RangeControls::Choose(*this, m_nRange, 2);
}

void CStepSettingDialog::OnOK()
{
    if (CComboBox* pItems = Combo(*this, IDC_ROW_ITEM_COMBO))
        m_nTargetItem = pItems->GetCurSel();
    GetDlgItemText(IDC_ROW_TEXT, m_strTarget);
    m_nRange = RangeControls::Read(*this);
    CDialog::OnOK();
}

void CStepSettingDialog::OnRelease()
{
    if (AfxMessageBox("設定を解除しますか。"_sj, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_nState = stateReleased;
    EndDialog(IDOK);
}

// ---------------------------------------------------------------------------------------
// ｲﾝﾃﾞﾝﾄ

BEGIN_MESSAGE_MAP(CIndentDialog, CDialog)
ON_BN_CLICKED(IDC_INDENT_LEFT, OnLeft)
ON_BN_CLICKED(IDC_INDENT_RIGHT, OnRight)
ON_BN_CLICKED(IDC_ROW_RELEASE, OnRelease)
ON_CBN_SELCHANGE(IDC_ROW_ITEM_COMBO, OnSelChange)
ON_CBN_SELCHANGE(IDC_ROW_LEVEL_COMBO, OnSelChange)
END_MESSAGE_MAP()

CIndentDialog::CIndentDialog(CMorvelEMView* pView, const CEstimationFormFile& form)
    : CDialog(IDD_INDENT, pView), m_hView(pView != nullptr ? pView->GetSafeHwnd() : nullptr), m_form(form)
{
    RegisterEstimateCommandDialogs();
}

BOOL CIndentDialog::Create()
{
    // A modeless window shows itself: its template does not.
    if (!CDialog::Create(IDD_INDENT, CWnd::FromHandle(m_hView)))
        return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

CMorvelEMView* CIndentDialog::LiveView() const
{
    if (m_hView == nullptr || !::IsWindow(m_hView))
        return nullptr;
    return dynamic_cast<CMorvelEMView*>(CWnd::FromHandle(m_hView));
}

BOOL CIndentDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CComboBox* pItems = Combo(*this, IDC_ROW_ITEM_COMBO)) {
        FillItemNames(*pItems, m_form);
        pItems->SetCurSel(std::min(1, pItems->GetCount() - 1));
    }
    if (CComboBox* pLevels = Combo(*this, IDC_ROW_LEVEL_COMBO)) {
        for (const char* level : {"種目", "大科目", "中科目", "小科目", "細   目", "全般"})
            pLevels->AddString(CString::FromUtf8(level));
        pLevels->SetCurSel(INDENT_LEVEL_DETAIL);
    }
    SetDlgItemText(IDC_ROW_TEXT, "1");
    UpdateReleaseState();
    return TRUE;
}

void CIndentDialog::UpdateReleaseState()
{
    CWnd* pRelease = GetDlgItem(IDC_ROW_RELEASE);
    if (pRelease == nullptr)
        return;
    const CComboBox* pItems = Combo(*this, IDC_ROW_ITEM_COMBO);
    const CComboBox* pLevels = Combo(*this, IDC_ROW_LEVEL_COMBO);
    const int nItem = pItems != nullptr ? pItems->GetCurSel() : -1;
    const int nLevel = pLevels != nullptr ? pLevels->GetCurSel() : -1;
    CMorvelEMView* pView = LiveView();
    BOOL bEnable = FALSE;
    if (pView != nullptr && nItem >= 0 && nLevel >= 0) {
        if (nLevel == INDENT_LEVEL_ALL) {
            bEnable = pView->GetCellIndent(0, nItem) != 0;
        } else {
            static const ERowKind kinds[] = {kindKind, kindLarge, kindMiddle, kindSmall, kindDetail};
            const int nTop = pView->GetFirstVisibleCell().y;
            bEnable = pView->GetModel().Engine().FindNameIndent(nTop, kinds[nLevel], nItem) != 0;
        }
    }
    pRelease->EnableWindow(bEnable);
}

void CIndentDialog::OnSelChange()
{
    UpdateReleaseState();
}

void CIndentDialog::Send(WPARAM nMode)
{
    CMorvelEMView* pView = LiveView();
    if (pView == nullptr) {
        // The estimate window has gone: nothing is left to indent.
        DestroyWindow();
        return;
    }
    const CComboBox* pItems = Combo(*this, IDC_ROW_ITEM_COMBO);
    const CComboBox* pLevels = Combo(*this, IDC_ROW_LEVEL_COMBO);
    // The amount is a whole number typed as any number is ("２", "-1"); "解除" needs none.
    int nAmount = m_request.nAmount;
    if (nMode != INDENT_REMOVE &&
        !ReadDialogFields(this, [&nAmount](CDataExchange* pDX) { DDX_Text(pDX, IDC_ROW_TEXT, nAmount); }))
        return;
    m_request.nItem = pItems != nullptr ? pItems->GetCurSel() : -1;
    m_request.nLevel = pLevels != nullptr ? pLevels->GetCurSel() : -1;
    m_request.nAmount = static_cast<int32_t>(nAmount);
    if (m_request.nItem < 0 || m_request.nLevel < 0)
        return;
    ::SendMessage(m_hView, WM_INDENT_COMMAND, nMode, reinterpret_cast<LPARAM>(&m_request));
    if (nMode != INDENT_REMOVE)
        SetFocus();
    UpdateReleaseState();
}

void CIndentDialog::OnLeft()
{
    Send(INDENT_REDUCE);
}

void CIndentDialog::OnRight()
{
    Send(INDENT_INCREASE);
}

void CIndentDialog::OnRelease()
{
    Send(INDENT_REMOVE);
}

void CIndentDialog::OnOK()
{
    DestroyWindow();
}

void CIndentDialog::OnCancel()
{
    DestroyWindow();
}

void CIndentDialog::PostNcDestroy()
{
    delete this;
}
