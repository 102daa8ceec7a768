// CTextPropPMDialog: the text-property dialog of parts layouts (template 246). Its field
// tokens draw on the layout's parts form ("$部材(" group "," item "," row ")$"); there are
// no information fields. See CTextPropDialog for the editing.
#pragma once

#include "app/CPartFormFile.h"
#include "layout/printform/CTextPropDialog.h"

class CTextPropPMDialog : public CTextPropDialog {
    DECLARE_DYNAMIC(CTextPropPMDialog)
public:
    explicit CTextPropPMDialog(int nTargets, CWnd* pParent = nullptr);
    CTextPropPMDialog(CWnd* pParent, BOOL bFrameOptions);
    ~CTextPropPMDialog() override;

    CPartFormFile m_partsForm;
    CString m_strPartsFormName; // not read by the dialog
    int m_nPartsPicture = 0;

protected:
    CString DataFieldOpening() const override;
    UINT RadioOf(int nKind) const override;
    std::vector<CString> ItemNames(int nKind) const override;
    CString ItemAttribute(int nKind, int nItem) const override;
    std::vector<CString> SuggestionNames() const override;
    bool SuggestEmptyPiece() const override { return false; }
    int* FieldPictureSlot(int nKind) override;

    DECLARE_MESSAGE_MAP()
};
