#include "layout/printform/CTextPropPMDialog.h"

#include "resources/LayoutDialogIds.h"

IMPLEMENT_DYNAMIC(CTextPropPMDialog, CTextPropDialog)

BEGIN_MESSAGE_MAP(CTextPropPMDialog, CTextPropDialog)
ON_BN_CLICKED(IDC_TP_PARTS, OnDataField)
END_MESSAGE_MAP()

CTextPropPMDialog::CTextPropPMDialog(int nTargets, CWnd* pParent)
    : CTextPropDialog(IDD_TEXT_PROP_PM, nTargets, FALSE, pParent)
{
}

CTextPropPMDialog::CTextPropPMDialog(CWnd* pParent, BOOL bFrameOptions)
    : CTextPropDialog(IDD_TEXT_PROP_PM, 1, bFrameOptions, pParent)
{
}

CTextPropPMDialog::~CTextPropPMDialog() = default;

CString CTextPropPMDialog::DataFieldOpening() const
{
    return "$部材("_sj;
}

UINT CTextPropPMDialog::RadioOf(int nKind) const
{
    // No information fields in a parts layout.
    static const UINT kRadios[KIND_COUNT] = {IDC_TP_DIRECT,    IDC_TP_PARTS, IDC_TP_PAGE_TOTAL, 0,
                                             IDC_TP_NUMBERING, IDC_TP_DATE,  IDC_TP_TIME,       IDC_TP_PAGE};
    return nKind >= 0 && nKind < KIND_COUNT ? kRadios[nKind] : 0;
}

std::vector<CString> CTextPropPMDialog::ItemNames(int nKind) const
{
    return nKind == kindDataField ? m_partsForm.GetItemNames() : std::vector<CString>();
}

CString CTextPropPMDialog::ItemAttribute(int nKind, int nItem) const
{
    return nKind == kindDataField ? m_partsForm.GetItemAttribute(nItem) : CString();
}

std::vector<CString> CTextPropPMDialog::SuggestionNames() const
{
    return m_partsForm.GetItemNames();
}

int* CTextPropPMDialog::FieldPictureSlot(int nKind)
{
    return nKind == kindDataField ? &m_nPartsPicture : nullptr;
}
