// CTextPropEMDialog: the text-property dialog of estimate layouts (template 245). Its field
// tokens draw on the layout's estimation form ("$見積(" group "," item "," row ")$") and
// information form ("$情報(" item ")$"). See CTextPropDialog for the editing.
#pragma once

#include "app/CEstimationFormFile.h"
#include "app/CInformationFormFile.h"
#include "layout/printform/CTextPropDialog.h"

class CTextPropEMDialog : public CTextPropDialog {
    DECLARE_DYNAMIC(CTextPropEMDialog)
public:
    // nTargets texts (a text object 1, a table the number of rows of its selected cells);
    // the frame options stay hidden.
    explicit CTextPropEMDialog(int nTargets, CWnd* pParent = nullptr);
    // One text; the view's text tool shows the frame options.
    CTextPropEMDialog(CWnd* pParent, BOOL bFrameOptions);
    ~CTextPropEMDialog() override;

    CEstimationFormFile m_estimationForm;
    CInformationFormFile m_informationForm;
    CString m_strEstimationFormName;  // not read by the dialog
    CString m_strInformationFormName; // not read by the dialog
    int m_nEstimatePicture = 0;
    int m_nInformationPicture = 0;

protected:
    CString DataFieldOpening() const override;
    UINT RadioOf(int nKind) const override;
    std::vector<CString> ItemNames(int nKind) const override;
    CString ItemAttribute(int nKind, int nItem) const override;
    std::vector<CString> SuggestionNames() const override;
    bool SuggestEmptyPiece() const override { return true; }
    int* FieldPictureSlot(int nKind) override;

    afx_msg void OnInformationField();
    DECLARE_MESSAGE_MAP()
};
