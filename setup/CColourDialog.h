// CColourDialog: the page "ｶﾗｰとﾌｫﾝﾄの設定" of the environment sheet: the text colour,
// background colour and font of the twelve row kinds of the estimate and parts grids.
// Colours are written to "Color Setting" when the page is applied; a font chosen here
// changes the application's row font at once and is written when the page is applied.
#pragma once

#include "app/CColourButton.h"
#include "platform/ui/dialogs/CPropertyPage.h"

class CColourDialog : public CPropertyPage {
    DECLARE_DYNCREATE(CColourDialog)
public:
    static constexpr int ROW_COUNT = 12;

    CColourDialog();

    int m_nDocKind = -1; // -1 main frame, 1 estimate window, 0 parts window
    CColourButton m_textButtons[ROW_COUNT];
    CColourButton m_backButtons[ROW_COUNT];

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnApply() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // The row (0..11 in screen order) of a colour or font button; -1 when none.
    static int RowOfColourButton(UINT nID, bool& bBackground);
    static int RowOfFontButton(UINT nID);
};
