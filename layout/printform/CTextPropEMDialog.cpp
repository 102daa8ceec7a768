#include "layout/printform/CTextPropEMDialog.h"

#include "resources/LayoutDialogIds.h"

IMPLEMENT_DYNAMIC(CTextPropEMDialog, CTextPropDialog)

BEGIN_MESSAGE_MAP(CTextPropEMDialog, CTextPropDialog)
ON_BN_CLICKED(IDC_TP_ESTIMATE, OnDataField)
ON_BN_CLICKED(IDC_TP_INFORMATION, OnInformationField)
END_MESSAGE_MAP()

CTextPropEMDialog::CTextPropEMDialog(int nTargets, CWnd* pParent)
    : CTextPropDialog(IDD_TEXT_PROP_EM, nTargets, FALSE, pParent)
{
}

CTextPropEMDialog::CTextPropEMDialog(CWnd* pParent, BOOL bFrameOptions)
    : CTextPropDialog(IDD_TEXT_PROP_EM, 1, bFrameOptions, pParent)
{
}

CTextPropEMDialog::~CTextPropEMDialog() = default;

CString CTextPropEMDialog::DataFieldOpening() const
{
    return "$見積("_sj;
}

UINT CTextPropEMDialog::RadioOf(int nKind) const
{
    static const UINT kRadios[KIND_COUNT] = {IDC_TP_DIRECT,      IDC_TP_ESTIMATE,  IDC_TP_PAGE_TOTAL,
                                             IDC_TP_INFORMATION, IDC_TP_NUMBERING, IDC_TP_DATE,
                                             IDC_TP_TIME,        IDC_TP_PAGE};
    return nKind >= 0 && nKind < KIND_COUNT ? kRadios[nKind] : 0;
}

std::vector<CString> CTextPropEMDialog::ItemNames(int nKind) const
{
    return nKind == kindInformation ? m_informationForm.GetItemNames() : m_estimationForm.GetItemNames();
}

CString CTextPropEMDialog::ItemAttribute(int nKind, int nItem) const
{
    return nKind == kindInformation ? m_informationForm.GetItemAttribute(nItem)
                                    : m_estimationForm.GetItemAttribute(nItem);
}

std::vector<CString> CTextPropEMDialog::SuggestionNames() const
{
    std::vector<CString> names = m_estimationForm.GetItemNames();
    for (const CString& name : m_informationForm.GetItemNames())
        names.push_back(name);
    return names;
}

int* CTextPropEMDialog::FieldPictureSlot(int nKind)
{
    switch (nKind) {
    case kindDataField:
        return &m_nEstimatePicture;
    case kindInformation:
        return &m_nInformationPicture;
    default:
        return nullptr;
    }
}

void CTextPropEMDialog::OnInformationField()
{
    SelectKind(kindInformation, SelectedPiece());
}
