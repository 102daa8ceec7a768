// Message boxes on the screen: the window AfxMessageBox and CWnd::MessageBox show, with
// the system's Japanese button texts, the icon of the MB_ICON... flag and the
// application's title as the caption. The dialog answerer (DialogTestHook.h) answers them
// when a test runs.
#pragma once

#include "platform/ui/core/WinDefs.h"

class CWnd;

// Makes AfxMessageBox show the message box window (the user interface calls this when it
// starts).
void AfxInstallMessageBoxUi();

// Before a modal box or dialog comes up: a window holding the mouse capture (a wait
// dialog) loses it and is told so (WM_CAPTURECHANGED), so that the box gets every click.
void AfxReleaseCaptureForModal();

// Shows a message box owned by pOwner (null: the active window) with the caption (null:
// the application's title). Returns the button pressed: IDOK, IDCANCEL, IDYES, IDNO,
// IDRETRY, IDABORT or IDIGNORE.
int AfxShowMessageBox(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);
