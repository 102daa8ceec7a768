// Dialog templates: the description of a dialog box (caption, size in dialog units, font,
// style and the controls with their ids, texts, styles and rectangles) from which a
// dialog builds its windows. Resource code registers each template under its id while
// the program starts:
//
//   static DialogTemplate MakeProcessSelect()
//   {
//       return {270, "処理選択"_sj, 97, 71, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, {
//           {DlgStatic, IDC_STATIC, "処理を選択してください。"_sj, 7, 7, 83, 8},
//           {DlgRadioButton, 1071, "新規作成"_sj, 20, 22, 60, 10, WS_GROUP | WS_TABSTOP},
//           ...
//       }};
//   }
//   static const bool s_registered = RegisterDialogTemplate(270, MakeProcessSelect);
//
// The factory runs the first time the template is needed, so the texts are converted
// long after every static of the program has been built.
//
// Dialog units are the dialog font's average character width divided by 4 horizontally
// and its character height divided by 8 vertically.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Types.h"
#include "platform/ui/core/DialogDefs.h"

#include <functional>
#include <utility>
#include <vector>

// The kinds of control a template holds. Push, check and radio buttons and group boxes
// are all button windows; their kind only supplies the button type when the style leaves
// it out.
enum DialogControlClass {
    DlgPushButton,  // BS_PUSHBUTTON or BS_DEFPUSHBUTTON
    DlgCheckBox,    // BS_AUTOCHECKBOX unless the style names another type
    DlgRadioButton, // BS_AUTORADIOBUTTON unless the style names another type
    DlgGroupBox,    // BS_GROUPBOX
    DlgStatic,
    DlgEdit,
    DlgRichEdit,
    DlgComboBox, // CBS_DROPDOWNLIST unless the style names another type
    DlgListBox,
    DlgListControl,
    DlgTreeControl,
    DlgScrollBar,
    DlgUpDown,
    DlgProgress,
    DlgCustom, // a window of a registered class (className)
};

struct DialogControl {
    DialogControl() = default;
    DialogControl(DialogControlClass kind_, UINT nID_, const CString& text_, int x_, int y_, int cx_, int cy_,
                  DWORD style_ = 0, DWORD exStyle_ = 0, DWORD notStyle_ = 0,
                  const CString& className_ = CString())
        : kind(kind_), nID(nID_), text(text_), x(x_), y(y_), cx(cx_), cy(cy_), style(style_),
          exStyle(exStyle_), notStyle(notStyle_), className(className_)
    {
    }

    DialogControlClass kind = DlgStatic;
    UINT nID = IDC_STATIC;
    CString text; // code page 932; "&" marks the mnemonic
    int x = 0;    // position and size in dialog units
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = 0; // WS_CHILD | WS_VISIBLE and the kind's defaults are added
    DWORD exStyle = 0;
    DWORD notStyle = 0; // styles taken away from the defaults, e.g. WS_VISIBLE for a hidden one
    CString className;  // DlgCustom only
};

struct DialogTemplate {
    DialogTemplate() = default;
    DialogTemplate(UINT nID_, const CString& caption_, int cx_, int cy_, DWORD style_,
                   std::vector<DialogControl> controls_, const CString& fontFace_ = CString(),
                   int pointSize_ = 9, DWORD exStyle_ = 0)
        : nID(nID_), caption(caption_), cx(cx_), cy(cy_), style(style_), controls(std::move(controls_)),
          fontFace(fontFace_), pointSize(pointSize_), exStyle(exStyle_)
    {
    }

    UINT nID = 0;
    CString caption;
    int cx = 0; // client size in dialog units
    int cy = 0;
    DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    std::vector<DialogControl> controls;
    CString fontFace; // empty: the system's dialog font, "ＭＳ Ｐゴシック"
    int pointSize = 9;
    DWORD exStyle = 0;
};

// The window style a control of the template is created with: its own style, the kind's
// button or combo type when left out, WS_CHILD | WS_VISIBLE, the kind's usual tab stop and
// WS_GROUP for statics, less notStyle.
DWORD GetDialogControlStyle(const DialogControl& control);

using DialogTemplateFactory = std::function<DialogTemplate()>;

// Registers a template; a later registration under the same id replaces the earlier one.
// Returns true so that the call can initialise a static.
bool RegisterDialogTemplate(UINT nID, DialogTemplateFactory factory);
bool RegisterDialogTemplate(const DialogTemplate& dialogTemplate);
// The registered template, or null. The pointer stays valid until the id is registered
// again.
const DialogTemplate* FindDialogTemplate(UINT nID);

// The character size dialog units are measured in: the average width of the Latin
// letters and the character height of the dialog font, in pixels at 96 dpi.
struct DialogBaseUnits {
    int cxChar = 0;
    int cyChar = 0;
};

// The base units of a font given by face name and point size; the empty face name means
// the system's dialog font.
DialogBaseUnits GetDialogBaseUnits(const CString& fontFace, int pointSize);
DialogBaseUnits GetDialogBaseUnits(const DialogTemplate& dialogTemplate);

// Dialog units to pixels, rounded as the system does (x * cxChar / 4, y * cyChar / 8).
int DialogUnitsToPixelsX(int x, const DialogBaseUnits& units);
int DialogUnitsToPixelsY(int y, const DialogBaseUnits& units);
// A rectangle whose four edges are in dialog units.
CRect DialogUnitsToPixels(const RECT& rect, const DialogBaseUnits& units);

// The face name a dialog uses when its template names none.
CString GetDefaultDialogFontFace();
