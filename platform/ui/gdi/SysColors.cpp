#include "platform/ui/gdi/SysColors.h"

#include "platform/ui/gdi/GdiObjects.h"

namespace {

constexpr int kColorCount = COLOR_MENUBAR + 1;

// The classic light desktop: white windows with black text, light grey faces framed in
// white and grey, a blue selection.
const COLORREF kPalette[kColorCount] = {
    RGB(200, 200, 200), // COLOR_SCROLLBAR
    RGB(58, 110, 165),  // COLOR_BACKGROUND
    RGB(153, 180, 209), // COLOR_ACTIVECAPTION
    RGB(191, 205, 219), // COLOR_INACTIVECAPTION
    RGB(240, 240, 240), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(100, 100, 100), // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(0, 0, 0),       // COLOR_CAPTIONTEXT
    RGB(180, 180, 180), // COLOR_ACTIVEBORDER
    RGB(244, 247, 252), // COLOR_INACTIVEBORDER
    RGB(171, 171, 171), // COLOR_APPWORKSPACE
    RGB(51, 153, 255),  // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(240, 240, 240), // COLOR_BTNFACE
    RGB(160, 160, 160), // COLOR_BTNSHADOW
    RGB(109, 109, 109), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(67, 78, 84),    // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105), // COLOR_3DDKSHADOW
    RGB(227, 227, 227), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(0, 0, 0),       // 25: unused
    RGB(0, 102, 204),   // COLOR_HOTLIGHT
    RGB(185, 209, 234), // COLOR_GRADIENTACTIVECAPTION
    RGB(215, 228, 242), // COLOR_GRADIENTINACTIVECAPTION
    RGB(51, 153, 255),  // COLOR_MENUHILIGHT
    RGB(240, 240, 240), // COLOR_MENUBAR
};

bool ValidIndex(int nIndex)
{
    return nIndex >= 0 && nIndex < kColorCount && nIndex != 25;
}

} // namespace

DWORD GetSysColor(int nIndex)
{
    return ValidIndex(nIndex) ? kPalette[nIndex] : 0;
}

CBrush* GetSysColorCBrush(int nIndex)
{
    if (!ValidIndex(nIndex))
        return nullptr;
    // One brush per colour for the life of the process, like the stock objects.
    static CBrush* brushes[kColorCount] = {};
    if (!brushes[nIndex]) {
        auto* brush = new CBrush;
        brush->CreateSolidBrush(kPalette[nIndex]);
        brushes[nIndex] = brush;
    }
    return brushes[nIndex];
}

HBRUSH GetSysColorBrush(int nIndex)
{
    CBrush* brush = GetSysColorCBrush(nIndex);
    return brush ? static_cast<HBRUSH>(*brush) : nullptr;
}
