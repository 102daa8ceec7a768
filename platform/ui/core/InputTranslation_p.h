// Translation of Qt's keyboard and mouse values into the values window messages carry
// (platform/ui internal; also for the tests).
#pragma once

#include "platform/ui/core/WinDefs.h"

#include <QString>
#include <Qt>

#include <string>

// The virtual-key code for a Qt key: letters and digits as their upper-case ASCII codes,
// the keypad with VK_NUMPAD0.. and VK_ADD.. when keypad is set, 0 for keys without one.
UINT AfxVirtualKeyFromQtKey(int qtKey, bool keypad);
// Keys Windows marks as extended (bit 24 of the key messages' lParam).
bool AfxIsExtendedKey(int qtKey, bool keypad);
// lParam of WM_KEYDOWN/WM_KEYUP/WM_CHAR: repeat count 1, the scan code, the extended,
// context (Alt), previous-state and transition bits.
LPARAM AfxKeyLParam(UINT nScanCode, bool extended, bool altDown, bool wasDown, bool keyUp);
// MK_ flags for mouse messages.
UINT AfxMouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// The code page 932 bytes WM_CHAR delivers for typed text (a double-byte character gives
// its lead byte then its trail byte). Both "\" and "¥" give 0x5C.
std::string AfxCharBytesFromText(const QString& text);
