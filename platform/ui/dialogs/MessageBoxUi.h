// Message boxes on the screen: the window AfxMessageBox and CWnd::MessageBox show, with
// the system's Japanese button texts, the icon of the MB_ICON... flag and the
// application's title as the caption. The dialog answerer (DialogTestHook.h) answers them
// when a test runs.
#pragma once

#include "platform/base/CString.h"
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

// A window's message box (CWnd::MessageBox): the box goes through the installed message
// box handler as AfxMessageBox's do, and the handler that shows it (or answers it in a
// test) takes the owner and the caption with AfxTakeWindowMessageBox. A null caption is
// the application's title.
int AfxWindowMessageBox(CWnd* pOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);

// The owner and caption of the window message box now being handed to the handler; each
// is given to the first handler that asks and then forgotten, so that a box the handler
// shows in turn does not inherit them. Returns false for a box AfxMessageBox called.
bool AfxTakeWindowMessageBox(CWnd*& pOwner, CString& caption);
