// CRuledLineDialog: the dialog "罫線": a line style (0 "(なし)", 1 to 11 the drawn
// styles) from an owner-drawn list, and a line colour. The caller presets m_nLineStyle and
// m_clrLine and reads them back after IDOK.
#pragma once

#include "app/CColourButton.h"
#include "layout/drawing/CLineStyleComboBox.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/dialogs/CDialog.h"

class CRuledLineDialog : public CDialog {
    DECLARE_DYNAMIC(CRuledLineDialog)
public:
    explicit CRuledLineDialog(CWnd* pParent = nullptr);

    COLORREF m_clrLine = RGB(0, 0, 0);
    int m_nLineStyle = 1;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void OnOK() override;
    afx_msg void OnColour();
    DECLARE_MESSAGE_MAP()

    CLineStyleComboBox m_combo;
    CColourButton m_colourButton;
};
