// CRateCalcDialog (定率計算): asks for the fixed-rate calculation of the grids: an
// arithmetic tail appended to every selected number ("*1.2", "/1.3"), and up to two
// conditions a row must meet. The calculation text last confirmed is kept for the whole
// run of the program and shown whenever the dialog opens, from either grid (both grids'
// fixed-rate commands go through this dialog); the conditions last one run of the dialog.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/dialogs/CDialog.h"

#include <vector>

class CRateCalcDialog : public CDialog {
public:
    // itemNames: the form's item names in order (the conditions' item choices).
    // bPartsForm: the parts grid's form (the item boxes start on the first item; the
    // estimate's start on the second).
    CRateCalcDialog(CWnd* pParent, const std::vector<CString>& itemNames, bool bPartsForm);

    int m_nCompound = 0; // 0 "単独条件(&S)", 1 "複合条件(&D)"
    int m_nRelation = 1; // 0 "または(&O)", 1 "かつ(&A)"
    int m_nItem1 = -1;
    int m_nOperator1 = -1; // 0 less than .. 5 greater than; -1 no condition
    CString m_strValue1;
    int m_nItem2 = -1;
    int m_nOperator2 = -1;
    CString m_strValue2;
    int m_bConditionsOn = 0; // "実施条件(&J)"
    // The calculation text after OK (also remembered for the next opening).
    CString m_strFormula;
    // The calculation text last confirmed ("*1.2"); empty until the first OK.
    static const CString& GetLastFormula() { return s_strLastFormula; }

    static const char* const s_aOperators[6];

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnConditionsOn();
    afx_msg void OnSingle();
    afx_msg void OnCompound();
    afx_msg void OnOr();
    afx_msg void OnAnd();
    DECLARE_MESSAGE_MAP()

private:
    void EnableConditionControls();
    std::vector<CString> m_itemNames;
    bool m_bPartsForm;
    static CString s_strLastFormula;
};
