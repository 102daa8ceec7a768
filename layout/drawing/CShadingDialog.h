// CShadingDialog: the dialog "網かけ": shading on or off, one of thirty 8 x 8 fill
// patterns, and its foreground and background colours. The caller presets the four
// members and reads them back after IDOK; with shading off the pattern and colour
// controls are disabled but their values still come back.
#pragma once

#include "app/CColourButton.h"
#include "layout/drawing/CLineStyleComboBox.h"
#include "platform/ui/controls/CComboBox.h"
#include "platform/ui/dialogs/CDialog.h"

// The thirty fill patterns: eight rows of eight pixels, the top row first, the most
// significant bit the leftmost pixel; set bits take the foreground colour.
constexpr int FILL_PATTERN_COUNT = 30;
const BYTE* GetFillPatternRows(int nPattern); // null outside 0..29
CString GetFillPatternLabel(int nPattern);

class CShadingDialog : public CDialog {
    DECLARE_DYNAMIC(CShadingDialog)
public:
    explicit CShadingDialog(CWnd* pParent = nullptr);

    COLORREF m_foreColor = RGB(0, 0, 0);
    COLORREF m_backColor = RGB(255, 255, 255);
    BOOL m_bFill = TRUE;
    int m_nPattern = 0;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void OnOK() override;
    afx_msg void OnFill();
    afx_msg void OnForeColour();
    afx_msg void OnBackColour();
    void EnableShadingControls();
    DECLARE_MESSAGE_MAP()

    CPatternComboBox m_combo;
    CColourButton m_foreButton;
    CColourButton m_backButton;
};
