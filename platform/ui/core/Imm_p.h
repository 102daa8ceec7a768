// The input method's side of the window layer (platform/ui internal).
#pragma once

#include "platform/ui/core/WinDefs.h"

class QInputMethodEvent;
class QRect;
class QFont;

// Records what an input-method event leaves in the window (pre-edit, commit).
void AfxImeTrack(HWND hWnd, const QInputMethodEvent* pEvent);
void AfxImeForget(HWND hWnd);
// Starts watching the input method's events and keeping the input method told where the
// focus widget is in its window (needs the Qt application).
void AfxEnsureImeTracker();
// For a self-drawn window, after an input-method event: tells the window a composition
// starts or ends and shows, moves or hides its composition window.
void AfxImeShowComposition(HWND hWnd);
// Where the pre-edit's cursor is in the window's client area (for the candidate list), and
// the composition font; false when the window has no composition form or font of its own.
QRect AfxImeCursorRectangle(HWND hWnd);
bool AfxImeCompositionFont(HWND hWnd, QFont& font);
