// The standard controls behind the window classes "BUTTON", "STATIC", "EDIT", "COMBOBOX",
// "LISTBOX", "SCROLLBAR", "msctls_updown32" and "msctls_progress32" (platform/ui internal;
// also for the tests).
//
// Each control is a Qt widget with a small mix-in that knows its window and tells the
// parent what the user did (WM_COMMAND with the control's notification code). The class's
// window procedure carries out the control's messages (BM_SETCHECK, EM_SETSEL,
// CB_ADDSTRING, ...) on the widget, so that a control works the same whichever C++ object
// stands for it. Changes made by code notify only where the system's own controls do: a
// silencing counter suppresses the widget's signals while code changes it.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/DialogDefs.h"

#include <QFont>
#include <QImage>
#include <QString>

class CDC;
class CWnd;
class QPainter;
class QRect;
class QWidget;

// An owner-drawn list or combo box draws and measures its own items: WM_DRAWITEM and
// WM_MEASUREITEM reflected to it go to its DrawItem and MeasureItem and count as handled
// (TRUE, and TRUE in *pResult). FALSE for every other message, which goes on as CWnd's.
template <class TControl>
BOOL AfxReflectOwnerDraw(TControl& control, UINT message, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM:
        control.DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        control.MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

// ---- messages of the up-down and progress controls ------------------------------------
constexpr UINT UDM_SETRANGE = WM_USER + 101;
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETBASE = WM_USER + 109;
constexpr UINT UDM_GETBASE = WM_USER + 110;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
constexpr UINT UDM_SETPOS32 = WM_USER + 113;
constexpr UINT UDM_GETPOS32 = WM_USER + 114;

constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;

// ---- text between the controls (code page 932) and Qt ------------------------------------
// For display: the single byte 0x5C shows as "¥".
QString AfxCp932ToQString(const char* text);
QString AfxCp932ToQString(const char* text, int nLength);
// "¥" and "\" both become 0x5C.
CString AfxQStringToCp932(const QString& text);
// The length in bytes of a text once converted to code page 932.
int AfxCp932LengthOf(const QString& text);
// Removes from input the characters code page 932 cannot hold (Korean, "ü", "€", emoji),
// which would otherwise be stored as "?"; the cursor stays where it was among the rest.
// Returns whether any was removed. The edit controls refuse such input with a beep.
bool AfxRemoveNonCp932Characters(QString& input, int& pos);
// Offsets in bytes of the code page 932 form and in characters of the Qt form; a byte
// offset inside a double-byte character counts as the character's end.
int AfxCp932OffsetToQt(const QString& text, int nByteOffset);
int AfxQtOffsetToCp932(const QString& text, int nQtOffset);
// WM_GETTEXT: copies as much of text as fits (whole characters) with a terminating zero
// into the buffer of cchMax bytes. Returns the bytes copied, without the zero.
int AfxCopyTextToBuffer(const CString& text, WPARAM cchMax, LPARAM lpBuffer);
// A text with its "&" mnemonics removed ("&&" stays one "&").
QString AfxStripMnemonics(const QString& text);
// The widget font of a GDI font handle (the dialog font when null).
QFont AfxWidgetFontFromHandle(HFONT hFont);
// Makes the toolkit's own texts (column heads of the file dialog, colour names, ...)
// Japanese, once, when the translation is installed.
void AfxEnsureJapaneseToolkitTexts();

// ---- the mix-in of every control widget ---------------------------------------------------
class CControlMixin {
public:
    explicit CControlMixin(QWidget* pSelf) : m_pSelf(pSelf) {}
    virtual ~CControlMixin() = default;
    CControlMixin(const CControlMixin&) = delete;
    CControlMixin& operator=(const CControlMixin&) = delete;

    // The control's window (null once it is being destroyed).
    HWND Hwnd() const;
    CWnd* Wnd() const;
    DWORD Style() const;
    UINT ControlId() const;
    // WM_COMMAND with the notification code to the parent window.
    void Notify(UINT nCode) const;
    // A message to the parent window (WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL, ...).
    LRESULT SendToParent(UINT nMsg, WPARAM wParam, LPARAM lParam) const;
    bool IsSilent() const { return m_nSilent > 0; }

    // The mix-in of a control widget, or null.
    static CControlMixin* From(QWidget* pWidget);

    QWidget* m_pSelf;
    int m_nSilent = 0;
};

// Suppresses a control's notifications while code changes it.
class CSilentScope {
public:
    explicit CSilentScope(CControlMixin* p) : m_p(p)
    {
        if (m_p)
            ++m_p->m_nSilent;
    }
    ~CSilentScope()
    {
        if (m_p)
            --m_p->m_nSilent;
    }
    CSilentScope(const CSilentScope&) = delete;
    CSilentScope& operator=(const CSilentScope&) = delete;

private:
    CControlMixin* m_p;
};

// Draws an owner-drawn item: a DRAWITEMSTRUCT with a context over the painter goes to the
// control's parent (and from there back to the control's DrawItem).
void AfxOwnerDraw(const CControlMixin& control, QPainter& painter, UINT nCtlType, UINT nItemID, UINT nAction,
                  UINT nState, const QRect& rcItem, UINT_PTR itemData);
// Asks the parent (and through it the control's MeasureItem) for an item's height.
UINT AfxOwnerMeasure(const CControlMixin& control, UINT nCtlType, UINT nItemID, UINT nDefaultHeight,
                     UINT_PTR itemData);

// ---- registration --------------------------------------------------------------------------
// Registers every control class once (the dialogs and control objects call it).
void AfxRegisterControlClasses();
void AfxRegisterButtonClass();
void AfxRegisterStaticClass();
void AfxRegisterEditClass();
void AfxRegisterComboBoxClass();
void AfxRegisterListBoxClass();
void AfxRegisterScrollBarClass();
void AfxRegisterUpDownClass();
void AfxRegisterProgressClass();

// Statics with a mnemonic move the focus to the control that follows them: the dialog
// tells them which one once all its controls exist.
void AfxSetStaticBuddy(HWND hStatic, HWND hBuddy);
// The default push button look of a button (DM_SETDEFID moves it).
void AfxSetButtonDefaultLook(HWND hButton, bool bDefault);
// The height a combo box shows when closed, for its font.
int AfxComboBoxFieldHeight(HWND hCombo);
