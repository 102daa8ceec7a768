// What the tree, list and rich-edit controls share (platform/ui internal).
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/core/WinDefs.h"

#include <QAbstractScrollArea>
#include <QString>

class CWnd;
class QScrollBar;

// Texts between code page 932 and Qt (0x5C shown as the yen sign).
QString AfxCtlText(const char* lpsz, int nLength = -1);
CString AfxCtlText(const QString& text);

// Sends a WM_NOTIFY from a control to its parent, filling the header; returns the
// parent's answer (0 when the control has no parent or is going away).
LRESULT AfxSendCtlNotify(HWND hWndCtl, UINT nCode, NMHDR* pNMHDR);
// Sends a WM_COMMAND notification (EN_CHANGE, ...) from a control to its parent.
void AfxSendCtlCommand(HWND hWndCtl, UINT nCode);

// Controls over a Qt scroll area show their items in the viewport: the viewport becomes
// the window's client area, so that client coordinates, GetClientRect and InvalidateRect
// mean the part inside the border and the scroll bars, as they do for these controls.
void AfxUseViewportAsClient(HWND hWnd, QAbstractScrollArea* pArea);

// Moves a control's scroll bar as a WM_HSCROLL/WM_VSCROLL code asks (nPos for the thumb
// codes); other codes leave it.
void AfxScrollCtlBar(QScrollBar* pBar, UINT nCode, int nPos);

// Copies text into a caller's buffer of nMax bytes (zero-terminated, cut to fit);
// returns the number of bytes copied without the terminator.
int AfxCopyCtlText(const CString& text, LPSTR pszBuffer, int nMax);

// Registers the control classes of the common controls (tree, list, rich edit) once.
void AfxRegisterCommonControlClasses();
