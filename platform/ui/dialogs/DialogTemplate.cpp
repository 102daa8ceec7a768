#include "platform/ui/dialogs/DialogTemplate.h"

#include "platform/ui/gdi/FontMapper_p.h"
#include "platform/ui/gdi/GdiObjects.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace {

struct CTemplateEntry {
    DialogTemplateFactory factory = nullptr;
    std::unique_ptr<DialogTemplate> built;
};

struct CTemplateRegistry {
    std::mutex mutex;
    std::map<UINT, CTemplateEntry> entries;
};

// Built on first use, so that registrations from the statics of any translation unit find
// it ready whatever order the statics run in.
CTemplateRegistry& Registry()
{
    static CTemplateRegistry registry;
    return registry;
}

// Rounds as MulDiv does: halves away from zero.
int ScaleRounded(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return 0;
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

} // namespace

DWORD GetDialogControlStyle(const DialogControl& control)
{
    DWORD style = control.style | WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
    case DlgPushButton:
        style |= WS_TABSTOP;
        break;
    case DlgCheckBox:
        if ((style & BS_TYPEMASK) == 0)
            style |= BS_AUTOCHECKBOX;
        style |= WS_TABSTOP;
        break;
    case DlgRadioButton:
        if ((style & BS_TYPEMASK) == 0)
            style |= BS_AUTORADIOBUTTON;
        // The first button of a group is where the Tab key stops.
        if (style & WS_GROUP)
            style |= WS_TABSTOP;
        break;
    case DlgGroupBox:
        style = (style & ~BS_TYPEMASK) | BS_GROUPBOX;
        break;
    case DlgComboBox:
        if ((style & 0x3) == 0)
            style |= CBS_DROPDOWNLIST;
        style |= WS_TABSTOP | WS_VSCROLL;
        break;
    case DlgEdit:
    case DlgRichEdit:
    case DlgListBox:
    case DlgListControl:
    case DlgTreeControl:
        style |= WS_TABSTOP;
        break;
    case DlgStatic:
        // A text starts a group of its own, so that the controls after it begin anew (the
        // usual way of writing dialogs); notStyle takes it away.
        style |= WS_GROUP;
        break;
    case DlgScrollBar:
    case DlgUpDown:
    case DlgProgress:
    case DlgCustom:
        break;
    }
    return style & ~control.notStyle;
}

bool RegisterDialogTemplate(UINT nID, DialogTemplateFactory factory)
{
    CTemplateRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    CTemplateEntry& entry = registry.entries[nID];
    entry.factory = factory;
    entry.built.reset();
    return true;
}

bool RegisterDialogTemplate(const DialogTemplate& dialogTemplate)
{
    CTemplateRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    CTemplateEntry& entry = registry.entries[dialogTemplate.nID];
    entry.factory = nullptr;
    entry.built = std::make_unique<DialogTemplate>(dialogTemplate);
    return true;
}

const DialogTemplate* FindDialogTemplate(UINT nID)
{
    CTemplateRegistry& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.entries.find(nID);
    if (it == registry.entries.end())
        return nullptr;
    CTemplateEntry& entry = it->second;
    if (!entry.built && entry.factory) {
        entry.built = std::make_unique<DialogTemplate>(entry.factory());
        entry.built->nID = nID;
    }
    return entry.built.get();
}

CString GetDefaultDialogFontFace()
{
    return CString::FromUtf8("ＭＳ Ｐゴシック");
}

DialogBaseUnits GetDialogBaseUnits(const CString& fontFace, int pointSize)
{
    const CString face = fontFace.IsEmpty() ? GetDefaultDialogFontFace() : fontFace;
    LOGFONT lf;
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -MulDiv(pointSize > 0 ? pointSize : 9, 96, 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    const auto font = CFontRealizer::Realize(lf, lf.lfHeight, 0, 96);

    // The width is the average of the 52 Latin letters, rounded to whole pixels the way
    // the system measures dialog fonts.
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    DialogBaseUnits units;
    units.cxChar = (font->Width(letters) / 26 + 1) / 2;
    units.cyChar = font->height;
    if (units.cxChar <= 0)
        units.cxChar = 1;
    if (units.cyChar <= 0)
        units.cyChar = 1;
    return units;
}

DialogBaseUnits GetDialogBaseUnits(const DialogTemplate& dialogTemplate)
{
    return GetDialogBaseUnits(dialogTemplate.fontFace, dialogTemplate.pointSize);
}

int DialogUnitsToPixelsX(int x, const DialogBaseUnits& units)
{
    return ScaleRounded(x, units.cxChar, 4);
}

int DialogUnitsToPixelsY(int y, const DialogBaseUnits& units)
{
    return ScaleRounded(y, units.cyChar, 8);
}

CRect DialogUnitsToPixels(const RECT& rect, const DialogBaseUnits& units)
{
    return CRect(DialogUnitsToPixelsX(rect.left, units), DialogUnitsToPixelsY(rect.top, units),
                 DialogUnitsToPixelsX(rect.right, units), DialogUnitsToPixelsY(rect.bottom, units));
}
