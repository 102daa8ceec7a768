#include "layout/printform/PrintBarBoxes.h"

#include "app/CShellServices.h"
#include "app/ChildFrameSupport.h"
#include "layout/drawing/CLineStyleComboBox.h"
#include "layout/drawing/CShadingDialog.h"
#include "layout/drawing/LineStyles.h"
#include "layout/printform/CFontNameComboBox.h"
#include "resources/ChildFrameIds.h"

namespace {

// The boxes stay disabled until the active view takes what they choose: the window that
// carries them enables each one while a view handles its selection.
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_DISABLED | CBS_DROPDOWNLIST;
constexpr DWORD kFontNameStyle = WS_CHILD | WS_VISIBLE | WS_DISABLED | CBS_DROPDOWN | WS_VSCROLL;
constexpr DWORD kOwnerDrawnStyle = kListStyle | CBS_OWNERDRAWVARIABLE | CBS_AUTOHSCROLL | WS_VSCROLL;
// The character set the font list is asked for: the default one, as the printer offers it.
constexpr BYTE kFontListCharSet = DEFAULT_CHARSET;

std::unique_ptr<CComboBox> CreatePrintBarBox(UINT nID, CWnd* pBar, const RECT& rect, CDC* pPrinterDC)
{
    switch (nID) {
    case IDC_FONT_NAME: {
        auto pBox = std::make_unique<CFontNameComboBox>();
        // With a text of its own, so that it can show a face the printer does not list.
        if (!pBox->Create(kFontNameStyle, rect, pBar, nID))
            return nullptr;
        pBox->SetFont(ChildFrameGuiFont());
        pBox->FillFonts(pPrinterDC, kFontListCharSet);
        return pBox;
    }
    case IDC_LINE_STYLE: {
        auto pBox = std::make_unique<CLineStyleComboBox>();
        if (!pBox->Create(kOwnerDrawnStyle, rect, pBar, nID))
            return nullptr;
        pBox->SetFont(ChildFrameGuiFont());
        pBox->SetItemHeight(-1, CLineStyleComboBox::ITEM_HEIGHT);
        for (int nStyle = 0; nStyle < LINE_STYLE_COUNT; ++nStyle)
            pBox->AddItem(nStyle);
        pBox->SetCurSel(1);
        return pBox;
    }
    case IDC_FILL_PATTERN: {
        auto pBox = std::make_unique<CPatternComboBox>();
        if (!pBox->Create(kOwnerDrawnStyle, rect, pBar, nID))
            return nullptr;
        pBox->SetFont(ChildFrameGuiFont());
        pBox->SetItemHeight(-1, CPatternComboBox::ITEM_HEIGHT);
        for (int nPattern = 0; nPattern < FILL_PATTERN_COUNT; ++nPattern)
            pBox->AddItem(nPattern);
        pBox->SetCurSel(0);
        return pBox;
    }
    default:
        return nullptr;
    }
}

} // namespace

void RegisterPrintBarBoxes()
{
    CShellServices::Get().createPrintBarBox = CreatePrintBarBox;
}
