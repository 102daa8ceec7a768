// CInputDialog: the page "入力設定" of the environment sheet: rows per printed page, the
// row limits of estimates and parts lists, the tax rate and its rounding, where the
// cursor goes after input, and whether backups are made. The values are taken when the
// page is built and written only when it is applied.
#pragma once

#include "platform/ui/dialogs/CPropertyPage.h"

class CInputDialog : public CPropertyPage {
    DECLARE_DYNCREATE(CInputDialog)
public:
    CInputDialog();

    int m_nEstimateView = 0; // opened from an estimate window
    int m_nRowsInPage;
    int m_nEstimateMaxRows;
    int m_nPartsMaxRows;
    int m_nTax;
    int m_nDirection;
    int m_nBackup;
    int m_nRoundMode;
    int m_nRoundOff;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;

protected:
    afx_msg void OnChanged();
    DECLARE_MESSAGE_MAP()
};
