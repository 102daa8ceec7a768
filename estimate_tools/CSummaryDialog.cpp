#include "estimate_tools/CSummaryDialog.h"

#include "resources/EstimateCommandIds.h"

namespace {

constexpr UINT kLevelBoxes[4] = {IDC_SUMMARY_KIND, IDC_SUMMARY_LARGE, IDC_SUMMARY_MIDDLE, IDC_SUMMARY_SMALL};

} // namespace

BEGIN_MESSAGE_MAP(CSummaryDialog, CDialog)
ON_BN_CLICKED(IDC_RADIO_1, OnExternal)
ON_BN_CLICKED(IDC_RADIO_2, OnInternal)
END_MESSAGE_MAP()

CSummaryDialog::CSummaryDialog(CWnd* pParent) : CDialog(IDD_SUMMARY, pParent)
{
    RegisterEstimateCommandDialogs();
}

CSummaryDialog::CSummaryDialog(CWnd* pParent, int nKind, int nLarge, int nMiddle, int nSmall)
    : CDialog(IDD_SUMMARY, pParent), m_nLevels{nKind, nLarge, nMiddle, nSmall}
{
    RegisterEstimateCommandDialogs();
}

BOOL CSummaryDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < 4; ++i)
        CheckDlgButton(static_cast<int>(kLevelBoxes[i]), m_nLevels[i] != 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(IDC_RADIO_1, IDC_RADIO_2, m_nInternal != 0 ? IDC_RADIO_2 : IDC_RADIO_1);
    return TRUE;
}

void CSummaryDialog::OnExternal()
{
    m_nExternal = 1;
    m_nInternal = 0;
}

void CSummaryDialog::OnInternal()
{
    m_nExternal = 0;
    m_nInternal = 1;
}

void CSummaryDialog::OnOK()
{
    for (int i = 0; i < 4; ++i)
        m_nLevels[i] = IsDlgButtonChecked(static_cast<int>(kLevelBoxes[i])) != 0 ? 1 : 0;
    CDialog::OnOK();
}
