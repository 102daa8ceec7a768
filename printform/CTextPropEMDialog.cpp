#include "printform/CTextPropEMDialog.h"

#include "resources/LayoutDialogIds.h"

IMPLEMENT_DYNAMIC(CTextPropEMDialog, CTextPropDialog)

BEGIN_MESSAGE_MAP(CTextPropEMDialog, CTextPropDialog)
ON_BN_CLICKED(IDC_TP_ESTIMATE, OnEstimateField)
ON_BN_CLICKED(IDC_TP_INFORMATION, OnInformationField)
END_MESSAGE_MAP()

namespace {

template <class Form>
std::vector<CString> NamesOf(const Form& form)
{
    std::vector<CString> names;
    for (int i = 0; i < form.GetCount(); ++i)
        names.push_back(form.GetItem(i, Form::colName));
    return names;
}

template <class Form>
CString AttributeOf(const Form& form, int nItem)
{
    return nItem >= 0 && nItem < form.GetCount() ? form.GetItem(nItem, Form::colAttribute) : CString();
}

} // namespace

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
    return nKind == kindInformation ? NamesOf(m_informationForm) : NamesOf(m_estimationForm);
}

CString CTextPropEMDialog::ItemAttribute(int nKind, int nItem) const
{
    return nKind == kindInformation ? AttributeOf(m_informationForm, nItem)
                                    : AttributeOf(m_estimationForm, nItem);
}

std::vector<CString> CTextPropEMDialog::SuggestionNames() const
{
    std::vector<CString> names = NamesOf(m_estimationForm);
    for (const CString& name : NamesOf(m_informationForm))
        names.push_back(name);
    return names;
}

int* CTextPropEMDialog::PictureSlot(int nKind)
{
    switch (nKind) {
    case kindDataField:
        return &m_nEstimatePicture;
    case kindPageTotal:
        return &m_nPageTotalPicture;
    case kindInformation:
        return &m_nInformationPicture;
    case kindNumbering:
        return &m_nNumberingPicture;
    case kindDate:
        return &m_nDatePicture;
    case kindTime:
        return &m_nTimePicture;
    case kindPage:
        return &m_nPagePicture;
    default:
        return nullptr;
    }
}

void CTextPropEMDialog::OnEstimateField()
{
    SelectKind(kindDataField, SelectedPiece());
}

void CTextPropEMDialog::OnInformationField()
{
    SelectKind(kindInformation, SelectedPiece());
}
