#include "platform/ui/core/InputTranslation_p.h"

#include "platform/base/Cp932.h"

UINT AfxVirtualKeyFromQtKey(int qtKey, bool keypad)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<UINT>('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? VK_NUMPAD0 + static_cast<UINT>(qtKey - Qt::Key_0)
                      : static_cast<UINT>('0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return VK_F1 + static_cast<UINT>(qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return VK_MENU;
    case Qt::Key_Meta:
        return VK_LWIN;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_NumLock:
        return VK_NUMLOCK;
    case Qt::Key_ScrollLock:
        return VK_SCROLL;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_Print:
        return VK_SNAPSHOT;
    case Qt::Key_Menu:
        return VK_APPS;
    case Qt::Key_Clear:
        return VK_CLEAR;
    case Qt::Key_Help:
        return VK_HELP;
    case Qt::Key_Henkan:
        return VK_CONVERT;
    case Qt::Key_Muhenkan:
        return VK_NONCONVERT;
    case Qt::Key_Kanji:
    case Qt::Key_Zenkaku_Hankaku:
        return VK_KANJI;
    case Qt::Key_Katakana:
    case Qt::Key_Hiragana:
    case Qt::Key_Hiragana_Katakana:
        return VK_KANA;
    case Qt::Key_Asterisk:
        return keypad ? VK_MULTIPLY : static_cast<UINT>('8');
    case Qt::Key_Plus:
        return keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus:
        return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Slash:
        return keypad ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Period:
        return keypad ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Comma:
        return keypad ? VK_SEPARATOR : VK_OEM_COMMA;
    case Qt::Key_Equal:
        return VK_OEM_PLUS;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return VK_OEM_1;
    case Qt::Key_Less:
        return VK_OEM_COMMA;
    case Qt::Key_Greater:
        return VK_OEM_PERIOD;
    case Qt::Key_Question:
        return VK_OEM_2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
    case Qt::Key_yen:
        return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return VK_OEM_7;
    case Qt::Key_Underscore:
        return VK_OEM_MINUS;
    // Shifted digits report the digit key, as the key itself is the same.
    case Qt::Key_Exclam:
        return '1';
    case Qt::Key_At:
        return '2';
    case Qt::Key_NumberSign:
        return '3';
    case Qt::Key_Dollar:
        return '4';
    case Qt::Key_Percent:
        return '5';
    case Qt::Key_AsciiCircum:
        return '6';
    case Qt::Key_Ampersand:
        return '7';
    case Qt::Key_ParenLeft:
        return '9';
    case Qt::Key_ParenRight:
        return '0';
    default:
        return 0;
    }
}

bool AfxIsExtendedKey(int qtKey, bool keypad)
{
    switch (qtKey) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_NumLock:
    case Qt::Key_Print:
    case Qt::Key_Menu:
        return !keypad;
    case Qt::Key_Enter:
        return true;
    case Qt::Key_Slash:
        return keypad;
    default:
        return false;
    }
}

LPARAM AfxKeyLParam(UINT nScanCode, bool extended, bool altDown, bool wasDown, bool keyUp)
{
    DWORD v = 1 | ((nScanCode & 0xFF) << 16);
    if (extended)
        v |= 1u << 24;
    if (altDown)
        v |= 1u << 29;
    if (wasDown || keyUp)
        v |= 1u << 30;
    if (keyUp)
        v |= 1u << 31;
    // The high bits stay in the low 32 bits, as handlers read them through a DWORD.
    return static_cast<LPARAM>(v);
}

UINT AfxMouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT n = 0;
    if (buttons & Qt::LeftButton)
        n |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        n |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        n |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        n |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        n |= MK_CONTROL;
    return n;
}

std::string AfxCharBytesFromText(const QString& text)
{
    if (text.isEmpty())
        return std::string();
    return Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                            static_cast<size_t>(text.size())));
}
