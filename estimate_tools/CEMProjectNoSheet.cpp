#include "estimate_tools/CEMProjectNoSheet.h"

#include "platform/ui/controls/CComboBox.h"
#include "resources/EstimateCommandIds.h"

// ---------------------------------------------------------------------------------------
// 全般

BEGIN_MESSAGE_MAP(CEMProjectNoPage5, CPropertyPage)
ON_CBN_SELCHANGE(IDC_ROW_ITEM_COMBO, OnItemChange)
ON_BN_CLICKED(IDC_NUMBERING_UPPER, OnUpper)
END_MESSAGE_MAP()

CEMProjectNoPage5::CEMProjectNoPage5(CEMProjectNoSheet& sheet)
    : CPropertyPage(IDD_NUMBERING_GENERAL), m_sheet(sheet)
{
}

BOOL CEMProjectNoPage5::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    if (auto* pCombo = static_cast<CComboBox*>(GetDlgItem(IDC_ROW_ITEM_COMBO))) {
        for (int i = 0; i < m_sheet.m_form.GetCount(); ++i)
            pCombo->AddString(m_sheet.m_form.GetItem(i, CEstimationFormFile::colName));
        pCombo->SetCurSel(m_sheet.m_nTargetItem);
    }
    CheckDlgButton(IDC_NUMBERING_UPPER, m_sheet.m_nUpper != 0 ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CEMProjectNoPage5::OnItemChange()
{
    if (const auto* pCombo = static_cast<const CComboBox*>(GetDlgItem(IDC_ROW_ITEM_COMBO))) {
        const int nItem = pCombo->GetCurSel();
        if (nItem >= 0)
            m_sheet.m_nTargetItem = nItem;
    }
}

void CEMProjectNoPage5::OnUpper()
{
    m_sheet.m_nUpper = m_sheet.m_nUpper != 0 ? 0 : 1;
}

// ---------------------------------------------------------------------------------------
// The style pages

BEGIN_MESSAGE_MAP(CEMProjectNoStylePage, CPropertyPage)
ON_BN_CLICKED(IDC_RADIO_1, OnLetters)
ON_BN_CLICKED(IDC_RADIO_2, OnZeroNumbers)
ON_BN_CLICKED(IDC_RADIO_3, OnNumbers)
ON_BN_CLICKED(IDC_RADIO_4, OnNone)
END_MESSAGE_MAP()

CEMProjectNoStylePage::CEMProjectNoStylePage(UINT nIDTemplate, int& nStyle)
    : CPropertyPage(nIDTemplate), m_nStyle(nStyle)
{
}

BOOL CEMProjectNoStylePage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    static const UINT buttons[] = {IDC_RADIO_1, IDC_RADIO_2, IDC_RADIO_3, IDC_RADIO_4};
    if (m_nStyle >= 0 && m_nStyle <= 3)
        CheckRadioButton(IDC_RADIO_1, IDC_RADIO_4, buttons[m_nStyle]);
    return TRUE;
}

void CEMProjectNoStylePage::OnLetters()
{
    m_nStyle = 0;
}

void CEMProjectNoStylePage::OnZeroNumbers()
{
    m_nStyle = 1;
}

void CEMProjectNoStylePage::OnNumbers()
{
    m_nStyle = 2;
}

void CEMProjectNoStylePage::OnNone()
{
    m_nStyle = 3;
}

CEMProjectNoPage1::CEMProjectNoPage1(int& nStyle) : CEMProjectNoStylePage(IDD_NUMBERING_KIND, nStyle) {}

CEMProjectNoPage2::CEMProjectNoPage2(int& nStyle) : CEMProjectNoStylePage(IDD_NUMBERING_LARGE, nStyle) {}

CEMProjectNoPage3::CEMProjectNoPage3(int& nStyle) : CEMProjectNoStylePage(IDD_NUMBERING_MIDDLE, nStyle) {}

CEMProjectNoPage4::CEMProjectNoPage4(int& nStyle) : CEMProjectNoStylePage(IDD_NUMBERING_SMALL, nStyle) {}

// ---------------------------------------------------------------------------------------
// The sheet

BEGIN_MESSAGE_MAP(CEMProjectNoSheet, CPropertySheet)
ON_BN_CLICKED(IDC_NUMBERING_RELEASE, OnRelease)
ON_COMMAND(IDHELP, OnHelpRequest)
END_MESSAGE_MAP()

CEMProjectNoSheet::CEMProjectNoSheet(CWnd* pParent, const CEstimationFormFile& form)
    : CPropertySheet("科目No"_sj, pParent), m_form(form), m_page5(*this), m_page1(m_nKindStyle),
      m_page2(m_nLargeStyle), m_page3(m_nMiddleStyle), m_page4(m_nSmallStyle)
{
    RegisterEstimateCommandDialogs();
    AddPage(&m_page5);
    AddPage(&m_page1);
    AddPage(&m_page2);
    AddPage(&m_page3);
    AddPage(&m_page4);
}

BOOL CEMProjectNoSheet::OnInitDialog()
{
    const BOOL bResult = CPropertySheet::OnInitDialog();
    SetWindowText("科目No"_sj);
    // OK moves to Cancel's place, Cancel to Apply's, Apply to Help's; Help goes.
    CWnd* pOK = GetDlgItem(IDOK);
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    CWnd* pApply = GetDlgItem(ID_APPLY_NOW);
    CWnd* pHelp = GetDlgItem(IDHELP);
    CRect rcCancel, rcApply, rcHelp;
    if (pOK != nullptr && pCancel != nullptr && pApply != nullptr && pHelp != nullptr) {
        pCancel->GetWindowRect(&rcCancel);
        ScreenToClient(&rcCancel);
        pApply->GetWindowRect(&rcApply);
        ScreenToClient(&rcApply);
        pHelp->GetWindowRect(&rcHelp);
        ScreenToClient(&rcHelp);
        pOK->MoveWindow(&rcCancel);
        pCancel->MoveWindow(&rcApply);
        pApply->MoveWindow(&rcHelp);
        pHelp->ShowWindow(SW_HIDE);
        pHelp->EnableWindow(FALSE);
        pOK->SetWindowText("配置"_sj);
        pCancel->SetWindowText("ｷｬﾝｾﾙ"_sj);
        // "解除" lies where Apply now is; the pages apply nothing of their own, so Apply
        // stays under it, hidden.
        pApply->ShowWindow(SW_HIDE);
        m_btnRelease.Create("解除"_sj, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, rcHelp, this,
                            IDC_NUMBERING_RELEASE);
        m_btnRelease.SetFont(GetFont());
    }
    m_nRelease = 0;
    return bResult;
}

void CEMProjectNoSheet::OnRelease()
{
    m_nRelease = 1;
    PressButton(IDCANCEL);
}

void CEMProjectNoSheet::OnHelpRequest() {}
