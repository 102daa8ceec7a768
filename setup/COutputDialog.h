// COutputDialog: the page "印刷設定" of the environment sheet: print switches, the minus
// sign, colour or monochrome printing, zero decimals, and (through five buttons) the
// initial look of new print layouts, which changes the application's print settings at
// once and reaches the settings file when the sheet is confirmed.
#pragma once

#include "platform/ui/dialogs/CPropertyPage.h"

class COutputDialog : public CPropertyPage {
    DECLARE_DYNCREATE(COutputDialog)
public:
    COutputDialog();

    int m_nDataAlign;
    int m_nDataFont;
    int m_nDataColor;
    int m_nNoZeroRows;
    int m_nMinus;
    int m_nPrintColor;
    int m_nZeroDecimals;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;
    void OnOK() override;

protected:
    void CopyToApp(bool bZeroDecimals);
    afx_msg void OnChanged();
    afx_msg void OnPaperColour();
    afx_msg void OnPrintFont();
    afx_msg void OnPrintFontColour();
    afx_msg void OnBorder();
    afx_msg void OnShading();
    DECLARE_MESSAGE_MAP()
};
