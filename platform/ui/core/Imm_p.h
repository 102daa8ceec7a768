// The input method's side of the window layer (platform/ui internal).
#pragma once

#include "platform/ui/core/WinDefs.h"

class QInputMethodEvent;

// Records what an input-method event leaves in the window (pre-edit, commit).
void AfxImeTrack(HWND hWnd, const QInputMethodEvent* pEvent);
void AfxImeForget(HWND hWnd);
// Starts watching the input method's events (needs the Qt application).
void AfxEnsureImeTracker();
